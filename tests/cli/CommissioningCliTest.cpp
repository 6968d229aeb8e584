// The commands beyond the desktop's own: diff, probe, write --set/--backup, set --from-json,
// commissioning records, the comms log; end to end against the simulated unit.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "RunCtl.h"
#include "sim/PtyUnit.h"
#include "sim/Wire.h"

namespace {

namespace fs = std::filesystem;

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::stringstream ss(text);
  std::string line;
  while (std::getline(ss, line)) lines.push_back(line);
  return lines;
}

using Commissioning = CtlInFolder;

TEST_F(Commissioning, DiffOfFilesFollowsDiffsExitCodes) {
  ASSERT_EQ(Ctl({"new", "--output", P("a.eep")}).code, 0);
  ASSERT_EQ(Ctl({"set", P("a.eep"), "EditStationName=Čerpadlo", "CheckDinMessLH3=1", "--output",
                 P("b.eep")})
                .code,
            0);
  const CtlResult same = Ctl({"diff", P("a.eep"), P("a.eep")});
  EXPECT_EQ(same.code, 0) << same.err;
  EXPECT_EQ(same.out, "");
  // Creation order, show's forms, UTF-8; the all-bits box follows its row.
  const CtlResult different = Ctl({"diff", P("a.eep"), P("b.eep")});
  EXPECT_EQ(different.code, 1) << different.err;
  EXPECT_EQ(different.out,
            "EditStationName:  -> Čerpadlo\n"
            "CheckDinLHAll: 0 -> mixed\n"
            "CheckDinMessLH3: 0 -> 1\n");

  // Trouble is 2, not 1: a script must not take it for "different".
  std::ofstream(P("bad.eep")) << "not a configuration";
  const CtlResult bad = Ctl({"diff", P("a.eep"), P("bad.eep")});
  EXPECT_EQ(bad.code, 2);
  EXPECT_NE(bad.err.find("Chyba při čtení souboru"), std::string::npos) << bad.err;
  EXPECT_EQ(Ctl({"diff", P("a.eep"), P("missing.eep")}).code, 2);
  EXPECT_EQ(Ctl({"diff", P("a.eep")}).code, 2);
  EXPECT_EQ(Ctl({"diff", P("a.eep"), P("b.eep"), "--timeout", "3"}).code, 2);
  EXPECT_EQ(Ctl({"diff", "--port", "/dev/kx2-none", P("a.eep")}).code, 2);
}

TEST_F(Commissioning, JsonFromShowRoundTripsThroughSet) {
  ASSERT_EQ(Ctl({"new", "--output", P("a.eep")}).code, 0);
  ASSERT_EQ(Ctl({"set", P("a.eep"), "EditStationName=Studna", "CheckDinMessLH0=1"}).code, 0);
  const CtlResult json = Ctl({"show", P("a.eep"), "--json"});
  ASSERT_EQ(json.code, 0);
  std::ofstream(P("a.json")) << json.out;
  // Unchanged JSON applied to a fresh file gives the source back: greyed boxes that already
  // match ("mixed") and disabled controls are left alone.
  ASSERT_EQ(Ctl({"new", "--output", P("b.eep")}).code, 0);
  const CtlResult applied = Ctl({"set", P("b.eep"), "--from-json", P("a.json")});
  ASSERT_EQ(applied.code, 0) << applied.err;
  const CtlResult same = Ctl({"diff", P("a.eep"), P("b.eep")});
  EXPECT_EQ(same.code, 0) << same.out;

  // Edited: a text with an escape and a national letter, a box switched off.
  std::string edited = json.out;
  const std::string from = "\"EditStationName\": \"Studna\"";
  ASSERT_NE(edited.find(from), std::string::npos);
  edited.replace(edited.find(from), from.size(),
                 "\"EditStationName\": \"\\u010cerpadlo \\\"2\\\"\"");
  const std::string box = "\"CheckDinMessLH0\": true";
  ASSERT_NE(edited.find(box), std::string::npos);
  edited.replace(edited.find(box), box.size(), "\"CheckDinMessLH0\": false");
  // The all-bits box reads "mixed" only while its row is: with the row off it says so too.
  const std::string all = "\"CheckDinLHAll\": \"mixed\"";
  ASSERT_NE(edited.find(all), std::string::npos);
  edited.replace(edited.find(all), all.size(), "\"CheckDinLHAll\": false");
  std::ofstream(P("c.json")) << edited;
  ASSERT_EQ(Ctl({"set", P("a.eep"), "--from-json", P("c.json"), "--output", P("c.eep")}).code, 0);
  EXPECT_EQ(Ctl({"diff", P("a.eep"), P("c.eep")}).out,
            "EditStationName: Studna -> Čerpadlo \"2\"\n"
            "CheckDinLHAll: mixed -> 0\n"
            "CheckDinMessLH0: 1 -> 0\n");

  // Unknown names, other shapes and wrong types are usage errors and change nothing.
  const std::string before = ReadFile(P("a.eep"));
  std::ofstream(P("u.json")) << "{\"NoSuchControl\": true}";
  EXPECT_EQ(Ctl({"set", P("a.eep"), "--from-json", P("u.json")}).code, 2);
  std::ofstream(P("n.json")) << "{\"EditStationName\": 5}";
  EXPECT_EQ(Ctl({"set", P("a.eep"), "--from-json", P("n.json")}).code, 2);
  std::ofstream(P("t.json")) << "{\"EditStationName\": true}";
  EXPECT_EQ(Ctl({"set", P("a.eep"), "--from-json", P("t.json")}).code, 2);
  std::ofstream(P("x.json")) << "{\"EditStationName\": \"A\"} trailing";
  EXPECT_EQ(Ctl({"set", P("a.eep"), "--from-json", P("x.json")}).code, 2);
  EXPECT_EQ(Ctl({"set", P("a.eep"), "--from-json", P("none.json")}).code, 2);
  EXPECT_EQ(ReadFile(P("a.eep")), before);
  // What a user could not do is still refused.
  std::ofstream(P("m.json")) << "{\"CheckDinLHAll\": \"mixed\", \"CheckDinMessLH0\": false}";
  EXPECT_EQ(Ctl({"set", P("a.eep"), "--from-json", P("m.json")}).code, 1);
}

