#include "sky/catalog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "tests/test_support.h"

namespace {

// The real catalogues of data/, loaded once for the whole program.
const CSkyCatalog& Real() {
    static const CSkyCatalog catalog = [] {
        CSkyCatalog c;
        std::string error;
        if (!c.Load(std::string(VEXCLK_SOURCE_DIR) + "/data", &error))
            ADD_FAILURE() << "data/ did not load: " << error;
        return c;
    }();
    return catalog;
}

// Whether a search for `text` lists the entry of that kind and identifier.
bool Finds(const CSkyCatalog& c, const CString& text, SkyKind kind, const char* id) {
    for (const SkyRef& r : c.Find(text)) {
        if (r.kind == kind && U8(c.IdOf(r)) == id) return true;
    }
    return false;
}

bool FindsStar(const CSkyCatalog& c, const CString& text, const char* id) {
    return Finds(c, text, SkyKind::Star, id);
}

}  // namespace

// --- The real data -----------------------------------------------------------

TEST(SkyCatalog, LoadsTheRealDataWithEveryCatalogue) {
    const CSkyCatalog& c = Real();
    ASSERT_TRUE(c.IsLoaded());
    EXPECT_GT(c.Stars().size(), 40000u);
    EXPECT_GT(c.DeepSky().size(), 13000u);
    EXPECT_EQ(c.Constellations().size(), 88u);
    EXPECT_EQ(c.Magellanic().size(), 2u);
}

TEST(SkyCatalog, FindsStarsByNumberNameAndDesignation) {
    const CSkyCatalog& c = Real();
    ASSERT_NE(c.StarByHip(32349), nullptr);
    EXPECT_EQ(U8(c.StarByHip(32349)->id), "HIP32349");
    ASSERT_NE(c.StarById(u"hip 32349"), nullptr);
    EXPECT_EQ(c.StarById(u"HIP32349")->hd, 48915);
    for (const char16_t* name :
         {u"Sirius", u"シリウス", u"α CMa", u"alpha CMa", u"Alp CMa", u"9 CMa", u"HIP 32349",
          u"HD 48915", u"HR 2491", u"SAO 151881", u"Canicula", u"おおいぬ座α星"}) {
        EXPECT_TRUE(FindsStar(c, name, "HIP32349")) << U8(name);
    }
    // A Bayer letter without its index finds every index.
    for (const char16_t* name : {u"α Cen", u"alp Cen"}) {
        EXPECT_TRUE(FindsStar(c, name, "HIP71683")) << U8(name);  // alpha1 Cen
        EXPECT_TRUE(FindsStar(c, name, "HIP71681")) << U8(name);  // alpha2 Cen
    }
    EXPECT_TRUE(FindsStar(c, u"alpha1 Cen", "HIP71683"));
    EXPECT_FALSE(FindsStar(c, u"alpha1 Cen", "HIP71681"));
    EXPECT_TRUE(FindsStar(c, u"ケンタウルス座α2星", "HIP71681"));
    // Variable stars by their GCVS designation.
    EXPECT_TRUE(FindsStar(c, u"wz cas", "HIP99"));
    EXPECT_TRUE(FindsStar(c, u"α UMi", "HIP11767"));  // Polaris, a Cepheid
    ASSERT_NE(c.StarByHip(27989), nullptr);
    EXPECT_EQ(U8(c.StarByHip(27989)->variable_name), "α Ori");
    EXPECT_TRUE(c.StarByHip(32349)->variable_name.IsEmpty());
}

TEST(SkyCatalog, SiriusCarriesItsCatalogueValues) {
    // References: Hipparcos (ESA 1997) and SIMBAD for HIP 32349 = alpha CMa.
    const SkyStar* s = Real().StarByHip(32349);
    ASSERT_NE(s, nullptr);
    // ICRS at epoch J2000.0: 06h45m08.91728s -16d42m58.0171s (SIMBAD); 2e-5 deg = 0.07".
    // At the Hipparcos epoch J1991.25 it stood 10" further north.
    EXPECT_NEAR(s->ra_deg, 101.2871553, 2e-5);
    EXPECT_NEAR(s->dec_deg, -16.7161159, 2e-5);
    ASSERT_TRUE(s->vmag && s->pmra_mas_yr && s->pmdec_mas_yr && s->parallax_mas);
    EXPECT_NEAR(*s->vmag, -1.46, 0.021);  // Johnson V; the data holds Hipparcos' -1.44
    EXPECT_NEAR(*s->pmra_mas_yr, -546.0, 2.0);
    EXPECT_NEAR(*s->pmdec_mas_yr, -1223.0, 2.0);
    EXPECT_NEAR(*s->parallax_mas, 379.2, 3.0);
    EXPECT_TRUE(s->spectral_type.view().substr(0, 2) == u"A0" ||
                s->spectral_type.view().substr(0, 2) == u"A1")
        << U8(s->spectral_type);
}

