// kx2sim: a simulated KX2 unit on a pseudo-terminal, for tests and demonstrations without
// hardware.

#include <pthread.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "sim/PtyUnit.h"
#include "sim/SimOptions.h"

namespace {

// Points link at target, replacing a link that is there already; anything else in its place is
// left alone.
bool PlaceLink(const std::string& link, const std::string& target, std::string& error) {
  struct stat st {};
  if (lstat(link.c_str(), &st) == 0 && !S_ISLNK(st.st_mode)) {
    error = link + " exists and is not a symbolic link";
    return false;
  }
  const std::string temp = link + ".kx2sim-" + std::to_string(getpid());
  ::unlink(temp.c_str());
  if (symlink(target.c_str(), temp.c_str()) != 0 || rename(temp.c_str(), link.c_str()) != 0) {
    error = "cannot link " + link + ": " + std::strerror(errno);
    ::unlink(temp.c_str());
    return false;
  }
  return true;
}

// Removes the link only while it still points at this unit's terminal: another unit may have
// taken it over meanwhile.
void RemoveLink(const std::string& link, const std::string& target) {
  std::vector<char> buffer(target.size() + 2);
  const ssize_t n = readlink(link.c_str(), buffer.data(), buffer.size());
  if (n >= 0 && std::string(buffer.data(), static_cast<size_t>(n)) == target) {
    ::unlink(link.c_str());
  }
}

int Fail(const std::string& message) {
  std::fprintf(stderr, "kx2sim: %s\n", message.c_str());
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  sim::SimOptions options;
  std::string error;
  if (!sim::ParseSimOptions(std::vector<std::string>(argv + 1, argv + argc), options, error)) {
    std::fprintf(stderr, "kx2sim: %s\nTry 'kx2sim --help'.\n", error.c_str());
    return 2;
  }
  if (options.help) {
    std::fputs(sim::SimUsage().c_str(), stdout);
    return 0;
  }

  // Blocked before the unit's thread exists, so that only sigwait below takes them.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGTERM);
  sigaddset(&stopSignals, SIGINT);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
  signal(SIGPIPE, SIG_IGN);

  sim::PtyUnit unit(options.unit);
  unit.setRecording(false);  // the log file keeps the traffic; memory would only grow
  if (!options.image.empty() && !unit.loadImage(options.image, &error)) return Fail(error);
  if (!options.log.empty() && !unit.setLogFile(options.log, &error)) return Fail(error);
  if (!unit.start(&error)) return Fail(error);
  const std::string path = unit.slavePath();
  if (!options.link.empty() && !PlaceLink(options.link, path, error)) {
    unit.stop();
    return Fail(error);
  }
  std::printf("%s\n", path.c_str());
  std::fflush(stdout);

  int signalNumber = 0;
  while (sigwait(&stopSignals, &signalNumber) != 0) {
  }
  unit.stop();

  int status = 0;
  if (!options.save.empty() && !unit.saveImage(options.save, &error)) status = Fail(error);
  if (!options.link.empty()) RemoveLink(options.link, path);
  return status;
}
