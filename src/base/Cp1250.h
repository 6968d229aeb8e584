#pragma once
// Windows-1250 <-> UTF-8 at the edges of the program (desktop widgets, command line, settings
// file). The core keeps every text as Windows-1250 bytes.
//
// The five byte values the code page leaves undefined (0x81, 0x83, 0x88, 0x90, 0x98) map to the
// C1 control characters of the same number, so every byte string survives
// Cp1250ToUtf8 -> Utf8ToCp1250 unchanged.

#include <string>

std::string Cp1250ToUtf8(const std::string& text);

// Characters without a Windows-1250 byte become "?". Malformed UTF-8 (stray continuation bytes,
// truncated or overlong sequences, surrogates, values above U+10FFFF) becomes one "?" per
// malformed piece; decoding resumes at the first byte that could start a character.
std::string Utf8ToCp1250(const std::string& text);

// Source files are UTF-8 while the program's texts are Windows-1250: every literal with letters
// beyond ASCII goes through this ("Port blokován" in the source, cp1250 bytes at run time).
inline std::string Win1250(const char* utf8Literal) {
  return Utf8ToCp1250(utf8Literal);
}
