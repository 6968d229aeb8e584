#include "cli/Record.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>

namespace cli {

std::string RecordHeader() {
  return "time (UTC),port,type,firmware,memory,station,operation,result,message";
}

std::string CsvField(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string out = "\"";
  for (char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}

std::string RecordText(const RecordLine& l, long long utcTime) {
  const std::time_t t = static_cast<std::time_t>(utcTime);
  std::tm tm{};
  gmtime_r(&t, &tm);
  char when[32];
  std::strftime(when, sizeof when, "%Y-%m-%dT%H:%M:%SZ", &tm);
  std::string out = when;
  for (const std::string* field :
       {&l.port, &l.type, &l.firmware, &l.memory, &l.station, &l.operation, &l.result, &l.message})
    out += "," + CsvField(*field);
  return out;
}

bool AppendRecord(const std::string& path, const RecordLine& line, std::string& error) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) {
    error = std::strerror(errno);
    return false;
  }
  // Two runs ending together must not both see an empty file and both write the header.
  ::flock(fd, LOCK_EX);
  struct stat st {};
  std::string text;
  if (::fstat(fd, &st) == 0 && st.st_size == 0) text = RecordHeader() + "\n";
  text += RecordText(line, static_cast<long long>(std::time(nullptr))) + "\n";
  size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      error = std::strerror(errno);
      ::close(fd);
      return false;
    }
    done += static_cast<size_t>(n);
  }
  if (::close(fd) != 0) {
    error = std::strerror(errno);
    return false;
  }
  return true;
}

}  // namespace cli
