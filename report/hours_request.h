// report: what tolmeri-hours and the web edition are asked to write, as
// values: the place, the run of days with the notes their dates' reading
// made, the options of the day's reckoning and the format. The command line
// (tools/hours_arguments.h) and the page's binding (web/) fill it; the
// writers (report/hours_output.h) read it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/civil_date.h"
#include "core/day_start.h"
#include "core/hour_names.h"
#include "core/period_hours.h"
#include "core/place.h"
#include "core/places.h"

namespace tolmeri {

// What the reading of a date said about the day it names: the note of an
// era date read by one of the sources' conventions (core/typed_date.h).
struct DateNote {
    CivilDate date;
    std::string text;
};

// Consecutive days from first.
struct DateRange {
    CivilDate first;
    int dayCount = 1;
    bool ranged = false;         // --days or --to was given
    std::vector<DateNote> notes; // of --date and --to, each day once
    // How the first date was written (today's is a Western date), which
    // says the day it means unless the request chooses (core/day_start.h).
    DateWriting writing = DateWriting::kWestern;
    // The note on date, empty for none.
    std::string_view NoteOn(const CivilDate& date) const;
};

// kNow and kAt: the hour of a moment; kChart and kYearChart: a picture.
// kTime: the readings of an hour name on the date.
enum class HoursAction {
    kHours,
    kNow,
    kAt,
    kTime,
    kChart,
    kYearChart,
    kListPlaces,
    kHelp,
    kVersion
};
enum class HoursFormat { kTable, kCsv, kJson, kIcs };
enum class PictureFormat { kPng, kSvg };

struct HoursRequest {
    HoursAction action = HoursAction::kHours;
    Place place; // the name is what the tables and the chart title show
    // Where a historical place's point comes from; empty for any other.
    PlaceProvenance placeProvenance;
    PlaceFilter placeFilter; // kListPlaces: --kind and --route
    DateRange days;
    PeriodOptions options;                   // how dawn and dusk are placed and the clocks set
    DayStart dayStart = DayStart::kMidnight; // where the date's day begins
    bool dayStartChosen = false;             // by --day-start, else by the date's writing
    HoursFormat format = HoursFormat::kTable;
    bool byteOrderMark = false;            // --bom: CSV begins with U+FEFF in UTF-8
    bool icsRokuyo = false;                // --rokuyo: the iCalendar file has each day's 六曜
    std::int64_t now = 0;                  // the request's moment (UTC seconds): the file's DTSTAMP
    int atMinute = 0;                      // kAt: the moment, a minute of days.first
    std::optional<HourReading> atReading;  // kAt: an hour name's, whose start is the moment
    std::string timeExpression;            // kTime: the hour name as written
    std::vector<HourReading> timeReadings; // kTime: its readings, at least one
    std::string picturePath;               // "-": standard output
    PictureFormat pictureFormat = PictureFormat::kPng;
    int pictureWidth = 0; // 0: the default size of the picture
    int pictureHeight = 0;
    bool pictureMoon = false; // --moon: the year chart draws moonrise and moonset
    // Lines that say what was assumed for the request (the time difference
    // a place without --tz was given); the command line puts them on
    // standard error.
    std::vector<std::string> notes;

    // How the request reckons its day, and why.
    Reckoning DayReckoning() const {
        return {dayStart, dayStartChosen ? ReckoningReason::kChosen : ReckoningReason::kWritten};
    }
};

} // namespace tolmeri
