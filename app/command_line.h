// app: the two requests the program answers on the terminal instead of with
// its window. Anything else on the command line is ignored: the window takes
// its place and date from its boxes and its settings file.
#pragma once

#include <optional>
#include <string>

namespace tolmeri {

// The text that --help (or -h) or --version asks for, whichever comes first
// among the arguments; nothing when neither is there.
std::optional<std::string> InfoRequestText(int argc, const char* const* argv);

// Writes the text to standard output; 0, or 1 with a line on standard error
// when it cannot be written.
int PrintInfo(const std::string& text);

} // namespace tolmeri
