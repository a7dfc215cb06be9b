#include "audio/TimeText.h"

#include <cmath>
#include <cstdio>

std::string FormatTime(double seconds) {
    // Negative or non-finite positions come from a library that has no stream: show zero.
    if (!std::isfinite(seconds) || seconds < 0) seconds = 0;
    const double minutes = std::floor(seconds / 60);
    const long long m = static_cast<long long>(minutes);
    const long long s = static_cast<long long>(std::floor(seconds - minutes * 60)) % 60;
    char text[32];
    std::snprintf(text, sizeof text, "%02lld:%02lld", m, s);
    return text;
}
