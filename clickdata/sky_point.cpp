// Texts of objects that carry no physical data of their own: constellations,
// points of the sky, and objects of catalogue systems loaded from files.
// Queries are sequenced one statement each: the engine sees them in the
// order the text reads.
#include "clickdata/click_data.h"

CString CLumClickData::GetTextCons(CCorLum* engine, int title) {
    const CString name = QueryObject(engine, u".Name");
    const CString abbreviation = QueryObject(engine, u".Abbreviation");
    return GetHeadingAndPosition(engine, name + u" " + abbreviation, title);
}

CString CLumClickData::GetTextEqt(CCorLum* engine, int title) {
    // The point names the constellation it lies in; the names come from the
    // constellation itself.
    const CString constellation =
        u"Constellation." + QueryObject(engine, u".Position.Constellation");
    const CString name = engine->Doit(u"? " + constellation + u".Name");
    const CString abbreviation = engine->Doit(u"? " + constellation + u".Abbreviation");
    return GetHeadingAndPosition(engine, name + u" " + abbreviation, title);
}

CString CLumClickData::GetTextAdf(CCorLum* engine, int title) {
    const CString name = QueryObject(engine, u".Name");
    const CString object_title = QueryObject(engine, u".Title");
    return GetHeadingAndPosition(engine, name + u" " + object_title, title);
}
