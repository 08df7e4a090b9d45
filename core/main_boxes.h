// core: the main window's nine boxes (the date, the place with its time
// difference, the name) as every front end reads and checks them: what they
// hold, the order the data exchange reads them in, the nine checks of
// 計算実行 in their order with their messages and what a failing check does
// to its field, and the whole exchange of the boxes' texts. The Qt window
// (ui/box_checks.h) and the web edition's page both ask here, so the two
// cannot disagree. The ranges and the time-difference rule are
// core/accepted_ranges.h's; the integer and length rules core/box_rules.h's.
// Standard library only.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/civil_date.h"
#include "core/place.h"

namespace tolmeri {

enum class MainBox {
    kLatitudeDegrees,
    kLatitudeMinutes,
    kLongitudeDegrees,
    kLongitudeMinutes,
    kTimeDifference,
    kYear,
    kMonth,
    kDay,
    kName,
};
inline constexpr int kMainBoxCount = 9;

// What the boxes hold, as the main window's fields do; the name in UTF-8.
struct MainFields {
    int latDeg = 0;
    int latMin = 0;
    int lonDeg = 0;
    int lonMin = 0;
    int timeDiff = 0;
    int year = 0;
    int month = 0;
    int day = 0;
    std::string name;

    Place ToPlace() const;
    CivilDate ToDate() const;
    static MainFields Of(const Place& place, const CivilDate& date);
    bool operator==(const MainFields&) const = default;
};

// The order the data exchange reads the boxes in: the place, the time
// difference, the date, then the name (and its length).
inline constexpr std::array<MainBox, kMainBoxCount> kExchangeOrder = {MainBox::kLatitudeDegrees,
                                                                      MainBox::kLatitudeMinutes,
                                                                      MainBox::kLongitudeDegrees,
                                                                      MainBox::kLongitudeMinutes,
                                                                      MainBox::kTimeDifference,
                                                                      MainBox::kYear,
                                                                      MainBox::kMonth,
                                                                      MainBox::kDay,
                                                                      MainBox::kName};

// The order 計算実行 checks them in: the date, the place, the time difference
// (judged against the longitude as the earlier checks leave it), the name.
inline constexpr std::array<MainBox, kMainBoxCount> kCheckOrder = {MainBox::kYear,
                                                                   MainBox::kMonth,
                                                                   MainBox::kDay,
                                                                   MainBox::kLatitudeDegrees,
                                                                   MainBox::kLatitudeMinutes,
                                                                   MainBox::kLongitudeDegrees,
                                                                   MainBox::kLongitudeMinutes,
                                                                   MainBox::kTimeDifference,
                                                                   MainBox::kName};

// The field of a number box (every box but the name's).
int& BoxField(MainFields& fields, MainBox box);
int BoxField(const MainFields& fields, MainBox box);

// Whether box takes what fields holds for it; the time difference is judged
// against fields' longitude degrees, the day against its month, the
// longitude minutes against the degrees (none past 180°00′), the name by its
// CP932 bytes.
bool BoxAccepts(MainBox box, const MainFields& fields);

// What a refused box says, its limits put in: "「年」に指定できる値は0～2200です。",
// "時差の指定が変です。", "地名は全角６文字以内にしてください。"; the day's and the
// longitude minutes' as fields' other boxes narrow them: "「日」に指定できる値は
// 1～28 です。" in 2001年2月, "経度が 180 度のとき、「分」に指定できる値は 0 です。".
std::string BoxCheckMessage(MainBox box, const MainFields& fields);

// What 計算実行 then does, after the message: "元に戻します。" (the field's
// value before the command again) or, for the time difference, "修正します。"
// (the zone the longitude suggests).
std::string_view BoxCheckRemedy(MainBox box);

// The field of box after 計算実行 refused it: before's value, or the zone
// fields' longitude suggests. A day or longitude minutes from before that
// still do not fit the boxes they depend on bring those back from before too.
void RemedyBox(MainBox box, const MainFields& before, MainFields& fields);

// One failing check of 計算実行: its message with the remedy, and every field
// as the remedy leaves them (the boxes show them all again).
struct CheckStep {
    MainBox box;
    std::string message;
    MainFields fields;
};

// 計算実行's nine checks in their order on fields (what the exchange took
// from the boxes) with before (the fields before the command): each check
// judges the fields as the earlier ones left them. Empty when every box is
// accepted; the last step's fields (else fields) are what the command
// recomputes with.
std::vector<CheckStep> RunBoxChecks(const MainFields& before, MainFields fields);

// The boxes' texts, indexed by MainBox, in UTF-8.
using MainBoxTexts = std::array<std::string, kMainBoxCount>;

// What the fields show in the boxes: each number as "%d", the name as it is.
MainBoxTexts BoxTextsOf(const MainFields& fields);

// The data exchange from texts into fields, in kExchangeOrder: each number
// box by the integer rule on its CP932 bytes, the name whole and then its
// length. The first refused box ends it, its message with it (the fields
// from there on keep their values). An exchange message has the
// exclamation icon; a check's none.
struct BoxExchange {
    MainFields fields;
    std::optional<MainBox> refused;
    std::string message;
};
BoxExchange ExchangeBoxTexts(const MainBoxTexts& texts, MainFields fields);

// The name box's limit in CP932 bytes, as typing meets it.
int BoxTypingLimit(MainBox box);

} // namespace tolmeri
