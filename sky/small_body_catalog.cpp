#include "sky/small_body_catalog.h"

#include <cmath>
#include <optional>

#include "sky/tsv.h"

namespace solar {
namespace {

using sky::CTsvFile;

// A field that may be empty: NaN then.
bool OptionalNumber(const CTsvFile& f, const CTsvFile::Column& c, double* out, std::string* error) {
    std::optional<double> value;
    if (!f.Optional(c, &value, error)) return false;
    *out = value.value_or(NAN);
    return true;
}

bool Text(const CTsvFile& f, const CTsvFile::Column& c, std::string* out, std::string* error) {
    CString text;
    if (!f.Text(c, &text, error)) return false;
    *out = text.ToUtf8();
    return true;
}

}  // namespace

bool LoadSmallBodies(const std::string& path, std::vector<SmallBody>* bodies, std::string* error) {
    error->clear();
    CTsvFile f;
    if (!f.Open(path, error)) return false;
    const CTsvFile::Column kind = f.Bind("kind"), id = f.Bind("id"),
                           designation = f.Bind("designation"), nameEn = f.Bind("name_en"),
                           nameJa = f.Bind("name_ja"), number = f.Bind("number"),
                           epoch = f.Bind("epoch_jd_tt"), q = f.Bind("q_au"), e = f.Bind("e"),
                           i = f.Bind("i_deg"), node = f.Bind("node_deg"),
                           peri = f.Bind("peri_arg_deg"), tp = f.Bind("tp_jd_tt"), h = f.Bind("h"),
                           g = f.Bind("g"), m1 = f.Bind("m1"), k1 = f.Bind("k1"),
                           radius = f.Bind("radius_km");
    if (!f.ColumnsFound(error)) return false;
    std::vector<SmallBody> out;
    out.reserve(f.RowsAtMost());
    while (f.Next(error)) {
        SmallBody b;
        std::string kindText;
        if (!Text(f, kind, &kindText, error)) return false;
        if (kindText == "comet") {
            b.kind = SmallBody::Kind::kComet;
        } else if (kindText == "minor") {
            b.kind = SmallBody::Kind::kMinorPlanet;
        } else {
            return f.Fail(kind, "unknown kind " + kindText, error);
        }
        if (!Text(f, id, &b.id, error) || !Text(f, designation, &b.designation, error) ||
            !Text(f, nameEn, &b.name_en, error) || !Text(f, nameJa, &b.name_ja, error))
            return false;
        if (b.id.empty() || b.id.find('.') != std::string::npos) return f.Fail(id, "bad id", error);
        OrbitalElements& el = b.elements;
        const bool numbersOk =
            f.Number(number, &b.number, error) && f.Double(epoch, &el.epoch_jd_tt, error) &&
            f.Double(q, &el.perihelion_distance_au, error) &&
            f.Double(e, &el.eccentricity, error) && f.Double(i, &el.inclination_deg, error) &&
            f.Double(node, &el.node_deg, error) &&
            f.Double(peri, &el.perihelion_argument_deg, error) &&
            f.Double(tp, &el.perihelion_jd_tt, error) && OptionalNumber(f, h, &b.h, error) &&
            OptionalNumber(f, g, &b.g, error) && OptionalNumber(f, m1, &b.m1, error) &&
            OptionalNumber(f, k1, &b.k1, error) && OptionalNumber(f, radius, &b.radius_km, error);
        if (!numbersOk) return false;
        if (!IsValid(el)) return f.Fail(q, "elements do not describe an orbit", error);
        out.push_back(std::move(b));
    }
    if (!error->empty()) return false;
    *bodies = std::move(out);
    return true;
}

}  // namespace solar