TEST(SkyCatalog, FindsAndromedaGalaxyByEveryDesignation) {
    const CSkyCatalog& c = Real();
    for (const char16_t* id : {u"NGC 224", u"M31", u"PGC 2557", u"UGC 454"}) {
        const SkyDeepSky* d = c.DeepSkyById(id);
        ASSERT_NE(d, nullptr) << U8(id);
        EXPECT_EQ(U8(d->id), "NGC 224") << U8(id);
    }
    const SkyDeepSky* d = c.DeepSkyByPgc(2557);
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(U8(d->id), "NGC 224");
    // NED: 00h42m44.3s +41d16m09s; size about 190' x 60'.
    EXPECT_NEAR(d->ra_deg, 10.6846, 1e-3);
    EXPECT_NEAR(d->dec_deg, 41.2692, 1e-3);
    ASSERT_TRUE(d->major_arcmin && d->minor_arcmin && d->pa_deg);
    EXPECT_GT(*d->major_arcmin, 150.0);
    EXPECT_GT(*d->major_arcmin, *d->minor_arcmin);
    EXPECT_EQ(c.DeepSkyByPgc(99999999), nullptr);
    EXPECT_EQ(c.DeepSkyById(u"NGC 99999"), nullptr);
}

TEST(SkyCatalog, FindListsOwnNamesThenDesignationsThenFurtherNamesThenParts) {
    // The first entry is the object that the name belongs to, although other
    // stars carry the name as a further one (Betelgeuse is also "Mirzam").
    const struct {
        const char16_t* text;
        const char* first;
    } cases[] = {
        {u"Mirzam", "HIP30324"},
        {u"Markab", "HIP113963"},
        {u"Alcor", "HIP65477"},
        {u"Alnair", "HIP109268"},
        {u"Zubenelgenubi", "HIP72622"},
        {u"Menkar", "HIP14135"},
        {u"すばる", "M 45"},
        {u"昴", "M 45"},
        {u"プレアデス星団", "M 45"},
        {u"Pleiad", "M 45"},
        {u"Orion", "Ori"},
    };
    const CSkyCatalog& c = Real();
    for (const auto& k : cases) {
        const auto found = c.Find(k.text);
        ASSERT_FALSE(found.empty()) << U8(k.text);
        EXPECT_EQ(U8(c.IdOf(found[0])), k.first) << U8(k.text);
    }
    EXPECT_TRUE(c.Find(u"Pl").empty());  // too short to match by part
}

TEST(SkyCatalog, DeepSkyTypesAndNames) {
    const struct {
        const char16_t* query;
        const char* id;
        int type;
        const char* type_ja;
    } cases[] = {
        {u"オリオン大星雲", "NGC 1976", 5, "散光星雲"},
        {u"Ring Nebula", "NGC 6720", 6, "惑星状星雲"},
        {u"Pleiades", "M 45", 3, "散開星団"},  // outside NGC and IC
        {u"M 40", "M 40", 17, "二重星"},
    };
    const CSkyCatalog& c = Real();
    for (const auto& k : cases) {
        ASSERT_TRUE(Finds(c, k.query, SkyKind::DeepSky, k.id)) << U8(k.query);
        const SkyDeepSky* d = c.DeepSkyById(CString::FromUtf8(k.id));
        ASSERT_NE(d, nullptr) << k.id;
        EXPECT_EQ(d->type, k.type) << k.id;
        EXPECT_EQ(U8(d->type_ja), k.type_ja) << k.id;
    }
}

