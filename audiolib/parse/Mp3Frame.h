#pragma once
// MPEG audio layer III frames: the 4-byte header, the tags around the frames, and a scan that
// lists every frame of a file so that the length is exact and a seek finds its frame.
// Pure code, no Win32.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace audiolib {

struct Mp3Header {
    int version = 0;          // 1 = MPEG-1, 2 = MPEG-2, 25 = MPEG-2.5
    uint32_t bitrate = 0;     // bits per second
    uint32_t rate = 0;        // samples per second
    int channels = 0;         // 1 or 2
    bool crc = false;
    uint32_t frameBytes = 0;  // whole frame with its header
    uint32_t samples = 0;     // per channel: 1152 (MPEG-1) or 576
    uint32_t sideInfoBytes = 0;
};

inline constexpr size_t kMp3HeaderBytes = 4;
inline constexpr uint32_t kMp3MaxFrameBytes = 1441 + 3;  // 320 kbit/s at 32 kHz, padded

// Layer III only; free-format and reserved values are not frames.
bool ParseMp3Header(const uint8_t* p, Mp3Header& h);

// Frames of one stream must agree on these to belong together.
bool SameStream(const Mp3Header& a, const Mp3Header& b);

// The encoder's info frame (Xing/Info/VBRI) that carries no sound; the frame's bytes are given.
bool IsInfoFrame(const uint8_t* frame, size_t size, const Mp3Header& h);

// Size of the ID3v2 tag at p (header, body and footer), 0 if none; needs 10 bytes.
uint64_t Id3v2Size(const uint8_t* p, size_t size);

// Random-access reading for the scan; returns the bytes read (fewer only at the end).
class ByteReader {
public:
    virtual ~ByteReader() = default;
    virtual size_t ReadAt(uint64_t offset, uint8_t* buffer, size_t size) = 0;
};

// Lists the frames of an MP3 file. Scan may be called again as more of the file becomes
// available (a download); it goes on where it stopped.
class Mp3Scanner {
public:
    enum class State { Searching, Locked, NotMp3 };

    // How far to look for the first frame past the ID3v2 tags before calling it not MP3.
    static constexpr uint64_t kSearchLimit = 256 * 1024;

    // Scans [current, limit) where limit is the number of bytes available. final: no more bytes
    // will come (limit is the file's size); the file's own end may then hold an ID3v1 tag.
    State Scan(ByteReader& reader, uint64_t limit, bool final);

    State state() const { return state_; }
    const Mp3Header& format() const { return format_; }
    size_t FrameCount() const { return offsets_.size(); }
    uint64_t FrameOffset(size_t i) const { return offsets_[i]; }
    uint32_t FrameSize(size_t i) const { return sizes_[i]; }
    uint64_t Samples() const { return uint64_t(offsets_.size()) * format_.samples; }
    // Where the scan stands: bytes below this are accounted for.
    uint64_t Position() const { return pos_; }
    uint64_t AudioStart() const { return audioStart_; }

private:
    const uint8_t* Peek(ByteReader& reader, uint64_t offset, size_t size, uint64_t limit);
    // A header at offset that belongs to the stream (or starts it) and is followed by another,
    // or by the end of the file. 1 yes, 0 no, -1 cannot tell yet.
    int ConfirmedAt(ByteReader& reader, uint64_t offset, uint64_t limit, bool final, Mp3Header& h);

    State state_ = State::Searching;
    Mp3Header format_;
    uint64_t pos_ = 0;
    uint64_t audioStart_ = 0;
    bool tagsSkipped_ = false;
    bool infoChecked_ = false;
    std::vector<uint64_t> offsets_;
    std::vector<uint16_t> sizes_;
    std::vector<uint8_t> window_;
    uint64_t windowStart_ = 0;
};

}  // namespace audiolib
