// Field-of-view circle, camera-field and mosaic texts through the replay
// engine.
#include <gtest/gtest.h>

#include <string>

#include "tests/test_support.h"
#include "tests/text_fixture.h"

namespace {

using Sky = TextFixture;

const char16_t kField[] = u"AngleOfView.Camera1";

// A 35 mm frame (36 x 24 mm) at 50 mm.
const Replies kFullFrame50 = {{u".Name", u"標準"},
                              {u".FocalLength", u"50"},
                              {u".HorizontalSize", u"36"},
                              {u".VerticalSize", u"24"}};
const char kImagingLine[] = "\r\n焦点距離 50.0 mm 撮像エリア 36.0 × 24.0 mm\r\n";

}  // namespace

TEST(CameraFieldText, FieldOfViewCircle) {
    Sky s;
    s.status.DispEqt2000 = 1;
    s.Object(u"FieldOfViewCircle.1", {{u".Name", u"ファインダー"}, {u".Angle", u"6.25"}});
    EXPECT_EQ(s.Text(u"FieldOfViewCircle.1"),
              "ファインダー (6.25ﾟ)\r\n赤経 00h00m00.0s  赤緯 +00ﾟ00'00\" (J2000)\r\n");
}

TEST(CameraFieldText, CameraField) {
    const struct {
        const char16_t *camera, *guider_width, *roll;
        const char *title, *rest;
    } cases[] = {
        {u"none", u"", u"-10", "標準 カスタム (39.60ﾟ×26.99ﾟ)", "回転角 350.0 度\r\n"},
        {u"EOS 6D", u"0", u"0", "標準 EOS 6D (39.60ﾟ×26.99ﾟ)", "回転角 0.0 度\r\n"},
        {u"EOS 6D", u"4.8", u"370", "標準 EOS 6D (39.60ﾟ×26.99ﾟ)",
         "ガイドエリア 4.8 × 3.6 mm チップ間隔 2.5 mm\r\n回転角 10.0 度\r\n"},
    };
    for (const auto& c : cases) {
        Sky s;
        s.Object(kField, kFullFrame50);
        s.Object(kField, {{u".Camera", c.camera},
                          {u".Guider.HorizontalSize", c.guider_width},
                          {u".Guider.VerticalSize", u"3.6"},
                          {u".Guider.Distance", u"2.5"},
                          {u".Roll", c.roll}});
        EXPECT_EQ(s.Text(kField, 1), c.title);
        EXPECT_EQ(s.Text(kField), std::string(c.title) + kImagingLine + c.rest);
    }
    Sky s;  // no focal length: a half turn for any side
    s.Object(kField, {{u".Camera", u"None"}, {u".HorizontalSize", u"36"}});
    EXPECT_EQ(s.Text(kField, 1), " カスタム (180.00ﾟ×0.00ﾟ)");
}
