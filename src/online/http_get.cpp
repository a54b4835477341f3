#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

#include "app/settings.h"
#include "online/online.h"

namespace {
using Clock = std::chrono::steady_clock;

const char* const kDefaultUserAgent = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1; en)";

int MillisecondsLeft(Clock::time_point deadline) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

struct Address {
    int family = 0;
    sockaddr_storage storage{};
    socklen_t length = 0;
};

// What the resolver thread hands back. Shared, so a thread the caller stopped waiting for still
// has somewhere to put its answer and frees it itself.
struct Resolution {
    std::mutex lock;
    std::condition_variable finished;
    bool done = false;
    std::vector<Address> addresses;
};

// getaddrinfo cannot be interrupted, and a dead name server makes it wait far longer than the
// user should; it runs on a thread of its own that is abandoned at the deadline.
std::vector<Address> Resolve(const std::string& host, int port, Clock::time_point deadline) {
    auto resolution = std::make_shared<Resolution>();
    try {
        std::thread([resolution, host, port] {
            addrinfo hints{};
            hints.ai_family = AF_UNSPEC;
            hints.ai_socktype = SOCK_STREAM;
            addrinfo* list = nullptr;
            std::vector<Address> found;
            if (getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &list) == 0) {
                for (addrinfo* entry = list; entry; entry = entry->ai_next) {
                    if (entry->ai_addrlen > sizeof(sockaddr_storage)) continue;
                    Address address;
                    address.family = entry->ai_family;
                    address.length = entry->ai_addrlen;
                    std::memcpy(&address.storage, entry->ai_addr, entry->ai_addrlen);
                    found.push_back(address);
                }
            }
            if (list) freeaddrinfo(list);
            std::lock_guard<std::mutex> guard(resolution->lock);
            resolution->addresses = std::move(found);
            resolution->done = true;
            resolution->finished.notify_all();
        }).detach();
    } catch (const std::system_error&) {
        return {};
    }
    std::unique_lock<std::mutex> guard(resolution->lock);
    if (!resolution->finished.wait_until(guard, deadline, [&] { return resolution->done; })) return {};
    return resolution->addresses;
}

int ConnectTo(const Address& address, Clock::time_point deadline) {
    int fd = socket(address.family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) return -1;
    if (connect(fd, reinterpret_cast<const sockaddr*>(&address.storage), address.length) == 0) return fd;
    if (errno == EINPROGRESS) {
        pollfd waiting{fd, POLLOUT, 0};
        int ready;
        do ready = poll(&waiting, 1, MillisecondsLeft(deadline));
        while (ready < 0 && errno == EINTR);
        int error = 0;
        socklen_t length = sizeof error;
        if (ready > 0 && getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0) return fd;
    }
    close(fd);
    return -1;
}

bool SendAll(int fd, const std::string& data, Clock::time_point deadline) {
    size_t sent = 0;
    while (sent < data.size()) {
        ssize_t n = send(fd, data.data() + sent, data.size() - sent, MSG_NOSIGNAL);
        if (n > 0) {
            sent += static_cast<size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            int left = MillisecondsLeft(deadline);
            if (left == 0) return false;
            pollfd waiting{fd, POLLOUT, 0};
            if (poll(&waiting, 1, left) < 0 && errno != EINTR) return false;
            continue;
        }
        return false;
    }
    return true;
}

// True once the bytes held fix the answer: the body has its closing blank line, or three
// characters past its leading blanks. A slow server need not be waited for beyond that.
bool AnswerIsComplete(const std::string& reply) {
    size_t head = reply.find("\r\n\r\n");
    if (head == std::string::npos) return false;
    std::string body = reply.substr(head + 4);
    if (body.find("\r\n\r\n") != std::string::npos) return true;
    size_t first = body.find_first_not_of(" \t\r\n");
    return first != std::string::npos && body.size() - first >= 3;
}

// Receives until the server closes, the buffer is full or the answer is fixed. The whole wait is
// bounded by the time limit: a server that trickles bytes must not hold the window forever.
bool Receive(int fd, std::vector<char>& buffer, size_t* filled) {
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(kHttpTimeoutMilliseconds);
    while (*filled < buffer.size()) {
        int left = MillisecondsLeft(deadline);
        if (left == 0) return false;
        pollfd waiting{fd, POLLIN, 0};
        int ready = poll(&waiting, 1, left);
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) return false;
        ssize_t n = recv(fd, buffer.data() + *filled, buffer.size() - *filled, 0);
        if (n == 0) return true;  // the server closed: the reply is whole
        if (n < 0) {
            if (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK) continue;
            return true;  // a reset after the reply began: judge what arrived
        }
        *filled += static_cast<size_t>(n);
        if (AnswerIsComplete(std::string(buffer.data(), *filled))) return true;
    }
    return true;
}
}  // namespace

std::string HttpAnswerFromReply(const std::string& reply) {
    // An error page or a redirect is no version file, whatever its body begins with.
    if (reply.rfind("HTTP/", 0) == 0) {
        size_t blank = reply.find(' ');
        if (blank == std::string::npos || blank + 1 >= reply.size() || reply[blank + 1] != '2') return std::string();
    }
    size_t head = reply.find("\r\n\r\n");
    if (head == std::string::npos) return std::string();
    std::string body = reply.substr(head + 4);
    size_t end = body.find("\r\n\r\n");
    if (end != std::string::npos) body.resize(end);
    return TrimBlanks(TrimBlanks(body, " \t\r\n").substr(0, 3), " \t\r\n");
}

std::string HttpGet(const std::string& url, const std::string& userAgent) {
    if (url.empty()) return std::string();
    UrlParts parts;
    if (!SplitUrl(url, &parts)) return std::string();
    std::string agent = userAgent.empty() ? kDefaultUserAgent : userAgent;
    if (agent.find_first_of("\r\n") != std::string::npos) return std::string();

    // Finding and reaching the host share one time limit, so no name server can hang the window.
    const Clock::time_point connectDeadline = Clock::now() + std::chrono::milliseconds(kHttpTimeoutMilliseconds);
    int fd = -1;
    for (const Address& address : Resolve(parts.host, parts.port, connectDeadline)) {
        fd = ConnectTo(address, connectDeadline);
        if (fd >= 0 || MillisecondsLeft(connectDeadline) == 0) break;
    }
    if (fd < 0) return std::string();

    std::string host = parts.host.find(':') != std::string::npos ? "[" + parts.host + "]" : parts.host;
    std::string request = "GET " + parts.path + " HTTP/1.0\r\n" + "Host: " + host + "\r\n" + "Accept: */*\r\n" +
                          "User-Agent: " + agent + "\r\n" + "Connection: close\r\n" + "\r\n";
    std::vector<char> buffer(kHttpBufferSize, 0);
    size_t filled = 0;
    const Clock::time_point sendDeadline = Clock::now() + std::chrono::milliseconds(kHttpTimeoutMilliseconds);
    bool whole = SendAll(fd, request, sendDeadline) && Receive(fd, buffer, &filled);
    close(fd);
    if (!whole) return std::string();
    // Text ends at the first zero byte, and never past the buffer.
    return HttpAnswerFromReply(std::string(buffer.data(), strnlen(buffer.data(), filled)));
}
