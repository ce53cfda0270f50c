#include "engine/mp4_reader.h"

#include <neaacdec.h>
#include <sys/types.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>

namespace {

constexpr std::uint64_t kNoLimit = std::numeric_limits<std::uint64_t>::max();
// Containers nest a handful of levels in real files; the cap keeps a file of
// nothing but nested headers from exhausting the stack.
constexpr int kMaxDepth = 32;
// Tables are read in blocks of this many bytes, so memory grows only with the
// bytes that really arrive, never with a count the file merely claims.
constexpr std::uint32_t kBlockBytes = 64 * 1024;
// Running sample counts stop here: no sample index (an int) lies beyond it.
constexpr std::uint64_t kSampleIndexLimit = std::uint64_t{1} << 32;

constexpr std::uint32_t Tag(const char (&s)[5]) {
  return std::uint32_t{static_cast<unsigned char>(s[0])} << 24 |
         std::uint32_t{static_cast<unsigned char>(s[1])} << 16 |
         std::uint32_t{static_cast<unsigned char>(s[2])} << 8 | std::uint32_t{static_cast<unsigned char>(s[3])};
}
// iTunes item atoms start with the copyright sign (0xA9) in Latin-1.
constexpr std::uint32_t ItunesTag(const char (&s)[4]) {
  return 0xA9u << 24 | std::uint32_t{static_cast<unsigned char>(s[0])} << 16 |
         std::uint32_t{static_cast<unsigned char>(s[1])} << 8 | std::uint32_t{static_cast<unsigned char>(s[2])};
}

bool IsContainer(std::uint32_t type) {
  switch (type) {
    case Tag("moov"): case Tag("trak"): case Tag("edts"): case Tag("mdia"):
    case Tag("minf"): case Tag("stbl"): case Tag("udta"):
    case Tag("ilst"): case Tag("sinf"): case Tag("schi"): case Tag("drms"):
    case ItunesTag("nam"): case ItunesTag("ART"): case ItunesTag("alb"): case ItunesTag("gen"):
    case ItunesTag("day"): case ItunesTag("cmt"): case ItunesTag("wrt"): case ItunesTag("too"):
    case Tag("aART"): case Tag("gnre"): case Tag("trkn"): case Tag("disk"):
    case Tag("cpil"): case Tag("tmpo"): case Tag("covr"): case Tag("----"):
      return true;
    default:
      return false;
  }
}

std::uint64_t BigEndian(const std::uint8_t* p, int bytes) {
  std::uint64_t v = 0;
  for (int i = 0; i < bytes; ++i) v = v << 8 | p[i];
  return v;
}

// a + b, or kNoLimit when the sum does not fit.
std::uint64_t SaturatingAdd(std::uint64_t a, std::uint64_t b) { return a > kNoLimit - b ? kNoLimit : a + b; }

struct AtomHeader {
  std::uint64_t start = 0;
  std::uint64_t end = 0;  // start + size, capped by the enclosing atom
  std::uint32_t type = 0;
};

// One pass over the atom tree, filling the reader's tracks.
class AtomWalker {
 public:
  explicit AtomWalker(Mp4Reader* reader) : m_reader(reader) {}

  void WalkLevel(std::uint64_t end, int depth) {
    while (m_reader->position < end) {
      AtomHeader atom;
      if (!ReadHeader(atom, end)) return;
      if (depth > 0 && atom.type == Tag("trak")) NewTrack();
      if (IsContainer(atom.type) && depth < kMaxDepth)
        WalkLevel(atom.end, depth + 1);
      else if (depth > 0)
        ReadLeaf(atom);
      if (!SeekTo(atom.end)) return;
    }
  }

 private:
  std::uint64_t Remaining(std::uint64_t end) const {
    return end > m_reader->position ? end - m_reader->position : 0;
  }

  // Reads n bytes; the position moves by n even when fewer arrive.
  std::uint32_t Read(void* dst, std::uint32_t n) {
    std::uint32_t got = m_reader->callbacks->read(m_reader->callbacks->user_data, dst, n);
    m_reader->position = SaturatingAdd(m_reader->position, n);
    return std::min(got, n);
  }

  bool SeekTo(std::uint64_t pos) {
    if (pos == m_reader->position) return true;
    m_reader->position = pos;
    return m_reader->callbacks->seek(m_reader->callbacks->user_data, pos) == 0;
  }

