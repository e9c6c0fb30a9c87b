// The sky engine's further stars: variable stars (star.GCVS.*), double stars
// (star.WDS.*), planets of other stars (star.ExtraSolarPlanet.*), historic
// supernovae and novae (Star.Supernova.*, Star.Nova.*) and the faint stars
// of the picked-star slot, answered from sky/star_extras.h.
//
// Units of the replies: magnitudes in the catalogue's band; a variable's
// epoch a Julian Day (heliocentric, as the GCVS gives it) and its period in
// days; a double star's measure as year, position angle in degrees from
// north through east and separation in seconds of arc, and its proper
// motions in seconds of arc per year (the double-star text's unit); an
// exoplanet's period in days and semi-major axis in au.
#include <string_view>

#include "engine/stkstr.h"
#include "host/vexacl.h"
#include "sky/engine_reply.h"
#include "sky/sky_engine.h"

using namespace sky::reply;

namespace {

// Parameter 1 of a star identifier that names one of the further classes.
enum class StarClass { None, Variable, Double, Planet, Supernova, Nova };

StarClass ClassOf(const CLumProperty& parts) {
    const std::pair<const char16_t*, StarClass> classes[] = {
        {u"GCVS", StarClass::Variable},
        {u"WDS", StarClass::Double},
        {u"ExtraSolarPlanet", StarClass::Planet},
        {u"Supernova", StarClass::Supernova},
        {u"Nova", StarClass::Nova},
    };
    for (const auto& [name, which] : classes) {
        if (parts.Same(1, name)) return which;
    }
    return StarClass::None;
}

// The name a star is best known by: its Japanese or English proper name,
// else its Bayer or Flamsteed designation, else its HIP number.
CString StarLabel(const SkyStar& s) {
    if (!s.name_ja.IsEmpty()) return s.name_ja;
    if (!s.name_en.IsEmpty()) return s.name_en;
    if (!s.bayer.IsEmpty()) return s.bayer + u" " + s.constellation;
    CString text;
    if (s.flamsteed > 0) {
        text.Format(u"%d %s", s.flamsteed, s.constellation);
    } else {
        text.Format(u"HIP %d", s.hip);
    }
    return text;
}

// A text kept as the catalogue wrote it, "*" when it has none.
CString OrNone(const CString& text) {
    return text.IsEmpty() ? CString(u"*") : text;
}

// A proper motion in mas/yr as seconds of arc per year.
CString ArcsecPerYear(const std::optional<double>& masPerYear) {
    return masPerYear ? Number(*masPerYear / 1000.0, 6) : CString(u"*");
}

}  // namespace

size_t CSkyEngine::WdsIdentifierLength(std::u16string_view lower) {
    constexpr std::u16string_view prefix = u"star.wds.";
    if (!lower.starts_with(prefix)) return 0;
    const size_t system = lower.find(u'.', prefix.size());
    if (system == std::u16string_view::npos) return lower.size();
    const std::u16string_view next = lower.substr(system + 1);
    // A component is "hip" and digits; a system's suffix is never that.
    size_t k = 3;
    if (!next.starts_with(u"hip")) return system;
    while (k < next.size() && next[k] >= u'0' && next[k] <= u'9') ++k;
    if (k == 3 || (k < next.size() && next[k] != u'.')) return system;
    return system + 1 + k;
}

const SkyStar* CSkyEngine::PickedStar() const {
    if (const SkyStar* star = m_catalog->StarById(m_pickedStar)) return star;
    return m_catalog->Extras().FaintById(m_pickedStar);
}

std::optional<bool> CSkyEngine::ResolveStarExtra(const CSkyEngine& e, const CLumProperty& parts,
                                                 Object* o) {
    using K = Object::Kind;
    const StarClass which = ClassOf(parts);
    if (which == StarClass::None) return std::nullopt;
    const SkyStarExtras& extras = e.m_catalog->Extras();
    const CString name = parts.GetParam(2).GetText();
    switch (which) {
        case StarClass::Variable:
            o->variable = extras.VariableById(name);
            if (!o->variable || !parts.IsEmpty(3)) return false;
            o->kind = K::VariableStar;
            o->star = e.m_catalog->StarByHip(o->variable->hip);
            break;
        case StarClass::Double: {
            const std::vector<const SkyDoubleStar*> system = extras.System(name);
            if (system.empty() || !parts.IsEmpty(4)) return false;
            o->kind = K::DoubleSystem;
            o->pair = system.front();
            if (!parts.IsEmpty(3)) {
                const CString component = parts.GetParam(3).GetText();
                o->pair = nullptr;
                for (const SkyDoubleStar* d : system) {
                    if (component.CompareNoCase(u"HIP" + Integer(d->hip)) == 0) o->pair = d;
                }
                if (!o->pair) return false;
                o->kind = K::DoubleStar;
            }
            o->star = e.m_catalog->StarByHip(o->pair->hip);
            break;
        }
        case StarClass::Planet:
            o->planet = extras.ExoplanetById(name);
            if (!o->planet || !parts.IsEmpty(3)) return false;
            o->kind = K::ExoPlanet;
            o->star = e.m_catalog->StarByHip(o->planet->hostHip);
            break;
        case StarClass::Supernova:
        case StarClass::Nova:
            o->transient = extras.TransientById(name);
            if (!o->transient || !parts.IsEmpty(3) ||
                o->transient->supernova != (which == StarClass::Supernova))
                return false;
            o->kind = K::Transient;
            o->SetFixedPlace(o->transient->raDeg, o->transient->decDeg);
            return true;
        case StarClass::None:
            break;
    }
    // The tables refer only to stars of the catalogue (checked when loaded).
    if (!o->star) return false;
    o->SetStarPlace(*o->star);
    return true;
}

