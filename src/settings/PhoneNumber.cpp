#include "settings/PhoneNumber.h"

#include <cerrno>
#include <cstdlib>

namespace phone {

const char DigitTable[17] = "0123456789*#+BD?";

int digitToNibble(char c, int defaultValue) {
  if (c >= '0' && c <= '9') return c - '0';
  switch (c) {
    case '*':
      return 10;
    case '#':
      return 11;
    case '+':
    case 'C':
    case 'c':
      return 12;
    case 'B':
    case 'b':
      return 13;
    case 'D':
    case 'd':
      return 14;
    default:
      return defaultValue;
  }
}

namespace {

uint8_t Complement(int v) {
  return static_cast<uint8_t>(~v & 0xFF);
}

bool IsAsciiDigit(char c) {
  return c >= '0' && c <= '9';
}

// A decimal type of address after the comma: leading spaces and a sign, digits up to the first
// other character. False when there is no digit or the value is outside 0..254.
bool ReadType(const std::string& text, size_t from, uint8_t& type) {
  size_t i = from;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  if (i >= text.size() || !IsAsciiDigit(text[i])) return false;
  long value = 0;
  while (i < text.size() && IsAsciiDigit(text[i])) {
    if (value <= 1000) value = value * 10 + (text[i] - '0');  // big is big enough
    ++i;
  }
  if (negative && value != 0) return false;
  if (value > 254) return false;  // 255 would be stored as the number's final 0 byte
  type = static_cast<uint8_t>(value);
  return true;
}

}  // namespace

std::string pack(uint8_t type, const std::string& nibbles) {
  // 15 is the fill value, not a digit: stored complemented it would be a 0 half-byte, and a 0
  // byte ends the number.
  std::string digits;
  for (char v : nibbles)
    if (static_cast<uint8_t>(v) < 15 && digits.size() < MaxDigits) digits += v;
  const size_t k = digits.size();
  std::string out;
  out += static_cast<char>(Complement(static_cast<int>(k)));
  out += static_cast<char>(Complement(type));
  for (size_t i = 0; i < k; ++i) {
    const uint8_t v = Complement(digits[i]) & 0x0F;
    if (i % 2 == 0)
      out += static_cast<char>(v);
    else
      out.back() = static_cast<char>(static_cast<uint8_t>(out.back()) | (v << 4));
  }
  out += '\0';
  return out;
}

std::string packText(const std::string& text, bool& error) {
  error = false;
  if (text.empty()) return std::string(1, '\0');
  if (text[0] != '+' && !IsAsciiDigit(text[0])) {
    error = true;
    return std::string(1, '\0');
  }
  size_t i = 0;
  uint8_t type = National;
  if (text[0] == '+') {
    type = International;
    i = 1;
  }
  const uint8_t typed = type;
  std::string nibbles;
  for (int taken = 0; taken < MaxDigits && i < text.size(); ++i) {
    // People write numbers in groups; the separators carry nothing and take no digit's place.
    if (text[i] == ' ' || text[i] == '-') continue;
    const int v = digitToNibble(text[i], -1);
    if (v >= 0) {
      nibbles += static_cast<char>(v);
      ++taken;
      continue;
    }
    if (text[i] == ',') {
      if (!ReadType(text, i + 1, type)) {
        error = true;
        type = typed;
      }
    } else {
      error = true;
    }
    break;
  }
  return pack(type, nibbles);
}

bool isEmpty(const std::string& packed) {
  return packed.empty() || (packed.size() == 1 && packed[0] == '\0');
}

uint8_t typeOf(const std::string& packed) {
  return packed.size() >= 2 ? Complement(static_cast<uint8_t>(packed[1])) : 0;
}

std::string nibblesOf(const std::string& packed) {
  const size_t n = packed.size();
  if (n < 3) return {};
  size_t count = Complement(static_cast<uint8_t>(packed[0]));
  if (count > 2 * (n - 3)) count = 2 * (n - 3);
  std::string nibbles;
  for (size_t j = 0; j < count; ++j) {
    const uint8_t byte = static_cast<uint8_t>(packed[2 + j / 2]);
    const uint8_t half = j % 2 == 0 ? (byte & 0x0F) : (byte >> 4);
    nibbles += static_cast<char>(Complement(half) & 0x0F);
  }
  return nibbles;
}

std::string toText(const std::string& packed) {
  if (packed.empty()) return "?";
  if (packed.size() == 1) return {};
  const uint8_t type = typeOf(packed);
  std::string text;
  if (type == International) text += '+';
  for (char v : nibblesOf(packed)) text += DigitTable[static_cast<uint8_t>(v) & 0x0F];
  if (type != International && type != National) {
    text += ',';
    text += std::to_string(type);
  }
  return text;
}

bool toInternational(const std::string& packed, const std::string& prefix, std::string& out) {
  if (packed.size() < 3 || typeOf(packed) == International) return false;
  const std::string old = nibblesOf(packed);
  if (old.empty() || old[0] != 0) return false;
  // A stored number with the fill value among its digits is no number the editor made; it is
  // left as it is rather than rewritten without that digit.
  if (old.find('\x0F') != std::string::npos) return false;
  size_t i = !prefix.empty() && prefix[0] == '+' ? 1 : 0;
  std::string nibbles;
  for (; i < prefix.size() && prefix[i] != '\0'; ++i)
    nibbles += static_cast<char>(digitToNibble(prefix[i], 0));
  nibbles += old.substr(1);
  // Cutting the international form to what the unit holds would send the unit a different
  // number; the number stays as typed, which the network still understands.
  if (nibbles.size() > MaxDigits) return false;
  out = pack(International, nibbles);
  return true;
}

namespace {

std::string ScanSca(const std::string& text, size_t keep, bool& error) {
  error = false;
  std::string kept;
  size_t count = 0;
  for (char c : text) {
    if (c == '+' || IsAsciiDigit(c)) {
      if (count < keep) kept += c;
      ++count;
    } else if (c == ' ' || c == '-') {
      continue;
    } else if (c == '"') {
      break;
    } else {
      error = true;
      break;
    }
  }
  if (count > keep || count == 0) error = true;
  return kept;
}

}  // namespace

std::string scaNumber(const std::string& text, bool& error) {
  return ScanSca(text, 17, error);
}

std::string scaKey(const std::string& text) {
  bool ignored = false;
  return ScanSca(text, 19, ignored);
}

}  // namespace phone
