#include "ui/hour_name_dlg.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <string>

#include "core/calendar.h"
#include "core/hour_names.h"
#include "core/period_rules.h"
#include "core/typed_date.h"
#include "core/typed_text.h"
#include "core/utf8.h"
#include "framework/data_exchange.h"
#include "res/dialogs.h"
#include "res/resource.h"
#include "ui/box_checks.h"

namespace tolmeri {

namespace {

QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// "35度39分" as the boxes hold it (the minutes take the degrees' sign).
QString Angle(int degrees, int minutes) {
    const bool south = degrees < 0 || minutes < 0;
    return QStringLiteral("%1%2度%3分")
        .arg(south ? QStringLiteral("-") : QString())
        .arg(std::abs(degrees))
        .arg(std::abs(minutes));
}

// The boxes of the place, read and checked without the date's.
constexpr int kPlaceBoxes[] = {IDC_LATITUDE_DEGREES,  IDC_LATITUDE_MINUTES, IDC_LONGITUDE_DEGREES,
                               IDC_LONGITUDE_MINUTES, IDC_TIME_DIFFERENCE,  IDC_LOCATION_NAME};

} // namespace

QString HourNameReadingsText(const QString& expression, const HourMarks& marks,
                             const CivilDate& date, const Reckoning& reckoning) {
    const QByteArray utf8 = expression.toUtf8();
    const HourExpressionParse parse = ParseHourExpression(
        std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
    if (parse.readings.empty()) {
        // The examples on their own line, so a line never breaks in a word.
        QString error = QString::fromStdString(parse.error);
        const QString examples = FromUtf8(kHourNameExamples);
        if (error.endsWith(examples))
            error.insert(error.size() - examples.size(), u'\n');
        return error;
    }
    QString text = QStringLiteral("数え方  ") + QString::fromStdString(ReckoningText(reckoning));
    for (const ResolvedReading& r : ResolveReadings(parse.readings, marks, reckoning.start)) {
        text += u'\n' + FromUtf8(r.reading.convention) + QStringLiteral("  ") +
                QString::fromStdString(r.reading.Moment()
                                           ? FormatDayMinute(date, r.span.start)
                                           : FormatDaySpan(date, r.span.start, r.span.end));
    }
    return text;
}

QString HourNameDateText(const CivilDate& date) {
    const int jdn = JdnFromCivil(date);
    if (date < kSolarCalendarFirstDay)
        if (const std::optional<EraDate> era = EraDateFromJdn(jdn))
            return QString::fromStdString(FormatEraDate(*era));
    return QString::fromStdString(FormatDate(date));
}

} // namespace tolmeri

using namespace tolmeri;

CHourNameDlg::CHourNameDlg(QWidget* parent) : CDialog(res::kHourNameDialog, parent) {}

void CHourNameDlg::ReadMainDialog(const CDialog& main) {
    m_place.reset();
    m_date.reset();
    m_strPlaceProblem.clear();
    m_strDateProblem.clear();
    // The place and the date each by itself, so each row says its own
    // problem. A box that holds no integer is said by its range too.
    if (const BoxReading place = ReadMainBoxes(main, BoxReport::kSilent, kPlaceBoxes))
        m_place = place.values.ToPlace();
    else
        m_strPlaceProblem = BoxCheckMessage(place.refusedBox, place.values);
    const BoxReading date = ReadMainBoxes(main, BoxReport::kSilent, kDateBoxes);
    if (date && IsValidDate(date.values.ToDate()))
        m_date = date.values.ToDate();
    else
        m_strDateProblem = QStringLiteral("日付欄: ") +
                           (date ? QStringLiteral("暦の日付になっていません。")
                                 : BoxCheckMessage(date.refusedBox, date.values)) +
                           QStringLiteral("ここに日付を入れてください。");
}

bool CHourNameDlg::OnInitDialog() {
    auto* dawn = qobject_cast<QComboBox*>(GetDlgItem(IDC_HOUR_DAWN));
    for (DawnDefinition definition : kDawnDefinitions)
        dawn->addItem(FromUtf8(DawnDefinitionLabel(definition)));
    auto* start = qobject_cast<QComboBox*>(GetDlgItem(IDC_HOUR_DAY_START));
    for (std::string_view choice : kDayStartChoiceLabels)
        start->addItem(FromUtf8(choice));
    CDialog::OnInitDialog(); // the choices into the lists
    for (int id : {IDC_HOUR_RESULT, IDC_HOUR_DATE_READING})
        qobject_cast<QLabel*>(GetDlgItem(id))->setWordWrap(true);
    auto* box = qobject_cast<QLineEdit*>(GetDlgItem(IDC_HOUR_EXPRESSION));
    if (m_place) {
        const Place& p = *m_place;
        SetDlgItemText(IDC_HOUR_PLACE, QString::fromStdString(p.name) + QStringLiteral("  緯度 ") +
                                           Angle(p.latDeg, p.latMin) + QStringLiteral("  経度 ") +
                                           Angle(p.lonDeg, p.lonMin) + QStringLiteral("  時差 ") +
                                           QString::number(p.timeDiff));
    } else {
        SetDlgItemText(IDC_HOUR_PLACE, m_strPlaceProblem);
        box->setEnabled(false);
    }
    if (m_date)
        SetDlgItemText(IDC_HOUR_DATE, HourNameDateText(*m_date));
    connect(qobject_cast<QLineEdit*>(GetDlgItem(IDC_HOUR_DATE)), &QLineEdit::textChanged, this,
            [this] { OnDateChanged(); });
    for (QComboBox* combo : {dawn, start})
        connect(combo, &QComboBox::currentIndexChanged, this, [this] {
            UpdateData(true);
            OnDateChanged();
        });
    connect(box, &QLineEdit::textChanged, this, [this] { OnExpressionChanged(); });
    OnDateChanged();
    if (!m_date)
        GetDlgItem(IDC_HOUR_DATE)->setFocus(Qt::OtherFocusReason);
    else if (m_place)
        box->setFocus(Qt::OtherFocusReason);
    return false; // the focus is set
}

void CHourNameDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_CBIndex(pDX, IDC_HOUR_DAWN, m_nDawn);
    DDX_CBIndex(pDX, IDC_HOUR_DAY_START, m_nDayStart);
}

