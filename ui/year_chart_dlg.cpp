#include "ui/year_chart_dlg.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QStandardPaths>
#include <algorithm>
#include <array>
#include <iterator>
#include <string>

#include "core/accepted_ranges.h"
#include "framework/data_exchange.h"
#include "framework/file_dialog.h"
#include "framework/message_box.h"
#include "res/dialogs.h"
#include "res/resource.h"
#include "settings/profile.h"
#include "ui/box_checks.h"

using namespace tolmeri;

namespace {

// The chart's margins in the window, in dialog units: below the three rows
// of choices and the readout's line, and the template's margin elsewhere.
constexpr int kChartTopDlu = 74;
constexpr int kMarginDlu = 7;

// The definitions in the window's list, in the order of --dawn: the main
// window's own first, the list's opening choice, so the two windows agree
// until the user picks another.
constexpr const std::array<DawnDefinition, 4>& kDawnChoices = kDawnDefinitions;
static_assert(kDawnDefinitions[0] == DawnDefinition::kDepression);

// The sizes a picture is saved at: the command line's first, the opening
// choice; then larger ones; the last item is the window's own size.
constexpr QSize kPictureSizes[] = {{kYearChartWidth, kYearChartHeight},
                                   {kYearChartWidth * 3 / 2, kYearChartHeight * 3 / 2},
                                   {kYearChartWidth * 2, kYearChartHeight * 2}};

const QString& PngFilter() {
    static const QString filter = QStringLiteral("PNG 画像 (*.png)");
    return filter;
}
const QString& SvgFilter() {
    static const QString filter = QStringLiteral("SVG 画像 (*.svg)");
    return filter;
}

} // namespace

// ---------------------------------------------------------------------------
// The chart

CYearChartView::CYearChartView(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent); // the painter fills every pixel
    setMouseTracking(true);                // the readout follows the mouse
}

void CYearChartView::mouseMoveEvent(QMouseEvent* event) {
    emit ReadoutChanged(YearChartReadout(m_input, m_layout, event->position().toPoint()));
    QWidget::mouseMoveEvent(event);
}

void CYearChartView::leaveEvent(QEvent* event) {
    emit ReadoutChanged(QString());
    QWidget::leaveEvent(event);
}

QFont CYearChartView::ChartFont() {
    return ChartFace();
}

void CYearChartView::SetInput(YearChartInput input) {
    m_input = std::move(input);
    update();
}

void CYearChartView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    m_layout = PaintYearChart(painter, rect(), m_input, ChartFont());
}

QPoint tolmeri::YearChartPosition(const QRect& owner, const QRect& keep, const QSize& frame,
                                  const QRect& room) {
    constexpr int kGap = 8;
    if (room.isEmpty())
        return {owner.right() + 1 + kGap, owner.top()};
    // Level with the owner where the screen allows, never off it.
    const auto clampX = [&](int x) {
        return std::clamp(x, room.left(), std::max(room.left(), room.right() + 1 - frame.width()));
    };
    const auto clampY = [&](int y) {
        return std::clamp(y, room.top(), std::max(room.top(), room.bottom() + 1 - frame.height()));
    };
    const int rightRoom = room.right() - owner.right() - kGap;
    const int leftRoom = owner.left() - room.left() - kGap;
    const int belowRoom = room.bottom() - owner.bottom() - kGap;
    const int aboveRoom = owner.top() - room.top() - kGap;
    if (rightRoom >= frame.width())
        return {owner.right() + 1 + kGap, clampY(owner.top())};
    if (leftRoom >= frame.width())
        return {owner.left() - kGap - frame.width(), clampY(owner.top())};
    if (belowRoom >= frame.height())
        return {clampX(owner.left()), owner.bottom() + 1 + kGap};
    if (aboveRoom >= frame.height())
        return {clampX(owner.left()), owner.top() - kGap - frame.height()};
    // No side has room for all of it: over the owner's controls, left of
    // the part to keep (its chart), where that is on the screen.
    if (!keep.isEmpty()) {
        const QPoint left(keep.left() - kGap - frame.width(), clampY(owner.top()));
        if (left.x() >= room.left())
            return left;
        const QPoint right(keep.right() + 1 + kGap, clampY(owner.top()));
        if (right.x() + frame.width() <= room.right() + 1)
            return right;
    }
    // Else against the screen's edge on the roomier side, so that as little
    // of the owner as can be is covered.
    if (rightRoom >= leftRoom)
        return {clampX(room.right() + 1 - frame.width()), clampY(owner.top())};
    return {clampX(room.left()), clampY(owner.top())};
}

