// The coordinate texts of the information window: every form and level,
// carries and signs (cases in tests/data/coord_format.tsv), and values far
// out of range.
#include "host/coord_format.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/test_support.h"

namespace {

using Formatter = CString (*)(double, int);

struct Function {
    const char* name;
    Formatter format;
};

const Function kFunctions[] = {
    {"RA", &CCommonCoordFormat::CoordFormatRA},
    {"RADeg", &CCommonCoordFormat::CoordFormatRADeg},
    {"Latitude", &CCommonCoordFormat::CoordFormatLatitude},
    {"LatitudeDeg", &CCommonCoordFormat::CoordFormatLatitudeDeg},
    {"Longitude", &CCommonCoordFormat::CoordFormatLongitude},
    {"LongitudeDeg", &CCommonCoordFormat::CoordFormatLongitudeDeg},
};

Formatter Find(const std::string& name) {
    for (const Function& f : kFunctions) {
        if (name == f.name) return f.format;
    }
    return nullptr;
}

// A value of tests/data/coord_format.tsv: a decimal number, or [-]A:B:C,
// A + B/60 + C/3600 in that order (the double a reader of the sexagesimal
// text computes), times 15 with a trailing "h".
double Value(std::string text) {
    const bool hours = !text.empty() && text.back() == 'h';
    if (hours) text.pop_back();
    const bool negative = text.rfind("-", 0) == 0 && text.find(':') != std::string::npos;
    double a = 0.0, b = 0.0, c = 0.0;
    if (std::sscanf(text.c_str() + negative, "%lf:%lf:%lf", &a, &b, &c) != 3) {
        return std::strtod(text.c_str(), nullptr);
    }
    const double value = a + b / 60.0 + c / 3600.0;
    return (negative ? -value : value) * (hours ? 15.0 : 1.0);
}

TEST(CoordFormat, FormsCarriesAndSigns) {
    const auto rows = ReadRefTable(VEXCLK_SOURCE_DIR "/tests/data/coord_format.tsv");
    ASSERT_GT(rows.size(), 40u);
    for (const RefRow& row : rows) {
        const Formatter format = Find(row.Text("function"));
        ASSERT_NE(format, nullptr) << row.Text("function");
        SCOPED_TRACE(row.Text("function") + " " + row.Text("value") + " level " +
                     row.Text("level"));
        EXPECT_EQ(U8(format(Value(row.Text("value")), std::stoi(row.Text("level")))),
                  row.Text("expected"));
    }
}

TEST(CoordFormat, HugeValuesNeverOverflow) {
    // Right ascension and longitude reduce any finite value to one turn.
    EXPECT_EQ(CCommonCoordFormat::CoordFormatRA(1e300, 4).GetLength(), 13);
    EXPECT_EQ(CCommonCoordFormat::CoordFormatRADeg(-1e300, 4).GetLength(), 12);
    EXPECT_EQ(CCommonCoordFormat::CoordFormatLongitude(1e300, 4).GetLength(), 13);
    // A latitude beyond 90ﾟ prints as it is, so the fault shows; one beyond
    // any sense prints as missing.
    EXPECT_EQ(U8(CCommonCoordFormat::CoordFormatLatitude(123.5, 2)), "+123ﾟ30'00\"");
    EXPECT_EQ(CCommonCoordFormat::CoordFormatLatitude(1e300, 4),
              CCommonCoordFormat::CoordFormatLatitude(0.0, -4));
    EXPECT_EQ(CCommonCoordFormat::CoordFormatLatitudeDeg(-1e300, 4),
              CCommonCoordFormat::CoordFormatLatitudeDeg(0.0, -4));
}

}  // namespace
