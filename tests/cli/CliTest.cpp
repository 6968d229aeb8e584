#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "RunCtl.h"
#include "sim/PtyUnit.h"

namespace {

TEST(Cli, UsageErrorsExitTwoAndHelpExitsZero) {
  EXPECT_EQ(Ctl({}).code, 2);
  EXPECT_EQ(Ctl({"frobnicate"}).code, 2);
  EXPECT_EQ(Ctl({"identify"}).code, 2);                            // --port missing
  EXPECT_EQ(Ctl({"identify", "--port", "x", "--bogus"}).code, 2);  // unknown option
  EXPECT_EQ(Ctl({"identify", "--port", "x", "--timeout", "-1"}).code, 2);
  const CtlResult help = Ctl({"read", "--help"});
  EXPECT_EQ(help.code, 0);
  EXPECT_NE(help.out.find("read --port PORT --output FILE.eep"), std::string::npos);
  EXPECT_EQ(Ctl({"--help"}).code, 0);
}

TEST(Cli, IdentifyPrintsThreeLinesAndLetsTheUnitGo) {
  sim::PtyUnit unit;
  ASSERT_TRUE(unit.start());
  // Global options may stand after the command.
  const CtlResult r = Ctl({"identify", "--port", unit.slavePath(), "-v"});
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out, "type: KX2 Ericsson GM2x\nfirmware: 1.8\nmemory: 8192\n");
  // Verbose: the terminal's lines, the reset among them.
  EXPECT_NE(r.err.find(" - # 06 AA 55 06 0D"), std::string::npos) << r.err;
  bool reset = false;
  for (const auto& t : unit.traffic())
    if (t.kind == sim::TrafficEntry::Kind::Received && !t.bytes.empty() && t.bytes[0] == 0x06)
      reset = true;
  EXPECT_TRUE(reset);
}

TEST(Cli, ForeignOrNewerUnitsAreRefusedUnlessYesAndOlderOnesAlways) {
  sim::UnitConfig newer;
  newer.identity.major = 2;
  newer.identity.minor = 0;
  sim::PtyUnit unit(newer);
  ASSERT_TRUE(unit.start());
  const CtlResult no = Ctl({"identify", "--port", unit.slavePath()});
  EXPECT_EQ(no.code, 1);
  EXPECT_NE(no.err.find("-> no"), std::string::npos);
  const CtlResult yes = Ctl({"identify", "--port", unit.slavePath(), "--yes"});
  EXPECT_EQ(yes.code, 0) << yes.err;
  EXPECT_NE(yes.out.find("firmware: 2.0"), std::string::npos);

  sim::UnitConfig older;
  older.identity.minor = 7;
  sim::PtyUnit old(older);
  ASSERT_TRUE(old.start());
  const CtlResult refused = Ctl({"identify", "--port", old.slavePath(), "--yes"});
  EXPECT_EQ(refused.code, 1);
  EXPECT_NE(refused.err.find("(1.7)"), std::string::npos) << refused.err;
}

TEST(Cli, NoUnitOrNoPortFailsWithTheProgramsMessage) {
  const CtlResult port = Ctl({"identify", "--port", "/dev/kx2-none"});
  EXPECT_EQ(port.code, 1);
  EXPECT_NE(port.err.find("Port blokován"), std::string::npos) << port.err;

  sim::UnitConfig silent;
  silent.faults.silentAfter = 0;
  sim::PtyUnit unit(silent);
  ASSERT_TRUE(unit.start());
  const CtlResult r = Ctl({"reset", "--port", unit.slavePath(), "--timeout", "1.2"});
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("Není odpověď"), std::string::npos) << r.err;
}

}  // namespace

namespace {

TEST(Cli, LangSwitchesTheProgramsTextsAndAnUnknownLanguageIsAUsageError) {
  const CtlResult en = Ctl({"--lang", "English", "identify", "--port", "/dev/kx2-none"});
  EXPECT_EQ(en.code, 1);
  EXPECT_NE(en.err.find("Port blocked"), std::string::npos) << en.err;
  const CtlResult cz = Ctl({"identify", "--port", "/dev/kx2-none", "--lang", "Česky"});
  EXPECT_NE(cz.err.find("Port blokován"), std::string::npos) << cz.err;
  EXPECT_EQ(Ctl({"--lang", "Klingon", "identify", "--port", "x"}).code, 2);
}

}  // namespace

namespace {

// The unit's line hangs up in the middle of a read: kx2ctl learns it through the window as the
// desktop does, at once rather than after the retries, with the message once, and writes no file.
TEST(Cli, ALineThatHangsUpDuringAReadFailsAtOnceWithTheMessageOnce) {
  sim::UnitConfig config;
  config.faults.closeAfter = 6;  // link test, identification, memory, then a few blocks
  sim::PtyUnit unit(config);
  ASSERT_TRUE(unit.start());
  const std::string out = ::testing::TempDir() + "kx2-hangup.eep";
  std::remove(out.c_str());
  const auto start = std::chrono::steady_clock::now();
  const CtlResult r = Ctl({"read", "--port", unit.slavePath(), "--output", out});
  const auto took = std::chrono::steady_clock::now() - start;
  EXPECT_EQ(r.code, 1);
  const std::string dead = "přestalo komunikovat";
  const size_t first = r.err.find(dead);
  ASSERT_NE(first, std::string::npos) << r.err;
  EXPECT_EQ(r.err.find(dead, first + 1), std::string::npos) << r.err;
  EXPECT_LT(took, std::chrono::seconds(2));  // the retries alone would take six
  EXPECT_FALSE(std::ifstream(out).good());
}

}  // namespace
