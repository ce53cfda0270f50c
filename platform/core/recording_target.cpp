#include "platform/core/recording_target.h"

namespace platform {

RecordingTarget::RecordingTarget(Decoder decoder) : m_decoder(std::move(decoder)) {}

RecordingTarget::~RecordingTarget() = default;

void RecordingTarget::SetSendHook(SendHook hook) {
  std::lock_guard lock(m_mutex);
  m_sendHook = std::move(hook);
}

void RecordingTarget::Record(RecordedMessage message, bool decode) {
  message.onOwnerThread = IsOwnerThread();
  if (decode && m_decoder)
    m_decoder(message);
  else if (decode && Releaser())
    Releaser()(message.msg, message.wParam, message.lParam);
  std::lock_guard lock(m_mutex);
  m_messages.push_back(std::move(message));
}

void RecordingTarget::QueuePosted(unsigned msg, WPARAM wParam, LPARAM lParam) {
  Record({RecordedMessage::Kind::Posted, msg, wParam, lParam, {}, {}, false}, true);
}

LRESULT RecordingTarget::HandleMessage(unsigned msg, WPARAM wParam, LPARAM lParam) {
  RecordedMessage message{RecordedMessage::Kind::Sent, msg, wParam, lParam, {}, {}, false};
  SendHook hook;
  {
    std::lock_guard lock(m_mutex);
    hook = m_sendHook;
  }
  LRESULT result = hook ? hook(message) : 0;
  Record(std::move(message), true);
  return result;
}

void RecordingTarget::DoSetWindowText(const std::string& text) {
  Record({RecordedMessage::Kind::WindowText, 0, 0, 0, text, {}, false}, false);
}

void RecordingTarget::DoSetDlgItemText(int id, const std::string& text) {
  Record({RecordedMessage::Kind::DlgItemText, static_cast<unsigned>(id), 0, 0, text, {}, false},
         false);
}

void RecordingTarget::DoSetTimer(unsigned id, unsigned periodMs) {
  Record({RecordedMessage::Kind::SetTimer, id, periodMs, 0, {}, {}, false}, false);
}

void RecordingTarget::DoKillTimer(unsigned id) {
  Record({RecordedMessage::Kind::KillTimer, id, 0, 0, {}, {}, false}, false);
}

std::vector<RecordedMessage> RecordingTarget::Messages() const {
  std::lock_guard lock(m_mutex);
  return m_messages;
}

std::vector<RecordedMessage> RecordingTarget::Messages(RecordedMessage::Kind kind) const {
  std::lock_guard lock(m_mutex);
  std::vector<RecordedMessage> out;
  for (const auto& m : m_messages)
    if (m.kind == kind) out.push_back(m);
  return out;
}

void RecordingTarget::Clear() {
  std::lock_guard lock(m_mutex);
  m_messages.clear();
}

}  // namespace platform
