#include "daylight/year.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace daycalc {
namespace {

using rt::Number;

struct Planet {
    double tiltDegrees;
    double latitudeDegrees;
    Number T;     // the axial tilt
    Number L;     // the latitude
    Number RP;    // the length of one solar day
    Number Y;     // the length of the year
    Number tanL;  // the two tangents every point of the year multiplies
    Number tanT;
};

// Read as the window reads its boxes, in the window's order.
Planet Read(const DaylightInputs& in) {
    const double tilt = rt::ValFromText(in.tilt);
    const double latitude = rt::ValFromText(in.latitude);
    const Number T = Radians(tilt);
    const Number L = Radians(latitude);
    const Number RP = rt::ValFromText(in.solarDay);
    const Number Y = rt::ValFromText(in.year);
    return {tilt, latitude, T, L, RP, Y, rt::Tan(L), rt::Tan(T)};
}

// The cosine of a point of the year as the window takes it, but 0 at the equinoxes: there the
// cosine of a rounded right angle is 6e-17, which the tangents at a pole or of a tilt of 90°
// (1.6e16) would blow up into a polar day on one equinox and a sunrise on the other.
Number CosineAt(double degrees) {
    if (degrees == 90 || degrees == 270) return 0;
    return rt::Cos(Radians(degrees));
}

YearPoint PointOfYear(const Planet& p, double degrees) {
    const Number dayOfYear = Number(degrees) / 360 * p.Y;
    // The cosine of the sun's hour angle at sunset, as the window's Daylight takes it.
    const Number x2 = p.tanL * CosineAt(degrees) * p.tanT;
    // At or beyond ±1 the sun never sets or never rises that day.
    if (x2 >= 1) return {degrees, dayOfYear.value(), 0, p.RP.value(), Sun::PolarNight};
    if (x2 <= -1) return {degrees, dayOfYear.value(), p.RP.value(), 0, Sun::PolarDay};
    const Number Daylight = aCos(x2) / Radians(180) * p.RP;
    const Number Night = p.RP - Daylight;
    return {degrees, dayOfYear.value(), Daylight.value(), Night.value(), Sun::Rises};
}

struct PolarSpans {
    std::optional<PolarSpan> day;
    std::optional<PolarSpan> night;
};

// A span of half-width w radians around a solstice, in degrees and in the unit of the year.
PolarSpan SpanAround(double solstice, Number w, const Planet& p) {
    const Number halfDegrees = w / Radians(180) * 180;
    const Number length = w / Radians(180) * p.Y;
    if (solstice == 0) {
        const double start = halfDegrees.value() > 0 ? 360 - halfDegrees.value() : 0;
        return {start, halfDegrees.value(), length.value()};
    }
    return {(Number(solstice) - halfDegrees).value(), (Number(solstice) + halfDegrees).value(),
            length.value()};
}

PolarSpans SpansOf(const Planet& p) {
    // x2 at the winter solstice; at the summer solstice it is the same with the other sign.
    const Number k = p.tanL * p.tanT;
    const bool sunStaysUpOrDown = std::fabs(k.value()) >= 1;
    const bool beyondPolarCircle = !(Radians(90) - p.T >= p.L);
    if (!sunStaysUpOrDown && !beyondPolarCircle) return {};
    // 1/k, formed as the window forms it for its Full Daylight beyond the polar circle, so that
    // the year stops where the window stops (no tilt beyond the pole).
    const Number x = rt::Tan(Radians(90) - p.L) / p.tanT;
    if (!sunStaysUpOrDown) return {};
    // The sun stays up, or down, for aCos(|x|) either side of a solstice; for no time at all
    // where x has rounded to ±1.
    const Number absX = std::fabs(x.value());
    const Number w = absX >= 1 ? Number(0) : aCos(absX);
    const PolarSpan aroundWinter = SpanAround(0, w, p);
    const PolarSpan aroundSummer = SpanAround(180, w, p);
    // With k above 1 the winter solstice is polar night; with k below -1, polar day.
    if (k >= 1) return {.day = aroundSummer, .night = aroundWinter};
    return {.day = aroundWinter, .night = aroundSummer};
}

YearView Year(const Planet& p, double step) {
    std::vector<YearPoint> points;
    for (int k = 0; k * step < 360; ++k) points.push_back(PointOfYear(p, k * step));
    points.push_back(PointOfYear(p, 360));
    // Daylight changes one way between the solstices, so they hold the year's extremes.
    const double winter = PointOfYear(p, 0).daylight;
    const double summer = PointOfYear(p, 180).daylight;
    PolarSpans spans = SpansOf(p);
    return {.tilt = p.tiltDegrees,
            .latitude = p.latitudeDegrees,
            .solarDay = p.RP.value(),
            .year = p.Y.value(),
            .points = std::move(points),
            .shortestDaylight = std::min(winter, summer),
            .longestDaylight = std::max(winter, summer),
            .polarDay = spans.day,
            .polarNight = spans.night};
}

}  // namespace

std::string_view SunName(Sun sun) {
    switch (sun) {
        case Sun::Rises:
            return "rises";
        case Sun::PolarDay:
            return "polar-day";
        case Sun::PolarNight:
            return "polar-night";
    }
    return "";
}

YearOutcome ComputeYear(const DaylightInputs& inputs, double stepDegrees) try {
    const double step = std::isnan(stepDegrees)
                            ? kCoarsestYearStep
                            : std::clamp(stepDegrees, kFinestYearStep, kCoarsestYearStep);
    return Year(Read(inputs), step);
} catch (const rt::Fault& fault) {
    return fault;
}

}  // namespace daycalc
