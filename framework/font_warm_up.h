// framework: the font configuration read on a second thread while the
// application object connects to the display. Reading it (the configuration
// files and the font caches) is the first text's largest cost; nothing of it
// needs the display, so it need not wait for the connection.
#pragma once

#include <thread>

namespace afx {

class CFontWarmUp {
public:
    // Starts the reading; does nothing where there is no such configuration
    // to read, or no thread to be had.
    CFontWarmUp();
    // Waits for the reading, if it has not been waited for.
    ~CFontWarmUp();
    CFontWarmUp(const CFontWarmUp&) = delete;
    CFontWarmUp& operator=(const CFontWarmUp&) = delete;

    // Returns once the configuration is read. Call it before the first text
    // is measured or drawn, so the toolkit finds the configuration ready
    // rather than reading a second one of its own.
    void Wait();

private:
    std::thread m_thread;
};

} // namespace afx
