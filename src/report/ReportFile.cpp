#include "report/ReportFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "base/Cp1250.h"

namespace report {

namespace {

std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

bool WriteAll(int fd, const std::string& data) {
  size_t done = 0;
  while (done < data.size()) {
    const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = EIO;
      return false;
    }
    done += static_cast<size_t>(n);
  }
  return true;
}

bool Fail(const std::string& path, int error, std::string& errorText) {
  // The system's reason comes in the locale's encoding (UTF-8 here); the program's texts are
  // Windows-1250.
  errorText = path + ": " + Utf8ToCp1250(std::strerror(error));
  return false;
}

// Creates a new file next to the target; its name starts with a full stop so file managers do
// not show a half-written report.
int CreateTemp(const std::string& folder, std::string& temp) {
  static unsigned counter = 0;
  for (int attempt = 0; attempt < 100; ++attempt) {
    temp = folder + "/.kx2-report-" + std::to_string(::getpid()) + "-" + std::to_string(counter++) +
           ".tmp";
    // 0666 lets the user's umask decide, as for any new file.
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

}  // namespace

std::string ReportFileBytes(const std::vector<std::string>& lines) {
  size_t size = 0;
  for (const auto& line : lines) size += line.size() + 2;
  std::string bytes;
  bytes.reserve(size);
  for (const auto& line : lines) {
    bytes += line;
    bytes += "\r\n";
  }
  return bytes;
}

bool SaveReportFile(const std::string& path, const std::vector<std::string>& lines,
                    std::string& errorText) {
  errorText.clear();
  if (path.empty()) return Fail(path, ENOENT, errorText);
  std::string target = path;
  struct stat st {};
  if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
    char* real = ::realpath(path.c_str(), nullptr);
    if (real == nullptr) return Fail(path, errno, errorText);
    target = real;
    std::free(real);
  }
  const bool exists = ::stat(target.c_str(), &st) == 0;
  if (exists) {
    if (S_ISDIR(st.st_mode)) return Fail(path, EISDIR, errorText);
    if (!S_ISREG(st.st_mode)) return Fail(path, EINVAL, errorText);
    // Replacing goes through the folder, which would bypass a write-protected file.
    if (::access(target.c_str(), W_OK) != 0) return Fail(path, errno, errorText);
  }

  std::string temp;
  const int fd = CreateTemp(FolderOf(target), temp);
  if (fd < 0) return Fail(path, errno != 0 ? errno : EEXIST, errorText);
  int error = 0;
  if (!WriteAll(fd, ReportFileBytes(lines))) error = errno;
  if (error == 0 && exists && ::fchmod(fd, st.st_mode & 07777) != 0) error = errno;
  if (error == 0 && ::fsync(fd) != 0) error = errno;
  if (::close(fd) != 0 && error == 0) error = errno;
  if (error == 0 && ::rename(temp.c_str(), target.c_str()) != 0) error = errno;
  if (error != 0) {
    ::unlink(temp.c_str());
    return Fail(path, error, errorText);
  }
  // The new name itself reaches the disk; failing here does not undo a completed save.
  const int dirFd = ::open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dirFd >= 0) {
    ::fsync(dirFd);
    ::close(dirFd);
  }
  return true;
}

std::string ProposeReportFileName(const std::string& stationName) {
  std::string name;
  for (char c : stationName) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) continue;
    if (std::strchr(".<>\"'/\\:*?|", c) != nullptr) continue;
    name += c;
  }
  return Cp1250ToUtf8(name);
}

}  // namespace report
