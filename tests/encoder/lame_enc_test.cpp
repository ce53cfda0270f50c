// The encoder module through its six entry points, loaded the way the engine
// loads it, with the files it writes read back by libmpg123.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "encoder/lame_enc.h"
#include "platform/core/file_system.h"
#include "tests/encoder/mp3_probe.h"
#include "tests/support/temp_dir.h"

namespace {

struct Module {
  BeInitStreamProc init = nullptr;
  BeEncodeChunkFloatS16NIProc encode = nullptr;
  BeDeinitStreamProc deinit = nullptr;
  BeCloseStreamProc close = nullptr;
  BeWriteInfoTagProc writeInfoTag = nullptr;
  BeWriteVBRHeaderProc writeVbrHeader = nullptr;

  uint32_t Init(EncoderConfig* config, uint32_t* chunk, uint32_t* bufferSize,
                EncoderStream** stream) const {
    return init(config, chunk, bufferSize, stream, 0, 0, "", "", "", "", "", "", "", 0, 1, 30, 5,
                16000, 2400);
  }
};

const Module& Lame() {
  static Module m = [] {
    Module m;
    std::string path = platform::ExecutableFolder() + "lame_enc.so";
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) return m;
    m.init = reinterpret_cast<BeInitStreamProc>(dlsym(handle, "beInitStream"));
    m.encode = reinterpret_cast<BeEncodeChunkFloatS16NIProc>(dlsym(handle, "beEncodeChunkFloatS16NI"));
    m.deinit = reinterpret_cast<BeDeinitStreamProc>(dlsym(handle, "beDeinitStream"));
    m.close = reinterpret_cast<BeCloseStreamProc>(dlsym(handle, "beCloseStream"));
    m.writeInfoTag = reinterpret_cast<BeWriteInfoTagProc>(dlsym(handle, "beWriteInfoTag"));
    m.writeVbrHeader = reinterpret_cast<BeWriteVBRHeaderProc>(dlsym(handle, "beWriteVBRHeader"));
    return m;
  }();
  return m;
}

EncoderConfig MakeConfig(uint32_t rate, int32_t mode, uint32_t kbps) {
  EncoderConfig c;
  std::memset(&c, 0, sizeof c);
  c.kind = LAME_ENC_CONFIG_EXTENDED;
  c.version = LAME_ENC_CONFIG_VERSION;
  c.size = LAME_ENC_CONFIG_SIZE;
  c.sampleRate = rate;
  c.mode = mode;
  c.bitRate = kbps;
  c.preset = -1;
  c.mpegVersion = 1;
  c.infoHeader = 1;
  c.noReservoir = 1;
  c.quality = LAME_ENC_QUALITY_WORD(9);
  return c;
}

void AppendBytes(std::FILE* f, const std::vector<uint8_t>& buf, uint32_t n) {
  ASSERT_EQ(std::fwrite(buf.data(), 1, n, f), n);
}

// Opens a stream, encodes `frames` samples per channel of a 1 kHz tone at half
// scale in chunks of the size asked for, flushes and closes; the stream stays
// for its header.
struct Encoded {
  EncoderStream* stream = nullptr;
  uint32_t chunk = 0;
};
Encoded EncodeTone(const std::string& path, EncoderConfig config, uint32_t frames) {
  const Module& lame = Lame();
  Encoded e;
  uint32_t bufferSize = 0;
  EXPECT_EQ(lame.Init(&config, &e.chunk, &bufferSize, &e.stream), 0u);
  const int channels = config.mode == LAME_ENC_MODE_MONO ? 1 : 2;
  std::vector<uint8_t> out(bufferSize);
  std::vector<float> left(e.chunk), right(e.chunk);
  std::FILE* f = std::fopen(path.c_str(), "wb");
  uint32_t done = 0;
  while (done < frames) {
    uint32_t n = std::min(e.chunk / channels, frames - done);
    for (uint32_t i = 0; i < n; ++i) {
      float x = static_cast<float>(16384.0 * std::sin(2 * M_PI * 1000.0 * (done + i) / config.sampleRate));
      left[i] = x;
      right[i] = -x;
    }
    uint32_t bytes = 0;
    EXPECT_EQ(lame.encode(e.stream, n, left.data(), channels == 2 ? right.data() : nullptr,
                          out.data(), &bytes), 0u);
    AppendBytes(f, out, bytes);
    done += n;
  }
  uint32_t bytes = 0;
  EXPECT_EQ(lame.deinit(e.stream, out.data(), &bytes), 0u);
  AppendBytes(f, out, bytes);
  std::fclose(f);
  EXPECT_EQ(lame.close(e.stream), 0u);
  return e;
}

TEST(LameEnc, ModuleLoadsFromTheExecutableFolder) {
  const Module& lame = Lame();
  ASSERT_TRUE(lame.init && lame.encode && lame.deinit && lame.close && lame.writeInfoTag &&
              lame.writeVbrHeader);
}

