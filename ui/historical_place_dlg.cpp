#include "ui/historical_place_dlg.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

#include "framework/list_box.h"
#include "res/dialogs.h"
#include "res/resource.h"
#include "settings/settings.h"

namespace {

QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A row of the list: name, reading, where, latitude, longitude.
QString RowText(const tolmeri::PlaceRecord& place) {
    using namespace tolmeri;
    return FromUtf8(place.name) + u'\t' + FromUtf8(place.reading) + u'\t' +
           QString::fromStdString(PlaceWhere(place)) + u'\t' +
           QString::fromStdString(PlaceListAngle(place.latArcMinutes, 2)) + u'\t' +
           QString::fromStdString(PlaceListAngle(place.lonArcMinutes, 3));
}

} // namespace

using namespace tolmeri;

CHistoricalPlaceDlg::CHistoricalPlaceDlg(QWidget* parent)
    : CDialog(res::kHistoricalPlacesDialog, parent) {}

bool CHistoricalPlaceDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    m_place.reset();

    // The user's file is read at every showing, so an edit to it shows at
    // the next one.
    const std::string path = UserPlacesPath();
    Result<std::string> text = ReadUserPlacesFile(path);
    m_book.emplace(text ? std::move(*text) : std::string());
    const QString file = QString::fromLocal8Bit(path.c_str());
    QString user;
    if (text) {
        user =
            QStringLiteral("自分の場所: %1 から %2 か所").arg(file).arg(m_book->UserPlaceCount());
        const std::vector<PlaceRowProblem>& problems = m_book->Problems();
        if (!problems.empty())
            user += QStringLiteral("、読めない %1 行は使いません（%2）")
                        .arg(problems.size())
                        .arg(QString::fromStdString(problems.front().message));
    } else if (text.Kind() == FailureKind::kAbsent) {
        user = QStringLiteral("自分の場所は %1 に同じ列で書けます（ヘルプを参照）").arg(file);
    } else {
        user = QString::fromStdString(text.Message());
    }
    auto* userLabel = qobject_cast<QLabel*>(GetDlgItem(IDC_HISTORICAL_USER));
    userLabel->setWordWrap(true);
    userLabel->setText(user);
    qobject_cast<QLabel*>(GetDlgItem(IDC_HISTORICAL_DETAIL))->setWordWrap(true);
    qobject_cast<QLabel*>(GetDlgItem(IDC_HISTORICAL_CREDITS))->setWordWrap(true);

    auto* kinds = qobject_cast<QComboBox*>(GetDlgItem(IDC_HISTORICAL_KIND));
    for (const PlaceChoice& choice : PlaceChoices())
        kinds->addItem(FromUtf8(choice.label));
    auto* search = qobject_cast<QLineEdit*>(GetDlgItem(IDC_HISTORICAL_SEARCH));
    // What is searched is never stored, so the box takes what CP932 cannot
    // hold too: romaji with length marks (Ōsaka, Tōkaidō).
    search->setValidator(nullptr);
    search->installEventFilter(this);
    auto* list = qobject_cast<CListBoxWidget*>(GetDlgItem(IDC_HISTORICAL_LIST));
    connect(search, &QLineEdit::textChanged, this, [this] { Refill(); });
    connect(kinds, &QComboBox::currentIndexChanged, this, [this] { Refill(); });
    connect(list, &QListWidget::itemSelectionChanged, this, [this] { ShowDetail(); });
    Refill();
    // Whole rows at every scale (measured on the rows just listed), the
    // frame above the count.
    const QWidget* count = GetDlgItem(IDC_HISTORICAL_COUNT);
    list->FitWholeRows(count->y() - afx::DluToPixelsY(1, GetBaseUnits()));
    return true; // the focus to the search box, the first tab stop
}

void CHistoricalPlaceDlg::Refill() {
    auto* list = qobject_cast<CListBoxWidget*>(GetDlgItem(IDC_HISTORICAL_LIST));
    const int choice = qobject_cast<QComboBox*>(GetDlgItem(IDC_HISTORICAL_KIND))->currentIndex();
    const std::vector<PlaceChoice>& choices = PlaceChoices();
    const PlaceFilter filter = choice >= 0 && static_cast<std::size_t>(choice) < choices.size()
                                   ? choices[static_cast<std::size_t>(choice)].filter
                                   : PlaceFilter{};
    const QByteArray typed = GetDlgItemText(IDC_HISTORICAL_SEARCH).toUtf8();
    m_shown = m_book->Search(std::string_view(typed.constData(), typed.size()), filter);

    const QSignalBlocker quiet(list);
    list->clear();
    QStringList rows;
    rows.reserve(static_cast<qsizetype>(m_shown.size()));
    for (const PlaceRecord* place : m_shown)
        rows << RowText(*place);
    list->addItems(rows);
    // Typed text puts its best match first, selected, so Enter takes it; the
    // whole list starts as the preset list does, nothing selected, at its
    // top.
    if (!typed.trimmed().isEmpty() && !m_shown.empty())
        list->setCurrentRow(0);
    else
        list->scrollToTop();
    SetDlgItemText(IDC_HISTORICAL_COUNT, m_shown.empty()
                                             ? QStringLiteral("見つかりません")
                                             : QStringLiteral("%1 か所").arg(m_shown.size()));
    ShowDetail();
}

int CHistoricalPlaceDlg::SelectedRow() const {
    const auto* list = qobject_cast<const CListBoxWidget*>(GetDlgItem(IDC_HISTORICAL_LIST));
    const QList<QListWidgetItem*> selected = list->selectedItems();
    return selected.isEmpty() ? -1 : list->row(selected.first());
}

void CHistoricalPlaceDlg::ShowDetail() {
    const int row = SelectedRow();
    if (row < 0 || static_cast<std::size_t>(row) >= m_shown.size()) {
        SetDlgItemText(IDC_HISTORICAL_DETAIL, QString());
        return;
    }
    const QString text =
        QString::fromStdString(PlaceDetail(*m_shown[static_cast<std::size_t>(row)]));
    SetDlgItemText(IDC_HISTORICAL_DETAIL, text);
}

bool CHistoricalPlaceDlg::eventFilter(QObject* watched, QEvent* event) {
    // Down in the search box goes on into the list, at its selected place
    // or its first.
    if (watched == GetDlgItem(IDC_HISTORICAL_SEARCH) && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Down &&
        static_cast<QKeyEvent*>(event)->modifiers() == Qt::NoModifier) {
        auto* list = qobject_cast<CListBoxWidget*>(GetDlgItem(IDC_HISTORICAL_LIST));
        if (list->count() > 0) {
            list->setFocus(Qt::TabFocusReason);
            if (SelectedRow() < 0)
                list->setCurrentRow(0);
        }
        return true;
    }
    return CDialog::eventFilter(watched, event);
}

void CHistoricalPlaceDlg::OnOK() {
    // OK without a choice is ignored, as in the preset list.
    const int row = SelectedRow();
    if (row < 0 || static_cast<std::size_t>(row) >= m_shown.size())
        return;
    Place place = m_shown[static_cast<std::size_t>(row)]->ToPlace();
    place.name = FitPlaceName(place.name);
    m_place = place;
    CDialog::OnOK();
}

void CHistoricalPlaceDlg::OnCancel() {
    m_place.reset();
    CDialog::OnCancel();
}
