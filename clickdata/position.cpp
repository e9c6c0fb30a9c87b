// The position block: coordinates in up to seven systems, the horizon
// position, the hour angle, and rise, transit and set times.
#include <algorithm>
#include <cmath>

#include "clickdata/click_data.h"
#include "host/vexacl.h"
#include "settings/cdstatus.h"

using namespace lines;

namespace {

// Blanks that keep the columns of a line formatted one level coarser in
// line with the J2000 line above it (only while Precision is 0).
struct Padding {
    CString a, b, c;
    Padding(int level, bool precision0) {
        if (!precision0) return;
        if (level >= 3) a = u" ", b = u" ";
        if (level == 3) b += u' ', c = u" ";
    }
};

// Hour angle text from H in degrees (-180, 180], e.g. "-01h30m (-22.5ﾟ)":
// the size of H in hours to the minute on the coarse display, else to the
// second, and H itself in degrees.
CString HourAngleText(double hour_angle_deg, bool coarse) {
    const tagHMS clock = RoundClock(std::fabs(hour_angle_deg / 15.0), coarse);
    const CString text =
        coarse ? Formatted(u"%02dh%02dm (%.1fﾟ)", clock.hour, clock.minute, hour_angle_deg)
               : Formatted(u"%02dh%02dm%02ds (%.3fﾟ)", clock.hour, clock.minute, clock.second,
                           hour_angle_deg);
    return hour_angle_deg < 0.0 ? u"-" + text : text;
}

}  // namespace