  bool Skip(std::uint64_t n, std::uint64_t end) {
    return Remaining(end) >= n && SeekTo(m_reader->position + n);
  }

  // A big-endian unsigned integer of 1 to 8 bytes inside [position, end).
  bool ReadUInt(int bytes, std::uint64_t& value, std::uint64_t end) {
    std::uint8_t b[8];
    if (Remaining(end) < static_cast<std::uint64_t>(bytes)) return false;
    if (Read(b, static_cast<std::uint32_t>(bytes)) != static_cast<std::uint32_t>(bytes)) return false;
    value = BigEndian(b, bytes);
    return true;
  }
  template <typename T>
  bool ReadUInt(int bytes, T& value, std::uint64_t end) {
    std::uint64_t v = 0;
    if (!ReadUInt(bytes, v, end)) return false;
    value = static_cast<T>(v);
    return true;
  }

  // Size 0, a short read, a size below the header's own length or too little
  // room in the enclosing atom all end the level.
  bool ReadHeader(AtomHeader& atom, std::uint64_t end) {
    atom.start = m_reader->position;
    std::uint64_t size = 0;
    std::uint64_t headerLength = 8;
    if (!ReadUInt(4, size, end) || !ReadUInt(4, atom.type, end) || size == 0) return false;
    if (size == 1) {
      if (!ReadUInt(8, size, end)) return false;
      headerLength = 16;
    }
    if (size < headerLength) return false;
    atom.end = std::min(SaturatingAdd(atom.start, size), end);
    return true;
  }

  // Reads count entries of entrySize bytes (at most what fits before end) in
  // blocks, handing each to take. Stops at the first short read.
  template <typename Take>
  void ReadEntries(std::uint64_t count, std::uint32_t entrySize, std::uint64_t end, Take take) {
    count = std::min(count, Remaining(end) / entrySize);
    const std::uint32_t perBlock = kBlockBytes / entrySize;
    std::vector<std::uint8_t> block(std::min<std::uint64_t>(count, perBlock) * entrySize);
    while (count > 0) {
      std::uint32_t n = static_cast<std::uint32_t>(std::min<std::uint64_t>(count, perBlock));
      std::uint32_t got = Read(block.data(), n * entrySize) / entrySize;
      for (std::uint32_t i = 0; i < got; ++i)
        if (!take(block.data() + std::size_t{i} * entrySize)) return;
      if (got < n) return;
      count -= n;
    }
  }

  void NewTrack() {
    if (m_reader->tracks.size() >= static_cast<std::size_t>(Mp4Reader::kMaxTracks)) {
      m_track = nullptr;  // further tracks are ignored, leaves and all
      return;
    }
    m_reader->tracks.push_back(std::make_unique<Mp4Track>());
    m_track = m_reader->tracks.back().get();
  }

  void ReadLeaf(const AtomHeader& atom) {
    if (!m_track) return;
    switch (atom.type) {
      case Tag("mdhd"): ReadMdhd(atom.end); break;
      case Tag("stsd"): ReadStsd(atom.end); break;
      case Tag("stts"): ReadStts(atom.end); break;
      case Tag("stsz"): ReadStsz(atom.end); break;
      case Tag("stsc"): ReadStsc(atom.end); break;
      case Tag("stco"): ReadStco(atom.end); break;
      default: break;
    }
  }

  void ReadMdhd(std::uint64_t end) {
    std::uint32_t version = 0;
    if (!ReadUInt(1, version, end) || !Skip(3, end)) return;
    // Creation and modification times come before the time scale.
    if (!Skip(version == 1 ? 16 : 8, end)) return;
    ReadUInt(4, m_track->timeScale, end);
  }

  void ReadStsd(std::uint64_t end) {
    std::uint32_t entries = 0;
    if (!Skip(4, end) || !ReadUInt(4, entries, end)) return;
    // Every entry takes at least a header's 8 bytes, so the loop ends with the atom.
    for (std::uint32_t i = 0; i < entries; ++i) {
      AtomHeader entry;
      if (!ReadHeader(entry, end)) return;
      switch (entry.type) {
        case Tag("mp4a"): m_track->kind = TRACK_AUDIO; ReadMp4a(entry.end); break;
        case Tag("mp4v"): m_track->kind = TRACK_VIDEO; break;
        case Tag("mp4s"): m_track->kind = TRACK_SYSTEM; break;
        default: m_track->kind = TRACK_OTHER; break;
      }
      if (!SeekTo(entry.end)) return;
    }
  }

