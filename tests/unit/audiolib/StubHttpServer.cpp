#include "StubHttpServer.h"

#include <ws2tcpip.h>

#include <algorithm>
#include <cstdio>

StubHttpServer::StubHttpServer(Reply reply) : reply_(std::move(reply)) {
    WSADATA wsa;
    WSAStartup(MAKEWORD(2, 2), &wsa);
    listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in at{};
    at.sin_family = AF_INET;
    at.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    at.sin_port = 0;
    bind(listener_, reinterpret_cast<sockaddr*>(&at), sizeof at);
    int len = sizeof at;
    getsockname(listener_, reinterpret_cast<sockaddr*>(&at), &len);
    port_ = ntohs(at.sin_port);
    listen(listener_, 4);
    thread_ = std::thread([this] { Serve(); });
}

StubHttpServer::~StubHttpServer() {
    quit_ = true;
    closesocket(listener_);
    thread_.join();
    WSACleanup();
}

std::string StubHttpServer::Url(const char* path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
}

void StubHttpServer::Serve() {
    while (!quit_) {
        SOCKET client = accept(listener_, nullptr, nullptr);
        if (client == INVALID_SOCKET) break;
        ++requests_;
        char request[4096];
        std::string head;
        while (head.find("\r\n\r\n") == std::string::npos) {
            int n = recv(client, request, sizeof request, 0);
            if (n <= 0) break;
            head.append(request, n);
        }
        char header[256];
        const char* reason = reply_.status == 200 ? "OK" : "Not Found";
        int n = std::snprintf(header, sizeof header, "HTTP/1.1 %d %s\r\nContent-Type: application/octet-stream\r\n", reply_.status, reason);
        std::string out(header, n);
        if (reply_.sendLength) out += "Content-Length: " + std::to_string(reply_.body.size()) + "\r\n";
        out += "Connection: close\r\n\r\n";
        send(client, out.data(), int(out.size()), 0);
        size_t sent = 0;
        bool held = false;
        while (sent < reply_.body.size() && !quit_) {
            size_t chunk = std::min(reply_.bytesPerTick, reply_.body.size() - sent);
            if (reply_.holdAfter && !held && sent + chunk > reply_.holdAfter) chunk = reply_.holdAfter - sent;
            if (chunk && send(client, reply_.body.data() + sent, int(chunk), 0) <= 0) break;
            sent += chunk;
            if (reply_.holdAfter && !held && sent >= reply_.holdAfter) {
                held = true;
                for (DWORD waited = 0; waited < reply_.holdMs && !quit_; waited += 10) Sleep(10);
            }
            Sleep(10);
        }
        shutdown(client, SD_SEND);
        closesocket(client);
    }
}
