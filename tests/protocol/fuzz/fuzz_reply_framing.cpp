// links: kx2_protocol kx2_serial kx2_eeprom kx2_ui kx2_base
// libFuzzer target: arbitrary bytes from the line while a script waits for its reply. The first
// byte chooses the script (the line reader alone, a read of the unit's memory with or without
// verification, a write) and the layout; the rest arrives as the unit's answer, with polls and
// passing time after each CR. Nothing may crash, read out of bounds or hang: every script ends
// by its replies, its retries or its time-outs.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "eeprom/EepTestSupport.h"
#include "eeprom/VConfigByteArray.h"
#include "protocol/VScriptReadVorLine.h"
#include "protocol/VScriptSyncEEPROM.h"
#include "protocol/VUniModule.h"
#include "serial/TQlsComm32.h"
#include "ui/HeadlessLoop.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  static ui::HeadlessLoop* loop = new ui::HeadlessLoop(ui::HeadlessLoop::Clock::Virtual);
  static ui::LoopScope* installed = new ui::LoopScope(loop);
  (void)installed;
  loop->ClearBoxes();

  const uint8_t choice = data[0];
  static TQlsComm32* comm = new TQlsComm32();  // never opened: what the scripts send goes nowhere
  VUniModule module(*comm, nullptr);
  module.messageBox = [](const std::string&, unsigned) { return 1; };
  const bool verify = (choice & 0x04) != 0;
  module.Image().verifyReads = [verify] { return verify; };
  module.Image().setSizeCode(choice & 0x03);  // 128 to 1024 bytes: reads soon reach the end
  std::unique_ptr<SmallLayout> layout;
  if ((choice & 0x08) != 0) layout = std::make_unique<SmallLayout>(module.Image());
  module.Init();
  module.SetIdentified();
  switch ((choice >> 4) & 0x03) {
    case 0:
      module.LineReader().StartRead(nullptr, 2000);
      break;
    case 1:
    case 2:
      module.ReadEEPROM();
      break;
    default:
      module.WriteEEPROM();
      break;
  }

  for (size_t i = 1; i < size; ++i) {
    module.FeedByte(data[i]);
    if (data[i] == '\r') {
      // Time passes now and then: a time-out (2 s) every few replies, so retries run too.
      loop->Advance((i % 5 == 0) ? 2100 : 10);
      module.Poll();
    }
  }
  // The line falls silent: whatever still waits gives up within its retries.
  for (int k = 0; k < 8 && module.AnyScriptRunning(); ++k) {
    loop->Advance(3100);
    module.Poll();
  }
  if (module.AnyScriptRunning()) std::abort();
  return 0;
}