TEST(SkyCatalog, MagellanicCloudsAndJapaneseNames) {
    const CSkyCatalog& c = Real();
    const SkyMagellanicCloud* lmc = c.MagellanicById(u"lmc");
    ASSERT_NE(lmc, nullptr);
    EXPECT_EQ(U8(lmc->name_ja), "大マゼラン雲");
    EXPECT_NEAR(lmc->ra_deg, 80.89375, 1e-6);     // 05h23m34.5s
    EXPECT_NEAR(lmc->dec_deg, -69.756111, 1e-6);  // -69d45m22s
    EXPECT_TRUE(Finds(c, u"小マゼラン雲", SkyKind::Magellanic, "SMC"));
    EXPECT_EQ(U8(c.JapaneseName(u"Jupiter")), "木星");
    EXPECT_EQ(U8(c.JapaneseName(u"Camelopardalis")), "きりん");  // the plain name, not the genitive
    EXPECT_TRUE(c.JapaneseName(u"No Such Object").IsEmpty());
}

TEST(SkyCatalog, ConstellationsByAbbreviationAndName) {
    const CSkyCatalog& c = Real();
    const SkyConstellation* cma = c.ConstellationByAbbr(u"cma");
    ASSERT_NE(cma, nullptr);
    EXPECT_EQ(U8(cma->abbr), "CMa");
    EXPECT_EQ(U8(cma->name), "Canis Major");
    EXPECT_EQ(U8(cma->name_ja), "おおいぬ座");
    ASSERT_NE(c.ConstellationByAbbr(u"BOO"), nullptr);
    EXPECT_EQ(U8(c.ConstellationByAbbr(u"BOO")->name), "Boötes");
    EXPECT_EQ(c.ConstellationByAbbr(u"Xyz"), nullptr);
    EXPECT_EQ(c.ConstellationByAbbr(u""), nullptr);
    for (const char16_t* name : {u"Orion", u"オリオン座", u"オリオン", u"ori"}) {
        EXPECT_TRUE(Finds(c, name, SkyKind::Constellation, "Ori")) << U8(name);
    }
    EXPECT_FALSE(c.Find(u"Bootes").empty());  // Stellarium's spelling of Boötes
}

TEST(SkyCatalog, ConstellationOfB1875Points) {
    // Expected values: the boxes of Roman (1987, CDS VI/42) read by hand; the
    // edge cases sit exactly on a box's lower declination or RA limit, which
    // belong to that box.
    const struct {
        double ra, dec;
        const char* abbr;
    } cases[] = {
        {0.0, 90.0, "UMi"},       // the pole itself
        {0.0, 88.0, "UMi"},       // on the lower edge of the polar cap box
        {0.0, 87.99, "Cep"},      // just below it
        {120.0, 86.5, "UMi"},     // 8h: the lower RA and Dec limits of UMi's second box
        {120.0, 86.49, "Cam"},    //   just below its Dec limit
        {101.0, -16.6, "CMa"},    // Sirius
        {123.4, -90.0, "Oct"},    // the south pole itself
        {90.0, -85.0, "Men"},     // on Mensa's lower edge
        {90.0, -85.0001, "Oct"},  //   just below it
        {236.0, 6.8, "Ser"},      // Serpens Caput (alpha Ser)
        {273.6, -2.9, "Ser"},     // Serpens Cauda (eta Ser)
        {255.0, -5.0, "Oph"},     // Ophiuchus between the two parts
        {0.0, 0.0, "Psc"},       {360.0, 0.0, "Psc"},  // RA taken modulo 360
        {-1.0, 88.5, "UMi"},
    };
    const CSkyCatalog& c = Real();
    for (const auto& k : cases) {
        const SkyConstellation* con = c.ConstellationAtB1875(k.ra, k.dec);
        ASSERT_NE(con, nullptr) << k.ra << " " << k.dec;
        EXPECT_EQ(U8(con->abbr), k.abbr) << k.ra << " " << k.dec;
    }
    EXPECT_EQ(c.ConstellationAtB1875(0.0, 90.5), nullptr);
    EXPECT_EQ(c.ConstellationAtB1875(0.0, -90.5), nullptr);
    EXPECT_EQ(c.ConstellationAtB1875(std::nan(""), 0.0), nullptr);
    EXPECT_EQ(c.ConstellationAtB1875(0.0, std::nan("")), nullptr);
}

