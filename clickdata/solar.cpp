// The information text of solar-system objects: the Sun, planets and dwarf
// planets, the Earth's umbra, Lagrange points, the Moon and other moons,
// comets, minor planets, meteorites, spacecraft and places on a body.
//
// Every value is the engine's; the text only changes units (arcminutes,
// ten thousand kilometres), brings times to the second or minute, and works
// out the clock times of eclipse contacts and of the Moon's phases.
//
// A new kind of object is one row of the kind table in GetTextSolar (how
// to recognise it, its heading) and one member for its lines.
#include <algorithm>
#include <cmath>
#include <iterator>

#include "clickdata/click_data.h"
#include "host/vexacl.h"
#include "settings/cdstatus.h"

using namespace lines;

namespace {

// Parameter 1 is the body class, 2 the body, 3 to 5 narrow it down:
// "Solar.Planet.Earth.Satellite.Moon.LagrangianPoint.L4" is a Lagrange
// point of the Moon, "Solar.Planet.Mars.Place.Olympus" a place on Mars.
// The kind table tries these in its order; the first that holds wins.
bool IsPlace(CStkString& object) {
    return object.SameP(3, u"Place") || object.SameP(5, u"Place");
}
bool IsSun(CStkString& object) {
    return object.SameP(1, u"Sun");
}
bool IsBody(CStkString& object) {
    return object.SameP(1, u"Planet") || object.SameP(1, u"DwarfPlanet");
}
bool IsPlanetLagrangePoint(CStkString& object) {
    return IsBody(object) && object.SameP(3, u"LagrangianPoint");
}
bool IsSatellite(CStkString& object) {
    return IsBody(object) && object.SameP(3, u"Satellite");
}
bool IsMoon(CStkString& object) {
    return IsSatellite(object) && object.SameP(4, u"Moon");
}
bool IsMoonLagrangePoint(CStkString& object) {
    return IsMoon(object) && object.SameP(5, u"LagrangianPoint");
}
bool IsUmbra(CStkString& object) {
    return object.SameP(1, u"Planet") && object.SameP(2, u"Earth") && object.SameP(3, u"Umbra");
}
bool IsSmallBody(CStkString& object) {
    return object.SameP(1, u"Comet") || object.SameP(1, u"MinorPlanet");
}
bool IsMeteorite(CStkString& object) {
    return object.SameP(1, u"Meteorite");
}
bool IsSpacecraft(CStkString& object) {
    return object.SameP(1, u"Spacecraft");
}

// Headings from the object's Japanese and English names.
using Heading = CString (*)(CCorLum* engine, CStkString& object, const CString& japanese,
                            const CString& english);

// Both names, the Japanese first.  A body known by one name only (most
// comets and minor planets, many surface features) is answered with that
// name for both; it is shown once, not as "Halley Halley".
CString NamePair(const CString& japanese, const CString& english) {
    if (!japanese.IsEmpty() && japanese == english) return japanese;
    return japanese + u" " + english;
}
CString NamesHeading(CCorLum*, CStkString&, const CString& japanese, const CString& english) {
    return NamePair(japanese, english);
}
CString PlanetHeading(CCorLum*, CStkString& object, const CString& japanese,
                      const CString& english) {
    return NamePair(japanese, english) + (object.SameP(1, u"Planet") ? u" (惑星)" : u" (準惑星)");
}
CString UmbraHeading(CCorLum*, CStkString&, const CString& japanese, const CString&) {
    return japanese + u" (月の距離に応じた地球の影)";
}
// The point is named after the body it belongs to.
CString PlanetLagrangeHeading(CCorLum* engine, CStkString& object, const CString& japanese,
                              const CString&) {
    const CString parent = engine->Doit(u"? solar." + object.GetParamP(1).GetText() + u"." +
                                        object.GetParamP(2).GetText() + u".japaneseName");
    return parent + u"ラグランジュ点 " + japanese;
}
CString MoonLagrangeHeading(CCorLum*, CStkString&, const CString& japanese, const CString&) {
    return u"月ラグランジュ点 " + japanese;
}

// One kind of solar-system object.
struct tagSOLARKIND {
    bool (*matches)(CStkString& object);
    Heading heading;
    // A property shown in parentheses after the heading ("イオ Io (J1)").
    const char16_t* tag;
    CString (CLumClickData::*lines)(CCorLum* engine);  // none for the umbra
};

constexpr char16_t kCentralLongitudeLatitude[] = u"中央経度 %3.0fﾟ\r\n中央緯度 %3.0fﾟ\r\n";

// Planets with a physical ephemeris: central longitude (of Jupiter's
// systems I and II, of Saturn's system III) and latitude.
const struct {
    const char16_t* planet;
    const char16_t* format;
    const char16_t* first;
    const char16_t* second;
    const char16_t* third;
} kPhysicalEphemerides[] = {
    {u"mars", kCentralLongitudeLatitude, u".PhysicalTable.CM", u".PhysicalTable.De", nullptr},
    {u"Jupiter", u"中央経度 %3.0fﾟ(I) %3.0fﾟ(II)\r\n中央緯度 %3.0fﾟ\r\n", u".PhysicalTable.CM1",
     u".PhysicalTable.CM2", u".PhysicalTable.De"},
    {u"saturn", u"中央経度 %3.0fﾟ(III)\r\n中央緯度 %3.0fﾟ\r\n", u".PhysicalTable.CM3",
     u".PhysicalTable.De", nullptr},
};

// One end of a spacecraft's data span: a Julian Day (UT) as the UT clock
// time to the nearest second.  Half a second is added with every carry
// (23:59:59.6 on the 30th becomes 00:00:00 on the 31st), then the seconds
// are cut.  No value ("*"): no line.
CString DataSpanLine(const char16_t* label, const CString& reply) {
    if (reply == u"*") return CString();
    tagADATE date = vexacl::JdToDate2(ReplyNumber(reply));
    tagADATE half_second;
    half_second.second = 0.5;
    vexacl::ChangeDate(&date, half_second, vexacl::kChangeDateForward);
    return Formatted(u"%s %d/%02d/%02d %02d:%02d:%02d (UT)\r\n", label, date.year, date.month,
                     date.day, date.hour, date.minute, static_cast<int>(std::floor(date.second)));
}

// The eclipse magnitude line of the Sun and the Moon; a negative magnitude
// (no eclipse) gives none.  The engine's property is spelt "Eclips".
CString EclipseMagnitudeLine(const CString& reply) {
    const double magnitude = ReplyNumber(reply);
    if (magnitude < 0.0) return CString();
    return Formatted(u"食分 %.2f\r\n", magnitude);
}

}  // namespace

