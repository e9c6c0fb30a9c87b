#include "telescope/indi_telescope.h"

#include <erfa.h>
#include <erfam.h>
#include <fcntl.h>
#include <libindi/baseclient.h>
#include <libindi/basedevice.h>
#include <libindi/indiproperty.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include "telescope/jnow.h"

namespace {

constexpr const char* kCoord = "EQUATORIAL_EOD_COORD";
constexpr const char* kCoordSet = "ON_COORD_SET";
constexpr const char* kConnection = "CONNECTION";
constexpr const char* kTrackState = "TELESCOPE_TRACK_STATE";
// A slew has ended when the mount says so and reports a place this close
// to the target (it may say so a step before its last place).
constexpr double kArrivedArcsec = 60.0;

}  // namespace

// The INDI client: its callbacks run on the library's listening thread and
// only record what they see, under `lock`; the palette's thread waits on
// `changed`.
class CIndiTelescope::Client : public INDI::BaseClient {
  public:
    std::mutex lock;
    std::condition_variable changed;
    std::string wanted;  // device asked for, empty for any mount
    std::string device;  // the mount found
    bool deviceOn = false;
    bool coordKnown = false;
    bool slewing = false;
    // A slew was asked for and the mount has not yet said it started: the
    // reports in between still tell of the place before.
    bool awaitingSlew = false;
    // Where the last slew goes (hours, degrees of date), and whether the
    // mount refused it.
    double targetRa = 0.0, targetDec = 0.0;
    bool refused = false;

    // The mount is within kArrivedArcsec of the target.
    bool Arrived() const {
        const double r = ERFA_DD2R;
        return eraSeps(ra * 15.0 * r, dec * r, targetRa * 15.0 * r, targetDec * r) * ERFA_DR2AS <
               kArrivedArcsec;
    }
    double ra = 0.0, dec = 0.0;

    // Waits up to `ms` for `done` (called under the lock).
    template <typename Done>
    bool WaitFor(int ms, Done done) {
        std::unique_lock<std::mutex> hold(lock);
        return changed.wait_for(hold, std::chrono::milliseconds(ms), done);
    }

  protected:
    void newProperty(INDI::Property property) override { Seen(property); }
    void updateProperty(INDI::Property property) override { Seen(property); }
    void serverDisconnected(int) override {
        std::lock_guard<std::mutex> hold(lock);
        deviceOn = false;
        changed.notify_all();
    }

  private:
    // A device says what it is in DRIVER_INFO: DRIVER_INTERFACE holds the
    // bits of its interfaces, the telescope's being the lowest.
    static bool IsMount(INDI::Property property) {
        if (std::strcmp(property.getName(), "DRIVER_INFO") != 0 || !property.getText())
            return false;
        const auto* kinds = property.getText()->findWidgetByName("DRIVER_INTERFACE");
        return kinds && kinds->getText() &&
               (std::strtol(kinds->getText(), nullptr, 10) & INDI::BaseDevice::TELESCOPE_INTERFACE);
    }

    void Seen(INDI::Property property) {
        const std::string name = property.getName();
        const std::string from = property.getDeviceName();
        std::lock_guard<std::mutex> hold(lock);
        if (device.empty() && (wanted.empty() ? IsMount(property) : wanted == from)) device = from;
        if (from != device || device.empty()) return changed.notify_all();
        if (name == kConnection) {
            auto* on =
                property.getSwitch() ? property.getSwitch()->findWidgetByName("CONNECT") : nullptr;
            deviceOn = on && on->getState() == ISS_ON;
        }
        if (name == kCoord && property.getNumber()) {
            const auto* ra_ = property.getNumber()->findWidgetByName("RA");
            const auto* dec_ = property.getNumber()->findWidgetByName("DEC");
            const IPState state = property.getState();
            if (state == IPS_BUSY || state == IPS_ALERT) awaitingSlew = false;
            if (state == IPS_ALERT) refused = true;
            if (!awaitingSlew) slewing = state == IPS_BUSY;
            if (ra_ && dec_) {
                ra = ra_->getValue();
                dec = dec_->getValue();
                coordKnown = true;
            }
        }
        changed.notify_all();
    }
};

CIndiTelescope::CIndiTelescope(Options options)
    : m_client(std::make_unique<Client>()), m_options(std::move(options)) {
    m_model.name = CString::FromUtf8("INDI");
    m_client->wanted = m_options.device;
}

CIndiTelescope::~CIndiTelescope() {
    Disconnect();
}

namespace {

// The client library notes each connection attempt on stderr, a second line
// beside the program's own message when the attempt fails: it is sent to
// /dev/null for the attempt.
bool ConnectQuietly(INDI::BaseClient& client) {
    std::fflush(stderr);
    const int kept = dup(STDERR_FILENO);
    const int null = open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (kept >= 0 && null >= 0) dup2(null, STDERR_FILENO);
    const bool connected = client.connectServer();
    std::fflush(stderr);
    if (kept >= 0 && null >= 0) dup2(kept, STDERR_FILENO);
    if (null >= 0) close(null);
    if (kept >= 0) close(kept);
    return connected;
}

}  // namespace

