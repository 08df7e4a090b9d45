// Calculator: Yokohama on 2000-01-01 and 2001-06-21 to the minute, the
// calendar, the rounding, the accepted ranges, and the invariants the chart
// relies on for every input a settings file can hold.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <iconv.h>
#include <random>
#include <vector>

#include "core/accepted_ranges.h"
#include "core/civil_date.h"
#include "core/place.h"
#include "core/presets.h"
#include "core/sun_events.h"
#include "core/temporal_hours.h"

namespace {

using tolmeri::kBoundaryCount;

CTemporalHours Compute(int latDeg, int latMin, int lonDeg, int lonMin, int tz, int y, int m,
                       int d) {
    CTemporalHours hours;
    hours.Recompute({"", latDeg, latMin, lonDeg, lonMin, tz}, {y, m, d});
    return hours;
}

std::vector<int> Table(const CTemporalHours& h) {
    return {h.GetBoundaries().begin(), h.GetBoundaries().end()};
}

TEST(TemporalHours, YokohamaNewYear2000) {
    const CTemporalHours h = Compute(35, 27, 139, 39, 9, 2000, 1, 1);
    EXPECT_DOUBLE_EQ(h.GetNoonJD(), 2451544.625);
    const std::vector<int> expected = {-15,  50,   115,  180,  245,  310,  375, 430, 485,
                                       540,  595,  650,  705,  760,  814,  869, 924, 979,
                                       1034, 1099, 1165, 1230, 1295, 1360, 1425};
    EXPECT_EQ(Table(h), expected);
    EXPECT_EQ(h.GetSunrise(), 410);
    EXPECT_EQ(h.GetSunset(), 999);
}

TEST(TemporalHours, YokohamaSolstice2001) {
    const CTemporalHours h = Compute(35, 27, 139, 39, 9, 2001, 6, 21);
    const std::vector<int> expected = {-17,  24,   65,   106,  147,  187,  228, 307,  387,
                                       466,  545,  624,  703,  782,  861,  940, 1019, 1099,
                                       1178, 1219, 1260, 1301, 1342, 1382, 1423};
    EXPECT_EQ(Table(h), expected);
    EXPECT_EQ(h.GetSunrise(), 266);
    EXPECT_EQ(h.GetSunset(), 1140);
}

TEST(TemporalHours, PlaceAngles) {
    CTemporalHours h;
    h.SetPlace(35, 27, 139, 39, 9);
    EXPECT_NEAR(h.GetLatitude(), 0.618719219125, 1e-12);
    EXPECT_NEAR(h.GetLongitude(), 2.437352297625, 1e-12);
    // The minutes take the sign of negative degrees.
    h.SetPlace(-33, 52, -73, 52, 10);
    EXPECT_NEAR(h.GetLatitude(), CTemporalHours::DegToRad(-(33.0 + 52 / 60.0)), 1e-15);
    EXPECT_NEAR(h.GetLongitude(), CTemporalHours::DegToRad(-(73.0 + 52 / 60.0)), 1e-15);
}

TEST(DegreesAndMinutes, MinutesTakeTheSignOfTheDegrees) {
    const struct {
        int degrees, minutes;
        double angle;
    } cases[] = {
        {35, 27, 35.45},
        {-33, 52, -33.0 - 52 / 60.0},
        {-73, 52, -73.0 - 52 / 60.0},
        {-12, 1, -12.0 - 1 / 60.0},
        {0, 30, 0.5},   // no sign on the degrees: 0°30′ is north or east
        {0, -30, -0.5}, // with 0 degrees the minutes carry the sign
        {-1, 0, -1.0},
        {0, 0, 0.0},
    };
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(tolmeri::DegreesAndMinutes(c.degrees, c.minutes), c.angle)
            << c.degrees << " " << c.minutes;
        // Whole minutes of arc and back give the same pair.
        const int arc = tolmeri::ArcMinutes(c.degrees, c.minutes);
        EXPECT_DOUBLE_EQ(arc / 60.0, c.angle) << c.degrees << " " << c.minutes;
        int degrees = 99, minutes = 99;
        tolmeri::SplitArcMinutes(arc, degrees, minutes);
        EXPECT_EQ(degrees, c.degrees);
        EXPECT_EQ(minutes, c.minutes);
    }
}

