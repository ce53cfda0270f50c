#include <gtest/gtest.h>

#include <numeric>
#include <thread>
#include <vector>

#include "engine/ring_buffer.h"
#include "platform/core/ticks.h"

TEST(RingBuffer, FreshBufferAndFilling) {
  RingBuffer<int, 1> rb(kSampleBufferCapacity);
  EXPECT_EQ(rb.GetReadable(0), 0u);
  EXPECT_EQ(rb.GetWritable(), 1048575u);
  std::vector<int> block(kSampleBufferCapacity, 5);
  EXPECT_EQ(rb.Write(block.data(), kSampleBufferCapacity), 1048575u);
  EXPECT_EQ(rb.Write(block.data(), 1), 0u);
  EXPECT_EQ(rb.GetReadable(0), 1048575u);
  EXPECT_EQ(rb.GetWritable(), 0u);
}

TEST(RingBuffer, ShortReadZeroFillsTheRest) {
  RingBuffer<int, 1> rb(16);
  int src[4] = {1, 2, 3, 4};
  rb.Write(src, 4);
  int dst[10];
  std::fill(std::begin(dst), std::end(dst), -1);
  EXPECT_EQ(rb.Read(dst, 10, 0), 4u);
  EXPECT_EQ(std::vector<int>(dst, dst + 10), (std::vector<int>{1, 2, 3, 4, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(rb.Read(dst, 0, 0), 0u);
}

// Indices and contents across the end of the storage, with K = 8.
TEST(RingBuffer, WrapsAcrossTheEnd) {
  struct Case { std::uint32_t start, count, readable, writeIndex; };
  const Case cases[] = {{6, 4, 4, 2}, {0, 7, 7, 7}, {7, 1, 1, 0}, {5, 3, 3, 0}, {3, 6, 6, 1}};
  for (const auto& c : cases) {
    RingBuffer<int, 1> rb(8);
    rb.m_nWrite = c.start;
    rb.m_anRead[0] = c.start;
    std::vector<int> src(c.count);
    std::iota(src.begin(), src.end(), 100);
    EXPECT_EQ(rb.Write(src.data(), c.count), c.count);
    EXPECT_EQ(rb.m_nWrite.load(), c.writeIndex);
    for (std::uint32_t i = 0; i < c.count; ++i)
      EXPECT_EQ(rb.m_pData[(c.start + i) % 8], 100 + static_cast<int>(i));
    EXPECT_EQ(rb.GetReadable(0), c.readable);
    std::vector<int> dst(c.count);
    EXPECT_EQ(rb.Read(dst.data(), c.count, 0), c.count);
    EXPECT_EQ(dst, src);
    EXPECT_EQ(rb.m_anRead[0].load(), c.writeIndex);
  }
}

TEST(RingBuffer, ResetEmptiesIt) {
  RingBuffer<int, 1> rb(8);
  int src[5] = {1, 2, 3, 4, 5};
  rb.Write(src, 5);
  rb.m_nWrite = 0;
  rb.m_anRead[0] = 0;
  EXPECT_EQ(rb.GetReadable(0), 0u);
  EXPECT_EQ(rb.GetWritable(), 7u);
}

// One writer and one reader streaming through a small buffer with the polling
// protocol of the stages; every value must arrive, once and in order.
TEST(RingBuffer, StreamsBetweenTwoThreads) {
  constexpr std::uint64_t kTotal = 20'000'000;
  RingBuffer<int, 1> rb(4099);
  std::atomic<bool> writerDone{false};
  std::thread writer([&] {
    std::vector<int> block(577);
    std::uint64_t next = 0;
    while (next < kTotal) {
      auto n = static_cast<std::uint32_t>(std::min<std::uint64_t>(block.size(), kTotal - next));
      while (rb.GetWritable() < n) std::this_thread::yield();
      for (std::uint32_t i = 0; i < n; ++i) block[i] = static_cast<int>(next + i);
      ASSERT_EQ(rb.Write(block.data(), n), n);
      next += n;
    }
    writerDone = true;
  });
  std::vector<int> block(1000);
  std::uint64_t expected = 0;
  bool ok = true;
  for (;;) {
    std::uint32_t a = rb.GetReadable(0);
    if (a == 0) {
      if (writerDone && rb.GetReadable(0) == 0) break;
      std::this_thread::yield();
      continue;
    }
    std::uint32_t n = rb.Read(block.data(), std::min<std::uint32_t>(a, 1000), 0);
    for (std::uint32_t i = 0; i < n && ok; ++i, ++expected)
      ok = block[i] == static_cast<int>(expected);
    if (!ok) break;
  }
  writer.join();
  EXPECT_TRUE(ok) << "value mismatch at sample " << expected;
  EXPECT_EQ(expected, kTotal);
}
