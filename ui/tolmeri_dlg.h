// ui: the program's own windows. CTolmeriDlg is the main dialog: the place and
// the date in boxes on the left, the temporal-hour chart painted on the right.
// It holds the fields, checks them on 計算実行, feeds the calculator, and reads
// and writes the settings file; the chart only reads what it holds.
#pragma once

#include <QByteArray>
#include <QFont>
#include <QIcon>
#include <QString>

class QPushButton;

#include "core/civil_date.h"
#include "core/place.h"
#include "core/temporal_hours.h"
#include "framework/dialog.h"
#include "settings/settings.h"
#include "ui/box_checks.h"
#include "ui/location_list_dlg.h"

class CTolmeriDlg : public CDialog {
    Q_OBJECT
public:
    explicit CTolmeriDlg(QWidget* parent = nullptr);

    void FieldsToControls();
    bool ControlsToFields();

    void OnCalculate();
    void OnSetToday();
    void OnSaveAndExit();
    void OnDiscardAndExit();
    // Takes a place from the preset list into the fields and boxes; the
    // chart keeps its hours until the next 計算実行.
    void OnChooseLocation();
    // Help on the whole program (context 1).
    void OnHelpButton();
    // The window menu: the era-date dialog (command 32), the year chart
    // (48), 刻の名から時刻を求める (64), 歴史地名から選ぶ (80), the About item
    // (16), else the default.
    void OnSystemCommand(unsigned nID, qint64 lParam);
    // Puts the Gregorian date of an era date into the date boxes, as typing
    // would: the chart keeps its date until the next 計算実行.
    void OnEraDate();
    // Shows the year chart of the place and the year in the boxes.
    void OnYearChart();
    void OnHourName();
    // Takes a place from the historical places' list into the fields and
    // boxes as OnChooseLocation takes a preset.
    void OnHistoricalPlace();
    // The whole computation for the place and date the fields hold.
    void Recompute();

    // The place and the date the fields hold (the name in UTF-8), and the
    // fields set from a place or a date; the boxes follow at the next
    // FieldsToControls.
    tolmeri::Place PlaceFields() const;
    tolmeri::CivilDate DateFields() const;
    void SetPlaceFields(const tolmeri::Place& place);
    void SetDateFields(const tolmeri::CivilDate& date);
    // All the boxes' fields at once, as ui/box_checks reads and checks them.
    tolmeri::BoxValues BoxFields() const;
    void SetBoxFields(const tolmeri::BoxValues& fields);

    // Where the settings file is: beside the executable, or in the user's
    // configuration folder when the program's folder takes no new file.
    void BuildIniPath();
    void LoadSettings();
    // False when the file could not be written (the old one is untouched).
    bool SaveSettings();

    // The chart and, while minimised, the icon over it.
    void OnPaint();
    // The picture shown while the minimised window is dragged.
    QIcon OnQueryDragIcon() const { return m_hIcon; }

    // The window's client area: the template's height, and the width at
    // which every text of the chart is drawn whole at device's resolution
    // (never narrower than the template).
    static QSize ClientSizeFor(const QPaintDevice* device);
    // The face of the chart's fonts: the dialog's own.
    static QFont ChartFace();
    // The button that opens the window menu (メニュー ▾).
    QPushButton* MenuButton() const { return m_pMenuButton; }

    const CTemporalHours& Hours() const { return m_hours; }
    // The settings file read and written, as the file system names it.
    QByteArray IniPath() const { return QByteArray::fromStdString(m_settingsFile.path); }

protected:
    bool OnInitDialog() override;
    void OnOK() override { OnSaveAndExit(); }
    void OnCancel() override { OnDiscardAndExit(); }
    void OnSysCommand(unsigned nID, qint64 lParam) override { OnSystemCommand(nID, lParam); }
    void DoDataExchange(CDataExchange* pDX) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void DrawChart(QPainter& painter);
    void SetUpSystemMenu();
    // A button that opens the window menu, where its items can be seen.
    void SetUpMenuButton();

private:
    CTemporalHours m_hours;

public:
    // The list dialog, made without a parent; each showing builds it anew
    // from its template and runs it over this dialog.
    CLocationListDlg m_locationList;

public:
    int m_nLatitudeDegrees = 0;
    int m_nLatitudeMinutes = 0;
    int m_nLongitudeDegrees = 0;
    int m_nLongitudeMinutes = 0;
    int m_nTimeDifference = 0;
    int m_nDateYear = 0;
    int m_nDateMonth = 0;
    int m_nDateDay = 0;
    QString m_strLocationName;

private:
    tolmeri::SettingsLocation m_settingsFile;
    // The name's CP932 bytes as the settings file held them. While the name
    // reads as they do, a save writes them back unchanged: a character CP932
    // codes twice keeps its code, and bytes that are not CP932 survive.
    QByteArray m_strStoredName;
    QIcon m_hIcon;
    QPushButton* m_pMenuButton = nullptr;
};
