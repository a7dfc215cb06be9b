// bass.dll loaded the way the program loads it (LoadLibrary + GetProcAddress from plugins\),
// run against media that sox made at build time.
#include <gtest/gtest.h>

#include <windows.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "StubHttpServer.h"
#include "audiolib_loader.h"

namespace {

using Api = AudiolibApi;
Api api;

std::string Media(const char* name) { return std::string(AUDIO_MEDIA_DIR) + name; }

std::string TempPath(const char* name) {
    char dir[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    return std::string(dir) + "audiolib_test_" + name;
}

std::string WriteTemp(const char* name, const std::string& bytes) {
    std::string path = TempPath(name);
    std::ofstream(path, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
    return path;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class AudioLibEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        std::string dll = std::string(BUILD_DIR) + "program/plugins/bass.dll";
        HMODULE module = LoadLibraryA(dll.c_str());
        ASSERT_TRUE(module) << dll;
        const char* missing = AudiolibResolve(module, api);
        ASSERT_EQ(missing, nullptr) << missing;
        // Before initialisation nothing opens.
        EXPECT_EQ(api.BASS_StreamCreateFile(FALSE, Media("tone.wav").c_str(), 0, 0, 0), 0u);
        EXPECT_EQ(api.BASS_ErrorGetCode(), BASS_ERROR_INIT);
        ASSERT_TRUE(api.BASS_Init(-1, 44100, 0, nullptr, nullptr));
        EXPECT_FALSE(api.BASS_Init(-1, 44100, 0, nullptr, nullptr));
        EXPECT_EQ(api.BASS_ErrorGetCode(), BASS_ERROR_ALREADY);
    }
};
const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new AudioLibEnvironment);

HSTREAM Open(const std::string& path, DWORD flags = 0) {
    return api.BASS_StreamCreateFile(FALSE, path.c_str(), 0, 0, flags);
}

// Every decoded sample of a decoding stream.
std::vector<int16_t> DecodeAll(HSTREAM s) {
    std::vector<int16_t> all;
    std::vector<int16_t> chunk(8192);
    while (true) {
        DWORD got = api.BASS_ChannelGetData(s, chunk.data(), DWORD(chunk.size() * 2));
        if (got == DWORD(-1) || got == 0) break;
        all.insert(all.end(), chunk.begin(), chunk.begin() + got / 2);
    }
    return all;
}

// Zero crossings per second of channel 0: a plain frequency estimate for a clean tone.
double ToneFrequency(const std::vector<int16_t>& pcm, int channels, int rate) {
    size_t frames = pcm.size() / channels, crossings = 0;
    for (size_t i = 1; i < frames; ++i)
        if ((pcm[(i - 1) * channels] < 0) != (pcm[i * channels] < 0)) ++crossings;
    return frames ? crossings / 2.0 / (double(frames) / rate) : 0;
}

TEST(AudioLibOpen, BadInputGivesNoHandleAndSaysWhy) {
    std::string random(200000, 0);
    uint32_t x = 12345;
    for (char& c : random) c = char((x = x * 1664525 + 1013904223) >> 24);
    std::string tone = ReadFile(Media("tone.wav"));
    std::string truncatedHeader = tone.substr(0, 30);
    std::string noData = tone.substr(0, 36);
    std::string badAlign = tone;
    badAlign[32] = 7;  // block align that fits no sample size
    std::string mp3 = ReadFile(Media("tone.mp3"));
    struct Case {
        const char* what;
        std::string path;
        int error;
    } cases[] = {
        {"missing path", TempPath("does_not_exist.wav"), BASS_ERROR_FILEOPEN},
        {"directory", std::string(AUDIO_MEDIA_DIR), BASS_ERROR_FILEOPEN},
        {"empty file", WriteTemp("empty.mp3", ""), BASS_ERROR_FILEFORM},
        {"random bytes named .mp3", WriteTemp("random.mp3", random), BASS_ERROR_FILEFORM},
        {"header cut short", WriteTemp("cut.wav", truncatedHeader), BASS_ERROR_FILEFORM},
        {"header without data", WriteTemp("nodata.wav", noData), BASS_ERROR_FILEFORM},
        {"lying block align", WriteTemp("align.wav", badAlign), BASS_ERROR_FILEFORM},
        {"MP3 of one byte", WriteTemp("byte.mp3", mp3.substr(0, 1)), BASS_ERROR_FILEFORM},
        {"text", WriteTemp("text.mp3", std::string(5000, 'a')), BASS_ERROR_FILEFORM},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Open(c.path), 0u) << c.what;
        EXPECT_EQ(api.BASS_ErrorGetCode(), c.error) << c.what;
    }
    EXPECT_EQ(api.BASS_StreamCreateFile(FALSE, nullptr, 0, 0, 0), 0u);
    EXPECT_EQ(api.BASS_StreamCreateFile(TRUE, nullptr, 0, 0, 0), 0u);
    EXPECT_EQ(api.BASS_ErrorGetCode(), BASS_ERROR_ILLPARAM);
}

