// The font configuration read ahead of the application object: the toolkit
// takes the configuration it finds instead of reading one of its own, and
// however a warm-up is left, its thread is joined.
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>
#include <fontconfig/fontconfig.h>
#include <string>
#ifdef __GLIBC__
#include <malloc.h>
#endif

#include "framework/font_warm_up.h"

namespace {

TEST(FontWarmUp, TheToolkitTakesTheConfigurationReadAhead) {
    // A thread still joinable when its object goes would end the process:
    // left waited for once, twice or not at all, each warm-up ends cleanly.
    for (int waits = 0; waits <= 2; ++waits) {
        afx::CFontWarmUp fonts;
        for (int i = 0; i < waits; ++i)
            fonts.Wait();
    }
    afx::CFontWarmUp fonts;
    fonts.Wait();
    FcConfig* const read = FcConfigGetCurrent();
    ASSERT_NE(read, nullptr);
    {
        int argc = 1;
        char name[] = "font_warm_up_test";
        char* argv[] = {name, nullptr};
        QGuiApplication app(argc, argv);
        EXPECT_GT(QFontMetrics(QFont(QStringLiteral("IPAPGothic"))).height(), 0);
        EXPECT_EQ(FcConfigGetCurrent(), read) << "the toolkit read a configuration of its own";
    } // the toolkit's font database frees the configuration as it goes
}

#ifdef __GLIBC__
// What the reading frees on its thread is memory the window can reuse: the
// thread allocates from the one arena, not from one of its own.
TEST(FontWarmUp, TheReadingAllocatesFromTheOneArena) {
    afx::CFontWarmUp fonts;
    fonts.Wait();
    char* text = nullptr;
    std::size_t size = 0;
    FILE* out = open_memstream(&text, &size);
    ASSERT_NE(out, nullptr);
    ASSERT_EQ(malloc_info(0, out), 0);
    std::fclose(out);
    const std::string info(text, size);
    std::free(text);
    std::size_t heaps = 0;
    for (std::size_t at = info.find("<heap nr="); at != std::string::npos;
         at = info.find("<heap nr=", at + 1))
        ++heaps;
    EXPECT_EQ(heaps, 1u) << info.substr(0, 400);
    FcFini(); // no toolkit here to free the configuration read
}
#endif

} // namespace
