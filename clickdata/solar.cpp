// The information text of solar-system objects: the Sun, planets and dwarf
// planets, the Earth's umbra, Lagrange points, the Moon and other moons,
// comets, minor planets, meteorites, spacecraft and places on a body.
//
// Every value is the engine's; the text only changes units (arcminutes,
// ten thousand kilometres), brings times to the second or minute, and works
// out the clock times of eclipse contacts and of the Moon's phases.
#include <cmath>

#include "clickdata/click_data.h"
#include "host/vexacl.h"
#include "settings/cdstatus.h"

namespace {

double Number(const CString& reply) {
    return CStkStr(reply).atof(0.0);
}

// The kinds of solar-system object, in the order they are told apart.
enum class SolarKind {
    kPlace,
    kSun,
    kPlanetLagrangePoint,
    kMoonLagrangePoint,
    kMoon,
    kSatellite,
    kUmbra,
    kPlanet,
    kSmallBody,  // comet or minor planet
    kMeteorite,
    kSpacecraft,
    kNone,
};

// Parameter 1 is the body class, 2 the body, 3 to 5 narrow it down:
// "Solar.Planet.Earth.Satellite.Moon.LagrangianPoint.L4" is a Lagrange
// point of the Moon, "Solar.Planet.Mars.Place.Olympus" a place on Mars.
SolarKind DecideKind(CStkString& object) {
    if (object.SameP(3, u"Place") || object.SameP(5, u"Place")) return SolarKind::kPlace;
    if (object.SameP(1, u"Sun")) return SolarKind::kSun;
    const bool body = object.SameP(1, u"Planet") || object.SameP(1, u"DwarfPlanet");
    if (body && object.SameP(3, u"LagrangianPoint")) return SolarKind::kPlanetLagrangePoint;
    const bool satellite = body && object.SameP(3, u"Satellite");
    const bool moon = satellite && object.SameP(4, u"Moon");
    if (moon && object.SameP(5, u"LagrangianPoint")) return SolarKind::kMoonLagrangePoint;
    if (moon) return SolarKind::kMoon;
    if (satellite) return SolarKind::kSatellite;
    if (object.SameP(1, u"Planet") && object.SameP(2, u"Earth") && object.SameP(3, u"Umbra")) {
        return SolarKind::kUmbra;
    }
    if (body) return SolarKind::kPlanet;
    if (object.SameP(1, u"Comet") || object.SameP(1, u"MinorPlanet")) return SolarKind::kSmallBody;
    if (object.SameP(1, u"Meteorite")) return SolarKind::kMeteorite;
    if (object.SameP(1, u"Spacecraft")) return SolarKind::kSpacecraft;
    return SolarKind::kNone;
}

// "label value au" with three decimals on the coarse display (Precision 1),
// else five.  `reply` is in au; "*" and empty read as 0.
CString AuLine(const char16_t* label, const CString& reply, bool coarse) {
    CString line;
    line.Format(coarse ? u"%s %6.3f au\r\n" : u"%s %8.5f au\r\n", label, Number(reply));
    return line;
}

// The same, but an engine without a value ("*") gets the dashed form.
CString AuLineOrDashes(const char16_t* label, const CString& reply, bool coarse) {
    if (reply != u"*") return AuLine(label, reply, coarse);
    CString line;
    line.Format(coarse ? u"%s --.--- au\r\n" : u"%s --.----- au\r\n", label);
    return line;
}

// "label value万 km": a distance in kilometres shown in units of 10 000 km.
CString ManKmLine(const char16_t* label, const CString& reply) {
    CString line;
    line.Format(u"%s %6.2f万 km\r\n", label, Number(reply) / 10000.0);
    return line;
}

// One end of a spacecraft's data span: a Julian Day (UT) as the UT clock
// time to the nearest second.  Half a second is added with every carry
// (23:59:59.6 on the 30th becomes 00:00:00 on the 31st), then the seconds
// are cut.  No value ("*"): no line.
CString DataSpanLine(const char16_t* label, const CString& reply) {
    if (reply == u"*") return CString();
    tagADATE date = vexacl::JdToDate2(Number(reply));
    tagADATE half_second;
    half_second.second = 0.5;
    vexacl::ChangeDate(&date, half_second, vexacl::kChangeDateForward);
    CString line;
    line.Format(u"%s %d/%02d/%02d %02d:%02d:%02d (UT)\r\n", label, date.year, date.month, date.day,
                date.hour, date.minute, static_cast<int>(std::floor(date.second)));
    return line;
}

// The eclipse magnitude line of the Sun and the Moon; a negative magnitude
// (no eclipse) gives none.  The engine's property is spelt "Eclips".
CString EclipseMagnitudeLine(const CString& reply) {
    const double magnitude = Number(reply);
    if (magnitude < 0.0) return CString();
    CString line;
    line.Format(u"食分 %.2f\r\n", magnitude);
    return line;
}

}  // namespace

