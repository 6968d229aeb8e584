#include "base/Qelutils.h"

#include <cstddef>

bool CompareWildcard(const std::string& pattern, const std::string& text) {
  // Greedy matching with one back-track point: the most recent star swallows one more character
  // whenever the rest fails. This finds every match full back-tracking would, in O(n*m) and
  // without recursion. A star in the pattern is always a wildcard, also where the text holds a
  // literal star.
  const std::size_t npos = std::string::npos;
  std::size_t p = 0, t = 0;
  std::size_t starP = npos, starT = 0;
  while (t < text.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      starP = p++;
      starT = t;
    } else if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == text[t])) {
      ++p;
      ++t;
    } else if (starP != npos) {
      p = starP + 1;
      t = ++starT;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

namespace {

bool IsHeaderLine(const std::string& line) {
  return line.size() >= 2 && line.front() == '[' && line.back() == ']';
}

bool IsBlankLine(const std::string& line) {
  for (char c : line) {
    if (c != ' ' && c != '\t' && c != '\r') return false;
  }
  return true;
}

// The key of an entry: the text up to the first "=", leading "=" characters skipped; a line
// without "=" is its own key.
std::string EntryKey(const std::string& line) {
  const std::size_t start = line.find_first_not_of('=');
  if (start == std::string::npos) return std::string();
  const std::size_t eq = line.find('=', start);
  return line.substr(start, eq == std::string::npos ? std::string::npos : eq - start);
}

}  // namespace

void JoinConfigs(std::vector<std::string>& destination, const std::vector<std::string>& source,
                 bool overwrite) {
  bool inSection = false;
  std::size_t header = 0;  // index of the current section's header in destination
  std::size_t last = 0;    // last line of the section's extent (its last non-blank line)

  for (const std::string& line : source) {
    if (IsHeaderLine(line)) {
      inSection = true;
      std::size_t found = destination.size();
      for (std::size_t i = 0; i < destination.size(); ++i) {
        if (destination[i] == line) {
          found = i;
          break;
        }
      }
      if (found < destination.size()) {
        header = last = found;
        for (std::size_t i = found + 1; i < destination.size() && !IsHeaderLine(destination[i]);
             ++i) {
          if (!IsBlankLine(destination[i])) last = i;
        }
      } else {
        if (!destination.empty()) destination.emplace_back();
        destination.push_back(line);
        header = last = destination.size() - 1;
      }
      continue;
    }
    if (!inSection || IsBlankLine(line)) continue;

    const std::string key = EntryKey(line);
    std::size_t match = 0;
    for (std::size_t i = header + 1; i <= last; ++i) {
      if (!IsBlankLine(destination[i]) && EntryKey(destination[i]) == key) {
        match = i;
        break;
      }
    }
    if (match != 0) {
      if (overwrite) destination[match] = line;
      continue;
    }
    const std::size_t at = overwrite ? header + 1 : last + 1;
    destination.insert(destination.begin() + static_cast<std::ptrdiff_t>(at), line);
    ++last;
  }
}

bool CutPrefix(std::string& s, const std::string& prefix) {
  if (s.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    if (UpperAscii(s[i]) != UpperAscii(prefix[i])) return false;
  }
  s.erase(0, prefix.size());
  return true;
}

int CutInteger(std::string& s, int defaultValue) {
  std::size_t i = 0;
  const bool negative = !s.empty() && s[0] == '-';
  if (negative) i = 1;
  int value = 0;
  bool anyDigit = false;
  while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
    value = value * 10 + (s[i] - '0');
    ++i;
    anyDigit = true;
    if (value > 1000000) break;
  }
  if (!anyDigit) return defaultValue;
  s.erase(0, i);
  return negative ? -value : value;
}

char Hex2Asc(int value) {
  if (value >= 0 && value <= 9) return static_cast<char>('0' + value);
  if (value >= 10 && value <= 15) return static_cast<char>('A' + value - 10);
  return '?';
}

int Asc2Hex(char c, int defaultValue) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return defaultValue;
}

std::string HexaStringToBytes(const std::string& hex) {
  std::string bytes(hex.size() / 2, '\0');
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const int value = 16 * Asc2Hex(hex[2 * i], -1) + Asc2Hex(hex[2 * i + 1], -16);
    bytes[i] = static_cast<char>(value < 0 ? 0 : value);
  }
  return bytes;
}

std::string BytesToHexaString(const std::string& bytes) {
  std::string hex;
  hex.reserve(bytes.size() * 2);
  for (char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    hex += Hex2Asc(b >> 4);
    hex += Hex2Asc(b & 0x0F);
  }
  return hex;
}

void ClearTStrings(TStringList& list) {
  for (TStringEntry& entry : list.items) entry.object.reset();
}

void ClearTStrings2(TStringList& list) {
  ClearTStrings(list);
  list.Clear();
}

char UpperAscii(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

char LowerAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string UpperAscii(std::string s) {
  for (char& c : s) c = UpperAscii(c);
  return s;
}

std::string LowerAscii(std::string s) {
  for (char& c : s) c = LowerAscii(c);
  return s;
}

bool SameTextAscii(const std::string& a, const std::string& b) {
  return a.size() == b.size() && CompareTextAscii(a, b) == 0;
}

int CompareTextAscii(const std::string& a, const std::string& b) {
  const std::size_t n = a.size() < b.size() ? a.size() : b.size();
  for (std::size_t i = 0; i < n; ++i) {
    const auto ca = static_cast<unsigned char>(UpperAscii(a[i]));
    const auto cb = static_cast<unsigned char>(UpperAscii(b[i]));
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}