TEST(AudioLibOpen, CutFilesPlayWhatTheyHold) {
    // A recording cut off mid-way (data size larger than the file, a last MP3 frame cut
    // short) opens with the length of what is really there.
    std::string tone = ReadFile(Media("tone.wav"));
    std::string cut = tone.substr(0, 44 + 4 * 1000 + 3);
    HSTREAM s = Open(WriteTemp("cutdata.wav", cut), BASS_STREAM_DECODE);
    ASSERT_NE(s, 0u);
    EXPECT_EQ(api.BASS_ChannelGetLength(s, BASS_POS_BYTE), 4000u);
    EXPECT_EQ(DecodeAll(s).size(), 2000u);
    api.BASS_StreamFree(s);

    std::string mp3 = ReadFile(Media("tone.mp3"));
    HSTREAM whole = Open(Media("tone.mp3"), BASS_STREAM_DECODE);
    HSTREAM part = Open(WriteTemp("cut.mp3", mp3.substr(0, mp3.size() / 2 + 100)), BASS_STREAM_DECODE);
    ASSERT_NE(part, 0u);
    QWORD wholeLength = api.BASS_ChannelGetLength(whole, BASS_POS_BYTE);
    QWORD partLength = api.BASS_ChannelGetLength(part, BASS_POS_BYTE);
    EXPECT_NEAR(double(partLength), wholeLength / 2.0, 1152 * 4 * 2);
    EXPECT_EQ(DecodeAll(part).size() * 2, partLength);
    api.BASS_StreamFree(whole);
    api.BASS_StreamFree(part);
}

TEST(AudioLibOpen, BadHandlesAreRefused) {
    DWORD bogus = 0x12345;
    float v;
    EXPECT_FALSE(api.BASS_ChannelPlay(bogus, TRUE));
    EXPECT_EQ(api.BASS_ErrorGetCode(), BASS_ERROR_HANDLE);
    EXPECT_EQ(api.BASS_ChannelIsActive(bogus), DWORD(BASS_ACTIVE_STOPPED));
    EXPECT_EQ(api.BASS_ChannelGetPosition(bogus, BASS_POS_BYTE), QWORD(-1));
    EXPECT_FALSE(api.BASS_ChannelGetAttribute(bogus, BASS_ATTRIB_FREQ, &v));
    EXPECT_EQ(api.BASS_ChannelGetTags(bogus, BASS_TAG_ID3), nullptr);
    EXPECT_EQ(api.BASS_ErrorGetCode(), BASS_ERROR_HANDLE);
    HSTREAM s = Open(Media("short.wav"));
    ASSERT_NE(s, 0u);
    EXPECT_TRUE(api.BASS_StreamFree(s));
    EXPECT_FALSE(api.BASS_StreamFree(s));
    EXPECT_EQ(api.BASS_ErrorGetCode(), BASS_ERROR_HANDLE);
}

TEST(AudioLibOpen, ErrorCodesBelongToTheirThread) {
    EXPECT_EQ(Open(TempPath("missing.wav")), 0u);
    int other = -2;
    std::thread([&] {
        other = api.BASS_ErrorGetCode();
        HSTREAM s = Open(Media("short.wav"));
        api.BASS_StreamFree(s);
    }).join();
    EXPECT_EQ(other, BASS_OK);
    EXPECT_EQ(api.BASS_ErrorGetCode(), BASS_ERROR_FILEOPEN);
}

