#include "explain.h"

#include <algorithm>
#include <cmath>

#include "daylight/ranges.h"
#include "model.h"

namespace daycalc {
namespace {

using Values = std::vector<std::pair<std::string_view, std::string>>;

constexpr std::string_view kTilt = "tilt";
constexpr std::string_view kLatitude = "latitude";
constexpr std::string_view kFromSolstice = "from_solstice";

std::string Text(double x) { return rt::TextFromDouble(x); }

// How many decimals a number's text has ("177.36" has 2), or none for the exponent form.
std::optional<int> DecimalsOf(double x) {
    const std::string text = Text(x);
    if (text.find('E') != std::string::npos) return std::nullopt;
    const std::size_t point = text.find('.');
    return point == std::string::npos ? 0 : int(text.size() - point - 1);
}

// a + b as people write it: to as many decimals as the longer of the two, so that 180 − 177.36
// is 2.64 and not the 2.63999999999999 of the nearest doubles.
std::string SumText(double a, double b) {
    const double sum = a + b;
    const std::optional<int> da = DecimalsOf(a), db = DecimalsOf(b);
    if (!da || !db) return Text(sum);
    double scale = 1;
    for (int i = 0; i < std::max(*da, *db); ++i) scale *= 10;
    const double scaled = sum * scale;
    if (!(std::fabs(scaled) < 0x1p53)) return Text(sum);
    return Text(std::round(scaled) / scale + 0.0);  // + 0.0: no "-0"
}

// What a hint's values promise: an answer, or one with the day's daylight, or the span of full
// daylight.
enum class Promise { Results, Daylight, FullDaylight };

// One way forward: the hint that says it, the boxes it names, and what to type.
struct Candidate {
    HintId hint;
    std::vector<std::string_view> fields;
    std::vector<Try> tries;
    Promise promise = Promise::Results;
};

struct Why {
    Values values;
    std::vector<Candidate> candidates;  // in the order they are offered
    bool yearHasTheDays = false;
};

DaylightInputs With(DaylightInputs inputs, const std::vector<Try>& tries) {
    for (const Try& t : tries) inputs.*(InputFieldNamed(t.field)->text) = t.text;
    return inputs;
}

// Whether the inputs give what was promised in that mode.
bool Gives(const DaylightInputs& inputs, Mode mode, Promise promise) {
    if (mode == Mode::Year) return YearComputes(inputs);
    Stage stage = Stage::Reading;
    try {
        const Planet p = ReadPlanet(inputs, PointOfYear::Read);
        if (!WithinThePoles(p)) return false;
        const DaylightResults r = Calculate(p, stage);
        switch (promise) {
            case Promise::Results:
                return true;
            case Promise::Daylight:
                return !r.daylight.empty();
            case Promise::FullDaylight:
                return !r.fullDaylight.empty();
        }
    } catch (const rt::Fault&) {
    }
    return false;
}

// The first box whose number overflows as it is read; the year reads no point of the year.
Why TooLarge(const DaylightInputs& in, Mode mode) {
    for (const InputField& f : kInputFields) {
        if (mode == Mode::Year && f.field == kFromSolstice) continue;
        try {
            rt::ValFromText(in.*(f.text));
        } catch (const rt::Fault&) {
            return {{{"box", std::string(f.caption)}},
                    {{HintId::TooLarge, {f.field}, {{f.field, std::string(f.start)}}}}};
        }
    }
    return {};
}

// Half a year later in the other hemisphere the days are the same: x = tan L · cos A · tan T
// keeps its value when L changes sign and A moves on by 180.
std::string HalfAYearLater(double fromSolstice) {
    return SumText(fromSolstice, fromSolstice + 180 < 360 ? 180 : -180);
}

// What a stop is explained from: its kind and stage, and the values as read.
struct Stop {
    rt::FaultKind kind;
    Stage stage;
    double tilt;  // as the days take it
    double latitude;
    double fromSolstice;
    Values values;         // the tilt and the latitude, for the hints' texts
    std::string mirrored;  // the latitude in the other hemisphere
    std::string later;     // the point of the year half a year later
};

std::vector<Try> LatitudeTry(const std::string& text) { return {{kLatitude, text}}; }

// On a polar circle: the shortest day's formula divides by zero there, and full daylight's where
// rounding puts a northern latitude a hair beyond it.
bool OnTheCircle(const Stop& s) {
    const bool fullDaylightOnTheCircle = s.stage == Stage::FullDaylight && s.latitude > 0;
    return (s.stage == Stage::ShortestDay || fullDaylightOnTheCircle) &&
           s.kind == rt::FaultKind::DivisionByZero;
}

// Each way a calculation stops that a hint explains, in the order they are told apart: when it
// is the one, and its hints with their values to try.
struct Explanation {
    bool (*when)(const Stop&);
    Why (*hints)(const Stop&);
};

const Explanation kExplanations[] = {
    {[](const Stop& s) { return s.tilt < -90 || s.tilt > 180; },
     [](const Stop& s) -> Why {
         return {
             s.values,
             {{HintId::TiltFarBeyond, {kTilt}, {{kTilt, StartingText(&DaylightInputs::tilt)}}}}};
     }},
    // A negative tilt, or one of 180, gives the days of a tilt from 0 to 90 half a year later,
    // since tan(−T) = −tan T and cos(A + 180°) = −cos A. (Tilts between 90 and 180 are taken as
    // 180 − T when read, and do not stop here.)
    {[](const Stop& s) { return s.tilt < 0 || s.tilt > 90; },
     [](const Stop& s) -> Why {
         const std::string same = s.tilt < 0 ? SumText(0, -s.tilt) : SumText(180, -s.tilt);
         Values values = s.values;
         values.emplace_back("same", same);
         return {values,
                 {{HintId::TiltBeyond,
                   {kTilt, kFromSolstice},
                   {{kTilt, same}, {kFromSolstice, s.later}}}}};
     }},
    {[](const Stop& s) {
         return s.stage == Stage::ShortestDay && s.tilt == 90 &&
                s.kind == rt::FaultKind::InvalidOperation;
     },
     [](const Stop& s) -> Why {
         return {s.values,
                 {{HintId::RightAngleAtTheEquator, {kTilt, kLatitude}, {{kTilt, "89.9"}}},
                  {HintId::RightAngleAtTheEquator, {kTilt, kLatitude}, LatitudeTry("0.1")}}};
     }},
    {[](const Stop& s) { return s.stage == Stage::ShortestDay && s.tilt == 90; },
     [](const Stop& s) -> Why {
         return {s.values,
                 {{HintId::RightAngleSouth, {kTilt}, {{kTilt, "89.9"}}},
                  {HintId::RightAngleSouth,
                   {kTilt, kLatitude, kFromSolstice},
                   {{kTilt, "89.9"}, {kLatitude, s.mirrored}, {kFromSolstice, s.later}}}}};
     }},
    {[](const Stop& s) { return OnTheCircle(s) && s.latitude < 0; },
     [](const Stop& s) -> Why {
         return {s.values,
                 {{HintId::OnTheSouthernPolarCircle,
                   {kLatitude, kTilt},
                   LatitudeTry(SumText(s.latitude, 0.1))}}};
     }},
    {OnTheCircle,
     [](const Stop& s) -> Why {
         return {s.values,
                 {{HintId::OnThePolarCircle,
                   {kLatitude, kTilt},
                   LatitudeTry(SumText(s.latitude, -0.1))},
                  {HintId::OnThePolarCircle,
                   {kLatitude, kTilt},
                   LatitudeTry(SumText(s.latitude, 0.1))}}};
     }},
    {[](const Stop& s) {
         return s.stage == Stage::ShortestDay && s.kind == rt::FaultKind::InvalidArgument &&
                s.latitude < 0;
     },
     [](const Stop& s) -> Why {
         Values values = s.values;
         values.emplace_back("circle", SumText(s.tilt, -90));
         return {values,
                 {{HintId::BeyondTheSouthernPolarCircle,
                   {kLatitude, kFromSolstice},
                   {{kLatitude, s.mirrored}, {kFromSolstice, s.later}},
                   Promise::FullDaylight}},
                 true};
     }},
    {[](const Stop& s) { return s.stage == Stage::ChosenDay; },
     [](const Stop& s) -> Why {
         const std::string towardsTheEquator = SumText(s.latitude, s.latitude > 0 ? -0.1 : 0.1);
         return {s.values,
                 {{HintId::TouchesTheHorizon,
                   {kLatitude, kFromSolstice},
                   LatitudeTry(towardsTheEquator),
                   Promise::Daylight},
                  {HintId::TouchesTheHorizon,
                   {kLatitude, kFromSolstice},
                   {{kFromSolstice, SumText(s.fromSolstice, 1)}},
                   Promise::Daylight}}};
     }},
};

Why Explained(const DaylightInputs& in, rt::FaultKind kind, Stage stage) {
    if (stage == Stage::Reading) return {};
    // The tilt and latitude were read once already, so neither overflows now; the year reads no
    // point of the year, whose text may be anything.
    const double typed = rt::ValFromText(in.tilt);
    const double latitude = rt::ValFromText(in.latitude);
    double fromSolstice = 0;
    try {
        fromSolstice = rt::ValFromText(in.fromSolstice);
    } catch (const rt::Fault&) {
    }
    const Stop stop{.kind = kind,
                    .stage = stage,
                    .tilt = TiltOfTheDays(typed),
                    .latitude = latitude,
                    .fromSolstice = fromSolstice,
                    .values = {{"tilt", Text(typed)}, {"latitude", Text(latitude)}},
                    .mirrored = SumText(0, -latitude),
                    .later = HalfAYearLater(fromSolstice)};
    for (const Explanation& e : kExplanations) {
        if (e.when(stop)) return e.hints(stop);
    }
    return {};
}

std::string_view StageWords(Stage stage) {
    switch (stage) {
        case Stage::Reading:
            return "reading the boxes";
        case Stage::ShortestDay:
            return "the shortest day";
        case Stage::ChosenDay:
            return "daylight on the chosen day";
        case Stage::FullDaylight:
            return "the span of full daylight";
    }
    return "";
}

// When nothing more is known: a small change to the latitude or the tilt.
Why NoResult(const DaylightInputs& in, Stage stage) {
    const double tilt = rt::ValFromText(in.tilt);
    const double latitude = rt::ValFromText(in.latitude);
    Why why{{{"stage", std::string(StageWords(stage))}}, {}};
    for (const auto& [field, value] : {std::pair{kLatitude, latitude}, {kTilt, tilt}}) {
        for (const double change : {-0.1, 0.1}) {
            why.candidates.push_back(
                {HintId::NoResult, {kLatitude, kTilt}, {{field, SumText(value, change)}}});
        }
    }
    return why;
}

// "Try Latitude 80 and Deg from Winter Solstice 180."
std::string TrySentence(const std::vector<Try>& tries) {
    std::string values;
    for (std::size_t i = 0; i < tries.size(); ++i) {
        if (i > 0)
            values += HintTextOf(i + 1 < tries.size() ? HintId::TryComma : HintId::TryAnd).hint;
        values += CaptionOf(tries[i].field) + " " + tries[i].text;
    }
    return Filled(HintTextOf(HintId::Try).hint, {{"values", values}});
}

// A typed text as a note shows it: control characters as \n, \t or \xNN, a quote or backslash
// after a backslash, and at most the first 40 bytes (not cutting a character in two), then "...".
std::string Shown(std::string_view text) {
    constexpr std::size_t kLongest = 40;
    std::size_t end = std::min(text.size(), kLongest);
    while (end < text.size() && end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) {
        --end;
    }
    std::string shown;
    for (const char c : text.substr(0, end)) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\n') {
            shown += "\\n";
        } else if (c == '\t') {
            shown += "\\t";
        } else if (c == '"' || c == '\\') {
            shown += '\\';
            shown += c;
        } else if (byte < 0x20 || byte == 0x7f) {
            constexpr char kHex[] = "0123456789abcdef";
            shown += "\\x";
            shown += kHex[byte >> 4];
            shown += kHex[byte & 15];
        } else {
            shown += c;
        }
    }
    return end < text.size() ? shown + "..." : shown;
}

}  // namespace

