#include "sky/sky_engine.h"

#include <erfa.h>
#include <erfam.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <limits>

#include "engine/stkstr.h"
#include "host/vexacl.h"
#include "sky/engine_reply.h"
#include "sky/solar_extras.h"
#include "sky/user_objects.h"

namespace {

using namespace sky::reply;

bool IsAsciiDigit(std::u16string_view text, size_t at) {
    return at < text.size() && text[at] >= u'0' && text[at] <= u'9';
}

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Resolved identifiers kept at most; a text asks about one or two.
constexpr size_t kMaxResolved = 4096;

double NowJd() {
    using namespace std::chrono;
    const double unix_s = duration<double>(system_clock::now().time_since_epoch()).count();
    return 2440587.5 + unix_s / 86400.0;
}

}  // namespace

CString CSkyEngine::EngineId(const CSkyCatalog& catalog, const SkyRef& ref) {
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

CSkyEngine::CSkyEngine(std::shared_ptr<const CSkyCatalog> catalog)
    : m_catalog(std::move(catalog)), m_jd(NowJd()), m_user(std::make_shared<sky::UserObjects>()) {}

// Settable texts start at their table's values: m_values holds only those
// set since, so that an engine costs nothing to make.
const CString* CSkyEngine::SettableValue(const CString& lowerPath) const {
    const StatePath* path = FindStatePath(lowerPath.view());
    if (!path || !path->settable) return nullptr;
    const auto set = m_values.find(lowerPath);
    return set != m_values.end() ? &set->second : &path->initial;
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
    m_solar.reset();
    m_context.reset();
    m_positions.clear();
    m_events.clear();
    m_sightings.clear();
}

void CSkyEngine::UpdateDate(tagADATE* date) {
    if (date) SetJd(vexacl::GetJd(*date));
}

void CSkyEngine::SetPickedStar(const CString& starId) {
    m_pickedStar = starId;
    m_resolved.erase(u"star.xno0");
    m_lastObject = nullptr;
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

solar::SolarSystem& CSkyEngine::Solar() {
    if (!m_solar) {
        m_solar = std::make_unique<solar::SolarSystem>(Context(), &m_catalog->SmallBodies());
    }
    return *m_solar;
}

// The observer's heliocentric place: the Earth's centre now, ICRS axes, au
// (the observer's offset from the centre is 4e-5 au).
std::array<double, 3> CSkyEngine::EarthAu() {
    if (!Context().ok()) return {kNaN, kNaN, kNaN};
    const double(&earth)[3] = Context().EarthHeliocentricAu();
    return {earth[0], earth[1], earth[2]};
}

// ---------------------------------------------------------------------------
// Commands

CString CSkyEngine::Doit(const CString& command) {
    if (command.GetLength() > sky::kMaxCommandLength) return CString();
    // Most commands are one query: no list of statements for them.
    if (command.Find(u';') < 0) {
        const sky::Statement statement = sky::ParseStatement(command);
        return statement.kind == sky::Statement::Kind::Empty ? CString() : Execute(statement);
    }
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
            if (SettableValue(path)) {
                m_values[path] = s.value;
                ValueChanged(path);
            }
            return CString();
        }
        case sky::Statement::Kind::Verb:
            // "Show Sky", "Show Stellar", "Calc Stellar", "Play Blink(...)":
            // the positions are computed on demand, so every verb is
            // accepted with the empty reply; drawing is the host window's,
            // which the show handler tells.
            if (StartsWith(Lower(s.target), u"show")) ShowRequested();
            return CString();
        default:
            return CString();
    }
}

CString CSkyEngine::Assign(const CString& path, const CString& value) {
    const CString lower = Lower(path);
    for (const Assignment& a : Assignments()) {
        if (lower == a.path) {
            a.set(*this, value);
            return CString();
        }
    }
    if (AssignUserObject(lower, value)) return CString();
    if (!SettableValue(lower)) return CString();
    // Truth values are kept in one spelling.
    const CStkStr v(value);
    m_values[lower] = v.IsTrue() && !v.IsNum()    ? CString(u"TRUE")
                      : v.IsFalse() && !v.IsNum() ? CString(u"FALSE")
                                                  : value;
    ValueChanged(lower);
    return CString();
}

