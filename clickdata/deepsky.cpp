// Texts of deep-sky objects (catalogue objects and PGC galaxies), the
// Magellanic Clouds and deep-sky images, and the object class of GSC stars.
#include "clickdata/click_data.h"
#include "settings/cdstatus.h"

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
    int from = 0;
    for (;;) {
        const int comma = list.Find(u',', from);
        CString item = comma < 0 ? list.Mid(from) : list.Mid(from, comma - from);
        CString bare = item;
        if (!number.IsEmpty() && bare.Trim(u' ') == number) {
            // Keep the blanks around it, as the removal of the text leaves them.
            item = item.Left(item.Find(number)) + item.Mid(item.Find(number) + number.GetLength());
        }
        kept += item;
        if (comma < 0) break;
        kept += u',';
        from = comma + 1;
    }
    kept.Replace(u", ,", u",");
    return kept.Trim(u", ");
}

}  // namespace

CString CLumClickData::QueryObject(CCorLum* engine, const CString& suffix) {
    return engine->Doit(u"? " + m_object.GetText() + suffix);
}

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
            auto piece = [&line](const CString& reply, const char16_t* format) {
                if (!IsValue(reply)) return;
                CString p;
                p.Format(format, CStkStr(reply).atof());
                if (!line.IsEmpty()) line += u' ';
                line += p;
            };
            piece(bt, u"光度 %.2f等");
            piece(log_d25, u"長径 %.2f'");
            piece(log_r25, u"短径 %.2f'");
            if (!line.IsEmpty()) text += line + u"\r\n";
        }
        text += GetPosString(engine, 2);
        if (Setting(&CCdStatus::PgcDetails)) {
            CString line;
            if (pa != u"*") {
                line.Format(u"長径の位置角 %d度\r\n", CStkStr(pa).atoi());
                text += line;
            }
            if (IsValue(type)) {
                line.Format(u"ハッブル分類 %s\r\n", type);
                text += line;
            }
            if (vhelio != u"*") {
                line.Format(u"日心視線速度 %s(km/s)\r\n", vhelio);
                text += line;
            }
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
        const CString magnitude = QueryObject(engine, u".Magnitude");
        CString line;
        if (magnitude != u"*") line.Format(u"光度 %4.1f等", CStkStr(magnitude).atof());
        const CString size = QueryObject(engine, u".Size");
        if (size != u"*") {
            CString piece;
            piece.Format(u"視直径 %s", size);
            if (!line.IsEmpty()) line += u' ';
            line += piece;
        }
        if (!line.IsEmpty()) text += line + u"\r\n";
    }
    text += GetPosString(engine, 2);
    return text;
}

CString CLumClickData::GetTextMagellan(CCorLum* engine, int title) {
    CString text = QueryObject(engine, u".Name");
    if (title) return text;
    return text + u"\r\n" + GetPosString(engine, 2) + u"\r\n";
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

    const double angle_x = CStkStr(QueryObject(engine, u".Angle.X")).atof();
    const double angle_y = CStkStr(QueryObject(engine, u".Angle.Y")).atof();
    CString line;
    line.Format(u"画角 %.3fﾟ × %.3fﾟ\r\n", angle_x, angle_y);
    text += line;
    line.Format(u"回転角 %.3fﾟ\r\n", CStkStr(QueryObject(engine, u".Roll")).atof());
    text += line;
    return text + GetPosString(engine, 2);
}

CString CLumClickData::GetGscTypeString(CCorLum* engine) {
    const CString list = QueryObject(engine, u".Type");
    CString result;
    int from = 0;
    for (;;) {
        const int comma = list.Find(u',', from);
        const CString piece = comma < 0 ? list.Mid(from) : list.Mid(from, comma - from);
        const CString japanese = piece.IsEmpty() ? CString() : TranslateGscType(piece);
        if (!japanese.IsEmpty()) {
            if (!result.IsEmpty()) result += u',';
            result += japanese;
        }
        if (comma < 0) break;
        from = comma + 1;
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