CString CLumClickData::GetTextSolar(CCorLum* engine, int title) {
    static const tagSOLARKIND kKinds[] = {
        {IsPlace, NamesHeading, nullptr, &CLumClickData::GetPlaceLines},
        {IsSun, NamesHeading, nullptr, &CLumClickData::GetSunLines},
        {IsPlanetLagrangePoint, PlanetLagrangeHeading, nullptr,
         &CLumClickData::GetLagrangePointLines},
        {IsMoonLagrangePoint, MoonLagrangeHeading, nullptr, &CLumClickData::GetLagrangePointLines},
        {IsMoon, NamesHeading, nullptr, &CLumClickData::GetMoonLines},
        {IsSatellite, NamesHeading, u".Number", &CLumClickData::GetSatelliteLines},
        {IsUmbra, UmbraHeading, nullptr, nullptr},
        {IsBody, PlanetHeading, nullptr, &CLumClickData::GetPlanetLines},
        {IsSmallBody, NamesHeading, u".ID", &CLumClickData::GetSmallBodyLines},
        {IsMeteorite, NamesHeading, u".ID", &CLumClickData::GetMeteoriteLines},
        {IsSpacecraft, NamesHeading, nullptr, &CLumClickData::GetSpacecraftLines},
    };
    const CString japanese = QueryObject(engine, u".JapaneseName");
    const CString english = QueryObject(engine, u".EnglishName");
    const auto kind = std::find_if(std::begin(kKinds), std::end(kKinds),
                                   [this](const tagSOLARKIND& k) { return k.matches(m_object); });
    if (kind == std::end(kKinds)) return CString();

    CString text = kind->heading(engine, m_object, japanese, english);
    if (kind->tag) text += u" (" + QueryObject(engine, kind->tag) + u")";
    if (title) return text;
    text += u"\r\n";
    if (kind->lines) text += (this->*kind->lines)(engine);
    return text;
}

