// Comets and minor planets: two-body motion about the Sun from osculating
// elements, and their magnitudes.
//
// Elements are heliocentric and referred to the mean ecliptic and equinox
// of J2000, as the JPL small-body database gives them; times are Julian
// Days of TT; distances in au; angles in degrees.  Positions come back on
// ICRS axes (solar_ephemeris.h) in au.
#pragma once

#include <cmath>
#include <string>

#include "sky/solar_ephemeris.h"

namespace solar {

// Gaussian gravitational constant (IAU 1976): the Sun's GM is k^2 au^3/d^2,
// the mass of the body neglected.
constexpr double kGaussK = 0.01720209895;

// One orbit in the perihelion form that covers ellipses, parabolas and
// hyperbolas alike.
struct OrbitalElements {
    double epoch_jd_tt = 0.0;              // epoch of osculation (for the record)
    double perihelion_distance_au = 0.0;   // q > 0
    double eccentricity = 0.0;             // e >= 0: < 1 ellipse, 1 parabola, > 1 hyperbola
    double inclination_deg = 0.0;          // i, to the ecliptic J2000
    double node_deg = 0.0;                 // longitude of the ascending node
    double perihelion_argument_deg = 0.0;  // argument of perihelion
    double perihelion_jd_tt = 0.0;         // time of perihelion passage
};

// Whether the elements describe an orbit: finite values, q > 0, e >= 0.
bool IsValid(const OrbitalElements& elements);

// Mean motion n = k / sqrt(|a|^3) in radians per day for an ellipse or a
// hyperbola (a = q / (1 - e)); for a parabola the "mean motion" of
// Barker's equation, k / sqrt(2 q^3).  NaN for invalid elements.
double MeanMotion(const OrbitalElements& elements);

// Semi-major axis q / (1 - e), au: NaN for a parabola or a hyperbola.
double SemiMajorAxis(const OrbitalElements& elements);

// Period of revolution a^1.5, Julian years of 365.25 days (Kepler's third
// law with the Sun's GM k^2): NaN for an open orbit.
double PeriodYears(const OrbitalElements& elements);

// Heliocentric position at a TT Julian Day, au, ICRS axes: pure two-body
// motion (no planetary perturbations: the elements of an epoch a few years
// away give arcminutes of error for a main-belt minor planet and more for
// a comet near a planet).  Solved with universal variables and Stumpff
// functions (Danby, Fundamentals of Celestial Mechanics, 2nd ed., 6.9;
// Goodyear 1965), which treat every conic the same way and stay accurate
// near e = 1.  NaN components for invalid elements or time.
Vec3 KeplerHeliocentric(const OrbitalElements& elements, double jd_tt);

// Apparent magnitude of a minor planet by the IAU H, G system (Bowell et
// al. 1989, Asteroids II, 524): H absolute magnitude, G slope parameter,
// r heliocentric and delta observer distance (au), phase angle in degrees.
// NaN when H is not finite or a distance is not positive.
double MinorPlanetMagnitude(double h, double g, double r_au, double delta_au,
                            double phase_angle_deg);

// Total magnitude of a comet, m = M1 + 5 log10(delta) + K1 log10(r), the
// JPL small-body database's convention; K1 = 10 (activity rising as r^-4,
// the classical law) unless the caller knows better.  NaN when M1 is not
// finite or a distance is not positive.
constexpr double kDefaultCometK1 = 10.0;
double CometMagnitude(double m1, double k1, double r_au, double delta_au);

// One comet or minor planet of the catalogue (small_body_catalog.h).
struct SmallBody {
    enum class Kind { kComet, kMinorPlanet };
    Kind kind = Kind::kMinorPlanet;
    std::string id;           // the identifier's last part: "1P", "C/2020F3", "1", "2001FO32"
    std::string designation;  // as published: "1P/Halley", "1 Ceres (A801 AA)"
    std::string name_en;      // "Halley", "Ceres"; may be empty
    std::string name_ja;      // "ハレー彗星", "ケレス"; may be empty
    int number = 0;           // minor-planet number, 0 when unnumbered
    OrbitalElements elements;
    double h = NAN;          // minor planet: absolute magnitude H
    double g = NAN;          // minor planet: slope parameter G (0.15 when unknown)
    double m1 = NAN;         // comet: total absolute magnitude M1
    double k1 = NAN;         // comet: activity slope K1
    double radius_km = NAN;  // mean radius, km, when known
};

// Magnitude of a catalogue body at the distances and phase angle given.
double SmallBodyMagnitude(const SmallBody& body, double r_au, double delta_au,
                          double phase_angle_deg);

}  // namespace solar
