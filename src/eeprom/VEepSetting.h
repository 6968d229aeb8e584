#pragma once
// Layout descriptors: the tree that says where each part of the configuration lies in the unit's
// memory and how it turns into bytes and back. Three passes run over it:
//   write   - measuring mode: advance the position over the element (relocatable groups learn
//             where they start); storing mode: define the element's showing bytes in the image;
//   measure - how many bytes the element occupies from a position, reading lengths and addresses
//             from the image itself; bytes count only where the image's state has a bit of the mask
//             (ShowingDefined to interpret the showing buffer, MirrorValid while the unit is read);
//   read    - take the element's values from the showing buffer into the settings.

#include <cstdint>

class VConfigByteArray;
class VEepSettingGroup;

class VEepSetting {
 public:
  VEepSetting() = default;
  virtual ~VEepSetting();
  VEepSetting(const VEepSetting&) = delete;
  VEepSetting& operator=(const VEepSetting&) = delete;

  // Clears the bookkeeping of pending updates below this element; true if something was pending.
  virtual bool clearPending() { return false; }
  // Starts at position and leaves it after the element.
  virtual void write(VConfigByteArray& image, int& position, bool measuring) = 0;
  // Bytes from position to the end of the element. Sets error (never clears it) when a byte that
  // is needed is not usable under mask.
  virtual int measure(VConfigByteArray& image, int position, bool& error, uint8_t mask) = 0;
  // Takes the element's values from the showing buffer; length is what measure gave for the same
  // position. Leaves position after the element; true on error.
  virtual bool read(VConfigByteArray& image, int& position, int length) = 0;

  bool isChanged() const { return changed_; }
  VEepSettingGroup* parentGroup() const { return parent_; }

  // How settings report that their bytes changed: layoutChanged when the length may differ
  // (texts, numbers), not for a byte whose length is fixed.
  friend void markChanged(VEepSetting* descriptor, bool layoutChanged);

 protected:
  // A byte is usable when its state has a bit of the mask.
  static bool usable(const VConfigByteArray& image, uint8_t mask, int position);
  // The mirror byte while sizing the unit's data (mask MirrorValid), else the showing byte.
  static uint8_t readByte(const VConfigByteArray& image, uint8_t mask, int position);

  bool changed_ = true;

 private:
  friend class VEepSettingGroup;
  VEepSettingGroup* parent_ = nullptr;
};

void markChanged(VEepSetting* descriptor, bool layoutChanged);