// West and south, 2026-06-21. Each preset must give what its place typed as
// degrees and minutes gives, and the transit, dawn and dusk (day minutes of
// local standard time) must agree with an independent computation: the
// fractional-year series for the equation of time and the declination
// (NOAA's general solar position equations) at the true place, with the
// depression of 7°21′40″ for dawn and dusk.
TEST(TemporalHours, PlacesWestAndSouthMatchTheirTypedValuesAndAnIndependentSun) {
    const struct {
        const char* preset;
        int latDeg, latMin, lonDeg, lonMin, tz;
        double transit, dawn, dusk; // independent
    } cases[] = {
        {"New York", 40, 46, -73, 52, -5, 716.8, 221.0, 1212.6},
        {"Sydney", -33, 52, 151, 12, 10, 716.4, 384.7, 1048.2},
        {"Lima", -12, 1, -77, 7, -5, 729.8, 358.3, 1101.4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.preset);
        const std::string_view* entry = tolmeri::FindPreset(c.preset);
        ASSERT_NE(entry, nullptr);
        const tolmeri::Place p = tolmeri::ParseLocationEntry(*entry);
        const CTemporalHours preset =
            Compute(p.latDeg, p.latMin, p.lonDeg, p.lonMin, p.timeDiff, 2026, 6, 21);
        const CTemporalHours typed =
            Compute(c.latDeg, c.latMin, c.lonDeg, c.lonMin, c.tz, 2026, 6, 21);
        EXPECT_EQ(Table(preset), Table(typed));
        EXPECT_EQ(preset.GetSunrise(), typed.GetSunrise());
        EXPECT_EQ(preset.GetSunset(), typed.GetSunset());
        // Whole minutes of a low-precision Sun: within a minute and a half.
        EXPECT_NEAR(typed.GetBoundary(12), c.transit, 1.5);
        EXPECT_NEAR(typed.GetBoundary(6), c.dawn, 1.5);
        EXPECT_NEAR(typed.GetBoundary(18), c.dusk, 1.5);
    }
}

TEST(TemporalHours, JulianDays) {
    struct Case {
        int y, m, d;
        double jd;
    };
    const Case cases[] = {
        {2000, 1, 1, 2451544.5},   {1999, 12, 31, 2451543.5}, {2200, 12, 31, 2524957.5},
        {2001, 2, 31, 2451971.5},  {2001, 3, 3, 2451971.5},   {1582, 10, 4, 2299149.5},
        {1582, 10, 15, 2299160.5}, {0, 1, 1, 1721060.5},      {0, 2, 29, 1721119.5},
        {0, 3, 1, 1721119.5},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CTemporalHours::JulianDay(c.y, c.m, c.d), c.jd)
            << c.y << "-" << c.m << "-" << c.d;
}

// Local noon of 2000-01-01 is universal 12:00 less the time difference: east
// of Greenwich it comes earlier (+9: 03:00 UT), west of it later.
TEST(TemporalHours, NoonJulianDayFollowsTimeDifference) {
    const struct {
        int timeDiff;
        double noonJD;
    } cases[] = {
        {0, 2451545.0},   {9, 2451544.625},        {12, 2451544.5},
        {-12, 2451545.5}, {-5, 2451545.208333333}, {14, 2451544.416666667},
    };
    for (const auto& c : cases) {
        CTemporalHours h;
        h.SetPlace(0, 0, 0, 0, c.timeDiff);
        h.SetDate(2000, 1, 1);
        h.CalcNoonJD();
        EXPECT_NEAR(h.GetNoonJD(), c.noonJD, 1e-8) << c.timeDiff;
    }
}

