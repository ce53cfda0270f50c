#pragma once
// Builds MP4 files byte by byte for cases a real encoder does not write:
// unusual tables, 64-bit sizes, damaged frames, hostile counts.
#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace atoms {

inline std::string Be(std::uint64_t value, int bytes) {
  std::string s(static_cast<std::size_t>(bytes), '\0');
  for (int i = bytes - 1; i >= 0; --i, value >>= 8) s[static_cast<std::size_t>(i)] = static_cast<char>(value & 0xFF);
  return s;
}
inline std::string U8(std::uint64_t v) { return Be(v, 1); }
inline std::string U16(std::uint64_t v) { return Be(v, 2); }
inline std::string U32(std::uint64_t v) { return Be(v, 4); }
inline std::string U64(std::uint64_t v) { return Be(v, 8); }

// An atom with a 32-bit size field.
inline std::string Box(const char* type, const std::string& payload) {
  return U32(8 + payload.size()) + std::string(type, 4) + payload;
}
// An atom with size field 1 and a 64-bit size after the type.
inline std::string LargeBox(const char* type, const std::string& payload) {
  return U32(1) + std::string(type, 4) + U64(16 + payload.size()) + payload;
}
// Version and flags, then the payload.
inline std::string FullBox(const char* type, const std::string& payload, std::uint8_t version = 0) {
  return Box(type, U8(version) + Be(0, 3) + payload);
}

// A descriptor of the 'esds' atom with a one-byte length.
inline std::string Descriptor(std::uint8_t tag, const std::string& body) {
  return U8(tag) + U8(body.size()) + body;
}

inline std::string Esds(const std::string& config) {
  std::string decoderSpecific = Descriptor(0x05, config);
  std::string decoderConfig =
      Descriptor(0x04, U8(0x40) + U8(0x15) + Be(0, 3) + U32(128000) + U32(128000) + decoderSpecific);
  std::string es = Descriptor(0x03, U16(1) + U8(0) + decoderConfig + Descriptor(0x06, U8(2)));
  return FullBox("esds", es);
}

// An 'mp4a' sample entry around an 'esds' with the given AudioSpecificConfig.
inline std::string Mp4a(const std::string& config) {
  std::string fields = std::string(6, '\0') + U16(1) + U32(0) + U32(0) + U16(2) + U16(16) + U16(0) +
                       U16(0) + U16(44100) + U16(0);
  return Box("mp4a", fields + Esds(config));
}

inline std::string Stsd(const std::string& entry) { return FullBox("stsd", U32(1) + entry); }

inline std::string Stts(const std::vector<std::pair<std::uint32_t, std::uint32_t>>& entries) {
  std::string body = U32(entries.size());
  for (auto [count, delta] : entries) body += U32(count) + U32(delta);
  return FullBox("stts", body);
}

// Per-sample sizes, or a common size when sizes is empty.
inline std::string Stsz(std::uint32_t commonSize, std::uint32_t count, const std::vector<std::uint32_t>& sizes = {}) {
  std::string body = U32(commonSize) + U32(count);
  for (auto s : sizes) body += U32(s);
  return FullBox("stsz", body);
}

inline std::string Stsc(const std::vector<std::array<std::uint32_t, 3>>& entries) {
  std::string body = U32(entries.size());
  for (const auto& e : entries) body += U32(e[0]) + U32(e[1]) + U32(e[2]);
  return FullBox("stsc", body);
}

inline std::string Stco(const std::vector<std::uint32_t>& offsets) {
  std::string body = U32(offsets.size());
  for (auto o : offsets) body += U32(o);
  return FullBox("stco", body);
}

inline std::string Mdhd(std::uint32_t timeScale, std::uint8_t version = 0) {
  if (version == 1) return FullBox("mdhd", U64(0) + U64(0) + U32(timeScale) + U64(0) + U16(0x55C4) + U16(0), 1);
  return FullBox("mdhd", U32(0) + U32(0) + U32(timeScale) + U32(0) + U16(0x55C4) + U16(0));
}

// A 'trak' with the usual nesting around the given media header and sample table.
inline std::string Trak(const std::string& mdhd, const std::string& stblChildren) {
  return Box("trak", Box("mdia", mdhd + Box("minf", Box("stbl", stblChildren))));
}

inline std::string Ftyp() { return Box("ftyp", std::string("M4A ") + U32(0) + "M4A mp42isom"); }

// One AAC track in one file: ftyp, mdat holding the frames as one chunk, then
// moov. The time-to-sample entries are given; the rest follows the frames.
struct AacFile {
  std::string config;  // AudioSpecificConfig
  std::uint32_t timeScale = 44100;
  std::vector<std::string> frames;
  std::vector<std::pair<std::uint32_t, std::uint32_t>> stts;
  bool largeMdat = false;  // mdat with a 64-bit size

  std::string Build() const {
    std::string data;
    std::vector<std::uint32_t> sizes;
    for (const auto& f : frames) {
      data += f;
      sizes.push_back(static_cast<std::uint32_t>(f.size()));
    }
    std::string head = Ftyp();
    std::string mdat = largeMdat ? LargeBox("mdat", data) : Box("mdat", data);
    auto offset = static_cast<std::uint32_t>(head.size() + mdat.size() - data.size());
    std::string stbl = Stsd(Mp4a(config)) + Stts(stts) + Stsz(0, static_cast<std::uint32_t>(sizes.size()), sizes) +
                       Stsc({{1, static_cast<std::uint32_t>(frames.size()), 1}}) + Stco({offset});
    return head + mdat + Box("moov", Trak(Mdhd(timeScale), stbl));
  }
};

}  // namespace atoms
