#include "platform/ui/ui_thread.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QString>
#include <atomic>

#include "platform/core/message_box.h"
#include "platform/core/thread_inbox.h"
#include "platform/ui/message_window.h"
#include "platform/ui/ui_message_box.h"

namespace platform {

namespace {

// One wake-up event in the queue is enough: serving empties the whole inbox.
std::atomic<bool> g_wakePending{false};
// Carries InvokeOnUiThread calls; lives as long as the application object.
std::atomic<MessageWindow*> g_invoker{nullptr};
bool g_initialised = false;  // UI thread only

void ServeFromEventLoop() {
  g_wakePending = false;
  ServeSentMessages();
}

void WakeEventLoop() {
  if (g_wakePending.exchange(true)) return;
  if (QCoreApplication* app = QCoreApplication::instance())
    QMetaObject::invokeMethod(app, &ServeFromEventLoop, Qt::QueuedConnection);
}

}  // namespace

void InitUiThread() {
  if (g_initialised) return;
  g_initialised = true;  // before the invoker, whose constructor comes back here
  ThreadInbox::Current()->SetWakeHook(&WakeEventLoop);
  auto* invoker = new MessageWindow;
  invoker->setParent(QCoreApplication::instance());
  g_invoker = invoker;
  QObject::connect(invoker, &QObject::destroyed, [] {
    SetMessageBoxHook(nullptr);
    ThreadInbox::Current()->SetWakeHook(nullptr);
    g_invoker = nullptr;
    g_initialised = false;
  });
  SetMessageBoxHook([](const std::string& text, unsigned flags) {
    return static_cast<int>(InvokeOnUiThread([&] {
      return LRESULT{ShowMessageBox(nullptr, QString::fromStdString(text), flags)};
    }));
  });
}

LRESULT InvokeOnUiThread(std::function<LRESULT()> fn) {
  MessageWindow* invoker = g_invoker;
  if (!invoker) return fn();
  return invoker->Invoke(std::move(fn));
}

}  // namespace platform
