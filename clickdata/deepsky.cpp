// Texts of deep-sky objects (catalogue objects and PGC galaxies), the
// Magellanic Clouds and deep-sky images, and the object class of GSC stars.
#include <utility>

#include "clickdata/click_data.h"
#include "settings/cdstatus.h"

using namespace lines;

namespace {

// Reduces every run of blanks to one blank.
CString FoldBlanks(CString text) {
    while (text.Replace(u"  ", u" ") > 0) {
    }
    return text;
}

// The list of other designations without the object's own number.  Only
// whole items equal to the number go: a number that is the start of another
// designation ("NGC 224" in "NGC 2240") must not cut it.
CString OtherDesignations(const CString& list, const CString& number) {
    CString kept;
    const std::vector<CString> items = SplitList(list, u',');
    for (size_t i = 0; i < items.size(); ++i) {
        CString item = items[i];
        CString bare = item;
        if (!number.IsEmpty() && bare.Trim(u' ') == number) {
            // Keep the blanks around it, as the removal of the text leaves them.
            item = item.Left(item.Find(number)) + item.Mid(item.Find(number) + number.GetLength());
        }
        kept += (i > 0 ? u"," : u"") + item;
    }
    kept.Replace(u", ,", u",");
    return kept.Trim(u", ");
}

}  // namespace

CString CLumClickData::GetTextDeepSky(CCorLum* engine, int title) {
    CString text;
    const bool pgc = m_object.SameP(0, u"deepskyobject") &&
                     m_object.GetParamP(1).GetText().Left(3).CompareNoCase(u"PGC") == 0;
    if (pgc) {
        // "deepskyobject.Pgc" is 17 characters; the rest is the number.
        const CString number = m_object.GetText().Mid(17);
        const CString vhelio = QueryObject(engine, u".Vhelio");
        const CString alias = QueryObject(engine, u".AliasName").TrimRight();
        const CString type = QueryObject(engine, u".Type").TrimRight();
        const CString pa = QueryObject(engine, u".PA");
        const CString log_d25 = QueryObject(engine, u".LogD25");
        const CString log_r25 = QueryObject(engine, u".LogR25");
        const CString bt = QueryObject(engine, u".BT");

        text = u"PGC" + number;
        if (!alias.IsEmpty()) text += u" (" + alias + u")";
        if (title) return text;
        text += u"\r\n";

        if (Setting(&CCdStatus::DispMag)) {
            CString line;
            for (const auto& [reply, format] :
                 {std::pair{bt, u"光度 %.2f等"}, std::pair{log_d25, u"長径 %.2f'"},
                  std::pair{log_r25, u"短径 %.2f'"}}) {
                if (IsValue(reply)) AppendPiece(line, Formatted(format, ReplyNumber(reply)));
            }
            text += Line(line);
        }
        text += GetPosString(engine, 2);
        if (Setting(&CCdStatus::PgcDetails)) {
            if (pa != u"*") text += Formatted(u"長径の位置角 %d度\r\n", ReplyInteger(pa));
            if (IsValue(type)) text += u"ハッブル分類 " + type + u"\r\n";
            if (vhelio != u"*") text += u"日心視線速度 " + vhelio + u"(km/s)\r\n";
        }
        return text;
    }

    const CString number = FoldBlanks(QueryObject(engine, u".CatalogNumber"));
    const CString others =
        OtherDesignations(FoldBlanks(QueryObject(engine, u".SubCatalogNumber.Strings")), number);
    const CString type_name = QueryObject(engine, u".Type.Name");
    const CString name = QueryObject(engine, u".Name");

    text = number;
    if (!others.IsEmpty()) text += u" (" + others + u")";
    text += u" " + type_name;
    if (!name.IsEmpty()) text += u" (" + name + u")";
    if (title) return text;
    text += u"\r\n";

    if (Setting(&CCdStatus::DispMag)) {
        // An empty reply is not "no value" here: an empty size still shows.
        const CString magnitude = QueryObject(engine, u".Magnitude");
        CString line;
        if (magnitude != u"*") line = Formatted(u"光度 %4.1f等", ReplyNumber(magnitude));
        const CString size = QueryObject(engine, u".Size");
        if (size != u"*") AppendPiece(line, u"視直径 " + size);
        text += Line(line);
    }
    return text + GetPosString(engine, 2);
}

CString CLumClickData::GetTextMagellan(CCorLum* engine, int title) {
    const CString text = GetHeadingAndPosition(engine, QueryObject(engine, u".Name"), title);
    return title ? text : text + u"\r\n";
}

CString CLumClickData::GetTextDeepSkyImage(CCorLum* engine, int title) {
    CString file = QueryObject(engine, u".File");
    file = file.Mid(file.ReverseFind(u'\\') + 1);
    const CString suffix(u"_view.bmp");
    const int at = file.Find(suffix);
    if (at > 0 && file.Mid(at) == suffix) file = file.Left(at);

    CString text = u"画像 " + file;
    if (title) return text;
    text += u"\r\n";

    const double angle_x = ReplyNumber(QueryObject(engine, u".Angle.X"));
    const double angle_y = ReplyNumber(QueryObject(engine, u".Angle.Y"));
    text += Formatted(u"画角 %.3fﾟ × %.3fﾟ\r\n", angle_x, angle_y);
    text += Formatted(u"回転角 %.3fﾟ\r\n", ReplyNumber(QueryObject(engine, u".Roll")));
    return text + GetPosString(engine, 2);
}

CString CLumClickData::GetGscTypeString(CCorLum* engine) {
    CString result;
    for (const CString& word : SplitList(QueryObject(engine, u".Type"), u',')) {
        const CString japanese = TranslateGscType(word);
        if (japanese.IsEmpty()) continue;  // an unknown class word, or an empty piece
        if (!result.IsEmpty()) result += u',';
        result += japanese;
    }
    return result;
}

CString CLumClickData::TranslateGscType(const CString& word) {
    static const struct {
        const char16_t* word;
        const char16_t* japanese;
    } classes[] = {
        {u"Star", u"恒星"},         {u"Galaxy", u"銀河"},
        {u"Blend", u"ブレンド"},    {u"Nonstar", u"非恒星状天体"},
        {u"Artifact", u"人工天体"},
    };
    for (const auto& c : classes) {
        if (word.CompareNoCase(c.word) == 0) return c.japanese;
    }
    return CString();
}
