#pragma once
// Forms (top-level windows), the application that owns them and the desktop they live on.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/ScopedGlobal.h"
#include "ui/Control.h"

namespace ui {

class MenuItem;

enum class BorderStyle { None, Single, Sizeable, Dialog, ToolWindow, SizeToolWin };
// The platform's show commands: 1 normal, 2 minimised, 3 maximised.
enum class WindowState { Normal = 1, Minimized = 2, Maximized = 3 };
enum class CloseAction { None, Hide, Free, Minimize };
// Where a window appears each time it is shown: where its bounds put it, centred on the desktop's
// work area, or centred over the application's main window (the work area's centre while there
// is no visible main window, or for the main window itself).
enum class FormPosition { Designed, ScreenCenter, MainFormCenter };

class Form : public Control {
 public:
  Form(Component* owner, std::string name = {});
  ~Form() override;
  const char* ClassName() const override { return "TForm"; }
  Form* ParentForm() const override;

  BorderStyle Border() const { return border_; }
  void SetBorder(BorderStyle style) { border_ = style; }
  bool Sizeable() const {
    return border_ == BorderStyle::Sizeable || border_ == BorderStyle::SizeToolWin;
  }

  FormPosition Position() const { return position_; }
  void SetPosition(FormPosition position) { position_ = position; }

  // A window's bounds are its outer size on the platform the windows were laid out for: 4-pixel
  // borders, a 19-pixel caption and a 20-pixel menu bar round the client area, which holds the
  // controls. A docked window has no frame: its bounds are its client area.
  static constexpr int kFrameWidth = 8;
  static constexpr int kFrameHeight = 27;
  static constexpr int kMenuHeight = 20;
  int ClientWidth() const;
  int ClientHeight() const;

  // Placement: the current bounds (Control::Bounds) are the normal rectangle while the window is
  // in the normal state; minimised and maximised positions are kept as the platform keeps them.
  WindowState State() const { return state_; }
  void SetState(WindowState state);
  const Rect& NormalBounds() const { return normal_; }
  // The restored rectangle without leaving the current state (a maximised window keeps it).
  void SetNormalBounds(const Rect& r);
  void SetBounds(int left, int top, int width, int height) override;
  Point MinPosition() const { return minPos_; }
  void SetMinPosition(Point p) { minPos_ = p; }
  Point MaxPosition() const { return maxPos_; }
  void SetMaxPosition(Point p) { maxPos_ = p; }

  // Showing. Show brings the window to the top of the desktop.
  void Show();
  void Hide();
  int ShowModal();
  bool Modal() const { return modal_; }
  int ModalResult() const { return modalResult_; }
  void SetModalResult(int result);
  // Asks the window to close: OnCloseQuery, then OnClose decides what happens.
  void Close();
  // "User did": the close button of the title bar.
  void UserClose() { Close(); }
  // Set when OnClose answered Free: the owner should destroy the form (the headless front end
  // and tests check it; the desktop does it after the event).
  bool FreeRequested() const { return freeRequested_; }
  void BringToFront();

  // Docking: a floating window has no host; a docked one sits on a host control and keeps the
  // size it would have when undocked.
  Control* HostDockSite() const { return dockSite_.get(); }
  void ManualDock(Control* site);
  void ManualFloat(const Rect& bounds);
  int UndockWidth() const { return undockWidth_; }
  int UndockHeight() const { return undockHeight_; }
  void SetUndockSize(int width, int height);

  // The control that has the focus, or null.
  Control* ActiveControl() const { return active_; }
  void SetActiveControl(Control* control);
  // "User did": Tab / Shift+Tab.
  void UserFocusNext(bool backwards = false);
  // Controls that can take the focus, in tab order.
  std::vector<Control*> TabOrder() const;

  // The platform window exists once asked for (as window handles are created on demand).
  bool HandleAllocated() const { return handle_; }
  void HandleNeeded();

