// The sky engine's tables of the user's objects: camera frames, ADF systems
// and their objects, deep-sky images (sky/user_objects.h).
//
// Identifiers:
//   FieldOfViewCircle.<n>, AngleOfView.<n>   a circle or camera field, n 1..32
//   MosaicOfField                            the mosaic (its values)
//   MosaicOfField.<k>                        its k-th frame (its centre)
//   AdfSystem.#<n>                           the ADF system in slot n (1..40)
//   Adf.<system>                             the same, by its object name
//   Adf.<system>.No<k>, <system>.No<k>       its k-th object
//   <system>.<label>                         its object by label
//   DeepSkyImage.<n>                         the n-th image
// Units: lengths in mm, angles in degrees, .Center.RA in hours and
// .Center.Dec in degrees (ICRS), .Overlap a fraction.
#include <erfa.h>
#include <erfam.h>

#include "engine/stkstr.h"
#include "sky/catalog.h"
#include "sky/engine_reply.h"
#include "sky/sky_engine.h"
#include "sky/user_objects.h"

using namespace sky::reply;
using Family = sky::CameraFrames::Family;

namespace {

constexpr int kMmDecimals = 4;

// A positive whole number in decimal digits only ("12"), else 0.
int WholeNumber(std::u16string_view text) {
    if (text.empty() || text.size() > 6) return 0;
    int n = 0;
    for (char16_t c : text) {
        if (c < u'0' || c > u'9') return 0;
        n = n * 10 + (c - u'0');
    }
    return n;
}

struct FamilyName {
    std::u16string_view lowerClass;
    Family family;
};
constexpr FamilyName kFamilies[] = {
    {u"fieldofviewcircle", Family::Circle},
    {u"angleofview", Family::Field},
    {u"mosaicoffield", Family::Mosaic},
};

}  // namespace

// An ADF system may not take the name of a class of the engine, of one the
// text engine classifies before it looks for systems, or of a family of the
// sky state.
bool CSkyEngine::IsReservedClassName(const CString& name) {
    for (const IdentifierRule& rule : IdentifierRules()) {
        if (name.CompareNoCase(rule.className) == 0) return true;
    }
    for (const char16_t* other : {u"ArtificialSatellite", u"Meteor", u"Time", u"Location", u"View",
                                  u"ClickData", u"Measure", u"LST"}) {
        if (name.CompareNoCase(other) == 0) return true;
    }
    return false;
}

sky::UserObjects& CSkyEngine::User(bool files) const {
    if (files && !m_user->filesLoaded) {
        m_user->LoadFiles(CSkyCatalog::DefaultDataDir(), &IsReservedClassName);
    }
    return *m_user;
}

bool CSkyEngine::ResolveUserObject(const CSkyEngine& e, const CLumProperty& parts, Object* o) {
    using K = Object::Kind;
    const CString kind = Lower(parts.GetParam(0).GetText());
    const CString first = parts.GetParam(1).GetText();
    if (kind == u"adfsystem" || kind == u"adf") {
        const sky::AdfSystems& adf = e.User(true).adf;
        o->adfSystem = kind == u"adf"          ? adf.ByName(first)
                       : first.Left(1) == u"#" ? adf.Slot(WholeNumber(first.Mid(1).view()))
                                               : nullptr;
        if (!o->adfSystem) return false;
        o->kind = K::AdfSystem;
        if (parts.IsEmpty(2)) return true;
        // Adf.<system>.No<k>: the ".No" form only.
        const CString item = parts.GetParam(2).GetText();
        if (kind != u"adf" || !parts.IsEmpty(3) || item.Left(2).CompareNoCase(u"No") != 0)
            return false;
        o->adfObject = o->adfSystem->Find(item);
        if (!o->adfObject) return false;
        o->kind = K::AdfObject;
        o->SetFixedPlace(o->adfObject->ra_deg, o->adfObject->dec_deg);
        return true;
    }
    if (!parts.IsEmpty(2)) return false;
    const int number = WholeNumber(first.view());
    if (kind == u"deepskyimage") {
        o->image = e.User(true).images.At(number);
        if (!o->image) return false;
        o->kind = K::DeepSkyImage;
        o->SetFixedPlace(o->image->ra_deg, o->image->dec_deg);
        return true;
    }
    for (const FamilyName& f : kFamilies) {
        if (kind.view() != f.lowerClass) continue;
        o->frame = e.User(false).frames.Find(f.family, number);
        if (!o->frame) return false;
        if (f.family != Family::Mosaic) {
            o->kind = f.family == Family::Circle ? K::FieldOfViewCircle : K::AngleOfView;
            o->SetFixedPlace(o->frame->ra_deg, o->frame->dec_deg);
            return true;
        }
        if (first.IsEmpty()) {
            o->kind = K::Mosaic;
            o->SetFixedPlace(o->frame->ra_deg, o->frame->dec_deg);
            return true;
        }
        const auto centre = sky::MosaicFrameCentre(*o->frame, number);
        if (!centre) return false;
        o->kind = K::MosaicFrame;
        o->SetFixedPlace(centre->first, centre->second);
        return true;
    }
    return false;
}

