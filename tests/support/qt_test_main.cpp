// main() of the UI tests: a QApplication on the offscreen platform (unless the
// caller chose one, e.g. a real X server for screenshots) and a configuration
// folder of the test's own, so the profile never touches the user's.
#include <gtest/gtest.h>

#include <QApplication>

#include "platform/ui/app_icon.h"
#include "tests/support/temp_dir.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  TempDir config;
  qputenv("XDG_CONFIG_HOME", config.path().c_str());
  QApplication app(argc, argv);
  platform::InitUiApplication();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
