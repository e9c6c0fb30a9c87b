// The Moon's principal phases and the apparent longitudes they come from.
// Sources: F. Espenak, "Moon Phases for 2013 (GMT)", astropixels.com
// (Universal Time to the minute, from his "Phases of the Moon: 2001 to
// 2100" table); J. Meeus, "Astronomical Algorithms", 2nd ed. (1998),
// examples 25.b (Sun), 47.a (Moon) and 49.a (new moon of 1977 February).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "host/vexacl.h"
#include "tests/test_support.h"

namespace {

using namespace vexacl;

tagADATE D(int y, int mo, int d, int h = 0, int mi = 0, double s = 0.0) {
    return {y, mo, d, h, mi, s, 0.0};
}

std::string ShowUt(double jd) {
    const tagADATE d = JdToDate2(jd);
    char buf[64];
    std::snprintf(buf, sizeof buf, "%d-%02d-%02d %02d:%02d:%06.3f UT", d.year, d.month, d.day,
                  d.hour, d.minute, d.second);
    return buf;
}

constexpr double kArcsec = 1.0 / 3600.0;

}  // namespace

TEST(MoonPhasesLongitude, MeeusExamples) {
    // Ex. 49.a: the true new moon of 1977 February 18 at 3h37m42s TD.
    tagMOONPHASE phase;
    ASSERT_EQ(GetMoonPhases(D(1977, 2, 18, 12), &phase, 1), 1);
    EXPECT_EQ(phase.phase, kMoonNew);
    EXPECT_NEAR(UtToDt(phase.jd), GetJd(D(1977, 2, 18, 3, 37, 42)), 30.0 / 86400.0);

    double sun = 0.0, moon = 0.0;
    // Ex. 25.b, 1992 Oct 13.0 TD: geometric (FK5) 199 deg 54' 26.18",
    // nutation +15.908", aberration -20.539": apparent 199 deg 54' 21.549".
    ASSERT_EQ(CalcSunMoonLongitude(2448908.5, &sun, &moon), 1);
    EXPECT_NEAR(sun, 199.0 + 54.0 / 60.0 + 21.549 / 3600.0, 0.5 * kArcsec);
    // Ex. 47.a, 1992 Apr 12.0 TD: apparent longitude 133.167265 deg (the
    // abridged ELP-2000/82 that eraMoon98 also follows, plus nutation).
    ASSERT_EQ(CalcSunMoonLongitude(2448724.5, &sun, &moon), 1);
    EXPECT_NEAR(moon, 133.167265, 1.0 * kArcsec);
}

TEST(MoonPhases, EspenakTable2013) {
    // Published to the minute (UT); the computed instant must lie within a
    // minute of it.
    const tagADATE expected[6] = {D(2013, 1, 11, 19, 44), D(2013, 1, 18, 23, 45),
                                  D(2013, 1, 27, 4, 38),  D(2013, 2, 3, 13, 56),
                                  D(2013, 2, 10, 7, 20),  D(2013, 2, 17, 20, 31)};
    tagMOONPHASE phases[6];
    ASSERT_EQ(GetMoonPhases(D(2013, 1, 12), phases, 6), 6);
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE("phase " + std::to_string(i) + " at " + ShowUt(phases[i].jd));
        EXPECT_EQ(phases[i].phase, i % 4);
        EXPECT_NEAR(phases[i].jd, GetJd(expected[i]), 60.0 / 86400.0);
    }
}

TEST(MoonPhases, ListStartsWithTheLastNewMoonAtOrBeforeTheDate) {
    tagMOONPHASE phases[6];
    ASSERT_EQ(GetMoonPhases(D(2013, 1, 12), phases, 6), 6);
    const double new_moon = phases[0].jd;
    const double next_new_moon = phases[4].jd;

    // Both ends of the lunation give the same list, bit for bit; the zone
    // only moves the clock.
    for (double jd : {new_moon, next_new_moon - 1e-6}) {
        tagADATE asked = JdToDate2(jd);
        ChangeTimezone(&asked, 9.0);
        tagMOONPHASE again[6];
        ASSERT_EQ(GetMoonPhases(asked, again, 6), 6) << ShowUt(jd);
        for (int i = 0; i < 6; ++i) EXPECT_EQ(again[i].jd, phases[i].jd) << ShowUt(jd) << " " << i;
    }

    // At the next new moon the list moves on by a lunation.
    tagMOONPHASE later[2];
    ASSERT_EQ(GetMoonPhases(JdToDate2(next_new_moon), later, 2), 2);
    EXPECT_EQ(later[0].jd, next_new_moon);
    EXPECT_EQ(later[1].jd, phases[5].jd);
}

TEST(MoonPhases, PhaseAnglesAreRoots) {
    tagMOONPHASE phases[6];
    ASSERT_EQ(GetMoonPhases(D(2030, 8, 1), phases, 6), 6);
    for (const auto& p : phases) {
        double sun = 0.0, moon = 0.0;
        ASSERT_EQ(CalcSunMoonLongitude(UtToDt(p.jd), &sun, &moon), 1);
        // The Moon gains about 0.5" a second on the Sun; 0.1" is 0.2 s.
        EXPECT_NEAR(degmal2(moon - sun - 90.0 * p.phase), 0.0, 0.1 * kArcsec) << ShowUt(p.jd);
    }
}

TEST(MoonPhases, CountAndBadInput) {
    tagMOONPHASE phases[8];
    EXPECT_EQ(GetMoonPhases(D(2013, 1, 12), phases, 8), 8);
    EXPECT_EQ(phases[7].phase, kMoonLastQuarter);
    // No room, a month GetJd rejects, the zeroed record of an unread date, a NaN.
    EXPECT_EQ(GetMoonPhases(D(2013, 1, 12), nullptr, 6), 0);
    for (const tagADATE& bad : {D(2013, 13, 12), tagADATE(), D(2013, 1, 12, 0, 0, std::nan(""))}) {
        EXPECT_EQ(GetMoonPhases(bad, phases, 6), 0);
    }

    double sun = 1.0, moon = 1.0;
    EXPECT_EQ(CalcSunMoonLongitude(std::nan(""), &sun, &moon), 0);
    EXPECT_EQ(sun, 0.0);
    EXPECT_EQ(moon, 0.0);
    EXPECT_EQ(CalcSunMoonLongitude(2451545.0, nullptr, nullptr), 1);
}

// Against PyEphem's independent lunar theory (tests/data, with the script
// that made it): every phase within 30 s, Delta T models included.
TEST(MoonPhases, MatchPyEphemWithinHalfAMinute) {
    const std::vector<RefRow> rows =
        ReadRefTable(VEXCLK_SOURCE_DIR "/tests/data/moon_phases_reference.tsv");
    ASSERT_GE(rows.size(), 100u);
    double worst = 0.0;
    for (const RefRow& row : rows) {
        const double expected = row.Num("jd_ut");
        tagMOONPHASE phases[6];
        ASSERT_EQ(GetMoonPhases(JdToDate2(expected - 3.0), phases, 6), 6);
        double nearest = 1e9;
        for (const auto& p : phases) {
            if (p.phase == static_cast<int>(row.Num("kind")))
                nearest = std::min(nearest, std::fabs(p.jd - expected) * 86400.0);
        }
        worst = std::max(worst, nearest);
        EXPECT_LT(nearest, 30.0) << ShowUt(expected);
    }
    std::printf("moon phases: worst difference from PyEphem %.1f s\n", worst);
}