TEST(SkyCatalog, NearestAroundBetelgeuse) {
    // From Betelgeuse (05h55m10.30536s +07d24'25.4304") to Rigel (05h14m32.27210s
    // -08d12'05.8981"), SIMBAD J2000: 18.60596 degrees by the haversine formula.
    const CSkyCatalog& c = Real();
    const auto near = c.Nearest(88.7929390, 7.4070640, 19.0, 100000);
    ASSERT_GT(near.size(), 10u);
    EXPECT_EQ(U8(c.IdOf(near[0].ref)), "HIP27989");
    EXPECT_LT(near[0].separation_deg, 1e-3);
    bool rigel = false;
    for (size_t i = 0; i < near.size(); ++i) {
        if (i > 0) {
            EXPECT_LE(near[i - 1].separation_deg, near[i].separation_deg);
        }
        EXPECT_LE(near[i].separation_deg, 19.0);
        if (near[i].ref.kind == SkyKind::Star && U8(c.IdOf(near[i].ref)) == "HIP24436") {
            EXPECT_NEAR(near[i].separation_deg, 18.60596, 2e-4);
            rigel = true;
        }
    }
    EXPECT_TRUE(rigel);
    // A limit keeps the closest, in the same order.
    const auto ten = c.Nearest(88.7929390, 7.4070640, 19.0, 10);
    ASSERT_EQ(ten.size(), 10u);
    for (size_t i = 0; i < ten.size(); ++i) EXPECT_TRUE(ten[i].ref == near[i].ref) << i;
    EXPECT_TRUE(c.Nearest(88.7929, 7.4071, 2.0, 0).empty());
    EXPECT_TRUE(c.Nearest(88.7929, 7.4071, -1.0, 5).empty());
    EXPECT_TRUE(c.Nearest(std::nan(""), 7.4071, 1.0, 5).empty());
}

TEST(SkyCatalog, NearestAgreesWithAFullScanAtPolesAndAcrossRaZero) {
    // The grid must miss nothing near the poles, across RA 0/360 and for large radii.
    const CSkyCatalog& c = Real();
    const struct {
        double ra, dec, radius;
    } cases[] = {
        {0.01, 38.86, 0.3},  {359.99, -10.0, 1.5}, {37.95, 89.26, 2.0},
        {200.0, -88.5, 3.0}, {10.0, 60.0, 25.0},   {300.0, 89.99, 1.5},
    };
    for (const auto& k : cases) {
        size_t expected = 0;
        const auto count = [&](double ra, double dec) {
            const double d1 = k.dec * M_PI / 180, d2 = dec * M_PI / 180;
            const double h =
                std::pow(std::sin((d2 - d1) / 2), 2) +
                std::cos(d1) * std::cos(d2) * std::pow(std::sin((ra - k.ra) * M_PI / 180 / 2), 2);
            if (2 * std::asin(std::sqrt(std::min(1.0, h))) * 180 / M_PI <= k.radius) ++expected;
        };
        for (const SkyStar& s : c.Stars()) count(s.ra_deg, s.dec_deg);
        for (const SkyDeepSky& d : c.DeepSky()) count(d.ra_deg, d.dec_deg);
        for (const SkyMagellanicCloud& m : c.Magellanic()) count(m.ra_deg, m.dec_deg);
        EXPECT_EQ(c.Nearest(k.ra, k.dec, k.radius, 1000000).size(), expected)
            << k.ra << " " << k.dec << " " << k.radius;
        EXPECT_GT(expected, 0u) << k.ra << " " << k.dec;
    }
}

// --- Search keys ----------------------------------------------------------------

TEST(SkyCatalog, SearchKeysIgnoreCaseBlanksWidthAndLeadingZeros) {
    const struct {
        const char16_t* a;
        const char16_t* b;
        bool same;
    } cases[] = {
        {u"ＮＧＣ　２２４", u"NGC 224", true},
        {u"HIP 032349", u"hip32349", true},
        {u"M 1", u"M 10", false},
        {u"NGC 100", u"NGC 1", false},
        {u"IC 0", u"IC0", true},
        {u"α CMa", u"αcma", true},
        {u"シリウス", u"シ リ ウ ス", true},
    };
    for (const auto& k : cases) {
        EXPECT_EQ(CSkyCatalog::SearchKey(k.a) == CSkyCatalog::SearchKey(k.b), k.same)
            << U8(k.a) << " / " << U8(k.b);
    }
    EXPECT_EQ(CSkyCatalog::SearchKey(u"IC 0"), "ic0");
    EXPECT_EQ(CSkyCatalog::SearchKey(u"NGC 1001"), "ngc1001");
}

