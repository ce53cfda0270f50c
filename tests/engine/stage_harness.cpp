#include "tests/engine/stage_harness.h"

#include <cmath>

#include "engine/ring_buffer.h"
#include "engine/run_messages.h"
#include "engine/stage_threads.h"
#include "platform/core/ticks.h"

SettingsScope::SettingsScope()
    : m_freq(g_nFreqIndex),
      m_bits(g_nLameBitsIndex),
      m_channel(g_nLameChannel),
      m_same(g_bSameAsSrc),
      m_dir(g_strDesDir) {}

SettingsScope::~SettingsScope() {
  g_nFreqIndex = m_freq;
  g_nLameBitsIndex = m_bits;
  g_nLameChannel = m_channel;
  g_bSameAsSrc = m_same;
  g_strDesDir = m_dir;
}

StageRun::StageRun() : window(DecodeRunMessage), run(&window) {
  CreateSampleBuffers();
  for (auto* buffer : {g_pDecodedSamples, g_pConvertedSamples}) {
    buffer->m_nWrite = 0;
    buffer->m_anRead[0] = 0;
  }
  g_pConvProg = &run;
  run.m_bRunning = 1;
}

StageRun::~StageRun() {
  run.m_bRunning = 0;
  m_release = 1;
  Wait();
  g_pConvProg = nullptr;
}

CConversionTask StageRun::MakeTask(const ToneSource& source, const std::string& folder,
                                   const std::string& name, std::uint8_t flags,
                                   const TagTexts& tags) {
  g_bSameAsSrc = 1;
  CConversionTask task =
      BuildTask(folder, name, source.rate, source.channels,
                static_cast<std::uint64_t>(source.frames) * source.channels, flags, tags);
  run.m_nSamplesTotalAll = run.m_nSamplesTotalAll + task.m_nExpectedSamples;
  return task;
}

void StageRun::Start(CConversionTask* task, const ToneSource& source) {
  task->m_bDecoding = 1;
  run.m_pConverterThread.Clear();
  run.m_pEncoderThread.Clear();
  if (task->m_bNeedsConversion) {
    task->m_pEncoderInput = g_pConvertedSamples;
    StartStageThread(run.m_pConverterThread, [task] { return ConvertThreadProc(task); });
  } else {
    task->m_pEncoderInput = g_pDecodedSamples;
    StartStageThread(run.m_pEncoderThread, [task] { return EncoderThreadProc(task); });
  }

  m_producer = platform::WorkerThread::Create([this, task, source] {
    const std::uint32_t block = 1024;
    std::vector<int> samples(static_cast<std::size_t>(block) * source.channels);
    std::uint32_t done = 0;
    while (done < source.frames && run.m_bRunning) {
      if (source.holdAfter && done >= source.holdAfter && !m_release) {
        platform::Sleep(1);
        continue;
      }
      std::uint32_t n = std::min(block, source.frames - done);
      if (source.holdAfter && done < source.holdAfter) n = std::min(n, source.holdAfter - done);
      for (std::uint32_t i = 0; i < n; ++i) {
        double x = source.amplitude * std::sin(2 * M_PI * 1000.0 * (done + i) / source.rate);
        for (std::uint32_t c = 0; c < source.channels; ++c)
          samples[i * source.channels + c] = static_cast<int>(std::lround(x * 2147483647.0));
      }
      const std::uint32_t k = n * source.channels;
      while (g_pDecodedSamples->GetWritable() < k && run.m_bRunning) platform::Sleep(1);
      if (!run.m_bRunning) break;
      g_pDecodedSamples->Write(samples.data(), k);
      done += n;
    }
    task->m_bDecoding = 0;
    return 0u;
  });
  m_producer->Start();
}

void StageRun::Wait() {
  if (m_producer) m_producer->Wait(platform::INFINITE);
  run.WaitForThreads();
}

std::vector<std::pair<std::string, int>> StageRun::Log() const {
  std::vector<std::pair<std::string, int>> lines;
  for (const auto& m : window.Messages(platform::RecordedMessage::Kind::Posted))
    if (m.msg == WM_CONV_LOG) lines.emplace_back(m.text, static_cast<int>(m.values.at(0)));
  return lines;
}

std::vector<std::vector<double>> StageRun::Progress(platform::RecordedMessage::Kind kind) const {
  std::vector<std::vector<double>> reports;
  for (const auto& m : window.Messages(kind))
    if (m.msg == WM_CONV_PROGRESS) reports.push_back(m.values);
  return reports;
}

bool WaitUntil(const std::function<bool()>& cond, unsigned timeoutMs) {
  const std::uint32_t start = platform::GetTickCount();
  while (!cond()) {
    if (platform::GetTickCount() - start > timeoutMs) return false;
    platform::Sleep(1);
  }
  return true;
}