// A frame of a mosaic aligned to the horizon turns with the sky: its
// centre at the engine's time, the grid's up being the direction of the
// zenith at the mosaic's centre, as a position angle in the ICRS (a point
// 20 seconds of arc higher, taken back from the observed place through
// ERFA's eraAtoiq and eraAticq: exact where the parallactic angle of date
// would be off by the precession since J2000).
std::optional<astrometry::CatalogStar> CSkyEngine::MosaicFramePlaceNow(const Object& o) {
    const sky::CameraFrame& mosaic = *o.frame;
    double up = 0.0;
    if (sky::AlignedToHorizon(mosaic)) {
        if (!Context().ok()) return std::nullopt;
        eraASTROM astrom = Context().Topocentric();
        const double ra = mosaic.ra_deg * ERFA_DD2R, dec = mosaic.dec_deg * ERFA_DD2R;
        double ri = 0, di = 0, az = 0, zd = 0, ha = 0, dob = 0, rob = 0;
        eraAtciq(ra, dec, 0.0, 0.0, 0.0, 0.0, &astrom, &ri, &di);
        eraAtioq(ri, di, &astrom, &az, &zd, &ha, &dob, &rob);
        double higherRi = 0, higherDi = 0, higherRa = 0, higherDec = 0;
        eraAtoiq("A", az, zd - 1e-4, &astrom, &higherRi, &higherDi);
        eraAticq(higherRi, higherDi, &astrom, &higherRa, &higherDec);
        up = eraPas(ra, dec, higherRa, higherDec) * ERFA_DR2D;
    }
    const int number = WholeNumber(o.key.Mid(o.key.Find(u'.') + 1).view());
    const auto centre = sky::MosaicFrameCentre(mosaic, number, up);
    if (!centre) return std::nullopt;
    astrometry::CatalogStar place;
    place.ra_deg = centre->first;
    place.dec_deg = centre->second;
    return place;
}

bool CSkyEngine::ResolveAdfByName(const CLumProperty& parts, Object* o) const {
    if (parts.IsEmpty(1) || !parts.IsEmpty(2)) return false;
    o->adfSystem = User(true).adf.ByName(parts.GetParam(0).GetText());
    if (!o->adfSystem) return false;
    o->adfObject = o->adfSystem->Find(parts.GetParam(1).GetText());
    if (!o->adfObject) return false;
    o->kind = Object::Kind::AdfObject;
    o->SetFixedPlace(o->adfObject->ra_deg, o->adfObject->dec_deg);
    return true;
}

