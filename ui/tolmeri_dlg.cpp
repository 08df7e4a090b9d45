#include "tolmeri_dlg.h"

#include <QFile>
#include <QPainter>
#include <cstdlib>

#include "about_dlg.h"
#include "chart_painter.h"
#include "clock.h"
#include "cp932.h"
#include "dialogs.h"
#include "message_box.h"
#include "presets.h"
#include "resource.h"
#include "settings.h"
#include "ui/era_date_dlg.h"
#include "ui/year_chart_dlg.h"
#include "win_app.h"

namespace {

// The longest place name, in CP932 bytes: six full-width characters.
constexpr int kNameLimit = 12;

void Tell(QWidget* owner, const char* text) {
    afx::MessageBox(owner, QString::fromUtf8(text), afx::MbIcon::None);
}

} // namespace

CTolmeriDlg::CTolmeriDlg(QWidget* parent)
    : CDialog(res::kMainDialog, parent), m_hIcon(afx::LoadIcon(IDR_MAINFRAME)) {
    MapCommand(IDC_CALCULATE, [this] { OnCalculate(); });
    MapCommand(IDC_SET_TODAY, [this] { OnSetToday(); });
    MapCommand(IDC_CHOOSE_LOCATION, [this] { OnChooseLocation(); });
    MapCommand(IDC_HELP_BUTTON, [this] { OnHelpButton(); });
}

void CTolmeriDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_LATITUDE_DEGREES, m_nLatitudeDegrees);
    DDX_Text(pDX, IDC_LATITUDE_MINUTES, m_nLatitudeMinutes);
    DDX_Text(pDX, IDC_LONGITUDE_DEGREES, m_nLongitudeDegrees);
    DDX_Text(pDX, IDC_LONGITUDE_MINUTES, m_nLongitudeMinutes);
    DDX_Text(pDX, IDC_TIME_DIFFERENCE, m_nTimeDifference);
    DDX_Text(pDX, IDC_DATE_YEAR, m_nDateYear);
    DDX_Text(pDX, IDC_DATE_MONTH, m_nDateMonth);
    DDX_Text(pDX, IDC_DATE_DAY, m_nDateDay);
    DDX_Text(pDX, IDC_LOCATION_NAME, m_strLocationName);
    DDV_MaxChars(pDX, m_strLocationName, kNameLimit);
}

void CTolmeriDlg::FieldsToControls() {
    UpdateData(false);
}

bool CTolmeriDlg::ControlsToFields() {
    return UpdateData(true);
}

QSize CTolmeriDlg::ClientSizeFor(const QPaintDevice* device) {
    const QSize templateSize = CDialog::ClientSize(res::kMainDialog);
    return {ChartClientWidth(device, templateSize.height(), templateSize.width()),
            templateSize.height()};
}

bool CTolmeriDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    // The controls stay where the template puts them; the chart on the
    // right gets the room its texts need.
    setFixedSize(ClientSizeFor(this));
    SetUpSystemMenu();
    setWindowIcon(m_hIcon);
    BuildIniPath();
    LoadSettings();
    FieldsToControls();
    Recompute();
    return true; // focus to the first tab stop, 日付を今日に設定
}

