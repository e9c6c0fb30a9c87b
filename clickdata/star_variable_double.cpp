// Texts of stars picked from the variable-star catalogue (GCVS) and from the
// double-star catalogue (WDS).
#include <climits>
#include <cmath>

#include "clickdata/click_data.h"
#include "host/vexacl.h"
#include "settings/cdstatus.h"

using namespace lines;

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
    text += u"\r\n" + GetHipLine(engine);

    if (Setting(&CCdStatus::DispMag)) {
        auto magnitude = [&](const char16_t* suffix) {
            const CString reply = QueryObject(engine, suffix);
            return reply == u"*" ? CString(u"-.--") : Formatted(u"%.2f", ReplyNumber(reply));
        };
        const CString maximum = magnitude(u".Magnitude.Maximum");
        const CString minimum = magnitude(u".Magnitude.Minimum");
        text += Formatted(u"光度 極大 %s等 極小 %s等\r\n", maximum, minimum);
    }

    text += GetPosString(engine, kCoordPrecStar);
    if (!Setting(&CCdStatus::StarDetails)) return text;

    text += LabelLine(u"変光星タイプ ", QueryObject(engine, u".VariableType"));
    text += GetSpectralTypeLine(engine);

    // An empty epoch or period is known, as 0; only "*" leaves it unknown.
    const CString epoch = ShortenDecimal(QueryObject(engine, u".Epoch"));
    if (epoch != u"*") text += u"元期 " + epoch + u"\r\n";

    const CString year = QueryObject(engine, u".Year");
    if (year != u"*") text += Formatted(u"出現 %d年\r\n", ReplyInteger(year));

    const CString period_text = ShortenDecimal(QueryObject(engine, u".Period"));
    const bool period_known = period_text != u"*";
    const double period = ReplyNumber(period_text);
    if (period_known) text += u"周期 " + period_text + u"日\r\n";

    // Rise time (minimum to maximum) as a percentage of the period.
    const CString rise = QueryObject(engine, u".M_mD");
    if (rise != u"*") {
        const CString days =
            period_known ? Formatted(u" (%.1f日)", ReplyNumber(rise) * period / 100.0) : CString();
        text += u"M-m/D " + rise + days + u"\r\n";
    }

    if (epoch != u"*" && period_known) {
        tagADATE now{};
        GetDate(engine, &now);
        int cycles = 0;
        double rest = 0.0;
        // A period of 0 (or an absurd one) has no phase: the line is left out.
        if (VariablePhase(vexacl::GetJd(now), ReplyNumber(epoch), period, &cycles, &rest)) {
            const char16_t sign = cycles >= 0 ? u'＋' : u'－';
            text += Formatted(u"現在の状態 元期%c%d周期＋%.2f日\r\n", sign,
                              cycles < 0 ? -cycles : cycles, rest);
        }
    }

    return text + LabelLine(u"別名 ", QueryObject(engine, u".OtherDesign"));
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
    text += u"\r\n" + GetMagnitudeLine(engine);

    text += GetPosString(engine, kCoordPrecStar);
    if (!Setting(&CCdStatus::StarDetails)) return text;

    if (!system.IsEmpty()) {
        const CString components = query_system(u".Components");
        const CString name = QueryObject(engine, u".ComponentName");
        if (!components.IsEmpty() || !name.IsEmpty()) {
            CString line = u"コンポーネント " + name;
            if (!components.IsEmpty()) line += u"(" + components + u")";
            text += line + u"\r\n";
        }
    }

    text += GetSpectralTypeLine(engine);

    if (!system.IsEmpty()) {
        CString discoverer = query_system(u".Discoverer");
        discoverer.Remove(u' ');
        text += LabelLine(u"発見者/番号 ", discoverer);

        const CString count = query_system(u".ObsCount");
        if (count != u"*") text += Formatted(u"観測数 %d\r\n", ReplyInteger(count));

        // The first and the last measure of the pair: year, position angle
        // (degrees) and separation (seconds of arc); a missing angle or
        // separation reads 0.  A measure without a year is not there at all:
        // "0年" with zeros would pass for an observation.
        for (const auto& [which, label] :
             {std::pair{u".FirstObs", u"最初の"}, std::pair{u".LastObs", u"最後の"}}) {
            const CString epoch = query_system(which + CString(u".Epoch"));
            if (!IsValue(epoch)) continue;
            const int year = ReplyInteger(epoch);
            const int theta = ReplyInteger(query_system(which + CString(u".Theta")));
            const double rho = ReplyNumber(query_system(which + CString(u".Rho")));
            text += Formatted(u"%s観測 %d年（位置角 %dﾟ 角距離 %.1f arcsec）\r\n", label, year,
                              theta, rho);
        }
    }

    // The catalogue gives proper motions in seconds of arc per year.
    text += GetProperMotionLines(engine, 1000.0);

    if (!system.IsEmpty()) text += LabelLine(u"BD番号 ", query_system(u".BD"));
    return text;
}
