#include "sky/catalog.h"

#include <erfa.h>
#include <erfam.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <new>
#include <stdexcept>
#include <type_traits>
#include <utility>

#include "host/install_dir.h"
#include "sky/small_body_catalog.h"
#include "sky/star_extras.h"
#include "sky/tsv.h"

#ifndef VEXCLK_DATA_DIR
#define VEXCLK_DATA_DIR "data"
#endif

using sky::JoinPath;

namespace {

// ---------------------------------------------------------------------------
// Search keys

void AppendUtf8(std::string* out, char32_t cp) {
    if (cp < 0x80) {
        *out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        *out += static_cast<char>(0xC0 | (cp >> 6));
        *out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        *out += static_cast<char>(0xE0 | (cp >> 12));
        *out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        *out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        *out += static_cast<char>(0xF0 | (cp >> 18));
        *out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        *out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        *out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

struct GreekLetter {
    char16_t letter;
    const char16_t* abbr;  // as the catalogues abbreviate it
    const char16_t* name;  // spelled out
};

constexpr GreekLetter kGreek[] = {
    {u'α', u"alp", u"alpha"}, {u'β', u"bet", u"beta"},    {u'γ', u"gam", u"gamma"},
    {u'δ', u"del", u"delta"}, {u'ε', u"eps", u"epsilon"}, {u'ζ', u"zet", u"zeta"},
    {u'η', u"eta", u"eta"},   {u'θ', u"the", u"theta"},   {u'ι', u"iot", u"iota"},
    {u'κ', u"kap", u"kappa"}, {u'λ', u"lam", u"lambda"},  {u'μ', u"mu", u"mu"},
    {u'ν', u"nu", u"nu"},     {u'ξ', u"xi", u"xi"},       {u'ο', u"omi", u"omicron"},
    {u'π', u"pi", u"pi"},     {u'ρ', u"rho", u"rho"},     {u'σ', u"sig", u"sigma"},
    {u'τ', u"tau", u"tau"},   {u'υ', u"ups", u"upsilon"}, {u'φ', u"phi", u"phi"},
    {u'χ', u"chi", u"chi"},   {u'ψ', u"psi", u"psi"},     {u'ω', u"ome", u"omega"},
};

bool IsBlank(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\v' || c == u'\f' ||
           c == u'\u3000' || c == u'\u00A0';
}

// Angular distance between two points, degrees in and out (eraSeps: well
// conditioned at every angle).
double Separation(double ra1, double dec1, double ra2, double dec2) {
    return eraSeps(ra1 * ERFA_DD2R, dec1 * ERFA_DD2R, ra2 * ERFA_DD2R, dec2 * ERFA_DD2R) *
           ERFA_DR2D;
}

// FNV-1a, 64 bits: the hash of a search key.
std::uint64_t HashKey(std::string_view key) {
    std::uint64_t h = 14695981039346656037ull;
    for (const char c : key) {
        h ^= static_cast<unsigned char>(c);
        h *= 1099511628211ull;
    }
    return h;
}

// Sorts by hash, keeping the order of equal hashes (LSD radix sort, 8 bits a
// pass): the entries arrive in catalogue order, which lookups return.
template <typename Entry>
void SortByHash(std::vector<Entry>* entries) {
    std::vector<Entry> buffer(entries->size());
    for (int shift = 0; shift < 64; shift += 8) {
        size_t count[257] = {};
        for (const Entry& e : *entries) ++count[((e.hash >> shift) & 0xFF) + 1];
        if (std::find(count + 1, count + 257, entries->size()) != count + 257)
            continue;  // one bucket holds everything: this pass changes nothing
        for (int b = 0; b < 256; ++b) count[b + 1] += count[b];
        for (const Entry& e : *entries) buffer[count[(e.hash >> shift) & 0xFF]++] = e;
        entries->swap(buffer);
    }
}

std::u16string Digits(int n) {
    std::u16string out;
    for (const char c : std::to_string(n)) out += static_cast<char16_t>(c);
    return out;
}

// A shorter text ("M", "ob") would match half the catalogue by part.
constexpr size_t kMinPartialKeyBytes = 3;

int BandOf(double dec_deg) {
    return std::clamp(static_cast<int>(std::floor(dec_deg + 90.0)), 0, 179);
}

}  // namespace

// ---------------------------------------------------------------------------

std::optional<double> MeasuredParallaxMas(const SkyStar& star) {
    if (!star.parallax_mas || *star.parallax_mas < kMinParallaxMas) return std::nullopt;
    if (star.parallax_err_mas && *star.parallax_mas < kMinParallaxSigmas * *star.parallax_err_mas)
        return std::nullopt;
    return star.parallax_mas;
}

astrometry::CatalogStar CatalogPlaceOf(const SkyStar& star) {
    astrometry::CatalogStar place;
    place.ra_deg = star.ra_deg;
    place.dec_deg = star.dec_deg;
    place.pm_ra_cosdec_mas_yr = star.pmra_mas_yr.value_or(0.0);
    place.pm_dec_mas_yr = star.pmdec_mas_yr.value_or(0.0);
    place.parallax_mas = MeasuredParallaxMas(star).value_or(0.0);
    return place;
}

std::string CSkyCatalog::DefaultDataDir() {
    const char* env = std::getenv("VEXCLK_DATA");
    if (env && *env) return env;
    const std::string installed = host::InstalledShareDir();
    if (!installed.empty()) return installed + "/data";
    return VEXCLK_DATA_DIR;
}

std::string CSkyCatalog::SearchKey(std::u16string_view text) {
    std::string key;
    key.reserve(text.size());
    bool in_number = false;  // inside a run of digits that already wrote a digit
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (IsBlank(static_cast<char16_t>(c))) continue;
        if (c >= 0xFF01 && c <= 0xFF5E) c -= 0xFEE0;  // full-width ASCII
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        }
        if (c >= u'0' && c <= u'9') {
            // Leading zeros of a number are dropped; a lone 0 stays.
            if (c == u'0' && !in_number) {
                size_t j = i + 1;
                while (j < text.size() && IsBlank(text[j])) ++j;
                char32_t next = j < text.size() ? text[j] : 0;
                if (next >= 0xFF10 && next <= 0xFF19) next -= 0xFEE0;
                if (next >= u'0' && next <= u'9') continue;
            }
            in_number = true;
        } else {
            in_number = false;
        }
        if (c >= u'A' && c <= u'Z') c += 32;
        AppendUtf8(&key, c);
    }
    return key;
}

