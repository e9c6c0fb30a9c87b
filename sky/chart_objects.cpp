// The objects of a sky chart in bulk: one pass over the catalogues at the
// engine's time and place, instead of a dozen queries per object.
#include <erfa.h>
#include <erfam.h>

#include <array>
#include <cmath>
#include <unordered_map>

#include "sky/sky_engine.h"

namespace {

using ChartObject = CSkyEngine::ChartObject;
using Kind = ChartObject::Kind;

// "M42" when a deep-sky object has a Messier number, else empty.
CString MessierOf(const SkyDeepSky& dso) {
    auto messier = [](const CString& designation) {
        return designation.GetLength() > 2 && designation.Left(2) == u"M ";
    };
    CString found;
    if (messier(dso.id)) found = dso.id;
    for (const CString& d : dso.designations) {
        if (found.IsEmpty() && messier(d)) found = d;
    }
    found.Remove(u' ');
    return found;
}

// A fixed point of the sky (J2000 degrees) as the chart sees it; false when
// its place cannot be computed.
bool PlaceFixed(double ra_deg, double dec_deg, const astrometry::AstrometryContext& context,
                ChartObject* object) {
    astrometry::CatalogStar place;
    place.ra_deg = ra_deg;
    place.dec_deg = dec_deg;
    const astrometry::ChartPlace p = astrometry::ComputeChartPlace(place, context);
    object->apparent = p.apparent;
    object->horizon = p.horizon;
    return p.ok;
}

}  // namespace

std::vector<CSkyEngine::ChartObject> CSkyEngine::ChartObjects(double faintestStar,
                                                              double faintestDeepSky) {
    std::vector<ChartObject> out;
    const astrometry::AstrometryContext& context = Context();
    if (!context.ok()) return out;
    const CSkyCatalog& catalog = *m_catalog;
    for (size_t i = 0; i < catalog.Stars().size(); ++i) {
        const SkyStar& star = catalog.Stars()[i];
        if (!star.vmag || *star.vmag > faintestStar) continue;
        const astrometry::ChartPlace p =
            astrometry::ComputeChartPlace(CatalogPlaceOf(star), context);
        if (!p.ok) continue;
        ChartObject o;
        o.kind = Kind::Star;
        o.id = EngineId(catalog, {SkyKind::Star, static_cast<int>(i)});
        o.label = star.name_ja;
        o.apparent = p.apparent;
        o.horizon = p.horizon;
        o.magnitude = *star.vmag;
        o.bv = star.bv.value_or(kChartNaN);
        out.push_back(std::move(o));
    }
    for (size_t i = 0; i < catalog.DeepSky().size(); ++i) {
        const SkyDeepSky& dso = catalog.DeepSky()[i];
        const CString messier = MessierOf(dso);
        if (messier.IsEmpty() && (!dso.magnitude || *dso.magnitude > faintestDeepSky)) continue;
        ChartObject o;
        o.kind = Kind::DeepSky;
        o.id = EngineId(catalog, {SkyKind::DeepSky, static_cast<int>(i)});
        o.label = messier.IsEmpty() ? o.id.Mid(8) : messier;
        o.magnitude = dso.magnitude.value_or(kChartNaN);
        o.size_arcmin = dso.major_arcmin.value_or(kChartNaN);
        if (PlaceFixed(dso.ra_deg, dso.dec_deg, context, &o)) out.push_back(std::move(o));
    }
    for (size_t i = 0; i < catalog.Magellanic().size(); ++i) {
        const SkyMagellanicCloud& cloud = catalog.Magellanic()[i];
        ChartObject o;
        o.kind = Kind::Magellanic;
        o.id = EngineId(catalog, {SkyKind::Magellanic, static_cast<int>(i)});
        o.label = cloud.name_ja.IsEmpty() ? cloud.id : cloud.name_ja;
        if (PlaceFixed(cloud.ra_deg, cloud.dec_deg, context, &o)) out.push_back(std::move(o));
    }
    AddChartConstellations(&out);
    AddChartBodies(&out);
    return out;
}

// Each constellation at the mean direction of its Bayer and Flamsteed stars,
// as its text places it; all 88 in one pass over the stars.
void CSkyEngine::AddChartConstellations(std::vector<ChartObject>* out) {
    const CSkyCatalog& catalog = *m_catalog;
    std::vector<std::array<double, 3>> sums(catalog.Constellations().size(), {0.0, 0.0, 0.0});
    std::unordered_map<std::u16string, size_t> index;
    for (size_t i = 0; i < catalog.Constellations().size(); ++i) {
        index[std::u16string(catalog.Constellations()[i].abbr.view())] = i;
    }
    for (const SkyStar& star : catalog.Stars()) {
        if (star.constellation.IsEmpty()) continue;
        const auto found = index.find(std::u16string(star.constellation.view()));
        if (found == index.end()) continue;
        double unit[3];
        eraS2c(star.ra_deg * ERFA_DD2R, star.dec_deg * ERFA_DD2R, unit);
        for (int k = 0; k < 3; ++k) sums[found->second][k] += unit[k];
    }
    for (size_t i = 0; i < sums.size(); ++i) {
        if (eraPm(sums[i].data()) <= 0.0) continue;
        double ra = 0.0, dec = 0.0;
        eraC2s(sums[i].data(), &ra, &dec);
        const SkyConstellation& c = catalog.Constellations()[i];
        ChartObject o;
        o.kind = Kind::Constellation;
        o.id = EngineId(catalog, {SkyKind::Constellation, static_cast<int>(i)});
        o.label = c.name_ja.IsEmpty() ? c.name : c.name_ja;
        if (PlaceFixed(eraAnp(ra) * ERFA_DR2D, dec * ERFA_DR2D, Context(), &o)) {
            out->push_back(std::move(o));
        }
    }
}

// The Sun, the Moon and the planets at their topocentric places.
void CSkyEngine::AddChartBodies(std::vector<ChartObject>* out) {
    using solar::BodyRef;
    using solar::Major;
    constexpr std::array<Major, 9> kBodies = {Major::kSun,    Major::kMoon,   Major::kMercury,
                                              Major::kVenus,  Major::kMars,   Major::kJupiter,
                                              Major::kSaturn, Major::kUranus, Major::kNeptune};
    for (Major m : kBodies) {
        const BodyRef body = BodyRef::Of(m);
        const solar::BodyPlace& place = Solar().Place(body);
        if (!place.ok || !place.positions.ok) continue;
        const solar::Physical& physics = Solar().Physics(body);
        ChartObject o;
        o.kind = m == Major::kSun ? Kind::Sun : m == Major::kMoon ? Kind::Moon : Kind::Planet;
        o.id = SolarId(body);
        o.label = SolarJapaneseName(body);
        o.apparent = place.positions.apparent;
        o.horizon = place.positions.horizon;
        o.magnitude = physics.magnitude;
        o.illuminated_fraction = physics.illuminated_fraction;
        out->push_back(std::move(o));
    }
}
