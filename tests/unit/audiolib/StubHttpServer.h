#pragma once
// A one-file HTTP server on 127.0.0.1 for the URL stream tests: it serves a body at a set pace
// and can hold back the rest for a while to make the stream stall.
#include <winsock2.h>

#include <atomic>
#include <string>
#include <thread>

class StubHttpServer {
public:
    struct Reply {
        int status = 200;
        std::string body;
        size_t bytesPerTick = 1 << 20;  // sent every 10 ms
        size_t holdAfter = 0;           // 0: no pause; else stop for holdMs after that many bytes
        DWORD holdMs = 0;
        bool sendLength = true;
    };
    explicit StubHttpServer(Reply reply);
    ~StubHttpServer();
    std::string Url(const char* path = "/audio") const;
    int Requests() const { return requests_; }

private:
    void Serve();
    Reply reply_;
    SOCKET listener_ = INVALID_SOCKET;
    int port_ = 0;
    std::atomic<bool> quit_{false};
    std::atomic<int> requests_{0};
    std::thread thread_;
};