// Samples per chunk follow the encoder's frame size (1152 for MPEG-1 rates,
// 576 below 32000 Hz), times the channels; the buffer covers the worst case.
TEST(LameEnc, ChunkAndBufferSizes) {
  struct Case { uint32_t rate; int32_t mode; uint32_t kbps; uint32_t chunk; };
  const Case cases[] = {{44100, LAME_ENC_MODE_JOINT_STEREO, 128, 2304},
                        {48000, LAME_ENC_MODE_MONO, 64, 1152},
                        {32000, LAME_ENC_MODE_STEREO, 320, 2304},
                        {22050, LAME_ENC_MODE_STEREO, 64, 1152},
                        {16000, LAME_ENC_MODE_MONO, 32, 576},
                        {8000, LAME_ENC_MODE_MONO, 8, 576},
                        {11025, LAME_ENC_MODE_DUAL_CHANNEL, 32, 1152}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.rate);
    EncoderConfig config = MakeConfig(c.rate, c.mode, c.kbps);
    uint32_t chunk = 0, bufferSize = 0;
    EncoderStream* stream = nullptr;
    ASSERT_EQ(Lame().Init(&config, &chunk, &bufferSize, &stream), 0u);
    EXPECT_EQ(chunk, c.chunk);
    EXPECT_GE(bufferSize, chunk * 5 / 4 + 7200);
    EXPECT_EQ(Lame().close(stream), 0u);  // never flushed: freed at once
    EXPECT_NE(Lame().writeInfoTag(stream, "/nonexistent"), 0u);
  }
}

// What the record asks for is what the frame headers say, in every frame.
TEST(LameEnc, FramesFollowTheRecord) {
  struct Case {
    uint32_t rate; int32_t mode; uint32_t kbps; int crc, priv, copyright, original, emphasis;
    int version, headerMode, headerKbps;
  };
  const Case cases[] = {
      {44100, LAME_ENC_MODE_STEREO, 128, 0, 0, 0, 0, 0, 10, 0, 128},
      // Left alone, the encoder would resample to 24000 Hz at this bit rate.
      {44100, LAME_ENC_MODE_JOINT_STEREO, 64, 1, 1, 1, 1, 1, 10, 1, 64},
      {48000, LAME_ENC_MODE_DUAL_CHANNEL, 192, 0, 0, 1, 0, 3, 10, 2, 192},
      {32000, LAME_ENC_MODE_MONO, 320, 1, 0, 0, 1, 0, 10, 3, 320},
      // Above what MPEG-2 allows: the nearest valid rate.
      {22050, LAME_ENC_MODE_JOINT_STEREO, 320, 0, 0, 0, 0, 0, 20, 1, 160},
      {8000, LAME_ENC_MODE_MONO, 8, 0, 1, 0, 0, 0, 25, 3, 8},
  };
  TempDir dir;
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.rate << " Hz " << c.kbps << " kbit/s mode " << c.mode);
    EncoderConfig config = MakeConfig(c.rate, c.mode, c.kbps);
    config.crc = c.crc;
    config.privateBit = c.priv;
    config.copyrightBit = c.copyright;
    config.originalBit = c.original;
    config.emphasis = static_cast<uint32_t>(c.emphasis);
    std::string path = dir.path() + "/f.mp3";
    Encoded e = EncodeTone(path, config, c.rate / 2);
    ASSERT_EQ(Lame().writeInfoTag(e.stream, path.c_str()), 0u);
    Mp3Contents mp3 = ReadMp3(path);
    ASSERT_GT(mp3.frames.size(), 3u);
    EXPECT_EQ(mp3.infoId, "Info");
    // Where a frame at the stream's rate cannot hold the information header,
    // its frame has a higher rate of its own.
    EXPECT_GE(mp3.frames[0].bitRate, c.headerKbps);
    for (const auto& h : mp3.frames) {
      EXPECT_EQ(h.version, c.version);
      EXPECT_EQ(h.sampleRate, static_cast<int>(c.rate));
      EXPECT_EQ(h.mode, c.headerMode);
      EXPECT_EQ(h.privateBit, c.priv != 0);
      EXPECT_EQ(h.copyright, c.copyright != 0);
      EXPECT_EQ(h.original, c.original != 0);
      EXPECT_EQ(h.emphasis, c.emphasis);
    }
    // The reservoir is off: no audio frame borrows bytes from an earlier one.
    for (std::size_t i = 1; i < mp3.frames.size(); ++i) {
      EXPECT_EQ(mp3.frames[i].bitRate, c.headerKbps);
      EXPECT_EQ(mp3.frames[i].crc, c.crc != 0);
      EXPECT_EQ(mp3.frames[i].mainDataBegin, 0) << "frame " << i;
    }
    EXPECT_EQ(mp3.rate, static_cast<long>(c.rate));
    EXPECT_EQ(mp3.channels, c.mode == LAME_ENC_MODE_MONO ? 1 : 2);
  }
}

