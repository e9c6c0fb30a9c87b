#include "sky/star_extras.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string_view>

#include "sky/tsv.h"

using sky::CTsvFile;
using sky::JoinPath;

namespace {

// The search key of an identifier part: "_" is a blank, as in "δ_Cep".
std::string IdKey(CString text) {
    text.Replace(u'_', u' ');
    return CSkyCatalog::SearchKey(text.view());
}

// A number kept as the catalogue writes it: empty, or a finite number.
bool NumberText(const CTsvFile& f, const CTsvFile::Column& c, CString* out, std::string* error) {
    std::optional<double> value;
    return f.Optional(c, &value, error) && f.Text(c, out, error);
}

// Opens `name` in `dir` when it is there; *present tells whether it was.
bool OpenOptional(CTsvFile* f, const std::string& dir, const char* name, bool* present,
                  std::string* error) {
    const std::string path = JoinPath(dir, name);
    *present = std::filesystem::exists(path);
    return !*present || f->Open(path, error);
}

bool KnownHip(const CTsvFile& f, const CTsvFile::Column& c, int hip, const CSkyCatalog& catalog,
              std::string* error) {
    return catalog.StarByHip(hip) || f.Fail(c, "no star with this HIP number in stars.tsv", error);
}

// The catalogues' ASCII abbreviations of the Greek letters, as GCVS names
// write them ("omi Cet" for "ο Cet").
constexpr std::pair<std::u16string_view, std::u16string_view> kGreek[] = {
    {u"alf", u"α"}, {u"alp", u"α"}, {u"bet", u"β"}, {u"gam", u"γ"}, {u"del", u"δ"}, {u"eps", u"ε"},
    {u"zet", u"ζ"}, {u"eta", u"η"}, {u"tet", u"θ"}, {u"the", u"θ"}, {u"iot", u"ι"}, {u"kap", u"κ"},
    {u"lam", u"λ"}, {u"mu", u"μ"},  {u"nu", u"ν"},  {u"ksi", u"ξ"}, {u"xi", u"ξ"},  {u"omi", u"ο"},
    {u"pi", u"π"},  {u"rho", u"ρ"}, {u"sig", u"σ"}, {u"tau", u"τ"}, {u"ups", u"υ"}, {u"phi", u"φ"},
    {u"khi", u"χ"}, {u"chi", u"χ"}, {u"psi", u"ψ"}, {u"ome", u"ω"},
};

// "omi_Cet" -> "ο_Cet", "alf1_Her" -> "α1_Her"; the text itself when its
// first word starts with no such abbreviation.
CString GreekForm(const CString& id) {
    const std::u16string_view text = id.view();
    const size_t end = text.find_first_of(u"_ ");
    if (end == std::u16string_view::npos) return id;
    const std::u16string_view head = text.substr(0, end);
    for (const auto& [ascii, greek] : kGreek) {
        if (head.size() < ascii.size()) continue;
        if (CString(head.substr(0, ascii.size())).CompareNoCase(CString(ascii)) != 0) continue;
        const std::u16string_view index = head.substr(ascii.size());
        if (!std::all_of(index.begin(), index.end(),
                         [](char16_t c) { return c >= u'0' && c <= u'9'; }))
            continue;
        return CString(greek) + CString(text.substr(ascii.size()));
    }
    return id;
}

}  // namespace

CString FaintStarId(double raDeg, double decDeg) {
    // Tenths of a second of time and whole seconds of arc, truncated.
    long tenths = static_cast<long>(std::floor(raDeg / 15.0 * 36000.0 + 1e-9)) % 864000;
    const int hours = static_cast<int>(tenths / 36000);
    tenths %= 36000;
    const int minutes = static_cast<int>(tenths / 600);
    tenths %= 600;
    long arcsec = static_cast<long>(std::floor(std::fabs(decDeg) * 3600.0 + 1e-9));
    const int degrees = static_cast<int>(arcsec / 3600);
    arcsec %= 3600;
    CString id;
    id.Format(u"KSJ%02d%02d%04.1f%c%02d%02d%02d", hours, minutes, tenths / 10.0,
              decDeg < 0.0 ? u'-' : u'+', degrees, static_cast<int>(arcsec / 60),
              static_cast<int>(arcsec % 60));
    return id;
}

