// The star text: catalogue stars, faint stars known by a catalogue number
// (Tycho, USNO-A2.0, GSC), supernovae and novae, and stars with planets.
#include <algorithm>
#include <cmath>
#include <map>
#include <vector>

#include "clickdata/click_data.h"
#include "host/debug_output.h"
#include "settings/cdstatus.h"

using namespace lines;

namespace {

enum class StarKind { kOrdinary, kNumbered, kSupernova, kNova, kPlanetHost };

// White space as the regular-expression class \s knows it (ECMAScript): the
// ASCII blanks and controls, the line and paragraph separators and the
// Unicode spaces, the ideographic space of Japanese text among them.  A
// fixed test rather than a compiled pattern: nothing to build at run time,
// so concurrent callers need no lock, and no locale can make it split a
// character.
constexpr bool IsSpaceClass(char16_t c) {
    return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0xA0 || c == 0x1680 ||
           (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F ||
           c == 0x205F || c == 0x3000 || c == 0xFEFF;
}

// The text with white space cut from both ends and every inner run of it
// replaced by one blank.
CString FoldWhiteSpace(const CString& text) {
    std::u16string out;
    bool pending_blank = false;
    for (const char16_t c : text.view()) {
        if (IsSpaceClass(c)) {
            pending_blank = !out.empty();
            continue;
        }
        if (pending_blank) out += u' ';
        pending_blank = false;
        out += c;
    }
    return CString(std::move(out));
}

// Distance of a star from its annual parallax.
//   parallax_mas  annual parallax, milliarcseconds (> 0)
//   returns       distance, light years
// One astronomical unit (149 597 870 km, the IAU 1976 value) over the
// tangent of the parallax, in light years of 9 460 528 436 447.504 km
// (the speed of light, 299 792.458 km/s, times a tropical year of
// 365.2422 days).  The tangent is exact, not the small-angle 3.2616 / p,
// so 1000 mas gives 3.2616 light years to five figures.
double ParallaxToLightYears(double parallax_mas) {
    const double angle = parallax_mas / 3600000.0 * 3.141592653589793 / 180.0;
    return 149597870.0 / (std::sin(angle) / std::cos(angle)) / 9460528436447.504;
}

// A distance in light years with about three significant figures: two
// decimals below 10, one below 100, whole years below 995, tens below 9950,
// and an exponent beyond.
CString DistanceText(double light_years) {
    const double d = light_years;
    CString text;
    if (d < 10.0) {
        text.Format(u"%.2f", d);
    } else if (d < 100.0) {
        text.Format(u"%.1f", d);
    } else if (d < 995.0) {
        text.Format(u"%.0f", d);
    } else if (d < 9950.0) {
        text.Format(u"%d", static_cast<int>(std::floor(d + 5.0) / 10.0) * 10);
    } else {
        text.Format(u"%2.1e", d);
    }
    return text;
}

// The attributes of a USNO-A2.0 star, packed by the catalogue into one
// signed number: the sign is the ACT flag (negative: the star is in the ACT
// catalogue), then the digits QFFFBBBRRR: Q the M flag, FFF the field, BBB
// and RRR the blue and red magnitudes in tenths.  Two lines, the second
// without its line end.
CString UsnoAttributes(const CString& reply) {
    // Wider than the reply's int, so that the most negative value has an
    // absolute value too.
    long long v = ReplyInteger(reply);
    const int act = v < 0 ? 1 : 0;
    if (v < 0) v = -v;
    const long long m_flag = v / 1000000000;
    v %= 1000000000;
    const long long field = v / 1000000;
    v %= 1000000;
    const long long blue = v / 1000;
    const long long red = v % 1000;
    return Formatted(u"Bmag=%.1f Rmag=%.1f\r\nACTflag=%d Mflag=%d Field=%d", blue / 10.0,
                     red / 10.0, act, m_flag, field);
}

// The catalogue cross-identifications ("HD 48915|HR 2491|SAO 151881"), one
// line per designation: catalogues in the order of their names' UTF-16 code
// units, the designations of one catalogue in the order they came, the
// names padded so that every designation starts in one column.  A piece
// without a blank names no catalogue and is dropped.
CString CrossIdLines(const CString& reply) {
    std::map<CString, std::vector<CString>> by_catalogue;
    int width = 0;
    for (const CString& piece : SplitList(reply, u'|')) {
        const int blank = piece.Find(u' ');
        if (blank < 0) continue;
        const CString catalogue = piece.Left(blank);
        by_catalogue[catalogue].push_back(FoldWhiteSpace(piece.Mid(blank + 1)));
        width = std::max(width, catalogue.GetLength() + 1);
    }
    CString block;
    for (const auto& [catalogue, designations] : by_catalogue) {
        CString padded = catalogue;
        while (padded.GetLength() < width) padded += u' ';
        for (const CString& designation : designations) block += padded + designation + u"\r\n";
    }
    return block;
}

}  // namespace

CString CLumClickData::GetTextStar(CCorLum* engine, int title) {
    host::OutputDebugStringW(m_object.GetText() + u"\r\n");

    const CString planets = QueryObject(engine, u".numberofPlanets");
    StarKind kind = StarKind::kOrdinary;
    if (m_object.GetParamP(1).GetText().Left(3).CompareNoCase(u"XNO") == 0) {
        kind = StarKind::kNumbered;
    } else if (m_object.SameP(1, u"Supernova")) {
        kind = StarKind::kSupernova;
    } else if (m_object.SameP(1, u"Nova")) {
        kind = StarKind::kNova;
    }
    // A known planet makes any star a planet host, even a numbered one.
    if (ReplyInteger(planets) > 0) kind = StarKind::kPlanetHost;
    const bool catalogue_star = kind == StarKind::kOrdinary || kind == StarKind::kPlanetHost;

    CString text;
    CString id;  // designation of a numbered star
    if (kind == StarKind::kNumbered) {
        id = QueryObject(engine, u".Id");
        text = u"恒星 " + id;
        if (title) return text;
        text += u"\r\n";
    } else if (kind == StarKind::kSupernova || kind == StarKind::kNova) {
        text = kind == StarKind::kSupernova ? u"超新星 " : u"新星 ";
        const CString japanese = QueryObject(engine, u".JapaneseName");
        const CString english = QueryObject(engine, u".EnglishName");
        text += japanese + u" " + english;
        if (title) return text;
        text += u"\r\n" + Line(QueryObject(engine, u".Summary"));
    } else {
        text = kind == StarKind::kPlanetHost ? u"惑星のある恒星 " : u"恒星 ";
        const CString flamsteed = QueryObject(engine, u".FlamsteedNumber");
        const CString bayer = QueryObject(engine, u".BayerLetter");
        const CString abbreviation = QueryObject(engine, u".Constellation.Abbreviation");
        const CString japanese = QueryObject(engine, u".JapaneseName");
        const CString english = QueryObject(engine, u".EnglishName");
        if (bayer.IsEmpty() && flamsteed.IsEmpty() && japanese.IsEmpty() && english.IsEmpty()) {
            // No name at all: say where it is, and in the short form which
            // star it is.
            text += u"(" + QueryObject(engine, u".Position.Constellation") + u")";
            if (title) {
                const CString hip = QueryObject(engine, u".HipparcosNumber");
                if (IsValue(hip)) text += u" HIP" + hip;
                return text;
            }
        } else {
            text += flamsteed + bayer + abbreviation;
            const CString constellation = QueryObject(engine, u".Constellation.Name");
            if (!constellation.IsEmpty()) text += u" (" + constellation + u") ";
        }
        text += japanese + u" " + english;
        if (title) return text;
        text += u"\r\n" + GetHipLine(engine);
    }

    text += GetMagnitudeLine(engine);
    if (kind == StarKind::kPlanetHost) text += u"惑星数 " + planets + u"\r\n";

    // USNO-A2.0 positions carry a hundredth of a second of arc.
    const bool usno = kind == StarKind::kNumbered && id.Left(4) == u"USNO";
    text += GetPosString(engine, usno ? kCoordPrecFinest : kCoordPrecStar);

    if (!Setting(&CCdStatus::StarDetails)) return text;

    if (catalogue_star) {
        text += GetProperMotionLines(engine, 1.0);  // the catalogue's are mas/yr
        const double parallax = ReplyNumber(QueryObject(engine, u".pi"));
        if (parallax > 0.0) {
            text += Formatted(u"年周視差 %.2f (mas)\r\n", parallax);
            text += u"距離 " + DistanceText(ParallaxToLightYears(parallax)) + u" (光年)\r\n";
        }
    }

    if (kind == StarKind::kOrdinary || (kind == StarKind::kNumbered && id.Left(3) == u"TYC")) {
        CString photometry;
        for (const auto& [suffix, label] :
             {std::pair{u".Magnitude.BT", u"BT="}, std::pair{u".Magnitude.VT", u"VT="},
              std::pair{u".Magnitude.BV", u"B-V="}}) {
            const CString reply = QueryObject(engine, suffix);
            if (IsValue(reply))
                AppendPiece(photometry, label + Formatted(u"%.3f", ReplyNumber(reply)));
        }
        text += Line(photometry);
    } else if (kind == StarKind::kPlanetHost) {
        const CString absolute = QueryObject(engine, u".Magnitude.VT");
        if (IsValue(absolute)) text += u"M_V=" + ShortenDecimal(absolute) + u"\r\n";
    }

    if (kind == StarKind::kNumbered) {
        if (id.Find(u"USNO-A2.0") >= 0) {
            const CString attributes = QueryObject(engine, u".USNOA20Attr");
            if (attributes != u"*") text += UsnoAttributes(attributes) + u"\r\n";
        } else if (id.Left(3) == u"GSC") {
            text += u"天体種別 " + GetGscTypeString(engine) + u"\r\n";
        }
    }

    if (catalogue_star) text += GetSpectralTypeLine(engine);

    CString closing = LabelLine(u"GCVS識別名 ", QueryObject(engine, u".VariableName"));
    const CString cross_ids = QueryObject(engine, u".CrossID");
    if (!cross_ids.IsEmpty()) {
        closing += u"\r\nカタログインデックス\r\n" + CrossIdLines(cross_ids) + u"\r\n";
    }
    return text + closing;
}
