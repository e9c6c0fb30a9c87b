// The user's objects in the sky engine: camera frames, ADF systems and
// deep-sky images, from their files and assignments to their texts.
#include <gtest/gtest.h>

#include <cmath>

#include "clickdata/click_data.h"
#include "engine/stkstr.h"
#include "host/registry.h"
#include "settings/cdstatus.h"
#include "sky/adf_systems.h"
#include "sky/camera_frames.h"
#include "sky/deepsky_images.h"
#include "sky/sky_engine.h"
#include "tests/test_support.h"

namespace {

using sky::CameraFrames;
using Family = CameraFrames::Family;

// 2026-12-06 12:00 UT, Tokyo.
CSkyEngine MakeSky() {
    CSkyEngine sky(SharedSkyCatalog());
    sky.SetJd(2461381.0);
    return sky;
}

std::string Ask(CSkyEngine& sky, const std::string& query) {
    return U8(sky.Doit(CString::FromUtf8("? " + query)));
}

double AskNum(CSkyEngine& sky, const std::string& query) {
    return CStkStr(sky.Doit(CString::FromUtf8("? " + query))).atof();
}

// ---- camera frames -----------------------------------------------------------------

TEST(CameraFrames, AssignmentsAreCheckedAndKept) {
    struct Case {
        Family family;
        int number;
        const char16_t* suffix;
        const char16_t* value;
        bool accepted;
    };
    const Case cases[] = {
        {Family::Field, 1, u".focallength", u"200", true},
        {Family::Field, 1, u".focallength", u"-1", false},
        {Family::Field, 1, u".focallength", u"200mm", false},  // whole numbers only
        {Family::Field, 1, u".focallength", u"nan", false},
        {Family::Field, 1, u".camera", u"No Such Camera", false},
        {Family::Field, 1, u".camera", u"none", true},
        {Family::Field, 33, u".focallength", u"100", false},  // numbers 1..32
        {Family::Field, 0, u".focallength", u"100", false},
        {Family::Circle, 1, u".angle", u"181", false},
        {Family::Circle, 1, u".focallength", u"100", false},  // a circle has no lens
        {Family::Circle, 1, u".center.ra", u"24.5", false},
        {Family::Circle, 1, u".center.dec", u"-90", true},
        {Family::Mosaic, 0, u".row", u"0", false},
        {Family::Mosaic, 0, u".row", u"2.5", false},
        {Family::Mosaic, 0, u".column", u"21", false},
        {Family::Mosaic, 0, u".overlap", u"0.96", false},
        {Family::Mosaic, 0, u".overlap", u"0.25", true},
        {Family::Mosaic, 0, u".guider.horizontalsize", u"5", false},  // no guide chip
        {Family::Mosaic, 0, u".nosuchvalue", u"5", false},
    };
    for (const Case& c : cases) {
        CameraFrames frames;
        EXPECT_EQ(frames.Set(c.family, c.number, c.suffix, c.value), c.accepted)
            << U8(c.suffix) << " = " << U8(c.value);
    }
}

TEST(CameraFrames, CamerasSetTheSensorAndHandTypedSizesMakeItCustom) {
    CameraFrames frames;
    ASSERT_TRUE(frames.Set(Family::Field, 5, u".camera", u"canon eos 6d"));
    const sky::CameraFrame* frame = frames.Find(Family::Field, 5);
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(U8(frame->name), "AngleOfView.5");  // a new frame is named after its identifier
    EXPECT_EQ(U8(frame->camera), "Canon EOS 6D");
    EXPECT_DOUBLE_EQ(frame->width_mm, 35.8);
    EXPECT_DOUBLE_EQ(frame->height_mm, 23.9);
    ASSERT_TRUE(frames.Set(Family::Field, 5, u".verticalsize", u"24"));
    EXPECT_EQ(U8(frame->camera), "None");
    EXPECT_DOUBLE_EQ(frame->width_mm, 35.8);
    EXPECT_EQ(frames.Find(Family::Field, 6), nullptr);  // a refused value makes no frame
    EXPECT_FALSE(frames.Set(Family::Field, 6, u".focallength", u"-5"));
    EXPECT_EQ(frames.Find(Family::Field, 6), nullptr);
}

// A camera is a gnomonic projection: frames that touch have centres
// 2 atan(w / 2f) apart, the angle of view the texts print.  36 mm at 50 mm:
// atan(0.36) = 19.798876 degrees either side of the centre (tolerance 1e-9
// degree).
TEST(CameraFrames, MosaicFramesTileTheTangentPlane) {
    struct Case {
        double overlap, roll;
        int number;
        double ra, dec;  // degrees
    };
    const double half = 19.798876354524932, half_overlapped = 10.203973721731684;
    const Case cases[] = {
        {0.0, 0.0, 1, half, 0.0},  // column 1 is the eastern one
        {0.0, 0.0, 2, 360.0 - half, 0.0}, {0.5, 0.0, 1, half_overlapped, 0.0},
        {0.0, 90.0, 1, 0.0, -half},  // the top turned east: column 1 to the south
        {0.0, 90.0, 2, 0.0, half},
    };
    for (const Case& c : cases) {
        sky::CameraFrame m;
        m.focal_mm = 50.0;
        m.width_mm = 36.0;
        m.height_mm = 24.0;
        m.columns = 2;
        m.overlap = c.overlap;
        m.roll_deg = c.roll;
        const auto centre = sky::MosaicFrameCentre(m, c.number);
        ASSERT_TRUE(centre.has_value());
        EXPECT_NEAR(std::remainder(centre->first - c.ra, 360.0), 0.0, 1e-9) << c.number;
        EXPECT_NEAR(centre->second, c.dec, 1e-9) << c.number;
    }
    sky::CameraFrame m;
    m.columns = 2;
    EXPECT_FALSE(sky::MosaicFrameCentre(m, 0));
    EXPECT_FALSE(sky::MosaicFrameCentre(m, 3));
}

// ---- ADF files and image placements ------------------------------------------------

TEST(AdfFiles, SexagesimalAndDecimalValues) {
    const std::pair<const char*, double> good[] = {
        {"05:35:17.3", 5.0 + 35.0 / 60 + 17.3 / 3600},    {"-00:30", -0.5}, {"+12.5", 12.5},
        {" -5:23:28 ", -(5.0 + 23.0 / 60 + 28.0 / 3600)}, {"0", 0.0},
    };
    for (const auto& [text, value] : good) {
        double v = 99.0;
        EXPECT_TRUE(sky::ParseSexagesimal(text, &v)) << text;
        EXPECT_NEAR(v, value, 1e-12) << text;
    }
    for (const char* bad :
         {"", "a", "1:60", "1:2:60", "1:2:3:4", "1:-2", "5h35m", "1e400", "--1"}) {
        double v = 0.0;
        EXPECT_FALSE(sky::ParseSexagesimal(bad, &v)) << bad;
    }
}

TEST(AdfFiles, MalformedFilesAreRefusedWithTheirLine) {
    const std::string head = "#ObjectName: Mine\nLabel,Name,RA,Dec\n";
    const std::pair<std::string, std::string> cases[] = {
        {"Label,Name,RA\nA,a,1,2\n", ":1: no column Dec"},
        {head + "A,a,24,0\n", ":3: RA must be hours"},
        {head + "A,a,1,91\n", ":3: Dec must be degrees"},
        {head + "A B,a,1,2\n", ":3: the Label must be"},
        {head + "A,\"a,1,2\n", ":3: unbalanced double quotes"},
        {head + "A,a,1\n", ":3: too few fields"},
        {"#ObjectName: Star.x\nLabel,Name,RA,Dec\n", ":2: the system's name"},
        {"#ObjectName: Northern\nLabel,Name,RA,Dec\n", ":2: the system's name"},
        {"# only a comment\n", ":1: no column line"},
    };
    TempDir dir;
    for (const auto& [text, reason] : cases) {
        const std::string path = dir.Write("bad.csv", text);
        sky::AdfSystem system;
        system.title = u"untouched";
        std::string error;
        EXPECT_FALSE(sky::ReadAdfFile(path, &system, &error)) << text;
        EXPECT_NE(error.find(path + reason), std::string::npos) << error;
        EXPECT_EQ(U8(system.title), "untouched");
    }
}

TEST(AdfFiles, QuotedFieldsOrderedColumnsAndTheNoForm) {
    TempDir dir;
    const std::string path = dir.Write(
        "my-list.csv",
        "\xEF\xBB\xBF# a list\ndec, ra ,LABEL,Name,Title\n-5:23:28,05:35:17.3,M42,,\"Orion "
        "Nebula, \"\"M42\"\"\"\n10,1.5,x-1,Second,\n");
    sky::AdfSystem system;
    std::string error;
    ASSERT_TRUE(sky::ReadAdfFile(path, &system, &error)) << error;
    EXPECT_EQ(U8(system.objectName), "my-list");  // the file name's stem
    ASSERT_EQ(system.objects.size(), 2u);
    EXPECT_EQ(U8(system.objects[0].name), "M42");  // an empty name is the label
    EXPECT_EQ(U8(system.objects[0].title), "Orion Nebula, \"M42\"");
    EXPECT_NEAR(system.objects[0].ra_deg, 83.82208333, 1e-8);
    EXPECT_EQ(system.Find(u"no2"), &system.objects[1]);
    EXPECT_EQ(system.Find(u"X-1"), &system.objects[1]);
    EXPECT_EQ(system.Find(u"No3"), nullptr);
    EXPECT_EQ(system.Find(u"No0"), nullptr);
}

TEST(ImagePlacements, SidecarsAreCheckedAndNeedTheirImage) {
    const std::pair<std::string, std::string> bad[] = {
        {"ra = 1\ndec = 2\nwidth = 1\n", "are needed"},
        {"ra = 1\ndec = 2\nwidth = 1\nheight = 0\n", "(0, 180]"},
        {"ra = 25\ndec = 2\nwidth = 1\nheight = 1\n", "centre out of range"},
        {"ra = 1\nra = 1\n", ":2: ra given twice"},
        {"ra: 1\n", ":1: expected NAME = VALUE"},
        {"tilt = 1\n", ":1: unknown name tilt"},
    };
    TempDir dir;
    for (const auto& [text, reason] : bad) {
        const std::string path = dir.Write("a.png.place", text);
        sky::DeepSkyImage image;
        std::string error;
        EXPECT_FALSE(sky::ReadImagePlacement(path, &image, &error)) << text;
        EXPECT_NE(error.find(reason), std::string::npos) << error;
    }
    dir.Write("b.png.place", "ra = 05:35:17.3\ndec = -5:23:28\nwidth = 2\nheight = 1.5\n");
    dir.Write("c.png", "image");
    dir.Write("c.png.place", "# c\nra = 12\ndec = 10\nwidth = 2\nheight = 1.5\nroll = -30\n");
    sky::DeepSkyImages images;
    const std::vector<std::string> problems = images.LoadFolder(dir.path());
    ASSERT_EQ(images.Count(), 1u);  // b.png is missing, a.png's placement is bad
    EXPECT_EQ(problems.size(), 2u);
    EXPECT_EQ(U8(images.At(1)->file), "c.png");
    EXPECT_DOUBLE_EQ(images.At(1)->ra_deg, 180.0);
    EXPECT_DOUBLE_EQ(images.At(1)->roll_deg, -30.0);
}

// ---- the engine --------------------------------------------------------------------

TEST(UserObjectsEngine, AssignmentsChangeWhatTheFramesAnswer) {
    CSkyEngine sky = MakeSky();
    EXPECT_EQ(Ask(sky, "AngleOfView.1.Camera"), "ZWO ASI1600MM Pro");
    EXPECT_DOUBLE_EQ(AskNum(sky, "AngleOfView.1.HorizontalSize"), 17.7);
    const double ra_before = AskNum(sky, "MosaicOfField.1.position.RA");
    sky.Doit(u"AngleOfView.1.FocalLength = 200; AngleOfView.1.Camera = \"Nikon D810A\"");
    sky.Doit(u"MosaicOfField.Roll = 90; AngleOfView.3.Name = \"三台目\"");
    sky.Doit(u"AngleOfView.1.FocalLength = -3");  // refused: stays 200
    EXPECT_DOUBLE_EQ(AskNum(sky, "AngleOfView.1.FocalLength"), 200.0);
    EXPECT_DOUBLE_EQ(AskNum(sky, "AngleOfView.1.HorizontalSize"), 35.9);
    EXPECT_EQ(Ask(sky, "AngleOfView.3.Name"), "三台目");
    EXPECT_EQ(Ask(sky, "AngleOfView.4.Name"), "");  // no such frame
    EXPECT_DOUBLE_EQ(AskNum(sky, "MosaicOfField.Roll"), 90.0);
    // The frames moved with the roll; the mosaic's centre did not.
    EXPECT_NE(AskNum(sky, "MosaicOfField.1.position.RA"), ra_before);
    EXPECT_NEAR(AskNum(sky, "MosaicOfField.position.RA"), 5.5881, 1e-9);
    sky.Doit(u"FieldOfViewCircle.1.Center.RA = 6; FieldOfViewCircle.1.Center.Dec = -10");
    EXPECT_NEAR(AskNum(sky, "FieldOfViewCircle.1.position.RA"), 6.0, 1e-9);
    EXPECT_NEAR(AskNum(sky, "FieldOfViewCircle.1.position.DEC"), -10.0, 1e-9);
    EXPECT_EQ(Ask(sky, "MosaicOfField.7.position.RA"), "");  // 2 x 3 frames
}

// A grid aligned to the horizon lays two frames side by side at one
// altitude (they lie symmetric about the centre's vertical circle); one
// aligned to the equator at one declination.  Tolerance 1e-4 degree.
TEST(UserObjectsEngine, MosaicGridsFollowTheirFrame) {
    CSkyEngine sky = MakeSky();  // M42 is low in the east-south-east of Tokyo
    sky.Doit(u"MosaicOfField.Row = 1; MosaicOfField.Column = 2; MosaicOfField.Overlap = 0");
    auto altitude = [&](const char* frame) {
        return AskNum(sky, std::string("MosaicOfField.") + frame + ".position.Altitude");
    };
    auto dec = [&](const char* frame) {
        return AskNum(sky, std::string("MosaicOfField.") + frame + ".position.DEC");
    };
    EXPECT_NEAR(dec("1"), dec("2"), 1e-4);
    EXPECT_GT(std::fabs(altitude("1") - altitude("2")), 0.1);
    sky.Doit(u"MosaicOfField.Coordinate = \"horizon\"");
    EXPECT_NEAR(altitude("1"), altitude("2"), 1e-4);
    EXPECT_GT(std::fabs(dec("1") - dec("2")), 0.1);
}

// The texts of the camera frames as the builders make them from the engine.
TEST(UserObjectsEngine, FrameTextsFromTheEngine) {
    CSkyEngine sky = MakeSky();
    CCdStatus status;
    CLumClickData data;
    data.SetStatus(&status);
    sky.Doit(
        u"AngleOfView.2.Camera = None; AngleOfView.2.HorizontalSize = 36; "
        u"AngleOfView.2.VerticalSize = 24; AngleOfView.2.FocalLength = 50; "
        u"AngleOfView.2.Roll = -10");
    const std::pair<const char16_t*, const char*> cases[] = {
        {u"FieldOfViewCircle.1", "ファインダー (6.00ﾟ)"},
        {u"AngleOfView.1", "望遠鏡 ZWO ASI1600MM Pro (1.91ﾟ×1.45ﾟ)"},
        {u"AngleOfView.2", "カメラレンズ カスタム (39.60ﾟ×26.99ﾟ)"},
        {u"MosaicOfField.2", "モザイク ZWO ASI294MC Pro  (2.74ﾟ×1.86ﾟ×2×3フレーム, No.2)"},
    };
    for (const auto& [id, title] : cases) {
        EXPECT_EQ(U8(data.GetText(&sky, id, 1)), title);
    }
    const std::string field = U8(data.GetText(&sky, u"AngleOfView.1", 0));
    for (const char* line :
         {"焦点距離 530.0 mm 撮像エリア 17.7 × 13.4 mm\r\n",
          "ガイドエリア 4.9 × 3.7 mm チップ間隔 2.0 mm\r\n", "回転角 0.0 度\r\n"}) {
        EXPECT_NE(field.find(line), std::string::npos) << line << field;
    }
    EXPECT_NE(U8(data.GetText(&sky, u"AngleOfView.2", 0)).find("回転角 350.0 度\r\n"),
              std::string::npos);
    const std::string mosaic = U8(data.GetText(&sky, u"MosaicOfField.2", 0));
    EXPECT_NE(mosaic.find("重なり 10 %, 赤道座標\r\n"), std::string::npos) << mosaic;
}

TEST(UserObjectsEngine, AdfSystemsLoadAndClassify) {
    CSkyEngine sky = MakeSky();
    CCdStatus status;
    CLumClickData data;
    data.SetStatus(&status);
    // The shipped sample fills slot 1.
    EXPECT_EQ(Ask(sky, "AdfSystem.#1.ObjectName"), "Caldwell");
    EXPECT_EQ(Ask(sky, "AdfSystem.#2.File"), "");
    EXPECT_EQ(U8(data.GetText(&sky, u"Caldwell.C1", 1)), "Caldwell 1 NGC 188 散開星団");
    EXPECT_EQ(U8(data.GetText(&sky, u"Adf.Caldwell.No2", 1)), "Caldwell 2 NGC 40 惑星状星雲");
    EXPECT_EQ(U8(data.StkToCdf(&sky, u"Adf.Caldwell.No2")), "AD \"Caldwell 2\"");
    data.GetText(&sky, u"Adf.Caldwell.No2", 0);
    EXPECT_EQ(U8(data.GetDBSearchString(&sky)), "Caldwell.C2");

    TempDir dir;
    const std::string path = dir.Write(
        "mine.csv", "#ObjectName: Mine\n#Title: 私の天体\nLabel,Name,RA,Dec\nA1,Alpha,6,-10\n");
    EXPECT_EQ(U8(data.GetText(&sky, u"Mine.A1", 1)), "");  // not loaded yet
    sky.Doit(CString::FromUtf8("AdfSystem.#2.File = \"" + path + "\""));
    EXPECT_EQ(Ask(sky, "AdfSystem.#2.Count"), "1");
    // A text engine learns the systems' names once; a new one sees Mine.
    CLumClickData fresh;
    fresh.SetStatus(&status);
    EXPECT_EQ(U8(fresh.GetText(&sky, u"Mine.A1", 1)), "Alpha 私の天体");
    EXPECT_NEAR(AskNum(sky, "Mine.No1.position.RA"), 6.0, 1e-9);
    // Names the text engine reads as other classes are refused.
    for (const char* name : {"Meteor", "Solar", "deepsky", "Time"}) {
        const std::string other = dir.Write(std::string(name) + ".csv", "Label,Name,RA,Dec\n");
        sky.Doit(CString::FromUtf8("AdfSystem.#4.File = \"" + other + "\""));
        EXPECT_EQ(Ask(sky, "AdfSystem.#4.File"), "") << name;
    }
    // A second system of the same name is refused; emptying the slot unloads it.
    sky.Doit(CString::FromUtf8("AdfSystem.#3.File = \"" + path + "\""));
    EXPECT_EQ(Ask(sky, "AdfSystem.#3.File"), "");
    sky.Doit(u"AdfSystem.#2.File = \"\"");
    EXPECT_EQ(Ask(sky, "Mine.A1.Name"), "");
    fresh.ClearCache();
    EXPECT_EQ(U8(fresh.GetText(&sky, u"Mine.A1", 1)), " ");  // known name, no object
}

TEST(UserObjectsEngine, FoldersFromTheStoreAddToTheSamples) {
    TempDir dir;
    dir.Write("extra.csv", "Label,Name,RA,Dec\nB,Beta,1,1\n");
    dir.Write("broken.csv", "no columns here\n");
    dir.Write("frame.jpg", "jpeg");
    dir.Write("frame.jpg.place", "ra = 1\ndec = 1\nwidth = 0.5\nheight = 0.25\nroll = 370\n");
    ASSERT_NE(CRegistry::Write(u"SkyEngine", u"AdfFolder", CString::FromUtf8(dir.path())), 0);
    ASSERT_NE(CRegistry::Write(u"SkyEngine", u"ImageFolder", CString::FromUtf8(dir.path())), 0);
    CSkyEngine sky = MakeSky();
    EXPECT_EQ(Ask(sky, "AdfSystem.#2.ObjectName"), "extra");
    EXPECT_EQ(Ask(sky, "AdfSystem.#3.ObjectName"), "");  // broken.csv refused
    EXPECT_EQ(Ask(sky, "DeepSkyImage.2.File"), "frame.jpg");
    CCdStatus status;
    CLumClickData data;
    data.SetStatus(&status);
    const std::string text = U8(data.GetText(&sky, u"DeepSkyImage.2", 0));
    EXPECT_EQ(text.rfind("画像 frame.jpg\r\n画角 0.500ﾟ × 0.250ﾟ\r\n回転角 370.000ﾟ\r\n", 0), 0u)
        << text;
    CRegistry::Write(u"SkyEngine", u"AdfFolder", CString());
    CRegistry::Write(u"SkyEngine", u"ImageFolder", CString());
}

// ---- the command line, end to end -------------------------------------------------

TEST(UserObjectsCli, EveryKindPrintsAWholeText) {
    struct Case {
        const char* id;
        const char* head;  // the text's first lines
    };
    const Case cases[] = {
        {"FieldOfViewCircle.2", "アイピース (1.00ﾟ)\n"},
        {"AngleOfView.2", "カメラレンズ Canon EOS 6D (15.11ﾟ×10.12ﾟ)\n"},
        {"MosaicOfField.6", "モザイク ZWO ASI294MC Pro  (2.74ﾟ×1.86ﾟ×2×3フレーム, No.6)\n"},
        {"DeepSkyImage.1", "画像 m42_sample\n画角 1.000ﾟ × 0.750ﾟ\n回転角 0.000ﾟ\n"},
        {"Caldwell.C7", "Caldwell 7 NGC 2403 銀河\n"},
        {"Adf.Caldwell.No12", "Caldwell 13 NGC 457 散開星団\n"},
    };
    for (const Case& c : cases) {
        const auto r = RunVexclk({"text", "--time", "2026-12-06T21:00", c.id});
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out.rfind(c.head, 0), 0u) << r.out;
        // The position block of the object's centre, with real values
        // (placeholders only for the rising and setting of circumpolar ones).
        EXPECT_NE(r.out.find("(J2000)"), std::string::npos) << r.out;
        EXPECT_NE(r.out.find(" 南中 "), std::string::npos) << r.out;
        EXPECT_EQ(r.out.find("--.-"), std::string::npos) << r.out;
    }
}

}  // namespace
