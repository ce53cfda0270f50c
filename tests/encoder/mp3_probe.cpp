#include "tests/encoder/mp3_probe.h"

#include <mpg123.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <mutex>

namespace {

std::vector<unsigned char> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool ParseHeader(const unsigned char* p, Mp3FrameHeader* h) {
  static const int kRates[3][3] = {{44100, 48000, 32000}, {22050, 24000, 16000}, {11025, 12000, 8000}};
  static const int kBitsV1[16] = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, -1};
  static const int kBitsV2[16] = {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, -1};
  if (p[0] != 0xFF || (p[1] & 0xE0) != 0xE0) return false;
  int v = (p[1] >> 3) & 3;  // 0: 2.5, 2: 2, 3: 1
  if (v == 1 || ((p[1] >> 1) & 3) != 1) return false;  // layer III only
  int bi = p[2] >> 4, si = (p[2] >> 2) & 3;
  if (bi == 0 || bi == 15 || si == 3) return false;
  h->version = v == 3 ? 10 : v == 2 ? 20 : 25;
  h->crc = (p[1] & 1) == 0;
  h->bitRate = (v == 3 ? kBitsV1 : kBitsV2)[bi];
  h->sampleRate = kRates[v == 3 ? 0 : v == 2 ? 1 : 2][si];
  int pad = (p[2] >> 1) & 1;
  h->privateBit = p[2] & 1;
  h->mode = p[3] >> 6;
  h->copyright = (p[3] >> 3) & 1;
  h->original = (p[3] >> 2) & 1;
  h->emphasis = p[3] & 3;
  h->samples = v == 3 ? 1152 : 576;
  h->size = (v == 3 ? 144 : 72) * h->bitRate * 1000 / h->sampleRate + pad;
  const unsigned char* side = p + 4 + (h->crc ? 2 : 0);
  h->mainDataBegin = v == 3 ? (side[0] << 1) | (side[1] >> 7) : side[0];
  return true;
}

void ReadInfoHeader(const unsigned char* frame, std::size_t size, Mp3Contents* out) {
  for (std::size_t i = 4; i + 4 <= size; ++i) {
    if (std::memcmp(frame + i, "Info", 4) != 0 && std::memcmp(frame + i, "Xing", 4) != 0) continue;
    out->infoId.assign(reinterpret_cast<const char*>(frame + i), 4);
    const unsigned char* f = frame + i + 4;
    std::uint32_t flags = (f[0] << 24) | (f[1] << 16) | (f[2] << 8) | f[3];
    const unsigned char* q = f + 4;
    if (flags & 1) {
      out->infoFrames = (q[0] << 24) | (q[1] << 16) | (q[2] << 8) | q[3];
      q += 4;
    }
    if (flags & 2) q += 4;    // byte count
    if (flags & 4) q += 100;  // table of contents
    if (flags & 8) q += 4;    // quality
    // The LAME extension: 21 bytes of version, method, filter, gains and
    // flags, then delay and padding in 12 bits each.
    if (q + 24 <= frame + size && std::memcmp(q, "LAME", 4) == 0) {
      out->encoderDelay = (q[21] << 4) | (q[22] >> 4);
      out->padding = ((q[22] & 0x0F) << 8) | q[23];
    }
    return;
  }
}

void Decode(const std::string& path, Mp3Contents* out) {
  static std::once_flag once;
  std::call_once(once, [] { mpg123_init(); });
  int err = 0;
  mpg123_handle* mh = mpg123_new(nullptr, &err);
  if (!mh) return;
  mpg123_param(mh, MPG123_ADD_FLAGS, MPG123_QUIET | MPG123_GAPLESS | MPG123_FORCE_FLOAT, 0);
  if (mpg123_open(mh, path.c_str()) == MPG123_OK) {
    mpg123_scan(mh);
    out->decodedLength = mpg123_length(mh);
    int encoding = 0;
    mpg123_getformat(mh, &out->rate, &out->channels, &encoding);
    if (encoding == MPG123_ENC_FLOAT_32) {
      std::vector<unsigned char> buf(65536);
      std::size_t done = 0;
      for (;;) {
        int r = mpg123_read(mh, buf.data(), buf.size(), &done);
        const float* f = reinterpret_cast<const float*>(buf.data());
        out->samples.insert(out->samples.end(), f, f + done / sizeof(float));
        if (r != MPG123_OK) break;
      }
    }
    mpg123_close(mh);
  }
  mpg123_delete(mh);
}

}  // namespace

Mp3Contents ReadMp3(const std::string& path) {
  Mp3Contents out;
  std::vector<unsigned char> data = ReadBytes(path);
  std::size_t pos = 0;
  if (data.size() >= 10 && std::memcmp(data.data(), "ID3", 3) == 0) {
    out.id3v2Size = 10 + ((data[6] & 0x7F) << 21 | (data[7] & 0x7F) << 14 | (data[8] & 0x7F) << 7 |
                          (data[9] & 0x7F));
    pos = out.id3v2Size;
  }
  std::size_t end = data.size();
  if (end >= 128 && std::memcmp(data.data() + end - 128, "TAG", 3) == 0) {
    out.id3v1 = true;
    end -= 128;
  }
  out.readable = !data.empty() || std::ifstream(path).good();
  while (pos + 6 <= end) {
    Mp3FrameHeader h;
    if (!ParseHeader(data.data() + pos, &h) || pos + h.size > end) break;
    if (out.frames.empty()) ReadInfoHeader(data.data() + pos, h.size, &out);
    out.frames.push_back(h);
    pos += h.size;
  }
  if (!out.frames.empty()) Decode(path, &out);
  return out;
}

double ToneAmplitude(const Mp3Contents& mp3, int channel, double freq) {
  if (mp3.channels <= 0 || mp3.rate <= 0) return 0;
  std::size_t frames = mp3.samples.size() / mp3.channels;
  std::size_t n = static_cast<std::size_t>(mp3.rate / 5);
  if (frames < n) return 0;
  std::size_t start = (frames - n) / 2;
  // One bin of the discrete Fourier transform; 200 ms hold a whole number of
  // periods of 1 kHz at every rate the encoder takes.
  double re = 0, im = 0;
  for (std::size_t i = 0; i < n; ++i) {
    double x = mp3.samples[(start + i) * mp3.channels + channel];
    double phase = 2 * M_PI * freq * static_cast<double>(i) / mp3.rate;
    re += x * std::cos(phase);
    im -= x * std::sin(phase);
  }
  return 2 * std::sqrt(re * re + im * im) / static_cast<double>(n);
}
