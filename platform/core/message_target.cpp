#include "platform/core/message_target.h"

namespace platform {

MessageTarget::MessageTarget()
    : m_inbox(ThreadInbox::Current()), m_owner(std::this_thread::get_id()) {}

MessageTarget::~MessageTarget() { m_inbox->Cancel(this); }

void MessageTarget::PostMessage(unsigned msg, WPARAM wParam, LPARAM lParam) {
  QueuePosted(msg, wParam, lParam);
}

LRESULT MessageTarget::SendMessage(unsigned msg, WPARAM wParam, LPARAM lParam) {
  return Invoke([=, this] { return HandleMessage(msg, wParam, lParam); });
}

LRESULT MessageTarget::Invoke(std::function<LRESULT()> fn) {
  if (IsOwnerThread()) return fn();
  auto call = std::make_shared<SentCall>();
  call->fn = std::move(fn);
  call->target = this;
  call->sender = ThreadInbox::Current();
  if (!m_inbox->Push(call)) return 0;
  call->sender->WaitServing([&] { return call->done; }, INFINITE);
  return call->result;
}

void MessageTarget::SetWindowText(const std::string& text) {
  Invoke([&] { DoSetWindowText(text); return LRESULT{0}; });
}

void MessageTarget::SetDlgItemText(int id, const std::string& text) {
  Invoke([&] { DoSetDlgItemText(id, text); return LRESULT{0}; });
}

void MessageTarget::SetTimer(unsigned id, unsigned periodMs) {
  Invoke([&] { DoSetTimer(id, periodMs); return LRESULT{0}; });
}

void MessageTarget::KillTimer(unsigned id) {
  Invoke([&] { DoKillTimer(id); return LRESULT{0}; });
}

}  // namespace platform
