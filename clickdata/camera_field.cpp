// Texts of the framing aids the user places on the sky chart: field-of-view
// circles, the field of a camera at a focal length, and mosaics of camera
// fields.  Every value is the engine's; missing replies read as 0.
#include <cmath>
#include <numbers>

#include "clickdata/click_data.h"
#include "clickdata/lines.h"
#include "host/vexacl.h"
#include "res/string_table.h"

namespace {

using lines::ReplyInteger;
using lines::ReplyNumber;

// Full angle of view, degrees, of a sensor side `side_mm` behind a lens of
// focal length `focal_mm`: 2 atan(side / 2f).  A focal length of 0 gives
// 180 degrees for any positive side and 0 for a side of 0.
double AngleOfView(double side_mm, double focal_mm) {
    return std::atan2(side_mm, 2.0 * focal_mm) * (360.0 / std::numbers::pi);
}

// Whether the camera was typed in by its sensor size rather than chosen.
bool IsCustomCamera(const CString& camera) {
    return camera.CompareNoCase(u"None") == 0;
}

// A camera frame as the engine describes it.  `base` is the object whose
// properties are read ("? " + base + suffix).
struct CameraFrame {
    double focal;   // focal length, mm
    double width;   // imaging-sensor width, mm
    double height;  // imaging-sensor height, mm
    CString name;
    CString camera;

    CameraFrame(CCorLum* engine, const CString& base) {
        auto query = [&](const char16_t* suffix) { return engine->Doit(u"? " + base + suffix); };
        focal = ReplyNumber(query(u".FocalLength"));
        width = ReplyNumber(query(u".HorizontalSize"));
        height = ReplyNumber(query(u".VerticalSize"));
        name = query(u".Name");
        camera = query(u".Camera");
    }
    double AngularWidth() const { return AngleOfView(width, focal); }
    double AngularHeight() const { return AngleOfView(height, focal); }

    // "焦点距離 50.0 mm 撮像エリア 36.0 × 24.0 mm".
    CString ImagingAreaLine() const {
        CString line;
        line.Format(LoadResString(IDS_CAMERA_IMAGING_AREA).GetString(), focal, width, height);
        return line + u"\r\n";
    }
};

// The frame's rotation, reduced to 0..360 degrees.
CString RollLine(const CString& reply) {
    CString line;
    line.Format(u"回転角 %.1f 度\r\n", vexacl::degmal(ReplyNumber(reply)));
    return line;
}

// The frame system a mosaic is laid out in: the reply's first word
// "Equatorial" (any case, more may follow), exactly "Horizon" (any case),
// or else the screen.
CString MosaicCoordinateLabel(const CString& reply) {
    if (reply.Left(10).CompareNoCase(u"Equatorial") == 0) return u"赤道座標";
    if (reply.CompareNoCase(u"Horizon") == 0) return u"地平座標";
    return u"スクリーン";
}

// Whole percent of an overlap given as a fraction (0.155 -> 15).  The
// product is nudged up by far less than a percent before it is cut, so
// that 0.29, stored a hair below, is 29 and not 28.  Values beyond int
// (or not numbers) print as 0.
int OverlapPercent(double fraction) {
    const double percent = std::trunc(fraction * 100.0 * (1.0 + 1e-12));
    return std::fabs(percent) < 2e9 ? static_cast<int>(percent) : 0;
}

}  // namespace

CString CLumClickData::GetTextFiledOfView(CCorLum* engine, int title) {
    const CString name = QueryObject(engine, u".Name");
    const double angle = ReplyNumber(QueryObject(engine, u".Angle"));  // degrees
    CString text;
    text.Format(u"%s (%.2fﾟ)", name, angle);
    if (title) return text;
    return text + u"\r\n" + GetPosString(engine, kCoordPrecSecond);
}

CString CLumClickData::GetTextAngleOfField(CCorLum* engine, int title) {
    const CameraFrame frame(engine, m_object.GetText());
    CString text = frame.name + u" " + (IsCustomCamera(frame.camera) ? u"カスタム" : frame.camera);
    text.AppendFormat(u" (%.2fﾟ×%.2fﾟ)", frame.AngularWidth(), frame.AngularHeight());
    if (title) return text;
    text += u"\r\n" + GetPosString(engine, kCoordPrecSecond) + frame.ImagingAreaLine();

    // The guide chip beside the imaging chip, when the camera has one (mm).
    const double guider_width = ReplyNumber(QueryObject(engine, u".Guider.HorizontalSize"));
    if (guider_width > 0.0) {
        const double guider_height = ReplyNumber(QueryObject(engine, u".Guider.VerticalSize"));
        const double gap = ReplyNumber(QueryObject(engine, u".Guider.Distance"));
        text.AppendFormat(LoadResString(IDS_CAMERA_GUIDER_AREA).GetString(), guider_width,
                          guider_height, gap);
        text += u"\r\n";
    }
    return text + RollLine(QueryObject(engine, u".Roll"));
}

CString CLumClickData::GetTextMosaicOfField(CCorLum* engine, int title) {
    // "MosaicOfField.<frame>": the mosaic's properties sit on the part before
    // the first "."; the rest names the frame clicked.
    const CString& object = m_object.GetText();
    const int dot = object.Find(u'.');
    const CString base = dot < 0 ? object : object.Left(dot);
    const CString frame_number = dot < 0 ? CString() : object.Mid(dot + 1);
    auto query = [&](const char16_t* suffix) { return engine->Doit(u"? " + base + suffix); };

    const CameraFrame frame(engine, base);
    CString text = frame.name;
    if (!IsCustomCamera(frame.camera)) text += u" " + frame.camera;
    const int rows = ReplyInteger(query(u".Row"));
    const int columns = ReplyInteger(query(u".Column"));
    text.AppendFormat(u"  (%.2fﾟ×%.2fﾟ×%d×%dフレーム, No.%s)", frame.AngularWidth(),
                      frame.AngularHeight(), rows, columns, frame_number);
    if (title) return text;
    // The position is the clicked frame's own.
    text += u"\r\n" + GetPosString(engine, kCoordPrecSecond) + frame.ImagingAreaLine();

    const CString label = MosaicCoordinateLabel(query(u".Coordinate"));
    text.AppendFormat(u"重なり %d %%, %s\r\n", OverlapPercent(ReplyNumber(query(u".Overlap"))),
                      label);
    return text + RollLine(query(u".Roll"));
}
