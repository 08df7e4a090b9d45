// Build tool: one of the program's XPM icon pictures as a PNG file, for the
// desktop's icon theme. Qt reads and writes both without an application.
#include <QImage>
#include <QString>
#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: xpm_to_png INPUT.xpm OUTPUT.png\n");
        return 2;
    }
    const QImage image(QString::fromLocal8Bit(argv[1]), "XPM");
    if (image.isNull()) {
        std::fprintf(stderr, "xpm_to_png: cannot read %s\n", argv[1]);
        return 1;
    }
    if (!image.convertToFormat(QImage::Format_ARGB32)
             .save(QString::fromLocal8Bit(argv[2]), "PNG")) {
        std::fprintf(stderr, "xpm_to_png: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
