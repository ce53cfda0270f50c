#pragma once
// A fixed-capacity queue of samples between one writer thread and N reader
// threads, without locks. Each index is stored by one side only, with release
// semantics after the copy it covers; the other side loads it with acquire.
#include <atomic>
#include <cstdint>
#include <cstring>
#include <memory>

template <typename T, int N>
class RingBuffer {
 public:
  explicit RingBuffer(std::uint32_t capacity)
      : m_pData(new T[capacity]), m_nCapacity(capacity) {
    m_nWrite.store(0, std::memory_order_relaxed);
    for (auto& r : m_anRead) r.store(0, std::memory_order_relaxed);
  }
  virtual ~RingBuffer() { delete[] m_pData; }
  RingBuffer(const RingBuffer&) = delete;
  RingBuffer& operator=(const RingBuffer&) = delete;

  std::uint32_t GetReadable(int reader) const {
    std::uint32_t w = m_nWrite.load(std::memory_order_acquire);
    std::uint32_t r = m_anRead[reader].load(std::memory_order_relaxed);
    return w > r ? w - r : (m_nCapacity - r + w) % m_nCapacity;
  }

  // Only reader 0 limits the writer.
  std::uint32_t GetWritable() const {
    std::uint32_t r = m_anRead[0].load(std::memory_order_acquire);
    std::uint32_t w = m_nWrite.load(std::memory_order_relaxed);
    return (r + m_nCapacity - w - 1) % m_nCapacity;
  }

  // Copies up to n samples to dst and zero-fills the rest of the n slots.
  std::uint32_t Read(T* dst, std::uint32_t n, int reader) {
    std::uint32_t available = GetReadable(reader);
    if (n > available) {
      std::memset(static_cast<void*>(dst + available), 0, (n - available) * sizeof(T));
      n = available;
    }
    if (n == 0) return 0;
    std::uint32_t r = m_anRead[reader].load(std::memory_order_relaxed);
    std::uint32_t first = m_nCapacity - r;
    if (first >= n) {
      std::memcpy(dst, m_pData + r, n * sizeof(T));
    } else {
      std::memcpy(dst, m_pData + r, first * sizeof(T));
      std::memcpy(dst + first, m_pData, (n - first) * sizeof(T));
    }
    m_anRead[reader].store((r + n) % m_nCapacity, std::memory_order_release);
    return n;
  }

  std::uint32_t Write(const T* src, std::uint32_t n) {
    std::uint32_t writable = GetWritable();
    if (n > writable) n = writable;
    if (n == 0) return 0;
    std::uint32_t w = m_nWrite.load(std::memory_order_relaxed);
    std::uint32_t first = m_nCapacity - w;
    if (first >= n) {
      std::memcpy(m_pData + w, src, n * sizeof(T));
    } else {
      std::memcpy(m_pData + w, src, first * sizeof(T));
      std::memcpy(m_pData, src + first, (n - first) * sizeof(T));
    }
    m_nWrite.store((w + n) % m_nCapacity, std::memory_order_release);
    return n;
  }

  T* m_pData;
  std::atomic<std::uint32_t> m_nWrite;
  std::atomic<std::uint32_t> m_anRead[N];
  std::uint32_t m_nCapacity;
};

inline constexpr std::uint32_t kSampleBufferCapacity = 1048576;

// The decoder's output, and the conversion stage's output.
extern RingBuffer<int, 1>* g_pDecodedSamples;
extern RingBuffer<int, 1>* g_pConvertedSamples;

// Creates both process-wide buffers (once per process; the main window, the
// command line and the tests call it) and destroys them.
void CreateSampleBuffers();
void DestroySampleBuffers();
