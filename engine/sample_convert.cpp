#include "engine/sample_convert.h"

#include <climits>

void DoublesToInt32(const double* src, int* dst, std::size_t n) {
  // Adding and removing 1.5 * 2^52 rounds to an integer in the current
  // (nearest, ties to even) rounding mode without a library call.
  constexpr double kRound = 6755399441055744.0;
  for (std::size_t i = 0; i < n; ++i) {
    double x = src[i] * 2147483648.0;
    if (x >= 2147483647.0)
      dst[i] = INT_MAX;
    else if (x <= -2147483648.0)
      dst[i] = INT_MIN;
    else if (x != x)
      dst[i] = 0;
    else
      dst[i] = static_cast<int>((x + kRound) - kRound);
  }
}

void FoldStereoToMono(const double* src, double* dst, std::size_t frames) {
  for (std::size_t i = 0; i < frames; ++i) dst[i] = 0.5 * (src[2 * i] + src[2 * i + 1]);
}

void MaskSamples(int* samples, std::size_t n) {
  for (std::size_t i = 0; i < n; ++i)
    samples[i] = static_cast<int>(static_cast<std::uint32_t>(samples[i]) & SAMPLE_MASK);
}
