#include "chart/charts.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

#include "daylight/ranges.h"
#include "runtime/runtime.h"

namespace chart {
namespace {

using daycalc::Cell;
using daycalc::Named;

// The colours of the sky, from the sun up to the night.
constexpr Colour kDaylight = "#facc50";
constexpr Colour kCivil = "#96c4e8";
constexpr Colour kNautical = "#4c7abe";
constexpr Colour kAstronomical = "#28387a";
constexpr Colour kNight = "#0e122c";
constexpr Colour kWindowDay = "#c0392b";
constexpr Colour kPolarDay = "#f6e7a1";
constexpr Colour kPolarNight = "#3b4a6b";
constexpr Colour kChosen = "#2e9e44";

// Slices of x a pixel wide over the plot, for a range of x.
constexpr double kSlices = 708;

std::string Degrees(double value) { return rt::TextFromDouble(value) + "°"; }

std::string Inputs(double tilt, double latitude, double solarDay, double year) {
    return "Tilt " + Degrees(tilt) + ", latitude " + Degrees(latitude) + ", solar day " +
           rt::TextFromDouble(solarDay) + ", year " + rt::TextFromDouble(year);
}

// A round value at or above a positive one: the next multiple of the round step that gives
// about six ticks up to it.
double RoundCeiling(double value) {
    if (!(value > 0)) return 1;
    const std::vector<double> ticks = RoundTicks(0, value, 6);
    const double step = ticks.size() > 1 ? ticks[1] - ticks[0] : value;
    return std::ceil(value / step) * step;
}

// The orbit's values and the solar constant, what sunlight is worked out from.
std::string SunlightInputsText(const daycalc::SkyInputs& in, double solarConstant) {
    return "Tilt " + Degrees(in.tilt) + ", eccentricity " + rt::TextFromDouble(in.eccentricity) +
           ", perihelion " + Degrees(in.perihelion) + ", solar constant " +
           rt::TextFromDouble(solarConstant) + " W/m²";
}

std::string SkyInputsText(const daycalc::SkyInputs& in, bool withLatitude) {
    std::string text = "Tilt " + Degrees(in.tilt);
    if (withLatitude) text += ", latitude " + Degrees(in.latitude);
    text += ", solar day " + rt::TextFromDouble(in.solarDay) + ", year " +
            rt::TextFromDouble(in.year) + ", eccentricity " + rt::TextFromDouble(in.eccentricity) +
            ", perihelion " + Degrees(in.perihelion);
    return text + (in.sunrise ? ", the planet's own sunrise" : ", horizon " + Degrees(in.horizon));
}

constexpr std::string_view kTimeAxis = "time since the northern winter solstice (unit of the year)";
constexpr std::string_view kDaylightAxis = "daylight (unit of the solar day)";

// The solstices and equinoxes at their times.
void MarkSeasons(Figure& f, const std::array<double, 4>& at) {
    for (std::size_t i = 0; i < 4; ++i) f.Mark(at[i], daycalc::kSeasonNames[i]);
}

// A polar span of the year (degrees past the winter solstice) shaded across the plot.
void Shade(Figure& f, const std::optional<daycalc::Span>& span, double year, double solarDay,
           Colour colour) {
    if (!span) return;
    const double start = span->start / 360 * year, end = span->end / 360 * year;
    if (span->start <= span->end) {
        f.Band(start, end, 0, solarDay, colour);
    } else {  // through the winter solstice
        f.Band(start, year, 0, solarDay, colour);
        f.Band(0, end, 0, solarDay, colour);
    }
}

// A chosen day or latitude: a line across the plot from a to b, edged in white so that it shows
// on every colour.
void ChosenLine(Figure& f, Point a, Point b) {
    f.Line({a, b}, "#ffffff", 4);
    f.Line({a, b}, kChosen, 2);
}

void KeyChosenDay(Figure& f, double degrees) {
    if (std::isfinite(degrees)) f.Key(kChosen, "the chosen day, " + Degrees(degrees), true);
}

// The chosen day where it is given, at its time of the sky's year.
void MarkSkyDay(Figure& f, const daycalc::SkyInputs& in, double degrees, double low, double high) {
    if (!std::isfinite(degrees)) return;
    const double t = daycalc::SkyModel(in).DayOfChosenAngle(degrees);
    ChosenLine(f, {t, low}, {t, high});
}

}  // namespace

std::optional<double> ChosenDay(std::string_view text) {
    const std::optional<double> value = rt::StrictNumber(text);
    if (!value || !daycalc::RangeOf("mark").Holds(*value)) return std::nullopt;
    return value;
}

std::optional<double> ChosenLatitude(std::string_view text) {
    const std::optional<double> value = rt::StrictNumber(text);
    if (!value || !daycalc::RangeOf("mark_latitude").Holds(*value)) return std::nullopt;
    return value;
}

void Thinned::Add(double x, double y) {
    const auto slice = static_cast<long long>(std::floor(x / width_));
    if (slice != slice_ || count_ == 0) {
        Flush();
        slice_ = slice;
        first_ = low_ = high_ = last_ = {x, y};
        count_ = 1;
        return;
    }
    if (y < low_.y) low_ = {x, y};
    if (y > high_.y) high_ = {x, y};
    last_ = {x, y};
    ++count_;
}

void Thinned::Flush() {
    if (count_ == 0) return;
    // The first, the lowest, the highest and the last, in the order they came, each once.
    std::array<Point, 4> four = {first_, low_, high_, last_};
    for (std::size_t i = 1; i < 4; ++i) {  // by x, those of one x in the order they came
        for (std::size_t j = i; j > 0 && four[j].x < four[j - 1].x; --j) {
            std::swap(four[j], four[j - 1]);
        }
    }
    for (std::size_t i = 0; i < 4; ++i) {
        if (i == 0 || four[i].x != four[i - 1].x || four[i].y != four[i - 1].y) {
            kept_.push_back(four[i]);
        }
    }
    count_ = 0;
}

std::vector<Point> Thinned::Points() const {
    Thinned copy = *this;
    copy.Flush();
    return copy.kept_;
}

void ColumnsRead::Find(std::span<const std::string_view> columns) {
    for (std::size_t i = 0; i < names_.size(); ++i) {
        const auto found = std::find(columns.begin(), columns.end(), names_[i]);
        if (found == columns.end()) std::abort();
        at_[i] = static_cast<std::size_t>(found - columns.begin());
    }
}

YearChart::YearChart(const daycalc::YearView& year)
    : Chart({"day_of_year", "daylight"}), year_(year), daylight_(year.year / kSlices) {}

bool YearChart::Row(std::span<const Cell> c) {
    daylight_.Add(read_.Of(c, kDayOfYearRead).number, read_.Of(c, kDaylightRead).number);
    return true;
}

void YearChart::Summary(std::span<const Named> values) {
    for (const Named& n : values) {
        if (const auto* one = std::get_if<Named::OneSpan>(&n.value)) {
            (n.name == "polar_day" ? year_.polarDay : year_.polarNight) = one->span;
        }
    }
}

Figure YearChart::Draw() const {
    const double y = year_.year, rp = year_.solarDay;
    Figure f("Daylight through the year", Inputs(year_.tilt, year_.latitude, rp, y), width_);
    f.Axes(0, y, kTimeAxis, 0, rp, kDaylightAxis);
    // The sky's daylight and twilights beneath, on a circular orbit, where they can be had.
    const daycalc::SkyInputs sky{.tilt = year_.tilt,
                                 .latitude = year_.latitude,
                                 .solarDay = rp,
                                 .year = y,
                                 .eccentricity = 0,
                                 .perihelion = 0,
                                 .horizon = daycalc::kSunriseHorizon,
                                 .step = y / 360,
                                 .sunrise = true};
    SkyChart bands(sky);
    const bool twilight = !daycalc::ProduceSky(sky, bands, daycalc::Summary::NotWanted);
    if (twilight) bands.DrawBands(f);
    if (!twilight) {
        Shade(f, year_.polarDay, y, rp, kPolarDay);
        Shade(f, year_.polarNight, y, rp, kPolarNight);
    }
    f.Line(daylight_.Points(), kWindowDay, 2.5);
    MarkSeasons(f, {0, y / 4, y / 2, y * 3 / 4});
    if (std::isfinite(markDay_)) ChosenLine(f, {markDay_ / 360 * y, 0}, {markDay_ / 360 * y, rp});
    f.Key(kWindowDay, "daylight by the calculator's formula", true);
    KeyChosenDay(f, markDay_);
    if (twilight) {
        SkyChart::KeyBands(f, "sky: sun up");
    } else {
        if (year_.polarDay) f.Key(kPolarDay, "polar day");
        if (year_.polarNight) f.Key(kPolarNight, "polar night");
    }
    return f;
}

SkyChart::SkyChart(const daycalc::SkyInputs& in)
    : Chart({"day", "daylight", "civil", "nautical", "astronomical"}),
      in_(in),
      above_(4, Thinned(in.year / kSlices)) {}

bool SkyChart::Row(std::span<const Cell> c) {
    const double day = read_.Of(c, kDayRead).number;
    double sum = 0;
    for (std::size_t i = 0; i < 4; ++i)
        above_[i].Add(day, sum += read_.Of(c, kAboveRead + i).number);
    return true;
}

void SkyChart::Summary(std::span<const Named> values) {
    for (const Named& n : values) {
        for (std::size_t i = 0; i < 4; ++i) {
            if (n.name == daycalc::kSeasonMembers[i]) seasons_[i] = std::get<double>(n.value);
        }
    }
}

void SkyChart::DrawBands(Figure& f) const {
    f.Band(0, in_.year, 0, in_.solarDay, kNight);
    const Colour colours[] = {kDaylight, kCivil, kNautical, kAstronomical};
    for (int i = 3; i >= 0; --i) f.Area(above_[std::size_t(i)].Points(), 0, colours[i]);
}

void SkyChart::KeyBands(Figure& f, std::string_view daylight) {
    f.Key(kDaylight, daylight);
    f.Key(kCivil, "civil");
    f.Key(kNautical, "nautical");
    f.Key(kAstronomical, "astronomical twilight");
    f.Key(kNight, "night");
}

Figure SkyChart::Draw() const {
    Figure f("The sky through the year", SkyInputsText(in_, true), width_);
    f.Axes(0, in_.year, kTimeAxis, 0, in_.solarDay, kDaylightAxis);
    DrawBands(f);
    if (std::all_of(seasons_.begin(), seasons_.end(), [](double t) { return std::isfinite(t); })) {
        MarkSeasons(f, {seasons_[0], seasons_[1], seasons_[2], seasons_[3]});
    }
    MarkSkyDay(f, in_, markDay_, 0, in_.solarDay);
    KeyBands(f, "daylight");
    KeyChosenDay(f, markDay_);
    return f;
}

// Twelve colours for the map, from short days to long ones; after them the polar night's and the
// polar day's.
constexpr std::array<Colour, 12> kDaylightColours = {"#1d2f6f", "#22468f", "#2a5fa8", "#3579b8",
                                                     "#4692c2", "#5eaac6", "#7cbfc4", "#9fd1bd",
                                                     "#c3dfae", "#e2e79b", "#f5e37f", "#fbd35c"};
constexpr std::size_t kNightColour = kDaylightColours.size(), kDayColour = kNightColour + 1;

MapChart::MapChart(const daycalc::SkyInputs& in)
    : Chart({"latitude", "day", "daylight", "sun"}),
      in_(in),
      solarConstant_(std::numeric_limits<double>::quiet_NaN()),
      high_(in.solarDay) {
    RoundLevels();
}

MapChart::MapChart(const daycalc::SkyInputs& in, double solarConstant)
    : Chart({"latitude", "day", "insolation"}), in_(in), solarConstant_(solarConstant) {
    // The colours' top: a round flux above the highest of a coarse map, which the finest map's
    // days and latitudes pass by little, if at all (the top colour takes them).
    daycalc::SkyInputs any = in;
    any.latitude = 0;
    const daycalc::SkyModel model(any);
    double highest = 0;
    for (int day = 0; day <= 360; day += 2) {
        const daycalc::SkyModel::OnOrbit o = model.OrbitAt(in.year * day / 360);
        for (int latitude = -90; latitude <= 90; latitude += 2) {
            highest =
                std::max(highest, daycalc::DailyMeanFlux(solarConstant, latitude, o.sinDeclination,
                                                         o.cosDeclination, o.distance));
        }
    }
    high_ = RoundCeiling(highest);
    RoundLevels();
}

void MapChart::RoundLevels() {
    for (const double level : RoundTicks(0, high_, 7)) {
        if (level > 0 && level < high_) levels_.push_back(level);
    }
    segments_.resize(levels_.size());
}

bool MapChart::Row(std::span<const Cell> c) {
    const double latitude = read_.Of(c, kLatitudeRead).number, day = read_.Of(c, kDayRead).number;
    if (latitudes_.empty() || latitude != latitude_) {
        latitude_ = latitude, index_ = 0, column_ = 0;
        drawing_ = latitudes_.empty() || latitude - latitudes_.back() >= 180.0 / kPlotHeight;
        if (drawing_ && !latitudes_.empty()) {
            // The latitude drawn before is whole: its strip reaches halfway to this one, and the
            // cells between it and the one drawn before it are drawn too.
            const std::size_t at = latitudes_.size() - 1;
            RunsOf(at, row_, (latitudes_[at] + latitude) / 2, runs_);
            if (at > 0) ContoursBetween(at - 1, below_, row_, segments_);
            std::swap(below_, row_);
            row_.clear();
        }
        if (drawing_) latitudes_.push_back(latitude);
    }
    const std::size_t index = index_++;
    if (!drawing_) return true;
    const double number = read_.Of(c, kDaylightRead).number;
    // Sunlight has no sun column: none arrives in the polar night alone.
    const std::string_view sun =
        Sunlight() ? (number == 0 ? "polar night" : "") : read_.Of(c, kSunRead).word;
    const Day value = {static_cast<float>(number),
                       sun == daycalc::SunName(daycalc::Sun::PolarNight) ? daycalc::Sun::PolarNight
                       : sun == daycalc::SunName(daycalc::Sun::PolarDay) ? daycalc::Sun::PolarDay
                                                                         : daycalc::Sun::Rises};
    if (latitudes_.size() == 1) {
        // The first latitude sets the days drawn: the last so far is kept until a later one takes
        // its place, unless it is a pixel on from the one before.
        if (!lastDaySpaced_) days_.pop_back(), columns_.pop_back(), row_.pop_back();
        const double spaced = days_.empty() ? day : days_.back() + in_.year / kSlices;
        lastDaySpaced_ = day >= spaced;
        days_.push_back(day);
        columns_.push_back(index);
        row_.push_back(value);
    } else if (column_ < columns_.size() && columns_[column_] == index) {
        row_.push_back(value);
        ++column_;
    }
    return true;
}

void MapChart::RunsOf(std::size_t at, const std::vector<Day>& row, double high,
                      std::vector<Run>& runs) const {
    // A cell's colour: one of the twelve, or the polar night's or the polar day's.
    const auto colourOf = [&](const Day& v) {
        if (v.sun == daycalc::Sun::PolarNight) return kNightColour;
        if (v.sun == daycalc::Sun::PolarDay) return kDayColour;
        const double share = double(v.daylight) / high_ * double(kDaylightColours.size());
        return std::min(kDaylightColours.size() - 1, std::size_t(share));
    };
    const double low = at == 0 ? -90 : (latitudes_[at - 1] + latitudes_[at]) / 2;
    const std::size_t nDays = row.size();
    std::size_t start = 0, colour = colourOf(row[0]);
    for (std::size_t j = 1; j <= nDays; ++j) {
        const std::size_t next = j < nDays ? colourOf(row[j]) : colour + 1;
        if (next == colour) continue;
        const double from = start == 0 ? 0 : (days_[start - 1] + days_[start]) / 2;
        const double to = j == nDays ? in_.year : (days_[j - 1] + days_[j]) / 2;
        runs.push_back({from, to, low, high, colour});
        start = j, colour = next;
    }
}

void MapChart::ContoursBetween(std::size_t at, const std::vector<Day>& lower,
                               const std::vector<Day>& upper,
                               std::vector<std::vector<std::array<Point, 2>>>& segments) const {
    const double rp = high_;
    const auto value = [rp](const Day& v) {
        return v.sun == daycalc::Sun::PolarNight ? 0.0
               : v.sun == daycalc::Sun::PolarDay ? rp
                                                 : double(v.daylight);
    };
    for (std::size_t j = 0; j + 1 < lower.size(); ++j) {
        const double v[4] = {value(lower[j]), value(lower[j + 1]), value(upper[j + 1]),
                             value(upper[j])};
        const auto [low, high] = std::minmax({v[0], v[1], v[2], v[3]});
        const Point corner[4] = {{days_[j], latitudes_[at]},
                                 {days_[j + 1], latitudes_[at]},
                                 {days_[j + 1], latitudes_[at + 1]},
                                 {days_[j], latitudes_[at + 1]}};
        for (std::size_t l = 0; l < levels_.size(); ++l) {
            const double level = levels_[l];
            if (!(low < level && high >= level)) continue;  // all on one side of it
            Point crossings[4];
            std::size_t n = 0;
            for (int k = 0; k < 4; ++k) {
                const double a = v[k] - level, b = v[(k + 1) % 4] - level;
                if ((a < 0) == (b < 0)) continue;
                const double w = a / (a - b);
                const Point p = corner[k], q = corner[(k + 1) % 4];
                crossings[n++] = {p.x + (q.x - p.x) * w, p.y + (q.y - p.y) * w};
            }
            for (std::size_t k = 0; k + 1 < n; k += 2) {
                segments[l].push_back({crossings[k], crossings[k + 1]});
            }
        }
    }
}

Figure MapChart::Draw() const {
    Figure f(Sunlight() ? "Daily mean sunlight at the top of the air at every latitude"
                        : "Daylight at every latitude through the year",
             Sunlight() ? SunlightInputsText(in_, solarConstant_) : SkyInputsText(in_, false),
             width_);
    f.Axes(0, in_.year, kTimeAxis, -90, 90, "latitude (degrees)", 10, 10);
    // The last latitude, which no other has followed: its strip reaches the pole.
    std::vector<Run> runs = runs_;
    std::vector<std::vector<std::array<Point, 2>>> segments = segments_;
    if (!latitudes_.empty()) {
        const std::size_t last = latitudes_.size() - 1;
        RunsOf(last, row_, 90, runs);
        if (last > 0) ContoursBetween(last - 1, below_, row_, segments);
    }
    // Each latitude a strip from halfway to the one below to halfway to the one above, in runs
    // of one colour.
    for (const Run& r : runs) {
        const Colour fill = r.colour == kNightColour ? kNight
                            : r.colour == kDayColour ? kPolarDay
                                                     : kDaylightColours[r.colour];
        f.Band(r.from, r.to, r.low, r.high, fill, true);
    }
    // Contour lines at round lengths of the day, found cell by cell (marching squares), each
    // labelled once where its label is clear of the others.
    std::size_t labelled = 0;
    for (std::size_t l = 0; l < levels_.size(); ++l) {
        if (segments[l].empty()) continue;
        for (auto& [a, b] : segments[l]) {
            a = {f.X(a.x), f.Y(a.y)};
            b = {f.X(b.x), f.Y(b.y)};
        }
        f.Segments(segments[l], "#1b1b1b", 0.8);
        // The label's places: the segments' middles, the nearest to a column of its own first.
        const double column = f.X(in_.year * (0.12 + 0.19 * double(labelled++ % 5)));
        std::vector<std::pair<double, Point>> near;  // each middle with its distance to it
        for (const auto& [a, b] : segments[l]) {
            const Point middle = {(a.x + b.x) / 2, (a.y + b.y) / 2 + 4};
            near.push_back({std::fabs(middle.x - column), middle});
        }
        // Nearest first; of two as near, the one found first.
        std::vector<std::size_t> order(near.size());
        for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
        std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
            return near[a].first < near[b].first || (near[a].first == near[b].first && a < b);
        });
        std::vector<Point> places;
        for (const std::size_t i : order) places.push_back(near[i].second);
        f.Label(places, rt::TextFromDouble(levels_[l]));
    }
    const daycalc::SkyModel model(in_);
    MarkSeasons(f, {model.DayOfOrbitAngle(0), model.DayOfOrbitAngle(90), model.DayOfOrbitAngle(180),
                    model.DayOfOrbitAngle(270)});
    MarkSkyDay(f, in_, markDay_, -90, 90);
    if (std::isfinite(markLatitude_)) {
        ChosenLine(f, {0, markLatitude_}, {in_.year, markLatitude_});
    }
    f.ColourKey(0, high_, {kDaylightColours.begin(), kDaylightColours.end()},
                Sunlight() ? "daily mean sunlight (W/m²)" : "daylight (unit of the solar day)");
    if (!Sunlight()) f.Key(kPolarDay, "polar day");
    f.Key(kNight, Sunlight() ? "polar night: no sunlight" : "polar night");
    f.Key("#1b1b1b",
          Sunlight() ? "a line at each round flux" : "a line at each round length of the day",
          true);
    KeyChosenDay(f, markDay_);
    if (std::isfinite(markLatitude_)) {
        f.Key(kChosen, "the chosen latitude, " + Degrees(markLatitude_), true);
    }
    return f;
}

}  // namespace chart

