#include "platform/core/worker_thread.h"

#include <algorithm>

namespace platform {

std::shared_ptr<WorkerThread> WorkerThread::Create(Proc proc) {
  return std::shared_ptr<WorkerThread>(new WorkerThread(std::move(proc)));
}

WorkerThread::WorkerThread(Proc proc)
    : m_proc(std::move(proc)), m_state(std::make_shared<State>()) {}

WorkerThread::~WorkerThread() {
  if (!m_thread.joinable()) return;
  // The last owner may be the thread itself; it is about to end on its own.
  if (m_thread.get_id() == std::this_thread::get_id())
    m_thread.detach();
  else
    m_thread.join();
}

void WorkerThread::Start() {
  if (m_started.exchange(true)) return;
  m_thread = std::thread([proc = std::move(m_proc), state = m_state] {
    unsigned code = proc();
    std::vector<std::shared_ptr<ThreadInbox>> waiters;
    {
      std::lock_guard lock(state->mutex);
      state->exitCode = code;
      state->finished = true;
      waiters = state->waiters;
    }
    for (auto& inbox : waiters) inbox->Notify();
  });
}

bool WorkerThread::Wait(unsigned timeoutMs) {
  if (!m_started) return true;
  auto inbox = ThreadInbox::Current();
  {
    std::lock_guard lock(m_state->mutex);
    if (m_state->finished) return true;
    m_state->waiters.push_back(inbox);
  }
  bool ended = inbox->WaitServing([this] { return m_state->finished.load(); }, timeoutMs);
  {
    std::lock_guard lock(m_state->mutex);
    auto& w = m_state->waiters;
    auto it = std::find(w.begin(), w.end(), inbox);
    if (it != w.end()) w.erase(it);
  }
  return ended;
}

bool WorkerThread::IsFinished() const { return !m_started || m_state->finished; }

unsigned WorkerThread::ExitCode() const { return m_state->exitCode; }

void ThreadSlot::Set(std::shared_ptr<WorkerThread> thread) {
  std::lock_guard lock(m_mutex);
  m_thread = std::move(thread);
}

std::shared_ptr<WorkerThread> ThreadSlot::Get() const {
  std::lock_guard lock(m_mutex);
  return m_thread;
}

void ThreadSlot::Clear() { Set(nullptr); }

}  // namespace platform
