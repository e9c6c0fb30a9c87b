#include "sky/catalog.h"

#include <sys/stat.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <stdexcept>
#include <type_traits>
#include <utility>

#ifndef VEXCLK_DATA_DIR
#define VEXCLK_DATA_DIR "data"
#endif

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kDegToRad = kPi / 180.0;

// ---------------------------------------------------------------------------
// Reading the TSV files

bool ReadWholeFile(const std::string& path, std::string* out, std::string* error) {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) {
        *error = path + ": cannot open the catalogue file";
        return false;
    }
    out->clear();
    // A folder or a device opens too; only a regular file is a catalogue.
    struct stat info {};
    if (fstat(fileno(f), &info) != 0 || !S_ISREG(info.st_mode)) {
        std::fclose(f);
        *error = path + ": not a regular file";
        return false;
    }
    // One read of the whole file, then whatever it grew by meanwhile.
    out->resize(static_cast<size_t>(info.st_size));
    out->resize(std::fread(out->data(), 1, out->size(), f));
    char buffer[1 << 14];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) out->append(buffer, n);
    const bool failed = std::ferror(f) != 0;
    std::fclose(f);
    if (failed) {
        *error = path + ": cannot read the catalogue file";
        return false;
    }
    return true;
}

// Splits a file written by tools/skydata_common.py: "#" comment lines, one
// line of column names, then rows of exactly that many tab-separated fields.
class TsvReader {
  public:
    TsvReader(std::string path, const std::string& text) : m_path(std::move(path)), m_text(text) {}

    // Reads up to and including the column line and checks it.
    bool Header(const std::vector<const char*>& columns, std::string* error) {
        std::string_view line;
        while (NextLine(&line)) {
            if (!line.empty() && line[0] == '#') continue;
            std::string expected;
            for (size_t i = 0; i < columns.size(); ++i) {
                if (i) expected += '\t';
                expected += columns[i];
            }
            if (line != expected) {
                *error = Where() + "columns are not \"" + expected + "\"";
                return false;
            }
            m_columns = columns;
            return true;
        }
        *error = m_path + ": no column line (empty or not a catalogue file)";
        return false;
    }

    // Next row; false at the end of the file or (with *error set) on a bad row.
    bool Row(std::vector<std::string_view>* fields, std::string* error) {
        std::string_view line;
        while (NextLine(&line)) {
            if (line.empty() || line[0] == '#') continue;
            fields->clear();
            size_t start = 0;
            for (;;) {
                const size_t tab = line.find('\t', start);
                fields->push_back(
                    line.substr(start, tab == std::string_view::npos ? tab : tab - start));
                if (tab == std::string_view::npos) break;
                start = tab + 1;
            }
            if (fields->size() != m_columns.size()) {
                *error = Where() + std::to_string(fields->size()) + " fields, expected " +
                         std::to_string(m_columns.size());
                return false;
            }
            return true;
        }
        return false;
    }

    std::string Where() const { return m_path + ":" + std::to_string(m_line) + ": "; }
    int Line() const { return m_line; }
    const char* Column(size_t i) const { return m_columns[i]; }

  private:
    bool NextLine(std::string_view* line) {
        if (m_pos >= m_text.size()) return false;
        const size_t end = m_text.find('\n', m_pos);
        const size_t stop = end == std::string::npos ? m_text.size() : end;
        *line = std::string_view(m_text).substr(m_pos, stop - m_pos);
        if (!line->empty() && line->back() == '\r') line->remove_suffix(1);
        m_pos = stop + 1;
        ++m_line;
        return true;
    }

    std::string m_path;
    const std::string& m_text;
    std::vector<const char*> m_columns;
    size_t m_pos = 0;
    int m_line = 0;
};

// Field converters: each returns false with the reason in *error.
class FieldParser {
  public:
    explicit FieldParser(const TsvReader& reader) : m_reader(reader) {}

    bool Text(const std::vector<std::string_view>& f, size_t i, CString* out, std::string* error) {
        bool valid = true;
        *out = CString::FromUtf8(f[i], &valid);
        if (!valid) return Fail(i, "not UTF-8 text", error);
        return true;
    }

