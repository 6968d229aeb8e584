// links: kx2_settings kx2_eeprom kx2_protocol kx2_lang kx2_components kx2_ui kx2_base
// The text parsers of the settings on arbitrary input: phone numbers (typed and packed), service
// centre entries, numbers with decimals, intervals and validity periods. Nothing may crash, and
// what parses must come back from its text form unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "settings/NumberText.h"
#include "settings/PhoneNumber.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);

  bool error = false;
  const std::string packed = phone::packText(text, error);
  if (!error) {
    // A packed number never holds a 0 byte before its end, and its text packs to itself.
    if (packed.empty() || packed.find('\0') != packed.size() - 1) std::abort();
    // A plain number ("+" and up to 20 digits) shows as exactly what was typed.
    const size_t digits = text.size() - (text[0] == '+' ? 1 : 0);
    const bool plain =
        digits >= 1 && digits <= 20 &&
        text.find_first_not_of("0123456789", text[0] == '+' ? 1 : 0) == std::string::npos;
    if (plain && phone::toText(packed) != text) std::abort();
  }
  phone::toText(text + std::string(1, '\0'));
  std::string international;
  phone::toInternational(text + std::string(1, '\0'), "+420", international);
  phone::scaNumber(text, error);
  phone::scaKey(text);

  error = false;
  for (int scale : {1, 10, 100}) {
    const int value = parseNumber(text, scale, error, true);
    if (!error && value >= 0) {
      bool again = false;
      if (parseNumber(formatFixed(value, scale), scale, again, true) != value || again)
        std::abort();
    }
    error = false;
    parseNumber(text, scale, error, false);
    error = false;
  }
  const long long seconds = parseInterval(text, error);
  if (!error) {
    bool again = false;
    if (parseInterval(formatInterval(seconds), again) != seconds || again) std::abort();
  }
  error = false;
  textToValidityPeriod(text, error);
  return 0;
}
