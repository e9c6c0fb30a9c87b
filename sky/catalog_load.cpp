// The loaders of the catalogue files of data/, one per file: each binds the
// columns it reads by name (sky/tsv.h) and checks every row.  Columns and
// units: data/README.md.
#include "sky/catalog.h"
#include "sky/tsv.h"

using sky::CTsvFile;
using sky::JoinPath;

bool CSkyCatalog::LoadConstellations(const std::string& dir, std::string* error) {
    CTsvFile f;
    if (!f.Open(JoinPath(dir, "constellations.tsv"), error)) return false;
    const CTsvFile::Column abbr = f.Bind("abbr"), name = f.Bind("name"), nameJa = f.Bind("name_ja"),
                           otherNames = f.Bind("other_names");
    if (!f.ColumnsFound(error)) return false;
    m_constellations.reserve(f.RowsAtMost());
    while (f.Next(error)) {
        SkyConstellation k;
        if (!f.Text(abbr, &k.abbr, error) || !f.Text(name, &k.name, error) ||
            !f.Text(nameJa, &k.name_ja, error) || !f.List(otherNames, &k.other_names, error))
            return false;
        if (k.abbr.IsEmpty()) return f.Fail(abbr, "empty abbreviation", error);
        const int index = static_cast<int>(m_constellations.size());
        if (!m_constellationByAbbr.emplace(SearchKey(k.abbr.view()), index).second)
            return f.Fail(abbr, "abbreviation listed twice", error);
        m_constellations.push_back(std::move(k));
    }
    return error->empty();
}

bool CSkyCatalog::LoadBounds(const std::string& dir, std::string* error) {
    CTsvFile f;
    if (!f.Open(JoinPath(dir, "constellation_bounds_b1875.tsv"), error)) return false;
    const CTsvFile::Column raLow = f.Bind("ra_low_h"), raHigh = f.Bind("ra_high_h"),
                           decLow = f.Bind("dec_low_deg"), abbrColumn = f.Bind("abbr");
    if (!f.ColumnsFound(error)) return false;
    m_boxes.reserve(f.RowsAtMost());
    while (f.Next(error)) {
        Box b{};
        CString abbr;
        if (!f.Double(raLow, &b.ra_low_h, error) || !f.Double(raHigh, &b.ra_high_h, error) ||
            !f.Double(decLow, &b.dec_low_deg, error) || !f.Text(abbrColumn, &abbr, error))
            return false;
        if (!(b.ra_low_h >= 0.0 && b.ra_low_h < b.ra_high_h && b.ra_high_h <= 24.0 &&
              b.dec_low_deg >= -90.0 && b.dec_low_deg <= 90.0))
            return f.Fail(raLow, "box outside 0..24 h or -90..+90 deg", error);
        const auto it = m_constellationByAbbr.find(SearchKey(abbr.view()));
        if (it == m_constellationByAbbr.end())
            return f.Fail(abbrColumn, "unknown constellation", error);
        b.constellation = it->second;
        m_boxes.push_back(b);
    }
    return error->empty();
}

bool CSkyCatalog::LoadNamesJa(const std::string& dir, std::string* error) {
    CTsvFile f;
    if (!f.Open(JoinPath(dir, "names_ja.tsv"), error)) return false;
    const CTsvFile::Column english = f.Bind("english"), japanese = f.Bind("japanese"),
                           kindColumn = f.Bind("kind");
    if (!f.ColumnsFound(error)) return false;
    m_namesJa.reserve(f.RowsAtMost());
    while (f.Next(error)) {
        CString en, ja, kind;
        if (!f.Text(english, &en, error) || !f.Text(japanese, &ja, error) ||
            !f.Text(kindColumn, &kind, error))
            return false;
        // The plain name wins over a translator-tagged one.
        auto [it, added] = m_namesJa.emplace(en.str(), ja);
        if (!added && kind.IsEmpty()) it->second = ja;
    }
    return error->empty();
}

