#pragma once
// Byte and bit settings. Most of the unit's options are single bytes (VSettingByte, with its own
// layout descriptor) and single bits of them: a VSettingBitByte dependant splits a byte into eight
// VSettingBit settings, to which check boxes are bound (VSettingBit2Check.h).

#include <cstdint>
#include <memory>

#include "eeprom/VEepSetting.h"
#include "eeprom/VList.h"
#include "settings/VSetting.h"

class VSettingByteDependant;
class VSettingBitDependant;
class VSettingByte2Eep;

// One byte of the unit's memory.
class VSettingByte : public VSetting {
 public:
  // Parent: normally the root.
  explicit VSettingByte(VSetting* parent);
  ~VSettingByte() override;

  // Takes the value of a dependant (an editor, the bit byte) that changed.
  void childChanged(VSetting* from) override;
  bool doAction(int action) override;
  // Pushes the value to every dependant and updates it; then tells the layout the byte may have
  // changed.
  void update() override;
  bool commitValue() override;
  bool restoreValue() override;

  virtual void addDependant(VSettingByteDependant* dependant);
  virtual void removeDependant(VSettingByteDependant* dependant);
  virtual uint8_t getValue() { return value_; }
  // Sets the value without telling anybody; true if it changed.
  virtual bool setValue(uint8_t value);
  // A value from the unit or a file: it waits for the next accept.
  virtual void loadValue(uint8_t value);

  uint8_t acceptedValue() const { return accepted_; }
  // The byte's place in the layout; the device description adds it to its group.
  VSettingByte2Eep* descriptor() const { return descriptor_.get(); }
  const VList<VSettingByteDependant*>& dependants() const { return dependants_; }

 private:
  uint8_t value_ = 0;
  uint8_t accepted_ = 0;
  VList<VSettingByteDependant*> dependants_{VListMode::Owning};
  std::unique_ptr<VSettingByte2Eep> descriptor_;
};

// Anything that hangs under a byte: registers with it when created, leaves when destroyed.
class VSettingByteDependant : public VSetting {
 public:
  explicit VSettingByteDependant(VSettingByte* parent);
  ~VSettingByteDependant() override;
  // The value this dependant has for its byte.
  virtual uint8_t getValue() = 0;
  // The byte's value arrives; true if this dependant's value changed.
  virtual bool setValue(uint8_t value) = 0;

 protected:
  VSettingByte* byte() const { return byte_; }

 private:
  VSettingByte* byte_;
};

// The layout descriptor of a byte setting: one byte at its position.
class VSettingByte2Eep : public VEepSetting {
 public:
  explicit VSettingByte2Eep(VSettingByte& owner) : owner_(owner) {}
  void write(VConfigByteArray& image, int& position, bool measuring) override;
  int measure(VConfigByteArray& image, int position, bool& error, uint8_t mask) override;
  bool read(VConfigByteArray& image, int& position, int length) override;

 private:
  VSettingByte& owner_;
};

// One bit, as 0 or 1. Its parent is a VSettingBitByte (or any node, for a bit that lives only in
// the program, such as the "always international numbers" flag).
class VSettingBit : public VSetting {
 public:
  explicit VSettingBit(VSetting* parent);
  ~VSettingBit() override;

  void childChanged(VSetting* from) override;
  bool doAction(int action) override;
  void update() override;
  bool commitValue() override;
  bool restoreValue() override;

  virtual void addDependant(VSettingBitDependant* dependant);
  virtual void removeDependant(VSettingBitDependant* dependant);
  virtual uint8_t getValue() { return value_; }
  // Any value other than 0 sets the bit; true if it changed.
  virtual bool setValue(uint8_t value);
  virtual void loadValue(uint8_t value);

  uint8_t acceptedValue() const { return accepted_; }
  const VList<VSettingBitDependant*>& dependants() const { return dependants_; }

 private:
  uint8_t value_ = 0;
  uint8_t accepted_ = 0;
  VList<VSettingBitDependant*> dependants_{VListMode::Owning};
};

class VSettingBitDependant : public VSetting {
 public:
  explicit VSettingBitDependant(VSettingBit* parent);
  ~VSettingBitDependant() override;
  virtual uint8_t getValue() = 0;
  virtual bool setValue(uint8_t value) = 0;

 protected:
  VSettingBit* bit() const { return bit_; }

 private:
  VSettingBit* bit_;
};

// The eight bits of a byte. Bits without a check box keep their values, so they are written back
// unchanged.
class VSettingBitByte : public VSettingByteDependant {
 public:
  explicit VSettingBitByte(VSettingByte* parent);
  ~VSettingBitByte() override;

  // A bit changed: the byte is recomputed from the eight bits.
  void childChanged(VSetting* from) override;
  bool doAction(int action) override;
  void update() override;
  bool commitValue() override;
  bool restoreValue() override;
  uint8_t getValue() override { return value_; }
  bool setValue(uint8_t value) override;

  // Bit 0 to 7, null for any other index.
  VSettingBit* bit(int index) const;

 private:
  std::unique_ptr<VSettingBit> bits_[8];
  uint8_t accepted_ = 0;
  uint8_t value_ = 0;
};
