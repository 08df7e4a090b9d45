// ui: 刻の名から時刻を求める, opened from the main dialog's window menu. For the
// place and the date in the main dialog's boxes it reads an hour name as the
// texts write it (朝五つ半, 丑三つ, 辰の上刻) and shows, as it is typed, when
// each of its readings begins and ends; the boxes themselves stay as they are.
#pragma once

#include <QString>
#include <optional>

#include "core/civil_date.h"
#include "core/period_hours.h"
#include "core/place.h"
#include "framework/dialog.h"

namespace tolmeri {

// The readings of an hour name at a place on a date, one a line
// ("寛政12年の定め  07:20 から 08:05 まで"), or the one line saying why there
// are none.
QString HourNameReadingsText(const QString& expression, const HourMarks& marks);

} // namespace tolmeri

class CHourNameDlg : public CDialog {
    Q_OBJECT
public:
    explicit CHourNameDlg(QWidget* parent = nullptr);

    // Before DoModal: the place and the date of the main dialog's boxes as
    // they stand, with the checks of 計算実行; a box those refuse leaves both
    // empty and m_strProblem its message.
    void ReadMainDialog(const CDialog& main);

    std::optional<tolmeri::Place> m_place;
    std::optional<tolmeri::CivilDate> m_date;
    QString m_strProblem;

protected:
    bool OnInitDialog() override;

private:
    void OnExpressionChanged();

    tolmeri::HourMarks m_marks;
};
