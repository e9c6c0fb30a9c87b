// CLumClickData: turns the identifier of the object the user clicked into
// the multi-line Japanese information text of the palette.
//
// The identifier is classified into one of fourteen type codes by its first
// component; the builder of the type asks the engine for the object's
// properties and composes the lines.  One object's full and title-only texts
// are cached under a key of identifier, time, zone, place and the observer's
// position in the solar system, so that a palette refresh for an unchanged
// sky costs six queries instead of a hundred.
#pragma once

#include "clickdata/lines.h"
#include "engine/corlum.h"
#include "engine/stkstr.h"
#include "host/collections.h"
#include "host/coord_format.h"
#include "host/cstring.h"

class CCdStatus;

class CLumClickData {
  public:
    // Type codes of the classification.
    enum {
        kStar = 0,
        kConstellation = 1,
        kEquatorial = 2,
        kSolar = 3,
        kDeepSky = 4,
        kMagellanicCloud = 5,
        kArtificialSatellite = 6,
        kDeepSkyImage = 7,
        kMeteor = 8,
        kAdfSystemObject = 9,
        kAdf = 10,
        kFieldOfViewCircle = 11,
        kAngleOfView = 12,
        kMosaicOfField = 13,
    };

    CLumClickData() = default;
    virtual ~CLumClickData() = default;

    // The information text of `object`: the full text (title == 0) or only
    // its heading (title != 0).  Empty when the object cannot be classified.
    CString GetText(CCorLum* engine, const CString& object, int title);
    // Sends `query`, whose reply is an identifier, copies the reply into
    // `object` and returns its type code; -1 when it cannot be classified.
    int GetType(CCorLum* engine, CStkString& object, const CString& query);
    // Type code of an identifier, or -1.
    int ClassifyObject(CCorLum* engine, const CString& object);

    void ClearCache();
    void SetStatus(CCdStatus* status) { m_status = status; }
    void SetExtraOption(int very_high_precision) { m_veryHighPrecision = very_high_precision; }
    void SetNotEarth(int not_earth) { m_notEarth = not_earth; }
    // Azimuths change meaning, so every cached text is dropped.
    void SetOriginNorth(int origin_north);

  protected:
    int ObjectSearch(CCorLum* engine, CStkString object, int* code);
    int IsAdfsystem(CCorLum* engine, const CString& object);
    int IsCacheAvailable(const CString& object, CCorLum* engine);
    void SetCacheState(const CString& object, CCorLum* engine);

    // Runs the builder of the current type into m_text.
    void BuildText(CCorLum* engine, int title);
    // The measuring-line block that closes every full text.
    CString GetMeasureString(CCorLum* engine);

    // A display setting; every setting reads as off while no record is lent.
    int Setting(int CCdStatus::*field) const;

    // Coordinate texts of engine replies (right ascension in hours, angles in
    // degrees).  The level becomes 4 with the very-high-precision option,
    // else 1 when the Precision setting is on; DispMinSec selects decimal
    // degrees.  A reply "*" gives the placeholder of the level.
    CString FormatHms(const CString& reply, tagCOORD_FORMAT_PREC level);
    CString FormatLati(const CString& reply, tagCOORD_FORMAT_PREC level);
    CString FormatLong(const CString& reply, tagCOORD_FORMAT_PREC level);
    // Drops the trailing zeros after a decimal point ("3.000" -> "3.").
    static void TrimTrailingZero(CString& text);
    // prefix + the local clock times "HH:MM" of a comma-separated list of
    // Julian Days (UT), in the zone `zone` (hours east of UT).
    static CString GetTimeString(const CString& list, double zone, const CString& prefix);
    // A period with three significant figures (at least two decimals below 10).
    static CString GetPeriodString(double period);
    // The engine's local date and time with its zone.
    static void GetDate(CCorLum* engine, tagADATE* date);
    // "? " + current object + suffix.
    CString QueryObject(CCorLum* engine, const CString& suffix);
    // A reply that carries a value: neither empty (absent) nor "*" (none).
    static bool IsValue(const CString& reply) { return !reply.IsEmpty() && reply != u"*"; }

