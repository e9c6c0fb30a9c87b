// Variable and double stars, exoplanets, supernovae and novae, and the faint
// stars of the picked-star slot: the sky engine's tables against published
// values, its identifiers, and whole texts through the command line.
#include "sky/star_extras.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "clickdata/click_data.h"
#include "engine/stkstr.h"
#include "settings/cdstatus.h"
#include "sky/sky_engine.h"
#include "tests/test_support.h"

namespace {

// 2026-12-06 12:00 UT (21:00 JST), Tokyo.
CSkyEngine MakeSky() {
    CSkyEngine sky(SharedSkyCatalog());
    sky.SetJd(2461381.0);
    return sky;
}

// Whether `lines` appear in `text` in this order, each as a whole line.
::testing::AssertionResult HasLinesInOrder(const std::string& text,
                                           const std::vector<std::string>& lines) {
    size_t from = 0;
    for (const std::string& line : lines) {
        const size_t at = text.find("\n" + line + "\n", from == 0 ? 0 : from - 1);
        const bool first = from == 0 && text.rfind(line + "\n", 0) == 0;
        if (!first && at == std::string::npos)
            return ::testing::AssertionFailure() << "missing or out of order: " << line;
        from = first ? line.size() + 1 : at + line.size() + 2;
    }
    return ::testing::AssertionSuccess();
}

}  // namespace

TEST(StarExtras, CatalogueValuesAgreeWithPublishedOnes) {
    CSkyEngine sky = MakeSky();
    const auto rows =
        ReadRefTable(std::string(VEXCLK_SOURCE_DIR) + "/tests/data/star_extras_reference.tsv");
    ASSERT_GE(rows.size(), 15u);
    for (const RefRow& row : rows) {
        const std::string path = row.Text("object") + row.Text("path");
        const CStkStr reply(sky.Doit(u"? " + CString::FromUtf8(path)));
        ASSERT_TRUE(reply.IsNum()) << path;
        EXPECT_NEAR(reply.atof(), row.Num("value"), row.Num("tolerance"))
            << path << " (" << row.Text("source") << ")";
    }
}

// The Crab Nebula's pulsar, where SN 1054 was, against OpenNGC's M 1.
TEST(StarExtras, SupernovaOf1054LiesAtTheCrabNebula) {
    CSkyEngine sky = MakeSky();
    const double ra = CStkStr(sky.Doit(u"? Star.Supernova.SN1054.position.RA")).atof();
    const double dec = CStkStr(sky.Doit(u"? Star.Supernova.SN1054.position.DEC")).atof();
    const double raM1 = CStkStr(sky.Doit(u"? DeepSky.M1.position.RA")).atof();
    const double decM1 = CStkStr(sky.Doit(u"? DeepSky.M1.position.DEC")).atof();
    EXPECT_NEAR((ra - raM1) * 15.0 * 3600.0 * std::cos(dec * M_PI / 180.0), 0.0, 5.0);
    EXPECT_NEAR((dec - decM1) * 3600.0, 0.0, 5.0);
}

TEST(StarExtras, IdentifiersAndTheirReplies) {
    CSkyEngine sky = MakeSky();
    const std::pair<const char16_t*, const char*> cases[] = {
        // Greek letters in UTF-8 or as the catalogues abbreviate them.
        {u"? star.GCVS.ο_Cet.Name", "ο Cet"},
        {u"? star.GCVS.omi_Cet.Name", "ο Cet"},
        {u"? star.GCVS.OMI CET.Name", "ο Cet"},
        // A two-letter name wins over the Greek letter it also spells.
        {u"? star.GCVS.nu_Pav.Name", "NU Pav"},
        {u"? star.GCVS.ν_Pav.Name", "ν Pav"},
        {u"? star.GCVS.XX_Zzz.Name", ""},
        {u"? star.GCVS.δ_Cep.Period", "5.366208"},
        {u"? star.GCVS.δ_Cep.Epoch", "2455479.905"},
        {u"? star.GCVS.δ_Cep.Year", "*"},
        {u"? star.GCVS.lr_and.Period", "1.432321"},
        // A star that is not among the catalogue's (V603 Aql is V 11.6).
        {u"? star.GCVS.V603_Aql.Name", ""},
        // An amplitude in the GCVS makes the minimum the maximum plus it.
        {u"? star.GCVS.ET_And.Magnitude.Minimum", "6.51"},
        {u"? star.GCVS.β_Per.OtherDesign", "Algol, 26 Per, HD 19356"},
        {u"? star.WDS.13239+5456.Components", "HIP65378,HIP65477"},
        {u"? star.WDS.13239+5456.HIP65477.ComponentName", "HIP65477"},
        {u"? star.WDS.13239+5456.HIP24436.Name", ""},
        {u"? star.WDS.05145-0812.Components", ""},
        // Mizar's separation overflows the extract's field: no measure.
        {u"? star.WDS.13239+5456.LastObs.Epoch", "*"},
        {u"? star.WDS.05145-0812.LastObs.Epoch", "2017"},
        {u"? star.WDS.05145-0812.FirstObs.Epoch", "*"},
        {u"? star.WDS.05145-0812.HIP24436.Propermotion.RA", "0.001310"},
        {u"? star.ExtraSolarPlanet.51 Peg b.OrbitalPeriod", "4.230785"},
        {u"? star.ExtraSolarPlanet.Dimidium.Name", "51 Peg b (Dimidium)"},
        {u"? star.ExtraSolarPlanet.HIP32349b.Name", ""},
        {u"? Star.HIP113357.numberofPlanets", "1"},
        {u"? Star.HIP32349.numberofPlanets", "*"},
        {u"? Star.Supernova.SN 1987A.EnglishName", "SN 1987A"},
        {u"? Star.Nova.SN1054.Name", ""},
        {u"? Star.Supernova.V603Aql.Name", ""},
        {u"? Star.Nova.GK Per.VariableName", "GK Per"},
    };
    for (const auto& [query, reply] : cases) EXPECT_EQ(U8(sky.Doit(query)), reply) << U8(query);
}

