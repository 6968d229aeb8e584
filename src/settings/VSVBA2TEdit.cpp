#include "settings/VSVBA2TEdit.h"

VSVBA2TEdit::VSVBA2TEdit(VSettingVarByteArray* parent, ui::Edit* edit)
    : VSettingVarByteArray2String(parent) {
  edit_.handle(&ui::Control::OnChange, [this] { onChange(); });
  edit_.handle(&ui::Control::OnExit, [this] { onLeave(); });
  edit_.handle(&ui::Control::OnKeyPress, [this](char& key) { onKeyPress(key); });
  if (edit != nullptr) edit->SetMaxLength(254);
  edit_.attach(edit);
  paint();
}

void VSVBA2TEdit::attachEdit(ui::Edit* edit) {
  if (edit != nullptr) edit->SetMaxLength(254);
  edit_.attach(edit);
  showValue();
  paint();
}

void VSVBA2TEdit::detachControl() {
  edit_.detach([](ui::Edit& e) { e.SetText(""); });
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
  return textDiffers(edit_->Text());
}

bool VSVBA2TEdit::showValue() {
  if (!edit_) return false;
  const bool differed = textDiffers(edit_->Text());
  {
    settings::UpdatingScope scope(updating_);
    edit_->SetText(valueText());
  }
  return differed;
}

bool VSVBA2TEdit::takeValue() {
  if (!edit_) return error_;
  return takeText(edit_->Text());
}

void VSVBA2TEdit::paint() {
  if (!edit_) return;
  edit_->SetFontColor(colour_);
  edit_->SetEnabled(true);
}
