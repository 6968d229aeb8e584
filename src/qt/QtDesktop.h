#pragma once
// What every program that shows the program's windows on the desktop does before and after it
// builds them (kx2init, the screenshots, the desktop benchmarks): one place, so that what they
// show and measure is what kx2init shows.

#include <memory>
#include <vector>

namespace ui {
class Application;
class Form;
}  // namespace ui

namespace qtui {

class QtFormView;

// Qt's application-wide settings for the windows (call after QApplication exists): the model
// closes windows and ends the program, and the windows are laid out for an 8-point sans-serif
// face at 96 pixels per inch.
void SetUpDesktopApplication();

// The Qt views of an application's windows, each made the first time its window is shown, the
// main window's at once; the desktop's work area is told to the application. Destroy before the
// QApplication.
class DesktopViews {
 public:
  explicit DesktopViews(ui::Application& app);
  ~DesktopViews();
  DesktopViews(const DesktopViews&) = delete;
  DesktopViews& operator=(const DesktopViews&) = delete;

  QtFormView& Main() const { return *views_.front(); }
  // The view of a window, made now if it has none yet.
  QtFormView& Of(ui::Form& form);

 private:
  ui::Application& app_;
  std::vector<std::unique_ptr<QtFormView>> views_;
};

}  // namespace qtui
