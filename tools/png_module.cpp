// The pictures of tolmeri-hours: the main window's chart of one day, its
// recompute and its painter on an image of the window's client size over the
// window's background, cut to the chart's drawing (PNG); and the year chart
// as the year-chart window saves it (PNG or SVG).
#include <QApplication>
#include <QPalette>
#include <cstring>

#include "core/period_hours.h"
#include "tools/png_render.h"
#include "ui/chart_picture.h"

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
    case kTolmeriDayChartPng: {
        const tolmeri::CivilDate date{request->year, request->month, request->day};
        QString error;
        picture = tolmeri::DayChartPicture(
            {tolmeri::CalcDayHours(place, date, options), QString::fromUtf8(request->name), date},
            QSize(request->width, request->height),
            QApplication::palette("QDialog").color(QPalette::Window), &error);
        if (picture.isEmpty())
            why = QStringLiteral("PNG にできません: %1").arg(error);
        break;
    }
    case kTolmeriYearChartPng:
    case kTolmeriYearChartSvg: {
        const bool svg = request->kind == kTolmeriYearChartSvg;
        picture = tolmeri::YearChartPicture(
            tolmeri::MakeYearChartInput(place, {request->year, request->month, request->day},
                                        request->dayCount, options, request->moon != 0),
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
