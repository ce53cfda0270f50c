#pragma once
// A window as the engine's threads see it: something to post and send
// messages to, and whose texts and timers can be set from any thread. The
// thread that creates a target owns it; handlers and text changes always run
// on that thread.
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "platform/core/messages.h"
#include "platform/core/thread_inbox.h"

namespace platform {

class MessageTarget {
 public:
  MessageTarget();
  virtual ~MessageTarget();
  MessageTarget(const MessageTarget&) = delete;
  MessageTarget& operator=(const MessageTarget&) = delete;

  // Queues the message for the owner thread and returns at once. The payload
  // passes to the receiver, which frees it even when it ignores the message.
  void PostMessage(unsigned msg, WPARAM wParam = 0, LPARAM lParam = 0);
  // Runs the handler and returns its result: a direct call on the owner
  // thread, otherwise a blocking call carried out on the owner thread.
  LRESULT SendMessage(unsigned msg, WPARAM wParam = 0, LPARAM lParam = 0);

  // Window-text and timer calls, carried out synchronously on the owner thread.
  void SetWindowText(const std::string& text);
  void SetDlgItemText(int id, const std::string& text);
  void SetTimer(unsigned id, unsigned periodMs);
  void KillTimer(unsigned id);

  bool IsOwnerThread() const { return std::this_thread::get_id() == m_owner; }
  // Runs fn on the owner thread and waits for its result.
  LRESULT Invoke(std::function<LRESULT()> fn);

  // Frees payloads of messages that are dropped unhandled (see PayloadReleaser).
  void SetPayloadReleaser(PayloadReleaser releaser) { m_releaser = releaser; }
  PayloadReleaser Releaser() const { return m_releaser; }

 protected:
  // Called on the posting thread; the target queues the message for its owner.
  virtual void QueuePosted(unsigned msg, WPARAM wParam, LPARAM lParam) = 0;
  // The handler, on the owner thread.
  virtual LRESULT HandleMessage(unsigned msg, WPARAM wParam, LPARAM lParam) = 0;
  virtual void DoSetWindowText(const std::string& text) = 0;
  virtual void DoSetDlgItemText(int id, const std::string& text) = 0;
  virtual void DoSetTimer(unsigned id, unsigned periodMs) = 0;
  virtual void DoKillTimer(unsigned id) = 0;

  const std::shared_ptr<ThreadInbox>& OwnerInbox() const { return m_inbox; }

 private:
  std::shared_ptr<ThreadInbox> m_inbox;
  std::thread::id m_owner;
  PayloadReleaser m_releaser = nullptr;
};

}  // namespace platform
