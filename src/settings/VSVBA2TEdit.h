#pragma once
// A byte string shown as text in an edit.

#include "settings/ControlHandle.h"
#include "settings/VSettingVarByteArray2String.h"
#include "ui/Controls.h"

class VSVBA2TEdit : public VSettingVarByteArray2String {
 public:
  // The edit takes at most 254 characters (the device description may lower the limit).
  VSVBA2TEdit(VSettingVarByteArray* parent, ui::Edit* edit);

  // Background of a text that is not in use (button face) and in use (window).
  bool showInactive() override;
  bool showActive() override;
  void detachControl() override;
  bool isEditorInvalid() override;
  bool showValue() override;
  bool takeValue() override;
  void paint() override;

  virtual void onChange() { editorChanged(); }
  virtual void onLeave() { editorLeft(); }
  virtual void onKeyPress(char& key) { editorKey(key, edit_.get()); }
  virtual void attachEdit(ui::Edit* edit);

  ui::Edit* edit() const { return edit_.get(); }

 private:
  settings::OwnedControl<ui::Edit> edit_{this, updating_};
};
