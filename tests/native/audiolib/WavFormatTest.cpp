#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "parse/WavFormat.h"

using namespace audiolib;

namespace {

void Put16(std::string& s, uint16_t v) { s += char(v & 0xFF), s += char(v >> 8); }
void Put32(std::string& s, uint32_t v) { Put16(s, uint16_t(v)), Put16(s, uint16_t(v >> 16)); }

struct Fmt {
    uint16_t tag = 1, channels = 2;
    uint32_t rate = 44100;
    uint16_t bits = 16;
    int blockAlign = -1;
    uint16_t subTag = 0;  // extensible: the real tag
};

std::string Wav(const Fmt& f, uint32_t dataSize, size_t dataHeld, const std::string& extraChunk = "") {
    std::string fmt;
    uint16_t align = f.blockAlign >= 0 ? uint16_t(f.blockAlign) : uint16_t(f.channels * f.bits / 8);
    Put16(fmt, f.tag), Put16(fmt, f.channels), Put32(fmt, f.rate), Put32(fmt, f.rate * align), Put16(fmt, align), Put16(fmt, f.bits);
    if (f.tag == 0xFFFE) {
        Put16(fmt, 22), Put16(fmt, f.bits), Put32(fmt, 3);
        Put16(fmt, f.subTag);
        fmt += std::string("\x00\x00\x00\x00\x10\x00\x80\x00\x00\xAA\x00\x38\x9B\x71", 14);
    }
    std::string body = "WAVE";
    body += extraChunk;
    body += "fmt ";
    Put32(body, uint32_t(fmt.size()));
    body += fmt;
    body += "data";
    Put32(body, dataSize);
    body += std::string(dataHeld, '\x01');
    std::string file = "RIFF";
    Put32(file, uint32_t(body.size()));
    return file + body;
}

WavResult Parse(const std::string& s, WavInfo& info) {
    return ParseWavHeader(reinterpret_cast<const uint8_t*>(s.data()), s.size(), s.size(), info);
}

}  // namespace

TEST(WavHeader, AcceptsTheStoredFormats) {
    struct Case {
        Fmt fmt;
        SampleKind kind;
    } cases[] = {
        {{1, 1, 8000, 8}, SampleKind::Int},       {{1, 2, 44100, 16}, SampleKind::Int},
        {{1, 2, 96000, 24}, SampleKind::Int},     {{1, 1, 22050, 32}, SampleKind::Int},
        {{3, 2, 48000, 32}, SampleKind::Float},   {{3, 1, 11025, 64}, SampleKind::Float},
        {{0xFFFE, 2, 48000, 24, -1, 1}, SampleKind::Int},
        {{0xFFFE, 2, 44100, 32, -1, 3}, SampleKind::Float},
    };
    for (const Case& c : cases) {
        WavInfo info;
        std::string file = Wav(c.fmt, 1000 * c.fmt.channels * c.fmt.bits / 8, 1000 * c.fmt.channels * c.fmt.bits / 8);
        ASSERT_EQ(Parse(file, info), WavResult::Ok) << c.fmt.tag << "/" << c.fmt.bits;
        EXPECT_EQ(info.kind, c.kind);
        EXPECT_EQ(info.rate, c.fmt.rate);
        EXPECT_EQ(info.channels, c.fmt.channels);
        EXPECT_EQ(info.Frames(), 1000u);
        EXPECT_EQ(info.dataOffset + info.dataBytes, file.size());
    }
}

