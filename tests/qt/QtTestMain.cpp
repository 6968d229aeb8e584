// The Qt tests run without a display: the offscreen platform unless the caller chose one
// (test discovery runs the binary without the tests' environment).
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdio>

namespace {

QtMessageHandler g_standard = nullptr;

// The offscreen platform says so each time a window is raised; that is no news to a test.
void QuietMessages(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (message.startsWith(QLatin1String("This plugin does not support"))) return;
  if (g_standard != nullptr)
    g_standard(type, context, message);
  else
    std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  g_standard = qInstallMessageHandler(QuietMessages);
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
