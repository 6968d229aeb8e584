#include "base/SettingsStore.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <limits>

#include "base/AtomicFile.h"
#include "base/Cp1250.h"
#include "base/Paths.h"
#include "base/Qelutils.h"

using settings_detail::Change;
using settings_detail::Entry;
using settings_detail::Parse;
using settings_detail::Section;
using settings_detail::Serialize;

namespace {

// A settings file larger than this is not ours; it reads as empty rather than eating memory.
constexpr off_t kMaxFileSize = 16 * 1024 * 1024;

std::string NormalizePath(const std::string& path) {
  std::string out;
  std::size_t i = 0;
  while (i < path.size()) {
    const std::size_t end = path.find('\\', i);
    const std::size_t stop = end == std::string::npos ? path.size() : end;
    if (stop > i) {
      if (!out.empty()) out += '\\';
      out.append(path, i, stop - i);
    }
    i = stop + 1;
  }
  return out;
}

bool StartsWithKey(const std::string& path, const std::string& prefix) {
  return path.size() > prefix.size() && path[prefix.size()] == '\\' &&
         SameTextAscii(path.substr(0, prefix.size()), prefix);
}

Section* FindSection(std::vector<Section>& sections, const std::string& path) {
  for (Section& s : sections) {
    if (SameTextAscii(s.path, path)) return &s;
  }
  return nullptr;
}

Section& SectionFor(std::vector<Section>& sections, const std::string& path) {
  if (Section* s = FindSection(sections, path)) return *s;
  sections.push_back(Section{path, {}});
  return sections.back();
}

Entry* FindEntry(Section& section, const std::string& name) {
  for (Entry& e : section.entries) {
    if (SameTextAscii(e.name, name)) return &e;
  }
  return nullptr;
}

void ApplyChange(std::vector<Section>& sections, const Change& change) {
  if (change.value) {
    Section& section = SectionFor(sections, change.path);
    if (Entry* e = FindEntry(section, change.name)) {
      e->value = *change.value;
    } else {
      section.entries.push_back(Entry{change.name, *change.value});
    }
    return;
  }
  // Deleting a value keeps its key, as the registry does.
  if (Section* section = FindSection(sections, change.path)) {
    for (auto it = section->entries.begin(); it != section->entries.end(); ++it) {
      if (SameTextAscii(it->name, change.name)) {
        section->entries.erase(it);
        break;
      }
    }
  }
}

void AppendHexEscape(std::string& out, char prefix, unsigned char b) {
  out += prefix;
  if (prefix == '\\') out += 'x';
  out += Hex2Asc(b >> 4);
  out += Hex2Asc(b & 0x0F);
}

bool IsControl(unsigned char b) {
  return b < 0x20 || b == 0x7F;
}

std::string EscapeText(const std::string& s, bool isName) {
  std::size_t firstSolid = s.find_first_not_of(' ');
  if (firstSolid == std::string::npos) firstSolid = s.size();
  const std::size_t lastSolid = s.find_last_not_of(' ');
  std::string out;
  out.reserve(s.size() + 8);
  for (std::size_t i = 0; i < s.size(); ++i) {
    const auto b = static_cast<unsigned char>(s[i]);
    const bool blankAtEdge =
        b == ' ' && ((isName && i < firstSolid) || lastSolid == std::string::npos || i > lastSolid);
    const bool nameSpecial = isName && (b == '=' || (i == 0 && (b == '[' || b == ';' || b == '#')));
    if (b == '\\') {
      out += "\\\\";
    } else if (IsControl(b) || blankAtEdge || nameSpecial) {
      AppendHexEscape(out, '\\', b);
    } else {
      out += static_cast<char>(b);
    }
  }
  return out;
}

std::string UnescapeText(const std::string& s) {
  std::string out;
  out.reserve(s.size());
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\\' && i + 1 < s.size()) {
      if (s[i + 1] == '\\') {
        out += '\\';
        ++i;
        continue;
      }
      if (s[i + 1] == 'x' && i + 3 < s.size()) {
        const int hi = Asc2Hex(s[i + 2], -1), lo = Asc2Hex(s[i + 3], -1);
        if (hi >= 0 && lo >= 0) {
          out += static_cast<char>(hi * 16 + lo);
          i += 3;
          continue;
        }
      }
    }
    out += s[i];  // a lone backslash from a hand edit stays as it is
  }
  return out;
}

