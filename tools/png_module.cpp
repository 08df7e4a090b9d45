// The chart as a PNG picture: the main window's recompute and its painter on
// an image of the window's client size, over the window's background.
#include <QApplication>
#include <QBuffer>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QPalette>
#include <cstring>

#include "core/period_hours.h"
#include "tools/png_render.h"
#include "ui/chart_painter.h"
#include "ui/tolmeri_dlg.h"

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
tolmeri_render_png(const TolmeriPngRequest* request, char* message, int messageSize) {
    if (!request || request->structSize != static_cast<int>(sizeof(TolmeriPngRequest)) ||
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

    QSize size(request->width, request->height);
    if (size.width() <= 0 || size.height() <= 0)
        size = CTolmeriDlg::ClientSizeFor(nullptr); // the window's own client area, at 96 dpi

    const tolmeri::Place place{request->name,   request->latDeg, request->latMin,
                               request->lonDeg, request->lonMin, request->timeDiff};
    const tolmeri::CivilDate date{request->year, request->month, request->day};
    const tolmeri::ChartInput input{tolmeri::CalcDayHours(place, date),
                                    QString::fromUtf8(request->name), date};

    QImage image(size, QImage::Format_RGB32);
    image.fill(QApplication::palette("QDialog").color(QPalette::Window));
    {
        QPainter painter(&image);
        tolmeri::PaintChart(painter, tolmeri::ClientRect{0, 0, size.width(), size.height()}, input,
                            CTolmeriDlg::ChartFace());
    }

    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    if (!writer.write(image)) {
        SetMessage(message, messageSize,
                   QStringLiteral("PNG にできません: %1").arg(writer.errorString()));
        return 1;
    }
    request->accept(request->context, png.constData(), static_cast<std::size_t>(png.size()));
    return 0;
}
