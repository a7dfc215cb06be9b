#include <algorithm>
#include <vector>

#include "Decoder.h"
#include "Errors.h"
#include "parse/WavFormat.h"

namespace audiolib {
namespace {

class WavDecoder : public Decoder {
public:
    WavDecoder(ByteSource& source, const WavInfo& info) : source_(source), info_(info) {
        rate_ = int(info.rate);
        channels_ = info.channels;
    }
    uint64_t Frames() override { return info_.Frames(); }

    size_t Read(int16_t* out, size_t frames, ReadStatus& status) override {
        uint64_t left = info_.Frames() - position_;
        frames = size_t(std::min<uint64_t>(frames, left));
        if (frames == 0) {
            status = ReadStatus::End;
            return 0;
        }
        raw_.resize(frames * info_.blockAlign);
        size_t got = source_.ReadAt(info_.dataOffset + position_ * info_.blockAlign, raw_.data(), raw_.size());
        size_t whole = got / info_.blockAlign;
        if (whole == 0) {
            // A file shorter than its header says simply ends; a download may still bring it.
            status = source_.Complete() ? ReadStatus::End : ReadStatus::Starved;
            return 0;
        }
        ConvertToPcm16(info_, raw_.data(), whole, out);
        position_ += whole;
        status = ReadStatus::Ok;
        return whole;
    }

    bool Seek(uint64_t frame) override {
        if (frame > info_.Frames()) return false;
        if (source_.IsDownload() && info_.dataOffset + frame * info_.blockAlign > source_.Available()) return false;
        position_ = frame;
        return true;
    }
    uint64_t FilePosition() const override { return info_.dataOffset + position_ * info_.blockAlign; }
    uint64_t AudioStart() const override { return info_.dataOffset; }
    uint32_t BytesPerSecond() const override { return info_.rate * info_.blockAlign; }

private:
    ByteSource& source_;
    WavInfo info_;
    std::vector<uint8_t> raw_;
};

}  // namespace

std::unique_ptr<Decoder> OpenWavDecoder(ByteSource& source, bool& isWav) {
    std::vector<uint8_t> head(64 * 1024);
    size_t got = source.ReadAt(0, head.data(), head.size());
    WavInfo info;
    WavResult r = ParseWavHeader(head.data(), got, source.Size(), info);
    if (r == WavResult::NeedMore && got == head.size()) {
        // Long chunks before the data (pictures, lists): read as far as they go.
        head.resize(std::min<uint64_t>(source.Size(), 16u << 20));
        got = source.ReadAt(0, head.data(), head.size());
        r = ParseWavHeader(head.data(), got, source.Size(), info);
    }
    isWav = r != WavResult::NotWav;
    if (r != WavResult::Ok || info.Frames() == 0) return Fail(BASS_ERROR_FILEFORM, nullptr);
    return std::make_unique<WavDecoder>(source, info);
}

std::unique_ptr<Decoder> OpenDecoder(ByteSource& source) {
    auto* download = source.IsDownload() ? static_cast<HttpSource*>(&source) : nullptr;
    if (download) download->WaitFor(64 * 1024, 5000);
    bool isWav = false;
    if (auto wav = OpenWavDecoder(source, isWav)) return wav;
    if (isWav) return Fail(BASS_ERROR_FILEFORM, nullptr);
    return OpenMp3Decoder(source);
}

}  // namespace audiolib