bool CSkyCatalog::Load(const std::string& dir, std::string* error) {
    std::string scratch;
    if (!error) error = &scratch;
    error->clear();
    try {
        return LoadFrom(dir, error);
    } catch (const std::bad_alloc&) {
        *error = dir + ": not enough memory for the catalogues";
    } catch (const std::length_error&) {
        *error = dir + ": not enough memory for the catalogues";
    }
    return false;
}

bool CSkyCatalog::LoadFrom(const std::string& dir, std::string* error) {
    CSkyCatalog next;
    std::vector<int> starLines, deepskyLines;

    if (!next.LoadConstellations(dir, error) || !next.LoadBounds(dir, error) ||
        !next.LoadNamesJa(dir, error) || !next.LoadStars(dir, &starLines, error) ||
        !next.LoadDeepSky(dir, &deepskyLines, error) || !next.LoadMagellanic(dir, error))
        return false;
    const std::string smallBodies = JoinPath(dir, "small_bodies.tsv");
    if (std::filesystem::exists(smallBodies) &&
        !solar::LoadSmallBodies(smallBodies, &next.m_smallBodies, error))
        return false;

    const struct {
        bool empty;
        const char* file;
    } required[] = {
        {next.m_constellations.empty(), "constellations.tsv"},
        {next.m_boxes.empty(), "constellation_bounds_b1875.tsv"},
        {next.m_stars.empty(), "stars.tsv"},
        {next.m_deepsky.empty(), "deepsky.tsv"},
    };
    for (const auto& r : required) {
        if (r.empty) {
            *error = JoinPath(dir, r.file) + ": no rows";
            return false;
        }
    }
    const Box& last = next.m_boxes.back();
    if (last.ra_low_h != 0.0 || last.ra_high_h != 24.0 || last.dec_low_deg != -90.0) {
        *error = JoinPath(dir, "constellation_bounds_b1875.tsv") +
                 ": the last box must cover 0..24 h down to -90 deg";
        return false;
    }

    next.BuildIndexes();

    // Identifiers must name one entry each: report the later line of a repeat.
    // The tables are sorted by hash and then in file order.
    const auto repeated = [](const std::vector<KeyEntry>& ids, auto key_of) {
        for (size_t i = 1; i < ids.size(); ++i) {
            for (size_t j = i; j-- > 0 && ids[j].hash == ids[i].hash;) {
                if (key_of(ids[j].ref.index) == key_of(ids[i].ref.index)) return ids[i].ref.index;
            }
        }
        return -1;
    };
    const int star = repeated(next.m_starIds, [&](int k) {
        return SearchKey(next.m_stars[static_cast<size_t>(k)].id.view());
    });
    if (star >= 0) {
        *error = JoinPath(dir, "stars.tsv") + ":" +
                 std::to_string(starLines[static_cast<size_t>(star)]) +
                 ": identifier listed twice in column id";
        return false;
    }
    std::vector<KeyEntry> own;
    own.reserve(next.m_deepsky.size());
    for (int i = 0; i < static_cast<int>(next.m_deepsky.size()); ++i)
        own.push_back({HashKey(SearchKey(next.m_deepsky[static_cast<size_t>(i)].id.view())),
                       {SkyKind::DeepSky, i}});
    SortByHash(&own);
    const int deep = repeated(
        own, [&](int k) { return SearchKey(next.m_deepsky[static_cast<size_t>(k)].id.view()); });
    if (deep >= 0) {
        *error = JoinPath(dir, "deepsky.tsv") + ":" +
                 std::to_string(deepskyLines[static_cast<size_t>(deep)]) +
                 ": identifier listed twice in column id";
        return false;
    }

    // Variable and double stars, exoplanets and novae refer to its stars.
    auto extras = std::make_shared<SkyStarExtras>();
    if (!extras->Load(dir, next, error)) return false;
    next.m_extras = std::move(extras);

    next.m_loaded = true;
    *this = std::move(next);
    return true;
}

