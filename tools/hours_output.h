// tools: the temporal hours of one place over consecutive days, computed by
// the window's calculator and written as an aligned table, CSV or JSON; and
// which temporal hour a given moment falls in.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "core/civil_date.h"
#include "hours_options.h"
#include "presets.h"
#include "temporal_hours.h"

namespace tolmeri {

struct DayHours {
    CivilDate date;
    std::array<int, 25> boundary{}; // day minutes, as the chart reads them
    int sunrise = 0;
    int sunset = 0;
};

// The window's recompute (Reset, SetPlace, SetDate, CalcNoonJD,
// CalcBoundaries) for one place, date after date.
class CDayCalculator {
public:
    explicit CDayCalculator(const PresetFields& place);
    DayHours Compute(const CivilDate& date);

private:
    CTemporalHours m_hours;
    PresetFields m_place;
};

// Takes the output collected so far (writes it somewhere and empties the
// string); false when it could not, which ends the writing.
using OutputDrain = std::function<bool(std::string& text)>;

// About this much output is collected before drain takes it, so memory stays
// the same however long the range.
inline constexpr std::size_t kOutputChunk = 64 * 1024;

// The days from request.first on, request.dayCount of them, in request.format,
// appended to out. With a drain, whenever out holds kOutputChunk bytes or
// more after a row, drain takes them; without one everything stays in out.
// False when drain failed.
bool WriteHours(const HoursRequest& request, std::string& out, const OutputDrain& drain = {});

// The temporal hour a moment falls in. Marks come from the tables of the
// place's date and of the days either side, so a moment before boundary 0 or
// after boundary 24 of its date finds its hour all the same.
struct CurrentHour {
    CivilDate date;    // the place's date at the moment
    int minute = 0;    // its local standard time, minutes from 00:00
    int index = 0;     // boundary that started the current half-hour, 0 to 23
    int since = 0;     // that boundary, as a day minute of date
    int nextIndex = 0; // the next boundary, 1 to 24
    int next = 0;      // the next boundary, as a day minute of date
};
CurrentHour FindCurrentHour(const PresetFields& place, std::int64_t utcSeconds);

void WriteCurrentHour(const HoursRequest& request, const CurrentHour& now, std::string& out);

// The preset places, one a line: name, latitude, longitude, time difference.
void WritePlaceList(HoursFormat format, std::string& out);

// Text helpers the formats share (exposed for their tests).
std::string CsvField(std::string_view text);
std::string JsonString(std::string_view text);

} // namespace tolmeri
