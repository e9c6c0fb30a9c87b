// The sky engine's tables: the identifiers it knows and every path it
// answers, in one place.
//
// A new kind of object is one more IdentifierRule (its class name and how
// its identifiers become an Object: the kind, the record, the place) and
// one more KindTable (its suffixes and their getters); the positions of
// PlaceProperties() come with any object that has a place.
#include <map>
#include <type_traits>
#include <unordered_map>

#include "engine/stkstr.h"
#include "host/vexacl.h"
#include "sky/engine_reply.h"
#include "sky/sky_engine.h"

using namespace sky::reply;

using astrometry::Equatorial;
using astrometry::Horizontal;
using astrometry::RiseTransitSet;
using astrometry::Spherical;
using astrometry::StarPositions;

// One coordinate of one frame of the object's current place: hours for a
// right ascension, degrees otherwise (sky/astrometry.h gives the frames).
template <auto Frame, auto Coordinate>
CString CSkyEngine::Angle(CSkyEngine& engine, const Object& object) {
    if (!object.hasPlace) return u"*";
    const StarPositions& p = engine.Positions(object);
    if (!p.ok) return u"*";
    return Number(p.*Frame.*Coordinate, kAngleDecimals);
}

// Rise, transit or set times within the local day: UT Julian Days, comma
// separated, "*" when there is none.
template <auto List>
CString CSkyEngine::EventList(CSkyEngine& engine, const Object& object) {
    if (!object.hasPlace) return u"*";
    const RiseTransitSet& events = engine.Events(object);
    const std::vector<double>& list = events.*List;
    if (!events.ok || list.empty()) return u"*";
    CString text;
    for (double jd : list) {
        if (!text.IsEmpty()) text += u',';
        text += Number(jd, kJdDecimals);
    }
    return text;
}

// A field of the local standard time's calendar date, so that
// "Time = LST(...)" of the same fields gives the same hour back.
template <auto Field>
CString CSkyEngine::LocalField(CSkyEngine& engine) {
    const auto value = engine.LocalDate().*Field;
    if constexpr (std::is_same_v<decltype(value), const double>) {
        return Number(value, 3);
    } else {
        return Integer(value);
    }
}

// The designation of a star in the picked-star slot: "HIP 32349".
CString CSkyEngine::StarDesignation(const SkyStar& star) {
    CString text;
    if (star.hip > 0) {
        text.Format(u"HIP %d", star.hip);
    } else if (star.hd > 0) {
        text.Format(u"HD %d", star.hd);
    } else {
        text = star.id;
    }
    return text;
}

namespace {

CString Positive(int number) {
    return number > 0 ? Integer(number) : CString();
}

CString CommonName(const SkyDeepSky& dso) {
    return dso.name_ja.IsEmpty() ? dso.name_en : dso.name_ja;
}

// A property that the data lacks.
constexpr auto Unknown = [](CSkyEngine&, const auto&) { return CString(u"*"); };

}  // namespace

