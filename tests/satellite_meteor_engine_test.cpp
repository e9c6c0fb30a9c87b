// The sky engine's artificial satellites and meteor showers: places against
// an independent program, the data readers, and whole texts.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <string>
#include <vector>

#include "host/registry.h"
#include "sky/meteor_showers.h"
#include "sky/satellite_catalog.h"
#include "sky/sky_engine.h"
#include "sky/tle.h"
#include "tests/test_support.h"

namespace {

const std::string kSource = VEXCLK_SOURCE_DIR;

double Reply(CSkyEngine& e, const std::string& path) {
    const CString r = e.Doit(CString::FromUtf8("? " + path));
    EXPECT_FALSE(r.IsEmpty() || r == u"*") << path;
    return std::stod(r.ToUtf8());
}

// The geocentric latitude (degrees) of a point at a geodetic latitude
// (degrees) and a height above the WGS84 ellipsoid (metres).
double GeocentricLatitude(double geodetic_deg, double height_m) {
    const double a = 6378137.0, f = 1.0 / 298.257223563;
    const double e2 = f * (2.0 - f);
    const double phi = geodetic_deg * M_PI / 180.0;
    const double n = a / std::sqrt(1.0 - e2 * std::sin(phi) * std::sin(phi));
    return std::atan2((n * (1.0 - e2) + height_m) * std::sin(phi), (n + height_m) * std::cos(phi)) *
           180.0 / M_PI;
}

// Tokyo, as the example transcripts.
CSkyEngine TokyoAt(double jd_ut) {
    CSkyEngine e(SharedSkyCatalog());
    EXPECT_TRUE(e.SetJd(jd_ut));
    EXPECT_TRUE(e.SetPlace(139.6917, 35.6895, 40.0));
    EXPECT_TRUE(e.SetTimezone(9.0));
    return e;
}

// examples/iss.replies holds PyEphem's answers (its own SGP4, its own sidereal
// time and frames) for the ISS over Tokyo at 2018-01-20 12:15 UT, from the
// same element set as data/satellites.tle (tools/make_example_transcripts.py).
// PyEphem's latitude of the point beneath is the geocentric latitude of the
// satellite; the engine's the geodetic one (WGS84), turned into that here.
// Tolerances: 0.01 degree for every angle (PyEphem neglects the light time
// and uses another Earth orientation model; 0.009 degree worst), 0.05 km for
// the distances and 50 m for the height above the ellipsoid.
TEST(SatelliteEngineTest, IssAgreesWithPyEphem) {
    CSkyEngine e = TokyoAt(2458139.0104167);
    std::ifstream replies(kSource + "/examples/iss.replies");
    std::string line;
    int compared = 0;
    double worstAngle = 0.0;
    while (std::getline(replies, line)) {
        const std::string prefix = "? ArtificialSatellite.25544.";
        const size_t tab = line.find('\t');
        if (!line.starts_with(prefix) || tab == std::string::npos || tab + 1 == line.size())
            continue;
        const std::string path = line.substr(2, tab - 2);
        const std::string expected = line.substr(tab + 1);
        const std::string suffix = path.substr(prefix.size() - 2);
        SCOPED_TRACE(path);
        if (suffix == "TLEName" || suffix == "Number") {
            EXPECT_EQ(e.Doit(CString::FromUtf8("? " + path)).ToUtf8(), expected);
            ++compared;
            continue;
        }
        const double want = std::stod(expected);
        double got = Reply(e, path);
        if (suffix == "LLA.Latitude")
            got = GeocentricLatitude(got, Reply(e, prefix.substr(2) + "LLA.Altitude"));
        double tolerance = 0.01;  // degrees
        double difference = got - want;
        if (suffix.find("Distance") != std::string::npos) {
            tolerance = 0.05;  // km
        } else if (suffix == "LLA.Altitude") {
            tolerance = 50.0;  // m
        } else if (suffix == "Element.JulianEpoch") {
            tolerance = 1e-8;  // days
        } else {
            if (suffix.ends_with(".RA")) difference *= 15.0;  // hours
            difference = std::remainder(difference, 360.0);
            worstAngle = std::max(worstAngle, std::fabs(difference));
        }
        EXPECT_NEAR(difference, 0.0, tolerance) << got << " against " << want;
        ++compared;
    }
    EXPECT_EQ(compared, 24);
    // RA 22.19 h, Dec +65.3 (PyEphem): in Cepheus.
    EXPECT_EQ(e.Doit(u"? ArtificialSatellite.25544.position.Constellation"), CString(u"Cep"));
    std::printf("ISS against PyEphem: worst angle %.4f degrees\n", worstAngle);
}
}  // namespace

