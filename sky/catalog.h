// The sky engine's catalogues: stars, NGC/IC objects, the Magellanic Clouds
// and the 88 constellations, loaded from the TSV files of data/ (made by
// tools/, described in data/README.md).
//
// All positions are ICRS, equinox and epoch J2000.0, in degrees; only the
// constellation boundaries are for the equinox B1875 (Roman 1987), so the
// caller precesses a point to B1875 before asking which constellation holds
// it.  A value that the data lacks is an empty std::optional (or 0 for a
// catalogue number, an empty text for a name): the engine answers "*" for it.
//
// Loading reads every file completely and builds the lookup tables; a missing
// or malformed file gives false and a one-line reason, and leaves a catalogue
// that was loaded before unchanged.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "host/cstring.h"
#include "sky/astrometry.h"
#include "sky/small_bodies.h"

// One star (stars.tsv).  `id` is "HIP" + number for the star that holds its
// Hipparcos entry, else "HD" + number (with "_2", "_3" for further stars of
// one HD number), else "KSJ" + position.
struct SkyStar {
    CString id;
    int hip = 0;                             // Hipparcos number, 0 = none
    int hd = 0;                              // Henry Draper number
    int hr = 0;                              // Bright Star (Harvard Revised) number
    int sao = 0;                             // SAO number
    double ra_deg = 0.0;                     // ICRS right ascension, J2000.0, degrees [0, 360)
    double dec_deg = 0.0;                    // ICRS declination, J2000.0, degrees
    std::optional<double> pmra_mas_yr;       // proper motion in RA times cos(Dec), mas/yr
    std::optional<double> pmdec_mas_yr;      // proper motion in Dec, mas/yr
    std::optional<double> parallax_mas;      // annual parallax, mas (may be negative)
    std::optional<double> parallax_err_mas;  // standard error of the parallax, mas
    std::optional<double> vmag;              // Johnson V of the whole system
    std::optional<double> bv;                // B-V colour index
    CString spectral_type;                   // MK type ("A1V+DA"), or two characters ("K?")
    CString bayer;                     // Greek (or Latin) letter with its index: "α", "γ1", "b"
    int flamsteed = 0;                 // Flamsteed number, 0 = none
    CString constellation;             // abbreviation of the Bayer/Flamsteed designation
    CString name_en;                   // English proper name
    CString name_ja;                   // Japanese proper name
    std::vector<CString> other_names;  // further English names
    CString variable_name;             // GCVS designation of a variable star: "α Ori", "WZ Cas"
};

// The parallax of a star when it measures a distance (mas), else nothing:
// a parallax below kMinParallaxMas, or below kMinParallaxSigmas times its
// standard error, says only that the star is far (ESA SP-1200 vol. 1
// sect. 1.2.6 warns against distances from such parallaxes).
constexpr double kMinParallaxMas = 1.0;
constexpr double kMinParallaxSigmas = 3.0;
std::optional<double> MeasuredParallaxMas(const SkyStar& star);

// The star as astrometry takes it: its J2000 place, proper motion (zero
// where unknown) and measured parallax (zero where there is none).
astrometry::CatalogStar CatalogPlaceOf(const SkyStar& star);

// One NGC/IC object (deepsky.tsv, OpenNGC).
struct SkyDeepSky {
    CString id;            // "NGC 224", "IC 434", "M 45" (an object outside NGC and IC)
    int type = 255;        // object type code, see data/README.md (8 galaxy, 3 open cluster, ...)
    CString type_ja;       // "銀河", "散開星団", ...
    CString type_en;       // "galaxy", "open cluster", ...
    double ra_deg = 0.0;   // J2000, degrees
    double dec_deg = 0.0;  // J2000, degrees
    std::optional<double> magnitude;     // V where OpenNGC has it, else B (the band is not kept)
    std::optional<double> major_arcmin;  // major axis, arcmin
    std::optional<double> minor_arcmin;  // minor axis, arcmin
    std::optional<double> pa_deg;        // position angle of the major axis, degrees from north
    int pgc = 0;                         // PGC number, 0 = none
    std::vector<CString> designations;   // other designations: "M 31", "PGC 2557", "UGC 454"
    CString name_en;                     // common name
    CString name_ja;                     // Japanese common name
    std::vector<CString> other_names;    // further common names
};

