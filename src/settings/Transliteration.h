#pragma once
// Plain ASCII stand-ins for the upper half of the Windows-1250 character set: letters with
// diacritics become their base letters (č -> c, Ř -> R), quotation marks, dashes and symbols
// similar ASCII characters, the no-break space a space. The unit's messages are 7-bit.

#include <cstdint>

// The replacement for a byte of 0x80 or above; bytes below 0x80 come back unchanged.
uint8_t Transliterate(uint8_t c);
