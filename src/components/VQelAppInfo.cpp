#include "components/VQelAppInfo.h"

#include <algorithm>
#include <stdexcept>

#include "base/Qelutils.h"
#include "base/SettingsStore.h"
#include "components/FormUtils.h"
#include "ui/EventLoop.h"
#include "ui/Form.h"
#include "ui/Timer.h"

namespace {

constexpr const char* kFormsSection = "Options\\Forms\\";

std::string SubKey(const std::string& key, const std::string& name) {
  if (key.empty() || key.back() == '\\') return key + name;
  return key + "\\" + name;
}

// Moves the first window satisfying `match` from `from` to the end of `to`.
template <class Match>
void MoveFirst(std::vector<ui::Form*>& from, std::vector<ui::Form*>& to, Match match) {
  const auto it = std::find_if(from.begin(), from.end(), match);
  if (it == from.end()) return;
  to.push_back(*it);
  from.erase(it);
}

}  // namespace

class VQelAppInfo::InhibitScope {
 public:
  explicit InhibitScope(VQelAppInfo& info) : info_(info), former_(info.inhibitApplRunning_) {
    info_.inhibitApplRunning_ = true;
  }
  ~InhibitScope() { info_.inhibitApplRunning_ = former_; }
  InhibitScope(const InhibitScope&) = delete;
  InhibitScope& operator=(const InhibitScope&) = delete;

 private:
  VQelAppInfo& info_;
  bool former_;
};

VQelAppInfo::VQelAppInfo(ui::Component* owner, SettingsStore* store, std::string name)
    : ui::Component(owner, std::move(name)),
      ownerForm_(dynamic_cast<ui::Form*>(owner)),
      store_(store) {
  if (ownerForm_ == nullptr) {
    throw std::invalid_argument("VQelAppInfo: the owner has to be a window (ui::Form)");
  }
  startTimer_ = std::make_unique<ui::Timer>(nullptr, "ApplRunningTimer");
  startTimer_->SetInterval(1);
  startTimer_->SetOnTimer([this](ui::Timer&) { ApplRunningStep(); });
}

VQelAppInfo::~VQelAppInfo() {
  // Freed on its own while the window stands (the owner clears Owner() when it frees us as part
  // of its own destruction): the window must not keep a hook into a dead component.
  if (hookInstalled_ && Owner() != nullptr) ownerForm_->OnShow = std::move(ownerOnShow_);
  startTimer_.reset();
}

void VQelAppInfo::Loaded() {
  if (loaded_) return;
  if (!splashFormClass_.empty()) {
    throw std::runtime_error("Splash window class \"" + splashFormClass_ +
                             "\" is not registered; register it at start-up, before the main "
                             "window is loaded");
  }
  loaded_ = true;
  ownerOnShow_ = std::move(ownerForm_->OnShow);
  ownerForm_->OnShow = [this](ui::Form&) { OwnerFirstShow(); };
  hookInstalled_ = true;
}

void VQelAppInfo::OwnerFirstShow() {
  ui::Form& form = *ownerForm_;
  std::function<void(ui::Form&)> own = std::move(ownerOnShow_);
  ownerOnShow_ = nullptr;
  hookInstalled_ = false;
  // This replaces the hook that is running now: nothing of it is touched after this line.
  form.OnShow = own;
  if (OnOwnerFirstShow) OnOwnerFirstShow(*this);
  if (own) own(form);
}

void VQelAppInfo::SetRegistryPath(const std::string& path) {
  registryPath_ = path;
  if (registryPath_.empty() || registryPath_.back() != '\\') registryPath_ += '\\';
}

bool VQelAppInfo::IsException(const std::string& formName) const {
  return std::any_of(exceptionList_.begin(), exceptionList_.end(),
                     [&](const std::string& name) { return SameTextAscii(name, formName); });
}

// ---- first run ----

void VQelAppInfo::SetApplRunning(bool running) {
  if (running) ApplRunningStep();
}

void VQelAppInfo::ApplRunningStep() {
  if (applRunning_ || inhibitApplRunning_) return;
  // Settled before the event fires, so that message boxes and pending-message passes inside the
  // handler cannot run the step a second time. The timer is only stopped here, as this usually
  // runs inside its own tick; it goes with the component.
  applRunning_ = true;
  startTimer_->SetEnabled(false);
  if (OnApplRunning) OnApplRunning(*this);
}

// ---- message boxes ----

int VQelAppInfo::MessageBox(const std::string& text, unsigned flags) {
  return MessageBox(appName_, text, flags);
}

int VQelAppInfo::MessageBox(const std::string& caption, const std::string& text, unsigned flags) {
  InhibitScope inhibit(*this);
  return ui::Loop().MessageBox(caption, text, flags);
}

int VQelAppInfo::MessageBox2(const std::string& text, unsigned flags) {
  return MessageBox(appName_, text, flags);
}

int VQelAppInfo::MessageBox2(const std::string& caption, const std::string& text, unsigned flags) {
  return MessageBox(caption, text, flags);
}

