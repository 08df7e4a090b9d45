#include "ui/era_date_dlg.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QSignalBlocker>
#include <string>

#include "core/accepted_ranges.h"
#include "core/calendar.h"
#include "core/day_names.h"
#include "core/kanshi.h"
#include "core/moon_hours.h"
#include "core/solar_terms.h"
#include "core/sun_events.h"
#include "core/typed_date.h"
#include "core/typed_text.h"
#include "core/utf8.h"
#include "framework/cp932.h"
#include "framework/data_exchange.h"
#include "res/dialogs.h"
#include "res/resource.h"
#include "ui/box_checks.h"

namespace tolmeri {

namespace {

// A box's text without blanks around it and without its unit (年, 月, 日)
// at the end, as a text may write it.
QString Number(const QString& text, QChar unit) {
    QString s = text.trimmed();
    if (s.endsWith(unit))
        s.chop(1);
    return s.trimmed();
}

// The era's name from a list text or a typed name: whatever stands before a
// court mark.
QString EraName(const QString& text) {
    QString s = text.trimmed();
    const qsizetype mark = s.indexOf(QChar(u'（'));
    if (mark >= 0)
        s.truncate(mark);
    return s.trimmed();
}

QString Message(const EraDateParse& parse) {
    return QString::fromUtf8(EraDateErrorMessage(parse));
}

} // namespace

QString EraListText(int era) {
    const EraInfo& info = GetEra(era);
    QString court;
    switch (info.court) {
    case EraCourt::kSouthern:
        court = QStringLiteral("南朝、");
        break;
    case EraCourt::kNorthern:
        court = QStringLiteral("北朝、");
        break;
    case EraCourt::kBoth:
        court = QStringLiteral("南朝・北朝、");
        break;
    case EraCourt::kSole:
        break;
    }
    // The years of its first and last day; the present era runs on.
    const bool present = era == EraCount() - 1;
    return QString::fromUtf8(info.name) + QStringLiteral("（") + court +
           QString::number(CivilFromJdn(info.startJdn).year) + QStringLiteral("～") +
           (present ? QString() : QString::number(CivilFromJdn(info.lastJdn).year)) +
           QStringLiteral("）");
}

QColor EraFaultTint() {
    return QColor(255, 224, 224);
}

QString GregorianText(const CivilDate& date) {
    return QStringLiteral("%1年%2月%3日").arg(date.year).arg(date.month).arg(date.day);
}

namespace {

// The Gregorian date of a day, with its Julian-calendar date before
// 1582-10-15: "1582年7月1日（ユリウス暦 1582年6月21日）".
QString GregorianAndJulianText(int jdn) {
    QString text = GregorianText(CivilFromJdn(jdn));
    if (jdn < kFirstGregorianJdn)
        text += QStringLiteral("（ユリウス暦 ") + GregorianText(JulianCalendarFromJdn(jdn)) +
                QStringLiteral("）");
    return text;
}

} // namespace

namespace {

// The reading of a day found: its Gregorian (and Julian) date, the note of
// an era date outside its era's days, and whether the date boxes take it.
EraDateReading DayReading(int jdn, const std::string& note) {
    QString text = QStringLiteral("西暦 ") + GregorianAndJulianText(jdn);
    // A date outside its era's days, as sources write it: which date it is.
    if (!note.empty())
        text += u'\n' + QString::fromUtf8(note);
    const int gregorianYear = CivilFromJdn(jdn).year;
    if (!kYearRange.Contains(gregorianYear)) {
        text += QStringLiteral("\n日付欄に入れられるのは %1年から %2年までです。")
                    .arg(kYearRange.first)
                    .arg(kYearRange.last);
        return {jdn, text, false, EraDateField::kYear};
    }
    return {jdn, text, true, EraDateField::kNone};
}

// A reading that names no day, its part at fault.
EraDateReading Refused(const QString& text, EraDateField field, bool missing = false) {
    return {std::nullopt, text, false, field, missing};
}

// A whole date typed or pasted into the era box, "安政7年 3月20日",
// "慶長五年九月十五日", "1860/3/24", "2026年6月21日": read by the core's reader
// of typed dates, as tolmeri-hours reads its dates, with the year, month and
// day boxes left aside. Nullopt for a text that is no whole date.
std::optional<EraDateReading> ReadWholeDate(const QString& typed) {
    const std::string text = typed.toStdString();
    const EraDateParse era = ParseEraDate(text);
    if (era.error == EraDateError::kNone) {
        EraDateReading reading = DayReading(era.jdn, era.note);
        if (reading.field != EraDateField::kNone)
            reading.field = EraDateField::kEra; // the year is in the era box
        reading.wholeDate = true;
        return reading;
    }
    if (era.error != EraDateError::kMalformed && era.error != EraDateError::kUnknownEra) {
        EraDateReading refused = Refused(Message(era), EraDateField::kEra);
        refused.wholeDate = true;
        return refused;
    }
    const std::string plain = PlainTypedText(text);
    const bool western =
        !plain.empty() && ((plain[0] >= '0' && plain[0] <= '9') || plain.starts_with("西暦") ||
                           plain.starts_with("旧暦") || plain.starts_with("ユリウス暦"));
    if (!western)
        return std::nullopt;
    const Result<TypedDate> date = ReadTypedDate(text);
    if (!date) {
        // The paste is echoed as the command line quotes a value: shortened,
        // its controls escaped.
        EraDateReading refused = Refused(
            QString::fromStdString(
                "「" + EscapedForMessage(ShortenedForMessage(TrimTypedBlanks(text))) + "」") +
                QString::fromUtf8(date.Message()).trimmed(),
            EraDateField::kEra);
        refused.wholeDate = true;
        return refused;
    }
    const int jdn = JdnFromCivil(date->date);
    EraDateReading reading = DayReading(jdn, date->note);
    if (reading.field != EraDateField::kNone)
        reading.field = EraDateField::kEra;
    if (const std::string wareki = FormatEraDates(EraDatesFromJdn(jdn)); !wareki.empty())
        reading.text += QStringLiteral("\n和暦 ") + QString::fromUtf8(wareki);
    reading.writing = date->writing;
    reading.wholeDate = true;
    return reading;
}

} // namespace

EraDateReading ReadEraDateEntry(const EraDateEntry& entry) {
    const QString era = EraName(entry.era);
    if (era.isEmpty())
        return Refused(QStringLiteral("元号を選ぶか入れてください。"), EraDateField::kEra, true);
    if (FindEra(era.toStdString()) < 0)
        if (std::optional<EraDateReading> whole = ReadWholeDate(entry.era))
            return *whole;

    // Each box read by the calendar's own reader of the parts of an era
    // date: kanji numerals, 元年, 正月 and 朔日 come with it, and it says
    // which part is at fault.
    const std::string eraText = era.toStdString();
    const std::string year = entry.year.toStdString();
    const std::string month = entry.month.toStdString();
    const std::string day = entry.day.toStdString();
    EraDateParse parse = ParseEraDateParts({eraText, year, entry.leap, month, day});
    if (parse.field == EraDateField::kEra)
        return Refused(Message(parse), parse.field);

    // An empty box (or one holding only its unit) is asked for, before the
    // reader's answer about the boxes after it.
    const struct {
        const QString& text;
        QChar unit;
        EraDateField field;
        const char* empty;
        const char* unread;
    } boxes[] = {{entry.year, u'年', EraDateField::kYear,
                  "年を入れてください（元年は 1 か「元」）。",
                  "「年」は数で入れてください（元年は 1 か「元」）。"},
                 {entry.month, u'月', EraDateField::kMonth, "月を入れてください。",
                  "「月」は数で入れてください。"},
                 {entry.day, u'日', EraDateField::kDay, "日を入れてください。",
                  "「日」は数で入れてください。"}};
    for (const auto& box : boxes)
        if (Number(box.text, box.unit).isEmpty())
            return Refused(QString::fromUtf8(box.empty), box.field, true);
    if (parse.error == EraDateError::kMalformed)
        for (const auto& box : boxes)
            if (box.field == parse.field)
                return Refused(QString::fromUtf8(box.unread), box.field);
    if (parse.error != EraDateError::kNone)
        return Refused(Message(parse), parse.field);
    return DayReading(parse.jdn, parse.note);
}

Reckoning EraReckoning(const EraDateReading& reading, int choice) {
    return ReckoningOfChoice(choice, reading.writing,
                             reading.jdn ? CivilFromJdn(*reading.jdn) : CivilDate{});
}

QString EraMoonText(const EraDateReading& reading, const std::optional<Place>& place,
                    const Reckoning& reckoning) {
    if (!reading.accepted || !reading.jdn)
        return QString();
    if (!place)
        return QStringLiteral("月齢・月の出入り: 場所の欄が計算できる値になっていません。");
    // The age and each event on a line of its own: with their dates they
    // would not fit one.
    QString moon = QString::fromStdString(FormatMoonHoursLine(
        CalcMoonDayHours(*place, CivilFromJdn(*reading.jdn), {}, reckoning.start)));
    moon.replace(QStringLiteral("  "), QStringLiteral("\n"));
    return QStringLiteral("数え方  ") + QString::fromStdString(ReckoningText(reckoning)) + u'\n' +
           moon;
}

DayNameLines NameDayLines(int jdn, int timeDiffHours) {
    const DayNames day = NameDay(jdn, timeDiffHours);
    DayNameLines lines;
    lines.gregorian = GregorianAndJulianText(jdn);

    if (day.eras.southern || day.eras.northern)
        lines.wareki = QString::fromUtf8(FormatEraDates(day.eras));
    else
        lines.wareki = jdn < GetEra(0).firstJdn ? QStringLiteral("なし（元号は大化から）")
                                                : QStringLiteral("なし（元号のない年）");

    if (const std::optional<LunisolarDate>& lunar = day.lunisolar) {
        lines.kyureki = QString::fromUtf8(FormatLunisolarDate(*lunar));
        const int length = LunisolarMonthLength(lunar->year, lunar->month, lunar->leap);
        if (length == 30)
            lines.kyureki += QStringLiteral("（大の月）");
        else if (length == 29)
            lines.kyureki += QStringLiteral("（小の月）");
        if (!day.lunisolarNote.empty())
            lines.kyureki += u'\n' + QString::fromStdString(day.lunisolarNote);
    } else {
        lines.kyureki = jdn < kLunisolarFirstJdn ? QStringLiteral("なし（旧暦の表は445年から）")
                                                 : QStringLiteral("なし（旧暦は2200年まで）");
    }

    const SolarTermStart& term = day.term;
    lines.sekki = QString::fromUtf8(kSolarTermNames[static_cast<std::size_t>(term.term)]) +
                  QStringLiteral("（") + GregorianText(CivilFromJdn(term.jdn)) + u' ' +
                  QString::fromStdString(FormatClock(term.minute)) + QStringLiteral(" から）");

    lines.kanshi = QString::fromUtf8(KanshiName(day.dayKanshi));
    if (day.yearKanshi)
        lines.kanshi += QStringLiteral("（") + QString::fromUtf8(KanshiName(*day.yearKanshi)) +
                        QStringLiteral("年）");
    if (day.rokuyo)
        lines.kanshi += QStringLiteral("  六曜 ") + QString::fromUtf8(RokuyoName(*day.rokuyo));
    if (day.namedDays)
        lines.kanshi +=
            QStringLiteral("  ") + QString::fromStdString(FormatNamedDays(day.namedDays));
    return lines;
}

} // namespace tolmeri

