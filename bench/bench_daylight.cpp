// The calculation against a floor of the same formulas in plain std:: calls, without checks.
#include <benchmark/benchmark.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include "cli/companion.h"
#include "daylight/daylight.h"
#include "daylight/insolation.h"
#include "daylight/sky.h"
#include "daylight/solar_system.h"
#include "daylight/sun.h"
#include "daylight/table.h"
#include "daylight/year.h"
#include "places/places.h"

namespace {

void BM_ComputeDaylight(benchmark::State& state) {
    const daycalc::DaylightInputs inputs;
    for (auto _ : state) {
        auto outcome = daycalc::ComputeDaylight(inputs);
        benchmark::DoNotOptimize(outcome);
    }
}
BENCHMARK(BM_ComputeDaylight);

// The five starting texts, read one after another.
void BM_ValFromText(benchmark::State& state) {
    const daycalc::DaylightInputs in;
    for (auto _ : state) {
        for (const std::string* text :
             {&in.tilt, &in.latitude, &in.solarDay, &in.fromSolstice, &in.year}) {
            benchmark::DoNotOptimize(rt::ValFromText(*text));
        }
    }
}
BENCHMARK(BM_ValFromText);

// The four texts of a non-polar press at the starting values.
void BM_TextFromDouble(benchmark::State& state) {
    const double results[] = {9.352084178252251, 14.64791582174775, 12, 0.5};
    for (auto _ : state) {
        for (double x : results) benchmark::DoNotOptimize(rt::TextFromDouble(x));
    }
}
BENCHMARK(BM_TextFromDouble);

// A year and a sky at their finest steps, each row made into the texts the companion prints as it
// comes from the table (argument 1): the cost of a row, the year's against the sky's. With
// argument 0 each number is only looked at: what the computing alone costs.
class Texts : public daycalc::TableConsumer {
  public:
    explicit Texts(bool made) : made_(made) {}
    void Columns(std::span<const std::string_view>) override {}
    bool Row(std::span<const daycalc::Cell> cells) override {
        for (const daycalc::Cell& c : cells) {
            if (!c.word.empty()) continue;
            if (made_) {
                benchmark::DoNotOptimize(rt::TextFromDouble(c.number));
            } else {
                benchmark::DoNotOptimize(c.number);
            }
        }
        ++rows;
        return true;
    }
    void Summary(std::span<const daycalc::Named>) override {}
    std::int64_t rows = 0;

  private:
    bool made_;
};

void BM_YearAtTheFinestStep(benchmark::State& state) {
    const daycalc::DaylightInputs inputs{.latitude = "60"};
    Texts texts(state.range(0) != 0);
    for (auto _ : state) daycalc::ProduceYear(inputs, daycalc::kFinestYearStep, texts);
    state.SetItemsProcessed(texts.rows);
}
BENCHMARK(BM_YearAtTheFinestStep)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

void BM_SkyAtTheFinestStep(benchmark::State& state) {
    const daycalc::PlanetPreset& earth = *daycalc::PlanetNamed("earth");
    const double year = rt::ValFromText(earth.year);
    const daycalc::SkyInputs in{.tilt = rt::ValFromText(earth.tilt),
                                .latitude = 60,
                                .solarDay = rt::ValFromText(earth.solarDay),
                                .year = year,
                                .eccentricity = earth.eccentricity,
                                .perihelion = earth.perihelion,
                                .horizon = daycalc::kSunriseHorizon,
                                .step = year / daycalc::kMostSkyRows,
                                .distance = earth.distance,
                                .refraction = earth.refraction,
                                .sunrise = true};
    Texts texts(state.range(0) != 0);
    for (auto _ : state) daycalc::ProduceSky(in, texts);
    state.SetItemsProcessed(texts.rows);
}
BENCHMARK(BM_SkyAtTheFinestStep)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

// The map of the Earth at every degree and every day, 181 by 366 rows, as the companion prints
// it as CSV.
// A planet's default map as CSV: the Earth's, and the slow planets', whose days are followed step
// by step (goal: Mercury's within 10 times the Earth's).
void BM_SkyMapAsCsv(benchmark::State& state, const char* planet) {
    const char* argv[] = {"daylight-cli", "sky", "--planet", planet, "--map"};
    for (auto _ : state) {
        std::istringstream in;
        std::ostringstream out, err;
        benchmark::DoNotOptimize(companion::Run(int(std::size(argv)), argv, in, out, err));
    }
}
BENCHMARK_CAPTURE(BM_SkyMapAsCsv, earth, "earth")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SkyMapAsCsv, mercury, "mercury")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SkyMapAsCsv, venus, "venus")->Unit(benchmark::kMillisecond);

