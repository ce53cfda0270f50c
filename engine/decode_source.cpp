#include "engine/decode_source.h"

#include <fcntl.h>
#include <neaacdec.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "engine/mp4_reader.h"
#include "engine/ring_buffer.h"
#include "engine/run_messages.h"
#include "engine/sample_convert.h"
#include "platform/core/c_file.h"
#include "platform/core/text.h"
#include "platform/core/ticks.h"

namespace {

struct DecoderCloser {
  void operator()(void* decoder) const { NeAACDecClose(decoder); }
};

// Samples per channel of one AAC frame, from the AudioSpecificConfig.
std::uint32_t FrameSize(std::uint8_t* config, std::uint32_t length) {
  std::uint32_t frameSize = 1024;
  mp4AudioSpecificConfig asc;
  if (config && NeAACDecAudioSpecificConfig(config, length, &asc) >= 0) {
    if (asc.frameLengthFlag == 1) frameSize = 960;
    if (asc.sbr_present_flag == 1) frameSize *= 2;
  }
  return frameSize;
}

}  // namespace

int CheckSourceReadable(const std::string& path) {
  int error = 0;
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    error = errno;
  } else {
    // Opening a folder succeeds on Linux; reading it does not.
    struct stat st;
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) error = EISDIR;
    ::close(fd);
  }
  if (error == 0) return 1;
  char text[256];
  ConvLog(LOG_ERROR, "File Error: " + platform::Utf8Left(strerror_r(error, text, sizeof text), 1024));
  return 0;
}

bool WriteDecodedSamples(const double* src, std::uint32_t n, int* buffer, std::uint32_t bufferSize,
                         const CRunState& run) {
  while (n > 0) {
    const std::uint32_t piece = std::min(n, bufferSize);
    while (g_pDecodedSamples->GetWritable() < piece) {
      if (!run.m_bRunning) return false;
      platform::Sleep(1);
    }
    DoublesToInt32(src, buffer, piece);
    MaskSamples(buffer, piece);
    g_pDecodedSamples->Write(buffer, piece);
    src += piece;
    n -= piece;
  }
  return true;
}

int DecodeSource(CConversionTask* task) {
  CRunState* run = g_pConvProg.load();
  if (!run) return 0;
  auto fail = [run](const std::string& line) {
    run->Log(LOG_ERROR, line);
    run->m_bRunning = 0;
    return 0;
  };

  platform::FilePtr file(std::fopen(task->m_strSource.c_str(), "rb"));
  if (!file) return fail("Error : could not open file : " + task->m_strSource);
  std::vector<int> buffer(kDecodeBufferSamples);
  const Mp4Callbacks callbacks = Mp4FileCallbacks(file.get());

  std::unique_ptr<void, DecoderCloser> decoder(NeAACDecOpen());
  if (!decoder) throw std::bad_alloc();
  NeAACDecConfigurationPtr config = NeAACDecGetCurrentConfiguration(decoder.get());
  config->outputFormat = FAAD_FMT_DOUBLE;
  config->downMatrix = 0;  // multichannel audio stays multichannel
  NeAACDecSetConfiguration(decoder.get(), config);

  Mp4ReaderPtr reader(Mp4Reader::Open(&callbacks));
  if (!reader) return fail("Error : could not open mp4 file : " + task->m_strSource);
  const int track = FindAacTrack(reader.get());
  if (track < 0) return fail("Error code: -1");

  std::uint8_t* asc = nullptr;
  std::uint32_t ascLength = 0;
  GetDecoderConfig(reader.get(), track, &asc, &ascLength);
  platform::MallocPtr<std::uint8_t> ascOwner(asc);
  unsigned long sampleRate = 0;
  unsigned char channels = 0;
  if (NeAACDecInit2(decoder.get(), asc, ascLength, &sampleRate, &channels) < 0) return fail("Error code: -2");
  const std::uint32_t timeScale = GetTimeScale(reader.get(), track);
  const std::uint32_t frameSize = FrameSize(asc, ascLength);
  ascOwner.reset();

  // FAAD2 hands out a mono stream as two channels (leaving room for parametric
  // stereo), while the stages after this one expect the channels the file
  // declares: such frames are folded back to one channel.
  const bool foldToMono = task->m_nSrcChannels == 1;
  std::vector<double> mono;

  const int numSamples = GetSampleCount(reader.get(), track);
  bool initial = true;        // no frame has yielded samples yet
  bool useAacLength = false;  // the MP4 durations proved wrong: take frames whole
  int result = 1;
  for (int sampleId = 0; sampleId < numSamples && run->m_bRunning; ++sampleId) {
    int duration = GetSampleDuration(reader.get(), track, sampleId);
    std::uint8_t* bytes = nullptr;
    std::uint32_t byteCount = 0;
    if (ReadSample(reader.get(), track, sampleId, &bytes, &byteCount) == 0) {
      fail("Reading from MP4 file failed.");
      result = 0;
      break;
    }
    NeAACDecFrameInfo frame{};
    void* out = NeAACDecDecode(decoder.get(), &frame, bytes, byteCount);
    std::free(bytes);

    // The first frame holds the encoder's delay only.
    if (sampleId == 0) duration = 0;
    const std::uint64_t samples = frame.samples;
    std::uint64_t kept = samples;
    if (!useAacLength && timeScale == sampleRate) {
      // -1 (beyond the table) reads as the largest duration: the whole frame.
      kept = std::min<std::uint64_t>(std::uint64_t{frame.channels} * static_cast<std::uint32_t>(duration), samples);
      if (!initial && sampleId < numSamples / 2 && kept != samples) {
        run->Log(LOG_WARNING, "Incorrect frame duration.");
        kept = samples;
        useAacLength = true;
      }
    }
    // The first frame with samples keeps only its end: the rest is delay.
    std::uint64_t delay = 0;
    if (initial && kept < std::uint64_t{frame.channels} * frameSize && samples > kept) delay = samples - kept;
    if (kept > 0) initial = false;

    // A damaged frame ends the file; what came before it is kept.
    if (frame.error != 0) break;
    if (kept == 0 || !out) continue;
    const double* src = static_cast<const double*>(out) + delay;
    auto count = static_cast<std::uint32_t>(kept);
    if (foldToMono && frame.channels == 2) {
      count /= 2;
      mono.resize(count);
      FoldStereoToMono(src, mono.data(), count);
      src = mono.data();
    }
    if (!WriteDecodedSamples(src, count, buffer.data(), kDecodeBufferSamples, *run)) break;
  }
  return result;
}