void CSkyEngine::ShowRequested() {
    const bool centre = m_centreAssigned;
    m_centreAssigned = false;
    if (m_onShow) m_onShow(centre);
}

void CSkyEngine::ValueChanged(const CString& lowerPath) {
    if (lowerPath == u"view.center") m_centreAssigned = true;
    if (StartsWith(lowerPath, u"measure.") || StartsWith(lowerPath, u"clickdata.mark")) {
        // The ends of the measuring line and the mark stand for objects, and
        // constellations take their place from the mark.
        ForgetResolutions();
        m_positions.clear();
        m_events.clear();
    }
}

void CSkyEngine::ForgetResolutions() {
    m_resolved.clear();
    m_lastObject = nullptr;
}

// A path is resolved anew at each query: its object comes from m_resolved
// (or is the one the last query named), its getter from a table, which is
// cheaper than keeping every path asked (a full text asks about fifty, each
// once).
CString CSkyEngine::Query(const CString& expression) {
    const CString lower = Lower(expression);
    if (const StatePath* state = FindStatePath(lower.view())) {
        if (state->get) return state->get(*this);
        return *SettableValue(lower);
    }
    const std::optional<ResolvedPath> path = ResolvePath(expression, lower);
    if (!path || !path->get) return CString();
    return path->get(*this, *path->object);
}

// Nothing when the path stands for no object at all (an unknown identifier,
// an empty measuring-line end).
std::optional<CSkyEngine::ResolvedPath> CSkyEngine::ResolvePath(const CString& expression,
                                                                const CString& lower) {
    ResolvedPath out;
    if (ContinuesLastObject(lower, &out)) return out;
    CString identifier, suffix;
    if (!SplitObjectPath(expression, lower, &identifier, &suffix)) return std::nullopt;
    if (!m_lastObject || identifier.view() != m_lastIdentifier.view()) {
        const CString key = Lower(identifier);
        auto known = m_resolved.find(key);
        if (known == m_resolved.end()) {
            // A host that asks ever new objects must not grow the cache without end.
            if (m_resolved.size() >= kMaxResolved) ForgetResolutions();
            known = m_resolved.emplace(key, Resolve(identifier)).first;
        }
        if (!known->second) return std::nullopt;
        m_lastIdentifier = identifier;
        m_lastObject = &*known->second;
    }
    out.object = m_lastObject;
    out.get = FindGetter(out.object->kind, suffix.view());
    return out;
}

// The queries of one text name one object: a path that goes on from the
// last object's identifier to a suffix of its kind needs no cutting.
// Bodies of the solar system are left to the cut, for their identifiers
// nest ("solar.planet.mars" begins "solar.planet.mars.satellite.phobos").
bool CSkyEngine::ContinuesLastObject(const CString& lower, ResolvedPath* out) const {
    if (!m_lastObject || m_lastObject->kind == Object::Kind::Solar) return false;
    const std::u16string_view key = m_lastObject->key.view();
    const std::u16string_view text = lower.view();
    if (text.size() <= key.size() || text[key.size()] != u'.' || !text.starts_with(key)) {
        return false;
    }
    const Getter get = FindGetter(m_lastObject->kind, text.substr(key.size()));
    if (!get) return false;
    out->object = m_lastObject;
    out->get = get;
    return true;
}

// ---------------------------------------------------------------------------
// Identifiers

