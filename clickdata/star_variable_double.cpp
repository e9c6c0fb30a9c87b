// Texts of stars picked from the variable-star catalogue (GCVS) and from the
// double-star catalogue (WDS).
#include <climits>
#include <cmath>

#include "clickdata/click_data.h"
#include "host/vexacl.h"
#include "settings/cdstatus.h"

namespace {

// Where a variable star stands in its cycle.
//   jd      the engine's current instant, Julian Day (UT)
//   epoch   an epoch of the light curve (a maximum, or a minimum for an
//           eclipsing star), Julian Day in the catalogue's own scale (GCVS:
//           heliocentric); the difference of scales, minutes at most, is
//           below what the line shows
//   period  the period, days (> 0)
// Sets *cycles = floor((jd - epoch) / period), the whole periods from the
// epoch to jd (negative before the epoch), and *rest = the days since the
// last epoch of the cycle, 0 <= rest < period.  False, leaving both alone,
// when the period is not positive and finite or the count does not fit in
// an int.
bool VariablePhase(double jd, double epoch, double period, int* cycles, double* rest) {
    if (!(period > 0.0) || !std::isfinite(period)) return false;
    const double n = std::floor((jd - epoch) / period);
    // -INT_MAX, not INT_MIN: the count prints by its absolute value.
    if (!(n >= -INT_MAX && n <= INT_MAX)) return false;
    *cycles = static_cast<int>(n);
    *rest = jd - (n * period + epoch);
    return true;
}

}  // namespace

CString CLumClickData::GetTextStarGcvs(CCorLum* engine, int title) {
    CString text = u"変光星 " + QueryObject(engine, u".Name");
    if (title) return text;
    text += u"\r\n";

    const CString hip = QueryObject(engine, u".HipparcosNumber");
    if (IsValue(hip)) text += u"HIP" + hip + u"\r\n";

    CString line;
    if (Setting(&CCdStatus::DispMag)) {
        auto magnitude = [&](const char16_t* suffix) {
            const CString reply = QueryObject(engine, suffix);
            if (reply == u"*") return CString(u"-.--");
            CString value;
            value.Format(u"%.2f", CStkStr(reply).atof(0.0));
            return value;
        };
        const CString maximum = magnitude(u".Magnitude.Maximum");
        const CString minimum = magnitude(u".Magnitude.Minimum");
        line.Format(u"光度 極大 %s等 極小 %s等\r\n", maximum, minimum);
        text += line;
    }

    text += GetPosString(engine, kCoordPrecStar);
    if (!Setting(&CCdStatus::StarDetails)) return text;

    const CString type = QueryObject(engine, u".VariableType");
    if (!type.IsEmpty()) text += u"変光星タイプ " + type + u"\r\n";
    const CString spectrum = QueryObject(engine, u".SpectralType");
    if (!spectrum.IsEmpty()) text += u"スペクトル型 " + spectrum + u"\r\n";

    // An empty epoch or period is known, as 0; only "*" leaves it unknown.
    bool epoch_known = false;
    double epoch = 0.0;
    const CString epoch_reply = QueryObject(engine, u".Epoch");
    if (epoch_reply != u"*") {
        const CString shown = ShortenDecimal(epoch_reply);
        text += u"元期 " + shown + u"\r\n";
        epoch = CStkStr(shown).atof(0.0);
        epoch_known = true;
    }

    const CString year = QueryObject(engine, u".Year");
    if (year != u"*") {
        line.Format(u"出現 %d年\r\n", CStkStr(year).atoi(0));
        text += line;
    }

    bool period_known = false;
    double period = 0.0;
    const CString period_reply = QueryObject(engine, u".Period");
    if (period_reply != u"*") {
        const CString shown = ShortenDecimal(period_reply);
        text += u"周期 " + shown + u"日\r\n";
        period = CStkStr(shown).atof(0.0);
        period_known = true;
    }

    // Rise time (minimum to maximum) as a percentage of the period.
    const CString rise = QueryObject(engine, u".M_mD");
    if (rise != u"*") {
        CString days;
        if (period_known) days.Format(u" (%.1f日)", CStkStr(rise).atof(0.0) * period / 100.0);
        text += u"M-m/D " + rise + days + u"\r\n";
    }

    if (epoch_known && period_known) {
        tagADATE now{};
        GetDate(engine, &now);
        int cycles = 0;
        double rest = 0.0;
        // A period of 0 (or an absurd one) has no phase: the line is left out.
        if (VariablePhase(vexacl::GetJd(now), epoch, period, &cycles, &rest)) {
            const char16_t sign = cycles >= 0 ? u'＋' : u'－';
            line.Format(u"現在の状態 元期%c%d周期＋%.2f日\r\n", sign, cycles < 0 ? -cycles : cycles,
                        rest);
            text += line;
        }
    }

    const CString other = QueryObject(engine, u".OtherDesign");
    if (!other.IsEmpty()) text += u"別名 " + other + u"\r\n";
    return text;
}

