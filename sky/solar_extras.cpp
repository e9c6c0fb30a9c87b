#include "sky/solar_extras.h"

#include <erfa.h>
#include <erfam.h>

#include <cmath>
#include <map>
#include <mutex>

#include "sky/solar_ephemeris.h"
#include "sky/tsv.h"

namespace sky {

namespace {

// Light time per au, days (IAU 2012: 499.004784 s).
constexpr double kLightDaysPerAu = 499.004783836 / 86400.0;

bool LoadPlaces(const std::string& dir, std::vector<SurfacePlace>* out, std::string* error) {
    CTsvFile f;
    if (!f.Open(JoinPath(dir, "places.tsv"), error)) return false;
    const CTsvFile::Column body = f.Bind("body"), key = f.Bind("key"), en = f.Bind("name_en"),
                           ja = f.Bind("name_ja"), kind = f.Bind("kind_ja"),
                           lat = f.Bind("lat_deg"), lon = f.Bind("lon_deg"),
                           size = f.Bind("size_km");
    if (!f.ColumnsFound(error)) return false;
    while (f.Next(error)) {
        SurfacePlace p;
        if (!f.Text(body, &p.body, error) || !f.Text(key, &p.key, error) ||
            !f.Text(en, &p.name_en, error) || !f.Text(ja, &p.name_ja, error) ||
            !f.Text(kind, &p.kind_ja, error) || !f.Double(lat, &p.lat_deg, error) ||
            !f.Double(lon, &p.lon_deg, error) || !f.Double(size, &p.size_km, error))
            return false;
        if (std::fabs(p.lat_deg) > 90.0) return f.Fail(lat, "beyond +-90 degrees", error);
        out->push_back(std::move(p));
    }
    return error->empty();
}

bool LoadSpacecraft(const std::string& dir, std::vector<Spacecraft>* out, std::string* error) {
    CTsvFile f;
    if (!f.Open(JoinPath(dir, "spacecraft.tsv"), error)) return false;
    const CTsvFile::Column key = f.Bind("key"), en = f.Bind("name_en"), ja = f.Bind("name_ja"),
                           q = f.Bind("q_au"), e = f.Bind("e"), i = f.Bind("i_deg"),
                           node = f.Bind("node_deg"), peri = f.Bind("peri_arg_deg"),
                           tp = f.Bind("tp_jd_tt"), start = f.Bind("start_jd_ut"),
                           end = f.Bind("end_jd_ut");
    if (!f.ColumnsFound(error)) return false;
    while (f.Next(error)) {
        Spacecraft c;
        solar::OrbitalElements& el = c.elements;
        if (!f.Text(key, &c.key, error) || !f.Text(en, &c.name_en, error) ||
            !f.Text(ja, &c.name_ja, error) || !f.Double(q, &el.perihelion_distance_au, error) ||
            !f.Double(e, &el.eccentricity, error) || !f.Double(i, &el.inclination_deg, error) ||
            !f.Double(node, &el.node_deg, error) ||
            !f.Double(peri, &el.perihelion_argument_deg, error) ||
            !f.Double(tp, &el.perihelion_jd_tt, error) || !f.Double(start, &c.start_jd_ut, error) ||
            !f.Double(end, &c.end_jd_ut, error))
            return false;
        el.epoch_jd_tt = el.perihelion_jd_tt;
        if (!solar::IsValid(el)) return f.Fail(q, "not an orbit", error);
        out->push_back(std::move(c));
    }
    return error->empty();
}

bool LoadMeteorites(const std::string& dir, std::vector<Meteorite>* out, std::string* error) {
    CTsvFile f;
    if (!f.Open(JoinPath(dir, "meteorites.tsv"), error)) return false;
    const CTsvFile::Column key = f.Bind("key"), en = f.Bind("name_en"), ja = f.Bind("name_ja"),
                           fall = f.Bind("fall_jd_ut"), memo = f.Bind("memo");
    if (!f.ColumnsFound(error)) return false;
    while (f.Next(error)) {
        Meteorite m;
        if (!f.Text(key, &m.key, error) || !f.Text(en, &m.name_en, error) ||
            !f.Text(ja, &m.name_ja, error) || !f.Double(fall, &m.fall_jd_ut, error) ||
            !f.Text(memo, &m.memo, error))
            return false;
        out->push_back(std::move(m));
    }
    return error->empty();
}

template <class T>
const T* FindByKey(const std::vector<T>& items, const CString& key) {
    for (const T& item : items) {
        if (item.key.CompareNoCase(key) == 0) return &item;
    }
    return nullptr;
}

}  // namespace

bool SolarExtras::Load(const std::string& dir, std::string* error) {
    SolarExtras fresh;
    error->clear();
    if (!LoadPlaces(dir, &fresh.m_places, error) ||
        !LoadSpacecraft(dir, &fresh.m_spacecraft, error) ||
        !LoadMeteorites(dir, &fresh.m_meteorites, error))
        return false;
    *this = std::move(fresh);
    return true;
}

std::shared_ptr<const SolarExtras> SolarExtras::Shared(const std::string& dir, std::string* error) {
    static std::mutex mutex;
    static std::map<std::string, std::pair<std::shared_ptr<const SolarExtras>, std::string>> loaded;
    const std::lock_guard<std::mutex> lock(mutex);
    auto found = loaded.find(dir);
    if (found == loaded.end()) {
        auto extras = std::make_shared<SolarExtras>();
        std::string why;
        if (!extras->Load(dir, &why)) extras = std::make_shared<SolarExtras>();
        found = loaded.emplace(dir, std::make_pair(std::move(extras), why)).first;
    }
    if (error) *error = found->second.second;
    return found->second.first;
}

const SurfacePlace* SolarExtras::Place(const CString& body, const CString& key) const {
    for (const SurfacePlace& p : m_places) {
        if (p.body.CompareNoCase(body) == 0 && p.key.CompareNoCase(key) == 0) return &p;
    }
    return nullptr;
}

const Spacecraft* SolarExtras::FindSpacecraft(const CString& key) const {
    return FindByKey(m_spacecraft, key);
}

const Meteorite* SolarExtras::FindMeteorite(const CString& key) const {
    return FindByKey(m_meteorites, key);
}

std::optional<CraftSighting> SightSpacecraft(const Spacecraft& craft,
                                             const astrometry::AstrometryContext& context) {
    const double jd_ut = context.JdUt();
    if (!context.ok() || jd_ut < craft.start_jd_ut || jd_ut > craft.end_jd_ut) return std::nullopt;
    const double jd_tt = context.JdTt();
    const solar::Vec3 earth = solar::EarthBarycentric(jd_tt);
    // The light left the craft tau days ago: three rounds settle tau to far
    // below a second (the craft moves 3.6 au a year, 1e-4 of light speed).
    double tau = 0.0;
    solar::Vec3 helio{}, seen{};
    for (int round = 0; round < 3; ++round) {
        helio = solar::KeplerHeliocentric(craft.elements, jd_tt - tau);
        seen = solar::Sub(solar::Add(helio, solar::SunBarycentric(jd_tt - tau)), earth);
        tau = solar::Norm(seen) * kLightDaysPerAu;
    }
    const double distance = solar::Norm(seen);
    if (!std::isfinite(distance) || distance <= 0.0) return std::nullopt;
    CraftSighting s;
    double ra = 0.0, dec = 0.0;
    eraC2s(seen.data(), &ra, &dec);
    s.place.ra_deg = eraAnp(ra) * ERFA_DR2D;
    s.place.dec_deg = dec * ERFA_DR2D;
    s.geocentric_au = distance;
    const double* observer = context.Topocentric().eb;  // SSB to the observer, au
    s.topocentric_au = solar::Norm(
        solar::Sub(solar::Add(seen, earth), solar::Vec3{observer[0], observer[1], observer[2]}));
    s.heliocentric_au = solar::Norm(helio);
    return s;
}

}  // namespace sky