const std::vector<CSkyEngine::IdentifierRule>& CSkyEngine::IdentifierRules() {
    using K = Object::Kind;
    static const std::vector<IdentifierRule> rules = {
        {u"star",
         [](const CSkyEngine& e, const CLumProperty& parts, Object* o) {
             if (const std::optional<bool> extra = ResolveStarExtra(e, parts, o)) return *extra;
             const CString name = parts.GetParam(1).GetText();
             const bool slot = name.Left(3).CompareNoCase(u"XNO") == 0;
             const SkyStar* star = slot ? e.PickedStar() : e.m_catalog->StarById(name);
             if (!star || !parts.IsEmpty(2)) return false;
             o->kind = K::Star;
             o->star = star;
             o->picked = slot;
             o->SetStarPlace(*star);
             return true;
         }},
        {u"deepskyobject",
         [](const CSkyEngine& e, const CLumProperty& parts, Object* o) {
             const CString name = parts.GetParam(1).GetText();
             const bool pgc = name.Left(3).CompareNoCase(u"PGC") == 0;
             const CStkStr number(name.Mid(3));
             o->dso = !pgc             ? e.m_catalog->DeepSkyById(name)
                      : number.IsNum() ? e.m_catalog->DeepSkyByPgc(number.atoi())
                                       : nullptr;
             if (!o->dso) return false;
             o->kind = pgc ? K::Pgc : K::DeepSky;
             o->SetFixedPlace(o->dso->ra_deg, o->dso->dec_deg);
             return true;
         }},
        {u"deepsky",
         [](const CSkyEngine& e, const CLumProperty& parts, Object* o) {
             o->dso = e.m_catalog->DeepSkyById(parts.GetParam(1).GetText());
             if (!o->dso) return false;
             o->kind = K::DeepSky;
             o->SetFixedPlace(o->dso->ra_deg, o->dso->dec_deg);
             return true;
         }},
        {u"MagellanicCloud",
         [](const CSkyEngine& e, const CLumProperty& parts, Object* o) {
             o->cloud = e.m_catalog->MagellanicById(parts.GetParam(1).GetText());
             if (!o->cloud) return false;
             o->kind = K::Magellanic;
             o->SetFixedPlace(o->cloud->ra_deg, o->cloud->dec_deg);
             return true;
         }},
        {u"Constellation",
         [](const CSkyEngine& e, const CLumProperty& parts, Object* o) {
             o->constellation = e.m_catalog->ConstellationByAbbr(parts.GetParam(1).GetText());
             if (!o->constellation) return false;
             o->kind = K::Constellation;
             e.PlaceConstellation(o);
             return true;
         }},
        {u"Solar", &ResolveSolar},
        {u"FieldOfViewCircle", &ResolveUserObject},
        {u"AngleOfView", &ResolveUserObject},
        {u"MosaicOfField", &ResolveUserObject},
        {u"AdfSystem", &ResolveUserObject},
        {u"Adf", &ResolveUserObject},
        {u"DeepSkyImage", &ResolveUserObject},
        {u"ArtificialSatellite", &ResolveSatellite},
        {u"Meteor", &ResolveMeteor},
        // Equatorial(ra, dec): J2000 RA in hours, Dec in degrees.
        {u"Equatorial",
         [](const CSkyEngine&, const CLumProperty& parts, Object* o) {
             if (!parts.IsNum(1) || !parts.IsNum(2)) return false;
             const double raH = parts.atof(1), dec = parts.atof(2);
             if (!std::isfinite(raH) || !std::isfinite(dec) || std::fabs(dec) > 90.0) return false;
             o->kind = K::Point;
             o->SetFixedPlace(vexacl::degmal(raH * 15.0), dec);
             return true;
         }},
    };
    return rules;
}

const std::vector<CSkyEngine::Property>& CSkyEngine::PlaceProperties() {
    using SP = StarPositions;
    static const std::vector<Property> table = {
        {u".position.ra", &Angle<&SP::icrs, &Equatorial::ra_h>},
        {u".position.dec", &Angle<&SP::icrs, &Equatorial::dec_deg>},
        {u".position.equatorialdateapp.ra", &Angle<&SP::apparent, &Equatorial::ra_h>},
        {u".position.equatorialdateapp.dec", &Angle<&SP::apparent, &Equatorial::dec_deg>},
        {u".position.equatorialb1950.ra", &Angle<&SP::b1950, &Equatorial::ra_h>},
        {u".position.equatorialb1950.dec", &Angle<&SP::b1950, &Equatorial::dec_deg>},
        {u".position.ecliptical.lambda", &Angle<&SP::ecliptic_mean_of_date, &Spherical::lon_deg>},
        {u".position.ecliptical.beta", &Angle<&SP::ecliptic_mean_of_date, &Spherical::lat_deg>},
        {u".position.eclipticdateapp.lambda",
         &Angle<&SP::ecliptic_true_of_date, &Spherical::lon_deg>},
        {u".position.eclipticdateapp.beta",
         &Angle<&SP::ecliptic_true_of_date, &Spherical::lat_deg>},
        {u".position.eclipticj2000.lambda", &Angle<&SP::ecliptic_j2000, &Spherical::lon_deg>},
        {u".position.eclipticj2000.beta", &Angle<&SP::ecliptic_j2000, &Spherical::lat_deg>},
        {u".position.galactical.longitude", &Angle<&SP::galactic, &Spherical::lon_deg>},
        {u".position.galactical.latitude", &Angle<&SP::galactic, &Spherical::lat_deg>},
        {u".position.azimuth", &Angle<&SP::horizon, &Horizontal::azimuth_deg>},
        {u".position.altitude", &Angle<&SP::horizon, &Horizontal::altitude_deg>},
        {u".position.constellation",
         [](CSkyEngine& e, const Object& o) {
             // Bodies and satellites: where they are seen now.
             if (o.kind != Object::Kind::Solar && o.kind != Object::Kind::Satellite) {
                 const auto place = e.PlaceNow(o);
                 return place ? e.ConstellationOf(place->ra_deg, place->dec_deg) : CString(u"*");
             }
             const StarPositions& p = e.Positions(o);
             return p.ok ? e.ConstellationOf(p.icrs.ra_h * 15.0, p.icrs.dec_deg) : CString(u"*");
         }},
        {u".jd.rise", &EventList<&RiseTransitSet::rise_jd_ut>},
        {u".jd.transit", &EventList<&RiseTransitSet::transit_jd_ut>},
        {u".jd.set", &EventList<&RiseTransitSet::set_jd_ut>},
    };
    return table;
}

