// CSkyEngine: a planetarium engine that computes what it answers.
//
// It speaks the command language of the module's engine link (queries,
// assignments, defaults, verbs; see sky/command.h), keeps the sky state
// (time, place, view, selection, measuring line) and answers the properties
// of catalogue objects with true positions from ERFA (sky/astrometry.h) and
// the catalogues shipped in data/ (sky/catalog.h).
//
// Object identifiers it serves:
//   Star.<id>                 a catalogue star; <id> is HIP<n>, HD<n>[_k] or
//                             KSJ<position> (the catalogue's lasting id)
//   star.Xno0                 the picked-star slot (SetPickedStar): a star
//                             of the catalogue or a faint one; its .Id is
//                             the star's designation
//   star.GCVS.<name>          a variable star: star.GCVS.δ_Cep, star.GCVS.omi_Cet
//   star.WDS.<wds>[.HIP<n>]   a double-star system, or one of its stars:
//                             star.WDS.05145-0812, star.WDS.05145-0812.HIP24436
//   star.ExtraSolarPlanet.<id>  a planet of another star: the host's id and
//                             the letter (star.ExtraSolarPlanet.HIP113357b)
//   Star.Supernova.<id>, Star.Nova.<id>  historic supernovae and novae:
//                             Star.Supernova.SN1054, Star.Nova.V603Aql
//   DeepSky.<id>              an NGC/IC/Messier object, blanks removed:
//                             DeepSky.NGC224, DeepSky.M42, DeepSky.IC434
//   deepskyobject.Pgc<n>      a galaxy of the PGC catalogue
//   MagellanicCloud.LMC|SMC   the Magellanic Clouds
//   Constellation.<abbr>      a constellation (Constellation.Ori)
//   Equatorial(<ra>,<dec>)    a point of the sky: J2000 RA in hours, Dec in
//                             degrees
//   Solar.<body>              the Sun, planets, dwarf planets, the Moon and
//                             other satellites, Lagrange points, the Earth's
//                             umbra, comets and minor planets, as
//                             solar::ParseIdentifier reads them:
//                             Solar.Sun, Solar.Planet.Mars,
//                             Solar.Planet.Earth.Satellite.Moon,
//                             Solar.Planet.Jupiter.Satellite.Io,
//                             Solar.Planet.Mars.LagrangianPoint.L4,
//                             Solar.Planet.Earth.Umbra, Solar.Comet.1P,
//                             Solar.MinorPlanet.433, Solar.DwarfPlanet.Ceres
//   Solar.Planet.<body>.Place.<key>, Solar.Spacecraft.<key>,
//   Solar.Meteorite.<key>     places on the Earth, the Moon and Mars,
//                             spacecraft, meteorites (sky/solar_extras.h)
//   FieldOfViewCircle.<n>, AngleOfView.<n>, MosaicOfField[.<k>],
//   AdfSystem.#<n>, Adf.<system>[.No<k>], <system>.<label>,
//   DeepSkyImage.<n>          the user's objects (sky/user_objects.h,
//                             sky/user_object_properties.cpp)
//   ArtificialSatellite.<n>   an Earth satellite by its catalogue number, from
//                             the TLE file of sky/satellite_catalog.h
//   Meteor.<name>             the radiant of a meteor shower of
//                             data/meteor_showers.tsv, by name or IAU code:
//                             Meteor.Perseids, Meteor.PER
//
// Replies: empty for an absent property, "*" when it has no value, numbers
// as decimal text (angles to 1e-10, Julian Days to 1e-8), "TRUE"/"FALSE".
#pragma once

#include <array>
#include <functional>
#include <limits>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "engine/corlum.h"
#include "sky/astrometry.h"
#include "sky/catalog.h"
#include "sky/command.h"
#include "sky/meteor_showers.h"
#include "sky/satellite_catalog.h"
#include "sky/satellite_sky.h"
#include "sky/solar_system.h"
#include "sky/star_extras.h"

class CLumProperty;
namespace sky {
struct UserObjects;
struct CameraFrame;
struct AdfSystem;
struct AdfObject;
struct DeepSkyImage;
struct SurfacePlace;
struct Spacecraft;
struct Meteorite;
}  // namespace sky

class CSkyEngine : public CCorLum {
  public:
    // Uses a loaded catalogue; many engines may share one.
    explicit CSkyEngine(std::shared_ptr<const CSkyCatalog> catalog);

