#include <cstdio>

#include "app/command_line.h"
#include "app/tolmeri_app.h"
#include "process/process.h"

int main(int argc, char** argv) {
    tolmeri::OpenClosedStandardDescriptors();
    // --help and --version answer on the terminal: no window, no lock.
    if (const auto text = tolmeri::InfoRequestText(argc, argv))
        return tolmeri::PrintInfo(*text);
    // Before the application object, which needs a display.
    if (const auto error = tolmeri::ArgumentError(argc, argv)) {
        std::fputs(error->c_str(), stderr);
        return 1;
    }
    CTolmeriApp app;
    // The settings and help files are found beside the executable byte for
    // byte, whatever its folder's name holds.
    return app.Run(argc, argv, tolmeri::ExecutablePath());
}
