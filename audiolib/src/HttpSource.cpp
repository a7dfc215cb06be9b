#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "Errors.h"
#include "Source.h"

namespace audiolib {
namespace {

constexpr DWORD kTimeoutMs = 5000;

bool StartsWithNoCase(const char* text, const char* prefix) {
    for (; *prefix; ++text, ++prefix)
        if (*text == 0 || (*text | 0x20) != (*prefix | 0x20)) return false;
    return true;
}

}  // namespace

std::unique_ptr<HttpSource> HttpSource::Open(const char* url, DWORD offset, DOWNLOADPROC* proc, void* user) {
    if (!url || !(StartsWithNoCase(url, "http://") || StartsWithNoCase(url, "https://")))
        return Fail(BASS_ERROR_FILEOPEN, nullptr);
    std::unique_ptr<HttpSource> source(new HttpSource);
    source->proc_ = proc;
    source->user_ = user;
    HINTERNET internet = InternetOpenA("Mozilla/4.0", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
    if (!internet) return Fail(BASS_ERROR_FILEOPEN, nullptr);
    source->internet_ = internet;
    DWORD timeout = kTimeoutMs;
    InternetSetOptionA(internet, INTERNET_OPTION_CONNECT_TIMEOUT, &timeout, sizeof timeout);
    InternetSetOptionA(internet, INTERNET_OPTION_RECEIVE_TIMEOUT, &timeout, sizeof timeout);
    InternetSetOptionA(internet, INTERNET_OPTION_SEND_TIMEOUT, &timeout, sizeof timeout);

    char headers[64] = "";
    if (offset) wsprintfA(headers, "Range: bytes=%lu-\r\n", static_cast<unsigned long>(offset));
    const DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE |
                        INTERNET_FLAG_NO_UI | INTERNET_FLAG_NO_COOKIES;
    HINTERNET request = InternetOpenUrlA(internet, url, offset ? headers : nullptr, offset ? DWORD(-1) : 0, flags, 0);
    if (!request) {
        int code = GetLastError() == ERROR_INTERNET_TIMEOUT ? BASS_ERROR_TIMEOUT : BASS_ERROR_FILEOPEN;
        return Fail(code, nullptr);  // the destructor closes the session
    }
    source->request_ = request;
    DWORD status = 0, size = sizeof status;
    if (!HttpQueryInfoA(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr) ||
        (status != 200 && status != 206))
        return Fail(BASS_ERROR_FILEOPEN, nullptr);
    char length[32] = "";
    size = sizeof length - 1;
    if (HttpQueryInfoA(request, HTTP_QUERY_CONTENT_LENGTH, length, &size, nullptr))
        source->contentLength_ = std::strtoull(length, nullptr, 10);
    source->connected_ = true;
    source->thread_ = std::thread([s = source.get()] { s->Run(); });
    return source;
}

HttpSource::~HttpSource() {
    quit_ = true;
    // Closing the request wakes a read that is waiting for the server.
    if (request_) InternetCloseHandle(static_cast<HINTERNET>(request_));
    if (thread_.joinable()) thread_.join();
    if (internet_) InternetCloseHandle(static_cast<HINTERNET>(internet_));
}

void HttpSource::Run() {
    std::vector<uint8_t> chunk(16 * 1024);
    while (!quit_) {
        // A plain read waits until its whole buffer is full; asking first what has arrived
        // hands every byte on as soon as it is here, which is what a stalled stream waits for.
        DWORD ready = 0, got = 0;
        if (!InternetQueryDataAvailable(static_cast<HINTERNET>(request_), &ready, 0, 0)) break;
        // Nothing yet (Wine answers at once): one byte waits for the next data or the end.
        ready = std::clamp<DWORD>(ready, 1, DWORD(chunk.size()));
        if (!InternetReadFile(static_cast<HINTERNET>(request_), chunk.data(), ready, &got) || got == 0) break;
        if (quit_) break;
        {
            std::lock_guard lock(mutex_);
            uint64_t at = received_;
            size_t done = 0;
            while (done < got) {
                size_t block = size_t((at + done) / kBlock), within = size_t((at + done) % kBlock);
                if (block == blocks_.size()) blocks_.push_back(std::make_unique<uint8_t[]>(kBlock));
                size_t n = std::min<size_t>(got - done, kBlock - within);
                std::memcpy(blocks_[block].get() + within, chunk.data() + done, n);
                done += n;
            }
            received_ = at + got;
        }
        arrived_.notify_all();
        if (proc_) proc_(chunk.data(), got, user_);
        if (contentLength_ && received_ >= contentLength_) break;
    }
    connected_ = false;
    {
        std::lock_guard lock(mutex_);
        complete_ = true;
    }
    arrived_.notify_all();
    if (proc_ && !quit_) proc_(nullptr, 0, user_);
}

size_t HttpSource::ReadAt(uint64_t offset, uint8_t* buffer, size_t size) {
    std::lock_guard lock(mutex_);
    uint64_t have = received_;
    if (offset >= have) return 0;
    size = size_t(std::min<uint64_t>(size, have - offset));
    size_t done = 0;
    while (done < size) {
        size_t block = size_t((offset + done) / kBlock), within = size_t((offset + done) % kBlock);
        size_t n = std::min<size_t>(size - done, kBlock - within);
        std::memcpy(buffer + done, blocks_[block].get() + within, n);
        done += n;
    }
    return done;
}

uint64_t HttpSource::Size() const {
    if (complete_) return received_;
    return std::max<uint64_t>(contentLength_, received_);
}

uint64_t HttpSource::Available() const { return received_; }

void HttpSource::WaitFor(uint64_t bytes, DWORD timeoutMs) {
    std::unique_lock lock(mutex_);
    arrived_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return complete_ || received_ >= bytes; });
}

}  // namespace audiolib
