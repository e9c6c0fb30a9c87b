#include "gui/chart_projection.h"

#include <algorithm>
#include <cmath>

namespace gui {
namespace {

constexpr double kDegToRad = M_PI / 180.0;

// +1 when longitude grows to the right (horizon), -1 when to the left.
double Handedness(const ChartView& view) {
    return view.frame == ChartFrame::Horizon ? 1.0 : -1.0;
}

double Wrap360(double deg) {
    const double r = std::fmod(deg, 360.0);
    return r < 0.0 ? r + 360.0 : r;
}

}  // namespace

double PixelsPerUnit(const ChartView& view) {
    return view.width / 2.0 / (2.0 * std::tan(view.fov_deg * kDegToRad / 4.0));
}

std::optional<ScreenPoint> Project(const ChartView& view, const SkyPoint& sky) {
    const double phi0 = view.centre_lat_deg * kDegToRad;
    const double phi = sky.lat_deg * kDegToRad;
    const double dl = (sky.lon_deg - view.centre_lon_deg) * kDegToRad;
    const double cosc =
        std::sin(phi0) * std::sin(phi) + std::cos(phi0) * std::cos(phi) * std::cos(dl);
    if (!std::isfinite(cosc) || cosc < -std::cos(kHiddenNearAntipodeDeg * kDegToRad)) {
        return std::nullopt;
    }
    const double k = 2.0 / (1.0 + cosc);
    const double x = k * std::cos(phi) * std::sin(dl);
    const double y =
        k * (std::cos(phi0) * std::sin(phi) - std::sin(phi0) * std::cos(phi) * std::cos(dl));
    const double s = PixelsPerUnit(view);
    return ScreenPoint{view.width / 2.0 + Handedness(view) * s * x, view.height / 2.0 - s * y};
}

SkyPoint Unproject(const ChartView& view, const ScreenPoint& screen) {
    const double s = PixelsPerUnit(view);
    const double x = Handedness(view) * (screen.x - view.width / 2.0) / s;
    const double y = (view.height / 2.0 - screen.y) / s;
    const double rho = std::hypot(x, y);
    if (rho < 1e-12) return {Wrap360(view.centre_lon_deg), view.centre_lat_deg};
    const double c = 2.0 * std::atan(rho / 2.0);
    const double phi0 = view.centre_lat_deg * kDegToRad;
    const double lat = std::asin(std::clamp(
        std::cos(c) * std::sin(phi0) + y * std::sin(c) * std::cos(phi0) / rho, -1.0, 1.0));
    const double lon = view.centre_lon_deg * kDegToRad +
                       std::atan2(x * std::sin(c), rho * std::cos(phi0) * std::cos(c) -
                                                       y * std::sin(phi0) * std::sin(c));
    return {Wrap360(lon / kDegToRad), lat / kDegToRad};
}

ChartView Pan(const ChartView& view, double dx, double dy) {
    // Angles of the drag along the centre's row and column (stereographic:
    // x units from the centre are 2 atan(x / 2) radians away).
    const double s = PixelsPerUnit(view);
    const double across = 2.0 * std::atan(dx / s / 2.0) / kDegToRad;
    const double up = 2.0 * std::atan(dy / s / 2.0) / kDegToRad;
    // A degree of longitude is cos(latitude) degrees wide; near the poles
    // the rate is capped so that the view turns rather than spins.
    const double width = std::max(std::cos(view.centre_lat_deg * kDegToRad), kPanMinCos);
    ChartView out = view;
    out.centre_lon_deg = Wrap360(view.centre_lon_deg - Handedness(view) * across / width);
    out.centre_lat_deg = std::clamp(view.centre_lat_deg + up, -90.0, 90.0);
    return out;
}

ChartView Zoom(const ChartView& view, double factor) {
    ChartView out = view;
    out.fov_deg = std::clamp(view.fov_deg * factor, kMinFovDeg, kMaxFovDeg);
    return out;
}

SkyPoint HorizonToHourAngle(const SkyPoint& horizon, double latitude_deg) {
    const double a = horizon.lon_deg * kDegToRad, h = horizon.lat_deg * kDegToRad;
    const double phi = latitude_deg * kDegToRad;
    const double ha =
        std::atan2(std::cos(h) * std::sin(a),
                   std::cos(h) * std::cos(a) * std::sin(phi) + std::sin(h) * std::cos(phi));
    const double dec = std::asin(std::clamp(
        std::sin(phi) * std::sin(h) - std::cos(phi) * std::cos(h) * std::cos(a), -1.0, 1.0));
    return {Wrap360(ha / kDegToRad), dec / kDegToRad};
}

SkyPoint HourAngleToHorizon(const SkyPoint& hour_angle, double latitude_deg) {
    const double ha = hour_angle.lon_deg * kDegToRad, d = hour_angle.lat_deg * kDegToRad;
    const double phi = latitude_deg * kDegToRad;
    const double a =
        std::atan2(std::cos(d) * std::sin(ha),
                   std::cos(d) * std::cos(ha) * std::sin(phi) - std::sin(d) * std::cos(phi));
    const double h = std::asin(std::clamp(
        std::sin(phi) * std::sin(d) + std::cos(phi) * std::cos(d) * std::cos(ha), -1.0, 1.0));
    return {Wrap360(a / kDegToRad), h / kDegToRad};
}

double StarRadiusPx(double magnitude, double faintest, double fov_deg) {
    const double base = std::clamp(1.0 + 0.55 * (faintest - magnitude), 1.0, 6.0);
    const double zoom = std::clamp(std::sqrt(60.0 / fov_deg), 1.0, 2.5);
    return base * zoom;
}

double FaintestMagnitude(double fov_deg) {
    if (fov_deg >= 100.0) return 5.0;
    return std::min(8.0, 5.0 + std::log2(100.0 / fov_deg));
}

double ColourTemperatureK(double bv) {
    return 4600.0 * (1.0 / (0.92 * bv + 1.7) + 1.0 / (0.92 * bv + 0.62));
}

Rgb StarColour(double bv) {
    if (!std::isfinite(bv)) return {};
    const double t =
        std::clamp(ColourTemperatureK(std::clamp(bv, -0.4, 2.0)), 1000.0, 40000.0) / 100.0;
    auto channel = [](double v) {
        return static_cast<int>(std::lround(std::clamp(v, 0.0, 255.0)));
    };
    Rgb c;
    if (t <= 66.0) {
        c.r = 255;
        c.g = channel(99.4708025861 * std::log(t) - 161.1195681661);
        c.b = t <= 19.0 ? 0 : channel(138.5177312231 * std::log(t - 10.0) - 305.0447927307);
    } else {
        c.r = channel(329.698727446 * std::pow(t - 60.0, -0.1332047592));
        c.g = channel(288.1221695283 * std::pow(t - 60.0, -0.0755148492));
        c.b = 255;
    }
    return c;
}

}  // namespace gui
