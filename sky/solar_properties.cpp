// The sky engine's solar-system bodies: their identifiers, their property
// table and the sky-state paths of the local solar eclipse, all answered
// from one solar::SolarSystem per time and place (sky/solar_system.h gives
// the theories, frames and units).
//
// Units of the replies: distances in au, the Moon's geocentric and
// topocentric distances and every planetocentric distance in km; ".Dm" in
// degrees for the Sun and the Moon and in seconds of arc for every other
// body; angles in degrees; daily motions in degrees per day of the apparent
// place; periods in Julian years; the time of perihelion passage a TT
// Julian Day; eclipse contacts UT Julian Days.
#include <erfa.h>
#include <erfam.h>

#include <cmath>
#include <string>

#include "engine/stkstr.h"
#include "sky/engine_reply.h"
#include "sky/sky_engine.h"

using namespace sky::reply;

using solar::BodyRef;
using solar::Major;
using solar::Satellite;

namespace {

constexpr int kDistanceDecimals = 10;  // au: 1.5 cm
constexpr int kKmDecimals = 3;

bool IsMajor(const BodyRef& body, Major m) {
    return body.kind == BodyRef::Kind::kMajor && body.index == static_cast<int>(m);
}

const solar::SmallBody* SmallBodyOf(const CSkyCatalog& catalog, const BodyRef& body) {
    const auto& bodies = catalog.SmallBodies();
    if (body.kind != BodyRef::Kind::kSmallBody || body.index < 0 ||
        body.index >= static_cast<int>(bodies.size()))
        return nullptr;
    return &bodies[body.index];
}

CString EnglishNameOf(const CSkyCatalog& catalog, const BodyRef& body) {
    switch (body.kind) {
        case BodyRef::Kind::kMajor:
            return CString::FromUtf8(solar::EnglishName(static_cast<Major>(body.index)));
        case BodyRef::Kind::kSatellite:
            return CString::FromUtf8(solar::EnglishName(static_cast<Satellite>(body.index)));
        case BodyRef::Kind::kSmallBody: {
            const solar::SmallBody* b = SmallBodyOf(catalog, body);
            if (!b) return CString();
            return CString::FromUtf8(b->name_en.empty() ? b->designation : b->name_en);
        }
        case BodyRef::Kind::kLagrangePoint:
            return u"L" + Integer(body.point);
        case BodyRef::Kind::kUmbra:
            return u"Earth's umbra";
    }
    return CString();
}

CString JapaneseNameOf(const CSkyCatalog& catalog, const BodyRef& body) {
    // The names file's plain entry for "Sun" is the calendar's "日".
    if (IsMajor(body, Major::kSun)) return u"太陽";
    if (body.kind == BodyRef::Kind::kUmbra) return u"地球の影";
    if (const solar::SmallBody* b = SmallBodyOf(catalog, body); b && !b->name_ja.empty()) {
        return CString::FromUtf8(b->name_ja);
    }
    const CString english = EnglishNameOf(catalog, body);
    const CString japanese = catalog.JapaneseName(english);
    return japanese.IsEmpty() ? english : japanese;
}

// A satellite's designation: the planet's initial and the IAU number ("J1").
CString SatelliteNumber(const BodyRef& body) {
    const auto s = static_cast<Satellite>(body.index);
    CString text;
    text.Format(u"%c%d", static_cast<char16_t>(solar::EnglishName(solar::PlanetOf(s))[0]),
                solar::SystemNumber(s));
    return text;
}

// An observer distance: the Moon's in km, every other in au.
CString ObserverDistance(const BodyRef& body, double au) {
    if (IsMajor(body, Major::kMoon)) return Number(au * solar::kAuKm, kKmDecimals);
    return Number(au, kDistanceDecimals);
}

// Whether the Sun's upper limb is above the horizon, as rising and setting
// count it (-34' of geometric altitude): below it the Moon and the Sun may
// overlap on a line through the Earth, but no eclipse is seen.
bool SunUp(solar::SolarSystem& ss) {
    const BodyRef sun = BodyRef::Of(Major::kSun);
    const double altitude = ss.Place(sun).positions.horizon.altitude_deg;
    const double semidiameter = ss.Physics(sun).angular_diameter_arcsec / 7200.0;
    return altitude + semidiameter >= -34.0 / 60.0;
}

// The number of dot-separated parts of a solar-system identifier whose
// lower-case parts are `p` (p[0] is "solar"); 0 when it names no body.
size_t SolarParts(const std::vector<std::u16string_view>& p) {
    auto at = [&p](size_t k) { return k < p.size() ? p[k] : std::u16string_view(); };
    if (at(1) == u"sun") return 2;
    if (at(1) == u"comet" || at(1) == u"minorplanet") return 3;
    if (at(1) == u"spacecraft" || at(1) == u"meteorite") return 3;
    if (at(1) != u"planet" && at(1) != u"dwarfplanet") return 0;
    if (at(3) == u"satellite") {
        return at(4) == u"moon" && (at(5) == u"lagrangianpoint" || at(5) == u"place") ? 7 : 5;
    }
    if (at(3) == u"lagrangianpoint" || at(3) == u"place") return 5;
    if (at(3) == u"umbra") return 4;
    return 3;
}

}  // namespace

