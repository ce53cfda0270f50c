#pragma once
// One conversion job: a source file, the MP3 file to write, the formats on
// both sides and the tag texts to carry over.
#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/ring_buffer.h"

inline constexpr std::uint8_t FILE_HAS_MP4_TAG = 0x20;

// An atomic that copies its value along with the record holding it.
template <typename T>
struct CopyableAtomic : std::atomic<T> {
  using std::atomic<T>::atomic;
  using std::atomic<T>::operator=;
  CopyableAtomic(const CopyableAtomic& other) : std::atomic<T>(other.load()) {}
  CopyableAtomic& operator=(const CopyableAtomic& other) {
    this->store(other.load());
    return *this;
  }
};

// The eight tag texts of a source, in the task's order.
struct TagTexts {
  std::string artist, albumArtist, album, track, title, genre, date, comment;
};

class CConversionTask {
 public:
  // Seconds of audio in n interleaved output samples.
  float GetSeconds(std::uint64_t n) const;
  // Takes the eight tag texts of the source.
  void SetTags(const TagTexts& tags);

  std::string m_strSource;
  std::uint32_t m_nSrcSampleRate = 0xFFFFFFFFu;
  std::uint32_t m_nSrcChannels = 0xFFFFFFFFu;
  std::uint8_t m_nFlags = 0;
  std::string m_strDest;
  std::uint32_t m_nSampleRate = 0xFFFFFFFFu;
  std::uint32_t m_nChannels = 0xFFFFFFFFu;
  std::uint64_t m_nExpectedSamples = 0;
  int m_bNeedsConversion = 0;
  // Raised and lowered by the stage threads while the others poll them.
  CopyableAtomic<int> m_bDecoding{0};
  CopyableAtomic<int> m_bEncoding{0};
  CopyableAtomic<int> m_bConverting{0};
  CopyableAtomic<RingBuffer<int, 1>*> m_pEncoderInput{nullptr};
  std::string m_strArtist;
  std::string m_strAlbumArtist;
  std::string m_strAlbum;
  std::string m_strTrack;
  std::string m_strTitle;
  std::string m_strGenre;
  std::string m_strDate;
  std::string m_strComment;
};

using TaskList = std::vector<CConversionTask>;


// Builds the task for one source file from its facts and the current
// settings. folder ends with '/'; totalSamples counts all channels.
CConversionTask BuildTask(const std::string& folder, const std::string& name,
                          std::uint32_t sampleRate, std::uint32_t channels,
                          std::uint64_t totalSamples, std::uint8_t flags, const TagTexts& tags);