const SkyStarExtras& CSkyCatalog::Extras() const {
    static const SkyStarExtras none;
    return m_extras ? *m_extras : none;
}

void CSkyCatalog::ForEachKey(const SkyRef& ref,
                             const std::function<void(std::u16string_view)>& fn) const {
    ForEachName(ref, [&](std::u16string_view name, bool) { fn(name); });
    const size_t i = static_cast<size_t>(ref.index);
    switch (ref.kind) {
        case SkyKind::Star: {
            if (i >= m_stars.size()) return;
            const SkyStar& s = m_stars[i];
            fn(s.id.view());
            if (s.hip) fn(u"HIP" + Digits(s.hip));
            if (s.hd) fn(u"HD" + Digits(s.hd));
            if (s.hr) fn(u"HR" + Digits(s.hr));
            if (s.sao) fn(u"SAO" + Digits(s.sao));
            fn(s.variable_name.view());
            if (s.constellation.IsEmpty()) return;
            const std::u16string& con = s.constellation.str();
            if (s.flamsteed > 0) fn(Digits(s.flamsteed) + con);
            if (s.bayer.IsEmpty()) return;
            const std::u16string& bayer = s.bayer.str();
            const std::u16string index = bayer.substr(1);
            // "α1 Cen" is also found as "alp1 Cen", "alpha1 Cen", and without its index.
            const auto letter_keys = [&](std::u16string_view letter) {
                fn(std::u16string(letter) + index + con);
                if (!index.empty()) fn(std::u16string(letter) + con);
            };
            letter_keys(std::u16string_view(bayer).substr(0, 1));
            for (const GreekLetter& g : kGreek) {
                if (g.letter != bayer[0]) continue;
                letter_keys(g.abbr);
                letter_keys(g.name);
            }
            // Japanese style: "おおいぬ座α", "おおいぬ座α星".
            const auto cit = m_constellationByAbbr.find(SearchKey(con));
            if (cit != m_constellationByAbbr.end()) {
                const std::u16string& con_ja =
                    m_constellations[static_cast<size_t>(cit->second)].name_ja.str();
                fn(con_ja + bayer);
                fn(con_ja + bayer + u"星");
            }
            return;
        }
        case SkyKind::DeepSky: {
            if (i >= m_deepsky.size()) return;
            const SkyDeepSky& d = m_deepsky[i];
            fn(d.id.view());
            for (const CString& n : d.designations) fn(n.view());
            return;
        }
        case SkyKind::Magellanic:
            if (i < m_magellanic.size()) fn(m_magellanic[i].id.view());
            return;
        case SkyKind::Constellation:
            if (i < m_constellations.size()) fn(m_constellations[i].abbr.view());
            return;
    }
}