// The sun's path through a day in Berlin on its clock, a row a minute (1441 rows), each row's
// numbers made into texts as the companion prints them.
void BM_SunDayEveryMinute(benchmark::State& state) {
    const daycalc::SkyInputs place = daycalc::EarthPlace(52.52, 13.4);
    const daycalc::CivilDate date = *daycalc::DateOf("2026-06-21");
    const daycalc::ClockOf clock = daycalc::FixedClock(2);
    for (auto _ : state) {
        Texts texts(true);
        benchmark::DoNotOptimize(daycalc::ProduceSunOnDate(place, date, clock, 1, texts));
        benchmark::DoNotOptimize(texts.rows);
    }
}
BENCHMARK(BM_SunDayEveryMinute)->Unit(benchmark::kMillisecond);

// Sunlight: the Earth's latitude-season map at 1 degree by 1 day (181 × 366 rows), and the
// summer at 65° N through the last million years at 1 kyr steps, each row's numbers made into
// texts (goal: each under 50 ms).
void BM_InsolationMap(benchmark::State& state) {
    const daycalc::PlanetPreset& earth = *daycalc::PlanetNamed("earth");
    const daycalc::SkyInputs in = {.tilt = 23.4393,
                                   .latitude = 0,
                                   .solarDay = 24,
                                   .year = 365.2422,
                                   .eccentricity = earth.eccentricity,
                                   .perihelion = earth.perihelion,
                                   .horizon = 0,
                                   .step = 1};
    for (auto _ : state) {
        Texts texts(true);
        benchmark::DoNotOptimize(daycalc::ProduceInsolationMap(in, 1361, 1, texts));
        benchmark::DoNotOptimize(texts.rows);
    }
}
BENCHMARK(BM_InsolationMap)->Unit(benchmark::kMillisecond);

void BM_InsolationMillionYears(benchmark::State& state) {
    const daycalc::History history = {.latitude = 65,
                                      .orbitAngle = 180,
                                      .fromKyr = -1000,
                                      .toKyr = 0,
                                      .stepKyr = 1,
                                      .solarConstant = 1361};
    for (auto _ : state) {
        Texts texts(true);
        benchmark::DoNotOptimize(daycalc::ProduceInsolationHistory(history, texts));
        benchmark::DoNotOptimize(texts.rows);
    }
}
BENCHMARK(BM_InsolationMillionYears)->Unit(benchmark::kMillisecond);

#ifdef DAYLIGHT_PLACES_FILE
// A place looked up as a call of the companion does it: the places file read (once a call), and
// then the places whose name begins with the query (goal: both under 5 ms).
void BM_PlacesFileRead(benchmark::State& state) {
    std::ifstream file(DAYLIGHT_PLACES_FILE, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(file)),
                           std::istreambuf_iterator<char>());
    for (auto _ : state) benchmark::DoNotOptimize(places::Gazetteer::Read(text));
}
BENCHMARK(BM_PlacesFileRead)->Unit(benchmark::kMillisecond);

void BM_PlaceLookup(benchmark::State& state) {
    std::ifstream file(DAYLIGHT_PLACES_FILE, std::ios::binary);
    const auto gazetteer = places::Gazetteer::Read(
        std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>()));
    for (auto _ : state) benchmark::DoNotOptimize(gazetteer->Find("Springfield, Illinois"));
}
BENCHMARK(BM_PlaceLookup)->Unit(benchmark::kMillisecond);
#endif

double PlainRead(const std::string& text) {
    double value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

std::string PlainText(double value) {
    char buffer[32];
    const auto end =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15).ptr;
    return std::string(buffer, end);
}

double PlainRadians(double degrees) { return degrees / 180 * std::atan(1.0) * 4; }

double PlainArcCosine(double x) {
    return std::atan(-x / std::sqrt(-x * x + 1)) + 2 * std::atan(1.0);
}

// The same texts in and out, the same steps, nothing checked.
void BM_PlainStdFloor(benchmark::State& state) {
    const daycalc::DaylightInputs in;
    for (auto _ : state) {
        const double T = PlainRadians(PlainRead(in.tilt));
        const double L = PlainRadians(PlainRead(in.latitude));
        const double RP = PlainRead(in.solarDay);
        const double A = PlainRadians(PlainRead(in.fromSolstice));
        const double Y = PlainRead(in.year);
        benchmark::DoNotOptimize(Y);
        const double x1 = std::tan(L) / std::tan(PlainRadians(90) - T);
        const double MinDay = PlainArcCosine(x1) / PlainRadians(180) * RP;
        const double x2 = std::tan(L) * std::cos(A) * std::tan(T);
        const double Daylight = PlainArcCosine(x2) / PlainRadians(180) * RP;
        daycalc::DaylightResults results{.polar = false,
                                         .minDay = PlainText(MinDay),
                                         .maxDay = PlainText(RP - MinDay),
                                         .daylight = PlainText(Daylight),
                                         .night = PlainText(RP - Daylight),
                                         .fullDaylight = ""};
        benchmark::DoNotOptimize(results);
    }
}
BENCHMARK(BM_PlainStdFloor);

}  // namespace

BENCHMARK_MAIN();