    CString Doit(const CString& command) override;

    double GetJd() override { return m_jd; }
    double GetTz() override { return m_tz; }
    double GetLatitude() override { return m_latitude; }
    double GetLongitude() override { return m_longitude; }
    double GetHeight() override { return m_height; }
    int GetLocationObject() override { return kEarth; }
    void UpdateDate(tagADATE* date) override;

    // Direct setters for hosts (the command line): time as a UT Julian Day,
    // zone in hours east of UT, place in degrees (east, north) and metres.
    // Each returns false, changing nothing, for a value out of range; a
    // longitude lies within -180..360 (beyond 180 it counts from the west).
    bool SetJd(double jd_ut);
    bool SetTimezone(double hours);
    bool SetPlace(double longitude_deg, double latitude_deg, double height_m);

    // Puts a star into the picked-star slot "star.Xno0": a catalogue star
    // by its identifier, or a faint star by its "KSJ" identifier.
    void SetPickedStar(const CString& starId);

    // Identifiers of the objects whose name or designation is `text`.
    std::vector<CString> FindByName(const CString& text) const;
    // Identifiers of the objects within radius_deg of a J2000 place (RA in
    // hours, Dec in degrees), nearest first, with their distances in degrees.
    // Bodies of the solar system are where they are at the engine's time.
    std::vector<std::pair<CString, double>> FindNear(double ra_h, double dec_deg, double radius_deg,
                                                     int limit);

    const CSkyCatalog& Catalog() const { return *m_catalog; }
    // The identifier the engine reports for a catalogue entry.
    static CString EngineId(const CSkyCatalog& catalog, const SkyRef& ref);

    static constexpr double kChartNaN = std::numeric_limits<double>::quiet_NaN();
    // What a sky chart draws, at the engine's time and place.
    struct ChartObject {
        enum class Kind { Star, DeepSky, Magellanic, Constellation, Sun, Moon, Planet };
        Kind kind = Kind::Star;
        CString id;     // the engine's identifier ("Star.HIP32349", "Solar.Planet.Mars")
        CString label;  // the name to draw: Japanese where known, else a designation
        // The observer's apparent place, true equator and equinox of date:
        // RA hours [0, 24), Dec degrees.
        astrometry::Equatorial apparent{0.0, 0.0};
        // Azimuth from the south through the west, geometric altitude, degrees.
        astrometry::Horizontal horizon{0.0, 0.0};
        double magnitude = kChartNaN;             // V; NaN when unknown
        double bv = kChartNaN;                    // stars: B-V; NaN when unknown
        double size_arcmin = kChartNaN;           // deep sky: major axis; NaN when unknown
        double illuminated_fraction = kChartNaN;  // Moon and planets
    };
    // Every catalogue star down to `faintestStar` (V), every deep-sky object
    // down to `faintestDeepSky` or with a Messier number, the Magellanic
    // Clouds, the 88 constellations (at the mean direction of their Bayer
    // and Flamsteed stars, labelled with the Japanese name), the Sun, the
    // Moon and the planets Mercury to Neptune.  Stars come from
    // astrometry::ComputeChartPlace, bodies of the solar system from the
    // places their texts show; an object whose place cannot be computed is
    // left out.
    std::vector<ChartObject> ChartObjects(double faintestStar, double faintestDeepSky);

    // Every property path the engine answers, as its tables list them: per
    // kind of object a name, an identifier of a real object of that kind and
    // the suffixes it answers; the kinds "state" (read only, but for those
    // that set the time and place) and "settable" (texts the host sets and
    // reads back) list whole paths, their identifier empty.  Suffixes in
    // lower case, as they match.
    struct PathList {
        const char16_t* kind;
        const char16_t* example;
        std::vector<CString> suffixes;
    };
    static std::vector<PathList> SupportedPaths();
    // The same as a Markdown table (README.md shows it).
    static CString SupportedPathsMarkdown();

    // The host's window learns here when the palette asks it to draw the
    // view again: `handler` runs on each "Show ..." verb, told whether
    // View.Center was assigned since the last one (a request to centre the
    // view on that object rather than only to redraw).  Empty: none.
    void SetShowHandler(std::function<void(bool centreAssigned)> handler) {
        m_onShow = std::move(handler);
    }

