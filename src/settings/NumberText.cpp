#include "settings/NumberText.h"

#include <climits>
#include <cmath>
#include <cstdlib>

#include <locale.h>

namespace {

constexpr long long kIntervalLimit = 1LL << 62;

int SaturateInt(long long v) {
  if (v > INT_MAX) return INT_MAX;
  if (v < INT_MIN) return INT_MIN;
  return static_cast<int>(v);
}

int SaturateInt(double v) {
  if (std::isnan(v)) return 0;
  if (v >= static_cast<double>(INT_MAX)) return INT_MAX;
  if (v <= static_cast<double>(INT_MIN)) return INT_MIN;
  return static_cast<int>(v);
}

long long ClampInterval(long long v) {
  if (v > kIntervalLimit) return kIntervalLimit;
  if (v < -kIntervalLimit) return -kIntervalLimit;
  return v;
}

// strtod in the C locale whatever the process's locale (a Czech desktop would otherwise expect
// a comma). Returns the number of bytes consumed, 0 when there is no number.
size_t ReadDouble(const std::string& text, double& out) {
  static const locale_t cLocale = newlocale(LC_NUMERIC_MASK, "C", static_cast<locale_t>(0));
  const locale_t previous = cLocale != static_cast<locale_t>(0) ? uselocale(cLocale) : nullptr;
  const char* begin = text.c_str();
  char* end = nullptr;
  out = std::strtod(begin, &end);
  if (previous != nullptr) uselocale(previous);
  return static_cast<size_t>(end - begin);
}

long long CeilDiv(long long a, long long b) {
  // For a >= 0 and b > 0.
  return (a + b - 1) / b;
}

}  // namespace

int parseNumber(const std::string& text, int scale, bool& error, bool decimalOnly,
                int defaultValue) {
  error = true;
  int result = defaultValue;
  size_t separators = 0;
  for (char c : text)
    if (c == '.' || c == ',') ++separators;
  if (separators >= 2) return result;
  if (separators == 0) {
    if (text.empty()) return result;
    const char* begin = text.c_str();
    char* end = nullptr;
    const long long v = std::strtoll(begin, &end, decimalOnly ? 10 : 0);
    // Within the range of int, v * scale fits a long long; anything bigger saturates anyway.
    long long scaled;
    if (v > INT_MAX || v < INT_MIN)
      scaled = v > 0 ? LLONG_MAX : LLONG_MIN;
    else
      scaled = v * static_cast<long long>(scale);
    result = SaturateInt(scaled);
    // An embedded 0 byte ends the conversion early, so such a text is never whole.
    error = end != begin + text.size();
    return result;
  }
  std::string copy = text;
  for (char& c : copy)
    if (c == ',') c = '.';
  double d = 0;
  const size_t used = ReadDouble(copy, d);
  if (used == 0) return result;
  result = SaturateInt(std::round(d * scale));  // std::round rounds halves away from zero
  error = used != copy.size();
  return result;
}

std::string formatFixed(long long value, int scale) {
  std::string out;
  unsigned long long magnitude = static_cast<unsigned long long>(value);
  if (value < 0) {
    out = "-";
    magnitude = 0 - magnitude;
  }
  const unsigned long long divisor = scale > 1 ? static_cast<unsigned long long>(scale) : 1;
  out += std::to_string(magnitude / divisor);
  if (divisor > 1) {
    const std::string fraction = std::to_string(magnitude % divisor);
    size_t decimals = 0;
    for (unsigned long long s = divisor; s > 1; s /= 10) ++decimals;
    out += ',';
    if (fraction.size() < decimals) out += std::string(decimals - fraction.size(), '0');
    out += fraction;
  }
  return out;
}