CString CLumClickData::GetTextSolar(CCorLum* engine, int title) {
    auto query = [&](const char16_t* suffix) { return QueryObject(engine, suffix); };
    const CString jp = query(u".JapaneseName");
    const CString en = query(u".EnglishName");
    const SolarKind kind = DecideKind(m_object);
    if (kind == SolarKind::kNone) return CString();

    CString text;
    switch (kind) {
        case SolarKind::kPlanet:
            text = jp + u" " + en + (m_object.SameP(1, u"Planet") ? u" (惑星)" : u" (準惑星)");
            break;
        case SolarKind::kUmbra:
            text = jp + u" (月の距離に応じた地球の影)";
            break;
        case SolarKind::kPlanetLagrangePoint: {
            const CString parent =
                engine->Doit(u"? solar." + m_object.GetParamP(1).GetText() + u"." +
                             m_object.GetParamP(2).GetText() + u".japaneseName");
            text = parent + u"ラグランジュ点 " + jp;
            break;
        }
        case SolarKind::kMoonLagrangePoint:
            text = u"月ラグランジュ点 " + jp;
            break;
        case SolarKind::kSatellite:
            text = jp + u" " + en + u" (" + query(u".Number") + u")";
            break;
        case SolarKind::kSmallBody:
        case SolarKind::kMeteorite:
            text = jp + u" " + en + u" (" + query(u".ID") + u")";
            break;
        default:
            text = jp + u" " + en;
            break;
    }
    if (title) return text;
    text += u"\r\n";

    const bool coarse = Setting(&CCdStatus::Precision) == 1;
    const bool magnitude = Setting(&CCdStatus::DispMag) != 0;
    const bool distance = Setting(&CCdStatus::DispDistR) != 0;
    const bool orbit = Setting(&CCdStatus::SolarOrbitDetails) != 0;
    const bool physical = Setting(&CCdStatus::PlanetPhysicalTable) != 0;
    CString line;

    // Geocentric, topocentric and heliocentric distance of a small body or
    // a spacecraft, each dashed when the engine has no value.
    auto distances_or_dashes = [&](const char16_t* helio_suffix) {
        const CString geo = query(u".GeocentricDistance");
        const CString topo = query(u".TopocentricDistance");
        const CString helio = query(helio_suffix);
        text += AuLineOrDashes(u"地心距離", geo, coarse);
        text += AuLineOrDashes(u"測心距離", topo, coarse);
        text += AuLineOrDashes(u"日心距離", helio, coarse);
    };
    // Period, semi-major axis and eccentricity, one line each.
    auto period_axis_eccentricity = [&]() {
        text += GetRevPeriod(engine);
        text += GetSemiMajorAxis(engine);
        text += GetEccentricity(engine);
    };

    switch (kind) {
        case SolarKind::kSun:
            if (magnitude) {
                line.Format(u"光度 -26.7等 視直径 %3.1f'\r\n", Number(query(u".Dm")) * 60.0);
                text += line;
            }
            text += GetPosString(engine, 2);
            if (distance) {
                const CString geo = query(u".GeocentricDistance");
                const CString topo = query(u".TopocentricDistance");
                text += AuLine(u"地心距離", geo, coarse);
                text += AuLine(u"測心距離", topo, coarse);
            }
            if (physical) {
                const double cm = Number(query(u".PhysicalTable.CM"));
                const double de = Number(query(u".PhysicalTable.De"));
                line.Format(u"中央経度 %3.0fﾟ\r\n中央緯度 %3.0fﾟ\r\n", cm, de);
                text += line;
                text += GetEclipseContacts(engine);
                text += EclipseMagnitudeLine(query(u".EclipsMagnitude"));
            }
            break;

        case SolarKind::kPlanet: {
            // The observer stands on the Earth: no brightness, no place in
            // the sky, no elongation; only its distance from the Sun.
            const bool earth = m_object.SameP(2, u"Earth");
            if (!earth && magnitude) {
                const double mag = Number(query(u".Magnitude"));
                const double dm = Number(query(u".Dm"));
                const double k = Number(query(u".PhysicalTable.K"));
                line.Format(u"光度 %4.1f等  視直径 %3.1f\"  輝面比 %4.2f\r\n", mag, dm, k);
                text += line;
            }
            if (!earth) text += GetPosString(engine, 2);
            if (distance && !earth) {
                const CString geo = query(u".GeocentricDistance");
                const CString topo = query(u".TopocentricDistance");
                const CString helio = query(u".HelioCentricDistance");
                text += AuLine(u"地心距離", geo, coarse);
                text += AuLine(u"測心距離", topo, coarse);
                text += AuLine(u"日心距離", helio, coarse);
                text += GetSolarElongation(engine);
            } else if (distance) {
                text += AuLine(u"日心距離", query(u".HelioCentricDistance"), coarse);
            }
            if (orbit) period_axis_eccentricity();
            if (physical) {
                if (m_object.SameP(2, u"mars")) {
                    const double cm = Number(query(u".PhysicalTable.CM"));
                    const double de = Number(query(u".PhysicalTable.De"));
                    line.Format(u"中央経度 %3.0fﾟ\r\n中央緯度 %3.0fﾟ\r\n", cm, de);
                    text += line;
                    line.Format(u"惑心太陽黄経 %5.1fﾟ\r\n", Number(query(u".PhysicalTable.Ls")));
                    text += line;
                } else if (m_object.SameP(2, u"Jupiter")) {
                    const double cm1 = Number(query(u".PhysicalTable.CM1"));
                    const double cm2 = Number(query(u".PhysicalTable.CM2"));
                    const double de = Number(query(u".PhysicalTable.De"));
                    line.Format(u"中央経度 %3.0fﾟ(I) %3.0fﾟ(II)\r\n中央緯度 %3.0fﾟ\r\n", cm1, cm2,
                                de);
                    text += line;
                } else if (m_object.SameP(2, u"saturn")) {
                    const double cm3 = Number(query(u".PhysicalTable.CM3"));
                    const double de = Number(query(u".PhysicalTable.De"));
                    line.Format(u"中央経度 %3.0fﾟ(III)\r\n中央緯度 %3.0fﾟ\r\n", cm3, de);
                    text += line;
                }
            }
            break;
        }

        case SolarKind::kUmbra:
            break;

        case SolarKind::kPlanetLagrangePoint:
        case SolarKind::kMoonLagrangePoint:
            text += GetPosString(engine, 2);
            break;

        case SolarKind::kMoon:
            if (magnitude) {
                const double age = Number(query(u".Age"));
                const double dm = Number(query(u".Dm"));
                const double k = Number(query(u".PhysicalTable.K"));
                line.Format(u"月齢 %4.1f  視直径 %3.1f'  輝面比 %4.2f\r\n", age, dm * 60.0, k);
                text += line;
            }
            text += GetPosString(engine, 2);
            if (distance) {
                const CString geo = query(u".GeocentricDistance");
                const CString topo = query(u".TopocentricDistance");
                text += ManKmLine(u"地心距離", geo);
                text += ManKmLine(u"測心距離", topo);
            }
            if (physical) {
                const double cm = Number(query(u".PhysicalTable.CM"));
                const double de = Number(query(u".PhysicalTable.De"));
                line.Format(u"中央経度 %5.1fﾟ  中央緯度 %5.1fﾟ\r\n", cm, de);
                text += line;
                text += GetMoonPhaseLines(engine);
                text += EclipseMagnitudeLine(query(u".EclipsMagnitude"));
            }
            break;

        case SolarKind::kSatellite: {
            const CString mag = query(u".Magnitude");
            if (magnitude) {
                line.Format(u"光度 %4.1f等\r\n", Number(mag));
                text += line;
            }
            text += GetPosString(engine, 2);
            if (distance) {
                const CString geo = query(u".GeocentricDistance");
                const CString topo = query(u".TopocentricDistance");
                text += AuLine(u"地心距離", geo, coarse);
                text += AuLine(u"測心距離", topo, coarse);
                const CString planet = query(u".PlanetocentricDistance");
                const CString helio = query(u".HeliocentricDistance");
                text += AuLine(u"日心距離", helio, coarse);
                text += ManKmLine(u"惑心距離", planet);
            }
            break;
        }

        case SolarKind::kSmallBody:
            if (magnitude) {
                const CString mag = query(u".Magnitude");
                if (mag == u"*") {
                    text += u"光度 --.-等\r\n";
                } else {
                    line.Format(u"光度 %4.1f等\r\n", Number(mag));
                    text += line;
                }
            }
            text += GetPosString(engine, 2);
            if (distance) {
                distances_or_dashes(u".HeliocentricDistance");
                text += GetSolarElongation(engine);
            }
            if (orbit && m_object.SameP(1, u"Comet")) {
                text += GetRevPeriod(engine);
                text += GetPerihelionPassage(engine);
                text += GetEccentricity(engine);
                text += GetPerihelionDistance(engine);
                text += GetDailyMotion(engine);
            } else if (orbit) {
                period_axis_eccentricity();
            }
            break;

        case SolarKind::kMeteorite: {
            const CString memo = query(u".Memo");
            if (!memo.IsEmpty()) text += memo + u"\r\n";
            // The time of fall is a Julian Day (UT), shown on the local clock.
            const CString fall_reply = query(u".TimeOfFall");
            const double fall = Number(fall_reply);
            const double zone = Number(engine->Doit(u"? time.timezone"));
            if (IsValue(fall_reply)) {
                tagADATE date = vexacl::JdToDate2(fall);
                vexacl::ChangeTimezone(&date, zone);
                line.Format(u"落下 %d年%d月%d日 %d時%d分\r\n", date.year, date.month, date.day,
                            date.hour, date.minute);
                text += line;
            } else {
                // No recorded fall: dashes, not the calendar's day zero.
                text += u"落下 ----年--月--日 --時--分\r\n";
            }
            // Once it has fallen it is a stone on the ground, not a body in
            // the sky: no position, distance or orbit.  Without a recorded
            // fall it is still a body in the sky.
            if (IsValue(fall_reply) && !(fall > Number(engine->Doit(u"? time.jd")))) break;
            text += GetPosString(engine, 2);
            if (distance) {
                distances_or_dashes(u".HeliocentricDistance");
                text += GetSolarElongation(engine);
            }
            if (orbit) period_axis_eccentricity();
            break;
        }

        case SolarKind::kSpacecraft:
            text += GetPosString(engine, 2);
            if (distance) distances_or_dashes(u".HelioCentricDistance");
            if (orbit) {
                text += DataSpanLine(u"データ開始", query(u".data.start"));
                text += DataSpanLine(u"データ終了", query(u".data.end"));
            }
            break;

        case SolarKind::kPlace: {
            const CString explanation = query(u".Explanation");
            if (!explanation.IsEmpty()) text += explanation + u"\r\n";
            const double longitude = vexacl::degmal(Number(query(u".Longitude")));
            const double latitude_read = Number(query(u".Latitude"));
            const double latitude = vexacl::degmal2(latitude_read);
            // Only a latitude above 0 is north; the equator prints as "-".
            const char16_t sign = latitude_read > 0.0 ? u'+' : u'-';
            line.Format(u"経度 %6.2f 緯度 %c%5.2f'\r\n", longitude, sign, std::fabs(latitude));
            text += line;
            break;
        }

        case SolarKind::kNone:
            break;
    }
    return text;
}

