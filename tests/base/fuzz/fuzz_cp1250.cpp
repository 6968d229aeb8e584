// links: kx2_base
// libFuzzer target: arbitrary bytes through the Windows-1250 conversions. UTF-8 of any kind
// (malformed included) converts without a crash into at most as many bytes, keeps its ASCII, and
// what comes out converts back to UTF-8 and again to the same bytes; any Windows-1250 text
// survives the way to UTF-8 and back.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "base/Cp1250.h"

namespace {

// Lead and continuation bytes in their places (all the conversion itself ever produces).
bool ValidUtf8(const std::string& s) {
  for (size_t i = 0; i < s.size();) {
    const auto c = static_cast<unsigned char>(s[i]);
    size_t n = 0;
    if (c < 0x80)
      n = 0;
    else if (c >= 0xC2 && c <= 0xDF)
      n = 1;
    else if (c >= 0xE0 && c <= 0xEF)
      n = 2;
    else if (c >= 0xF0 && c <= 0xF4)
      n = 3;
    else
      return false;
    if (n > 0 && i + n >= s.size()) return false;
    for (size_t k = 1; k <= n; ++k)
      if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
    i += n + 1;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);

  const std::string text = Utf8ToCp1250(input);
  if (text.size() > input.size()) std::abort();
  size_t ascii = 0;
  for (char c : input)
    if (static_cast<unsigned char>(c) < 0x80) ++ascii;
  size_t asciiOut = 0;
  for (char c : text)
    if (static_cast<unsigned char>(c) < 0x80) ++asciiOut;
  if (asciiOut < ascii) std::abort();  // ASCII is kept; replacements add '?'

  const std::string utf8 = Cp1250ToUtf8(text);
  if (!ValidUtf8(utf8)) std::abort();
  if (Utf8ToCp1250(utf8) != text) std::abort();

  // The input taken as Windows-1250 text: every byte string survives the round trip.
  const std::string asUtf8 = Cp1250ToUtf8(input);
  if (!ValidUtf8(asUtf8) || Utf8ToCp1250(asUtf8) != input) std::abort();
  return 0;
}