void VQelAppInfo::ProcessMessages() {
  InhibitScope inhibit(*this);
  ui::Loop().ProcessMessages();
}

// ---- window positions ----

std::string VQelAppInfo::FormsKey() const {
  return SectionKey(kFormsSection);
}

void VQelAppInfo::GetForms(const ui::Component& component, std::vector<ui::Form*>& list) const {
  for (ui::Component* child : component.Components()) {
    GetForms(*child, list);
    auto* form = dynamic_cast<ui::Form*>(child);
    if (form != nullptr && !IsException(form->Name())) list.push_back(form);
  }
}

bool VQelAppInfo::savePositions() {
  if (store_ == nullptr) return false;
  ui::Application* app = ui::App();
  if (app == nullptr) return true;
  std::vector<ui::Form*> handled;
  GetForms(*app, handled);

  // Top-most first as the desktop stacks them; windows the desktop does not show (no platform
  // window yet, docked) follow in their collected order.
  std::vector<ui::Form*> ordered;
  const std::vector<ui::Form*> stacking = app->GetDesktop().ZOrder();
  for (ui::Form* top : stacking) MoveFirst(handled, ordered, [&](ui::Form* f) { return f == top; });
  ordered.insert(ordered.end(), handled.begin(), handled.end());

  const std::string key = FormsKey();
  SettingsStore::Batch batch(*store_);
  std::string zorder;
  for (ui::Form* form : ordered) {
    saveForm(*form, key);
    if (form->Name().empty()) continue;
    if (!zorder.empty()) zorder += '|';
    zorder += form->Name();
  }
  store_->WriteString(key, "ZOrder", zorder);
  return batch.Finish();
}

bool VQelAppInfo::saveForm(ui::Form& form, const std::string& formsKey) {
  if (form.Name().empty()) return true;
  if (store_ == nullptr) return false;
  const FormPlacement p = GetFormPlacement(form);
  const std::string key = SubKey(formsKey, form.Name());
  SettingsStore::Batch batch(*store_);
  store_->WriteInteger(key, "Visible", form.Visible() ? -1 : 0);
  store_->WriteInteger(key, "WindowState", p.showCmd);
  store_->WriteInteger(key, "MinLeft", p.minPosition.x);
  store_->WriteInteger(key, "MinTop", p.minPosition.y);
  store_->WriteInteger(key, "MaxLeft", p.maxPosition.x);
  store_->WriteInteger(key, "MaxTop", p.maxPosition.y);
  if (form.HostDockSite() == nullptr) {
    store_->WriteInteger(key, "Left", p.normal.left);
    store_->WriteInteger(key, "Top", p.normal.top);
    store_->WriteInteger(key, "Width", p.normal.width);
    store_->WriteInteger(key, "Height", p.normal.height);
  } else {
    store_->WriteInteger(key, "Width", form.UndockWidth());
    store_->WriteInteger(key, "Height", form.UndockHeight());
  }
  return batch.Finish();
}

void VQelAppInfo::loadPositions() {
  loadPositions(true, resizeNonresizeable_);
}

void VQelAppInfo::loadPositions(bool restoreVisibility, bool resizeNonSizeable) {
  ui::Application* app = ui::App();
  if (app == nullptr) return;
  std::vector<ui::Form*> handled;
  GetForms(*app, handled);
  const std::string key = FormsKey();

  // The stored order first (names compared exactly), then the windows the desktop already
  // stacks, then the rest as collected. Restoring from the last to the first leaves the stored
  // top-most window on top.
  std::vector<ui::Form*> ordered;
  const std::string zorder = store_ != nullptr ? store_->ReadString(key, "ZOrder", "") : "";
  std::size_t pos = 0;
  while (pos <= zorder.size()) {
    std::size_t bar = zorder.find('|', pos);
    if (bar == std::string::npos) bar = zorder.size();
    const std::string name = zorder.substr(pos, bar - pos);
    if (!name.empty()) {
      MoveFirst(handled, ordered, [&](ui::Form* f) { return f->Name() == name; });
    }
    pos = bar + 1;
  }
  const std::vector<ui::Form*> stacking = app->GetDesktop().ZOrder();
  for (ui::Form* top : stacking) {
    MoveFirst(handled, ordered, [&](ui::Form* f) { return f == top && f->HandleAllocated(); });
  }
  ordered.insert(ordered.end(), handled.begin(), handled.end());

  for (auto it = ordered.rbegin(); it != ordered.rend(); ++it) {
    loadForm(**it, key, restoreVisibility, resizeNonSizeable);
  }
}

int VQelAppInfo::ReadInt(const std::string& key, const char* ident, int defaultValue) const {
  return store_ != nullptr ? store_->ReadInteger(key, ident, defaultValue) : defaultValue;
}