void CSkyCatalog::ForEachName(const SkyRef& ref,
                              const std::function<void(std::u16string_view, bool)>& fn) const {
    const size_t i = static_cast<size_t>(ref.index);
    const auto names = [&](const CString& en, const CString& ja,
                           const std::vector<CString>* others) {
        fn(en.view(), true);
        fn(ja.view(), true);
        if (others)
            for (const CString& n : *others) fn(n.view(), false);
    };
    switch (ref.kind) {
        case SkyKind::Star:
            if (i < m_stars.size())
                names(m_stars[i].name_en, m_stars[i].name_ja, &m_stars[i].other_names);
            return;
        case SkyKind::DeepSky:
            if (i < m_deepsky.size())
                names(m_deepsky[i].name_en, m_deepsky[i].name_ja, &m_deepsky[i].other_names);
            return;
        case SkyKind::Magellanic:
            if (i < m_magellanic.size())
                names(m_magellanic[i].name_en, m_magellanic[i].name_ja, nullptr);
            return;
        case SkyKind::Constellation:
            if (i >= m_constellations.size()) return;
            names(m_constellations[i].name, m_constellations[i].name_ja,
                  &m_constellations[i].other_names);
            // "オリオン" names Orion as well as "オリオン座".
            const std::u16string_view ja = m_constellations[i].name_ja.view();
            if (ja.size() > 1 && ja.back() == u'座') fn(ja.substr(0, ja.size() - 1), true);
            return;
    }
}

int CSkyCatalog::MatchRank(const SkyRef& ref, const std::string& key) const {
    int own = 0, further = 0, all = 0;
    ForEachName(ref, [&](std::u16string_view name, bool is_own) {
        if (!name.empty() && SearchKey(name) == key) ++(is_own ? own : further);
    });
    if (own) return 0;
    ForEachKey(ref, [&](std::u16string_view text) { all += SearchKey(text) == key; });
    return all > further ? 1 : 2;  // a designation outranks a further name
}

bool CSkyCatalog::HasKey(const SkyRef& ref, const std::string& key) const {
    bool found = false;
    ForEachKey(ref, [&](std::u16string_view text) { found = found || SearchKey(text) == key; });
    return found;
}

