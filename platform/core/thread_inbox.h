#pragma once
// Every thread has an inbox of synchronous calls addressed to it (a window's
// SendMessage, a window-text change from a worker). A thread that blocks in one
// of this layer's waits keeps serving its inbox, so a worker that sends to a
// thread waiting for that very worker cannot deadlock.
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>

#include "platform/core/messages.h"

namespace platform {

class ThreadInbox;

// One synchronous call in flight: run on the receiving thread, awaited by the sender.
struct SentCall {
  std::function<LRESULT()> fn;
  const void* target = nullptr;            // lets a dying target drop its calls
  std::shared_ptr<ThreadInbox> sender;     // woken when the call is done
  bool done = false;                       // guarded by the sender inbox's mutex
  LRESULT result = 0;
};

class ThreadInbox : public std::enable_shared_from_this<ThreadInbox> {
 public:
  // The calling thread's inbox, created on first use.
  static std::shared_ptr<ThreadInbox> Current();

  // Queues a call and wakes the owner; false when the owner thread has ended.
  bool Push(std::shared_ptr<SentCall> call);
  // Runs every queued call on the calling (owner) thread.
  void ServeAll();
  // Waits until done() is true or the deadline passes, serving calls meanwhile.
  // done() is evaluated with the inbox's mutex held; whoever makes it true must
  // call Notify() afterwards. Returns done().
  bool WaitServing(const std::function<bool()>& done,
                   std::chrono::steady_clock::time_point deadline);
  bool WaitServing(const std::function<bool()>& done, unsigned timeoutMs);
  void Notify();
  // Completes every queued call for target with result 0 (the target is going away).
  void Cancel(const void* target);
  // Marks the inbox closed (its thread ends) and completes what is queued with 0.
  void Close();
  // Hook run on the pushing thread after a push, for event loops that must be
  // woken to serve the inbox (a UI thread sleeping in its event loop).
  void SetWakeHook(std::function<void()> hook);

  std::mutex& Mutex() { return m_mutex; }

 private:
  static void Complete(const std::shared_ptr<SentCall>& call, LRESULT result);

  std::mutex m_mutex;
  std::condition_variable m_cv;
  std::deque<std::shared_ptr<SentCall>> m_queue;
  std::function<void()> m_wakeHook;
  bool m_closed = false;
};

// Serves the calling thread's pending synchronous calls (for event loops).
void ServeSentMessages();

}  // namespace platform