using namespace tolmeri;

CEraDateDlg::CEraDateDlg(QWidget* parent) : CDialog(res::kEraDateDialog, parent) {}

void CEraDateDlg::ReadMainDialog(const CDialog& main, int fallbackTimeDifference) {
    // The date boxes as 計算実行 reads and checks them, and a real day; the
    // zone alone, without its longitude.
    m_openDate.reset();
    const BoxReading date = ReadMainBoxes(main, BoxReport::kSilent, kDateBoxes);
    if (date && IsValidDate(date.values.ToDate()))
        m_openDate = date.values.ToDate();
    constexpr int kZoneBox[] = {IDC_TIME_DIFFERENCE};
    const BoxReading zone = ReadMainBoxes(main, BoxReport::kSilent, kZoneBox);
    m_nTimeDifference = zone ? zone.values.fields.timeDiff : fallbackTimeDifference;

    // The place, for the Moon: the latitude and longitude boxes as 計算実行
    // takes them, in that zone.
    m_place.reset();
    constexpr int kPlaceBoxes[] = {IDC_LATITUDE_DEGREES, IDC_LATITUDE_MINUTES,
                                   IDC_LONGITUDE_DEGREES, IDC_LONGITUDE_MINUTES};
    if (const BoxReading place = ReadMainBoxes(main, BoxReport::kSilent, kPlaceBoxes)) {
        BoxValues values = place.values;
        values.fields.timeDiff = m_nTimeDifference;
        m_place = values.ToPlace();
    }
}