TEST_F(Commissioning, OneFileManyUnitsWithRecordsAndBackups) {
  sim::PtyUnit unit;
  ASSERT_TRUE(unit.start());
  ASSERT_EQ(Ctl({"new", "--output", P("site.eep")}).code, 0);
  ASSERT_EQ(Ctl({"set", P("site.eep"), "EditOnMsg=Zapnuto"}).code, 0);
  const std::string site = ReadFile(P("site.eep"));

  const CtlResult first =
      Ctl({"write", "--port", unit.slavePath(), P("site.eep"), "--set", "EditStationName=Vrt 1",
           "CheckDinMessLH2=on", "--record", P("day.csv")});
  ASSERT_EQ(first.code, 0) << first.err;
  EXPECT_EQ(ReadFile(P("site.eep")), site);  // the file serves the next unit as it is
  // The unit holds the file with the assignments: diff against it lists exactly them.
  const CtlResult unitDiff = Ctl({"diff", "--port", unit.slavePath(), P("site.eep")});
  EXPECT_EQ(unitDiff.code, 1) << unitDiff.err;
  EXPECT_EQ(unitDiff.out,
            "EditStationName: Vrt 1 -> \n"
            "CheckDinLHAll: mixed -> 0\n"
            "CheckDinMessLH2: 1 -> 0\n");

  // The backup holds what the unit held, byte for byte as read saves it.
  ASSERT_EQ(
      Ctl({"read", "--port", unit.slavePath(), "--output", P("held.eep"), "--record", P("day.csv")})
          .code,
      0);
  const CtlResult second =
      Ctl({"write", "--port", unit.slavePath(), P("site.eep"), "--backup", P("old.eep"), "--set",
           "EditStationName=Vrt 2", "--record", P("day.csv")});
  ASSERT_EQ(second.code, 0) << second.err;
  EXPECT_EQ(ReadFile(P("old.eep")), ReadFile(P("held.eep")));
  // A backup over the file itself would write the unit's old settings back: refused.
  EXPECT_EQ(
      Ctl({"write", "--port", unit.slavePath(), P("site.eep"), "--backup", P("site.eep")}).code, 2);
  EXPECT_EQ(ReadFile(P("site.eep")), site);
  const CtlResult after = Ctl({"diff", "--port", unit.slavePath(), P("site.eep")});
  EXPECT_EQ(Lines(after.out).at(0), "EditStationName: Vrt 2 -> ");

  // A failed run is recorded too, and a backup that cannot be read stops the write.
  sim::UnitConfig silent;
  silent.faults.silentAfter = 3;  // answers the connection, then nothing
  sim::PtyUnit dead(silent);
  ASSERT_TRUE(dead.start());
  const CtlResult stopped = Ctl({"write", "--port", dead.slavePath(), P("site.eep"), "--backup",
                                 P("none.eep"), "--record", P("day.csv")});
  EXPECT_EQ(stopped.code, 1);
  EXPECT_FALSE(fs::exists(P("none.eep")));
  bool wrote = false;
  for (const auto& t : dead.traffic())
    wrote = wrote || (t.kind == sim::TrafficEntry::Kind::Received && !t.bytes.empty() &&
                      t.bytes[0] == sim::kWriteBlock);
  EXPECT_FALSE(wrote) << "a write command went out";

  const auto lines = Lines(ReadFile(P("day.csv")));
  ASSERT_EQ(lines.size(), 5u) << ReadFile(P("day.csv"));
  EXPECT_EQ(lines[0], "time (UTC),port,type,firmware,memory,station,operation,result,message");
  const std::string unitFields = "," + unit.slavePath() + ",KX2 Ericsson GM2x,1.8,8192,";
  EXPECT_NE(lines[1].find(unitFields + "Vrt 1,write,ok,"), std::string::npos) << lines[1];
  EXPECT_NE(lines[2].find(unitFields + "Vrt 1,read,ok,"), std::string::npos) << lines[2];
  EXPECT_NE(lines[3].find(unitFields + "Vrt 2,write,ok,"), std::string::npos) << lines[3];
  EXPECT_NE(lines[4].find(",write,failed,"), std::string::npos) << lines[4];
  EXPECT_EQ(lines[1].size() > 20 ? lines[1].substr(19, 2) : "", "Z,");  // 2026-12-09T10:00:00Z
}

