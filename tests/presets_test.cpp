// The preset places: the table as the list shows it, and taking an entry
// apart by byte position with the C library's decimal reading.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ostream>
#include <utility>

#include "core/accepted_ranges.h"
#include "core/presets.h"

namespace tolmeri {
void PrintTo(const Place& f, std::ostream* os) {
    *os << '"' << f.name << "\" " << f.latDeg << ':' << f.latMin << ' ' << f.lonDeg << ':'
        << f.lonMin << ' ' << f.timeDiff;
}
} // namespace tolmeri

namespace {

using tolmeri::kPresetPlaces;
using tolmeri::ParseLocationEntry;
using tolmeri::Place;

TEST(PresetTable, FiftyThreeEntriesInTheirFixedLayoutThatCalculateAccepts) {
    ASSERT_EQ(kPresetPlaces.size(), 53u);
    EXPECT_EQ(kPresetPlaces.front(), "根室\t+43:20\t+145:35\t+09");
    EXPECT_EQ(kPresetPlaces.back(), "Lima\t-12:01\t-077:07\t-05");
    for (std::string_view entry : kPresetPlaces) {
        EXPECT_EQ(entry.size() - entry.find('\t'), 19u) << entry;
        // A choice reaches the boxes unchecked; 計算実行 must not refuse it.
        const Place f = ParseLocationEntry(entry);
        using namespace tolmeri;
        EXPECT_TRUE(kLatitudeRange.Contains(f.latDeg) && kLongitudeRange.Contains(f.lonDeg) &&
                    kArcMinuteRange.Contains(f.latMin) && kArcMinuteRange.Contains(f.lonMin) &&
                    TimeDifferenceFits(f.timeDiff, f.lonDeg))
            << entry;
    }
}

TEST(ParseLocationEntry, BytePositionsAfterTheFirstTabAndTheCDecimalReading) {
    struct Case {
        const char* entry;
        Place expected;
    };
    const Case cases[] = {
        {"横浜\t+35:27\t+139:39\t+09", {"横浜", 35, 27, 139, 39, 9}},
        {"Sydney\t-33:52\t+151:12\t+10", {"Sydney", -33, 52, 151, 12, 10}},
        {"New York\t+40:46\t-073:52\t-05", {"New York", 40, 46, -73, 52, -5}},
        {"Hamburg\t+53:38\t+010:00\t+01", {"Hamburg", 53, 38, 10, 0, 1}},
        {"津\t+34:44\t+136:31\t+09", {"津", 34, 44, 136, 31, 9}},
        // Blanks (TAB too) before the number; a sign before a blank is none.
        {"x\t- 3:05\t\t-12:3 \t  7", {"x", 0, 5, -12, 3, 7}},
        // Digits up to the first non-digit.
        {"x\t+4x:ab\t+1a0:0x\t+0y", {"x", 4, 0, 1, 0, 0}},
        // Only the first TAB splits; positions count from just after it.
        {"a\tb\t+35:27\t+139:39\t+09", {"a", 0, 5, 7, 9, 9}},
        // No TAB: no name, the whole text is the numeric part.
        {"+35:27 +139:39 +09", {"", 35, 27, 139, 39, 9}},
        // Pieces past the end are empty; the "last three bytes" of a short
        // rest are what there is.
        {"名\t+35:2", {"名", 35, 2, 0, 0, 5}},
        {"", {"", 0, 0, 0, 0, 0}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseLocationEntry(c.entry), c.expected) << c.entry;
}

TEST(FindPreset, MatchesWholeNamesOnly) {
    ASSERT_NE(tolmeri::FindPreset("New York"), nullptr);
    EXPECT_EQ(*tolmeri::FindPreset("New York"), kPresetPlaces[51]);
    for (const char* name : {"New", "横", ""})
        EXPECT_EQ(tolmeri::FindPreset(name), nullptr) << name;
}

TEST(PresetLatinNames, EachBesideItsOwnPlaceInLatinLetters) {
    for (std::size_t i = 0; i < kPresetPlaces.size(); ++i) {
        const std::string_view latin = tolmeri::kPresetLatinNames[i];
        EXPECT_EQ(latin.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ "),
                  std::string_view::npos)
            << latin;
        // Names already in Latin letters keep them.
        if (static_cast<unsigned char>(kPresetPlaces[i][0]) < 0x80) {
            EXPECT_EQ(latin, kPresetPlaces[i].substr(0, kPresetPlaces[i].find('\t')));
        }
    }
    const std::pair<const char*, const char*> pairs[] = {
        {"根室", "nemuro"},       {"東京", "tokyo"},       {"横浜", "yokohama"}, {"津", "tsu"},
        {"京都", "kyoto"},        {"高知", "kochi"},       {"大分", "oita"},     {"那覇", "naha"},
        {"宇都宮", "utsunomiya"}, {"鹿児島", "kagoshima"},
    };
    for (const auto& [name, latin] : pairs) {
        const std::string_view* entry = tolmeri::FindPreset(name);
        ASSERT_NE(entry, nullptr) << name;
        EXPECT_EQ(
            tolmeri::kPresetLatinNames[static_cast<std::size_t>(entry - kPresetPlaces.data())],
            latin);
    }
}

} // namespace
