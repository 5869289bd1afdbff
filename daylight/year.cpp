#include "daylight/year.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <utility>

#include "explain.h"
#include "model.h"

namespace daycalc {
namespace {

// The cosine of a point of the year, but 0 at the equinoxes: there the cosine of a rounded right
// angle is 6e-17, which the tangents at a pole or of a tilt of 90° (1.6e16) would blow up into a
// polar day on one equinox and a sunrise on the other.
Number CosineAt(double degrees) {
    if (degrees == 90 || degrees == 270) return 0;
    return rt::Cos(Radians(degrees));
}

YearPoint RowAt(const Planet& p, double degrees) {
    const Number dayOfYear = Number(degrees) / 360 * p.Y;
    const Number x2 = SunsetCosine(p, CosineAt(degrees));
    // At 1 or beyond the sun stays below the horizon all day, at -1 or beyond above it; at
    // exactly ±1 it touches the horizon once, and the day counts with the polar ones.
    if (x2 >= 1) return {degrees, dayOfYear.value(), 0, p.RP.value(), Sun::PolarNight};
    if (x2 <= -1) return {degrees, dayOfYear.value(), p.RP.value(), 0, Sun::PolarDay};
    const Number Daylight = ShareOf(x2, p.RP);
    const Number Night = p.RP - Daylight;
    return {degrees, dayOfYear.value(), Daylight.value(), Night.value(), Sun::Rises};
}

// Beyond the polar circle the single calculation forms the full-daylight quotient, which stops
// it with no tilt or too small a tilt; the year stops there too. Otherwise only the reading can
// stop the year: every row and span below is finite.
void StopWhereTheSingleCalculationStops(const Planet& p) {
    if (BeyondPolarCircle(p)) FullDaylightQuotient(p);
}

// A span of the given half-width around a solstice: degrees and the unit of the year. One around
// the winter solstice starts before 360 and ends after 0.
Span SpanAround(double solstice, Number halfDegrees, Number length) {
    if (solstice == 0) {
        const double start = halfDegrees.value() > 0 ? 360 - halfDegrees.value() : 0;
        return {start, halfDegrees.value(), length.value()};
    }
    return {(Number(solstice) - halfDegrees).value(), (Number(solstice) + halfDegrees).value(),
            length.value()};
}

struct PolarSpans {
    std::optional<Span> day;
    std::optional<Span> night;
};

PolarSpans SpansOf(const Planet& p) {
    // The sunset cosine at the winter solstice; at the summer solstice it has the other sign.
    const Number k = SunsetCosine(p, 1);
    if (!(k >= 1 || k <= -1)) return {};  // the sun rises and sets on every day of the year
    // The sun stays up, or down, for aCos(|x|) either side of a solstice. Where |x| has rounded
    // to 1 or beyond, only the solstice itself is polar: a span of no length.
    const Number absX = std::fabs(FullDaylightQuotient(p).value());
    const bool instant = absX >= 1;
    const Number halfDegrees = instant ? Number(0) : ShareOf(absX, 180);
    const Number length = instant ? Number(0) : ShareOf(absX, p.Y);
    const Span aroundWinter = SpanAround(0, halfDegrees, length);
    const Span aroundSummer = SpanAround(180, halfDegrees, length);
    // With k at or above 1 the winter solstice is polar night; at or below -1, polar day.
    if (k >= 1) return {.day = aroundSummer, .night = aroundWinter};
    return {.day = aroundWinter, .night = aroundSummer};
}

// The year's points go to `point` one by one as they are made, until it wants no more; the view
// returned holds the rest.
YearView Year(const Planet& p, double step, const std::function<bool(const YearPoint&)>& point) {
    StopWhereTheSingleCalculationStops(p);
    bool wanted = true;
    for (int k = 0; wanted && BeforeTheEnd(k * step, step, 360); ++k) {
        wanted = point(RowAt(p, k * step));
    }
    if (wanted) point(RowAt(p, 360));
    // Daylight changes one way between the solstices, so they hold the year's extremes.
    const double winter = RowAt(p, 0).daylight;
    const double summer = RowAt(p, 180).daylight;
    PolarSpans spans = SpansOf(p);
    return {.tilt = p.tilt,
            .latitude = p.latitude,
            .solarDay = p.RP.value(),
            .year = p.Y.value(),
            .points = {},
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

bool YearComputes(const DaylightInputs& inputs) {
    try {
        const Planet p = ReadPlanet(inputs, PointOfYear::Unread);
        if (!WithinThePoles(p)) return false;
        StopWhereTheSingleCalculationStops(p);
        return true;
    } catch (const rt::Fault&) {
        return false;
    }
}

YearOutcome StreamYear(const DaylightInputs& inputs, double stepDegrees,
                       const std::function<bool(const YearPoint&)>& point) {
    const double step = std::isnan(stepDegrees)
                            ? kCoarsestYearStep
                            : std::clamp(stepDegrees, kFinestYearStep, kCoarsestYearStep);
    Stage stage = Stage::Reading;
    try {
        const Planet p = ReadPlanet(inputs, PointOfYear::Unread);
        if (!WithinThePoles(p)) return BeyondThePole(inputs, p.latitude, Mode::Year);
        stage = Stage::FullDaylight;
        return Year(p, step, point);
    } catch (const rt::Fault& fault) {
        return Explain(inputs, fault.kind(), stage, Mode::Year);
    }
}

YearOutcome YearAsRead(const DaylightInputs& inputs) {
    return StreamYear(inputs, kCoarsestYearStep, [](const YearPoint&) { return false; });
}

YearOutcome ComputeYear(const DaylightInputs& inputs, double stepDegrees) {
    std::vector<YearPoint> points;
    YearOutcome outcome = StreamYear(inputs, stepDegrees, [&points](const YearPoint& p) {
        points.push_back(p);
        return true;
    });
    if (auto* view = std::get_if<YearView>(&outcome)) view->points = std::move(points);
    return outcome;
}

}  // namespace daycalc
