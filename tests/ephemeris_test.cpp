// The precise Sun and the Moon against the tables of a modern ephemeris in
// tests/data (sun_events_ephemeris.csv, moon_ephemeris.csv), and the
// window's table unchanged by the precise Sun's existence.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "core/civil_date.h"
#include "core/precise_sun.h"
#include "tests/csv_rows.h"

using namespace tolmeri;

namespace {

Place PlaceOfRow(const CsvRow& r) {
    Place p;
    p.name = r[0];
    SplitArcMinutes(std::stoi(r[1]), p.latDeg, p.latMin);
    SplitArcMinutes(std::stoi(r[2]), p.lonDeg, p.lonMin);
    p.timeDiff = std::stoi(r[3]);
    return p;
}

int JdnOfText(const std::string& text) {
    CivilDate d;
    EXPECT_TRUE(ReadDateText(text, d)) << text;
    return JdnFromCivil(d);
}

struct Worst {
    const char* what;
    double minutes = 0.0;
    std::string where;
    void Take(double difference, const std::string& at) {
        if (std::fabs(difference) > std::fabs(minutes)) {
            minutes = difference;
            where = at;
        }
    }
    void Print() const {
        std::printf("%-10s worst %+.3f min (%s)\n", what, minutes, where.c_str());
    }
};

} // namespace

// Every event of the precise Sun within half a minute of the ephemeris
// (measured: 15 s at most, at the year 0), years 0-2200, 54° S to 54° N, and
// within 6 s from 1600 on.
TEST(PreciseSun, AgainstEphemeris) {
    const auto rows = ReadCsvRows(TestDataPath("sun_events_ephemeris.csv"));
    ASSERT_GE(rows.size(), 40u);
    constexpr DawnDuskRule kGeometric{0.0, 0};
    Worst worst[] = {{"transit", 0, ""}, {"dawn", 0, ""},    {"dusk", 0, ""},  {"rise0", 0, ""},
                     {"set0", 0, ""},    {"sunrise", 0, ""}, {"sunset", 0, ""}};
    for (const CsvRow& r : rows) {
        ASSERT_EQ(r.size(), 12u);
        CPreciseSun sun(PlaceOfRow(r));
        const int jdn = JdnOfText(r[4]);
        const SunMoments twilight = sun.Moments(jdn, kDepressionRule);
        const SunMoments geometric = sun.Moments(jdn, kGeometric);
        const double ours[] = {twilight.transit, twilight.dawn,    twilight.dusk,  geometric.dawn,
                               geometric.dusk,   twilight.sunrise, twilight.sunset};
        for (int i = 0; i < 7; ++i) {
            const double expected = std::stod(r[5 + i]);
            const std::string at = r[0] + " " + r[4];
            worst[i].Take(ours[i] - expected, at);
            EXPECT_NEAR(ours[i], expected, r[4] >= "1600" ? 0.1 : 0.5)
                << worst[i].what << " " << at;
        }
    }
    for (const Worst& w : worst)
        w.Print();
}
