#include "core/kanshi.h"

#include <array>
#include <string>

#include "core/calendar.h"
#include "core/civil_date.h"

namespace tolmeri {

namespace {

constexpr std::array<std::string_view, 10> kStems = {"甲", "乙", "丙", "丁", "戊",
                                                     "己", "庚", "辛", "壬", "癸"};
constexpr std::array<std::string_view, 12> kBranches = {"子", "丑", "寅", "卯", "辰", "巳",
                                                        "午", "未", "申", "酉", "戌", "亥"};

// The sixty names, made once from the stems and the branches.
const std::array<std::string, 60>& Names() {
    static const std::array<std::string, 60> names = [] {
        std::array<std::string, 60> n;
        for (std::size_t i = 0; i < n.size(); ++i)
            n[i] = std::string(kStems[i % 10]) + std::string(kBranches[i % 12]);
        return n;
    }();
    return names;
}

int Cycle(long long value) {
    const long long r = value % 60;
    return static_cast<int>(r < 0 ? r + 60 : r);
}

template <std::size_t N>
int Prefix(std::string_view text, const std::array<std::string_view, N>& names) {
    for (std::size_t i = 0; i < N; ++i)
        if (text.starts_with(names[i]))
            return static_cast<int>(i);
    return -1;
}

} // namespace

// JDN 2451545 (2000-01-01) is 戊午, 54 in the cycle.
int DayKanshi(int jdn) {
    return Cycle(static_cast<long long>(jdn) + 49);
}

// 4 (the year 4 of the Common Era) is 甲子, and so is every sixtieth year.
int YearKanshi(int year) {
    return Cycle(static_cast<long long>(year) - 4);
}

std::string_view KanshiName(int index) {
    return Names()[static_cast<std::size_t>(Cycle(index))];
}

int ReadKanshi(std::string_view text, std::size_t& length) {
    const int stem = Prefix(text, kStems);
    if (stem < 0)
        return -1;
    const std::size_t stemBytes = kStems[static_cast<std::size_t>(stem)].size();
    const int branch = Prefix(text.substr(stemBytes), kBranches);
    // A stem and a branch of different parity never meet in the cycle.
    if (branch < 0 || stem % 2 != branch % 2)
        return -1;
    length = stemBytes + kBranches[static_cast<std::size_t>(branch)].size();
    // The index that is stem mod 10 and branch mod 12.
    for (int i = stem; i < 60; i += 10)
        if (i % 12 == branch)
            return i;
    return -1;
}

std::optional<int> KanshiYearOfDay(int jdn) {
    if (jdn >= kLunisolarEndJdn)
        return CivilFromJdn(jdn).year;
    if (const std::optional<LunisolarDate> date = LunisolarFromJdn(jdn))
        return date->year;
    return std::nullopt;
}

Rokuyo RokuyoOf(int month, int day) {
    return static_cast<Rokuyo>(((month + day) % 6 + 6) % 6);
}

std::string_view RokuyoName(Rokuyo rokuyo) {
    static constexpr std::array<std::string_view, 6> kNames = {"大安", "赤口", "先勝",
                                                               "友引", "先負", "仏滅"};
    return kNames[static_cast<std::size_t>(rokuyo)];
}

} // namespace tolmeri
