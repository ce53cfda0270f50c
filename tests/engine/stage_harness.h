#pragma once
// Runs the conversion and encode stages of one task the way the decode stage
// starts them, with a test producer in the decoder's place: it writes a
// 1 kHz tone into g_pDecodedSamples with the real polling protocol.
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/conversion_task.h"
#include "engine/encoder_settings.h"
#include "engine/run_state.h"
#include "platform/core/recording_target.h"
#include "platform/core/worker_thread.h"

// The settings a test changes, put back when it ends.
class SettingsScope {
 public:
  SettingsScope();
  ~SettingsScope();

 private:
  std::int16_t m_freq, m_bits, m_channel;
  int m_same;
  std::string m_dir;
};

// The tone the producer writes: amplitude (full scale 1) on every channel.
struct ToneSource {
  std::uint32_t rate = 44100;
  std::uint32_t channels = 2;
  std::uint32_t frames = 0;  // samples per channel
  double amplitude = 0.5;
  // Frames written before the producer waits for Release(); 0: no stop.
  std::uint32_t holdAfter = 0;
};

class StageRun {
 public:
  StageRun();
  ~StageRun();

  // A task as the main window builds it (current settings) for a source in
  // folder with the given name.
  CConversionTask MakeTask(const ToneSource& source, const std::string& folder,
                           const std::string& name, std::uint8_t flags = 0,
                           const TagTexts& tags = {});

  // Starts the task's stage thread as the decode stage does and the producer.
  void Start(CConversionTask* task, const ToneSource& source);
  // Lets a held producer go on.
  void Release() { m_release = 1; }
  // Waits for the producer and every stage thread, serving the window meanwhile.
  void Wait();
  // Start and Wait.
  void Run(CConversionTask* task, const ToneSource& source) {
    Start(task, source);
    Wait();
  }

  // Log lines with severity, in order.
  std::vector<std::pair<std::string, int>> Log() const;
  // Progress reports: posted ones, and the sent (final) ones.
  std::vector<std::vector<double>> Progress(platform::RecordedMessage::Kind kind) const;

  platform::RecordingTarget window;
  CRunState run;

 private:
  std::shared_ptr<platform::WorkerThread> m_producer;
  std::atomic<int> m_release{0};
};

// Polls cond every millisecond for up to timeoutMs.
bool WaitUntil(const std::function<bool()>& cond, unsigned timeoutMs = 10000);
