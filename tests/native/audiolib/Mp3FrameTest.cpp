#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "parse/Mp3Frame.h"
#include "parse/Fft.h"

using namespace audiolib;

namespace {

// A frame header for MPEG-1 layer III at the given bitrate index, 44.1 kHz, stereo.
std::string Frame(int bitrateIndex = 9, bool pad = false, uint8_t fill = 0x55) {
    Mp3Header h;
    uint8_t head[4] = {0xFF, 0xFB, uint8_t((bitrateIndex << 4) | (pad ? 2 : 0)), 0x00};
    EXPECT_TRUE(ParseMp3Header(head, h));
    std::string f(reinterpret_cast<char*>(head), 4);
    f += std::string(h.frameBytes - 4, char(fill));
    return f;
}

class StringReader : public ByteReader {
public:
    explicit StringReader(std::string s) : s_(std::move(s)) {}
    size_t ReadAt(uint64_t offset, uint8_t* buffer, size_t size) override {
        if (offset >= s_.size()) return 0;
        size = std::min<size_t>(size, s_.size() - offset);
        std::memcpy(buffer, s_.data() + offset, size);
        return size;
    }
    std::string s_;
};

std::string Repeat(const std::string& s, int n) {
    std::string out;
    for (int i = 0; i < n; ++i) out += s;
    return out;
}

}  // namespace

TEST(Mp3Header, ReadsTheThreeVersions) {
    struct Case {
        uint8_t b1, b2, b3;
        int version;
        uint32_t rate, bitrate, frameBytes, samples;
        int channels;
    } cases[] = {
        {0xFB, 0x90, 0x00, 1, 44100, 128000, 417, 1152, 2},
        {0xFB, 0x92, 0x00, 1, 44100, 128000, 418, 1152, 2},   // padded
        {0xFA, 0xE4, 0xC0, 1, 48000, 320000, 960, 1152, 1},   // with CRC, mono
        {0xF3, 0x48, 0xC0, 2, 16000, 32000, 144, 576, 1},
        {0xE3, 0x90, 0x40, 25, 11025, 80000, 522, 576, 2},
    };
    for (const Case& c : cases) {
        uint8_t head[4] = {0xFF, c.b1, c.b2, c.b3};
        Mp3Header h;
        ASSERT_TRUE(ParseMp3Header(head, h)) << int(c.b1) << " " << int(c.b2);
        EXPECT_EQ(h.version, c.version);
        EXPECT_EQ(h.rate, c.rate);
        EXPECT_EQ(h.bitrate, c.bitrate);
        EXPECT_EQ(h.frameBytes, c.frameBytes);
        EXPECT_EQ(h.samples, c.samples);
        EXPECT_EQ(h.channels, c.channels);
    }
}

TEST(Mp3Header, RefusesWhatIsNoLayerThreeFrame) {
    const uint8_t bad[][4] = {
        {0xFF, 0xFD, 0x90, 0x00},  // layer I
        {0xFF, 0xEB, 0x90, 0x00},  // reserved version
        {0xFF, 0xFB, 0x00, 0x00},  // free format
        {0xFF, 0xFB, 0xF0, 0x00},  // bad bitrate
        {0xFF, 0xFB, 0x9C, 0x00},  // reserved rate
        {0xFF, 0xFB, 0x90, 0x02},  // reserved emphasis
        {0xFE, 0xFB, 0x90, 0x00},  // no sync
    };
    for (const auto& b : bad) {
        Mp3Header h;
        EXPECT_FALSE(ParseMp3Header(b, h)) << int(b[1]) << " " << int(b[2]);
    }
}

TEST(Mp3Scan, CountsFramesPastTagsInfoFrameAndGarbage) {
    std::string info = Frame();
    std::memcpy(&info[4 + 32], "Info", 4);
    std::string id3v2 = std::string("ID3\x04\x00\x10\x00\x00\x00\x05", 10) + "12345" + std::string(10, '\0');  // with footer
    std::string id3v1 = "TAG" + std::string(125, 'x');
    struct Case {
        const char* what;
        std::string file;
        size_t frames;
        uint64_t audioStart;
    } cases[] = {
        {"plain", Repeat(Frame(), 10), 10, 0},
        {"ID3v2 with footer", id3v2 + Repeat(Frame(), 10), 10, 25},
        {"info frame", info + Repeat(Frame(), 10), 10, 0},
        {"ID3v1 at the end", Repeat(Frame(), 10) + id3v1, 10, 0},
        {"VBR", Repeat(Frame(9) + Frame(14) + Frame(5, true), 4), 12, 0},
        {"garbage between", Repeat(Frame(), 5) + "junkjunk" + Repeat(Frame(), 5), 10, 0},
        {"last frame cut short", Repeat(Frame(), 10) + Frame().substr(0, 100), 10, 0},
        {"leading zeros", std::string(3000, '\0') + Repeat(Frame(), 3), 3, 0},
    };
    for (const Case& c : cases) {
        StringReader reader(c.file);
        Mp3Scanner scan;
        EXPECT_EQ(scan.Scan(reader, c.file.size(), true), Mp3Scanner::State::Locked) << c.what;
        EXPECT_EQ(scan.FrameCount(), c.frames) << c.what;
        EXPECT_EQ(scan.AudioStart(), c.audioStart) << c.what;
        EXPECT_EQ(scan.Samples(), c.frames * 1152) << c.what;
    }
}

TEST(Mp3Scan, SaysNotMp3ForOtherFiles) {
    std::string random(300000, 0);
    uint32_t x = 1;
    for (char& c : random) c = char((x = x * 1664525 + 1013904223) >> 24);
    for (const std::string& file : {std::string(), std::string(400000, '\xFF'), random, std::string("RIFF....WAVE") + random}) {
        StringReader reader(file);
        Mp3Scanner scan;
        EXPECT_EQ(scan.Scan(reader, file.size(), true), Mp3Scanner::State::NotMp3) << file.size();
    }
}

TEST(Mp3Scan, GoesOnAsADownloadArrives) {
    std::string file = Repeat(Frame(), 20);
    StringReader reader(file);
    Mp3Scanner scan;
    EXPECT_EQ(scan.Scan(reader, 1000, false), Mp3Scanner::State::Locked);
    size_t early = scan.FrameCount();
    EXPECT_LT(early, 3u);  // a frame counts only once its successor has arrived
    scan.Scan(reader, 5000, false);
    EXPECT_GT(scan.FrameCount(), early);
    scan.Scan(reader, file.size(), true);
    EXPECT_EQ(scan.FrameCount(), 20u);
}

TEST(Spectrum, SinePeaksInItsBin) {
    float samples[kFftSize], bins[kFftSize / 2];
    for (int i = 0; i < kFftSize; ++i) samples[i] = float(std::sin(2 * 3.14159265358979 * 16 * i / kFftSize));
    Fft256Magnitudes(samples, bins);
    EXPECT_NEAR(bins[16], 1.0f, 0.05f);
    EXPECT_LT(bins[40], 0.001f);
}