bool SkyStarExtras::Load(const std::string& dir, const CSkyCatalog& catalog, std::string* error) {
    error->clear();
    SkyStarExtras next;
    if (!next.LoadVariables(dir, catalog, error) || !next.LoadDoubles(dir, catalog, error) ||
        !next.LoadExoplanets(dir, catalog, error) || !next.LoadTransients(dir, error) ||
        !next.LoadFaint(dir, error))
        return false;
    *this = std::move(next);
    return true;
}

bool SkyStarExtras::LoadVariables(const std::string& dir, const CSkyCatalog& catalog,
                                  std::string* error) {
    CTsvFile f;
    bool present = false;
    if (!OpenOptional(&f, dir, "variable_stars.tsv", &present, error)) return false;
    if (!present) return true;
    const CTsvFile::Column designation = f.Bind("designation"), hip = f.Bind("hip"),
                           type = f.Bind("type"), maxMag = f.Bind("max_mag"),
                           minMag = f.Bind("min_mag"), minFlag = f.Bind("min_flag"),
                           band = f.Bind("band"), epoch = f.Bind("epoch_jd"),
                           period = f.Bind("period_d"), rise = f.Bind("rise_pct"),
                           sptype = f.Bind("sptype");
    if (!f.ColumnsFound(error)) return false;
    m_variables.reserve(f.RowsAtMost());
    while (f.Next(error)) {
        SkyVariableStar& v = m_variables.emplace_back();
        CString flag;
        if (!f.Text(designation, &v.designation, error) || !f.Number(hip, &v.hip, error) ||
            !f.Text(type, &v.type, error) || !f.Optional(maxMag, &v.maxMag, error) ||
            !f.Optional(minMag, &v.minMag, error) || !f.Text(minFlag, &flag, error) ||
            !f.Text(band, &v.band, error) || !NumberText(f, epoch, &v.epochJd, error) ||
            !NumberText(f, period, &v.periodDays, error) ||
            !NumberText(f, rise, &v.risePercent, error) ||
            !f.Text(sptype, &v.spectralType, error) || !KnownHip(f, hip, v.hip, catalog, error))
            return false;
        if (v.designation.IsEmpty()) return f.Fail(designation, "empty designation", error);
        v.minIsLimit = flag == u"<";
    }
    return error->empty();
}

bool SkyStarExtras::LoadDoubles(const std::string& dir, const CSkyCatalog& catalog,
                                std::string* error) {
    CTsvFile f;
    bool present = false;
    if (!OpenOptional(&f, dir, "double_stars.tsv", &present, error)) return false;
    if (!present) return true;
    const CTsvFile::Column wds = f.Bind("wds"), hip = f.Bind("hip"), year = f.Bind("last_year"),
                           pa = f.Bind("last_pa_deg"), sep = f.Bind("last_sep_arcsec");
    if (!f.ColumnsFound(error)) return false;
    m_doubles.reserve(f.RowsAtMost());
    while (f.Next(error)) {
        SkyDoubleStar& d = m_doubles.emplace_back();
        if (!f.Text(wds, &d.wds, error) || !f.Number(hip, &d.hip, error) ||
            !f.Optional(year, &d.lastYear, error) || !f.Optional(pa, &d.lastPaDeg, error) ||
            !f.Optional(sep, &d.lastSepArcsec, error) || !KnownHip(f, hip, d.hip, catalog, error))
            return false;
        // The designation is the component's identifier part: no dots.
        if (d.wds.IsEmpty() || d.wds.Find(u'.') >= 0)
            return f.Fail(wds, "empty designation, or one with a dot", error);
    }
    if (!error->empty()) return false;
    const auto magnitude = [&](const SkyDoubleStar& d) {
        return catalog.StarByHip(d.hip)->vmag.value_or(99.0);
    };
    std::stable_sort(m_doubles.begin(), m_doubles.end(),
                     [&](const SkyDoubleStar& a, const SkyDoubleStar& b) {
                         const int order = a.wds.Compare(b.wds);
                         return order != 0 ? order < 0 : magnitude(a) < magnitude(b);
                     });
    return true;
}

