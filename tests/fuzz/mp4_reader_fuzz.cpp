// libFuzzer target for the MP4 reader: any bytes, opened as a stream and read
// through every query the decode stage and the file list make.
#include <algorithm>
#include <cstdint>
#include <cstring>

#include "engine/mp4_reader.h"
#include "tests/fuzz/exercise_reader.h"

namespace {

struct MemoryStream {
  const std::uint8_t* data;
  std::size_t size;
  std::uint64_t pos;
};

std::uint32_t MemRead(void* user, void* buffer, std::uint32_t length) {
  auto* s = static_cast<MemoryStream*>(user);
  if (s->pos >= s->size) return 0;
  auto n = static_cast<std::uint32_t>(std::min<std::uint64_t>(length, s->size - s->pos));
  std::memcpy(buffer, s->data + s->pos, n);
  s->pos += n;
  return n;
}

std::uint32_t MemSeek(void* user, std::uint64_t position) {
  static_cast<MemoryStream*>(user)->pos = position;
  return 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  MemoryStream stream{data, size, 0};
  Mp4Callbacks callbacks;
  callbacks.read = MemRead;
  callbacks.seek = MemSeek;
  callbacks.user_data = &stream;
  Mp4ReaderPtr reader(Mp4Reader::Open(&callbacks));
  if (reader) fuzzing::ExerciseReader(reader.get());
  return 0;
}
