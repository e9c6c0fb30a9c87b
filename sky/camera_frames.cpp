#include "sky/camera_frames.h"

#include <erfa.h>
#include <erfam.h>

#include <charconv>
#include <cmath>
#include <string>

namespace sky {

namespace {

// A whole reply-style number ("200", "-10.5", " 0.1 "), nothing more.
std::optional<double> StrictNumber(const CString& text) {
    CString trimmed = text;
    trimmed.Trim();
    const std::string utf8 = trimmed.ToUtf8();
    if (utf8.empty()) return std::nullopt;
    const char* first = utf8.data() + (utf8[0] == '+' ? 1 : 0);
    const char* last = utf8.data() + utf8.size();
    double value = 0.0;
    const auto [end, ec] = std::from_chars(first, last, value);
    if (ec != std::errc() || end != last || !std::isfinite(value)) return std::nullopt;
    return value;
}

const CameraModel* FindCamera(const CString& name) {
    for (const CameraModel& model : CameraModels()) {
        if (name.CompareNoCase(model.name) == 0) return &model;
    }
    return nullptr;
}

using Family = CameraFrames::Family;
constexpr unsigned Bit(Family f) {
    return 1u << static_cast<unsigned>(f);
}
constexpr unsigned kCircle = Bit(Family::Circle);
constexpr unsigned kField = Bit(Family::Field);
constexpr unsigned kMosaic = Bit(Family::Mosaic);
constexpr unsigned kCameras = kField | kMosaic;
constexpr unsigned kAll = kCircle | kField | kMosaic;

// A number setter: the field and its allowed range (inclusive).
struct NumberField {
    const char16_t* suffix;
    unsigned families;
    double CameraFrame::*field;
    double low, high;
    bool handTyped;  // a sensor size: the camera becomes "None"
};

constexpr NumberField kNumberFields[] = {
    {u".angle", kCircle, &CameraFrame::angle_deg, 0.0, 180.0, false},
    {u".focallength", kCameras, &CameraFrame::focal_mm, 0.0, 1e6, false},
    {u".horizontalsize", kCameras, &CameraFrame::width_mm, 0.0, 1000.0, true},
    {u".verticalsize", kCameras, &CameraFrame::height_mm, 0.0, 1000.0, true},
    {u".guider.horizontalsize", kField, &CameraFrame::guider_width_mm, 0.0, 1000.0, false},
    {u".guider.verticalsize", kField, &CameraFrame::guider_height_mm, 0.0, 1000.0, false},
    {u".guider.distance", kField, &CameraFrame::guider_distance_mm, 0.0, 1000.0, false},
    {u".roll", kCameras, &CameraFrame::roll_deg, -1e6, 1e6, false},
    {u".overlap", kMosaic, &CameraFrame::overlap, 0.0, 0.95, false},
    {u".center.dec", kAll, &CameraFrame::dec_deg, -90.0, 90.0, false},
};

bool SetText(CameraFrame* frame, const CString& suffix, const CString& value) {
    if (suffix == u".name") {
        frame->name = value;
        return true;
    }
    if (suffix == u".camera") {
        if (value.CompareNoCase(u"None") == 0) {
            frame->camera = u"None";
            return true;
        }
        const CameraModel* model = FindCamera(value);
        if (!model) return false;  // unknown sensor: keep the frame as it is
        frame->camera = model->name;
        frame->width_mm = model->width_mm;
        frame->height_mm = model->height_mm;
        return true;
    }
    if (suffix == u".coordinate") {
        frame->coordinate = value;
        return true;
    }
    return false;
}

bool SetNumber(Family family, CameraFrame* frame, const CString& suffix, double value) {
    if (suffix == u".center.ra") {  // hours, as the engine's other right ascensions
        if (value < 0.0 || value > 24.0) return false;
        frame->ra_deg = std::fmod(value * 15.0, 360.0);
        return true;
    }
    if (family == Family::Mosaic && (suffix == u".row" || suffix == u".column")) {
        if (value != std::floor(value) || value < 1 || value > CameraFrames::kMaxMosaicSide)
            return false;
        (suffix == u".row" ? frame->rows : frame->columns) = static_cast<int>(value);
        return true;
    }
    for (const NumberField& f : kNumberFields) {
        if (!(f.families & Bit(family)) || suffix != f.suffix) continue;
        if (value < f.low || value > f.high) return false;
        frame->*f.field = value;
        if (f.handTyped) frame->camera = u"None";
        return true;
    }
    return false;
}

CameraFrame MakeFrame(const char16_t* name, double raH, double decDeg) {
    CameraFrame f;
    f.name = name;
    f.ra_deg = raH * 15.0;
    f.dec_deg = decDeg;
    return f;
}

}  // namespace

// Sensor sizes as their makers publish them (data/README.md, "Cameras").
const std::vector<CameraModel>& CameraModels() {
    static const std::vector<CameraModel> models = {
        {u"Canon EOS 6D", 35.8, 23.9},      {u"Nikon D810A", 35.9, 24.0},
        {u"ZWO ASI294MC Pro", 19.1, 13.0},  {u"ZWO ASI1600MM Pro", 17.7, 13.4},
        {u"ZWO ASI2600MC Pro", 23.5, 15.7},
    };
    return models;
}

// The default set: two circles, a telescope field with a guide sensor, a
// lens field, and a 2 x 3 mosaic, all about the Orion Nebula (M42, J2000
// 5h35m17s -5d23m).
CameraFrames::CameraFrames() {
    constexpr double kRaH = 5.5881, kDec = -5.391;
    m_circles[1] = MakeFrame(u"ファインダー", kRaH, kDec);
    m_circles[1].angle_deg = 6.0;
    m_circles[2] = MakeFrame(u"アイピース", kRaH, kDec);
    m_circles[2].angle_deg = 1.0;

    CameraFrame telescope = MakeFrame(u"望遠鏡", kRaH, kDec);
    SetText(&telescope, u".camera", u"ZWO ASI1600MM Pro");
    telescope.focal_mm = 530.0;
    telescope.guider_width_mm = 4.9;
    telescope.guider_height_mm = 3.7;
    telescope.guider_distance_mm = 2.0;
    m_fields[1] = telescope;

    CameraFrame lens = MakeFrame(u"カメラレンズ", kRaH, kDec);
    SetText(&lens, u".camera", u"Canon EOS 6D");
    lens.focal_mm = 135.0;
    m_fields[2] = lens;

    m_mosaic = MakeFrame(u"モザイク", kRaH, kDec);
    SetText(&m_mosaic, u".camera", u"ZWO ASI294MC Pro");
    m_mosaic.focal_mm = 400.0;
    m_mosaic.rows = 2;
    m_mosaic.columns = 3;
    m_mosaic.overlap = 0.1;
}

const CameraFrame* CameraFrames::Find(Family family, int number) const {
    if (family == Family::Mosaic) return &m_mosaic;
    const auto& frames = family == Family::Circle ? m_circles : m_fields;
    const auto found = frames.find(number);
    return found == frames.end() ? nullptr : &found->second;
}

bool CameraFrames::Set(Family family, int number, const CString& suffix, const CString& value) {
    CameraFrame* frame = &m_mosaic;
    CameraFrame fresh;
    if (family != Family::Mosaic) {
        if (number < 1 || number > kMaxNumber) return false;
        auto& frames = family == Family::Circle ? m_circles : m_fields;
        const auto found = frames.find(number);
        if (found != frames.end()) {
            frame = &found->second;
        } else {
            fresh.name.Format(
                u"%s.%d", family == Family::Circle ? u"FieldOfViewCircle" : u"AngleOfView", number);
            frame = &fresh;
        }
    }
    // Text values first; every other value is a number.
    bool done = SetText(frame, suffix, value);
    if (!done && suffix != u".name" && suffix != u".camera" && suffix != u".coordinate") {
        const std::optional<double> number_value = StrictNumber(value);
        done = number_value && SetNumber(family, frame, suffix, *number_value);
    }
    if (done && frame == &fresh) {
        (family == Family::Circle ? m_circles : m_fields)[number] = fresh;
    }
    return done;
}

bool AlignedToHorizon(const CameraFrame& mosaic) {
    return mosaic.coordinate.Left(7).CompareNoCase(u"Horizon") == 0;
}

std::optional<std::pair<double, double>> MosaicFrameCentre(const CameraFrame& m, int number,
                                                           double up_pa_deg) {
    if (number < 1 || number > m.rows * m.columns) return std::nullopt;
    const int row = (number - 1) / m.columns, column = (number - 1) % m.columns;
    double xi = 0.0, eta = 0.0;  // standard coordinates: east, north (radians)
    if (m.focal_mm > 0.0) {
        const double step = 1.0 - m.overlap;
        // Offsets along the frame's own right and up directions.
        const double right = (column - (m.columns - 1) / 2.0) * step * m.width_mm / m.focal_mm;
        const double up = ((m.rows - 1) / 2.0 - row) * step * m.height_mm / m.focal_mm;
        // Roll r turns the top from north towards east; right is then
        // (-cos r, sin r) and up (sin r, cos r) in (east, north).
        const double r = (up_pa_deg + m.roll_deg) * ERFA_DD2R;
        xi = -right * std::cos(r) + up * std::sin(r);
        eta = right * std::sin(r) + up * std::cos(r);
    }
    double ra = 0.0, dec = 0.0;
    eraTpsts(xi, eta, m.ra_deg * ERFA_DD2R, m.dec_deg * ERFA_DD2R, &ra, &dec);
    return std::make_pair(eraAnp(ra) * ERFA_DR2D, dec * ERFA_DR2D);
}

}  // namespace sky
