// Keys of the comment file and of the posted-image gallery.
//
// A comment belongs to an object, not to the identifier it was reached by:
// the keys are built from catalogue designations and names.  An object
// without a lasting identity (a temporarily numbered star, a star known by
// no catalogue, a reply without a value) gets the empty key and can carry
// no comment, rather than share one entry with every other such object.
#include "clickdata/click_data.h"
#include "settings/cdstatus.h"

namespace {

bool StartsNoCase(const CString& text, const CString& prefix) {
    return text.Left(prefix.GetLength()).CompareNoCase(prefix) == 0;
}

}  // namespace

CString CLumClickData::CdfKey(const CString& prefix, const CString& part) {
    return IsValue(part) ? prefix + part : CString();
}

int CLumClickData::IsCommentEnable(CCorLum* engine, const CString& object) {
    int type = -1;
    CStkString copy(object);
    if (!engine || object.IsEmpty() || !ObjectSearch(engine, copy, &type)) return 0;
    if (type == kStar) {
        const CString catalogue = copy.GetParamP(1).GetText();
        if (StartsNoCase(catalogue, u"NO") || StartsNoCase(catalogue, u"XNO")) return 0;
    }
    const CStkString current = m_object;
    const int current_type = m_type;
    const int enabled = StkToCdf(engine, object).IsEmpty() ? 0 : 1;
    m_object = current;
    m_type = current_type;
    return enabled;
}

CString CLumClickData::StkToCdf(CCorLum* engine, const CString& object) {
    m_object = object;
    // An object that cannot be classified has no key (its type is unknown).
    if (!engine || object.IsEmpty() || !ObjectSearch(engine, m_object, &m_type)) return CString();
    switch (m_type) {
        case kStar:
            return GetCdfTextStar(engine);
        case kConstellation:
            return GetCdfTextCons(engine);
        case kEquatorial:
            return Setting(&CCdStatus::CnsInfo) ? GetCdfTextEqt(engine) : CString();
        case kSolar:
            return GetCdfTextSolar(engine);
        case kDeepSky:
            return GetCdfTextDeepSky(engine);
        case kMagellanicCloud:
            return GetCdfTextMagellan(engine);
        case kArtificialSatellite:
            return GetCdfTextSatellite(engine);
        case kMeteor:
            return GetCdfTextMeteor(engine);
        case kAdfSystemObject:
        case kAdf:
            return GetCdfTextAdf(engine);
        case kFieldOfViewCircle:
            return GetCdfTextFieldOfView(engine);
        case kAngleOfView:
            return GetCdfTextAngleOfField(engine);
        default:
            return CString();
    }
}

CString CLumClickData::GetCdfTextStar(CCorLum* engine) {
    if (StartsNoCase(m_object.GetParamP(1).GetText(), u"XNO")) return CString();
    if (m_object.SameP(1, u"GCVS")) return CdfKey(u"GCVS ", m_object.GetParamP(2).GetText());
    if (m_object.SameP(1, u"WDS")) {
        return CdfKey(u"WDS ", m_object.GetParamP(2).GetText() + u"." +
                                   m_object.GetParamP(3).GetText() + u"." +
                                   m_object.GetParamP(4).GetText());
    }
    const CString flamsteed = QueryObject(engine, u".FlamsteedNumber");
    const CString bayer = QueryObject(engine, u".BayerLetter");
    const CString abbreviation = QueryObject(engine, u".Constellation.Abbreviation");
    const CString designation = IsValue(bayer) ? bayer : IsValue(flamsteed) ? flamsteed : CString();
    if (!designation.IsEmpty() && IsValue(abbreviation)) {
        return u"STAR " + designation + abbreviation;
    }
    // Without a designation the constellation alone would name many stars.
    return CdfKey(u"STAR HIP", QueryObject(engine, u".HipparcosNumber"));
}

CString CLumClickData::GetCdfTextCons(CCorLum* engine) {
    return CdfKey(u"CONS ", QueryObject(engine, u".Abbreviation"));
}

