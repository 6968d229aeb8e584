#include "settings/VSetting.h"

#include "ui/Control.h"
#include "ui/Controls.h"

// ---- VSetting ----

VSetting::VSetting(VSetting* parent) : parent_(parent) {
  if (auto* top = dynamic_cast<VSettingTop*>(parent)) {
    top->addChild(this);
    registeredIn_ = top;
  }
}

VSetting::~VSetting() {
  // A setting destroyed by its root has already been taken out of the list; one destroyed
  // directly leaves it here.
  if (registeredIn_ != nullptr) registeredIn_->children_.Remove(this);
}

VSettingTop* VSetting::top() {
  VSetting* node = this;
  while (node->parent_ != nullptr) node = node->parent_;
  return dynamic_cast<VSettingTop*>(node);
}

void VSetting::notifyAccept() {
  dirty_ = true;
  if (parent_ != nullptr) parent_->notifyAccept();
}

void VSetting::notifyRevert() {
  dirty_ = true;
  if (parent_ != nullptr) parent_->notifyRevert();
}

void VSetting::childChanged(VSetting* /*from*/) {
  presented_ = false;
  dirty_ = true;
  if (parent_ != nullptr) parent_->childChanged(this);
}

void VSetting::markDirty() {
  if (dirty_) return;
  dirty_ = true;
  if (parent_ != nullptr) parent_->markDirty();
}

bool VSetting::wantsAction(int /*action*/) {
  return true;
}

bool VSetting::doAction(int action) {
  switch (action) {
    case RestorePresented:
      return restoreIfPresented();
    case Constrain:
      return constrain();
    case Revert:
      return revert();
    case Accept:
      return accept();
    case Update:
      update();
      return false;
    case ShowInactive:
      return showInactive();
    case ShowActive:
      return showActive();
    case Retranslate:
      return retranslate();
    default:
      return false;
  }
}

bool VSetting::restoreIfPresented() {
  return presented_ ? restoreValue() : false;
}

bool VSetting::constrain() {
  return false;
}

bool VSetting::revert() {
  // Every setting shows its accepted value again, so its control follows the value from now on
  // (a setting left "not presented" would keep the constraints from correcting it) and holds no
  // invalid text any more.
  presented_ = true;
  const bool restored = restoreValue();
  const bool shown = showValue();
  error_ = false;
  return restored || shown;
}

bool VSetting::accept() {
  presented_ = true;
  // Both run: the control must show the value it now holds even when the value itself changed,
  // or invalid text would stay in the control, black, next to a different accepted value.
  const bool committed = commitValue();
  const bool shown = showValue();
  error_ = false;
  if (colour_ != ui::clBlack) {
    colour_ = ui::clBlack;
    paint();
  }
  return committed || shown;
}

bool VSetting::showInactive() {
  return false;
}
bool VSetting::showActive() {
  return false;
}
bool VSetting::retranslate() {
  return false;
}

void VSetting::update() {
  dirty_ = false;
  const ui::Color old = colour_;
  if (presented_) {
    showValue();
    colour_ = isModified() ? ui::clBlue : ui::clBlack;
  } else {
    // Both are evaluated: isEditorInvalid refreshes the error flag.
    const bool invalid = isEditorInvalid();
    colour_ = invalid || error_ ? ui::clRed : ui::clBlack;
  }
  if (colour_ != old) paint();
}

void VSetting::detachControl() {}
bool VSetting::isModified() {
  return false;
}
bool VSetting::commitValue() {
  return false;
}
bool VSetting::restoreValue() {
  return false;
}
bool VSetting::isEditorInvalid() {
  return false;
}
bool VSetting::showValue() {
  return false;
}
bool VSetting::takeValue() {
  return false;
}
void VSetting::paint() {}

void VSetting::editorChanged() {
  if (updating_ != 0) return;
  if (takeValue()) childChanged(this);
}

void VSetting::editorLeft() {
  // Both are evaluated: isEditorInvalid refreshes the error flag.
  const bool invalid = isEditorInvalid();
  if (invalid || isModified()) notifyAccept();
}

void VSetting::editorKey(char& key, ui::Control* control) {
  if (key == '\r') {
    editorLeft();
  } else if (key == 0x1B) {
    notifyRevert();
  } else {
    return;
  }
  // The whole text selected: the next key typed replaces it.
  if (auto* edit = dynamic_cast<ui::Edit*>(control))
    edit->SelectAll();
  else if (auto* combo = dynamic_cast<ui::ComboBox*>(control))
    combo->SelectAll();
  key = 0;
}

// ---- VSettingTop ----

VSettingTop::VSettingTop() : VSetting(nullptr) {}

VSettingTop::~VSettingTop() {
  // While this object is still whole: the children unregister from it as they go.
  children_.Clear();
}

void VSettingTop::notifyAccept() {
  acceptPending_ = true;
  dirty_ = true;
  update();
  if (onPending) onPending();
}

void VSettingTop::notifyRevert() {
  revertPending_ = true;
  dirty_ = true;
  update();
  if (onPending) onPending();
}

void VSettingTop::childChanged(VSetting* from) {
  if (onModified) onModified();
  VSetting::childChanged(from);
  if (onPending) onPending();
}

void VSettingTop::markDirty() {
  VSetting::markDirty();
  if (onPending) onPending();
}

bool VSettingTop::doAction(int action) {
  bool result = VSetting::doAction(action);
  for (VSetting* child : children_)
    if (child->wantsAction(action)) result = child->doAction(action) || result;
  return result;
}

void VSettingTop::update() {
  if (!dirty_ && !acceptPending_ && !revertPending_) return;
  // An update started from inside another one (a control's handler) leaves its flags to the
  // next poll instead of running the passes twice over each other.
  if (inUpdate_) return;
  inUpdate_ = true;
  dirty_ = false;
  if (revertPending_) {
    revertPending_ = false;
    doAction(Revert);
  } else {
    doAction(RestorePresented);
    const int rounds = children_.Count() + 10;
    for (int i = 0; i < rounds; ++i)
      if (!doAction(Constrain)) break;
  }
  for (VSetting* child : children_) child->update();
  if (acceptPending_) {
    acceptPending_ = false;
    doAction(Accept);
  }
  inUpdate_ = false;
}

void VSettingTop::addChild(VSetting* setting) {
  children_.Add(setting);
}

void VSettingTop::retranslateAll() {
  doAction(Retranslate);
}
