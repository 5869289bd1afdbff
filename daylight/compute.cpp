#include "explain.h"
#include "model.h"

namespace daycalc {
namespace {

using rt::TextFromDouble;

DaylightResults NonPolar(const Planet& p, Stage& stage) {
    stage = Stage::ShortestDay;
    // The shortest day divides by the tangent of the co-tilt: tan L · tan T at the solstice.
    const Number x1 = p.tanL / rt::Tan(Radians(90) - p.T);
    const Number MinDay = ShareOf(x1, p.RP);
    const Number MaxDay = p.RP - MinDay;
    stage = Stage::ChosenDay;
    const Number x2 = SunsetCosine(p, rt::Cos(p.A));
    const Number Daylight = ShareOf(x2, p.RP);
    const Number Night = p.RP - Daylight;
    return {.polar = false,
            .minDay = TextFromDouble(MinDay.value()),
            .maxDay = TextFromDouble(MaxDay.value()),
            .daylight = TextFromDouble(Daylight.value()),
            .night = TextFromDouble(Night.value()),
            .fullDaylight = ""};
}

DaylightResults Polar(const Planet& p, Stage& stage) {
    stage = Stage::FullDaylight;
    // Beyond the polar circle the shortest day is none and the longest is the whole solar day;
    // the sun stays up while its declination exceeds the co-latitude.
    const Number x = FullDaylightQuotient(p);
    const Number FullDaylight = ShareOf(x, p.Y);
    return {.polar = true,
            .minDay = "0",
            .maxDay = TextFromDouble(p.RP.value()),
            .daylight = "",
            .night = "",
            .fullDaylight = TextFromDouble(FullDaylight.value())};
}

}  // namespace

DaylightResults Calculate(const Planet& p, Stage& stage) {
    return BeyondPolarCircle(p) ? Polar(p, stage) : NonPolar(p, stage);
}

DaylightOutcome ComputeDaylight(const DaylightInputs& inputs) {
    Stage stage = Stage::Reading;
    try {
        const Planet p = ReadPlanet(inputs, PointOfYear::Read);
        if (!WithinThePoles(p)) return BeyondThePole(inputs, p.latitude, Mode::Single);
        return Calculate(p, stage);
    } catch (const rt::Fault& fault) {
        return Explain(inputs, fault.kind(), stage, Mode::Single);
    }
}

}  // namespace daycalc
