#include "engine/conversion_stage.h"

#include <sox.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <new>

#include "engine/run_messages.h"
#include "engine/run_state.h"
#include "engine/stage_threads.h"
#include "platform/core/ticks.h"

namespace {

// What the two custom effects need; they run on the conversion thread only.
struct ChainContext {
  CConversionTask* task;
  CRunState* run;
};
thread_local ChainContext* t_context = nullptr;

// libsox keeps process-wide state (the FFT cache of "rate" among it) that
// must be set up before the first chain; without it "rate" aborts.
void InitSox() {
  static std::once_flag once;
  std::call_once(once, [] {
    sox_init();
    std::atexit([] { sox_quit(); });
  });
}

// Hands SoX whole sample frames from g_pDecodedSamples. While decoding goes on
// it waits until a whole request can be served; afterwards it hands out the
// rest and then reports the end.
int InputDrain(sox_effect_t* effect, sox_sample_t* out, size_t* count) {
  ChainContext* ctx = t_context;
  std::size_t n = *count;
  n -= n % effect->out_signal.channels;
  while (ctx->run->m_bRunning) {
    std::uint32_t available = g_pDecodedSamples->GetReadable(0);
    if (available >= n || !ctx->task->m_bDecoding) {
      std::uint32_t m = g_pDecodedSamples->Read(out, static_cast<std::uint32_t>(n), 0);
      *count = m;
      return m > 0 ? SOX_SUCCESS : SOX_EOF;
    }
    platform::Sleep(1);
  }
  *count = 0;
  return SOX_EOF;
}

// Takes the converted samples into g_pConvertedSamples once there is room for all of them.
int OutputFlow(sox_effect_t*, const sox_sample_t* in, sox_sample_t*, size_t* inCount,
               size_t* outCount) {
  ChainContext* ctx = t_context;
  const auto k = static_cast<std::uint32_t>(*inCount);
  while (ctx->run->m_bRunning) {
    if (g_pConvertedSamples->GetWritable() >= k) {
      if (g_pConvertedSamples->Write(in, k) != k) return SOX_EOF;
      *outCount = 0;
      return SOX_SUCCESS;
    }
    platform::Sleep(1);
  }
  return SOX_EOF;
}

sox_effect_handler_t g_inputHandler = {"input", nullptr, SOX_EFF_MCHAN, nullptr, nullptr,
                                       nullptr, InputDrain, nullptr, nullptr, 0};
sox_effect_handler_t g_outputHandler = {"output", nullptr, SOX_EFF_MCHAN, nullptr, nullptr,
                                        OutputFlow, nullptr, nullptr, nullptr, 0};

// Adds an effect; the chain keeps its own copy.
void AddEffect(sox_effects_chain_t* chain, sox_effect_t* effect, sox_signalinfo_t* in,
               const sox_signalinfo_t* out) {
  if (!effect) return;
  sox_add_effect(chain, effect, in, out);
  std::free(effect);
}

void AddLibraryEffect(sox_effects_chain_t* chain, const char* name, unsigned value,
                      sox_signalinfo_t* in, const sox_signalinfo_t* out) {
  sox_effect_t* effect = sox_create_effect(sox_find_effect(name));
  if (!effect) return;
  char text[16];
  std::snprintf(text, sizeof text, "%u", value);
  char* args[] = {text};
  sox_effect_options(effect, 1, args);
  AddEffect(chain, effect, in, out);
}

struct ChainDeleter {
  void operator()(sox_effects_chain_t* chain) const { sox_delete_effects_chain(chain); }
};

}  // namespace

int RunConversion(CConversionTask* task) {
  CRunState* run = g_pConvProg;
  if (!run) return 0;
  task->m_bConverting = 1;
  int result = 1;
  try {
    InitSox();
    sox_encodinginfo_t encoding{};
    encoding.encoding = SOX_ENCODING_SIGN2;
    encoding.bits_per_sample = 32;
    encoding.compression = 0;
    encoding.reverse_bytes = sox_option_no;
    encoding.reverse_nibbles = sox_option_no;
    encoding.reverse_bits = sox_option_no;
    encoding.opposite_endian = sox_false;

    sox_signalinfo_t signal{};
    signal.rate = static_cast<double>(task->m_nSrcSampleRate);
    signal.channels = task->m_nSrcChannels;
    signal.precision = 32;
    signal.length = SOX_UNKNOWN_LEN;
    signal.mult = nullptr;
    const sox_signalinfo_t source = signal;

    std::unique_ptr<sox_effects_chain_t, ChainDeleter> chain(
        sox_create_effects_chain(&encoding, &encoding));
    if (!chain) throw std::bad_alloc();
    AddEffect(chain.get(), sox_create_effect(&g_inputHandler), &signal, &signal);
    // Channels first, so that the rate change works on the output channel count.
    if (task->m_nChannels != task->m_nSrcChannels)
      AddLibraryEffect(chain.get(), "channels", task->m_nChannels, &signal, &source);
    if (task->m_nSampleRate != task->m_nSrcSampleRate)
      AddLibraryEffect(chain.get(), "rate", task->m_nSampleRate, &signal, &source);
    AddEffect(chain.get(), sox_create_effect(&g_outputHandler), &signal, &source);

    StartStageThread(run->m_pEncoderThread, [task] { return EncoderThreadProc(task); });

    ChainContext context{task, run};
    t_context = &context;
    sox_flow_effects(chain.get(), nullptr, nullptr);
    t_context = nullptr;
  } catch (...) {
    t_context = nullptr;
    run->m_bRunning = 0;
    run->Log(LOG_ERROR, "An error occurred while processing audio data");
    result = 0;
  }
  task->m_bConverting = 0;
  return result;
}
