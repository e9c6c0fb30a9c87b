#include "tests/text_fixture.h"

#include "tests/test_support.h"

TextFixture::TextFixture(std::initializer_list<int CCdStatus::*> on) {
    for (const auto& f : CCdStatus::Fields()) status.*(f.member) = 0;
    for (const auto field : on) status.*field = 1;
    data.SetStatus(&status);
}

void TextFixture::Reply(const std::u16string& command, const std::u16string& reply) {
    engine.SetReply(CString(command), CString(reply));
}

void TextFixture::Object(const char16_t* object, Replies replies) {
    for (const auto& [suffix, reply] : replies)
        Reply(u"? " + (object + std::u16string(suffix)), reply);
}

void TextFixture::SetClock(int year, int month, int day, int hour, const std::u16string& zone) {
    const std::pair<const char16_t*, int> fields[] = {{u"Year", year}, {u"Month", month},
                                                      {u"Day", day},   {u"Hour", hour},
                                                      {u"Minute", 0},  {u"Second", 0}};
    for (const auto& [name, value] : fields) {
        CString reply;
        reply.Format(u"%d", value);
        engine.SetReply(u"? LST(Time." + CString(name) + u")", reply);
    }
    Reply(u"? Time.Timezone", zone);
}

std::string TextFixture::Text(const char16_t* object, int title) {
    data.ClearCache();
    return U8(data.GetText(&engine, object, title));
}

bool TextFixture::Asked(const CString& part) const {
    for (const CString& c : engine.Commands()) {
        if (c.Find(part) >= 0) return true;
    }
    return false;
}