CString CLumClickData::GetDistanceLines(CCorLum* engine, DistanceForm form,
                                        const char16_t* helio_suffix) {
    const bool coarse = Setting(&CCdStatus::Precision) == 1;
    const CString geo = QueryObject(engine, u".GeocentricDistance");
    const CString topo = QueryObject(engine, u".TopocentricDistance");
    const CString helio = helio_suffix ? QueryObject(engine, helio_suffix) : CString();
    CString text = DistanceLine(u"地心距離", geo, form, coarse);
    text += DistanceLine(u"測心距離", topo, form, coarse);
    if (helio_suffix) text += DistanceLine(u"日心距離", helio, form, coarse);
    return text;
}

CString CLumClickData::GetCentralLines(CCorLum* engine, const char16_t* format,
                                       const char16_t* first, const char16_t* second,
                                       const char16_t* third) {
    const double a = ReplyNumber(QueryObject(engine, first));
    const double b = ReplyNumber(QueryObject(engine, second));
    const double c = third ? ReplyNumber(QueryObject(engine, third)) : 0.0;
    return Formatted(format, a, b, c);
}

CString CLumClickData::GetSunLines(CCorLum* engine) {
    CString text;
    if (Setting(&CCdStatus::DispMag)) {
        const double diameter = ReplyNumber(QueryObject(engine, u".Dm")) * 60.0;  // arcminutes
        text += Formatted(u"光度 -26.7等 視直径 %3.1f'\r\n", diameter);
    }
    text += GetPosString(engine, 2);
    if (Setting(&CCdStatus::DispDistR)) text += GetDistanceLines(engine, DistanceForm::kAu);
    if (Setting(&CCdStatus::PlanetPhysicalTable)) {
        text += GetCentralLines(engine, kCentralLongitudeLatitude, u".PhysicalTable.CM",
                                u".PhysicalTable.De");
        text += GetEclipseContacts(engine);
        text += EclipseMagnitudeLine(QueryObject(engine, u".EclipsMagnitude"));
    }
    return text;
}

CString CLumClickData::GetPlanetLines(CCorLum* engine) {
    // The observer stands on the Earth: no brightness, no place in the sky,
    // no elongation; only its distance from the Sun.
    const bool earth = m_object.SameP(2, u"Earth");
    const bool distance = Setting(&CCdStatus::DispDistR) != 0;
    CString text;
    if (!earth && Setting(&CCdStatus::DispMag)) {
        const double magnitude = ReplyNumber(QueryObject(engine, u".Magnitude"));
        const double diameter = ReplyNumber(QueryObject(engine, u".Dm"));  // arcseconds
        const double lit = ReplyNumber(QueryObject(engine, u".PhysicalTable.K"));
        text +=
            Formatted(u"光度 %4.1f等  視直径 %3.1f\"  輝面比 %4.2f\r\n", magnitude, diameter, lit);
    }
    if (!earth) text += GetPosString(engine, 2);
    if (distance && !earth) {
        text += GetDistanceLines(engine, DistanceForm::kAu, u".HelioCentricDistance");
        text += GetSolarElongation(engine);
    } else if (distance) {
        text += DistanceLine(u"日心距離", QueryObject(engine, u".HelioCentricDistance"),
                             DistanceForm::kAu, Setting(&CCdStatus::Precision) == 1);
    }
    if (Setting(&CCdStatus::SolarOrbitDetails)) text += GetOrbitLines(engine);
    if (!Setting(&CCdStatus::PlanetPhysicalTable)) return text;
    for (const auto& planet : kPhysicalEphemerides) {
        if (!m_object.SameP(2, planet.planet)) continue;
        text += GetCentralLines(engine, planet.format, planet.first, planet.second, planet.third);
    }
    if (m_object.SameP(2, u"mars")) {
        const double ls = ReplyNumber(QueryObject(engine, u".PhysicalTable.Ls"));
        text += Formatted(u"惑心太陽黄経 %5.1fﾟ\r\n", ls);
    }
    return text;
}

CString CLumClickData::GetLagrangePointLines(CCorLum* engine) {
    return GetPosString(engine, 2);
}

