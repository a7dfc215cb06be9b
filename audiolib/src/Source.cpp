#include "Source.h"

#include <algorithm>
#include <cstring>

#include "Errors.h"

namespace audiolib {
namespace {

class FileSource : public ByteSource {
public:
    FileSource(HANDLE file, uint64_t base, uint64_t size) : file_(file), base_(base), size_(size) {}
    ~FileSource() override { CloseHandle(file_); }

    size_t ReadAt(uint64_t offset, uint8_t* buffer, size_t size) override {
        if (offset >= size_) return 0;
        size = size_t(std::min<uint64_t>(size, size_ - offset));
        size_t done = 0;
        while (done < size) {
            // Positioned reads keep the handle free of a shared file pointer.
            OVERLAPPED at{};
            uint64_t where = base_ + offset + done;
            at.Offset = DWORD(where);
            at.OffsetHigh = DWORD(where >> 32);
            DWORD want = DWORD(std::min<size_t>(size - done, 1u << 30)), got = 0;
            if (!ReadFile(file_, buffer + done, want, &got, &at) || got == 0) break;
            done += got;
        }
        return done;
    }
    uint64_t Size() const override { return size_; }

private:
    HANDLE file_;
    uint64_t base_, size_;
};

class MemorySource : public ByteSource {
public:
    MemorySource(const uint8_t* data, uint64_t size) : data_(data), size_(size) {}
    size_t ReadAt(uint64_t offset, uint8_t* buffer, size_t size) override {
        if (offset >= size_) return 0;
        size = size_t(std::min<uint64_t>(size, size_ - offset));
        std::memcpy(buffer, data_ + offset, size);
        return size;
    }
    uint64_t Size() const override { return size_; }

private:
    const uint8_t* data_;
    uint64_t size_;
};

}  // namespace

std::unique_ptr<ByteSource> OpenFileSource(const void* name, bool wide, uint64_t offset, uint64_t length) {
    if (!name) return Fail(BASS_ERROR_FILEOPEN, nullptr);
    const DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    HANDLE file = wide ? CreateFileW(static_cast<const wchar_t*>(name), GENERIC_READ, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)
                       : CreateFileA(static_cast<const char*>(name), GENERIC_READ, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return Fail(BASS_ERROR_FILEOPEN, nullptr);
    BY_HANDLE_FILE_INFORMATION info{};
    if (GetFileType(file) != FILE_TYPE_DISK || !GetFileInformationByHandle(file, &info) ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        CloseHandle(file);
        return Fail(BASS_ERROR_FILEOPEN, nullptr);
    }
    uint64_t size = (uint64_t(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    offset = std::min(offset, size);
    uint64_t rest = size - offset;
    if (length != 0 && length < rest) rest = length;
    return std::make_unique<FileSource>(file, offset, rest);
}

std::unique_ptr<ByteSource> OpenMemorySource(const void* data, uint64_t offset, uint64_t length) {
    if (!data || length == 0 || offset >= length) return Fail(BASS_ERROR_ILLPARAM, nullptr);
    return std::make_unique<MemorySource>(static_cast<const uint8_t*>(data) + offset, length - offset);
}

}  // namespace audiolib
