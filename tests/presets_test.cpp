// The preset places: distinct places the calculation accepts, where their
// coordinates are published and on their countries' standard time, found by
// their names; and taking an entry apart by byte position with the C
// library's decimal reading.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <ostream>
#include <set>
#include <string>
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

std::string_view NameOf(std::string_view entry) {
    return entry.substr(0, entry.find('\t'));
}

// Arc minutes of degrees and minutes with the sign of the degrees.
int Arc(int degrees, int minutes) {
    return tolmeri::ArcMinutes(degrees, minutes);
}

TEST(PresetTable, FiftyThreeDistinctPlacesInTheFixedLayoutThatCalculateAccepts) {
    ASSERT_EQ(kPresetPlaces.size(), 53u);
    std::set<std::string_view> names;
    for (std::string_view entry : kPresetPlaces) {
        SCOPED_TRACE(entry);
        // The list shows the numbers in one column: 19 bytes after the name.
        EXPECT_EQ(entry.size() - entry.find('\t'), 19u);
        EXPECT_FALSE(NameOf(entry).empty());
        EXPECT_TRUE(names.insert(NameOf(entry)).second) << "named twice";
        // A choice reaches the boxes unchecked; 計算実行 must not refuse it.
        const Place f = ParseLocationEntry(entry);
        using namespace tolmeri;
        EXPECT_TRUE(kLatitudeRange.Contains(f.latDeg) && kLongitudeRange.Contains(f.lonDeg) &&
                    kArcMinuteRange.Contains(f.latMin) && kArcMinuteRange.Contains(f.lonMin) &&
                    TimeDifferenceFits(f.timeDiff, f.lonDeg));
        // The 48 places in Japan lie within its extent (24°-46° N,
        // 122°-146° E) and keep its standard time.
        if (static_cast<unsigned char>(entry[0]) >= 0x80) {
            EXPECT_TRUE(f.latDeg >= 24 && f.latDeg < 46 && f.lonDeg >= 122 && f.lonDeg < 146);
            EXPECT_EQ(f.timeDiff, 9);
        }
    }
}

// Each preset within 15′ of arc of the place's published coordinates (city
// centres; a preset may name the observatory or the airport) and on its
// country's standard time.
TEST(PresetTable, PlacesLieWhereTheyArePublished) {
    const struct {
        const char* name;
        int latDeg, latMin, lonDeg, lonMin, zone;
    } published[] = {
        {"根室", 43, 20, 145, 35, 9},     {"札幌", 43, 4, 141, 21, 9},
        {"仙台", 38, 16, 140, 52, 9},     {"東京", 35, 41, 139, 42, 9},
        {"名古屋", 35, 10, 136, 54, 9},   {"京都", 35, 1, 135, 46, 9},
        {"大阪", 34, 41, 135, 30, 9},     {"広島", 34, 23, 132, 27, 9},
        {"福岡", 33, 35, 130, 24, 9},     {"鹿児島", 31, 36, 130, 33, 9},
        {"那覇", 26, 13, 127, 41, 9},     {"Hamburg", 53, 33, 10, 0, 1},
        {"Wien", 48, 12, 16, 22, 1},      {"Sydney", -33, 52, 151, 12, 10},
        {"New York", 40, 43, -74, 0, -5}, {"Lima", -12, 3, -77, 3, -5},
    };
    for (const auto& p : published) {
        SCOPED_TRACE(p.name);
        const std::string_view* entry = tolmeri::FindPreset(p.name);
        ASSERT_NE(entry, nullptr);
        const Place f = ParseLocationEntry(*entry);
        EXPECT_LE(std::abs(Arc(f.latDeg, f.latMin) - Arc(p.latDeg, p.latMin)), 15);
        EXPECT_LE(std::abs(Arc(f.lonDeg, f.lonMin) - Arc(p.lonDeg, p.lonMin)), 15);
        EXPECT_EQ(f.timeDiff, p.zone);
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

TEST(FindPreset, FindsEachPlaceByItsWholeNameOnly) {
    for (const std::string_view& entry : kPresetPlaces)
        EXPECT_EQ(tolmeri::FindPreset(NameOf(entry)), &entry) << entry;
    for (const char* name : {"New", "横", "", "New York ", "new york", "\t"})
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
    // Unique whatever the case, as --place reads them.
    std::set<std::string> folded;
    for (std::string_view latin : tolmeri::kPresetLatinNames) {
        std::string lower(latin);
        for (char& c : lower)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        EXPECT_TRUE(folded.insert(lower).second) << latin;
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