bool CEraDateDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    auto* era = qobject_cast<QComboBox*>(GetDlgItem(IDC_ERA_NAME));
    for (int i = 0; i < EraCount(); ++i)
        era->addItem(EraListText(i));
    // Some 250 eras: a long list, as wide as its longest text.
    era->setMaxVisibleItems(20);
    era->view()->setMinimumWidth(era->view()->sizeHintForColumn(0) + era->view()->frameWidth() * 2 +
                                 8);
    era->setCurrentIndex(-1);
    auto* start = qobject_cast<QComboBox*>(GetDlgItem(IDC_ERA_DAY_START));
    for (std::string_view choice : kDayStartChoiceLabels)
        start->addItem(QString::fromUtf8(choice.data(), static_cast<qsizetype>(choice.size())));
    start->setCurrentIndex(0);
    // The values and the result may need two lines.
    for (int id : {IDC_ERA_NOW_WAREKI, IDC_ERA_NOW_KYUREKI, IDC_ERA_RESULT})
        qobject_cast<QLabel*>(GetDlgItem(id))->setWordWrap(true);

    ShowOpenDate();

    connect(era, &QComboBox::editTextChanged, this, [this] { OnEntryChanged(); });
    for (int id : {IDC_ERA_YEAR, IDC_ERA_MONTH, IDC_ERA_DAY})
        connect(qobject_cast<QLineEdit*>(GetDlgItem(id)), &QLineEdit::textChanged, this,
                [this] { OnEntryChanged(); });
    connect(qobject_cast<QCheckBox*>(GetDlgItem(IDC_ERA_LEAP)), &QCheckBox::toggled, this,
            [this] { OnEntryChanged(); });
    connect(start, &QComboBox::currentIndexChanged, this, [this] {
        UpdateData(true);
        OnEntryChanged();
    });
    OnEntryChanged();
    return true; // focus to the era list
}

void CEraDateDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_CBIndex(pDX, IDC_ERA_DAY_START, m_nDayStart);
}

void CEraDateDlg::ShowPartBoxes(bool shown) {
    if (shown == !m_bPartsHidden)
        return;
    static constexpr int kParts[] = {IDC_ERA_YEAR, IDC_ERA_MONTH, IDC_ERA_DAY};
    auto* leap = qobject_cast<QCheckBox*>(GetDlgItem(IDC_ERA_LEAP));
    // Set without a signal: the boxes are not the entry while hidden.
    const QSignalBlocker blockLeap(leap);
    for (int i = 0; i < 3; ++i) {
        auto* box = qobject_cast<QLineEdit*>(GetDlgItem(kParts[i]));
        const QSignalBlocker block(box);
        if (!shown)
            m_strParts[i] = box->text();
        box->setText(shown ? m_strParts[i] : QString());
        box->setEnabled(shown);
    }
    if (!shown)
        m_bLeap = leap->isChecked();
    leap->setChecked(shown && m_bLeap);
    leap->setEnabled(shown);
    m_bPartsHidden = !shown;
}

void CEraDateDlg::ShowOpenDate() {
    if (!m_openDate) {
        SetDlgItemText(IDC_ERA_NOW_DATE,
                       QStringLiteral("日付欄の年・月・日が暦の日付になっていません。"));
        return;
    }
    const int jdn = JdnFromCivil(*m_openDate);
    const DayNameLines names = NameDayLines(jdn, m_nTimeDifference);
    SetDlgItemText(IDC_ERA_NOW_DATE, names.gregorian);
    SetDlgItemText(IDC_ERA_NOW_WAREKI, names.wareki);
    SetDlgItemText(IDC_ERA_NOW_KYUREKI, names.kyureki);
    SetDlgItemText(IDC_ERA_NOW_SEKKI, names.sekki);
    SetDlgItemText(IDC_ERA_NOW_KANSHI, names.kanshi);

    // The same day as an era date to start from (the Southern court's for
    // 1331-1392, as the list's plain texts).
    const std::optional<EraDate> date = EraDateFromJdn(jdn);
    if (!date)
        return;
    qobject_cast<QComboBox*>(GetDlgItem(IDC_ERA_NAME))->setCurrentIndex(date->era);
    SetDlgItemText(IDC_ERA_YEAR,
                   date->year == 1 ? QStringLiteral("元") : QString::number(date->year));
    qobject_cast<QCheckBox*>(GetDlgItem(IDC_ERA_LEAP))->setChecked(date->leap);
    SetDlgItemText(IDC_ERA_MONTH, QString::number(date->month));
    SetDlgItemText(IDC_ERA_DAY, QString::number(date->day));
}