// One of the Magellanic Clouds (magellanic.tsv).
struct SkyMagellanicCloud {
    CString id;  // "LMC", "SMC"
    CString name_en;
    CString name_ja;
    double ra_deg = 0.0;   // J2000, degrees
    double dec_deg = 0.0;  // J2000, degrees
};

// One constellation (constellations.tsv).
struct SkyConstellation {
    CString abbr;     // IAU abbreviation, "CMa"
    CString name;     // IAU name, "Canis Major"
    CString name_ja;  // "おおいぬ座"
    std::vector<CString> other_names;
};

class SkyStarExtras;

enum class SkyKind { Star, DeepSky, Magellanic, Constellation };

// A catalogue entry: its kind and its index in Stars(), DeepSky(),
// Magellanic() or Constellations().
struct SkyRef {
    SkyKind kind = SkyKind::Star;
    int index = -1;
    friend bool operator==(const SkyRef& a, const SkyRef& b) {
        return a.kind == b.kind && a.index == b.index;
    }
};

// An entry found near a position, with its angular distance in degrees.
struct SkyNearby {
    SkyRef ref;
    double separation_deg = 0.0;
};

class CSkyCatalog {
  public:
    // $VEXCLK_DATA when set and not empty; else, in an installed copy, the
    // data/ folder of the prefix it was installed to (host/install_dir.h);
    // else the data/ folder of the source tree the program was built from.
    static std::string DefaultDataDir();

    // Loads every file from `dir`.  On failure returns false with a one-line
    // reason ("PATH:LINE: ...") in *error; the catalogue keeps what it held.
    bool Load(const std::string& dir, std::string* error);
    bool IsLoaded() const { return m_loaded; }

    const std::vector<SkyStar>& Stars() const { return m_stars; }
    const std::vector<SkyDeepSky>& DeepSky() const { return m_deepsky; }
    const std::vector<SkyMagellanicCloud>& Magellanic() const { return m_magellanic; }
    const std::vector<SkyConstellation>& Constellations() const { return m_constellations; }
    // Comets and minor planets of small_bodies.tsv; empty when the folder
    // has no such file.
    const std::vector<solar::SmallBody>& SmallBodies() const { return m_smallBodies; }
    // Variable and double stars, exoplanets, novae and supernovae, faint
    // stars (sky/star_extras.h); empty tables for files the folder lacks.
    const SkyStarExtras& Extras() const;

    // Stars by identifier ("HIP32349", case and blanks ignored) and by HIP
    // number (the star holding the entry); nullptr when unknown.
    const SkyStar* StarById(const CString& id) const;
    const SkyStar* StarByHip(int hip) const;

    // Deep-sky object by catalogue number or other designation, case and
    // blanks ignored: "NGC 224", "ngc224", "M31", "PGC 2557".
    const SkyDeepSky* DeepSkyById(const CString& id) const;
    const SkyDeepSky* DeepSkyByPgc(int pgc) const;
    const SkyMagellanicCloud* MagellanicById(const CString& id) const;

    // Constellation by IAU abbreviation, case ignored ("cma", "CMA").
    const SkyConstellation* ConstellationByAbbr(const CString& abbr) const;

    // The constellation that holds a point, by the boundaries of Roman (1987,
    // PASP 99, 695): the first box with ra_low <= RA < ra_high and Dec >= dec_low.
    // ra_deg, dec_deg: position referred to the mean equator and equinox of
    // B1875.0, degrees (RA taken modulo 360; Dec in [-90, +90]).  Returns
    // nullptr for a Dec outside that range or a NaN.
    const SkyConstellation* ConstellationAtB1875(double ra_deg, double dec_deg) const;

    // Entries whose identifier, catalogue number, designation (Bayer,
    // Flamsteed, GCVS, other catalogues) or name in English or Japanese
    // equals `text` by SearchKey: "Sirius", "シリウス", "alpha CMa", "α CMa",
    // "おおいぬ座α星", "9 CMa", "HIP 32349", "HD 48915", "M 42", "オリオン大星雲",
    // "Ori", "オリオン座".
    // A Bayer letter without its index ("α Cen") finds every index ("α1 Cen",
    // "α2 Cen").  Entries whose name merely contains `text` (three bytes of
    // its search key or more) follow.  Order: the entry's own English or
    // Japanese name, then a designation, then a further name (brighter stars
    // first within each), then names that begin with the text, then names
    // that hold it; otherwise catalogue order (stars, deep sky, Magellanic
    // Clouds, constellations).
    std::vector<SkyRef> Find(const CString& text) const;

