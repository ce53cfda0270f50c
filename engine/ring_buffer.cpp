#include "engine/ring_buffer.h"

RingBuffer<int, 1>* g_pDecodedSamples = nullptr;
RingBuffer<int, 1>* g_pConvertedSamples = nullptr;

void CreateSampleBuffers() {
  if (!g_pDecodedSamples) g_pDecodedSamples = new RingBuffer<int, 1>(kSampleBufferCapacity);
  if (!g_pConvertedSamples) g_pConvertedSamples = new RingBuffer<int, 1>(kSampleBufferCapacity);
}

void DestroySampleBuffers() {
  delete g_pDecodedSamples;
  delete g_pConvertedSamples;
  g_pDecodedSamples = nullptr;
  g_pConvertedSamples = nullptr;
}
