#include "settings/Constraints.h"

#include "settings/PhoneNumber.h"
#include "settings/Transliteration.h"
#include "settings/VSVBA_TelNumPDU.h"

namespace {

bool IsEmptyString(VSettingVarByteArray* s) {
  const TInputBuffer& b = s->getBytes();
  return b.Length() == 0 || (b.Length() == 1 && b.Data()[0] == 0);
}

std::string BytesOf(VSettingVarByteArray* s) {
  return s->bytes();
}

// Whether a and b agree on their first min(length) bytes; n receives that length.
bool SharePrefix(const std::string& a, const std::string& b, size_t& n) {
  n = a.size() < b.size() ? a.size() : b.size();
  return n > 0 && a.compare(0, n, b, 0, n) == 0;
}

bool BumpAt(VSettingVarByteArray* s, size_t n) {
  std::string text = BytesOf(s);
  text[n - 1] = BumpCharacter(text[n - 1]);
  return s->setBytes(text);
}

}  // namespace

char BumpCharacter(char c) {
  switch (c) {
    case '9':
    case 'Z':
      return 'A';
    case 'z':
      return 'a';
    case '\xFF':
      return 'A';  // the next byte would be 0, the end of a stored text
    default:
      return static_cast<char>(c + 1);
  }
}

// ---- byte constraints ----

uint8_t VSB_Constraint::getValue() {
  return byte() != nullptr ? byte()->getValue() : 0;
}

VSB_ConstraintNStr2Bit::VSB_ConstraintNStr2Bit(VSettingByte* parent, uint8_t mask,
                                               uint8_t forcedValue,
                                               std::vector<VSettingVarByteArray*> strings,
                                               bool notify)
    : VSB_Constraint(parent),
      strings_(std::move(strings)),
      mask_(mask),
      forcedValue_(forcedValue),
      notify_(notify) {}

bool VSB_ConstraintNStr2Bit::constrain() {
  if (byte() == nullptr) return false;
  bool allEmpty = true;
  for (VSettingVarByteArray* s : strings_)
    if (s != nullptr && !IsEmptyString(s)) allEmpty = false;
  bool changed = false;
  if (allEmpty) {
    const uint8_t v = byte()->getValue();
    changed = byte()->setValue(static_cast<uint8_t>((v & ~mask_) | (forcedValue_ & mask_)));
  }
  if (notify_) {
    const int action = (byte()->getValue() & mask_) != 0 ? ShowActive : ShowInactive;
    for (VSettingVarByteArray* s : strings_)
      if (s != nullptr) s->doAction(action);
  }
  return changed;
}

// ---- string constraints ----

const TInputBuffer& VSVBA_Constraint::getBytes() {
  static const TInputBuffer kNone;
  return array() != nullptr ? array()->getBytes() : kNone;
}

VSVBA_ConstraintSubstr::VSVBA_ConstraintSubstr(VSettingVarByteArray* parent,
                                               const std::vector<std::string>& words)
    : VSVBA_Constraint(parent), words_(words) {}

bool VSVBA_ConstraintSubstr::constrain() {
  if (array() == nullptr) return false;
  std::string text = BytesOf(array());
  bool deleted = false;
  for (bool round = true; round;) {
    round = false;
    for (const std::string& word : words_) {
      if (word.empty()) continue;  // an empty word would be found for ever
      const size_t at = text.find(word);
      if (at == std::string::npos) continue;
      text.erase(at, word.size());
      round = deleted = true;
    }
  }
  return deleted ? array()->setBytes(text) : false;
}

VSVBA_ConstraintSubChar::VSVBA_ConstraintSubChar(VSettingVarByteArray* parent, char forbidden)
    : VSVBA_Constraint(parent), forbidden_(forbidden) {}

bool VSVBA_ConstraintSubChar::constrain() {
  if (array() == nullptr) return false;
  std::string text = BytesOf(array());
  bool changed = false;
  for (size_t i = text.size(); i-- > 0;) {
    const uint8_t c = static_cast<uint8_t>(text[i]);
    if (c >= 0x80) {
      text[i] = static_cast<char>(Transliterate(c));
      changed = true;
    }
    if (text[i] == forbidden_) {
      text.erase(i, 1);
      changed = true;
    }
  }
  return changed ? array()->setBytes(text) : false;
}

VSVBA_ConstraintDifPref::VSVBA_ConstraintDifPref(VSettingVarByteArray* parent,
                                                 VSettingVarByteArray* other)
    : VSVBA_Constraint(parent), other_(other) {}

bool VSVBA_ConstraintDifPref::constrain() {
  if (array() == nullptr || other_ == nullptr || other_ == array()) return false;
  size_t n = 0;
  if (!SharePrefix(BytesOf(array()), BytesOf(other_), n)) return false;
  // The text the user is editing is left alone.
  return BumpAt(array()->isPresented() ? array() : other_, n);
}

VSVBA_ConstraintDifPrefX::VSVBA_ConstraintDifPrefX(VSettingVarByteArray* parent,
                                                   std::vector<VSettingVarByteArray*> others)
    : VSVBA_Constraint(parent), others_(std::move(others)) {}

bool VSVBA_ConstraintDifPrefX::constrain() {
  if (array() == nullptr) return false;
  const std::string a = BytesOf(array());
  bool changed = false;
  for (VSettingVarByteArray* other : others_) {
    if (other == nullptr || other == array() || !other->isPresented()) continue;
    size_t n = 0;
    if (SharePrefix(a, BytesOf(other), n)) changed = BumpAt(other, n) || changed;
  }
  return changed;
}

// ---- VValidatorNumToInternum ----

VValidatorNumToInternum::VValidatorNumToInternum(VSettingBit* parent, VSVBA_TelNumPDU* number,
                                                 VSettingVarByteArray* prefix)
    : VSettingBitDependant(parent), number_(number), prefix_(prefix) {}

uint8_t VValidatorNumToInternum::getValue() {
  return bit() != nullptr ? bit()->getValue() : 0;
}

bool VValidatorNumToInternum::constrain() {
  if (number_ == nullptr || prefix_ == nullptr || bit() == nullptr) return false;
  VSettingTop* root = top();
  const bool basic = root != nullptr && root->isBasicLevel && root->isBasicLevel();
  if (bit()->getValue() == 0 && !basic) return false;
  std::string converted;
  if (!phone::toInternational(number_->bytes(), prefix_->bytes(), converted)) return false;
  return number_->setBytes(converted);
}
