#pragma once
// The event loop of the desktop program on top of Qt's: QTimer for the model's timers, queued
// calls for Post, QMessageBox and QFileDialog for the modal dialogs, a nested QEventLoop for
// modal forms. Needs a QApplication; installs itself as the process's loop (ui::LoopScope) and
// puts the previous one back when destroyed. Use it on the GUI thread only, Post excepted.

#include <QObject>
#include <map>
#include <memory>

#include "ui/EventLoop.h"
#include "ui/Types.h"

class QTimer;

namespace ui {
class Desktop;
}

namespace qtui {

class QtLoop : public ui::EventLoop {
 public:
  QtLoop();
  ~QtLoop() override;
  QtLoop(const QtLoop&) = delete;
  QtLoop& operator=(const QtLoop&) = delete;

  uint32_t TickCount() override;
  void Post(std::function<void()> fn) override;
  void ProcessMessages() override;
  int MessageBox(const std::string& caption, const std::string& text, unsigned flags) override;
  bool ExecuteFileDialog(ui::FileDialog& dialog) override;
  // Shows the form's window application-modal and runs Qt's loop until the form has a modal
  // result (or is destroyed: then mrCancel). A form without a view gets one for the time.
  int ShowModal(ui::Form& form) override;
  void TimerChanged(ui::Timer& timer) override;
  void TimerDestroyed(ui::Timer& timer) override;

  // Runs the program until the application is terminated (its main form closed). Returns at
  // once when it already is.
  int Run();

  // Timers running in Qt now (for tests).
  size_t ActiveTimers() const { return timers_.size(); }

 private:
  std::unique_ptr<QObject> context_;
  std::map<ui::Timer*, QTimer*> timers_;
  // Last: the loop is uninstalled (the one it replaced comes back) before anything else of it
  // goes.
  ui::LoopScope installed_{this};
};

// The primary screen's work area, for the model's desktop.
ui::Rect ScreenWorkArea();

}  // namespace qtui