long long parseInterval(const std::string& text, bool& error) {
  error = false;
  long long total = 0;
  int sign = 1;
  bool seen[5] = {false, false, false, false, false};
  size_t i = 0;
  const size_t n = text.size();
  while (true) {
    while (i < n && text[i] == ' ') ++i;
    if (i >= n) return total;
    if (text[i] == '-') {
      sign = -sign;
      ++i;
      continue;
    }
    long long number = 0;
    while (i < n && text[i] >= '0' && text[i] <= '9') {
      // Beyond 10^12 the value only matters as "too big": stop growing it.
      if (number < 1000000000000LL) number = number * 10 + (text[i] - '0');
      ++i;
    }
    while (i < n && text[i] == ' ') ++i;
    long long unit = 1;
    if (i >= n) {
      // A bare number at the end is seconds; after other units that is a mistake.
      for (bool s : seen)
        if (s) error = true;
    } else {
      int which = -1;
      switch (text[i]) {
        case 't':
        case 'T':
          which = 0;
          unit = 604800;
          break;
        case 'd':
        case 'D':
          which = 1;
          unit = 86400;
          break;
        case 'h':
        case 'H':
          which = 2;
          unit = 3600;
          break;
        case 'm':
        case 'M':
          which = 3;
          unit = 60;
          break;
        case 's':
        case 'S':
          which = 4;
          unit = 1;
          break;
        default:
          error = true;
          break;
      }
      if (which >= 0) {
        if (seen[which]) error = true;
        seen[which] = true;
      }
      ++i;
    }
    // number * unit stays below 10^13 * 604800 < 2^63; both terms of the sum are within 2^62,
    // and the sum of two such terms may reach 2^63 itself: add with saturation.
    long long sum = 0;
    if (__builtin_add_overflow(total, ClampInterval(sign * number * unit), &sum))
      sum = total > 0 ? kIntervalLimit : -kIntervalLimit;
    total = ClampInterval(sum);
  }
}

std::string formatInterval(long long seconds) {
  if (seconds < 0) {
    const unsigned long long magnitude = 0 - static_cast<unsigned long long>(seconds);
    // The magnitude of the most negative value does not fit: saturate one second short of it.
    return "-" + formatInterval(magnitude > static_cast<unsigned long long>(LLONG_MAX)
                                    ? LLONG_MAX
                                    : static_cast<long long>(magnitude));
  }
  static const struct {
    long long size;
    char unit;
  } kParts[] = {{604800, 't'}, {86400, 'd'}, {3600, 'h'}, {60, 'm'}, {1, 's'}};
  std::string out;
  long long rest = seconds;
  for (const auto& part : kParts) {
    const long long count = rest / part.size;
    rest %= part.size;
    if (count == 0 && !(part.unit == 's' && out.empty())) continue;
    if (!out.empty()) out += ' ';
    out += std::to_string(count);
    out += part.unit;
  }
  return out;
}

long long validityPeriodSeconds(uint8_t v) {
  if (v <= 143) return 300LL * (v + 1);
  if (v <= 167) return 43200LL + 1800LL * (v - 143);
  if (v <= 196) return 86400LL * (v - 166);
  return 604800LL * (v - 192);
}

std::string validityPeriodToText(uint8_t value) {
  const long long s = validityPeriodSeconds(value);
  if (s >= 86400 && s <= 2591999) return std::to_string((s + 43200) / 86400);
  return formatInterval(s);
}

uint8_t textToValidityPeriod(const std::string& text, bool& error) {
  long long s = parseInterval(text, error);
  if (s == 0) {
    error = true;
    s = 259200;
  } else if (s > 0 && s <= 30) {
    s *= 86400;  // a bare small number is days
  }
  if (s < 300) {
    error = true;
    s = 300;
  } else if (s > 38102400) {
    error = true;
    s = 38102400;
  }
  long long v = CeilDiv(s, 300) - 1;
  if (v <= 143) return static_cast<uint8_t>(v);
  v = CeilDiv(s - 43200, 1800) + 143;
  if (v <= 167) return static_cast<uint8_t>(v);
  v = CeilDiv(s, 86400) + 166;
  if (v <= 196) return static_cast<uint8_t>(v);
  return static_cast<uint8_t>(CeilDiv(s, 604800) + 192);
}
