#include "ui/tolmeri_dlg.h"

#include <QFile>
#include <QPainter>
#include <QPushButton>

#include "core/accepted_ranges.h"
#include "core/presets.h"
#include "framework/clock.h"
#include "framework/cp932.h"
#include "framework/message_box.h"
#include "framework/win_app.h"
#include "res/dialogs.h"
#include "res/resource.h"
#include "settings/settings.h"
#include "ui/about_dlg.h"
#include "ui/box_checks.h"
#include "ui/chart_painter.h"
#include "ui/chart_picture.h"
#include "ui/era_date_dlg.h"
#include "ui/historical_place_dlg.h"
#include "ui/hour_name_dlg.h"
#include "ui/year_chart_dlg.h"

CTolmeriDlg::CTolmeriDlg(QWidget* parent)
    : CDialog(res::kMainDialog, parent), m_hIcon(afx::LoadIcon(IDR_MAINFRAME)) {
    MapCommand(IDC_CALCULATE, [this] { OnCalculate(); });
    MapCommand(IDC_SET_TODAY, [this] { OnSetToday(); });
    MapCommand(IDC_CHOOSE_LOCATION, [this] { OnChooseLocation(); });
    MapCommand(IDC_HELP_BUTTON, [this] { OnHelpButton(); });
}

void CTolmeriDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    tolmeri::BoxValues fields = BoxFields();
    tolmeri::ExchangeBoxes(pDX, fields);
    SetBoxFields(fields);
}

void CTolmeriDlg::FieldsToControls() {
    UpdateData(false);
}

bool CTolmeriDlg::ControlsToFields() {
    return UpdateData(true);
}

QSize CTolmeriDlg::ClientSizeFor(const QPaintDevice* device) {
    const QSize templateSize = CDialog::ClientSize(res::kMainDialog);
    return {
        tolmeri::ChartClientWidth(ChartFace(), device, templateSize.height(), templateSize.width()),
        templateSize.height()};
}

QFont CTolmeriDlg::ChartFace() {
    return tolmeri::ChartFace();
}

bool CTolmeriDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    // The controls stay where the template puts them; the chart on the
    // right gets the room its texts need.
    setFixedSize(ClientSizeFor(this));
    SetUpSystemMenu();
    SetUpMenuButton();
    setWindowIcon(m_hIcon);
    BuildIniPath();
    LoadSettings();
    FieldsToControls();
    Recompute();
    return true; // focus to the first tab stop, 日付を今日に設定
}

void CTolmeriDlg::OnCalculate() {
    const tolmeri::BoxValues before = BoxFields();

    // A refused box does not stop the command: it goes on with the fields as
    // they now stand.
    ControlsToFields();

    // Each failing check tells the user, restores (or corrects) its field
    // and shows all fields again; every check runs, in its order.
    for (const tolmeri::CheckStep& step :
         tolmeri::RunBoxChecks(before.ToFields(), BoxFields().ToFields())) {
        afx::MessageBox(this, QString::fromStdString(step.message), afx::MbIcon::kNone);
        SetBoxFields(tolmeri::BoxValues::Of(step.fields));
        FieldsToControls();
    }

    Recompute();
    update(); // the whole client area, background included
}

void CTolmeriDlg::OnSetToday() {
    // Only the fields change: whatever was typed since the last exchange is
    // replaced, and the chart keeps its date until the next 計算実行.
    const QDate today = afx::CurrentDate();
    SetDateFields({today.year(), today.month(), today.day()});
    FieldsToControls();
}

void CTolmeriDlg::OnChooseLocation() {
    // A refused box has told the user; the fields stand as they are, and
    // the last step shows them all again.
    ControlsToFields();
    m_locationList.DoModal(this);
    if (m_locationList.m_strSelected != CLocationListDlg::CancelMarker()) {
        const QByteArray& entry = m_locationList.m_strSelected;
        SetPlaceFields(tolmeri::ParseLocationEntry(
            std::string_view(entry.constData(), static_cast<std::size_t>(entry.size()))));
    }
    FieldsToControls();
}

void CTolmeriDlg::OnHelpButton() {
    AfxGetApp()->WinHelp(1, afx::HELP_CONTEXT);
}