bool CSkyEngine::AssignUserObject(const CString& lowerPath, const CString& value) {
    const std::u16string_view path = lowerPath.view();
    bool changed = false, handled = false;
    const std::u16string_view adf = u"adfsystem.#";
    if (path.starts_with(adf) && path.ends_with(u".file")) {
        const int slot = WholeNumber(path.substr(adf.size(), path.size() - adf.size() - 5));
        if (slot < 1 || slot > sky::AdfSystems::kSlots) return false;
        sky::UserObjects& user = User(true);
        handled = changed = true;
        std::string error;
        if (value.IsEmpty()) {
            user.adf.Unload(slot);
        } else if (!user.adf.Load(slot, value.ToUtf8(), &IsReservedClassName, &error)) {
            user.problems.push_back(error);
            changed = false;
        }
    }
    for (const FamilyName& f : kFamilies) {
        if (handled || !path.starts_with(f.lowerClass)) continue;
        std::u16string_view rest = path.substr(f.lowerClass.size());
        int number = 0;
        if (f.family != Family::Mosaic) {
            const size_t dot = rest.find(u'.', 1);
            if (!rest.starts_with(u'.') || dot == std::u16string_view::npos) return false;
            number = WholeNumber(rest.substr(1, dot - 1));
            rest = rest.substr(dot);
        }
        handled = true;
        changed = User(false).frames.Set(f.family, number, CString(rest), value);
    }
    if (changed) {
        // Objects and places resolved before may stand for what changed.
        ForgetResolutions();
        m_positions.clear();
        m_events.clear();
    }
    return handled;
}

// ---------------------------------------------------------------------------
// Tables

// The values of a camera frame that its kind has, in the order the texts
// ask for them.
std::vector<CSkyEngine::Property> CSkyEngine::CameraFrameProperties(Object::Kind kind) {
    using K = Object::Kind;
    const bool circle = kind == K::FieldOfViewCircle, field = kind == K::AngleOfView;
    const bool mosaic = kind == K::Mosaic || kind == K::MosaicFrame;
    struct Row {
        bool has;
        Property property;
    };
    const Row rows[] = {
        {true, {u".name", [](CSkyEngine&, const Object& o) { return o.frame->name; }}},
        {circle,
         {u".angle",
          [](CSkyEngine&, const Object& o) { return Number(o.frame->angle_deg, kAngleDecimals); }}},
        {!circle, {u".camera", [](CSkyEngine&, const Object& o) { return o.frame->camera; }}},
        {!circle,
         {u".focallength",
          [](CSkyEngine&, const Object& o) { return Number(o.frame->focal_mm, kMmDecimals); }}},
        {!circle,
         {u".horizontalsize",
          [](CSkyEngine&, const Object& o) { return Number(o.frame->width_mm, kMmDecimals); }}},
        {!circle,
         {u".verticalsize",
          [](CSkyEngine&, const Object& o) { return Number(o.frame->height_mm, kMmDecimals); }}},
        {field,
         {u".guider.horizontalsize",
          [](CSkyEngine&, const Object& o) {
              return Number(o.frame->guider_width_mm, kMmDecimals);
          }}},
        {field,
         {u".guider.verticalsize",
          [](CSkyEngine&, const Object& o) {
              return Number(o.frame->guider_height_mm, kMmDecimals);
          }}},
        {field,
         {u".guider.distance",
          [](CSkyEngine&, const Object& o) {
              return Number(o.frame->guider_distance_mm, kMmDecimals);
          }}},
        {!circle,
         {u".roll",
          [](CSkyEngine&, const Object& o) { return Number(o.frame->roll_deg, kAngleDecimals); }}},
        {mosaic, {u".row", [](CSkyEngine&, const Object& o) { return Integer(o.frame->rows); }}},
        {mosaic,
         {u".column", [](CSkyEngine&, const Object& o) { return Integer(o.frame->columns); }}},
        {mosaic,
         {u".coordinate", [](CSkyEngine&, const Object& o) { return o.frame->coordinate; }}},
        {mosaic,
         {u".overlap", [](CSkyEngine&, const Object& o) { return Number(o.frame->overlap, 6); }}},
        // The frame's (the mosaic's) own centre, as it was set.
        {true,
         {u".center.ra",
          [](CSkyEngine&, const Object& o) {
              return Number(o.frame->ra_deg / 15.0, kAngleDecimals);
          }}},
        {true,
         {u".center.dec",
          [](CSkyEngine&, const Object& o) { return Number(o.frame->dec_deg, kAngleDecimals); }}},
    };
    std::vector<Property> out;
    for (const Row& row : rows) {
        if (row.has) out.push_back(row.property);
    }
    return out;
}

