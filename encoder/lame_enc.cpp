// Korvane's MP3 encoder module: the stream interface of lame_enc.h on top of
// libmp3lame. Constant bit rate only, with an optional information header
// (the Xing/LAME "Info" frame that carries the encoder delay and padding).
#include "encoder/lame_enc.h"

#include <lame/lame.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <vector>

struct EncoderStream {
  lame_global_flags* flags = nullptr;
  int channels = 2;
  uint32_t bufferSize = 0;  // what the caller's output buffer holds
  bool infoHeader = false;
  bool flushed = false;
  bool closed = false;  // closed and waiting for its information header
  // At low bit rates a frame of the stream's own rate cannot hold the header
  // and the encoder reserves no frame for it. The module then puts a frame of
  // its own, at the smallest bit rate that holds the header, in front of the
  // stream, and fills it in at the end.
  bool ownInfoFrame = false;
  bool ownFramePending = false;  // not yet handed out
  int ownFrameKbps = 0;
  uint32_t ownFrameSize = 0;
  uint64_t audioBytes = 0;  // stream bytes after the information frame
  uint16_t audioCrc = 0;
};

namespace {

// Every stream this module has handed out and not freed yet. Handles are
// checked against it, so a stale or foreign handle is refused rather than
// followed. Closed streams that never got their header are freed when the
// module is unloaded (or the process ends).
class Registry {
 public:
  ~Registry() {
    std::lock_guard lock(m_mutex);
    for (EncoderStream* s : m_streams) Free(s);
    m_streams.clear();
  }

  void Add(EncoderStream* s) {
    std::lock_guard lock(m_mutex);
    m_streams.push_back(s);
  }
  bool Contains(const EncoderStream* s) {
    std::lock_guard lock(m_mutex);
    return std::find(m_streams.begin(), m_streams.end(), s) != m_streams.end();
  }
  // Removes the stream; false when it was not (or no longer) registered.
  bool Remove(const EncoderStream* s) {
    std::lock_guard lock(m_mutex);
    auto it = std::find(m_streams.begin(), m_streams.end(), s);
    if (it == m_streams.end()) return false;
    m_streams.erase(it);
    return true;
  }
  // Marks a flushed stream closed and makes it the newest one waiting for its header.
  void Close(EncoderStream* s) {
    std::lock_guard lock(m_mutex);
    auto it = std::find(m_streams.begin(), m_streams.end(), s);
    if (it == m_streams.end()) return;
    m_streams.erase(it);
    s->closed = true;
    m_streams.push_back(s);
  }
  // Takes the most recently closed stream out of the registry.
  EncoderStream* TakeNewestClosed() {
    std::lock_guard lock(m_mutex);
    for (auto it = m_streams.rbegin(); it != m_streams.rend(); ++it) {
      if ((*it)->closed) {
        EncoderStream* s = *it;
        m_streams.erase(std::next(it).base());
        return s;
      }
    }
    return nullptr;
  }

  static void Free(EncoderStream* s) {
    if (s->flags) lame_close(s->flags);
    delete s;
  }