  private:
    // A resolved identifier.
    struct Object {
        enum class Kind {
            Star,
            DeepSky,
            Pgc,
            Magellanic,
            Constellation,
            Point,
            Solar,
            FieldOfViewCircle,
            AngleOfView,
            Mosaic,
            MosaicFrame,
            AdfSystem,
            AdfObject,
            DeepSkyImage,
            SurfacePlace,
            Spacecraft,
            Meteorite,
            VariableStar,
            DoubleSystem,
            DoubleStar,
            ExoPlanet,
            Transient,
            Satellite,
            Meteor,
        };
        Kind kind = Kind::Point;
        CString id;   // the identifier as the engine reports it
        CString key;  // the identifier in lower case: the key of its cached work
        const SkyStar* star = nullptr;
        bool picked = false;  // reached through the picked-star slot
        const SkyDeepSky* dso = nullptr;
        const SkyMagellanicCloud* cloud = nullptr;
        const SkyConstellation* constellation = nullptr;
        bool hasPlace = false;
        astrometry::CatalogStar place;  // ICRS J2000 and space motion
        solar::BodyRef body;            // Kind::Solar: the body, its place the solar system's
        // The user's objects (sky/user_objects.h); a mosaic frame's is the mosaic.
        const sky::CameraFrame* frame = nullptr;
        const sky::AdfSystem* adfSystem = nullptr;  // also an ADF object's system
        const sky::AdfObject* adfObject = nullptr;
        const sky::DeepSkyImage* image = nullptr;
        // Solar.* objects that are not bodies (sky/solar_extras.h).
        const sky::SurfacePlace* surfacePlace = nullptr;
        const sky::Spacecraft* craft = nullptr;
        const sky::Meteorite* meteorite = nullptr;
        // The records of the further star kinds; `star` is then the star
        // the object is (a variable, a double star's component, a host).
        const SkyVariableStar* variable = nullptr;
        const SkyDoubleStar* pair = nullptr;  // a system: its brightest star's measure
        const SkyExoplanet* planet = nullptr;
        const SkyTransient* transient = nullptr;
        const satellite::Entry* satellite = nullptr;  // Kind::Satellite
        const meteor::Shower* shower = nullptr;       // Kind::Meteor: its radiant drifts

        // A place without motion: J2000 RA and Dec, degrees.
        void SetFixedPlace(double raDeg, double decDeg);
        // The star's place and space motion (stars.tsv, sky/catalog.h).
        void SetStarPlace(const SkyStar& s);
    };

    // How identifiers of one class (parameter 0, case ignored) become an
    // Object; false for a name the catalogues do not hold.
    struct IdentifierRule {
        const char16_t* className;
        bool (*resolve)(const CSkyEngine& engine, const CLumProperty& parts, Object* object);
    };
    static const std::vector<IdentifierRule>& IdentifierRules();
    static bool ResolveSolar(const CSkyEngine& engine, const CLumProperty& parts, Object* object);
    // Variable and double stars, exoplanets, supernovae and novae
    // (sky/star_extra_properties.cpp): nothing when parameter 1 names none
    // of their classes, else whether the identifier was found.
    static std::optional<bool> ResolveStarExtra(const CSkyEngine& engine, const CLumProperty& parts,
                                                Object* object);
    // The star in the picked-star slot, a catalogue star or a faint one.
    const SkyStar* PickedStar() const;
    // Length of a double star's identifier that begins a lower-case path:
    // "star.wds.<wds>" and, when the next part is "hip<n>", that part too.
    static size_t WdsIdentifierLength(std::u16string_view lowerPath);
    // Length of the solar-system identifier that begins a lower-case path
    // ("solar.planet.mars" of "solar.planet.mars.magnitude"); 0 when the
    // path names no such body.
    static size_t SolarIdentifierLength(std::u16string_view lowerPath);
    // Artificial satellites and meteor showers (sky/satellite_meteor_properties.cpp).
    static bool ResolveSatellite(const CSkyEngine& engine, const CLumProperty& parts,
                                 Object* object);
    static bool ResolveMeteor(const CSkyEngine& engine, const CLumProperty& parts, Object* object);