    bool List(const std::vector<std::string_view>& f, size_t i, std::vector<CString>* out,
              std::string* error) {
        out->clear();
        std::string_view rest = f[i];
        while (!rest.empty()) {
            const size_t bar = rest.find('|');
            const std::string_view item = rest.substr(0, bar);
            bool valid = true;
            if (!item.empty()) out->push_back(CString::FromUtf8(item, &valid));
            if (!valid) return Fail(i, "not UTF-8 text", error);
            if (bar == std::string_view::npos) break;
            rest.remove_prefix(bar + 1);
        }
        return true;
    }

    bool Double(const std::vector<std::string_view>& f, size_t i, double* out, std::string* error) {
        const std::string_view s = f[i];
        const auto r = std::from_chars(s.data(), s.data() + s.size(), *out);
        if (s.empty() || r.ec != std::errc() || r.ptr != s.data() + s.size() ||
            !std::isfinite(*out))
            return Fail(i, "bad number \"" + std::string(s) + "\"", error);
        return true;
    }

    bool Optional(const std::vector<std::string_view>& f, size_t i, std::optional<double>* out,
                  std::string* error) {
        out->reset();
        if (f[i].empty()) return true;
        double v = 0.0;
        if (!Double(f, i, &v, error)) return false;
        *out = v;
        return true;
    }

    // A non-negative integer; an empty field reads as 0 ("none").
    bool Number(const std::vector<std::string_view>& f, size_t i, int* out, std::string* error) {
        *out = 0;
        const std::string_view s = f[i];
        if (s.empty()) return true;
        const auto r = std::from_chars(s.data(), s.data() + s.size(), *out);
        if (r.ec != std::errc() || r.ptr != s.data() + s.size() || *out < 0)
            return Fail(i, "bad catalogue number \"" + std::string(s) + "\"", error);
        return true;
    }

    bool Position(const std::vector<std::string_view>& f, size_t ra_i, size_t dec_i, double* ra,
                  double* dec, std::string* error) {
        if (!Double(f, ra_i, ra, error) || !Double(f, dec_i, dec, error)) return false;
        if (*ra < 0.0 || *ra >= 360.0) return Fail(ra_i, "right ascension outside [0, 360)", error);
        if (*dec < -90.0 || *dec > 90.0) return Fail(dec_i, "declination outside [-90, 90]", error);
        return true;
    }

    int Line() const { return m_reader.Line(); }

    bool Fail(size_t i, const std::string& what, std::string* error) const {
        *error = m_reader.Where() + what + " in column " + m_reader.Column(i);
        return false;
    }

  private:
    const TsvReader& m_reader;
};

std::string JoinPath(const std::string& dir, const char* name) {
    if (dir.empty()) return name;
    return dir.back() == '/' ? dir + name : dir + "/" + name;
}

// Reads one file and hands every row to `row`, which returns false (with
// *error) to reject it.
// `rows_at_most` learns an upper bound of the row count first, so that the
// caller can reserve its storage.
template <typename ReserveFn, typename RowFn>
bool ReadTable(const std::string& dir, const char* name, const std::vector<const char*>& columns,
               std::string* error, ReserveFn rows_at_most, RowFn row) {
    const std::string path = JoinPath(dir, name);
    std::string text;
    if (!ReadWholeFile(path, &text, error)) return false;
    rows_at_most(static_cast<size_t>(std::count(text.begin(), text.end(), '\n')) + 1);
    TsvReader reader(path, text);
    if (!reader.Header(columns, error)) return false;
    FieldParser parse(reader);
    std::vector<std::string_view> fields;
    while (reader.Row(&fields, error)) {
        if (!row(fields, parse, error)) return false;
    }
    return error->empty();
}

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

double Haversine(double x) {
    const double s = std::sin(x / 2.0);
    return s * s;
}

