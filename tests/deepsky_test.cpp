// Deep-sky, Magellanic Cloud, deep-sky image, constellation, equatorial-point
// and ADF texts, through the replay engine.
#include <gtest/gtest.h>

#include "clickdata/click_data.h"
#include "settings/cdstatus.h"
#include "sky/replay_engine.h"
#include "tests/test_support.h"
#include "tests/text_fixture.h"

namespace {

using Sky = TextFixture;

const char16_t kPgc[] = u"deepskyobject.Pgc2557";

void SetPgc(Sky& s) {
    const std::u16string o = u"? deepskyobject.Pgc2557";
    s.Reply(o + u".Vhelio", u"-300");
    s.Reply(o + u".AliasName", u"M 31   ");
    s.Reply(o + u".Type", u"Sb  ");
    s.Reply(o + u".PA", u"35.5");
    s.Reply(o + u".LogD25", u"3.25");
    s.Reply(o + u".LogR25", u"0.51");
    s.Reply(o + u".BT", u"4.36");
}

}  // namespace

TEST(DeepSkyText, PgcGalaxy) {
    Sky s;
    SetPgc(s);
    EXPECT_EQ(s.Text(kPgc, 1), "PGC2557 (M 31)");
    s.status.DispMag = 1;
    s.status.PgcDetails = 1;
    EXPECT_EQ(s.Text(kPgc),
              "PGC2557 (M 31)\r\n"
              "光度 4.36等 長径 3.25' 短径 0.51'\r\n"
              "長径の位置角 35度\r\n"
              "ハッブル分類 Sb\r\n"
              "日心視線速度 -300(km/s)\r\n");
}

TEST(DeepSkyText, PgcMissingValues) {
    Sky s;
    SetPgc(s);
    s.status.DispMag = 1;
    s.status.PgcDetails = 1;
    const std::u16string o = u"? deepskyobject.Pgc2557";
    s.Reply(o + u".AliasName", u"");
    s.Reply(o + u".BT", u"*");
    s.Reply(o + u".LogD25", u"");
    s.Reply(o + u".PA", u"");     // empty prints 0, only "*" drops the line
    s.Reply(o + u".Type", u"*");  // no value: dropped
    s.Reply(o + u".Vhelio", u"*");
    EXPECT_EQ(s.Text(kPgc), "PGC2557\r\n短径 0.51'\r\n長径の位置角 0度\r\n");
    s.Reply(o + u".LogR25", u"*");
    EXPECT_EQ(s.Text(kPgc), "PGC2557\r\n長径の位置角 0度\r\n");
}

TEST(DeepSkyText, PgcNumberIsCutByLengthAndTestIgnoresCase) {
    Sky s;
    EXPECT_EQ(s.Text(u"DEEPSKYOBJECT.pgc12345", 1), "PGC12345");
    // A catalogue object under the other class name is not a PGC galaxy.
    s.Reply(u"? DeepSky.Pgc1.CatalogNumber", u"PGC 1");
    s.Reply(u"? DeepSky.Pgc1.Type.Name", u"銀河");
    EXPECT_EQ(s.Text(u"DeepSky.Pgc1", 1), "PGC 1 銀河");
}

