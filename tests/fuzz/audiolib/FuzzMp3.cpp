#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "parse/Mp3Frame.h"

using namespace audiolib;

namespace {
class Reader : public ByteReader {
public:
    Reader(const uint8_t* d, size_t n) : data(d), size(n) {}
    size_t ReadAt(uint64_t offset, uint8_t* buffer, size_t want) override {
        if (offset >= size) return 0;
        want = std::min<size_t>(want, size - size_t(offset));
        std::memcpy(buffer, data + offset, want);
        return want;
    }
    const uint8_t* data;
    size_t size;
};
}  // namespace

// The scan in one go and as a download in pieces must find frames that lie inside the file
// and agree with each other.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Reader reader(data, size);
    Mp3Scanner whole;
    whole.Scan(reader, size, true);
    Mp3Scanner pieces;
    for (size_t limit = 0; limit < size; limit += 997) pieces.Scan(reader, limit, false);
    pieces.Scan(reader, size, true);
    if (whole.state() != pieces.state() || whole.FrameCount() != pieces.FrameCount()) __builtin_trap();
    for (size_t i = 0; i < whole.FrameCount(); ++i) {
        if (whole.FrameOffset(i) + whole.FrameSize(i) > size) __builtin_trap();
        Mp3Header h;
        if (!ParseMp3Header(data + whole.FrameOffset(i), h) || !SameStream(h, whole.format())) __builtin_trap();
        if (i && whole.FrameOffset(i) < whole.FrameOffset(i - 1) + whole.FrameSize(i - 1)) __builtin_trap();
    }
    return 0;
}
