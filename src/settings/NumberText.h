#pragma once
// Conversions between the numbers of the unit and the text the user types. Pure functions: they
// take any byte string (embedded 0 bytes, huge digit runs and all) and never overflow; results
// that do not fit are saturated.

#include <cstdint>
#include <string>

// A number as typed, multiplied by scale. Without a separator: an integer, decimal when
// decimalOnly, otherwise with the C conventions ("0x" hexadecimal, a leading "0" octal). With
// one '.' or ',': a decimal fraction, times scale, rounded half away from zero. error is cleared
// only when the whole text is the number; two or more separators and an empty text are errors.
// On error the result is meaningless (defaultValue or whatever was read). The result is
// saturated to the range of int.
int parseNumber(const std::string& text, int scale, bool& error, bool decimalOnly,
                int defaultValue = 0);

// The value divided by scale (a power of ten) with that many decimals after a ','; "-" for
// negative values. formatFixed(123, 10) is "12,3", formatFixed(5, 10) "0,5".
std::string formatFixed(long long value, int scale);

// A duration as the user writes it: numbers followed by a unit, t (weeks), d (days), h (hours),
// m (minutes) or s (seconds), either case, in any order, spaces allowed ("1t 2d", "90m"). A number
// without unit at the end counts as seconds (an error after other units); a unit given twice or an
// unknown unit character is an error, the value is still added. '-' negates all numbers after it.
// Returns seconds, saturated to +-2^62.
long long parseInterval(const std::string& text, bool& error);

// Seconds as "4t 2d 3h 5m 7s", leaving out zero parts ("0s" for zero); "-" before negatives.
std::string formatInterval(long long seconds);

// The relative validity period of short messages, coded as the network codes it: 0..143 are steps
// of 5 minutes from 5 minutes, 144..167 half hours above 12 hours, 168..196 days from 2, 197..255
// weeks from 5. Shown as a bare number of days from 1 to 29 days, otherwise as an interval.
std::string validityPeriodToText(uint8_t value);
// A bare number up to 30 is days (31 and more is seconds). Periods round up to the next
// representable one; below 5 minutes or above 63 weeks are errors and clamped; nothing or zero is
// an error and gives 3 days.
uint8_t textToValidityPeriod(const std::string& text, bool& error);
// Seconds of a coded validity period.
long long validityPeriodSeconds(uint8_t value);
