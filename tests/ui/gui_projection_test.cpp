// The sky chart's geometry and colours: the stereographic projection
// (Snyder 1987, ch. 21), the frame conversion (Meeus ch. 13) and the star
// colours (Ballesteros 2012; Helland's blackbody fit), with worked values.
#include <gtest/gtest.h>

#include <cmath>

#include "gui/chart_projection.h"

using namespace gui;

namespace {

constexpr double kPx = 1e-6;   // pixels
constexpr double kDeg = 1e-9;  // degrees
constexpr double kKelvin = 1.0;

// 400 x 300 pixels, 90 degrees across: 241.4214 px per unit, so a point
// 45 degrees from the centre lies at the edge (2 tan(45/2) = 0.828427).
ChartView View(ChartFrame frame, double lon, double lat) {
    return {frame, lon, lat, 90.0, 400, 300};
}

}  // namespace

TEST(ChartProjection, WorkedPoints) {
    struct Case {
        ChartFrame frame;
        double lon0, lat0, lon, lat;
        double x, y;
    } cases[] = {
        // The centre is the middle of the widget.
        {ChartFrame::Horizon, 0, 0, 0, 0, 200, 150},
        // 45 degrees west of south at the horizon: the right edge.
        {ChartFrame::Horizon, 0, 0, 45, 0, 400, 150},
        // The same in the equatorial frame: east is left, so the left edge.
        {ChartFrame::Equatorial, 0, 0, 45, 0, 0, 150},
        // The zenith seen from the horizon: k = 2, y = 2 units up.
        {ChartFrame::Horizon, 0, 0, 0, 90, 200, 150 - 2 * 241.42135623730951},
        // Across the wrap of longitude: 350 and 10 are 20 degrees apart,
        // 2 tan(10 deg) = 0.352654 units to the right of 350.
        {ChartFrame::Horizon, 350, 0, 10, 0, 200 + 0.35265396141692 * 241.42135623730951, 150},
        // Off-centre latitude: centre altitude 30, the point at (0, 60) is
        // 30 degrees straight up: 2 tan(15 deg) = 0.535898 units.
        {ChartFrame::Horizon, 0, 30, 0, 60, 200, 150 - 0.53589838486225 * 241.42135623730951},
    };
    for (const Case& c : cases) {
        const ChartView view = View(c.frame, c.lon0, c.lat0);
        EXPECT_NEAR(PixelsPerUnit(view), 241.42135623730951, kPx);
        const auto p = Project(view, {c.lon, c.lat});
        ASSERT_TRUE(p);
        EXPECT_NEAR(p->x, c.x, kPx) << c.lon << "," << c.lat;
        EXPECT_NEAR(p->y, c.y, kPx) << c.lon << "," << c.lat;
        // And back.
        const SkyPoint back = Unproject(view, *p);
        EXPECT_NEAR(std::remainder(back.lon_deg - c.lon, 360.0), 0.0, 1e-7);
        EXPECT_NEAR(back.lat_deg, c.lat, 1e-7);
    }
}

TEST(ChartProjection, HidesTheFarSideAndNonsense) {
    const ChartView view = View(ChartFrame::Horizon, 0, 0);
    EXPECT_FALSE(Project(view, {180, 0}));   // the antipode
    EXPECT_FALSE(Project(view, {180, 20}));  // 20 degrees from it
    EXPECT_TRUE(Project(view, {180, 40}));   // 40 degrees from it
    EXPECT_FALSE(Project(view, {std::nan(""), 0}));
}

