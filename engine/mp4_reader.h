#pragma once
// Reads the MP4 (ISO base media) container just far enough to feed an AAC
// decoder: each track's decoder-specific information and sample tables, and
// the bytes of one sample at a time. It never writes.
//
// Files are untrusted. Whatever the bytes, the reader stays inside its buffers,
// ends every loop, allocates only in proportion to the bytes that actually
// arrive, and turns a bad table into samples that cannot be read.
#include <cstdint>
#include <cstdio>
#include <memory>
#include <vector>

// The stream under the reader, supplied and owned by the caller, alive until
// the reader is closed. write and truncate are not used.
struct Mp4Callbacks {
  // Reads up to length bytes at the current position; returns the number read.
  std::uint32_t (*read)(void* user_data, void* buffer, std::uint32_t length) = nullptr;
  std::uint32_t (*write)(void* user_data, const void* buffer, std::uint32_t length) = nullptr;
  // Moves to an absolute position; returns 0 on success.
  std::uint32_t (*seek)(void* user_data, std::uint64_t position) = nullptr;
  std::uint32_t (*truncate)(void* user_data) = nullptr;
  void* user_data = nullptr;
};

// Read and seek over a file opened with mode "rb"; 64-bit offsets throughout.
Mp4Callbacks Mp4FileCallbacks(std::FILE* file);

enum Mp4TrackKind { TRACK_OTHER = 0, TRACK_AUDIO = 1, TRACK_VIDEO = 2, TRACK_SYSTEM = 3 };

struct Mp4Track {
  int kind = TRACK_OTHER;
  std::vector<std::uint8_t> decoderConfig;  // DecoderSpecificInfo of 'esds'
  std::uint32_t timeScale = 0;              // 'mdhd'

  // 'stts': per entry its sample count, its delta and the number of samples
  // up to and including it.
  struct TimeEntry {
    std::uint32_t count, delta;
    std::uint64_t end;
  };
  std::vector<TimeEntry> timeToSample;

  // 'stsz': the common size, or 0 with per-sample sizes kept as running sums
  // (sizeSums[i] = bytes of samples 0 .. i-1; one more entry than samples).
  std::uint32_t sampleSize = 0;
  std::uint32_t sampleSizeCount = 0;
  std::vector<std::uint64_t> sizeSums;

  // 'stsc': per entry its first chunk (1-based), samples per chunk and the
  // number of samples in the chunks before it. Only the leading entries whose
  // first chunks rise are kept; a table that goes backwards is cut there.
  struct ChunkRun {
    std::uint32_t firstChunk, perChunk;
    std::uint64_t samplesBefore;
  };
  std::vector<ChunkRun> sampleToChunk;

  std::vector<std::uint32_t> chunkOffsets;  // 'stco', absolute file positions
};

class Mp4Reader {
 public:
  static constexpr int kMaxTracks = 1024;

  // Walks the atom tree from the stream's current position (callers pass a
  // freshly opened file). Null only when memory runs out; a file that is not
  // MP4 gives a reader with no tracks.
  static Mp4Reader* Open(const Mp4Callbacks* callbacks);
  static void Close(Mp4Reader* reader);

  const Mp4Callbacks* callbacks = nullptr;
  std::uint64_t position = 0;  // set by every seek, advanced by every read's requested length
  std::vector<std::unique_ptr<Mp4Track>> tracks;
};

struct Mp4ReaderCloser {
  void operator()(Mp4Reader* reader) const { Mp4Reader::Close(reader); }
};
using Mp4ReaderPtr = std::unique_ptr<Mp4Reader, Mp4ReaderCloser>;

int GetTrackCount(const Mp4Reader* reader);

// A copy of the track's decoder config in *buffer (malloc'ed; the caller frees
// it with free()) and its length. 1 for a track that does not exist or when
// memory runs out; 0 otherwise, with a null buffer when there is no config.
int GetDecoderConfig(const Mp4Reader* reader, int track, std::uint8_t** buffer, std::uint32_t* length);

std::uint32_t GetTimeScale(const Mp4Reader* reader, int track);
// The number of samples the time-to-sample table covers.
int GetSampleCount(const Mp4Reader* reader, int track);
// The duration of a 0-based sample in time-scale units; -1 beyond the table.
int GetSampleDuration(const Mp4Reader* reader, int track, int sample);

// Reads one sample into *buffer (malloc'ed; the caller frees it with free()).
// Returns the number of bytes read, which is also stored in *length: the
// sample's size, or fewer when the file ends inside the sample. 0 with a null
// buffer when the sample has no size, cannot be located or nothing could be read.
std::uint32_t ReadSample(Mp4Reader* reader, int track, int sample, std::uint8_t** buffer,
                         std::uint32_t* length);

// The first track, in file order, whose decoder config FAAD2 accepts as an
// AudioSpecificConfig; -1 when there is none.
int FindAacTrack(const Mp4Reader* reader);
