#include "WavFormat.h"

#include <cmath>
#include <cstring>

namespace audiolib {
namespace {

uint16_t Le16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }
uint32_t Le32(const uint8_t* p) { return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24); }

constexpr uint16_t kFormatPcm = 1;
constexpr uint16_t kFormatFloat = 3;
constexpr uint16_t kFormatExtensible = 0xFFFE;

// The tail shared by every KSDATAFORMAT_SUBTYPE_* GUID; the first two bytes hold the format tag.
constexpr uint8_t kSubtypeTail[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80, 0x00,
                                      0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

int16_t Clamp16(double v) {
    if (!(v == v)) return 0;  // NaN in a float file must not reach the conversion
    v = std::floor(v * 32768.0 + 0.5);
    if (v > 32767.0) return 32767;
    if (v < -32768.0) return -32768;
    return int16_t(v);
}

}  // namespace

WavResult ParseWavHeader(const uint8_t* data, size_t size, uint64_t fileSize, WavInfo& info) {
    info = WavInfo{};
    if (size < 12) return fileSize < 12 ? WavResult::NotWav : WavResult::NeedMore;
    if (std::memcmp(data, "RIFF", 4) != 0 || std::memcmp(data + 8, "WAVE", 4) != 0) return WavResult::NotWav;

    bool haveFormat = false;
    uint64_t pos = 12;
    while (true) {
        if (pos + 8 > fileSize) return WavResult::Corrupt;  // the file ends before any data chunk
        if (pos + 8 > size) return WavResult::NeedMore;
        const uint8_t* chunk = data + pos;
        uint64_t chunkSize = Le32(chunk + 4);
        uint64_t body = pos + 8;
        if (std::memcmp(chunk, "fmt ", 4) == 0) {
            if (chunkSize < 16) return WavResult::Corrupt;
            if (body + 16 > size) return body + 16 > fileSize ? WavResult::Corrupt : WavResult::NeedMore;
            const uint8_t* f = data + body;
            uint16_t tag = Le16(f);
            info.channels = Le16(f + 2);
            info.rate = Le32(f + 4);
            info.blockAlign = Le16(f + 12);
            info.bits = Le16(f + 14);
            if (tag == kFormatExtensible) {
                if (chunkSize < 40) return WavResult::Corrupt;
                if (body + 40 > size) return body + 40 > fileSize ? WavResult::Corrupt : WavResult::NeedMore;
                if (std::memcmp(f + 26, kSubtypeTail, sizeof kSubtypeTail) != 0) return WavResult::Unsupported;
                tag = Le16(f + 24);
                uint16_t validBits = Le16(f + 18);
                if (validBits > info.bits) return WavResult::Corrupt;
            }
            if (tag == kFormatPcm) {
                info.kind = SampleKind::Int;
                if (info.bits != 8 && info.bits != 16 && info.bits != 24 && info.bits != 32) return WavResult::Unsupported;
            } else if (tag == kFormatFloat) {
                info.kind = SampleKind::Float;
                if (info.bits != 32 && info.bits != 64) return WavResult::Unsupported;
            } else {
                return WavResult::Unsupported;
            }
            if (info.channels < 1 || info.channels > 2) return WavResult::Unsupported;
            if (info.rate < 1000 || info.rate > 768000) return WavResult::Unsupported;
            if (info.blockAlign != info.channels * (info.bits / 8)) return WavResult::Corrupt;
            haveFormat = true;
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            if (!haveFormat) return WavResult::Corrupt;
            info.dataOffset = body;
            uint64_t avail = fileSize > body ? fileSize - body : 0;
            // Streams written on the fly leave 0 or ~0 here; the file decides then.
            if (chunkSize == 0 || chunkSize == 0xFFFFFFFFu || chunkSize > avail) chunkSize = avail;
            info.dataBytes = chunkSize - chunkSize % info.blockAlign;
            return WavResult::Ok;
        }
        pos = body + chunkSize + (chunkSize & 1);
    }
}

size_t ConvertToPcm16(const WavInfo& info, const uint8_t* in, size_t frames, int16_t* out) {
    const size_t samples = frames * info.channels;
    if (info.kind == SampleKind::Float) {
        if (info.bits == 32) {
            for (size_t i = 0; i < samples; ++i) {
                float v;
                std::memcpy(&v, in + 4 * i, 4);
                out[i] = Clamp16(v);
            }
        } else {
            for (size_t i = 0; i < samples; ++i) {
                double v;
                std::memcpy(&v, in + 8 * i, 8);
                out[i] = Clamp16(v);
            }
        }
        return frames;
    }
    switch (info.bits) {
    case 8:
        for (size_t i = 0; i < samples; ++i) out[i] = int16_t((int(in[i]) - 128) * 256);
        break;
    case 16:
        for (size_t i = 0; i < samples; ++i) out[i] = int16_t(Le16(in + 2 * i));
        break;
    case 24:
        for (size_t i = 0; i < samples; ++i) out[i] = int16_t(Le16(in + 3 * i + 1));
        break;
    case 32:
        for (size_t i = 0; i < samples; ++i) out[i] = int16_t(Le16(in + 4 * i + 2));
        break;
    default:
        return 0;
    }
    return frames;
}

}  // namespace audiolib
