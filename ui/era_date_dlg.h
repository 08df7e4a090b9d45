// ui: the era-date dialog (和暦・旧暦で日付を指定), opened from the main
// dialog's window menu. It names the day in the main dialog's date boxes as
// the old texts do (era date, lunisolar date, solar term), and takes an era
// date (era, year, leap month, month, day), showing at every keystroke the
// Gregorian date it names or why it names none. OK hands the Gregorian date
// back in m_date; the dialog itself changes nothing else.
#pragma once

#include <QColor>
#include <QString>
#include <optional>

#include "core/calendar.h"
#include "core/civil_date.h"
#include "core/day_start.h"
#include "core/place.h"
#include "framework/dialog.h"

namespace tolmeri {

// The era list's text of era (an index of core/calendar.h): its name and
// the Western years of its first and last day, 「元禄（1688～1704）」, the
// present era's open 「令和（2019～）」; with the court for the eras of
// 1331-1392 that only one court counted: 「正慶（北朝、1332～1333）」; those
// both courts counted for a time get 「南朝・北朝」, as 「元弘（南朝・北朝、
// 1331～1334）」.
QString EraListText(int era);

// What the boxes of the dialog hold, as typed.
struct EraDateEntry {
    QString era; // a list text or a bare era name
    QString year;
    bool leap = false;
    QString month;
    QString day;
};

// The day an entry names, or why it names none: text is the line the dialog
// shows ("西暦 1600年10月21日", with "（ユリウス暦 …）" before 1582-10-15,
// or a one-line message), and accepted is true only for a day the main
// dialog's date boxes take (the accepted years of core/accepted_ranges.h).
// field is the part whose box is at fault when the day is not taken (kNone
// when it is): what the era date's reader reports, kEra for a whole date
// typed into the era box, kYear for a day beyond the accepted years.
struct EraDateReading {
    std::optional<int> jdn;
    QString text;
    bool accepted = false;
    EraDateField field = EraDateField::kNone;
    bool missing = false; // that part is empty: asked for, not wrong
    // How the date was written (the era box's whole date may be Western or
    // lunisolar), which says the day it means; and whether the era box held
    // a whole date, the other boxes left aside.
    DateWriting writing = DateWriting::kEra;
    bool wholeDate = false;
};

// The numbers may be arabic, full-width or kanji numerals, each with or
// without its 年, 月 or 日; the year may be 元 (元年). A whole date in the era
// box ("安政7年 3月20日", "1860/3/24", as tolmeri-hours reads dates) is read
// by itself, the other boxes left aside. An era date outside its era's days
// as sources write it is taken, with its note on a line of its own.
EraDateReading ReadEraDateEntry(const EraDateEntry& entry);

// A day as the dialog names it (core/day_names.h), one text per line.
struct DayNameLines {
    QString gregorian; // "2026年6月21日", "1582年7月1日（ユリウス暦 1582年6月21日）"
    QString wareki;    // "令和8年6月21日"; both courts' where they differ; or why none
    QString kyureki;   // "1600年9月15日（小の月）", with the note of a month named by a
                       // choice (2033) on a line of its own; or why none
    QString sekki;     // "夏至（2026年6月21日 17:24 から）"
    QString kanshi; // "丁卯（庚申年）  六曜 大安  中秋の名月", each part where the day has it
};
DayNameLines NameDayLines(int jdn, int timeDiffHours);

// "1600年10月21日".
QString GregorianText(const CivilDate& date);

// The Moon of the day an entry names, at place, as the day is reckoned
// (core/day_start.h): a line naming the reckoning, then "月齢 15.2（満月）
// 月の出 19:42（暮六つ半）  月の入 06:10（明六つ）" (core/moon_hours.h), the
// events' civil dates written for a day from 明六つ; empty for a reading that
// names no day the date boxes take, and a line saying why for no place.
QString EraMoonText(const EraDateReading& reading, const std::optional<Place>& place,
                    const Reckoning& reckoning);
// The reckoning of a reading: by the way it was written (choice 0), from
// 明六つ (1) or from midnight (2).
Reckoning EraReckoning(const EraDateReading& reading, int choice);

// The background of a box whose text is at fault.
QColor EraFaultTint();

} // namespace tolmeri

class CEraDateDlg : public CDialog {
    Q_OBJECT
public:
    explicit CEraDateDlg(QWidget* parent = nullptr);

    // Before DoModal: takes the date and the time difference from the main
    // dialog's boxes as they stand (read by the dialog integer rule, without
    // a message); a date the boxes do not hold leaves m_openDate empty.
    // fallbackTimeDifference stands in for a time-difference box that holds
    // no zone.
    void ReadMainDialog(const CDialog& main, int fallbackTimeDifference);

    std::optional<tolmeri::CivilDate> m_openDate; // the date shown on opening
    int m_nTimeDifference = 9;                    // of the place, for the solar terms
    // The place of the boxes, for the Moon of the day typed; empty when a
    // latitude or longitude box holds no value 計算実行 takes.
    std::optional<tolmeri::Place> m_place;
    tolmeri::CivilDate m_date; // after OK: the Gregorian date chosen

    const tolmeri::EraDateReading& Reading() const { return m_reading; }
    // The box of the part at fault (IDC_ERA_NAME, _YEAR, _MONTH or _DAY), 0
    // while the entry names a day the date boxes take.
    int FaultBox() const;

protected:
    bool OnInitDialog() override;
    // Only a day the date boxes take; otherwise the focus goes to the box
    // at fault, its text selected, as a refused box of the data exchange.
    void OnOK() override;
    // Enter with OK disabled does the same.
    void keyPressEvent(QKeyEvent* event) override;
    void DoDataExchange(CDataExchange* pDX) override;

public:
    // The day's start for the Moon: 0 by the date's writing, 1 from 明六つ,
    // 2 from midnight.
    int m_nDayStart = 0;

private:
    void ShowOpenDate();
    void OnEntryChanged();
    // A box that holds something wrong is tinted; an empty one is only asked
    // for in the result line.
    void MarkFaultBox();
    void FocusFaultBox();
    // While the era box holds a whole date, the year, month and day boxes
    // (which would show another date) are emptied and disabled; their texts
    // come back when it holds an era again.
    void ShowPartBoxes(bool shown);

    tolmeri::EraDateReading m_reading;
    bool m_bPartsHidden = false;
    QString m_strParts[3];
    bool m_bLeap = false;
};