TEST(TemporalHours, ResetMarksTableButKeepsSunriseAndSunset) {
    CTemporalHours h = Compute(35, 27, 139, 39, 9, 2000, 1, 1);
    h.Reset();
    for (int i = 0; i < kBoundaryCount; ++i)
        EXPECT_EQ(h.GetBoundary(i), CTemporalHours::kUnsetBoundary) << i;
    EXPECT_EQ(h.GetSunrise(), 410);
    EXPECT_EQ(h.GetSunset(), 999);
}

TEST(TemporalHours, LabelsStartEmptyAndMidnightsShareTheirText) {
    CTemporalHours fresh;
    EXPECT_TRUE(fresh.GetLabel(0).empty());
    const CTemporalHours h = Compute(35, 27, 139, 39, 9, 2000, 1, 1);
    EXPECT_EQ(h.GetLabel(0), "暁九つ (子)");
    EXPECT_EQ(h.GetLabel(6), "明六つ (卯)");
    EXPECT_EQ(h.GetLabel(18), "暮六つ (酉)");
    EXPECT_EQ(h.GetLabel(0), h.GetLabel(24));
}

TEST(TemporalHours, LabelsFitElevenShiftJisBytes) {
    iconv_t cd = iconv_open("CP932", "UTF-8");
    ASSERT_NE(cd, reinterpret_cast<iconv_t>(-1));
    for (std::string_view label : tolmeri::kBoundaryLabels) {
        std::string in(label);
        char out[64];
        char* src = in.data();
        size_t srcLeft = in.size();
        char* dst = out;
        size_t dstLeft = sizeof out;
        ASSERT_NE(iconv(cd, &src, &srcLeft, &dst, &dstLeft), static_cast<size_t>(-1)) << label;
        EXPECT_LE(sizeof out - dstLeft, 11u) << label;
    }
    iconv_close(cd);
}

TEST(RoundMinute, HalvesUpAndTruncatesNegativesTowardZero) {
    struct Case {
        double x;
        int r;
    };
    const Case cases[] = {{0.0, 0},  {0.49, 0},    {0.5, 1},     {704.55, 705}, {-0.5, 0},
                          {-0.7, 0}, {-20.3, -19}, {-20.5, -20}, {-20.6, -20},  {1439.5, 1440}};
    for (const Case& c : cases)
        EXPECT_EQ(tolmeri::RoundMinute(c.x), c.r) << c.x;
}

TEST(TemporalHours, AfternoonHalvesInIntegers) {
    // 2000-01-01: afternoon 705..1034 is 329 minutes; h = 164, so the midpoint
    // is 869 where the floating-point halving would give 870.
    const CTemporalHours h = Compute(35, 27, 139, 39, 9, 2000, 1, 1);
    EXPECT_EQ(h.GetBoundary(18) - h.GetBoundary(12), 329);
    EXPECT_EQ(h.GetBoundary(15), 869);
    // Night quarter 391 minutes: h = 195.5 lands the midpoint on a whole minute.
    EXPECT_EQ(h.GetBoundary(21), 1230);
}

TEST(FormatClock, WallClockOfADayMinute) {
    struct Case {
        int v;
        const char* text;
    };
    const Case cases[] = {{-15, "23:45"},    {-1, "23:59"},   {0, "00:00"},     {1439, "23:59"},
                          {1440, "00:00"},   {1500, "01:00"}, {-720, "12:00"},  {2159, "11:59"},
                          {410, "06:50"},    {999, "16:39"},  {-1440, "00:00"}, {INT_MIN, "21:52"},
                          {INT_MAX, "02:07"}};
    for (const Case& c : cases)
        EXPECT_EQ(tolmeri::FormatClock(c.v), c.text) << c.v;
}

void ExpectSound(const CTemporalHours& h, const char* what) {
    for (int i = 1; i < kBoundaryCount; ++i)
        ASSERT_LE(h.GetBoundary(i - 1), h.GetBoundary(i)) << what << " at " << i;
    ASSERT_EQ(h.GetBoundary(24) - h.GetBoundary(0), 1440) << what;
    ASSERT_GE(h.GetBoundary(0), -721) << what;
    ASSERT_LE(h.GetBoundary(24), 2161) << what;
    ASSERT_GE(h.GetSunrise(), h.GetBoundary(0) - 2) << what;
    ASSERT_LE(h.GetSunset(), h.GetBoundary(24) + 2) << what;
}

