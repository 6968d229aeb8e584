#pragma once
// Test doubles for the image and layout tests: an event loop that records message boxes, a
// settings root that counts accept/revert, a zero-terminated text descriptor, and a small
// layout shaped like the unit's (checksummed header of address words and fixed bytes, reserved
// byte, used length, relocatable groups).

#include <string>
#include <vector>

#include "eeprom/VConfigByteArray.h"
#include "eeprom/VESAddr.h"
#include "eeprom/VESFixedByte.h"
#include "eeprom/VESGVorCRC.h"
#include "eeprom/VESGVorGroup.h"
#include "eeprom/VESReserved.h"
#include "eeprom/VESUsedLength2.h"
#include "eeprom/VEepSettingGroup.h"
#include "ui/EventLoop.h"

struct BoxRecord {
  std::string caption, text;
  unsigned flags;
};

class RecordingLoop : public ui::EventLoop {
 public:
  uint32_t TickCount() override { return 0; }
  void Post(std::function<void()>) override {}
  void ProcessMessages() override {}
  int MessageBox(const std::string& caption, const std::string& text, unsigned flags) override {
    boxes.push_back({caption, text, flags});
    return ui::IDOK;
  }
  bool ExecuteFileDialog(ui::FileDialog&) override { return false; }
  int ShowModal(ui::Form&) override { return ui::mrNone; }
  void TimerChanged(ui::Timer&) override {}
  void TimerDestroyed(ui::Timer&) override {}

  std::vector<BoxRecord> boxes;

 private:
  ui::LoopScope installed_{this};
};

struct CountingTree : VSettingTreeHooks {
  void notifyAccept() override { ++accepts; }
  void notifyRevert() override { ++reverts; }
  int accepts = 0, reverts = 0;
};

// A text stored with a final 0 byte, as the text settings store theirs.
class TestText : public VEepSetting {
 public:
  explicit TestText(std::string v) : value(std::move(v)) {}
  void set(const std::string& v) {
    value = v;
    markChanged(this, true);
  }
  void write(VConfigByteArray& image, int& position, bool measuring) override {
    if (!measuring) {
      for (size_t i = 0; i < value.size(); ++i)
        image.setShowingByte(position + static_cast<int>(i), static_cast<uint8_t>(value[i]));
      image.setShowingByte(position + static_cast<int>(value.size()), 0);
    }
    position += static_cast<int>(value.size()) + 1;
  }
  int measure(VConfigByteArray& image, int position, bool& error, uint8_t mask) override {
    for (int count = 0;; ++count) {
      if (!usable(image, mask, position + count)) {
        error = true;
        return count;
      }
      if (readByte(image, mask, position + count) == 0) return count + 1;
    }
  }
  bool read(VConfigByteArray& image, int& position, int length) override {
    loaded.clear();
    for (int i = 0; i < length - 1; ++i)
      loaded += static_cast<char>(image.getShowingByte(position + i));
    position += length;
    return false;
  }
  std::string value, loaded = "<none>";
};

// 0..7 header: address words of g2, g3, g1, fixed 0x3F 0xF5; 8 header checksum; 9 reserved;
// 10..11 used length. g1 (two bytes) at 12, g2 (texts t0, t1) at 14, g3 (checksummed t2) after.
struct SmallLayout {
  explicit SmallLayout(VConfigByteArray& image, std::string s0 = "ab", std::string s2 = "xyz")
      : t0(std::move(s0)), t2(std::move(s2)) {
    image.setHeaderLength(12);
    VEepSettingGroup& root = image.root();
    for (VEepSetting* d : std::vector<VEepSetting*>{&header, &reserved, &used, &g1, &g2, &g3})
      root.addVVC(d);
    header.addVVC(g2.addressWord());
    header.addVVC(g3.addressWord());
    header.addVVC(g1.addressWord());
    header.addVVC(&f1);
    header.addVVC(&f2);
    g1.addVVC(&b0);
    g1.addVVC(&b1);
    g2.addVVC(&t0);
    g2.addVVC(&t1);
    g3.addVVC(&g3sum);
    g3sum.addVVC(&t2);
  }
  VESGVorCRC header;
  VESReserved reserved{1};
  VESUsedLength2 used;
  VESGVorGroup g1, g2, g3;
  VESGVorCRC g3sum;
  VESFixedByte f1{0x3F}, f2{0xF5};
  VESFixedByte b0{0x11}, b1{0x22};
  TestText t0, t1{""}, t2;
};

inline std::vector<uint8_t> ShowingBytes(const VConfigByteArray& image) {
  std::vector<uint8_t> out;
  for (int i = 0; i < image.usedLength(); ++i) out.push_back(image.getShowingByte(i));
  return out;
}

// Defines the showing buffer as exactly these bytes (what loading a file does).
inline void DefineShowing(VConfigByteArray& image, const std::vector<uint8_t>& bytes) {
  image.clearShowingStates();
  for (size_t i = 0; i < bytes.size(); ++i) image.setShowingByte(static_cast<int>(i), bytes[i]);
}

// The unit's bytes as seen by an unverified read.
inline void FillMirror(VConfigByteArray& image, const std::vector<uint8_t>& bytes, size_t count) {
  for (size_t i = 0; i < count; ++i)
    image.setMirrorByte(static_cast<int>(i), bytes[i], VConfigByteArray::ReadFromUnit);
}
