#pragma once
// Worker threads as the conversion pipeline uses them: created, recorded where
// others can wait for them, then started. A thread is never killed; a waiter
// that gives up makes the thread's loop stop (the run flag) and waits again.
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/core/messages.h"
#include "platform/core/thread_inbox.h"

namespace platform {

class WorkerThread {
 public:
  using Proc = std::function<unsigned()>;

  // A thread that has not started yet; Start() runs proc on it.
  static std::shared_ptr<WorkerThread> Create(Proc proc);
  ~WorkerThread();
  WorkerThread(const WorkerThread&) = delete;
  WorkerThread& operator=(const WorkerThread&) = delete;

  void Start();
  // Waits until the thread has ended (true) or timeoutMs passed (false); INFINITE
  // waits for good. The waiting thread keeps serving the synchronous calls sent
  // to it meanwhile. A thread that was never started counts as ended.
  bool Wait(unsigned timeoutMs);
  bool IsFinished() const;
  unsigned ExitCode() const;

 private:
  struct State {
    std::atomic<bool> finished{false};
    std::atomic<unsigned> exitCode{0};
    std::mutex mutex;
    std::vector<std::shared_ptr<ThreadInbox>> waiters;
  };
  explicit WorkerThread(Proc proc);

  Proc m_proc;
  std::shared_ptr<State> m_state;
  std::thread m_thread;
  std::atomic<bool> m_started{false};
};

// Holds the thread a stage records for others to wait on. Stages fill it from
// their own thread while the controller or the dialog reads it.
class ThreadSlot {
 public:
  void Set(std::shared_ptr<WorkerThread> thread);
  std::shared_ptr<WorkerThread> Get() const;
  void Clear();
  explicit operator bool() const { return Get() != nullptr; }

 private:
  mutable std::mutex m_mutex;
  std::shared_ptr<WorkerThread> m_thread;
};

}  // namespace platform
