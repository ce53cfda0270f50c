#pragma once
// Opening MP4 files and byte strings with the reader in tests.
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>

#include "engine/mp4_reader.h"

class OpenMp4 {
 public:
  // A file on disk.
  explicit OpenMp4(const std::string& path) { Init(std::fopen(path.c_str(), "rb")); }
  // Bytes in memory (kept by the object).
  static OpenMp4 FromBytes(std::string bytes) { return OpenMp4(std::move(bytes), 0); }

  OpenMp4(const OpenMp4&) = delete;
  OpenMp4& operator=(const OpenMp4&) = delete;
  ~OpenMp4() {
    m_reader.reset();
    if (m_file) std::fclose(m_file);
  }

  Mp4Reader* get() const { return m_reader.get(); }

  // The bytes of one sample, or nothing when ReadSample fails.
  std::optional<std::string> Sample(int track, int sample) const {
    std::uint8_t* buffer = nullptr;
    std::uint32_t length = 0;
    std::uint32_t n = ReadSample(m_reader.get(), track, sample, &buffer, &length);
    if (n == 0) return std::nullopt;
    std::string bytes(reinterpret_cast<const char*>(buffer), length);
    std::free(buffer);
    return bytes;
  }

  std::string Config(int track) const {
    std::uint8_t* buffer = nullptr;
    std::uint32_t length = 0;
    GetDecoderConfig(m_reader.get(), track, &buffer, &length);
    if (!buffer) return {};
    std::string bytes(reinterpret_cast<const char*>(buffer), length);
    std::free(buffer);
    return bytes;
  }

 private:
  OpenMp4(std::string bytes, int) : m_bytes(std::make_unique<std::string>(std::move(bytes))) {
    Init(fmemopen(m_bytes->data(), m_bytes->size(), "rb"));
  }
  void Init(std::FILE* file) {
    m_file = file;
    if (!m_file) return;
    m_callbacks = std::make_unique<Mp4Callbacks>(Mp4FileCallbacks(m_file));
    m_reader.reset(Mp4Reader::Open(m_callbacks.get()));
  }

  std::unique_ptr<std::string> m_bytes;
  std::FILE* m_file = nullptr;
  std::unique_ptr<Mp4Callbacks> m_callbacks;
  Mp4ReaderPtr m_reader;
};
