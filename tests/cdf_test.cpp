// The comment file: real files in a temporary folder, a real child process
// for the interrupted save.
#include "cdf/cdf.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "host/registry.h"
#include "tests/test_support.h"

namespace {

class CdfTest : public ::testing::Test {
  protected:
    std::string Plant(const std::string& bytes) const { return m_dir.Write("lumvex.cdf", bytes); }
    CString Path() const { return CString::FromUtf8(m_dir.path() + "/lumvex.cdf"); }
    std::string Comment(const CCdf& cdf, const char16_t* key) const {
        CString comment;
        return cdf.GetComment(key, comment) ? U8(comment) : "(none)";
    }
    TempDir m_dir;
};

std::string Utf16(const std::u16string& text, bool big_endian) {
    std::string bytes = big_endian ? "\xFE\xFF" : "\xFF\xFE";
    for (const char16_t c : text) {
        const char hi = static_cast<char>(c >> 8), lo = static_cast<char>(c & 0xFF);
        bytes += big_endian ? std::string{hi, lo} : std::string{lo, hi};
    }
    return bytes;
}

}  // namespace

TEST_F(CdfTest, EveryCommentReadsBackAsTypedAfterSaveAndLoad) {
    // Every text of up to four characters made of the ones the escapes use.
    const std::u16string alphabet = u"a \t\\nr\"\n\r";
    std::vector<CString> comments{CString()};
    for (size_t i = 0; comments[i].GetLength() < 4; ++i) {
        for (const char16_t c : alphabet) comments.push_back(comments[i] + c);
    }
    CCdf cdf;
    for (size_t i = 0; i < comments.size(); ++i) {
        ASSERT_EQ(cdf.SetComment(CString::FromUtf8("K" + std::to_string(i)), comments[i]), 1);
    }
    ASSERT_EQ(cdf.SaveFile(Path()), 1);
    CCdf loaded(Path());
    for (size_t i = 0; i < comments.size(); ++i) {
        const CString key = CString::FromUtf8("K" + std::to_string(i));
        CString before, after;
        cdf.GetComment(key, before);
        loaded.GetComment(key, after);
        ASSERT_EQ(before, comments[i]) << ::testing::PrintToString(U8(comments[i]));
        ASSERT_EQ(after, comments[i]) << ::testing::PrintToString(U8(comments[i]));
    }
}

TEST_F(CdfTest, SaveKeepsOtherLinesMergesKeysAndDropsEntriesWithoutValue) {
    Plant(
        "# comments\n\n"
        ":STAR αOri\n\t@link\thttps://example.org/\n\t\t@MSG\t\"赤い\"\n"
        ":star αori\n\t@msg\t\"小文字\"\n"
        ":GONE\n\tno tab\n\t@msg\t \"\" \n"
        ":CONS Ori\n\t@note\t\"冬\"\n"
        ":STAR αOri\n\t@msg\t\"二度目\"\n"
        ":::LMC\n\t@msg\t\" \"\n");
    CCdf cdf(Path());
    EXPECT_EQ(Comment(cdf, u"star αori"), "小文字");
    EXPECT_EQ(Comment(cdf, u"GONE"), "");
    EXPECT_EQ(cdf.SetComment(u"STAR αOri", u"Say \"hi\""), 1);
    EXPECT_EQ(cdf.SetComment(u"CONS Ori", u"a\nb"), 1);
    EXPECT_EQ(cdf.SetComment(u"SUN", u""), 1);
    EXPECT_EQ(cdf.SetComment(u"LINE\nBREAK", u"x"), 0);
    EXPECT_EQ(cdf.SetComment(u":COLON", u"x"), 0);
    EXPECT_EQ(Comment(cdf, u"SUN"), "");
    ASSERT_EQ(cdf.SaveFile(Path()), 1);
    EXPECT_EQ(Slurp(m_dir.path() + "/lumvex.cdf"),
              "# comments\n\n"
              ":STAR αOri\n\t@link\thttps://example.org/\n\t@msg\t\"Say \\\"hi\\\"\"\n"
              "\t@msg\t\"二度目\"\n"
              ":star αori\n\t@msg\t\"小文字\"\n"
              ":CONS Ori\n\t@note\t\"冬\"\n\t@msg\t\"a\\nb\"\n"
              ":LMC\n\t@msg\t\" \"\n");
    EXPECT_EQ(Names(m_dir.path()), (std::set<std::string>{"lumvex.cdf", "lumvex.cdf.lock"}));
}

TEST_F(CdfTest, LinesEndingInACarriageReturnKeepItThroughASave) {
    // "S\r" and "S" are two entries; dropping the empty "S" must not let
    // "S\r" come back as "S" with its comment.
    Plant("# x\r\r\n:S\r\r\n\t@msg\t\"old\"\r\r\n:S\n");
    CCdf cdf(Path());
    EXPECT_EQ(Comment(cdf, u"S\r"), "old");
    EXPECT_EQ(cdf.SetComment(u"S", u""), 1);
    ASSERT_EQ(cdf.SaveFile(Path()), 1);
    EXPECT_EQ(Slurp(m_dir.path() + "/lumvex.cdf"), "# x\r\r\n:S\r\r\n\t@msg\t\"old\"\r\r\n");
    CCdf loaded(Path());
    EXPECT_EQ(Comment(loaded, u"S"), "(none)");
    EXPECT_EQ(Comment(loaded, u"S\r"), "old");
}

