#include "tests/text_fixture.h"

#include "tests/test_support.h"

TextFixture::TextFixture() {
    for (const auto& f : CCdStatus::Fields()) status.*(f.member) = 0;
    data.SetStatus(&status);
}

void TextFixture::Reply(const std::u16string& command, const char16_t* reply) {
    engine.SetReply(CString(command), reply);
}

void TextFixture::Reply(const char16_t* object, const char16_t* suffix, const char16_t* reply) {
    engine.SetReply(u"? " + CString(object) + suffix, reply);
}

void TextFixture::Object(const char16_t* object, Replies replies) {
    for (const auto& [suffix, reply] : replies) Reply(object, suffix, reply);
}

std::string TextFixture::Text(const char16_t* object, int title) {
    data.ClearCache();
    return U8(data.GetText(&engine, object, title));
}

bool TextFixture::Asked(const CString& command) const {
    for (const CString& c : engine.Commands()) {
        if (c.CompareNoCase(command) == 0) return true;
    }
    return false;
}

bool TextFixture::AskedContaining(const CString& part) const {
    for (const CString& c : engine.Commands()) {
        if (c.Find(part) >= 0) return true;
    }
    return false;
}
