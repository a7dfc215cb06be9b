// MP3 through the platform's ACM MPEG layer-3 codec. The frames are listed by our own scan
// (parse/Mp3Frame), so the length is known at open and a seek starts the codec a few frames
// before the target and throws away what comes before it.
#include <windows.h>
#include <mmsystem.h>
#include <mmreg.h>
#include <msacm.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "Decoder.h"
#include "Errors.h"

namespace audiolib {
namespace {

// Decoded ahead of a seek target and thrown away: the bit reservoir reaches up to 511 bytes
// back into earlier frames (many small frames at low MPEG-2 rates) and the synthesis overlaps
// with the previous frame, so the first frames after a restart are not yet the real sound.
constexpr size_t kPrerollFrames = 3;
constexpr uint64_t kPrerollBytes = 1024;
constexpr size_t kFramesPerFeed = 8;

class Mp3Decoder : public Decoder {
public:
    explicit Mp3Decoder(ByteSource& source) : source_(source) {}
    ~Mp3Decoder() override { CloseCodec(); }

    bool Scan() {
        bool final = source_.Complete();
        if (scannedFinal_) return scanner_.state() == Mp3Scanner::State::Locked;
        scanner_.Scan(source_, source_.Available(), final);
        scannedFinal_ = final;
        return scanner_.state() == Mp3Scanner::State::Locked;
    }
    Mp3Scanner& scanner() { return scanner_; }

    bool Start() {
        const Mp3Header& f = scanner_.format();
        rate_ = int(f.rate);
        channels_ = f.channels;
        if (!OpenCodec()) return false;
        return true;
    }

    uint64_t Frames() override {
        if (source_.IsDownload() && !scannedFinal_) Scan();
        if (source_.IsDownload() && !source_.Complete()) {
            size_t n = scanner_.FrameCount();
            uint64_t scanned = scanner_.Position() - scanner_.AudioStart();
            uint64_t total = source_.Size() - scanner_.AudioStart();
            if (n && scanned && total > scanned)
                return scanner_.Samples() + uint64_t(double(total - scanned) / double(scanned) * double(scanner_.Samples()));
        }
        return scanner_.Samples();
    }

    size_t Read(int16_t* out, size_t frames, ReadStatus& status) override {
        size_t done = 0;
        status = ReadStatus::Ok;
        while (done < frames) {
            if (pendingAt_ < pending_.size()) {
                size_t n = std::min((pending_.size() - pendingAt_) / channels_, frames - done);
                std::memcpy(out + done * channels_, pending_.data() + pendingAt_, n * channels_ * sizeof(int16_t));
                pendingAt_ += n * channels_;
                done += n;
                position_ += n;
                continue;
            }
            ReadStatus fill = Decode();
            if (fill != ReadStatus::Ok) {
                if (done == 0) status = fill;
                break;
            }
        }
        return done;
    }

    bool Seek(uint64_t frame) override {
        if (frame > Frames()) return false;
        size_t spf = scanner_.format().samples;
        size_t target = size_t(frame / spf);
        if (source_.IsDownload() && target > scanner_.FrameCount()) return false;
        size_t start = target, bytes = 0;
        while (start > 0 && (target - start < kPrerollFrames || bytes < kPrerollBytes)) bytes += scanner_.FrameSize(--start);
        if (start > 0) --start;
        // A fresh codec: what it holds belongs to the old position.
        CloseCodec();
        if (!OpenCodec()) return false;
        nextFrame_ = start;
        produced_ = uint64_t(start) * spf;
        skip_ = frame - produced_;
        pending_.clear();
        pendingAt_ = 0;
        position_ = frame;
        ended_ = false;
        return true;
    }

    uint64_t FilePosition() const override {
        if (nextFrame_ < scanner_.FrameCount()) return scanner_.FrameOffset(nextFrame_);
        return scanner_.Position();
    }
    uint64_t AudioStart() const override { return scanner_.AudioStart(); }
    uint32_t BytesPerSecond() const override { return scanner_.format().bitrate / 8; }

private:
    bool OpenCodec() {
        const Mp3Header& f = scanner_.format();
        MPEGLAYER3WAVEFORMAT in{};
        in.wfx.wFormatTag = WAVE_FORMAT_MPEGLAYER3;
        in.wfx.nChannels = WORD(f.channels);
        in.wfx.nSamplesPerSec = f.rate;
        in.wfx.nAvgBytesPerSec = f.bitrate / 8;
        in.wfx.nBlockAlign = 1;
        in.wfx.cbSize = MPEGLAYER3_WFX_EXTRA_BYTES;
        in.wID = MPEGLAYER3_ID_MPEG;
        in.fdwFlags = MPEGLAYER3_FLAG_PADDING_ISO;
        in.nBlockSize = WORD(f.frameBytes);
        in.nFramesPerBlock = 1;
        in.nCodecDelay = 0;
        WAVEFORMATEX out{};
        out.wFormatTag = WAVE_FORMAT_PCM;
        out.nChannels = WORD(f.channels);
        out.nSamplesPerSec = f.rate;
        out.wBitsPerSample = 16;
        out.nBlockAlign = WORD(2 * f.channels);
        out.nAvgBytesPerSec = f.rate * out.nBlockAlign;
        HACMSTREAM stream = nullptr;
        if (acmStreamOpen(&stream, nullptr, &in.wfx, &out, nullptr, 0, 0, ACM_STREAMOPENF_NONREALTIME) != 0) return false;
        codec_ = stream;
        return true;
    }
    void CloseCodec() {
        if (codec_) acmStreamClose(codec_, 0);
        codec_ = nullptr;
    }