// Each kind's whole text from the real engine, through the command line.
TEST(StarExtras, WholeTextsOfEachKind) {
    struct Case {
        const char* object;
        std::vector<std::string> lines;
        std::vector<std::string> absent;
    };
    const Case cases[] = {
        // JD 2461381.0 is 1099 periods and 3.63 days after δ Cep's epoch.
        {"star.GCVS.del_Cep",
         {"変光星 δ Cep", "HIP110991", "光度 極大 3.48等 極小 4.37等", "変光星タイプ DCEP",
          "スペクトル型 F5Ib-G1Ib", "元期 2455479.905", "周期 5.366208日", "M-m/D 25 (1.3日)",
          "現在の状態 元期＋1099周期＋3.63日", "別名 27 Cep, HD 213306"},
         {"出現"}},
        {"star.WDS.05145-0812.HIP24436",
         {"二重星 リゲル (WDS 05145-0812)", "光度  0.18等", "コンポーネント HIP24436",
          "スペクトル型 B8Iae", "最後の観測 2017年（位置角 202ﾟ 角距離 9.7 arcsec）",
          "固有運動量μαcosδ 1.31 (mas/年)", "固有運動量μδ      0.50 (mas/年)"},
         {"最初の観測", "観測数", "発見者", "BD番号"}},
        {"star.WDS.13239+5456.HIP65378",
         {"コンポーネント HIP65378(HIP65378,HIP65477)"},
         {"最後の観測"}},
        {"Star.HIP113357.Planet.b",
         {"系外惑星 51 Peg b (Dimidium)", "公転周期 4.230785日", "軌道長半径 0.0527au",
          "離心率 0.013"},
         {}},
        {"Star.HIP113357", {"HIP113357", "光度  5.45等", "惑星数 1"}, {}},
        {"Star.Supernova.SN1054",
         {"超新星 おうし座の超新星 SN 1054",
          "1054年7月4日に出現し、昼間も23日間見えたと宋の記録にある（明月記にも記載）。"
          "残骸はかに星雲（M1）で、中心にパルサーがある。",
          "カタログインデックス", "M   1", "PSR B0531+21", "SNR G184.6-05.8"},
         {"\n光度 ", "GCVS識別名"}},
        {"Star.Nova.V603Aql",
         {"新星 わし座新星1918 Nova Aquilae 1918", "GCVS識別名 V603 Aql", "カタログインデックス",
          "HIP 92316"},
         {"\n光度 "}},
    };
    for (const Case& c : cases) {
        const CliResult r = RunVexclk({"text", "--time", "2026-12-06T21:00", "--setting",
                                       "DispMag=1", "--setting", "StarDetails=1", c.object});
        ASSERT_EQ(r.status, 0) << c.object << ": " << r.err;
        EXPECT_TRUE(HasLinesInOrder(r.out, c.lines)) << c.object << "\n" << r.out;
        // Every text has its place and never a placeholder of a missing value.
        EXPECT_NE(r.out.find("赤経 "), std::string::npos) << c.object;
        for (const char* bad : {"0年（", " *\n", "--h--m"}) {
            EXPECT_EQ(r.out.find(bad), std::string::npos) << c.object << ": " << bad;
        }
        for (const std::string& word : c.absent) {
            EXPECT_EQ(r.out.find(word), std::string::npos) << c.object << ": " << word;
        }
    }
}

