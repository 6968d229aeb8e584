// The kx2sim program as scripts use it: started as a process, stopped by a signal.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <sstream>

#include "RawPort.h"
#include "sim/SimOptions.h"

extern char** environ;

namespace sim {
namespace {

using simtest::RawPort;

Bytes Text(const std::string& s) {
  return Bytes(s.begin(), s.end());
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

class Program {
 public:
  explicit Program(const std::vector<std::string>& args) {
    int out[2], err[2];
    if (pipe2(out, O_CLOEXEC) != 0 || pipe2(err, O_CLOEXEC) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_adddup2(&actions, err[1], 2);
    std::vector<std::string> all = {KX2SIM_PATH};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : all) argv.push_back(a.data());
    argv.push_back(nullptr);
    if (posix_spawn(&pid_, KX2SIM_PATH, &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    ::close(err[1]);
    out_ = out[0];
    err_ = err[0];
  }
  ~Program() {
    if (pid_ > 0) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
    if (out_ >= 0) ::close(out_);
    if (err_ >= 0) ::close(err_);
  }

  bool started() const { return pid_ > 0; }

  // The first line of standard output, without its newline; empty after 10 s without one.
  std::string firstLine() {
    std::string line;
    char c;
    while (waitReadable(out_) && ::read(out_, &c, 1) == 1) {
      if (c == '\n') return line;
      line += c;
    }
    return {};
  }

  // Sends the signal (if any), waits for the end; the exit status, or -1 for no normal exit.
  int finish(int signalNumber = 0) {
    if (signalNumber != 0) kill(pid_, signalNumber);
    int status = 0;
    const pid_t done = waitpid(pid_, &status, 0);
    pid_ = -1;
    while (waitReadable(err_, 0)) {
      char buffer[256];
      const ssize_t n = ::read(err_, buffer, sizeof buffer);
      if (n <= 0) break;
      stderr_.append(buffer, static_cast<size_t>(n));
    }
    return done > 0 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  const std::string& errors() const { return stderr_; }

 private:
  static bool waitReadable(int fd, int timeoutMs = 10'000) {
    pollfd p{fd, POLLIN, 0};
    return poll(&p, 1, timeoutMs) > 0;
  }

  pid_t pid_ = -1;
  int out_ = -1;
  int err_ = -1;
  std::string stderr_;
};

class Kx2SimProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = ::testing::TempDir() + "kx2simXXXXXX";
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir_ = pattern + "/";
  }
  void TearDown() override {
    for (const char* name : {"link", "image.bin", "saved.bin", "traffic.log", "plain"}) {
      ::unlink((dir_ + name).c_str());
    }
    ::rmdir(dir_.c_str());
  }
  std::string dir_;
};

TEST_F(Kx2SimProgram, AnswersOnItsTerminalUntilSignalledThenSaves) {
  const std::string link = dir_ + "link";
  const std::string image = dir_ + "image.bin";
  const std::string saved = dir_ + "saved.bin";
  const std::string log = dir_ + "traffic.log";
  std::ofstream(image, std::ios::binary) << "0123456789";
  ASSERT_EQ(symlink("/nonexistent/old-unit", link.c_str()), 0);  // left by an earlier run

  Program sim({"--link", link, "--type", "0x1,da,3", "--firmware=2.0", "--size-code", "7",
               "--image", image, "--save", saved, "--log", log});
  ASSERT_TRUE(sim.started());
  const std::string path = sim.firstLine();
  ASSERT_EQ(path.rfind("/dev/", 0), 0u) << path;
  char target[256] = {};
  ASSERT_GT(readlink(link.c_str(), target, sizeof target - 1), 0);
  EXPECT_EQ(path, target);

  RawPort port(link);
  ASSERT_TRUE(port.isOpen());
  EXPECT_EQ(port.exchange(EncodeFrame(kLinkTest)), (Bytes{0x81, 0x82, 0x0D}));
  EXPECT_EQ(port.exchange(EncodeFrame(kIdentify)), EncodeFrame(0x82, Text("30AD100020")));
  EXPECT_EQ(port.exchange(EncodeFrame(kMemoryInfo)), EncodeFrame(0x83, Text("7000")));
  EXPECT_EQ(port.exchange(ReadCommand(4)), EncodeFrame(0x84, HexBytes(Text("456789\xFF\xFF"))));
  EXPECT_EQ(port.exchange(WriteCommand(16, Text("ABCDEFGH"))), (Bytes{0x85, 0x86, 0x0D}));
  port.close();

  EXPECT_EQ(sim.finish(SIGTERM), 0) << sim.errors();
  std::string expected = "0123456789";
  expected += std::string(6, '\xFF') + "ABCDEFGH" + std::string(16384 - 24, '\xFF');
  EXPECT_EQ(ReadFile(saved), expected);
  struct stat st {};
  EXPECT_NE(lstat(link.c_str(), &st), 0) << "the link outlived the unit";
  const std::string text = ReadFile(log);
  EXPECT_NE(text.find("< 01 02 0D\n"), std::string::npos) << text;
  EXPECT_NE(text.find("> 85 86 0D\n"), std::string::npos) << text;
}

TEST_F(Kx2SimProgram, RefusesBadCommandLines) {
  const std::vector<std::vector<std::string>> usage = {
      {"--type", "1,DA"}, {"--fault", "bogus"}, {"--latency"}, {"--frobnicate"}};
  for (const auto& args : usage) {
    Program sim(args);
    EXPECT_EQ(sim.finish(), 2) << args[0];
    EXPECT_NE(sim.errors().find("kx2sim: "), std::string::npos) << args[0];
  }

  Program help({"--help"});
  EXPECT_EQ(help.firstLine().rfind("Usage: kx2sim", 0), 0u);
  EXPECT_EQ(help.finish(), 0);

  // Failures at run time are no usage errors, and they leave others' files alone.
  Program missing({"--image", dir_ + "no-such-image.bin"});
  EXPECT_EQ(missing.finish(), 1);
  const std::string plain = dir_ + "plain";
  std::ofstream(plain) << "keep me";
  Program blocked({"--link", plain});
  EXPECT_EQ(blocked.finish(), 1);
  EXPECT_EQ(ReadFile(plain), "keep me");
}

TEST(SimOptions, ParsesTheCommandLine) {
  SimOptions o;
  std::string error;
  ASSERT_TRUE(
      ParseSimOptions({"--type", "2,0xDA,05", "--firmware", "1.10", "--latency=15", "--baud",
                       "9600", "--fault", "silent:4", "--fault", "noise", "--fault=chunk:3"},
                      o, error))
      << error;
  EXPECT_EQ(o.unit.identity.c, 2);
  EXPECT_EQ(o.unit.identity.b, 0xDA);
  EXPECT_EQ(o.unit.identity.a, 5);
  EXPECT_EQ(o.unit.identity.major, 1);
  EXPECT_EQ(o.unit.identity.minor, 10);
  EXPECT_EQ(o.unit.latencyMs, 15);
  EXPECT_EQ(o.unit.baud, 9600);
  EXPECT_EQ(o.unit.faults.silentAfter, 4);
  EXPECT_EQ(o.unit.faults.noise, 1);
  EXPECT_EQ(o.unit.faults.chunk, 3);
  EXPECT_EQ(o.unit.faults.ignoreFirst, 0);
  EXPECT_EQ(o.unit.sizeCode, 6);

  for (const std::vector<std::string>& bad :
       std::vector<std::vector<std::string>>{{"--type", "1,DA,2,3"},
                                             {"--type", "100,1,1"},
                                             {"--firmware", "1.256"},
                                             {"--baud", "10"},
                                             {"--size-code", "256"},
                                             {"--fault", "close:0"},
                                             {"stray"}}) {
    SimOptions ignored;
    EXPECT_FALSE(ParseSimOptions(bad, ignored, error)) << bad[0] << " " << bad.back();
  }
}

}  // namespace
}  // namespace sim
