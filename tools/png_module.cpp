// The pictures of tolmeri-hours: the main window's chart of one day, its
// recompute and its painter on an image of the window's client size over the
// window's background, cut to the chart's drawing (PNG); and the year chart
// as the year-chart window saves it (PNG or SVG).
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QPalette>
#include <cstring>

#include "core/period_hours.h"
#include "tools/png_render.h"
#include "ui/chart_painter.h"
#include "ui/tolmeri_dlg.h"
#include "ui/year_chart_dlg.h"

namespace {

void SetMessage(char* message, int size, const QString& text) {
    if (!message || size <= 0)
        return;
    const QByteArray utf8 = text.toUtf8();
    const auto n = std::min<qsizetype>(utf8.size(), size - 1);
    std::memcpy(message, utf8.constData(), static_cast<std::size_t>(n));
    message[n] = '\0';
}

// Qt's notes about the headless platform are of no use on a command line.
void QuietMessages(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type == QtFatalMsg || type == QtCriticalMsg)
        fprintf(stderr, "%s\n", qPrintable(text));
}

// The margin around the chart in a picture of it, as the window leaves
// between its boxes and the chart's texts at least.
constexpr int kChartMargin = 8;

// The columns of image that hold the chart's drawing, with the margin:
// everything else is the window's background.
std::pair<int, int> DrawnColumns(const QImage& image, QRgb background) {
    int first = image.width(), last = -1;
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < first; ++x)
            if (line[x] != background) {
                first = x;
                break;
            }
        for (int x = image.width() - 1; x > last; --x)
            if (line[x] != background) {
                last = x;
                break;
            }
    }
    if (last < first)
        return {0, image.width() - 1};
    return {std::max(first - kChartMargin, 0), std::min(last + kChartMargin, image.width() - 1)};
}

// The main window's chart of one day, as a PNG picture: the chart alone,
// without the room the window keeps for its boxes. By default as the window
// shows it; for a size asked, laid out for that height in the narrowest
// client that holds it and centred across that width (the chart's width
// follows its font, not the picture's).
QByteArray DayChartPng(const TolmeriPictureRequest& request, const tolmeri::Place& place,
                       const tolmeri::PeriodOptions& options, QString& why) {
    const tolmeri::CivilDate date{request.year, request.month, request.day};
    const tolmeri::ChartInput input{tolmeri::CalcDayHours(place, date, options),
                                    QString::fromUtf8(request.name), date};

    const bool asked = request.width > 0 && request.height > 0;
    QSize client = CTolmeriDlg::ClientSizeFor(nullptr); // the window's, at 96 dpi
    if (asked)
        client =
            QSize(tolmeri::ChartClientWidth(CTolmeriDlg::ChartFace(), nullptr, request.height, 1),
                  request.height);
    const QColor background = QApplication::palette("QDialog").color(QPalette::Window);
    QImage whole(client, QImage::Format_RGB32);
    whole.fill(background);
    {
        QPainter painter(&whole);
        tolmeri::PaintChart(painter, tolmeri::ClientRect{0, 0, client.width(), client.height()},
                            input, CTolmeriDlg::ChartFace());
    }
    const auto [first, last] = DrawnColumns(whole, background.rgb());
    QImage image = whole.copy(first, 0, last - first + 1, client.height());
    if (asked) {
        QImage sized(request.width, request.height, QImage::Format_RGB32);
        sized.fill(background);
        QPainter painter(&sized);
        painter.drawImage((request.width - image.width()) / 2, 0, image);
        painter.end();
        image = sized;
    }

    QString error;
    const QByteArray png = tolmeri::PngBytes(image, &error);
    if (png.isEmpty())
        why = QStringLiteral("PNG にできません: %1").arg(error);
    return png;
}

} // namespace

extern "C" __attribute__((visibility("default"))) int
tolmeri_render_picture(const TolmeriPictureRequest* request, char* message, int messageSize) {
    if (!request || request->structSize != static_cast<int>(sizeof(TolmeriPictureRequest)) ||
        !request->accept) {
        SetMessage(message, messageSize, QStringLiteral("図の部品の版が合いません"));
        return 1;
    }
    // Never a window: the headless platform at its fixed resolution, so a
    // picture comes out the same on every machine, display or not.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(QuietMessages);
    static int argc = 1;
    static char arg0[] = "tolmeri-hours";
    static char* argv[] = {arg0, nullptr};
    QApplication app(argc, argv);

    const tolmeri::Place place{request->name,   request->latDeg, request->latMin,
                               request->lonDeg, request->lonMin, request->timeDiff};
    const tolmeri::PeriodOptions options{static_cast<tolmeri::DawnDefinition>(request->dawn),
                                         static_cast<tolmeri::ClockSteps>(request->steps),
                                         static_cast<tolmeri::SunModel>(request->sun)};
    QByteArray picture;
    QString why;
    switch (request->kind) {
    case kTolmeriDayChartPng:
        picture = DayChartPng(*request, place, options, why);
        break;
    case kTolmeriYearChartPng:
    case kTolmeriYearChartSvg: {
        const bool svg = request->kind == kTolmeriYearChartSvg;
        picture = tolmeri::YearChartPicture(
            tolmeri::MakeYearChartInput(place, {request->year, request->month, request->day},
                                        request->dayCount, options),
            QSize(request->width, request->height), svg);
        if (picture.isEmpty())
            why = svg ? QStringLiteral("SVG にできません") : QStringLiteral("PNG にできません");
        break;
    }
    default:
        why = QStringLiteral("図の部品が知らない図の種類です");
    }
    if (!why.isEmpty()) {
        SetMessage(message, messageSize, why);
        return 1;
    }
    request->accept(request->context, picture.constData(),
                    static_cast<std::size_t>(picture.size()));
    return 0;
}
