// tools: what tolmeri-hours is asked to do, read from its command line and
// checked the way the main window checks 計算実行, plus a real calendar date.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "core/civil_date.h"
#include "presets.h"

namespace tolmeri {

enum class HoursAction { Hours, Now, Png, ListPlaces, Help, Version };
enum class HoursFormat { Table, Csv, Json };

struct HoursRequest {
    HoursAction action = HoursAction::Hours;
    PresetFields place;  // the name is what the tables and the chart title show
    CivilDate first;     // the (first) date
    int dayCount = 1;    // consecutive days from first
    bool ranged = false; // --days or --to was given
    HoursFormat format = HoursFormat::Table;
    std::string pngPath;
    int pngWidth = 0; // 0: the window's own size
    int pngHeight = 0;
};

// Bounds of --size, in pixels, for each side.
inline constexpr int kMinPictureSide = 200;
inline constexpr int kMaxPictureSide = 4000;

// The checks of the window: years 0 to 2200, latitude degrees -54 to 54,
// longitude degrees -180 to 180, minutes 0 to 59, time difference -12 to 12
// and within two hours of the longitude degrees / 15.
inline constexpr int kFirstYear = 0;
inline constexpr int kLastYear = 2200;

struct HoursParse {
    HoursRequest request;
    std::string error; // one line in Japanese naming the bad value; empty when fine
};

// The default place: the window's first-start place.
PresetFields DefaultPlace();

// The preset called name: exactly, or for the names in Latin letters without
// regard to case. Null when there is none.
const std::string_view* FindPresetLoosely(std::string_view name);

// Reads the arguments after the program name. today stands in when no date
// is given.
HoursParse ParseHoursArguments(std::span<const std::string_view> args, const CivilDate& today);

// text as a message shows it: control characters (C0, DEL, C1) and bytes
// that are not UTF-8 as "\x1b" escapes, so that a bad value never acts on the
// terminal it is shown on. QuotedForMessage adds the double quotes.
std::string EscapedForMessage(std::string_view text);
std::string QuotedForMessage(std::string_view text);

// "+35:27", "-33:52": degrees with their sign, then the minutes.
std::string FormatDegreesMinutes(int degrees, int minutes);

} // namespace tolmeri
