#include "ui/chart_picture.h"

#include <QBuffer>
#include <QFontInfo>
#include <QImageWriter>
#include <QPainter>
#include <QSvgGenerator>
#include <QXmlStreamWriter>
#include <algorithm>
#include <vector>

#include "framework/dialog_face.h"
#include "framework/dialog_template.h"
#include "ui/xml_text.h"

using namespace tolmeri;

namespace {

// The main dialog's template: its client area in dialog units, and the
// point size of its font.
constexpr int kMainClientCxDlu = 354;
constexpr int kMainClientCyDlu = 309;
constexpr int kDialogPointSize = 9;

// A face name as a CSS family: bare where it is a run of identifiers (as
// every face the chart asks for is), else quoted.
QString CssFamily(const QString& name) {
    bool bare = !name.isEmpty();
    for (const QString& word : name.split(u' ')) {
        if (word.isEmpty() || word.front().isDigit() || word.startsWith(u'-'))
            bare = false;
        for (QChar c : word)
            if (c.unicode() < 0x80 && !c.isLetterOrNumber() && c != u'-' && c != u'_')
                bare = false;
    }
    if (bare)
        return name;
    QString quoted = name;
    quoted.replace(u'\\', QStringLiteral("\\\\")).replace(u'\'', QStringLiteral("\\'"));
    return u'\'' + quoted + u'\'';
}

// The faces a picture's texts ask for, best first: the one the texts were
// measured in, then the font's own list (the Windows face and the other
// Japanese ones), then the generic family, so that any viewer finds a
// Japanese face or at least a sans-serif one.
QString SvgFontFamilies(const QFont& font) {
    QStringList names{QFontInfo(font).family()};
    names += font.families();
    names += afx::PreferredDialogFamilies(); // the whole list where the font asks for one
    names += font.family();
    QStringList list;
    for (const QString& name : names) {
        const QString trimmed = name.trimmed();
        if (trimmed.isEmpty() || trimmed.compare(u"sans-serif", Qt::CaseInsensitive) == 0 ||
            trimmed.compare(u"Sans Serif", Qt::CaseInsensitive) == 0)
            continue;
        const QString css = CssFamily(trimmed);
        if (!list.contains(css, Qt::CaseInsensitive))
            list << css;
    }
    list << QStringLiteral("sans-serif");
    return list.join(QStringLiteral(", "));
}

// The chart's texts as SVG text elements, each a whole string held at its
// anchor, in one group over the drawing.
QByteArray SvgTexts(const std::vector<YearChartTextRun>& runs) {
    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    xml.setAutoFormatting(true); // a text a line
    xml.setAutoFormattingIndent(0);
    xml.writeStartElement(QStringLiteral("g"));
    xml.writeAttribute(QStringLiteral("stroke"), QStringLiteral("none"));
    if (!runs.empty())
        xml.writeAttribute(QStringLiteral("font-family"), SvgFontFamilies(runs.front().font));
    for (const YearChartTextRun& run : runs) {
        xml.writeStartElement(QStringLiteral("text"));
        xml.writeAttribute(QStringLiteral("x"), QString::number(run.anchorX));
        xml.writeAttribute(QStringLiteral("y"), QString::number(run.origin.y()));
        xml.writeAttribute(QStringLiteral("font-size"), QString::number(run.font.pixelSize()));
        xml.writeAttribute(QStringLiteral("fill"), run.color.name());
        if (run.anchor != YearChartAnchor::kStart)
            xml.writeAttribute(QStringLiteral("text-anchor"), run.anchor == YearChartAnchor::kEnd
                                                                  ? QStringLiteral("end")
                                                                  : QStringLiteral("middle"));
        xml.writeAttribute(QStringLiteral("xml:space"), QStringLiteral("preserve"));
        xml.writeCharacters(XmlCharacters(run.text));
        xml.writeEndElement();
    }
    xml.writeEndElement();
    return bytes + '\n';
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

} // namespace

QFont tolmeri::ChartFace() {
    return afx::DialogFace(kDialogPointSize);
}

QSize tolmeri::DayChartClientSize(const QPaintDevice* device) {
    const QFont face = ChartFace();
    const afx::DluBase base = afx::DialogBaseUnits(face);
    const int height = afx::DluToPixelsY(kMainClientCyDlu, base);
    const int minWidth = afx::DluToPixelsX(kMainClientCxDlu, base);
    return {ChartClientWidth(face, device, height, minWidth), height};
}

QByteArray tolmeri::PngBytes(const QImage& image, QString* error) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    if (writer.write(image))
        return bytes;
    if (error)
        *error = writer.errorString();
    return {};
}

