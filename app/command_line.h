// app: the two requests the program answers on the terminal instead of with
// its window, and the check of everything else on the command line before a
// display is needed: the window takes its place and date from its boxes and
// its settings file, so only Qt's own options (-style, -geometry, -session
// ...) may stand there.
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

// The one line for the first argument that is neither the program's nor
// Qt's ("tolmeri: 引数 \"--bogus\" は使えません（使い方は tolmeri --help）");
// nothing when every argument may stand.
std::optional<std::string> ArgumentError(int argc, const char* const* argv);

} // namespace tolmeri
