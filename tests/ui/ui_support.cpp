#include "tests/ui/ui_support.h"

#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QThread>
#include <QToolButton>
#include <QVariant>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <thread>

#include "tests/loopback.h"

bool PumpUntil(const std::function<bool()>& done) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > 20000) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(2);
    }
    return true;
}

QToolButton* FindButton(QWidget* window, int id) {
    for (QToolButton* button : window->findChildren<QToolButton*>()) {
        if (button->property("lumDlgCtrlId").toInt() == id) return button;
    }
    return nullptr;
}

void SendMouse(QWidget* widget, QEvent::Type type, QPoint at, Qt::MouseButton button) {
    const Qt::MouseButtons held = type == QEvent::MouseButtonPress ? button : Qt::NoButton;
    QMouseEvent event(type, QPointF(at), widget->mapToGlobal(QPointF(at)),
                      type == QEvent::MouseMove ? Qt::NoButton : button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
}

int FreePort() {
    const int s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = LoopbackAddress(0);
    socklen_t size = sizeof address;
    int port = 0;
    if (bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        getsockname(s, reinterpret_cast<sockaddr*>(&address), &size) == 0)
        port = ntohs(address.sin_port);
    close(s);
    return port;
}

std::string Which(const std::string& program) {
    for (const char* folder : {"/usr/bin", "/usr/local/bin"}) {
        const std::string path = std::string(folder) + "/" + program;
        if (access(path.c_str(), X_OK) == 0) return path;
    }
    return {};
}

double SeparationArcsec(double ra1h, double dec1, double ra2h, double dec2) {
    const double r = M_PI / 180.0;
    const double c = std::sin(dec1 * r) * std::sin(dec2 * r) +
                     std::cos(dec1 * r) * std::cos(dec2 * r) * std::cos((ra1h - ra2h) * 15.0 * r);
    return std::acos(std::min(1.0, c)) / r * 3600.0;
}

IndiServer::IndiServer(const std::string& server, int port) : m_port(port) {
    // Spawned, not forked: the test process runs threads.
    const std::string p = std::to_string(port);
    // indiserver also listens on a local socket, by default the same
    // abstract name for every server on the computer; a second server that
    // finds it taken quits.  Each test's server gets a name of its own.
    const std::string local = "/tmp/vexclk-indiserver-" + p;
    posix_spawn_file_actions_t quiet;
    posix_spawn_file_actions_init(&quiet);
    posix_spawn_file_actions_addopen(&quiet, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&quiet, 2, "/dev/null", O_WRONLY, 0);
    const char* argv[] = {
        server.c_str(), "-p", p.c_str(), "-u", local.c_str(), "indi_simulator_telescope", nullptr};
    if (posix_spawn(&m_pid, server.c_str(), &quiet, nullptr, const_cast<char* const*>(argv),
                    environ) != 0)
        m_pid = -1;
    posix_spawn_file_actions_destroy(&quiet);
}

IndiServer::~IndiServer() {
    if (m_pid <= 0) return;
    kill(m_pid, SIGTERM);
    waitpid(m_pid, nullptr, 0);
}

bool IndiServer::WaitListening() const {
    for (int i = 0; i < 100 && m_pid > 0; ++i) {
        const int s = socket(AF_INET, SOCK_STREAM, 0);
        const sockaddr_in address = LoopbackAddress(m_port);
        const bool open =
            connect(s, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
        close(s);
        if (open) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
}