CString CLumClickData::GetTextStarWds(CCorLum* engine, int title) {
    // The component "star.WDS.<system>.<component>" belongs to the system
    // named by everything before its last dot.
    const CString& component = m_object.GetText();
    const int last_dot = component.ReverseFind(u'.');
    const CString system = last_dot > 0 ? component.Left(last_dot) : CString();
    auto query_system = [&](const CString& suffix) {
        return engine->Doit(u"? " + system + suffix);
    };

    CString text = u"二重星 " + QueryObject(engine, u".Name");
    if (title) return text;
    text += u"\r\n";

    CString line;
    if (Setting(&CCdStatus::DispMag)) {
        const CString magnitude = QueryObject(engine, u".Magnitude");
        if (magnitude != u"*") {
            line.Format(u"光度 %5.2f等\r\n", CStkStr(magnitude).atof(0.0));
            text += line;
        }
    }

    text += GetPosString(engine, kCoordPrecStar);
    if (!Setting(&CCdStatus::StarDetails)) return text;

    if (!system.IsEmpty()) {
        const CString components = query_system(u".Components");
        const CString name = QueryObject(engine, u".ComponentName");
        if (!components.IsEmpty() || !name.IsEmpty()) {
            line = u"コンポーネント " + name;
            if (!components.IsEmpty()) line.AppendFormat(u"(%s)", components);
            text += line + u"\r\n";
        }
    }

    const CString spectrum = QueryObject(engine, u".SpectralType");
    if (!spectrum.IsEmpty()) text += u"スペクトル型 " + spectrum + u"\r\n";

    if (!system.IsEmpty()) {
        CString discoverer = query_system(u".Discoverer");
        discoverer.Remove(u' ');
        if (!discoverer.IsEmpty()) text += u"発見者/番号 " + discoverer + u"\r\n";

        const CString count = query_system(u".ObsCount");
        if (count != u"*") {
            line.Format(u"観測数 %d\r\n", CStkStr(count).atoi(0));
            text += line;
        }

        // The first and the last measure of the pair: year, position angle
        // (degrees) and separation (seconds of arc); missing values read 0.
        auto observation = [&](const char16_t* which, const char16_t* label) {
            const CString base = CString(which);
            const int year = CStkStr(query_system(base + u".Epoch")).atoi(0);
            const int theta = CStkStr(query_system(base + u".Theta")).atoi(0);
            const double rho = CStkStr(query_system(base + u".Rho")).atof(0.0);
            line.Format(u"%s観測 %d年（位置角 %dﾟ 角距離 %.1f arcsec）\r\n", label, year, theta,
                        rho);
            text += line;
        };
        observation(u".FirstObs", u"最初の");
        observation(u".LastObs", u"最後の");
    }

    // The catalogue gives proper motions in seconds of arc per year.
    const CString pm_ra = QueryObject(engine, u".Propermotion.RA");
    if (IsValue(pm_ra)) {
        line.Format(u"固有運動量μαcosδ %.2f (mas/年)\r\n", CStkStr(pm_ra).atof(0.0) * 1000.0);
        text += line;
    }
    const CString pm_dec = QueryObject(engine, u".Propermotion.DEC");
    if (IsValue(pm_dec)) {
        line.Format(u"固有運動量μδ      %.2f (mas/年)\r\n", CStkStr(pm_dec).atof(0.0) * 1000.0);
        text += line;
    }

    if (!system.IsEmpty()) {
        const CString bd = query_system(u".BD");
        if (!bd.IsEmpty()) text += u"BD番号 " + bd + u"\r\n";
    }
    return text;
}