const std::vector<CSkyEngine::KindTable>& CSkyEngine::KindTables() {
    using K = Object::Kind;
    static const std::vector<KindTable> tables = {
        {K::Star,
         u"star",
         u"Star.HIP27989",
         {
             // The slot answers the designation, a star by name its lasting id.
             {u".id",
              [](CSkyEngine&, const Object& o) {
                  return o.picked ? StarDesignation(*o.star) : o.star->id;
              }},
             {u".name",
              [](CSkyEngine&, const Object& o) {
                  if (!o.star->name_ja.IsEmpty()) return o.star->name_ja;
                  if (!o.star->name_en.IsEmpty()) return o.star->name_en;
                  return StarDesignation(*o.star);
              }},
             // Planets in the exoplanet table, which lists every planet of its hosts.
             {u".numberofplanets",
              [](CSkyEngine& e, const Object& o) {
                  const int count = e.m_catalog->Extras().PlanetCount(o.star->hip);
                  return count > 0 ? Integer(count) : CString(u"*");
              }},
             {u".flamsteednumber",
              [](CSkyEngine&, const Object& o) { return Positive(o.star->flamsteed); }},
             {u".bayerletter", [](CSkyEngine&, const Object& o) { return o.star->bayer; }},
             {u".constellation.abbreviation",
              [](CSkyEngine&, const Object& o) { return o.star->constellation; }},
             {u".constellation.name",
              [](CSkyEngine& e, const Object& o) {
                  const SkyConstellation* c =
                      e.m_catalog->ConstellationByAbbr(o.star->constellation);
                  return c ? c->name_ja : CString();
              }},
             {u".japanesename", [](CSkyEngine&, const Object& o) { return o.star->name_ja; }},
             {u".englishname", [](CSkyEngine&, const Object& o) { return o.star->name_en; }},
             {u".hipparcosnumber",
              [](CSkyEngine&, const Object& o) { return Positive(o.star->hip); }},
             {u".magnitude", [](CSkyEngine&, const Object& o) { return Number(o.star->vmag, 2); }},
             {u".propermotion.ra",
              [](CSkyEngine&, const Object& o) { return Number(o.star->pmra_mas_yr, 2); }},
             {u".propermotion.dec",
              [](CSkyEngine&, const Object& o) { return Number(o.star->pmdec_mas_yr, 2); }},
             {u".pi",
              [](CSkyEngine&, const Object& o) { return Number(MeasuredParallaxMas(*o.star), 2); }},
             // No Tycho photometry in the data; B-V is the Johnson index.
             {u".magnitude.bt", Unknown},
             {u".magnitude.vt", Unknown},
             {u".magnitude.bv", [](CSkyEngine&, const Object& o) { return Number(o.star->bv, 2); }},
             {u".spectraltype", [](CSkyEngine&, const Object& o) { return o.star->spectral_type; }},
             {u".variablename", [](CSkyEngine&, const Object& o) { return o.star->variable_name; }},
             {u".crossid",
              [](CSkyEngine&, const Object& o) {
                  std::vector<CString> ids;
                  const std::pair<const char16_t*, int> numbers[] = {
                      {u"HD", o.star->hd}, {u"HR", o.star->hr}, {u"SAO", o.star->sao}};
                  for (const auto& [catalogue, number] : numbers) {
                      if (number > 0) ids.push_back(CString(catalogue) + u" " + Integer(number));
                  }
                  return Joined(ids, u"|");
              }},
             // .USNOA20Attr, .Summary: not in the data, so not listed.
         }},
        {K::DeepSky,
         u"deep sky",
         u"DeepSky.M31",
         {
             // One designation per object, whichever identifier reached it.
             {u".number", [](CSkyEngine&, const Object& o) { return o.dso->id; }},
             {u".catalognumber", [](CSkyEngine&, const Object& o) { return o.dso->id; }},
             {u".subcatalognumber.strings",
              [](CSkyEngine&, const Object& o) { return Joined(o.dso->designations, u", "); }},
             {u".type.name", [](CSkyEngine&, const Object& o) { return o.dso->type_ja; }},
             {u".name", [](CSkyEngine&, const Object& o) { return CommonName(*o.dso); }},
             {u".englishname", [](CSkyEngine&, const Object& o) { return o.dso->name_en; }},
             {u".magnitude",
              [](CSkyEngine&, const Object& o) { return Number(o.dso->magnitude, 1); }},
             {u".size",
              [](CSkyEngine&, const Object& o) {
                  const SkyDeepSky& d = *o.dso;
                  if (!d.major_arcmin) return CString(u"*");
                  CString text;
                  if (d.minor_arcmin && *d.minor_arcmin != *d.major_arcmin) {
                      text.Format(u"%.1f'×%.1f'", *d.major_arcmin, *d.minor_arcmin);
                  } else {
                      text.Format(u"%.1f'", *d.major_arcmin);
                  }
                  return text;
              }},
             {u".pgcnumber",
              [](CSkyEngine&, const Object& o) {
                  return o.dso->pgc > 0 ? Integer(o.dso->pgc) : CString(u"*");
              }},
         }},
        {K::Pgc,
         u"PGC galaxy",
         u"deepskyobject.Pgc2557",
         {
             {u".number", [](CSkyEngine&, const Object& o) { return o.dso->id; }},
             {u".aliasname", [](CSkyEngine&, const Object& o) { return o.dso->id; }},
             {u".vhelio", Unknown},  // not in the data
             {u".type", Unknown},
             {u".pa", [](CSkyEngine&, const Object& o) { return Number(o.dso->pa_deg, 0); }},
             // The sizes are given as the axes in minutes of arc, which is
             // what the text prints under these names.
             {u".logd25",
              [](CSkyEngine&, const Object& o) { return Number(o.dso->major_arcmin, 2); }},
             {u".logr25",
              [](CSkyEngine&, const Object& o) { return Number(o.dso->minor_arcmin, 2); }},
             {u".bt", [](CSkyEngine&, const Object& o) { return Number(o.dso->magnitude, 2); }},
             {u".name", [](CSkyEngine&, const Object& o) { return CommonName(*o.dso); }},
         }},
        {K::Magellanic,
         u"Magellanic Cloud",
         u"MagellanicCloud.LMC",
         {
             {u".name",
              [](CSkyEngine&, const Object& o) {
                  return o.cloud->name_ja.IsEmpty() ? o.cloud->name_en : o.cloud->name_ja;
              }},
             {u".englishname", [](CSkyEngine&, const Object& o) { return o.cloud->name_en; }},
         }},
        {K::Constellation,
         u"constellation",
         u"Constellation.Ori",
         {
             {u".name", [](CSkyEngine&, const Object& o) { return o.constellation->name_ja; }},
             {u".englishname", [](CSkyEngine&, const Object& o) { return o.constellation->name; }},
             {u".abbreviation", [](CSkyEngine&, const Object& o) { return o.constellation->abbr; }},
         }},
        {K::Point, u"point", u"Equatorial(5.5,-5.4)", {}},
        SolarTable(),
        FieldOfViewCircleTable(),
        AngleOfViewTable(),
        MosaicTable(),
        MosaicFrameTable(),
        AdfSystemTable(),
        AdfObjectTable(),
        DeepSkyImageTable(),
        SurfacePlaceTable(),
        SpacecraftTable(),
        MeteoriteTable(),
        VariableStarTable(),
        DoubleSystemTable(),
        DoubleStarTable(),
        ExoPlanetTable(),
        TransientTable(),
        SatelliteTable(),
        MeteorTable(),
    };
    return tables;
}