void CTolmeriDlg::OnCalculate() {
    const int year = m_nDateYear, month = m_nDateMonth, day = m_nDateDay;
    const int latDeg = m_nLatitudeDegrees, latMin = m_nLatitudeMinutes;
    const int lonDeg = m_nLongitudeDegrees, lonMin = m_nLongitudeMinutes;
    const QString name = m_strLocationName;

    // A refused box does not stop the command: it goes on with the fields as
    // they now stand.
    ControlsToFields();

    // Each failing check tells the user, restores (or corrects) its field
    // and shows all fields again; every check runs.
    auto check = [this](bool ok, const char* message, auto restore) {
        if (ok)
            return;
        Tell(this, message);
        restore();
        FieldsToControls();
    };
    check(m_nDateYear >= 0 && m_nDateYear <= 2200,
          "「年」に指定できる値は0～2200です。元に戻します。", [&] { m_nDateYear = year; });
    check(m_nDateMonth >= 1 && m_nDateMonth <= 12,
          "「月」に指定できる値は1～12です。元に戻します。", [&] { m_nDateMonth = month; });
    check(m_nDateDay >= 1 && m_nDateDay <= 31, "「日」に指定できる値は 1～31 です。元に戻します。",
          [&] { m_nDateDay = day; });
    check(m_nLatitudeDegrees >= -54 && m_nLatitudeDegrees <= 54,
          "「緯度」に指定できる値は -54～54 です。元に戻します。",
          [&] { m_nLatitudeDegrees = latDeg; });
    check(m_nLatitudeMinutes >= 0 && m_nLatitudeMinutes <= 59,
          "緯度の「分」に指定できる値は 0～59 です。元に戻します。",
          [&] { m_nLatitudeMinutes = latMin; });
    check(m_nLongitudeDegrees >= -180 && m_nLongitudeDegrees <= 180,
          "「経度」に指定できる値は -180～180 です。元に戻します。",
          [&] { m_nLongitudeDegrees = lonDeg; });
    check(m_nLongitudeMinutes >= 0 && m_nLongitudeMinutes <= 59,
          "経度の「分」に指定できる値は 0～59 です。元に戻します。",
          [&] { m_nLongitudeMinutes = lonMin; });
    // The zone must be a real one and lie within two hours of the one the
    // longitude degrees suggest (q); a wrong one becomes q. 64-bit, since a
    // restored value from the settings file can be any int.
    const int q = m_nLongitudeDegrees / 15;
    const long long offset = static_cast<long long>(q) - m_nTimeDifference;
    check(std::llabs(offset) <= 2 && m_nTimeDifference >= -12 && m_nTimeDifference <= 12,
          "時差の指定が変です。修正します。", [&] { m_nTimeDifference = q; });
    check(afx::ToCp932(m_strLocationName).size() <= kNameLimit,
          "地名は全角６文字以内にしてください。元に戻します。", [&] { m_strLocationName = name; });

    Recompute();
    update(); // the whole client area, background included
}

void CTolmeriDlg::OnSetToday() {
    // Only the fields change: whatever was typed since the last exchange is
    // replaced, and the chart keeps its date until the next 計算実行.
    const QDate today = afx::CurrentDate();
    m_nDateYear = today.year();
    m_nDateMonth = today.month();
    m_nDateDay = today.day();
    FieldsToControls();
}