void CTolmeriDlg::SetUpSystemMenu() {
    CMenu* pSysMenu = GetSystemMenu(false);
    const QString strAboutMenu = QString::fromUtf8(res::LoadStringResource(IDS_ABOUTBOX));
    if (!pSysMenu || strAboutMenu.isEmpty())
        return;
    pSysMenu->RemoveMenu(afx::SC_MAXIMIZE, afx::MF_BYCOMMAND);
    pSysMenu->RemoveMenu(afx::SC_RESTORE, afx::MF_BYCOMMAND);
    pSysMenu->RemoveMenu(afx::SC_SIZE, afx::MF_BYCOMMAND);
    pSysMenu->AppendMenu(afx::MF_SEPARATOR);
    pSysMenu->AppendMenu(afx::MF_STRING, IDM_ERA_DATE,
                         QString::fromUtf8(res::LoadStringResource(IDS_ERA_DATE)));
    pSysMenu->AppendMenu(afx::MF_STRING, IDM_YEAR_CHART,
                         QString::fromUtf8(res::LoadStringResource(IDS_YEAR_CHART)));
    pSysMenu->AppendMenu(afx::MF_STRING, IDM_HOUR_NAME,
                         QString::fromUtf8(res::LoadStringResource(IDS_HOUR_NAME)));
    pSysMenu->AppendMenu(afx::MF_STRING, IDM_HISTORICAL_PLACES,
                         QString::fromUtf8(res::LoadStringResource(IDS_HISTORICAL_PLACES)));
    pSysMenu->AppendMenu(afx::MF_STRING, IDM_ABOUTBOX, strAboutMenu);
}

void CTolmeriDlg::SetUpMenuButton() {
    // Below the buttons, in the free strip before the chart: the template's
    // controls stay where they are, and the button takes no focus, so the
    // keys walk the template's order as before (Alt+Space opens the same
    // menu).
    constexpr int kX = 172, kY = 281, kWidth = 62, kHeight = 14; // dialog units
    const afx::DluBase base = GetBaseUnits();
    auto* button = new QPushButton(QStringLiteral("メニュー ▾"), this);
    button->setObjectName(QStringLiteral("windowMenuButton"));
    button->setFocusPolicy(Qt::NoFocus);
    button->setGeometry(afx::DluToPixelsX(kX, base), afx::DluToPixelsY(kY, base),
                        afx::DluToPixelsX(kWidth, base), afx::DluToPixelsY(kHeight, base));
    button->setToolTip(QStringLiteral("和暦・旧暦で日付を指定、一年の刻の図、刻の名から時刻を"
                                      "求めるなど（右クリックや Alt+Space でも開きます）"));
    connect(button, &QPushButton::clicked, this,
            [this, button] { ShowSystemMenu(button->mapToGlobal(QPoint(0, button->height()))); });
    m_pMenuButton = button;
}

void CTolmeriDlg::OnSystemCommand(unsigned nID, qint64 lParam) {
    if ((nID & 0xFFF0) == IDM_ABOUTBOX) {
        CAboutDlg dlgAbout(this);
        dlgAbout.DoModal();
    } else if ((nID & 0xFFF0) == IDM_ERA_DATE) {
        OnEraDate();
    } else if ((nID & 0xFFF0) == IDM_YEAR_CHART) {
        OnYearChart();
    } else if ((nID & 0xFFF0) == IDM_HOUR_NAME) {
        OnHourName();
    } else if ((nID & 0xFFF0) == IDM_HISTORICAL_PLACES) {
        OnHistoricalPlace();
    } else {
        CDialog::OnSysCommand(nID, lParam);
    }
}

void CTolmeriDlg::OnEraDate() {
    CEraDateDlg dlgEraDate(this);
    dlgEraDate.ReadMainDialog(*this, m_nTimeDifference);
    if (dlgEraDate.DoModal() != afx::IDOK)
        return;
    SetDlgItemText(IDC_DATE_YEAR, afx::FormatDialogInteger(dlgEraDate.m_date.year));
    SetDlgItemText(IDC_DATE_MONTH, afx::FormatDialogInteger(dlgEraDate.m_date.month));
    SetDlgItemText(IDC_DATE_DAY, afx::FormatDialogInteger(dlgEraDate.m_date.day));
    // The date chosen waits for 計算実行, which the next Enter now presses;
    // the focus it had (日付を今日に設定, on opening) would replace the date.
    GetDlgItem(IDC_CALCULATE)->setFocus(Qt::OtherFocusReason);
}

void CTolmeriDlg::OnHourName() {
    CHourNameDlg dlgHourName(this);
    dlgHourName.ReadMainDialog(*this);
    dlgHourName.DoModal();
}

void CTolmeriDlg::OnHistoricalPlace() {
    // As with the preset list: a refused box has told the user, and the
    // last step shows every field again.
    ControlsToFields();
    CHistoricalPlaceDlg dlgPlaces(this);
    if (dlgPlaces.DoModal() == afx::IDOK && dlgPlaces.m_place)
        SetPlaceFields(*dlgPlaces.m_place);
    FieldsToControls();
}

void CTolmeriDlg::OnYearChart() {
    CYearChartDlg::OpenFor(this);
}

void CTolmeriDlg::Recompute() {
    m_hours.Recompute(PlaceFields(), DateFields());
}

