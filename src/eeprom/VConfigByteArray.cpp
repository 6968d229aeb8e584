#include "eeprom/VConfigByteArray.h"

#include <algorithm>
#include <cstdio>

#include "base/Cp1250.h"
#include "base/LangText.h"
#include "eeprom/Diagnostic.h"
#include "eeprom/VEepSettingGroup.h"
#include "ui/Control.h"
#include "ui/EventLoop.h"
#include "ui/Types.h"

namespace {

constexpr uint8_t kUnknown = 0;
constexpr uint8_t kReadOnce = 1;
constexpr uint8_t kValid = 2;
constexpr uint8_t kDefined = 2;

int ApplicationMessageBox(const std::string& text, unsigned flags) {
  if (ui::EventLoop* loop = ui::LoopOrNull()) return loop->MessageBox("KX2 Init", text, flags);
  std::fprintf(stderr, "KX2 Init: %s\n", text.c_str());
  return ui::IDOK;
}

int LargestPowerOfTwoNotAbove(int n) {
  int p = 1;
  while (p <= n / 2) p *= 2;
  return p;
}

void ShowText(ui::Control* label, const std::string& text) {
  if (label != nullptr) label->SetText(text);
}

}  // namespace

// --- EEPROMid ---

int VConfigByteArray::EEPROMid::sizeOfCode(int code) {
  if (code >= 0 && code <= 9) return 128 << code;
  return 0;
}

uint8_t VConfigByteArray::EEPROMid::setSize(int bytes) {
  if (bytes == 0) {
    sizeCode = 0xFF;
  } else {
    sizeCode = 0;
    bool found = false;
    for (int c = 0; c <= 9; ++c) {
      if (sizeOfCode(c) == bytes) {
        sizeCode = static_cast<uint8_t>(c);
        found = true;
      }
    }
    if (!found) ShowEepDiagnostic("VConfigByteArray::EEPROMid::setSize: bad size");
  }
  return sizeCode;
}

// --- the image ---

VConfigByteArray::VConfigByteArray()
    : messageBox(ApplicationMessageBox), root_(std::make_unique<VEepSettingGroup>()) {}

VConfigByteArray::~VConfigByteArray() = default;

void VConfigByteArray::setEEPROMid(uint8_t identity1, uint8_t identity2, uint8_t identity3,
                                   uint8_t major, uint8_t minor) {
  id_.identity1 = identity1;
  id_.identity2 = identity2;
  id_.identity3 = identity3;
  id_.firmwareMajor = major;
  id_.firmwareMinor = minor;
  if (labels.id) {
    std::string name;
    if (typeName) {
      name = typeName(identity1, identity2, identity3);
    } else {
      char buf[16];
      std::snprintf(buf, sizeof buf, "(%02X-%02X-%02X)", identity1, identity2, identity3);
      name = buf;
    }
    labels.id->SetText(name);
  }
  ShowText(labels.version.get(), std::to_string(major) + "." + std::to_string(minor));
}

void VConfigByteArray::setSizeCode(int sizeCode) {
  capacity_ = EEPROMid::sizeOfCode(sizeCode);
  id_.sizeCode = static_cast<uint8_t>(sizeCode);
  root_->invalidate();
}

void VConfigByteArray::resize(int length) {
  if (length < 0 || length == allocated()) return;
  const bool shrinking = length < allocated();
  const size_t n = static_cast<size_t>(length);
  mirror_.resize(n, 0xFF);
  showing_.resize(n, 0xFF);
  mirrorState_.resize(n, kUnknown);
  showingState_.resize(n, 0);
  if (shrinking) {
    mirror_.shrink_to_fit();
    showing_.shrink_to_fit();
    mirrorState_.shrink_to_fit();
    showingState_.shrink_to_fit();
  }
}

bool VConfigByteArray::ensure(int position) {
  // No unit has more memory than MaxSize; a position beyond it can only come from a broken
  // caller and must not make the arrays explode.
  if (position < 0 || position >= MaxSize) return false;
  int n = allocated();
  if (position < n) return true;
  while (position >= n) n = n < 64 ? 128 : LargestPowerOfTwoNotAbove(4 * n - 1);
  resize(n);
  return true;
}

void VConfigByteArray::setMirrorByte(int position, uint8_t value, MirrorMode mode) {
  if (!ensure(position)) return;
  const size_t i = static_cast<size_t>(position);
  uint8_t& byte = mirror_[i];
  uint8_t& state = mirrorState_[i];
  if (!verifyInForce()) {
    byte = value;
    state = kValid;
    return;
  }
  switch (state) {
    case kUnknown:
      byte = value;
      state = kReadOnce;
      break;
    case kReadOnce:
      // Two successive equal readings make a byte valid; a written value needs a read-back.
      if (value != byte || mode == WrittenToUnit) {
        byte = value;
      } else {
        state = kValid;
      }
      break;
    default:
      if (value != byte) {
        byte = value;
        state = kReadOnce;
      }
      break;
  }
}

uint8_t VConfigByteArray::getMirrorByte(int position) const {
  if (!isAllocated(position)) return 0;
  const size_t i = static_cast<size_t>(position);
  return mirrorState_[i] != kUnknown ? mirror_[i] : 0;
}

void VConfigByteArray::setShowingByte(int position, uint8_t value) {
  if (!ensure(position)) return;
  if (position >= usedLength_) usedLength_ = position + 1;
  const size_t i = static_cast<size_t>(position);
  if (showingState_[i] != 0) ShowEepDiagnostic("VConfigByteArray::setShowingByte: uz je valid");
  showing_[i] = value;
  showingState_[i] = kDefined;
}