TEST_F(CdfTest, FileThatCannotBeDecodedIsLeftAsItIs) {
    const std::string bad[] = {
        ":STAR \x83\x41\x83\x8B\x83\x74\x83\x40\n",  // Shift_JIS
        Utf16(u":K\n", false) + "x",                 // half a character
        Utf16(u":K\n\xD800", true),                  // half a surrogate pair
    };
    for (const std::string& bytes : bad) {
        const std::string file = Plant(bytes);
        CCdf cdf;
        CLumFile::Error error = CLumFile::Error::kNone;
        EXPECT_EQ(cdf.LoadFile(Path(), &error), 0);
        EXPECT_EQ(error, CLumFile::Error::kUndecodable);
        cdf.SetComment(u"K", u"new");
        EXPECT_EQ(cdf.SaveFile(Path()), 0);
        EXPECT_EQ(Slurp(file), bytes);
    }
}

TEST_F(CdfTest, InterruptedOrFailedSaveLeavesTheOldFileWhole) {
    const std::string old = ":SUN\n\t@msg\t\"old\"\n";
    const std::string file = Plant(old);
    // A writer killed before its rename: what it wrote never shows.
    EXPECT_EQ(InChild([this] {
                  CLumFile writer;
                  if (!writer.Open(Path(), CLumFile::modeCreate | CLumFile::modeWrite)) return 1;
                  for (int i = 0; i < 10000; ++i) writer.WriteString(u":TORN\n\t@msg\t\"x\"\n");
                  _exit(0);
              }),
              0);
    EXPECT_EQ(Slurp(file), old);
    EXPECT_EQ(Names(m_dir.path()).size(), 3u);  // its temporary file is left

    // A folder that cannot be written: the save fails and says so.
    chmod(m_dir.path().c_str(), 0555);
    const int saved = InChild([this] {
        if (!DropRoot()) return 99;
        CCdf cdf(Path());
        cdf.SetComment(u"SUN", u"new");
        return cdf.SaveFile(Path());
    });
    chmod(m_dir.path().c_str(), 0755);
    EXPECT_EQ(saved, 0);
    EXPECT_EQ(Slurp(file), old);

    // The next save succeeds and takes the dead writer's leftovers away.
    CCdf cdf(Path());
    cdf.SetComment(u"SUN", u"new");
    ASSERT_EQ(cdf.SaveFile(Path()), 1);
    EXPECT_EQ(Slurp(file), ":SUN\n\t@msg\t\"new\"\n");
    EXPECT_EQ(Names(m_dir.path()), (std::set<std::string>{"lumvex.cdf", "lumvex.cdf.lock"}));
}

TEST(CommentCli, SetsPrintsAndListsCommentsAndKeys) {
    TempDir dir;
    const std::string replies = dir.Write("t.replies",
                                          "? Star.HIP27989.BayerLetter\tα\n"
                                          "? Star.HIP27989.Constellation.Abbreviation\tOri\n");
    const std::string file = dir.path() + "/new/c.cdf";
    auto comment = [&](std::vector<std::string> args) {
        args.insert(args.begin(), {"comment", "--replies", replies, "--file", file});
        return RunVexclk(args);
    };
    EXPECT_EQ(comment({"Star.HIP27989"}).out, "");
    const auto set = comment({"--set", "赤い\n\"星\" C:\\", "Star.HIP27989"});
    EXPECT_EQ(set.status, 0) << set.err;
    EXPECT_EQ(comment({"Star.HIP27989"}).out, "赤い\n\"星\" C:\\\n");
    EXPECT_EQ(RunVexclk({"comment", "--list", "--file", file}).out,
              "STAR αOri\t赤い\\n\"星\" C:\\\\\n");
    EXPECT_EQ(RunVexclk({"keys", "--replies", replies, "Star.HIP27989", "star.Xno0"}).out,
              "comment-key\tSTAR αOri\ncomment-enabled\t1\nsearch-key\tStar.HIP27989\n"
              "comment-key\t\ncomment-enabled\t0\nsearch-key\tstar.Xno0\n");
    // An empty comment removes it (an empty value is no value for other options).
    EXPECT_EQ(comment({"--set", "", "Star.HIP27989"}).status, 0);
    EXPECT_EQ(RunVexclk({"comment", "--list", "--file", file}).out, "");

    const std::string bad = dir.Write("bad.cdf", "\x83\x41");
    const struct {
        CliResult result;
        std::string message;
    } errors[] = {
        {comment({"star.Xno0"}), "vexclk comment: star.Xno0 cannot carry a comment"},
        {comment({}), "vexclk comment: give one OBJECT"},
        {RunVexclk({"comment", "--list", "--file", bad}),
         "vexclk comment: '" + bad +
             "' is neither UTF-8 nor UTF-16 with a byte-order mark; left as it is"},
    };
    for (const auto& e : errors) {
        EXPECT_EQ(e.result.status, 2);
        EXPECT_EQ(e.result.err, e.message + "\n");
    }
}
