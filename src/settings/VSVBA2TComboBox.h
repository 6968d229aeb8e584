#pragma once
// A byte string shown as text in a combo box with a list of known values (VSVBA2TComboBox), and
// the service centre's kind of it (VSVBA2TComboBox_SCA).

#include <string>

#include "settings/ControlHandle.h"
#include "settings/VSettingVarByteArray2String.h"
#include "ui/Controls.h"

// A combo box whose list offers known values. A value that has not changed since it was accepted
// leaves the box as the user left it; a changed one selects the matching list entry, or shows
// itself.
class VSVBA2TComboBox : public VSettingVarByteArray2String {
 public:
  // addToList: an accepted text that matches no entry is appended to the list.
  VSVBA2TComboBox(VSettingVarByteArray* parent, ui::ComboBox* comboBox, bool addToList);

  bool accept() override;
  void detachControl() override;
  bool isEditorInvalid() override;
  bool showValue() override;
  bool takeValue() override;
  void paint() override;

  virtual void onChange() { editorChanged(); }
  virtual void onLeave() { editorLeft(); }
  virtual void onKeyPress(char& key) { editorKey(key, comboBox_.get()); }
  // Shows text in the box: the matching list entry is selected when the value changed since it
  // was accepted, or when the box says something else; replace lets an unchanged value rename
  // its entry. Without a matching entry the box shows the text (its key while it is invalid).
  virtual void selectText(const std::string& text, bool replace);
  virtual void attachComboBox(ui::ComboBox* comboBox);
  // Whether a list entry (trimmed) matches the key of a text, in the first (0) or second (1) pass.
  virtual bool itemMatches(const std::string& key, const std::string& item, int pass) = 0;
  // What identifies a text among the entries: by default the text itself.
  virtual std::string keyOf(const std::string& text) { return text; }

  ui::ComboBox* comboBox() const { return comboBox_.get(); }

 private:
  settings::OwnedControl<ui::ComboBox> comboBox_{this, updating_};
  bool addToList_;
};

// The SMS service centre: stored as '+' and digits; the list entries are numbers followed by the
// operator's name in quotes, and the entry with the stored number is selected.
class VSVBA2TComboBox_SCA : public VSVBA2TComboBox {
 public:
  VSVBA2TComboBox_SCA(VSettingVarByteArray* parent, ui::ComboBox* comboBox)
      : VSVBA2TComboBox(parent, comboBox, false) {}

  std::string bytesToText(const uint8_t* data, int length) override;
  void textToBytes(const std::string& text, bool& error) override;
  bool itemMatches(const std::string& key, const std::string& item, int pass) override;
  std::string keyOf(const std::string& text) override;
};
