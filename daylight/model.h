// The one model of a planet that the single calculation and the year are made of. Each step is
// one expression carried out left to right in the order written, so that every result keeps its
// last digit, and every step is checked: the first invalid operation, division by zero or
// overflow stops the calculation with that fault.
#pragma once

#include "daylight/daylight.h"

namespace daycalc {

using rt::Number;

// The planet as read from the five texts.
struct Planet {
    double tilt;      // in degrees, as read (T is the tilt of its days)
    double latitude;  // in degrees, as read
    Number T;         // the axial tilt
    Number L;         // the latitude
    Number RP;        // the length of one solar day
    Number A;         // how far the planet has gone round since the winter solstice
    Number Y;         // the length of the year
    Number tanL;      // tan L and tan T, which every day's sunset cosine takes
    Number tanT;
};

// A view of the whole year runs through every point of it, so it leaves the point of the year
// unread (A is 0) and no text there can stop it.
enum class PointOfYear { Read, Unread };

// The tilt whose days a tilt has. One between 90 and 180 swings the sun's declination through the
// same angle as 180 − T: only the sense of the spin differs, and the solar day already holds that.
// 180 − T is exact there. Every other tilt is its own.
inline double TiltOfTheDays(double tilt) { return tilt > 90 && tilt < 180 ? 180 - tilt : tilt; }

// Reads the texts in the order of the table, the three angles into radians.
inline Planet ReadPlanet(const DaylightInputs& in, PointOfYear point) {
    const double tilt = rt::ValFromText(in.tilt);
    const double latitude = rt::ValFromText(in.latitude);
    const Number T = Radians(TiltOfTheDays(tilt));
    const Number L = Radians(latitude);
    const Number RP = rt::ValFromText(in.solarDay);
    const Number A =
        point == PointOfYear::Read ? Radians(rt::ValFromText(in.fromSolstice)) : Number(0);
    const Number Y = rt::ValFromText(in.year);
    return {tilt, latitude, T, L, RP, A, Y, rt::Tan(L), rt::Tan(T)};
}

// Latitudes run from -90 at the south pole to 90 at the north pole.
inline bool WithinThePoles(const Planet& p) { return std::fabs(p.latitude) <= 90; }

// The polar circle lies at 90° minus the tilt; a latitude exactly on it is not beyond it.
inline bool BeyondPolarCircle(const Planet& p) { return !(Radians(90) - p.T >= p.L); }

// The cosine of the sun's hour angle at sunset on a day whose declination is taken as tan T
// scaled by cos A. At 1 or beyond the sun does not rise that day; at -1 or beyond it does not set.
inline Number SunsetCosine(const Planet& p, Number cosA) { return p.tanL * cosA * p.tanT; }

// The share of a whole that an angle of aCos(c) either side of a midpoint covers, of a whole
// turn: aCos(c) / π of it. Daylight is this share of the solar day for the sunset cosine, the
// full daylight this share of the year for the full-daylight quotient.
inline Number ShareOf(Number c, Number whole) { return aCos(c) / Radians(180) * whole; }

// tan(90° − L) / |tan T|: beyond the polar circle, the cosine of the orbit angle from the solstice
// of the polar day at which the sun first sets. A tilt of 180 has a tan T a rounding below 0, and
// a negative tilt a negative one, hence the magnitude. With no tilt it is a division by zero, with
// a tilt too small for the latitude an overflow.
inline Number FullDaylightQuotient(const Planet& p) {
    return rt::Tan(Radians(90) - p.L) / Abs(p.tanT);
}

}  // namespace daycalc
