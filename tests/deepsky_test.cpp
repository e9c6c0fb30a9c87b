// Deep-sky, Magellanic Cloud, deep-sky image, constellation, equatorial-point
// and ADF texts, through the replay engine.
#include <gtest/gtest.h>

#include <string>

#include "tests/test_support.h"
#include "tests/text_fixture.h"

TEST(DeepSkyText, PgcGalaxy) {
    const char16_t pgc[] = u"deepskyobject.Pgc2557";
    TextFixture s({&CCdStatus::DispMag, &CCdStatus::PgcDetails});
    s.Object(pgc, {{u".Vhelio", u"-300"},
                   {u".AliasName", u"M 31   "},
                   {u".Type", u"Sb  "},
                   {u".PA", u"35.5"},
                   {u".LogD25", u"3.25"},
                   {u".LogR25", u"0.51"},
                   {u".BT", u"4.36"}});
    EXPECT_EQ(s.Text(pgc, 1), "PGC2557 (M 31)");
    EXPECT_EQ(s.Text(pgc),
              "PGC2557 (M 31)\r\n光度 4.36等 長径 3.25' 短径 0.51'\r\n長径の位置角 35度\r\n"
              "ハッブル分類 Sb\r\n日心視線速度 -300(km/s)\r\n");
    // An empty angle prints 0, only "*" drops it; the others drop both.
    s.Object(pgc, {{u".AliasName", u""},
                   {u".BT", u"*"},
                   {u".LogD25", u""},
                   {u".PA", u""},
                   {u".Type", u"*"},
                   {u".Vhelio", u"*"}});
    EXPECT_EQ(s.Text(pgc), "PGC2557\r\n短径 0.51'\r\n長径の位置角 0度\r\n");
    // The number is what follows the class name and "Pgc", of any case; a
    // catalogue object of the other class name is not a PGC galaxy.
    EXPECT_EQ(s.Text(u"DEEPSKYOBJECT.pgc12345", 1), "PGC12345");
    s.Object(u"DeepSky.Pgc1", {{u".CatalogNumber", u"PGC 1"}, {u".Type.Name", u"銀河"}});
    EXPECT_EQ(s.Text(u"DeepSky.Pgc1", 1), "PGC 1 銀河");
}

TEST(DeepSkyText, OtherDesignationsLeaveOutTheObjectsOwn) {
    const struct {
        const char16_t *number, *list;
        const char* heading;
    } cases[] = {
        {u"NGC  224", u"M  31,  NGC 224, UGC 454",
         "NGC 224 (M 31, UGC 454) 銀河 (アンドロメダ銀河)"},
        {u"NGC 224", u"NGC 224", "NGC 224 銀河 (アンドロメダ銀河)"},
        // Only whole designations go: NGC 2240 is another name, not NGC 224.
        {u"NGC 224", u"NGC 2240, NGC 224", "NGC 224 (NGC 2240) 銀河 (アンドロメダ銀河)"},
        {u"NGC 224", u"M 31,NGC 224,UGC 454", "NGC 224 (M 31,,UGC 454) 銀河 (アンドロメダ銀河)"},
    };
    for (const auto& c : cases) {
        TextFixture s;
        s.Object(u"deepsky.NGC224", {{u".CatalogNumber", c.number},
                                     {u".SubCatalogNumber.Strings", c.list},
                                     {u".Type.Name", u"銀河"},
                                     {u".Name", u"アンドロメダ銀河"}});
        EXPECT_EQ(s.Text(u"deepsky.NGC224", 1), c.heading) << U8(c.list);
    }
}

TEST(DeepSkyText, MagnitudeAndSize) {
    const struct {
        const char16_t *magnitude, *size;
        const char* line;
    } cases[] = {
        {u"3.44", u"190'×60'", "光度  3.4等 視直径 190'×60'\r\n"},
        {u"*", u"190'×60'", "視直径 190'×60'\r\n"},
        {u"*", u"*", ""},
        {u"", u"", "光度  0.0等 視直径 \r\n"},  // empty replies are not "no value" here
    };
    for (const auto& c : cases) {
        TextFixture s({&CCdStatus::DispMag});
        s.Object(u"DeepSky.M31", {{u".CatalogNumber", u"M 31"},
                                  {u".Type.Name", u"銀河"},
                                  {u".Magnitude", c.magnitude},
                                  {u".Size", c.size}});
        EXPECT_EQ(s.Text(u"DeepSky.M31"), std::string("M 31 銀河\r\n") + c.line);
    }
}

TEST(DeepSkyText, MagellanicCloudAndImage) {
    TextFixture s({&CCdStatus::DispEqt2000});
    s.Object(u"MagellanicCloud.Large", {{u".Name", u"大マゼラン雲"},
                                        {u".position.RA", u"5.392944"},
                                        {u".position.DEC", u"-69.756111"}});
    EXPECT_EQ(s.Text(u"MagellanicCloud.Large"),
              "大マゼラン雲\r\n赤経 05h23m34.6s  赤緯 -69ﾟ45'22\" (J2000)\r\n\r\n");
    // The image is named by its file without folder and "_view.bmp".
    for (const auto& [file, heading] :
         {std::pair{u"C:\\images\\m42_view.bmp", "画像 m42"},
          std::pair{u"C:\\images\\_view.bmp", "画像 _view.bmp"},  // nothing would be left
          std::pair{u"m42_view.bmp.bak", "画像 m42_view.bmp.bak"}, std::pair{u"dir\\", "画像 "}}) {
        s.Object(u"DeepSkyImage.M42", {{u".File", file}});
        EXPECT_EQ(s.Text(u"DeepSkyImage.M42", 1), heading) << U8(file);
    }
    s.status.DispEqt2000 = 0;
    s.Object(u"DeepSkyImage.M42", {{u".Angle.X", u"1.5"}, {u".Roll", u"-12.25"}});
    EXPECT_EQ(s.Text(u"DeepSkyImage.M42"), "画像 \r\n画角 1.500ﾟ × 0.000ﾟ\r\n回転角 -12.250ﾟ\r\n");
}

TEST(SkyPointText, ConstellationPointAndAdfHeadings) {
    TextFixture s;
    s.Object(u"Constellation.Ori", {{u".Name", u"オリオン座"}, {u".Abbreviation", u"Ori"}});
    s.Object(u"Equatorial(83.8,-5.4)", {{u".Position.Constellation", u"Ori"},
                                        {u".position.RA", u"5.586667"},
                                        {u".position.DEC", u"-5.4"}});
    s.Object(u"Hyades.12", {{u".Name", u"HIP 20205"}, {u".Title", u"ヒアデス星団"}});
    s.Object(u"AdfSystem.#1", {{u".File", u"hyades.adf"}, {u".ObjectName", u"Hyades"}});
    // A point of the sky has a text only while constellations are wanted.
    EXPECT_EQ(s.Text(u"Equatorial(83.8,-5.4)"), "");
    s.status.CnsInfo = 1;
    EXPECT_EQ(s.Text(u"Constellation.Ori", 1), "オリオン座 Ori");
    EXPECT_EQ(s.Text(u"Hyades.12", 1), "HIP 20205 ヒアデス星団");
    EXPECT_EQ(s.Text(u"Adf.X", 1), " ");  // nothing known: a single blank
    s.status.DispEqt2000 = 1;
    EXPECT_EQ(s.Text(u"Equatorial(83.8,-5.4)"),
              "オリオン座 Ori\r\n赤経 05h35m12.0s  赤緯 -05ﾟ24'00\" (J2000)\r\n");
}
