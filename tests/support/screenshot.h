#pragma once
// Saves a picture of a widget as name.png into $KORVANE_SCREENSHOT_DIR, when
// that variable is set (make screenshots); otherwise does nothing.
class QWidget;

void SaveScreenshot(QWidget& widget, const char* name);