// ---------------------------------------------------------------------------
// The window

CYearChartDlg::CYearChartDlg(QWidget* parent) : CDialog(res::kYearChartDialog, parent) {
    // A window of its own beside the main dialog, not a dialog over it.
    setWindowFlags((windowFlags() & ~Qt::WindowType_Mask) | Qt::Window);
    MapCommand(IDC_YEAR_CHART_SAVE, [this] { OnSave(); });
}

namespace {

// The part of the main dialog its chart is painted in, on the screen: right
// of its rightmost control.
QRect ChartPart(const QWidget& main) {
    int controls = 0;
    for (const QWidget* child : main.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        if (child->isVisible() && !child->isWindow())
            controls = std::max(controls, child->geometry().right() + 1);
    const QRect client = main.rect();
    if (controls >= client.width())
        return {};
    return QRect(main.mapToGlobal(QPoint(controls, 0)),
                 QSize(client.width() - controls, client.height()));
}

} // namespace

CYearChartDlg* CYearChartDlg::OpenFor(CDialog* main) {
    // The boxes as 計算実行 reads and checks them, into values of this window
    // only: the main dialog's fields and chart stay as they are, and a
    // refused box, told and focused, opens nothing.
    const BoxReading boxes = ReadMainBoxes(*main, BoxReport::kLoud);
    if (!boxes)
        return nullptr;

    auto* chart = main->findChild<CYearChartDlg*>(QString(), Qt::FindDirectChildrenOnly);
    if (!chart) {
        chart = new CYearChartDlg(main);
        chart->Create();
        // The window goes with the main dialog.
        connect(main, &QDialog::finished, chart, &QWidget::close);
        const QScreen* screen = main->screen();
        chart->move(YearChartPosition(main->frameGeometry(), ChartPart(*main),
                                      chart->frameGeometry().size().expandedTo(chart->size()),
                                      screen ? screen->availableGeometry() : QRect()));
    }
    chart->SetPlaceAndDate(boxes.values.ToPlace(), boxes.values.ToDate());
    chart->show();
    chart->raise();
    chart->activateWindow();
    return chart;
}

bool CYearChartDlg::OnInitDialog() {
    auto* dawn = qobject_cast<QComboBox*>(GetDlgItem(IDC_YEAR_CHART_DAWN));
    for (DawnDefinition definition : kDawnChoices)
        dawn->addItem(QString::fromUtf8(DawnDefinitionLabel(definition)));
    auto* steps = qobject_cast<QComboBox*>(GetDlgItem(IDC_YEAR_CHART_STEPS));
    for (ClockSteps kind : kClockSteps)
        steps->addItem(QString::fromUtf8(ClockStepsLabel(kind)));
    auto* sun = qobject_cast<QComboBox*>(GetDlgItem(IDC_YEAR_CHART_SUN));
    for (SunModel model : kSunModels)
        sun->addItem(QString::fromUtf8(SunModelLabel(model)));
    auto* size = qobject_cast<QComboBox*>(GetDlgItem(IDC_YEAR_CHART_SIZE));
    for (const QSize& picture : kPictureSizes)
        size->addItem(QStringLiteral("%1×%2").arg(picture.width()).arg(picture.height()));
    size->addItem(QStringLiteral("画面と同じ"));
    // The lists open as wide as their longest item, whatever the box's width.
    for (QComboBox* combo : {dawn, steps, sun, size})
        combo->view()->setMinimumWidth(combo->view()->sizeHintForColumn(0) +
                                       combo->view()->frameWidth() * 2 + 8);
    CDialog::OnInitDialog(); // the choices into the lists

    m_pView = new CYearChartView(this);
    m_pView->lower(); // under the controls, should the window be made small
    m_pView->show();
    if (auto* readout = qobject_cast<QLabel*>(GetDlgItem(IDC_YEAR_CHART_READOUT)))
        connect(m_pView, &CYearChartView::ReadoutChanged, readout, &QLabel::setText);
    for (QComboBox* combo : {dawn, steps, sun})
        connect(combo, &QComboBox::currentIndexChanged, this, [this] { OnChoiceChanged(); });
    if (auto* moon = qobject_cast<QCheckBox*>(GetDlgItem(IDC_YEAR_CHART_MOON)))
        connect(moon, &QCheckBox::toggled, this, [this] { OnChoiceChanged(); });
    connect(size, &QComboBox::currentIndexChanged, this, [this] { UpdateData(true); });
    return true; // focus to the first choice
}

void CYearChartDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_CBIndex(pDX, IDC_YEAR_CHART_DAWN, m_nDawn);
    DDX_CBIndex(pDX, IDC_YEAR_CHART_STEPS, m_nSteps);
    DDX_CBIndex(pDX, IDC_YEAR_CHART_SUN, m_nSun);
    DDX_Check(pDX, IDC_YEAR_CHART_MOON, m_nMoon);
    DDX_CBIndex(pDX, IDC_YEAR_CHART_SIZE, m_nPictureSize);
}

