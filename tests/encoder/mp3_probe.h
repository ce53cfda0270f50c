#pragma once
// Reads back an MP3 file for tests: every frame header as it is in the file,
// the information header of the first frame, and the audio as libmpg123
// decodes it (gapless, so encoder delay and padding are already removed).
#include <cstdint>
#include <string>
#include <vector>

struct Mp3FrameHeader {
  int version = 0;  // 10 (MPEG-1), 20 (MPEG-2), 25 (MPEG-2.5)
  bool crc = false;
  int bitRate = 0;  // kbit/s
  int sampleRate = 0;
  int mode = 0;  // 0 stereo, 1 joint stereo, 2 dual channel, 3 mono
  bool privateBit = false, copyright = false, original = false;
  int emphasis = 0;
  int size = 0;           // bytes, header included
  int mainDataBegin = 0;  // bytes taken from earlier frames (bit reservoir)
  int samples = 0;        // per channel
};

struct Mp3Contents {
  bool readable = false;
  std::size_t id3v2Size = 0;  // bytes of an ID3v2 tag at the start
  bool id3v1 = false;         // "TAG" in the last 128 bytes
  std::vector<Mp3FrameHeader> frames;  // every frame, the information frame included
  // The information header of the first frame ("Info" or "Xing").
  std::string infoId;
  std::uint32_t infoFrames = 0;  // frame count it declares
  int encoderDelay = -1, padding = -1;
  // libmpg123's view.
  long rate = 0;
  int channels = 0;
  std::int64_t decodedLength = -1;  // samples per channel
  std::vector<float> samples;       // interleaved, full scale +-1
};

Mp3Contents ReadMp3(const std::string& path);

// Amplitude (full scale 1) of the freq component in one channel over 200 ms
// taken from the middle of the decoded audio.
double ToneAmplitude(const Mp3Contents& mp3, int channel, double freq);
