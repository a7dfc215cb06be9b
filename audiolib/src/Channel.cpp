#include "Channel.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "Errors.h"
#include "parse/Fft.h"

namespace audiolib {

std::atomic<float> g_masterVolume{1.0f};
extern std::atomic<UINT> g_outputDevice;

namespace {
constexpr size_t kDecodeChunk = 1152;
}

Channel::Channel(std::unique_ptr<ByteSource> source, std::unique_ptr<Decoder> decoder, bool decodeOnly)
    : source_(std::move(source)), decoder_(std::move(decoder)), decodeOnly_(decodeOnly) {
    freq_.from = freq_.to = float(decoder_->Rate());
    volume_.from = volume_.to = 1.0f;
}

Channel::~Channel() {
    quit_ = true;
    if (wake_) SetEvent(wake_);
    if (thread_.joinable()) thread_.join();
    CloseDevice();
    if (wake_) CloseHandle(wake_);
    // The decoder reads from the source: it goes first.
    decoder_.reset();
    source_.reset();
}

bool Channel::OpenDevice() {
    if (device_) return true;
    if (!wake_) wake_ = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    WAVEFORMATEX format{};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = WORD(decoder_->Channels());
    format.nSamplesPerSec = DWORD(decoder_->Rate());
    format.wBitsPerSample = 16;
    format.nBlockAlign = WORD(BytesPerFrame());
    format.nAvgBytesPerSec = format.nSamplesPerSec * format.nBlockAlign;
    HWAVEOUT device = nullptr;
    MMRESULT r = waveOutOpen(&device, g_outputDevice.load(), &format, reinterpret_cast<DWORD_PTR>(wake_), 0, CALLBACK_EVENT);
    if (r != MMSYSERR_NOERROR) return Fail(r == WAVERR_BADFORMAT ? BASS_ERROR_FORMAT : BASS_ERROR_DRIVER, false);
    device_ = device;
    size_t frames = size_t(decoder_->Rate()) * kBufferMs / 1000;
    for (int i = 0; i < kBuffers; ++i) {
        buffers_[i].assign(frames * decoder_->Channels(), 0);
        headers_[i] = WAVEHDR{};
        headers_[i].lpData = reinterpret_cast<LPSTR>(buffers_[i].data());
        headers_[i].dwBufferLength = DWORD(buffers_[i].size() * sizeof(int16_t));
        waveOutPrepareHeader(device_, &headers_[i], sizeof(WAVEHDR));
        queued_[i] = false;
    }
    history_.assign(kHistoryFrames * decoder_->Channels(), 0);
    thread_ = std::thread([this] { Run(); });
    return true;
}

void Channel::CloseDevice() {
    if (!device_) return;
    waveOutReset(device_);
    for (auto& h : headers_) waveOutUnprepareHeader(device_, &h, sizeof(WAVEHDR));
    waveOutClose(device_);
    device_ = nullptr;
}

void Channel::Run() {
    while (!quit_) {
        // The device signals each finished buffer; the time-out keeps slides and a stalled
        // download moving when nothing finishes.
        WaitForSingleObject(wake_, 10);
        std::lock_guard lock(mutex_);
        if (quit_) break;
        Service();
    }
}

void Channel::Service() {
    if (!device_) return;
    for (int i = 0; i < kBuffers; ++i)
        if (queued_[i] && (headers_[i].dwFlags & WHDR_DONE)) queued_[i] = false;
    ULONGLONG now = GetTickCount64();
    if (volume_.stopAtEnd && volume_.Done(now) && state_ != BASS_ACTIVE_STOPPED) {
        volume_.stopAtEnd = false;
        stoppedAt_ = HeardFrame();
        Reposition(uint64_t(stoppedAt_));
        state_ = BASS_ACTIVE_STOPPED;
        return;
    }
    if (state_ != BASS_ACTIVE_PLAYING && state_ != BASS_ACTIVE_STALLED) return;
    if (state_ == BASS_ACTIVE_STALLED && source_->IsDownload() && !source_->Complete()) {
        // Wait for half a second of sound before going on, or it stutters on a slow line.
        uint64_t ahead = source_->Available() - std::min(source_->Available(), decoder_->FilePosition());
        if (ahead < decoder_->BytesPerSecond() / 2) return;
    }
    for (int i = 0; i < kBuffers; ++i) {
        if (queued_[i]) continue;
        double start = 0, end = 0;
        ReadStatus status = ReadStatus::Ok;
        size_t frames = Render(buffers_[i].data(), buffers_[i].size() / decoder_->Channels(), start, end, status);
        if (frames == 0) break;
        headers_[i].dwBufferLength = DWORD(frames * BytesPerFrame());
        headers_[i].dwFlags &= ~WHDR_DONE;
        if (waveOutWrite(device_, &headers_[i], sizeof(WAVEHDR)) != MMSYSERR_NOERROR) break;
        queued_[i] = true;
        const int ch = decoder_->Channels();
        for (size_t f = 0; f < frames; ++f) {
            size_t slot = size_t((deviceWritten_ + f) % kHistoryFrames) * ch;
            std::memcpy(&history_[slot], &buffers_[i][f * ch], ch * sizeof(int16_t));
        }
        segments_.push_back({deviceWritten_, uint32_t(frames), start, end});
        while (segments_.size() > 4 * kBuffers) segments_.pop_front();
        deviceWritten_ += frames;
        state_ = BASS_ACTIVE_PLAYING;
    }
    bool anyQueued = std::any_of(queued_.begin(), queued_.end(), [](bool q) { return q; });
    if (!anyQueued) {
        if (sourceEnded_) {
            state_ = BASS_ACTIVE_STOPPED;
            ended_ = true;
            stoppedAt_ = double(decoder_->Frames());
            segments_.clear();
        } else if (starved_) {
            state_ = BASS_ACTIVE_STALLED;
        }
    }
}

bool Channel::EnsureWindow(uint64_t frame, ReadStatus& status) {
    const int ch = decoder_->Channels();
    while (frame >= windowStart_ + window_.size() / ch) {
        if (sourceEnded_) {
            status = ReadStatus::End;
            return false;
        }
        uint64_t keepFrom = std::min<uint64_t>(uint64_t(readFrame_), windowStart_ + window_.size() / ch);
        if (keepFrom > windowStart_) {
            window_.erase(window_.begin(), window_.begin() + size_t(keepFrom - windowStart_) * ch);
            windowStart_ = keepFrom;
        }
        size_t at = window_.size();
        window_.resize(at + kDecodeChunk * ch);
        size_t got = decoder_->Read(window_.data() + at, kDecodeChunk, status);
        window_.resize(at + got * ch);
        if (got == 0) {
            if (status == ReadStatus::Starved) starved_ = true;
            else sourceEnded_ = true;
            return false;
        }
        starved_ = false;
    }
    return true;
}

size_t Channel::Render(int16_t* out, size_t frames, double& sourceStart, double& sourceEnd, ReadStatus& status) {
    ULONGLONG now = GetTickCount64();
    const double ratio = double(freq_.Now(now)) / decoder_->Rate();
    const float gain = volume_.Now(now) * g_masterVolume.load();
    const int ch = decoder_->Channels();
    sourceStart = readFrame_;
    size_t done = 0;
    for (; done < frames; ++done) {
        uint64_t i = uint64_t(readFrame_);
        double frac = readFrame_ - double(i);
        if (!EnsureWindow(i, status)) break;
        const int16_t* a = &window_[size_t(i - windowStart_) * ch];
        const int16_t* b = a;
        if (frac > 0) {
            ReadStatus next;
            // The last frame of the stream has no successor: hold it.
            if (EnsureWindow(i + 1, next)) b = &window_[size_t(i + 1 - windowStart_) * ch];
            a = &window_[size_t(i - windowStart_) * ch];
        }
        for (int c = 0; c < ch; ++c) {
            double v = (a[c] + (b[c] - a[c]) * frac) * gain;
            out[done * ch + c] = int16_t(std::clamp(std::lround(v), -32768L, 32767L));
        }
        readFrame_ += ratio;
    }
    sourceEnd = readFrame_;
    return done;
}

void Channel::Reposition(uint64_t frame) {
    if (device_) {
        waveOutReset(device_);
        for (int i = 0; i < kBuffers; ++i) queued_[i] = false;
    }
    segments_.clear();
    deviceWritten_ = 0;
    deviceBase_ = double(frame);
    window_.clear();
    windowStart_ = frame;
    readFrame_ = double(frame);
    sourceEnded_ = false;
    starved_ = false;
}

uint64_t Channel::DevicePlayed() {
    MMTIME time{};
    time.wType = TIME_SAMPLES;
    if (!device_ || waveOutGetPosition(device_, &time, sizeof time) != MMSYSERR_NOERROR) return 0;
    uint64_t played = time.wType == TIME_SAMPLES ? time.u.sample : time.wType == TIME_BYTES ? time.u.cb / BytesPerFrame() : 0;
    return std::min(played, deviceWritten_);
}

double Channel::HeardFrame() {
    if (!device_ || state_ == BASS_ACTIVE_STOPPED || state_ == BASS_ACTIVE_PAUSED) return stoppedAt_;
    // Every buffer back from the device: all that was written has been played.
    bool allDone = std::all_of(headers_.begin(), headers_.end(), [](const WAVEHDR& h) { return (h.dwFlags & WHDR_DONE) || !(h.dwFlags & WHDR_INQUEUE); });
    if (allDone && !segments_.empty()) return segments_.back().sourceEnd;
    uint64_t played = DevicePlayed();
    for (const Segment& s : segments_) {
        if (played < s.deviceStart) return s.sourceStart;
        if (played < s.deviceStart + s.deviceFrames)
            return s.sourceStart + double(played - s.deviceStart) * (s.sourceEnd - s.sourceStart) / s.deviceFrames;
    }
    return segments_.empty() ? deviceBase_ : segments_.back().sourceEnd;
}

bool Channel::Play(bool restart) {
    std::lock_guard lock(mutex_);
    if (decodeOnly_) return Fail(BASS_ERROR_DECODE, false);
    if (!OpenDevice()) return false;
    if (!restart) {
        if (state_ == BASS_ACTIVE_PLAYING || state_ == BASS_ACTIVE_STALLED) return Fail(BASS_OK, true);
        if (state_ == BASS_ACTIVE_PAUSED) {
            waveOutRestart(device_);
            state_ = BASS_ACTIVE_PLAYING;
            SetEvent(wake_);
            return Fail(BASS_OK, true);
        }
    }
    uint64_t from = restart || ended_ ? 0 : uint64_t(stoppedAt_);
    if (!decoder_->Seek(from)) return Fail(BASS_ERROR_POSITION, false);
    Reposition(from);
    ended_ = false;
    state_ = BASS_ACTIVE_PLAYING;
    waveOutRestart(device_);
    Service();
    SetEvent(wake_);
    return Fail(BASS_OK, true);
}

bool Channel::Pause() {
    std::lock_guard lock(mutex_);
    if (decodeOnly_) return Fail(BASS_ERROR_DECODE, false);
    if (state_ == BASS_ACTIVE_PAUSED) return Fail(BASS_ERROR_ALREADY, false);
    if (state_ == BASS_ACTIVE_STOPPED) return Fail(BASS_ERROR_NOPLAY, false);
    waveOutPause(device_);
    // The device's clock still creeps on for a moment after a pause; the position shown
    // while paused must not.
    stoppedAt_ = HeardFrame();
    state_ = BASS_ACTIVE_PAUSED;
    return Fail(BASS_OK, true);
}

bool Channel::Stop() {
    std::lock_guard lock(mutex_);
    if (decodeOnly_) return Fail(BASS_ERROR_DECODE, false);
    if (state_ != BASS_ACTIVE_STOPPED) {
        stoppedAt_ = HeardFrame();
        Reposition(uint64_t(stoppedAt_));
        state_ = BASS_ACTIVE_STOPPED;
    }
    return Fail(BASS_OK, true);
}

DWORD Channel::State() {
    std::lock_guard lock(mutex_);
    SetError(BASS_OK);
    if (!decodeOnly_) return state_;
    if (decoder_->Position() >= decoder_->Frames() && source_->Complete()) return BASS_ACTIVE_STOPPED;
    return starved_ ? BASS_ACTIVE_STALLED : BASS_ACTIVE_PLAYING;
}

QWORD Channel::Position() {
    std::lock_guard lock(mutex_);
    SetError(BASS_OK);
    if (decodeOnly_) return decoder_->Position() * BytesPerFrame();
    double frame = std::max(0.0, HeardFrame());
    return std::min<uint64_t>(uint64_t(frame), decoder_->Frames()) * BytesPerFrame();
}

bool Channel::SetPosition(QWORD bytes) {
    std::lock_guard lock(mutex_);
    uint64_t frame = bytes / BytesPerFrame();
    if (frame > decoder_->Frames()) return Fail(BASS_ERROR_POSITION, false);
    if (!decoder_->Seek(frame)) return Fail(BASS_ERROR_POSITION, false);
    starved_ = false;
    if (decodeOnly_) return Fail(BASS_OK, true);
    Reposition(frame);
    ended_ = false;
    stoppedAt_ = double(frame);
    if (state_ == BASS_ACTIVE_PAUSED) {
        waveOutPause(device_);
    } else if (state_ != BASS_ACTIVE_STOPPED) {
        state_ = BASS_ACTIVE_PLAYING;
        waveOutRestart(device_);
        Service();
    }
    return Fail(BASS_OK, true);
}

QWORD Channel::Length() {
    std::lock_guard lock(mutex_);
    SetError(BASS_OK);
    return decoder_->Frames() * BytesPerFrame();
}

double Channel::BytesToSeconds(QWORD bytes) const {
    SetError(BASS_OK);
    return double(bytes / BytesPerFrame()) / decoder_->Rate();
}

QWORD Channel::SecondsToBytes(double seconds) const {
    if (!(seconds >= 0) || seconds > 1e9) return Fail(BASS_ERROR_ILLPARAM, QWORD(-1));
    SetError(BASS_OK);
    // The small nudge keeps 7.0 s from landing one frame short through rounding.
    return QWORD(std::floor(seconds * decoder_->Rate() + 1e-6)) * BytesPerFrame();
}

bool Channel::GetAttribute(DWORD attrib, float& value) {
    std::lock_guard lock(mutex_);
    ULONGLONG now = GetTickCount64();
    if (attrib == BASS_ATTRIB_FREQ) value = freq_.Now(now);
    else if (attrib == BASS_ATTRIB_VOL) value = volume_.Now(now);
    else return Fail(BASS_ERROR_ILLTYPE, false);
    return Fail(BASS_OK, true);
}

bool Channel::SlideAttribute(DWORD attrib, float value, DWORD ms) {
    std::lock_guard lock(mutex_);
    ULONGLONG now = GetTickCount64();
    Slide* slide = nullptr;
    bool stopAtEnd = false;
    if (attrib == BASS_ATTRIB_FREQ) {
        if (value == 0) value = float(decoder_->Rate());
        if (!(value >= 100 && value <= 384000)) return Fail(BASS_ERROR_ILLPARAM, false);
        slide = &freq_;
    } else if (attrib == BASS_ATTRIB_VOL) {
        if (value != value) return Fail(BASS_ERROR_ILLPARAM, false);
        // Gliding down to below zero fades the channel out and then stops it.
        stopAtEnd = value < 0 && ms > 0;
        value = std::clamp(value, 0.0f, 1.0f);
        slide = &volume_;
    } else {
        return Fail(BASS_ERROR_ILLTYPE, false);
    }
    slide->from = slide->Now(now);
    slide->to = value;
    slide->start = now;
    slide->duration = ms;
    slide->stopAtEnd = stopAtEnd;
    if (wake_) SetEvent(wake_);
    return Fail(BASS_OK, true);
}

DWORD Channel::GetData(void* buffer, DWORD length) {
    std::lock_guard lock(mutex_);
    const int ch = decoder_->Channels();
    const DWORD bpf = DWORD(BytesPerFrame());
    if (length == BASS_DATA_AVAILABLE) {
        SetError(BASS_OK);
        return decodeOnly_ ? 0 : DWORD((deviceWritten_ - DevicePlayed()) * bpf);
    }
    if (!buffer) return Fail(BASS_ERROR_ILLPARAM, DWORD(-1));
    if (length & 0x40000000) return Fail(BASS_ERROR_ILLTYPE, DWORD(-1));  // float data: not offered
    if (length & 0x80000000) {
        if (length != BASS_DATA_FFT256) return Fail(BASS_ERROR_ILLTYPE, DWORD(-1));
        std::vector<int16_t> pcm(size_t(kFftSize) * ch, 0);
        if (decodeOnly_) {
            ReadStatus status;
            size_t got = 0;
            while (got < size_t(kFftSize)) {
                size_t n = decoder_->Read(pcm.data() + got * ch, kFftSize - got, status);
                if (n == 0) break;
                got += n;
            }
        } else if (device_ && state_ != BASS_ACTIVE_STOPPED) {
            uint64_t from = DevicePlayed();
            for (int f = 0; f < kFftSize; ++f) {
                uint64_t d = from + f;
                if (d >= deviceWritten_ || d + kHistoryFrames < deviceWritten_) break;
                std::memcpy(&pcm[size_t(f) * ch], &history_[size_t(d % kHistoryFrames) * ch], ch * sizeof(int16_t));
            }
        }
        float mono[kFftSize];
        for (int f = 0; f < kFftSize; ++f) {
            float sum = 0;
            for (int c = 0; c < ch; ++c) sum += pcm[size_t(f) * ch + c];
            mono[f] = sum / (32768.0f * ch);
        }
        Fft256Magnitudes(mono, static_cast<float*>(buffer));
        SetError(BASS_OK);
        return DWORD(kFftSize) * bpf;
    }
    size_t frames = length / bpf;
    auto* out = static_cast<int16_t*>(buffer);
    size_t done = 0;
    if (decodeOnly_) {
        ReadStatus status = ReadStatus::Ok;
        while (done < frames) {
            size_t n = decoder_->Read(out + done * ch, frames - done, status);
            if (n == 0) break;
            done += n;
        }
        starved_ = done == 0 && status == ReadStatus::Starved;
        if (done == 0 && frames > 0 && status == ReadStatus::End) return Fail(BASS_ERROR_ENDED, DWORD(-1));
    } else if (device_ && state_ != BASS_ACTIVE_STOPPED) {
        uint64_t from = DevicePlayed();
        for (; done < frames; ++done) {
            uint64_t d = from + done;
            if (d >= deviceWritten_ || d + kHistoryFrames < deviceWritten_) break;
            std::memcpy(out + done * ch, &history_[size_t(d % kHistoryFrames) * ch], ch * sizeof(int16_t));
        }
    }
    SetError(BASS_OK);
    return DWORD(done * bpf);
}

void Channel::LoadTags() {
    if (tagsLoaded_ || !source_->Complete()) return;
    tagsLoaded_ = true;
    uint64_t size = source_->Size();
    if (size < 128) return;
    if (source_->ReadAt(size - 128, reinterpret_cast<uint8_t*>(id3_.data()), 128) == 128 && std::memcmp(id3_.data(), "TAG", 3) == 0)
        hasId3_ = true;
    id3_[128] = 0;
}

const char* Channel::Tags(DWORD type) {
    std::lock_guard lock(mutex_);
    if (type != BASS_TAG_ID3) return Fail(BASS_ERROR_NOTAVAIL, nullptr);
    LoadTags();
    if (!hasId3_) return Fail(BASS_ERROR_NOTAVAIL, nullptr);
    SetError(BASS_OK);
    return id3_.data();
}

QWORD Channel::FilePosition(DWORD mode) {
    std::lock_guard lock(mutex_);
    QWORD value = 0;
    switch (mode) {
    case BASS_FILEPOS_CURRENT: value = decoder_->FilePosition(); break;
    case BASS_FILEPOS_DOWNLOAD:
    case BASS_FILEPOS_BUFFER: value = source_->Available(); break;  // a local file is all at hand
    case BASS_FILEPOS_END: value = source_->Size(); break;
    case BASS_FILEPOS_START: value = decoder_->AudioStart(); break;
    case BASS_FILEPOS_CONNECTED:
        if (!source_->IsDownload()) return Fail(BASS_ERROR_NOTAVAIL, QWORD(-1));
        value = source_->Connected() ? 1 : 0;
        break;
    default: return Fail(BASS_ERROR_ILLTYPE, QWORD(-1));
    }
    SetError(BASS_OK);
    return value;
}

}  // namespace audiolib