bool CSkyCatalog::LoadStars(const std::string& dir, std::vector<int>* lines, std::string* error) {
    CTsvFile f;
    if (!f.Open(JoinPath(dir, "stars.tsv"), error)) return false;
    const CTsvFile::Column id = f.Bind("id"), hip = f.Bind("hip"), hd = f.Bind("hd"),
                           hr = f.Bind("hr"), sao = f.Bind("sao"), ra = f.Bind("ra_deg"),
                           dec = f.Bind("dec_deg"), pmra = f.Bind("pmra_mas_yr"),
                           pmdec = f.Bind("pmdec_mas_yr"), parallax = f.Bind("parallax_mas"),
                           parallaxErr = f.Bind("parallax_err_mas"), vmag = f.Bind("vmag"),
                           bv = f.Bind("bv"), sptype = f.Bind("sptype"), bayer = f.Bind("bayer"),
                           flamsteed = f.Bind("flamsteed"), con = f.Bind("con"),
                           nameEn = f.Bind("name_en"), nameJa = f.Bind("name_ja"),
                           otherNames = f.Bind("other_names"), gcvs = f.Bind("gcvs");
    if (!f.ColumnsFound(error)) return false;
    m_stars.reserve(f.RowsAtMost());
    lines->reserve(f.RowsAtMost());
    while (f.Next(error)) {
        // Filled in place; a rejected row fails the whole load anyway.
        SkyStar& s = m_stars.emplace_back();
        if (!f.Text(id, &s.id, error) || !f.Number(hip, &s.hip, error) ||
            !f.Number(hd, &s.hd, error) || !f.Number(hr, &s.hr, error) ||
            !f.Number(sao, &s.sao, error) || !f.Position(ra, dec, &s.ra_deg, &s.dec_deg, error) ||
            !f.Optional(pmra, &s.pmra_mas_yr, error) ||
            !f.Optional(pmdec, &s.pmdec_mas_yr, error) ||
            !f.Optional(parallax, &s.parallax_mas, error) ||
            !f.Optional(parallaxErr, &s.parallax_err_mas, error) ||
            !f.Optional(vmag, &s.vmag, error) || !f.Optional(bv, &s.bv, error) ||
            !f.Text(sptype, &s.spectral_type, error) || !f.Text(bayer, &s.bayer, error) ||
            !f.Number(flamsteed, &s.flamsteed, error) || !f.Text(con, &s.constellation, error) ||
            !f.Text(nameEn, &s.name_en, error) || !f.Text(nameJa, &s.name_ja, error) ||
            !f.List(otherNames, &s.other_names, error) || !f.Text(gcvs, &s.variable_name, error))
            return false;
        if (s.id.IsEmpty()) return f.Fail(id, "empty identifier", error);
        if (!s.constellation.IsEmpty() &&
            !m_constellationByAbbr.count(SearchKey(s.constellation.view())))
            return f.Fail(con, "unknown constellation", error);
        lines->push_back(f.Line());
    }
    return error->empty();
}

bool CSkyCatalog::LoadDeepSky(const std::string& dir, std::vector<int>* lines, std::string* error) {
    CTsvFile f;
    if (!f.Open(JoinPath(dir, "deepsky.tsv"), error)) return false;
    const CTsvFile::Column id = f.Bind("id"), type = f.Bind("type"), typeJa = f.Bind("type_ja"),
                           typeEn = f.Bind("type_en"), ra = f.Bind("ra_deg"),
                           dec = f.Bind("dec_deg"), mag = f.Bind("mag"),
                           major = f.Bind("major_arcmin"), minor = f.Bind("minor_arcmin"),
                           pa = f.Bind("pa_deg"), pgc = f.Bind("pgc"),
                           designations = f.Bind("designations"), nameEn = f.Bind("name_en"),
                           nameJa = f.Bind("name_ja"), otherNames = f.Bind("other_names");
    if (!f.ColumnsFound(error)) return false;
    m_deepsky.reserve(f.RowsAtMost());
    lines->reserve(f.RowsAtMost());
    while (f.Next(error)) {
        SkyDeepSky& d = m_deepsky.emplace_back();
        if (!f.Text(id, &d.id, error) || !f.Number(type, &d.type, error) ||
            !f.Text(typeJa, &d.type_ja, error) || !f.Text(typeEn, &d.type_en, error) ||
            !f.Position(ra, dec, &d.ra_deg, &d.dec_deg, error) ||
            !f.Optional(mag, &d.magnitude, error) || !f.Optional(major, &d.major_arcmin, error) ||
            !f.Optional(minor, &d.minor_arcmin, error) || !f.Optional(pa, &d.pa_deg, error) ||
            !f.Number(pgc, &d.pgc, error) || !f.List(designations, &d.designations, error) ||
            !f.Text(nameEn, &d.name_en, error) || !f.Text(nameJa, &d.name_ja, error) ||
            !f.List(otherNames, &d.other_names, error))
            return false;
        if (d.id.IsEmpty()) return f.Fail(id, "empty identifier", error);
        lines->push_back(f.Line());
    }
    return error->empty();
}

bool CSkyCatalog::LoadMagellanic(const std::string& dir, std::string* error) {
    CTsvFile f;
    if (!f.Open(JoinPath(dir, "magellanic.tsv"), error)) return false;
    const CTsvFile::Column id = f.Bind("id"), nameEn = f.Bind("name_en"),
                           nameJa = f.Bind("name_ja"), ra = f.Bind("ra_deg"),
                           dec = f.Bind("dec_deg");
    if (!f.ColumnsFound(error)) return false;
    while (f.Next(error)) {
        SkyMagellanicCloud m;
        if (!f.Text(id, &m.id, error) || !f.Text(nameEn, &m.name_en, error) ||
            !f.Text(nameJa, &m.name_ja, error) ||
            !f.Position(ra, dec, &m.ra_deg, &m.dec_deg, error))
            return false;
        m_magellanic.push_back(std::move(m));
    }
    return error->empty();
}