size_t CSkyEngine::SolarIdentifierLength(std::u16string_view lowerPath) {
    if (!lowerPath.starts_with(u"solar.")) return 0;
    std::vector<std::u16string_view> parts;
    std::vector<size_t> ends;  // the end of each part
    for (size_t from = 0;;) {
        const size_t dot = lowerPath.find(u'.', from);
        const size_t end = dot == std::u16string_view::npos ? lowerPath.size() : dot;
        parts.push_back(lowerPath.substr(from, end - from));
        ends.push_back(end);
        if (dot == std::u16string_view::npos) break;
        from = dot + 1;
    }
    const size_t n = SolarParts(parts);
    return n == 0 || n > parts.size() ? 0 : ends[n - 1];
}

bool CSkyEngine::ResolveSolar(const CSkyEngine& e, const CLumProperty& parts, Object* o) {
    if (ResolveSolarExtra(parts, o)) return true;
    const auto body = solar::ParseIdentifier(o->id.ToUtf8(), e.m_catalog->SmallBodies());
    if (!body) return false;
    o->kind = Object::Kind::Solar;
    o->body = *body;
    o->hasPlace = true;
    return true;
}

CString CSkyEngine::SolarId(const BodyRef& body) const {
    return u"Solar." + CString::FromUtf8(solar::IdentifierOf(body, m_catalog->SmallBodies()));
}

CString CSkyEngine::SolarJapaneseName(const BodyRef& body) const {
    return JapaneseNameOf(*m_catalog, body);
}

namespace {

// Every body the engine names, in the order searches list them.
template <class Visit>
void ForEachBody(const CSkyCatalog& catalog, Visit&& visit) {
    for (int m = 0; m < solar::kMajorCount; ++m) visit(BodyRef::Of(static_cast<Major>(m)));
    for (int s = 0; s < solar::kSatelliteCount; ++s) visit(BodyRef::Of(static_cast<Satellite>(s)));
    for (size_t k = 0; k < catalog.SmallBodies().size(); ++k) {
        visit(BodyRef::SmallBodyAt(static_cast<int>(k)));
    }
}

}  // namespace

std::vector<CString> CSkyEngine::FindSolarByName(const CString& text) const {
    const std::string key = CSkyCatalog::SearchKey(text.view());
    std::vector<CString> out;
    if (key.empty()) return out;
    const CSkyCatalog& catalog = *m_catalog;
    ForEachBody(catalog, [&](const BodyRef& body) {
        std::vector<CString> names = {EnglishNameOf(catalog, body), JapaneseNameOf(catalog, body)};
        if (const solar::SmallBody* b = SmallBodyOf(catalog, body)) {
            names.push_back(CString::FromUtf8(b->designation));
            names.push_back(CString::FromUtf8(b->id));
        }
        for (const CString& name : names) {
            if (CSkyCatalog::SearchKey(name.view()) == key) {
                out.push_back(SolarId(body));
                return;
            }
        }
    });
    return out;
}