CString CLumClickData::GetMoonLines(CCorLum* engine) {
    CString text;
    if (Setting(&CCdStatus::DispMag)) {
        const double age = ReplyNumber(QueryObject(engine, u".Age"));
        const double diameter = ReplyNumber(QueryObject(engine, u".Dm")) * 60.0;  // arcminutes
        const double lit = ReplyNumber(QueryObject(engine, u".PhysicalTable.K"));
        text += Formatted(u"月齢 %4.1f  視直径 %3.1f'  輝面比 %4.2f\r\n", age, diameter, lit);
    }
    text += GetPosString(engine, 2);
    if (Setting(&CCdStatus::DispDistR)) text += GetDistanceLines(engine, DistanceForm::kManKm);
    if (Setting(&CCdStatus::PlanetPhysicalTable)) {
        text += GetCentralLines(engine, u"中央経度 %5.1fﾟ  中央緯度 %5.1fﾟ\r\n",
                                u".PhysicalTable.CM", u".PhysicalTable.De");
        text += GetMoonPhaseLines(engine);
        text += EclipseMagnitudeLine(QueryObject(engine, u".EclipsMagnitude"));
    }
    return text;
}

CString CLumClickData::GetSatelliteLines(CCorLum* engine) {
    CString text;
    const CString magnitude = QueryObject(engine, u".Magnitude");
    if (Setting(&CCdStatus::DispMag))
        text += Formatted(u"光度 %4.1f等\r\n", ReplyNumber(magnitude));
    text += GetPosString(engine, 2);
    if (Setting(&CCdStatus::DispDistR)) {
        text += GetDistanceLines(engine, DistanceForm::kAu);
        const CString planet = QueryObject(engine, u".PlanetocentricDistance");
        const CString helio = QueryObject(engine, u".HeliocentricDistance");
        const bool coarse = Setting(&CCdStatus::Precision) == 1;
        text += DistanceLine(u"日心距離", helio, DistanceForm::kAu, coarse);
        text += DistanceLine(u"惑心距離", planet, DistanceForm::kManKm, coarse);
    }
    return text;
}

CString CLumClickData::GetSmallBodyLines(CCorLum* engine) {
    CString text;
    if (Setting(&CCdStatus::DispMag)) {
        const CString magnitude = QueryObject(engine, u".Magnitude");
        text += magnitude == u"*" ? CString(u"光度 --.-等\r\n")
                                  : Formatted(u"光度 %4.1f等\r\n", ReplyNumber(magnitude));
    }
    return text + GetBodyInSpaceLines(engine);
}

CString CLumClickData::GetBodyInSpaceLines(CCorLum* engine) {
    CString text = GetPosString(engine, 2);
    if (Setting(&CCdStatus::DispDistR)) {
        text += GetDistanceLines(engine, DistanceForm::kAuOrDashes, u".HeliocentricDistance");
        text += GetSolarElongation(engine);
    }
    if (!Setting(&CCdStatus::SolarOrbitDetails)) return text;
    if (!m_object.SameP(1, u"Comet")) return text + GetOrbitLines(engine);
    text += GetRevPeriod(engine);
    text += GetPerihelionPassage(engine);
    text += GetEccentricity(engine);
    text += GetPerihelionDistance(engine);
    text += GetDailyMotion(engine);
    return text;
}

CString CLumClickData::GetMeteoriteLines(CCorLum* engine) {
    CString text = Line(QueryObject(engine, u".Memo"));
    // The time of fall is a Julian Day (UT), shown on the local clock.
    const CString fall_reply = QueryObject(engine, u".TimeOfFall");
    const double fall = ReplyNumber(fall_reply);
    const double zone = ReplyNumber(engine->Doit(u"? time.timezone"));
    if (IsValue(fall_reply)) {
        tagADATE date = vexacl::JdToDate2(fall);
        vexacl::ChangeTimezone(&date, zone);
        text += Formatted(u"落下 %d年%d月%d日 %d時%d分\r\n", date.year, date.month, date.day,
                          date.hour, date.minute);
    } else {
        // No recorded fall: dashes, not the calendar's day zero.
        text += u"落下 ----年--月--日 --時--分\r\n";
    }
    // Once it has fallen it is a stone on the ground, not a body in the
    // sky: no position, distance or orbit.  Without a recorded fall it is
    // still a body in the sky.
    if (IsValue(fall_reply) && !(fall > ReplyNumber(engine->Doit(u"? time.jd")))) return text;
    return text + GetBodyInSpaceLines(engine);
}

