// The sky engine's tables of places on the Earth, the Moon and Mars, of
// spacecraft and of meteorites (sky/solar_extras.h): Solar.* identifiers
// that name no body of solar::SolarSystem.
//
// Units: .Longitude (east) and .Latitude (north) in degrees; distances in
// au; .Data.Start, .Data.End and .TimeOfFall UT Julian Days.
#include "engine/stkstr.h"
#include "sky/catalog.h"
#include "sky/engine_reply.h"
#include "sky/sky_engine.h"
#include "sky/solar_extras.h"

using namespace sky::reply;

namespace {

constexpr int kDistanceDecimals = 10;  // au

std::shared_ptr<const sky::SolarExtras> Extras() {
    return sky::SolarExtras::Shared(CSkyCatalog::DefaultDataDir());
}

CString JapaneseOr(const CString& japanese, const CString& english) {
    return japanese.IsEmpty() ? english : japanese;
}

// "クレーター、直径 85 km", "海、大きさ 1146 km", "天文台".
CString Explanation(const sky::SurfacePlace& p) {
    CString text = p.kind_ja;
    if (p.size_km > 0.0) {
        text.AppendFormat(p.kind_ja == u"クレーター" ? u"、直径 %.0f km" : u"、大きさ %.0f km",
                          p.size_km);
    }
    return text;
}

}  // namespace

bool CSkyEngine::ResolveSolarExtra(const CLumProperty& parts, Object* o) {
    using K = Object::Kind;
    const std::shared_ptr<const sky::SolarExtras> extras = Extras();
    if (parts.Same(1, u"Spacecraft") || parts.Same(1, u"Meteorite")) {
        if (!parts.IsEmpty(3)) return false;
        const CString key = parts.GetParam(2).GetText();
        if (parts.Same(1, u"Spacecraft")) {
            o->craft = extras->FindSpacecraft(key);
            o->kind = K::Spacecraft;
            o->hasPlace = o->craft != nullptr;  // where, PlaceNow tells
            return o->craft != nullptr;
        }
        // No orbits of the meteoroids: a meteorite has no place.
        o->meteorite = extras->FindMeteorite(key);
        o->kind = K::Meteorite;
        return o->meteorite != nullptr;
    }
    // Solar.Planet.<body>.Place.<key>, Solar.Planet.Earth.Satellite.Moon.Place.<key>
    if (!parts.Same(1, u"Planet")) return false;
    const bool moon = parts.Same(2, u"Earth") && parts.Same(3, u"Satellite") &&
                      parts.Same(4, u"Moon") && parts.Same(5, u"Place");
    if (!moon && !parts.Same(3, u"Place")) return false;
    const int keyAt = moon ? 6 : 4;
    if (!parts.IsEmpty(keyAt + 1)) return false;
    const CString body = moon ? CString(u"Moon") : CString(parts.GetParam(2).GetText());
    o->surfacePlace = extras->Place(body, parts.GetParam(keyAt).GetText());
    o->kind = K::SurfacePlace;
    return o->surfacePlace != nullptr;
}

const CSkyEngine::KindTable& CSkyEngine::SurfacePlaceTable() {
    static const KindTable table{
        Object::Kind::SurfacePlace,
        u"place on a body",
        u"Solar.Planet.Earth.Satellite.Moon.Place.Tycho",
        {
            {u".japanesename",
             [](CSkyEngine&, const Object& o) {
                 return JapaneseOr(o.surfacePlace->name_ja, o.surfacePlace->name_en);
             }},
            {u".name",
             [](CSkyEngine&, const Object& o) {
                 return JapaneseOr(o.surfacePlace->name_ja, o.surfacePlace->name_en);
             }},
            {u".englishname", [](CSkyEngine&, const Object& o) { return o.surfacePlace->name_en; }},
            {u".explanation",
             [](CSkyEngine&, const Object& o) { return Explanation(*o.surfacePlace); }},
            {u".longitude",
             [](CSkyEngine&, const Object& o) { return Number(o.surfacePlace->lon_deg, 4); }},
            {u".latitude",
             [](CSkyEngine&, const Object& o) { return Number(o.surfacePlace->lat_deg, 4); }},
        }};
    return table;
}

namespace {

// One distance of a spacecraft now, "*" outside its data span.
template <double sky::CraftSighting::*Field>
CString CraftDistance(const sky::Spacecraft& craft, const astrometry::AstrometryContext& context) {
    const auto seen = sky::SightSpacecraft(craft, context);
    return seen ? Number(*seen.*Field, kDistanceDecimals) : CString(u"*");
}

}  // namespace

const CSkyEngine::KindTable& CSkyEngine::SpacecraftTable() {
    using S = sky::CraftSighting;
    static const KindTable table{
        Object::Kind::Spacecraft,
        u"spacecraft",
        u"Solar.Spacecraft.Voyager1",
        {
            {u".japanesename",
             [](CSkyEngine&, const Object& o) {
                 return JapaneseOr(o.craft->name_ja, o.craft->name_en);
             }},
            {u".name",
             [](CSkyEngine&, const Object& o) {
                 return JapaneseOr(o.craft->name_ja, o.craft->name_en);
             }},
            {u".englishname", [](CSkyEngine&, const Object& o) { return o.craft->name_en; }},
            {u".geocentricdistance",
             [](CSkyEngine& e, const Object& o) {
                 return CraftDistance<&S::geocentric_au>(*o.craft, e.Context());
             }},
            {u".topocentricdistance",
             [](CSkyEngine& e, const Object& o) {
                 return CraftDistance<&S::topocentric_au>(*o.craft, e.Context());
             }},
            {u".heliocentricdistance",
             [](CSkyEngine& e, const Object& o) {
                 return CraftDistance<&S::heliocentric_au>(*o.craft, e.Context());
             }},
            {u".data.start",
             [](CSkyEngine&, const Object& o) {
                 return Number(o.craft->start_jd_ut, kJdDecimals);
             }},
            {u".data.end",
             [](CSkyEngine&, const Object& o) { return Number(o.craft->end_jd_ut, kJdDecimals); }},
        }};
    return table;
}

const CSkyEngine::KindTable& CSkyEngine::MeteoriteTable() {
    constexpr auto none = [](CSkyEngine&, const Object&) { return CString(u"*"); };
    static const KindTable table{
        Object::Kind::Meteorite,
        u"meteorite",
        u"Solar.Meteorite.Chelyabinsk",
        {
            {u".japanesename",
             [](CSkyEngine&, const Object& o) {
                 return JapaneseOr(o.meteorite->name_ja, o.meteorite->name_en);
             }},
            {u".name",
             [](CSkyEngine&, const Object& o) {
                 return JapaneseOr(o.meteorite->name_ja, o.meteorite->name_en);
             }},
            {u".englishname", [](CSkyEngine&, const Object& o) { return o.meteorite->name_en; }},
            {u".id", [](CSkyEngine&, const Object& o) { return o.meteorite->key; }},
            {u".memo", [](CSkyEngine&, const Object& o) { return o.meteorite->memo; }},
            {u".timeoffall",
             [](CSkyEngine&, const Object& o) {
                 return Number(o.meteorite->fall_jd_ut, kJdDecimals);
             }},
            // Before its fall a meteoroid is a small body, whose orbit the
            // data lacks.
            {u".geocentricdistance", none},
            {u".topocentricdistance", none},
            {u".heliocentricdistance", none},
            {u".solarelongation", none},
            {u".revolutionperiod", none},
            {u".semimajoraxis", none},
            {u".eccentricity", none},
        }};
    return table;
}
