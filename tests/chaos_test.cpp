// The text builders against an engine that answers every query with
// nonsense: they must neither crash, throw nor hang, whatever the reply.
#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>

#include "clickdata/click_data.h"
#include "settings/cdstatus.h"

namespace {

// A CCorLum answering each query with a seeded random pick of empty, "*",
// garbage, 1 MiB, negative, NaN/inf and deeply nested texts (the getters
// ask through Doit too).  One loaded system "Sys" lets user objects be
// classified.
class CChaosEngine : public CCorLum {
  public:
    explicit CChaosEngine(unsigned seed) : m_random(seed) {}
    CString Doit(const CString& command) override {
        if (command == u"? AdfSystem.#1.File") return u"sys.adf";
        if (command == u"? AdfSystem.#1.ObjectName") return u"Sys";
        return Pick();
    }

  private:
    CString Pick() {
        static const CString huge[] = {CString(std::u16string(1 << 20, u'9')),
                                       CString(std::u16string(1 << 20, u'x')),
                                       CString(std::u16string(1 << 20, u','))};
        static const char16_t* const numbers[] = {
            u"-1",   u"-0",    u"-2147483649", u"-1e308", u"nan",  u"-NaN",    u"inf",
            u"-inf", u"1e999", u"12.5",        u"0",      u"TRUE", u"1,2,3,4", u"2451545.0"};
        const unsigned kind = Below(32);  // a huge reply is rare: it costs
        if (kind < 4) return CString();
        if (kind < 8) return u"*";
        if (kind < 9) return huge[Below(std::size(huge))];
        if (kind < 16) return numbers[Below(std::size(numbers))];
        if (kind < 20) {  // nested call forms, sometimes left open
            const size_t depth = Below(5000);
            return CString(std::u16string(depth, u'(') + u"1" +
                           std::u16string(Below(2) ? depth : depth / 2, u')'));
        }
        std::u16string garbage(Below(64), u' ');  // any units, lone surrogates included
        for (char16_t& c : garbage) c = static_cast<char16_t>(Below(4) ? Below(128) : Below(65536));
        return CString(garbage);
    }
    unsigned Below(size_t n) { return static_cast<unsigned>(m_random() % n); }
    std::mt19937 m_random;
};

}  // namespace

TEST(Chaos, EveryTextSurvivesAnyReply) {
    const char16_t* const objects[] = {u"Star.HIP32349",
                                       u"Constellation.Ori",
                                       u"Equatorial(5.5,-5.4)",
                                       u"Solar.Planet.Mars",
                                       u"DeepSky.M42",
                                       u"MagellanicCloud.LMC",
                                       u"ArtificialSatellite.25544",
                                       u"DeepSkyImage.1",
                                       u"Meteor.Perseids",
                                       u"Sys.Object1",
                                       u"Adf.1",
                                       u"FieldOfViewCircle.1",
                                       u"AngleOfView.Camera1",
                                       u"MosaicOfField.1"};
    for (unsigned seed = 1; seed <= 6; ++seed) {
        std::mt19937 random(seed);  // a sample of the setting combinations
        CCdStatus status;
        for (const auto& f : CCdStatus::Fields())
            status.*(f.member) =
                f.kind == CCdStatus::Kind::Flag ? int(random() % 2) : int(random() % 5) - 1;
        CChaosEngine engine(seed);
        CLumClickData data;
        data.SetStatus(&status);
        data.SetExtraOption(random() % 2);
        data.SetNotEarth(random() % 2);
        data.SetOriginNorth(random() % 2);
        std::set<int> types;
        for (const char16_t* object : objects) {
            types.insert(data.ClassifyObject(&engine, object));
            for (const int title : {1, 0}) {
                EXPECT_NO_THROW(data.GetText(&engine, object, title)) << seed;
            }
        }
        EXPECT_EQ(types.size(), 14u) << seed;  // every type was driven
    }
}
