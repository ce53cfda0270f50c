#pragma once
// A message target for tests: it records everything it receives, in order.
// Posted messages are recorded on arrival; sent messages, texts and timers on
// the owner thread, as a window would see them.
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "platform/core/message_target.h"

namespace platform {

struct RecordedMessage {
  enum class Kind { Posted, Sent, WindowText, DlgItemText, SetTimer, KillTimer };
  Kind kind = Kind::Posted;
  unsigned msg = 0;      // message number, or timer id / control id
  WPARAM wParam = 0;     // raw values; payload pointers are already freed
  LPARAM lParam = 0;
  std::string text;      // decoded text payload, window or control text
  std::vector<double> values;  // decoded numeric payload
  bool onOwnerThread = false;
};

class RecordingTarget : public MessageTarget {
 public:
  // Turns a message's payload into text and values and frees it (the receiver's duty).
  using Decoder = std::function<void(RecordedMessage&)>;
  // Runs on the owner thread for each sent message, before it is recorded.
  using SendHook = std::function<LRESULT(const RecordedMessage&)>;

  explicit RecordingTarget(Decoder decoder = {});
  ~RecordingTarget() override;

  void SetSendHook(SendHook hook);
  std::vector<RecordedMessage> Messages() const;
  std::vector<RecordedMessage> Messages(RecordedMessage::Kind kind) const;
  void Clear();

 protected:
  void QueuePosted(unsigned msg, WPARAM wParam, LPARAM lParam) override;
  LRESULT HandleMessage(unsigned msg, WPARAM wParam, LPARAM lParam) override;
  void DoSetWindowText(const std::string& text) override;
  void DoSetDlgItemText(int id, const std::string& text) override;
  void DoSetTimer(unsigned id, unsigned periodMs) override;
  void DoKillTimer(unsigned id) override;

 private:
  void Record(RecordedMessage message, bool decode);

  Decoder m_decoder;
  SendHook m_sendHook;
  mutable std::mutex m_mutex;
  std::vector<RecordedMessage> m_messages;
};

}  // namespace platform