    // Decodes the next few frames into pending_. Output beyond the scanned length is cut off
    // and a codec that gives less than it was fed is made up with silence at the end, so that
    // every position agrees with the length.
    ReadStatus Decode() {
        pending_.clear();
        pendingAt_ = 0;
        const uint64_t total = scanner_.Samples();
        size_t spf = scanner_.format().samples;
        if (nextFrame_ >= scanner_.FrameCount() && source_.IsDownload() && !scannedFinal_) {
            Scan();
            if (nextFrame_ >= scanner_.FrameCount()) return source_.Complete() ? Decode() : ReadStatus::Starved;
        }
        if (nextFrame_ >= scanner_.FrameCount()) {
            if (ended_ || produced_ >= total) return ReadStatus::End;
            ended_ = true;
            pending_.assign(size_t(total - produced_) * channels_, 0);
            produced_ = total;
            return TakeSkip();
        }
        size_t count = std::min(kFramesPerFeed, scanner_.FrameCount() - nextFrame_);
        input_.clear();
        for (size_t i = 0; i < count; ++i) {
            uint64_t off = scanner_.FrameOffset(nextFrame_ + i);
            size_t size = scanner_.FrameSize(nextFrame_ + i);
            size_t at = input_.size();
            input_.resize(at + size);
            if (source_.ReadAt(off, input_.data() + at, size) != size) {
                input_.resize(at);
                count = i;
                break;
            }
        }
        if (count == 0) return source_.Complete() ? ReadStatus::Failed : ReadStatus::Starved;
        nextFrame_ += count;
        output_.resize(count * spf * channels_ * 2 + 8192);
        ACMSTREAMHEADER header{};
        header.cbStruct = sizeof header;
        header.pbSrc = input_.data();
        header.cbSrcLength = DWORD(input_.size());
        header.pbDst = reinterpret_cast<BYTE*>(output_.data());
        header.cbDstLength = DWORD(output_.size() * sizeof(int16_t));
        if (acmStreamPrepareHeader(codec_, &header, 0) != 0) return ReadStatus::Failed;
        MMRESULT r = acmStreamConvert(codec_, &header, ACM_STREAMCONVERTF_BLOCKALIGN);
        acmStreamUnprepareHeader(codec_, &header, 0);
        if (r != 0) return ReadStatus::Failed;
        size_t got = header.cbDstLengthUsed / (2 * channels_);
        got = size_t(std::min<uint64_t>(got, total > produced_ ? total - produced_ : 0));
        pending_.assign(output_.begin(), output_.begin() + got * channels_);
        produced_ += got;
        return TakeSkip();
    }

    ReadStatus TakeSkip() {
        size_t frames = pending_.size() / channels_;
        size_t drop = size_t(std::min<uint64_t>(skip_, frames));
        skip_ -= drop;
        pendingAt_ = drop * channels_;
        return ReadStatus::Ok;
    }

    ByteSource& source_;
    Mp3Scanner scanner_;
    HACMSTREAM codec_ = nullptr;
    size_t nextFrame_ = 0;   // next frame to feed
    uint64_t produced_ = 0;  // frames the codec has given since the start of the stream
    uint64_t skip_ = 0;      // frames still to drop before the seek target
    bool ended_ = false;
    bool scannedFinal_ = false;
    std::vector<int16_t> pending_;
    size_t pendingAt_ = 0;
    std::vector<uint8_t> input_;
    std::vector<int16_t> output_;
};

}  // namespace

std::unique_ptr<Decoder> OpenMp3Decoder(ByteSource& source) {
    auto decoder = std::make_unique<Mp3Decoder>(source);
    auto* download = source.IsDownload() ? static_cast<HttpSource*>(&source) : nullptr;
    for (int round = 0;; ++round) {
        decoder->Scan();
        auto state = decoder->scanner().state();
        if (state == Mp3Scanner::State::NotMp3) return Fail(BASS_ERROR_FILEFORM, nullptr);
        if (state == Mp3Scanner::State::Locked && decoder->scanner().FrameCount() > 0) break;
        if (!download || source.Complete() || round > 50) return Fail(BASS_ERROR_FILEFORM, nullptr);
        download->WaitFor(source.Available() + 16 * 1024, 100);
    }
    if (!decoder->Start()) return Fail(BASS_ERROR_CODEC, nullptr);
    return decoder;
}

}  // namespace audiolib
