// The year's summary of a sky: its shortest and longest daylight (the rows', and each candidate's
// neighbourhood searched by the golden section to a millionth of it), the seasons, and the
// stretches of polar day, polar night and twilight alone (each edge to the last bit of its orbit
// angle); and the sky's rows handed over as they are made.
#include <functional>

#include "daylight/roots.h"
#include "sky_parts.h"

namespace daycalc {

using namespace inner;

namespace {

// The orbit angles at which the days are looked at for spans: every quarter degree, the
// solstices and equinoxes among them.
constexpr int kSpanSamples = 1440;
constexpr double kSpanSample = 360.0 / kSpanSamples;

// The stretches of the year through which a condition on the day holds, given whether it holds
// at each sample (`at`, every kSpanSample degrees of the orbit). Every stretch that the sky can
// make holds either a solstice or a quarter degree of the orbit, so none is missed.
template <typename Holds>
std::vector<Span> SpansWhere(const SkyModel& model, double year, const std::vector<bool>& at,
                             const Holds& holds) {
    const auto first = std::find(at.begin(), at.end(), false);
    if (first == at.end()) return {{0, year, year}};  // the whole year
    std::vector<Span> spans;
    const int from = int(first - at.begin());
    double start = 0;
    for (int k = 1; k <= kSpanSamples; ++k) {
        const int i = (from + k) % kSpanSamples, before = (from + k - 1) % kSpanSamples;
        const double angle = (from + k) * kSpanSample;  // unwrapped, past the first sample out
        if (at[i] && !at[before]) start = Edge(angle - kSpanSample, angle, holds);
        if (!at[i] && at[before]) {
            const double end = Edge(angle, angle - kSpanSample, holds);
            const double startDay = model.DayOfOrbitAngle(start);
            const double endDay = model.DayOfOrbitAngle(end);
            const double length = endDay - startDay;
            spans.push_back({startDay, endDay, length < 0 ? length + year : length});
        }
    }
    return spans;
}

// The orbit angles at which the daylight may be shortest or longest: the solstices, and the
// declination where the derivative of the hour angle's cosine, sin h · sin δ − sin L, vanishes,
// which only a horizon away from 0 and a latitude near the equator give.
std::vector<double> DaylightExtremes(const SkyInputs& in) {
    std::vector<double> angles = {0, 180};
    const double sinT = rt::Sine(in.tilt * kDegree), sinH = rt::Sine(in.horizon * kDegree);
    if (sinH == 0 || sinT == 0) return angles;
    const double sinDeclination = rt::Sine(in.latitude * kDegree) / sinH;
    const double cosAngle = -sinDeclination / sinT;
    if (!(std::fabs(cosAngle) <= 1)) return angles;
    const double angle = rt::ArcCosine(cosAngle) / kDegree;
    angles.push_back(angle);
    angles.push_back(360 - angle);
    return angles;
}

}  // namespace

SkyOutcome StreamSky(const SkyInputs& in, const std::function<bool(const SkyRow&)>& row,
                     Summary summary) {
    if (std::optional<Problem> problem = SkyProblem(in)) return *std::move(problem);
    const SkyModel model(in);
    SkyView view{.inputs = in};

    // The shortest and longest daylight: the rows', kept as they go, and each candidate's
    // neighbourhood searched.
    for (double k = 0; const std::optional<double> t = RowDay(in, k); ++k) {
        const SkyRow r = model.RowAt(*t);
        if (k == 0 || r.daylight < view.shortestDaylight)
            view.shortestDaylight = r.daylight, view.shortestDay = r.day;
        if (k == 0 || r.daylight > view.longestDaylight)
            view.longestDaylight = r.daylight, view.longestDay = r.day;
        // A consumer that wants no more rows wants no summary either.
        if (!row(r)) return view;
    }
    if (summary == Summary::NotWanted) return view;
    const auto daylight = [&model](double t) { return model.TimeAbove(t, Limit::Horizon); };
    const double reach = std::min(in.year / 100, 3.0);
    for (const double angle : DaylightExtremes(in)) {
        const double around = model.DayOfOrbitAngle(angle);
        for (const double sign : {1.0, -1.0}) {
            const double t = Extreme([&](double x) { return sign * daylight(x); }, around - reach,
                                     around + reach);
            const double value = daylight(t);
            const double day = t - in.year * std::floor(t / in.year);
            if (value < view.shortestDaylight)
                view.shortestDaylight = value, view.shortestDay = day;
            if (value > view.longestDaylight) view.longestDaylight = value, view.longestDay = day;
        }
    }
    for (std::size_t i = 0; i < 4; ++i) view.seasons[i] = model.DayOfOrbitAngle(90.0 * double(i));

    // The sun at the horizon and at the astronomical dusk on each sample of the orbit, each day
    // made once for the three kinds of span.
    std::vector<bool> polarDay(kSpanSamples), polarNight(kSpanSamples), dusk(kSpanSamples);
    for (int i = 0; i < kSpanSamples; ++i) {
        const auto [horizon, astronomical] = model.SunsOn(model.DayOfOrbitAngle(i * kSpanSample),
                                                          Limit::Horizon, Limit::Astronomical);
        polarDay[i] = horizon == Sun::PolarDay;
        polarNight[i] = horizon == Sun::PolarNight;
        dusk[i] = horizon == Sun::PolarNight && astronomical != Sun::PolarNight;
    }
    const auto sunIs = [&](Sun sun) {
        return [&model, sun](double angle) {
            return model.SunOn(model.DayOfOrbitAngle(angle), Limit::Horizon) == sun;
        };
    };
    view.polarDays = SpansWhere(model, in.year, polarDay, sunIs(Sun::PolarDay));
    view.polarNights = SpansWhere(model, in.year, polarNight, sunIs(Sun::PolarNight));
    const auto twilightOnly = [&](double angle) {
        const auto [horizon, astronomical] =
            model.SunsOn(model.DayOfOrbitAngle(angle), Limit::Horizon, Limit::Astronomical);
        return horizon == Sun::PolarNight && astronomical != Sun::PolarNight;
    };
    for (const Span& span : SpansWhere(model, in.year, dusk, twilightOnly)) {
        view.longestTwilightOnly = std::max(view.longestTwilightOnly, span.length);
    }
    return view;
}

SkyOutcome ComputeSky(const SkyInputs& in) {
    std::vector<SkyRow> rows;
    SkyOutcome outcome = StreamSky(in, [&rows](const SkyRow& r) {
        rows.push_back(r);
        return true;
    });
    if (auto* view = std::get_if<SkyView>(&outcome)) view->rows = std::move(rows);
    return outcome;
}

}  // namespace daycalc