TEST_F(Commissioning, ProbeFindsTheUnitAndNotTheSilentLine) {
  sim::PtyUnit unit;
  ASSERT_TRUE(unit.start());
  sim::UnitConfig silent;
  silent.faults.silentAfter = 0;
  sim::PtyUnit quiet(silent);
  ASSERT_TRUE(quiet.start());
  const CtlResult r = Ctl({"probe", unit.slavePath(), quiet.slavePath(), "--timeout", "1"});
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out, unit.slavePath() + ": KX2 Ericsson GM2x, firmware 1.8, 8192 bytes\n" +
                       quiet.slavePath() + ": no unit\n");
  // Let go as identify does: the reset went out.
  bool reset = false;
  for (const auto& t : unit.traffic())
    if (t.kind == sim::TrafficEntry::Kind::Received && !t.bytes.empty() && t.bytes[0] == 0x06)
      reset = true;
  EXPECT_TRUE(reset);
  const CtlResult none = Ctl({"probe", quiet.slavePath(), "/dev/kx2-none", "--timeout", "0.5"});
  EXPECT_EQ(none.code, 1);
  EXPECT_EQ(Lines(none.out).size(), 2u);
}

TEST_F(Commissioning, CommsLogAndHelpTexts) {
  const CtlResult r = Ctl({"identify", "--port", "/dev/kx2-none", "--comms-log", P("comms.log")});
  EXPECT_EQ(r.code, 1);
  // The program's message with the system's reason.
  EXPECT_NE(r.err.find("Port blokován: /dev/kx2-none (No such file or directory)"),
            std::string::npos)
      << r.err;
  EXPECT_NE(ReadFile(P("comms.log")).find("Unable to open /dev/kx2-none"), std::string::npos);
  // Off by default: the scope ended with the run.
  const auto logged = fs::file_size(P("comms.log"));
  EXPECT_EQ(Ctl({"identify", "--port", "/dev/kx2-none"}).code, 1);
  EXPECT_EQ(fs::file_size(P("comms.log")), logged);

  const CtlResult all = Ctl({"--help"});
  EXPECT_EQ(all.code, 0);
  for (const char* command : {"ports", "probe", "identify", "reset", "doctor", "new", "show", "set",
                              "diff", "read", "write", "report"}) {
    const CtlResult help = Ctl({command, "--help"});
    EXPECT_EQ(help.code, 0) << command;
    EXPECT_NE(help.out.find(std::string("] ") + command), std::string::npos) << help.out;
  }
  EXPECT_NE(Ctl({"diff", "--help"}).out.find("as diff(1)"), std::string::npos);
  EXPECT_NE(Ctl({"write", "--help"}).out.find("--backup OLD.eep"), std::string::npos);
  EXPECT_NE(Ctl({"write", "--help"}).out.find("--record FILE.csv appends"), std::string::npos);
  EXPECT_NE(Ctl({"set", "--help"}).out.find("--from-json JSON"), std::string::npos);
  EXPECT_NE(all.out.find("--comms-log FILE"), std::string::npos);
}

}  // namespace