TEST(StarExtras, FaintStarsAreNamedByTheirTruncatedPositions) {
    const struct {
        double ra, dec;
        const char* id;
    } cases[] = {
        {0.00342, 31.53208, "KSJ000000.8+313155"},
        {83.63308, 22.01450, "KSJ053431.9+220052"},
        // Truncated, never rounded up to 24 h or to the next second.
        {359.99999, -0.5, "KSJ235959.9-003000"},
        {180.0, -0.0001, "KSJ120000.0-000000"},
    };
    for (const auto& c : cases) EXPECT_EQ(U8(FaintStarId(c.ra, c.dec)), c.id) << c.ra;
    // Every faint star is found again by the identifier it was given.
    const SkyStarExtras& extras = SharedSkyCatalog()->Extras();
    ASSERT_GT(extras.FaintStars().size(), 80000u);
    for (size_t k = 0; k < extras.FaintStars().size(); k += 997) {
        const SkyStar& s = extras.FaintStars()[k];
        EXPECT_EQ(extras.FaintById(s.id), &s) << U8(s.id);
    }
}

TEST(StarExtras, PickedSlotHoldsAFaintStar) {
    CSkyEngine sky = MakeSky();
    sky.SetPickedStar(u"KSJ000000.8+313155");
    EXPECT_EQ(U8(sky.Doit(u"? star.Xno0.Id")), "KSJ000000.8+313155");
    EXPECT_EQ(U8(sky.Doit(u"? star.Xno0.Magnitude")), "8.85");
    EXPECT_EQ(U8(sky.Doit(u"? star.Xno0.HipparcosNumber")), "");
    // J2000 place +31°31'55.5", moving -4.1 mas a year for 26.93 years.
    EXPECT_NEAR(CStkStr(sky.Doit(u"? star.Xno0.position.DEC")).atof(),
                31.53208 - 4.1 * 26.93 / 3.6e6, 1e-6);
    CLumClickData data;
    CCdStatus status;
    for (const auto& f : CCdStatus::Fields()) status.*(f.member) = 0;
    data.SetStatus(&status);
    EXPECT_EQ(U8(data.GetText(&sky, u"star.Xno0", 1)), "恒星 KSJ000000.8+313155");
    sky.SetPickedStar(u"KSJ999999.9+999999");
    EXPECT_EQ(U8(sky.Doit(u"? star.Xno0.Id")), "");
}

TEST(StarExtras, BadRowsFailTheLoadAndMissingFilesLeaveTablesEmpty) {
    const std::shared_ptr<const CSkyCatalog> catalog = SharedSkyCatalog();
    const std::string variables =
        "id\thip\tdesignation\ttype\tmax_mag\tmin_mag\tmin_flag\tband\tepoch_jd\tperiod_d\t"
        "rise_pct\tsptype\n";
    const std::string transients =
        "id\tkind\tname_ja\tname_en\tra_deg\tdec_deg\tgcvs\tcross_ids\tsummary\n";
    const struct {
        const char* file;
        std::string content;
        const char* reason;
    } bad[] = {
        {"variable_stars.tsv", variables + "X\t999999\tX Cep\tM\t5\t9\t\tV\t\t\t\t\n",
         "no star with this HIP number"},
        {"variable_stars.tsv", variables + "X\t110991\tX Cep\tM\t5\t9\t\tV\t2450000.5\tlong\t\t\n",
         "bad number"},
        {"transients.tsv", transients + "C1\tcomet\tx\tx\t10\t10\t\t\t\n", "neither supernova"},
        {"double_stars.tsv",
         "wds\thip\tlast_year\tlast_pa_deg\tlast_sep_arcsec\n1.2\t24436\t\t\t\n", "with a dot"},
    };
    for (const auto& b : bad) {
        TempDir dir;
        dir.Write(b.file, b.content);
        SkyStarExtras extras;
        std::string error;
        EXPECT_FALSE(extras.Load(dir.path(), *catalog, &error)) << b.file;
        EXPECT_NE(error.find(b.file), std::string::npos) << error;
        EXPECT_NE(error.find(b.reason), std::string::npos) << error;
    }
    TempDir empty;
    SkyStarExtras extras;
    std::string error;
    ASSERT_TRUE(extras.Load(empty.path(), *catalog, &error)) << error;
    EXPECT_TRUE(extras.Variables().empty() && extras.Doubles().empty() &&
                extras.FaintStars().empty());
    EXPECT_EQ(extras.VariableById(u"δ_Cep"), nullptr);
}