// The header written after the stream was closed carries delay and padding,
// and a gapless decoder gives back exactly the samples handed over.
TEST(LameEnc, InfoHeaderMakesTheLengthExact) {
  struct Case { uint32_t rate; int32_t mode; uint32_t kbps; uint32_t frames; };
  const Case cases[] = {{44100, LAME_ENC_MODE_JOINT_STEREO, 128, 44100},
                        {22050, LAME_ENC_MODE_MONO, 32, 12345},
                        {48000, LAME_ENC_MODE_STEREO, 320, 1152 * 10}};
  TempDir dir;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.rate);
    std::string path = dir.path() + "/g.mp3";
    Encoded e = EncodeTone(path, MakeConfig(c.rate, c.mode, c.kbps), c.frames);
    ASSERT_EQ(Lame().writeInfoTag(e.stream, path.c_str()), 0u);
    Mp3Contents mp3 = ReadMp3(path);
    ASSERT_FALSE(mp3.frames.empty());
    EXPECT_EQ(mp3.infoId, "Info");  // constant bit rate
    EXPECT_EQ(mp3.infoFrames, mp3.frames.size() - 1);
    const int frameSamples = mp3.frames[0].samples;
    EXPECT_EQ(mp3.encoderDelay, 576);
    EXPECT_GE(mp3.padding, 0);
    EXPECT_EQ(static_cast<std::size_t>(mp3.encoderDelay + c.frames + mp3.padding),
              (mp3.frames.size() - 1) * frameSamples);
    EXPECT_EQ(mp3.decodedLength, static_cast<std::int64_t>(c.frames));
    EXPECT_NEAR(ToneAmplitude(mp3, 0, 1000.0), 0.5, 0.05);
  }
}

// Every rate and bit rate the settings offer, mono and stereo, with and
// without CRC: the information header is always there and always exact, also
// where the module has to make the frame for it itself.
TEST(LameEnc, EverySettingGetsAnExactInfoHeader) {
  const uint32_t rates[] = {8000, 11025, 12000, 16000, 22050, 24000, 32000, 44100, 48000};
  const uint32_t kbps[] = {8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320};
  TempDir dir;
  const std::string path = dir.path() + "/grid.mp3";
  for (uint32_t rate : rates)
    for (uint32_t k : kbps)
      for (int32_t mode : {LAME_ENC_MODE_MONO, LAME_ENC_MODE_JOINT_STEREO})
        for (int crc : {0, 1}) {
          SCOPED_TRACE(testing::Message() << rate << " Hz " << k << " kbit/s mode " << mode
                                          << " crc " << crc);
          EncoderConfig config = MakeConfig(rate, mode, k);
          config.crc = crc;
          const uint32_t frames = 2000;
          Encoded e = EncodeTone(path, config, frames);
          ASSERT_EQ(Lame().writeInfoTag(e.stream, path.c_str()), 0u);
          Mp3Contents mp3 = ReadMp3(path);
          ASSERT_GT(mp3.frames.size(), 1u);
          EXPECT_EQ(mp3.infoId, "Info");
          EXPECT_EQ(mp3.infoFrames, mp3.frames.size() - 1);
          EXPECT_EQ(static_cast<std::size_t>(mp3.encoderDelay + frames + mp3.padding),
                    (mp3.frames.size() - 1) * mp3.frames[0].samples);
          EXPECT_EQ(mp3.decodedLength, static_cast<std::int64_t>(frames));
        }
}

// beWriteVBRHeader takes the newest closed stream; each stream gets its header once.
TEST(LameEnc, VbrHeaderCallTakesTheNewestClosedStream) {
  TempDir dir;
  std::string a = dir.path() + "/a.mp3", b = dir.path() + "/b.mp3";
  Encoded ea = EncodeTone(a, MakeConfig(44100, LAME_ENC_MODE_JOINT_STEREO, 128), 10000);
  Encoded eb = EncodeTone(b, MakeConfig(22050, LAME_ENC_MODE_MONO, 64), 20000);
  ASSERT_EQ(Lame().writeVbrHeader(b.c_str()), 0u);
  EXPECT_EQ(ReadMp3(b).decodedLength, 20000);
  EXPECT_NE(Lame().writeInfoTag(eb.stream, b.c_str()), 0u);  // already written and freed
  ASSERT_EQ(Lame().writeInfoTag(ea.stream, a.c_str()), 0u);
  EXPECT_EQ(ReadMp3(a).decodedLength, 10000);
  EXPECT_NE(Lame().writeVbrHeader(a.c_str()), 0u);  // nothing left waiting
}

