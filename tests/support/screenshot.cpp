#include "tests/support/screenshot.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QWidget>

void SaveScreenshot(QWidget& widget, const char* name) {
  const QString dir = qEnvironmentVariable("KORVANE_SCREENSHOT_DIR");
  if (dir.isEmpty()) return;
  QDir().mkpath(dir);
  QApplication::processEvents();
  widget.grab().save(dir + QLatin1Char('/') + QLatin1String(name) + QStringLiteral(".png"));
}