TEST(AudioLibFormats, WavVariantsDecodeToTheSameTone) {
    struct Case {
        const char* file;
        int rate, channels;
        double seconds;
    } cases[] = {
        {"tone.wav", 44100, 2, 10}, {"u8mono.wav", 8000, 1, 2}, {"s24.wav", 48000, 2, 2},
        {"s32.wav", 32000, 1, 2},   {"f32.wav", 44100, 2, 2},   {"f64.wav", 11025, 1, 2},
    };
    for (const Case& c : cases) {
        HSTREAM s = Open(Media(c.file), BASS_STREAM_DECODE);
        ASSERT_NE(s, 0u) << c.file << " error " << api.BASS_ErrorGetCode();
        float rate = 0;
        EXPECT_TRUE(api.BASS_ChannelGetAttribute(s, BASS_ATTRIB_FREQ, &rate));
        EXPECT_EQ(rate, float(c.rate)) << c.file;
        QWORD length = api.BASS_ChannelGetLength(s, BASS_POS_BYTE);
        EXPECT_EQ(length, QWORD(std::llround(c.seconds * c.rate)) * 2 * c.channels) << c.file;
        EXPECT_DOUBLE_EQ(api.BASS_ChannelBytes2Seconds(s, length), c.seconds) << c.file;
        std::vector<int16_t> pcm = DecodeAll(s);
        EXPECT_EQ(pcm.size() * 2, length) << c.file;
        EXPECT_NEAR(ToneFrequency(pcm, c.channels, c.rate), 440, 2) << c.file;
        int16_t peak = 0;
        for (int16_t v : pcm) peak = std::max<int16_t>(peak, int16_t(std::abs(v)));
        EXPECT_GT(peak, 22000) << c.file;  // sox's level, whatever the stored width
        api.BASS_StreamFree(s);
    }
}

TEST(AudioLibFormats, Mp3LengthIsExactAndMatchesTheDecodedSamples) {
    struct Case {
        const char* file;
        int rate, channels;
        double seconds;
        double tone;
    } cases[] = {
        {"tone.mp3", 44100, 2, 10, 440},
        {"mono22.mp3", 22050, 1, 3, 440},
        {"vbr.mp3", 44100, 2, 4, 0},
    };
    for (const Case& c : cases) {
        HSTREAM s = Open(Media(c.file), BASS_STREAM_DECODE);
        ASSERT_NE(s, 0u) << c.file << " error " << api.BASS_ErrorGetCode();
        float rate = 0;
        api.BASS_ChannelGetAttribute(s, BASS_ATTRIB_FREQ, &rate);
        EXPECT_EQ(rate, float(c.rate)) << c.file;
        QWORD length = api.BASS_ChannelGetLength(s, BASS_POS_BYTE);
        int spf = c.rate > 32000 ? 1152 : 576;
        EXPECT_EQ(length % (spf * 2 * c.channels), 0u) << c.file << ": whole frames";
        // The encoder adds its delay and pads the last frame: at most a few frames more.
        double seconds = api.BASS_ChannelBytes2Seconds(s, length);
        EXPECT_GE(seconds, c.seconds) << c.file;
        EXPECT_LT(seconds, c.seconds + 3.0 * spf / c.rate) << c.file;
        std::vector<int16_t> pcm = DecodeAll(s);
        EXPECT_EQ(pcm.size() * 2, length) << c.file;
        EXPECT_EQ(api.BASS_ChannelIsActive(s), DWORD(BASS_ACTIVE_STOPPED)) << c.file;
        if (c.tone) {
            std::vector<int16_t> middle(pcm.begin() + pcm.size() / 4, pcm.begin() + pcm.size() * 3 / 4);
            EXPECT_NEAR(ToneFrequency(middle, c.channels, c.rate), c.tone, 3) << c.file;
        }
        api.BASS_StreamFree(s);
    }
}

