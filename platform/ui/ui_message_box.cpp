#include "platform/ui/ui_message_box.h"

#include <QApplication>
#include <QMessageBox>

namespace platform {

namespace {

MessageBoxAnswerHook g_answerHook;

QMessageBox::StandardButtons Buttons(unsigned flags) {
  switch (flags & 0xF) {
    case MB_OKCANCEL: return QMessageBox::Ok | QMessageBox::Cancel;
    case MB_YESNOCANCEL: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case MB_YESNO: return QMessageBox::Yes | QMessageBox::No;
    default: return QMessageBox::Ok;
  }
}

QMessageBox::Icon Icon(unsigned flags) {
  switch (flags & 0xF0) {
    case MB_ICONERROR: return QMessageBox::Critical;
    case MB_ICONQUESTION: return QMessageBox::Question;
    case MB_ICONWARNING: return QMessageBox::Warning;
    case MB_ICONINFORMATION: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
  }
}

int Answer(int button) {
  switch (button) {
    case QMessageBox::Yes: return IDYES;
    case QMessageBox::No: return IDNO;
    case QMessageBox::Cancel: return IDCANCEL;
    default: return IDOK;
  }
}

}  // namespace

int ShowMessageBox(QWidget* parent, const QString& text, unsigned flags) {
  if (g_answerHook) return g_answerHook(text, flags);
  if (!parent) parent = QApplication::activeWindow();
  const QString title = QStringLiteral("Korvane");
  QMessageBox box(Icon(flags), title, text, Buttons(flags), parent);
  return Answer(box.exec());
}

void SetMessageBoxAnswerHook(MessageBoxAnswerHook hook) { g_answerHook = std::move(hook); }

}  // namespace platform
