// ui: 刻の名から時刻を求める, opened from the main dialog's window menu. For
// the place in the main dialog's boxes and a date typed in any form a date is
// written (the boxes' to start with, as its era date before 明治6年), it reads
// an hour name as the texts write it (朝五つ半, 丑三つ, 辰の上刻) and shows, as it
// is typed, when each of its readings begins and ends on its civil date, in
// time order, with the definition of dawn and the day's reckoning (by the
// date's writing, or chosen) the user picks; the boxes stay as they are.
#pragma once

#include <QString>
#include <optional>

#include "core/civil_date.h"
#include "core/day_start.h"
#include "core/period_hours.h"
#include "core/place.h"
#include "framework/dialog.h"

namespace tolmeri {

// The readings of an hour name at a place on a date as reckoned, after a
// line naming the reckoning, one a line, in time order:
// "数え方  明六つから翌日の明六つまで（…）\n寛政12年の定め  1703-01-31 04:06–04:47";
// or why there are none (a long message with its examples on a line of
// their own).
QString HourNameReadingsText(const QString& expression, const HourMarks& marks,
                             const CivilDate& date, const Reckoning& reckoning);

// The date a day's box starts with: its era date before 明治6年, as its
// sources write it ("元禄15年12月14日"), else "2026-06-21".
QString HourNameDateText(const CivilDate& date);

} // namespace tolmeri

class CHourNameDlg : public CDialog {
    Q_OBJECT
public:
    explicit CHourNameDlg(QWidget* parent = nullptr);

    // Before DoModal: the place and the date of the main dialog's boxes as
    // they stand, each with the checks of 計算実行; a box those refuse leaves
    // its value empty and its message in m_strPlaceProblem or
    // m_strDateProblem.
    void ReadMainDialog(const CDialog& main);

    std::optional<tolmeri::Place> m_place;
    std::optional<tolmeri::CivilDate> m_date; // the boxes' date
    QString m_strPlaceProblem;
    QString m_strDateProblem;

    // The choices: an index into kDawnDefinitions (the main window's
    // definition first), and the day's start (0 by the date's writing, 1
    // from 明六つ, 2 from midnight).
    int m_nDawn = 0;
    int m_nDayStart = 0;

    // The date the date box names now, if it reads.
    const std::optional<tolmeri::CivilDate>& DateRead() const { return m_typedDate; }

protected:
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;

private:
    void OnDateChanged();
    void OnExpressionChanged();

    std::optional<tolmeri::CivilDate> m_typedDate;
    tolmeri::DateWriting m_writing = tolmeri::DateWriting::kWestern;
    tolmeri::HourMarks m_marks;
};
