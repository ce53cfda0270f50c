#include "engine/audio_probe.h"

#include <neaacdec.h>
#include <taglib/mp4file.h>
#include <taglib/mp4tag.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "engine/mp4_reader.h"
#include "platform/core/c_file.h"
#include "platform/core/text.h"

namespace {

// The channel configuration as the AudioSpecificConfig states it. FAAD2's own
// parser reports mono as two channels (room for parametric stereo), and so
// does its decoder; the decode stage folds such frames back to one channel.
int StatedChannelConfiguration(const std::uint8_t* config, std::uint32_t length) {
  std::uint64_t bits = 0;
  int available = 0;
  std::uint32_t next = 0;
  auto take = [&](int n) -> int {
    while (available < n && next < length) {
      bits = (bits << 8) | config[next++];
      available += 8;
    }
    if (available < n) return -1;
    available -= n;
    return static_cast<int>((bits >> available) & ((1u << n) - 1));
  };
  int objectType = take(5);
  if (objectType == 31) take(6);
  if (take(4) == 15) take(24);  // an explicit sampling frequency
  return take(4);
}

// The container and decoder facts; false with a reason when there are none.
bool ProbeFormat(const std::string& path, AudioProbe& probe) {
  platform::FilePtr file(std::fopen(path.c_str(), "rb"));
  if (!file) {
    probe.errorText = "cannot open the file";
    return false;
  }
  Mp4Callbacks callbacks = Mp4FileCallbacks(file.get());
  Mp4ReaderPtr reader(Mp4Reader::Open(&callbacks));
  if (!reader) {
    probe.errorText = "out of memory";
    return false;
  }
  int track = FindAacTrack(reader.get());
  if (track < 0) {
    probe.errorText = "no AAC audio track";
    return false;
  }
  std::uint8_t* config = nullptr;
  std::uint32_t length = 0;
  GetDecoderConfig(reader.get(), track, &config, &length);
  platform::MallocPtr<std::uint8_t> configOwner(config);

  NeAACDecHandle decoder = NeAACDecOpen();
  unsigned long rate = 0;
  unsigned char channels = 0;
  bool accepted = config && NeAACDecInit2(decoder, config, length, &rate, &channels) >= 0;
  NeAACDecClose(decoder);
  mp4AudioSpecificConfig asc{};
  if (!accepted || NeAACDecAudioSpecificConfig(config, length, &asc) < 0) {
    probe.errorText = "the AAC decoder configuration is not supported";
    return false;
  }
  probe.sampleRate = static_cast<std::uint32_t>(asc.samplingFrequency);
  probe.channels = asc.channelsConfiguration;
  if (StatedChannelConfiguration(config, length) == 1) probe.channels = 1;
  // Configuration 7 is the 7.1 layout: eight channels, as the decoder delivers them.
  if (asc.channelsConfiguration == 7) probe.channels = 8;
  // Every AAC frame carries a full frame of samples per channel: 1024, or
  // 2048 when spectral band replication doubles the output rate.
  const double frameLength = asc.sbr_present_flag == 1 ? 2048 : 1024;
  const int frames = GetSampleCount(reader.get(), track);
  probe.totalSamples = static_cast<std::uint64_t>(frameLength * frames * probe.channels);
  if (probe.sampleRate && probe.channels)
    probe.duration = static_cast<double>(probe.totalSamples) / probe.sampleRate / probe.channels;
  return true;
}

std::string Utf8(const TagLib::String& s) { return s.to8Bit(true); }

// The text items of the MP4 tag, joined the way the list shows them.
void ReadTagItems(const TagLib::MP4::Tag& tag, AudioProbe& probe) {
  auto text = [&](const char* key, std::string& field) {
    TagLib::String k(key, TagLib::String::Latin1);
    if (tag.contains(k)) field = Utf8(tag.item(k).toStringList().toString(", "));
  };
  text("\251ART", probe.tags.artist);
  text("aART", probe.tags.albumArtist);
  text("\251alb", probe.tags.album);
  if (tag.contains("trkn")) {
    auto pair = tag.item("trkn").toIntPair();
    if (pair.first > 0) {
      probe.track = static_cast<std::uint16_t>(pair.first);
      if (pair.second < 1) {
        probe.tags.track = std::to_string(pair.first);
      } else {
        probe.trackTotal = static_cast<std::uint16_t>(pair.second);
        probe.tags.track = std::to_string(pair.first) + "/" + std::to_string(pair.second);
      }
    } else {
      probe.tags.track.clear();
    }
  }
  text("\251nam", probe.tags.title);
  probe.tags.genre = Utf8(tag.genre());
  text("\251day", probe.tags.date);
  text("\251cmt", probe.tags.comment);
}

}  // namespace

AudioProbe ProbeAudioSource(const std::string& path) {
  AudioProbe probe;
  bool formatOk = ProbeFormat(path, probe);
  if (formatOk) {
    TagLib::MP4::File file(path.c_str(), true, TagLib::AudioProperties::Average);
    if (file.isValid()) {
      if (TagLib::MP4::Tag* tag = file.tag(); tag && !tag->isEmpty()) {
        ReadTagItems(*tag, probe);
        probe.flags |= FILE_HAS_MP4_TAG;
      }
      if (auto* properties = file.audioProperties()) probe.bitrate = properties->bitrate();
    }
  }
  if (!probe.channels || !probe.sampleRate || !probe.totalSamples) {
    probe.error = true;
    if (formatOk) probe.errorText = "the file holds no audio";
  }
  return probe;
}
