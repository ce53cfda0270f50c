#include "engine/encode_stage.h"

#include <cerrno>
#include <cstdio>
#include <memory>
#include <vector>

#include "engine/encoder_settings.h"
#include "engine/lame_loader.h"
#include "engine/run_messages.h"
#include "engine/run_state.h"
#include "engine/tag_transfer.h"
#include "platform/core/c_file.h"
#include "platform/core/message_box.h"
#include "platform/core/text.h"
#include "platform/core/ticks.h"

using platform::GetTickCount;
using platform::StrPrintf;

namespace {

// Maps the 32-bit sample scale onto the encoder's 16-bit one.
constexpr float kTo16Bit = 1.0f / 65536.0f;

float Percent(std::uint64_t done, std::uint64_t total) {
  if (total == 0) return 0.0f;
  return static_cast<float>(static_cast<long double>(done) * 100.0L / static_cast<long double>(total));
}

void ReportProgress(CRunState* run, const CConversionTask* task, bool final) {
  float taskPercent = Percent(run->m_nSamplesDoneTask, task->m_nExpectedSamples);
  float runPercent = Percent(run->m_nSamplesDoneAll, run->m_nSamplesTotalAll);
  if (final)
    SendConvProgress(run->m_pWnd, taskPercent, runPercent);
  else
    PostConvProgress(run->m_pWnd, taskPercent, runPercent);
}

void Fail(CRunState* run, const std::string& line) {
  run->Log(LOG_ERROR, line);
  run->m_bRunning = 0;
}

std::int32_t ModeFor(const CConversionTask* task) {
  if (task->m_nChannels == 1) return LAME_ENC_MODE_MONO;
  switch (g_nLameChannel) {
    case CHANNEL_STEREO: return LAME_ENC_MODE_STEREO;
    case CHANNEL_DUAL: return LAME_ENC_MODE_DUAL_CHANNEL;
    default: return LAME_ENC_MODE_JOINT_STEREO;
  }
}

EncoderConfig MakeConfig(const CConversionTask* task) {
  EncoderConfig config{};
  config.kind = LAME_ENC_CONFIG_EXTENDED;
  config.version = LAME_ENC_CONFIG_VERSION;
  config.size = LAME_ENC_CONFIG_SIZE;
  config.sampleRate = task->m_nSampleRate;
  config.outputSampleRate = 0;
  config.mode = ModeFor(task);
  int index = g_nLameBitsIndex >= 0 && g_nLameBitsIndex < kBitrateCount ? g_nLameBitsIndex : 11;
  config.bitRate = static_cast<std::uint32_t>(g_anBitrates[index]);
  config.preset = -1;
  config.mpegVersion = 1;
  config.infoHeader = 1;
  config.noReservoir = 1;
  config.quality = LAME_ENC_QUALITY_WORD(g_nLameQuality);
  return config;
}

using platform::FilePtr;

// Appends bytes to the file; false (after logging) when fewer were written.
bool WriteOut(CRunState* run, std::FILE* file, const std::uint8_t* data, std::uint32_t n) {
  if (n == 0 || std::fwrite(data, 1, n, file) == n) return true;
  Fail(run, "Output file write error");
  return false;
}

// The encoding proper. created tells whether this call made the destination
// file; the tag step only ever touches a file the encoder made.
int Encode(CConversionTask* task, CRunState* run, bool* created) {
  *created = false;
  LameEncoder lame;
  switch (LoadLameEncoder(&lame)) {
    case LameLoadResult::NoModule:
      Fail(run, "Error loading lame_enc.dll");
      platform::MessageBox("Error Loading Lame_enc.dll", platform::MB_OK | platform::MB_ICONERROR);
      return 0;
    case LameLoadResult::NoInterfaces:
      Fail(run, "Unable to get LAME interfaces");
      platform::MessageBox("Unable to Get LAME Interfaces", platform::MB_OK | platform::MB_ICONERROR);
      return 0;
    case LameLoadResult::Loaded: break;
  }

  EncoderConfig config = MakeConfig(task);

  // Created exclusively: a file that appeared since the controller chose the
  // name belongs to someone else and is never truncated.
  FilePtr file(std::fopen(task->m_strDest.c_str(), "w+bxe"));
  if (!file) {
    Fail(run, StrPrintf("Error creating file %s", task->m_strDest.c_str()));
    return 1;
  }
  *created = true;

  std::uint32_t samplesPerChunk = 0, bufferSize = 0;
  EncoderStream* stream = nullptr;
  std::uint32_t result = lame.initStream(&config, &samplesPerChunk, &bufferSize, &stream, 0, 0, "",
                                         "", "", "", "", "", "", 0, 1, 30, 5, 16000, 2400);
  if (result != 0) {
    Fail(run, StrPrintf("Error opening encoding stream (%lu)", static_cast<unsigned long>(result)));
    lame.closeStream(stream);
    return 1;
  }

  const bool stereo = task->m_nChannels == 2;
  std::vector<std::uint8_t> output(bufferSize);
  std::vector<int> ints(samplesPerChunk);
  std::vector<float> left(stereo ? samplesPerChunk / 2 : samplesPerChunk);
  std::vector<float> right(stereo ? samplesPerChunk / 2 : 0);
  RingBuffer<int, 1>* input = task->m_pEncoderInput;
  std::uint32_t request = samplesPerChunk;
  std::uint32_t lastReport = GetTickCount();

  while (run->m_bRunning) {
    if (run->m_bPaused) {
      platform::Sleep(100);
      continue;
    }
    if (GetTickCount() - lastReport > 100) {
      lastReport = GetTickCount();
      ReportProgress(run, task, false);
    }
    std::uint32_t n = request;
    if (!input || input->GetReadable(0) < n) {
      if (task->m_bDecoding || task->m_bConverting) {
        platform::Sleep(1);
        continue;
      }
      // The producer has finished; what it wrote before saying so is all
      // visible now, so look again rather than trust the count read above.
      std::uint32_t available = input ? input->GetReadable(0) : 0;
      if (available < n) {
        request = 0;
        n = available;
      }
    }
    if (input) input->Read(ints.data(), n, 0);

    std::uint32_t bytes = 0;
    if (stereo) {
      std::uint32_t frames = n / 2;
      for (std::uint32_t i = 0; i < frames; ++i) {
        left[i] = static_cast<float>(ints[2 * i]) * kTo16Bit;
        right[i] = static_cast<float>(ints[2 * i + 1]) * kTo16Bit;
      }
      result = lame.encodeChunk(stream, frames, left.data(), right.data(), output.data(), &bytes);
    } else {
      for (std::uint32_t i = 0; i < n; ++i) left[i] = static_cast<float>(ints[i]) * kTo16Bit;
      result = lame.encodeChunk(stream, n, left.data(), nullptr, output.data(), &bytes);
    }
    if (result != 0) {
      lame.closeStream(stream);
      Fail(run, StrPrintf("beEncodeChunk() failed (%lu)", static_cast<unsigned long>(result)));
      return 1;
    }
    WriteOut(run, file.get(), output.data(), bytes);

    run->m_nSamplesDoneTask += n;
    run->m_nSamplesDoneAll += n;
    float seconds = task->GetSeconds(n);
    run->m_fSecondsDoneAll = run->m_fSecondsDoneAll + seconds;
    run->m_fSecondsDoneTask = run->m_fSecondsDoneTask + seconds;
    if (request == 0) break;
  }

  std::uint32_t bytes = 0;
  result = lame.deinitStream(stream, output.data(), &bytes);
  if (result != 0) {
    lame.closeStream(stream);
    Fail(run, StrPrintf("beExitStream failed (%lu)", static_cast<unsigned long>(result)));
    return 1;
  }
  bool written = WriteOut(run, file.get(), output.data(), bytes);
  lame.closeStream(stream);
  // Buffered bytes reach the disk only here; a full disk shows up now.
  if (std::fclose(file.release()) != 0 && written) Fail(run, "Output file write error");

  if (lame.writeInfoTag)
    lame.writeInfoTag(stream, task->m_strDest.c_str());
  else
    lame.writeVbrHeader(task->m_strDest.c_str());

  ReportProgress(run, task, true);
  return 1;
}

}  // namespace

int EncodeTask(CConversionTask* task) {
  CRunState* run = g_pConvProg;
  if (!run) return 0;
  bool created = false;
  return Encode(task, run, &created);
}

int RunEncoder(CConversionTask* task) {
  CRunState* run = g_pConvProg;
  if (!run) return 0;
  task->m_bEncoding = 1;
  int result = 0;
  try {
    bool created = false;
    result = Encode(task, run, &created);
    if (created)
      WriteTags(task);
    else
      ReportTagFailure(task);
  } catch (...) {
    Fail(run, StrPrintf("An error occurred while encoding %s", task->m_strDest.c_str()));
    result = 0;
  }
  task->m_bEncoding = 0;
  return result;
}