namespace chart {

std::vector<std::string_view> LineChart::Read(const Layout& layout) {
    std::vector<std::string_view> read = {layout.x};
    for (const Line& line : layout.lines) read.push_back(line.column);
    return read;
}

LineChart::LineChart(Layout layout)
    : Chart(Read(layout)),
      layout_(std::move(layout)),
      lines_(layout_.lines.size(), Thinned((layout_.xHigh - layout_.xLow) / kSlices)) {}

bool LineChart::Row(std::span<const Cell> c) {
    const double x = read_.Of(c, 0).number;
    for (std::size_t i = 0; i < lines_.size(); ++i) lines_[i].Add(x, read_.Of(c, i + 1).number);
    return true;
}

Figure LineChart::Draw() const {
    const Layout& l = layout_;
    Figure f(l.title, l.subtitle, width_);
    double highest = 0, lowest = std::numeric_limits<double>::infinity();
    std::vector<std::vector<Point>> points;
    for (const Thinned& line : lines_) {
        points.push_back(line.Points());
        for (const Point& p : points.back()) {
            highest = std::max(highest, p.y), lowest = std::min(lowest, p.y);
        }
    }
    double low = 0, high = RoundCeiling(highest);
    if (!l.fromZero && lowest < highest) {
        // A round step that gives about six ticks over the lines' range, and the multiples of it
        // about them.
        const std::vector<double> ticks = RoundTicks(lowest, highest, 6);
        const double step = ticks.size() > 1 ? ticks[1] - ticks[0] : highest - lowest;
        low = std::floor(lowest / step) * step, high = std::ceil(highest / step) * step;
    }
    f.Axes(l.xLow, l.xHigh, l.xTitle, low, high, l.yTitle);
    for (const auto& [x, name] : marks_) f.Mark(x, name);
    if (l.sky) MarkSkyDay(f, *l.sky, markDay_, low, high);
    for (std::size_t i = 0; i < points.size(); ++i) f.Line(points[i], l.lines[i].colour, 2);
    for (const Line& line : l.lines) f.Key(line.colour, line.key, true);
    if (l.sky) KeyChosenDay(f, markDay_);
    return f;
}

namespace {

constexpr Colour kDailyMean = "#c0392b";
constexpr Colour kNoonFlux = "#e08a2c";
constexpr std::string_view kFluxAxis = "sunlight at the top of the air (W/m²)";

}  // namespace

LineChart InsolationYearChart(const daycalc::SkyInputs& in, double solarConstant) {
    LineChart chart(
        {.title = "Sunlight through the year",
         .subtitle = SunlightInputsText(in, solarConstant) + ", latitude " + Degrees(in.latitude),
         .x = "day",
         .xTitle = kTimeAxis,
         .xLow = 0,
         .xHigh = in.year,
         .yTitle = kFluxAxis,
         .lines = {{"insolation", kDailyMean, "the daily mean on level ground"},
                   {"noon_flux", kNoonFlux, "at noon"}},
         .sky = in});
    const daycalc::SkyModel model(in);
    for (std::size_t i = 0; i < 4; ++i) {
        chart.Mark(model.DayOfOrbitAngle(90.0 * double(i)), daycalc::kSeasonNames[i]);
    }
    return chart;
}

LineChart AnnualInsolationChart(const daycalc::SkyInputs& in, double solarConstant) {
    return LineChart({.title = "The year's mean sunlight by latitude",
                      .subtitle = SunlightInputsText(in, solarConstant),
                      .x = "latitude",
                      .xTitle = "latitude (degrees)",
                      .xLow = -90,
                      .xHigh = 90,
                      .yTitle = kFluxAxis,
                      .lines = {{"insolation", kDailyMean, "the year's mean on level ground"}}});
}

LineChart HistoryChart(const daycalc::History& h) {
    LineChart chart(
        {.title = "The Earth's sunlight through time",
         .subtitle = "Latitude " + Degrees(h.latitude) + ", the day " + Degrees(h.orbitAngle) +
                     " past the winter solstice, solar constant " +
                     rt::TextFromDouble(h.solarConstant) + " W/m²; the orbit of Berger (1978)",
         .x = "kyr",
         .xTitle = "thousands of years from 1950",
         .xLow = h.fromKyr,
         .xHigh = h.toKyr > h.fromKyr ? h.toKyr : h.fromKyr + 1,
         .yTitle = "daily mean sunlight at the top of the air (W/m²)",
         .lines = {{"insolation", kDailyMean, "the daily mean on level ground"}},
         .fromZero = false});
    if (h.fromKyr <= 0 && h.toKyr >= 0) chart.Mark(0, "1950");
    return chart;
}

}  // namespace chart