QByteArray tolmeri::DayChartPicture(const ChartInput& input, const QSize& asked,
                                    const QColor& background, QString* error) {
    const bool sized = asked.width() > 0 && asked.height() > 0;
    QSize client = DayChartClientSize(nullptr); // the window's, at 96 dpi
    if (sized)
        client = QSize(ChartClientWidth(ChartFace(), nullptr, asked.height(), 1), asked.height());
    QImage whole(client, QImage::Format_RGB32);
    whole.fill(background);
    {
        QPainter painter(&whole);
        PaintChart(painter, ClientRect{0, 0, client.width(), client.height()}, input, ChartFace());
    }
    const auto [first, last] = DrawnColumns(whole, background.rgb());
    QImage image = whole.copy(first, 0, last - first + 1, client.height());
    if (sized) {
        QImage centred(asked, QImage::Format_RGB32);
        centred.fill(background);
        QPainter painter(&centred);
        painter.drawImage((asked.width() - image.width()) / 2, 0, image);
        painter.end();
        image = centred;
    }
    return PngBytes(image, error);
}

QByteArray tolmeri::YearChartPicture(const YearChartInput& input, const QSize& size, bool svg) {
    const QRect area(QPoint(0, 0), size);
    if (svg) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QSvgGenerator generator;
        generator.setOutputDevice(&buffer);
        generator.setSize(size);
        generator.setViewBox(area);
        // A pixel of the chart is a CSS pixel, so the picture shows at its size.
        generator.setResolution(96);
        // The generator copies <title> and <desc> unescaped.
        generator.setTitle(XmlEscaped(QString::fromStdString(input.title)));
        generator.setDescription(XmlEscaped(QString::fromStdString(input.subtitle)));
        QPainter painter;
        if (!painter.begin(&generator))
            return {};
        // The generator would write each text in pieces of a few
        // characters at fixed places, naming one face only: the texts go in
        // whole, after the drawing.
        std::vector<YearChartTextRun> runs;
        PaintYearChart(painter, area, input, ChartFace(),
                       [&runs](const YearChartTextRun& run) { runs.push_back(run); });
        painter.end();
        const qsizetype end = bytes.lastIndexOf("</svg>");
        if (end < 0)
            return {};
        bytes.insert(end, SvgTexts(runs));
        // The generator gives the size in millimetres, rounded so that a
        // viewer makes 801 rows of 800: in pixels, as the view box has it.
        const QByteArray mm = QStringLiteral("<svg width=\"%1mm\" height=\"%2mm\"")
                                  .arg(size.width() * 25.4 / 96, 0, 'g', 6)
                                  .arg(size.height() * 25.4 / 96, 0, 'g', 6)
                                  .toLatin1();
        const QByteArray px = QStringLiteral("<svg width=\"%1\" height=\"%2\"")
                                  .arg(size.width())
                                  .arg(size.height())
                                  .toLatin1();
        if (const qsizetype at = bytes.indexOf(mm); at >= 0 && at < 200)
            bytes.replace(at, mm.size(), px);
        return bytes;
    }
    QImage image(size, QImage::Format_RGB32);
    {
        QPainter painter(&image);
        PaintYearChart(painter, area, input, ChartFace());
    }
    return PngBytes(image);
}