  void ReadMp4a(std::uint64_t end) {
    // Reserved bytes, data reference index, reserved words, channel count,
    // sample size, two skipped words, sample rate and one more word: the
    // stages take the format from the decoder config instead.
    if (!Skip(28, end)) return;
    AtomHeader child;
    if (ReadHeader(child, end) && child.type == Tag("esds")) ReadEsds(child.end);
  }

  bool ReadDescriptorLength(std::uint32_t& length, std::uint64_t end) {
    std::uint32_t b = 0;
    if (!ReadUInt(1, b, end)) return false;
    length = b & 0x7F;
    for (int read = 1; (b & 0x80) && read < 4; ++read) {
      if (!ReadUInt(1, b, end)) return false;
      length = length << 7 | (b & 0x7F);
    }
    return true;
  }

  void ReadEsds(std::uint64_t end) {
    std::uint32_t tag = 0, length = 0;
    if (!Skip(4, end) || !ReadUInt(1, tag, end)) return;
    if (tag == 0x03) {  // ES descriptor
      if (!ReadDescriptorLength(length, end) || length < 20 || !Skip(3, end)) return;
    } else if (!Skip(2, end)) {
      return;
    }
    if (!ReadUInt(1, tag, end) || tag != 0x04) return;  // decoder config descriptor
    if (!ReadDescriptorLength(length, end) || length < 13) return;
    // Object type, stream type and buffer size, maximum and average bit rate.
    if (!Skip(13, end)) return;
    if (!ReadUInt(1, tag, end) || tag != 0x05) return;  // decoder-specific info
    if (!ReadDescriptorLength(length, end)) return;
    // A length that overstates the atom takes what the atom holds.
    std::uint32_t n = static_cast<std::uint32_t>(std::min<std::uint64_t>(length, Remaining(end)));
    std::vector<std::uint8_t> config;
    ReadEntries(n, 1, end, [&](const std::uint8_t* p) {
      config.push_back(*p);
      return true;
    });
    if (config.size() == n) m_track->decoderConfig = std::move(config);
  }

  void ReadStts(std::uint64_t end) {
    if (!m_track->timeToSample.empty()) return;  // the first table counts
    std::uint32_t entries = 0;
    if (!Skip(4, end) || !ReadUInt(4, entries, end)) return;
    std::uint64_t total = 0;
    auto& table = m_track->timeToSample;
    ReadEntries(entries, 8, end, [&](const std::uint8_t* p) {
      auto count = static_cast<std::uint32_t>(BigEndian(p, 4));
      total += count;
      table.push_back({count, static_cast<std::uint32_t>(BigEndian(p + 4, 4)), total});
      return total < kSampleIndexLimit;
    });
  }

  void ReadStsz(std::uint64_t end) {
    Mp4Track& t = *m_track;
    t.sampleSize = 0;
    t.sampleSizeCount = 0;
    t.sizeSums.clear();
    std::uint32_t count = 0;
    if (!Skip(4, end) || !ReadUInt(4, t.sampleSize, end) || !ReadUInt(4, count, end)) return;
    if (t.sampleSize != 0) {
      t.sampleSizeCount = count;
      return;
    }
    t.sizeSums.push_back(0);
    ReadEntries(count, 4, end, [&](const std::uint8_t* p) {
      t.sizeSums.push_back(t.sizeSums.back() + BigEndian(p, 4));
      return true;
    });
    t.sampleSizeCount = static_cast<std::uint32_t>(t.sizeSums.size() - 1);
  }

