// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A real HTTP server on 127.0.0.1 for the download tests: it listens on a free port, reads each
// request head and lets the test's handler answer on the socket (all of it, part of it, or
// nothing at all until the client goes away).
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

namespace zg::test {

class HttpTestServer {
public:
    using Handler = std::function<void(HttpTestServer& server, int fd)>;

    explicit HttpTestServer(Handler handler) : handler_(std::move(handler)) {
        listen_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(listen_, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
        ::listen(listen_, 8);
        socklen_t len = sizeof addr;
        ::getsockname(listen_, reinterpret_cast<sockaddr*>(&addr), &len);
        port_ = ntohs(addr.sin_port);
        thread_ = std::thread([this] { Serve(); });
    }
    ~HttpTestServer() {
        stop_ = true;
        thread_.join();
        ::close(listen_);
    }
    HttpTestServer(const HttpTestServer&) = delete;
    HttpTestServer& operator=(const HttpTestServer&) = delete;

    int port() const { return port_; }
    std::string request() {
        std::lock_guard lock(mutex_);
        return request_;
    }
    bool stopping() const { return stop_; }

    static void Send(int fd, std::string_view bytes) {
        while (!bytes.empty()) {
            const ssize_t n = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
            if (n <= 0)
                return;
            bytes.remove_prefix(static_cast<std::size_t>(n));
        }
    }

    // Waits until the client closes the connection (or the server stops), sending nothing.
    void WaitForClose(int fd) {
        char buffer[256];
        while (!stop_) {
            pollfd p{fd, POLLIN, 0};
            if (::poll(&p, 1, 50) > 0 && ::recv(fd, buffer, sizeof buffer, 0) <= 0)
                return;
        }
    }

    // A complete answer: the status line, Content-Length (when given) and the body.
    static std::string Answer(std::string_view status, std::string_view body, std::string_view contentLength) {
        std::string head = "HTTP/1.0 " + std::string(status) + "\r\n";
        if (!contentLength.empty())
            head += "Content-Length: " + std::string(contentLength) + "\r\n";
        return head + "\r\n" + std::string(body);
    }
    static std::string Answer(std::string_view body) { return Answer("200 OK", body, std::to_string(body.size())); }

private:
    void Serve() {
        while (!stop_) {
            pollfd p{listen_, POLLIN, 0};
            if (::poll(&p, 1, 50) <= 0)
                continue;
            const int fd = ::accept4(listen_, nullptr, nullptr, SOCK_CLOEXEC);
            if (fd < 0)
                continue;
            std::string head;
            char buffer[1024];
            while (head.find("\r\n\r\n") == std::string::npos && !stop_) {
                pollfd q{fd, POLLIN, 0};
                if (::poll(&q, 1, 50) <= 0)
                    continue;
                const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
                if (n <= 0)
                    break;
                head.append(buffer, static_cast<std::size_t>(n));
            }
            {
                std::lock_guard lock(mutex_);
                request_ = head;
            }
            handler_(*this, fd);
            ::close(fd);
        }
    }

    Handler handler_;
    int listen_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::string request_;
    std::thread thread_;
};

// A port on 127.0.0.1 where nothing listens: bound and closed again at once.
inline int ClosedPort() {
    const int s = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(s, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    socklen_t len = sizeof addr;
    ::getsockname(s, reinterpret_cast<sockaddr*>(&addr), &len);
    ::close(s);
    return ntohs(addr.sin_port);
}

} // namespace zg::test
