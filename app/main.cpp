#include "command_line.h"
#include "tolmeri_app.h"

int main(int argc, char** argv) {
    // --help and --version answer on the terminal: no window, no lock.
    if (const auto text = tolmeri::InfoRequestText(argc, argv))
        return tolmeri::PrintInfo(*text);
    CTolmeriApp app;
    return app.Run(argc, argv);
}