TEST(TemporalHours, PolarAndExtremeInputsStaySound) {
    struct Case {
        int latDeg, latMin, lonDeg, lonMin, tz, y, m, d;
    };
    const Case cases[] = {
        {90, 0, 0, 0, 0, 2000, 6, 21},
        {-90, 0, 0, 0, 0, 2000, 6, 21},
        {80, 0, 139, 39, 9, 2000, 1, 1},
        {80, 0, 139, 39, 9, 2000, 6, 21},
        {70, 0, 20, 0, 1, 2001, 12, 21},
        {65, 0, 20, 0, 1, 2001, 6, 21},
        {INT_MAX, 59, INT_MAX, 59, INT_MAX, INT_MAX, INT_MAX, INT_MAX},
        {INT_MIN, 0, INT_MIN, 0, INT_MIN, INT_MIN, INT_MIN, INT_MIN},
        {0, INT_MIN, 0, INT_MAX, 0, 0, 0, 0},
        {180, 0, 0, 0, 0, 2000, 1, 1},
    };
    for (const Case& c : cases) {
        const CTemporalHours h =
            Compute(c.latDeg, c.latMin, c.lonDeg, c.lonMin, c.tz, c.y, c.m, c.d);
        ExpectSound(h, "case");
    }
}

TEST(TemporalHours, RandomInputsAcrossTheWholeIntRange) {
    std::mt19937 rng(20261207);
    std::uniform_int_distribution<int> any(INT_MIN, INT_MAX);
    std::uniform_int_distribution<int> lat(-90, 90);
    std::uniform_int_distribution<int> small(-400, 400);
    for (int n = 0; n < 200000; ++n) {
        // Mix of absurd values and merely polar ones, so both kinds of
        // trouble (huge arguments, clamped hour angles) are met often.
        const bool wild = n % 2 == 0;
        const CTemporalHours h =
            Compute(wild ? any(rng) : lat(rng), wild ? any(rng) : small(rng) % 60, any(rng),
                    any(rng), wild ? any(rng) : small(rng) % 30, wild ? any(rng) : small(rng) * 10,
                    small(rng) % 20, small(rng) % 40);
        ExpectSound(h, "random");
    }
}

TEST(TemporalHours, OrderingRepairNeverActsInsideTheAcceptedRanges) {
    // Inside the ranges the calculate command accepts, the computation without
    // the ordering repair already gives an ordered table, so results there
    // stay bit for bit.
    using namespace tolmeri;
    const auto in = [](const IntRange& r) {
        return std::uniform_int_distribution<int>(r.first, r.last);
    };
    std::mt19937 rng(7);
    auto year = in(kYearRange), month = in(kMonthRange), day = in(kDayRange),
         latDeg = in(kLatitudeRange), lonDeg = in(kLongitudeRange), minute = in(kArcMinuteRange);
    std::uniform_int_distribution<int> tzOffset(-kTimeDifferenceTolerance,
                                                kTimeDifferenceTolerance);
    for (int n = 0; n < 100000; ++n) {
        const int lon = lonDeg(rng);
        const int tz = std::clamp(SuggestedTimeDifference(lon) + tzOffset(rng),
                                  kTimeDifferenceRange.first, kTimeDifferenceRange.last);
        ASSERT_TRUE(TimeDifferenceFits(tz, lon));
        CTemporalHours h;
        h.SetPlace(latDeg(rng), minute(rng), lon, minute(rng), tz);
        h.SetDate(year(rng), month(rng), day(rng));
        h.CalcNoonJD();
        const tolmeri::SunEvents raw = tolmeri::CalcSunEventsUnrepaired(
            h.GetNoonJD(), h.GetLatitude(), h.GetLongitude(), tz / 24.0);
        const tolmeri::SunEvents fixed =
            tolmeri::CalcSunEvents(h.GetNoonJD(), h.GetLatitude(), h.GetLongitude(), tz / 24.0);
        ASSERT_EQ(raw.boundary, fixed.boundary);
        for (int i = 1; i < kBoundaryCount; ++i)
            ASSERT_LE(raw.boundary[i - 1], raw.boundary[i]);
        // The marks fall inside the day bands.
        ASSERT_GE(raw.sunrise, raw.boundary[6]);
        ASSERT_LE(raw.sunrise, raw.boundary[12]);
        ASSERT_GE(raw.sunset, raw.boundary[12]);
        ASSERT_LE(raw.sunset, raw.boundary[18]);
    }
}