std::string EscapeHeader(const std::string& s) {
  std::string out;
  for (char c : s) {
    const auto b = static_cast<unsigned char>(c);
    if (b == '%' || IsControl(b)) {
      AppendHexEscape(out, '%', b);
    } else {
      out += c;
    }
  }
  return out;
}

std::string UnescapeHeader(const std::string& s) {
  std::string out;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '%' && i + 2 < s.size()) {
      const int hi = Asc2Hex(s[i + 1], -1), lo = Asc2Hex(s[i + 2], -1);
      if (hi >= 0 && lo >= 0) {
        out += static_cast<char>(hi * 16 + lo);
        i += 2;
        continue;
      }
    }
    out += s[i];
  }
  return out;
}

std::string TrimBlanks(const std::string& s) {
  const std::size_t first = s.find_first_not_of(" \t");
  if (first == std::string::npos) return std::string();
  const std::size_t last = s.find_last_not_of(" \t");
  return s.substr(first, last - first + 1);
}

std::optional<int32_t> ParseInt32(const std::string& text) {
  const std::string s = TrimBlanks(text);
  std::size_t i = 0;
  bool negative = false;
  if (i < s.size() && (s[i] == '-' || s[i] == '+')) negative = s[i++] == '-';
  if (i == s.size()) return std::nullopt;
  int64_t value = 0;
  for (; i < s.size(); ++i) {
    if (s[i] < '0' || s[i] > '9') return std::nullopt;
    value = value * 10 + (s[i] - '0');
    if (value > int64_t{std::numeric_limits<int32_t>::max()} + 1) return std::nullopt;
  }
  if (negative) value = -value;
  if (value < std::numeric_limits<int32_t>::min() || value > std::numeric_limits<int32_t>::max()) {
    return std::nullopt;
  }
  return static_cast<int32_t>(value);
}

std::string RenderSectionPath(const std::string& path, const std::string& root) {
  if (root.empty()) return path;
  if (SameTextAscii(path, root)) return std::string();
  if (StartsWithKey(path, root)) return path.substr(root.size() + 1);
  return "\\" + path;
}

std::string ResolveSectionPath(const std::string& header, const std::string& root) {
  if (!header.empty() && header[0] == '\\') return NormalizePath(header);
  if (root.empty()) return NormalizePath(header);
  return NormalizePath(root + "\\" + header);
}

}  // namespace

std::vector<Section> settings_detail::Parse(const std::string& fileBytes, const std::string& root) {
  std::string content = fileBytes;
  if (content.rfind("\xEF\xBB\xBF", 0) == 0) content.erase(0, 3);  // bytes: UTF-8 BOM
  content = Utf8ToCp1250(content);

  std::vector<Section> sections;
  Section* current = nullptr;
  std::size_t pos = 0;
  while (pos < content.size()) {
    std::size_t end = content.find('\n', pos);
    if (end == std::string::npos) end = content.size();
    std::string line = content.substr(pos, end - pos);
    pos = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();

    const std::string trimmed = TrimBlanks(line);
    if (trimmed.empty() || trimmed[0] == ';' || trimmed[0] == '#') continue;
    if (trimmed[0] == '[') {
      if (trimmed.back() != ']') {
        current = nullptr;  // entries below a broken header belong nowhere
        continue;
      }
      const std::string path =
          ResolveSectionPath(UnescapeHeader(trimmed.substr(1, trimmed.size() - 2)), root);
      current = &SectionFor(sections, path);
      continue;
    }
    if (current == nullptr) continue;
    const std::size_t eq = line.find('=');
    if (eq == std::string::npos) continue;
    const std::string name = UnescapeText(TrimBlanks(line.substr(0, eq)));
    const std::string raw = TrimBlanks(line.substr(eq + 1));
    if (raw.size() < 2 || raw[1] != ':') continue;
    SettingsValue value;
    if (raw[0] == 's') {
      value = SettingsValue::String(UnescapeText(raw.substr(2)));
    } else if (raw[0] == 'i') {
      const auto number = ParseInt32(raw.substr(2));
      if (!number) continue;
      value = SettingsValue::Integer(*number);
    } else {
      continue;
    }
    if (Entry* e = FindEntry(*current, name)) {
      e->value = std::move(value);  // a repeated name: the last one wins
    } else {
      current->entries.push_back(Entry{name, std::move(value)});
    }
  }
  return sections;
}