// Cuts an object path into its identifier (as written, or the one a holder
// path stands for) and its suffix in lower case.  `lower` is the path in
// lower case.
bool CSkyEngine::SplitObjectPath(const CString& path, const CString& lower, CString* identifier,
                                 CString* lowerSuffix) const {
    const std::u16string_view text = lower.view();
    // Paths that stand for another object: the ends of the measuring line
    // and the clicked mark hold an identifier.
    // (Views of known length: every query passes here.)
    using namespace std::string_view_literals;
    for (const std::u16string_view holder :
         {u"measure.origin"sv, u"measure.end"sv, u"clickdata.mark"sv}) {
        if (text.starts_with(holder) && text.size() > holder.size() &&
            text[holder.size()] == u'.') {
            const CString* held = SettableValue(CString(holder));
            if (!held || held->IsEmpty()) return false;
            *identifier = *held;
            *lowerSuffix = lower.Mid(static_cast<int>(holder.size()));
            return true;
        }
    }
    // A call form carries its arguments: Equatorial(ra,dec).position.RA
    const size_t paren = text.find(u'(');
    const size_t dot = text.find(u'.');
    if (paren != std::u16string_view::npos && (dot == std::u16string_view::npos || paren < dot)) {
        const size_t close = text.find(u')', paren);
        if (close == std::u16string_view::npos) return false;
        *identifier = path.Left(static_cast<int>(close + 1));
        *lowerSuffix = lower.Mid(static_cast<int>(close + 1));
        return true;
    }
    // Bodies of the solar system have identifiers of two to seven parts.
    if (const size_t length = SolarIdentifierLength(text)) {
        *identifier = path.Left(static_cast<int>(length));
        *lowerSuffix = lower.Mid(static_cast<int>(length));
        return true;
    }
    // Dotted identifiers: the class and one name, or the class, a
    // sub-catalogue and a name.
    if (const size_t length = WdsIdentifierLength(text)) {
        *identifier = path.Left(static_cast<int>(length));
        *lowerSuffix = lower.Mid(static_cast<int>(length));
        return true;
    }
    int components = 2;
    for (const std::u16string_view three :
         {u"star.extrasolarplanet."sv, u"star.gcvs."sv, u"star.supernova."sv, u"star.nova."sv}) {
        if (text.starts_with(three)) components = 3;
    }
    // The mosaic's own paths (MosaicOfField.Name) beside its frames'
    // (MosaicOfField.3.position.RA); an ADF object in the form
    // Adf.<system>.No<k> beside its system's paths (Adf.<system>.ObjectName).
    const std::u16string_view mosaic = u"mosaicoffield.";
    if (text.starts_with(mosaic) && !IsAsciiDigit(text, mosaic.size())) components = 1;
    if (text.starts_with(u"adf.")) {
        const size_t third = text.find(u'.', 4);
        if (third != std::u16string_view::npos && text.substr(third + 1).starts_with(u"no") &&
            IsAsciiDigit(text, third + 3)) {
            components = 3;
        }
    }
    size_t cut = std::u16string_view::npos;  // the first search starts at 0
    for (int k = 0; k < components; ++k) {
        cut = text.find(u'.', cut + 1);
        if (cut == std::u16string_view::npos) {
            if (k < components - 1) return false;
            *identifier = path;
            lowerSuffix->Empty();
            return true;
        }
    }
    *identifier = path.Left(static_cast<int>(cut));
    *lowerSuffix = lower.Mid(static_cast<int>(cut));
    return true;
}

std::optional<CSkyEngine::Object> CSkyEngine::Resolve(const CString& identifier) const {
    const CLumProperty parts(identifier);
    Object o;
    o.id = identifier;
    o.key = Lower(identifier);
    for (const IdentifierRule& rule : IdentifierRules()) {
        if (!parts.Same(0, rule.className)) continue;
        if (!rule.resolve(*this, parts, &o)) return std::nullopt;
        return o;
    }
    // An object of an ADF system, whose name is the user's choice.
    if (ResolveAdfByName(parts, &o)) return o;
    return std::nullopt;
}

void CSkyEngine::Object::SetStarPlace(const SkyStar& s) {
    hasPlace = true;
    place = CatalogPlaceOf(s);
}

void CSkyEngine::Object::SetFixedPlace(double raDeg, double decDeg) {
    hasPlace = true;
    place = astrometry::CatalogStar{};
    place.ra_deg = raDeg;
    place.dec_deg = decDeg;
}

// Where a constellation is: where the user clicked in it (the mark), else
// the mean direction of the stars that bear its Bayer or Flamsteed
// designations, near the middle of its figure.
void CSkyEngine::PlaceConstellation(Object* o) const {
    const CString* mark = SettableValue(u"clickdata.mark");
    if (mark && !mark->IsEmpty() && Lower(*mark) != o->key) {
        if (const auto marked = Resolve(*mark); marked && marked->hasPlace) {
            o->hasPlace = true;
            o->place = marked->place;
            return;
        }
    }
    double sum[3] = {0.0, 0.0, 0.0};
    for (const SkyStar& star : m_catalog->Stars()) {
        if (star.constellation.CompareNoCase(o->constellation->abbr) != 0) continue;
        double unit[3];
        eraS2c(star.ra_deg * ERFA_DD2R, star.dec_deg * ERFA_DD2R, unit);
        for (int k = 0; k < 3; ++k) sum[k] += unit[k];
    }
    if (eraPm(sum) > 0.0) {
        double ra = 0.0, dec = 0.0;
        eraC2s(sum, &ra, &dec);
        o->SetFixedPlace(eraAnp(ra) * ERFA_DR2D, dec * ERFA_DR2D);
    }
}

