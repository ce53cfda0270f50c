#include "engine/encoder_settings.h"

#include "platform/core/text.h"

const std::uint32_t g_anFrequencies[kFrequencyCount] = {0,     8000,  11025, 12000, 16000,
                                                        22050, 24000, 32000, 44100, 48000};
const std::int16_t g_anBitrates[kBitrateCount] = {8,  16, 24,  32,  40,  48,  56,  64, 80,
                                                  96, 112, 128, 160, 192, 224, 256, 320};

std::int16_t g_nFreqIndex = 0;
std::int16_t g_nLameBitsIndex = 11;
std::int16_t g_nLameChannel = CHANNEL_AUTO;
int g_bSameAsSrc = 0;
std::string g_strDesDir;

int BitrateIndexOf(int kbps) {
  for (int i = 0; i < kBitrateCount; ++i)
    if (g_anBitrates[i] == kbps) return i;
  return -1;
}

int FrequencyIndexOf(std::uint32_t hz) {
  for (int i = 1; i < kFrequencyCount; ++i)
    if (g_anFrequencies[i] == hz) return i;
  return -1;
}

std::string FormatEncoderSettings() {
  static const char* const kChannelTexts[] = {" Automatic Channel;", " Mono;", " Stereo;",
                                              " Joint Stereo;", " Dual Channel;"};
  int bits = g_anBitrates[g_nLameBitsIndex >= 0 && g_nLameBitsIndex < kBitrateCount
                              ? g_nLameBitsIndex
                              : 11];
  std::string text = "MP3:  ";
  if (g_nFreqIndex > 0 && g_nFreqIndex < kFrequencyCount)
    text += platform::StrPrintf("CBR %3d kbps; %5u Hz;", bits, g_anFrequencies[g_nFreqIndex]);
  else
    text += platform::StrPrintf("CBR %3d kbps; Automatic Frequency;", bits);
  int mode = g_nLameChannel >= 0 && g_nLameChannel <= 4 ? g_nLameChannel : 0;
  return text + kChannelTexts[mode];
}