CString CLumClickData::GetCdfTextEqt(CCorLum* engine) {
    // A point of the sky shares the entry of the constellation it lies in.
    const CString constellation = QueryObject(engine, u".Position.Constellation");
    if (!IsValue(constellation)) return CString();
    return CdfKey(u"CONS ", engine->Doit(u"? Constellation." + constellation + u".Abbreviation"));
}

CString CLumClickData::GetCdfTextSolar(CCorLum* engine) {
    if (m_object.SameP(1, u"Sun")) return u"SUN";
    if (m_object.SameP(1, u"Planet")) {
        // A satellite is keyed by its own name; the Earth shares the Moon's
        // entry.
        const bool satellite = m_object.SameP(3, u"Satellite");
        const int name = satellite ? 4 : 2;
        if (m_object.SameP(name, satellite ? u"Moon" : u"Earth")) return u"MOON";
        CString key = CdfKey(CString(), m_object.GetParamP(name).GetText());
        return key.MakeUpper();
    }
    if (m_object.SameP(1, u"Comet")) return CdfKey(u"COMET ", QueryObject(engine, u".ID"));
    if (m_object.SameP(1, u"MinorPlanet")) {
        return CdfKey(u"MINORPLANET ", QueryObject(engine, u".ID"));
    }
    if (m_object.SameP(1, u"Spacecraft")) {
        return CdfKey(u"SPACECRAFT ", m_object.GetParamP(2).GetText());
    }
    return CString();
}

CString CLumClickData::GetCdfTextDeepSky(CCorLum* engine) {
    CString number = QueryObject(engine, u".Number");
    number.Remove(u' ');  // "NGC 224" and "NGC224" are one object
    return CdfKey(u"NEBULA ", number);
}

CString CLumClickData::GetCdfTextMagellan(CCorLum*) {
    // The engine calls the clouds "Large" and "Small"; the sky engine of the
    // command line calls them by their abbreviations.
    if (m_object.SameP(1, u"Large") || m_object.SameP(1, u"LMC")) return u"LMC";
    if (m_object.SameP(1, u"Small") || m_object.SameP(1, u"SMC")) return u"SMC";
    return CString();
}

CString CLumClickData::GetCdfTextSatellite(CCorLum* engine) {
    return CdfKey(u"ASAT ", QueryObject(engine, u".Number"));
}

CString CLumClickData::GetCdfTextMeteor(CCorLum* engine) {
    CString name = QueryObject(engine, u".Name");
    name.Remove(u'座');  // "ふたご座流星群" and "ふたご流星群" are one shower
    return CdfKey(u"METEOR ", name);
}

CString CLumClickData::GetCdfTextAdf(CCorLum* engine) {
    const CString name = QueryObject(engine, u".Name");
    return IsValue(name) ? u"AD \"" + name + u"\"" : CString();
}

CString CLumClickData::GetCdfTextFieldOfView(CCorLum*) {
    return u"FIELD \"VIEW\"";
}

CString CLumClickData::GetCdfTextAngleOfField(CCorLum*) {
    return u"FIELD \"PHOTO\"";
}

CString CLumClickData::GetDBSearchString(CCorLum* engine) {
    // The type is found again: an object GetText could not classify leaves
    // the type of an earlier one behind.
    int type = -1;
    if (!engine || m_object.GetText().IsEmpty() || !ObjectSearch(engine, m_object, &type)) {
        return CString();
    }
    switch (type) {
        case kEquatorial:
            if (!Setting(&CCdStatus::CnsInfo)) return CString();
            return CdfKey(u"Constellation.", QueryObject(engine, u".Position.Constellation"));
        case kAdf: {
            // "Adf.#n.NoK": the system's object name and the object's label.
            const CString& id = m_object.GetText();
            const int no = id.Find(u".No");
            if (no < 0) return CString();
            const CString name = engine->Doit(u"? " + id.Left(no) + u".ObjectName");
            const CString label = QueryObject(engine, u".Label");
            if (!IsValue(name) || !IsValue(label)) return CString();
            return name + u"." + label;
        }
        case kDeepSkyImage:
        case kFieldOfViewCircle:
        case kAngleOfView:
        case kMosaicOfField:
            return CString();
        default:
            return m_object.GetText();
    }
}