bool CIndiTelescope::ParseAddress(const std::string& text, Options* options, std::string* error) {
    const size_t colon = text.rfind(':');
    const std::string host = text.substr(0, colon);
    if (host.empty() || host.find_first_of(": \t") != std::string::npos) {
        *error = "not an INDI server address (HOST or HOST:PORT): '" + text + "'";
        return false;
    }
    int port = Options{}.port;
    if (colon != std::string::npos) {
        const std::string digits = text.substr(colon + 1);
        port = 0;
        // At most five digits: no overflow on the way to the range check.
        const bool numeric = !digits.empty() && digits.size() <= 5 &&
                             digits.find_first_not_of("0123456789") == std::string::npos;
        if (numeric) port = std::stoi(digits);
        if (port < 1 || port > 65535) {
            *error = "not a port (1 to 65535): '" + digits + "'";
            return false;
        }
    }
    options->host = host;
    options->port = port;
    return true;
}

std::unique_ptr<CIndiTelescope> CIndiTelescope::ConnectTo(const std::string& address,
                                                          std::string* error) {
    Options options;
    if (!ParseAddress(address, &options, error)) return nullptr;
    auto telescope = std::make_unique<CIndiTelescope>(options);
    if (!telescope->Connect(error)) return nullptr;
    return telescope;
}

int CIndiTelescope::Connect(std::string* error) {
    const auto fail = [error](const std::string& why) {
        if (error) *error = why;
        return 0;
    };
    m_client->setServer(m_options.host.c_str(), static_cast<unsigned>(m_options.port));
    if (!m_client->isServerConnected() && !ConnectQuietly(*m_client))
        return fail("no INDI server at " + m_options.host + ":" + std::to_string(m_options.port));
    if (!m_client->WaitFor(m_options.timeoutMs, [&] { return !m_client->device.empty(); }))
        return fail("the INDI server offers no mount");
    const std::string device = DeviceName();
    m_client->connectDevice(device.c_str());
    if (!m_client->WaitFor(m_options.timeoutMs,
                           [&] { return m_client->deviceOn && m_client->coordKnown; }))
        return fail("the mount " + device + " did not connect");
    return 1;
}

void CIndiTelescope::Disconnect() {
    if (m_client && m_client->isServerConnected()) m_client->disconnectServer();
}

int CIndiTelescope::IsConnected() {
    if (!m_client->isServerConnected()) return 0;
    std::lock_guard<std::mutex> hold(m_client->lock);
    return m_client->deviceOn ? 1 : 0;
}

std::string CIndiTelescope::DeviceName() {
    std::lock_guard<std::mutex> hold(m_client->lock);
    return m_client->device;
}

int CIndiTelescope::TelescopeSetHourLater(const tagAD* position) {
    if (!position) return 0;
    m_hourLater = *position;
    return 1;
}

int CIndiTelescope::TelescopeLook(const tagAD* position) {
    if (!position || !IsConnected()) return 0;
    const telescope::EquatorialOfDate place =
        telescope::J2000ToJNow(position->a, position->d, telescope::JdUtcNow());
    const std::string device = DeviceName();
    INDI::BaseDevice mount = m_client->getDevice(device.c_str());
    if (!mount.isValid()) return 0;
    // Slew, then follow the object: the mount's tracking is switched on
    // first, as some mounts (the simulator) stop beside the target without.
    if (mount.getSwitch(kTrackState).isValid())
        m_client->sendNewSwitch(device.c_str(), kTrackState, "TRACK_ON");
    m_client->sendNewSwitch(device.c_str(), kCoordSet, "TRACK");
    INDI::PropertyNumber coord = mount.getNumber(kCoord);
    if (!coord.isValid()) return 0;
    {
        std::lock_guard<std::mutex> hold(m_client->lock);
        auto* ra = coord.findWidgetByName("RA");
        auto* dec = coord.findWidgetByName("DEC");
        if (!ra || !dec) return 0;
        ra->setValue(place.raHours);
        dec->setValue(place.decDeg);
        m_client->slewing = true;
        m_client->awaitingSlew = true;
        m_client->refused = false;
        m_client->targetRa = place.raHours;
        m_client->targetDec = place.decDeg;
    }
    m_client->sendNewNumber(coord);
    return 1;
}

int CIndiTelescope::ReadMount(double* raHours, double* decDeg, int* slewing) {
    std::lock_guard<std::mutex> hold(m_client->lock);
    if (!m_client->coordKnown) return 0;
    if (raHours) *raHours = m_client->ra;
    if (decDeg) *decDeg = m_client->dec;
    if (slewing) *slewing = m_client->slewing ? 1 : 0;
    return 1;
}

int CIndiTelescope::WaitForSlew(int timeoutMs) {
    std::unique_lock<std::mutex> hold(m_client->lock);
    const bool ended = m_client->changed.wait_for(hold, std::chrono::milliseconds(timeoutMs), [&] {
        return m_client->refused || (!m_client->slewing && m_client->Arrived());
    });
    return ended && !m_client->refused ? 1 : 0;
}
