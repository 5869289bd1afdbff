// What the page asks of the core, as plain JavaScript values: the calculation of a press, and the
// year and the sky that the chart beneath draws. Every number the page shows is a text made here.
#include <emscripten/bind.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <sstream>
#include <streambuf>
#include <string>
#include <vector>

#include "chart/charts.h"
#include "cli/companion.h"
#include "daylight/daylight.h"
#include "daylight/earth_year.h"
#include "daylight/face.h"
#include "daylight/ranges.h"
#include "daylight/solar_system.h"
#include "daylight/table.h"
#include "daylight/year.h"
#include "places/places.h"

namespace {

using emscripten::val;

daycalc::DaylightInputs InputsOf(const val& texts) {
    daycalc::DaylightInputs inputs;
    for (const daycalc::InputField& f : daycalc::kInputFields) {
        const val text = texts[std::string(f.field)];
        if (text.isString()) inputs.*(f.text) = text.as<std::string>();
    }
    return inputs;
}

std::string_view KindName(face::Kind kind) {
    switch (kind) {
        case face::Kind::Frame:
            return "frame";
        case face::Kind::TextBox:
            return "textbox";
        case face::Kind::Label:
            return "label";
        case face::Kind::Button:
            return "button";
    }
    return "";
}

// The calculator's face: every control with its kind, container, caption, place in twips, tab
// index and tip, a text box with the field of the input it holds; the rule; the size.
val Face() {
    val controls = val::array();
    for (const face::Control& c : face::kControls) {
        val control = val::object();
        control.set("name", std::string(c.name));
        control.set("kind", std::string(KindName(c.kind)));
        control.set("container", std::string(c.container));
        control.set("caption", std::string(c.caption));
        for (const auto& [key, value] : {std::pair{"left", c.left},
                                         {"top", c.top},
                                         {"width", c.width},
                                         {"height", c.height},
                                         {"tabIndex", c.tabIndex}}) {
            control.set(key, value);
        }
        for (const auto& [name, tip] : face::kTips) {
            if (name == c.name) control.set("tip", std::string(tip));
        }
        if (c.kind == face::Kind::TextBox) {
            const std::string_view frame = face::kControls[face::IndexOf(c.container)].caption;
            for (const daycalc::InputField& f : daycalc::kInputFields) {
                if (f.caption != frame) continue;
                control.set("field", std::string(f.field));
                control.set("option", std::string(f.option));
            }
        }
        controls.call<void>("push", control);
    }
    val lines = val::array();
    for (const face::Line& l : face::kLines) {
        val line = val::object();
        line.set("name", std::string(l.name));
        for (const auto& [key, value] :
             {std::pair{"x1", l.x1}, {"y1", l.y1}, {"x2", l.x2}, {"y2", l.y2}}) {
            line.set(key, value);
        }
        lines.call<void>("push", line);
    }
    val resultsInOrder = val::array();
    for (const std::string_view name : face::kResultsInOrder) {
        resultsInOrder.call<void>("push", std::string(name));
    }
    val form = val::object();
    form.set("resultsInOrder", resultsInOrder);
    form.set("width", face::kFormWidth);
    form.set("height", face::kFormHeight);
    form.set("controls", controls);
    form.set("lines", lines);
    return form;
}

// A problem as the page shows it: {fault, message, cause, hint, boxes, tries, year}, the boxes
// and tries by field, the first to change first, and where the page has the days of the year.
val ProblemVal(const daycalc::Problem& problem) {
    val p = val::object();
    p.set("fault", std::string(problem.kindName()));
    p.set("message", problem.message);
    p.set("cause", problem.cause);
    p.set("hint", problem.hint);
    val boxes = val::array();
    for (const std::string_view field : problem.fields) {
        boxes.call<void>("push", std::string(field));
    }
    p.set("boxes", boxes);
    val tries = val::object();
    for (const daycalc::Try& t : problem.tries) tries.set(std::string(t.field), t.text);
    p.set("tries", tries);
    p.set("year", daycalc::WhereTheYearIs(problem, daycalc::FrontEnd::Page));
    return p;
}

// A press on the texts by field: {results} by label, or {stop} with its problem; and {notes}, each
// {field, text}, on the values not read whole.
val Compute(const val& texts) {
    const daycalc::DaylightInputs inputs = InputsOf(texts);
    const daycalc::DaylightOutcome outcome = daycalc::ComputeDaylight(inputs);
    val answer = val::object();
    val notes = val::array();
    for (const daycalc::ReadingNote& n : daycalc::ReadingNotes(inputs)) {
        val note = val::object();
        note.set("field", std::string(n.field));
        note.set("text", n.text);
        notes.call<void>("push", note);
    }
    answer.set("notes", notes);
    if (const auto* problem = std::get_if<daycalc::Problem>(&outcome)) {
        answer.set("stop", ProblemVal(*problem));
        return answer;
    }
    // Each result by the label that shows it.
    const auto& r = std::get<daycalc::DaylightResults>(outcome);
    val results = val::object();
    results.set("lblMin", r.minDay);
    results.set("lblMax", r.maxDay);
    results.set("lblDay", r.daylight);
    results.set("lblNight", r.night);
    results.set("lblFull", r.fullDaylight);
    answer.set("results", results);
    return answer;
}

// The year chart, the very SVG daylight-cli year --mark … --chart-width … --chart writes for the
// same texts (a point every degree), or {stop} with its problem where the year stops.
val Chart(const val& texts, double width) {
    const daycalc::DaylightInputs inputs = InputsOf(texts);
    const daycalc::YearOutcome asRead = daycalc::YearAsRead(inputs);
    val chart = val::object();
    if (const auto* problem = std::get_if<daycalc::Problem>(&asRead)) {
        chart.set("stop", ProblemVal(*problem));
        return chart;
    }
    // The chosen day marked where Deg from Winter Solstice reads as one.
    chart::YearChart drawing(std::get<daycalc::YearView>(asRead));
    drawing.MarkDay(chart::ChosenDay(inputs.fromSolstice).value_or(NAN));
    drawing.SetWidth(width);
    daycalc::ProduceYear(inputs, 1, drawing);
    chart.set("svg", drawing.Svg());
    return chart;
}

// The boxes' texts as the calculator reads them, by field: the number each reads as, in its
// shortest text, for the command lines of the sky, the map and the downloads, so that they read
// what the calculator reads (an empty box as 0, "38S" as 38). A text too large to read stays as
// typed, for the sky to say so.
val Read(const val& texts) {
    const daycalc::DaylightInputs inputs = InputsOf(texts);
    val read = val::object();
    for (const daycalc::InputField& f : daycalc::kInputFields) {
        const std::string& text = inputs.*(f.text);
        try {
            read.set(std::string(f.field), rt::ShortestText(rt::ValFromText(text)));
        } catch (const rt::Fault&) {
            read.set(std::string(f.field), text);
        }
    }
    return read;
}

// Why the sky cannot use each of its own values that it cannot, by field (eccentricity,
// perihelion, horizon, longitude, utc_offset): each read as the companion reads its option and
// held to the sky's ranges; the values it can use are not named.
val SkyValues(const val& values) {
    val why = val::object();
    daycalc::SkyInputs earth{.tilt = 23.44,
                             .latitude = 0,
                             .solarDay = 24,
                             .year = 365.25,
                             .eccentricity = 0,
                             .perihelion = 0,
                             .horizon = daycalc::kSunriseHorizon,
                             .step = 1};
    const std::pair<const char*, double daycalc::SkyInputs::*> numbers[] = {
        {"eccentricity", &daycalc::SkyInputs::eccentricity},
        {"perihelion", &daycalc::SkyInputs::perihelion},
        {"horizon", &daycalc::SkyInputs::horizon},
        {"longitude", &daycalc::SkyInputs::longitude}};
    for (const auto& [field, member] : numbers) {
        if (!values[field].isString()) continue;
        const std::string text = values[field].as<std::string>();
        const std::optional<double> number = std::string_view(field) == "horizon"
                                                 ? daycalc::HorizonOf(text)
                                                 : rt::StrictNumber(text);
        if (!number) {
            why.set(field,
                    std::string(std::string_view(field) == "horizon" ? daycalc::kHorizonForm
                                                                     : "not a decimal number"));
            continue;
        }
        daycalc::SkyInputs alone = earth;
        alone.*member = *number;
        const std::optional<daycalc::Problem> problem = daycalc::SkyProblem(alone);
        if (problem && problem->fields.front() == field) why.set(field, problem->message);
    }
    if (values["utc_offset"].isString()) {
        const std::optional<double> offset =
            daycalc::UtcOffsetOf(values["utc_offset"].as<std::string>());
        if (!offset) {
            why.set("utc_offset", std::string(daycalc::kUtcOffsetForm));
        } else if (const daycalc::ValueRange& range = daycalc::RangeOf("utc_offset");
                   !range.Holds(*offset)) {
            why.set("utc_offset", std::string(range.reason));
        }
    }
    return why;
}

// How far the sky's daylight of a day is from the calculator's, and why, in one line: `sky` the
// sky's daylight at its horizon (`horizon`, as the sky's box gives it), `level` the same day's at
// the level of the sun's centre, `calculator` the calculator's Daylight, each as its text. The
// horizon's share is the sky's less the level's; the rest is the sun's own course (its declination
// along the orbit, its motion through the day). The differences to three digits, in the unit of
// the solar day.
std::string Difference(const std::string& sky, const std::string& level,
                       const std::string& calculator, const std::string& horizon) {
    const double atHorizon = rt::ValFromText(sky), atLevel = rt::ValFromText(level),
                 byFormula = rt::ValFromText(calculator);
    const auto shown = [](double x) { return rt::TextFromDouble(rt::RoundToDigits(x, 3)); };
    const double difference = atHorizon - byFormula;
    const std::string why =
        horizon == "sunrise"
            ? std::string(daycalc::HintTextOf(daycalc::HintId::HorizonOfSunrise).hint)
            : daycalc::Filled(daycalc::HintTextOf(daycalc::HintId::HorizonAt).hint,
                              {{"horizon", horizon}});
    return daycalc::Filled(daycalc::HintTextOf(daycalc::HintId::SkyAgainstCalculator).hint,
                           {{"difference", shown(std::fabs(difference))},
                            {"way", difference >= 0 ? "longer" : "shorter"},
                            {"calculator", calculator},
                            {"horizon", shown(atHorizon - atLevel)},
                            {"why", why},
                            {"moving", shown(atLevel - byFormula)}});
}

// A time of a table's text in hours, as a clock shows it to the minute ("05:41", "00:04 +1"),
// and a length as words ("14 h 25 min"); a text that is no number stays as it is.
std::string ClockText(const std::string& hours) {
    const std::optional<double> number = rt::StrictNumber(hours);
    return number ? rt::ClockMinutesText(*number) : hours;
}
std::string LengthText(const std::string& hours) {
    const std::optional<double> number = rt::StrictNumber(hours);
    return number ? rt::LengthWords(*number) : hours;
}

// The day and the latitude the charts mark, {day, latitude}: each its box's text where it reads
// as one, or empty.
val Chosen(const val& texts) {
    const daycalc::DaylightInputs inputs = InputsOf(texts);
    val chosen = val::object();
    chosen.set("day", chart::ChosenDay(inputs.fromSolstice) ? inputs.fromSolstice : "");
    chosen.set("latitude", chart::ChosenLatitude(inputs.latitude) ? inputs.latitude : "");
    return chosen;
}

// The planets of the solar system, each with the texts it puts in the boxes, by field.
val Planets() {
    val planets = val::array();
    for (const daycalc::PlanetPreset& p : daycalc::kPlanets) {
        val planet = val::object();
        planet.set("name", std::string(p.name));
        val texts = val::object();
        for (const auto& [member, text] : daycalc::PlanetTexts(p)) {
            texts.set(std::string(daycalc::InputFieldOf(member)->field), std::string(text));
        }
        planet.set("texts", texts);
        planet.set("eccentricity", rt::ShortestText(p.eccentricity));
        planet.set("perihelion", rt::ShortestText(p.perihelion));
        planets.call<void>("push", planet);
    }
    return planets;
}

// Keeps nothing it is given, and every write to it succeeds.
class Discard : public std::streambuf {
  protected:
    int overflow(int c) override { return traits_type::not_eof(c); }
    std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

// daylight-cli run on the arguments (without the program's name), writing its output to `out`:
// its status, what it said and, where a chart was asked for, the chart's SVG.
val RunInto(const val& arguments, std::ostream& out) {
    std::vector<std::string> args = {"daylight-cli"};
    for (int i = 0; i < arguments["length"].as<int>(); ++i) {
        args.push_back(arguments[i].as<std::string>());
    }
    std::vector<const char*> argv;
    for (const std::string& a : args) argv.push_back(a.c_str());
    std::istringstream in;
    std::ostringstream err;
    std::string svg;
    const int status = companion::Run(int(argv.size()), argv.data(), in, out, err,
                                      [&svg](const std::string&, const std::string& chart) {
                                          svg = chart;
                                          return std::string();
                                      });
    val run = val::object();
    run.set("status", status);
    run.set("err", err.str());
    run.set("svg", svg);
    return run;
}

// The run with what it wrote as well: the page's downloads are these bytes.
val Run(const val& arguments) {
    std::ostringstream out;
    val run = RunInto(arguments, out);
    run.set("out", out.str());
    return run;
}

// The run for its chart alone: the table's text, which may be far larger, is not kept.
val Draw(const val& arguments) {
    Discard nothing;
    std::ostream out(&nothing);
    return RunInto(arguments, out);
}

// The places, once the page has fetched their file: whether it was one.
std::optional<places::Gazetteer>& Gazetteer() {
    static std::optional<places::Gazetteer> gazetteer;
    return gazetteer;
}
bool LoadPlaces(const std::string& text) {
    Gazetteer() = places::Gazetteer::Read(text);
    return Gazetteer().has_value();
}

// The places a query finds, {count, places, nearest}: at most `most` of them, most populous first,
// each {name, words, latitude, longitude, timeZone}; where none, the nearest names to try.
val FindPlaces(const std::string& query, int most) {
    val answer = val::object();
    val list = val::array();
    val nearest = val::array();
    const places::Found found =
        Gazetteer() ? Gazetteer()->Find(query, std::size_t(std::max(most, 0))) : places::Found{};
    for (const places::Place& p : found.first) {
        val place = val::object();
        place.set("name", p.name);
        place.set("words", places::PlaceWords(p));
        place.set("latitude", rt::ShortestText(p.latitude));
        place.set("longitude", rt::ShortestText(p.longitude));
        place.set("timeZone", p.timeZone);
        list.call<void>("push", place);
    }
    if (found.count == 0 && Gazetteer()) {
        for (const std::string& name : Gazetteer()->Nearest(query))
            nearest.call<void>("push", name);
    }
    answer.set("count", double(found.count));
    answer.set("places", list);
    answer.set("nearest", nearest);
    return answer;
}

void SetZoneNames(const std::string& text) { companion::SetZoneNames(text); }

}  // namespace

EMSCRIPTEN_BINDINGS(daylight) {
    emscripten::function("loadPlaces", &LoadPlaces);
    emscripten::function("findPlaces", &FindPlaces);
    emscripten::function("setZoneNames", &SetZoneNames);
    emscripten::function("run", &Run);
    emscripten::function("draw", &Draw);
    emscripten::function("planets", &Planets);
    emscripten::function("face", &Face);
    emscripten::function("compute", &Compute);
    emscripten::function("chart", &Chart);
    emscripten::function("chosen", &Chosen);
    emscripten::function("read", &Read);
    emscripten::function("difference", &Difference);
    emscripten::function("clockText", &ClockText);
    emscripten::function("lengthText", &LengthText);
    emscripten::function("skyValues", &SkyValues);
}
