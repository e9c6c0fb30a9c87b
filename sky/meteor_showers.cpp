#include "sky/meteor_showers.h"

#include <cmath>

#include "sky/tsv.h"

namespace meteor {

namespace {

using sky::CTsvFile;

// The Sun's mean motion in longitude, degrees per day (360 degrees in the
// mean tropical year of 365.2422 days).
constexpr double kSunDegPerDay = 360.0 / 365.2422;

// An angle difference in (-180, 180].
double Signed(double deg) {
    double d = std::fmod(deg, 360.0);
    if (d > 180.0) d -= 360.0;
    if (d <= -180.0) d += 360.0;
    return d;
}

bool Longitude(const CTsvFile& f, const CTsvFile::Column& c, double* out, std::string* error) {
    if (!f.Double(c, out, error)) return false;
    if (*out < 0.0 || *out >= 360.0) return f.Fail(c, "not within 0..360", error);
    return true;
}

}  // namespace

bool LoadShowers(const std::string& path, std::vector<Shower>* showers, std::string* error) {
    error->clear();
    CTsvFile f;
    if (!f.Open(path, error)) return false;
    const CTsvFile::Column id = f.Bind("id"), code = f.Bind("code"), iau = f.Bind("iau_number"),
                           nameEn = f.Bind("name_en"), nameJa = f.Bind("name_ja"),
                           peak = f.Bind("peak_lambda_deg"), start = f.Bind("start_lambda_deg"),
                           end = f.Bind("end_lambda_deg"), ra = f.Bind("ra_deg"),
                           dec = f.Bind("dec_deg"), driftRa = f.Bind("drift_ra_deg_day"),
                           driftDec = f.Bind("drift_dec_deg_day"), speed = f.Bind("speed_km_s"),
                           zhr = f.Bind("zhr"), zhrVariable = f.Bind("zhr_variable");
    if (!f.ColumnsFound(error)) return false;
    std::vector<Shower> out;
    while (f.Next(error)) {
        Shower s;
        const bool ok = f.Text(id, &s.id, error) && f.Text(code, &s.code, error) &&
                        f.Number(iau, &s.iau_number, error) && f.Text(nameEn, &s.name_en, error) &&
                        f.Text(nameJa, &s.name_ja, error) &&
                        Longitude(f, peak, &s.peak_lambda_deg, error) &&
                        Longitude(f, start, &s.start_lambda_deg, error) &&
                        Longitude(f, end, &s.end_lambda_deg, error) &&
                        f.Position(ra, dec, &s.ra_deg, &s.dec_deg, error) &&
                        f.Double(driftRa, &s.drift_ra_deg_day, error) &&
                        f.Double(driftDec, &s.drift_dec_deg_day, error) &&
                        f.Optional(speed, &s.speed_km_s, error) && f.Optional(zhr, &s.zhr, error) &&
                        f.Text(zhrVariable, &s.zhr_variable, error);
        if (!ok) return false;
        if (s.id.IsEmpty() || s.id.Find(u'.') >= 0) return f.Fail(id, "bad id", error);
        if (std::fabs(s.drift_ra_deg_day) > 10.0 || std::fabs(s.drift_dec_deg_day) > 10.0) {
            return f.Fail(driftRa, "drift beyond 10 degrees a day", error);
        }
        out.push_back(std::move(s));
    }
    if (!error->empty()) return false;
    *showers = std::move(out);
    return true;
}

const Shower* FindShower(const std::vector<Shower>& showers, std::u16string_view name) {
    const CString key{std::u16string(name)};
    for (const Shower& s : showers) {
        if (s.id.CompareNoCase(key) == 0 || s.code.CompareNoCase(key) == 0) return &s;
    }
    return nullptr;
}

Radiant RadiantAt(const Shower& s, double sun_lambda_deg) {
    if (!std::isfinite(sun_lambda_deg)) return {NAN, NAN};
    // Solar longitude from the peak, within the activity period (which may
    // run across 0 degrees: the gamma-Normids from 335 to 8).
    const double first = Signed(s.start_lambda_deg - s.peak_lambda_deg);
    const double last = Signed(s.end_lambda_deg - s.peak_lambda_deg);
    double from_peak = Signed(sun_lambda_deg - s.peak_lambda_deg);
    if (from_peak < first || from_peak > last) {
        // Outside the period: the nearer end, measured round the circle.
        const double toFirst = std::fabs(Signed(from_peak - first));
        const double toLast = std::fabs(Signed(from_peak - last));
        from_peak = toFirst < toLast ? first : last;
    }
    const double days = from_peak / kSunDegPerDay;
    double ra = std::fmod(s.ra_deg + s.drift_ra_deg_day * days, 360.0);
    if (ra < 0.0) ra += 360.0;
    const double dec = std::fmax(-90.0, std::fmin(90.0, s.dec_deg + s.drift_dec_deg_day * days));
    return {ra, dec};
}

CString ShortJapaneseName(const Shower& s) {
    static const CString word = u"流星群";
    CString name = s.name_ja;
    if (name.GetLength() > word.GetLength() && name.Right(word.GetLength()) == word) {
        name = name.Left(name.GetLength() - word.GetLength());
    }
    return name;
}

}  // namespace meteor