std::string Filled(std::string_view pattern,
                   const std::vector<std::pair<std::string_view, std::string>>& values) {
    std::string text;
    while (!pattern.empty()) {
        const std::size_t open = pattern.find('{');
        const std::size_t close = pattern.find('}', open);
        if (open == std::string_view::npos || close == std::string_view::npos) break;
        text.append(pattern.substr(0, open));
        const std::string_view name = pattern.substr(open + 1, close - open - 1);
        const auto value = std::find_if(values.begin(), values.end(),
                                        [&](const auto& v) { return v.first == name; });
        text.append(value != values.end() ? std::string_view(value->second)
                                          : pattern.substr(open, close - open + 1));
        pattern.remove_prefix(close + 1);
    }
    return text.append(pattern);
}

std::string CaptionOf(std::string_view field) {
    if (const InputField* f = InputFieldNamed(field)) return std::string(f->caption);
    std::string caption(field);
    std::replace(caption.begin(), caption.end(), '_', ' ');
    if (!caption.empty() && caption[0] >= 'a' && caption[0] <= 'z') caption[0] -= 'a' - 'A';
    return caption;
}

std::vector<ReadingNote> ReadingNotes(const DaylightInputs& inputs,
                                      const std::vector<std::string_view>& unread) {
    std::vector<ReadingNote> notes;
    for (const InputField& f : kInputFields) {
        const std::string& text = inputs.*(f.text);
        if (std::find(unread.begin(), unread.end(), f.field) != unread.end()) continue;
        // A starting text is read whole (the table's test says so), as most texts are.
        if (text == f.start || rt::ReadWhole(text)) continue;
        double number = 0;
        try {
            number = rt::ValFromText(text);
        } catch (const rt::Fault&) {
            continue;
        }
        notes.push_back(
            {f.field, Filled(HintTextOf(HintId::ReadAs).hint, {{"box", std::string(f.caption)},
                                                               {"text", Shown(text)},
                                                               {"number", Text(number)}})});
    }
    return notes;
}

