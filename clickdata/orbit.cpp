// Orbit and apparent-motion lines of solar-system objects: semi-major axis,
// eccentricity, perihelion distance and passage, period of revolution,
// elongation from the Sun and hourly motion.  The engine's units: au,
// years, Julian Days (TT) and degrees; daily motions in degrees per day,
// the apparent right ascension in hours.
#include <cmath>

#include "clickdata/click_data.h"
#include "host/vexacl.h"

using namespace lines;

namespace {

// "label value unit" with six decimals, or the dashed form for no value.
CString SixDecimals(const CString& reply, const char16_t* format, const char16_t* dashed) {
    if (reply == u"*") return dashed;
    return Formatted(format, ReplyNumber(reply));
}

}  // namespace

CString CLumClickData::GetSemiMajorAxis(CCorLum* engine) {
    return SixDecimals(QueryObject(engine, u".SemiMajorAxis"), u"軌道長半径 %.6f au\r\n",
                       u"軌道長半径 -.------ au\r\n");
}

CString CLumClickData::GetEccentricity(CCorLum* engine) {
    const CString reply = QueryObject(engine, u".Eccentricity");
    // A parabolic orbit is exactly 1; anything short of it keeps its digits,
    // even when they round to 1.000000.
    if (reply != u"*" && ReplyNumber(reply) == 1.0) return u"離心率 1.0\r\n";
    return SixDecimals(reply, u"離心率 %.6f\r\n", u"離心率 -.-\r\n");
}

CString CLumClickData::GetPerihelionDistance(CCorLum* engine) {
    return SixDecimals(QueryObject(engine, u".PerihelionDistance"), u"近日点距離 %.6f au\r\n",
                       u"近日点距離 -.------ au\r\n");
}

CString CLumClickData::GetPerihelionPassage(CCorLum* engine) {
    const CString reply = QueryObject(engine, u".TimeOfPerihelionPassage");
    if (reply == u"*") return u"近日点通過時刻 ----年--月--.-----日 TT\r\n";
    // The JD (TT) is rounded to the 1e-5 day the line prints before it is
    // split into a date: printing the split day with five decimals would
    // turn 31.999996 January into "1月32.00000日".  A JD on a day boundary
    // stays exact through the rounding (n + 0.5 is representable).
    double jd = ReplyNumber(reply);
    const double rounded = std::floor((jd + 0.5) * 1e5 + 0.5) / 1e5 - 0.5;
    if (std::isfinite(rounded)) jd = rounded;
    int year = 0, month = 0;
    double day = 0.0;
    vexacl::JdToDate(jd, &year, &month, &day);
    return Formatted(u"近日点通過時刻 %d年%2d月%.5f日 TT\r\n", year, month, day);
}

CString CLumClickData::GetRevPeriod(CCorLum* engine) {
    const CString reply = QueryObject(engine, u".RevolutionPeriod");
    if (reply == u"*") return CString();
    return Formatted(u"公転周期 %s年\r\n", GetPeriodString(ReplyNumber(reply)));
}

CString CLumClickData::GetOrbitLines(CCorLum* engine) {
    CString text = GetRevPeriod(engine);
    text += GetSemiMajorAxis(engine);
    text += GetEccentricity(engine);
    return text;
}

CString CLumClickData::GetSolarElongation(CCorLum* engine) {
    const CString elongation = QueryObject(engine, u".SolarElongation");
    if (!IsValue(elongation)) return CString();

    // East or west of the Sun by the ecliptic longitudes.  A longitude the
    // engine has no value for ("*") cannot tell the side, so the line then
    // goes without it, as with an absent one.
    const CString object_lambda = QueryObject(engine, u".position.Ecliptical.Lambda");
    const CString sun_lambda = engine->Doit(u"? solar.sun.position.Ecliptical.Lambda");
    const char16_t* side = u"";
    if (IsValue(object_lambda) && IsValue(sun_lambda)) {
        const double d = vexacl::degmal(ReplyNumber(object_lambda) - ReplyNumber(sun_lambda));
        side = d < 180.0 ? u"E" : u"W";
    }
    return Formatted(u"太陽離角 %.3fﾟ%s\r\n", ReplyNumber(elongation), side);
}

CString CLumClickData::GetDailyMotion(CCorLum* engine) {
    const double ra_rate = ReplyNumber(QueryObject(engine, u".DailyMotion.RA"));    // deg/day
    const double dec_rate = ReplyNumber(QueryObject(engine, u".DailyMotion.Dec"));  // deg/day
    const double ra = ReplyNumber(QueryObject(engine, u".position.EquatorialDateApp.RA")) * 15.0;
    const double dec = ReplyNumber(QueryObject(engine, u".position.EquatorialDateApp.DEC"));

    CString text = Formatted(u"移動量(赤経) %.3f s/時間\r\n", ra_rate / 15.0 / 24.0 * 3600.0);
    text += Formatted(u"移動量(赤緯) %.2f \"/時間\r\n", dec_rate / 24.0 * 3600.0);

    // Direction and size of the motion over the next hour, extrapolated
    // linearly from the daily rates; degrees.
    const double now[2] = {ra, dec};
    const double later[2] = {ra + ra_rate / 24.0, dec + dec_rate / 24.0};
    double position_angle = 0.0, distance = 0.0;
    vexacl::AdToPaDist(now, later, &position_angle, &distance);
    text += Formatted(u"移動方向 %.2f 度\r\n", position_angle);
    text += Formatted(u"移動量   %.2f \"/時間\r\n", distance * 3600.0);
    return text;
}