bool SkyStarExtras::LoadExoplanets(const std::string& dir, const CSkyCatalog& catalog,
                                   std::string* error) {
    CTsvFile f;
    bool present = false;
    if (!OpenOptional(&f, dir, "exoplanets.tsv", &present, error)) return false;
    if (!present) return true;
    const CTsvFile::Column id = f.Bind("id"), host = f.Bind("host_hip"), letter = f.Bind("letter"),
                           name = f.Bind("name"), iau = f.Bind("iau_name"),
                           period = f.Bind("period_d"), a = f.Bind("a_au"), e = f.Bind("e"),
                           mass = f.Bind("mass_mjup"), radius = f.Bind("radius_rjup"),
                           year = f.Bind("discovered");
    if (!f.ColumnsFound(error)) return false;
    while (f.Next(error)) {
        SkyExoplanet& p = m_planets.emplace_back();
        if (!f.Text(id, &p.id, error) || !f.Number(host, &p.hostHip, error) ||
            !f.Text(letter, &p.letter, error) || !f.Text(name, &p.name, error) ||
            !f.Text(iau, &p.iauName, error) || !NumberText(f, period, &p.periodDays, error) ||
            !NumberText(f, a, &p.semiMajorAxisAu, error) ||
            !NumberText(f, e, &p.eccentricity, error) || !f.Optional(mass, &p.massJupiter, error) ||
            !f.Optional(radius, &p.radiusJupiter, error) || !f.Number(year, &p.discovered, error) ||
            !KnownHip(f, host, p.hostHip, catalog, error))
            return false;
        if (p.id.IsEmpty() || p.id.Find(u'.') >= 0)
            return f.Fail(id, "empty identifier, or one with a dot", error);
    }
    return error->empty();
}

bool SkyStarExtras::LoadTransients(const std::string& dir, std::string* error) {
    CTsvFile f;
    bool present = false;
    if (!OpenOptional(&f, dir, "transients.tsv", &present, error)) return false;
    if (!present) return true;
    const CTsvFile::Column id = f.Bind("id"), kind = f.Bind("kind"), nameJa = f.Bind("name_ja"),
                           nameEn = f.Bind("name_en"), ra = f.Bind("ra_deg"),
                           dec = f.Bind("dec_deg"), gcvs = f.Bind("gcvs"),
                           cross = f.Bind("cross_ids"), summary = f.Bind("summary");
    if (!f.ColumnsFound(error)) return false;
    while (f.Next(error)) {
        SkyTransient& t = m_transients.emplace_back();
        CString kindText;
        if (!f.Text(id, &t.id, error) || !f.Text(kind, &kindText, error) ||
            !f.Text(nameJa, &t.nameJa, error) || !f.Text(nameEn, &t.nameEn, error) ||
            !f.Position(ra, dec, &t.raDeg, &t.decDeg, error) || !f.Text(gcvs, &t.gcvs, error) ||
            !f.List(cross, &t.crossIds, error) || !f.Text(summary, &t.summary, error))
            return false;
        if (kindText != u"supernova" && kindText != u"nova")
            return f.Fail(kind, "neither supernova nor nova", error);
        if (t.id.IsEmpty() || t.id.Find(u'.') >= 0)
            return f.Fail(id, "empty identifier, or one with a dot", error);
        t.supernova = kindText == u"supernova";
    }
    return error->empty();
}

