#pragma once
// A sequence of layout elements, laid out one after another. Groups never own their children;
// the module's descriptor list and the settings own them.

#include "eeprom/VEepSetting.h"
#include "eeprom/VList.h"

class VEepSettingGroup : public VEepSetting {
 public:
  VEepSettingGroup() = default;
  ~VEepSettingGroup() override;

  bool clearPending() override;
  void write(VConfigByteArray& image, int& position, bool measuring) override;
  int measure(VConfigByteArray& image, int position, bool& error, uint8_t mask) override;
  bool read(VConfigByteArray& image, int& position, int length) override;

  // Appends a child; a child has one parent, a second one is a layout built wrongly.
  virtual void addVVC(VEepSetting* child);
  // Forces a new measurement (the memory size changed).
  virtual void invalidate();

  const VList<VEepSetting*>& children() const { return children_; }
  bool isUpdatePending() const { return updatePending_; }

 protected:
  // Children in memory order.
  VList<VEepSetting*> children_{VListMode::NotOwning};
  bool updatePending_ = true;

 private:
  friend class VEepSetting;
  friend void markChanged(VEepSetting* descriptor, bool layoutChanged);
};
