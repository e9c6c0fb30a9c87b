// The coordinate texts of the information window: every form and level,
// carries, placeholders and the fixed widths the columns rely on.
#include "host/coord_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "tests/test_support.h"

namespace {

using Formatter = CString (*)(double, int);

struct Function {
    const char* name;
    Formatter format;
};

const Function kFunctions[] = {
    {"RA", &CCommonCoordFormat::CoordFormatRA},
    {"RADeg", &CCommonCoordFormat::CoordFormatRADeg},
    {"Latitude", &CCommonCoordFormat::CoordFormatLatitude},
    {"LatitudeDeg", &CCommonCoordFormat::CoordFormatLatitudeDeg},
    {"Longitude", &CCommonCoordFormat::CoordFormatLongitude},
    {"LongitudeDeg", &CCommonCoordFormat::CoordFormatLongitudeDeg},
};

Formatter Find(const std::string& name) {
    for (const Function& f : kFunctions) {
        if (name == f.name) return f.format;
    }
    return nullptr;
}

// Betelgeuse, Hipparcos (ESA 1997) position for J2000: 5h55m10.30536s,
// +7ﾟ24'25.4304".  The longitude forms take its right ascension in degrees.
constexpr double kRaHours = 5.0 + 55.0 / 60.0 + 10.30536 / 3600.0;
constexpr double kDecDegrees = 7.0 + 24.0 / 60.0 + 25.4304 / 3600.0;
constexpr double kRaDegrees = kRaHours * 15.0;  // 88.792939

struct Case {
    const char* function;
    double value;
    int level;
    const char* expected;
};

// Every form at its coarsest and finest level, the sexagesimal ones at every
// level; the texts are the catalogue values rounded to the level's last digit
// (exact text, no tolerance).
const std::vector<Case> kForms = {
    {"RA", kRaHours, 1, "05h55.2m"},
    {"RA", kRaHours, 2, "05h55m10.3s"},
    {"RA", kRaHours, 3, "05h55m10.31s"},
    {"RA", kRaHours, 4, "05h55m10.305s"},
    {"RADeg", kRaHours, 1, "088.793ﾟ"},
    {"RADeg", kRaHours, 4, "088.7929390ﾟ"},
    {"Latitude", kDecDegrees, 1, "+07ﾟ24'"},
    {"Latitude", kDecDegrees, 2, "+07ﾟ24'25\""},
    {"Latitude", kDecDegrees, 3, "+07ﾟ24'25.4\""},
    {"Latitude", kDecDegrees, 4, "+07ﾟ24'25.43\""},
    {"LatitudeDeg", kDecDegrees, 1, "+07.41ﾟ"},
    {"LatitudeDeg", kDecDegrees, 4, "+07.4070640ﾟ"},
    {"Longitude", kRaDegrees, 1, "088ﾟ48'"},
    {"Longitude", kRaDegrees, 4, "088ﾟ47'34.58\""},
    {"LongitudeDeg", kRaDegrees, 1, "088.79ﾟ"},
    {"LongitudeDeg", kRaDegrees, 4, "088.7929390ﾟ"},
    // Southern declination, and levels outside 1..4 clamp.
    {"Latitude", -16.7161, 2, "-16ﾟ42'58\""},
    {"Latitude", -16.7161, 0, "-16ﾟ43'"},
    {"Latitude", -16.7161, 9, "-16ﾟ42'57.96\""},
};

// Carries at each boundary: never 60 seconds or minutes, never 24h or 360ﾟ;
// ties of the decimal value round up; signs survive a zero degree.
const std::vector<Case> kCarries = {
    // 0h59m59.95s at tenths of a second: a decimal tie, rounds up.
    {"RA", 59.0 / 60.0 + 59.95 / 3600.0, 2, "01h00m00.0s"},
    {"RA", 59.0 / 60.0 + 59.95 / 3600.0, 3, "00h59m59.95s"},
    // 2.05 s: the product in binary lands a few ulps below the tie.
    {"RA", 2.05 / 3600.0, 2, "00h00m02.1s"},
    {"Latitude", 2.55 / 3600.0, 3, "+00ﾟ00'02.6\""},
    {"RA", 1.0 + 59.0 / 60.0 + 59.9996 / 3600.0, 4, "02h00m00.000s"},
    {"RA", 23.0 + 59.0 / 60.0 + 59.96 / 3600.0, 2, "00h00m00.0s"},
    {"RA", 23.0 + 59.96 / 60.0, 1, "00h00.0m"},
    {"RA", -1.0, 2, "23h00m00.0s"},
    {"RA", 25.5, 2, "01h30m00.0s"},
    {"RA", -1e-12, 3, "00h00m00.00s"},
    {"RADeg", 23.99999999, 2, "000.00000ﾟ"},
    // 0ﾟ59'59.95" at tenths of a second of arc.
    {"Latitude", 59.0 / 60.0 + 59.95 / 3600.0, 3, "+01ﾟ00'00.0\""},
    {"Latitude", -(59.0 / 60.0 + 59.95 / 3600.0), 3, "-01ﾟ00'00.0\""},
    {"Latitude", -0.5, 1, "-00ﾟ30'"},
    {"Latitude", -0.0001, 2, "-00ﾟ00'00\""},
    {"Latitude", -0.0, 2, "+00ﾟ00'00\""},
    {"Latitude", -90.0, 4, "-90ﾟ00'00.00\""},
    {"Latitude", 89.99999, 2, "+90ﾟ00'00\""},
    {"LatitudeDeg", -0.00001, 2, "-00.0000ﾟ"},
    {"Longitude", 359.99999, 2, "000ﾟ00'00\""},
    {"Longitude", -0.0001, 3, "359ﾟ59'59.6\""},
    {"Longitude", 720.5, 1, "000ﾟ30'"},
    {"LongitudeDeg", 359.99999, 2, "000.0000ﾟ"},
    {"LongitudeDeg", -90.0, 1, "270.00ﾟ"},
};

TEST(CoordFormat, FormsCarriesAndSigns) {
    for (const auto* table : {&kForms, &kCarries}) {
        for (const Case& c : *table) {
            SCOPED_TRACE(std::string(c.function) + " " + std::to_string(c.value) + " level " +
                         std::to_string(c.level));
            EXPECT_EQ(U8(Find(c.function)(c.value, c.level)), c.expected);
        }
    }
}

TEST(CoordFormat, PlaceholdersHaveTheWidthOfAValue) {
    const Case kPlaceholders[] = {
        {"RA", 0.0, 1, "--h--.-m"},
        {"Latitude", 0.0, 4, " --ﾟ--'--.--\""},
        {"Longitude", 0.0, 3, "---ﾟ--'--.-\""},
        {"LatitudeDeg", 0.0, 2, " --.----ﾟ"},
        {"RADeg", 0.0, 2, "---.-----ﾟ"},
    };
    for (const Case& c : kPlaceholders) {
        EXPECT_EQ(U8(Find(c.function)(0.0, -c.level)), c.expected) << c.function << c.level;
    }
    const double kMissing[] = {std::numeric_limits<double>::quiet_NaN(),
                               std::numeric_limits<double>::infinity(),
                               -std::numeric_limits<double>::infinity()};
    for (const Function& f : kFunctions) {
        for (int level = 1; level <= 4; ++level) {
            const CString placeholder = f.format(0.0, -level);
            SCOPED_TRACE(std::string(f.name) + " level " + std::to_string(level));
            EXPECT_EQ(U8(placeholder).find_first_of("0123456789"), std::string::npos)
                << U8(placeholder);
            EXPECT_EQ(placeholder.GetLength(), f.format(12.345, level).GetLength());
            for (double v : kMissing) EXPECT_EQ(f.format(v, level), placeholder);
            // The negated level means "no value" whatever the value.
            EXPECT_EQ(f.format(12.345, -level), placeholder);
        }
    }
}

// Over the natural range of each coordinate a level prints one width, and
// the widths keep the column rules the position block relies on.
TEST(CoordFormat, FixedWidthsAndColumnRules) {
    struct Range {
        const char* function;
        double low, high;
    };
    const Range kRanges[] = {
        {"RA", -30.0, 30.0},          {"RADeg", -30.0, 30.0},       {"Latitude", -90.0, 90.0},
        {"LatitudeDeg", -90.0, 90.0}, {"Longitude", -400.0, 400.0}, {"LongitudeDeg", -400.0, 400.0},
    };
    int width[6][5] = {};
    for (int f = 0; f < 6; ++f) {
        const Formatter format = Find(kRanges[f].function);
        for (int level = 1; level <= 4; ++level) {
            width[f][level] = format(0.0, level).GetLength();
            // An odd step, so that the samples land on many different
            // fractions, near-boundary ones among them.
            const double step = (kRanges[f].high - kRanges[f].low) / 997.0;
            for (double v = kRanges[f].low; v <= kRanges[f].high; v += step) {
                const CString text = format(v, level);
                ASSERT_EQ(text.GetLength(), width[f][level])
                    << kRanges[f].function << " " << v << " level " << level << ": " << U8(text);
            }
        }
    }
    enum { kRa, kRaDeg, kLat, kLatDeg, kLong, kLongDeg };
    for (int pair = 0; pair < 2; ++pair) {
        const int ra = pair ? kRaDeg : kRa, lat = pair ? kLatDeg : kLat,
                  lon = pair ? kLongDeg : kLong;
        for (int level = 1; level <= 4; ++level) {
            EXPECT_EQ(width[lat][level], width[lon][level]) << pair << level;
        }
        // One level up: right ascension one character wider; an angle two
        // characters from level 2 to 3, one from 3 to 4.
        EXPECT_EQ(width[ra][3], width[ra][2] + 1) << pair;
        EXPECT_EQ(width[ra][4], width[ra][3] + 1) << pair;
        EXPECT_EQ(width[lat][3], width[lat][2] + 2) << pair;
        EXPECT_EQ(width[lat][4], width[lat][3] + 1) << pair;
        // An ecliptic line one level below the J2000 line, with its extra
        // blank, ends where the right ascension ends.
        EXPECT_EQ(width[lon][1] + 1, width[ra][1]) << pair;
        EXPECT_EQ(width[lon][2] + 1, width[ra][2]) << pair;
        EXPECT_EQ(width[lon][2] + 2, width[ra][3]) << pair;
        EXPECT_EQ(width[lon][3] + 1, width[ra][4]) << pair;
    }
}

TEST(CoordFormat, HugeValuesNeverOverflow) {
    // Right ascension and longitude reduce any finite value to one turn.
    EXPECT_EQ(CCommonCoordFormat::CoordFormatRA(1e300, 4).GetLength(), 13);
    EXPECT_EQ(CCommonCoordFormat::CoordFormatRADeg(-1e300, 4).GetLength(), 12);
    EXPECT_EQ(CCommonCoordFormat::CoordFormatLongitude(1e300, 4).GetLength(), 13);
    // A latitude beyond 90ﾟ prints as it is, so the fault shows; one beyond
    // any sense prints as missing.
    EXPECT_EQ(U8(CCommonCoordFormat::CoordFormatLatitude(123.5, 2)), "+123ﾟ30'00\"");
    EXPECT_EQ(CCommonCoordFormat::CoordFormatLatitude(1e300, 4),
              CCommonCoordFormat::CoordFormatLatitude(0.0, -4));
    EXPECT_EQ(CCommonCoordFormat::CoordFormatLatitudeDeg(-1e300, 4),
              CCommonCoordFormat::CoordFormatLatitudeDeg(0.0, -4));
}

}  // namespace