CString CLumClickData::GetSpacecraftLines(CCorLum* engine) {
    CString text = GetPosString(engine, 2);
    if (Setting(&CCdStatus::DispDistR)) {
        text += GetDistanceLines(engine, DistanceForm::kAuOrDashes, u".HelioCentricDistance");
    }
    if (Setting(&CCdStatus::SolarOrbitDetails)) {
        text += DataSpanLine(u"データ開始", QueryObject(engine, u".data.start"));
        text += DataSpanLine(u"データ終了", QueryObject(engine, u".data.end"));
    }
    return text;
}

CString CLumClickData::GetPlaceLines(CCorLum* engine) {
    CString text = Line(QueryObject(engine, u".Explanation"));
    const double longitude = vexacl::degmal(ReplyNumber(QueryObject(engine, u".Longitude")));
    const double latitude_read = ReplyNumber(QueryObject(engine, u".Latitude"));
    const double latitude = vexacl::degmal2(latitude_read);
    // Only a latitude above 0 is north; the equator prints as "-".
    const char16_t sign = latitude_read > 0.0 ? u'+' : u'-';
    return text + Formatted(u"経度 %6.2f 緯度 %c%5.2f'\r\n", longitude, sign, std::fabs(latitude));
}

CString CLumClickData::GetEclipseTime(double jd, const CString& label) {
    int year = 0, month = 0;
    double day = 0.0;
    vexacl::JdToDate(jd, &year, &month, &day);
    tagHMS clock = RoundClock((day - std::floor(day)) * 24.0, false);
    if (clock.hour >= 24) clock.hour -= 24;
    return label + Formatted(u"%02d:%02d:%02d", clock.hour, clock.minute, clock.second);
}

CString CLumClickData::GetEclipseContacts(CCorLum* engine) {
    // The engine computes contacts only while Besselian elements apply.
    if (engine->Doit(u"? solar.earth.besselelement.apply").CompareNoCase(u"TRUE") != 0) {
        return CString();
    }
    const CString first = engine->Doit(u"? Solar.Earth.SolarEclipse.ContactTime.1st");
    if (first == u"*") return CString();
    const double zone = ReplyNumber(engine->Doit(u"? Time.Timezone")) / 24.0;  // days
    const CString second = engine->Doit(u"? Solar.Earth.SolarEclipse.ContactTime.2nd");
    const CString greatest = engine->Doit(u"? Solar.Earth.SolarEclipse.ContactTime.Max");
    const CString third = engine->Doit(u"? Solar.Earth.SolarEclipse.ContactTime.3rd");
    const CString fourth = engine->Doit(u"? Solar.Earth.SolarEclipse.ContactTime.4th");
    // Contacts are Julian Days (UT); "*" means the contact does not happen
    // (a partial eclipse has no second and third contact).
    auto contact = [zone](const CString& reply, const char16_t* label) {
        return GetEclipseTime(ReplyNumber(reply) + zone, label);
    };

    CString text = contact(first, u"第1接触  ") + u"\r\n";
    if (second != u"*") text += contact(second, u"第2接触  ") + u"\r\n";
    if (greatest != u"*") {
        text += contact(greatest, u"食の最大 ");
        // Duration of the central (total or annular) phase in minutes, to
        // the second; 4.995 minutes is 05m00s, never 04m60s.  Contacts that
        // are no Julian Days ("1e999") have none.
        const double minutes =
            std::fmod((ReplyNumber(third) - ReplyNumber(second)) * 24.0 * 60.0, 60.0);
        if (second != u"*" && third != u"*" && std::isfinite(minutes)) {
            const tagHMS duration = RoundClock(minutes / 60.0, false);
            text += Formatted(u"  継続時間 %02dm%02ds", duration.hour * 60 + duration.minute,
                              duration.second);
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
        const tagHMS clock = RoundClock((jd - day_start) * 24.0, true);
        text +=
            Formatted(u"%s %02d:%02d\r\n", kPhaseNames[phases[i].phase], clock.hour, clock.minute);
    }
    return text;
}
