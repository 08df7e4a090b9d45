#include "ui/hour_name_dlg.h"

#include <QLabel>
#include <QLineEdit>
#include <string>

#include "core/calendar.h"
#include "core/hour_names.h"
#include "core/sun_events.h"
#include "framework/cp932.h"
#include "framework/data_exchange.h"
#include "res/dialogs.h"
#include "res/resource.h"
#include "ui/box_checks.h"

namespace tolmeri {

namespace {

// "07:20", with the day for a minute off the date: "23:47（前日）".
QString ClockOnDate(int minute) {
    QString text = QString::fromStdString(FormatClock(minute));
    if (minute < 0)
        text += QStringLiteral("（前日）");
    else if (minute >= 1440)
        text += QStringLiteral("（翌日）");
    return text;
}

// "35度39分" as the boxes hold it (the minutes take the degrees' sign).
QString Angle(int degrees, int minutes) {
    const bool south = degrees < 0 || minutes < 0;
    return QStringLiteral("%1%2度%3分")
        .arg(south ? QStringLiteral("-") : QString())
        .arg(std::abs(degrees))
        .arg(std::abs(minutes));
}

} // namespace

QString HourNameReadingsText(const QString& expression, const HourMarks& marks) {
    const QByteArray utf8 = expression.toUtf8();
    const HourExpressionParse parse = ParseHourExpression(
        std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
    if (parse.readings.empty())
        return QString::fromStdString(parse.error);
    QString text;
    for (const HourReading& reading : parse.readings) {
        const HourSpan span = ResolveReading(reading, marks);
        if (!text.isEmpty())
            text += u'\n';
        text += QString::fromUtf8(reading.convention.data(),
                                  static_cast<qsizetype>(reading.convention.size())) +
                QStringLiteral("  ") + ClockOnDate(span.start) + QStringLiteral(" から ") +
                ClockOnDate(span.end) + QStringLiteral(" まで");
    }
    return text;
}

} // namespace tolmeri

using namespace tolmeri;

CHourNameDlg::CHourNameDlg(QWidget* parent) : CDialog(res::kHourNameDialog, parent) {}

void CHourNameDlg::ReadMainDialog(const CDialog& main) {
    m_place.reset();
    m_date.reset();
    m_strProblem.clear();
    const BoxReading boxes = ReadMainBoxes(main, BoxReport::kSilent);
    // A box that holds no integer is said by its range too.
    if (!boxes) {
        m_strProblem = BoxCheckMessage(boxes.refusedBox, boxes.values);
        return;
    }
    m_date = boxes.values.ToDate();
    m_place = boxes.values.ToPlace();
}

bool CHourNameDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    qobject_cast<QLabel*>(GetDlgItem(IDC_HOUR_RESULT))->setWordWrap(true);
    auto* box = qobject_cast<QLineEdit*>(GetDlgItem(IDC_HOUR_EXPRESSION));
    if (m_place && m_date) {
        const Place& p = *m_place;
        SetDlgItemText(IDC_HOUR_PLACE, QString::fromStdString(p.name) + QStringLiteral("  緯度 ") +
                                           Angle(p.latDeg, p.latMin) + QStringLiteral("  経度 ") +
                                           Angle(p.lonDeg, p.lonMin) + QStringLiteral("  時差 ") +
                                           QString::number(p.timeDiff));
        QString date =
            QStringLiteral("%1年%2月%3日").arg(m_date->year).arg(m_date->month).arg(m_date->day);
        const std::string era = FormatEraDates(EraDatesFromJdn(JdnFromCivil(*m_date)));
        if (!era.empty())
            date += QStringLiteral("（") + QString::fromStdString(era) + QStringLiteral("）");
        SetDlgItemText(IDC_HOUR_DATE, date);
        m_marks = MarksAround(p, *m_date);
    } else {
        SetDlgItemText(IDC_HOUR_PLACE, m_strProblem);
        box->setEnabled(false);
    }
    connect(box, &QLineEdit::textChanged, this, [this] { OnExpressionChanged(); });
    OnExpressionChanged();
    return true;
}

void CHourNameDlg::OnExpressionChanged() {
    if (!m_place || !m_date) {
        SetDlgItemText(IDC_HOUR_RESULT, QString());
        return;
    }
    const QString expression = GetDlgItemText(IDC_HOUR_EXPRESSION);
    SetDlgItemText(
        IDC_HOUR_RESULT,
        expression.trimmed().isEmpty()
            ? QStringLiteral("刻の名を入れてください（例: 朝五つ半、五つ時、丑三つ、辰の上刻）")
            : HourNameReadingsText(expression, m_marks));
}