CString CLumClickData::GetEclipseTime(double jd, const CString& label) {
    int year = 0, month = 0;
    double day = 0.0;
    vexacl::JdToDate(jd, &year, &month, &day);
    const double hours = (day - std::floor(day)) * 24.0;
    int h = static_cast<int>(std::floor(hours));
    const double minutes = (hours - h) * 60.0;
    int m = static_cast<int>(std::floor(minutes));
    int s = static_cast<int>(std::floor((minutes - m) * 60.0 + 0.5));
    if (s >= 60) s -= 60, ++m;
    if (m >= 60) m -= 60, ++h;
    if (h >= 24) h -= 24;
    CString clock;
    clock.Format(u"%02d:%02d:%02d", h, m, s);
    return label + clock;
}

CString CLumClickData::GetEclipseContacts(CCorLum* engine) {
    // The engine computes contacts only while Besselian elements apply.
    if (engine->Doit(u"? solar.earth.besselelement.apply").CompareNoCase(u"TRUE") != 0) {
        return CString();
    }
    const CString first = engine->Doit(u"? Solar.Earth.SolarEclipse.ContactTime.1st");
    if (first == u"*") return CString();
    const double zone = Number(engine->Doit(u"? Time.Timezone")) / 24.0;  // days
    const CString second = engine->Doit(u"? Solar.Earth.SolarEclipse.ContactTime.2nd");
    const CString greatest = engine->Doit(u"? Solar.Earth.SolarEclipse.ContactTime.Max");
    const CString third = engine->Doit(u"? Solar.Earth.SolarEclipse.ContactTime.3rd");
    const CString fourth = engine->Doit(u"? Solar.Earth.SolarEclipse.ContactTime.4th");
    // Contacts are Julian Days (UT); "*" means the contact does not happen
    // (a partial eclipse has no second and third contact).
    auto contact = [zone](const CString& reply, const char16_t* label) {
        return GetEclipseTime(Number(reply) + zone, label);
    };

    CString text = contact(first, u"第1接触  ") + u"\r\n";
    if (second != u"*") text += contact(second, u"第2接触  ") + u"\r\n";
    if (greatest != u"*") {
        text += contact(greatest, u"食の最大 ");
        if (second != u"*" && third != u"*") {
            // Duration of the central (total or annular) phase, to the
            // second; 4.995 minutes is 05m00s, never 04m60s.
            const double x = std::fmod((Number(third) - Number(second)) * 24.0 * 60.0, 60.0);
            int m = static_cast<int>(std::floor(x));
            int s = static_cast<int>(std::floor((x - m) * 60.0 + 0.5));
            if (s >= 60) ++m, s = 0;
            CString duration;
            duration.Format(u"  継続時間 %02dm%02ds", m, s);
            text += duration;
        }
        text += u"\r\n";
    }
    if (third != u"*") text += contact(third, u"第3接触  ") + u"\r\n";
    if (fourth != u"*") text += contact(fourth, u"第4接触  ") + u"\r\n";
    return text;
}

