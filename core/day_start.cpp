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

DayStart DayStartOfWriting(DateWriting writing, const CivilDate& date) {
    if (writing == DateWriting::kWestern || !(date < kSolarCalendarFirstDay))
        return DayStart::kMidnight;
    return DayStart::kDawn;
}

Reckoning ReckoningOfWriting(DateWriting writing, const CivilDate& date) {
    return {DayStartOfWriting(writing, date), ReckoningReason::kWritten};
}

Reckoning ReckoningOfChoice(int choice, DateWriting writing, const CivilDate& date) {
    if (choice == 1)
        return {DayStart::kDawn, ReckoningReason::kChosen};
    if (choice == 2)
        return {DayStart::kMidnight, ReckoningReason::kChosen};
    return ReckoningOfWriting(writing, date);
}

std::string ReckoningText(const Reckoning& reckoning) {
    std::string text =
        reckoning.start == DayStart::kDawn ? "明六つから翌日の明六つまで" : "0時から24時まで";
    if (reckoning.reason == ReckoningReason::kChosen)
        return text + "（指定）";
    return text + (reckoning.start == DayStart::kDawn ? "（明治6年より前の和暦・旧暦の日付）"
                                                      : "（西暦、明治6年からの日付）");
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
