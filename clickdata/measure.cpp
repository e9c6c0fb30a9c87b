// The measuring-line block: differences, position angle and distance
// between the two ends of the line the user drew on the chart.
#include <cmath>

#include "clickdata/click_data.h"
#include "host/vexacl.h"
#include "settings/cdstatus.h"

using namespace lines;

CString CLumClickData::GetMeasureString(CCorLum* engine) {
    if (!CStkStr(engine->Doit(u"? Measure.Visible")).Same(u"TRUE") ||
        !CStkStr(engine->Doit(u"? Measure.Connecting")).Same(u"TRUE")) {
        return CString();
    }
    auto number = [engine](const char16_t* query) { return ReplyNumber(engine->Doit(query)); };
    // A signed difference: its sign, then the magnitude through a formatter.
    auto signed_text = [this](double d, bool hours) {
        const CString magnitude = Formatted(u"%.10f", std::fabs(d));
        return CString(d >= 0.0 ? u"+" : u"-") +
               (hours ? FormatHms(magnitude, 2) : FormatLong(magnitude, 2));
    };

    const double ra0 = number(u"? Measure.Origin.position.EquatorialDateApp.RA");
    const double dec0 = number(u"? Measure.Origin.position.EquatorialDateApp.DEC");
    const double ra1 = number(u"? Measure.End.position.EquatorialDateApp.RA");
    const double dec1 = number(u"? Measure.End.position.EquatorialDateApp.DEC");
    // Plain subtraction: a line across 0h shows the long way round, as drawn.
    CString text = u"赤経差 " + signed_text(ra1 - ra0, true) + u"  赤緯差 " +
                   signed_text(dec1 - dec0, false) + u"\r\n";

    const double lambda0 = number(u"? Measure.Origin.position.EclipticDateApp.Lambda");
    const double beta0 = number(u"? Measure.Origin.position.EclipticDateApp.Beta");
    const double lambda1 = number(u"? Measure.End.position.EclipticDateApp.Lambda");
    const double beta1 = number(u"? Measure.End.position.EclipticDateApp.Beta");
    text += u"黄経差 " + signed_text(lambda1 - lambda0, false) + u"   黄緯差 " +
            signed_text(beta1 - beta0, false) + u"\r\n";

    if (Setting(&CCdStatus::DispAzmth)) {
        const double origin[2] = {ra0 * 15.0, dec0};
        const double end[2] = {ra1 * 15.0, dec1};
        double position_angle = 0.0, distance = 0.0;
        vexacl::AdToPaDist(origin, end, &position_angle, &distance);
        const CString pa = Formatted(u"%.10f", vexacl::degmal(position_angle));
        const CString dist = Formatted(u"%.10f", vexacl::degmal(distance));
        text += u"位置角  " + FormatLong(pa, 2) + u"   角距離  " + FormatLong(dist, 2);
    }
    return text;
}