  // Window menu bar: the top-level menu items, owned by this form.
  std::vector<MenuItem*> MenuBar() const;
  // "User did": pressed a short-cut key ("Ctrl+O"); the menu item that has it is picked as a
  // click would pick it. False when no item has it.
  bool UserShortCut(const std::string& keys);

  FormView* View() const { return view_; }
  void SetView(FormView* view) { view_ = view; }

  std::function<void(Form&)> OnShow;
  std::function<void(Form&)> OnHide;
  std::function<void(Form&, bool& canClose)> OnCloseQuery;
  std::function<void(Form&, CloseAction& action)> OnClose;
  std::function<void(Form&, int& width, int& height, bool& resize)> OnCanResize;
  std::function<void(Form&, Form& dropped)> OnDockDrop;

 private:
  friend class Control;
  // Moves the window where its position says, before it is shown.
  void PlaceByPosition();
  BorderStyle border_ = BorderStyle::Sizeable;
  FormPosition position_ = FormPosition::Designed;
  WindowState state_ = WindowState::Normal;
  Rect normal_{};
  Point minPos_{-1, -1};
  Point maxPos_{-1, -1};
  bool modal_ = false;
  int modalResult_ = 0;
  bool freeRequested_ = false;
  Ref<Control> dockSite_;  // reads null once the site is destroyed
  int undockWidth_ = 0;
  int undockHeight_ = 0;
  Control* active_ = nullptr;
  bool handle_ = false;
  FormView* view_ = nullptr;
};

// The desktop: its work area (without the task bar) and the stacking order of top-level
// windows that have a platform window.
class Desktop {
 public:
  Rect WorkArea() const { return workArea_; }
  void SetWorkArea(const Rect& area) { workArea_ = area; }
  bool WorkAreaKnown() const { return workAreaKnown_; }
  void SetWorkAreaKnown(bool known) { workAreaKnown_ = known; }
  // Top-most first.
  const std::vector<Form*>& ZOrder() const { return zorder_; }
  void Raise(Form* form);
  void Remove(Form* form);

 private:
  Rect workArea_{0, 0, 1920, 1040};
  bool workAreaKnown_ = true;
  std::vector<Form*> zorder_;
};

// The application: owns the program's forms; the first form created is the main form.
class Application;

// The application of this process (null before one exists). An application installs itself for
// its lifetime; the one it replaced comes back.
Application* App();

struct AppGlobal {
  using Value = Application*;
  static Value Get() { return App(); }

 private:
  friend class ScopedGlobal<AppGlobal>;
  static void Set(Value app);
};

class Application : public Component {
 public:
  Application();
  ~Application() override;
  const char* ClassName() const override { return "TApplication"; }

  const std::string& Title() const { return title_; }
  void SetTitle(std::string title) { title_ = std::move(title); }
  int HintHidePause() const { return hintHidePause_; }
  void SetHintHidePause(int ms) { hintHidePause_ = ms; }
  Form* MainForm() const { return mainForm_; }
  void SetMainForm(Form* form) { mainForm_ = form; }
  std::vector<Form*> Forms() const;
  Desktop& GetDesktop() { return desktop_; }

  // Ends the program's message loop (the main form closed).
  void Terminate() { terminated_ = true; }
  bool Terminated() const { return terminated_; }

  // Told of every form placed anywhere in the application (used for late translation).
  std::function<void(Form&)> OnFormCreated;
  // Told when a form without a view is about to be shown: a front end that makes its windows
  // on demand makes this one now.
  std::function<void(Form&)> OnFormNeedsView;

 private:
  std::string title_;
  int hintHidePause_ = 2500;
  Form* mainForm_ = nullptr;
  Desktop desktop_;
  bool terminated_ = false;
  // Last: the application of the process is the newest one until it goes (after its forms).
  ScopedGlobal<AppGlobal> installed_{this};
};

}  // namespace ui