std::string WhereTheYearIs(const Problem& problem, FrontEnd frontEnd) {
    if (!problem.year) return "";
    if (frontEnd == FrontEnd::Page) return std::string(HintTextOf(HintId::YearOnThePage).hint);
    return Filled(HintTextOf(HintId::YearOnTheDesktop).hint,
                  {{"tilt", problem.year->tilt}, {"latitude", problem.year->latitude}});
}

Problem Explain(const DaylightInputs& inputs, rt::FaultKind kind, Stage stage, Mode mode) {
    Why why = stage == Stage::Reading ? TooLarge(inputs, mode) : Explained(inputs, kind, stage);
    // The year reads no point of the year, so it offers nothing that changes one.
    std::erase_if(why.candidates, [mode](const Candidate& c) {
        return mode == Mode::Year &&
               std::find(c.fields.begin(), c.fields.end(), kFromSolstice) != c.fields.end();
    });
    if (why.candidates.empty()) why = NoResult(inputs, stage);
    const auto works = [&](const Candidate& c) {
        return Gives(With(inputs, c.tries), mode, c.promise);
    };
    const auto found = std::find_if(why.candidates.begin(), why.candidates.end(), works);
    const bool offered = found != why.candidates.end();
    const Candidate& chosen = offered ? *found : why.candidates.front();
    const HintText& text = HintTextOf(chosen.hint);
    Problem problem{
        .fault = kind,
        .message = std::string(rt::Fault(kind).message()),
        .cause = Filled(text.cause, why.values),
        .hint = Filled(text.hint, why.values),
        // With nothing to try, only the box the hint names first.
        .fields = offered ? chosen.fields : std::vector<std::string_view>{chosen.fields.front()},
        .tries = offered ? chosen.tries : std::vector<Try>{},
        .year = std::nullopt};
    if (!problem.tries.empty()) problem.hint += " " + TrySentence(problem.tries);
    if (why.yearHasTheDays) {
        problem.year = Problem::Year{Text(rt::ValFromText(inputs.tilt)),
                                     Text(rt::ValFromText(inputs.latitude))};
    }
    return problem;
}

