// tools: the place and the days tolmeri-hours is asked for, from the text of
// their options to values the core computes with, checked against the
// accepted ranges (core/accepted_ranges.h) the main window checks too, plus a
// real calendar date. Each failure is one line in Japanese naming the bad
// value.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/civil_date.h"
#include "core/hour_names.h"
#include "core/place.h"
#include "core/places.h"
#include "core/result.h"
#include "core/typed_date.h"
#include "report/hours_request.h"

namespace tolmeri {

using OptionText = std::optional<std::string_view>;

// --place, or --lat, --lon and --tz, with an optional --name.
struct PlaceArguments {
    OptionText preset, lat, lon, tz, name;
    bool Coordinates() const { return lat || lon || tz; }
};

// The historical places and the user's own (core/places.h), asked for only
// when --place names no preset: a preset never pays for reading the user's
// file. Without one, the table alone.
using PlaceBookSource = std::function<const CPlaceBook&()>;

// The place: a preset, coordinates, or without either the first-start
// place (横浜); --name renames any of them. Names and coordinates are read
// as typed (core/typed_text.h): blanks around them, full-width digits, and
// for coordinates also "35°22′", "35度22分30秒", "32:44.6" (to the nearest
// minute), "北緯35度22分", "西経73:52". Coordinates without --tz take the
// whole hour nearest the longitude, which note, when given, then says. A
// name that is no preset's is looked up among places (CPlaceBook::Find: 江戸,
// えど, edo, 品川宿, 東海道1); its source goes into provenance. An ambiguous
// name is refused with its candidates, an unknown one with the names nearest
// to it.
Result<Place> ResolvePlace(const PlaceArguments& args, const PlaceBookSource& places = {},
                           PlaceProvenance* provenance = nullptr, std::string* note = nullptr);

// The preset called name: exactly, or by a name in Latin letters (its own
// or its romaji, core/presets.h) without regard to case. Null when there is
// none.
const std::string_view* FindPresetLoosely(std::string_view name);

// --date, and --days or --to.
struct DateArguments {
    OptionText date, days, to;
    bool Any() const { return date || days || to; }
};

// The days; today stands in when no date is given.
Result<DateRange> ResolveDates(const DateArguments& args, const CivilDate& today);

// A date as the options write it, in any form the core's reader takes
// (core/typed_date.h: "2026-06-21", "1860/3/24", "2026年6月21日", full-width
// digits, "慶長5年9月15日", "文政十三年閏三月朔日"), named what in the message.
// Every date and the date part of every moment the options take are read
// here.
Result<TypedDate> ReadDate(std::string_view what, std::string_view text);

// --at: a clock time of the place's standard time ("15:00", "15時30分",
// "午前9時", "午後3時半") or an hour name ("丑三つ", "正午") on the date the
// date options name, or a date, "T" or a blank, and the time
// ("2026-06-21T15:00", "元禄15年12月14日 寅の上刻", any date form before
// the separator).
struct MomentText {
    OptionText date;                   // the text before the separator, if any
    int minute = 0;                    // 0 to 1439, for a clock time
    std::vector<HourReading> readings; // an hour name's readings; empty for a clock time
};
Result<MomentText> ReadMomentText(std::string_view text);

} // namespace tolmeri
