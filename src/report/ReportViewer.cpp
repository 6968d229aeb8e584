#include "report/ReportViewer.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>
#include <thread>
#include <vector>

extern char** environ;

namespace report {

std::string ReportViewer(const EnvLookup& env) {
  if (auto viewer = env("KX2_VIEWER"); viewer && !viewer->empty()) return *viewer;
  return "xdg-open";
}

bool OpenReportFile(const std::string& path, const std::string& viewer) {
  if (path.empty() || viewer.empty()) return false;
  std::string argument = path;
  if (argument.front() == '-') argument = "./" + argument;

  posix_spawn_file_actions_t actions;
  if (posix_spawn_file_actions_init(&actions) != 0) return false;
  bool ok = posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0) == 0 &&
            posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0) == 0 &&
            posix_spawn_file_actions_adddup2(&actions, 1, 2) == 0;
#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 34))
  ok = ok && posix_spawn_file_actions_addclosefrom_np(&actions, 3) == 0;
#endif
  pid_t pid = -1;
  if (ok) {
    std::vector<char*> argv{const_cast<char*>(viewer.c_str()), argument.data(), nullptr};
    ok = posix_spawnp(&pid, viewer.c_str(), &actions, nullptr, argv.data(), environ) == 0;
  }
  posix_spawn_file_actions_destroy(&actions);
  if (!ok) return false;

  // A viewer may run for as long as the user reads: its end is collected by a thread of its own,
  // so the program neither waits nor leaves a zombie behind.
  try {
    std::thread([pid] {
      while (::waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
      }
    }).detach();
  } catch (const std::system_error&) {
    // No thread to spare: the viewer still runs; only its exit status lingers until we end.
  }
  return true;
}

}  // namespace report