void CSkyCatalog::BuildIndexes() {
    const auto numbers = [](std::vector<NumberEntry>* table) {
        std::stable_sort(
            table->begin(), table->end(),
            [](const NumberEntry& a, const NumberEntry& b) { return a.number < b.number; });
    };
    // HIP goes first to the star whose id is "HIP" + number (the holder of
    // the entry).
    for (int i = 0; i < static_cast<int>(m_stars.size()); ++i) {
        const SkyStar& s = m_stars[static_cast<size_t>(i)];
        if (s.hip) m_hip.push_back({s.hip, i});
    }
    std::stable_sort(m_hip.begin(), m_hip.end(), [&](const NumberEntry& a, const NumberEntry& b) {
        if (a.number != b.number) return a.number < b.number;
        const bool ha = m_stars[static_cast<size_t>(a.index)].id.str() == u"HIP" + Digits(a.number);
        const bool hb = m_stars[static_cast<size_t>(b.index)].id.str() == u"HIP" + Digits(b.number);
        return ha && !hb;
    });
    for (int i = 0; i < static_cast<int>(m_deepsky.size()); ++i) {
        if (m_deepsky[static_cast<size_t>(i)].pgc)
            m_pgc.push_back({m_deepsky[static_cast<size_t>(i)].pgc, i});
    }
    numbers(&m_pgc);

    std::string key;
    const auto add = [&](std::vector<KeyEntry>* table, std::u16string_view text, SkyRef ref) {
        if (text.empty()) return;
        key = SearchKey(text);
        if (!key.empty()) table->push_back({HashKey(key), ref});
    };
    for (int i = 0; i < static_cast<int>(m_stars.size()); ++i)
        add(&m_starIds, m_stars[static_cast<size_t>(i)].id.view(), {SkyKind::Star, i});
    for (int i = 0; i < static_cast<int>(m_deepsky.size()); ++i) {
        const SkyDeepSky& d = m_deepsky[static_cast<size_t>(i)];
        add(&m_deepskyIds, d.id.view(), {SkyKind::DeepSky, i});
        for (const CString& des : d.designations)
            add(&m_deepskyIds, des.view(), {SkyKind::DeepSky, i});
    }

    m_search.reserve(m_stars.size() * 8 + m_deepsky.size() * 4);
    const auto add_all = [&](SkyKind kind, size_t count) {
        for (int i = 0; i < static_cast<int>(count); ++i) {
            const SkyRef ref{kind, i};
            ForEachKey(ref, [&](std::u16string_view text) { add(&m_search, text, ref); });
            ForEachName(ref, [&](std::u16string_view name, bool) {
                if (!name.empty()) m_nameKeys.emplace_back(SearchKey(name), ref);
            });
        }
    };
    add_all(SkyKind::Star, m_stars.size());
    add_all(SkyKind::DeepSky, m_deepsky.size());
    add_all(SkyKind::Magellanic, m_magellanic.size());
    add_all(SkyKind::Constellation, m_constellations.size());
    for (auto* table : {&m_starIds, &m_deepskyIds, &m_search}) {
        SortByHash(table);
        table->erase(std::unique(table->begin(), table->end(),
                                 [](const KeyEntry& a, const KeyEntry& b) {
                                     return a.hash == b.hash && a.ref == b.ref;
                                 }),
                     table->end());
    }

    m_grid.assign(180, {});
    const auto place = [&](double ra, double dec, SkyRef ref) {
        m_grid[static_cast<size_t>(BandOf(dec))].push_back(GridEntry{ra, dec, ref});
    };
    for (int i = 0; i < static_cast<int>(m_stars.size()); ++i)
        place(m_stars[static_cast<size_t>(i)].ra_deg, m_stars[static_cast<size_t>(i)].dec_deg,
              {SkyKind::Star, i});
    for (int i = 0; i < static_cast<int>(m_deepsky.size()); ++i)
        place(m_deepsky[static_cast<size_t>(i)].ra_deg, m_deepsky[static_cast<size_t>(i)].dec_deg,
              {SkyKind::DeepSky, i});
    for (int i = 0; i < static_cast<int>(m_magellanic.size()); ++i)
        place(m_magellanic[static_cast<size_t>(i)].ra_deg,
              m_magellanic[static_cast<size_t>(i)].dec_deg, {SkyKind::Magellanic, i});
    for (auto& band : m_grid) {
        std::sort(band.begin(), band.end(),
                  [](const GridEntry& a, const GridEntry& b) { return a.ra_deg < b.ra_deg; });
    }
}

// ---------------------------------------------------------------------------
// Lookups

namespace {

template <typename Table>
auto HashRange(const Table& table, std::uint64_t hash) {
    return std::equal_range(table.begin(), table.end(), hash, [](const auto& a, const auto& b) {
        if constexpr (std::is_same_v<std::decay_t<decltype(a)>, std::uint64_t>)
            return a < b.hash;
        else
            return a.hash < b;
    });
}

template <typename Table>
int NumberLookup(const Table& table, int number) {
    const auto it = std::lower_bound(table.begin(), table.end(), number,
                                     [](const auto& e, int n) { return e.number < n; });
    return it != table.end() && it->number == number ? it->index : -1;
}

}  // namespace