std::vector<CString> CSkyEngine::FindStarExtrasByName(const CString& text) const {
    std::vector<CString> out;
    const std::string key = CSkyCatalog::SearchKey(text.view());
    if (key.empty()) return out;
    const SkyStarExtras& extras = m_catalog->Extras();
    if (const SkyVariableStar* v = extras.VariableById(text)) {
        CString id = v->designation;
        id.Replace(u' ', u'_');
        out.push_back(u"star.GCVS." + id);
    }
    if (const SkyExoplanet* p = extras.ExoplanetById(text))
        out.push_back(u"star.ExtraSolarPlanet." + p->id);
    for (const SkyTransient& t : extras.Transients()) {
        for (const CString& name : {t.id, t.nameEn, t.nameJa, t.gcvs}) {
            if (CSkyCatalog::SearchKey(name.view()) != key) continue;
            out.push_back((t.supernova ? u"Star.Supernova." : u"Star.Nova.") + t.id);
            break;
        }
    }
    return out;
}

const CSkyEngine::KindTable& CSkyEngine::VariableStarTable() {
    static const KindTable table{
        Object::Kind::VariableStar,
        u"variable star",
        u"star.GCVS.δ_Cep",
        {
            {u".name", [](CSkyEngine&, const Object& o) { return o.variable->designation; }},
            {u".hipparcosnumber",
             [](CSkyEngine&, const Object& o) { return Integer(o.star->hip); }},
            {u".magnitude.maximum",
             [](CSkyEngine&, const Object& o) { return Number(o.variable->maxMag, 2); }},
            {u".magnitude.minimum",
             [](CSkyEngine&, const Object& o) { return Number(o.variable->minMag, 2); }},
            {u".magnitude.band", [](CSkyEngine&, const Object& o) { return o.variable->band; }},
            {u".variabletype", [](CSkyEngine&, const Object& o) { return o.variable->type; }},
            {u".spectraltype",
             [](CSkyEngine&, const Object& o) {
                 return o.variable->spectralType.IsEmpty() ? o.star->spectral_type
                                                           : o.variable->spectralType;
             }},
            {u".epoch", [](CSkyEngine&, const Object& o) { return OrNone(o.variable->epochJd); }},
            // The GCVS extract has no novae among the catalogue's stars.
            {u".year", [](CSkyEngine&, const Object&) { return CString(u"*"); }},
            {u".period",
             [](CSkyEngine&, const Object& o) { return OrNone(o.variable->periodDays); }},
            {u".m_md",
             [](CSkyEngine&, const Object& o) { return OrNone(o.variable->risePercent); }},
            // The star's other names: proper name, Flamsteed number, HD.
            {u".otherdesign",
             [](CSkyEngine&, const Object& o) {
                 const SkyStar& s = *o.star;
                 std::vector<CString> names;
                 if (!s.name_en.IsEmpty()) names.push_back(s.name_en);
                 if (s.flamsteed > 0)
                     names.push_back(Integer(s.flamsteed) + u" " + s.constellation);
                 if (s.hd > 0) names.push_back(u"HD " + Integer(s.hd));
                 return Joined(names, u", ");
             }},
        }};
    return table;
}

