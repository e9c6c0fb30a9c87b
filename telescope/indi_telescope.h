// CIndiTelescope: the telescope control over a mount driven by an INDI
// server (the INDI client library, libindiclient).  It connects to the
// server, takes the first device that offers EQUATORIAL_EOD_COORD (or the
// one named), switches the device on, and slews it by setting that
// property with ON_COORD_SET at TRACK, so the mount follows the object
// once there.
//
// The palette gives J2000 degrees; EQUATORIAL_EOD_COORD is JNow in hours
// and degrees, so each place is carried to the true equator and equinox of
// the moment (telescope/jnow.h).  The client library calls back on its own
// thread; what the callbacks learn is kept under a lock.
#pragma once

#include <memory>
#include <string>

#include "host/tel_ctrl.h"

class CIndiTelescope : public CTelCtrl {
  public:
    struct Options {
        std::string host = "127.0.0.1";
        int port = 7624;
        std::string device;     // empty: the first mount that shows up
        int timeoutMs = 10000;  // for connecting and for each answer waited for
    };
    explicit CIndiTelescope(Options options);
    // Reads an INDI server's address, "HOST" or "HOST:PORT" (PORT 1 to
    // 65535, 7624 when left out), into `options`; false with the reason in
    // *error (and `options` unchanged) for anything else.
    static bool ParseAddress(const std::string& text, Options* options, std::string* error);
    // A telescope connected to the server at `address` (as ParseAddress
    // reads it), or null with the reason in *error.
    static std::unique_ptr<CIndiTelescope> ConnectTo(const std::string& address,
                                                     std::string* error);
    ~CIndiTelescope() override;
    CIndiTelescope(const CIndiTelescope&) = delete;
    CIndiTelescope& operator=(const CIndiTelescope&) = delete;

    // Connects to the server and switches the mount on; 1 when it is
    // connected within the time-out, else 0 with the reason in *error.
    int Connect(std::string* error = nullptr);
    void Disconnect();

    int IsConnected() override;
    // Non-zero when the mount took the slew.
    int TelescopeLook(const tagAD* position) override;
    // Kept for the next look; the INDI standard has no place for it.
    int TelescopeSetHourLater(const tagAD* position) override;

    // The mount's place as it reports it (JNow hours and degrees), and
    // whether its last slew has ended.  0 before the mount reported one.
    int ReadMount(double* raHours, double* decDeg, int* slewing);
    // Waits until the mount has ended the last slew at its target (within
    // an arcminute); 0 on time-out or when the mount refused it.
    int WaitForSlew(int timeoutMs);
    // The mount's device name; empty before one was found.
    std::string DeviceName();
    // The last hour-later place given.
    tagAD HourLater() const { return m_hourLater; }

  private:
    class Client;
    std::unique_ptr<Client> m_client;
    Options m_options;
    tagAD m_hourLater;
};
