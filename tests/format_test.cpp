// The formatting members of CLumClickData: level choice, replies without a
// value, clock times, periods and the engine's local date.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <tuple>
#include <vector>

#include "clickdata/click_data.h"
#include "host/coord_format.h"
#include "settings/cdstatus.h"
#include "sky/replay_engine.h"
#include "tests/test_support.h"

namespace {

class FormatClickData : public CLumClickData {
  public:
    using CLumClickData::FormatHms;
    using CLumClickData::FormatLati;
    using CLumClickData::FormatLong;
    using CLumClickData::GetDate;
    using CLumClickData::GetPeriodString;
    using CLumClickData::GetTimeString;
    using CLumClickData::TrimTrailingZero;
};

// Julian Day (UT) of 2000-01-01 12:00 UT, J2000.0 (Meeus, Astronomical
// Algorithms, chapter 7).
constexpr double kJ2000 = 2451545.0;
constexpr double kJst = 9.0;  // hours east of UT

// J2000.0 plus a UT clock offset.
CString JdText(int hours, int minutes, double seconds) {
    CString s;
    s.Format(u"%.10f", kJ2000 + (hours * 3600.0 + minutes * 60.0 + seconds) / 86400.0);
    return s;
}

TEST(ClickDataFormat, LevelAndVariantFollowTheSettings) {
    struct Row {
        int very_high;
        int precision;
        int min_sec;
        int level;     // the builder's level
        int expected;  // the level printed
    };
    const Row kRows[] = {
        {0, 0, 0, 3, 3}, {0, 1, 0, 3, 1}, {0, 2, 0, 2, 1},
        {1, 1, 0, 2, 4}, {0, 0, 1, 2, 2}, {1, 0, 1, 3, 4},
    };
    CCdStatus status;
    FormatClickData data;
    data.SetStatus(&status);
    for (const Row& r : kRows) {
        SCOPED_TRACE(::testing::Message() << r.very_high << r.precision << r.min_sec << r.level);
        status.Precision = r.precision;
        status.DispMinSec = r.min_sec;
        data.SetExtraOption(r.very_high);
        const double ra = 5.919529, lat = -16.7161, lon = 88.792939;
        EXPECT_EQ(data.FormatHms(u"5.919529", r.level),
                  r.min_sec ? CCommonCoordFormat::CoordFormatRADeg(ra, r.expected)
                            : CCommonCoordFormat::CoordFormatRA(ra, r.expected));
        EXPECT_EQ(data.FormatLati(u"-16.7161", r.level),
                  r.min_sec ? CCommonCoordFormat::CoordFormatLatitudeDeg(lat, r.expected)
                            : CCommonCoordFormat::CoordFormatLatitude(lat, r.expected));
        EXPECT_EQ(data.FormatLong(u"88.792939", r.level),
                  r.min_sec ? CCommonCoordFormat::CoordFormatLongitudeDeg(lon, r.expected)
                            : CCommonCoordFormat::CoordFormatLongitude(lon, r.expected));
    }
}

TEST(ClickDataFormat, RepliesWithoutAValue) {
    FormatClickData data;  // no settings lent: every setting reads as off
    // "*" is the placeholder of the level in use.
    EXPECT_EQ(U8(data.FormatLati(u"*", 2)), " --ﾟ--'--\"");
    EXPECT_EQ(data.FormatHms(u"*", 3), CCommonCoordFormat::CoordFormatRA(0.0, -3));
    data.SetExtraOption(1);
    EXPECT_EQ(data.FormatLong(u"*", 2), CCommonCoordFormat::CoordFormatLongitude(0.0, -4));
    data.SetExtraOption(0);
    // An empty reply is the value 0; a reply is read up to its number's end.
    EXPECT_EQ(U8(data.FormatHms(u"", 2)), "00h00m00.0s");
    EXPECT_EQ(U8(data.FormatLong(u"12.5 deg", 1)), "012ﾟ30'");
    EXPECT_EQ(U8(data.FormatLong(u"garbage", 1)), "000ﾟ00'");
    // A number too large for a double is no coordinate.
    EXPECT_EQ(data.FormatLati(u"1e999", 2), CCommonCoordFormat::CoordFormatLatitude(0.0, -2));
}

TEST(ClickDataFormat, TrimTrailingZero) {
    const std::pair<const char16_t*, const char*> kRows[] = {
        {u"1.2500", "1.25"}, {u"100", "100"}, {u"0.000", "0."}, {u"", ""}};
    for (const auto& [in, out] : kRows) {
        CString s = in;
        FormatClickData::TrimTrailingZero(s);
        EXPECT_EQ(U8(s), out) << U8(CString(in));
    }
}

TEST(ClickDataFormat, PeriodKeepsThreeFigures) {
    // Sidereal periods in years of Mercury, Mars, Jupiter and Neptune; then
    // roundings across a decade: 99.95 is 100.0 at one decimal, printed as
    // the integer.
    const std::pair<double, const char*> kRows[] = {
        {0.24085, "0.240"}, {1.8808, "1.88"}, {11.862, "11.9"}, {164.79, "165"},
        {1234.5, "1230"},   {0.004, "0.000"}, {9.996, "10.0"},  {99.95, "100"}};
    for (const auto& [period, text] : kRows) {
        EXPECT_EQ(U8(FormatClickData::GetPeriodString(period)), text) << period;
    }
    EXPECT_EQ(U8(FormatClickData::GetPeriodString(std::nan(""))), "-.--");
    EXPECT_EQ(U8(FormatClickData::GetPeriodString(1e307)), "-.--");  // x 100 overflows
}

TEST(ClickDataFormat, ClockTimesOfJulianDayLists) {
    struct Row {
        CString list;
        double zone;
        const char16_t* prefix;
        const char* expected;
    };
    const Row kRows[] = {
        // J2000.0 is 12:00 UT: 21:00 JST.
        {CString(u"2451545.0"), kJst, u"出 ", "出 21:00"},
        // Two events in one list, white space after the comma.
        {JdText(0, 0, 0) + u",  " + JdText(3, 15, 29.0), kJst, u" 没 ", " 没 21:00,00:15"},
        // Seconds of 30 or more round the minute up...
        {JdText(3, 15, 30.0), kJst, u"", "00:16"},
        // ...and 59 minutes carry into the hour, which stays at 24.
        {JdText(2, 59, 30.0), kJst, u"", "24:00"},
        {JdText(-12, 0, 0.0), -5.0, u"", "19:00"},
        // No value, no list, no number.
        {CString(u"*"), kJst, u" 南中 ", " 南中 --:--"},
        {CString(u""), kJst, u" 南中 ", " 南中 "},
        {CString(u"*,2451545.0"), kJst, u"", "--:--,21:00"},
        {CString(u",,2451545.0"), kJst, u"", "21:00"},
        {CString(u"1e999"), kJst, u"", "--:--"},
        {CString(u"2451545.0"), std::nan(""), u"", "--:--"},
    };
    for (const Row& r : kRows) {
        EXPECT_EQ(U8(FormatClickData::GetTimeString(r.list, r.zone, r.prefix)), r.expected)
            << U8(r.list);
    }
}

TEST(ClickDataFormat, GetDateAsksInOrder) {
    CReplayEngine engine;
    engine.SetReply(u"? LST(Time.Year)", u"2024");
    engine.SetReply(u"? LST(Time.Month)", u"3");
    engine.SetReply(u"? LST(Time.Day)", u"20");
    engine.SetReply(u"? LST(Time.Hour)", u"12.9");  // leading integer
    engine.SetReply(u"? LST(Time.Minute)", u"6");
    engine.SetReply(u"? LST(Time.Second)", u"34.25");
    engine.SetReply(u"? Time.Timezone", u"9.5");
    tagADATE date;
    FormatClickData::GetDate(&engine, &date);
    EXPECT_EQ(
        std::tie(date.year, date.month, date.day, date.hour, date.minute, date.second, date.zone),
        std::make_tuple(2024, 3, 20, 12, 6, 34.25, 9.5));
    const std::vector<std::string> expected = {
        "? LST(Time.Year)",   "? LST(Time.Month)",  "? LST(Time.Day)", "? LST(Time.Hour)",
        "? LST(Time.Minute)", "? LST(Time.Second)", "? Time.Timezone",
    };
    std::vector<std::string> sent;
    for (const CString& c : engine.Commands()) sent.push_back(U8(c));
    EXPECT_EQ(sent, expected);

    // Missing replies read as 0; a null engine or record changes nothing.
    CReplayEngine empty;
    empty.SetReply(u"? LST(Time.Year)", u"*");
    date.second = 1.0;
    FormatClickData::GetDate(&empty, &date);
    EXPECT_EQ(date.year, 0);
    EXPECT_EQ(date.second, 0.0);
    date.year = 7;
    FormatClickData::GetDate(nullptr, &date);
    FormatClickData::GetDate(&engine, nullptr);
    EXPECT_EQ(date.year, 7);
}

}  // namespace