// Angular distance between two points, degrees in and out; haversine form
// (Sinnott 1984), well conditioned for small separations.
double Separation(double ra1, double dec1, double ra2, double dec2) {
    const double d1 = dec1 * kDegToRad, d2 = dec2 * kDegToRad;
    double h =
        Haversine(d2 - d1) + std::cos(d1) * std::cos(d2) * Haversine((ra2 - ra1) * kDegToRad);
    h = std::clamp(h, 0.0, 1.0);
    return 2.0 * std::asin(std::sqrt(h)) / kDegToRad;
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

std::string CSkyCatalog::DefaultDataDir() {
    const char* env = std::getenv("VEXCLK_DATA");
    if (env && *env) return env;
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
    std::vector<int> star_lines, deepsky_lines;

    bool ok = ReadTable(
        dir, "constellations.tsv", {"abbr", "name", "name_ja", "other_names"}, error,
        [&](size_t n) { next.m_constellations.reserve(n); },
        [&](const auto& f, FieldParser& p, std::string* err) {
            SkyConstellation c;
            if (!p.Text(f, 0, &c.abbr, err) || !p.Text(f, 1, &c.name, err) ||
                !p.Text(f, 2, &c.name_ja, err) || !p.List(f, 3, &c.other_names, err))
                return false;
            if (c.abbr.IsEmpty()) return p.Fail(0, "empty abbreviation", err);
            const int index = static_cast<int>(next.m_constellations.size());
            if (!next.m_constellation_by_abbr.emplace(SearchKey(c.abbr.view()), index).second)
                return p.Fail(0, "abbreviation listed twice", err);
            next.m_constellations.push_back(std::move(c));
            return true;
        });
    ok =
        ok &&
        ReadTable(
            dir, "constellation_bounds_b1875.tsv", {"ra_low_h", "ra_high_h", "dec_low_deg", "abbr"},
            error, [&](size_t n) { next.m_boxes.reserve(n); },
            [&](const auto& f, FieldParser& p, std::string* err) {
                Box b{};
                CString abbr;
                if (!p.Double(f, 0, &b.ra_low_h, err) || !p.Double(f, 1, &b.ra_high_h, err) ||
                    !p.Double(f, 2, &b.dec_low_deg, err) || !p.Text(f, 3, &abbr, err))
                    return false;
                if (!(b.ra_low_h >= 0.0 && b.ra_low_h < b.ra_high_h && b.ra_high_h <= 24.0 &&
                      b.dec_low_deg >= -90.0 && b.dec_low_deg <= 90.0))
                    return p.Fail(0, "box outside 0..24 h or -90..+90 deg", err);
                const auto it = next.m_constellation_by_abbr.find(SearchKey(abbr.view()));
                if (it == next.m_constellation_by_abbr.end())
                    return p.Fail(3, "unknown constellation", err);
                b.constellation = it->second;
                next.m_boxes.push_back(b);
                return true;
            });
    ok = ok && ReadTable(
                   dir, "names_ja.tsv", {"english", "japanese", "kind"}, error,
                   [&](size_t n) { next.m_names_ja.reserve(n); },
                   [&](const auto& f, FieldParser& p, std::string* err) {
                       CString en, ja, kind;
                       if (!p.Text(f, 0, &en, err) || !p.Text(f, 1, &ja, err) ||
                           !p.Text(f, 2, &kind, err))
                           return false;
                       // The plain name wins over a translator-tagged one.
                       auto [it, added] = next.m_names_ja.emplace(en.str(), ja);
                       if (!added && kind.IsEmpty()) it->second = ja;
                       return true;
                   });
    ok = ok &&
         ReadTable(
             dir, "stars.tsv",
             // clang-format off
             {"id", "hip", "hd", "hr", "sao", "ra_deg", "dec_deg", "pmra_mas_yr", "pmdec_mas_yr",
              "parallax_mas", "parallax_err_mas", "vmag", "bv", "sptype", "bayer", "flamsteed",
              "con", "name_en", "name_ja", "other_names", "gcvs"},
             // clang-format on
             error,
             [&](size_t n) {
                 next.m_stars.reserve(n);
                 star_lines.reserve(n);
             },
             [&](const auto& f, FieldParser& p, std::string* err) {
                 // Filled in place; a rejected row fails the whole load anyway.
                 SkyStar& s = next.m_stars.emplace_back();
                 if (!p.Text(f, 0, &s.id, err) || !p.Number(f, 1, &s.hip, err) ||
                     !p.Number(f, 2, &s.hd, err) || !p.Number(f, 3, &s.hr, err) ||
                     !p.Number(f, 4, &s.sao, err) ||
                     !p.Position(f, 5, 6, &s.ra_deg, &s.dec_deg, err) ||
                     !p.Optional(f, 7, &s.pmra_mas_yr, err) ||
                     !p.Optional(f, 8, &s.pmdec_mas_yr, err) ||
                     !p.Optional(f, 9, &s.parallax_mas, err) ||
                     !p.Optional(f, 10, &s.parallax_err_mas, err) ||
                     !p.Optional(f, 11, &s.vmag, err) || !p.Optional(f, 12, &s.bv, err) ||
                     !p.Text(f, 13, &s.spectral_type, err) || !p.Text(f, 14, &s.bayer, err) ||
                     !p.Number(f, 15, &s.flamsteed, err) || !p.Text(f, 16, &s.constellation, err) ||
                     !p.Text(f, 17, &s.name_en, err) || !p.Text(f, 18, &s.name_ja, err) ||
                     !p.List(f, 19, &s.other_names, err) || !p.Text(f, 20, &s.variable_name, err))
                     return false;
                 if (s.id.IsEmpty()) return p.Fail(0, "empty identifier", err);
                 if (!s.constellation.IsEmpty() &&
                     !next.m_constellation_by_abbr.count(SearchKey(s.constellation.view())))
                     return p.Fail(16, "unknown constellation", err);
                 star_lines.push_back(p.Line());
                 return true;
             });
    ok = ok &&
         ReadTable(
             dir, "deepsky.tsv",
             {"id", "type", "type_ja", "type_en", "ra_deg", "dec_deg", "mag", "major_arcmin",
              "minor_arcmin", "pa_deg", "pgc", "designations", "name_en", "name_ja", "other_names"},
             error,
             [&](size_t n) {
                 next.m_deepsky.reserve(n);
                 deepsky_lines.reserve(n);
             },
             [&](const auto& f, FieldParser& p, std::string* err) {
                 SkyDeepSky& d = next.m_deepsky.emplace_back();
                 if (!p.Text(f, 0, &d.id, err) || !p.Number(f, 1, &d.type, err) ||
                     !p.Text(f, 2, &d.type_ja, err) || !p.Text(f, 3, &d.type_en, err) ||
                     !p.Position(f, 4, 5, &d.ra_deg, &d.dec_deg, err) ||
                     !p.Optional(f, 6, &d.magnitude, err) ||
                     !p.Optional(f, 7, &d.major_arcmin, err) ||
                     !p.Optional(f, 8, &d.minor_arcmin, err) || !p.Optional(f, 9, &d.pa_deg, err) ||
                     !p.Number(f, 10, &d.pgc, err) || !p.List(f, 11, &d.designations, err) ||
                     !p.Text(f, 12, &d.name_en, err) || !p.Text(f, 13, &d.name_ja, err) ||
                     !p.List(f, 14, &d.other_names, err))
                     return false;
                 if (d.id.IsEmpty()) return p.Fail(0, "empty identifier", err);
                 deepsky_lines.push_back(p.Line());
                 return true;
             });
    ok = ok && ReadTable(
                   dir, "magellanic.tsv", {"id", "name_en", "name_ja", "ra_deg", "dec_deg"}, error,
                   [&](size_t n) { next.m_magellanic.reserve(n); },
                   [&](const auto& f, FieldParser& p, std::string* err) {
                       SkyMagellanicCloud m;
                       if (!p.Text(f, 0, &m.id, err) || !p.Text(f, 1, &m.name_en, err) ||
                           !p.Text(f, 2, &m.name_ja, err) ||
                           !p.Position(f, 3, 4, &m.ra_deg, &m.dec_deg, err))
                           return false;
                       next.m_magellanic.push_back(std::move(m));
                       return true;
                   });
    if (!ok) return false;

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
    const int star = repeated(next.m_star_ids, [&](int k) {
        return SearchKey(next.m_stars[static_cast<size_t>(k)].id.view());
    });
    if (star >= 0) {
        *error = JoinPath(dir, "stars.tsv") + ":" +
                 std::to_string(star_lines[static_cast<size_t>(star)]) +
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
                 std::to_string(deepsky_lines[static_cast<size_t>(deep)]) +
                 ": identifier listed twice in column id";
        return false;
    }

    next.m_loaded = true;
    *this = std::move(next);
    return true;
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
            const auto cit = m_constellation_by_abbr.find(SearchKey(con));
            if (cit != m_constellation_by_abbr.end()) {
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
    // the entry), HD to the first star in file order, which is that star too.
    for (int i = 0; i < static_cast<int>(m_stars.size()); ++i) {
        const SkyStar& s = m_stars[static_cast<size_t>(i)];
        if (s.hip) m_hip.push_back({s.hip, i});
        if (s.hd) m_hd.push_back({s.hd, i});
    }
    std::stable_sort(m_hip.begin(), m_hip.end(), [&](const NumberEntry& a, const NumberEntry& b) {
        if (a.number != b.number) return a.number < b.number;
        const bool ha = m_stars[static_cast<size_t>(a.index)].id.str() == u"HIP" + Digits(a.number);
        const bool hb = m_stars[static_cast<size_t>(b.index)].id.str() == u"HIP" + Digits(b.number);
        return ha && !hb;
    });
    numbers(&m_hd);
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
        add(&m_star_ids, m_stars[static_cast<size_t>(i)].id.view(), {SkyKind::Star, i});
    for (int i = 0; i < static_cast<int>(m_deepsky.size()); ++i) {
        const SkyDeepSky& d = m_deepsky[static_cast<size_t>(i)];
        add(&m_deepsky_ids, d.id.view(), {SkyKind::DeepSky, i});
        for (const CString& des : d.designations)
            add(&m_deepsky_ids, des.view(), {SkyKind::DeepSky, i});
    }

    m_search.reserve(m_stars.size() * 8 + m_deepsky.size() * 4);
    const auto add_all = [&](SkyKind kind, size_t count) {
        for (int i = 0; i < static_cast<int>(count); ++i) {
            const SkyRef ref{kind, i};
            ForEachKey(ref, [&](std::u16string_view text) { add(&m_search, text, ref); });
            ForEachName(ref, [&](std::u16string_view name, bool) {
                if (!name.empty()) m_name_keys.emplace_back(SearchKey(name), ref);
            });
        }
    };
    add_all(SkyKind::Star, m_stars.size());
    add_all(SkyKind::DeepSky, m_deepsky.size());
    add_all(SkyKind::Magellanic, m_magellanic.size());
    add_all(SkyKind::Constellation, m_constellations.size());
    for (auto* table : {&m_star_ids, &m_deepsky_ids, &m_search}) {
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
    const auto [first, last] = HashRange(m_star_ids, HashKey(key));
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

const SkyStar* CSkyCatalog::StarByHd(int hd) const {
    const int i = NumberLookup(m_hd, hd);
    return i < 0 ? nullptr : &m_stars[static_cast<size_t>(i)];
}

const SkyDeepSky* CSkyCatalog::DeepSkyById(const CString& id) const {
    // An object's own number wins over another object's designation.
    const std::string key = SearchKey(id.view());
    const auto [first, last] = HashRange(m_deepsky_ids, HashKey(key));
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
    const auto it = m_constellation_by_abbr.find(SearchKey(abbr.view()));
    return it == m_constellation_by_abbr.end() ? nullptr
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
        for (const auto& [name_key, ref] : m_name_keys) {
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
        const double s = std::sin(radius * kDegToRad) / std::cos(dec_deg * kDegToRad);
        if (s < 1.0) half_width = std::asin(s) / kDegToRad + 1e-9;
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
    const auto it = m_names_ja.find(english.str());
    return it == m_names_ja.end() ? CString() : it->second;
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

double CSkyCatalog::RaOf(const SkyRef& ref) const {
    const size_t i = static_cast<size_t>(ref.index);
    switch (ref.kind) {
        case SkyKind::Star:
            return i < m_stars.size() ? m_stars[i].ra_deg : 0.0;
        case SkyKind::DeepSky:
            return i < m_deepsky.size() ? m_deepsky[i].ra_deg : 0.0;
        case SkyKind::Magellanic:
            return i < m_magellanic.size() ? m_magellanic[i].ra_deg : 0.0;
        case SkyKind::Constellation:
            break;
    }
    return 0.0;
}

double CSkyCatalog::DecOf(const SkyRef& ref) const {
    const size_t i = static_cast<size_t>(ref.index);
    switch (ref.kind) {
        case SkyKind::Star:
            return i < m_stars.size() ? m_stars[i].dec_deg : 0.0;
        case SkyKind::DeepSky:
            return i < m_deepsky.size() ? m_deepsky[i].dec_deg : 0.0;
        case SkyKind::Magellanic:
            return i < m_magellanic.size() ? m_magellanic[i].dec_deg : 0.0;
        case SkyKind::Constellation:
            break;
    }
    return 0.0;
}