void VQelAppInfo::loadForm(ui::Form& form, const std::string& formsKey, bool restoreVisibility,
                           bool resizeNonSizeable) {
  if (form.Name().empty()) return;
  const std::string key = SubKey(formsKey, form.Name());
  const FormPlacement old = GetFormPlacement(form);
  FormPlacement placement = old;

  bool visible = form.Visible();
  if (restoreVisibility) {
    // Before the first-run event only a window that is already showing (the main window being
    // shown) may appear; the others follow their stored visibility once the program runs.
    visible =
        ReadInt(key, "Visible", form.Visible() ? -1 : 0) != 0 && (applRunning_ || form.Visible());
  }
  if (!visible) form.Hide();

  const bool firstRestore =
      store_ == nullptr || store_->ValueType(key, "WindowState") == SettingsValueType::None;
  if (!firstRestore) placement.showCmd = ReadInt(key, "WindowState", old.showCmd);

  placement.minPosition = {ReadInt(key, "MinLeft", old.minPosition.x),
                           ReadInt(key, "MinTop", old.minPosition.y)};
  placement.maxPosition = {ReadInt(key, "MaxLeft", old.maxPosition.x),
                           ReadInt(key, "MaxTop", old.maxPosition.y)};
  // A size that is not positive cannot come from a window; it would make the window vanish, so a
  // damaged or hand-edited store leaves the current size instead.
  const auto readSize = [&](const char* ident, int current) {
    const int value = ReadInt(key, ident, current);
    return value > 0 ? value : current;
  };
  const bool sizes = resizeNonSizeable || form.Sizeable();
  ui::Rect& r = placement.normal;
  r.left = ReadInt(key, "Left", old.normal.left);
  r.top = ReadInt(key, "Top", old.normal.top);
  if (sizes) {
    r.width = readSize("Width", old.normal.width);
    r.height = readSize("Height", old.normal.height);
  }

  ui::Application* app = ui::App();
  if (firstRestore && app != nullptr && app->GetDesktop().WorkAreaKnown()) {
    r = FitRectIntoArea(r, app->GetDesktop().WorkArea());
  }

  if (form.HostDockSite() != nullptr) {
    if (sizes) {
      const int width = readSize("Width", form.UndockWidth());
      const int height = readSize("Height", form.UndockHeight());
      form.SetUndockSize(width, height);
    }
  } else {
    if (!form.Visible()) {
      // Position the hidden window without showing it.
      FormPlacement hidden = placement;
      hidden.showCmd = SW_HIDE;
      SetFormPlacement(form, hidden);
    }
    if (placement.showCmd == SW_SHOWMINIMIZED && form.Visible()) {
      FormPlacement minimised = old;
      minimised.minPosition = placement.minPosition;
      SetFormPlacement(form, minimised);
    }
    switch (placement.showCmd) {
      case SW_SHOWNORMAL:
        form.SetState(ui::WindowState::Normal);
        break;
      case SW_SHOWMINIMIZED:
      case SW_MINIMIZE:
        form.SetState(ui::WindowState::Minimized);
        break;
      case SW_SHOWMAXIMIZED:
        form.SetState(ui::WindowState::Maximized);
        break;
      default:
        break;
    }
    if (form.State() != ui::WindowState::Maximized)
      form.SetBounds(r.left, r.top, r.width, r.height);
    if (visible) SetFormPlacement(form, placement);
  }
  if (visible) form.Show();
}

// ---- general values ----

std::string VQelAppInfo::SectionKey(const std::string& section) const {
  std::string path = registryPath_;
  if (path.empty() || path.back() != '\\') path += '\\';
  return path + appName_ + "\\" + section;
}

int32_t VQelAppInfo::ReadRegistryInteger(const std::string& section, const std::string& ident,
                                         int32_t defaultValue) const {
  if (store_ == nullptr) return defaultValue;
  return store_->ReadInteger(SectionKey(section), ident, defaultValue);
}

std::string VQelAppInfo::ReadRegistryString(const std::string& section, const std::string& ident,
                                            const std::string& defaultValue) const {
  if (store_ == nullptr) return defaultValue;
  const std::string key = SectionKey(section);
  if (store_->ValueType(key, ident) != SettingsValueType::Integer) {
    return store_->ReadString(key, ident, defaultValue);
  }
  // An integer read cannot say "not there" other than by returning the default, so it is asked
  // twice with different defaults: a stored value equal to the first one comes back the second
  // time too, a failed read does not.
  constexpr int32_t kProbe1 = 8388609, kProbe2 = 8388610;
  int32_t value = store_->ReadInteger(key, ident, kProbe1);
  if (value == kProbe1) {
    value = store_->ReadInteger(key, ident, kProbe2);
    if (value == kProbe2) return defaultValue;
  }
  return std::to_string(value);
}

bool VQelAppInfo::WriteRegistryInteger(const std::string& section, const std::string& ident,
                                       int32_t value) {
  return store_ != nullptr && store_->WriteInteger(SectionKey(section), ident, value);
}

bool VQelAppInfo::WriteRegistryString(const std::string& section, const std::string& ident,
                                      const std::string& value) {
  return store_ != nullptr && store_->WriteString(SectionKey(section), ident, value);
}
