// The font configuration read ahead of the application object: the toolkit
// takes the configuration it finds instead of reading one of its own, and
// however a warm-up is left, its thread is joined.
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QGuiApplication>
#include <fontconfig/fontconfig.h>

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

} // namespace