 private:
  std::mutex m_mutex;
  std::vector<EncoderStream*> m_streams;
};

Registry& Streams() {
  static Registry registry;
  return registry;
}

void Quiet(const char*, va_list) {}

// libmp3lame fills some process-wide tables on first use; streams opened on
// two threads at once must not race there.
std::mutex g_initMutex;

MPEG_mode ToLameMode(int32_t mode) {
  switch (mode) {
    case LAME_ENC_MODE_STEREO: return STEREO;
    case LAME_ENC_MODE_JOINT_STEREO: return JOINT_STEREO;
    case LAME_ENC_MODE_DUAL_CHANNEL: return DUAL_CHANNEL;
    case LAME_ENC_MODE_MONO: return MONO;
    default: return NOT_SET;
  }
}

// CRC-16 with the polynomial 0x8005, bit-reversed, starting at 0: the sum
// the information header uses for the audio and for itself.
uint16_t Crc16(const uint8_t* data, size_t n, uint16_t crc) {
  for (size_t i = 0; i < n; ++i) {
    crc ^= data[i];
    for (int b = 0; b < 8; ++b) crc = (crc & 1) ? (crc >> 1) ^ 0xA001 : crc >> 1;
  }
  return crc;
}

void PutBE32(uint8_t* p, uint32_t v) {
  p[0] = uint8_t(v >> 24);
  p[1] = uint8_t(v >> 16);
  p[2] = uint8_t(v >> 8);
  p[3] = uint8_t(v);
}

bool IsMpeg1(lame_global_flags* gf) { return lame_get_version(gf) == 1; }

// Bytes from the start of a frame to the end of its side information.
int SideInfoEnd(lame_global_flags* gf, int channels, bool crc) {
  int side = IsMpeg1(gf) ? (channels == 1 ? 17 : 32) : (channels == 1 ? 9 : 17);
  return 4 + (crc ? 2 : 0) + side;
}

// "Info", flags, frame count, byte count, 100 table entries, quality, then
// the 36 bytes of the LAME extension.
constexpr int kInfoHeaderBytes = 4 + 4 + 4 + 4 + 100 + 4 + 36;

int FrameBytes(lame_global_flags* gf, int kbps) {
  return (IsMpeg1(gf) ? 144000 : 72000) * kbps / lame_get_out_samplerate(gf);
}

// Whether the encoder reserves the first frame for its own header: only when
// a frame at the stream's bit rate holds side information and header.
bool EncoderReservesInfoFrame(lame_global_flags* gf, int channels, bool crc) {
  return FrameBytes(gf, lame_get_brate(gf)) >= SideInfoEnd(gf, channels, crc) + kInfoHeaderBytes;
}

// The smallest bit rate of the stream's MPEG version whose frame holds the
// header (the module's own frame carries no CRC).
int InfoFrameKbps(lame_global_flags* gf, int channels) {
  static const int kV1[] = {32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320};
  static const int kV2[] = {8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160};
  const int* rates = IsMpeg1(gf) ? kV1 : kV2;
  for (int i = 0; i < 14; ++i)
    if (FrameBytes(gf, rates[i]) >= SideInfoEnd(gf, channels, false) + kInfoHeaderBytes) return rates[i];
  return 0;
}

int BitRateIndex(bool mpeg1, int kbps) {
  static const int kV1[] = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320};
  static const int kV2[] = {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160};
  for (int i = 1; i < 15; ++i)
    if ((mpeg1 ? kV1 : kV2)[i] == kbps) return i;
  return 0;
}

