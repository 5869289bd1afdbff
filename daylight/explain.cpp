#include "explain.h"

#include <cmath>

namespace daycalc {
namespace {

using Box = std::string DaylightInputs::*;
constexpr Box kTilt = &DaylightInputs::tilt;
constexpr Box kLatitude = &DaylightInputs::latitude;
constexpr Box kFromSolstice = &DaylightInputs::fromSolstice;

struct Why {
    std::string cause;
    std::string hint;
    std::vector<Box> boxes;
};

std::string Text(double x) { return rt::TextFromDouble(x); }

// The first box whose number overflows as it is read.
Why TooLarge(const DaylightInputs& in) {
    for (const InputField& f : kInputFields) {
        try {
            rt::ValFromText(in.*(f.text));
        } catch (const rt::Fault&) {
            const std::string box(f.caption);
            return {"The number in " + box + " is too large to compute with.",
                    "Type a smaller number in " + box + ": numbers run up to about 1.8E+308.",
                    {f.text}};
        }
    }
    return {};
}

// Half a year later in the other hemisphere the days are the same: x = tan L · cos A · tan T
// keeps its value when L changes sign and A moves on by 180.
double HalfAYearLater(double fromSolstice) {
    return fromSolstice + 180 < 360 ? fromSolstice + 180 : fromSolstice - 180;
}

// Tilts beyond 0 to 90 give the days of a tilt within them with the latitude's sign changed,
// since tan(−T) = tan(180° − T) = −tan T; where that latitude lies beyond the southern polar
// circle, the same latitude half a year later does.
Why TiltOutOfRange(const DaylightInputs& in, double tilt, double latitude) {
    const std::string cause =
        "The calculation takes tilts from 0 to 90, and " + Text(tilt) + " lies beyond.";
    if (tilt < -90 || tilt > 180) return {cause, "Type a Tilt from 0 to 90.", {kTilt}};
    const double same = tilt < 0 ? -tilt : 180 - tilt;
    const std::string hint = "A tilt of " + Text(tilt) + " gives the same days as a tilt of " +
                             Text(same) + " with the latitude's sign changed: type Tilt " +
                             Text(same);
    if (-latitude >= -(90 - same)) {
        return {cause, hint + " and Latitude " + Text(-latitude + 0.0) + ".", {kTilt, kLatitude}};
    }
    return {cause,
            hint + ", and to keep Latitude " + Text(latitude) +
                " go half a year on: Deg from Winter Solstice " +
                Text(HalfAYearLater(rt::ValFromText(in.fromSolstice))) + ".",
            {kTilt, kFromSolstice}};
}

Why AtTheShortestDay(const DaylightInputs& in, rt::FaultKind kind, double tilt, double latitude) {
    const double circle = 90 - tilt;
    if (tilt == 90 && kind == rt::FaultKind::InvalidOperation) {
        return {
            "With a tilt of exactly 90 the shortest day at the equator has no value: its "
            "formula meets 0 divided by 0.",
            "Change the Tilt a little, such as 89.9, or the Latitude.",
            {kTilt, kLatitude}};
    }
    if (tilt == 90) {
        return {
            "With a tilt of exactly 90 the shortest day south of the equator has no value: "
            "its formula divides by the tangent of 90 minus the tilt, which is 0.",
            "Change the Tilt a little, such as 89.9.",
            {kTilt}};
    }
    if (kind == rt::FaultKind::DivisionByZero) {
        const bool south = latitude < 0;
        return {"Latitude " + Text(latitude) + " lies exactly on the " +
                    (south ? "southern " : "") + "polar circle of a tilt of " + Text(tilt) +
                    ", where the formula for the shortest day has no value.",
                "Move the Latitude a little off the circle, such as " +
                    (south ? Text(latitude + 0.1)
                           : Text(latitude - 0.1) +
                                 (latitude + 0.1 <= 90 ? " or " + Text(latitude + 0.1) : "")) +
                    ", or change the Tilt.",
                {kLatitude, kTilt}};
    }
    if (kind == rt::FaultKind::InvalidArgument) {
        const double later = HalfAYearLater(rt::ValFromText(in.fromSolstice));
        const std::string cause = "Latitude " + Text(latitude) +
                                  " lies beyond the southern polar circle of a tilt of " +
                                  Text(tilt) + ", at " + Text(-circle) +
                                  ", where the sun stays up or down for days; this calculation "
                                  "stops there.";
        const std::string north =
            "The same day half a year later in the north has the same "
            "daylight and night: type Latitude " +
            Text(-latitude) + " and Deg from Winter Solstice " + Text(later) + ".";
        const std::string year =
            " For the whole year with its polar day and night, run "
            "daylight-cli year --tilt " +
            Text(tilt) + " --latitude " + Text(latitude) + ".";
        return {cause, north + year, {kLatitude, kFromSolstice}};
    }
    return {};
}

Why Explained(const DaylightInputs& in, rt::FaultKind kind, Stage stage) {
    if (stage == Stage::Reading) return TooLarge(in);
    // Every text was read once already, so none overflows now.
    const double tilt = rt::ValFromText(in.tilt);
    const double latitude = rt::ValFromText(in.latitude);
    if (std::fabs(latitude) > 90) {
        return {"Latitude " + Text(latitude) +
                    " lies beyond the pole: latitudes run from -90 at "
                    "the south pole to 90 at the north pole.",
                "Type a Latitude from -90 to 90.",
                {kLatitude}};
    }
    if (tilt < 0 || tilt > 90) return TiltOutOfRange(in, tilt, latitude);
    if (stage == Stage::ShortestDay) {
        Why why = AtTheShortestDay(in, kind, tilt, latitude);
        if (!why.cause.empty()) return why;
    }
    if (stage == Stage::ChosenDay) {
        return {"On the chosen day the sun at Latitude " + Text(latitude) +
                    " only touches the horizon, where the formula for daylight has no value.",
                "Move the Latitude a little towards the equator, or change Deg from Winter "
                "Solstice.",
                {kLatitude, kFromSolstice}};
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

}  // namespace

DaylightStop Explain(const DaylightInputs& inputs, const rt::Fault& fault, Stage stage) {
    Why why = Explained(inputs, fault.kind(), stage);
    if (why.cause.empty()) {
        why = {"These values have no result: the calculation stopped at " +
                   std::string(StageWords(stage)) + ".",
               "Change the Latitude or the Tilt a little.",
               {kLatitude, kTilt}};
    }
    return {fault, stage, std::move(why.cause), std::move(why.hint), std::move(why.boxes)};
}

}  // namespace daycalc
