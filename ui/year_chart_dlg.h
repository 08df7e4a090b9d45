// ui: the year-chart window (一年の刻の図), opened from the main dialog's
// window menu. It shows the temporal hours of a whole year at the place and
// in the year of the main dialog's boxes, the boxes' day marked, with a
// choice of the definition of dawn and dusk and of the clock steps, and saves
// the chart as a PNG or SVG picture. It is modeless: it stays open beside the
// main dialog, which takes input as before; choosing the menu item again
// shows the boxes' place and year in the same window.
#pragma once

#include <QByteArray>
#include <QString>
#include <QWidget>

#include "core/civil_date.h"
#include "core/period_hours.h"
#include "core/place.h"
#include "framework/dialog.h"
#include "ui/chart_picture.h"
#include "ui/year_chart_painter.h"

// The painted chart, filling the window below its controls.
class CYearChartView : public QWidget {
    Q_OBJECT
public:
    explicit CYearChartView(QWidget* parent = nullptr);
    void SetInput(tolmeri::YearChartInput input);
    const tolmeri::YearChartInput& Input() const { return m_input; }
    // Where the last paint put everything (the marked day's x, the plot).
    const tolmeri::YearChartLayout& Layout() const { return m_layout; }
    // The font the chart's texts take their family from.
    static QFont ChartFont();

signals:
    // What is under the mouse (YearChartReadout), empty when it leaves the plot.
    void ReadoutChanged(const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    tolmeri::YearChartInput m_input;
    tolmeri::YearChartLayout m_layout;
};

namespace tolmeri {

// Where a chart window of frame size first stands by its owner, the main
// dialog, on a screen's room: right of it, else left, below or above, as
// far as one side has room for the whole window; else over the owner but
// beside keep, the part of it not to cover (its chart), left of it first;
// else against the screen's edge on the roomier side. Always inside room
// (when the window fits it).
QPoint YearChartPosition(const QRect& owner, const QRect& keep, const QSize& frame,
                         const QRect& room);

} // namespace tolmeri

class CYearChartDlg : public CDialog {
    Q_OBJECT
public:
    explicit CYearChartDlg(QWidget* parent = nullptr);

    // The window menu's command: reads the place and the date from main's
    // boxes as its data exchange does (a refused box gets its message and
    // the focus), checks them against the ranges of 計算実行 (a value out of
    // range gets a message naming it), and shows the one chart window of
    // main for them, made on first use. Null, with nothing opened, when a
    // box was refused.
    static CYearChartDlg* OpenFor(CDialog* main);

    // Shows the year of date at place, date's day marked.
    void SetPlaceAndDate(const tolmeri::Place& place, const tolmeri::CivilDate& date);

    // The choices: indexes into the list of definitions (kDawnDefinitions:
    // the depression, the main window's, first; 36 minutes, sunrise, 暦による),
    // kClockSteps and kSunModels; whether the chart draws moonrise and
    // moonset; and the size a picture is saved at (1200×800, 1800×1200,
    // 2400×1600, the window's).
    int m_nDawn = 0;
    int m_nSteps = 0;
    int m_nSun = 0;
    int m_nMoon = 0; // the check box: 1 checked
    int m_nPictureSize = 0;
    // The size a picture is saved at, by m_nPictureSize.
    QSize PictureSize() const;

    // Asks for a file name with the standard dialog and saves the chart there.
    void OnSave();
    // Where a save to path lands, asked of the user when a file would be
    // replaced or a link followed (the question names the file the link
    // leads to); false when the user said no or path is refused (told in a
    // message box): another user's link in a shared folder.
    bool ConfirmTarget(const QString& path);
    // Saves the chart, as it is shown, at PictureSize() to path: an SVG
    // picture for a name ending in ".svg", else PNG. The file is written whole or not at all;
    // a failure is reported in a message box. True when saved.
    bool SaveChart(const QString& path);

    CYearChartView* View() const { return m_pView; }

protected:
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void OnChoiceChanged();
    void Redraw();
    tolmeri::PeriodOptions Options() const;
    // The chart as the bytes of a picture of PictureSize().
    QByteArray Picture(bool svg) const;

    CYearChartView* m_pView = nullptr;
    tolmeri::Place m_place;
    tolmeri::CivilDate m_date{2000, 1, 1};
    QString m_strSaveFolder; // where the last picture went
    QString m_strSaveFilter; // and of which kind
};
