// The connection doctor against a made-up system: a device folder, group data and processes of
// the test's own making, so no root and no real serial port are needed.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/Doctor.h"
#include "cli/FlatJson.h"
#include "cli/Record.h"

namespace {

namespace fs = std::filesystem;

struct Doctor : ::testing::Test {
  fs::path dir = fs::temp_directory_path() / ("kx2doctor-" + std::to_string(getpid()));
  cli::DoctorEnv env;
  gid_t fileGroup = getegid();  // what the made-up devices are owned by

  void SetUp() override {
    fs::remove_all(dir);
    fs::create_directories(dir / "dev");
    fs::create_directories(dir / "sys");
    fs::create_directories(dir / "proc" / "1");
    std::ofstream(dir / "proc" / "1" / "comm") << "init\n";
    env.devDir = (dir / "dev").string();
    env.sysTtyDir = (dir / "sys").string();
    env.groupFile = (dir / "group").string();
    env.procDir = (dir / "proc").string();
    env.brlttyPaths = {(dir / "brltty").string()};
    // A user who owns none of the files and, to begin with, is in none of their groups.
    env.userName = "technik";
    env.uid = getuid() + 4242;
    env.gid = fileGroup + 4242;
    env.groups = {env.gid};
    WriteGroups("");
  }
  void TearDown() override { fs::remove_all(dir); }

  void WriteGroups(const std::string& members) {
    std::ofstream(env.groupFile) << "root:x:0:\n"
                                 << "dialout:x:" << fileGroup << ":" << members << "\n"
                                 << "technik:x:" << env.gid << ":\n";
  }
  std::string Device(const char* name, mode_t mode) {
    const fs::path p = dir / "dev" / name;
    std::ofstream(p) << "";
    chmod(p.c_str(), mode);
    return p.string();
  }
  std::pair<bool, std::string> Run(const std::vector<std::string>& ports = {}) {
    std::ostringstream out;
    const bool clear = cli::RunDoctor(env, ports, out);
    return {clear, out.str()};
  }
};

TEST_F(Doctor, APortOfAGroupTheUserIsNotInGetsTheCommandThatAddsThem) {
  const std::string port = Device("ttyUSB0", 0660);
  auto [clear, text] = Run();
  EXPECT_FALSE(clear);
  EXPECT_NE(text.find(port + ": technik cannot open it (mode 0660, group dialout)"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("sudo usermod -aG dialout technik"), std::string::npos) << text;

  // Added to the group but not logged in again: the group data knows, the session does not.
  WriteGroups("someone,technik");
  std::tie(clear, text) = Run({port});
  EXPECT_FALSE(clear);
  EXPECT_NE(text.find("is in the group dialout, but this session started before"),
            std::string::npos)
      << text;
  EXPECT_EQ(text.find("usermod"), std::string::npos);

  // Logged in again: nothing stands in the way.
  env.groups.push_back(fileGroup);
  std::tie(clear, text) = Run({port});
  EXPECT_TRUE(clear) << text;
  EXPECT_EQ(text, port + ": ok\nnothing stands in the way\n");
}

TEST_F(Doctor, ClosedPortsMissingPortsAndTheProgramsThatGetInTheWay) {
  const std::string closed = Device("ttyACM0", 0600);
  env.groups.push_back(fileGroup);
  auto [clear, text] = Run();
  EXPECT_FALSE(clear);
  EXPECT_NE(text.find("not open to its group"), std::string::npos) << text;
  EXPECT_EQ(text.find("usermod"), std::string::npos);

  std::tie(clear, text) = Run({(dir / "dev" / "ttyUSB9").string()});
  EXPECT_FALSE(clear);
  EXPECT_NE(text.find("ttyUSB9: does not exist"), std::string::npos);

  chmod(closed.c_str(), 0666);
  fs::create_directories(dir / "proc" / "812");
  std::ofstream(dir / "proc" / "812" / "comm") << "ModemManager\n";
  std::ofstream(dir / "brltty") << "";
  std::tie(clear, text) = Run();
  EXPECT_FALSE(clear);
  EXPECT_NE(text.find(closed + ": ok"), std::string::npos) << text;
  EXPECT_NE(text.find("ModemManager is running"), std::string::npos) << text;
  EXPECT_NE(text.find("sudo systemctl stop ModemManager"), std::string::npos);
  EXPECT_NE(text.find("brltty is installed"), std::string::npos);
  EXPECT_NE(text.find("sudo apt remove brltty"), std::string::npos);

  fs::remove_all(dir / "proc" / "812");
  fs::remove(dir / "brltty");
  fs::remove(closed);
  std::tie(clear, text) = Run();
  EXPECT_FALSE(clear);  // nothing to connect to
  EXPECT_NE(text.find("no serial ports found"), std::string::npos);
}

TEST(FlatJson, ReadsWhatShowPrintsAndRefusesEverythingElse) {
  const auto m = cli::ParseFlatJson(
      "{\n  \"A\": \"x\\\"y\\\\z\\n\\u010d\\ud83d\\ude00/\",\n  \"B\": true,\"C\":false, "
      "\"D\": \"Čerpadlo\"\n}\n");
  ASSERT_EQ(m.size(), 4u);
  EXPECT_EQ(m[0].name, "A");
  EXPECT_EQ(m[0].value, "x\"y\\z\nč\xF0\x9F\x98\x80/");
  EXPECT_FALSE(m[0].isBool);
  EXPECT_TRUE(m[1].isBool);
  EXPECT_EQ(m[1].value, "1");
  EXPECT_EQ(m[2].value, "0");
  EXPECT_EQ(m[3].value, "Čerpadlo");
  EXPECT_TRUE(cli::ParseFlatJson(" {} ").empty());
  for (const char* bad : {"", "[]", "{\"A\": 1}", "{\"A\": null}", "{\"A\": {}}",
                          "{\"A\": \"x\"} x", "{\"A\": \"x\", }", "{\"A\": \"x\", \"A\": \"y\"}",
                          "{\"A\": \"\\ud83d\"}", "{\"A\": \"\\q\"}", "{\"A\": \"\xC8\"}",
                          "{\"A\": \"x", "{\"A\" \"x\"}", "{\"A\": \"a\tb\"}"})
    EXPECT_THROW(cli::ParseFlatJson(bad), cli::JsonError) << bad;
}

TEST(Record, FieldsAreQuotedWhereCsvNeedsItAndTheTimeIsUtc) {
  cli::RecordLine l{"/dev/ttyUSB0", "KX2",   "1.8", "8192",
                    "Vrt, \"A\"",   "write", "ok",  "Line1\nLine2"};
  EXPECT_EQ(cli::RecordText(l, 0),
            "1970-01-01T00:00:00Z,/dev/ttyUSB0,KX2,1.8,8192,\"Vrt, \"\"A\"\"\",write,ok,"
            "\"Line1\nLine2\"");
  std::string error;
  EXPECT_FALSE(cli::AppendRecord("/nonexistent-dir/r.csv", l, error));
  EXPECT_FALSE(error.empty());
}

}  // namespace
