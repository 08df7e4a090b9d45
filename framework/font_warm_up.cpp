#include "framework/font_warm_up.h"

#include <system_error>

#ifdef TOLMERI_HAVE_FONTCONFIG
#include <fontconfig/fontconfig.h>
#endif

namespace afx {

CFontWarmUp::CFontWarmUp() {
#ifdef TOLMERI_HAVE_FONTCONFIG
    try {
        // The library keeps the configuration it loads as its current one,
        // which the toolkit's font database then takes as it finds it.
        m_thread = std::thread([] { FcInit(); });
    } catch (const std::system_error&) {
        // No thread: the toolkit reads the configuration when it needs it.
    }
#endif
}

CFontWarmUp::~CFontWarmUp() {
    Wait();
}

void CFontWarmUp::Wait() {
    if (m_thread.joinable())
        m_thread.join();
}

} // namespace afx
