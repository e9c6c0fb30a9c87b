// Servers on 127.0.0.1 for the network tests: nothing leaves the machine.
#pragma once

#include <httplib.h>

#include <functional>
#include <string>
#include <thread>

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

// Threads of this process now.
int ThreadCount();