    // The property tables: one per kind of object, one of paths that read
    // the sky state and one of paths that set it.  A suffix or path is in
    // lower case, as it matches.
    using Getter = CString (*)(CSkyEngine& engine, const Object& object);
    using StateGetter = CString (*)(CSkyEngine& engine);
    using Setter = void (*)(CSkyEngine& engine, const CString& value);
    struct Property {
        const char16_t* suffix;
        Getter get;
    };
    struct StateProperty {
        const char16_t* path;
        StateGetter get;
    };
    struct Assignment {
        const char16_t* path;
        Setter set;
    };
    struct KindTable {
        Object::Kind kind;
        const char16_t* name;
        const char16_t* example;
        std::vector<Property> properties;
    };
    static const std::vector<Property>& PlaceProperties();  // every kind with a place
    static const std::vector<KindTable>& KindTables();
    static const std::vector<StateProperty>& StateProperties();
    static const std::vector<StateProperty>& SolarStateProperties();
    static const KindTable& SolarTable();
    // The user's objects (sky/user_object_properties.cpp).
    static const KindTable& FieldOfViewCircleTable();
    static const KindTable& AngleOfViewTable();
    static const KindTable& MosaicTable();
    static const KindTable& MosaicFrameTable();
    static const KindTable& AdfSystemTable();
    static const KindTable& AdfObjectTable();
    static const KindTable& DeepSkyImageTable();
    static std::vector<Property> CameraFrameProperties(Object::Kind kind);
    // Places, spacecraft and meteorites (sky/solar_extra_properties.cpp).
    static const KindTable& SurfacePlaceTable();
    static const KindTable& SpacecraftTable();
    static const KindTable& MeteoriteTable();
    static bool ResolveSolarExtra(const CLumProperty& parts, Object* object);
    // Where an object is now, as a catalogue place; nothing when it has no
    // place at this time (a spacecraft outside its data span).
    std::optional<astrometry::CatalogStar> PlaceNow(const Object& object);
    std::optional<astrometry::CatalogStar> MosaicFramePlaceNow(const Object& object);
    static bool ResolveUserObject(const CSkyEngine& engine, const CLumProperty& parts,
                                  Object* object);
    // An object of an ADF system by the system's name ("Caldwell.C1").
    bool ResolveAdfByName(const CLumProperty& parts, Object* object) const;
    // "AngleOfView.1.FocalLength = 200", "AdfSystem.#2.File = PATH": false
    // when the path is no user object's.
    bool AssignUserObject(const CString& lowerPath, const CString& value);
    void ShowRequested();
    static bool IsReservedClassName(const CString& name);
    // The user's objects; with `files`, after their files are read.
    sky::UserObjects& User(bool files) const;
    // The further star kinds (sky/star_extra_properties.cpp).
    static const KindTable& VariableStarTable();
    static const KindTable& DoubleSystemTable();
    static const KindTable& DoubleStarTable();
    static const KindTable& ExoPlanetTable();
    static const KindTable& TransientTable();
    static const KindTable& SatelliteTable();
    static const KindTable& MeteorTable();
    static const std::vector<Assignment>& Assignments();
    static const std::vector<std::pair<const char16_t*, const char16_t*>>& SettableTexts();
    static Getter FindGetter(Object::Kind kind, std::u16string_view lowerSuffix);
    // A path of the sky state: read by its getter, or a settable text, whose
    // value is its initial one until it is set (then it is in m_values).
    struct StatePath {
        StateGetter get = nullptr;
        bool settable = false;
        CString initial;
    };
    // Both kinds in one look-up, for every query asks it first.
    static const StatePath* FindStatePath(std::u16string_view lowerPath);

    // What an object's path is resolved to: the object and the getter of
    // one of its properties (none for a property the kind lacks).
    struct ResolvedPath {
        const Object* object = nullptr;  // in m_resolved
        Getter get = nullptr;
    };

    CString Execute(const sky::Statement& statement);
    CString Query(const CString& expression);
    std::optional<ResolvedPath> ResolvePath(const CString& expression, const CString& lowerPath);
    bool ContinuesLastObject(const CString& lowerPath, ResolvedPath* out) const;
    CString Assign(const CString& path, const CString& value);
    // The value of a settable text; nullptr for a path that names none.
    const CString* SettableValue(const CString& lowerPath) const;
    void ForgetResolutions();
    // After a settable text changed: forgets what depended on it.
    void ValueChanged(const CString& lowerPath);

    std::optional<Object> Resolve(const CString& identifier) const;
    void PlaceConstellation(Object* constellation) const;
    bool SplitObjectPath(const CString& path, const CString& lowerPath, CString* identifier,
                         CString* lowerSuffix) const;
    CString ConstellationOf(double raDeg, double decDeg) const;

