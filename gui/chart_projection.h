// The sky chart's geometry and colours, free of any window code.
//
// The chart shows the sky from inside the celestial sphere with a
// stereographic projection (conformal: shapes of constellations and
// circles stay true; Snyder, "Map Projections - A Working Manual", USGS PP
// 1395 (1987), eqs. 21-2 to 21-4 and 20-14 to 20-15), in one of two frames:
// - horizon: longitude = azimuth from the south through the west (the
//   engine's convention), latitude = altitude; west lies right of south,
//   so longitude grows to the right;
// - equatorial: longitude = right ascension in degrees, latitude =
//   declination; north up, east (growing right ascension) to the left.
// All angles in degrees; screen coordinates in pixels, y growing downwards.
#pragma once

#include <optional>

namespace gui {

enum class ChartFrame { Horizon, Equatorial };

struct ChartView {
    ChartFrame frame = ChartFrame::Horizon;
    double centre_lon_deg = 0.0;   // azimuth (S through W) or RA in degrees
    double centre_lat_deg = 30.0;  // altitude or declination
    double fov_deg = 100.0;        // across the width
    int width = 800;
    int height = 600;
};

struct ScreenPoint {
    double x = 0.0;
    double y = 0.0;
};
struct SkyPoint {
    double lon_deg = 0.0;  // [0, 360)
    double lat_deg = 0.0;  // [-90, 90]
};

// Narrowest and widest field of view the chart allows, degrees.
constexpr double kMinFovDeg = 0.5;
constexpr double kMaxFovDeg = 240.0;

// Pixels per unit of the stereographic plane: the field of view spans the
// width (scale = width / 2 / (2 tan(fov / 4))).
double PixelsPerUnit(const ChartView& view);

// The screen point of a sky point; nothing when it lies within
// kHiddenNearAntipodeDeg of the point opposite the centre (where the
// projection runs off to infinity) or is not finite.
constexpr double kHiddenNearAntipodeDeg = 30.0;
std::optional<ScreenPoint> Project(const ChartView& view, const SkyPoint& sky);
// The sky point under a screen point (the inverse of Project).
SkyPoint Unproject(const ChartView& view, const ScreenPoint& screen);

// The view after dragging the sky by (dx, dy) pixels: the centre moves
// along its row by the angle dx spans there (divided by the cosine of its
// latitude, at least kPanMinCos) and along its meridian by the angle dy
// spans, its latitude kept within [-90, 90].  The point at the centre
// follows a drag along its column, or along its row on the equator,
// exactly; other points follow to first order, which is what a drag of a
// few pixels at a time needs.
constexpr double kPanMinCos = 0.1;
ChartView Pan(const ChartView& view, double dx, double dy);
// The view with its field of view times `factor`, kept within the limits.
ChartView Zoom(const ChartView& view, double factor);

// Between the two frames at geodetic latitude `latitude_deg` (Meeus,
// Astronomical Algorithms, 2nd ed., eqs. 13.5 and 13.6, in atan2 form so
// that the poles work): a horizon place (lon = azimuth from the south
// through the west, lat = altitude) and the same direction as hour angle
// (lon, west positive, [0, 360)) and declination (lat).  The right
// ascension is the local sidereal time minus the hour angle.
SkyPoint HorizonToHourAngle(const SkyPoint& horizon, double latitude_deg);
SkyPoint HourAngleToHorizon(const SkyPoint& hour_angle, double latitude_deg);

// Radius of a star's disc in pixels by its V magnitude, larger in a narrow
// field: 1 px at the faintest drawn magnitude, 0.55 px more per magnitude
// brighter (at most 6 px), times sqrt(60 / fov) within [1, 2.5].
double StarRadiusPx(double magnitude, double faintest, double fov_deg);
// The faintest magnitude worth drawing in a field of view: 5.0 at 100
// degrees or more, one more for each halving, at most 8.0.
double FaintestMagnitude(double fov_deg);

// Effective temperature (K) of a star of colour index B-V, Ballesteros
// (2012, EPL 97, 34008): T = 4600 (1 / (0.92 BV + 1.7) + 1 / (0.92 BV + 0.62)).
double ColourTemperatureK(double bv);
struct Rgb {
    int r = 255;
    int g = 255;
    int b = 255;
};
// An sRGB colour close to a black body of that temperature (Helland's fit
// to Charity's blackbody table, 1000 to 40000 K); a star of unknown colour
// (NaN) is white.
Rgb StarColour(double bv);

}  // namespace gui
