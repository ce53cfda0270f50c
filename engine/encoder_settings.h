#pragma once
// The process-wide output and encoder settings that decide a task's format.
#include <cstdint>
#include <string>

inline constexpr int kFrequencyCount = 10;
inline constexpr int kBitrateCount = 17;

// Hz; index 0 means "automatic".
extern const std::uint32_t g_anFrequencies[kFrequencyCount];
// kbit/s, constant bit rate.
extern const std::int16_t g_anBitrates[kBitrateCount];

enum ChannelMode : std::int16_t {
  CHANNEL_AUTO = 0,
  CHANNEL_MONO = 1,
  CHANNEL_STEREO = 2,
  CHANNEL_JOINT_STEREO = 3,
  CHANNEL_DUAL = 4,
};

extern std::int16_t g_nFreqIndex;      // 0 = automatic, 1..9
extern std::int16_t g_nLameBitsIndex;  // 0..16
extern std::int16_t g_nLameChannel;    // ChannelMode
extern int g_bSameAsSrc;               // 1: write next to the source
extern std::string g_strDesDir;        // output folder, ends with '/'
inline constexpr std::int16_t g_nLameQuality = 9;

// The index of a bit rate in kbit/s, or of a frequency in Hz (1 to 9); -1 when
// the table has no such entry.
int BitrateIndexOf(int kbps);
int FrequencyIndexOf(std::uint32_t hz);

// The settings as the main window's status bar shows them, e.g.
// "MP3:  CBR 128 kbps; Automatic Frequency; Automatic Channel;".
std::string FormatEncoderSettings();