TEST(DeepSkyText, CatalogueObjectDesignationList) {
    const struct {
        const char16_t* number;
        const char16_t* list;
        const char* heading;
    } cases[] = {
        {u"NGC 224", u"M 31, NGC 224, UGC 454", "NGC 224 (M 31, UGC 454) 銀河 (アンドロメダ銀河)"},
        {u"NGC  224", u"M  31,  NGC 224", "NGC 224 (M 31) 銀河 (アンドロメダ銀河)"},
        {u"NGC 224", u"NGC 224", "NGC 224 銀河 (アンドロメダ銀河)"},
        {u"NGC 224", u"", "NGC 224 銀河 (アンドロメダ銀河)"},
        // Only whole designations go: NGC 2240 is another name, not NGC 224.
        {u"NGC 224", u"NGC 2240, NGC 224", "NGC 224 (NGC 2240) 銀河 (アンドロメダ銀河)"},
        {u"NGC 224", u"M 31,NGC 224,UGC 454", "NGC 224 (M 31,,UGC 454) 銀河 (アンドロメダ銀河)"},
    };
    for (const auto& c : cases) {
        Sky s;
        s.Reply(u"? deepsky.NGC224.CatalogNumber", c.number);
        s.Reply(u"? deepsky.NGC224.SubCatalogNumber.Strings", c.list);
        s.Reply(u"? deepsky.NGC224.Type.Name", u"銀河");
        s.Reply(u"? deepsky.NGC224.Name", u"アンドロメダ銀河");
        EXPECT_EQ(s.Text(u"deepsky.NGC224", 1), c.heading) << U8(c.list);
    }
}

TEST(DeepSkyText, CatalogueObjectMagnitudeAndSize) {
    const struct {
        const char16_t* magnitude;
        const char16_t* size;
        const char* line;
    } cases[] = {
        {u"3.44", u"190'×60'", "光度  3.4等 視直径 190'×60'\r\n"},
        {u"*", u"190'×60'", "視直径 190'×60'\r\n"},
        {u"3.44", u"*", "光度  3.4等\r\n"},
        {u"*", u"*", ""},
        {u"", u"", "光度  0.0等 視直径 \r\n"},  // empty replies are not "no value" here
    };
    for (const auto& c : cases) {
        Sky s;
        s.status.DispMag = 1;
        s.Reply(u"? DeepSkyObject.M31.CatalogNumber", u"M 31");
        s.Reply(u"? DeepSkyObject.M31.Type.Name", u"銀河");
        s.Reply(u"? DeepSkyObject.M31.Magnitude", c.magnitude);
        s.Reply(u"? DeepSkyObject.M31.Size", c.size);
        EXPECT_EQ(s.Text(u"DeepSkyObject.M31"), std::string("M 31 銀河\r\n") + c.line);
    }
}

TEST(DeepSkyText, WithThePositionBlockAtLevelTwo) {
    Sky s;
    s.status.DispEqt2000 = 1;
    s.Reply(u"? deepsky.M42.CatalogNumber", u"M 42");
    s.Reply(u"? deepsky.M42.Type.Name", u"散光星雲");
    s.Reply(u"? deepsky.M42.position.RA", u"5.588139");
    s.Reply(u"? deepsky.M42.position.DEC", u"-5.391111");
    EXPECT_EQ(s.Text(u"deepsky.M42"),
              "M 42 散光星雲\r\n赤経 05h35m17.3s  赤緯 -05ﾟ23'28\" (J2000)\r\n");
}

TEST(DeepSkyText, MagellanicCloud) {
    Sky s;
    s.Reply(u"? MagellanicCloud.Large.Name", u"大マゼラン雲");
    EXPECT_EQ(s.Text(u"MagellanicCloud.Large", 1), "大マゼラン雲");
    s.status.DispEqt2000 = 1;
    s.Reply(u"? MagellanicCloud.Large.position.RA", u"5.392944");
    s.Reply(u"? MagellanicCloud.Large.position.DEC", u"-69.756111");
    EXPECT_EQ(s.Text(u"MagellanicCloud.Large"),
              "大マゼラン雲\r\n赤経 05h23m34.6s  赤緯 -69ﾟ45'22\" (J2000)\r\n\r\n");
}