std::string settings_detail::Serialize(const std::vector<Section>& sections,
                                       const std::string& root) {
  std::string out = "; KX2 Init settings. Values: s:text or i:integer.\n";
  for (const Section& section : sections) {
    out += "\n[" + EscapeHeader(RenderSectionPath(section.path, root)) + "]\n";
    for (const Entry& e : section.entries) {
      out += EscapeText(e.name, true);
      if (e.value.type == SettingsValueType::Integer) {
        out += "=i:" + std::to_string(e.value.integer) + "\n";
      } else {
        out += "=s:" + EscapeText(e.value.text, false) + "\n";
      }
    }
  }
  return Cp1250ToUtf8(out);
}

namespace {

enum class ReadResult { Ok, Missing, Failed };

ReadResult ReadFileBytes(const std::string& path, std::string& out) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return errno == ENOENT ? ReadResult::Missing : ReadResult::Failed;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > kMaxFileSize) {
    ::close(fd);
    return ReadResult::Failed;
  }
  out.clear();
  char buffer[8192];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      ::close(fd);
      return ReadResult::Failed;
    }
    if (n == 0) break;
    out.append(buffer, static_cast<std::size_t>(n));
    if (out.size() > static_cast<std::size_t>(kMaxFileSize)) {
      ::close(fd);
      return ReadResult::Failed;
    }
  }
  ::close(fd);
  return ReadResult::Ok;
}

// Creates the folder on the first save, then replaces the file atomically. A new file is readable
// by its user only: it records what this user did.
bool SaveFile(const std::string& path, const std::string& data) {
  if (path.empty()) return false;  // no home folder known: nowhere to save
  std::error_code ec;
  const std::filesystem::path folder = std::filesystem::path(path).parent_path();
  if (!folder.empty()) {
    std::filesystem::create_directories(folder, ec);
    if (ec) return false;
  }
  return WriteFileAtomically(path, data, 0600).ok();
}

}  // namespace

SettingsStore::SettingsStore() : SettingsStore(ConfigFilePath()) {}

SettingsStore::SettingsStore(std::string filePath, std::string rootKey)
    : filePath_(std::move(filePath)), root_(NormalizePath(rootKey)) {
  Reload();
}

SettingsStore::~SettingsStore() = default;

void SettingsStore::Reload() {
  pending_.clear();
  sections_.clear();
  try {
    std::string bytes;
    if (ReadFileBytes(filePath_, bytes) == ReadResult::Ok) sections_ = Parse(bytes, root_);
  } catch (...) {
    sections_.clear();
  }
}

const Entry* SettingsStore::Find(const std::string& section, const std::string& name) const {
  const std::string path = NormalizePath(section);
  for (const Section& s : sections_) {
    if (!SameTextAscii(s.path, path)) continue;
    for (const Entry& e : s.entries) {
      if (SameTextAscii(e.name, name)) return &e;
    }
    return nullptr;
  }
  return nullptr;
}

std::optional<SettingsValue> SettingsStore::Read(const std::string& section,
                                                 const std::string& name) const {
  const Entry* e = Find(section, name);
  if (e == nullptr) return std::nullopt;
  return e->value;
}

