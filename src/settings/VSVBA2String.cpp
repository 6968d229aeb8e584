#include "settings/VSVBA2String.h"

#include "settings/PhoneNumber.h"

namespace {

void CopyBuffer(TInputBuffer& to, const TInputBuffer& from) {
  to.Clear();
  if (from.Length() > 0) to.AddData(from.Data(), static_cast<int>(from.Length()));
}

std::string Trim(const std::string& s) {
  const size_t first = s.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  const size_t last = s.find_last_not_of(' ');
  return s.substr(first, last - first + 1);
}

}  // namespace

// ---- VSettingVarByteArray2String ----

VSettingVarByteArray2String::VSettingVarByteArray2String(VSettingVarByteArray* parent)
    : VSettingVarByteArrayDependant(parent) {}

bool VSettingVarByteArray2String::commitValue() {
  if (accepted_.EqualsBuffer(value_)) return false;
  CopyBuffer(accepted_, value_);
  return true;
}

bool VSettingVarByteArray2String::restoreValue() {
  if (value_.EqualsBuffer(accepted_)) return false;
  CopyBuffer(value_, accepted_);
  return true;
}

bool VSettingVarByteArray2String::setBytes(const uint8_t* data, int length) {
  if (value_.EqualsData(data, length < 0 ? 0 : length)) return false;
  value_.Clear();
  if (length > 0) value_.AddData(data, length);
  return true;
}

std::string VSettingVarByteArray2String::bytesToText(const uint8_t* data, int length) {
  return length > 0 ? std::string(reinterpret_cast<const char*>(data), length) : std::string();
}

void VSettingVarByteArray2String::textToBytes(const std::string& text, bool& error) {
  error = false;
  setParsed(text);
}

void VSettingVarByteArray2String::setParsed(const std::string& bytes) {
  parsed_.Clear();
  parsed_.AddData(reinterpret_cast<const uint8_t*>(bytes.data()), static_cast<int>(bytes.size()));
}

// ---- VSVBA2TEdit ----

VSVBA2TEdit::VSVBA2TEdit(VSettingVarByteArray* parent, ui::Edit* edit)
    : VSettingVarByteArray2String(parent) {
  edit_.reset(edit);
  if (edit_) {
    edit_->SetMaxLength(254);
    bind();
    edit_->SetVisible(true);
  }
  paint();
}

VSVBA2TEdit::~VSVBA2TEdit() {
  unbind();
}

void VSVBA2TEdit::bind() {
  settings::Bind(edit_->OnChange, this, [this] { onChange(); });
  settings::Bind(edit_->OnExit, this, [this] { onLeave(); });
  settings::Bind(edit_->OnKeyPress, this, [this](char& key) { onKeyPress(key); });
}

void VSVBA2TEdit::unbind() {
  if (!edit_) return;
  settings::Unbind(edit_->OnChange, this);
  settings::Unbind(edit_->OnExit, this);
  settings::Unbind(edit_->OnKeyPress, this);
}

void VSVBA2TEdit::attachEdit(ui::Edit* edit) {
  unbind();
  edit_.reset(edit);
  if (edit_) {
    edit_->SetMaxLength(254);
    bind();
    edit_->SetVisible(true);
  }
  showValue();
  paint();
}

void VSVBA2TEdit::detachControl() {
  if (!edit_) return;
  unbind();
  {
    settings::UpdatingScope scope(updating_);
    edit_->SetText("");
  }
  edit_->SetEnabled(false);
  edit_->SetVisible(false);
  edit_.reset(nullptr);
}

bool VSVBA2TEdit::showInactive() {
  if (edit_) edit_->SetBackColor(ui::clBtnFace);
  return false;
}

bool VSVBA2TEdit::showActive() {
  if (edit_) edit_->SetBackColor(ui::clWindow);
  return false;
}

bool VSVBA2TEdit::isEditorInvalid() {
  if (!edit_) {
    error_ = false;
    return false;
  }
  bool e = false;
  textToBytes(edit_->Text(), e);
  return e || !parsedEqualsValue();
}

bool VSVBA2TEdit::showValue() {
  if (!edit_) return false;
  bool e = false;
  textToBytes(edit_->Text(), e);
  const bool differed = !parsedEqualsValue();
  {
    settings::UpdatingScope scope(updating_);
    edit_->SetText(valueText());
  }
  return e || differed;
}

bool VSVBA2TEdit::takeValue() {
  if (!edit_) return error_;
  const bool old = error_;
  textToBytes(edit_->Text(), error_);
  if (error_ != old) markDirty();
  if (parsedEqualsValue()) return error_ != old;
  CopyBuffer(value_, parsed_);
  return true;
}

void VSVBA2TEdit::paint() {
  if (!edit_) return;
  edit_->SetFontColor(colour_);
  edit_->SetEnabled(true);
}

// ---- VSVBA2TComboBox ----

VSVBA2TComboBox::VSVBA2TComboBox(VSettingVarByteArray* parent, ui::ComboBox* comboBox,
                                 bool addToList)
    : VSettingVarByteArray2String(parent), addToList_(addToList) {
  comboBox_.reset(comboBox);
  if (comboBox_) {
    bind();
    comboBox_->SetVisible(true);
  }
  paint();
}

VSVBA2TComboBox::~VSVBA2TComboBox() {
  unbind();
}

void VSVBA2TComboBox::bind() {
  settings::Bind(comboBox_->OnChange, this, [this] { onChange(); });
  settings::Bind(comboBox_->OnExit, this, [this] { onLeave(); });
  settings::Bind(comboBox_->OnKeyPress, this, [this](char& key) { onKeyPress(key); });
}

void VSVBA2TComboBox::unbind() {
  if (!comboBox_) return;
  settings::Unbind(comboBox_->OnChange, this);
  settings::Unbind(comboBox_->OnExit, this);
  settings::Unbind(comboBox_->OnKeyPress, this);
}

void VSVBA2TComboBox::attachComboBox(ui::ComboBox* comboBox) {
  unbind();
  comboBox_.reset(comboBox);
  if (comboBox_) {
    bind();
    comboBox_->SetVisible(true);
  }
  showValue();
  paint();
}

void VSVBA2TComboBox::detachControl() {
  if (!comboBox_) return;
  unbind();
  {
    settings::UpdatingScope scope(updating_);
    comboBox_->SetItemIndex(-1);
    comboBox_->SetComboText("");
  }
  comboBox_->SetEnabled(false);
  comboBox_->SetVisible(false);
  comboBox_.reset(nullptr);
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
  bool e = false;
  textToBytes(comboBox_->Text(), e);
  return e || !parsedEqualsValue();
}

bool VSVBA2TComboBox::showValue() {
  if (!comboBox_) return false;
  bool e = false;
  textToBytes(comboBox_->Text(), e);
  const bool differed = !parsedEqualsValue();
  {
    settings::UpdatingScope scope(updating_);
    selectText(valueText(), false);
  }
  return e || differed;
}

bool VSVBA2TComboBox::takeValue() {
  if (!comboBox_) return error_;
  const bool old = error_;
  textToBytes(comboBox_->Text(), error_);
  if (error_ != old) markDirty();
  if (parsedEqualsValue()) return error_ != old;
  CopyBuffer(value_, parsed_);
  return true;
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
