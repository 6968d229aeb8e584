#include "report/ReportFile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "base/AtomicFile.h"
#include "base/Cp1250.h"
#include "base/Paths.h"

namespace report {

namespace {

bool Fail(const std::string& path, int error, std::string& errorText) {
  // The path is file-system bytes and the system's reason comes in the locale's encoding (UTF-8
  // here); the program's texts are Windows-1250.
  errorText = PathText(path) + ": " + Utf8ToCp1250(std::strerror(error));
  return false;
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
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0) {
    if (S_ISDIR(st.st_mode)) return Fail(path, EISDIR, errorText);
    if (!S_ISREG(st.st_mode)) return Fail(path, EINVAL, errorText);
    // Replacing goes through the folder, which would bypass a write-protected file.
    if (::access(path.c_str(), W_OK) != 0) return Fail(path, errno, errorText);
  } else {
    // A link that names no file is a mistake to point out, not a place for a new report.
    const int error = errno;
    if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) return Fail(path, error, errorText);
  }
  const AtomicFileResult saved = WriteFileAtomically(path, ReportFileBytes(lines));
  if (!saved.ok()) return Fail(path, saved.error, errorText);
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
