#pragma once
// Editors that show a byte string as text: in an edit (VSVBA2TEdit) or in a combo box with a list
// of known values (VSVBA2TComboBox, and the service centre's VSVBA2TComboBox_SCA). The base keeps
// the editor's copy of the bytes; subclasses say how bytes and text convert (bytesToText,
// textToBytes). Text that cannot be converted still gives bytes (those before the fault) and shows
// red.

#include <string>

#include "settings/EditorSupport.h"
#include "settings/VSettingVarByteArray.h"
#include "ui/Controls.h"

class VSettingVarByteArray2String : public VSettingVarByteArrayDependant {
 public:
  explicit VSettingVarByteArray2String(VSettingVarByteArray* parent);

  bool isModified() override { return !value_.EqualsBuffer(accepted_); }
  bool commitValue() override;
  bool restoreValue() override;
  bool setBytes(const uint8_t* data, int length) override;
  const TInputBuffer& getBytes() override { return value_; }

  // The text shown for bytes: by default the bytes themselves.
  virtual std::string bytesToText(const uint8_t* data, int length);
  // Converts text into `parsed`: by default the characters themselves, never an error.
  virtual void textToBytes(const std::string& text, bool& error);

  std::string valueText() { return bytesToText(value_.Data(), static_cast<int>(value_.Length())); }

 protected:
  bool parsedEqualsValue() const { return parsed_.EqualsBuffer(value_); }
  void setParsed(const std::string& bytes);

  int updating_ = 0;
  TInputBuffer accepted_;
  TInputBuffer value_;
  TInputBuffer parsed_;
};

class VSVBA2TEdit : public VSettingVarByteArray2String {
 public:
  // The edit takes at most 254 characters (the device description may lower the limit).
  VSVBA2TEdit(VSettingVarByteArray* parent, ui::Edit* edit);
  ~VSVBA2TEdit() override;

  // Background of a text that is not in use (button face) and in use (window).
  bool showInactive() override;
  bool showActive() override;
  void detachControl() override;
  bool isEditorInvalid() override;
  bool showValue() override;
  bool takeValue() override;
  void paint() override;

  virtual void onChange() { editorChanged(updating_); }
  virtual void onLeave() { editorLeft(); }
  virtual void onKeyPress(char& key) { editorKey(key, edit_.get()); }
  virtual void attachEdit(ui::Edit* edit);

  ui::Edit* edit() const { return edit_.get(); }

 private:
  void bind();
  void unbind();
  settings::OwnedControl<ui::Edit> edit_;
};

// A combo box whose list offers known values. A value that has not changed since it was accepted
// leaves the box as the user left it; a changed one selects the matching list entry, or shows
// itself.
class VSVBA2TComboBox : public VSettingVarByteArray2String {
 public:
  // addToList: an accepted text that matches no entry is appended to the list.
  VSVBA2TComboBox(VSettingVarByteArray* parent, ui::ComboBox* comboBox, bool addToList);
  ~VSVBA2TComboBox() override;

  bool accept() override;
  void detachControl() override;
  bool isEditorInvalid() override;
  bool showValue() override;
  bool takeValue() override;
  void paint() override;

  virtual void onChange() { editorChanged(updating_); }
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
  void bind();
  void unbind();
  settings::OwnedControl<ui::ComboBox> comboBox_;
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