void CEraDateDlg::OnEntryChanged() {
    EraDateEntry entry;
    entry.era = GetDlgItemText(IDC_ERA_NAME);
    entry.year = GetDlgItemText(IDC_ERA_YEAR);
    entry.leap = qobject_cast<QCheckBox*>(GetDlgItem(IDC_ERA_LEAP))->isChecked();
    entry.month = GetDlgItemText(IDC_ERA_MONTH);
    entry.day = GetDlgItemText(IDC_ERA_DAY);
    if (m_bPartsHidden) {
        // The parts as they were before the whole date came into the era box.
        entry.year = m_strParts[0];
        entry.leap = m_bLeap;
        entry.month = m_strParts[1];
        entry.day = m_strParts[2];
    }
    m_reading = ReadEraDateEntry(entry);
    ShowPartBoxes(!m_reading.wholeDate);
    SetDlgItemText(IDC_ERA_RESULT, m_reading.text);
    SetDlgItemText(IDC_ERA_MOON,
                   EraMoonText(m_reading, m_place, EraReckoning(m_reading, m_nDayStart)));
    GetDlgItem(afx::IDOK)->setEnabled(m_reading.accepted);
    MarkFaultBox();
}

int CEraDateDlg::FaultBox() const {
    if (m_reading.accepted)
        return 0;
    switch (m_reading.field) {
    case EraDateField::kNone:
        break;
    case EraDateField::kEra:
        return IDC_ERA_NAME;
    case EraDateField::kYear:
        return IDC_ERA_YEAR;
    case EraDateField::kMonth:
        return IDC_ERA_MONTH;
    case EraDateField::kDay:
    case EraDateField::kKanshi:
        return IDC_ERA_DAY;
    }
    return 0;
}

void CEraDateDlg::MarkFaultBox() {
    const int fault = FaultBox();
    for (int id : {IDC_ERA_NAME, IDC_ERA_YEAR, IDC_ERA_MONTH, IDC_ERA_DAY}) {
        // A palette of no roles of its own gives the box its usual colours back.
        QPalette palette;
        if (id == fault && !m_reading.missing)
            palette.setColor(QPalette::Base, EraFaultTint());
        GetDlgItem(id)->setPalette(palette);
    }
}

void CEraDateDlg::FocusFaultBox() {
    QApplication::beep();
    QWidget* box = GetDlgItem(FaultBox());
    if (!box)
        return;
    box->setFocus(Qt::OtherFocusReason);
    if (auto* edit = qobject_cast<QLineEdit*>(box))
        edit->selectAll();
    else if (auto* list = qobject_cast<QComboBox*>(box); list && list->lineEdit())
        list->lineEdit()->selectAll();
}

void CEraDateDlg::OnOK() {
    if (!m_reading.accepted || !m_reading.jdn) {
        FocusFaultBox();
        return;
    }
    m_date = CivilFromJdn(*m_reading.jdn);
    CDialog::OnOK();
}

void CEraDateDlg::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && !m_reading.accepted) {
        FocusFaultBox();
        event->accept();
        return;
    }
    CDialog::keyPressEvent(event);
}
