#include "engine/conversion_task.h"

#include "engine/encoder_settings.h"

float CConversionTask::GetSeconds(std::uint64_t n) const {
  std::uint32_t perSecond = m_nChannels * m_nSampleRate;
  return static_cast<float>(static_cast<double>(n) / perSecond);
}

void CConversionTask::SetTags(const TagTexts& tags) {
  m_strArtist = tags.artist;
  m_strAlbumArtist = tags.albumArtist;
  m_strAlbum = tags.album;
  m_strTrack = tags.track;
  m_strTitle = tags.title;
  m_strGenre = tags.genre;
  m_strDate = tags.date;
  m_strComment = tags.comment;
}

CConversionTask BuildTask(const std::string& folder, const std::string& name,
                          std::uint32_t sampleRate, std::uint32_t channels,
                          std::uint64_t totalSamples, std::uint8_t flags, const TagTexts& tags) {
  CConversionTask task;
  task.m_strSource = folder + name;

  auto dot = name.find_last_of('.');
  std::string destName = (dot == std::string::npos ? std::string() : name.substr(0, dot + 1)) + "mp3";
  task.m_strDest = (g_bSameAsSrc ? folder : g_strDesDir) + destName;

  task.m_nSrcSampleRate = sampleRate;
  task.m_nSrcChannels = channels;
  task.m_nFlags = flags;
  task.SetTags(tags);

  switch (g_nLameChannel) {
    case CHANNEL_AUTO: task.m_nChannels = channels >= 2 ? 2 : channels; break;
    case CHANNEL_MONO: task.m_nChannels = 1; break;
    default: task.m_nChannels = 2; break;
  }

  if (g_nFreqIndex > 0 && g_nFreqIndex < kFrequencyCount) {
    task.m_nSampleRate = g_anFrequencies[g_nFreqIndex];
  } else {
    task.m_nSampleRate = 48000;
    for (int i = 1; i < kFrequencyCount; ++i) {
      if (g_anFrequencies[i] >= sampleRate) {
        task.m_nSampleRate = g_anFrequencies[i];
        break;
      }
    }
  }

  // A source that declares no channels or no rate has no meaningful ratio;
  // such a task expects nothing rather than dividing by zero.
  double sourceRate = static_cast<double>(sampleRate) * channels;
  double ratio = sourceRate > 0
                     ? static_cast<double>(task.m_nChannels) * task.m_nSampleRate / sourceRate
                     : 0.0;
  std::uint64_t expected = static_cast<std::uint64_t>(ratio * static_cast<double>(totalSamples));
  if (task.m_nChannels != 0) expected -= expected % task.m_nChannels;
  task.m_nExpectedSamples = expected;

  task.m_bNeedsConversion =
      task.m_nSrcSampleRate != task.m_nSampleRate || task.m_nSrcChannels != task.m_nChannels;
  return task;
}
