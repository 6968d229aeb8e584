// kx2init under a real window manager (openbox on a virtual screen): a stored window position
// is where the window's frame appears, not where its client area begins. Needs Xvfb, openbox,
// xwininfo and xprop; the test is skipped where one of them is missing.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "common/TempDir.h"

extern char** environ;

namespace {

using namespace std::chrono_literals;

std::optional<std::string> FindTool(const std::string& name) {
  const char* path = std::getenv("PATH");
  std::string all = path != nullptr ? path : "/usr/bin:/bin";
  size_t start = 0;
  while (start <= all.size()) {
    size_t colon = all.find(':', start);
    if (colon == std::string::npos) colon = all.size();
    const std::string candidate = all.substr(start, colon - start) + "/" + name;
    if (access(candidate.c_str(), X_OK) == 0) return candidate;
    start = colon + 1;
  }
  return std::nullopt;
}

// Starts args[0] with exactly the given environment; the file actions say what it inherits.
pid_t Spawn(const std::vector<std::string>& args, const std::vector<std::string>& env,
            const posix_spawn_file_actions_t& actions) {
  std::vector<char*> argv;
  for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  std::vector<char*> envp;
  for (const auto& e : env) envp.push_back(const_cast<char*>(e.c_str()));
  envp.push_back(nullptr);
  pid_t pid = -1;
  if (posix_spawn(&pid, args[0].c_str(), &actions, nullptr, argv.data(), envp.data()) != 0)
    return -1;
  return pid;
}

// A child process with its own environment; killed and reaped when it goes out of scope.
class Child {
 public:
  Child(const std::vector<std::string>& args, const std::vector<std::string>& env,
        int keepFd = -1) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    if (keepFd >= 0) posix_spawn_file_actions_adddup2(&actions, keepFd, keepFd);
    pid_ = Spawn(args, env, actions);
    posix_spawn_file_actions_destroy(&actions);
  }
  ~Child() { Stop(SIGKILL); }
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;

  bool Running() const { return pid_ > 0; }
  // Sends the signal and waits up to five seconds for the end; true when it ended by itself.
  bool Stop(int sig) {
    if (pid_ <= 0) return false;
    kill(pid_, sig);
    for (int i = 0; i < 500; ++i) {
      if (waitpid(pid_, nullptr, WNOHANG) == pid_) {
        pid_ = -1;
        return true;
      }
      std::this_thread::sleep_for(10ms);
    }
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
    return false;
  }

 private:
  pid_t pid_ = -1;
};

// What a command prints on its standard output.
std::string Output(const std::vector<std::string>& args, const std::vector<std::string>& env) {
  int out[2];
  if (pipe2(out, O_CLOEXEC) != 0) return {};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], 1);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  const pid_t pid = Spawn(args, env, actions);
  posix_spawn_file_actions_destroy(&actions);
  close(out[1]);
  std::string text;
  if (pid > 0) {
    char buffer[4096];
    ssize_t n;
    while ((n = read(out[0], buffer, sizeof buffer)) > 0) text.append(buffer, n);
    waitpid(pid, nullptr, 0);
  }
  close(out[0]);
  return text;
}

struct Frame {
  int left = 0, top = 0;  // the frame's outer corner on the screen
  bool framed = false;    // the window manager has put a frame around it
};

class UnderWindowManager : public ::testing::Test {
 protected:
  void SetUp() override {
    xvfb_ = FindTool("Xvfb");
    openbox_ = FindTool("openbox");
    xwininfo_ = FindTool("xwininfo");
    xprop_ = FindTool("xprop");
    if (!xvfb_ || !openbox_ || !xwininfo_ || !xprop_)
      GTEST_SKIP() << "needs Xvfb, openbox, xwininfo and xprop";

    // The server names its display once it listens.
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    server_.emplace(std::vector<std::string>{*xvfb_, "-displayfd", std::to_string(ready[1]),
                                             "-screen", "0", "1280x1024x24", "-nolisten", "tcp"},
                    BaseEnv(), ready[1]);
    close(ready[1]);
    pollfd p{ready[0], POLLIN, 0};
    std::string number;
    while (poll(&p, 1, 10000) > 0) {
      char c;
      if (read(ready[0], &c, 1) != 1 || c == '\n') break;
      number += c;
    }
    close(ready[0]);
    ASSERT_FALSE(number.empty()) << "the virtual screen did not start";
    display_ = ":" + number;

    wm_.emplace(std::vector<std::string>{*openbox_}, Env());
    // The window manager announces itself on the root window.
    bool managed = false;
    for (int i = 0; i < 500 && !managed; ++i) {
      managed = Output({*xprop_, "-root", "_NET_SUPPORTING_WM_CHECK"}, Env()).find("window id") !=
                std::string::npos;
      if (!managed) std::this_thread::sleep_for(20ms);
    }
    ASSERT_TRUE(managed) << "openbox did not start";
  }