    // Lines that more than one builder prints (lines.cpp), each whole lines
    // ending in "\r\n", or empty.
    // The heading alone (title != 0), else the heading and the position
    // block at level 2.
    CString GetHeadingAndPosition(CCorLum* engine, const CString& heading, int title);
    // "HIP<number>" when the engine has one.
    CString GetHipLine(CCorLum* engine);
    // A star's magnitude under DispMag, unless the engine has no value.
    CString GetMagnitudeLine(CCorLum* engine);
    // The proper motions that have a value; `to_mas` turns the catalogue's
    // unit into milliarcseconds per year.
    CString GetProperMotionLines(CCorLum* engine, double to_mas);
    CString GetSpectralTypeLine(CCorLum* engine);

    // The coordinate, horizon, hour-angle and rise/set lines of the current
    // object, each switched by its display setting; `level` is the precision
    // of the J2000 line (the others use one level less, but at least 2).
    CString GetPosString(CCorLum* engine, tagCOORD_FORMAT_PREC level);

    // Deep-sky objects, Magellanic Clouds, deep-sky images, GSC classes.
    CString GetTextDeepSky(CCorLum* engine, int title);
    CString GetTextMagellan(CCorLum* engine, int title);
    CString GetTextDeepSkyImage(CCorLum* engine, int title);
    CString GetGscTypeString(CCorLum* engine);
    CString TranslateGscType(const CString& word);

    // Artificial satellites and meteor-shower radiants (satellite_meteor.cpp);
    // camera frames: field-of-view circles, camera fields and mosaics
    // (camera_field.cpp).
    CString GetTextSatellite(CCorLum* engine, int title);
    CString GetTextMeteor(CCorLum* engine, int title);
    // The first Julian Day (UT) from `jd` (UT) on at which the Sun's
    // geometric ecliptic longitude (mean equinox of date) is `target` degrees,
    // to 0.1 degree.
    static double GetJdSunLambda(double jd, double target);
    CString GetTextFiledOfView(CCorLum* engine, int title);
    CString GetTextAngleOfField(CCorLum* engine, int title);
    CString GetTextMosaicOfField(CCorLum* engine, int title);

    // Stars: catalogue stars, numbered faint stars, novae and supernovae,
    // planet hosts; variable and double stars; planets of other stars.
    CString GetTextStar(CCorLum* engine, int title);
    CString GetTextStarGcvs(CCorLum* engine, int title);
    CString GetTextStarWds(CCorLum* engine, int title);
    CString GetTextExoPlanet(CCorLum* engine, int title);

    // Constellations, points of the sky, objects of loaded catalogue systems.
    CString GetTextCons(CCorLum* engine, int title);
    CString GetTextEqt(CCorLum* engine, int title);
    CString GetTextAdf(CCorLum* engine, int title);

