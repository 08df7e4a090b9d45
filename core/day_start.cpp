#include "core/day_start.h"

namespace tolmeri {

namespace {

constexpr int kDawnBoundary = 6; // 明六つ

} // namespace

std::string_view DayStartName(DayStart start) {
    return start == DayStart::kDawn ? "dawn" : "midnight";
}

std::optional<DayStart> DayStartFromName(std::string_view name) {
    for (DayStart start : kDayStarts)
        if (DayStartName(start) == name)
            return start;
    return std::nullopt;
}

std::string_view DayStartLabel(DayStart start) {
    return start == DayStart::kDawn ? "明六つから翌日の明六つまで" : "0時から翌日の0時まで";
}

int ReckonedMinute(const DayHours& day, int minute, DayStart start) {
    if (start == DayStart::kDawn && minute < day.boundary[kDawnBoundary])
        return minute + 1440;
    return minute;
}

CivilDate ReckonedDate(const DayHours& day, int minute, DayStart start) {
    if (start == DayStart::kDawn && minute < day.boundary[kDawnBoundary])
        return CivilFromDays(DaysFromCivil(day.date) - 1);
    return day.date;
}

std::array<ReckonedMark, kBoundaryCount> ReckonedMarks(const DayHours& day, const DayHours& next,
                                                       DayStart start) {
    std::array<ReckonedMark, kBoundaryCount> marks{};
    if (start == DayStart::kMidnight) {
        for (int i = 0; i < kBoundaryCount; ++i)
            marks[static_cast<std::size_t>(i)] = {i, day.boundary[i]};
        return marks;
    }
    std::size_t k = 0;
    for (int i = kDawnBoundary; i < kBoundaryCount; ++i)
        marks[k++] = {i, day.boundary[i]};
    for (int i = 1; i <= kDawnBoundary; ++i)
        marks[k++] = {i, next.boundary[i] + 1440};
    return marks;
}

} // namespace tolmeri
