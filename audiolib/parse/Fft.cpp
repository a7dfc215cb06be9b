#include "Fft.h"

#include <cmath>
#include <complex>

namespace audiolib {

void Fft256Magnitudes(const float* samples, float* out) {
    constexpr double kPi = 3.14159265358979323846;
    std::complex<double> x[kFftSize];
    for (int i = 0; i < kFftSize; ++i) {
        double hann = 0.5 - 0.5 * std::cos(2 * kPi * i / (kFftSize - 1));
        // Bit-reversed order for the in-place transform below.
        int r = 0;
        for (int b = 0; b < 8; ++b) r |= ((i >> b) & 1) << (7 - b);
        x[r] = samples[i] * hann;
    }
    for (int len = 2; len <= kFftSize; len <<= 1) {
        std::complex<double> step = std::polar(1.0, -2 * kPi / len);
        for (int start = 0; start < kFftSize; start += len) {
            std::complex<double> w = 1;
            for (int k = 0; k < len / 2; ++k) {
                std::complex<double> a = x[start + k], b = x[start + k + len / 2] * w;
                x[start + k] = a + b;
                x[start + k + len / 2] = a - b;
                w *= step;
            }
        }
    }
    // The Hann window halves a sine's peak; 4/N brings full scale back to 1.
    for (int k = 0; k < kFftSize / 2; ++k) out[k] = float(std::abs(x[k]) * 4.0 / kFftSize);
}

}  // namespace audiolib