// A file that starts with an ID3v2 tag gets its header on the first frame
// after the tag; a file that is no MP3 stream is left as it is.
TEST(LameEnc, InfoHeaderFindsTheFirstFrameOrLeavesTheFileAlone) {
  TempDir dir;
  std::string path = dir.path() + "/t.mp3";
  Encoded e = EncodeTone(path, MakeConfig(44100, LAME_ENC_MODE_STEREO, 128), 8000);
  std::string audio = dir.ReadFile("t.mp3");
  std::string tag("ID3\x04\x00\x00\x00\x00\x00\x14", 10);
  tag += std::string(20, '\0');
  dir.WriteFile("t.mp3", tag + audio);
  ASSERT_EQ(Lame().writeInfoTag(e.stream, path.c_str()), 0u);
  Mp3Contents mp3 = ReadMp3(path);
  EXPECT_EQ(mp3.id3v2Size, 30u);
  EXPECT_EQ(mp3.infoId, "Info");
  EXPECT_EQ(mp3.decodedLength, 8000);

  std::string other = dir.WriteFile("other.txt", std::string(4000, 'x'));
  Encoded e2 = EncodeTone(dir.path() + "/u.mp3", MakeConfig(44100, LAME_ENC_MODE_STEREO, 128), 8000);
  EXPECT_EQ(Lame().writeInfoTag(e2.stream, other.c_str()), static_cast<uint32_t>(LAME_ENC_FILE_ERROR));
  EXPECT_EQ(dir.ReadFile("other.txt"), std::string(4000, 'x'));
}

TEST(LameEnc, RefusesBadRecordsAndHandles) {
  const Module& lame = Lame();
  uint32_t chunk = 0, bufferSize = 0;
  EncoderStream* stream = nullptr;
  struct Case { const char* what; void (*change)(EncoderConfig&); uint32_t result; };
  const Case cases[] = {
      {"kind", [](EncoderConfig& c) { c.kind = 0; }, LAME_ENC_BAD_CONFIG},
      {"version", [](EncoderConfig& c) { c.version = 2; }, LAME_ENC_BAD_CONFIG},
      {"size", [](EncoderConfig& c) { c.size = 100; }, LAME_ENC_BAD_CONFIG},
      {"mode", [](EncoderConfig& c) { c.mode = 7; }, LAME_ENC_BAD_FORMAT},
      {"rate", [](EncoderConfig& c) { c.sampleRate = 12345; }, LAME_ENC_BAD_FORMAT},
      {"vbr", [](EncoderConfig& c) { c.vbr = 1; }, LAME_ENC_BAD_FORMAT},
  };
  for (const auto& c : cases) {
    EncoderConfig config = MakeConfig(44100, LAME_ENC_MODE_STEREO, 128);
    c.change(config);
    EXPECT_EQ(lame.Init(&config, &chunk, &bufferSize, &stream), c.result) << c.what;
  }

  EncoderConfig config = MakeConfig(44100, LAME_ENC_MODE_STEREO, 128);
  ASSERT_EQ(lame.Init(&config, &chunk, &bufferSize, &stream), 0u);
  std::vector<uint8_t> out(bufferSize);
  std::vector<float> pcm(chunk, 0.0f);
  uint32_t bytes = 0;
  auto* foreign = reinterpret_cast<EncoderStream*>(&config);
  EXPECT_EQ(lame.encode(foreign, 1152, pcm.data(), pcm.data(), out.data(), &bytes),
            static_cast<uint32_t>(LAME_ENC_BAD_STREAM));
  EXPECT_EQ(lame.encode(stream, 1152, pcm.data(), nullptr, out.data(), &bytes),
            static_cast<uint32_t>(LAME_ENC_BAD_ARGUMENT));  // stereo needs both channels
  EXPECT_EQ(lame.writeInfoTag(stream, "/nonexistent"),
            static_cast<uint32_t>(LAME_ENC_BAD_STREAM));  // not closed yet
  EXPECT_EQ(lame.deinit(stream, out.data(), &bytes), 0u);
  EXPECT_EQ(lame.encode(stream, 1152, pcm.data(), pcm.data(), out.data(), &bytes),
            static_cast<uint32_t>(LAME_ENC_BAD_STREAM));  // after the flush
  EXPECT_EQ(lame.close(stream), 0u);
  EXPECT_EQ(lame.close(stream), static_cast<uint32_t>(LAME_ENC_BAD_STREAM));
  EXPECT_EQ(lame.writeInfoTag(stream, "/nonexistent/x.mp3"),
            static_cast<uint32_t>(LAME_ENC_FILE_ERROR));
  EXPECT_EQ(lame.writeInfoTag(stream, "/nonexistent/x.mp3"),
            static_cast<uint32_t>(LAME_ENC_BAD_STREAM));  // freed by the call before
}

}  // namespace
