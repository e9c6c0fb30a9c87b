// Texts of artificial satellites and meteor-shower radiants, and the date on
// which the Sun reaches a given ecliptic longitude (the maximum of a shower
// recurs at the same solar longitude every year).
#include <algorithm>
#include <cmath>

#include "clickdata/click_data.h"
#include "clickdata/lines.h"
#include "host/vexacl.h"
#include "settings/cdstatus.h"

namespace {

using lines::ReplyInteger;
using lines::ReplyNumber;

// An angle in degrees split into whole degrees, minutes and seconds of its
// absolute value, rounded to the whole second first so that 59.6 s carries
// into the minute (41'60" would be a place that does not exist).
struct Dms {
    int degrees;
    int minutes;
    double seconds;
};

Dms SplitDms(double deg) {
    // A value that is not a number reads as 0, as a missing reply does; the
    // bound keeps the whole seconds within long long far beyond any angle.
    const double x = std::isfinite(deg) ? std::min(std::fabs(deg), 1e9) : 0.0;
    const long long arcseconds = std::llround(x * 3600.0);
    return {static_cast<int>(arcseconds / 3600), static_cast<int>(arcseconds / 60 % 60),
            static_cast<double>(arcseconds % 60)};
}

// "直下点 東経139ﾟ41'30" 北緯35ﾟ41'22"" and the height line.  Longitude east
// positive and latitude (geodetic) in degrees, height above the ellipsoid in
// metres, printed in kilometres.
CString SubSatellitePoint(double longitude, double latitude, double height_m) {
    const Dms lon = SplitDms(longitude);
    const Dms lat = SplitDms(latitude);
    CString text;
    text.Format(u"直下点 %s%3dﾟ%02d'%02.0f\" %s%2dﾟ%02d'%02.0f\"\r\n高度 %.1f km\r\n",
                longitude < 0.0 ? u"西経" : u"東経", lon.degrees, lon.minutes, lon.seconds,
                latitude < 0.0 ? u"南緯" : u"北緯", lat.degrees, lat.minutes, lat.seconds,
                height_m / 1000.0);
    return text;
}

// The UTC calendar date of an element epoch (a Julian Day, UTC), or none
// (month 0) when the epoch is not positive or lies outside the calendar.
tagADATE EpochDate(double jd_utc) {
    return jd_utc > 0.0 ? vexacl::JdToDate2(jd_utc) : tagADATE{};
}

// One epoch line; `slot` 0 leaves the slot number out.
CString EpochLine(const tagADATE& date, int slot) {
    CString text = u"元期 ";
    if (slot) text.Format(u"元期(%d) ", slot);
    text.AppendFormat(u"%d年%02d月%02d日%02d時%02d分%09.6f秒(UTC)\r\n", date.year, date.month,
                      date.day, date.hour, date.minute, date.second);
    return text;
}

// The element-epoch lines of a reply holding one Julian Day (UTC), or two
// separated by "," (either side may be empty).  Both usable: two numbered
// lines; one: an unnumbered line; none: nothing.
CString EpochLines(const CString& reply) {
    if (reply.IsEmpty()) return CString();
    tagADATE slot[2];
    const int comma = reply.Find(u',');
    if (comma < 0) {
        slot[0] = EpochDate(ReplyNumber(reply));
    } else {
        CString before = reply.Left(comma);
        CString after = reply.Mid(comma + 1);
        if (!before.Trim().IsEmpty()) slot[0] = EpochDate(ReplyNumber(before));
        if (!after.Trim().IsEmpty()) slot[1] = EpochDate(ReplyNumber(after));
    }
    const bool first = slot[0].month != 0;
    const bool second = slot[1].month != 0;
    if (first && second) return EpochLine(slot[0], 1) + EpochLine(slot[1], 2);
    if (first || second) return EpochLine(first ? slot[0] : slot[1], 0);
    return CString();
}

// The Sun's mean motion in ecliptic longitude, degrees per day: 360 degrees
// in the mean tropical year taken as 365.2422 days (365.24219 days at
// J2000.0, Explanatory Supplement to the Astronomical Almanac).
constexpr double kSunMeanMotion = 360.0 / 365.2422;

// The search stops once the Sun is this close to the target, degrees (about
// 2.4 hours of its motion: the texts show the day).
constexpr double kSunLongitudeTolerance = 0.1;

// The Sun's geometric geocentric ecliptic longitude, mean ecliptic and
// equinox of date, degrees [0, 360), at a Julian Day (UT): the Earth's
// heliocentric longitude (CalcPlanetLbr at the TT instant) + 180 degrees.
double SunLongitude(double jd_ut) {
    double earth = 0.0;
    vexacl::CalcPlanetLbr(vexacl::kBodyEarth, vexacl::UtToDt(jd_ut), &earth, nullptr);
    return vexacl::degmal(earth + 180.0);
}

}  // namespace

