#pragma once
// The program's icon, drawn in code (the same picture as resources/korvane.svg,
// which the desktop uses), so no image plug-in is needed.
#include <QIcon>

namespace platform {

QIcon AppIcon();

// Names the application for the profile, the desktop entry and the window
// icon, and makes the calling thread the UI thread. Call once after the
// QApplication is created.
void InitUiApplication();

}  // namespace platform