  std::vector<std::string> BaseEnv() const {
    std::vector<std::string> env = {"PATH=/usr/bin:/bin", "HOME=" + home_.Path(),
                                    "XDG_CONFIG_HOME=" + home_ / "config",
                                    "XDG_RUNTIME_DIR=" + home_.Path()};
    return env;
  }
  std::vector<std::string> Env() const {
    std::vector<std::string> env = BaseEnv();
    env.push_back("DISPLAY=" + display_);
    return env;
  }

  // The main window's frame, once the window is on the screen.
  std::optional<Frame> MainFrame() {
    const std::string tree = Output({*xwininfo_, "-root", "-tree"}, Env());
    const std::regex line(R"((0x[0-9a-f]+) \"[^\"]*KX2 Init[^\"]*\")");
    std::smatch m;
    if (!std::regex_search(tree, m, line)) return std::nullopt;
    const std::string id = m[1];
    const std::string info = Output({*xwininfo_, "-id", id}, Env());
    std::smatch x, y;
    if (!std::regex_search(info, x, std::regex(R"(Absolute upper-left X:\s+(-?\d+))")) ||
        !std::regex_search(info, y, std::regex(R"(Absolute upper-left Y:\s+(-?\d+))")))
      return std::nullopt;
    Frame frame{std::stoi(x[1]), std::stoi(y[1]), false};
    const std::string extents = Output({*xprop_, "-id", id, "_NET_FRAME_EXTENTS"}, Env());
    std::smatch e;
    if (std::regex_search(extents, e, std::regex(R"(= (\d+), (\d+), (\d+), (\d+))"))) {
      frame.left -= std::stoi(e[1]);
      frame.top -= std::stoi(e[3]);
      frame.framed = std::stoi(e[3]) > 0;
    }
    return frame;
  }

  TempDir home_;
  std::optional<std::string> xvfb_, openbox_, xwininfo_, xprop_;
  std::string display_;
  std::optional<Child> server_, wm_;
};

TEST_F(UnderWindowManager, TheStoredPositionIsWhereTheFrameAppears) {
  std::filesystem::create_directories(home_ / "config/Qel");
  WriteFile(home_ / "config/Qel/KX2 Init.ini",
            "[Options]\nFirstTime=s:0\n[Options\\General]\nLanguage=s:English\n"
            "[Options\\Forms\\FormMain]\nVisible=i:-1\nWindowState=i:1\nLeft=i:300\nTop=i:200\n");
  std::vector<std::string> env = Env();
  env.push_back("KX2_SYSCONFDIR=" KX2_SOURCE_DIR "/etc/");
  env.push_back("QT_QPA_PLATFORM=xcb");
  Child program({KX2INIT_PATH}, env);
  ASSERT_TRUE(program.Running());

  // The window is framed first and put in its place right after: wait for the place.
  std::optional<Frame> frame;
  const auto end = std::chrono::steady_clock::now() + 15s;
  while (std::chrono::steady_clock::now() < end) {
    frame = MainFrame();
    if (frame && frame->framed && frame->left == 300 && frame->top == 200) break;
    std::this_thread::sleep_for(50ms);
  }
  ASSERT_TRUE(frame.has_value()) << "the main window never appeared";
  EXPECT_TRUE(frame->framed);
  EXPECT_EQ(frame->left, 300);
  EXPECT_EQ(frame->top, 200);

  // Ended by the session, it stores the same place again: no drift from start to start.
  EXPECT_TRUE(program.Stop(SIGTERM));
  const std::string text = ReadFile(home_ / "config/Qel/KX2 Init.ini");
  const size_t section = text.find("[Options\\Forms\\FormMain]");
  ASSERT_NE(section, std::string::npos);
  const std::string rest = text.substr(section, text.find("\n[", section + 1) - section);
  EXPECT_NE(rest.find("Left=i:300\n"), std::string::npos) << rest;
  EXPECT_NE(rest.find("Top=i:200\n"), std::string::npos) << rest;
}

}  // namespace
