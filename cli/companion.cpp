#include "cli/companion.h"

#include <CLI/CLI.hpp>
#include <cerrno>
#include <cmath>
#include <initializer_list>
#include <istream>
#include <ostream>
#include <sstream>
#include <string>

#include "batch.h"
#include "chart_program.h"
#include "daylight/solar_system.h"
#include "help.h"
#include "input_option.h"
#include "insolation_command.h"
#include "output.h"
#include "places.h"
#include "places_command.h"
#include "planet_option.h"
#include "quoted.h"
#include "sky_command.h"
#include "status.h"
#include "sun_command.h"
#include "table.h"
#include "year_command.h"

namespace companion {
namespace {

using daycalc::DaylightInputs;
using daycalc::DaylightOutcome;
using daycalc::DaylightResults;
using daycalc::InputField;
using daycalc::kInputFields;

void PrintCaptioned(std::ostream& out, const DaylightResults& r) {
    const std::pair<const char*, const std::string&> lines[] = {{"Min Day", r.minDay},
                                                                {"Max Day", r.maxDay},
                                                                {"Daylight", r.daylight},
                                                                {"Night", r.night},
                                                                {"Full Daylight", r.fullDaylight}};
    for (const auto& [caption, text] : lines) {
        out << caption << ':' << (text.empty() ? "" : " ") << text << '\n';
    }
}

int RunOnce(const DaylightInputs& inputs, bool json, bool clock,
            std::vector<daycalc::ReadingNote> notes, std::ostream& out, std::ostream& err) {
    DaylightOutcome outcome = daycalc::ComputeDaylight(inputs);
    if (const auto* problem = std::get_if<daycalc::Problem>(&outcome)) {
        return ReportProblem(*problem, json, out, err);
    }
    // With --clock the four lengths of the solar day's unit as hours, minutes and seconds; Full
    // Daylight is in the unit of the year.
    if (clock) {
        auto& r = std::get<DaylightResults>(outcome);
        for (std::string* text : {&r.minDay, &r.maxDay, &r.daylight, &r.night}) {
            if (!text->empty()) *text = rt::DurationText(rt::ValFromText(*text));
        }
        const CellForm form(true, rt::ValFromText(inputs.solarDay));
        if (const std::string unit = form.Unit(); !unit.empty()) {
            notes.push_back({"solar_day", unit});
            if (!json) WriteNotes(err, {notes.back()});
        }
    }
    if (json) {
        WriteOutcome(out, outcome, notes);
    } else {
        PrintCaptioned(out, std::get<DaylightResults>(outcome));
    }
    return kResults;
}

// Whether an option of that name was given to the app or to any of its commands.
bool Given(const CLI::App& app, const std::string& name) {
    const CLI::Option* own = app.get_option_no_throw(name);
    if (own && own->count() > 0) return true;
    for (const CLI::App* command : app.get_subcommands([](const CLI::App*) { return true; })) {
        if (Given(*command, name)) return true;
    }
    return false;
}

// Fills the inputs and the orbit that the planet gives and no option gave.
void TakePlanet(const CLI::App& app, const daycalc::PlanetPreset& planet, DaylightInputs& inputs,
                SkyRequest& sky) {
    for (const auto& [member, text] : daycalc::PlanetTexts(planet)) {
        if (!Given(app, std::string(daycalc::InputFieldOf(member)->option))) inputs.*member = text;
    }
    if (!Given(app, "--eccentricity")) sky.eccentricity = planet.eccentricity;
    if (!Given(app, "--perihelion")) sky.perihelion = planet.perihelion;
    if (!Given(app, "--distance")) sky.distance = planet.distance;
    if (!Given(app, "--refraction")) sky.refraction = planet.refraction;
    if (!Given(app, "--declination-term")) sky.declinationTerm = planet.declinationTerm;
}

constexpr const char* kAbout =
    "Lengths of day and night on a planet whose axis is tilted against its orbit.\n"
    "Each value is read as the window reads its boxes: blanks ignored, the number at the\n"
    "start counts, no number reads 0.";
constexpr const char* kReadingAndBatch =
    "A value not read whole is noted on the errors: Latitude \"38S\" was read as 38.\n"
    "Where the calculation stops, the errors say why, what to change and the options to\n"
    "try.\n"
    "\n"
    "Batch: each input line is a JSON object with any of the fields tilt, latitude,\n"
    "solar_day, from_solstice and year, each a string or a number, and planet (missing\n"
    "ones take the planet's values or the defaults above). Each non-blank line gets one\n"
    "output line: {\"min\",\"max\",\"day\",\"night\",\"full\"}, or\n"
    "{\"fault\",\"message\",\"hint\",\"try\"}, each with \"notes\" where a value was not read\n"
    "whole; or {\"error\"} for a line that is not such an object. Lines longer than\n"
    "1 MiB, with a NUL byte or a field given twice are error lines.\n"
    "\n";
constexpr const char* kExamples =
    "\n"
    "\n"
    "Examples:\n"
    "  daylight-cli --latitude 52.5 --from-solstice 180\n"
    "  daylight-cli --planet mars --latitude -41.5 --json\n"
    "  daylight-cli year --latitude 70 --step 10\n"
    "  daylight-cli sky --planet earth --latitude 60 --json\n"
    "  echo '{\"latitude\": 70}' | daylight-cli --batch";

// What a command line asks for: its values, each command's request, and the commands.
struct Asked {
    DaylightInputs inputs;
    bool json = false;
    bool batch = false;
    bool clock = false;
    std::string planet;
    std::string place;
    YearRequest year;
    SkyRequest sky;
    PlacesRequest places;
    std::vector<daycalc::ReadingNote> placeNotes;
    CLI::App* yearCommand = nullptr;
    CLI::App* skyCommand = nullptr;
    CLI::App* sunCommand = nullptr;         // which shares the sky's request
    CLI::App* insolationCommand = nullptr;  // and so does this
    CLI::App* placesCommand = nullptr;
};

// The options of the single mode and the batch, and the commands with theirs.
void AddOptions(CLI::App& app, Asked& asked) {
    app.formatter(std::make_shared<Help>());
    app.set_version_flag("--version", "daylight-cli " DAYLIGHT_VERSION);
    app.footer(std::string(kReadingAndBatch) + kStatusesSaid + kExamples);
    app.add_flag("--json", asked.json, "Print one JSON object instead of captioned lines");
    CLI::Option* clockFlag = AddClockOption(app, asked.clock);
    CLI::Option* batchFlag =
        app.add_flag("--batch", asked.batch,
                     "Read JSON Lines from standard input, one line each; the lines\n"
                     "give the values, so no value option goes with it, nor --json")
            ->excludes("--json");
    for (const InputField& f : kInputFields) {
        batchFlag->excludes(AddInputOption(app, f, asked.inputs));
    }
    batchFlag->excludes(clockFlag);
    batchFlag->excludes(AddPlanetOption(app, asked.planet));
    batchFlag->excludes(AddPlaceOption(app, asked.place)->excludes(app.get_option("--latitude")));
    asked.yearCommand = AddYearCommand(app, asked.inputs, asked.year);
    asked.skyCommand = AddSkyCommand(app, asked.inputs, asked.sky);
    asked.sunCommand = AddSunCommand(app, asked.inputs, asked.sky);
    asked.insolationCommand = AddInsolationCommand(app, asked.inputs, asked.sky);
    asked.placesCommand = AddPlacesCommand(app, asked.places);
    for (CLI::App* command :
         {asked.yearCommand, asked.skyCommand, asked.sunCommand, asked.insolationCommand}) {
        AddPlanetOption(*command, asked.planet);
        AddPlaceOption(*command, asked.place)->excludes(command->get_option("--latitude"));
        for (const char* single : {"--json", "--batch", "--from-solstice"}) {
            command->excludes(app.get_option(single));
        }
    }
}

// One command at a time: a second would be done in place of the first, or not at all. Says so
// and returns false where more than one was given.
bool OneCommand(std::initializer_list<const CLI::App*> commands, std::ostream& err) {
    std::vector<std::string> given;
    std::size_t count = 0;
    for (const CLI::App* command : commands) {
        count += command->count();
        if (command->count() > 0) given.push_back(command->get_name());
    }
    if (count <= 1) return true;
    err << "daylight-cli: give one command at a time: "
        << (given.size() == 1 ? given[0] + " was given twice"
                              : given[0] + " and " + given[1] + " were both given")
        << '\n';
    return false;
}

// A place gives its latitude, and in the sky its longitude and, with a date, its zone; it is
// noted on the errors and in each command's output. Says why and returns false where there is
// no such place.
bool TakePlace(Asked& asked, std::ostream& err) {
    const places::Gazetteer* gazetteer = Places();
    if (!gazetteer) {
        err << "daylight-cli: this daylight-cli was built without places: give --latitude\n";
        return false;
    }
    const places::Found found = gazetteer->Find(asked.place, 1);
    if (found.count == 0) {
        err << "daylight-cli: " << NoPlaceNamed(*gazetteer, asked.place) << '\n';
        return false;
    }
    const places::Place& p = found.first.front();
    const CLI::App& sky = asked.sunCommand->parsed() ? *asked.sunCommand : *asked.skyCommand;
    asked.inputs.latitude = rt::ShortestText(p.latitude);
    if (!Given(sky, "--longitude")) asked.sky.longitude = p.longitude;
    if (asked.sky.Dated() && !Given(sky, "--utc-offset") && asked.sky.timeZone.empty()) {
        asked.sky.timeZone = p.timeZone;
    }
    const std::size_t others = found.count - 1;
    const std::string note = places::PlaceWords(p) +
                             (others == 0 ? std::string()
                                          : "; " + std::to_string(others) +
                                                (others == 1 ? " other matches" : " others match"));
    err << "daylight-cli: note: " << note << '\n';
    asked.placeNotes.push_back({"place", note});
    asked.year.notes.push_back(note);
    asked.sky.notes.push_back(note);
    return true;
}

// What marks or sizes a chart does nothing without one: said, not kept silent.
void NoteChartOnly(Asked& asked, std::ostream& err) {
    for (const auto& [command, notes] : {std::pair{asked.yearCommand, &asked.year.notes},
                                         std::pair{asked.skyCommand, &asked.sky.notes},
                                         std::pair{asked.sunCommand, &asked.sky.notes},
                                         std::pair{asked.insolationCommand, &asked.sky.notes}}) {
        if (!command->parsed() || Given(*command, "--chart")) continue;
        for (const char* onTheChart : {"--mark", "--mark-latitude", "--chart-width"}) {
            if (!Given(*command, onTheChart)) continue;
            const std::string note =
                std::string(onTheChart) + " is for a chart: without --chart it does nothing";
            err << "daylight-cli: note: " << note << '\n';
            notes->push_back(note);
        }
    }
}

// A date's sky is the Earth's own that year: an option of the orbit given before sky is refused
// as it is after it, not dropped. Says so and returns false where one was.
bool DatedSkyAlone(const CLI::App& app, const SkyRequest& sky, std::ostream& err) {
    if (!sky.Dated()) return true;
    for (const InputField& f : kInputFields) {
        const CLI::Option* before = app.get_option_no_throw(std::string(f.option));
        if (f.text == &DaylightInputs::latitude || !before || before->count() == 0) continue;
        err << "daylight-cli: " << f.option << " excludes "
            << (!sky.date.empty()   ? "--date"
                : sky.month.empty() ? "--from"
                                    : "--month")
            << ": a date's sky is the Earth's own that year\n";
        return false;
    }
    return true;
}

// Parses the command line and runs the command it names.
int Command(int argc, const char* const* argv, std::istream& in, std::ostream& out,
            std::ostream& err, const ChartWriter& charts) {
    CLI::App app{kAbout, "daylight-cli"};
    Asked asked;
    AddOptions(app, asked);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        // Help and the version go out as they are; an error may hold what was typed, shown
        // without its control characters.
        std::ostringstream said;
        const int code = app.exit(e, out, said);
        err << Printable(said.str());
        if (code == 0) return kResults;
        if (const std::string suggestion = Suggestion(app, argc, argv); !suggestion.empty()) {
            err << "daylight-cli: " << suggestion << '\n';
        }
        return kBadInput;
    }
    CLI::App& year = *asked.yearCommand;
    CLI::App& sky = *asked.skyCommand;
    CLI::App& sun = *asked.sunCommand;
    CLI::App& insolation = *asked.insolationCommand;
    if (!OneCommand({&year, &sky, &sun, &insolation}, err)) return kBadInput;
    if (asked.placesCommand->parsed()) {
        const auto given = app.get_options([](const CLI::Option* o) { return o->count() > 0; });
        if (year.count() + sky.count() + sun.count() + insolation.count() > 0 || !given.empty()) {
            err << "daylight-cli: places takes its query alone (and --json)\n";
            return kBadInput;
        }
        return RunPlaces(asked.places, out, err);
    }
    if (!asked.place.empty() && !TakePlace(asked, err)) return kBadInput;
    if (const daycalc::PlanetPreset* preset = daycalc::PlanetNamed(asked.planet)) {
        TakePlanet(app, *preset, asked.inputs, asked.sky);
        asked.sky.earth = preset->name == "earth";
    }
    asked.sky.defaultStep = !Given(sky, "--step");
    if (asked.batch) return RunBatch(in, out, err);
    // The values each command reads, each noted where it was not read whole.
    std::vector<std::string_view> unread;
    if (year.parsed() || sky.parsed() || sun.parsed() || insolation.parsed()) {
        unread.push_back("from_solstice");
    }
    if ((sky.parsed() || insolation.parsed()) && (asked.sky.map || asked.sky.annual)) {
        unread.push_back("latitude");
    }
    if (insolation.parsed() && !std::isnan(asked.sky.fromKyr)) {
        for (const char* orbit : {"tilt", "solar_day", "year"}) unread.push_back(orbit);
    }
    WriteNotes(err, daycalc::ReadingNotes(asked.inputs, unread));
    asked.year.writeChart = asked.sky.writeChart = charts;
    NoteChartOnly(asked, err);
    if (year.parsed()) return RunYear(asked.inputs, asked.year, out, err);
    if (insolation.parsed()) {
        if (Given(insolation, "--latitude-step") && !asked.sky.map && !asked.sky.annual) {
            err << "daylight-cli: --latitude-step goes with --map or --annual\n";
            return kBadInput;
        }
        return RunInsolation(asked.inputs, asked.sky, out, err);
    }
    if (sky.parsed() || sun.parsed()) {
        if (!DatedSkyAlone(app, asked.sky, err)) return kBadInput;
        return (sky.parsed() ? RunSky : RunSun)(asked.inputs, asked.sky, out, err);
    }
    return RunOnce(asked.inputs, asked.json, asked.clock, asked.placeNotes, out, err);
}

}  // namespace

int Run(int argc, const char* const* argv, std::istream& in, std::ostream& out, std::ostream& err) {
    return Run(argc, argv, in, out, err, WriteChart);
}

int Run(int argc, const char* const* argv, std::istream& in, std::ostream& out, std::ostream& err,
        const ChartWriter& charts) {
    errno = 0;
    const int status = Command(argc, argv, in, out, err, charts);
    if (status == kOutputNotWritten || status == kInputNotRead) return status;  // reported
    // Nothing counts as done until it is out: help text and results alike.
    out.flush();
    return out ? status : ReportWriteFailure(err);
}

}  // namespace companion
