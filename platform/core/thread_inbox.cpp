#include "platform/core/thread_inbox.h"

namespace platform {

namespace {
// Closes the inbox when its thread ends, so senders are not left waiting forever.
struct InboxHolder {
  std::shared_ptr<ThreadInbox> inbox = std::make_shared<ThreadInbox>();
  ~InboxHolder() { inbox->Close(); }
};
}  // namespace

std::shared_ptr<ThreadInbox> ThreadInbox::Current() {
  thread_local InboxHolder holder;
  return holder.inbox;
}

void ThreadInbox::Complete(const std::shared_ptr<SentCall>& call, LRESULT result) {
  auto sender = call->sender;
  {
    std::lock_guard lock(sender->m_mutex);
    call->result = result;
    call->done = true;
  }
  sender->m_cv.notify_all();
}

bool ThreadInbox::Push(std::shared_ptr<SentCall> call) {
  std::function<void()> wake;
  {
    std::lock_guard lock(m_mutex);
    if (m_closed) return false;
    m_queue.push_back(std::move(call));
    wake = m_wakeHook;
  }
  m_cv.notify_all();
  if (wake) wake();
  return true;
}

void ThreadInbox::ServeAll() {
  for (;;) {
    std::shared_ptr<SentCall> call;
    {
      std::lock_guard lock(m_mutex);
      if (m_queue.empty()) return;
      call = std::move(m_queue.front());
      m_queue.pop_front();
    }
    Complete(call, call->fn());
  }
}

bool ThreadInbox::WaitServing(const std::function<bool()>& done,
                              std::chrono::steady_clock::time_point deadline) {
  std::unique_lock lock(m_mutex);
  for (;;) {
    while (!m_queue.empty()) {
      auto call = std::move(m_queue.front());
      m_queue.pop_front();
      lock.unlock();
      Complete(call, call->fn());
      lock.lock();
    }
    if (done()) return true;
    if (m_cv.wait_until(lock, deadline) == std::cv_status::timeout && m_queue.empty())
      return done();
  }
}

bool ThreadInbox::WaitServing(const std::function<bool()>& done, unsigned timeoutMs) {
  auto deadline = timeoutMs == INFINITE
                      ? std::chrono::steady_clock::time_point::max()
                      : std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  return WaitServing(done, deadline);
}

void ThreadInbox::Notify() {
  { std::lock_guard lock(m_mutex); }
  m_cv.notify_all();
}

void ThreadInbox::Cancel(const void* target) {
  std::deque<std::shared_ptr<SentCall>> dropped;
  {
    std::lock_guard lock(m_mutex);
    for (auto it = m_queue.begin(); it != m_queue.end();) {
      if ((*it)->target == target) {
        dropped.push_back(std::move(*it));
        it = m_queue.erase(it);
      } else {
        ++it;
      }
    }
  }
  for (auto& call : dropped) Complete(call, 0);
}

void ThreadInbox::Close() {
  std::deque<std::shared_ptr<SentCall>> dropped;
  {
    std::lock_guard lock(m_mutex);
    m_closed = true;
    dropped.swap(m_queue);
  }
  for (auto& call : dropped) Complete(call, 0);
}

void ThreadInbox::SetWakeHook(std::function<void()> hook) {
  std::lock_guard lock(m_mutex);
  m_wakeHook = std::move(hook);
}

void ServeSentMessages() { ThreadInbox::Current()->ServeAll(); }

}  // namespace platform
