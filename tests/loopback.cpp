#include "tests/loopback.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <stdexcept>

sockaddr_in LoopbackAddress(int port) {
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = htons(static_cast<uint16_t>(port));
    return a;
}

namespace {

// A socket listening on a free loopback port (`backlog` 0: one pending
// connection fills its queue); *port receives the port.
int ListenOnLoopback(int* port, int backlog) {
    sockaddr_in a = LoopbackAddress(0);
    auto* address = reinterpret_cast<sockaddr*>(&a);
    socklen_t size = sizeof a;
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0 || bind(fd, address, size) || listen(fd, backlog) ||
        getsockname(fd, address, &size)) {
        throw std::runtime_error("cannot listen on a loopback port");
    }
    *port = ntohs(a.sin_port);
    return fd;
}

}  // namespace

LoopbackServer::LoopbackServer(const std::function<void(httplib::Server&)>& routes) {
    routes(m_server);
    m_port = m_server.bind_to_any_port("127.0.0.1");
    if (m_port <= 0) throw std::runtime_error("cannot bind a loopback port");
    m_thread = std::thread([this] { m_server.listen_after_bind(); });
    while (!m_server.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    // One answered request: the server's worker threads all run from then on.
    httplib::Client("127.0.0.1", m_port).Get("/");
}

LoopbackServer::~LoopbackServer() {
    m_server.stop();
    m_thread.join();
}

std::string LoopbackUrl(int port, const std::string& path) {
    return "http://127.0.0.1:" + std::to_string(port) + path;
}

SilentListener::SilentListener(bool refuseMore) {
    m_fd = ListenOnLoopback(&m_port, 0);
    sockaddr_in a = LoopbackAddress(m_port);
    if (refuseMore && connect(m_filler = socket(AF_INET, SOCK_STREAM, 0),
                              reinterpret_cast<sockaddr*>(&a), sizeof a)) {
        throw std::runtime_error("cannot set up a silent loopback port");
    }
}

SilentListener::~SilentListener() {
    if (m_filler >= 0) close(m_filler);
    close(m_fd);
}

RawServer::RawServer(std::vector<std::string> pieces, int pauseMs)
    : m_pieces(std::move(pieces)), m_pauseMs(pauseMs) {
    m_fd = ListenOnLoopback(&m_port, 16);
    m_thread = std::thread([this] { Serve(); });
}

RawServer::~RawServer() {
    {
        std::lock_guard<std::mutex> hold(m_lock);
        m_stop = true;
    }
    m_wake.notify_all();
    m_thread.join();
    close(m_fd);
}

bool RawServer::Pause(int ms) {
    std::unique_lock<std::mutex> hold(m_lock);
    return !m_wake.wait_for(hold, std::chrono::milliseconds(ms), [this] { return m_stop; });
}

void RawServer::Serve() {
    while (Pause(0)) {
        pollfd p{m_fd, POLLIN, 0};
        if (poll(&p, 1, 20) <= 0) continue;
        const int connection = accept4(m_fd, nullptr, nullptr, SOCK_CLOEXEC);
        if (connection < 0) continue;
        Answer(connection);
        close(connection);
    }
}

void RawServer::Answer(int connection) {
    std::string request;  // up to the blank line that ends the head
    for (char block[4096]; request.find("\r\n\r\n") == std::string::npos;) {
        pollfd p{connection, POLLIN, 0};
        const ssize_t n = poll(&p, 1, 1000) > 0 ? recv(connection, block, sizeof block, 0) : -1;
        if (n <= 0) return;
        request.append(block, static_cast<size_t>(n));
    }
    for (size_t i = 0; i < m_pieces.size(); ++i) {
        if (i > 0 && !Pause(m_pauseMs)) return;
        for (size_t at = 0; at < m_pieces[i].size();) {
            const ssize_t n =
                send(connection, m_pieces[i].data() + at, m_pieces[i].size() - at, MSG_NOSIGNAL);
            if (n <= 0) return;
            at += static_cast<size_t>(n);
        }
    }
}

int ThreadCount() {
    const std::filesystem::directory_iterator tasks("/proc/self/task");
    return static_cast<int>(std::distance(begin(tasks), end(tasks)));
}