TEST(ChartProjection, PanAndZoom) {
    // The point at the centre goes exactly with a drag along its column or,
    // on the equator, its row; a point off the centre within a tenth of the
    // drag.
    struct Case {
        double lat0;
        ScreenPoint start;
        double dx, dy;
        double tolerance;
    } cases[] = {
        {20, {200, 150}, 0, 42, kPx}, {-40, {200, 150}, 0, -50, kPx}, {0, {200, 150}, -35, 0, kPx},
        {20, {200, 80}, 0, -20, 2.0}, {0, {330, 150}, 20, 0, 2.0},
    };
    for (const Case& c : cases) {
        for (ChartFrame frame : {ChartFrame::Horizon, ChartFrame::Equatorial}) {
            const ChartView view = View(frame, 10, c.lat0);
            const SkyPoint grabbed = Unproject(view, c.start);
            const auto end = Project(Pan(view, c.dx, c.dy), grabbed);
            ASSERT_TRUE(end);
            EXPECT_NEAR(end->x, c.start.x + c.dx, c.tolerance) << c.start.x << "," << c.start.y;
            EXPECT_NEAR(end->y, c.start.y + c.dy, c.tolerance) << c.start.x << "," << c.start.y;
        }
    }
    // 60 px across at latitude 60: 2 atan(60 / 241.42 / 2) = 14.1670 degrees
    // of arc, 28.3340 degrees of longitude; the centre moves left of 10.
    EXPECT_NEAR(Pan(View(ChartFrame::Horizon, 10, 60), 60, 0).centre_lon_deg, 341.6660, 1e-4);
    // Past the zenith the centre stops at 90; at the pole a drag turns the
    // view at a capped rate.
    EXPECT_DOUBLE_EQ(Pan(View(ChartFrame::Horizon, 0, 20), 0, 5000).centre_lat_deg, 90.0);
    EXPECT_NEAR(Pan(View(ChartFrame::Horizon, 0, 90), 6, 0).centre_lon_deg,
                360 - 2 * std::atan(6 / 241.42135623730951 / 2) * 180 / M_PI / kPanMinCos, 1e-9);
    const ChartView view = View(ChartFrame::Horizon, 0, 20);
    EXPECT_DOUBLE_EQ(Zoom(view, 0.5).fov_deg, 45.0);
    EXPECT_DOUBLE_EQ(Zoom(view, 1e-6).fov_deg, kMinFovDeg);
    EXPECT_DOUBLE_EQ(Zoom(view, 1e6).fov_deg, kMaxFovDeg);
}

TEST(ChartProjection, HorizonAndHourAngle) {
    // Latitude 35.6895 (Tokyo).  Worked with Meeus 13.5/13.6 by hand.
    struct Case {
        double ha, dec, az, alt;
    } cases[] = {
        {0, 35.6895, 0, 90},    // the zenith (azimuth undefined: 0 by atan2)
        {0, 0, 0, 54.3105},     // the equator on the meridian, due south
        {0, 90, 180, 35.6895},  // the pole, due north at the latitude's height
        {90, 0, 90, 0},         // six hours west on the equator: due west, setting
        {270, 0, 270, 0},       // six hours east: due east, rising
    };
    for (const Case& c : cases) {
        const SkyPoint h = HourAngleToHorizon({c.ha, c.dec}, 35.6895);
        EXPECT_NEAR(h.lat_deg, c.alt, kDeg) << c.ha << "," << c.dec;
        if (c.alt < 89.0) {
            EXPECT_NEAR(h.lon_deg, c.az, 1e-7) << c.ha << "," << c.dec;
        }
        const SkyPoint back = HorizonToHourAngle(h, 35.6895);
        EXPECT_NEAR(back.lat_deg, c.dec, 1e-7);
        if (std::fabs(c.dec) < 89.0) {
            EXPECT_NEAR(std::remainder(back.lon_deg - c.ha, 360.0), 0.0, 1e-7);
        }
    }
}

TEST(ChartStyle, StarColoursAndSizes) {
    // The Sun (B-V 0.65) at 5778 K; Vega-like (0.0) 10 125 K by the formula;
    // Betelgeuse-like (1.85) 3 333 K.
    EXPECT_NEAR(ColourTemperatureK(0.65), 5778.4, kKelvin);
    EXPECT_NEAR(ColourTemperatureK(0.0), 10125.2, kKelvin);
    EXPECT_NEAR(ColourTemperatureK(1.85), 3333.2, kKelvin);
    struct Case {
        double bv;
        int r, g, b;
    } colours[] = {
        {0.65, 255, 242, 231},  // yellow-white
        {1.85, 255, 188, 131},  // orange-red
        {-0.3, 177, 203, 255},  // blue-white
        {std::nan(""), 255, 255, 255},
    };
    for (const auto& c : colours) {
        const Rgb rgb = StarColour(c.bv);
        EXPECT_NEAR(rgb.r, c.r, 1) << c.bv;
        EXPECT_NEAR(rgb.g, c.g, 1) << c.bv;
        EXPECT_NEAR(rgb.b, c.b, 1) << c.bv;
    }
    EXPECT_DOUBLE_EQ(StarRadiusPx(5.0, 5.0, 100.0), 1.0);
    EXPECT_NEAR(StarRadiusPx(-1.46, 5.0, 100.0), 4.553, 1e-12);
    EXPECT_DOUBLE_EQ(StarRadiusPx(-10.0, 5.0, 100.0), 6.0);
    EXPECT_NEAR(StarRadiusPx(5.0, 5.0, 15.0), 2.0, 1e-12);  // sqrt(60 / 15)
    EXPECT_DOUBLE_EQ(FaintestMagnitude(120.0), 5.0);
    EXPECT_NEAR(FaintestMagnitude(25.0), 7.0, 1e-12);
    EXPECT_DOUBLE_EQ(FaintestMagnitude(1.0), 8.0);
}
