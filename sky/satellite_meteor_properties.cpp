// The sky engine's artificial satellites and meteor-shower radiants: their
// identifiers and property tables.
//
// Units of the replies: satellite distances in km (".GeocentricDistance"
// from the Earth's centre, ".TopocentricDistance" from the observer), the
// sub-satellite point ".LLA.Longitude"/".Latitude" in degrees (geodetic,
// WGS84, east and north positive) and ".LLA.Altitude" in metres above the
// ellipsoid; ".Element.JulianEpoch" the element set's epoch as a Julian Day
// of UTC.  A shower's ".LambdaOfPeak" is the Sun's longitude at the peak in
// degrees, referred to the mean ecliptic and equinox of the engine's date
// (the list gives it for J2000; the texts search the Sun's longitude of
// date); ".ZHR" per hour, ".Velocity" km/s (geocentric).
#include <erfa.h>
#include <erfam.h>

#include <cmath>
#include <cstring>

#include "engine/stkstr.h"
#include "sky/engine_reply.h"
#include "sky/sky_engine.h"
#include "sky/tsv.h"

using namespace sky::reply;

const satellite::Catalog& CSkyEngine::Satellites() const {
    if (!m_satellites) m_satellites = satellite::Catalog::Load(CSkyCatalog::DefaultDataDir());
    return *m_satellites;
}

const std::vector<meteor::Shower>& CSkyEngine::MeteorShowers() const {
    if (!m_showers) {
        // A missing or malformed list leaves the engine without showers:
        // their identifiers are then unknown, as any other unknown name.
        auto showers = std::make_shared<std::vector<meteor::Shower>>();
        std::string error;
        meteor::LoadShowers(sky::JoinPath(CSkyCatalog::DefaultDataDir(), "meteor_showers.tsv"),
                            showers.get(), &error);
        m_showers = std::move(showers);
    }
    return *m_showers;
}

std::vector<CString> CSkyEngine::FindSatellitesAndShowers(const CString& text) const {
    const std::string key = CSkyCatalog::SearchKey(text.view());
    std::vector<CString> out;
    if (key.empty()) return out;
    auto matches = [&key](const CString& name) {
        return !name.IsEmpty() && CSkyCatalog::SearchKey(name.view()) == key;
    };
    for (const meteor::Shower& s : MeteorShowers()) {
        if (matches(s.id) || matches(s.code) || matches(s.name_en) || matches(s.name_ja)) {
            out.push_back(u"Meteor." + s.id);
        }
    }
    for (const satellite::Entry& entry : Satellites().Entries()) {
        if (matches(CString::FromUtf8(entry.set.name)) || matches(Integer(entry.set.number))) {
            out.push_back(u"ArtificialSatellite." + Integer(entry.set.number));
        }
    }
    return out;
}

bool CSkyEngine::ResolveSatellite(const CSkyEngine& e, const CLumProperty& parts, Object* o) {
    const CString number = parts.GetParam(1).GetText();
    if (number.IsEmpty() || number.GetLength() > 9) return false;
    for (int k = 0; k < number.GetLength(); ++k) {
        if (number[k] < u'0' || number[k] > u'9') return false;
    }
    const satellite::Entry* entry = e.Satellites().Find(CStkStr(number).atoi());
    if (!entry) return false;
    o->kind = Object::Kind::Satellite;
    o->satellite = entry;
    o->hasPlace = true;
    return true;
}

bool CSkyEngine::ResolveMeteor(const CSkyEngine& e, const CLumProperty& parts, Object* o) {
    const meteor::Shower* shower =
        meteor::FindShower(e.MeteorShowers(), parts.GetParam(1).GetText().view());
    if (!shower) return false;
    o->kind = Object::Kind::Meteor;
    o->shower = shower;
    o->hasPlace = true;
    return true;
}

const satellite::Sighting& CSkyEngine::SatelliteSighting(const Object& object) {
    auto it = m_sightings.find(object.key);
    if (it == m_sightings.end()) {
        it = m_sightings
                 .emplace(object.key, satellite::Observe(object.satellite->propagator, Context()))
                 .first;
    }
    return it->second;
}

