// Runs the reference texts of tests/data/texts.cases (the format is
// described at the top of that file) through the replay engine.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "tests/test_support.h"
#include "tests/text_fixture.h"

namespace {

constexpr char kCases[] = VEXCLK_SOURCE_DIR "/tests/data/texts.cases";

struct TextCase {
    int line = 0;                   // of the case in the file
    std::string object;             // UTF-8
    std::vector<std::string> body;  // reply and setting lines, in order
    std::string title, text;        // expected, escaped as transcript replies
    bool has_title = false, has_text = false;
};

// A text written with the escapes of transcript replies.
CString Unescaped(const std::string& text) {
    CReplayEngine decoder;
    std::string error;
    EXPECT_TRUE(decoder.LoadText("x\t" + text, &error)) << error;
    return decoder.Doit(u"x");
}

std::vector<TextCase> ReadCases() {
    std::ifstream in(kCases);
    std::vector<TextCase> cases;
    TextCase base;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (line.empty() || line[0] == '#') continue;
        const std::string head = line.substr(0, line.find(' '));
        const std::string rest = line.size() > head.size() ? line.substr(head.size() + 1) : "";
        if (head == "==" || head == "=+") {
            if (head == "==") {
                base = TextCase();
                base.line = number;
                base.object = rest;
            }
            cases.push_back(base);
            cases.back().line = number;
            if (!rest.empty()) cases.back().object = rest;
        } else if (cases.empty()) {
            ADD_FAILURE() << kCases << ":" << number << ": before the first case";
        } else if (head == "title") {
            cases.back().title = rest, cases.back().has_title = true;
        } else if (head == "|" || head == "|-") {
            cases.back().text += rest + (head == "|" ? "\\r\\n" : "");
            cases.back().has_text = true;
        } else {
            cases.back().body.push_back(line);
            if (cases.back().line == base.line) base.body.push_back(line);
        }
    }
    return cases;
}

// Replies, settings and options of a case onto a fresh text engine.
void Prepare(const TextCase& c, TextFixture& s) {
    const std::string where = std::string(kCases) + ":" + std::to_string(c.line);
    std::string transcript, error;
    for (const std::string& line : c.body) {
        const std::string head = line.substr(0, line.find(' '));
        const std::string rest = line.substr(std::min(line.size(), head.size() + 1));
        if (line.find('\t') != std::string::npos) {
            transcript += (line[0] == '.' ? "? " + c.object : "") + line + "\n";
        } else if (head == "set") {
            for (size_t at = 0; at < rest.size();) {
                const std::string item = rest.substr(at, rest.find(' ', at) - at);
                at += item.size() + 1;
                const size_t equals = item.find('=');
                const auto* field = CCdStatus::FindField(CString::FromUtf8(item.substr(0, equals)));
                ASSERT_TRUE(field) << where << ": no setting " << item;
                s.status.*(field->member) =
                    equals == std::string::npos ? 1 : std::stoi(item.substr(equals + 1));
            }
        } else if (line == "option very-high-precision") {
            s.data.SetExtraOption(1);
        } else if (line == "option origin-north") {
            s.data.SetOriginNorth(1);
        } else if (line == "option not-earth") {
            s.data.SetNotEarth(1);
        } else if (head == "load") {
            ASSERT_TRUE(s.engine.LoadFile(VEXCLK_SOURCE_DIR "/" + rest, &error)) << error;
        } else {
            FAIL() << where << ": what is \"" << line << "\"?";
        }
    }
    ASSERT_TRUE(s.engine.LoadText(transcript, &error, where)) << error;
}

}  // namespace

TEST(TextCases, EveryCaseGivesItsReferenceText) {
    const std::vector<TextCase> cases = ReadCases();
    ASSERT_GT(cases.size(), 50u) << kCases;
    for (const TextCase& c : cases) {
        SCOPED_TRACE(std::string(kCases) + ":" + std::to_string(c.line) + " " + c.object);
        EXPECT_TRUE(c.has_title || c.has_text) << "a case without an expected text";
        TextFixture s;
        Prepare(c, s);
        const CString object = CString::FromUtf8(c.object);
        if (c.has_title) {
            EXPECT_EQ(s.Text(object.GetString(), 1), U8(Unescaped(c.title)));
        }
        if (c.has_text) {
            EXPECT_EQ(s.Text(object.GetString()), U8(Unescaped(c.text)));
        }
    }
}