CSkyEngine::Getter CSkyEngine::FindGetter(Object::Kind kind, std::u16string_view lowerSuffix) {
    // The tables as one index by kind and suffix, made once.
    // By kind (its number), then by suffix.
    static const auto index = [] {
        std::vector<std::unordered_map<std::u16string_view, Getter>> out;
        for (const KindTable& table : KindTables()) {
            const auto k = static_cast<size_t>(table.kind);
            if (out.size() <= k) out.resize(k + 1);
            for (const Property& p : PlaceProperties()) out[k][p.suffix] = p.get;
            for (const Property& p : table.properties) out[k][p.suffix] = p.get;
        }
        return out;
    }();
    const auto k = static_cast<size_t>(kind);
    if (k >= index.size()) return nullptr;
    const auto found = index[k].find(lowerSuffix);
    return found == index[k].end() ? nullptr : found->second;
}

const std::vector<CSkyEngine::StateProperty>& CSkyEngine::StateProperties() {
    static const std::vector<StateProperty> table = {
        {u"time.jd", [](CSkyEngine& e) { return Number(e.m_jd, kJdDecimals); }},
        {u"time.timezone", [](CSkyEngine& e) { return Number(e.m_tz, 4); }},
        {u"time.year", &LocalField<&tagADATE::year>},
        {u"time.month", &LocalField<&tagADATE::month>},
        {u"time.day", &LocalField<&tagADATE::day>},
        {u"time.hour", &LocalField<&tagADATE::hour>},
        {u"time.minute", &LocalField<&tagADATE::minute>},
        {u"time.second", &LocalField<&tagADATE::second>},
        {u"lst(time.year)", &LocalField<&tagADATE::year>},
        {u"lst(time.month)", &LocalField<&tagADATE::month>},
        {u"lst(time.day)", &LocalField<&tagADATE::day>},
        {u"lst(time.hour)", &LocalField<&tagADATE::hour>},
        {u"lst(time.minute)", &LocalField<&tagADATE::minute>},
        {u"lst(time.second)", &LocalField<&tagADATE::second>},
        {u"location.longitude",
         [](CSkyEngine& e) { return Number(e.m_longitude, kAngleDecimals); }},
        {u"location.latitude", [](CSkyEngine& e) { return Number(e.m_latitude, kAngleDecimals); }},
        {u"location.altitude", [](CSkyEngine& e) { return Number(e.m_height, 3); }},
        {u"location.object", [](CSkyEngine&) { return Integer(kEarth); }},
        {u"location",
         [](CSkyEngine& e) {
             CString text;
             text.Format(u"Earth(%.10f,%.10f,%.3f)", e.m_longitude, e.m_latitude, e.m_height);
             return text;
         }},
        {u"location.solar.x", [](CSkyEngine& e) { return Number(e.EarthAu()[0], 12); }},
        {u"location.solar.y", [](CSkyEngine& e) { return Number(e.EarthAu()[1], 12); }},
        {u"location.solar.z", [](CSkyEngine& e) { return Number(e.EarthAu()[2], 12); }},
    };
    return table;
}

