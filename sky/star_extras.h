// The sky engine's further star tables: variable stars (GCVS), double stars
// (WDS), planets of other stars, historic supernovae and novae, and the faint
// stars that only the picked-star slot shows.  Files, columns, units and
// sources: data/README.md; made by tools/make_star_extras.py.
//
// Each file is optional: a folder without it gives an empty table (the
// engine then knows none of those objects).  A file that is present is read
// whole and checked row by row; the first bad row fails the load.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "host/cstring.h"
#include "sky/catalog.h"

// A variable star of the GCVS that is a Hipparcos star of stars.tsv.
// Numbers that the engine answers as the catalogue writes them are kept
// as text (checked to be numbers), so that no digit is added or lost.
struct SkyVariableStar {
    CString designation;                   // GCVS designation, Greek in UTF-8: "δ Cep", "R And"
    int hip = 0;                           // the star of stars.tsv that it is
    CString type;                          // GCVS variability type: "DCEP", "EA/SD", "M"
    std::optional<double> maxMag, minMag;  // magnitudes at maximum and minimum, in `band`
    bool minIsLimit = false;               // the minimum is only a limit ("<" in the GCVS)
    CString band;     // photometric band of both: "V", "Hp", "p" (photographic)
    CString epochJd;  // epoch of maximum (minimum for eclipsing stars), Julian Day, heliocentric
    CString periodDays;
    CString risePercent;  // rise (eclipse) duration, percent of the period
    CString spectralType;
};

// The last measure the WDS holds for a system that a Hipparcos star belongs
// to.  The pair measured is the one the WDS lists last for the system: AB
// for many, a wider companion for some (data/README.md).
struct SkyDoubleStar {
    CString wds;                      // WDS designation "05145-0812" (J2000 position hhmmm+ddmm)
    int hip = 0;                      // the star of stars.tsv
    std::optional<double> lastYear;   // year of the measure
    std::optional<double> lastPaDeg;  // position angle, degrees from north through east
    std::optional<double> lastSepArcsec;  // separation, seconds of arc
};

// A planet of another star.
struct SkyExoplanet {
    CString id;       // "HIP113357b": the host's identifier and the planet's letter
    int hostHip = 0;  // the host, a star of stars.tsv
    CString letter;   // "b"
    CString name;     // "51 Peg b"
    CString iauName;  // IAU name, "Dimidium"; empty when none
    CString periodDays, semiMajorAxisAu, eccentricity;  // as published (text, checked)
    std::optional<double>
        massJupiter;  // mass (M sin i for radial-velocity planets), Jupiter masses
    std::optional<double> radiusJupiter;  // radius, Jupiter radii
    int discovered = 0;                   // year of the discovery
};

// A historic supernova or nova.
struct SkyTransient {
    CString id;  // "SN1054", "V603Aql"
    bool supernova = false;
    CString nameJa, nameEn;
    double raDeg = 0.0, decDeg = 0.0;  // J2000, degrees
    CString gcvs;                      // its GCVS designation, when it has one
    std::vector<CString> crossIds;     // "Sk -69 202", "M 1"
    CString summary;                   // Japanese, our own words
};

class SkyStarExtras {
  public:
    // Loads the five files that `dir` holds; `catalog` is the loaded star
    // catalogue, whose Hipparcos stars the tables refer to.  False with a
    // one-line reason for a bad file or a row naming a star it lacks.
    bool Load(const std::string& dir, const CSkyCatalog& catalog, std::string* error);

    const std::vector<SkyVariableStar>& Variables() const { return m_variables; }
    const std::vector<SkyDoubleStar>& Doubles() const { return m_doubles; }
    const std::vector<SkyExoplanet>& Exoplanets() const { return m_planets; }
    const std::vector<SkyTransient>& Transients() const { return m_transients; }
    const std::vector<SkyStar>& FaintStars() const { return m_faint; }

    // By identifier, case and blanks ignored ("_" counts as a blank).  A
    // variable star by its designation, its Greek letter also in the
    // catalogues' ASCII form ("omi_Cet" for "ο Cet"; an exact Latin name
    // such as "NU Pav" wins over "ν Pav").  nullptr when unknown.
    const SkyVariableStar* VariableById(const CString& id) const;
    // The measures of a WDS system, brightest star first (empty when unknown).
    std::vector<const SkyDoubleStar*> System(const CString& wds) const;
    const SkyExoplanet* ExoplanetById(const CString& id) const;  // "HIP113357b", "51 Peg b"
    int PlanetCount(int hostHip) const;
    const SkyTransient* TransientById(const CString& id) const;  // "SN1054", "V603 Aql"
    // A faint star by the identifier the engine gives it: "KSJ" + position
    // ("KSJ000000.8+313155", see data/README.md).
    const SkyStar* FaintById(const CString& id) const;

  private:
    bool LoadVariables(const std::string& dir, const CSkyCatalog& catalog, std::string* error);
    bool LoadDoubles(const std::string& dir, const CSkyCatalog& catalog, std::string* error);
    bool LoadExoplanets(const std::string& dir, const CSkyCatalog& catalog, std::string* error);
    bool LoadTransients(const std::string& dir, std::string* error);
    bool LoadFaint(const std::string& dir, std::string* error);

    std::vector<SkyVariableStar> m_variables;
    std::vector<SkyDoubleStar> m_doubles;  // by WDS designation, then brightest star first
    std::vector<SkyExoplanet> m_planets;
    std::vector<SkyTransient> m_transients;
    std::vector<SkyStar> m_faint;  // sorted by id
};

// The identifier of a faint star: "KSJ" + its J2000 position as
// "hhmmss.s+ddmmss", each field truncated (not rounded).
//   raDeg, decDeg  J2000 right ascension and declination, degrees
CString FaintStarId(double raDeg, double decDeg);
