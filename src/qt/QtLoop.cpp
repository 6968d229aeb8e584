#include "qt/QtLoop.h"

#include <time.h>

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QEventLoop>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include "qt/QtDialogs.h"
#include "qt/QtFormView.h"
#include "ui/Form.h"
#include "ui/Ref.h"
#include "ui/Timer.h"

namespace qtui {

namespace {

// Runs `until` each time Qt's loop has nothing left to do and is about to wait, and leaves the
// loop once it holds. This catches every way a condition can come true (a click, a timer, posted
// work) without polling.
void SpinUntil(const std::function<bool()>& until) {
  if (until()) return;
  QEventLoop loop;
  QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock,
                   &loop, [&loop, &until] {
                     if (until()) loop.quit();
                   });
  loop.exec();
}

}  // namespace

QtLoop::QtLoop() : context_(std::make_unique<QObject>()) {}

QtLoop::~QtLoop() {
  for (auto& [timer, qtimer] : timers_) delete qtimer;
  timers_.clear();
}

uint32_t QtLoop::TickCount() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  const uint64_t ms =
      static_cast<uint64_t>(ts.tv_sec) * 1000u + static_cast<uint64_t>(ts.tv_nsec) / 1000000u;
  return static_cast<uint32_t>(ms);
}

void QtLoop::Post(std::function<void()> fn) {
  // Queued calls to one receiver arrive in the order they were made, from any thread.
  QMetaObject::invokeMethod(
      context_.get(), [fn = std::move(fn)] { fn(); }, Qt::QueuedConnection);
}

void QtLoop::ProcessMessages() {
  QCoreApplication::processEvents(QEventLoop::AllEvents);
}

int QtLoop::MessageBox(const std::string& caption, const std::string& text, unsigned flags) {
  return ExecMessageBox(QApplication::activeWindow(), caption, text, flags);
}

bool QtLoop::ExecuteFileDialog(ui::FileDialog& dialog) {
  return ExecFileDialog(QApplication::activeWindow(), dialog);
}

int QtLoop::ShowModal(ui::Form& form) {
  const ui::Ref<ui::Form> shown(&form);  // the form may be destroyed while it is shown
  std::unique_ptr<QtFormView> ownView;
  if (form.View() == nullptr) ownView = std::make_unique<QtFormView>(form);
  if (auto* view = dynamic_cast<QtFormView*>(form.View())) view->ShowModalWindow();

  SpinUntil([&] { return !shown || shown->ModalResult() != ui::mrNone; });

  return shown ? shown->ModalResult() : ui::mrCancel;
}

void QtLoop::TimerChanged(ui::Timer& timer) {
  auto it = timers_.find(&timer);
  if (!timer.Active()) {
    if (it != timers_.end()) {
      it->second->stop();
      // The timer may be stopped from its own handler, inside the QTimer's event.
      it->second->deleteLater();
      timers_.erase(it);
    }
    return;
  }
  QTimer* qtimer;
  if (it == timers_.end()) {
    qtimer = new QTimer(context_.get());
    qtimer->setTimerType(Qt::PreciseTimer);
    ui::Timer* model = &timer;
    QObject::connect(qtimer, &QTimer::timeout, qtimer, [model] { model->Fire(); });
    timers_.emplace(&timer, qtimer);
  } else {
    qtimer = it->second;
  }
  // As the platform's timer: a change of interval or handler starts the period afresh.
  qtimer->start(static_cast<int>(std::min<uint32_t>(timer.Interval(), INT32_MAX)));
}

void QtLoop::TimerDestroyed(ui::Timer& timer) {
  auto it = timers_.find(&timer);
  if (it == timers_.end()) return;
  it->second->stop();
  QObject::disconnect(it->second, nullptr, nullptr, nullptr);
  it->second->deleteLater();
  timers_.erase(it);
}

int QtLoop::Run() {
  const auto terminated = [] { return ui::App() == nullptr || ui::App()->Terminated(); };
  if (terminated()) return 0;
  const QMetaObject::Connection check =
      QObject::connect(QAbstractEventDispatcher::instance(),
                       &QAbstractEventDispatcher::aboutToBlock, context_.get(), [terminated] {
                         if (terminated()) QCoreApplication::exit(0);
                       });
  const int rc = QApplication::exec();
  QObject::disconnect(check);
  return rc;
}

ui::Rect ScreenWorkArea() {
  QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return ui::Rect{0, 0, 1024, 768};
  const QRect r = screen->availableGeometry();
  return ui::Rect{r.x(), r.y(), r.width(), r.height()};
}

}  // namespace qtui