TEST(SkyCatalog, DefaultDataDirFollowsTheEnvironment) {
    const char* saved = std::getenv("VEXCLK_DATA");
    const std::string previous = saved ? saved : "";
    setenv("VEXCLK_DATA", "/somewhere/else", 1);
    EXPECT_EQ(CSkyCatalog::DefaultDataDir(), "/somewhere/else");
    setenv("VEXCLK_DATA", "", 1);  // empty counts as unset
    EXPECT_EQ(CSkyCatalog::DefaultDataDir(), std::string(VEXCLK_SOURCE_DIR) + "/data");
    if (saved) {
        setenv("VEXCLK_DATA", previous.c_str(), 1);
    } else {
        unsetenv("VEXCLK_DATA");
    }
}

// --- Small hand-made catalogues and malformed files ----------------------------------

namespace {

const char* const kConstellations =
    "# test\nabbr\tname\tname_ja\tother_names\n"
    "And\tAndromeda\tアンドロメダ座\t\n"
    "Boo\tBoötes\tうしかい座\tBootes\n";
const char* const kBounds =
    "ra_low_h\tra_high_h\tdec_low_deg\tabbr\n"
    "12.0000\t18.0000\t0.0000\tBoo\n"
    "0.0000\t24.0000\t-90.0000\tAnd\n";
const char* const kNames = "english\tjapanese\tkind\nArcturus\tアークトゥルス\t\n";
const char* const kStarsHeader =
    "id\thip\thd\thr\tsao\tra_deg\tdec_deg\tpmra_mas_yr\tpmdec_mas_yr\tparallax_mas\t"
    "parallax_err_mas\tvmag\tbv\t"
    "sptype\tbayer\tflamsteed\tcon\tname_en\tname_ja\tother_names\tgcvs\n";
const char* const kStarRow =
    "HIP69673\t69673\t124897\t5340\t100944\t213.9153003\t19.1824092\t-1093.4\t-1999.4\t88.8\t0.54\t"
    "-0.05\t1.23\tK2\tα\t16\tBoo\tArcturus\tアークトゥルス\tArcturus A|Haris-el-sema\tα Boo\n";
const char* const kDeepHeader =
    "id\ttype\ttype_ja\ttype_en\tra_deg\tdec_deg\tmag\tmajor_arcmin\tminor_arcmin\tpa_deg\tpgc\t"
    "designations\tname_en\tname_ja\tother_names\n";
const char* const kDeepRow =
    "NGC 5194\t8\t銀河\tgalaxy\t202.469625\t47.1951667\t9.26\t13.71\t11.67\t163\t47404\t"
    "M 51|PGC 47404\tWhirlpool Galaxy\t子持ち銀河\t\n";
const char* const kMagellanic =
    "id\tname_en\tname_ja\tra_deg\tdec_deg\nLMC\tLarge Magellanic "
    "Cloud\t大マゼラン雲\t80.89375\t-69.7561111\n";

// A stars.tsv of one star "HIP1" with the given fields.
std::string OneStar(const std::string& hip, const std::string& ra, const std::string& dec,
                    const std::string& con = "", const std::string& name_en = "") {
    return std::string(kStarsHeader) + "HIP1\t" + hip + "\t\t\t\t" + ra + "\t" + dec +
           "\t\t\t\t\t5.00\t0.00\t\t\t\t" + con + "\t" + name_en + "\t\t\t\n";
}

// Writes a complete small data set; `replace` swaps one file's content.
void WriteDataSet(const TempDir& dir, const std::string& replace_name = "",
                  const std::string& replace_content = "") {
    const std::pair<std::string, std::string> files[] = {
        {"constellations.tsv", kConstellations},
        {"constellation_bounds_b1875.tsv", kBounds},
        {"names_ja.tsv", kNames},
        {"stars.tsv", std::string(kStarsHeader) + kStarRow},
        {"deepsky.tsv", std::string(kDeepHeader) + kDeepRow},
        {"magellanic.tsv", kMagellanic},
    };
    for (const auto& [name, content] : files)
        dir.Write(name, name == replace_name ? replace_content : content);
}

// The small data set, loaded, with one file's content swapped.
CSkyCatalog LoadDataSet(const std::string& replace_name = "",
                        const std::string& replace_content = "") {
    TempDir dir;
    WriteDataSet(dir, replace_name, replace_content);
    CSkyCatalog c;
    std::string error;
    if (!c.Load(dir.path(), &error)) ADD_FAILURE() << error;
    return c;
}

}  // namespace

