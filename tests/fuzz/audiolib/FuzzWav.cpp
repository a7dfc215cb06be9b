#include <cstddef>
#include <cstdint>
#include <vector>

#include "parse/WavFormat.h"

using namespace audiolib;

// The header parsed from a prefix and from the whole input, then every frame converted, as
// the decoder does: a header must never send a read past the bytes there are.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    WavInfo info;
    ParseWavHeader(data, size / 2, size, info);
    if (ParseWavHeader(data, size, size, info) != WavResult::Ok) return 0;
    if (info.dataOffset + info.dataBytes > size || info.dataBytes % info.blockAlign) __builtin_trap();
    size_t frames = size_t(info.Frames());
    std::vector<int16_t> out(frames * info.channels);
    if (ConvertToPcm16(info, data + info.dataOffset, frames, out.data()) != frames) __builtin_trap();
    return 0;
}