// The module's own information frame: a silent frame whose ancillary bytes
// carry the "Info" header with its LAME extension. With final false the
// counts are still zero (the placeholder at the front of the stream).
void BuildInfoFrame(const EncoderStream* s, bool final, uint8_t* frame) {
  lame_global_flags* gf = s->flags;
  std::memset(frame, 0, s->ownFrameSize);
  const int rate = lame_get_out_samplerate(gf);
  const bool mpeg1 = IsMpeg1(gf);
  const int versionBits = mpeg1 ? 3 : rate < 16000 ? 0 : 2;
  int rateIndex = 0;
  switch (rate) {
    case 44100: case 22050: case 11025: rateIndex = 0; break;
    case 48000: case 24000: case 12000: rateIndex = 1; break;
    default: rateIndex = 2; break;
  }
  const MPEG_mode mode = lame_get_mode(gf);
  const int modeBits = mode == MONO ? 3 : mode == DUAL_CHANNEL ? 2 : mode == JOINT_STEREO ? 1 : 0;
  frame[0] = 0xFF;
  frame[1] = uint8_t(0xE0 | (versionBits << 3) | (1 << 1) | 1);  // layer III, no CRC
  frame[2] = uint8_t((BitRateIndex(mpeg1, s->ownFrameKbps) << 4) | (rateIndex << 2) |
                     (lame_get_extension(gf) ? 1 : 0));
  frame[3] = uint8_t((modeBits << 6) | (lame_get_copyright(gf) ? 8 : 0) |
                     (lame_get_original(gf) ? 4 : 0) | (lame_get_emphasis(gf) & 3));

  uint8_t* p = frame + SideInfoEnd(gf, s->channels, false);
  std::memcpy(p, "Info", 4);
  PutBE32(p + 4, 0x0F);  // frames, bytes, table and quality follow
  const uint32_t frames = final ? static_cast<uint32_t>(lame_get_frameNum(gf)) : 0;
  const uint64_t total = s->ownFrameSize + s->audioBytes;
  PutBE32(p + 8, frames);
  PutBE32(p + 12, final ? static_cast<uint32_t>(total) : 0);
  for (int i = 0; i < 100; ++i) p[16 + i] = uint8_t(i * 256 / 100);  // constant bit rate: linear
  PutBE32(p + 116, 0);

  uint8_t* x = p + 120;
  char version[10];
  std::snprintf(version, sizeof version, "LAME%s", get_lame_short_version());
  std::memcpy(x, version, std::min<size_t>(std::strlen(version), 9));
  x[9] = 1;  // revision 0, constant bit rate
  x[10] = uint8_t(std::min(255, (lame_get_lowpassfreq(gf) + 50) / 100));
  x[20] = uint8_t(std::min(255, lame_get_brate(gf)));
  if (final) {
    const int delay = lame_get_encoder_delay(gf), padding = lame_get_encoder_padding(gf);
    x[21] = uint8_t(delay >> 4);
    x[22] = uint8_t(((delay & 0x0F) << 4) | ((padding >> 8) & 0x0F));
    x[23] = uint8_t(padding);
  }
  const int stereoBits = mode == MONO ? 0 : mode == STEREO ? 1 : mode == DUAL_CHANNEL ? 2 : 3;
  const int rateBits = rate <= 32000 ? 0 : rate == 44100 ? 1 : rate == 48000 ? 2 : 3;
  x[24] = uint8_t((rateBits << 6) | (stereoBits << 2));
  PutBE32(x + 28, final ? static_cast<uint32_t>(total) : 0);
  x[32] = uint8_t(s->audioCrc >> 8);
  x[33] = uint8_t(s->audioCrc);
  const uint16_t tagCrc = Crc16(frame, static_cast<size_t>(x + 34 - frame), 0);
  x[34] = uint8_t(tagCrc >> 8);
  x[35] = uint8_t(tagCrc);
}

// Puts the placeholder in front of the stream's first output, once; returns
// the bytes used at the front of out.
uint32_t EmitPlaceholder(EncoderStream* s, uint8_t* out) {
  if (!s->ownFramePending) return 0;
  s->ownFramePending = false;
  BuildInfoFrame(s, false, out);
  return s->ownFrameSize;
}

void CountAudio(EncoderStream* s, const uint8_t* data, int n) {
  if (!s->ownInfoFrame || n <= 0) return;
  s->audioBytes += static_cast<uint64_t>(n);
  s->audioCrc = Crc16(data, static_cast<size_t>(n), s->audioCrc);
}


// Where the first MPEG frame of the file starts: after an ID3v2 tag, if any.
long FirstFrameOffset(std::FILE* file) {
  unsigned char h[10];
  if (std::fseek(file, 0, SEEK_SET) != 0 || std::fread(h, 1, sizeof h, file) != sizeof h) return -1;
  if (std::memcmp(h, "ID3", 3) != 0) return 0;
  long size = (long(h[6] & 0x7F) << 21) | (long(h[7] & 0x7F) << 14) | (long(h[8] & 0x7F) << 7) |
              long(h[9] & 0x7F);
  bool footer = (h[5] & 0x10) != 0;
  return 10 + size + (footer ? 10 : 0);
}