// Every identifier that README.md's table of identifiers shows (its first
// column) names an object the engine knows: placed, or (a system of the
// user's, a meteorite whose orbit is not kept) at least named.
TEST(StarExtras, ReadmeIdentifiersNameObjects) {
    const std::string readme = Slurp(std::string(VEXCLK_SOURCE_DIR) + "/README.md");
    const size_t from = readme.find("| identifier | object |\n");
    ASSERT_NE(from, std::string::npos);
    const size_t to = readme.find("\n\n", from);
    CSkyEngine sky = MakeSky();
    sky.SetPickedStar(u"HIP32349");
    CLumClickData data;
    int checked = 0;
    size_t line = readme.find('\n', from);
    while (line < to) {
        const size_t next = readme.find('\n', line + 1);
        const std::string row = readme.substr(line + 1, next - line - 1);
        const std::string first = row.substr(0, row.find(" | "));
        for (size_t open = first.find('`'); open != std::string::npos;
             open = first.find('`', first.find('`', open + 1) + 1)) {
            const std::string id = first.substr(open + 1, first.find('`', open + 1) - open - 1);
            const CString identifier = CString::FromUtf8(id);
            // The planet form is the text builder's, which rewrites it.
            const bool viaBuilder = id.find(".Planet.") != std::string::npos;
            bool known = false;
            for (const char16_t* suffix : {u".position.RA", u".Name", u".File"}) {
                const CString reply = viaBuilder ? data.GetText(&sky, identifier, 1)
                                                 : sky.Doit(u"? " + identifier + suffix);
                known = known || !(reply.IsEmpty() || reply == u"*");
            }
            EXPECT_TRUE(known) << id;
            ++checked;
        }
        line = next;
    }
    EXPECT_GE(checked, 25);
}

// The command line puts a star into the slot as the host does.
TEST(StarExtras, CommandLinePicksAStarForTheSlot) {
    const CliResult r =
        RunVexclk({"text", "--time", "2026-12-06T21:00", "--pick", "KSJ000000.8+313155",
                   "--setting", "DispMag=1", "--setting", "StarDetails=1", "star.Xno0"});
    ASSERT_EQ(r.status, 0) << r.err;
    // J2000 place 00h00m00.820s +31°31'55.50", moved for 26.93 years by
    // +27.7 mas/yr (0.058 s at this Dec) and -4.1 mas/yr.
    EXPECT_TRUE(HasLinesInOrder(r.out, {"恒星 KSJ000000.8+313155", "光度  8.85等",
                                        "赤経 00h00m00.88s  赤緯 +31ﾟ31'55.4\" (J2000)"}))
        << r.out;
    const std::vector<std::string> bad[] = {
        {"text", "--pick", "KSJ999999.9+999999", "star.Xno0"},
        {"query", "--pick", "HIP0", "? star.Xno0.Id"},
        {"text", "--replies", "/dev/null", "--pick", "HIP32349", "star.Xno0"},
    };
    for (const auto& args : bad) {
        const CliResult b = RunVexclk(args);
        EXPECT_EQ(b.status, 2) << args[2];
        EXPECT_EQ(std::count(b.err.begin(), b.err.end(), '\n'), 1) << b.err;
    }
}

TEST(StarExtras, FoundByDesignationAndName) {
    CSkyEngine sky = MakeSky();
    const std::pair<const char16_t*, const char*> cases[] = {
        {u"SN 1987A", "Star.Supernova.SN1987A"},
        {u"わし座新星1918", "Star.Nova.V603Aql"},
        {u"Dimidium", "star.ExtraSolarPlanet.HIP113357b"},
        {u"omi Cet", "star.GCVS.ο_Cet"},
    };
    for (const auto& [text, id] : cases) {
        std::vector<std::string> found;
        for (const CString& f : sky.FindByName(text)) found.push_back(U8(f));
        EXPECT_NE(std::find(found.begin(), found.end(), id), found.end()) << U8(text);
    }
    // Mira the star is found first; its variable-star entry follows.
    const std::vector<CString> mira = sky.FindByName(u"ο Cet");
    ASSERT_GE(mira.size(), 2u);
    EXPECT_EQ(U8(mira.front()), "Star.HIP10826");
    EXPECT_EQ(U8(mira.back()), "star.GCVS.ο_Cet");
}