TEST(AudioLibFormats, Id3TagsAreSkippedAndTheV1BlockIsOffered) {
    std::string mp3 = ReadFile(Media("tone.mp3"));
    std::string id3v2 = std::string("ID3\x03\x00\x00\x00\x00\x01\x00", 10) + std::string(128, '\0');  // 128-byte body
    std::string id3v1 = "TAG" + std::string("Title") + std::string(125 - 5, ' ');
    ASSERT_EQ(id3v1.size(), 128u);
    HSTREAM plain = Open(Media("tone.mp3"), BASS_STREAM_DECODE);
    HSTREAM tagged = Open(WriteTemp("tagged.mp3", id3v2 + mp3 + id3v1), BASS_STREAM_DECODE);
    ASSERT_NE(tagged, 0u);
    EXPECT_EQ(api.BASS_ChannelGetLength(tagged, BASS_POS_BYTE), api.BASS_ChannelGetLength(plain, BASS_POS_BYTE));
    EXPECT_EQ(api.BASS_StreamGetFilePosition(tagged, BASS_FILEPOS_START), 138u);
    const char* tag = api.BASS_ChannelGetTags(tagged, BASS_TAG_ID3);
    ASSERT_NE(tag, nullptr);
    EXPECT_EQ(std::string(tag, 8), "TAGTitle");
    EXPECT_EQ(api.BASS_ChannelGetTags(plain, BASS_TAG_ID3), nullptr);
    EXPECT_EQ(api.BASS_ErrorGetCode(), BASS_ERROR_NOTAVAIL);
    api.BASS_StreamFree(plain);
    api.BASS_StreamFree(tagged);
}

TEST(AudioLibSeek, LandsOnTheExactSample) {
    for (const char* file : {"tone.wav", "sweep.mp3", "mono22.mp3"}) {
        HSTREAM s = Open(Media(file), BASS_STREAM_DECODE);
        ASSERT_NE(s, 0u) << file;
        std::vector<int16_t> all = DecodeAll(s);
        QWORD length = api.BASS_ChannelGetLength(s, BASS_POS_BYTE);
        for (double t : {0.0, 0.5, 1.0, 2.0371, 2.5, 0.0261}) {
            QWORD pos = api.BASS_ChannelSeconds2Bytes(s, t);
            ASSERT_TRUE(api.BASS_ChannelSetPosition(s, pos, BASS_POS_BYTE)) << file << " " << t;
            EXPECT_EQ(api.BASS_ChannelGetPosition(s, BASS_POS_BYTE), pos);
            std::vector<int16_t> got(4096);
            DWORD n = api.BASS_ChannelGetData(s, got.data(), DWORD(got.size() * 2));
            ASSERT_EQ(n, got.size() * 2) << file << " " << t;
            size_t at = size_t(pos / 2);
            int worst = 0;
            for (size_t i = 0; i < got.size(); ++i) worst = std::max(worst, std::abs(got[i] - all[at + i]));
            // A WAV is the same bytes; an MP3 restarts its decoder a few frames early and may
            // differ by the rounding of the codec's first frames, never by a shifted signal.
            EXPECT_LE(worst, std::string(file).ends_with(".wav") ? 0 : 64) << file << " at " << t << " s";
        }
        EXPECT_FALSE(api.BASS_ChannelSetPosition(s, length + 4, BASS_POS_BYTE));
        EXPECT_EQ(api.BASS_ErrorGetCode(), BASS_ERROR_POSITION);
        api.BASS_StreamFree(s);
    }
}

