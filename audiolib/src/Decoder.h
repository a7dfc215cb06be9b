#pragma once
// Turns the bytes of a source into 16-bit PCM at the file's own rate and channels, a piece at
// a time, from any sample position.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "Source.h"

namespace audiolib {

enum class ReadStatus { Ok, End, Starved, Failed };

class Decoder {
public:
    virtual ~Decoder() = default;
    int Rate() const { return rate_; }
    int Channels() const { return channels_; }
    // Frames of the whole stream; while a download runs an estimate until the end has arrived.
    virtual uint64_t Frames() = 0;
    // Reads up to frames frames at the current position; 0 frames comes with End, Starved
    // (a download has not brought the bytes yet) or Failed.
    virtual size_t Read(int16_t* out, size_t frames, ReadStatus& status) = 0;
    // Moves to an exact frame; false when it lies beyond the stream or beyond the download.
    virtual bool Seek(uint64_t frame) = 0;
    uint64_t Position() const { return position_; }
    // Byte offset in the file that the decoder has read up to.
    virtual uint64_t FilePosition() const = 0;
    virtual uint64_t AudioStart() const = 0;
    virtual uint32_t BytesPerSecond() const = 0;

protected:
    int rate_ = 0;
    int channels_ = 0;
    uint64_t position_ = 0;
};

// Detects the format from the first bytes and builds its decoder; null with the error code set.
// For a download this waits (a few seconds at most) for enough bytes to tell.
std::unique_ptr<Decoder> OpenDecoder(ByteSource& source);

std::unique_ptr<Decoder> OpenWavDecoder(ByteSource& source, bool& isWav);
std::unique_ptr<Decoder> OpenMp3Decoder(ByteSource& source);

}  // namespace audiolib
