#include "sky/small_body_catalog.h"

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>

namespace solar {
namespace {

std::vector<std::string> SplitTabs(const std::string& line) {
    std::vector<std::string> fields;
    std::stringstream in(line);
    for (std::string field; std::getline(in, field, '\t');) fields.push_back(field);
    if (!line.empty() && line.back() == '\t') fields.emplace_back();
    return fields;
}

// A decimal number filling the whole field; an empty field is NaN when
// `optional`, an error otherwise.
bool ParseNumber(const std::string& text, bool optional, double* out) {
    if (text.empty()) {
        *out = NAN;
        return optional;
    }
    char* end = nullptr;
    const double v = std::strtod(text.c_str(), &end);
    if (end != text.c_str() + text.size() || !std::isfinite(v)) return false;
    *out = v;
    return true;
}

}  // namespace

bool LoadSmallBodies(const std::string& path, std::vector<SmallBody>* bodies, std::string* error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        *error = path + ": cannot be read";
        return false;
    }
    std::vector<SmallBody> out;
    std::map<std::string, size_t> column;
    int line_number = 0;
    auto fail = [&](const std::string& why) {
        *error = path + ":" + std::to_string(line_number) + ": " + why;
        return false;
    };
    for (std::string line; std::getline(in, line);) {
        ++line_number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        const std::vector<std::string> f = SplitTabs(line);
        if (column.empty()) {
            for (size_t i = 0; i < f.size(); ++i) column[f[i]] = i;
            for (const char* name :
                 {"kind", "id", "designation", "name_en", "name_ja", "number", "epoch_jd_tt",
                  "q_au", "e", "i_deg", "node_deg", "peri_arg_deg", "tp_jd_tt", "h", "g", "m1",
                  "k1", "radius_km"}) {
                if (!column.count(name)) return fail(std::string("no column ") + name);
            }
            continue;
        }
        if (f.size() != column.size()) return fail("wrong number of fields");
        auto text = [&](const char* name) -> const std::string& { return f[column[name]]; };
        SmallBody b;
        if (text("kind") == "comet") {
            b.kind = SmallBody::Kind::kComet;
        } else if (text("kind") == "minor") {
            b.kind = SmallBody::Kind::kMinorPlanet;
        } else {
            return fail("unknown kind " + text("kind"));
        }
        b.id = text("id");
        b.designation = text("designation");
        b.name_en = text("name_en");
        b.name_ja = text("name_ja");
        if (b.id.empty() || b.id.find('.') != std::string::npos) return fail("bad id");
        double number = NAN;
        OrbitalElements& el = b.elements;
        const bool numbers_ok =
            ParseNumber(text("number"), true, &number) &&
            ParseNumber(text("epoch_jd_tt"), false, &el.epoch_jd_tt) &&
            ParseNumber(text("q_au"), false, &el.perihelion_distance_au) &&
            ParseNumber(text("e"), false, &el.eccentricity) &&
            ParseNumber(text("i_deg"), false, &el.inclination_deg) &&
            ParseNumber(text("node_deg"), false, &el.node_deg) &&
            ParseNumber(text("peri_arg_deg"), false, &el.perihelion_argument_deg) &&
            ParseNumber(text("tp_jd_tt"), false, &el.perihelion_jd_tt) &&
            ParseNumber(text("h"), true, &b.h) && ParseNumber(text("g"), true, &b.g) &&
            ParseNumber(text("m1"), true, &b.m1) && ParseNumber(text("k1"), true, &b.k1) &&
            ParseNumber(text("radius_km"), true, &b.radius_km);
        if (!numbers_ok) return fail("a number field is not a number");
        if (!IsValid(el)) return fail("elements do not describe an orbit");
        b.number = std::isfinite(number) ? static_cast<int>(number) : 0;
        out.push_back(std::move(b));
    }
    if (column.empty()) {
        line_number = 0;
        return fail("no column line");
    }
    *bodies = std::move(out);
    return true;
}

}  // namespace solar
