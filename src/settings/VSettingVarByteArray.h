#pragma once
// Byte strings of variable length: the unit's texts (VSVBA_VorString, stored with a final 0 byte)
// and its phone numbers (VSVBA_TelNumPDU.h), with the base of their dependants and their layout
// descriptor. A plain VSettingVarByteArray has no descriptor and holds a value
// that lives only in the program (the international prefix). Texts are carried byte for byte in
// the 8-bit character set of the controls; making them 7-bit is a constraint's job.

#include <cstdint>
#include <memory>
#include <string>

#include "eeprom/VEepSetting.h"
#include "eeprom/VList.h"
#include "protocol/TInputBuffer.h"
#include "settings/VSetting.h"

class VSettingVarByteArrayDependant;
class VSettingVarByteArray2Eep;

class VSettingVarByteArray : public VSetting {
 public:
  // Parent: normally the root.
  explicit VSettingVarByteArray(VSetting* parent);
  ~VSettingVarByteArray() override;

  void childChanged(VSetting* from) override;
  bool doAction(int action) override;
  // Pushes the bytes to every dependant and updates it; then tells the layout that the length may
  // have changed.
  void update() override;
  bool commitValue() override;
  bool restoreValue() override;

  virtual void addDependant(VSettingVarByteArrayDependant* dependant);
  virtual void removeDependant(VSettingVarByteArrayDependant* dependant);
  virtual const TInputBuffer& getBytes() { return value_; }
  // Replaces the bytes without telling anybody; true if they changed.
  virtual bool setBytes(const uint8_t* data, int length);
  // Bytes from the unit or a file: they wait for the next accept.
  virtual void loadBytes(const uint8_t* data, int length);
  // The layout descriptor, or null for a value that is not stored in the unit.
  virtual VSettingVarByteArray2Eep* descriptor() { return descriptor_.get(); }

  bool setBytes(const std::string& bytes);
  void loadBytes(const std::string& bytes);
  // The current and the accepted bytes as strings.
  std::string bytes();
  std::string acceptedBytes() const;
  const VList<VSettingVarByteArrayDependant*>& dependants() const { return dependants_; }

 protected:
  // Used by the stored kinds' constructors.
  void setDescriptor(std::unique_ptr<VSettingVarByteArray2Eep> descriptor);
  TInputBuffer& valueBuffer() { return value_; }
  TInputBuffer& acceptedBuffer() { return accepted_; }

 private:
  TInputBuffer value_;
  TInputBuffer accepted_;
  VList<VSettingVarByteArrayDependant*> dependants_{VListMode::Owning};
  std::unique_ptr<VSettingVarByteArray2Eep> descriptor_;
};

class VSettingVarByteArrayDependant : public VSetting {
 public:
  explicit VSettingVarByteArrayDependant(VSettingVarByteArray* parent);
  ~VSettingVarByteArrayDependant() override;
  // The setting's bytes arrive; true if this dependant's bytes changed.
  virtual bool setBytes(const uint8_t* data, int length) = 0;
  // The bytes this dependant has for the setting.
  virtual const TInputBuffer& getBytes() = 0;

 protected:
  VSettingVarByteArray* array() const { return array_; }

 private:
  VSettingVarByteArray* array_;
};

// Layout descriptor of a byte string: its bytes one after another. How long the element is in
// memory (measure) depends on the kind.
class VSettingVarByteArray2Eep : public VEepSetting {
 public:
  explicit VSettingVarByteArray2Eep(VSettingVarByteArray& owner) : owner_(owner) {}
  void write(VConfigByteArray& image, int& position, bool measuring) override;
  bool read(VConfigByteArray& image, int& position, int length) override;

 protected:
  // Bytes from position up to and including the first 0 byte, as far as they are usable under the
  // mask; a byte that is not usable sets error and ends the count.
  static int measureZeroTerminated(VConfigByteArray& image, int position, bool& error,
                                   uint8_t mask);
  // The owner's bytes up to their first 0 byte, then a 0 byte.
  void writeZeroTerminated(VConfigByteArray& image, int& position, bool measuring);
  VSettingVarByteArray& owner_;
};

// A text stored with a final 0 byte.
class VSVBA_VorString : public VSettingVarByteArray {
 public:
  class Me2Eep;
  explicit VSVBA_VorString(VSetting* parent);
};

class VSVBA_VorString::Me2Eep : public VSettingVarByteArray2Eep {
 public:
  using VSettingVarByteArray2Eep::VSettingVarByteArray2Eep;
  // The text, then a 0 byte. A text never carries a 0 byte of its own; if one got in, the text
  // is stored up to it, so the layout after it stays where measuring puts it.
  void write(VConfigByteArray& image, int& position, bool measuring) override;
  int measure(VConfigByteArray& image, int position, bool& error, uint8_t mask) override;
  // length counts the final 0 byte, which is skipped.
  bool read(VConfigByteArray& image, int& position, int length) override;
};