double OverThePole(double latitude) {
    // Whole turns off first (exact), then over the pole: 180 − x for x past 90.
    const double x = std::remainder(latitude, 360);
    if (x > 90) return rt::ValFromText(SumText(180, -x));
    if (x < -90) return rt::ValFromText(SumText(-180, -x));
    return x;
}

Problem BeyondThePole(const DaylightInputs& inputs, double latitude, Mode mode) {
    std::vector<Try> tries = {{kLatitude, Text(OverThePole(latitude))}};
    if (mode == Mode::Single && !Gives(With(inputs, tries), mode, Promise::Results)) {
        // Over the pole the press stops too (beyond a southern polar circle, say): what that stop
        // offers instead, if anything.
        const DaylightOutcome over = ComputeDaylight(With(inputs, tries));
        const auto* stop = std::get_if<Problem>(&over);
        for (const Try& t : stop ? stop->tries : std::vector<Try>{}) {
            std::erase_if(tries, [&](const Try& given) { return given.field == t.field; });
            tries.push_back(t);
        }
    }
    if (!Gives(With(inputs, tries), mode, Promise::Results)) tries.clear();
    const HintText& text = HintTextOf(HintId::BeyondThePole);
    Problem problem =
        OutOfRange(std::string(RangeOf(kLatitude).reason), {kLatitude}, std::move(tries));
    problem.cause = Filled(text.cause, {{"latitude", Text(latitude)}});
    problem.hint =
        std::string(text.hint) + (problem.tries.empty() ? "" : " " + TrySentence(problem.tries));
    return problem;
}

Problem OutOfRange(std::string message, std::vector<std::string_view> fields,
                   std::vector<Try> tries) {
    Problem problem{.fault = std::nullopt,
                    .message = std::move(message),
                    .cause = "",
                    .hint = Filled(HintTextOf(HintId::ValueOutOfRange).hint,
                                   {{"box", CaptionOf(fields.front())}}),
                    .fields = std::move(fields),
                    .tries = std::move(tries),
                    .year = std::nullopt};
    if (!problem.tries.empty()) problem.hint += " " + TrySentence(problem.tries);
    return problem;
}

}  // namespace daycalc
