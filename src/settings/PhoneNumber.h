#pragma once
// Phone numbers in the unit's packed form, and the service centre number. Pure functions that take
// any byte string.
//
// Packed form of a number of k digits (k <= 20); every byte but the last is stored complemented
// (XOR 0xFF), so that erased memory (0xFF) reads as zeros:
//   byte 0       k, the number of digits
//   byte 1       the type of address: 0x91 international, 0x81 national/unknown, or another value
//   bytes 2...   the digits as half-bytes, digit 2j in the low half of byte 2 + j, digit 2j + 1 in
//                the high half; an odd count leaves the fill value 0xF in the last high half
//   last byte    0, the end of the number
// The empty number is the single byte 0. "+123" is FC 6E DE 0C 00, "0123" is FB 7E EF CD 00.

#include <cstdint>
#include <string>

namespace phone {

constexpr int MaxDigits = 20;
constexpr uint8_t International = 0x91;
constexpr uint8_t National = 0x81;

// Half-byte value -> character.
extern const char DigitTable[17];  // "0123456789*#+BD?"

// '0'..'9' 0..9, '*' 10, '#' 11, '+' 'C' 'c' 12, 'B' 'b' 13, 'D' 'd' 14; anything else gives
// defaultValue.
int digitToNibble(char c, int defaultValue);

// Digit values (0..14) packed with a type of address; at most MaxDigits are taken, values above
// 14 are skipped.
std::string pack(uint8_t type, const std::string& nibbles);

// What the user typed -> packed bytes. An optional '+' chooses the international type; a comma
// and a decimal number after the digits choose any other type of address from 0 to 254 (255
// would be stored as the 0 byte that ends the number). Spaces and '-' after the first character
// are skipped. Digits beyond the twentieth are ignored.
// error: the text is not a number; the digits before the fault are kept.
std::string packText(const std::string& text, bool& error);

// Packed bytes -> text: "+" for the international type, the digits, and ",type" for a type that
// is neither international nor national. No bytes at all shows as "?".
std::string toText(const std::string& packed);

// True for the empty number: no bytes, or the single byte 0.
bool isEmpty(const std::string& packed);
// The type of address of a packed number (0 when there is none).
uint8_t typeOf(const std::string& packed);
// The digits of a packed number as half-byte values, as many as its count says and its bytes hold.
std::string nibblesOf(const std::string& packed);

// A national number whose first digit is 0, rewritten in international form: the digits of the
// prefix (a leading '+' and anything from a 0 byte on ignored; characters that are no digit count
// as 0) followed by the old digits without the 0. False (and out untouched) for any other
// number, for one holding the fill value among its digits, and when the result would have more
// than MaxDigits digits.
bool toInternational(const std::string& packed, const std::string& prefix, std::string& out);

// The service centre number as stored: '+' and digits of the text; spaces and '-' are skipped, a
// '"' ends it (the operator's name follows in the list), any other character ends it with an
// error. More than 17 characters, or none, are an error; at most 17 are kept.
std::string scaNumber(const std::string& text, bool& error);
// The same scan without errors, keeping at most 19 characters: what identifies a list entry.
std::string scaKey(const std::string& text);

}  // namespace phone
