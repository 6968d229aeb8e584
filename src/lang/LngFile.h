#pragma once
// The .lng file format: INI-like lines in Windows-1250, read and written the way the language
// component needs them. Two readers live side by side on purpose:
//   - the text look-up (FindLngValue): exact section header, keys with wildcards, case-sensitive,
//     first match wins;
//   - the profile reader (ReadProfileString): what the scan uses to read a file's LanguageId,
//     tolerant of case and blanks like an ordinary INI reader.

#include <optional>
#include <string>
#include <vector>

namespace lang {

using Lines = std::vector<std::string>;

// Splits a file's text at CR LF, lone LF or lone CR. A final line ending adds no empty line.
Lines SplitLines(const std::string& text);
// Every line followed by CR LF.
std::string JoinLines(const Lines& lines);

// "Key" or "Key_<index>" (index < 0: none).
std::string FullKey(const std::string& key, int index);

// A value as stored: enclosed in double quotes, inner quotes doubled.
std::string QuoteLngValue(const std::string& text);
// The text of a stored value: doubled quotes give one quote and decoding ends at the first lone
// closing quote (the rest is ignored). A value whose closing quote is missing loses its last
// character, as language files written by older tools expect. A value not beginning with a quote
// reads as if it were enclosed in quotes (without any quote inside, that is as written); a lone
// quote character is taken as it is.
std::string DecodeLngValue(const std::string& raw);

// True for "[" ... "]" of at least two characters (no blanks allowed around it).
bool IsLngHeader(const std::string& line);
// Empty or blanks only.
bool IsLngBlank(const std::string& line);

// The raw value of the first entry of the section whose key pattern (wildcards "*" and "?")
// matches fullKey, or nothing. The section header must be exactly "[" section "]".
std::optional<std::string> FindLngValue(const Lines& lines, const std::string& section,
                                        const std::string& fullKey);

// Stores fullKey = "value" (quoted) into the section: an entry with exactly this key before the
// section's first blank line is replaced, else the entry goes in before that blank line or the
// next header; a missing section is appended after a blank line. An empty key stores nothing.
void StoreLngValue(Lines& lines, const std::string& section, const std::string& fullKey,
                   const std::string& value);

// A language id as written in a file: "0x" and hexadecimal digits, or decimal digits with an
// optional minus sign. Nothing when the text is not such a number or does not fit an int.
std::optional<int> ParseLanguageId(const std::string& text);

// INI reading as the platform's profile functions do it: section and key compared without regard
// to case, blanks around names and values removed, one pair of matching quotes removed from the
// value. Nothing when the section or key is missing.
std::optional<std::string> ReadProfileString(const Lines& lines, const std::string& section,
                                             const std::string& key);
// INI writing as the platform's profile functions do it: replaces the value of an existing key
// (found as above), or adds "key=value" after the last entry of the section, or appends the
// section with the entry at the end. The value is written as given.
void WriteProfileString(Lines& lines, const std::string& section, const std::string& key,
                        const std::string& value);

// Reads a whole file; false when it cannot be read or is larger than maxBytes.
bool ReadWholeFile(const std::string& path, std::string& bytes, size_t maxBytes);
// Reads a language file into lines; false when it cannot be read or is too big to be one.
bool ReadLngFile(const std::string& path, Lines& lines);
// Saves a whole language file the way every file of the program is saved (base/AtomicFile.h): the
// old file is replaced only by a complete new one and keeps its permission bits. False, with the
// old file untouched, when anything fails.
bool WriteWholeFileAtomically(const std::string& path, const std::string& bytes);

}  // namespace lang
