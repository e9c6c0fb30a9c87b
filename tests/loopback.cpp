#include "tests/loopback.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <stdexcept>

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
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    auto* address = reinterpret_cast<sockaddr*>(&a);
    socklen_t size = sizeof a;
    m_fd = socket(AF_INET, SOCK_STREAM, 0);
    if (bind(m_fd, address, size) || listen(m_fd, 0) || getsockname(m_fd, address, &size) ||
        (refuseMore && connect(m_filler = socket(AF_INET, SOCK_STREAM, 0), address, size))) {
        throw std::runtime_error("cannot set up a silent loopback port");
    }
    m_port = ntohs(a.sin_port);
}

SilentListener::~SilentListener() {
    if (m_filler >= 0) close(m_filler);
    close(m_fd);
}

int ThreadCount() {
    const std::filesystem::directory_iterator tasks("/proc/self/task");
    return static_cast<int>(std::distance(begin(tasks), end(tasks)));
}