uint8_t VConfigByteArray::getShowingByte(int position) const {
  if (!isAllocated(position) || position >= usedLength_) return 0xFF;
  const size_t i = static_cast<size_t>(position);
  return showingState_[i] != 0 ? showing_[i] : 0xFF;
}

uint8_t VConfigByteArray::byteState(int position) const {
  if (position < 0) return 0;
  if (position >= allocated()) return NeedsRead | InCapacity;
  const size_t i = static_cast<size_t>(position);
  const bool defined = showingState_[i] != 0;
  const uint8_t ms = mirrorState_[i];
  uint8_t bits = 0;
  if (defined) bits |= ShowingDefined;
  if (ms == kValid) bits |= MirrorValid;
  if (position < capacity_) {
    bits |= InCapacity;
    if (defined) bits |= InCapacityDefined;
    if (defined && (ms == kUnknown || mirror_[i] != showing_[i])) bits |= NeedsWrite;
    if (ms == kUnknown || (ms == kReadOnce && (!defined || mirror_[i] == showing_[i])))
      bits |= NeedsRead;
  }
  return bits;
}

void VConfigByteArray::clearMirrorStates() {
  std::fill(mirrorState_.begin(), mirrorState_.end(), 0);
}

void VConfigByteArray::clearShowingStates() {
  std::fill(showingState_.begin(), showingState_.end(), 0);
}

bool VConfigByteArray::writeSettings(bool force, bool zeroHeader) {
  int length = 0;
  root_->write(*this, length, true);
  if (!force && length > capacity_) {
    showMessage(
        GetLangText("Texts", "ConfigLong", Win1250("Nastavení se nevejde do paměti zařízení!")),
        ui::MB_OK | ui::MB_ICONERROR);
    return false;
  }
  // The used length is the layout's length now, not whatever it was before the last poll measured
  // it: the used-length word of the header and the end of the data must say the same.
  usedLength_ = length;
  for (int pass = 0; pass < 2; ++pass) {
    // The second pass writes the values the first one settled (addresses, lengths, checksums).
    clearShowingStates();
    length = 0;
    root_->write(*this, length, false);
  }
  if (zeroHeader && length >= headerLength_) {
    for (int i = 0; i < headerLength_; ++i) {
      if (isAllocated(i)) showingState_[static_cast<size_t>(i)] = 0;
      setShowingByte(i, 0);
    }
  }
  return true;
}

int VConfigByteArray::showMessage(const std::string& text, unsigned flags) {
  return messageBox ? messageBox(text, flags) : ApplicationMessageBox(text, flags);
}

int VConfigByteArray::failInterpretation() {
  showMessage(
      GetLangText("Texts", "ErrorReadingEep", Win1250("Chyba při interpretaci nastavení zařízení")),
      ui::MB_OK | ui::MB_ICONERROR);
  if (settingTree != nullptr) settingTree->notifyRevert();
  return -1;
}

int VConfigByteArray::readSettings() {
  // The first measurement loads the header's address words, the second sizes the relocatable
  // groups with them; only the second one's verdict counts.
  bool error = false;
  root_->measure(*this, 0, error, ShowingDefined);
  error = false;
  const int expected = root_->measure(*this, 0, error, ShowingDefined);
  if (error) return failInterpretation();
  int position = 0;
  if (root_->read(*this, position, expected) || position != expected) return failInterpretation();
  if (settingTree != nullptr) settingTree->notifyAccept();
  return expected;
}

bool VConfigByteArray::mirror2Showing() {
  bool conflictShown = false;
  for (int pos = 0; pos < allocated(); ++pos) {
    const size_t i = static_cast<size_t>(pos);
    if (mirrorState_[i] != kValid) continue;
    if (showingState_[i] == 0) {
      setShowingByte(pos, mirror_[i]);
    } else if (showing_[i] != mirror_[i] && !conflictShown) {
      // One box per copy is enough to tell something is wrong; a modal box per byte would not
      // let the user get anywhere.
      ShowEepDiagnostic(
          "VConfigByteArray::mirror2Showing: mirror and showing valid, but not equal");
      conflictShown = true;
    }
  }
  markChanged(root_.get(), true);
  const int length = readSettings();
  usedLength_ = std::max(length, 0);
  return length != -1;
}

int VConfigByteArray::expectedLength() {
  bool error = false;
  const int length = root_->measure(*this, 0, error, MirrorValid);
  return error ? length + 1 : length;
}

void VConfigByteArray::updateMemoryInfo() {
  const bool changed = root_->isChanged();
  root_->clearPending();
  if (!changed) return;
  int length = 0;
  root_->write(*this, length, true);
  usedLength_ = length;
  showMemoryInfo();
}

void VConfigByteArray::showMemoryInfo() {
  ShowText(labels.memLenTotal.get(), std::to_string(capacity_));
  ShowText(labels.memLenCfg.get(), std::to_string(usedLength_));
  ShowText(labels.memLenFree.get(), std::to_string(capacity_ - usedLength_));
  if (labels.memLenFree) {
    ui::Color colour = ui::clPurple;
    if (usedLength_ > capacity_)
      colour = ui::clRed;
    else if (static_cast<long long>(capacity_) * 98 >= static_cast<long long>(usedLength_) * 100)
      colour = ui::clBlue;  // up to 98 % in use
    labels.memLenFree->SetFontColor(colour);
  }
}
