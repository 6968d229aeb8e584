#include "lang/LngFile.h"

#include <fstream>

#include "base/AtomicFile.h"
#include "base/Qelutils.h"

namespace lang {

Lines SplitLines(const std::string& text) {
  Lines lines;
  std::string line;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      lines.push_back(std::move(line));
      line.clear();
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      line += c;
    }
  }
  if (!line.empty()) lines.push_back(std::move(line));
  return lines;
}

std::string JoinLines(const Lines& lines) {
  std::string text;
  size_t size = 0;
  for (const auto& line : lines) size += line.size() + 2;
  text.reserve(size);
  for (const auto& line : lines) {
    text += line;
    text += "\r\n";
  }
  return text;
}

std::string FullKey(const std::string& key, int index) {
  return index < 0 ? key : key + "_" + std::to_string(index);
}

std::string QuoteLngValue(const std::string& text) {
  std::string out;
  out.reserve(text.size() + 2);
  out += '"';
  for (char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
  return out;
}

std::string DecodeLngValue(const std::string& raw) {
  // A value written without its quotes reads as if it had them, so a quote inside it means what
  // it means in a quoted value: doubled it is one quote, alone it ends the text.
  if (!raw.empty() && raw[0] != '"') {
    if (raw.find('"') == std::string::npos) return raw;
    return DecodeLngValue('"' + raw + '"');
  }
  if (raw.size() < 2) return raw;
  std::string out;
  out.reserve(raw.size());
  for (size_t i = 1; i < raw.size(); ++i) {
    if (raw[i] == '"') {
      if (i + 1 < raw.size() && raw[i + 1] == '"') {
        out += '"';
        ++i;
        continue;
      }
      return out;
    }
    out += raw[i];
  }
  if (!out.empty()) out.pop_back();
  return out;
}

bool IsLngHeader(const std::string& line) {
  return line.size() >= 2 && line.front() == '[' && line.back() == ']';
}

bool IsLngBlank(const std::string& line) {
  return line.find_first_not_of(' ') == std::string::npos;
}

namespace {

size_t FindHeader(const Lines& lines, const std::string& section) {
  const std::string header = "[" + section + "]";
  for (size_t i = 0; i < lines.size(); ++i)
    if (lines[i] == header) return i;
  return lines.size();
}

}  // namespace

std::optional<std::string> FindLngValue(const Lines& lines, const std::string& section,
                                        const std::string& fullKey) {
  const size_t header = FindHeader(lines, section);
  for (size_t i = header + 1; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    if (IsLngHeader(line)) break;
    if (line.size() < 2 || line.size() < fullKey.size() + 1) continue;
    const size_t at = line.find_first_of("=\"");
    if (at == std::string::npos || line[at] != '=') continue;
    if (CompareWildcard(line.substr(0, at), fullKey)) return line.substr(at + 1);
  }
  return std::nullopt;
}

void StoreLngValue(Lines& lines, const std::string& section, const std::string& fullKey,
                   const std::string& value) {
  if (fullKey.empty()) return;
  const std::string entry = fullKey + "=" + QuoteLngValue(value);
  const std::string prefix = fullKey + "=";
  const size_t header = FindHeader(lines, section);
  if (header == lines.size()) {
    if (!lines.empty() && !IsLngBlank(lines.back())) lines.emplace_back();
    lines.push_back("[" + section + "]");
    lines.push_back(entry);
    return;
  }
  size_t at = header + 1;
  for (; at < lines.size(); ++at) {
    const std::string& line = lines[at];
    if (IsLngBlank(line) || IsLngHeader(line)) break;
    if (line.compare(0, prefix.size(), prefix) == 0) {
      if (line != entry) lines[at] = entry;
      return;
    }
  }
  lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), entry);
}