CString CLumClickData::GetMoonPhaseLines(CCorLum* engine) {
    static const char16_t* const kPhaseNames[] = {u"新月", u"上弦", u"満月", u"下弦"};
    tagADATE now;
    GetDate(engine, &now);
    vexacl::tagMOONPHASE phases[6];
    const int count = vexacl::GetMoonPhases(now, phases, 6);

    // The local day [midnight, next midnight) in the engine's zone.
    tagADATE midnight = now;
    midnight.hour = 0;
    midnight.minute = 0;
    midnight.second = 0.0;
    const double day_start = vexacl::GetJd(midnight);

    CString text;
    for (int i = 0; i < count; ++i) {
        const double jd = phases[i].jd;
        if (!(jd >= day_start && jd < day_start + 1.0)) continue;
        if (phases[i].phase < 0 || phases[i].phase > 3) continue;
        // The clock time is counted from the day's own midnight rather than
        // converted from the Julian Day: a phase exactly at midnight must
        // read 00:00 of this day, and a conversion a microsecond short of
        // it would give 23:59:59.999999, i.e. "24:00".  To the nearest
        // minute; the hour is not carried into the next day, so a phase at
        // 23:59:40 shows as 24:00 of the day it belongs to.
        const double seconds = (jd - day_start) * 86400.0;
        int hour = static_cast<int>(std::floor(seconds / 3600.0));
        int minute = static_cast<int>(std::floor((seconds - hour * 3600.0) / 60.0));
        if (seconds - hour * 3600.0 - minute * 60.0 >= 30.0) ++minute;
        if (minute > 59) minute = 0, ++hour;
        CString line;
        line.Format(u"%s %02d:%02d\r\n", kPhaseNames[phases[i].phase], hour, minute);
        text += line;
    }
    return text;
}
