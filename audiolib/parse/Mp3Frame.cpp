#include "Mp3Frame.h"

#include <algorithm>
#include <cstring>

namespace audiolib {
namespace {

constexpr uint16_t kBitrateV1[16] = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0};
constexpr uint16_t kBitrateV2[16] = {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0};
constexpr uint32_t kRateV1[3] = {44100, 48000, 32000};

constexpr size_t kWindowBytes = 256 * 1024;

}  // namespace

bool ParseMp3Header(const uint8_t* p, Mp3Header& h) {
    if (p[0] != 0xFF || (p[1] & 0xE0) != 0xE0) return false;
    int versionBits = (p[1] >> 3) & 3;
    int layerBits = (p[1] >> 1) & 3;
    int bitrateIndex = p[2] >> 4;
    int rateIndex = (p[2] >> 2) & 3;
    if (versionBits == 1 || layerBits != 1 || rateIndex == 3) return false;
    if (bitrateIndex == 0 || bitrateIndex == 15 || (p[3] & 3) == 2) return false;
    h.version = versionBits == 3 ? 1 : versionBits == 2 ? 2 : 25;
    h.crc = (p[1] & 1) == 0;
    h.channels = (p[3] >> 6) == 3 ? 1 : 2;
    h.rate = kRateV1[rateIndex] >> (h.version == 1 ? 0 : h.version == 2 ? 1 : 2);
    bool padded = (p[2] >> 1) & 1;
    if (h.version == 1) {
        h.bitrate = kBitrateV1[bitrateIndex] * 1000u;
        h.samples = 1152;
        h.frameBytes = 144 * h.bitrate / h.rate + padded;
        h.sideInfoBytes = h.channels == 1 ? 17 : 32;
    } else {
        h.bitrate = kBitrateV2[bitrateIndex] * 1000u;
        h.samples = 576;
        h.frameBytes = 72 * h.bitrate / h.rate + padded;
        h.sideInfoBytes = h.channels == 1 ? 9 : 17;
    }
    return h.frameBytes > kMp3HeaderBytes + h.sideInfoBytes + (h.crc ? 2 : 0);
}

bool SameStream(const Mp3Header& a, const Mp3Header& b) {
    return a.version == b.version && a.rate == b.rate && a.channels == b.channels;
}

bool IsInfoFrame(const uint8_t* frame, size_t size, const Mp3Header& h) {
    size_t xing = kMp3HeaderBytes + (h.crc ? 2 : 0) + h.sideInfoBytes;
    if (xing + 4 <= size && (std::memcmp(frame + xing, "Xing", 4) == 0 || std::memcmp(frame + xing, "Info", 4) == 0))
        return true;
    return 36 + 4 <= size && std::memcmp(frame + 36, "VBRI", 4) == 0;
}

uint64_t Id3v2Size(const uint8_t* p, size_t size) {
    if (size < 10 || std::memcmp(p, "ID3", 3) != 0 || p[3] == 0xFF || p[4] == 0xFF) return 0;
    if ((p[6] | p[7] | p[8] | p[9]) & 0x80) return 0;
    uint64_t body = (uint64_t(p[6]) << 21) | (uint64_t(p[7]) << 14) | (uint64_t(p[8]) << 7) | p[9];
    return 10 + body + ((p[5] & 0x10) ? 10 : 0);
}

const uint8_t* Mp3Scanner::Peek(ByteReader& reader, uint64_t offset, size_t size, uint64_t limit) {
    if (offset + size > limit) return nullptr;
    if (offset >= windowStart_ && offset + size <= windowStart_ + window_.size()) return window_.data() + (offset - windowStart_);
    size_t want = size_t(std::min<uint64_t>(std::max(kWindowBytes, size), limit - offset));
    window_.resize(want);
    size_t got = reader.ReadAt(offset, window_.data(), want);
    window_.resize(got);
    windowStart_ = offset;
    return got >= size ? window_.data() : nullptr;
}

int Mp3Scanner::ConfirmedAt(ByteReader& reader, uint64_t offset, uint64_t limit, bool final, Mp3Header& h) {
    const uint8_t* p = Peek(reader, offset, kMp3HeaderBytes, limit);
    if (!p) return final ? 0 : -1;
    if (!ParseMp3Header(p, h)) return 0;
    if (state_ == State::Locked && !SameStream(h, format_)) return 0;
    uint64_t next = offset + h.frameBytes;
    if (next > limit) return final ? 0 : -1;
    // Straight after a frame of the stream a good header is enough: the frame before garbage
    // or before a tag is a real one. Only a resync needs the second header as proof.
    if (state_ == State::Locked && !offsets_.empty() && offset == offsets_.back() + sizes_.back()) return 1;
    // A frame that ends exactly at the end of the file (or at its ID3v1 tag) needs no successor.
    if (final && next + kMp3HeaderBytes > limit) return 1;
    const uint8_t* q = Peek(reader, next, kMp3HeaderBytes, limit);
    if (!q) return final ? 1 : -1;
    Mp3Header n;
    return ParseMp3Header(q, n) && SameStream(h, n) ? 1 : 0;
}

Mp3Scanner::State Mp3Scanner::Scan(ByteReader& reader, uint64_t limit, bool final) {
    if (state_ == State::NotMp3) return state_;
    if (!final) {
        // The last 128 bytes so far may turn out to be the ID3v1 tag that closes the file:
        // they wait for the end, so that a download finds the same frames as a whole file.
        limit = limit > 128 ? limit - 128 : 0;
    } else {
        // An ID3v1 tag closes the file; its bytes are not frames.
        uint8_t tag[3];
        if (limit >= 128 && reader.ReadAt(limit - 128, tag, 3) == 3 && std::memcmp(tag, "TAG", 3) == 0) limit -= 128;
    }
    if (!tagsSkipped_) {
        while (true) {
            const uint8_t* p = Peek(reader, pos_, 10, limit);
            if (!p) {
                if (!final) return state_;
                break;
            }
            uint64_t tag = Id3v2Size(p, 10);
            if (tag == 0) break;
            pos_ += tag;
        }
        tagsSkipped_ = true;
        audioStart_ = pos_;
    }
    while (pos_ < limit) {
        Mp3Header h;
        int ok = ConfirmedAt(reader, pos_, limit, final, h);
        if (ok < 0) return state_;
        if (ok == 0) {
            if (state_ == State::Searching && pos_ - audioStart_ >= kSearchLimit) {
                state_ = State::NotMp3;
                return state_;
            }
            ++pos_;  // garbage between frames: look for the next sync
            continue;
        }
        if (state_ == State::Searching) {
            state_ = State::Locked;
            format_ = h;
        }
        if (!infoChecked_) {
            infoChecked_ = true;
            const uint8_t* frame = Peek(reader, pos_, h.frameBytes, limit);
            if (frame && IsInfoFrame(frame, h.frameBytes, h)) {
                pos_ += h.frameBytes;
                continue;
            }
        }
        offsets_.push_back(pos_);
        sizes_.push_back(uint16_t(h.frameBytes));
        pos_ += h.frameBytes;
    }
    if (final && state_ == State::Searching) state_ = State::NotMp3;
    if (final && state_ == State::Locked && offsets_.empty()) state_ = State::NotMp3;
    return state_;
}

}  // namespace audiolib