// ---------------------------------------------------------------------------
// Properties

// Spacecraft, meteor radiants and the frames of a mosaic that follows the
// horizon move with the time; every other object keeps the place it was
// resolved with.
std::optional<astrometry::CatalogStar> CSkyEngine::PlaceNow(const Object& object) {
    if (object.kind == Object::Kind::Meteor) return MeteorRadiantNow(object);
    if (object.kind == Object::Kind::Spacecraft) {
        const auto seen = sky::SightSpacecraft(*object.craft, Context());
        if (!seen) return std::nullopt;
        return seen->place;
    }
    if (object.kind == Object::Kind::MosaicFrame) return MosaicFramePlaceNow(object);
    if (!object.hasPlace) return std::nullopt;
    return object.place;
}

const astrometry::StarPositions& CSkyEngine::Positions(const Object& object) {
    if (object.kind == Object::Kind::Solar) return Solar().Place(object.body).positions;
    if (object.kind == Object::Kind::Satellite) return SatelliteSighting(object).positions;
    const CString& key = object.key;
    auto it = m_positions.find(key);
    if (it == m_positions.end()) {
        const auto place = PlaceNow(object);
        it = m_positions
                 .emplace(key, place ? astrometry::ComputeStarPositions(*place, Context())
                                     : astrometry::StarPositions{})
                 .first;
    }
    return it->second;
}

const astrometry::RiseTransitSet& CSkyEngine::Events(const Object& object) {
    if (object.kind == Object::Kind::Solar) return Solar().Events(object.body, m_tz);
    // A satellite rises and sets several times a day: none is answered.
    static const astrometry::RiseTransitSet kNone;
    if (object.kind == Object::Kind::Satellite) return kNone;
    const CString& key = object.key;
    auto it = m_events.find(key);
    if (it == m_events.end()) {
        const auto place = PlaceNow(object);
        it = m_events
                 .emplace(key, place ? astrometry::StarRiseTransitSet(*place, Context(), m_tz)
                                     : astrometry::RiseTransitSet{})
                 .first;
    }
    return it->second;
}

CString CSkyEngine::ConstellationOf(double ra_deg, double dec_deg) const {
    const astrometry::EquatorialDeg b1875 = astrometry::ToB1875(ra_deg, dec_deg);
    const SkyConstellation* c = m_catalog->ConstellationAtB1875(b1875.ra_deg, b1875.dec_deg);
    return c ? c->abbr : CString(u"*");
}

// ---------------------------------------------------------------------------
// Searches

std::vector<CString> CSkyEngine::FindByName(const CString& text) const {
    std::vector<CString> out = FindSolarByName(text);
    for (const SkyRef& ref : m_catalog->Find(text)) out.push_back(EngineId(*m_catalog, ref));
    for (CString& id : FindStarExtrasByName(text)) out.push_back(std::move(id));
    for (CString& id : FindSatellitesAndShowers(text)) out.push_back(std::move(id));
    return out;
}

std::vector<std::pair<CString, double>> CSkyEngine::FindNear(double ra_h, double dec_deg,
                                                             double radius_deg, int limit) {
    std::vector<std::pair<CString, double>> out;
    for (const SkyNearby& near : m_catalog->Nearest(ra_h * 15.0, dec_deg, radius_deg, limit)) {
        out.emplace_back(EngineId(*m_catalog, near.ref), near.separation_deg);
    }
    AddSolarNear(ra_h * 15.0, dec_deg, radius_deg, &out);
    std::stable_sort(out.begin(), out.end(),
                     [](const auto& a, const auto& b) { return a.second < b.second; });
    if (limit >= 0 && out.size() > static_cast<size_t>(limit)) out.resize(limit);
    return out;
}
