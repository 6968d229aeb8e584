#include "base/Cp1250.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <utility>

namespace {

// Code points of the bytes 0x80..0xFF.
constexpr std::array<char16_t, 128> kUpperHalf = {
    0x20AC, 0x0081, 0x201A, 0x0083, 0x201E, 0x2026, 0x2020, 0x2021,  // 0x80
    0x0088, 0x2030, 0x0160, 0x2039, 0x015A, 0x0164, 0x017D, 0x0179,  // 0x88
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 0x90
    0x0098, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A,  // 0x98
    0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6, 0x00A7,  // 0xA0
    0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B,  // 0xA8
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7,  // 0xB0
    0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C,  // 0xB8
    0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7,  // 0xC0
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E,  // 0xC8
    0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7,  // 0xD0
    0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,  // 0xD8
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,  // 0xE0
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F,  // 0xE8
    0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7,  // 0xF0
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,  // 0xF8
};

using ReverseEntry = std::pair<char16_t, uint8_t>;

const std::array<ReverseEntry, 128>& ReverseTable() {
  static const std::array<ReverseEntry, 128> table = [] {
    std::array<ReverseEntry, 128> t{};
    for (std::size_t i = 0; i < t.size(); ++i) {
      t[i] = {kUpperHalf[i], static_cast<uint8_t>(0x80 + i)};
    }
    std::sort(t.begin(), t.end());
    return t;
  }();
  return table;
}

// The Windows-1250 byte of a code point, or '?' when it has none.
char EncodeOne(uint32_t cp) {
  if (cp < 0x80) return static_cast<char>(cp);
  if (cp > 0xFFFF) return '?';
  const auto& table = ReverseTable();
  const auto key = static_cast<char16_t>(cp);
  const auto it = std::lower_bound(table.begin(), table.end(), key,
                                   [](const ReverseEntry& e, char16_t k) { return e.first < k; });
  if (it == table.end() || it->first != key) return '?';
  return static_cast<char>(it->second);
}

void AppendUtf8(std::string& out, uint32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

}  // namespace

std::string Cp1250ToUtf8(const std::string& text) {
  std::string out;
  out.reserve(text.size() + text.size() / 2);
  for (char c : text) {
    const auto b = static_cast<unsigned char>(c);
    AppendUtf8(out, b < 0x80 ? b : kUpperHalf[b - 0x80]);
  }
  return out;
}

std::string Utf8ToCp1250(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  const std::size_t n = text.size();
  std::size_t i = 0;
  while (i < n) {
    const auto lead = static_cast<unsigned char>(text[i]);
    if (lead < 0x80) {
      out += static_cast<char>(lead);
      ++i;
      continue;
    }
    std::size_t need;
    uint32_t cp;
    // Bounds for the first continuation byte exclude overlong forms, surrogates and values
    // above U+10FFFF.
    unsigned char lo = 0x80, hi = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
      need = 1;
      cp = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      need = 2;
      cp = lead & 0x0F;
      if (lead == 0xE0) lo = 0xA0;
      if (lead == 0xED) hi = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      need = 3;
      cp = lead & 0x07;
      if (lead == 0xF0) lo = 0x90;
      if (lead == 0xF4) hi = 0x8F;
    } else {
      out += '?';
      ++i;
      continue;
    }
    std::size_t j = i + 1;
    bool ok = true;
    for (std::size_t k = 0; k < need; ++k, ++j) {
      const auto b = j < n ? static_cast<unsigned char>(text[j]) : 0;
      const unsigned char min = k == 0 ? lo : 0x80;
      const unsigned char max = k == 0 ? hi : 0xBF;
      if (j >= n || b < min || b > max) {
        ok = false;
        break;
      }
      cp = (cp << 6) | (b & 0x3F);
    }
    out += ok ? EncodeOne(cp) : '?';
    i = j;  // past the character, or past the valid part of a malformed one
  }
  return out;
}