// Bodies within radius_deg of a J2000 place (degrees), by their astrometric
// places seen from the observer now.
void CSkyEngine::AddSolarNear(double ra_deg, double dec_deg, double radius_deg,
                              std::vector<std::pair<CString, double>>* out) {
    ForEachBody(*m_catalog, [&](const BodyRef& body) {
        const astrometry::StarPositions& p = Solar().Place(body).positions;
        if (!p.ok) return;
        const double separation =
            eraSeps(ra_deg * ERFA_DD2R, dec_deg * ERFA_DD2R, p.icrs.ra_h * 15.0 * ERFA_DD2R,
                    p.icrs.dec_deg * ERFA_DD2R) *
            ERFA_DR2D;
        if (separation <= radius_deg) out->emplace_back(SolarId(body), separation);
    });
}

template <auto Field, int Decimals>
CString CSkyEngine::PhysicalValue(CSkyEngine& e, const Object& o) {
    return Number(e.Solar().Physics(o.body).*Field, Decimals);
}

template <auto Field, int Decimals>
CString CSkyEngine::OrbitValue(CSkyEngine& e, const Object& o) {
    return Number(e.Solar().Orbit(o.body).*Field, Decimals);
}

// A contact of the local solar eclipse, "*" when it does not occur or no
// eclipse is seen on the local day.
template <auto Field>
CString CSkyEngine::ContactTime(CSkyEngine& e) {
    const solar::LocalSolarEclipse& eclipse = e.Solar().SolarEclipse(e.m_tz);
    return eclipse.visible ? Number(eclipse.*Field, kJdDecimals) : CString(u"*");
}

const std::vector<CSkyEngine::StateProperty>& CSkyEngine::SolarStateProperties() {
    using E = solar::LocalSolarEclipse;
    static const std::vector<StateProperty> table = {
        {u"solar.earth.besselelement.apply",
         [](CSkyEngine& e) {
             return CString(e.Solar().SolarEclipse(e.m_tz).visible ? u"TRUE" : u"FALSE");
         }},
        {u"solar.earth.solareclipse.contacttime.1st", &ContactTime<&E::first_jd_ut>},
        {u"solar.earth.solareclipse.contacttime.2nd", &ContactTime<&E::second_jd_ut>},
        {u"solar.earth.solareclipse.contacttime.max", &ContactTime<&E::max_jd_ut>},
        {u"solar.earth.solareclipse.contacttime.3rd", &ContactTime<&E::third_jd_ut>},
        {u"solar.earth.solareclipse.contacttime.4th", &ContactTime<&E::fourth_jd_ut>},
    };
    return table;
}

