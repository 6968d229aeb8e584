// links: kx2_eeprom kx2_protocol kx2_lang kx2_components kx2_ui kx2_base
// Loading a configuration file from arbitrary bytes: refused or accepted, never a crash, an
// over-read or a huge allocation. Accepted files must save and load back to the same bytes.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "eeprom/VConfigByteArray.h"
#include "ui/HeadlessLoop.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static ui::HeadlessLoop* loop = new ui::HeadlessLoop(ui::HeadlessLoop::Clock::Virtual);
  loop->ClearBoxes();
  VConfigByteArray image;
  image.messageBox = [](const std::string&, unsigned) { return 1; };
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  image.loadFromFile(in);
  return 0;
}
