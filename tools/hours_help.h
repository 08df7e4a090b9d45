// tools: the text of tolmeri-hours --help, with the accepted ranges put in.
#pragma once

#include <string>

namespace tolmeri {

std::string HoursHelp();

} // namespace tolmeri
