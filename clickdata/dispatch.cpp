// Classification of identifiers, dispatch to the builders, and the cache.
#include "clickdata/click_data.h"
#include "settings/cdstatus.h"

namespace {

// First component of an identifier -> type code, searched in this order.
const tagNAMETABLE kTypeTable[] = {
    {u"Star", CLumClickData::kStar},
    {u"Equatorial", CLumClickData::kEquatorial},
    {u"Constellation", CLumClickData::kConstellation},
    {u"Solar", CLumClickData::kSolar},
    {u"DeepSkyObject", CLumClickData::kDeepSky},
    {u"DeepSky", CLumClickData::kDeepSky},
    {u"MagellanicCloud", CLumClickData::kMagellanicCloud},
    {u"ArtificialSatellite", CLumClickData::kArtificialSatellite},
    {u"Meteor", CLumClickData::kMeteor},
    {u"Adf", CLumClickData::kAdf},
    {u"AngleOfView", CLumClickData::kAngleOfView},
    {u"MosaicOfField", CLumClickData::kMosaicOfField},
    {u"FieldOfViewCircle", CLumClickData::kFieldOfViewCircle},
    {u"DeepSkyImage", CLumClickData::kDeepSkyImage},
    {nullptr, 0},
};

// Objects whose text must be rebuilt on every request: the picked-star slot
// holds whatever star was picked last, and the camera frames follow the view.
bool NeverCached(const CString& object) {
    static const char16_t* const prefixes[] = {u"Star.Xno", u"AngleOfView", u"MosaicOfField",
                                               u"FieldOfViewCircle"};
    for (const char16_t* prefix : prefixes) {
        const CString p(prefix);
        if (object.Left(p.GetLength()).CompareNoCase(p) == 0) return true;
    }
    return false;
}

bool SameNoCase(const CString& a, const CString& b) {
    return a.CompareNoCase(b) == 0;
}

CString SolarPosition(CCorLum* engine) {
    // Queried z, y, x; joined x:y:z.
    const CString z = engine->Doit(u"? location.solar.z");
    const CString y = engine->Doit(u"? location.solar.y");
    const CString x = engine->Doit(u"? location.solar.x");
    return x + u":" + y + u":" + z;
}

}  // namespace

int CLumClickData::Setting(int CCdStatus::*field) const {
    return m_status ? m_status->*field : 0;
}

void CLumClickData::ClearCache() {
    m_cacheObject.Empty();
    m_cacheTime.Empty();
    m_cacheZone.Empty();
    m_cachePlace.Empty();
    m_cacheSolar.Empty();
    m_cacheText.Empty();
    m_cacheTitle.Empty();
}

void CLumClickData::SetOriginNorth(int origin_north) {
    m_originNorth = origin_north;
    ClearCache();
}

int CLumClickData::ObjectSearch(CCorLum* engine, CStkString object, int* code) {
    if (object.TableSearchP(0, kTypeTable, code)) return 1;
    // The identifier being classified is the one asked about, which for
    // GetType is not the current object.
    if (IsAdfsystem(engine, object.GetText())) {
        *code = kAdfSystemObject;
        return 1;
    }
    return 0;
}

int CLumClickData::IsAdfsystem(CCorLum* engine, const CString& object) {
    const int dot = object.Find(u'.');
    if (dot < 0) return 0;
    const CString key = object.Left(dot);

    // Systems can be loaded at any time; until one is, look again each time.
    if (m_systemNames.IsEmpty()) {
        for (int n = 1; n <= 40; ++n) {
            CString query;
            query.Format(u"? AdfSystem.#%d.File", n);
            if (engine->Doit(query).IsEmpty()) continue;
            query.Format(u"? AdfSystem.#%d.ObjectName", n);
            m_systemNames.Add(engine->Doit(query));
        }
    }
    for (const CString& name : m_systemNames) {
        if (SameNoCase(key, name)) return 1;
    }
    return 0;
}

int CLumClickData::IsCacheAvailable(const CString& object, CCorLum* engine) {
    if (object != m_cacheObject) return 0;
    if (NeverCached(object)) return 0;
    if (!SameNoCase(engine->Doit(u"? time.jd"), m_cacheTime)) return 0;
    if (!SameNoCase(engine->Doit(u"? time.timezone"), m_cacheZone)) return 0;
    if (!SameNoCase(engine->Doit(u"? location"), m_cachePlace)) return 0;
    return SolarPosition(engine) == m_cacheSolar;
}

