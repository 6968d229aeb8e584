#pragma once
// The settings tree. Every value the program edits is a node of it:
//   - value settings hold a value and an accepted copy of it (and, when the value lives in the
//     unit, a layout descriptor);
//   - dependants hang under a value setting: editors bound to a control, other views of the same
//     value, constraints that correct values;
//   - the root (VSettingTop) owns the top-level settings.
// Notifications travel up (childChanged, markDirty, notifyAccept, notifyRevert); actions travel
// down (doAction). The root's update, run on every poll and at once after an accept or revert
// request, settles the constraints, refreshes every control and colours it:
//   black - the control shows the accepted value;
//   blue  - the control shows a value that has not been accepted yet;
//   red   - the control holds text that cannot be taken as a value.
//
// Nodes are created with their parent and owned by it: `new VSettingByte(top)` hands the new
// setting to the root, `new VSVBA2TEdit(text, edit)` to its text setting. Destroying a node
// destroys what it owns.

#include <functional>

#include "eeprom/VList.h"
#include "eeprom/VSettingTreeHooks.h"
#include "ui/Types.h"

namespace ui {
class Control;
}
class VSettingTop;

class VSetting {
 public:
  // What doAction asks every node to do; other codes do nothing.
  enum Action : int {
    RestorePresented = 0,  // restoreIfPresented
    Constrain = 1,         // constrain
    Revert = 2,            // revert
    Accept = 3,            // accept
    Update = 4,            // update (the result is false)
    ShowInactive = 5,      // showInactive
    ShowActive = 6,        // showActive
    Retranslate = 7,       // retranslate
  };

  explicit VSetting(VSetting* parent);
  virtual ~VSetting();
  VSetting(const VSetting&) = delete;
  VSetting& operator=(const VSetting&) = delete;

  // --- notifications, towards the root ---
  virtual void notifyAccept();
  virtual void notifyRevert();
  // A node below changed its value (an editor calls it on itself once it took a value from its
  // control): this node no longer shows its value but has just received one.
  virtual void childChanged(VSetting* from);
  virtual void markDirty();

  // --- actions, away from the root ---
  virtual bool wantsAction(int action);
  // This node's operation for the action; value settings and the root then pass the action on.
  // The results are or-ed.
  virtual bool doAction(int action);
  virtual bool restoreIfPresented();
  virtual bool constrain();
  virtual bool revert();
  virtual bool accept();
  virtual bool showInactive();
  virtual bool showActive();
  virtual bool retranslate();
  // Colouring: a presented node shows its value (blue while modified); one that is not presented
  // is red while its editor holds invalid content.
  virtual void update();
  virtual void detachControl();

  // --- values and controls (overridden by value settings and editors) ---
  virtual bool isModified();
  // Accepted copy <- value; true if it changed.
  virtual bool commitValue();
  // Value <- accepted copy; true if it changed.
  virtual bool restoreValue();
  virtual bool isEditorInvalid();
  // Writes the value into the control; true if the control did not show it.
  virtual bool showValue();
  // Reads the control into the value; true if something changed.
  virtual bool takeValue();
  // Gives the control the current colour and enables it.
  virtual void paint();

  VSetting* parent() const { return parent_; }
  // The root above this node, or null in a tree without one.
  VSettingTop* top();
  bool isPresented() const { return presented_; }
  bool isDirty() const { return dirty_; }
  bool hasError() const { return error_; }
  ui::Color colour() const { return colour_; }

 protected:
  // The editor protocol, shared by every class that binds a control.
  // The control's content or state changed (ignored while the editor writes to it itself).
  void editorChanged();
  // The control lost the input focus.
  void editorLeft();
  // A key in an edit: Enter accepts like leaving, Escape reverts the whole tree; either selects
  // the edit's text and is swallowed. Other keys pass.
  void editorKey(char& key, ui::Control* control);

  // Raised while an editor writes to its own controls (settings::UpdatingScope).
  int updating_ = 0;
  bool error_ = false;
  ui::Color colour_ = ui::clBlack;
  bool presented_ = true;
  bool dirty_ = true;

 private:
  friend class VSettingTop;
  VSetting* parent_;
  VSettingTop* registeredIn_ = nullptr;
};

// The root of the tree. The image tells it to accept or revert through VSettingTreeHooks; the
// device module calls update on every poll.
class VSettingTop : public VSetting, public VSettingTreeHooks {
 public:
  VSettingTop();
  ~VSettingTop() override;

  // Both run the tree update at once.
  void notifyAccept() override;
  void notifyRevert() override;
  void childChanged(VSetting* from) override;
  void markDirty() override;
  bool doAction(int action) override;
  // The tree update: nothing unless a notification came since the last one; then revert or
  // settle the constraints, update every child, and accept when asked to.
  void update() override;
  virtual void addChild(VSetting* setting);
  // Every node re-reads its language texts (hints and captions of check boxes).
  virtual void retranslateAll();

  int childCount() const { return children_.Count(); }
  VSetting* child(int index) const { return children_[index]; }
  bool isAcceptPending() const { return acceptPending_; }
  bool isRevertPending() const { return revertPending_; }
  // A notification came that the next update has not handled yet.
  bool isPending() const { return dirty_ || acceptPending_ || revertPending_; }

  // Called whenever a setting of the tree changes through a control (not when values are loaded):
  // the configuration shown now differs from the one last saved. The main window clears its
  // configSaved flag here. A later revert does not call it back.
  std::function<void()> onModified;
  // Called on every notification (the owner polls soon: what the update leaves, and what follows
  // from the values, such as the memory figures, is done at the next poll).
  std::function<void()> onPending;
  // Whether the program runs at the first experience level ("Basic"), where national numbers are
  // always converted to international form. None: not Basic.
  std::function<bool()> isBasicLevel;

 private:
  friend class VSetting;
  VList<VSetting*> children_{VListMode::Owning};
  bool revertPending_ = false;
  bool acceptPending_ = false;
  bool inUpdate_ = false;
};