astrometry::CatalogStar CSkyEngine::MeteorRadiantNow(const Object& object) {
    // The Sun's longitude on the ecliptic of J2000, the frame of the list.
    const astrometry::StarPositions& sun =
        Solar().Place(solar::BodyRef::Of(solar::Major::kSun)).positions;
    const meteor::Radiant r =
        meteor::RadiantAt(*object.shower, sun.ok ? sun.ecliptic_j2000.lon_deg : NAN);
    astrometry::CatalogStar place;
    place.ra_deg = r.ra_deg;
    place.dec_deg = r.dec_deg;
    return place;
}

namespace {

// A longitude on the ecliptic of J2000 (degrees) as a longitude on the mean
// ecliptic of the context's date (degrees [0, 360)): the precession in
// longitude, about 50" a year.
double EclipticOfDate(double lambda_j2000_deg, const astrometry::AstrometryContext& c) {
    double ecliptic[3];
    eraS2c(lambda_j2000_deg * ERFA_DD2R, 0.0, ecliptic);
    double toJ2000[3][3], toDate[3][3];  // ERFA takes no const
    std::memcpy(toJ2000, c.IcrsToEclipticJ2000(), sizeof toJ2000);
    std::memcpy(toDate, c.IcrsToEclipticOfDate(), sizeof toDate);
    double icrs[3], ofDate[3];
    eraTrxp(toJ2000, ecliptic, icrs);
    eraRxp(toDate, icrs, ofDate);
    double lon = 0.0, lat = 0.0;
    eraC2s(ofDate, &lon, &lat);
    return eraAnp(lon) * ERFA_DR2D;
}

template <auto Field, int Decimals>
CString SightingValue(const satellite::Sighting& s) {
    return s.ok ? Number(s.*Field, Decimals) : CString(u"*");
}

}  // namespace

const CSkyEngine::KindTable& CSkyEngine::SatelliteTable() {
    using S = satellite::Sighting;
    static const KindTable table = {
        Object::Kind::Satellite,
        u"artificial satellite",
        u"ArtificialSatellite.25544",
        {
            // No name of its own: the texts then take the element set's.
            {u".tlename",
             [](CSkyEngine&, const Object& o) {
                 const std::string& name = o.satellite->set.name;
                 return name.empty() ? CString(u"*") : CString::FromUtf8(name);
             }},
            {u".number",
             [](CSkyEngine&, const Object& o) { return Integer(o.satellite->set.number); }},
            {u".geocentricdistance",
             [](CSkyEngine& e, const Object& o) {
                 return SightingValue<&S::geocentric_km, 3>(e.SatelliteSighting(o));
             }},
            {u".topocentricdistance",
             [](CSkyEngine& e, const Object& o) {
                 return SightingValue<&S::topocentric_km, 3>(e.SatelliteSighting(o));
             }},
            {u".lla.longitude",
             [](CSkyEngine& e, const Object& o) {
                 return SightingValue<&S::longitude_deg, kAngleDecimals>(e.SatelliteSighting(o));
             }},
            {u".lla.latitude",
             [](CSkyEngine& e, const Object& o) {
                 return SightingValue<&S::latitude_deg, kAngleDecimals>(e.SatelliteSighting(o));
             }},
            {u".lla.altitude",
             [](CSkyEngine& e, const Object& o) {
                 return SightingValue<&S::height_m, 1>(e.SatelliteSighting(o));
             }},
            {u".element.julianepoch",
             [](CSkyEngine&, const Object& o) {
                 return Number(o.satellite->set.elements.epoch_jd_utc, kJdDecimals);
             }},
        },
    };
    return table;
}

const CSkyEngine::KindTable& CSkyEngine::MeteorTable() {
    static const KindTable table = {
        Object::Kind::Meteor,
        u"meteor shower",
        u"Meteor.Perseids",
        {
            {u".name",
             [](CSkyEngine&, const Object& o) { return meteor::ShortJapaneseName(*o.shower); }},
            {u".englishname", [](CSkyEngine&, const Object& o) { return o.shower->name_en; }},
            {u".code", [](CSkyEngine&, const Object& o) { return o.shower->code; }},
            {u".lambdaofpeak",
             [](CSkyEngine& e, const Object& o) {
                 if (!e.Context().ok()) return CString(u"*");
                 return Number(EclipticOfDate(o.shower->peak_lambda_deg, e.Context()), 6);
             }},
            {u".zhr", [](CSkyEngine&, const Object& o) { return Number(o.shower->zhr, 0); }},
            {u".velocity",
             [](CSkyEngine&, const Object& o) { return Number(o.shower->speed_km_s, 1); }},
        },
    };
    return table;
}
