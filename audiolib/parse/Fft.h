#pragma once
// Magnitudes of a 256-sample FFT, as the spectrum call hands them out. Pure code.
#include <cstdint>

namespace audiolib {

inline constexpr int kFftSize = 256;

// samples: 256 mono values in -1..1. out: 128 magnitudes, a full-scale sine reads about 1.
void Fft256Magnitudes(const float* samples, float* out);

}  // namespace audiolib
