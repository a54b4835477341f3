// A real HTTP peer for the update check: a server on 127.0.0.1 (never any other address) that
// answers every connection with the same bytes, or misbehaves the way real servers do.
#pragma once
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>

class LoopbackServer {
public:
    enum class Manner { Answer, Silent, CloseAtOnce };

    // Answers with `reply`, one byte every `byteDelayMs` when that is set.
    explicit LoopbackServer(std::string reply, Manner manner = Manner::Answer, int byteDelayMs = 0)
        : reply_(std::move(reply)), manner_(manner), byteDelayMs_(byteDelayMs) {
        listener_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (listener_ < 0 || bind(listener_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
            listen(listener_, 8) != 0 || getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0)
            return;
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] { Serve(); });
    }
    ~LoopbackServer() {
        stop_ = true;
        if (thread_.joinable()) thread_.join();
        if (listener_ >= 0) close(listener_);
    }
    int port() const { return port_; }
    std::string url(const std::string& path = "/files/kestrix.dat") const {
        return "http://127.0.0.1:" + std::to_string(port_) + path;
    }
    // The request of the last connection, up to its blank line.
    std::string request() {
        std::lock_guard<std::mutex> guard(lock_);
        return request_;
    }
    int connections() const { return connections_; }

    // A port on 127.0.0.1 where nothing listens: bound, then let go.
    static int RefusingPort() {
        LoopbackServer closed("", Manner::CloseAtOnce);
        return closed.port();
    }

private:
    bool Wait(int fd, short events, int milliseconds) {
        pollfd waiting{fd, events, 0};
        return poll(&waiting, 1, milliseconds) > 0;
    }

    void Serve() {
        while (!stop_) {
            if (!Wait(listener_, POLLIN, 50)) continue;
            int connection = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
            if (connection < 0) continue;
            ++connections_;
            if (manner_ != Manner::CloseAtOnce) Handle(connection);
            close(connection);
        }
    }

    void Handle(int connection) {
        std::string received;
        auto start = std::chrono::steady_clock::now();
        while (!stop_ && received.find("\r\n\r\n") == std::string::npos &&
               std::chrono::steady_clock::now() - start < std::chrono::seconds(5)) {
            if (!Wait(connection, POLLIN, 50)) continue;
            char chunk[512];
            ssize_t n = recv(connection, chunk, sizeof chunk, 0);
            if (n <= 0) break;
            received.append(chunk, static_cast<size_t>(n));
        }
        {
            std::lock_guard<std::mutex> guard(lock_);
            request_ = received;
        }
        if (manner_ == Manner::Silent) {
            // Holds the connection open until the client gives up.
            char byte;
            while (!stop_)
                if (Wait(connection, POLLIN, 50) && recv(connection, &byte, 1, 0) <= 0) break;
            return;
        }
        size_t step = byteDelayMs_ > 0 ? 1 : reply_.size();
        for (size_t sent = 0; sent < reply_.size() && !stop_;) {
            ssize_t n = send(connection, reply_.data() + sent, std::min(step, reply_.size() - sent), MSG_NOSIGNAL);
            if (n <= 0) break;
            sent += static_cast<size_t>(n);
            if (byteDelayMs_ > 0) std::this_thread::sleep_for(std::chrono::milliseconds(byteDelayMs_));
        }
    }

    std::string reply_;
    Manner manner_;
    int byteDelayMs_;
    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::atomic<int> connections_{0};
    std::mutex lock_;
    std::string request_;
    std::thread thread_;
};

// A reply of status 200 carrying `body`.
inline std::string OkReply(const std::string& body) { return "HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\n" + body; }