TEST(SkyCatalog, LoadsASmallHandMadeDataSet) {
    const CSkyCatalog c = LoadDataSet();
    ASSERT_EQ(c.Stars().size(), 1u);
    const SkyStar& s = c.Stars()[0];
    EXPECT_EQ(s.flamsteed, 16);
    ASSERT_EQ(s.other_names.size(), 2u);
    EXPECT_EQ(U8(s.other_names[1]), "Haris-el-sema");
    EXPECT_TRUE(FindsStar(c, u"16 Boo", "HIP69673"));
    EXPECT_TRUE(FindsStar(c, u"Haris-el-sema", "HIP69673"));
    EXPECT_TRUE(FindsStar(c, u"うしかい座α星", "HIP69673"));
    EXPECT_TRUE(c.Find(u"16").empty());  // a Flamsteed number alone names no star
    ASSERT_NE(c.DeepSkyById(u"M51"), nullptr);
    EXPECT_FALSE(c.DeepSky()[0].magnitude == std::nullopt);
    // Boxes in file order: the first that holds the point wins.
    EXPECT_EQ(U8(c.ConstellationAtB1875(225.0, 10.0)->abbr), "Boo");
    EXPECT_EQ(U8(c.ConstellationAtB1875(225.0, -10.0)->abbr), "And");
}

TEST(SkyCatalog, AnObjectsOwnNumberWinsOverAnotherObjectsDesignation) {
    const CSkyCatalog c = LoadDataSet(
        "deepsky.tsv",
        std::string(kDeepHeader) +
            "NGC 5195\t8\t銀河\tgalaxy\t202.4983\t47.2661\t\t\t\t\t\tNGC 5194|M 51b\t\t\t\n" +
            kDeepRow);
    ASSERT_NE(c.DeepSkyById(u"NGC 5194"), nullptr);
    EXPECT_EQ(U8(c.DeepSkyById(u"NGC 5194")->id), "NGC 5194");
    ASSERT_NE(c.DeepSkyById(u"M51b"), nullptr);
    EXPECT_EQ(U8(c.DeepSkyById(u"M51b")->id), "NGC 5195");
    // A search lists both, in file order.
    const auto found = c.Find(u"NGC 5194");
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(U8(c.IdOf(found[0])), "NGC 5195");
    EXPECT_EQ(U8(c.IdOf(found[1])), "NGC 5194");
    EXPECT_TRUE(c.Find(u"").empty());
    EXPECT_TRUE(c.Find(u" \u3000 ").empty());
}

TEST(SkyCatalog, AParallaxMeasuresADistanceOnlyAboveOneMasAndThreeSigma) {
    const struct {
        std::optional<double> parallax, error, measured;
    } cases[] = {
        {std::nullopt, std::nullopt, std::nullopt},
        {0.99, std::nullopt, std::nullopt},
        {-2.0, 0.5, std::nullopt},
        {2.39, 0.8, std::nullopt},
        {2.5, 0.8, 2.5},
        {3.78, 0.34, 3.78},
        {1.0, std::nullopt, 1.0},
    };
    for (const auto& c : cases) {
        SkyStar star;
        star.parallax_mas = c.parallax;
        star.parallax_err_mas = c.error;
        EXPECT_EQ(MeasuredParallaxMas(star), c.measured) << c.parallax.value_or(0.0);
    }
}

TEST(SkyCatalog, EmptyFieldsAreMissingValues) {
    const CSkyCatalog c = LoadDataSet(
        "stars.tsv", std::string(kStarsHeader) +
                         "HD1\t\t1\t\t\t0.5\t-0.5\t\t\t\t\t7.00\t0.10\t\t\t\t\t\t\t\t\n");
    const SkyStar* s = c.StarById(u"HD1");
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->hip, 0);
    EXPECT_FALSE(s->pmra_mas_yr.has_value());
    EXPECT_FALSE(s->parallax_mas.has_value());
    EXPECT_TRUE(s->name_en.IsEmpty());
    EXPECT_TRUE(s->other_names.empty());
    EXPECT_EQ(c.StarByHip(0), nullptr);
}

