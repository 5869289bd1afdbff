#include "daylight/daylight.h"

namespace daycalc {
namespace {

using rt::Number;
using rt::TextFromDouble;

struct Quantities {
    Number T;   // the axial tilt
    Number L;   // the latitude
    Number RP;  // the length of one solar day
    Number A;   // how far the planet has gone round since the winter solstice
    Number Y;   // the length of the year
};

Quantities Read(const DaylightInputs& in) {
    const Number T = Radians(rt::ValFromText(in.tilt));
    const Number L = Radians(rt::ValFromText(in.latitude));
    const Number RP = rt::ValFromText(in.solarDay);
    const Number A = Radians(rt::ValFromText(in.fromSolstice));
    const Number Y = rt::ValFromText(in.year);
    return {T, L, RP, A, Y};
}

DaylightResults NonPolar(const Quantities& in) {
    const auto& [T, L, RP, A, Y] = in;
    // The shortest day divides by the tangent of the co-tilt: tan L · tan T at the solstice.
    const Number x1 = rt::Tan(L) / rt::Tan(Radians(90) - T);
    // Sunset's hour angle over π is the share of the solar day in sunlight.
    const Number MinDay = aCos(x1) / Radians(180) * RP;
    const Number MaxDay = RP - MinDay;
    // On the chosen day the sun's declination is taken as tan T scaled by cos A.
    const Number x2 = rt::Tan(L) * rt::Cos(A) * rt::Tan(T);
    const Number Daylight = aCos(x2) / Radians(180) * RP;
    const Number Night = RP - Daylight;
    return {.minDay = TextFromDouble(MinDay.value()),
            .maxDay = TextFromDouble(MaxDay.value()),
            .daylight = TextFromDouble(Daylight.value()),
            .night = TextFromDouble(Night.value()),
            .fullDaylight = ""};
}

DaylightResults Polar(const Quantities& in) {
    const auto& [T, L, RP, A, Y] = in;
    // Beyond the polar circle the shortest day is none and the longest is the whole solar day.
    // The sun stays up while its declination exceeds the co-latitude.
    const Number x = rt::Tan(Radians(90) - L) / rt::Tan(T);
    const Number FullDaylight = aCos(x) / Radians(180) * Y;
    return {.minDay = "0",
            .maxDay = TextFromDouble(RP.value()),
            .daylight = "",
            .night = "",
            .fullDaylight = TextFromDouble(FullDaylight.value())};
}

}  // namespace

DaylightOutcome ComputeDaylight(const DaylightInputs& inputs) try {
    const Quantities q = Read(inputs);
    // The polar circle lies at 90° minus the tilt; a latitude exactly on it is not polar.
    const Number H = Radians(90) - q.T;
    if (H >= q.L) return NonPolar(q);
    return Polar(q);
} catch (const rt::Fault& fault) {
    return fault;
}

}  // namespace daycalc
