#pragma once
// Rules that tie settings together. Each is a dependant that runs in the constraint rounds of
// every tree update and corrects values directly, silently: a corrected value simply shows in its
// editors (blue until accepted), and the rounds repeat until nothing changes. A constraint never
// reports a change of its own to its parent. Here: the byte constraints (VSB_Constraint...), the
// string constraints (VSVBA_Constraint...) and the phone number validator VValidatorNumToInternum.

#include <string>
#include <vector>

#include "settings/VSettingByte.h"
#include "settings/VSettingVarByteArray.h"

class VSVBA_TelNumPDU;

// Base of the byte constraints: answers the byte's own value and ignores values pushed to it.
class VSB_Constraint : public VSettingByteDependant {
 public:
  using VSettingByteDependant::VSettingByteDependant;
  uint8_t getValue() override;
  bool setValue(uint8_t) override { return false; }
  bool constrain() override = 0;
};

// Forces the mask bits of a byte to forcedValue while all the watched strings are empty (no bytes,
// or the single 0 byte of an empty phone number): no SMS from, and no events to, a phone book
// entry without a number. With notify, the strings' editors show whether the bits make them used.
class VSB_ConstraintNStr2Bit : public VSB_Constraint {
 public:
  VSB_ConstraintNStr2Bit(VSettingByte* parent, uint8_t mask, uint8_t forcedValue,
                         std::vector<VSettingVarByteArray*> strings, bool notify);
  bool constrain() override;

 private:
  std::vector<VSettingVarByteArray*> strings_;
  uint8_t mask_;
  uint8_t forcedValue_;
  bool notify_;
};

// Base of the string constraints: answers the setting's own bytes and ignores bytes pushed to it.
class VSVBA_Constraint : public VSettingVarByteArrayDependant {
 public:
  using VSettingVarByteArrayDependant::VSettingVarByteArrayDependant;
  bool setBytes(const uint8_t*, int) override { return false; }
  const TInputBuffer& getBytes() override;
  bool constrain() override = 0;
};

// Removes the unit's command words from a text (first occurrence of each word in list order,
// case-sensitive, in rounds until none is left): "NOBACK" becomes "NO" because "BACK" is listed
// before "NOBACK". The list belongs to the caller and must outlive the constraint.
class VSVBA_ConstraintSubstr : public VSVBA_Constraint {
 public:
  VSVBA_ConstraintSubstr(VSettingVarByteArray* parent, const std::vector<std::string>& words);
  bool constrain() override;

 private:
  const std::vector<std::string>& words_;
};

// Makes a text 7-bit (Transliterate) and removes every occurrence of one character (0: none;
// a space: text without spaces).
class VSVBA_ConstraintSubChar : public VSVBA_Constraint {
 public:
  VSVBA_ConstraintSubChar(VSettingVarByteArray* parent, char forbidden);
  bool constrain() override;

 private:
  char forbidden_;
};

// Two texts that must not begin with each other (the unit tells commands apart by their
// beginnings). The one the user is not editing has the last character of the common beginning
// bumped: '9' and 'Z' become 'A', 'z' becomes 'a', anything else the next character.
class VSVBA_ConstraintDifPref : public VSVBA_Constraint {
 public:
  VSVBA_ConstraintDifPref(VSettingVarByteArray* parent, VSettingVarByteArray* other);
  bool constrain() override;

 private:
  VSettingVarByteArray* other_;
};

// A set of texts none of which may begin with another: entries (other than the parent) that the
// user is not editing and that begin like the parent are bumped as above. The parent itself is
// never changed by this constraint.
class VSVBA_ConstraintDifPrefX : public VSVBA_Constraint {
 public:
  VSVBA_ConstraintDifPrefX(VSettingVarByteArray* parent, std::vector<VSettingVarByteArray*> others);
  bool constrain() override;

 private:
  std::vector<VSettingVarByteArray*> others_;
};

// Keeps a phone number in international form while its parent bit (the "always international"
// flag) is set, or always at the Basic experience level: a national number starting with 0 gets
// the international prefix in place of the 0.
class VValidatorNumToInternum : public VSettingBitDependant {
 public:
  VValidatorNumToInternum(VSettingBit* parent, VSVBA_TelNumPDU* number,
                          VSettingVarByteArray* prefix);
  uint8_t getValue() override;
  bool setValue(uint8_t) override { return false; }
  bool constrain() override;

 private:
  VSVBA_TelNumPDU* number_;
  VSettingVarByteArray* prefix_;
};

// The next character for a bumped position, never the 0 byte that ends a stored text.
char BumpCharacter(char c);