void CHourNameDlg::OnDateChanged() {
    m_typedDate.reset();
    const QString typed = GetDlgItemText(IDC_HOUR_DATE);
    if (typed.trimmed().isEmpty()) {
        SetDlgItemText(
            IDC_HOUR_DATE_READING,
            m_strDateProblem.isEmpty()
                ? QStringLiteral("日付を入れてください（例: 元禄15年12月14日、2026-06-21）")
                : m_strDateProblem);
        OnExpressionChanged();
        return;
    }
    const std::string text = typed.toStdString();
    const Result<tolmeri::TypedDate> date = ReadTypedDate(text);
    if (!date) {
        // As the command line quotes a value: shortened, its controls escaped.
        SetDlgItemText(IDC_HOUR_DATE_READING,
                       QString::fromStdString(
                           "「" + EscapedForMessage(ShortenedForMessage(TrimTypedBlanks(text))) +
                           "」" + date.Message()));
        OnExpressionChanged();
        return;
    }
    m_typedDate = date->date;
    m_writing = date->writing;
    QString reading = QString::fromStdString(FormatDate(date->date));
    if (const std::string era = FormatEraDates(EraDatesFromJdn(JdnFromCivil(date->date)));
        !era.empty())
        reading += QStringLiteral("（") + QString::fromStdString(era) + QStringLiteral("）");
    if (!date->note.empty())
        reading += u'\n' + QString::fromStdString(date->note);
    SetDlgItemText(IDC_HOUR_DATE_READING, reading);
    if (m_place) {
        PeriodOptions options;
        if (m_nDawn >= 0 && m_nDawn < static_cast<int>(kDawnDefinitions.size()))
            options.dawn = kDawnDefinitions[static_cast<std::size_t>(m_nDawn)];
        m_marks = MarksAround(*m_place, *m_typedDate, options);
    }
    OnExpressionChanged();
}

void CHourNameDlg::OnExpressionChanged() {
    if (!m_place || !m_typedDate) {
        SetDlgItemText(IDC_HOUR_RESULT, QString());
        return;
    }
    const QString expression = GetDlgItemText(IDC_HOUR_EXPRESSION);
    if (expression.trimmed().isEmpty()) {
        SetDlgItemText(IDC_HOUR_RESULT,
                       QStringLiteral("刻の名を入れてください。\n") +
                           QString::fromUtf8(kHourNameExamples.data(), kHourNameExamples.size()));
        return;
    }
    const Reckoning reckoning = ReckoningOfChoice(m_nDayStart, m_writing, *m_typedDate);
    SetDlgItemText(IDC_HOUR_RESULT,
                   HourNameReadingsText(expression, m_marks, *m_typedDate, reckoning));
}