TEST(SkyCatalog, MalformedFilesGiveAnErrorAndKeepTheLoadedCatalogue) {
    const struct {
        const char* file;
        std::string content;
        const char* message;  // the end of the reason
    } cases[] = {
        {"stars.tsv", "", "stars.tsv: no column line (empty or not a catalogue file)"},
        {"stars.tsv", "id\thip\n", "stars.tsv:1: no column \"hd\""},
        {"stars.tsv", std::string(kStarsHeader) + "HIP1\t1\t2\n",
         "stars.tsv:2: 3 fields, expected 21"},
        {"stars.tsv", OneStar("1", "abc", "1.0"),
         "stars.tsv:2: bad number \"abc\" in column ra_deg"},
        {"stars.tsv", OneStar("1", "nan", "1.0"),
         "stars.tsv:2: bad number \"nan\" in column ra_deg"},
        {"stars.tsv", OneStar("1", "400", "1.0"),
         "stars.tsv:2: right ascension outside [0, 360) in column ra_deg"},
        {"stars.tsv", OneStar("1", "1.0", "-91"),
         "stars.tsv:2: declination outside [-90, 90] in column dec_deg"},
        {"stars.tsv", OneStar("-4", "1.0", "1.0"),
         "stars.tsv:2: bad catalogue number \"-4\" in column hip"},
        {"stars.tsv", OneStar("1", "1.0", "1.0", "", "\xff\xfe"),
         "stars.tsv:2: not UTF-8 text in column name_en"},
        {"stars.tsv", OneStar("1", "1.0", "1.0", "Xyz"),
         "stars.tsv:2: unknown constellation in column con"},
        {"stars.tsv", std::string(kStarsHeader) + kStarRow + kStarRow,
         "stars.tsv:3: identifier listed twice in column id"},
        {"stars.tsv", kStarsHeader, "stars.tsv: no rows"},
        {"constellation_bounds_b1875.tsv",
         "ra_low_h\tra_high_h\tdec_low_deg\tabbr\n0\t24\t-90\tXyz\n",
         "constellation_bounds_b1875.tsv:2: unknown constellation in column abbr"},
        {"constellation_bounds_b1875.tsv",
         "ra_low_h\tra_high_h\tdec_low_deg\tabbr\n0\t24\t0\tAnd\n",
         "constellation_bounds_b1875.tsv: the last box must cover 0..24 h down to -90 deg"},
        {"constellation_bounds_b1875.tsv",
         "ra_low_h\tra_high_h\tdec_low_deg\tabbr\n18\t12\t0\tAnd\n",
         "constellation_bounds_b1875.tsv:2: box outside 0..24 h or -90..+90 deg in column "
         "ra_low_h"},
    };
    for (const auto& k : cases) {
        TempDir dir;
        WriteDataSet(dir, k.file, k.content);
        CSkyCatalog c = LoadDataSet();
        std::string error;
        EXPECT_FALSE(c.Load(dir.path(), &error)) << k.message;
        const std::string expected = dir.path() + "/" + k.message;
        EXPECT_EQ(error.substr(0, expected.size()), expected);
        // The catalogue loaded before is still there.
        EXPECT_TRUE(c.IsLoaded());
        EXPECT_TRUE(FindsStar(c, u"Arcturus", "HIP69673")) << k.message;
    }
}

TEST(SkyCatalog, MissingFilesAndFoldersAreReported) {
    TempDir dir;
    WriteDataSet(dir);
    std::filesystem::remove(dir.path() + "/deepsky.tsv");
    CSkyCatalog c;
    std::string error;
    EXPECT_FALSE(c.Load(dir.path(), &error));
    EXPECT_EQ(error, dir.path() + "/deepsky.tsv: cannot open the catalogue file");
    EXPECT_FALSE(c.IsLoaded());
    EXPECT_TRUE(c.Find(u"Arcturus").empty());

    std::filesystem::create_directory(dir.path() + "/deepsky.tsv");
    EXPECT_FALSE(c.Load(dir.path(), &error));
    EXPECT_EQ(error, dir.path() + "/deepsky.tsv: not a regular file");

    EXPECT_FALSE(c.Load(dir.path() + "/no-such-folder", &error));
    EXPECT_NE(error.find("no-such-folder/constellations.tsv: cannot open"), std::string::npos)
        << error;
    EXPECT_FALSE(c.Load(dir.path(), nullptr));  // no error text wanted: still no crash
}
