// process: facts of the running process that every program of the project
// asks once at its start: where its executable lives and that its standard
// descriptors are open. Standard library and POSIX only; no Qt, so the
// command-line tool uses it without loading Qt.
#pragma once

#include <string>

namespace tolmeri {

// The full path of the running executable, symbolic links resolved and
// byte for byte as the kernel names it; empty when it cannot be found.
std::string ExecutablePath();

// Opens /dev/null on each of the descriptors 0, 1 and 2 that is closed, so
// that the next file or socket the process opens does not become its
// standard input, output or error (a picture written into Qt's event
// descriptor, warnings into the display's socket). It is opened for reading
// only: a write to a closed output fails with EBADF all the same, so that
// output with nowhere to go is an error, not a silent success. The first
// thing each program's main() does.
void OpenClosedStandardDescriptors();

} // namespace tolmeri