TEST(AudioLibPlay, StatesPositionAndEnd) {
    HSTREAM s = Open(Media("tone.wav"));
    ASSERT_NE(s, 0u);
    EXPECT_EQ(api.BASS_ChannelIsActive(s), DWORD(BASS_ACTIVE_STOPPED));
    ASSERT_TRUE(api.BASS_ChannelPlay(s, TRUE)) << api.BASS_ErrorGetCode();
    EXPECT_EQ(api.BASS_ChannelIsActive(s), DWORD(BASS_ACTIVE_PLAYING));
    // What has been heard, not what has been decoded: just after the start it is near 0.
    EXPECT_LT(api.BASS_ChannelBytes2Seconds(s, api.BASS_ChannelGetPosition(s, BASS_POS_BYTE)), 0.05);
    Sleep(600);
    double heard = api.BASS_ChannelBytes2Seconds(s, api.BASS_ChannelGetPosition(s, BASS_POS_BYTE));
    EXPECT_NEAR(heard, 0.6, 0.15);
    ASSERT_TRUE(api.BASS_ChannelPause(s));
    EXPECT_EQ(api.BASS_ChannelIsActive(s), DWORD(BASS_ACTIVE_PAUSED));
    QWORD paused = api.BASS_ChannelGetPosition(s, BASS_POS_BYTE);
    Sleep(200);
    EXPECT_EQ(api.BASS_ChannelGetPosition(s, BASS_POS_BYTE), paused);
    EXPECT_FALSE(api.BASS_ChannelPause(s));
    // A seek while paused moves the position and stays paused.
    QWORD seven = api.BASS_ChannelSeconds2Bytes(s, 7.0);
    EXPECT_TRUE(api.BASS_ChannelSetPosition(s, seven, BASS_POS_BYTE));
    EXPECT_EQ(api.BASS_ChannelGetPosition(s, BASS_POS_BYTE), seven);
    EXPECT_EQ(api.BASS_ChannelIsActive(s), DWORD(BASS_ACTIVE_PAUSED));
    ASSERT_TRUE(api.BASS_ChannelPlay(s, FALSE));
    Sleep(300);
    EXPECT_NEAR(api.BASS_ChannelBytes2Seconds(s, api.BASS_ChannelGetPosition(s, BASS_POS_BYTE)), 7.3, 0.15);
    // Near the end it runs out and says stopped, with the position at the end.
    api.BASS_ChannelSetPosition(s, api.BASS_ChannelSeconds2Bytes(s, 9.7), BASS_POS_BYTE);
    for (int i = 0; i < 100 && api.BASS_ChannelIsActive(s) != BASS_ACTIVE_STOPPED; ++i) Sleep(20);
    EXPECT_EQ(api.BASS_ChannelIsActive(s), DWORD(BASS_ACTIVE_STOPPED));
    EXPECT_EQ(api.BASS_ChannelGetPosition(s, BASS_POS_BYTE), api.BASS_ChannelGetLength(s, BASS_POS_BYTE));
    // Playing again restarts from the beginning.
    ASSERT_TRUE(api.BASS_ChannelPlay(s, TRUE));
    EXPECT_LT(api.BASS_ChannelGetPosition(s, BASS_POS_BYTE), api.BASS_ChannelSeconds2Bytes(s, 0.1));
    EXPECT_TRUE(api.BASS_ChannelStop(s));
    EXPECT_EQ(api.BASS_ChannelIsActive(s), DWORD(BASS_ACTIVE_STOPPED));
    EXPECT_TRUE(api.BASS_StreamFree(s));
}

TEST(AudioLibPlay, SpeedAttributeMovesThePositionFaster) {
    HSTREAM s = Open(Media("tone.mp3"));
    ASSERT_NE(s, 0u);
    float rate = 0;
    ASSERT_TRUE(api.BASS_ChannelGetAttribute(s, BASS_ATTRIB_FREQ, &rate));
    EXPECT_EQ(rate, 44100.0f);
    ASSERT_TRUE(api.BASS_ChannelSlideAttribute(s, BASS_ATTRIB_FREQ, rate * 1.5f, 0));
    api.BASS_ChannelGetAttribute(s, BASS_ATTRIB_FREQ, &rate);
    EXPECT_EQ(rate, 66150.0f);
    ASSERT_TRUE(api.BASS_ChannelPlay(s, TRUE));
    // Measured between two readings once sound is flowing, so a slow start of the device on a
    // busy machine does not count.
    auto heardNow = [&] { return api.BASS_ChannelBytes2Seconds(s, api.BASS_ChannelGetPosition(s, BASS_POS_BYTE)); };
    for (int i = 0; i < 100 && heardNow() <= 0.0; ++i) Sleep(10);
    const ULONGLONG t0 = GetTickCount64();
    const double from = heardNow();
    Sleep(1000);
    const double heard = heardNow() - from;
    const double elapsed = (GetTickCount64() - t0) / 1000.0;
    EXPECT_NEAR(heard / elapsed, 1.5, 0.2);
    // A slide with a time glides: half way it is half way.
    ASSERT_TRUE(api.BASS_ChannelSlideAttribute(s, BASS_ATTRIB_VOL, 0.0f, 400));
    Sleep(200);
    float volume = 1;
    api.BASS_ChannelGetAttribute(s, BASS_ATTRIB_VOL, &volume);
    EXPECT_NEAR(volume, 0.5f, 0.15f);
    Sleep(300);
    api.BASS_ChannelGetAttribute(s, BASS_ATTRIB_VOL, &volume);
    EXPECT_EQ(volume, 0.0f);
    EXPECT_FALSE(api.BASS_ChannelSetAttribute(s, 99, 1.0f));
    EXPECT_EQ(api.BASS_ErrorGetCode(), BASS_ERROR_ILLTYPE);
    EXPECT_FALSE(api.BASS_ChannelSetAttribute(s, BASS_ATTRIB_FREQ, -5.0f));
    EXPECT_EQ(api.BASS_ErrorGetCode(), BASS_ERROR_ILLPARAM);
    api.BASS_StreamFree(s);
}