CString CLumClickData::GetPosString(CCorLum* engine, tagCOORD_FORMAT_PREC level) {
    const bool solar_view = engine->Doit(u"? View.Projection").CompareNoCase(u"SolarSystem") == 0;
    // Lines that only make sense for an observer on the Earth's surface.
    const bool from_ground = !solar_view && !m_notEarth;
    const CString base =
        m_object.SameP(0, u"Constellation.") ? CString(u"ClickData.Mark") : m_object.GetText();
    auto query = [&](const char16_t* suffix) {
        return engine->Doit(QueryCommand(base.view(), suffix));
    };

    const int p = level;
    const auto q = static_cast<tagCOORD_FORMAT_PREC>(std::max(2, p - 1));
    const bool coarse = Setting(&CCdStatus::Precision) != 0;
    const Padding pad(p, !coarse);

    CString text;
    auto equatorial = [&](const char16_t* ra, const char16_t* dec, const CString& pad_a,
                          const CString& pad_b, const char16_t* frame, tagCOORD_FORMAT_PREC lv) {
        const CString ra_text = FormatHms(query(ra), lv);
        const CString dec_text = FormatLati(query(dec), lv);
        text += u"赤経 " + ra_text + pad_a + u"  赤緯 " + dec_text + pad_b + frame;
    };
    auto ecliptic = [&](const char16_t* head, const char16_t* lon, const char16_t* lat_head,
                        const char16_t* lat, const CString& pad_b, const char16_t* frame) {
        const CString lon_text = FormatLong(query(lon), q);
        const CString lat_text = FormatLati(query(lat), q);
        text += head + lon_text + pad.c + lat_head + lat_text + pad_b + frame;
    };

    if (Setting(&CCdStatus::DispEqt2000)) {
        equatorial(u".position.RA", u".position.DEC", CString(), CString(), u" (J2000)\r\n", level);
    }
    if (Setting(&CCdStatus::DispEqtDateApp) && from_ground) {
        equatorial(u".position.EquatorialDateApp.RA", u".position.EquatorialDateApp.DEC", pad.a,
                   pad.b, u" (視位置)\r\n", q);
    }
    if (Setting(&CCdStatus::DispEqt1950)) {
        equatorial(u".position.EquatorialB1950.RA", u".position.EquatorialB1950.DEC", pad.a, pad.b,
                   u" (B1950)\r\n", q);
    }
    if (Setting(&CCdStatus::DispEclDateMean)) {
        ecliptic(u"黄経 ", u".position.Ecliptical.Lambda", u"   黄緯 ",
                 u".position.Ecliptical.Beta", pad.b, u" (平均位置)\r\n");
    }
    if (Setting(&CCdStatus::DispEclDateApp)) {
        ecliptic(u"黄経 ", u".position.EclipticDateApp.Lambda", u"   黄緯 ",
                 u".position.EclipticDateApp.Beta", pad.b, u" (視位置)\r\n");
    }
    if (Setting(&CCdStatus::DispEcl2000)) {
        ecliptic(u"黄経 ", u".position.EclipticJ2000.Lambda", u"   黄緯 ",
                 u".position.EclipticJ2000.Beta", pad.b, u" (J2000)\r\n");
    }
    if (Setting(&CCdStatus::DispGal)) {
        ecliptic(u"銀経 ", u".position.Galactical.Longitude", u"   銀緯 ",
                 u".position.Galactical.Latitude", CString(), u"\r\n");
    }

    if (Setting(&CCdStatus::DispHrz) && from_ground) {
        const CString azimuth_reply = query(u".position.Azimuth");
        const CString altitude_reply = query(u".position.Altitude");
        const CString placeholder = coarse ? u"  -.-ﾟ" : u"  -.---ﾟ";

        CString altitude = placeholder, corrected = placeholder;
        if (altitude_reply != u"*") {
            const double in[2] = {0.0, ReplyNumber(altitude_reply)};
            double out[2] = {0.0, 0.0};
            vexacl::AtmosphericRefraction(in, out);
            const char16_t* form = coarse ? u"%5.1fﾟ" : u"%7.3fﾟ";
            altitude.Format(form, in[1]);
            if (out[1] < -3.0) {
                corrected = coarse ? u"< -3.0ﾟ" : u"< -3.000ﾟ";
            } else {
                corrected.Format(form, out[1]);
            }
        }
        CString azimuth = placeholder;
        if (azimuth_reply != u"*") {
            double z = ReplyNumber(azimuth_reply);
            // The engine counts from the south; a north origin turns it half round.
            if (m_originNorth) z = vexacl::degmal(z + 180.0);
            azimuth.Format(coarse ? u"%5.1fﾟ" : u"%7.3fﾟ ", z);
        }

        text += u"方位 " + azimuth;
        if (!coarse && p == 3) text += u" ";
        if (!coarse && p == 4) text += u"  ";
        text += u"    高度 " + altitude;
        if (m_originNorth) {
            if (!coarse && p >= 2) text += p == 3 ? u"   " : u" ";
            text += u"  (北原点)";
        }
        text += u"\r\n";
        text += u"標準大気差補正済み高度 " + corrected + u"\r\n";
    }

    if (Setting(&CCdStatus::DispHourAngle) && from_ground) {
        const CString ra = query(u".position.EquatorialDateApp.RA");
        double h = std::nan("");  // degrees
        if (IsValue(ra)) {
            const double jd = ReplyNumber(engine->Doit(u"? time.jd"));
            const double longitude = ReplyNumber(engine->Doit(u"? location.longitude"));
            const double lst = vexacl::GetLst(jd, longitude);
            h = vexacl::degmal(lst - ReplyNumber(ra) * 15.0);
            if (h > 180.0) h -= 360.0;
        }
        // No value, or replies that are no numbers ("1e999"): the placeholder.
        const CString placeholder = coarse ? u"--h--m = -.-ﾟ" : u"--h--m--s = -.---ﾟ";
        text += u"時角 " + (std::isfinite(h) ? HourAngleText(h, coarse) : placeholder) + u"\r\n";
    }

    const bool spacecraft = m_type == kSolar && m_object.SameP(1, u"Spacecraft");
    if (Setting(&CCdStatus::DispRiseSet) && from_ground && m_type != kArtificialSatellite &&
        !spacecraft) {
        const double zone = ReplyNumber(engine->Doit(u"? Time.Timezone"));
        const CString rise = query(u".Jd.Rise");
        const CString transit = query(u".Jd.Transit");
        const CString set = query(u".Jd.Set");
        text += GetTimeString(rise, zone, u"出 ") + GetTimeString(transit, zone, u" 南中 ") +
                GetTimeString(set, zone, u" 没 ") + u"\r\n";
    }
    return text;
}