const CSkyEngine::StatePath* CSkyEngine::FindStatePath(std::u16string_view lowerPath) {
    static const auto index = [] {
        std::unordered_map<std::u16string_view, StatePath> out;
        for (const StateProperty& p : StateProperties()) out[p.path].get = p.get;
        for (const StateProperty& p : SolarStateProperties()) out[p.path].get = p.get;
        for (const auto& [path, initial] : SettableTexts()) {
            out[path] = StatePath{nullptr, true, initial};
        }
        return out;
    }();
    const auto found = index.find(lowerPath);
    return found == index.end() ? nullptr : &found->second;
}

const std::vector<CSkyEngine::Assignment>& CSkyEngine::Assignments() {
    // A value out of range or not a number leaves the state as it was.
    static const std::vector<Assignment> table = {
        // Time = LST(year, month, day, hour): local standard time.
        {u"time",
         [](CSkyEngine& e, const CString& value) {
             CLumProperty call(value);
             if (!call.Same(0, u"LST")) return;
             tagADATE d;
             d.year = call.atoi(1);
             d.month = call.atoi(2);
             d.day = call.atoi(3);
             d.hour = call.atoi(4);
             d.zone = e.m_tz;
             const double jd = vexacl::GetJd(d);
             if (jd != 0.0) e.SetJd(jd);
         }},
        {u"time.jd",
         [](CSkyEngine& e, const CString& v) {
             if (CStkStr(v).IsNum()) e.SetJd(CStkStr(v).atof());
         }},
        {u"time.timezone",
         [](CSkyEngine& e, const CString& v) {
             if (CStkStr(v).IsNum()) e.SetTimezone(CStkStr(v).atof());
         }},
        {u"location.longitude",
         [](CSkyEngine& e, const CString& v) {
             if (CStkStr(v).IsNum()) e.SetPlace(CStkStr(v).atof(), e.m_latitude, e.m_height);
         }},
        {u"location.latitude",
         [](CSkyEngine& e, const CString& v) {
             if (CStkStr(v).IsNum()) e.SetPlace(e.m_longitude, CStkStr(v).atof(), e.m_height);
         }},
        {u"location.altitude",
         [](CSkyEngine& e, const CString& v) {
             if (CStkStr(v).IsNum()) e.SetPlace(e.m_longitude, e.m_latitude, CStkStr(v).atof());
         }},
    };
    return table;
}

