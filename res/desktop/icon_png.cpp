// Build tool: one of the program's icon pictures as a PNG file for the
// desktop's icon theme: an XPM picture as it is, or the SVG drawing rendered
// at a size. Qt reads, renders and writes them without an application.
#include <QImage>
#include <QPainter>
#include <QString>
#include <QSvgRenderer>
#include <cstdio>
#include <cstdlib>

namespace {

QImage RenderSvg(const QString& path, int size) {
    QSvgRenderer svg(path);
    if (!svg.isValid())
        return {};
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    svg.render(&painter);
    return image;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: icon_png INPUT.xpm OUTPUT.png\n"
                             "       icon_png INPUT.svg OUTPUT.png SIZE\n");
        return 2;
    }
    const QString input = QString::fromLocal8Bit(argv[1]);
    const int size = argc == 4 ? std::atoi(argv[3]) : 0;
    if (argc == 4 && (size < 1 || size > 4096)) {
        std::fprintf(stderr, "icon_png: bad size %s\n", argv[3]);
        return 2;
    }
    const QImage image = argc == 4 ? RenderSvg(input, size) : QImage(input, "XPM");
    if (image.isNull()) {
        std::fprintf(stderr, "icon_png: cannot read %s\n", argv[1]);
        return 1;
    }
    if (!image.convertToFormat(QImage::Format_ARGB32)
             .save(QString::fromLocal8Bit(argv[2]), "PNG")) {
        std::fprintf(stderr, "icon_png: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