bool SkyStarExtras::LoadFaint(const std::string& dir, std::string* error) {
    CTsvFile f;
    bool present = false;
    if (!OpenOptional(&f, dir, "faint_stars.tsv", &present, error)) return false;
    if (!present) return true;
    const CTsvFile::Column ra = f.Bind("ra_deg"), dec = f.Bind("dec_deg"),
                           pmra = f.Bind("pmra_mas_yr"), pmdec = f.Bind("pmdec_mas_yr"),
                           vmag = f.Bind("vmag"), bv = f.Bind("bv"), sptype = f.Bind("sptype");
    if (!f.ColumnsFound(error)) return false;
    m_faint.reserve(f.RowsAtMost());
    while (f.Next(error)) {
        SkyStar& s = m_faint.emplace_back();
        if (!f.Position(ra, dec, &s.ra_deg, &s.dec_deg, error) ||
            !f.Optional(pmra, &s.pmra_mas_yr, error) ||
            !f.Optional(pmdec, &s.pmdec_mas_yr, error) || !f.Optional(vmag, &s.vmag, error) ||
            !f.Optional(bv, &s.bv, error) || !f.Text(sptype, &s.spectral_type, error))
            return false;
        s.id = FaintStarId(s.ra_deg, s.dec_deg);
    }
    if (!error->empty()) return false;
    // Stars whose truncated positions coincide get "_2", "_3" in file order.
    std::stable_sort(m_faint.begin(), m_faint.end(),
                     [](const SkyStar& a, const SkyStar& b) { return a.id.Compare(b.id) < 0; });
    int repeat = 1;
    for (size_t k = 1; k < m_faint.size(); ++k) {
        const CString base = m_faint[k].id;
        if (base == m_faint[k - 1].id.SpanExcluding(u"_")) {
            m_faint[k].id.Format(u"%s_%d", base, ++repeat);
        } else {
            repeat = 1;
        }
    }
    return true;
}

const SkyVariableStar* SkyStarExtras::VariableById(const CString& id) const {
    for (const CString& form : {id, GreekForm(id)}) {
        const std::string key = IdKey(form);
        for (const SkyVariableStar& v : m_variables) {
            if (IdKey(v.designation) == key) return &v;
        }
    }
    return nullptr;
}

std::vector<const SkyDoubleStar*> SkyStarExtras::System(const CString& wds) const {
    std::vector<const SkyDoubleStar*> out;
    const auto first = std::lower_bound(
        m_doubles.begin(), m_doubles.end(), wds,
        [](const SkyDoubleStar& d, const CString& key) { return d.wds.Compare(key) < 0; });
    for (auto it = first; it != m_doubles.end() && it->wds == wds; ++it) out.push_back(&*it);
    return out;
}

const SkyExoplanet* SkyStarExtras::ExoplanetById(const CString& id) const {
    const std::string key = IdKey(id);
    for (const SkyExoplanet& p : m_planets) {
        if (IdKey(p.id) == key || IdKey(p.name) == key ||
            (!p.iauName.IsEmpty() && IdKey(p.iauName) == key))
            return &p;
    }
    return nullptr;
}

int SkyStarExtras::PlanetCount(int hostHip) const {
    if (hostHip <= 0) return 0;
    return static_cast<int>(
        std::count_if(m_planets.begin(), m_planets.end(),
                      [&](const SkyExoplanet& p) { return p.hostHip == hostHip; }));
}

const SkyTransient* SkyStarExtras::TransientById(const CString& id) const {
    const std::string key = IdKey(id);
    for (const SkyTransient& t : m_transients) {
        if (IdKey(t.id) == key || IdKey(t.nameEn) == key ||
            (!t.gcvs.IsEmpty() && IdKey(t.gcvs) == key))
            return &t;
    }
    return nullptr;
}

const SkyStar* SkyStarExtras::FaintById(const CString& id) const {
    const auto it = std::lower_bound(
        m_faint.begin(), m_faint.end(), id,
        [](const SkyStar& s, const CString& key) { return s.id.CompareNoCase(key) < 0; });
    return it != m_faint.end() && it->id.CompareNoCase(id) == 0 ? &*it : nullptr;
}