  void ReadStsc(std::uint64_t end) {
    auto& table = m_track->sampleToChunk;
    table.clear();
    std::uint32_t entries = 0;
    if (!Skip(4, end) || !ReadUInt(4, entries, end)) return;
    std::uint64_t chunk1 = 1, perChunk = 0, total = 0;
    ReadEntries(entries, 12, end, [&](const std::uint8_t* p) {
      auto chunk2 = static_cast<std::uint32_t>(BigEndian(p, 4));
      // First chunks must not go backwards (and start at 1); the rest of a
      // table that does cannot locate anything.
      if (chunk2 < chunk1) return false;
      total += (chunk2 - chunk1) * perChunk;  // below 2^32 + 2^64 - 2^33: no wrap
      if (total >= kSampleIndexLimit) return false;
      perChunk = BigEndian(p + 4, 4);
      chunk1 = chunk2;
      table.push_back({chunk2, static_cast<std::uint32_t>(perChunk), total});
      return true;
    });
  }

  void ReadStco(std::uint64_t end) {
    auto& table = m_track->chunkOffsets;
    table.clear();
    std::uint32_t entries = 0;
    if (!Skip(4, end) || !ReadUInt(4, entries, end)) return;
    ReadEntries(entries, 4, end, [&](const std::uint8_t* p) {
      table.push_back(static_cast<std::uint32_t>(BigEndian(p, 4)));
      return true;
    });
  }

  Mp4Reader* m_reader;
  Mp4Track* m_track = nullptr;  // the most recently created track
};

const Mp4Track* TrackAt(const Mp4Reader* reader, int track) {
  if (!reader || track < 0 || track >= GetTrackCount(reader)) return nullptr;
  return reader->tracks[static_cast<std::size_t>(track)].get();
}

std::uint64_t SampleSize(const Mp4Track& t, std::uint64_t s) {
  if (t.sampleSize != 0) return t.sampleSize;
  return s < t.sampleSizeCount ? t.sizeSums[s + 1] - t.sizeSums[s] : 0;
}

// The file position of sample s; false when the tables cannot place it.
bool SampleOffset(const Mp4Track& t, std::uint64_t s, std::uint64_t& offset) {
  const auto& runs = t.sampleToChunk;
  if (runs.empty()) return false;
  // The run holding s is the last one whose chunks start at or before s
  // (the first always starts at 0).
  auto next = std::upper_bound(runs.begin() + 1, runs.end(), s,
                               [](std::uint64_t v, const Mp4Track::ChunkRun& r) { return v < r.samplesBefore; });
  const Mp4Track::ChunkRun& run = *(next - 1);
  std::uint64_t chunk = 1, chunkFirstSample = run.samplesBefore;
  if (run.perChunk != 0) {
    std::uint64_t chunksIn = (s - run.samplesBefore) / run.perChunk;
    chunk = run.firstChunk + chunksIn;
    chunkFirstSample = run.samplesBefore + chunksIn * run.perChunk;
  }

  std::uint64_t chunkOffset = 8;
  if (!t.chunkOffsets.empty())
    chunkOffset = chunk > t.chunkOffsets.size() ? t.chunkOffsets.back() : t.chunkOffsets[chunk - 1];

  std::uint64_t within = 0;
  if (t.sampleSize != 0)
    within = std::uint64_t{t.sampleSize} * (s - chunkFirstSample);
  else if (s < t.sampleSizeCount)
    within = t.sizeSums[s] - t.sizeSums[chunkFirstSample];
  if (within > kNoLimit - chunkOffset) return false;
  offset = chunkOffset + within;
  return true;
}

std::uint32_t FileRead(void* user, void* buffer, std::uint32_t length) {
  return static_cast<std::uint32_t>(std::fread(buffer, 1, length, static_cast<std::FILE*>(user)));
}

std::uint32_t FileSeek(void* user, std::uint64_t position) {
  if (position > static_cast<std::uint64_t>(std::numeric_limits<off_t>::max())) return 1;
  return ::fseeko(static_cast<std::FILE*>(user), static_cast<off_t>(position), SEEK_SET) == 0 ? 0 : 1;
}

}  // namespace

Mp4Callbacks Mp4FileCallbacks(std::FILE* file) {
  Mp4Callbacks callbacks;
  callbacks.read = FileRead;
  callbacks.seek = FileSeek;
  callbacks.user_data = file;
  return callbacks;
}

