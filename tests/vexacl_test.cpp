// Tests of the calculation library against published reference values.
// Sources: J. Meeus, "Astronomical Algorithms", 2nd ed. (1998), examples by
// number; F. Espenak & J. Meeus, "Five Millennium Canon of Solar Eclipses"
// (NASA TP-2006-214141) and the NASA eclipse site's table of historical
// Delta T (Morrison & Stephenson 2004).
#include "host/vexacl.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <string>
#include <utility>

namespace {

using namespace vexacl;

tagADATE D(int y, int mo, int d, int h = 0, int mi = 0, double s = 0.0, double zone = 0.0) {
    return tagADATE{y, mo, d, h, mi, s, zone};
}

std::string Show(const tagADATE& d) {
    char buf[96];
    std::snprintf(buf, sizeof buf, "%d-%02d-%02d %02d:%02d:%012.9f (%+g h)", d.year, d.month, d.day,
                  d.hour, d.minute, d.second, d.zone);
    return buf;
}

// Field by field, the seconds within sec_tol.
void ExpectDate(const tagADATE& actual, const tagADATE& expected, double sec_tol = 1e-9) {
    SCOPED_TRACE("actual " + Show(actual) + ", expected " + Show(expected));
    EXPECT_EQ(actual.year, expected.year);
    EXPECT_EQ(actual.month, expected.month);
    EXPECT_EQ(actual.day, expected.day);
    EXPECT_EQ(actual.hour, expected.hour);
    EXPECT_EQ(actual.minute, expected.minute);
    EXPECT_NEAR(actual.second, expected.second, sec_tol);
    EXPECT_EQ(actual.zone, expected.zone);
}

constexpr double kNan = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

double Hms(double h, double m, double s) {
    return (h + m / 60.0 + s / 3600.0) * 15.0;
}

// ---- GetJd / JdToDate / JdToDate2 ---------------------------------------

// Meeus ch. 7: example 7.a and the Gregorian dates of the list that
// follows it.  Tolerance 1e-8 day (0.9 ms), ten JD ulps near the present.
struct JdCase {
    tagADATE date;
    double jd;
};
const JdCase kMeeusJd[] = {
    {D(1957, 10, 4, 19, 26, 24), 2436116.31},  // 7.a: 1957 Oct 4.81
    {D(2000, 1, 1, 12), 2451545.0},
    {D(1987, 1, 27), 2446822.5},
    {D(1988, 6, 19, 12), 2447332.0},  // after a leap day
    {D(1900, 1, 1), 2415020.5},
    {D(1600, 1, 1), 2305447.5},
    {D(1600, 12, 31), 2305812.5},
};

TEST(VexaclGetJd, MeeusChapter7Dates) {
    for (const auto& c : kMeeusJd) {
        SCOPED_TRACE(Show(c.date));
        EXPECT_NEAR(GetJd(c.date), c.jd, 1e-8);
    }
    // The zone is hours east of UT: 7.a read on a JST clock is the next day.
    EXPECT_NEAR(GetJd(D(1957, 10, 5, 4, 26, 24, 9.0)), 2436116.31, 1e-8);
}

TEST(VexaclGetJd, OutOfRangeFieldsCountOnOrAreRejected) {
    // Day 0 of March 2024 is the leap day; day 32 of December the next 1 January.
    EXPECT_EQ(GetJd(D(2024, 3, 0)), GetJd(D(2024, 2, 29)));
    EXPECT_EQ(GetJd(D(2023, 12, 32)), GetJd(D(2024, 1, 1)));
    EXPECT_NEAR(GetJd(D(2024, 1, 1, 24)), GetJd(D(2024, 1, 2)), 1e-9);
    // A month outside 1-12, a year before -4799 or a non-finite field: 0.
    EXPECT_EQ(GetJd(D(2024, 13, 1)), 0.0);
    EXPECT_EQ(GetJd(D(-4800, 1, 1)), 0.0);
    EXPECT_EQ(GetJd(D(2024, 1, 1, 0, 0, kNan)), 0.0);
    EXPECT_EQ(GetJd(D(2024, 1, 1, 0, 0, 0.0, kInf)), 0.0);
}

TEST(VexaclJdToDate2, WholeSecondsSurviveAZoneShift) {
    // The engine's local date is JdToDate2(jd + zone / 24).  The sum carries
    // a rounding error of some 20 us; whole-second clock times must still come
    // out as whole seconds (13:00:00, not 12:59:59.99998).
    ExpectDate(JdToDate2(2460000.25 - 5.0 / 24.0), D(2023, 2, 24, 13), 0.0);
    const double zones[] = {9.0, -5.0, 5.75, -3.5, 0.0};
    for (int i = 0; i < 500; ++i) {
        const tagADATE local = D(2024, 1 + i % 12, 1 + i % 28, (i * 7) % 24, (i * 13) % 60,
                                 (i * 17) % 60, zones[i % 5]);
        const double jd = GetJd(local);
        tagADATE d = JdToDate2(jd + local.zone / 24.0);
        d.zone = local.zone;
        ExpectDate(d, local, 0.0);
    }
}

TEST(VexaclJdToDate2, SubMicrosecondBeforeMidnightIsNextDay) {
    // At a small JD the double resolves 10 ns, so 0.26 us before midnight is
    // representable; the microsecond rounding must carry into the date.
    const double midnight = 1000.5;
    const tagADATE next = JdToDate2(midnight);
    const tagADATE d = JdToDate2(midnight - 3e-12);
    ExpectDate(d, next, 0.0);
    EXPECT_EQ(d.hour, 0);
    EXPECT_EQ(d.second, 0.0);
}

// ---- ChangeDate ---------------------------------------------------------

struct StepCase {
    const char* what;
    tagADATE in;
    tagADATE step;
    int direction;
    tagADATE out;
};
const StepCase kStepCases[] = {
    {"half second carries to the next year", D(2023, 12, 31, 23, 59, 59.6), D(0, 0, 0, 0, 0, 0.5),
     kChangeDateForward, D(2024, 1, 1, 0, 0, 0.1)},
    {"month end clamped, leap", D(2024, 1, 31, 10), D(0, 1, 0), kChangeDateForward,
     D(2024, 2, 29, 10)},
    {"13 months", D(2024, 1, 15), D(0, 13, 0), kChangeDateForward, D(2025, 2, 15)},
    {"one second back into the leap day", D(2024, 3, 1), D(0, 0, 0, 0, 0, 1.0), kChangeDateBackward,
     D(2024, 2, 29, 23, 59, 59.0)},
    {"negative step field", D(2024, 1, 1, 1), D(0, 0, 0, 0, -90), kChangeDateForward,
     D(2023, 12, 31, 23, 30)},
    {"any non-zero direction subtracts", D(2024, 1, 1), D(0, 0, 1), -1, D(2023, 12, 31)},
    {"zone kept, step zone ignored", D(2024, 1, 1, 23, 0, 0.0, 9.0), D(0, 0, 0, 1, 0, 0.0, -5.0),
     kChangeDateForward, D(2024, 1, 2, 0, 0, 0.0, 9.0)},
    {"zero step normalises", D(2024, 1, 31, 23, 59, 60.25), D(0, 0, 0), kChangeDateForward,
     D(2024, 2, 1, 0, 0, 0.25)},
};

TEST(VexaclChangeDate, CalendarAndClockSteps) {
    for (const auto& c : kStepCases) {
        SCOPED_TRACE(c.what);
        tagADATE d = c.in;
        ASSERT_EQ(ChangeDate(&d, c.step, c.direction), 1);
        ExpectDate(d, c.out, 1e-9);
    }
}

// ---- Delta T and UtToDt --------------------------------------------------

// NASA eclipse site, "Historical values of Delta T" (Morrison & Stephenson
// 2004 before 1700, observed after).  Tolerance per row: the polynomials'
// fit to these values, a fraction of the table's stated uncertainty.
struct DeltaTCase {
    int year;
    double seconds;
    double tol;
};
const DeltaTCase kNasaDeltaT[] = {
    {-500, 17190, 40}, {0, 10580, 20},    {1000, 1570, 10},  {1600, 120, 1},
    {1750, 13, 0.5},   {1850, 7, 0.5},    {1900, -3, 0.5},   {1950, 29, 0.2},
    {1970, 40.2, 0.2}, {1990, 56.9, 0.2}, {2000, 63.8, 0.2}, {2005, 64.7, 0.2},
};

TEST(VexaclDeltaT, NasaHistoricalTable) {
    for (const auto& c : kNasaDeltaT) {
        const double jd = GetJd(D(c.year, 1, 1));
        EXPECT_NEAR(DeltaT(jd), c.seconds, c.tol) << c.year;
        EXPECT_NEAR((UtToDt(jd) - jd) * 86400.0, c.seconds, c.tol) << c.year;
    }
}

TEST(VexaclDeltaT, PolynomialPiecesJoin) {
    // Where one expression hands over to the next the published fits agree
    // within 0.3 s; a bigger jump means a mistyped coefficient.
    for (double year : {-500.0, 500.0, 1600.0, 1700.0, 1800.0, 1860.0, 1900.0, 1920.0, 1941.0,
                        1961.0, 1986.0, 2005.0, 2050.0, 2150.0}) {
        const double jd = 2451544.5 + (year - 2000.0) * 365.2425;
        EXPECT_NEAR(DeltaT(jd + 1e-4), DeltaT(jd - 1e-4), 0.3) << year;
    }
}

// ---- GetLst ---------------------------------------------------------------

TEST(VexaclGetLst, MeeusExamples12aAnd13b) {
    // 1987 April 10, 0h UT: apparent sidereal time at Greenwich 13h10m46.1351s.
    // Tolerance 5e-5 deg (0.18"): Meeus uses the IAU 1982/1980 models, ERFA
    // IAU 2006/2000A; they differ by about 0.06" in 1987.
    EXPECT_NEAR(GetLst(2446895.5, 0.0), Hms(13, 10, 46.1351), 5e-5);

    // 13.b: 1987 April 10, 19h21m00s UT: apparent sidereal time at Greenwich
    // 8h34m56.853s; at the US Naval Observatory, 77°03'56" W, that less
    // the longitude.  Tolerance as in 12.a.
    const double jd = 2446895.5 + (19.0 + 21.0 / 60.0) / 24.0;
    const double usno = -(77.0 + 3.0 / 60.0 + 56.0 / 3600.0);
    EXPECT_NEAR(GetLst(jd, 0.0), Hms(8, 34, 56.853), 5e-5);
    EXPECT_NEAR(GetLst(jd, usno), Hms(8, 34, 56.853) + usno, 5e-5);
}

// ---- CalcPlanetLbr --------------------------------------------------------

// Heliocentric, mean ecliptic and equinox of date.  Meeus evaluates the
// truncated VSOP87 of his appendix III (about 1" and 1e-6 au), the library
// eraEpv00 / eraPlan94; tolerances cover the truncation.
struct LbrCase {
    const char* source;
    int body;
    double jd_tt;
    double l, b, r;  // degrees, degrees, au
    double tol_l, tol_b, tol_r;
};
const LbrCase kMeeusLbr[] = {
    // 25.b: 1992 Oct 13.0 TD, Earth in FK5: L = 19.907347, B = -0.62".
    {"Meeus 25.b Earth", kBodyEarth, 2448908.5, 19.907347, -0.62 / 3600.0, 0.99760775, 3e-4,
     0.3 / 3600.0, 2e-6},
    // 32.a: 1992 Dec 20.0 TD, Venus.
    {"Meeus 32.a Venus", kBodyVenus, 2448976.5, 26.11428, -2.62070, 0.724603, 1e-3, 1e-3, 1e-5},
};

TEST(VexaclCalcPlanetLbr, MeeusExamples) {
    for (const auto& c : kMeeusLbr) {
        SCOPED_TRACE(c.source);
        double l = 0.0, b = 0.0, r = 0.0;
        ASSERT_EQ(CalcPlanetLbr(c.body, c.jd_tt, &l, &b, &r), 1);
        EXPECT_NEAR(l, c.l, c.tol_l);
        EXPECT_NEAR(b, c.b, c.tol_b);
        EXPECT_NEAR(r, c.r, c.tol_r);
    }
}

// ---- AdToPaDist ----------------------------------------------------------

struct PaCase {
    const char* what;
    double from[2], to[2];
    double pa, dist, tol_pa, tol_dist;  // pa NaN: not published, range checked only
};
const PaCase kPaCases[] = {
    // Meeus 17.a: Arcturus to Spica 32.7930° (given to 1e-4).
    {"Meeus 17.a", {213.9154, 19.1825}, {201.2983, -11.1614}, kNan, 32.7930, 0.0, 5e-5},
    // Meeus 48.a: the Sun seen from the Moon, 1992 April 12: position angle
    // of the bright limb chi = 285.0°, elongation psi = 110.7929°.
    {"Meeus 48.a", {134.6885, 13.7684}, {20.6579, 8.6964}, 285.0, 110.7929, 0.05, 5e-5},
    {"south", {10.0, 20.0}, {10.0, 19.0}, 180.0, 1.0, 1e-9, 1e-9},
    {"west is 270, not -90", {0.0, 0.0}, {359.0, 0.0}, 270.0, 1.0, 1e-9, 1e-9},
    {"east across 0h", {359.5, 0.0}, {0.5, 0.0}, 90.0, 1.0, 1e-9, 1e-9},
    {"same point", {50.0, -30.0}, {50.0, -30.0}, 0.0, 0.0, 1e-12, 1e-12},
    {"antipode", {0.0, 0.0}, {180.0, 0.0}, 90.0, 180.0, 1e-6, 1e-9},
};

TEST(VexaclAdToPaDist, PublishedAndCardinalCases) {
    for (const auto& c : kPaCases) {
        SCOPED_TRACE(c.what);
        double pa = -1.0, dist = -1.0;
        ASSERT_EQ(AdToPaDist(c.from, c.to, &pa, &dist), 1);
        EXPECT_GE(pa, 0.0);
        EXPECT_LT(pa, 360.0);
        if (!std::isnan(c.pa)) {
            EXPECT_NEAR(pa, c.pa, c.tol_pa);
        }
        EXPECT_NEAR(dist, c.dist, c.tol_dist);
    }
}

}  // namespace
