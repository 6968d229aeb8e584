#include "base/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

namespace {

// As many links as the kernel follows before it gives up with ELOOP.
constexpr int kMaxLinks = 40;

std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string InFolder(const std::string& folder, const std::string& name) {
  return folder == "/" ? "/" + name : folder + "/" + name;
}

// The text of the link at `path`, or the errno of reading it.
int ReadLink(const std::string& path, std::string& text) {
  std::string buffer(256, '\0');
  for (;;) {
    const ssize_t n = ::readlink(path.c_str(), buffer.data(), buffer.size());
    if (n < 0) return errno;
    if (static_cast<size_t>(n) < buffer.size()) {
      text.assign(buffer.data(), static_cast<size_t>(n));
      return 0;
    }
    buffer.resize(buffer.size() * 2);  // possibly cut off: ask again with more room
  }
}

// Follows the chain of links at `path` to the name the file really has (or will have), so the
// rename replaces that file and leaves the links alone. `exists` tells whether something is
// there, `st` what it is. A relative link names a file from the folder the link is in.
int ResolveTarget(const std::string& path, std::string& target, struct stat& st, bool& exists) {
  target = path;
  for (int links = 0;; ++links) {
    if (::lstat(target.c_str(), &st) != 0) {
      // Nothing there (or not reachable): the file is new, and creating the temporary file in
      // this folder reports whatever stands in the way.
      exists = false;
      return 0;
    }
    if (!S_ISLNK(st.st_mode)) {
      exists = true;
      return 0;
    }
    if (links == kMaxLinks) return ELOOP;
    std::string text;
    if (const int error = ReadLink(target, text); error != 0) return error;
    if (text.empty()) return ENOENT;
    target = text.front() == '/' ? text : InFolder(FolderOf(target), text);
  }
}

// A fresh file beside the target. The kernel applies the umask to `mode`, exactly as for any
// other new file. The name starts with a full stop so that file managers do not show a
// half-written file.
int CreateTemp(const std::string& folder, mode_t mode, std::string& temp) {
  static std::atomic<unsigned> counter{0};
  for (int attempt = 0; attempt < 100; ++attempt) {
    temp = InFolder(folder, ".kx2-" + std::to_string(::getpid()) + "-" +
                                std::to_string(counter.fetch_add(1)) + ".tmp");
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  errno = EEXIST;
  return -1;
}

int WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return errno;
    if (n == 0) return EIO;
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return 0;
}

// Gives the temporary file the permission bits of the file it replaces. Skipped when they
// already match, so file systems that cannot store permissions (FAT) do not fail the save.
int KeepMode(int fd, mode_t oldMode) {
  struct stat now {};
  if (::fstat(fd, &now) != 0) return errno;
  if ((now.st_mode & 07777) == (oldMode & 07777)) return 0;
  return ::fchmod(fd, oldMode & 07777) == 0 ? 0 : errno;
}

}  // namespace

AtomicFileResult WriteFileAtomically(const std::string& path, std::string_view bytes,
                                     mode_t newFileMode) {
  if (path.empty()) return {ENOENT, AtomicFileStep::Target};
  std::string target;
  struct stat old {};
  bool exists = false;
  if (const int error = ResolveTarget(path, target, old, exists); error != 0)
    return {error, AtomicFileStep::Target};
  // Renaming a file over a device or a pipe would silently take its place.
  if (exists && !S_ISREG(old.st_mode) && !S_ISDIR(old.st_mode))
    return {EINVAL, AtomicFileStep::Target};

  const std::string folder = FolderOf(target);
  std::string temp;
  const int fd = CreateTemp(folder, newFileMode, temp);
  if (fd < 0) return {errno, AtomicFileStep::Create};

  AtomicFileResult result;
  auto fail = [&result](int error, AtomicFileStep step) {
    if (result.ok() && error != 0) result = {error, step};
  };
  fail(WriteAll(fd, bytes), AtomicFileStep::Write);
  if (result.ok() && exists && S_ISREG(old.st_mode))
    fail(KeepMode(fd, old.st_mode), AtomicFileStep::Write);
  if (result.ok() && ::fsync(fd) != 0) fail(errno, AtomicFileStep::Write);
  if (::close(fd) != 0) fail(errno, AtomicFileStep::Write);
  if (result.ok() && ::rename(temp.c_str(), target.c_str()) != 0)
    fail(errno, AtomicFileStep::Replace);
  if (!result.ok()) {
    ::unlink(temp.c_str());
    return result;
  }

  // The new name itself reaches the disk; failing here does not undo a completed save.
  const int folderFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folderFd >= 0) {
    ::fsync(folderFd);
    ::close(folderFd);
  }
  return result;
}