// Puts the stream's information header over the first frame of the file,
// which the encoder reserved for it at the start of the stream.
uint32_t WriteHeader(EncoderStream* s, const char* path) {
  if (!path) return LAME_ENC_BAD_ARGUMENT;
  if (!s->infoHeader) return LAME_ENC_NO_INFO_HEADER;
  unsigned char frame[4096];
  size_t size = 0;
  if (s->ownInfoFrame) {
    size = s->ownFrameSize;
    BuildInfoFrame(s, true, frame);
  } else {
    size = lame_get_lametag_frame(s->flags, frame, sizeof frame);
    if (size == 0 || size > sizeof frame) return LAME_ENC_ENCODE_FAILED;
  }

  std::FILE* file = std::fopen(path, "r+be");
  if (!file) return LAME_ENC_FILE_ERROR;
  uint32_t result = LAME_ENC_OK;
  long offset = FirstFrameOffset(file);
  unsigned char sync[2];
  if (offset < 0 || std::fseek(file, offset, SEEK_SET) != 0 ||
      std::fread(sync, 1, sizeof sync, file) != sizeof sync) {
    result = LAME_ENC_FILE_ERROR;
  } else if (sync[0] != 0xFF || (sync[1] & 0xE0) != 0xE0) {
    // Not the stream this encoder wrote: leave the file alone.
    result = LAME_ENC_FILE_ERROR;
  } else if (std::fseek(file, offset, SEEK_SET) != 0 ||
             std::fwrite(frame, 1, size, file) != size) {
    result = LAME_ENC_FILE_ERROR;
  }
  if (std::fclose(file) != 0 && result == LAME_ENC_OK) result = LAME_ENC_FILE_ERROR;
  return result;
}


}  // namespace

