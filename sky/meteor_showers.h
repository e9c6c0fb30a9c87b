// Meteor showers and their radiants (data/meteor_showers.tsv, the IMO
// working list as tools/make_meteor_showers.py writes it).
//
// A radiant moves among the stars as the Earth goes round the Sun: the
// list gives its place at the peak and its drift per day, and the radiant
// on another day is the place at the peak plus the drift times the days
// from the peak (the IMO Meteor Shower Calendar's own rule; its tables of
// radiant positions at five-day steps follow it).  Days are counted in
// solar longitude at the Sun's mean motion.  Outside the activity period
// the radiant stays where it is at the nearer end of the period.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/cstring.h"

namespace meteor {

struct Shower {
    CString id;    // the engine's name: "Perseids", "EtaAquariids"
    CString code;  // IAU code: "PER"
    int iau_number = 0;
    CString name_en;  // "Perseids", "η-Aquariids"
    CString name_ja;  // "ペルセウス座流星群"
    // Solar longitudes, J2000, degrees [0, 360): peak, start and end of activity.
    double peak_lambda_deg = 0.0, start_lambda_deg = 0.0, end_lambda_deg = 0.0;
    double ra_deg = 0.0, dec_deg = 0.0;  // radiant at the peak, J2000
    double drift_ra_deg_day = 0.0, drift_dec_deg_day = 0.0;
    std::optional<double> speed_km_s;  // geocentric
    std::optional<double> zhr;         // none for a variable shower
    CString zhr_variable;              // "5-20" for a variable shower
};

// Reads the list.  False with "PATH:LINE: reason" in *error for a missing
// or malformed file or a value out of range.
bool LoadShowers(const std::string& path, std::vector<Shower>* showers, std::string* error);

// The shower whose id or IAU code is `name` (case ignored), or none.
const Shower* FindShower(const std::vector<Shower>& showers, std::u16string_view name);

// The radiant, J2000 RA and Dec in degrees, when the Sun stands at the solar
// longitude sun_lambda_deg (J2000, degrees).
struct Radiant {
    double ra_deg;
    double dec_deg;
};
Radiant RadiantAt(const Shower& shower, double sun_lambda_deg);

// The Japanese name without its last word 流星群 ("ペルセウス座"), as the
// engine's ".Name" answers and the texts append 流星群 themselves.
CString ShortJapaneseName(const Shower& shower);

}  // namespace meteor
