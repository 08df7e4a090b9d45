// tools: the text of tolmeri-hours --help.
#pragma once

namespace tolmeri {

extern const char* const kHoursHelp;

} // namespace tolmeri