const SkyStar* CSkyCatalog::StarById(const CString& id) const {
    const std::string key = SearchKey(id.view());
    const auto [first, last] = HashRange(m_starIds, HashKey(key));
    for (auto it = first; it != last; ++it) {
        const SkyStar& s = m_stars[static_cast<size_t>(it->ref.index)];
        if (SearchKey(s.id.view()) == key) return &s;
    }
    return nullptr;
}

const SkyStar* CSkyCatalog::StarByHip(int hip) const {
    const int i = NumberLookup(m_hip, hip);
    return i < 0 ? nullptr : &m_stars[static_cast<size_t>(i)];
}

const SkyDeepSky* CSkyCatalog::DeepSkyById(const CString& id) const {
    // An object's own number wins over another object's designation.
    const std::string key = SearchKey(id.view());
    const auto [first, last] = HashRange(m_deepskyIds, HashKey(key));
    const SkyDeepSky* by_designation = nullptr;
    for (auto it = first; it != last; ++it) {
        const SkyDeepSky& d = m_deepsky[static_cast<size_t>(it->ref.index)];
        if (SearchKey(d.id.view()) == key) return &d;
        if (by_designation) continue;
        for (const CString& des : d.designations) {
            if (SearchKey(des.view()) == key) {
                by_designation = &d;
                break;
            }
        }
    }
    return by_designation;
}

const SkyDeepSky* CSkyCatalog::DeepSkyByPgc(int pgc) const {
    const int i = NumberLookup(m_pgc, pgc);
    return i < 0 ? nullptr : &m_deepsky[static_cast<size_t>(i)];
}

const SkyMagellanicCloud* CSkyCatalog::MagellanicById(const CString& id) const {
    const std::string key = SearchKey(id.view());
    for (const SkyMagellanicCloud& m : m_magellanic) {
        if (SearchKey(m.id.view()) == key) return &m;
    }
    return nullptr;
}

const SkyConstellation* CSkyCatalog::ConstellationByAbbr(const CString& abbr) const {
    const auto it = m_constellationByAbbr.find(SearchKey(abbr.view()));
    return it == m_constellationByAbbr.end() ? nullptr
                                             : &m_constellations[static_cast<size_t>(it->second)];
}

const SkyConstellation* CSkyCatalog::ConstellationAtB1875(double ra_deg, double dec_deg) const {
    if (!std::isfinite(ra_deg) || !std::isfinite(dec_deg) || dec_deg < -90.0 || dec_deg > 90.0)
        return nullptr;
    double ra = std::fmod(ra_deg, 360.0);
    if (ra < 0.0) ra += 360.0;
    double ra_h = ra / 15.0;
    if (ra_h >= 24.0) ra_h = 0.0;  // -1e-17 + 360 rounds to 360
    for (const Box& b : m_boxes) {
        if (dec_deg >= b.dec_low_deg && ra_h >= b.ra_low_h && ra_h < b.ra_high_h)
            return &m_constellations[static_cast<size_t>(b.constellation)];
    }
    return nullptr;
}

std::vector<SkyRef> CSkyCatalog::Find(const CString& text) const {
    std::vector<SkyRef> found;
    const std::string key = SearchKey(text.view());
    if (key.empty()) return found;
    std::vector<std::pair<int, SkyRef>> ranked;
    const auto [first, last] = HashRange(m_search, HashKey(key));
    for (auto it = first; it != last; ++it) {
        if (HasKey(it->ref, key)) ranked.emplace_back(MatchRank(it->ref, key), it->ref);
    }
    // Within a rank the brighter of two stars comes first (α2 Lib, not α1 Lib,
    // is the Zubenelgenubi that people look for); the hash table keeps
    // catalogue order otherwise, and the stable sort keeps it.
    const auto brightness = [&](const SkyRef& r) {
        return r.kind == SkyKind::Star ? m_stars[static_cast<size_t>(r.index)].vmag.value_or(99.0)
                                       : 0.0;
    };
    std::stable_sort(ranked.begin(), ranked.end(), [&](const auto& a, const auto& b) {
        if (a.first != b.first) return a.first < b.first;
        if (a.second.kind != b.second.kind) return a.second.kind < b.second.kind;
        return brightness(a.second) < brightness(b.second);
    });
    for (const auto& r : ranked) found.push_back(r.second);
    if (key.size() < kMinPartialKeyBytes) return found;
    // Names that begin with the text ("Pleiades") before names that hold it
    // ("Little Pleiades").
    for (const bool at_start : {true, false}) {
        for (const auto& [name_key, ref] : m_nameKeys) {
            const size_t at = name_key.find(key);
            if (at == std::string::npos || (at == 0) != at_start) continue;
            if (std::find(found.begin(), found.end(), ref) == found.end()) found.push_back(ref);
        }
    }
    return found;
}