void CYearChartDlg::resizeEvent(QResizeEvent* event) {
    CDialog::resizeEvent(event);
    if (!m_pView)
        return;
    const afx::DluBase base = GetBaseUnits();
    const int margin = afx::DluToPixelsX(kMarginDlu, base);
    const int top = afx::DluToPixelsY(kChartTopDlu, base);
    const int bottom = afx::DluToPixelsY(kMarginDlu, base);
    m_pView->setGeometry(margin, top, std::max(width() - 2 * margin, 1),
                         std::max(height() - top - bottom, 1));
}

void CYearChartDlg::SetPlaceAndDate(const Place& place, const CivilDate& date) {
    m_place = place;
    m_date = date;
    Redraw();
}

void CYearChartDlg::OnChoiceChanged() {
    UpdateData(true);
    Redraw();
}

PeriodOptions CYearChartDlg::Options() const {
    PeriodOptions options;
    if (m_nDawn >= 0 && m_nDawn < static_cast<int>(std::size(kDawnChoices)))
        options.dawn = kDawnChoices[static_cast<std::size_t>(m_nDawn)];
    if (m_nSteps >= 0 && m_nSteps < static_cast<int>(kClockSteps.size()))
        options.steps = kClockSteps[static_cast<std::size_t>(m_nSteps)];
    if (m_nSun >= 0 && m_nSun < static_cast<int>(kSunModels.size()))
        options.sun = kSunModels[static_cast<std::size_t>(m_nSun)];
    return options;
}

void CYearChartDlg::Redraw() {
    if (!m_pView)
        return;
    YearChartInput input = MakeYearChartInput(m_place, m_date.year, Options(), m_nMoon != 0);
    // The boxes' day; a day past the month's end counts on into the next
    // month, as the main dialog's calculation does.
    const std::int64_t day = DaysFromCivil(m_date) - DaysFromCivil({m_date.year, 1, 1});
    input.markedDay =
        day >= 0 && day < static_cast<std::int64_t>(input.days.size()) ? static_cast<int>(day) : -1;
    m_pView->SetInput(std::move(input));
}

QSize CYearChartDlg::PictureSize() const {
    if (m_nPictureSize >= 0 && m_nPictureSize < static_cast<int>(std::size(kPictureSizes)))
        return kPictureSizes[static_cast<std::size_t>(m_nPictureSize)];
    // The window's own: a window not laid out yet has none.
    if (m_pView && !m_pView->size().isEmpty())
        return m_pView->size();
    return kPictureSizes[0];
}

QByteArray CYearChartDlg::Picture(bool svg) const {
    return YearChartPicture(m_pView->Input(), PictureSize(), svg);
}