// The checks of 計算実行 and tolmeri-hours: each range's ends are in, one past
// them out; the time difference must be a real zone within two hours of
// the longitude's, for any int a settings file holds.
TEST(AcceptedRanges, EndsAndTheTimeDifferenceRule) {
    using namespace tolmeri;
    const struct {
        IntRange range;
        int first, last;
    } ranges[] = {
        {kYearRange, 0, 2200},           {kMonthRange, 1, 12},         {kDayRange, 1, 31},
        {kLatitudeRange, -54, 54},       {kLongitudeRange, -180, 180}, {kArcMinuteRange, 0, 59},
        {kTimeDifferenceRange, -12, 12},
    };
    for (const auto& r : ranges) {
        EXPECT_TRUE(r.range.Contains(r.first) && r.range.Contains(r.last)) << r.first;
        EXPECT_FALSE(r.range.Contains(r.first - 1LL) || r.range.Contains(r.last + 1LL)) << r.first;
    }
    const struct {
        int timeDiff, lonDeg;
        bool fits;
    } cases[] = {
        {9, 139, true},      {7, 139, true},        {11, 139, true},       {6, 139, false},
        {12, 139, false},    {-5, -73, true},       {-7, -73, false},      {-2, -73, true},
        {12, 180, true},     {13, 180, false},      {-12, -180, true},     {0, 14, true},
        {1, 14, true},       {INT_MIN, 139, false}, {INT_MAX, 139, false}, {9, INT_MAX, false},
        {0, INT_MIN, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TimeDifferenceFits(c.timeDiff, c.lonDeg), c.fits)
            << c.timeDiff << " " << c.lonDeg;
    EXPECT_EQ(SuggestedTimeDifference(-73), -4);
}

TEST(AcceptedRanges, DatesAndTheDaysToTheLastOne) {
    using namespace tolmeri;
    for (const CivilDate& d : {CivilDate{0, 1, 1}, CivilDate{2200, 12, 31}, CivilDate{2000, 2, 29}})
        EXPECT_TRUE(IsAcceptedDate(d)) << FormatDate(d);
    for (const CivilDate& d : {CivilDate{-1, 12, 31}, CivilDate{2201, 1, 1}, CivilDate{2100, 2, 29},
                               CivilDate{2001, 13, 1}})
        EXPECT_FALSE(IsAcceptedDate(d)) << FormatDate(d);
    EXPECT_EQ(AcceptedDaysFrom({2200, 12, 31}), 1);
    EXPECT_EQ(AcceptedDaysFrom({2200, 12, 1}), 31);
    EXPECT_EQ(AcceptedDaysFrom({0, 1, 1}), 803899);
}

} // namespace

// One ISO 8601 text for every date the program writes, the year before year
// 0 included: a solar term of early January in year 0 began in year -1.
TEST(CivilDate, FormatDateWritesIso8601YearsBeforeZeroAndPast9999) {
    using namespace tolmeri;
    const struct {
        CivilDate date;
        const char* text;
    } cases[] = {
        {{2026, 6, 21}, "2026-06-21"},  {{800, 1, 1}, "0800-01-01"},
        {{0, 1, 4}, "0000-01-04"},      {{-1, 12, 21}, "-0001-12-21"},
        {{-44, 3, 15}, "-0044-03-15"},  {{-10000, 1, 1}, "-10000-01-01"},
        {{9999, 12, 31}, "9999-12-31"}, {{10000, 1, 1}, "+10000-01-01"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatDate(c.date), c.text);
}
