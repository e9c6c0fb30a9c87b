// Named places on the Earth, the Moon and Mars, spacecraft on escape orbits
// and meteorites with their times of fall: the solar-system objects that
// are not bodies of solar::SolarSystem, from data/places.tsv,
// data/spacecraft.tsv and data/meteorites.tsv (data/README.md).
//
// Identifiers (after "Solar."): Planet.Earth.Place.<key>,
// Planet.Mars.Place.<key>, Planet.Earth.Satellite.Moon.Place.<key>,
// Spacecraft.<key>, Meteorite.<key>; keys compare without regard to case.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/cstring.h"
#include "sky/astrometry.h"
#include "sky/small_bodies.h"

namespace sky {

struct SurfacePlace {
    CString body;  // "Earth", "Moon", "Mars"
    CString key;
    CString name_en;
    CString name_ja;       // empty when there is no Japanese name
    CString kind_ja;       // "クレーター", "海", "天文台", ...
    double lat_deg = 0.0;  // planetocentric (the Earth: geodetic) latitude, north
    double lon_deg = 0.0;  // longitude, east
    double size_km = 0.0;  // diameter or extent, 0 when not given
};

struct Spacecraft {
    CString key;
    CString name_en;
    CString name_ja;
    solar::OrbitalElements elements;  // heliocentric, ecliptic J2000, TT
    double start_jd_ut = 0.0;         // the span the elements serve
    double end_jd_ut = 0.0;
};

struct Meteorite {
    CString key;
    CString name_en;
    CString name_ja;
    CString memo;  // class and place of fall, Japanese
    double fall_jd_ut = 0.0;
};

class SolarExtras {
  public:
    // Loads the three files of `dir`; false with a one-line reason.
    bool Load(const std::string& dir, std::string* error);
    // Loaded once per folder and shared; an empty set (and the reason in
    // *error when given) when a file cannot be read.
    static std::shared_ptr<const SolarExtras> Shared(const std::string& dir,
                                                     std::string* error = nullptr);

    const SurfacePlace* Place(const CString& body, const CString& key) const;
    const Spacecraft* FindSpacecraft(const CString& key) const;
    const Meteorite* FindMeteorite(const CString& key) const;

  private:
    std::vector<SurfacePlace> m_places;
    std::vector<Spacecraft> m_spacecraft;
    std::vector<Meteorite> m_meteorites;
};

// A spacecraft as the observer of `context` sees it: nothing outside its
// data span.  `place` is its astrometric place from the geocentre (ICRS,
// light time from the craft to the Earth solved by iteration), as a fixed
// point for the star pipeline (sky/astrometry.h), which then adds
// aberration and light deflection; at 100 au and more the observer's
// offset from the geocentre moves it by under 0.1 second of arc.
struct CraftSighting {
    astrometry::CatalogStar place;
    double geocentric_au = 0.0;    // the light's path to the geocentre
    double topocentric_au = 0.0;   // to the observer
    double heliocentric_au = 0.0;  // from the Sun, at the time the light left
};
std::optional<CraftSighting> SightSpacecraft(const Spacecraft& craft,
                                             const astrometry::AstrometryContext& context);

}  // namespace sky