TEST(DeepSkyText, DeepSkyImage) {
    const struct {
        const char16_t* file;
        const char* heading;
    } cases[] = {
        {u"C:\\images\\m42_view.bmp", "画像 m42"},      {u"m42_view.bmp", "画像 m42"},
        {u"C:\\images\\_view.bmp", "画像 _view.bmp"},  // nothing would be left
        {u"m42_view.bmp.bak", "画像 m42_view.bmp.bak"}, {u"dir\\", "画像 "},
    };
    for (const auto& c : cases) {
        Sky s;
        s.Reply(u"? DeepSkyImage.M42.File", c.file);
        EXPECT_EQ(s.Text(u"DeepSkyImage.M42", 1), c.heading) << U8(c.file);
    }
    Sky s;
    s.Reply(u"? DeepSkyImage.M42.File", u"m42_view.bmp");
    s.Reply(u"? DeepSkyImage.M42.Angle.X", u"1.5");
    s.Reply(u"? DeepSkyImage.M42.Roll", u"-12.25");
    EXPECT_EQ(s.Text(u"DeepSkyImage.M42"),
              "画像 m42\r\n画角 1.500ﾟ × 0.000ﾟ\r\n回転角 -12.250ﾟ\r\n");
}

TEST(SkyPointText, ConstellationPointAndAdfHeadings) {
    Sky s;
    s.status.CnsInfo = 1;
    s.Reply(u"? Constellation.Ori.Name", u"オリオン座");
    s.Reply(u"? Constellation.Ori.Abbreviation", u"Ori");
    s.Reply(u"? Equatorial(83.8,-5.4).Position.Constellation", u"Ori");
    s.Reply(u"? Hyades.12.Name", u"HIP 20205");
    s.Reply(u"? Hyades.12.Title", u"ヒアデス星団");
    s.Reply(u"? AdfSystem.#1.File", u"hyades.adf");
    s.Reply(u"? AdfSystem.#1.ObjectName", u"Hyades");
    EXPECT_EQ(s.Text(u"Constellation.Ori", 1), "オリオン座 Ori");
    EXPECT_EQ(s.Text(u"Equatorial(83.8,-5.4)", 1), "オリオン座 Ori");
    EXPECT_EQ(s.Text(u"Hyades.12", 1), "HIP 20205 ヒアデス星団");
    EXPECT_EQ(s.Text(u"Adf.X", 1), " ");  // nothing known: a single blank
    s.status.DispEqt2000 = 1;
    s.Reply(u"? Equatorial(83.8,-5.4).position.RA", u"5.586667");
    s.Reply(u"? Equatorial(83.8,-5.4).position.DEC", u"-5.4");
    EXPECT_EQ(s.Text(u"Equatorial(83.8,-5.4)"),
              "オリオン座 Ori\r\n赤経 05h35m12.0s  赤緯 -05ﾟ24'00\" (J2000)\r\n");
}

TEST(SkyPointText, EquatorialPointNeedsConstellationInformation) {
    Sky s;
    s.Reply(u"? Equatorial(83.8,-5.4).Position.Constellation", u"Ori");
    s.Reply(u"? Constellation.Ori.Name", u"オリオン座");
    EXPECT_EQ(s.Text(u"Equatorial(83.8,-5.4)"), "");
    EXPECT_EQ(s.Text(u"Equatorial(83.8,-5.4)", 1), "");
}

TEST(GscClass, ClassWordsTranslateInOrder) {
    const struct {
        const char16_t* reply;
        const char* expected;
    } cases[] = {
        {u"Star,Galaxy", "恒星,銀河"},
        {u"Star,,Galaxy", "恒星,銀河"},
        {u"Star,Comet", "恒星"},
        {u"star,", "恒星"},
        {u"Blend,Nonstar,Artifact", "ブレンド,非恒星状天体,人工天体"},
        {u" Star", ""},  // pieces are not trimmed
        {u"", ""},
    };
    class Probe : public CLumClickData {
      public:
        std::string Gsc(CCorLum* engine) {
            m_object = u"star.Xno0";
            return U8(GetGscTypeString(engine));
        }
    };
    for (const auto& c : cases) {
        CReplayEngine engine;
        engine.SetReply(u"? star.Xno0.Type", c.reply);
        Probe probe;
        EXPECT_EQ(probe.Gsc(&engine), c.expected) << U8(c.reply);
    }
}