TEST(WavHeader, RefusesWhatItCannotPlayOrThatContradictsItself) {
    struct Case {
        const char* what;
        std::string file;
        WavResult result;
    } cases[] = {
        {"not RIFF", std::string("RIFX") + Wav({}, 4, 4).substr(4), WavResult::NotWav},
        {"too short to tell", "RIFF", WavResult::NotWav},
        {"ADPCM", Wav({2, 2, 44100, 4}, 4, 4), WavResult::Unsupported},
        {"12-bit", Wav({1, 2, 44100, 12, 6}, 12, 12), WavResult::Unsupported},
        {"six channels", Wav({1, 6, 44100, 16}, 12, 12), WavResult::Unsupported},
        {"no channels", Wav({1, 0, 44100, 16, 2}, 4, 4), WavResult::Unsupported},
        {"rate 0", Wav({1, 2, 0, 16}, 4, 4), WavResult::Unsupported},
        {"block align lies", Wav({1, 2, 44100, 16, 3}, 12, 12), WavResult::Corrupt},
        {"extensible of another kind", Wav({0xFFFE, 2, 44100, 16, -1, 0x55}, 4, 4), WavResult::Unsupported},
        {"data before fmt", std::string("RIFF\x10\0\0\0WAVEdata\x04\0\0\0abcd", 24), WavResult::Corrupt},
        {"no data chunk", Wav({}, 0, 0).substr(0, 36), WavResult::Corrupt},
        {"chunk size past the end", std::string("RIFF\x10\0\0\0WAVELIST\xFF\xFF\xFF\x7F", 20), WavResult::Corrupt},
    };
    for (const Case& c : cases) {
        WavInfo info;
        EXPECT_EQ(Parse(c.file, info), c.result) << c.what;
    }
}

TEST(WavHeader, DataSizeIsClippedToTheFileAndToWholeFrames) {
    struct Case {
        uint32_t claimed;
        size_t held;
        uint64_t frames;
    } cases[] = {
        {4000, 4000, 1000},        // honest
        {0xFFFFFFFF, 4002, 1000},  // written on the fly, never closed
        {0, 4000, 1000},           // ditto
        {400000, 4003, 1000},      // the file was cut off
        {4001, 4001, 1000},        // a stray byte
    };
    for (const Case& c : cases) {
        WavInfo info;
        ASSERT_EQ(Parse(Wav({}, c.claimed, c.held), info), WavResult::Ok) << c.claimed;
        EXPECT_EQ(info.Frames(), c.frames) << c.claimed;
    }
}

TEST(WavHeader, SkipsOtherChunksAndAsksForMoreWhenTheyAreLong) {
    std::string list = "LIST";
    Put32(list, 5);
    list += "abcde";
    list += '\0';  // odd-sized chunks are padded
    std::string file = Wav({}, 400, 400, list);
    WavInfo info;
    ASSERT_EQ(Parse(file, info), WavResult::Ok);
    EXPECT_EQ(info.dataOffset, 12u + 14 + 24 + 8);
    EXPECT_EQ(ParseWavHeader(reinterpret_cast<const uint8_t*>(file.data()), 30, file.size(), info), WavResult::NeedMore);
}

TEST(WavConvert, EveryWidthLandsOn16Bits) {
    WavInfo info;
    info.channels = 1;
    struct Case {
        SampleKind kind;
        uint16_t bits;
        std::string bytes;
        int16_t expected;
    } cases[] = {
        {SampleKind::Int, 8, "\xFF", 127 * 256},
        {SampleKind::Int, 8, std::string("\x00", 1), -32768},
        {SampleKind::Int, 16, "\x34\x12", 0x1234},
        {SampleKind::Int, 24, "\x99\x34\x12", 0x1234},
        {SampleKind::Int, 32, std::string("\x99\x99\x00\x80", 4), -32768},
        {SampleKind::Float, 32, std::string("\x00\x00\x00\x3F", 4), 16384},  // 0.5
        {SampleKind::Float, 32, std::string("\x00\x00\xC0\x7F", 4), 0},      // NaN
        {SampleKind::Float, 32, std::string("\x00\x00\x20\x41", 4), 32767},  // 10.0 clips
        {SampleKind::Float, 64, std::string("\x00\x00\x00\x00\x00\x00\xF0\xBF", 8), -32768},  // -1.0
    };
    for (const Case& c : cases) {
        info.kind = c.kind;
        info.bits = c.bits;
        int16_t out = 1;
        ConvertToPcm16(info, reinterpret_cast<const uint8_t*>(c.bytes.data()), 1, &out);
        EXPECT_EQ(out, c.expected) << c.bits << " bits";
    }
}
