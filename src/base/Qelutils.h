#pragma once
// Text helpers shared by the language, terminal and application-info components. Strings are
// 8-bit (Windows-1250); comparisons without regard to case fold only the ASCII letters a to z, so
// national letters always compare exactly.

#include <string>
#include <vector>

#include "base/TStrings.h"

// "*" matches any run of characters (none included), "?" exactly one character, everything else
// itself, case-sensitive. The pattern has to cover the whole text; an empty pattern matches only an
// empty text.
bool CompareWildcard(const std::string& pattern, const std::string& text);

// Merges the INI-like `source` lines into `destination`, section by section. Without `overwrite`
// the destination's entries win and new keys are appended at the end of their section; with it
// the source's entries replace existing lines and new keys go directly below the section header.
// Sections missing in the destination are appended after a blank line.
void JoinConfigs(std::vector<std::string>& destination, const std::vector<std::string>& source,
                 bool overwrite);

// Removes `prefix` from the start of `s` (ASCII letters compared without regard to case) and
// returns true; leaves `s` alone and returns false when it does not start with it.
bool CutPrefix(std::string& s, const std::string& prefix);

// Reads an optional "-" and decimal digits from the start of `s`, removes them and returns the
// value. Reading stops after the digit that takes the magnitude above 1000000, so the value never
// overflows. Without any digit, `s` stays and `defaultValue` is returned.
int CutInteger(std::string& s, int defaultValue);

// '0'..'9', 'A'..'F' for 0..15, '?' otherwise.
char Hex2Asc(int value);
// The value of a hexadecimal digit (either case), `defaultValue` for any other character.
int Asc2Hex(char c, int defaultValue);

// Two hexadecimal characters per byte; an odd last character is ignored. A pair with a bad high
// digit gives 0; a bad low digit counts as -16, so "Fx" gives 0xE0 and "1x" gives 0.
std::string HexaStringToBytes(const std::string& hex);
// Two upper-case hexadecimal digits per byte, high digit first.
std::string BytesToHexaString(const std::string& bytes);

// Destroys the object attached to every entry and detaches it; the strings stay.
void ClearTStrings(TStringList& list);
// ClearTStrings, then empties the list.
void ClearTStrings2(TStringList& list);

// ASCII-only case folding: bytes outside a-z / A-Z (national letters included) stay as they are.
char UpperAscii(char c);
char LowerAscii(char c);
std::string UpperAscii(std::string s);
std::string LowerAscii(std::string s);
// Equal texts when the ASCII letters are compared without regard to case.
bool SameTextAscii(const std::string& a, const std::string& b);
// <0, 0 or >0 like strcmp on the ASCII-upper-cased bytes (compared unsigned).
int CompareTextAscii(const std::string& a, const std::string& b);