TEST(AudioLibPlay, SpectrumPeaksAtTheTone) {
    HSTREAM s = Open(Media("tone.wav"));
    ASSERT_TRUE(api.BASS_ChannelPlay(s, TRUE));
    float bins[128];
    int peak = 0;
    // The spectrum is of what has been heard: on a loaded machine the device may take a while.
    for (int tries = 0; tries < 20; ++tries) {
        Sleep(100);
        ASSERT_NE(api.BASS_ChannelGetData(s, bins, BASS_DATA_FFT256), DWORD(-1));
        peak = 0;
        for (int i = 1; i < 128; ++i)
            if (bins[i] > bins[peak]) peak = i;
        if (bins[peak] > 0.3f) break;
    }
    EXPECT_TRUE(peak == 2 || peak == 3) << peak;  // 440 Hz in bins of 172 Hz
    EXPECT_GT(bins[peak], 0.3f);
    EXPECT_LT(bins[40], 0.01f);
    api.BASS_StreamFree(s);
}

TEST(AudioLibPlugins, OnlyOurAddOnsLoad) {
    EXPECT_EQ(api.BASS_PluginLoad(TempPath("basswma.dll").c_str(), 0), 0u);
    EXPECT_EQ(api.BASS_ErrorGetCode(), BASS_ERROR_FILEOPEN);
    EXPECT_EQ(api.BASS_PluginLoad("C:\\windows\\system32\\msacm32.dll", 0), 0u);
    EXPECT_EQ(api.BASS_ErrorGetCode(), BASS_ERROR_FILEFORM);
    EXPECT_EQ(api.BASS_PluginLoad(Media("tone.wav").c_str(), 0), 0u);
    EXPECT_EQ(api.BASS_ErrorGetCode(), BASS_ERROR_FILEFORM);
    std::string addon = std::string(BUILD_DIR) + "tests/fake_addon.dll";
    EXPECT_NE(api.BASS_PluginLoad(addon.c_str(), 0), 0u);
    EXPECT_EQ(api.BASS_PluginLoad(addon.c_str(), 0), 0u);
    EXPECT_EQ(api.BASS_ErrorGetCode(), BASS_ERROR_ALREADY);
}

struct DownloadSeen {
    size_t bytes = 0;
    bool end = false;
};
void CALLBACK OnDownload(const void* buffer, DWORD length, void* user) {
    auto* seen = static_cast<DownloadSeen*>(user);
    if (!buffer) seen->end = true;
    seen->bytes += length;
}

