#include "app/command_line.h"
#include "app/tolmeri_app.h"
#include "settings/settings.h"

int main(int argc, char** argv) {
    // --help and --version answer on the terminal: no window, no lock.
    if (const auto text = tolmeri::InfoRequestText(argc, argv))
        return tolmeri::PrintInfo(*text);
    CTolmeriApp app;
    // The settings and help files are found beside the executable byte for
    // byte, whatever its folder's name holds.
    return app.Run(argc, argv, tolmeri::ExecutablePath());
}