std::optional<int> ParseLanguageId(const std::string& text) {
  long long value = 0;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    for (size_t i = 2; i < text.size(); ++i) {
      const int digit = Asc2Hex(text[i], -1);
      if (digit < 0) return std::nullopt;
      value = value * 16 + digit;
      if (value > 0x7FFFFFFF) return std::nullopt;
    }
    return static_cast<int>(value);
  }
  size_t i = 0;
  const bool negative = !text.empty() && text[0] == '-';
  if (negative) i = 1;
  if (i >= text.size()) return std::nullopt;
  for (; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return std::nullopt;
    value = value * 10 + (text[i] - '0');
    if (value > 0x7FFFFFFF) return std::nullopt;
  }
  return static_cast<int>(negative ? -value : value);
}

namespace {

std::string Trim(const std::string& s) {
  const size_t b = s.find_first_not_of(" \t");
  if (b == std::string::npos) return std::string();
  const size_t e = s.find_last_not_of(" \t");
  return s.substr(b, e - b + 1);
}

// The name of a section header line ("[ name ]" with blanks allowed), or nothing.
std::optional<std::string> ProfileSection(const std::string& line) {
  const std::string t = Trim(line);
  if (t.empty() || t[0] != '[') return std::nullopt;
  const size_t close = t.find(']');
  if (close == std::string::npos) return std::nullopt;
  return Trim(t.substr(1, close - 1));
}

struct ProfileSpan {
  size_t header;     // index of the header line, lines.size() when missing
  size_t lastEntry;  // last non-blank line of the section (the header when empty)
  size_t keyLine;    // the key's line, lines.size() when missing
};

ProfileSpan FindProfileKey(const Lines& lines, const std::string& section, const std::string& key) {
  ProfileSpan span{lines.size(), lines.size(), lines.size()};
  for (size_t i = 0; i < lines.size(); ++i) {
    const auto name = ProfileSection(lines[i]);
    if (name && SameTextAscii(*name, section)) {
      span.header = span.lastEntry = i;
      break;
    }
  }
  for (size_t i = span.header + 1; i < lines.size(); ++i) {
    if (ProfileSection(lines[i])) break;
    if (Trim(lines[i]).empty()) continue;
    span.lastEntry = i;
    const size_t eq = lines[i].find('=');
    if (span.keyLine == lines.size() && eq != std::string::npos &&
        SameTextAscii(Trim(lines[i].substr(0, eq)), Trim(key)))
      span.keyLine = i;
  }
  return span;
}

}  // namespace

std::optional<std::string> ReadProfileString(const Lines& lines, const std::string& section,
                                             const std::string& key) {
  const ProfileSpan span = FindProfileKey(lines, section, key);
  if (span.keyLine == lines.size()) return std::nullopt;
  const std::string& line = lines[span.keyLine];
  std::string value = Trim(line.substr(line.find('=') + 1));
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front())
    value = value.substr(1, value.size() - 2);
  return value;
}

void WriteProfileString(Lines& lines, const std::string& section, const std::string& key,
                        const std::string& value) {
  const std::string entry = Trim(key) + "=" + value;
  const ProfileSpan span = FindProfileKey(lines, section, key);
  if (span.header == lines.size()) {
    lines.push_back("[" + section + "]");
    lines.push_back(entry);
  } else if (span.keyLine != lines.size()) {
    lines[span.keyLine] = entry;
  } else {
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(span.lastEntry + 1), entry);
  }
}

bool ReadWholeFile(const std::string& path, std::string& bytes, size_t maxBytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  in.seekg(0, std::ios::end);
  const std::streamoff size = in.tellg();
  if (size < 0 || static_cast<unsigned long long>(size) > maxBytes) return false;
  in.seekg(0, std::ios::beg);
  bytes.assign(static_cast<size_t>(size), '\0');
  if (size > 0 && !in.read(bytes.data(), size)) return false;
  return true;
}

bool ReadLngFile(const std::string& path, Lines& lines) {
  // Language files are small; anything bigger is not one and is not read into memory.
  constexpr size_t kMaxLanguageFile = 16u << 20;
  std::string bytes;
  if (!ReadWholeFile(path, bytes, kMaxLanguageFile)) return false;
  lines = SplitLines(bytes);
  return true;
}

bool WriteWholeFileAtomically(const std::string& path, const std::string& bytes) {
  return WriteFileAtomically(path, bytes).ok();
}

}  // namespace lang