const std::vector<std::pair<const char16_t*, const char16_t*>>& CSkyEngine::SettableTexts() {
    // Their values at start; any text may be set, and is read back as set
    // (truth values in one spelling).
    static const std::vector<std::pair<const char16_t*, const char16_t*>> table = {
        {u"view.projection", u"Stereographic"},
        {u"view.coordinate", u"Horizon"},
        {u"view.center", u""},
        {u"view.center.track", u"FALSE"},
        {u"view.solar.arounding", u"FALSE"},
        {u"view.solar.arounding.center", u""},
        {u"view.flighttarget.object", u""},
        {u"view.flighttarget.takeoff.busy", u"False"},
        {u"view.straightthehorizon", u"FALSE"},
        {u"clickdata.object", u""},
        {u"clickdata.mark", u""},
        {u"clickdata.mark.visible", u"FALSE"},
        {u"clickdata.constellation", u"TRUE"},
        {u"clickdata.cyclic", u"FALSE"},
        {u"measure.visible", u"FALSE"},
        {u"measure.connecting", u"FALSE"},
        {u"measure.origin", u""},
        {u"measure.end", u""},
        {u"location.solar.track", u"FALSE"},
    };
    return table;
}

std::vector<CSkyEngine::PathList> CSkyEngine::SupportedPaths() {
    std::vector<PathList> out;
    PathList state{u"state", u"", {}};
    for (const StateProperty& p : StateProperties()) state.suffixes.emplace_back(p.path);
    for (const StateProperty& p : SolarStateProperties()) state.suffixes.emplace_back(p.path);
    out.push_back(std::move(state));
    PathList settable{u"settable", u"", {}};
    for (const auto& [path, initial] : SettableTexts()) settable.suffixes.emplace_back(path);
    out.push_back(std::move(settable));
    for (const KindTable& table : KindTables()) {
        PathList kind{table.name, table.example, {}};
        for (const Property& p : table.properties) kind.suffixes.emplace_back(p.suffix);
        for (const Property& p : PlaceProperties()) kind.suffixes.emplace_back(p.suffix);
        out.push_back(std::move(kind));
    }
    return out;
}

CString CSkyEngine::SupportedPathsMarkdown() {
    CString text = u"| kind | example | paths |\n|---|---|---|\n";
    CString places;
    for (const Property& p : PlaceProperties())
        places += (places.IsEmpty() ? u"`" : u", `") + CString(p.suffix) + u"`";
    for (const PathList& list : SupportedPaths()) {
        CString paths;
        const size_t own = list.suffixes.size() - (list.example[0] ? PlaceProperties().size() : 0);
        for (size_t k = 0; k < own; ++k) {
            paths += (paths.IsEmpty() ? u"`" : u", `") + list.suffixes[k] + u"`";
        }
        if (list.example[0]) paths += paths.IsEmpty() ? u"the positions" : u", the positions";
        text += u"| " + CString(list.kind) + u" | " +
                (list.example[0] ? u"`" + CString(list.example) + u"`" : CString()) + u" | " +
                paths + u" |\n";
    }
    text += u"| positions | (every kind above) | " + places + u" |\n";
    return text;
}
