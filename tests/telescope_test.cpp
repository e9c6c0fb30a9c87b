// The place an INDI mount takes: J2000 carried to the true equinox of the
// date, against PyEphem's apparent places (tests/data/jnow_reference.tsv).
#include <gtest/gtest.h>

#include <cmath>

#include "telescope/indi_telescope.h"
#include "telescope/jnow.h"
#include "tests/test_support.h"

namespace {

// Angle between two places, arcseconds (right ascensions in hours).
double SeparationArcsec(double ra1h, double dec1, double ra2h, double dec2) {
    const double r = M_PI / 180.0;
    const double a1 = ra1h * 15.0 * r, a2 = ra2h * 15.0 * r, d1 = dec1 * r, d2 = dec2 * r;
    const double c = std::sin(d1) * std::sin(d2) + std::cos(d1) * std::cos(d2) * std::cos(a1 - a2);
    return std::acos(std::min(1.0, c)) / r * 3600.0;
}

TEST(JNow, AgreesWithPyEphemWithinAnArcsecond) {
    const auto rows = ReadRefTable(VEXCLK_SOURCE_DIR "/tests/data/jnow_reference.tsv");
    ASSERT_EQ(rows.size(), 15u);
    for (const RefRow& row : rows) {
        const telescope::EquatorialOfDate p =
            telescope::J2000ToJNow(row.Num("ra_deg"), row.Num("dec_deg"), row.Num("jd_utc"));
        EXPECT_GE(p.raHours, 0.0);
        EXPECT_LT(p.raHours, 24.0);
        EXPECT_LT(SeparationArcsec(p.raHours, p.decDeg, row.Num("ra_h"), row.Num("dec_of_date")),
                  1.0)
            << row.Text("name") << " at " << row.Text("jd_utc");
    }
}

TEST(JNow, ClockIsTodaysJulianDate) {
    // Between 2020 and 2100: the clock is read, not a constant.
    const double jd = telescope::JdUtcNow();
    EXPECT_GT(jd, 2458849.5);
    EXPECT_LT(jd, 2488069.5);
}

TEST(IndiAddress, ReadsHostAndPortAndRefusesTheRest) {
    struct Row {
        const char* text;
        bool ok;
        const char* host;
        int port;
    };
    const Row rows[] = {
        {"127.0.0.1:7625", true, "127.0.0.1", 7625},
        {"mount.local", true, "mount.local", 7624},  // the INDI port when left out
        {"h:1", true, "h", 1},
        {"h:65535", true, "h", 65535},
        {"h:0", false, "", 0},
        {"h:65536", false, "", 0},
        {"h:99999999999999999999", false, "", 0},  // no overflow into range
        {"h:", false, "", 0},
        {"h:-1", false, "", 0},
        {"h:76x", false, "", 0},
        {":7624", false, "", 0},
        {"", false, "", 0},
        {"a:b:7624", false, "", 0},
        {"a b:7624", false, "", 0},
    };
    for (const Row& row : rows) {
        CIndiTelescope::Options options{"unchanged", 42, "", 1};
        std::string error;
        EXPECT_EQ(CIndiTelescope::ParseAddress(row.text, &options, &error), row.ok) << row.text;
        EXPECT_EQ(options.host, row.ok ? row.host : "unchanged") << row.text;
        EXPECT_EQ(options.port, row.ok ? row.port : 42) << row.text;
        EXPECT_EQ(error.empty(), row.ok) << row.text;
    }
}

TEST(IndiAddress, NoServerIsAnErrorNotATelescope) {
    std::string error;
    // Port 1 of the loopback: nothing listens there.
    EXPECT_EQ(CIndiTelescope::ConnectTo("127.0.0.1:1", &error), nullptr);
    EXPECT_NE(error.find("no INDI server at 127.0.0.1:1"), std::string::npos) << error;
    EXPECT_EQ(CIndiTelescope::ConnectTo("127.0.0.1:0", &error), nullptr);
    EXPECT_NE(error.find("not a port"), std::string::npos) << error;
}

}  // namespace
