#pragma once
// The RIFF/WAVE header: where the samples are and how they are stored. Pure code, no Win32.
#include <cstddef>
#include <cstdint>

namespace audiolib {

enum class SampleKind { Int, Float };

struct WavInfo {
    SampleKind kind = SampleKind::Int;
    uint32_t rate = 0;
    uint16_t channels = 0;
    uint16_t bits = 0;        // 8, 16, 24, 32 (int) or 32, 64 (float)
    uint16_t blockAlign = 0;  // bytes of one frame (all channels)
    uint64_t dataOffset = 0;  // from the start of the file
    uint64_t dataBytes = 0;   // whole frames only, clipped to what the file holds
    uint64_t Frames() const { return blockAlign ? dataBytes / blockAlign : 0; }
};

enum class WavResult { Ok, NotWav, NeedMore, Unsupported, Corrupt };

// Parses the header from the first bytes of a file of fileSize bytes (fileSize may exceed
// size: only the header has to be present). NeedMore when the data chunk starts past size.
// A data chunk that claims more than the file holds is clipped to the file.
WavResult ParseWavHeader(const uint8_t* data, size_t size, uint64_t fileSize, WavInfo& info);

// Converts whole frames of the stored format to interleaved 16-bit samples.
// Returns the number of frames written (min of the two counts given).
size_t ConvertToPcm16(const WavInfo& info, const uint8_t* in, size_t frames, int16_t* out);

}  // namespace audiolib