extern "C" {

uint32_t beInitStream(EncoderConfig* config, uint32_t* samplesPerChunk, uint32_t* outputBufferSize,
                      EncoderStream** stream, int32_t, int32_t, const char*, const char*, const char*,
                      const char*, const char*, const char*, const char*, int32_t, int32_t, int32_t,
                      int32_t, int32_t, int32_t) {
  if (!config || !samplesPerChunk || !outputBufferSize || !stream) return LAME_ENC_BAD_ARGUMENT;
  if (config->kind != LAME_ENC_CONFIG_EXTENDED || config->version != LAME_ENC_CONFIG_VERSION ||
      config->size < LAME_ENC_CONFIG_SIZE)
    return LAME_ENC_BAD_CONFIG;
  MPEG_mode mode = ToLameMode(config->mode);
  if (mode == NOT_SET || config->vbr != 0 || config->sampleRate == 0 || config->bitRate == 0)
    return LAME_ENC_BAD_FORMAT;

  std::lock_guard initLock(g_initMutex);
  auto* s = new (std::nothrow) EncoderStream;
  if (!s) return LAME_ENC_NO_MEMORY;
  s->flags = lame_init();
  if (!s->flags) {
    delete s;
    return LAME_ENC_NO_MEMORY;
  }
  lame_global_flags* gf = s->flags;
  lame_set_msgf(gf, Quiet);
  lame_set_debugf(gf, Quiet);
  lame_set_errorf(gf, Quiet);

  s->channels = mode == MONO ? 1 : 2;
  s->infoHeader = config->infoHeader != 0;
  lame_set_num_channels(gf, s->channels);
  lame_set_in_samplerate(gf, static_cast<int>(config->sampleRate));
  // Left to itself the encoder lowers the rate at low bit rates; 0 means the
  // caller wants the rate it hands over.
  lame_set_out_samplerate(gf, static_cast<int>(config->outputSampleRate ? config->outputSampleRate
                                                                         : config->sampleRate));
  lame_set_mode(gf, mode);
  lame_set_VBR(gf, vbr_off);
  lame_set_brate(gf, static_cast<int>(config->bitRate));
  uint16_t q = config->quality;
  if ((q >> 8) == (~q & 0xFF) && (q & 0xFF) <= 9) lame_set_quality(gf, q & 0xFF);
  lame_set_disable_reservoir(gf, config->noReservoir ? 1 : 0);
  lame_set_bWriteVbrTag(gf, s->infoHeader ? 1 : 0);
  lame_set_error_protection(gf, config->crc ? 1 : 0);
  lame_set_extension(gf, config->privateBit ? 1 : 0);
  lame_set_copyright(gf, config->copyrightBit ? 1 : 0);
  lame_set_original(gf, config->originalBit ? 1 : 0);
  lame_set_emphasis(gf, static_cast<int>(config->emphasis & 3));
  lame_set_strict_ISO(gf, config->strictIso ? 1 : 0);
  lame_set_write_id3tag_automatic(gf, 0);
  if (lame_init_params(gf) < 0) {
    Registry::Free(s);
    return LAME_ENC_BAD_FORMAT;
  }

  // A rate that MPEG audio does not have would be resampled; refuse it.
  if (static_cast<uint32_t>(lame_get_out_samplerate(gf)) !=
      (config->outputSampleRate ? config->outputSampleRate : config->sampleRate)) {
    Registry::Free(s);
    return LAME_ENC_BAD_FORMAT;
  }
  if (s->infoHeader && !EncoderReservesInfoFrame(gf, s->channels, config->crc != 0)) {
    s->ownInfoFrame = s->ownFramePending = true;
    s->ownFrameKbps = InfoFrameKbps(gf, s->channels);
    s->ownFrameSize = static_cast<uint32_t>(FrameBytes(gf, s->ownFrameKbps));
  }

  const uint32_t chunk = static_cast<uint32_t>(lame_get_framesize(gf)) * s->channels;
  // The encoder's documented worst case for one call: 1.25 x samples + 7200
  // bytes, and room for the module's own information frame in front.
  s->bufferSize = chunk + (chunk + 3) / 4 + 7200 + s->ownFrameSize;
  Streams().Add(s);
  *samplesPerChunk = chunk;
  *outputBufferSize = s->bufferSize;
  *stream = s;
  return LAME_ENC_OK;
}

uint32_t beEncodeChunkFloatS16NI(EncoderStream* stream, uint32_t samplesPerChannel, const float* left,
                                 const float* right, uint8_t* output, uint32_t* bytesProduced) {
  if (!bytesProduced) return LAME_ENC_BAD_ARGUMENT;
  *bytesProduced = 0;
  if (!Streams().Contains(stream) || stream->flushed || stream->closed) return LAME_ENC_BAD_STREAM;
  if (!output || (samplesPerChannel > 0 && !left) || (stream->channels == 2 && samplesPerChannel > 0 && !right))
    return LAME_ENC_BAD_ARGUMENT;
  const uint32_t front = EmitPlaceholder(stream, output);
  int n = 0;
  if (samplesPerChannel > 0) {
    n = lame_encode_buffer_float(stream->flags, left, stream->channels == 2 ? right : left,
                                 static_cast<int>(samplesPerChannel), output + front,
                                 static_cast<int>(stream->bufferSize - front));
    if (n < 0) return LAME_ENC_ENCODE_FAILED;
    CountAudio(stream, output + front, n);
  }
  *bytesProduced = front + static_cast<uint32_t>(n);
  return LAME_ENC_OK;
}

uint32_t beDeinitStream(EncoderStream* stream, uint8_t* output, uint32_t* bytesProduced) {
  if (!bytesProduced) return LAME_ENC_BAD_ARGUMENT;
  *bytesProduced = 0;
  if (!Streams().Contains(stream) || stream->flushed || stream->closed) return LAME_ENC_BAD_STREAM;
  if (!output) return LAME_ENC_BAD_ARGUMENT;
  const uint32_t front = EmitPlaceholder(stream, output);
  int n = lame_encode_flush(stream->flags, output + front,
                            static_cast<int>(stream->bufferSize - front));
  if (n < 0) return LAME_ENC_ENCODE_FAILED;
  CountAudio(stream, output + front, n);
  stream->flushed = true;
  *bytesProduced = front + static_cast<uint32_t>(n);
  return LAME_ENC_OK;
}

uint32_t beCloseStream(EncoderStream* stream) {
  if (!stream || !Streams().Contains(stream) || stream->closed) return LAME_ENC_BAD_STREAM;
  // Only a finished stream can still have its header written; keep it for that.
  if (stream->flushed && stream->infoHeader) {
    Streams().Close(stream);
  } else if (Streams().Remove(stream)) {
    Registry::Free(stream);
  }
  return LAME_ENC_OK;
}

uint32_t beWriteInfoTag(EncoderStream* stream, const char* path) {
  if (!stream || !Streams().Contains(stream) || !stream->closed) return LAME_ENC_BAD_STREAM;
  if (!Streams().Remove(stream)) return LAME_ENC_BAD_STREAM;
  uint32_t result = WriteHeader(stream, path);
  Registry::Free(stream);
  return result;
}

uint32_t beWriteVBRHeader(const char* path) {
  EncoderStream* stream = Streams().TakeNewestClosed();
  if (!stream) return LAME_ENC_BAD_STREAM;
  uint32_t result = WriteHeader(stream, path);
  Registry::Free(stream);
  return result;
}

}  // extern "C"
