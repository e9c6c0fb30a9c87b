#include "sky/sky_engine.h"

#include <erfa.h>
#include <erfam.h>

#include <chrono>
#include <cmath>

#include "engine/stkstr.h"
#include "host/vexacl.h"

namespace {

CString Lower(CString text) {
    return text.MakeLower();
}

bool StartsWith(const CString& lower_text, const char16_t* prefix) {
    const CString p(prefix);
    return lower_text.Left(p.GetLength()) == p;
}

// A number as reply text; "*" when there is none.
CString Number(double value, int decimals) {
    if (!std::isfinite(value)) return u"*";
    CString text;
    text.Format(u"%.*f", decimals, value);
    if (text[0] == u'-' && text.FindOneOf(u"123456789") < 0) {
        text = text.Mid(1);  // no "-0.000"
    }
    return text;
}
CString Number(const std::optional<double>& value, int decimals) {
    return value ? Number(*value, decimals) : CString(u"*");
}
CString Integer(int value) {
    CString text;
    text.Format(u"%d", value);
    return text;
}

// The identifier the engine reports for a catalogue entry.
CString EngineId(const CSkyCatalog& catalog, const SkyRef& ref) {
    CString id = catalog.IdOf(ref);
    switch (ref.kind) {
        case SkyKind::Star:
            return u"Star." + id;
        case SkyKind::DeepSky:
            id.Remove(u' ');
            return u"DeepSky." + id;
        case SkyKind::Magellanic:
            return u"MagellanicCloud." + id;
        case SkyKind::Constellation:
            return u"Constellation." + id;
    }
    return id;
}

// Angles to 1e-10 (hours or degrees), Julian Days to 1e-8 day: finer than
// anything the texts print.
constexpr int kAngleDecimals = 10;
constexpr int kJdDecimals = 8;

double NowJd() {
    using namespace std::chrono;
    const double unix_s = duration<double>(system_clock::now().time_since_epoch()).count();
    return 2440587.5 + unix_s / 86400.0;
}

// Settable texts and their values at start.
const std::pair<const char16_t*, const char16_t*> kInitialValues[] = {
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

}  // namespace

CSkyEngine::CSkyEngine(std::shared_ptr<const CSkyCatalog> catalog)
    : m_catalog(std::move(catalog)), m_jd(NowJd()) {
    for (const auto& [path, value] : kInitialValues) m_values[path] = value;
}

// ---------------------------------------------------------------------------
// State

bool CSkyEngine::SetJd(double jd_ut) {
    // ERFA's calendar runs from -4799; the Delta T model grows meaningless
    // long before that, so keep to +-10000 years.
    if (!std::isfinite(jd_ut) || jd_ut < -1931000.0 || jd_ut > 5373000.0) return false;
    m_jd = jd_ut;
    TimeOrPlaceChanged();
    return true;
}

bool CSkyEngine::SetTimezone(double hours) {
    if (!std::isfinite(hours) || hours < -14.0 || hours > 14.0) return false;
    m_tz = hours;
    m_events.clear();  // the local day moved
    return true;
}

bool CSkyEngine::SetPlace(double longitude_deg, double latitude_deg, double height_m) {
    if (!std::isfinite(longitude_deg) || !std::isfinite(latitude_deg) || !std::isfinite(height_m) ||
        std::fabs(latitude_deg) > 90.0 || longitude_deg < -180.0 || longitude_deg > 360.0 ||
        height_m < -12000.0 || height_m > 100000.0) {
        return false;
    }
    m_longitude = longitude_deg > 180.0 ? longitude_deg - 360.0 : longitude_deg;
    m_latitude = latitude_deg;
    m_height = height_m;
    TimeOrPlaceChanged();
    return true;
}

void CSkyEngine::TimeOrPlaceChanged() {
    m_context.reset();
    m_earth_valid = false;
    m_positions.clear();
    m_events.clear();
}

void CSkyEngine::UpdateDate(tagADATE* date) {
    if (date) SetJd(vexacl::GetJd(*date));
}

void CSkyEngine::SetPickedStar(const CString& star_id) {
    m_picked_star = star_id;
    m_resolved.erase(u"star.xno0");
    m_positions.erase(u"star.xno0");
    m_events.erase(u"star.xno0");
}

tagADATE CSkyEngine::LocalDate() const {
    tagADATE d = vexacl::JdToDate2(m_jd + m_tz / 24.0);
    d.zone = m_tz;
    return d;
}

const astrometry::AstrometryContext& CSkyEngine::Context() {
    if (!m_context) {
        m_context = std::make_unique<astrometry::AstrometryContext>(
            m_jd, astrometry::Observer{m_longitude, m_latitude, m_height});
    }
    return *m_context;
}

// ---------------------------------------------------------------------------
// Commands

CString CSkyEngine::Doit(const CString& command) {
    if (command.GetLength() > sky::kMaxCommandLength) return CString();
    CString reply;
    for (const CString& text : sky::SplitStatements(command)) {
        const sky::Statement statement = sky::ParseStatement(text);
        if (statement.kind == sky::Statement::Kind::Empty) continue;
        reply = Execute(statement);
    }
    return reply;
}

CString CSkyEngine::Execute(const sky::Statement& s) {
    switch (s.kind) {
        case sky::Statement::Kind::Query:
            return Query(s.target);
        case sky::Statement::Kind::Assignment:
            return Assign(s.target, s.value);
        case sky::Statement::Kind::Default: {
            const CString path = Lower(s.target);
            m_defaults[path] = s.value;
            // A default of a selection setting is also its value from now on.
            if (m_values.count(path)) m_values[path] = s.value;
            return CString();
        }
        case sky::Statement::Kind::Verb:
            // "Show Sky", "Show Stellar", "Calc Stellar", "Play Blink(...)":
            // there is nothing to draw here, and the positions are computed
            // on demand, so every verb is accepted with the empty reply.
            return CString();
        default:
            return CString();
    }
}

CString CSkyEngine::Assign(const CString& path, const CString& value) {
    const CString lower = Lower(path);
    const CStkStr v(value);
    if (lower == u"time") {
        // Time = LST(year, month, day, hour): local standard time.
        CLumProperty call(value);
        if (!call.Same(0, u"LST")) return CString();
        tagADATE d;
        d.year = call.atoi(1);
        d.month = call.atoi(2);
        d.day = call.atoi(3);
        d.hour = call.atoi(4);
        d.zone = m_tz;
        const double jd = vexacl::GetJd(d);
        if (jd != 0.0) SetJd(jd);
        return CString();
    }
    if (lower == u"time.jd") {
        if (v.IsNum()) SetJd(v.atof());
    } else if (lower == u"time.timezone") {
        if (v.IsNum()) SetTimezone(v.atof());
    } else if (lower == u"location.longitude") {
        if (v.IsNum()) SetPlace(v.atof(), m_latitude, m_height);
    } else if (lower == u"location.latitude") {
        if (v.IsNum()) SetPlace(m_longitude, v.atof(), m_height);
    } else if (lower == u"location.altitude") {
        if (v.IsNum()) SetPlace(m_longitude, m_latitude, v.atof());
    } else if (m_values.count(lower)) {
        // Truth values are kept in one spelling.
        m_values[lower] = v.IsTrue() && !v.IsNum()    ? CString(u"TRUE")
                          : v.IsFalse() && !v.IsNum() ? CString(u"FALSE")
                                                      : value;
        if (StartsWith(lower, u"measure.") || StartsWith(lower, u"clickdata.mark")) {
            // Constellations take their place from the mark.
            m_resolved.clear();
            m_positions.clear();
            m_events.clear();
        }
    }
    return CString();
}

CString CSkyEngine::StateValue(const CString& lower, bool* found) {
    *found = true;
    if (lower == u"time.jd") return Number(m_jd, kJdDecimals);
    if (lower == u"time.timezone") return Number(m_tz, 4);
    // Object queries pass through here too: the calendar is only worked out
    // for the time fields.
    const tagADATE local =
        StartsWith(lower, u"time.") || StartsWith(lower, u"lst(") ? LocalDate() : tagADATE{};
    // The calendar fields are those of the local standard time, so that
    // "Time = LST(...)" of the same fields gives the same hour back.
    if (lower == u"time.year" || lower == u"lst(time.year)") return Integer(local.year);
    if (lower == u"time.month" || lower == u"lst(time.month)") return Integer(local.month);
    if (lower == u"time.day" || lower == u"lst(time.day)") return Integer(local.day);
    if (lower == u"time.hour" || lower == u"lst(time.hour)") return Integer(local.hour);
    if (lower == u"time.minute" || lower == u"lst(time.minute)") return Integer(local.minute);
    if (lower == u"time.second" || lower == u"lst(time.second)") return Number(local.second, 3);
    if (lower == u"location.longitude") return Number(m_longitude, kAngleDecimals);
    if (lower == u"location.latitude") return Number(m_latitude, kAngleDecimals);
    if (lower == u"location.altitude") return Number(m_height, 3);
    if (lower == u"location.object") return Integer(kEarth);
    if (lower == u"location") {
        CString text;
        text.Format(u"Earth(%.10f,%.10f,%.3f)", m_longitude, m_latitude, m_height);
        return text;
    }
    if (StartsWith(lower, u"location.solar.")) {
        // The observer's heliocentric place: the Earth's centre, ICRS axes,
        // au (eraEpv00; the observer's offset from the centre is 4e-5 au).
        if (!m_earth_valid) {
            double pvh[2][3], pvb[2][3];
            eraEpv00(vexacl::UtToDt(m_jd), 0.0, pvh, pvb);
            eraCp(pvh[0], m_earth_au);
            m_earth_valid = true;
        }
        const CString axis = lower.Mid(15);
        if (axis == u"x") return Number(m_earth_au[0], 12);
        if (axis == u"y") return Number(m_earth_au[1], 12);
        if (axis == u"z") return Number(m_earth_au[2], 12);
    }
    if (StartsWith(lower, u"adfsystem.")) return CString();  // no system is loaded
    const auto value = m_values.find(lower);
    if (value != m_values.end()) return value->second;
    *found = false;
    return CString();
}

CString CSkyEngine::Query(const CString& expression) {
    const CString lower = Lower(expression);
    bool found = false;
    CString reply = StateValue(lower, &found);
    if (found) return reply;

    CString identifier, suffix;
    if (!SplitObjectPath(expression, &identifier, &suffix)) return CString();
    // A text asks for one object a hundred times: resolve it once.
    const CString key = Lower(identifier);
    auto known = m_resolved.find(key);
    if (known == m_resolved.end()) known = m_resolved.emplace(key, Resolve(identifier)).first;
    if (!known->second) return CString();
    return ObjectProperty(*known->second, suffix);
}

// ---------------------------------------------------------------------------
// Identifiers

bool CSkyEngine::SplitObjectPath(const CString& path, CString* identifier, CString* suffix) const {
    const CString lower = Lower(path);
    // Paths that stand for another object: the ends of the measuring line
    // and the clicked mark hold an identifier.
    for (const char16_t* holder : {u"measure.origin", u"measure.end", u"clickdata.mark"}) {
        const CString h(holder);
        if (StartsWith(lower, holder) && lower.GetAt(h.GetLength()) == u'.') {
            const auto held = m_values.find(h);
            if (held == m_values.end() || held->second.IsEmpty()) return false;
            *identifier = held->second;
            *suffix = path.Mid(h.GetLength());
            return true;
        }
    }
    // A call form carries its arguments: Equatorial(ra,dec).position.RA
    const int paren = path.Find(u'(');
    const int dot = path.Find(u'.');
    if (paren >= 0 && (dot < 0 || paren < dot)) {
        const int close = path.Find(u')', paren);
        if (close < 0) return false;
        *identifier = path.Left(close + 1);
        *suffix = path.Mid(close + 1);
        return true;
    }
    // Dotted identifiers: the class and one name, or the class, a
    // sub-catalogue and a name.
    CLumProperty parts(path);
    int components = 2;
    if (parts.Same(0, u"star") &&
        (parts.Same(1, u"ExtraSolarPlanet") || parts.Same(1, u"GCVS") || parts.Same(1, u"WDS"))) {
        components = 3;
    }
    int cut = -1;
    for (int k = 0; k < components; ++k) {
        cut = path.Find(u'.', cut + 1);
        if (cut < 0) {
            if (k == components - 1) {
                *identifier = path;
                suffix->Empty();
                return true;
            }
            return false;
        }
    }
    *identifier = path.Left(cut);
    *suffix = path.Mid(cut);
    return true;
}

std::optional<CSkyEngine::Object> CSkyEngine::Resolve(const CString& identifier) const {
    CLumProperty parts(identifier);
    Object o;
    o.id = identifier;
    const CString name = parts.GetParam(1).GetText();
    auto fixed_place = [&o](double ra_deg, double dec_deg) {
        o.has_place = true;
        o.place = astrometry::CatalogStar{};
        o.place.ra_deg = ra_deg;
        o.place.dec_deg = dec_deg;
    };

    if (parts.Same(0, u"star")) {
        const bool slot = name.Left(3).CompareNoCase(u"XNO") == 0;
        const SkyStar* star = m_catalog->StarById(slot ? m_picked_star : name);
        if (!star || !parts.IsEmpty(2)) return std::nullopt;
        o.kind = Object::Kind::Star;
        o.star = star;
        o.picked = slot;
        o.has_place = true;
        o.place.ra_deg = star->ra_deg;
        o.place.dec_deg = star->dec_deg;
        o.place.pm_ra_cosdec_mas_yr = star->pmra_mas_yr.value_or(0.0);
        o.place.pm_dec_mas_yr = star->pmdec_mas_yr.value_or(0.0);
        o.place.parallax_mas = MeasuredParallaxMas(*star).value_or(0.0);
        return o;
    }
    if (parts.Same(0, u"deepskyobject") && name.Left(3).CompareNoCase(u"PGC") == 0) {
        const CStkStr number(name.Mid(3));
        const SkyDeepSky* dso = number.IsNum() ? m_catalog->DeepSkyByPgc(number.atoi()) : nullptr;
        if (!dso) return std::nullopt;
        o.kind = Object::Kind::Pgc;
        o.dso = dso;
        fixed_place(dso->ra_deg, dso->dec_deg);
        return o;
    }
    if (parts.Same(0, u"deepsky") || parts.Same(0, u"deepskyobject")) {
        const SkyDeepSky* dso = m_catalog->DeepSkyById(name);
        if (!dso) return std::nullopt;
        o.kind = Object::Kind::DeepSky;
        o.dso = dso;
        fixed_place(dso->ra_deg, dso->dec_deg);
        return o;
    }
    if (parts.Same(0, u"MagellanicCloud")) {
        const SkyMagellanicCloud* cloud = m_catalog->MagellanicById(name);
        if (!cloud) return std::nullopt;
        o.kind = Object::Kind::Magellanic;
        o.cloud = cloud;
        fixed_place(cloud->ra_deg, cloud->dec_deg);
        return o;
    }
    if (parts.Same(0, u"Constellation")) {
        const SkyConstellation* constellation = m_catalog->ConstellationByAbbr(name);
        if (!constellation) return std::nullopt;
        o.kind = Object::Kind::Constellation;
        o.constellation = constellation;
        // A constellation is where the user clicked in it: the mark.
        const auto mark = m_values.find(u"clickdata.mark");
        if (mark != m_values.end() && !mark->second.IsEmpty() &&
            Lower(mark->second) != Lower(identifier)) {
            if (const auto marked = Resolve(mark->second); marked && marked->has_place) {
                o.has_place = true;
                o.place = marked->place;
                return o;
            }
        }
        // Without a mark: the mean direction of the stars that bear its
        // Bayer or Flamsteed designations, near the middle of its figure.
        double sum[3] = {0.0, 0.0, 0.0};
        for (const SkyStar& star : m_catalog->Stars()) {
            if (star.constellation.CompareNoCase(constellation->abbr) != 0) continue;
            double unit[3];
            eraS2c(star.ra_deg * ERFA_DD2R, star.dec_deg * ERFA_DD2R, unit);
            for (int k = 0; k < 3; ++k) sum[k] += unit[k];
        }
        if (eraPm(sum) > 0.0) {
            double ra = 0.0, dec = 0.0;
            eraC2s(sum, &ra, &dec);
            fixed_place(eraAnp(ra) * ERFA_DR2D, dec * ERFA_DR2D);
        }
        return o;
    }
    if (parts.Same(0, u"Equatorial")) {
        if (!parts.IsNum(1) || !parts.IsNum(2)) return std::nullopt;
        const double ra_h = parts.atof(1), dec = parts.atof(2);
        if (!std::isfinite(ra_h) || !std::isfinite(dec) || std::fabs(dec) > 90.0) {
            return std::nullopt;
        }
        o.kind = Object::Kind::Point;
        fixed_place(vexacl::degmal(ra_h * 15.0), dec);
        return o;
    }
    return std::nullopt;
}

// ---------------------------------------------------------------------------
// Properties

const astrometry::StarPositions& CSkyEngine::Positions(const Object& object) {
    const CString key = Lower(object.id);
    auto it = m_positions.find(key);
    if (it == m_positions.end()) {
        it = m_positions.emplace(key, astrometry::ComputeStarPositions(object.place, Context()))
                 .first;
    }
    return it->second;
}

const astrometry::RiseTransitSet& CSkyEngine::Events(const Object& object) {
    const CString key = Lower(object.id);
    auto it = m_events.find(key);
    if (it == m_events.end()) {
        it = m_events.emplace(key, astrometry::StarRiseTransitSet(object.place, Context(), m_tz))
                 .first;
    }
    return it->second;
}

CString CSkyEngine::ConstellationOf(double ra_deg, double dec_deg) const {
    const astrometry::EquatorialDeg b1875 = astrometry::ToB1875(ra_deg, dec_deg);
    const SkyConstellation* c = m_catalog->ConstellationAtB1875(b1875.ra_deg, b1875.dec_deg);
    return c ? c->abbr : CString(u"*");
}

CString CSkyEngine::PositionProperty(const Object& object, const CString& s, bool* found) {
    *found = true;
    const bool positional = StartsWith(s, u".position.") || StartsWith(s, u".jd.");
    if (!positional) {
        *found = false;
        return CString();
    }
    if (!object.has_place) return u"*";
    if (s == u".position.constellation") {
        return ConstellationOf(object.place.ra_deg, object.place.dec_deg);
    }
    if (StartsWith(s, u".jd.")) {
        const astrometry::RiseTransitSet& events = Events(object);
        const std::vector<double>* list = s == u".jd.rise"      ? &events.rise_jd_ut
                                          : s == u".jd.transit" ? &events.transit_jd_ut
                                          : s == u".jd.set"     ? &events.set_jd_ut
                                                                : nullptr;
        if (!list) {
            *found = false;
            return CString();
        }
        if (!events.ok || list->empty()) return u"*";
        CString text;
        for (double jd : *list) {
            if (!text.IsEmpty()) text += u',';
            text += Number(jd, kJdDecimals);
        }
        return text;
    }

    const astrometry::StarPositions& p = Positions(object);
    if (!p.ok) return u"*";
    struct Entry {
        const char16_t* suffix;
        double value;
        bool hours;
    };
    const Entry entries[] = {
        {u".position.ra", p.icrs.ra_h, true},
        {u".position.dec", p.icrs.dec_deg, false},
        {u".position.equatorialdateapp.ra", p.apparent.ra_h, true},
        {u".position.equatorialdateapp.dec", p.apparent.dec_deg, false},
        {u".position.equatorialb1950.ra", p.b1950.ra_h, true},
        {u".position.equatorialb1950.dec", p.b1950.dec_deg, false},
        {u".position.ecliptical.lambda", p.ecliptic_mean_of_date.lon_deg, false},
        {u".position.ecliptical.beta", p.ecliptic_mean_of_date.lat_deg, false},
        {u".position.eclipticdateapp.lambda", p.ecliptic_true_of_date.lon_deg, false},
        {u".position.eclipticdateapp.beta", p.ecliptic_true_of_date.lat_deg, false},
        {u".position.eclipticj2000.lambda", p.ecliptic_j2000.lon_deg, false},
        {u".position.eclipticj2000.beta", p.ecliptic_j2000.lat_deg, false},
        {u".position.galactical.longitude", p.galactic.lon_deg, false},
        {u".position.galactical.latitude", p.galactic.lat_deg, false},
        {u".position.azimuth", p.horizon.azimuth_deg, false},
        {u".position.altitude", p.horizon.altitude_deg, false},
    };
    for (const Entry& e : entries) {
        if (s == e.suffix) return Number(e.value, kAngleDecimals);
    }
    *found = false;
    return CString();
}

CString CSkyEngine::ObjectProperty(const Object& object, const CString& suffix) {
    const CString s = Lower(suffix);
    bool found = false;
    CString reply = PositionProperty(object, s, &found);
    if (found) return reply;

    switch (object.kind) {
        case Object::Kind::Star:
            return StarProperty(*object.star, s, object.picked);
        case Object::Kind::DeepSky:
            return DeepSkyProperty(*object.dso, s, false);
        case Object::Kind::Pgc:
            return DeepSkyProperty(*object.dso, s, true);
        case Object::Kind::Magellanic:
            if (s == u".name") {
                return object.cloud->name_ja.IsEmpty() ? object.cloud->name_en
                                                       : object.cloud->name_ja;
            }
            if (s == u".englishname") return object.cloud->name_en;
            return CString();
        case Object::Kind::Constellation:
            if (s == u".name") return object.constellation->name_ja;
            if (s == u".englishname") return object.constellation->name;
            if (s == u".abbreviation") return object.constellation->abbr;
            return CString();
        case Object::Kind::Point:
            return CString();
    }
    return CString();
}

CString CSkyEngine::StarProperty(const SkyStar& star, const CString& s, bool numbered) {
    auto designation = [&star]() {
        CString text;
        if (star.hip > 0) {
            text.Format(u"HIP %d", star.hip);
        } else if (star.hd > 0) {
            text.Format(u"HD %d", star.hd);
        } else {
            text = star.id;
        }
        return text;
    };
    if (s == u".id") return numbered ? designation() : star.id;
    if (s == u".name") {
        if (!star.name_ja.IsEmpty()) return star.name_ja;
        if (!star.name_en.IsEmpty()) return star.name_en;
        return designation();
    }
    if (s == u".numberofplanets") return u"*";  // no planet data
    if (s == u".flamsteednumber") return star.flamsteed > 0 ? Integer(star.flamsteed) : CString();
    if (s == u".bayerletter") return star.bayer;
    if (s == u".constellation.abbreviation") return star.constellation;
    if (s == u".constellation.name") {
        const SkyConstellation* c = m_catalog->ConstellationByAbbr(star.constellation);
        return c ? c->name_ja : CString();
    }
    if (s == u".japanesename") return star.name_ja;
    if (s == u".englishname") return star.name_en;
    if (s == u".hipparcosnumber") return star.hip > 0 ? Integer(star.hip) : CString();
    if (s == u".magnitude") return Number(star.vmag, 2);
    if (s == u".propermotion.ra") return Number(star.pmra_mas_yr, 2);
    if (s == u".propermotion.dec") return Number(star.pmdec_mas_yr, 2);
    if (s == u".pi") return Number(MeasuredParallaxMas(star), 2);
    // No Tycho photometry in the data; B-V is the Johnson index.
    if (s == u".magnitude.bt" || s == u".magnitude.vt") return u"*";
    if (s == u".magnitude.bv") return Number(star.bv, 2);
    if (s == u".spectraltype") return star.spectral_type;
    if (s == u".variablename") return star.variable_name;
    if (s == u".crossid") {
        CString text;
        auto add = [&text](const char16_t* catalogue, int number) {
            if (number <= 0) return;
            if (!text.IsEmpty()) text += u'|';
            text.AppendFormat(u"%s %d", catalogue, number);
        };
        add(u"HD", star.hd);
        add(u"HR", star.hr);
        add(u"SAO", star.sao);
        return text;
    }
    return CString();  // .USNOA20Attr, .Summary: not in the data
}

CString CSkyEngine::DeepSkyProperty(const SkyDeepSky& dso, const CString& s, bool pgc) {
    const CString common = dso.name_ja.IsEmpty() ? dso.name_en : dso.name_ja;
    // One designation per object, whichever identifier reached it.
    if (s == u".number") return dso.id;
    if (pgc) {
        if (s == u".aliasname") return dso.id;
        if (s == u".vhelio" || s == u".type") return u"*";  // not in the data
        if (s == u".pa") return Number(dso.pa_deg, 0);
        // The sizes are given as the axes in minutes of arc, which is what
        // the text prints under these names.
        if (s == u".logd25") return Number(dso.major_arcmin, 2);
        if (s == u".logr25") return Number(dso.minor_arcmin, 2);
        if (s == u".bt") return Number(dso.magnitude, 2);
        if (s == u".name") return common;
        return CString();
    }
    if (s == u".catalognumber") return dso.id;
    if (s == u".subcatalognumber.strings") {
        CString list;
        for (const CString& d : dso.designations) {
            if (!list.IsEmpty()) list += u", ";
            list += d;
        }
        return list;
    }
    if (s == u".type.name") return dso.type_ja;
    if (s == u".name") return common;
    if (s == u".englishname") return dso.name_en;
    if (s == u".magnitude") return Number(dso.magnitude, 1);
    if (s == u".size") {
        if (!dso.major_arcmin) return u"*";
        CString text;
        if (dso.minor_arcmin && *dso.minor_arcmin != *dso.major_arcmin) {
            text.Format(u"%.1f'×%.1f'", *dso.major_arcmin, *dso.minor_arcmin);
        } else {
            text.Format(u"%.1f'", *dso.major_arcmin);
        }
        return text;
    }
    if (s == u".pgcnumber") return dso.pgc > 0 ? Integer(dso.pgc) : u"*";
    return CString();
}

// ---------------------------------------------------------------------------
// Searches

std::vector<CString> CSkyEngine::FindByName(const CString& text) const {
    std::vector<CString> out;
    for (const SkyRef& ref : m_catalog->Find(text)) out.push_back(EngineId(*m_catalog, ref));
    return out;
}

std::vector<std::pair<CString, double>> CSkyEngine::FindNear(double ra_h, double dec_deg,
                                                             double radius_deg, int limit) const {
    std::vector<std::pair<CString, double>> out;
    for (const SkyNearby& near : m_catalog->Nearest(ra_h * 15.0, dec_deg, radius_deg, limit)) {
        out.emplace_back(EngineId(*m_catalog, near.ref), near.separation_deg);
    }
    return out;
}
