#include "platform/ui/message_window.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>

#include "platform/ui/dialog_template.h"
#include "platform/ui/ui_thread.h"

namespace platform {

namespace {

const QEvent::Type kPostedMessageEvent = static_cast<QEvent::Type>(QEvent::registerEventType());

// A posted message in the Qt queue. When the window goes away with the event
// still queued, Qt deletes the event, and the payload goes with it.
class PostedMessageEvent : public QEvent {
 public:
  PostedMessageEvent(unsigned msg, WPARAM wParam, LPARAM lParam, PayloadReleaser releaser)
      : QEvent(kPostedMessageEvent), msg(msg), wParam(wParam), lParam(lParam), releaser(releaser) {}
  ~PostedMessageEvent() override {
    if (!delivered && releaser) releaser(msg, wParam, lParam);
  }

  const unsigned msg;
  const WPARAM wParam;
  const LPARAM lParam;
  const PayloadReleaser releaser;
  bool delivered = false;
};

}  // namespace

MessageWindow::MessageWindow(QWidget* owner, Handler handler)
    : m_owner(owner), m_handler(std::move(handler)) {
  InitUiThread();
}

MessageWindow::~MessageWindow() = default;

bool MessageWindow::event(QEvent* e) {
  if (e->type() != kPostedMessageEvent) return QObject::event(e);
  auto* posted = static_cast<PostedMessageEvent*>(e);
  posted->delivered = true;  // from here on the handler owns the payload
  HandleMessage(posted->msg, posted->wParam, posted->lParam);
  return true;
}

void MessageWindow::QueuePosted(unsigned msg, WPARAM wParam, LPARAM lParam) {
  QCoreApplication::postEvent(this, new PostedMessageEvent(msg, wParam, lParam, Releaser()));
}

LRESULT MessageWindow::HandleMessage(unsigned msg, WPARAM wParam, LPARAM lParam) {
  if (m_handler) return m_handler(msg, wParam, lParam);
  if (Releaser()) Releaser()(msg, wParam, lParam);
  return 0;
}

void MessageWindow::DoSetWindowText(const std::string& text) {
  if (m_owner) m_owner->setWindowTitle(QString::fromStdString(text));
}

void MessageWindow::DoSetDlgItemText(int id, const std::string& text) {
  if (m_owner) SetItemText(m_owner, id, QString::fromStdString(text));
}

void MessageWindow::DoSetTimer(unsigned id, unsigned periodMs) {
  QTimer*& timer = m_timers[id];
  if (!timer) {
    timer = new QTimer(this);
    QObject::connect(timer, &QTimer::timeout, this, [this, id] { HandleMessage(WM_TIMER, id, 0); });
  }
  timer->start(static_cast<int>(periodMs));
}

void MessageWindow::DoKillTimer(unsigned id) {
  auto it = m_timers.find(id);
  if (it == m_timers.end()) return;
  // The tick that asks for the kill may be running inside this very timer.
  it->second->stop();
  it->second->deleteLater();
  m_timers.erase(it);
}

}  // namespace platform
