#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "RunCtl.h"
#include "sim/PtyUnit.h"

namespace {

namespace fs = std::filesystem;

using CliFiles = CtlInFolder;

TEST_F(CliFiles, NewShowAndSetActAsAUserWould) {
  ASSERT_EQ(Ctl({"new", "--output", P("a.eep")}).code, 0);
  EXPECT_EQ(fs::file_size(P("a.eep")), 14u + 141u);  // the record and the empty configuration
  const CtlResult shown = Ctl({"show", P("a.eep")});
  ASSERT_EQ(shown.code, 0) << shown.err;
  EXPECT_EQ(shown.out.rfind("EditStationName=\n", 0), 0u);  // creation order: the station first
  EXPECT_NE(shown.out.find("\nEditDoutPulse7="), std::string::npos);
  EXPECT_NE(shown.out.find("\nRBtnSMSTriesFull=1\n"), std::string::npos);

  const CtlResult set =
      Ctl({"set", P("a.eep"), "EditStationName=Čerpadlo \"1\"", "EditDinName0=Hladina",
           "CheckDinMessLH0=on", "EditPhoneNumber0=+420603123456", "CheckAcceptSMSfrom0=1",
           "--output", P("b.eep")});
  ASSERT_EQ(set.code, 0) << set.err;
  const CtlResult json = Ctl({"show", P("b.eep"), "--json"});
  ASSERT_EQ(json.code, 0);
  EXPECT_NE(json.out.find("\"EditStationName\": \"Čerpadlo \\\"1\\\"\""), std::string::npos)
      << json.out;
  EXPECT_NE(json.out.find("\"CheckDinMessLH0\": true"), std::string::npos);
  EXPECT_NE(json.out.find("\"CheckDinLHAll\": \"mixed\""), std::string::npos);
  EXPECT_NE(json.out.find("\"CheckAcceptSMSfrom0\": true"), std::string::npos);
  // The output name loses its space, as the unit's commands allow none.
  ASSERT_EQ(Ctl({"set", P("b.eep"), "EditDoutName1=Pump A"}).code, 0);
  EXPECT_NE(Ctl({"show", P("b.eep")}).out.find("\nEditDoutName1=PumpA\n"), std::string::npos);

  // What a user could not do is refused; unknown names are usage errors.
  EXPECT_EQ(Ctl({"set", P("b.eep"), "EditNrAttempts=5"}).code, 1);  // "keep trying" is chosen
  EXPECT_EQ(Ctl({"set", P("b.eep"), "CheckDinLHAll=mixed"}).code, 1);
  EXPECT_EQ(Ctl({"set", P("b.eep"), "NoSuchControl=1"}).code, 2);
  EXPECT_EQ(Ctl({"set", P("b.eep"), "CheckPINAuth=maybe"}).code, 2);
  // An uninterpretable file is the program's message and exit 1.
  std::ofstream(P("bad.eep")) << "not a configuration";
  const CtlResult bad = Ctl({"show", P("bad.eep")});
  EXPECT_EQ(bad.code, 1);
  EXPECT_NE(bad.err.find("Chyba při čtení souboru"), std::string::npos) << bad.err;
}

TEST_F(CliFiles, WriteThenReadBackThroughTheUnitAndAFailedReadWritesNoFile) {
  sim::PtyUnit unit;
  ASSERT_TRUE(unit.start());
  ASSERT_EQ(Ctl({"new", "--output", P("a.eep")}).code, 0);
  ASSERT_EQ(Ctl({"set", P("a.eep"), "EditStationName=Studna", "EditOnMsg=Zapnuto"}).code, 0);
  const CtlResult write = Ctl({"write", "--port", unit.slavePath(), P("a.eep"), "--bad-crc"});
  ASSERT_EQ(write.code, 0) << write.err;
  const CtlResult read = Ctl({"read", "--port", unit.slavePath(), "--output", P("r.eep")});
  ASSERT_EQ(read.code, 0) << read.err;
  EXPECT_EQ(Ctl({"show", P("r.eep")}).out, Ctl({"show", P("a.eep")}).out);

  sim::UnitConfig silent;
  silent.faults.silentAfter = 3;  // answers the connection, then nothing
  sim::PtyUnit dead(silent);
  ASSERT_TRUE(dead.start());
  const CtlResult failed = Ctl({"read", "--port", dead.slavePath(), "--output", P("none.eep")});
  EXPECT_EQ(failed.code, 1);
  EXPECT_FALSE(fs::exists(P("none.eep")));
}

// The header's length word only says where to look first: a unit whose word is too short, or
// beyond its memory, is still read as far as the layout of its configuration needs.
TEST_F(CliFiles, AReadFollowsTheLayoutWhateverLengthTheHeaderStates) {
  sim::PtyUnit unit;
  ASSERT_TRUE(unit.start());
  ASSERT_EQ(Ctl({"new", "--output", P("a.eep")}).code, 0);
  ASSERT_EQ(Ctl({"set", P("a.eep"), "EditStationName=Studna u lesa", "EditDinName7=Hladina",
                 "EditDoutPulse7=Puls", "EditOnMsg=Zapnuto"})
                .code,
            0);
  ASSERT_EQ(Ctl({"write", "--port", unit.slavePath(), P("a.eep")}).code, 0);
  const std::string expected = Ctl({"show", P("a.eep")}).out;
  for (const sim::Bytes& word : {sim::Bytes{0x00, 0x28}, sim::Bytes{0xFF, 0xF0}}) {
    unit.setBytes(30, word);
    fs::remove(P("r.eep"));
    const CtlResult read = Ctl({"read", "--port", unit.slavePath(), "--output", P("r.eep")});
    ASSERT_EQ(read.code, 0) << int(word[0]) << " " << read.err;
    EXPECT_EQ(Ctl({"show", P("r.eep")}).out, expected) << int(word[0]);
  }
}

// Numbers are written in international form when asked; one whose international form would not
// fit twenty digits goes to the unit as typed rather than cut short.
TEST_F(CliFiles, ANationalNumberReachesTheUnitWithEveryDigit) {
  sim::PtyUnit unit;
  ASSERT_TRUE(unit.start());
  ASSERT_EQ(Ctl({"new", "--output", P("a.eep")}).code, 0);
  const CtlResult set =
      Ctl({"set", P("a.eep"), "CheckAlwaysInterNumber=1", "EditInternationalPrefix=+420",
           "EditPhoneNumber0=0603123456", "EditPhoneNumber1=0123456789012345678",
           "EditPhoneNumber2=012345678901234567"});
  ASSERT_EQ(set.code, 0) << set.err;
  ASSERT_EQ(Ctl({"write", "--port", unit.slavePath(), P("a.eep")}).code, 0);
  const CtlResult read = Ctl({"read", "--port", unit.slavePath(), "--output", P("r.eep")});
  ASSERT_EQ(read.code, 0) << read.err;
  const std::string shown = Ctl({"show", P("r.eep")}).out;
  EXPECT_NE(shown.find("\nEditPhoneNumber0=+420603123456\n"), std::string::npos) << shown;
  EXPECT_NE(shown.find("\nEditPhoneNumber1=0123456789012345678\n"), std::string::npos) << shown;
  // 420 and seventeen digits: exactly twenty, converted.
  EXPECT_NE(shown.find("\nEditPhoneNumber2=+42012345678901234567\n"), std::string::npos) << shown;
}

// File names are the file system's bytes; in a message they read as they were typed.
TEST_F(CliFiles, MessagesNameFilesAsTheyAreWritten) {
  const CtlResult missing = Ctl({"show", P("žluťoučký kůň.eep")});
  EXPECT_EQ(missing.code, 1);
  EXPECT_NE(missing.err.find("Nelze nalézt konfigurační soubor " + P("žluťoučký kůň.eep")),
            std::string::npos)
      << missing.err;
  // What Windows-1250 cannot hold shows replaced, never as stray bytes.
  const CtlResult foreign = Ctl({"show", P("日本 ÿ.eep")});
  EXPECT_EQ(foreign.code, 1);
  EXPECT_NE(foreign.err.find("soubor " + P("?? ?.eep") + "\n"), std::string::npos) << foreign.err;

  ASSERT_EQ(Ctl({"new", "--output", P("a.eep")}).code, 0);
  const CtlResult report =
      Ctl({"report", P("a.eep"), "--output", P("chybějící složka/zpráva.html")});
  EXPECT_EQ(report.code, 1);
  EXPECT_NE(report.err.find(P("chybějící složka/zpráva.html") + ": No such file or directory"),
            std::string::npos)
      << report.err;
}

// The report describes the window after the load has settled, as the desktop's would.
TEST_F(CliFiles, TheReportStatesTheSizeOfTheConfiguration) {
  ASSERT_EQ(Ctl({"new", "--output", P("a.eep")}).code, 0);
  ASSERT_EQ(Ctl({"set", P("a.eep"), "EditStationName=Studna u lesa"}).code, 0);
  const auto used = fs::file_size(P("a.eep")) - 14;  // the file's record, then the configuration
  ASSERT_EQ(Ctl({"report", P("a.eep"), "--output", P("r.html")}).code, 0);
  const std::string html = ReadFile(P("r.html"));
  EXPECT_NE(html.find("<td><b>" + std::to_string(used) + " B</b></td>"), std::string::npos)
      << html.substr(html.find("Velikost") == std::string::npos ? 0 : html.find("Velikost"), 200);
}

TEST_F(CliFiles, TheReportIsWindows1250HtmlWithCrLfLinesAndReadsWellInABrowser) {
  ASSERT_EQ(Ctl({"new", "--output", P("a.eep")}).code, 0);
  ASSERT_EQ(Ctl({"set", P("a.eep"), "EditStationName=Čerpadlo <1>"}).code, 0);
  const CtlResult r = Ctl({"report", P("a.eep"), "--output", P("r.html")});
  ASSERT_EQ(r.code, 0) << r.err;
  const std::string html = ReadFile(P("r.html"));
  EXPECT_EQ(html.rfind("<!DOCTYPE", 0), 0u);
  EXPECT_NE(html.find("charset=windows-1250"), std::string::npos);
  // The last line is "</html>", then the empty line the template's last line break leaves.
  ASSERT_GE(html.size(), 11u);
  EXPECT_EQ(html.substr(html.size() - 11), "</html>\r\n\r\n");
  EXPECT_EQ(html.find("\n", html.find("\n") + 1) - 1, html.find("\r\n", html.find("\n") + 1));
  EXPECT_NE(html.find("\xC8"
                      "erpadlo &lt;1&gt;"),
            std::string::npos);  // cp1250, escaped

  // What a reader sees: a browser decodes the page and shows the name as typed.
  const char* browser = "/usr/bin/chromium";
  if (access(browser, X_OK) != 0) GTEST_SKIP() << "no chromium here to render the report";
  const std::string dom = P("dom.txt");
  const fs::path profile = dir / "profile";
  const std::string command = std::string(browser) +
                              " --headless --no-sandbox --disable-gpu --disable-quic"
                              " --no-first-run --disable-background-networking"
                              " --disable-component-update --disable-sync --user-data-dir=" +
                              profile.string() + " --dump-dom 'file://" + P("r.html") + "' > " +
                              dom + " 2>/dev/null";
  ASSERT_EQ(std::system(command.c_str()), 0);
  const std::string text = ReadFile(dom);
  EXPECT_NE(text.find("Čerpadlo &lt;1&gt;"), std::string::npos) << text.substr(0, 2000);
  EXPECT_NE(text.find("−"), std::string::npos);  // empty numbers show a minus sign
  EXPECT_NE(text.find("</table>"), std::string::npos);
}

}  // namespace
