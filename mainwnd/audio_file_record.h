#pragma once
// The item data of one file-list row: what the probe learnt about the file.
// A row's file is its Path text followed by its Name text.
#include <QString>
#include <cstdint>

struct AudioFileRecord {
  int bError = 0;               // 1 when the file could not be opened or described
  std::uint8_t nType = 0;       // type code of the extension (1 for MP4), 0 when unknown
  std::uint8_t nFlags = 0;      // FILE_HAS_MP4_TAG when the file carries a non-empty MP4 tag
  // The trkn item holds 16-bit values; keeping them whole keeps track 300 after track 50.
  std::uint16_t nTrack = 0;
  std::uint16_t nTrackTotal = 0;
  std::uint32_t nSampleRate = 0;
  std::uint32_t nChannels = 0;
  std::uint64_t nTotalSamples = 0;  // all channels together
  int nBitrate = 0;                 // kbit/s as the Bitrate column shows it
  double fSizeMB = 0.0;
  double fDuration = 0.0;           // seconds
  QString strArtist;
  QString strAlbumArtist;
  QString strAlbum;
  QString strTrack;
  QString strTitle;
  QString strGenre;
  QString strDate;
  QString strComment;
};
