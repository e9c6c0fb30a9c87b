#include "host/iso_time.h"

#include <gtest/gtest.h>

// Julian Days of ISO 8601 times; references from Meeus, Astronomical
// Algorithms, ch. 7 (JD 2451545.0 = 2000-01-01 12:00 UT) and the time zones.
TEST(IsoTime, ReadsDatesTimesAndZones) {
    const struct {
        const char* text;
        double zone_h;
        double jd;
    } cases[] = {
        {"2000-01-01T12:00:00Z", 9.0, 2451545.0},
        {"2000-01-01T12:00Z", 9.0, 2451545.0},
        {"2000-01-01 21:00", 9.0, 2451545.0},  // read in the default zone
        {"2000-01-01T21:00:00+09:00", 0.0, 2451545.0},
        {"2000-01-01T07:00:00-0500", 0.0, 2451545.0},
        {"2000-01-01T17:30+05:30", 0.0, 2451545.0},
        {"2000-01-01T12:00:00.5Z", 0.0, 2451545.0 + 0.5 / 86400.0},
        {"2000-01-01", 0.0, 2451544.5},             // midnight
        {"1999-12-31T24:00Z", 0.0, 2451544.5},      // the end of a day is the next midnight
        {"2000-02-29T00:00Z", 0.0, 2451603.5},      // a leap day
        {"1957-10-04T19:26:24Z", 0.0, 2436116.31},  // Meeus example 7.a
        {"-0044-03-15T12:00Z", 0.0, 1705063.0},     // proleptic Gregorian, year -44
    };
    for (const auto& c : cases) {
        double jd = 0.0;
        std::string error;
        ASSERT_TRUE(host::ParseIsoTime(c.text, c.zone_h, &jd, &error)) << c.text << ": " << error;
        EXPECT_NEAR(jd, c.jd, 1e-8) << c.text;
    }
}

TEST(IsoTime, RejectsWhatIsNotATime) {
    for (const char* text :
         {"", "now", "2000", "2000-1-1", "2000-13-01", "2000-00-10", "2001-02-29", "2000-01-32",
          "2000-01-01T25:00", "2000-01-01T24:01", "2000-01-01T12", "2000-01-01T12:60",
          "2000-01-01T12:00:61", "2000-01-01T12:00:00.", "2000-01-01T12:00+15:00",
          "2000-01-01T12:00 junk", "2000-01-01T12:00+09:75"}) {
        double jd = -1.0;
        std::string error;
        EXPECT_FALSE(host::ParseIsoTime(text, 9.0, &jd, &error)) << text;
        EXPECT_EQ(jd, -1.0) << text;
        EXPECT_NE(error.find(text), std::string::npos) << error;
    }
}