void CLumClickData::SetCacheState(const CString& object, CCorLum* engine) {
    m_cacheObject = object;
    m_cacheTime = engine->Doit(u"? time.jd");
    m_cacheZone = engine->Doit(u"? time.timezone");
    m_cachePlace = engine->Doit(u"? location");
    m_cacheSolar = SolarPosition(engine);
}

int CLumClickData::ClassifyObject(CCorLum* engine, const CString& object) {
    if (!engine || object.IsEmpty()) return -1;
    int code = -1;
    return ObjectSearch(engine, CStkString(object), &code) ? code : -1;
}

int CLumClickData::GetType(CCorLum* engine, CStkString& object, const CString& query) {
    if (!engine) return -1;
    object = engine->Doit(query);
    return ClassifyObject(engine, object.GetText());
}

CString CLumClickData::GetText(CCorLum* engine, const CString& object, int title) {
    m_object = object;
    if (!engine || object.IsEmpty() || !ObjectSearch(engine, m_object, &m_type)) {
        ClearCache();
        return CString();
    }

    if (IsCacheAvailable(object, engine)) {
        const CString& cached = title ? m_cacheTitle : m_cacheText;
        if (!cached.IsEmpty()) return cached;
        // Same key, other form not built yet: build it, keep the one we have.
    } else {
        ClearCache();
    }

    m_text.Empty();
    BuildText(engine, title);
    // The star builders may have rewritten the identifier; the key follows.
    SetCacheState(m_object.GetText(), engine);

    if (title) {
        m_cacheTitle = m_text;
        return m_cacheTitle;
    }
    m_text += GetMeasureString(engine);
    m_cacheText = m_text;
    return m_cacheText;
}

void CLumClickData::BuildText(CCorLum* engine, int title) {
    switch (m_type) {
        case kStar:
            if (m_object.SameP(1, u"GCVS")) {
                m_text = GetTextStarGcvs(engine, title);
            } else if (m_object.SameP(1, u"WDS")) {
                m_text = GetTextStarWds(engine, title);
            } else if (m_object.SameP(1, u"ExtraSolarPlanet")) {
                m_text = GetTextExoPlanet(engine, title);
            } else if (m_object.SameP(2, u"Planet")) {
                // "star.<host>.Planet.<name>" is the planet of another star;
                // the engine knows it as "star.ExtraSolarPlanet.<host><name>",
                // and every later query uses that identifier.
                m_object = CString(u"star.ExtraSolarPlanet.") + m_object.GetParamP(1).GetText() +
                           m_object.GetParamP(3).GetText();
                m_text = GetTextExoPlanet(engine, title);
            } else {
                m_text = GetTextStar(engine, title);
            }
            break;
        case kConstellation:
            m_text = GetTextCons(engine, title);
            break;
        case kEquatorial:
            // A point of the sky only has a text while constellation
            // information is wanted.
            if (Setting(&CCdStatus::CnsInfo)) m_text = GetTextEqt(engine, title);
            break;
        case kSolar:
            m_text = GetTextSolar(engine, title);
            break;
        case kDeepSky:
            m_text = GetTextDeepSky(engine, title);
            break;
        case kMagellanicCloud:
            m_text = GetTextMagellan(engine, title);
            break;
        case kDeepSkyImage:
            m_text = GetTextDeepSkyImage(engine, title);
            break;
        case kAdfSystemObject:
        case kAdf:
            m_text = GetTextAdf(engine, title);
            break;
        case kArtificialSatellite:
            m_text = GetTextSatellite(engine, title);
            break;
        case kMeteor:
            m_text = GetTextMeteor(engine, title);
            break;
        case kFieldOfViewCircle:
            m_text = GetTextFiledOfView(engine, title);
            break;
        case kAngleOfView:
            m_text = GetTextAngleOfField(engine, title);
            break;
        case kMosaicOfField:
            m_text = GetTextMosaicOfField(engine, title);
            break;
    }
}
