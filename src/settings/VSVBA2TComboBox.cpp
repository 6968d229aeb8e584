#include "settings/VSVBA2TComboBox.h"

#include "settings/PhoneNumber.h"

namespace {

std::string Trim(const std::string& s) {
  const size_t first = s.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  const size_t last = s.find_last_not_of(' ');
  return s.substr(first, last - first + 1);
}

}  // namespace

VSVBA2TComboBox::VSVBA2TComboBox(VSettingVarByteArray* parent, ui::ComboBox* comboBox,
                                 bool addToList)
    : VSettingVarByteArray2String(parent), addToList_(addToList) {
  comboBox_.handle(&ui::Control::OnChange, [this] { onChange(); });
  comboBox_.handle(&ui::Control::OnExit, [this] { onLeave(); });
  comboBox_.handle(&ui::Control::OnKeyPress, [this](char& key) { onKeyPress(key); });
  comboBox_.attach(comboBox);
  paint();
}

void VSVBA2TComboBox::attachComboBox(ui::ComboBox* comboBox) {
  comboBox_.attach(comboBox);
  showValue();
  paint();
}

void VSVBA2TComboBox::detachControl() {
  comboBox_.detach([](ui::ComboBox& box) {
    box.SetItemIndex(-1);
    box.SetComboText("");
  });
}

bool VSVBA2TComboBox::accept() {
  if (comboBox_) {
    const std::string text = comboBox_->Text();
    selectText(text, addToList_);
    if (addToList_ && comboBox_->ItemIndex() < 0) comboBox_->AddItem(text);
  }
  return VSettingVarByteArray2String::accept();
}

bool VSVBA2TComboBox::isEditorInvalid() {
  if (!comboBox_) {
    error_ = false;
    return false;
  }
  return textDiffers(comboBox_->Text());
}

bool VSVBA2TComboBox::showValue() {
  if (!comboBox_) return false;
  const bool differed = textDiffers(comboBox_->Text());
  {
    settings::UpdatingScope scope(updating_);
    selectText(valueText(), false);
  }
  return differed;
}

bool VSVBA2TComboBox::takeValue() {
  if (!comboBox_) return error_;
  return takeText(comboBox_->Text());
}

void VSVBA2TComboBox::paint() {
  if (!comboBox_) return;
  comboBox_->SetFontColor(colour_);
  comboBox_->SetEnabled(true);
}

void VSVBA2TComboBox::selectText(const std::string& text, bool replace) {
  if (!comboBox_) return;
  ui::ComboBox& box = *comboBox_.get();
  const std::string key = keyOf(text);
  const std::vector<std::string> items = box.Items();
  auto rename = [&](size_t index) {
    std::vector<std::string> renamed = items;
    renamed[index] = text;
    box.SetItems(std::move(renamed));
  };
  for (int pass = 0; pass < 2; ++pass) {
    for (size_t i = 0; i < items.size(); ++i) {
      if (!itemMatches(key, Trim(items[i]), pass)) continue;
      if (isModified()) {
        box.SetItemIndex(static_cast<int>(i));
      } else if (replace) {
        rename(i);
        if (pass == 0) box.SetItemIndex(static_cast<int>(i));
      } else if (keyOf(box.Text()) != key) {
        // An unchanged value leaves the box as the user left it only while the box still says
        // the same; after Escape it holds the text that was thrown away.
        box.SetItemIndex(static_cast<int>(i));
      }
      return;
    }
  }
  box.SetItemIndex(-1);
  box.SetComboText(error_ ? key : text);
}

// ---- VSVBA2TComboBox_SCA ----

std::string VSVBA2TComboBox_SCA::bytesToText(const uint8_t* data, int length) {
  return VSettingVarByteArray2String::bytesToText(data, length);
}

void VSVBA2TComboBox_SCA::textToBytes(const std::string& text, bool& error) {
  setParsed(phone::scaNumber(text, error));
}

bool VSVBA2TComboBox_SCA::itemMatches(const std::string& key, const std::string& item, int pass) {
  return pass == 0 && phone::scaKey(item) == key;
}

std::string VSVBA2TComboBox_SCA::keyOf(const std::string& text) {
  return phone::scaKey(text);
}