const CSkyEngine::KindTable& CSkyEngine::SolarTable() {
    using P = solar::Physical;
    using O = solar::OrbitSummary;
    static const KindTable table = {
        Object::Kind::Solar,
        u"solar system",
        u"Solar.Planet.Mars",
        {
            {u".japanesename",
             [](CSkyEngine& e, const Object& o) { return JapaneseNameOf(*e.m_catalog, o.body); }},
            {u".name",
             [](CSkyEngine& e, const Object& o) { return JapaneseNameOf(*e.m_catalog, o.body); }},
            {u".englishname",
             [](CSkyEngine& e, const Object& o) { return EnglishNameOf(*e.m_catalog, o.body); }},
            {u".number",
             [](CSkyEngine& e, const Object& o) {
                 if (o.body.kind == BodyRef::Kind::kSatellite) return SatelliteNumber(o.body);
                 const solar::SmallBody* b = SmallBodyOf(*e.m_catalog, o.body);
                 return b && b->number > 0 ? Integer(b->number) : CString(u"*");
             }},
            {u".id",
             [](CSkyEngine& e, const Object& o) {
                 const solar::SmallBody* b = SmallBodyOf(*e.m_catalog, o.body);
                 return b ? CString::FromUtf8(b->id) : CString(u"*");
             }},
            {u".magnitude", &PhysicalValue<&P::magnitude, 2>},
            // The texts print the Sun's and the Moon's diameters in minutes
            // of arc and the others' in seconds.
            {u".dm",
             [](CSkyEngine& e, const Object& o) {
                 const double arcsec = e.Solar().Physics(o.body).angular_diameter_arcsec;
                 if (IsMajor(o.body, Major::kSun) || IsMajor(o.body, Major::kMoon)) {
                     return Number(arcsec / 3600.0, 8);
                 }
                 return Number(arcsec, 4);
             }},
            {u".physicaltable.k", &PhysicalValue<&P::illuminated_fraction, 4>},
            {u".physicaltable.cm", &PhysicalValue<&P::central_meridian_deg, 4>},
            {u".physicaltable.de", &PhysicalValue<&P::sub_observer_latitude_deg, 4>},
            {u".physicaltable.ls", &PhysicalValue<&P::solar_longitude_ls_deg, 4>},
            {u".physicaltable.cm1", &PhysicalValue<&P::cm1_deg, 4>},
            {u".physicaltable.cm2", &PhysicalValue<&P::cm2_deg, 4>},
            {u".physicaltable.cm3", &PhysicalValue<&P::cm3_deg, 4>},
            {u".solarelongation", &PhysicalValue<&P::elongation_deg, kAngleDecimals>},
            {u".age",
             [](CSkyEngine& e, const Object& o) {
                 return IsMajor(o.body, Major::kMoon) ? Number(e.Solar().MoonAgeDays(), 4)
                                                      : CString(u"*");
             }},
            {u".geocentricdistance",
             [](CSkyEngine& e, const Object& o) {
                 const solar::BodyPlace& p = e.Solar().Place(o.body);
                 return ObserverDistance(o.body, p.geocentric.ok ? p.geocentric.distance_au : NAN);
             }},
            {u".topocentricdistance",
             [](CSkyEngine& e, const Object& o) {
                 const solar::BodyPlace& p = e.Solar().Place(o.body);
                 return ObserverDistance(o.body,
                                         p.topocentric.ok ? p.topocentric.distance_au : NAN);
             }},
            {u".heliocentricdistance",
             [](CSkyEngine& e, const Object& o) {
                 return Number(e.Solar().Place(o.body).heliocentric_distance_au, kDistanceDecimals);
             }},
            {u".planetocentricdistance",
             [](CSkyEngine& e, const Object& o) {
                 return Number(e.Solar().PlanetocentricDistance(o.body) * solar::kAuKm,
                               kKmDecimals);
             }},
            {u".semimajoraxis", &OrbitValue<&O::semi_major_axis_au, kDistanceDecimals>},
            {u".eccentricity", &OrbitValue<&O::eccentricity, 8>},
            {u".periheliondistance", &OrbitValue<&O::perihelion_distance_au, kDistanceDecimals>},
            {u".timeofperihelionpassage", &OrbitValue<&O::perihelion_jd_tt, kJdDecimals>},
            {u".revolutionperiod", &OrbitValue<&O::period_years, 6>},
            {u".dailymotion.ra",
             [](CSkyEngine& e, const Object& o) {
                 return Number(e.Solar().Motion(o.body).ra_deg_per_day, 8);
             }},
            {u".dailymotion.dec",
             [](CSkyEngine& e, const Object& o) {
                 return Number(e.Solar().Motion(o.body).dec_deg_per_day, 8);
             }},
            // Negative when there is no eclipse; spelt as the texts ask.
            {u".eclipsmagnitude",
             [](CSkyEngine& e, const Object& o) {
                 if (IsMajor(o.body, Major::kSun)) {
                     return Number(SunUp(e.Solar()) ? e.Solar().SolarEclipseMagnitudeNow() : -1.0,
                                   4);
                 }
                 if (IsMajor(o.body, Major::kMoon)) {
                     return Number(e.Solar().LunarEclipseMagnitudeNow(), 4);
                 }
                 return CString(u"*");
             }},
        },
    };
    return table;
}