Mp4Reader* Mp4Reader::Open(const Mp4Callbacks* callbacks) {
  if (!callbacks || !callbacks->read || !callbacks->seek) return nullptr;
  try {
    auto* reader = new Mp4Reader;
    reader->callbacks = callbacks;
    try {
      AtomWalker(reader).WalkLevel(kNoLimit, 0);
    } catch (const std::bad_alloc&) {
      // What was read so far stays usable; the table in hand may be short.
    }
    return reader;
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

void Mp4Reader::Close(Mp4Reader* reader) { delete reader; }

int GetTrackCount(const Mp4Reader* reader) { return reader ? static_cast<int>(reader->tracks.size()) : 0; }

int GetDecoderConfig(const Mp4Reader* reader, int track, std::uint8_t** buffer, std::uint32_t* length) {
  *buffer = nullptr;
  *length = 0;
  const Mp4Track* t = TrackAt(reader, track);
  if (!t) return 1;
  if (t->decoderConfig.empty()) return 0;
  auto* copy = static_cast<std::uint8_t*>(std::malloc(t->decoderConfig.size()));
  if (!copy) return 1;
  std::memcpy(copy, t->decoderConfig.data(), t->decoderConfig.size());
  *buffer = copy;
  *length = static_cast<std::uint32_t>(t->decoderConfig.size());
  return 0;
}

std::uint32_t GetTimeScale(const Mp4Reader* reader, int track) {
  const Mp4Track* t = TrackAt(reader, track);
  return t ? t->timeScale : 0;
}

int GetSampleCount(const Mp4Reader* reader, int track) {
  const Mp4Track* t = TrackAt(reader, track);
  if (!t || t->timeToSample.empty()) return 0;
  return static_cast<int>(std::min<std::uint64_t>(t->timeToSample.back().end, INT_MAX));
}

int GetSampleDuration(const Mp4Reader* reader, int track, int sample) {
  const Mp4Track* t = TrackAt(reader, track);
  if (!t || sample < 0) return -1;
  const auto& table = t->timeToSample;
  auto it = std::upper_bound(table.begin(), table.end(), static_cast<std::uint64_t>(sample),
                             [](std::uint64_t s, const Mp4Track::TimeEntry& e) { return s < e.end; });
  if (it == table.end()) return -1;
  return static_cast<int>(std::min<std::uint32_t>(it->delta, INT_MAX));
}

std::uint32_t ReadSample(Mp4Reader* reader, int track, int sample, std::uint8_t** buffer,
                         std::uint32_t* length) {
  *buffer = nullptr;
  *length = 0;
  const Mp4Track* t = TrackAt(reader, track);
  if (!t || sample < 0) return 0;
  const auto s = static_cast<std::uint64_t>(sample);
  const std::uint64_t size = SampleSize(*t, s);  // below 2^32
  std::uint64_t offset = 0;
  if (size == 0 || !SampleOffset(*t, s, offset)) return 0;

  const Mp4Callbacks* cb = reader->callbacks;
  reader->position = offset;
  if (cb->seek(cb->user_data, offset) != 0) return 0;

  // Read in blocks so that a size the file cannot hold costs no memory.
  std::uint64_t capacity = std::min<std::uint64_t>(size, kBlockBytes);
  auto* data = static_cast<std::uint8_t*>(std::malloc(capacity));
  std::uint64_t got = 0;
  while (data && got < size) {
    if (got == capacity) {
      capacity = std::min(size, capacity * 2);
      auto* grown = static_cast<std::uint8_t*>(std::realloc(data, capacity));
      if (!grown) break;
      data = grown;
    }
    auto want = static_cast<std::uint32_t>(std::min<std::uint64_t>(capacity - got, kBlockBytes));
    std::uint32_t n = std::min(cb->read(cb->user_data, data + got, want), want);
    reader->position = SaturatingAdd(reader->position, want);
    got += n;
    if (n < want) break;
  }
  if (got == 0) {
    std::free(data);
    return 0;
  }
  *buffer = data;
  *length = static_cast<std::uint32_t>(got);
  return *length;
}

int FindAacTrack(const Mp4Reader* reader) {
  for (int track = 0; track < GetTrackCount(reader); ++track) {
    std::uint8_t* config = nullptr;
    std::uint32_t length = 0;
    GetDecoderConfig(reader, track, &config, &length);
    if (!config) continue;
    mp4AudioSpecificConfig asc;
    char rc = NeAACDecAudioSpecificConfig(config, length, &asc);
    std::free(config);
    if (rc >= 0) return track;
  }
  return -1;
}