std::vector<SkyNearby> CSkyCatalog::Nearest(double ra_deg, double dec_deg, double radius_deg,
                                            int limit) const {
    std::vector<SkyNearby> found;
    if (limit <= 0 || !std::isfinite(ra_deg) || !std::isfinite(dec_deg) ||
        !std::isfinite(radius_deg) || radius_deg < 0.0 || dec_deg < -90.0 || dec_deg > 90.0 ||
        m_grid.empty())
        return found;
    const double radius = std::min(radius_deg, 180.0);
    double ra = std::fmod(ra_deg, 360.0);
    if (ra < 0.0) ra += 360.0;

    // Half-width in RA of the circle: asin(sin r / cos dec) while the circle
    // stays clear of the pole, else the whole band.
    double half_width = 180.0;
    if (std::fabs(dec_deg) + radius < 90.0) {
        const double s = std::sin(radius * ERFA_DD2R) / std::cos(dec_deg * ERFA_DD2R);
        if (s < 1.0) half_width = std::asin(s) * ERFA_DR2D + 1e-9;
    }
    const int first = BandOf(std::max(-90.0, dec_deg - radius));
    const int last = BandOf(std::min(90.0, dec_deg + radius));
    const auto scan = [&](const std::vector<GridEntry>& band, double lo, double hi) {
        auto it = std::lower_bound(band.begin(), band.end(), lo,
                                   [](const GridEntry& e, double v) { return e.ra_deg < v; });
        for (; it != band.end() && it->ra_deg <= hi; ++it) {
            const double sep = Separation(ra, dec_deg, it->ra_deg, it->dec_deg);
            if (sep <= radius) found.push_back(SkyNearby{it->ref, sep});
        }
    };
    for (int b = first; b <= last; ++b) {
        const auto& band = m_grid[static_cast<size_t>(b)];
        if (half_width >= 180.0) {
            scan(band, 0.0, 360.0);
            continue;
        }
        const double lo = ra - half_width, hi = ra + half_width;
        scan(band, std::max(lo, 0.0), std::min(hi, 360.0));
        if (lo < 0.0) scan(band, lo + 360.0, 360.0);
        if (hi > 360.0) scan(band, 0.0, hi - 360.0);
    }
    const auto closer = [](const SkyNearby& a, const SkyNearby& b) {
        if (a.separation_deg != b.separation_deg) return a.separation_deg < b.separation_deg;
        if (a.ref.kind != b.ref.kind) return a.ref.kind < b.ref.kind;
        return a.ref.index < b.ref.index;
    };
    if (found.size() > static_cast<size_t>(limit)) {
        std::partial_sort(found.begin(), found.begin() + limit, found.end(), closer);
        found.resize(static_cast<size_t>(limit));
    } else {
        std::sort(found.begin(), found.end(), closer);
    }
    return found;
}

CString CSkyCatalog::JapaneseName(const CString& english) const {
    const auto it = m_namesJa.find(english.str());
    return it == m_namesJa.end() ? CString() : it->second;
}

CString CSkyCatalog::IdOf(const SkyRef& ref) const {
    const size_t i = static_cast<size_t>(ref.index);
    switch (ref.kind) {
        case SkyKind::Star:
            return i < m_stars.size() ? m_stars[i].id : CString();
        case SkyKind::DeepSky:
            return i < m_deepsky.size() ? m_deepsky[i].id : CString();
        case SkyKind::Magellanic:
            return i < m_magellanic.size() ? m_magellanic[i].id : CString();
        case SkyKind::Constellation:
            return i < m_constellations.size() ? m_constellations[i].abbr : CString();
    }
    return CString();
}