void CTolmeriDlg::OnChooseLocation() {
    // A refused box has told the user; the fields stand as they are, and
    // the last step shows them all again.
    ControlsToFields();
    m_locationList.DoModal(this);
    if (m_locationList.m_strSelected != CLocationListDlg::CancelMarker()) {
        const QByteArray& entry = m_locationList.m_strSelected;
        const tolmeri::PresetFields place = tolmeri::ParseLocationEntry(
            std::string_view(entry.constData(), static_cast<std::size_t>(entry.size())));
        m_strLocationName = QString::fromStdString(place.name);
        m_nLatitudeDegrees = place.latDeg;
        m_nLatitudeMinutes = place.latMin;
        m_nLongitudeDegrees = place.lonDeg;
        m_nLongitudeMinutes = place.lonMin;
        m_nTimeDifference = place.timeDiff;
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
    pSysMenu->AppendMenu(afx::MF_STRING, IDM_ABOUTBOX, strAboutMenu);
}

void CTolmeriDlg::OnSystemCommand(unsigned nID, qint64 lParam) {
    if ((nID & 0xFFF0) == IDM_ABOUTBOX) {
        CAboutDlg dlgAbout(this);
        dlgAbout.DoModal();
    } else if ((nID & 0xFFF0) == IDM_ERA_DATE) {
        OnEraDate();
    } else if ((nID & 0xFFF0) == IDM_YEAR_CHART) {
        OnYearChart();
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
}

void CTolmeriDlg::OnYearChart() {
    CYearChartDlg::OpenFor(this);
}

void CTolmeriDlg::Recompute() {
    m_hours.Reset();
    m_hours.SetPlace(m_nLatitudeDegrees, m_nLatitudeMinutes, m_nLongitudeDegrees,
                     m_nLongitudeMinutes, m_nTimeDifference);
    m_hours.SetDate(m_nDateYear, m_nDateMonth, m_nDateDay);
    m_hours.CalcNoonJD();
    m_hours.CalcBoundaries();
    m_hours.SetLabels();
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
    m_strIniPath = QByteArray::fromStdString(
        tolmeri::IniPathForExecutable(afx::ModuleFileName().toStdString()));
    UseWritableSettingsFolder();
}

void CTolmeriDlg::UseWritableSettingsFolder() {
    // A program folder that takes no new file (an installation under /usr)
    // moves the settings to the user's configuration folder.
    const tolmeri::SettingsLocation where =
        tolmeri::ChooseSettingsLocation(m_strIniPath.toStdString());
    m_strIniPath = QByteArray::fromStdString(where.path);
    m_strIniSeedPath = QByteArray::fromStdString(where.seedPath);
}

tolmeri::SettingsLocation CTolmeriDlg::SettingsFile() const {
    return {m_strIniPath.toStdString(), m_strIniSeedPath.toStdString()};
}

void CTolmeriDlg::LoadSettings() {
    const tolmeri::CSettingsValues v = tolmeri::LoadSettingsFile(SettingsFile());
    m_strStoredName = QByteArray::fromStdString(v.strLocationName);
    m_strLocationName = afx::FromCp932(m_strStoredName);
    m_nLatitudeDegrees = v.nLatitudeDegrees;
    m_nLatitudeMinutes = v.nLatitudeMinutes;
    m_nLongitudeDegrees = v.nLongitudeDegrees;
    m_nLongitudeMinutes = v.nLongitudeMinutes;
    m_nTimeDifference = v.nTimeDifference;
    m_nDateYear = v.nDateYear;
    m_nDateMonth = v.nDateMonth;
    m_nDateDay = v.nDateDay;
}

bool CTolmeriDlg::SaveSettings() {
    tolmeri::CSettingsValues v;
    const bool nameAsLoaded = m_strLocationName == afx::FromCp932(m_strStoredName);
    v.strLocationName =
        (nameAsLoaded ? m_strStoredName : afx::ToCp932(m_strLocationName)).toStdString();
    v.nLatitudeDegrees = m_nLatitudeDegrees;
    v.nLatitudeMinutes = m_nLatitudeMinutes;
    v.nLongitudeDegrees = m_nLongitudeDegrees;
    v.nLongitudeMinutes = m_nLongitudeMinutes;
    v.nTimeDifference = m_nTimeDifference;
    v.nDateYear = m_nDateYear;
    v.nDateMonth = m_nDateMonth;
    v.nDateDay = m_nDateDay;
    const tolmeri::SaveResult r = tolmeri::SaveSettingsFile(SettingsFile(), v);
    if (!r.ok) {
        afx::MessageBox(this,
                        QStringLiteral("設定ファイルを保存できませんでした。\n") +
                            QFile::decodeName(m_strIniPath),
                        afx::MbIcon::Exclamation);
    }
    return r.ok;
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
    const ChartInput input =
        ChartInput::From(m_hours, m_strLocationName, m_nDateYear, m_nDateMonth, m_nDateDay);
    const ChartLayout layout = PaintChart(painter, ClientRect{0, 0, width(), height()}, input);
    m_nBoundaryY = layout.boundaryY;
    m_nSunriseY = layout.sunriseY;
    m_nSunsetY = layout.sunsetY;
}
