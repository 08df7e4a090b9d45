#include "report/hours_request.h"

namespace tolmeri {

std::string_view DateRange::NoteOn(const CivilDate& date) const {
    for (const DateNote& note : notes)
        if (note.date == date)
            return note.text;
    return {};
}

} // namespace tolmeri