    // Getters shared by several table rows.
    template <auto Frame, auto Coordinate>
    static CString Angle(CSkyEngine& engine, const Object& object);
    template <auto List>
    static CString EventList(CSkyEngine& engine, const Object& object);
    template <auto Field>
    static CString LocalField(CSkyEngine& engine);
    static CString StarDesignation(const SkyStar& star);
    template <auto Field, int Decimals>
    static CString PhysicalValue(CSkyEngine& engine, const Object& object);
    template <auto Field, int Decimals>
    static CString OrbitValue(CSkyEngine& engine, const Object& object);
    template <auto Field>
    static CString ContactTime(CSkyEngine& engine);

    const astrometry::AstrometryContext& Context();
    const astrometry::StarPositions& Positions(const Object& object);
    const astrometry::RiseTransitSet& Events(const Object& object);
    std::array<double, 3> EarthAu();
    // A meteor radiant's place now: it drifts with the Sun's longitude.
    astrometry::CatalogStar MeteorRadiantNow(const Object& object);
    const satellite::Sighting& SatelliteSighting(const Object& object);
    const satellite::Catalog& Satellites() const;
    const std::vector<meteor::Shower>& MeteorShowers() const;
    // Satellites by the name line of their element set, showers by any of
    // their names or their code.
    std::vector<CString> FindSatellitesAndShowers(const CString& text) const;
    // The solar system at the engine's time and place, made once for both.
    solar::SolarSystem& Solar();
    // The engine's identifier of a body ("Solar.Planet.Mars").
    CString SolarId(const solar::BodyRef& body) const;
    // The Japanese name of a body (its English name when it has none).
    CString SolarJapaneseName(const solar::BodyRef& body) const;
    void AddChartBodies(std::vector<ChartObject>* out);
    void AddChartConstellations(std::vector<ChartObject>* out);
    std::vector<CString> FindSolarByName(const CString& text) const;
    // Variable stars, exoplanets, supernovae and novae by designation or name.
    std::vector<CString> FindStarExtrasByName(const CString& text) const;
    void AddSolarNear(double ra_deg, double dec_deg, double radius_deg,
                      std::vector<std::pair<CString, double>>* out);
    void TimeOrPlaceChanged();
    tagADATE LocalDate() const;

    std::shared_ptr<const CSkyCatalog> m_catalog;

    // The sky state.
    double m_jd;  // UT
    double m_tz = kDefaultTz;
    double m_longitude = kDefaultLongitude;
    double m_latitude = kDefaultLatitude;
    double m_height = kDefaultHeight;
    std::map<CString, CString> m_values;    // settable texts set so far, by lower-case path
    std::map<CString, CString> m_defaults;  // "default PATH = VALUE"
    CString m_pickedStar;
    std::shared_ptr<sky::UserObjects> m_user;  // never null
    std::function<void(bool)> m_onShow;
    bool m_centreAssigned = false;  // View.Center set since the last "Show" verb

    // Work kept between queries.  What depends on the time and the place
    // (the astrometry context, with the Earth's heliocentric place; the
    // solar system; each object's positions and events) is dropped by every
    // change of the time or the place (SetJd, SetPlace, UpdateDate and the
    // assignments "Time", "Time.jd", "Location.*"), the events also by a
    // change of the zone (the local day moves).  What stands for an object
    // (m_resolved, m_lastObject) is dropped when the measuring line or the
    // mark changes (ValueChanged) and, for the picked-star slot, by
    // SetPickedStar, with that slot's positions and events.
    std::unique_ptr<astrometry::AstrometryContext> m_context;
    std::unique_ptr<solar::SolarSystem> m_solar;
    std::map<CString, std::optional<Object>> m_resolved;  // by lower-case identifier
    // The queries of one text name one object: the last one found, by its
    // identifier as sent, skips the search, and a path that goes on from its
    // key skips the cutting (ContinuesLastObject).  Cleared with m_resolved.
    CString m_lastIdentifier;
    const Object* m_lastObject = nullptr;                      // in m_resolved
    std::map<CString, astrometry::StarPositions> m_positions;  // by Object::key
    std::map<CString, astrometry::RiseTransitSet> m_events;
    std::map<CString, satellite::Sighting> m_sightings;  // by Object::key
    // Read on first need (the resolving of identifiers is const).
    mutable std::shared_ptr<const satellite::Catalog> m_satellites;
    mutable std::shared_ptr<const std::vector<meteor::Shower>> m_showers;
};