TEST(AudioLibUrl, StreamsWhileItDownloadsAndReportsTheBuffer) {
    StubHttpServer::Reply reply;
    reply.body = ReadFile(Media("tone.mp3"));
    reply.bytesPerTick = 4000;  // about 400 kB/s: the 160 kB file takes ~0.4 s
    StubHttpServer server(reply);
    DownloadSeen seen;
    HSTREAM s = api.BASS_StreamCreateURL(server.Url().c_str(), 0, 0, OnDownload, &seen);
    ASSERT_NE(s, 0u) << api.BASS_ErrorGetCode();
    EXPECT_EQ(api.BASS_StreamGetFilePosition(s, BASS_FILEPOS_END), reply.body.size());
    QWORD early = api.BASS_StreamGetFilePosition(s, BASS_FILEPOS_BUFFER);
    EXPECT_LT(early, reply.body.size());
    ASSERT_TRUE(api.BASS_ChannelPlay(s, TRUE));
    Sleep(1500);
    EXPECT_EQ(api.BASS_StreamGetFilePosition(s, BASS_FILEPOS_BUFFER), reply.body.size());
    EXPECT_TRUE(seen.end);
    EXPECT_EQ(seen.bytes, reply.body.size());
    EXPECT_EQ(api.BASS_ChannelIsActive(s), DWORD(BASS_ACTIVE_PLAYING));
    HSTREAM local = Open(Media("tone.mp3"));
    EXPECT_EQ(api.BASS_ChannelGetLength(s, BASS_POS_BYTE), api.BASS_ChannelGetLength(local, BASS_POS_BYTE));
    EXPECT_NEAR(api.BASS_ChannelBytes2Seconds(s, api.BASS_ChannelGetPosition(s, BASS_POS_BYTE)), 1.5, 0.3);
    api.BASS_StreamFree(local);
    api.BASS_StreamFree(s);
}

TEST(AudioLibUrl, StallsWhileTheBufferIsEmpty) {
    StubHttpServer::Reply reply;
    reply.body = ReadFile(Media("tone.wav")).substr(0, 44 + 44100 * 4 * 4);  // 4 s
    reply.bytesPerTick = 64 * 1024;
    reply.holdAfter = 44 + 44100 * 4;  // one second, then two seconds of nothing
    reply.holdMs = 2500;
    reply.body.replace(40, 4, std::string("\x40\xC4\x0A\x00", 4));  // data size of 4 s
    StubHttpServer server(reply);
    HSTREAM s = api.BASS_StreamCreateURL(server.Url().c_str(), 0, 0, nullptr, nullptr);
    ASSERT_NE(s, 0u) << api.BASS_ErrorGetCode();
    ASSERT_TRUE(api.BASS_ChannelPlay(s, TRUE));
    DWORD state = 0;
    for (int i = 0; i < 100 && (state = api.BASS_ChannelIsActive(s)) != BASS_ACTIVE_STALLED; ++i) Sleep(20);
    EXPECT_EQ(state, DWORD(BASS_ACTIVE_STALLED));
    EXPECT_NEAR(api.BASS_ChannelBytes2Seconds(s, api.BASS_ChannelGetPosition(s, BASS_POS_BYTE)), 1.0, 0.05);
    for (int i = 0; i < 200 && (state = api.BASS_ChannelIsActive(s)) == BASS_ACTIVE_STALLED; ++i) Sleep(20);
    EXPECT_EQ(state, DWORD(BASS_ACTIVE_PLAYING));
    api.BASS_StreamFree(s);
}

TEST(AudioLibUrl, FailuresGiveNoHandle) {
    StubHttpServer::Reply missing;
    missing.status = 404;
    missing.body = "not here";
    StubHttpServer notFound(missing);
    EXPECT_EQ(api.BASS_StreamCreateURL(notFound.Url().c_str(), 0, 0, nullptr, nullptr), 0u);
    EXPECT_EQ(api.BASS_ErrorGetCode(), BASS_ERROR_FILEOPEN);

    StubHttpServer::Reply page;
    page.body = "<html><body>" + std::string(70000, 'x') + "</body></html>";
    StubHttpServer web(page);
    EXPECT_EQ(api.BASS_StreamCreateURL(web.Url().c_str(), 0, 0, nullptr, nullptr), 0u);
    EXPECT_EQ(api.BASS_ErrorGetCode(), BASS_ERROR_FILEFORM);

    EXPECT_EQ(api.BASS_StreamCreateURL("ftp://127.0.0.1/x.mp3", 0, 0, nullptr, nullptr), 0u);
    EXPECT_EQ(api.BASS_StreamCreateURL("", 0, 0, nullptr, nullptr), 0u);
    EXPECT_EQ(api.BASS_ErrorGetCode(), BASS_ERROR_FILEOPEN);
}

}  // namespace