tolmeri::Place CTolmeriDlg::PlaceFields() const {
    return BoxFields().ToPlace();
}

tolmeri::CivilDate CTolmeriDlg::DateFields() const {
    return {m_nDateYear, m_nDateMonth, m_nDateDay};
}

tolmeri::BoxValues CTolmeriDlg::BoxFields() const {
    return {{m_nLatitudeDegrees,
             m_nLatitudeMinutes,
             m_nLongitudeDegrees,
             m_nLongitudeMinutes,
             m_nTimeDifference,
             m_nDateYear,
             m_nDateMonth,
             m_nDateDay,
             {}},
            m_strLocationName};
}

void CTolmeriDlg::SetBoxFields(const tolmeri::BoxValues& values) {
    const tolmeri::MainFields& f = values.fields;
    m_nLatitudeDegrees = f.latDeg;
    m_nLatitudeMinutes = f.latMin;
    m_nLongitudeDegrees = f.lonDeg;
    m_nLongitudeMinutes = f.lonMin;
    m_nTimeDifference = f.timeDiff;
    m_nDateYear = f.year;
    m_nDateMonth = f.month;
    m_nDateDay = f.day;
    m_strLocationName = values.name;
}

void CTolmeriDlg::SetPlaceFields(const tolmeri::Place& place) {
    m_strLocationName = QString::fromStdString(place.name);
    m_nLatitudeDegrees = place.latDeg;
    m_nLatitudeMinutes = place.latMin;
    m_nLongitudeDegrees = place.lonDeg;
    m_nLongitudeMinutes = place.lonMin;
    m_nTimeDifference = place.timeDiff;
}

void CTolmeriDlg::SetDateFields(const tolmeri::CivilDate& date) {
    m_nDateYear = date.year;
    m_nDateMonth = date.month;
    m_nDateDay = date.day;
}

void CTolmeriDlg::OnSaveAndExit() {
    // A refused box has told the user once; nothing is written and the
    // dialog stays, so no mix of new and old values reaches the file.
    if (!ControlsToFields())
        return;
    if (!SaveSettings())
        return;
    EndDialog(afx::IDOK);
}

void CTolmeriDlg::OnDiscardAndExit() {
    EndDialog(afx::IDCANCEL);
}

void CTolmeriDlg::BuildIniPath() {
    // A program folder that takes no new file (an installation under /usr)
    // moves the settings to the user's configuration folder.
    m_settingsFile = tolmeri::ChooseSettingsLocation(
        tolmeri::IniPathForExecutable(afx::ModuleFileName().toStdString()));
}

void CTolmeriDlg::LoadSettings() {
    const tolmeri::CSettingsValues v = tolmeri::LoadSettingsFile(m_settingsFile);
    SetPlaceFields(v.place);
    SetDateFields(v.date);
    m_strStoredName = QByteArray::fromStdString(v.place.name);
    m_strLocationName = afx::FromCp932(m_strStoredName);
}

bool CTolmeriDlg::SaveSettings() {
    tolmeri::CSettingsValues v{PlaceFields(), DateFields()};
    const bool nameAsLoaded = m_strLocationName == afx::FromCp932(m_strStoredName);
    v.place.name = (nameAsLoaded ? m_strStoredName : afx::ToCp932(m_strLocationName)).toStdString();
    const tolmeri::Status saved = tolmeri::SaveSettingsFile(m_settingsFile, v);
    if (!saved) {
        // A refusal says why; a failure of the disk is told by the path.
        const QString why = saved.Kind() == tolmeri::FailureKind::kRefused
                                ? u'\n' + QString::fromStdString(saved.Message())
                                : QString();
        afx::MessageBox(this,
                        QStringLiteral("設定ファイルを保存できませんでした。\n") +
                            QFile::decodeName(IniPath()) + why,
                        afx::MbIcon::kExclamation);
    }
    return saved.Ok();
}

void CTolmeriDlg::paintEvent(QPaintEvent*) {
    OnPaint();
}

void CTolmeriDlg::OnPaint() {
    QPainter painter(this);
    DrawChart(painter);
    if (isMinimized()) {
        // The icon centred over the chart, as a minimised window shows it.
        constexpr int kIcon = 32;
        const int x = (width() - kIcon + 1) / 2;
        const int y = (height() - kIcon + 1) / 2;
        m_hIcon.paint(&painter, x, y, kIcon, kIcon);
    }
}

void CTolmeriDlg::DrawChart(QPainter& painter) {
    // The title shows the fields as they are now, the hours the last recompute.
    tolmeri::PaintChart(painter, tolmeri::ClientRect{0, 0, width(), height()},
                        tolmeri::ChartInput{m_hours.Day(), m_strLocationName, DateFields()},
                        ChartFace());
}
