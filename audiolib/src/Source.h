#pragma once
// Where the bytes of a stream come from: a file, a block of the caller's memory, or a download.
#include <windows.h>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "audiolib.h"
#include "parse/Mp3Frame.h"

namespace audiolib {

class ByteSource : public ByteReader {
public:
    // Bytes of the whole file; for a download of unknown size what has arrived so far.
    virtual uint64_t Size() const = 0;
    // Bytes readable from the start without waiting.
    virtual uint64_t Available() const { return Size(); }
    virtual bool Complete() const { return true; }
    virtual bool Connected() const { return false; }
    virtual bool IsDownload() const { return false; }
};

// A file, or the part of it from offset for length bytes (0: to the end).
// Returns null and sets the error code when it cannot be opened.
std::unique_ptr<ByteSource> OpenFileSource(const void* name, bool wide, uint64_t offset, uint64_t length);

// The caller's memory, which must stay valid while the stream lives.
std::unique_ptr<ByteSource> OpenMemorySource(const void* data, uint64_t offset, uint64_t length);

// An HTTP download on a thread of its own; the whole file is kept as it arrives.
class HttpSource : public ByteSource {
public:
    ~HttpSource() override;
    // Connects and starts the download; null with the error code set on failure.
    static std::unique_ptr<HttpSource> Open(const char* url, DWORD offset, DOWNLOADPROC* proc, void* user);

    size_t ReadAt(uint64_t offset, uint8_t* buffer, size_t size) override;
    uint64_t Size() const override;
    uint64_t Available() const override;
    bool Complete() const override { return complete_.load(); }
    bool Connected() const override { return connected_.load(); }
    bool IsDownload() const override { return true; }

    // Waits until at least bytes have arrived, the download has ended, or timeoutMs passed.
    void WaitFor(uint64_t bytes, DWORD timeoutMs);

private:
    HttpSource() = default;
    void Run();

    void* internet_ = nullptr;
    void* request_ = nullptr;
    DOWNLOADPROC* proc_ = nullptr;
    void* user_ = nullptr;
    uint64_t contentLength_ = 0;  // 0: the server did not say

    mutable std::mutex mutex_;
    std::condition_variable arrived_;
    static constexpr size_t kBlock = 64 * 1024;
    std::vector<std::unique_ptr<uint8_t[]>> blocks_;
    std::atomic<uint64_t> received_{0};
    std::atomic<bool> complete_{false};
    std::atomic<bool> connected_{false};
    std::atomic<bool> quit_{false};
    std::thread thread_;
};

}  // namespace audiolib