void CYearChartDlg::OnSave() {
    QString folder = m_strSaveFolder;
    if (folder.isEmpty())
        folder = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        folder = QDir::homePath();
    const QString filter = m_strSaveFilter.isEmpty() ? PngFilter() : m_strSaveFilter;
    QString base = QString::fromStdString(m_place.name);
    base.replace(QChar(u'/'), QChar(u'_'));
    const QString suggested = (base.isEmpty() ? QStringLiteral("tolmeri") : base) +
                              QStringLiteral("_%1.").arg(m_date.year) +
                              afx::FilterExtension(filter);

    afx::SaveFileRequest request;
    request.owner = this;
    request.caption = QStringLiteral("画像として保存");
    request.path = QDir(folder).filePath(suggested);
    request.filters = {PngFilter(), SvgFilter()};
    request.selectedFilter = filter;
    const afx::SaveFileAnswer answer = afx::GetSaveFileName(request);
    if (answer.path.isEmpty())
        return; // cancelled

    // The kind follows the name's extension; a name without one takes the
    // chosen filter's.
    QString path = answer.path;
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix.isEmpty()) {
        const QString extension = afx::FilterExtension(answer.filter);
        path += u'.' + (extension.isEmpty() ? QStringLiteral("png") : extension);
    } else if (suffix != QLatin1String("png") && suffix != QLatin1String("svg")) {
        afx::MessageBox(this,
                        QStringLiteral("図は PNG か SVG で保存します。ファイル名の終わりを "
                                       ".png か .svg にしてください。\n") +
                            path,
                        afx::MbIcon::kExclamation);
        return;
    }
    m_strSaveFolder = QFileInfo(path).absolutePath();
    m_strSaveFilter = answer.filter.isEmpty() ? filter : answer.filter;
    if (ConfirmTarget(path))
        SaveChart(path);
}

bool CYearChartDlg::ConfirmTarget(const QString& path) {
    const Result<profile::WriteTarget> target = profile::ResolveWriteTarget(
        QFile::encodeName(path).toStdString(), profile::LinkRule::kFollow);
    if (!target) {
        if (target.Kind() != FailureKind::kRefused)
            return true; // the save reports what is wrong
        afx::MessageBox(
            this,
            QStringLiteral("「%1」は誰でも書けるフォルダにある他のユーザーのリンクなので、"
                           "たどって図を保存しません。\n"
                           "自分のフォルダのファイル名を指定してください。")
                .arg(path),
            afx::MbIcon::kExclamation);
        return false;
    }
    const QString real = QFile::decodeName(QByteArray::fromStdString(target->path));
    // Nothing to replace, or something the save refuses to replace.
    if (!target->throughLink && !(target->exists && QFileInfo(real).isFile()))
        return true;
    if (!target->throughLink)
        return afx::AskYesNo(this,
                             QStringLiteral("「%1」はもうあります。置き換えますか？").arg(path));
    if (target->exists)
        return afx::AskYesNo(this, QStringLiteral("「%1」は「%2」へのリンクです。\n"
                                                  "「%2」を置き換えますか？")
                                       .arg(path, real));
    return afx::AskYesNo(this, QStringLiteral("「%1」は行き先のないリンクです。\n"
                                              "リンク先の「%2」を新しく作りますか？")
                                   .arg(path, real));
}

bool CYearChartDlg::SaveChart(const QString& path) {
    const bool svg =
        QFileInfo(path).suffix().compare(QLatin1String("svg"), Qt::CaseInsensitive) == 0;
    const Status saved = profile::ReplaceFile(
        QFile::encodeName(path).toStdString(),
        [this, svg]() -> Result<std::string> {
            const QByteArray picture = Picture(svg);
            if (picture.isEmpty())
                return Fail(svg ? "SVG の図を作れませんでした" : "PNG の図を作れませんでした");
            return std::string(picture.constData(), static_cast<std::size_t>(picture.size()));
        },
        profile::LinkRule::kFollow);
    if (saved)
        return true;
    if (saved.Kind() == FailureKind::kRefused) {
        afx::MessageBox(
            this,
            QStringLiteral("「%1」はふつうのファイルではないので、図を保存しません。\n"
                           "新しいファイルか、いまあるファイルの名前を指定してください。")
                .arg(path),
            afx::MbIcon::kExclamation);
        return false;
    }
    afx::MessageBox(this,
                    QStringLiteral("図を保存できませんでした。\n%1\n（%2）")
                        .arg(path, QString::fromLocal8Bit(saved.Message().c_str())),
                    afx::MbIcon::kExclamation);
    return false;
}
