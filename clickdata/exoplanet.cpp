// The text of a planet of another star.
#include "clickdata/click_data.h"

CString CLumClickData::GetTextExoPlanet(CCorLum* engine, int title) {
    CString text = u"系外惑星 " + QueryObject(engine, u".Name");
    if (title) return text;
    text += u"\r\n" + GetPosString(engine, kCoordPrecStar);

    // Every element is printed as the engine gives it, an absent one as an
    // empty number between label and unit.
    auto element = [&](const char16_t* suffix, const char16_t* label, const char16_t* unit) {
        CString value = QueryObject(engine, suffix);
        TrimTrailingZero(value);
        text += label + value + unit + u"\r\n";
    };
    element(u".OrbitalPeriod", u"公転周期 ", u"日");    // days
    element(u".SemiMajorAxis", u"軌道長半径 ", u"au");  // astronomical units
    element(u".eccentricity", u"離心率 ", u"");
    return text;
}
