// Servers on 127.0.0.1 for the network tests: nothing leaves the machine.
#pragma once

#include <httplib.h>
#include <netinet/in.h>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// 127.0.0.1:PORT as a socket address (port 0: any free port).
sockaddr_in LoopbackAddress(int port);

// "http://127.0.0.1:PORT" + path.
std::string LoopbackUrl(int port, const std::string& path);

// An HTTP server on a port of its own, serving the routes that `routes`
// sets up, until it goes.
class LoopbackServer {
  public:
    explicit LoopbackServer(const std::function<void(httplib::Server&)>& routes);
    ~LoopbackServer();
    std::string Url(const std::string& path) const { return LoopbackUrl(m_port, path); }

  private:
    httplib::Server m_server;
    int m_port = 0;
    std::thread m_thread;
};

// A listening socket that nobody serves.  The kernel takes connections and
// never answers them; with `refuseMore` one connection fills its queue, so
// that further connects are never taken.
class SilentListener {
  public:
    explicit SilentListener(bool refuseMore = false);
    ~SilentListener();
    std::string Url(const std::string& path) const { return LoopbackUrl(m_port, path); }

  private:
    int m_fd = -1;
    int m_filler = -1;
    int m_port = 0;
};

// A server that answers every connection with raw bytes, right or wrong:
// `pieces` in order with `pauseMs` milliseconds between two of them, then
// it closes the connection.  Connections are served one after another.
class RawServer {
  public:
    RawServer(std::vector<std::string> pieces, int pauseMs);
    ~RawServer();
    std::string Url(const std::string& path) const { return LoopbackUrl(m_port, path); }

  private:
    void Serve();
    void Answer(int connection);
    bool Pause(int ms);  // false when the server is going

    std::vector<std::string> m_pieces;
    int m_pauseMs;
    int m_fd = -1;
    int m_port = 0;
    std::mutex m_lock;
    std::condition_variable m_wake;
    bool m_stop = false;
    std::thread m_thread;
};

// Threads of this process now.
int ThreadCount();
