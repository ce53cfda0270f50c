#pragma once
// A window as the engine's threads see it, on a Qt event loop. Posted messages
// become queued events; sends from other threads are served by the UI thread
// (the inbox wake-up, see ui_thread.h); texts and timers land on the owning
// widget. Create it on the UI thread.
#include <QObject>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <map>

#include "platform/core/message_target.h"

class QTimer;

namespace platform {

inline constexpr unsigned WM_TIMER = 0x0113;  // wParam: the timer id

class MessageWindow : public QObject, public MessageTarget {
  Q_OBJECT
 public:
  // Runs on the UI thread for posted and sent messages and WM_TIMER ticks. It
  // owns the payload of every message it is given and frees what it ignores.
  using Handler = std::function<LRESULT(unsigned msg, WPARAM wParam, LPARAM lParam)>;

  explicit MessageWindow(QWidget* owner = nullptr, Handler handler = {});
  ~MessageWindow() override;

  void SetHandler(Handler handler) { m_handler = std::move(handler); }
  QWidget* Owner() const { return m_owner; }

 protected:
  bool event(QEvent* e) override;
  void QueuePosted(unsigned msg, WPARAM wParam, LPARAM lParam) override;
  LRESULT HandleMessage(unsigned msg, WPARAM wParam, LPARAM lParam) override;
  void DoSetWindowText(const std::string& text) override;
  void DoSetDlgItemText(int id, const std::string& text) override;
  void DoSetTimer(unsigned id, unsigned periodMs) override;
  void DoKillTimer(unsigned id) override;

 private:
  QPointer<QWidget> m_owner;
  Handler m_handler;
  std::map<unsigned, QTimer*> m_timers;
};

}  // namespace platform
