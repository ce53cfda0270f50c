#pragma once
// Message boxes with the engine's flag values (platform/core/message_box.h):
// buttons and icon from the flags, the answer as IDOK, IDCANCEL, IDYES, IDNO.
#include <QString>
#include <functional>

#include "platform/core/message_box.h"

class QWidget;

namespace platform {

// Shows a modal box on the UI thread; the title is the application's name.
int ShowMessageBox(QWidget* parent, const QString& text, unsigned flags = MB_OK);

// Tests answer boxes without showing them: while set, ShowMessageBox calls the
// hook (on the UI thread) and returns its answer.
using MessageBoxAnswerHook = std::function<int(const QString& text, unsigned flags)>;
void SetMessageBoxAnswerHook(MessageBoxAnswerHook hook);

}  // namespace platform
