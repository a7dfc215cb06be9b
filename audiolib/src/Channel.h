#pragma once
// One stream: its source, its decoder, and for a playing stream the waveOut device it plays
// on, fed by a thread of its own with a few small buffers so that play, pause and seek are
// heard at once.
#include <windows.h>
#include <mmsystem.h>

#include <array>
#include <atomic>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "Decoder.h"
#include "Source.h"

namespace audiolib {

// A value that glides from one figure to another over a time, or jumps at once.
struct Slide {
    float from = 0, to = 0;
    ULONGLONG start = 0, duration = 0;
    bool stopAtEnd = false;
    float Now(ULONGLONG now) const {
        if (duration == 0 || now >= start + duration) return to;
        return from + (to - from) * float(double(now - start) / double(duration));
    }
    bool Done(ULONGLONG now) const { return duration == 0 || now >= start + duration; }
};

class Channel {
public:
    Channel(std::unique_ptr<ByteSource> source, std::unique_ptr<Decoder> decoder, bool decodeOnly);
    ~Channel();

    // All of these take the channel's lock; each sets the error code on failure.
    bool Play(bool restart);
    bool Pause();
    bool Stop();
    DWORD State();
    QWORD Position();
    bool SetPosition(QWORD bytes);
    QWORD Length();
    double BytesToSeconds(QWORD bytes) const;
    QWORD SecondsToBytes(double seconds) const;
    bool GetAttribute(DWORD attrib, float& value);
    bool SlideAttribute(DWORD attrib, float value, DWORD ms);
    DWORD GetData(void* buffer, DWORD length);
    const char* Tags(DWORD type);
    QWORD FilePosition(DWORD mode);

private:
    static constexpr int kBuffers = 4;
    static constexpr int kBufferMs = 20;
    static constexpr size_t kHistoryFrames = 8192;

    struct Segment {  // one written buffer: which device frames carry which source frames
        uint64_t deviceStart;
        uint32_t deviceFrames;
        double sourceStart, sourceEnd;
    };

    int BytesPerFrame() const { return 2 * decoder_->Channels(); }
    bool OpenDevice();
    void CloseDevice();
    void Run();
    void Service();
    // Resets the device and the resampler to a new source frame, keeping the play state.
    void Reposition(uint64_t frame);
    uint64_t DevicePlayed();
    double HeardFrame();
    size_t Render(int16_t* out, size_t frames, double& sourceStart, double& sourceEnd, ReadStatus& status);
    bool EnsureWindow(uint64_t frame, ReadStatus& status);
    void LoadTags();

    std::mutex mutex_;
    std::unique_ptr<ByteSource> source_;
    std::unique_ptr<Decoder> decoder_;
    const bool decodeOnly_;
    DWORD state_ = BASS_ACTIVE_STOPPED;
    bool ended_ = false;
    double stoppedAt_ = 0;  // the heard position while no device plays

    Slide freq_, volume_;

    // Resampler: decoded frames [windowStart_, windowStart_ + window_.size() / channels).
    std::vector<int16_t> window_;
    uint64_t windowStart_ = 0;
    double readFrame_ = 0;
    bool sourceEnded_ = false;
    bool starved_ = false;

    HWAVEOUT device_ = nullptr;
    HANDLE wake_ = nullptr;
    std::array<WAVEHDR, kBuffers> headers_{};
    std::array<std::vector<int16_t>, kBuffers> buffers_;
    std::array<bool, kBuffers> queued_{};
    std::deque<Segment> segments_;
    uint64_t deviceWritten_ = 0;
    double deviceBase_ = 0;  // source frame at device frame 0
    std::vector<int16_t> history_;  // what went to the device, by device frame modulo its size

    std::thread thread_;
    std::atomic<bool> quit_{false};

    bool tagsLoaded_ = false;
    std::array<char, 129> id3_{};
    bool hasId3_ = false;
};

extern std::atomic<float> g_masterVolume;

}  // namespace audiolib