const CSkyEngine::KindTable& CSkyEngine::FieldOfViewCircleTable() {
    static const KindTable table{Object::Kind::FieldOfViewCircle, u"field-of-view circle",
                                 u"FieldOfViewCircle.1",
                                 CameraFrameProperties(Object::Kind::FieldOfViewCircle)};
    return table;
}

const CSkyEngine::KindTable& CSkyEngine::AngleOfViewTable() {
    static const KindTable table{Object::Kind::AngleOfView, u"camera field", u"AngleOfView.1",
                                 CameraFrameProperties(Object::Kind::AngleOfView)};
    return table;
}

const CSkyEngine::KindTable& CSkyEngine::MosaicTable() {
    static const KindTable table{Object::Kind::Mosaic, u"mosaic", u"MosaicOfField",
                                 CameraFrameProperties(Object::Kind::Mosaic)};
    return table;
}

// A frame answers the mosaic's values and its own centre's positions.
const CSkyEngine::KindTable& CSkyEngine::MosaicFrameTable() {
    static const KindTable table{Object::Kind::MosaicFrame, u"mosaic frame", u"MosaicOfField.1",
                                 CameraFrameProperties(Object::Kind::MosaicFrame)};
    return table;
}

const CSkyEngine::KindTable& CSkyEngine::AdfSystemTable() {
    static const KindTable table{
        Object::Kind::AdfSystem,
        u"ADF system",
        u"AdfSystem.#1",
        {
            {u".file",
             [](CSkyEngine&, const Object& o) { return CString::FromUtf8(o.adfSystem->file); }},
            {u".objectname", [](CSkyEngine&, const Object& o) { return o.adfSystem->objectName; }},
            {u".title", [](CSkyEngine&, const Object& o) { return o.adfSystem->title; }},
            {u".count",
             [](CSkyEngine&, const Object& o) {
                 return Integer(static_cast<int>(o.adfSystem->objects.size()));
             }},
        }};
    return table;
}

const CSkyEngine::KindTable& CSkyEngine::AdfObjectTable() {
    static const KindTable table{
        Object::Kind::AdfObject,
        u"ADF object",
        u"Adf.Caldwell.No1",
        {
            {u".name", [](CSkyEngine&, const Object& o) { return o.adfObject->name; }},
            // The object's own description, else its system's title.
            {u".title",
             [](CSkyEngine&, const Object& o) {
                 return o.adfObject->title.IsEmpty() ? o.adfSystem->title : o.adfObject->title;
             }},
            {u".label", [](CSkyEngine&, const Object& o) { return o.adfObject->label; }},
            {u".objectname", [](CSkyEngine&, const Object& o) { return o.adfSystem->objectName; }},
        }};
    return table;
}

const CSkyEngine::KindTable& CSkyEngine::DeepSkyImageTable() {
    static const KindTable table{
        Object::Kind::DeepSkyImage,
        u"deep-sky image",
        u"DeepSkyImage.1",
        {
            {u".file", [](CSkyEngine&, const Object& o) { return o.image->file; }},
            {u".angle.x",
             [](CSkyEngine&, const Object& o) {
                 return Number(o.image->width_deg, kAngleDecimals);
             }},
            {u".angle.y",
             [](CSkyEngine&, const Object& o) {
                 return Number(o.image->height_deg, kAngleDecimals);
             }},
            {u".roll", [](CSkyEngine&,
                          const Object& o) { return Number(o.image->roll_deg, kAngleDecimals); }},
        }};
    return table;
}
