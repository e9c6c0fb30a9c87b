// Helpers of the window tests.
#pragma once

#include <sys/types.h>

#include <QEvent>
#include <QWidget>
#include <functional>
#include <string>

#include "host/ui/wnd.h"

class QToolButton;

// Handles the window thread's events until `done` holds, for at most 20 s;
// returns whether it held.
bool PumpUntil(const std::function<bool()>& done);
// The toolbar button of command `id` inside `window`, or null.
QToolButton* FindButton(QWidget* window, int id);
// Sends a mouse event of `type` at `at` (widget coordinates) to `widget`.
void SendMouse(QWidget* widget, QEvent::Type type, QPoint at,
               Qt::MouseButton button = Qt::LeftButton);

// A port of 127.0.0.1 that nothing listens on just now.
int FreePort();
// The path of an installed program, or empty.
std::string Which(const std::string& program);
// Angle between two places, right ascensions in hours, declinations in
// degrees; arcseconds.
double SeparationArcsec(double ra1h, double dec1, double ra2h, double dec2);

// indiserver running the telescope simulator on 127.0.0.1:`port` until the
// object goes.
class IndiServer {
  public:
    IndiServer(const std::string& server, int port);
    ~IndiServer();
    IndiServer(const IndiServer&) = delete;
    IndiServer& operator=(const IndiServer&) = delete;
    // Waits (at most 10 s) until the server takes connections.
    bool WaitListening() const;

  private:
    pid_t m_pid = -1;
    int m_port;
};
