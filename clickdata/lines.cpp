// Pieces shared by the text builders, and the lines that more than one
// builder asks the engine for.
#include "clickdata/lines.h"

#include <cmath>

#include "clickdata/click_data.h"
#include "settings/cdstatus.h"

namespace lines {

double ReplyNumber(const CString& reply) {
    return CStkStr::ToDouble(reply, 0.0);
}

int ReplyInteger(const CString& reply) {
    return CStkStr::ToInt(reply, 0);
}

CString QueryCommand(std::u16string_view object, std::u16string_view suffix) {
    std::u16string command;
    command.reserve(2 + object.size() + suffix.size());
    command.append(u"? ").append(object).append(suffix);
    return CString(std::move(command));
}

std::vector<CString> SplitList(const CString& list, char16_t separator) {
    std::vector<CString> pieces;
    int from = 0;
    for (int at = list.Find(separator); at >= 0; at = list.Find(separator, from)) {
        pieces.push_back(list.Mid(from, at - from));
        from = at + 1;
    }
    pieces.push_back(list.Mid(from));
    return pieces;
}

CString Line(const CString& text) {
    return text.IsEmpty() ? CString() : text + u"\r\n";
}

CString LabelLine(const CString& label, const CString& value) {
    return value.IsEmpty() ? CString() : label + value + u"\r\n";
}

void AppendPiece(CString& line, const CString& piece) {
    if (!line.IsEmpty()) line += u' ';
    line += piece;
}

CString ShortenDecimal(const CString& reply) {
    const int point = reply.Find(u'.');
    if (point < 0) return reply;
    for (int i = point + 1; i < reply.GetLength(); ++i) {
        if (reply[i] < u'0' || reply[i] > u'9') return reply;
    }
    CString text = reply;
    text.TrimRight(u'0');
    if (text.GetLength() == point + 1) text += u'0';
    return text;
}

// Longer than any reading the texts show; keeps the fields within an int.
constexpr double kLongestClock = 1e6;  // hours

tagHMS RoundClock(double hours, bool to_minute) {
    // Not a number (a reply such as "1e999" on the way), or out of range.
    if (!(std::fabs(hours) < kLongestClock)) hours = 0.0;
    tagHMS clock{static_cast<int>(std::floor(hours)), 0, 0};
    const double minutes = (hours - clock.hour) * 60.0;
    clock.minute = static_cast<int>(std::floor(minutes));
    const double seconds = (minutes - clock.minute) * 60.0;
    if (to_minute) {
        if (seconds >= 30.0) ++clock.minute;
    } else {
        clock.second = static_cast<int>(std::floor(seconds + 0.5));
    }
    if (clock.second >= 60) clock.second -= 60, ++clock.minute;
    if (clock.minute >= 60) clock.minute -= 60, ++clock.hour;
    return clock;
}

CString DistanceLine(const CString& label, const CString& reply, DistanceForm form, bool coarse) {
    if (form == DistanceForm::kManKm) {
        return Formatted(u"%s %6.2f万 km\r\n", label, ReplyNumber(reply) / 10000.0);
    }
    if (form == DistanceForm::kAuOrDashes && reply == u"*") {
        return Formatted(coarse ? u"%s --.--- au\r\n" : u"%s --.----- au\r\n", label);
    }
    return Formatted(coarse ? u"%s %6.3f au\r\n" : u"%s %8.5f au\r\n", label, ReplyNumber(reply));
}

}  // namespace lines

using namespace lines;

CString CLumClickData::QueryObject(CCorLum* engine, const CString& suffix) {
    return engine->Doit(QueryCommand(m_object.GetText().view(), suffix.view()));
}

CString CLumClickData::GetHeadingAndPosition(CCorLum* engine, const CString& heading, int title) {
    if (title) return heading;
    return heading + u"\r\n" + GetPosString(engine, 2);
}

CString CLumClickData::GetHipLine(CCorLum* engine) {
    const CString hip = QueryObject(engine, u".HipparcosNumber");
    return IsValue(hip) ? u"HIP" + hip + u"\r\n" : CString();
}

CString CLumClickData::GetMagnitudeLine(CCorLum* engine) {
    if (!Setting(&CCdStatus::DispMag)) return CString();
    // Only "no value" drops the line; an absent magnitude prints as 0.
    const CString magnitude = QueryObject(engine, u".Magnitude");
    if (magnitude == u"*") return CString();
    return Formatted(u"光度 %5.2f等\r\n", ReplyNumber(magnitude));
}

CString CLumClickData::GetProperMotionLines(CCorLum* engine, double to_mas) {
    CString text;
    const CString ra = QueryObject(engine, u".Propermotion.RA");
    if (IsValue(ra)) {
        text += Formatted(u"固有運動量μαcosδ %.2f (mas/年)\r\n", ReplyNumber(ra) * to_mas);
    }
    const CString dec = QueryObject(engine, u".Propermotion.DEC");
    if (IsValue(dec)) {
        text += Formatted(u"固有運動量μδ      %.2f (mas/年)\r\n", ReplyNumber(dec) * to_mas);
    }
    return text;
}

CString CLumClickData::GetSpectralTypeLine(CCorLum* engine) {
    return LabelLine(u"スペクトル型 ", QueryObject(engine, u".SpectralType"));
}