    // Solar-system objects: the Sun, planets and dwarf planets, the Earth's
    // umbra, Lagrange points, moons, comets, minor planets, meteorites,
    // spacecraft and places on a body (solar.cpp).  The heading is chosen
    // by the kind of object, then the lines of the kind follow.
    CString GetTextSolar(CCorLum* engine, int title);
    // The lines under the heading, one member per kind.
    CString GetSunLines(CCorLum* engine);
    CString GetPlanetLines(CCorLum* engine);
    CString GetLagrangePointLines(CCorLum* engine);
    CString GetMoonLines(CCorLum* engine);
    CString GetSatelliteLines(CCorLum* engine);
    CString GetSmallBodyLines(CCorLum* engine);
    CString GetMeteoriteLines(CCorLum* engine);
    CString GetSpacecraftLines(CCorLum* engine);
    CString GetPlaceLines(CCorLum* engine);
    // Position, distances, elongation and orbit of a comet, a minor planet
    // or a meteorite still in space.
    CString GetBodyInSpaceLines(CCorLum* engine);
    // The geocentric and topocentric distances, and the heliocentric one
    // when its property is named (the engine's spelling varies by kind).
    CString GetDistanceLines(CCorLum* engine, lines::DistanceForm form,
                             const char16_t* helio_suffix = nullptr);
    // The central longitude and latitude lines of a physical ephemeris:
    // the replies to the (at most three) suffixes as the numbers of `format`.
    CString GetCentralLines(CCorLum* engine, const char16_t* format, const char16_t* first,
                            const char16_t* second, const char16_t* third = nullptr);
    // label + "HH:MM:SS" of the clock time of a Julian Day already moved
    // into the wanted zone, rounded to the second; a carry past midnight
    // only wraps the hour.
    static CString GetEclipseTime(double jd, const CString& label);
    // The Sun's solar-eclipse contact lines while an eclipse is computed.
    CString GetEclipseContacts(CCorLum* engine);
    // The Moon's principal phases within the engine's current local day.
    CString GetMoonPhaseLines(CCorLum* engine);
    // Orbit and apparent-motion lines of the current solar-system object
    // (orbit.cpp): whole lines ending in "\r\n", or empty.
    CString GetSemiMajorAxis(CCorLum* engine);
    CString GetEccentricity(CCorLum* engine);
    CString GetPerihelionDistance(CCorLum* engine);
    CString GetPerihelionPassage(CCorLum* engine);
    CString GetRevPeriod(CCorLum* engine);
    // Period, semi-major axis and eccentricity.
    CString GetOrbitLines(CCorLum* engine);
    CString GetSolarElongation(CCorLum* engine);
    CString GetDailyMotion(CCorLum* engine);

    // Comment-file keys and gallery search keys (comment_keys.cpp).
  public:
    // 1 when the object may carry a comment: it can be classified, is no
    // temporarily numbered star ("Xno", "No"), and has a key of its own.
    // The current object stays as it is.
    int IsCommentEnable(CCorLum* engine, const CString& object);
    // The key of the object's comment-file entry; the object becomes the
    // current one.  Empty when the object has no lasting identity.
    CString StkToCdf(CCorLum* engine, const CString& object);
    // The gallery search key of the current object left by GetText; empty
    // when the object is not searched.
    CString GetDBSearchString(CCorLum* engine);

  protected:
    // The comment key of the current object, one builder per type.
    CString GetCdfTextStar(CCorLum* engine);
    CString GetCdfTextCons(CCorLum* engine);
    CString GetCdfTextEqt(CCorLum* engine);
    CString GetCdfTextSolar(CCorLum* engine);
    CString GetCdfTextDeepSky(CCorLum* engine);
    CString GetCdfTextMagellan(CCorLum* engine);
    CString GetCdfTextSatellite(CCorLum* engine);
    CString GetCdfTextMeteor(CCorLum* engine);
    CString GetCdfTextAdf(CCorLum* engine);
    CString GetCdfTextFieldOfView(CCorLum* engine);
    CString GetCdfTextAngleOfField(CCorLum* engine);
    // prefix + part; empty when the part carries no value, since such a key
    // would be shared by every object that lacks the part.
    static CString CdfKey(const CString& prefix, const CString& part);

    int m_notEarth = 0;
    CStkString m_object;
    int m_type = 0;
    CString m_text;
    CCdStatus* m_status = nullptr;
    int m_veryHighPrecision = 0;
    int m_originNorth = 0;
    CString m_cacheObject;
    CString m_cacheTime;
    CString m_cacheZone;
    CString m_cachePlace;
    CString m_cacheSolar;
    CString m_cacheText;
    CString m_cacheTitle;
    CStringArray m_systemNames;
};