// `jd`: Julian Day (UT); `target`: degrees, any turn.  The first step goes
// forward by the longitude still to go at the Sun's mean motion, never
// backwards: a Sun just past the target is sent on almost a year.  The
// Sun's true motion is up to 3 % faster or slower than the mean, so that
// step can land a degree or two off; the later steps correct by the signed
// distance, both ways.  Stepping forward a whole turn there instead would
// return the crossing a year (or more) later than the next one.  The
// result never lies before `jd`.  At most 51 steps, converged or not.
// Result: Julian Day (UT); a non-finite argument comes back unchanged.
double CLumClickData::GetJdSunLambda(double jd, double target) {
    if (!std::isfinite(jd) || !std::isfinite(target)) return jd;
    const double start = jd;
    target = vexacl::degmal(target);
    jd += vexacl::degmal(target - SunLongitude(jd)) / kSunMeanMotion;
    for (int left = 50;; --left) {
        const double miss = vexacl::degmal2(target - SunLongitude(jd));  // degrees, signed
        if (std::fabs(miss) < kSunLongitudeTolerance || left == 0) break;
        jd = std::max(start, jd + miss / kSunMeanMotion);
    }
    return jd;
}

CString CLumClickData::GetTextSatellite(CCorLum* engine, int title) {
    CString name = QueryObject(engine, u".Name");
    if (name.IsEmpty()) name = QueryObject(engine, u".TLEName");
    CString text = name + u" (" + QueryObject(engine, u".Number") + u")";
    if (title) return text;
    text += u"\r\n" + GetPosString(engine, kCoordPrecSecond);

    if (Setting(&CCdStatus::DispDistR)) {
        // Kilometres, from the Earth's centre and from the observer.
        const double geocentric = ReplyNumber(QueryObject(engine, u".GeocentricDistance"));
        const double topocentric = ReplyNumber(QueryObject(engine, u".TopocentricDistance"));
        text.AppendFormat(u"地心距離 %.0f km\r\n測心距離 %.0f km\r\n", geocentric, topocentric);
    }
    if (Setting(&CCdStatus::PlanetPhysicalTable)) {
        const double longitude = ReplyNumber(QueryObject(engine, u".LLA.Longitude"));
        const double latitude = ReplyNumber(QueryObject(engine, u".LLA.Latitude"));
        const double height = ReplyNumber(QueryObject(engine, u".LLA.Altitude"));
        text += SubSatellitePoint(longitude, latitude, height);
    }
    return text + EpochLines(QueryObject(engine, u".Element.JulianEpoch"));
}

CString CLumClickData::GetTextMeteor(CCorLum* engine, int title) {
    CString text = QueryObject(engine, u".Name") + u"流星群の放射点";
    if (title) return text;
    text += u"\r\n" + GetPosString(engine, kCoordPrecSecond);

    tagADATE now;
    GetDate(engine, &now);
    const double start = vexacl::GetJd(now);  // UT
    // Solar longitude of the maximum, degrees.
    const CString peak = QueryObject(engine, u".LambdaOfPeak");
    // Without a peak or a date there is no maximum to tell: a date found for
    // a made-up 0 would be the March equinox, shown as if it were the
    // shower's.
    if (!IsValue(peak) || start == 0.0) return text;
    const tagADATE maximum =
        vexacl::JdToDate2(GetJdSunLambda(start, ReplyNumber(peak)) + now.zone / 24.0);
    if (maximum.month == 0) return text;
    text.AppendFormat(u"極大日 %d月%d日頃\r\n", maximum.month, maximum.day);
    return text;
}
