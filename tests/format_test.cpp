// The notations of the texts: the level a coordinate prints at, replies
// without a value, number texts, clock times, periods and the local date.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "clickdata/click_data.h"
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

}  // namespace

TEST(ClickDataFormat, LevelAndVariantFollowTheSettings) {
    // very-high option, Precision, DispMinSec, the builder's level -> printed level
    const int kRows[][5] = {{0, 0, 0, 3, 3}, {0, 1, 0, 3, 1}, {0, 2, 0, 2, 1},
                            {1, 1, 0, 2, 4}, {0, 0, 1, 2, 2}, {1, 0, 1, 3, 4}};
    CCdStatus status;
    FormatClickData data;
    data.SetStatus(&status);
    for (const auto& [very_high, precision, min_sec, level, printed] : kRows) {
        status.Precision = precision;
        status.DispMinSec = min_sec;
        data.SetExtraOption(very_high);
        EXPECT_EQ(data.FormatHms(u"5.919529", level),
                  min_sec ? CCommonCoordFormat::CoordFormatRADeg(5.919529, printed)
                          : CCommonCoordFormat::CoordFormatRA(5.919529, printed));
        EXPECT_EQ(data.FormatLati(u"-16.7161", level),
                  min_sec ? CCommonCoordFormat::CoordFormatLatitudeDeg(-16.7161, printed)
                          : CCommonCoordFormat::CoordFormatLatitude(-16.7161, printed));
    }
}

TEST(ClickDataFormat, RepliesWithoutAValue) {
    FormatClickData data;  // no settings lent: every setting reads as off
    // "*" is the placeholder of the level in use.
    EXPECT_EQ(U8(data.FormatLati(u"*", 2)), " --ﾟ--'--\"");
    data.SetExtraOption(1);
    EXPECT_EQ(data.FormatLong(u"*", 2), CCommonCoordFormat::CoordFormatLongitude(0.0, -4));
    data.SetExtraOption(0);
    // An empty reply is the value 0; a reply is read up to its number's end.
    EXPECT_EQ(U8(data.FormatHms(u"", 2)), "00h00m00.0s");
    EXPECT_EQ(U8(data.FormatLong(u"12.5 deg", 1)), "012ﾟ30'");
    // A number too large for a double is no coordinate.
    EXPECT_EQ(data.FormatLati(u"1e999", 2), CCommonCoordFormat::CoordFormatLatitude(0.0, -2));
}

TEST(ClickDataFormat, NumberTexts) {
    for (const auto& [in, out] :
         {std::pair{u"1.2500", "1.25"}, std::pair{u"100", "100"}, std::pair{u"0.000", "0."}}) {
        CString s = in;
        FormatClickData::TrimTrailingZero(s);
        EXPECT_EQ(U8(s), out) << out;
    }
    // One decimal stays; zeros that are not all fraction digits are no trail.
    for (const auto& [in, out] : {std::pair{u"5.000", "5.0"}, std::pair{u"4.830", "4.83"},
                                  std::pair{u"10", "10"}, std::pair{u"1.0e10", "1.0e10"}}) {
        EXPECT_EQ(U8(lines::ShortenDecimal(in)), out);
    }
    // Sidereal periods in years of Mercury, Mars, Jupiter and Neptune; then
    // roundings across a decade: 99.95 is 100.0 at one decimal, printed as
    // the integer.
    const std::pair<double, const char*> kPeriods[] = {
        {0.24085, "0.240"},     {1.8808, "1.88"}, {11.862, "11.9"}, {164.79, "165"},
        {1234.5, "1230"},       {0.004, "0.000"}, {9.996, "10.0"},  {99.95, "100"},
        {std::nan(""), "-.--"}, {1e307, "-.--"}};  // x 100 overflows
    for (const auto& [period, text] : kPeriods) {
        EXPECT_EQ(U8(FormatClickData::GetPeriodString(period)), text) << period;
    }
}

TEST(ClickDataFormat, ClockTimesOfJulianDayLists) {
    // J2000.0, 2000-01-01 12:00 UT, plus a UT clock offset (Meeus, chapter 7).
    auto jd = [](int hours, int minutes, double seconds) {
        CString s;
        s.Format(u"%.10f", 2451545.0 + (hours * 3600.0 + minutes * 60.0 + seconds) / 86400.0);
        return s;
    };
    const struct {
        CString list;
        double zone;  // hours east of UT
        const char* expected;
    } kRows[] = {
        // Two events, white space after the comma: 21:00 and 00:15 JST.
        {jd(0, 0, 0) + u",  " + jd(3, 15, 29.0), 9.0, " 没 21:00,00:15"},
        // Seconds of 30 or more round the minute up...
        {jd(3, 15, 30.0), 9.0, " 没 00:16"},
        // ...and 59 minutes carry into the hour, which stays at 24.
        {jd(2, 59, 30.0), 9.0, " 没 24:00"},
        {jd(-12, 0, 0.0), -5.0, " 没 19:00"},
        // A Julian Day resolves to about 4e-5 s: a time meant to lie on the
        // half minute may come back a hair short of it.
        {jd(3, 15, 29.99995), 9.0, " 没 00:16"},
        // No value, no list, no number.
        {u"*", 9.0, " 没 --:--"},
        {u"", 9.0, " 没 "},
        {u"*,,2451545.0", 9.0, " 没 --:--,21:00"},
        {u"1e999", 9.0, " 没 --:--"},
        {u"2451545.0", std::nan(""), " 没 --:--"},
    };
    for (const auto& r : kRows) {
        EXPECT_EQ(U8(FormatClickData::GetTimeString(r.list, r.zone, u" 没 ")), r.expected)
            << U8(r.list);
    }
}

TEST(ClickDataFormat, GetDateAsksInOrder) {
    CReplayEngine engine;
    const std::vector<std::pair<const char16_t*, const char16_t*>> replies = {
        {u"? LST(Time.Year)", u"2024"}, {u"? LST(Time.Month)", u"3"},
        {u"? LST(Time.Day)", u"20"},    {u"? LST(Time.Hour)", u"12.9"},  // leading integer
        {u"? LST(Time.Minute)", u"6"},  {u"? LST(Time.Second)", u"34.25"},
        {u"? Time.Timezone", u"9.5"}};
    for (const auto& [command, reply] : replies) engine.SetReply(command, reply);
    tagADATE date;
    FormatClickData::GetDate(&engine, &date);
    EXPECT_EQ(std::vector<double>({double(date.year), double(date.month), double(date.day),
                                   double(date.hour), double(date.minute), date.second, date.zone}),
              std::vector<double>({2024, 3, 20, 12, 6, 34.25, 9.5}));
    ASSERT_EQ(engine.Commands().size(), replies.size());
    for (size_t i = 0; i < replies.size(); ++i) EXPECT_EQ(engine.Commands()[i], replies[i].first);
    // A null engine or record changes nothing.
    FormatClickData::GetDate(nullptr, &date);
    FormatClickData::GetDate(&engine, nullptr);
    EXPECT_EQ(date.year, 2024);
}