SettingsValueType SettingsStore::ValueType(const std::string& section,
                                           const std::string& name) const {
  const Entry* e = Find(section, name);
  return e == nullptr ? SettingsValueType::None : e->value.type;
}

std::string SettingsStore::ReadString(const std::string& section, const std::string& name,
                                      const std::string& defaultValue) const {
  const Entry* e = Find(section, name);
  if (e == nullptr) return defaultValue;
  if (e->value.type == SettingsValueType::Integer) return std::to_string(e->value.integer);
  return e->value.text;
}

int32_t SettingsStore::ReadInteger(const std::string& section, const std::string& name,
                                   int32_t defaultValue) const {
  const Entry* e = Find(section, name);
  if (e == nullptr) return defaultValue;
  if (e->value.type == SettingsValueType::Integer) return e->value.integer;
  return ParseInt32(e->value.text).value_or(defaultValue);
}

bool SettingsStore::SectionExists(const std::string& section) const {
  const std::string path = NormalizePath(section);
  for (const Section& s : sections_) {
    if (SameTextAscii(s.path, path) || path.empty() || StartsWithKey(s.path, path)) return true;
  }
  return false;
}

std::vector<std::string> SettingsStore::ValueNames(const std::string& section) const {
  std::vector<std::string> names;
  const std::string path = NormalizePath(section);
  for (const Section& s : sections_) {
    if (!SameTextAscii(s.path, path)) continue;
    for (const Entry& e : s.entries) names.push_back(e.name);
  }
  return names;
}

bool SettingsStore::WriteString(const std::string& section, const std::string& name,
                                const std::string& value) {
  return Apply(section, name, SettingsValue::String(value));
}

bool SettingsStore::WriteInteger(const std::string& section, const std::string& name,
                                 int32_t value) {
  return Apply(section, name, SettingsValue::Integer(value));
}

bool SettingsStore::DeleteValue(const std::string& section, const std::string& name) {
  return Apply(section, name, std::nullopt);
}

bool SettingsStore::Apply(const std::string& section, const std::string& name,
                          std::optional<SettingsValue> value) {
  try {
    const std::string path = NormalizePath(section);
    const Entry* existing = Find(path, name);
    const bool unchanged =
        value ? (existing != nullptr && existing->value == *value) : existing == nullptr;
    if (!unchanged) {
      // Only the latest change of a value needs to be replayed onto the file.
      for (auto it = pending_.begin(); it != pending_.end(); ++it) {
        if (SameTextAscii(it->path, path) && SameTextAscii(it->name, name)) {
          pending_.erase(it);
          break;
        }
      }
      Change change{path, name, std::move(value)};
      ApplyChange(sections_, change);
      pending_.push_back(std::move(change));
    }
    return batchDepth_ > 0 ? true : Flush();
  } catch (...) {
    return false;
  }
}

bool SettingsStore::Flush() {
  if (pending_.empty()) return true;
  try {
    // Start from what is on disk now, so values another instance saved meanwhile survive.
    std::vector<Section> merged;
    std::string bytes;
    switch (ReadFileBytes(filePath_, bytes)) {
      case ReadResult::Ok:
        merged = Parse(bytes, root_);
        for (const Change& c : pending_) ApplyChange(merged, c);
        break;
      case ReadResult::Missing:
        for (const Change& c : pending_) ApplyChange(merged, c);
        break;
      case ReadResult::Failed:
        merged = sections_;  // our own view already holds every change
        break;
    }
    if (!SaveFile(filePath_, Serialize(merged, root_))) return false;
    sections_ = std::move(merged);
    pending_.clear();
    return true;
  } catch (...) {
    return false;
  }
}

SettingsStore::Batch::Batch(SettingsStore& store) : store_(&store) {
  ++store_->batchDepth_;
}

SettingsStore::Batch::~Batch() {
  Finish();
}

bool SettingsStore::Batch::Finish() {
  if (store_ == nullptr) return true;
  SettingsStore* store = store_;
  store_ = nullptr;
  return --store->batchDepth_ > 0 ? true : store->Flush();
}