    // Stars, deep-sky objects and Magellanic Clouds within radius_deg of a
    // J2000 position (degrees), nearest first, at most `limit` of them.
    // Separations by eraSeps, exact at small angles.
    std::vector<SkyNearby> Nearest(double ra_deg, double dec_deg, double radius_deg,
                                   int limit) const;

    // Japanese name of an object by its English name (names_ja.tsv: stars,
    // constellations without "座", deep-sky objects, planets, moons); empty
    // when unknown.
    CString JapaneseName(const CString& english) const;

    // Identifier text of an entry (star id, deep-sky id, "LMC", abbreviation).
    CString IdOf(const SkyRef& ref) const;

    // The search key of a text (UTF-8): blanks dropped, full-width ASCII
    // made half-width, ASCII folded to lower case, leading zeros of digit
    // runs dropped.  "NGC 0224", "ngc224" and "ＮＧＣ２２４" share one key.
    static std::string SearchKey(std::u16string_view text);

  private:
    struct Box {
        double ra_low_h, ra_high_h, dec_low_deg;
        int constellation;
    };
    struct GridEntry {
        double ra_deg;
        double dec_deg;
        SkyRef ref;
    };
    // The 64-bit hash of a search key and an entry that has the key.  Tables
    // of these are sorted; a lookup confirms every hit against the entry's
    // own keys, so a hash collision never gives a wrong answer.
    struct KeyEntry {
        std::uint64_t hash;
        SkyRef ref;
    };
    struct NumberEntry {
        int number;
        int index;
    };

    std::vector<SkyStar> m_stars;
    std::vector<SkyDeepSky> m_deepsky;
    std::vector<SkyMagellanicCloud> m_magellanic;
    std::vector<SkyConstellation> m_constellations;
    std::vector<solar::SmallBody> m_smallBodies;
    std::shared_ptr<const SkyStarExtras> m_extras;
    std::vector<Box> m_boxes;
    std::unordered_map<std::u16string, CString> m_namesJa;
    std::unordered_map<std::string, int> m_constellationByAbbr;

    std::vector<KeyEntry> m_starIds;     // star identifiers
    std::vector<KeyEntry> m_deepskyIds;  // deep-sky numbers and designations
    std::vector<KeyEntry> m_search;      // every search key of every entry
    // The search key of every name of every entry, for partial matches.
    std::vector<std::pair<std::string, SkyRef>> m_nameKeys;
    std::vector<NumberEntry> m_hip, m_pgc;  // sorted by number
    // Declination bands of one degree (index 0 is -90..-89), each sorted by RA.
    std::vector<std::vector<GridEntry>> m_grid;
    bool m_loaded = false;

    bool LoadFrom(const std::string& dir, std::string* error);
    // One file each (sky/catalog_load.cpp); the star and deep-sky loaders
    // also give the file line of every row, for reporting repeats.
    bool LoadConstellations(const std::string& dir, std::string* error);
    bool LoadBounds(const std::string& dir, std::string* error);
    bool LoadNamesJa(const std::string& dir, std::string* error);
    bool LoadStars(const std::string& dir, std::vector<int>* lines, std::string* error);
    bool LoadDeepSky(const std::string& dir, std::vector<int>* lines, std::string* error);
    bool LoadMagellanic(const std::string& dir, std::string* error);
    void BuildIndexes();
    void ForEachKey(const SkyRef& ref, const std::function<void(std::u16string_view)>& fn) const;
    bool HasKey(const SkyRef& ref, const std::string& key) const;
    // The names of an entry: its own (English, Japanese) and further ones.
    void ForEachName(const SkyRef& ref,
                     const std::function<void(std::u16string_view, bool own)>& fn) const;
    // 0: `key` is the entry's own name, 1: a designation, 2: a further name.
    int MatchRank(const SkyRef& ref, const std::string& key) const;
};