const CSkyEngine::KindTable& CSkyEngine::DoubleSystemTable() {
    // The measure of the system: the WDS's last one, of the pair it lists
    // last.  The data holds no first measure, discoverer, count or BD number.
    static const KindTable table{
        Object::Kind::DoubleSystem,
        u"double-star system",
        u"star.WDS.13239+5456",
        {
            {u".name", [](CSkyEngine&, const Object& o) { return u"WDS " + o.pair->wds; }},
            // The system's stars that the catalogue has, when more than one.
            {u".components",
             [](CSkyEngine& e, const Object& o) {
                 std::vector<CString> ids;
                 for (const SkyDoubleStar* d : e.m_catalog->Extras().System(o.pair->wds))
                     ids.push_back(u"HIP" + Integer(d->hip));
                 return ids.size() > 1 ? Joined(ids, u",") : CString();
             }},
            {u".magnitude", [](CSkyEngine&, const Object& o) { return Number(o.star->vmag, 2); }},
            {u".obscount", [](CSkyEngine&, const Object&) { return CString(u"*"); }},
            {u".firstobs.epoch", [](CSkyEngine&, const Object&) { return CString(u"*"); }},
            {u".firstobs.theta", [](CSkyEngine&, const Object&) { return CString(u"*"); }},
            {u".firstobs.rho", [](CSkyEngine&, const Object&) { return CString(u"*"); }},
            // A measure lacks its year when it lacks a part: a text would
            // print the missing angle or separation as 0.
            {u".lastobs.epoch",
             [](CSkyEngine&, const Object& o) {
                 const SkyDoubleStar& d = *o.pair;
                 return d.lastPaDeg && d.lastSepArcsec ? Number(d.lastYear, 0) : CString(u"*");
             }},
            {u".lastobs.theta",
             [](CSkyEngine&, const Object& o) { return Number(o.pair->lastPaDeg, 0); }},
            {u".lastobs.rho",
             [](CSkyEngine&, const Object& o) { return Number(o.pair->lastSepArcsec, 1); }},
        }};
    return table;
}

const CSkyEngine::KindTable& CSkyEngine::DoubleStarTable() {
    static const KindTable table{
        Object::Kind::DoubleStar,
        u"double star",
        u"star.WDS.13239+5456.HIP65378",
        {
            {u".name",
             [](CSkyEngine&, const Object& o) {
                 return StarLabel(*o.star) + u" (WDS " + o.pair->wds + u")";
             }},
            {u".componentname",
             [](CSkyEngine&, const Object& o) { return u"HIP" + Integer(o.star->hip); }},
            {u".hipparcosnumber",
             [](CSkyEngine&, const Object& o) { return Integer(o.star->hip); }},
            {u".magnitude", [](CSkyEngine&, const Object& o) { return Number(o.star->vmag, 2); }},
            {u".spectraltype", [](CSkyEngine&, const Object& o) { return o.star->spectral_type; }},
            {u".propermotion.ra",
             [](CSkyEngine&, const Object& o) { return ArcsecPerYear(o.star->pmra_mas_yr); }},
            {u".propermotion.dec",
             [](CSkyEngine&, const Object& o) { return ArcsecPerYear(o.star->pmdec_mas_yr); }},
        }};
    return table;
}

const CSkyEngine::KindTable& CSkyEngine::ExoPlanetTable() {
    static const KindTable table{
        Object::Kind::ExoPlanet,
        u"exoplanet",
        u"star.ExtraSolarPlanet.HIP113357b",
        {
            {u".name",
             [](CSkyEngine&, const Object& o) {
                 const SkyExoplanet& p = *o.planet;
                 return p.iauName.IsEmpty() ? p.name : p.name + u" (" + p.iauName + u")";
             }},
            {u".orbitalperiod",
             [](CSkyEngine&, const Object& o) { return OrNone(o.planet->periodDays); }},
            {u".semimajoraxis",
             [](CSkyEngine&, const Object& o) { return OrNone(o.planet->semiMajorAxisAu); }},
            {u".eccentricity",
             [](CSkyEngine&, const Object& o) { return OrNone(o.planet->eccentricity); }},
            {u".mass",
             [](CSkyEngine&, const Object& o) { return Number(o.planet->massJupiter, 3); }},
            {u".radius",
             [](CSkyEngine&, const Object& o) { return Number(o.planet->radiusJupiter, 3); }},
            {u".discoveryyear",
             [](CSkyEngine&, const Object& o) { return Integer(o.planet->discovered); }},
            {u".hipparcosnumber",
             [](CSkyEngine&, const Object& o) { return Integer(o.star->hip); }},
        }};
    return table;
}

const CSkyEngine::KindTable& CSkyEngine::TransientTable() {
    // Seen now only as a faint remnant or star: no magnitude of the event.
    static const KindTable table{
        Object::Kind::Transient,
        u"supernova, nova",
        u"Star.Supernova.SN1572",
        {
            {u".name", [](CSkyEngine&, const Object& o) { return o.transient->nameJa; }},
            {u".japanesename", [](CSkyEngine&, const Object& o) { return o.transient->nameJa; }},
            {u".englishname", [](CSkyEngine&, const Object& o) { return o.transient->nameEn; }},
            {u".summary", [](CSkyEngine&, const Object& o) { return o.transient->summary; }},
            {u".numberofplanets", [](CSkyEngine&, const Object&) { return CString(u"*"); }},
            {u".magnitude", [](CSkyEngine&, const Object&) { return CString(u"*"); }},
            {u".variablename", [](CSkyEngine&, const Object& o) { return o.transient->gcvs; }},
            {u".crossid",
             [](CSkyEngine&, const Object& o) { return Joined(o.transient->crossIds, u"|"); }},
        }};
    return table;
}