namespace {

// Element sets as files hold them: with and without name lines, the "0 " of
// the three-line form, a bad check digit, a repeated number, Alpha-5.
TEST(TleTest, FilesInEveryForm) {
    const std::string iss1 =
        "1 25544U 98067A   18020.89808844  .00002078  00000-0  38550-4 0  9992";
    const std::string iss2 =
        "2 25544  51.6424  32.9776 0003646  28.7227  39.5332 15.54190080 95614";
    const std::string hst1 =
        "1 20580U 90037B   18020.43993022  .00000491  00000-0  19169-4 0  9991";
    const std::string hst2 =
        "2 20580  28.4708  11.7463 0002625 356.7372 136.7243 15.08965836323135";
    std::string broken = hst2;
    broken[68] = '6';  // wrong check digit
    const struct {
        std::string text;
        std::vector<std::pair<int, std::string>> sets;  // number, name
        int skipped;
    } cases[] = {
        {iss1 + "\n" + iss2 + "\n", {{25544, ""}}, 0},
        {"ISS (ZARYA)\r\n" + iss1 + "\r\n" + iss2 + "\r\nHST\n" + hst1 + "\n" + hst2,
         {{25544, "ISS (ZARYA)"}, {20580, "HST"}},
         0},
        {"0 ISS\n" + iss1 + "\n" + iss2 + "\n", {{25544, "ISS"}}, 0},
        {"HST\n" + hst1 + "\n" + broken + "\nISS\n" + iss1 + "\n" + iss2, {{25544, "ISS"}}, 1},
        {"OLD\n" + iss1 + "\n" + iss2 + "\nNEW\n" + iss1 + "\n" + iss2, {{25544, "NEW"}}, 0},
        {iss1 + "\n", {}, 0},
        {"no element sets here\n", {}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        int skipped = -1;
        const std::vector<tle::ElementSet> sets = tle::ParseText(c.text, &skipped);
        ASSERT_EQ(sets.size(), c.sets.size());
        for (size_t k = 0; k < sets.size(); ++k) {
            EXPECT_EQ(sets[k].number, c.sets[k].first);
            EXPECT_EQ(sets[k].name, c.sets[k].second);
        }
        EXPECT_EQ(skipped, c.skipped);
    }
}

// Fields: the epoch (2018 day 20.89808844 = 2018-01-20 21:33:14.84 UTC),
// the drag term with its power of ten, the implied decimal point of the
// eccentricity, and the Alpha-5 numbers of catalogues beyond 99999.
TEST(TleTest, FieldsAndAlpha5Numbers) {
    tle::ElementSet set;
    std::string error;
    ASSERT_TRUE(tle::Parse("1 25544U 98067A   18020.89808844  .00002078  00000-0  38550-4 0  9992",
                           "2 25544  51.6424  32.9776 0003646  28.7227  39.5332 15.54190080 95614",
                           &set, &error))
        << error;
    EXPECT_NEAR(set.elements.epoch_jd_utc, 2458139.39808844, 1e-8);
    EXPECT_NEAR(set.elements.bstar, 0.38550e-4, 1e-15);
    EXPECT_NEAR(set.elements.eccentricity, 0.0003646, 1e-12);
    EXPECT_NEAR(set.elements.mean_motion_rev_day, 15.54190080, 1e-12);
    EXPECT_NEAR(set.elements.inclination_deg, 51.6424, 1e-12);
    // A 1999 epoch (two-digit years 57-99) and a negative drag term.
    ASSERT_TRUE(tle::Parse("1 21897U 92011A   99176.02341244 -.00001273  00000-0 -13525-3 0  3044",
                           "2 21897  62.1749 198.0096 7421690 253.0462  20.1561  2.01269994104880",
                           &set, &error));
    EXPECT_NEAR(set.elements.epoch_jd_utc, 2451354.52341244, 1e-8);
    EXPECT_NEAR(set.elements.bstar, -0.13525e-3, 1e-15);
    // Alpha-5: A0001 is 100001, Z9999 339999 (I and O are not letters of it).
    const std::pair<const char*, int> alpha5[] = {
        {"A0001", 100001}, {"J1234", 181234}, {"Z9999", 339999}};
    for (const auto& [field, number] : alpha5) {
        std::string l1 = "1 25544U 98067A   18020.89808844  .00002078  00000-0  38550-4 0  9992";
        std::string l2 = "2 25544  51.6424  32.9776 0003646  28.7227  39.5332 15.54190080 95614";
        l1.replace(2, 5, field);
        l2.replace(2, 5, field);
        ASSERT_TRUE(tle::Parse(l1, l2, &set, &error)) << field;
        EXPECT_EQ(set.number, number);
    }
    // Lines that are no element set.
    const std::pair<const char*, const char*> bad[] = {
        {"1 25544U", "2 25544"},
        {"2 25544  51.6424  32.9776 0003646  28.7227  39.5332 15.54190080 95614",
         "1 25544U 98067A   18020.89808844  .00002078  00000-0  38550-4 0  9992"},
        {"1 25544U 98067A   18020.89808844  .00002078  00000-0  38550-4 0  9992",
         "2 25545  51.6424  32.9776 0003646  28.7227  39.5332 15.54190080 95614"},
        {"1 25544U 98067A   18020.89808844  .00002078  00000-0  3x550-4 0  9992",
         "2 25544  51.6424  32.9776 0003646  28.7227  39.5332 15.54190080 95614"},
        {"1 25544U 98067A   18020.89808844  .00002078  00000-0  38550-4 0  9992",
         "2 25544  51.6424  32.9776 0003646  28.7227  39.5332  0.00000000 95614"},
    };
    for (const auto& [l1, l2] : bad) EXPECT_FALSE(tle::Parse(l1, l2, &set, &error)) << l1;
}

TEST(TleTest, UnusableFilesAreReported) {
    TempDir dir;
    std::vector<tle::ElementSet> sets;
    std::string error;
    EXPECT_FALSE(tle::LoadFile(dir.path() + "/missing.tle", &sets, &error));
    EXPECT_NE(error.find("cannot be read"), std::string::npos) << error;
    EXPECT_FALSE(tle::LoadFile(dir.Write("empty.tle", "# nothing\n"), &sets, &error));
    EXPECT_NE(error.find("no valid two-line element set"), std::string::npos) << error;
    EXPECT_TRUE(tle::LoadFile(kSource + "/data/satellites.tle", &sets, &error)) << error;
    EXPECT_EQ(sets.size(), 12u);
}

// The settings store names the user's file; one that cannot be used leaves
// the sample set in place.
TEST(SatelliteEngineTest, TleFileFromTheSettingsStore) {
    TempDir dir;
    ScopedEnv store("VEXCLK_REGISTRY", dir.path() + "/registry.json");
    const std::string own =
        dir.Write("own.tle",
                  "MY SAT\n1 99999U 98067A   18020.89808844  .00002078  00000-0  38550-4 0  9997\n"
                  "2 99999  51.6424  32.9776 0003646  28.7227  39.5332 15.54190080 95619\n");
    const struct {
        std::string path;
        const char16_t* query;
        const char16_t* reply;
    } cases[] = {
        {own, u"? ArtificialSatellite.99999.TLEName", u"MY SAT"},
        {own, u"? ArtificialSatellite.25544.TLEName", u""},  // not in the user's file
        {dir.path() + "/missing.tle", u"? ArtificialSatellite.25544.TLEName", u"ISS (ZARYA)"},
        {"", u"? ArtificialSatellite.20580.TLEName", u"HST"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        ASSERT_TRUE(CRegistry::Write(satellite::kRegistryKey, satellite::kRegistryValue,
                                     CString::FromUtf8(c.path)));
        CSkyEngine e(SharedSkyCatalog());
        EXPECT_EQ(e.Doit(c.query), CString(c.reply));
    }
}

// An element set whose orbit decays in the model (the verification set's
// sub-orbital Minotaur stage, lost within an hour of its epoch): a day later
// the places and distances have no value, the name, number and epoch stay.
TEST(SatelliteEngineTest, DecayedOrbitHasNoPlace) {
    TempDir dir;
    ScopedEnv store("VEXCLK_REGISTRY", dir.path() + "/registry.json");
    const std::string file = dir.Write(
        "decayed.tle",
        "MINOTAUR R/B\n1 28872U 05037B   05333.02012661  .25992681  00000-0  24476-3 0  1534\n"
        "2 28872  96.4736 157.9986 0303955 244.0492 110.6523 16.46015938 10708\n");
    ASSERT_TRUE(CRegistry::Write(satellite::kRegistryKey, satellite::kRegistryValue,
                                 CString::FromUtf8(file)));
    CSkyEngine e = TokyoAt(2453703.52012661 + 1.0);  // the epoch, 2005-11-29, and a day
    for (const char16_t* suffix :
         {u".position.RA", u".position.Altitude", u".position.Constellation",
          u".GeocentricDistance", u".TopocentricDistance", u".LLA.Longitude", u".LLA.Altitude",
          u".Jd.Rise"}) {
        EXPECT_EQ(e.Doit(u"? ArtificialSatellite.28872" + CString(suffix)), CString(u"*"))
            << U8(suffix);
    }
    EXPECT_EQ(e.Doit(u"? ArtificialSatellite.28872.TLEName"), CString(u"MINOTAUR R/B"));
    EXPECT_EQ(e.Doit(u"? ArtificialSatellite.28872.Element.JulianEpoch"),
              CString(u"2453703.52012661"));
}

}  // namespace

namespace {

meteor::Shower Perseids() {
    meteor::Shower s;
    s.id = u"Perseids";
    s.peak_lambda_deg = 140.0;
    s.start_lambda_deg = 114.0;
    s.end_lambda_deg = 151.0;
    s.ra_deg = 48.0;
    s.dec_deg = 58.0;
    s.drift_ra_deg_day = 1.4;
    s.drift_dec_deg_day = 0.26;
    return s;
}

// The radiant drifts from its place at the peak by the daily drift times the
// days from the peak (solar longitude / 0.985647 degrees a day), and rests at
// the ends of the activity period.  Expected values worked by hand; 1e-6
// degree.
TEST(MeteorShowerTest, RadiantDriftsWithinTheActivity) {
    meteor::Shower normids;  // the gamma-Normids: activity across 0 degrees
    normids.peak_lambda_deg = 354.0;
    normids.start_lambda_deg = 335.0;
    normids.end_lambda_deg = 8.0;
    normids.ra_deg = 239.0;
    normids.dec_deg = -50.0;
    normids.drift_ra_deg_day = 1.3;
    normids.drift_dec_deg_day = 0.2;
    const struct {
        const meteor::Shower shower;
        double sun_lambda_deg;
        double ra_deg, dec_deg;
    } cases[] = {
        {Perseids(), 140.0, 48.0, 58.0},
        {Perseids(), 145.0, 55.101932, 59.318930},  // 5.072808 days after
        {Perseids(), 130.0, 33.796137, 55.362140},  // 10.145617 days before
        {Perseids(), 200.0, 63.624250, 60.901646},  // after the end (151): its place
        {Perseids(), 60.0, 11.069955, 51.141563},   // before the start (114)
        {normids, 5.0, 253.508232, -47.767964},     // 11 degrees after, across 0
        {normids, 340.0, 220.534978, -52.840773},   // 14 degrees before
        {normids, 300.0, 213.940327, -53.855334},   // outside, nearer the start
        {normids, 100.0, 257.465022, -47.159227},   // outside, nearer the end
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sun_lambda_deg);
        const meteor::Radiant r = meteor::RadiantAt(c.shower, c.sun_lambda_deg);
        EXPECT_NEAR(r.ra_deg, c.ra_deg, 1e-6);
        EXPECT_NEAR(r.dec_deg, c.dec_deg, 1e-6);
    }
    EXPECT_TRUE(std::isnan(meteor::RadiantAt(Perseids(), NAN).ra_deg));
}

TEST(MeteorShowerTest, ListReadsAndBadListsAreReported) {
    std::vector<meteor::Shower> showers;
    std::string error;
    ASSERT_TRUE(meteor::LoadShowers(kSource + "/data/meteor_showers.tsv", &showers, &error))
        << error;
    EXPECT_EQ(showers.size(), 43u);
    const meteor::Shower* per = meteor::FindShower(showers, u"PERSEIDS");
    ASSERT_NE(per, nullptr);
    EXPECT_EQ(meteor::FindShower(showers, u"per"), per);
    EXPECT_EQ(per->name_ja, CString(u"ペルセウス座流星群"));
    EXPECT_EQ(meteor::ShortJapaneseName(*per), CString(u"ペルセウス座"));
    EXPECT_EQ(per->peak_lambda_deg, 140.0);
    EXPECT_EQ(per->zhr, 100.0);
    const meteor::Shower* qua = meteor::FindShower(showers, u"Quadrantids");
    ASSERT_NE(qua, nullptr);
    EXPECT_FALSE(qua->zhr.has_value());  // variable
    EXPECT_EQ(meteor::FindShower(showers, u"Antihelion"), nullptr);

    TempDir dir;
    const std::string header =
        "id\tcode\tiau_number\tname_en\tname_ja\tpeak_lambda_deg\tstart_lambda_deg\t"
        "end_lambda_deg\tra_deg\tdec_deg\tdrift_ra_deg_day\tdrift_dec_deg_day\tspeed_km_s\tzhr\t"
        "zhr_variable\n";
    const struct {
        std::string content;
        const char* reason;
    } bad[] = {
        {"id\tcode\n", "no column"},
        {header + "Perseids\tPER\t7\tPerseids\tペルセウス座流星群\t400\t114\t151\t48\t58\t1.4\t0."
                  "26\t59\t100\t\n",
         "not within 0..360"},
        {header + "Perseids\tPER\t7\tPerseids\tペルセウス座流星群\t140\t114\t151\t48\t99\t1.4\t0."
                  "26\t59\t100\t\n",
         "dec_deg"},
        {header + "Per.seids\tPER\t7\tPerseids\tペルセウス座流星群\t140\t114\t151\t48\t58\t1.4\t0."
                  "26\t59\t100\t\n",
         "bad id"},
    };
    for (const auto& c : bad) {
        EXPECT_FALSE(meteor::LoadShowers(dir.Write("showers.tsv", c.content), &showers, &error));
        EXPECT_NE(error.find(c.reason), std::string::npos) << error;
    }
}

// The engine's answers about the Perseids near their 2026 maximum (2026-08-13
// about 01 h UT, at solar longitude 140.0 of J2000): the radiant at its
// place of the peak within the drift of two hours, the peak longitude on the
// ecliptic of date (precession 2000 to 2026.6: 0.3714 degrees).
TEST(MeteorEngineTest, PerseidsAtTheirMaximum) {
    CSkyEngine e = TokyoAt(2461265.5417);  // 2026-08-13 01:00 UT
    EXPECT_NEAR(Reply(e, "Meteor.Perseids.position.RA"), 48.0 / 15.0, 0.15 / 15.0);
    EXPECT_NEAR(Reply(e, "Meteor.Perseids.position.DEC"), 58.0, 0.03);
    EXPECT_NEAR(Reply(e, "Meteor.PER.LambdaOfPeak"), 140.3714, 0.001);
    // The constellation of the radiant's place, not of a place at 0 h, 0.
    EXPECT_EQ(e.Doit(u"? Meteor.Perseids.position.Constellation"),
              e.Doit(u"? Equatorial(3.2,58).position.Constellation"));
    EXPECT_NE(e.Doit(u"? Meteor.Perseids.position.Constellation"), CString(u"Psc"));
    EXPECT_EQ(e.Doit(u"? meteor.perseids.Name"), CString(u"ペルセウス座"));
    EXPECT_EQ(e.Doit(u"? Meteor.Perseids.EnglishName"), CString(u"Perseids"));
    EXPECT_EQ(e.Doit(u"? Meteor.Perseids.ZHR"), CString(u"100"));
    EXPECT_EQ(e.Doit(u"? Meteor.Perseids.Velocity"), CString(u"59.0"));
    EXPECT_EQ(e.Doit(u"? Meteor.Quadrantids.ZHR"), CString(u"*"));
    EXPECT_EQ(e.Doit(u"? Meteor.NoSuchShower.Name"), CString());
    // The radiant rises, transits and sets as a star would.
    EXPECT_NE(e.Doit(u"? Meteor.Perseids.Jd.Transit"), CString(u"*"));
}

// Whole texts through the command line and the sky engine: every value the
// text asks for is there (no "*" or placeholder; the Perseids' radiant never
// sets at Tokyo, so its rise and set show dashes).
TEST(SatelliteMeteorTextTest, CompleteTexts) {
    const struct {
        std::vector<std::string> args;
        std::vector<std::string> lines;  // lines the text holds
    } cases[] = {
        {{"text", "--time", "2018-01-20T12:15Z", "--setting", "DispDistR=1", "--setting",
          "PlanetPhysicalTable=1", "ArtificialSatellite.25544"},
         {"ISS (ZARYA) (25544)", "地心距離 6775 km", "測心距離 870 km",
          "元期 2018年01月20日21時33分14.84"}},
        // Elements eight years old are still answered (geostationary: no drag).
        {{"text", "--time", "2026-12-06T21:00", "--setting", "DispDistR=1", "--setting",
          "PlanetPhysicalTable=1", "ArtificialSatellite.40267"},
         {"HIMAWARI-8 (40267)", "元期 2018年01月20日"}},
        {{"text", "--time", "2026-08-01T22:00", "Meteor.Perseids"},
         {"ペルセウス座流星群の放射点", "極大日 8月13日頃"}},
        {{"text", "--time", "2026-12-06T21:00", "Meteor.GEM"},
         {"ふたご座流星群の放射点", "極大日 12月14日頃"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.back());
        const auto r = RunVexclk(c.args);
        ASSERT_EQ(r.status, 0) << r.err;
        for (const std::string& line : c.lines) {
            EXPECT_NE(r.out.find(line), std::string::npos) << line << "\n" << r.out;
        }
        EXPECT_EQ(r.out.find('*'), std::string::npos) << r.out;
        EXPECT_EQ(r.out.find("-.-"), std::string::npos) << r.out;
    }
    // Found by name.
    const std::pair<const char*, const char*> found[] = {
        {"ペルセウス座流星群", "Meteor.Perseids\n"},
        {"Geminids", "Meteor.Geminids\n"},
        {"ISS (ZARYA)", "ArtificialSatellite.25544\n"},
        {"HST", "ArtificialSatellite.20580\n"},
    };
    for (const auto& [name, id] : found) EXPECT_EQ(RunVexclk({"find", name}).out, id) << name;

    // The point beneath the ISS and its height: PyEphem gives 135.851971 E
    // and 406.1 km (examples/iss.replies) and the geocentric latitude
    // 41.520215 N, which is 41.700 N geodetic.
    const auto iss = RunVexclk({"text", "--time", "2018-01-20T12:15Z", "--setting",
                                "PlanetPhysicalTable=1", "ArtificialSatellite.25544"});
    EXPECT_NE(iss.out.find("直下点 東経135ﾟ51'"), std::string::npos) << iss.out;
    EXPECT_NE(iss.out.find("北緯41ﾟ41'"), std::string::npos) << iss.out;
    EXPECT_NE(iss.out.find("高度 406."), std::string::npos) << iss.out;
}

}  // namespace
