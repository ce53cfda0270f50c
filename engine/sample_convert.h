#pragma once
// Turning the decoder's floating-point output into the pipeline's 32-bit
// integer samples.
#include <cstddef>
#include <cstdint>

// Decoded samples keep 16 significant bits, the encoder's resolution; the
// bits below are cleared before they enter the sample buffer.
inline constexpr std::uint32_t SAMPLE_MASK = 0xFFFF0000u;

// Full scale is +-1.0. Values are rounded to the nearest integer, ties to
// even, and saturate at the ends of the 32-bit range; NaN becomes 0.
void DoublesToInt32(const double* src, int* dst, std::size_t n);

// The mean of each left and right pair: frames interleaved stereo samples in,
// frames mono samples out.
void FoldStereoToMono(const double* src, double* dst, std::size_t frames);

// Clears the bits below SAMPLE_MASK in place.
void MaskSamples(int* samples, std::size_t n);
