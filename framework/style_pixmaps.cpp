#include "framework/style_pixmaps.h"

#include <QApplication>
#include <QBuffer>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPixmap>
#include <QPixmapCache>
#include <QStyle>
#include <algorithm>

namespace afx {

namespace {

constexpr char16_t kGroupBoxFrame[] =
    u":/qt-project.org/styles/commonstyle/images/fusion_groupbox.png";

// A value's bytes in memory order, each as two hexadecimal digits, the low
// one first: how the pixmap cache key writes its numbers.
template <typename T> QString HexBytes(T value) {
    static constexpr char16_t kDigits[] = u"0123456789abcdef";
    QString text;
    const auto* bytes = reinterpret_cast<const unsigned char*>(&value);
    for (std::size_t i = 0; i < sizeof value; ++i) {
        text += QChar(kDigits[bytes[i] & 0xf]);
        text += QChar(kDigits[bytes[i] >> 4]);
    }
    return text;
}

QImage ExpandRuns(const StylePictureCopy& copy) {
    if (copy.width <= 0 || copy.height <= 0)
        return {};
    QImage image(copy.width, copy.height, QImage::Format_ARGB32);
    if (image.isNull())
        return {};
    const auto width = static_cast<std::size_t>(copy.width);
    const std::size_t total = width * static_cast<std::size_t>(copy.height);
    std::size_t done = 0;
    for (std::size_t i = 0; i < copy.runCount; ++i) {
        const StylePictureRun run = copy.runs[i];
        if (run.count > total - done)
            return {};
        for (std::size_t end = done + run.count; done < end;) {
            // Up to the end of the run or of the row, whichever comes first.
            QRgb* row = reinterpret_cast<QRgb*>(image.scanLine(static_cast<int>(done / width)));
            const std::size_t x = done % width, n = std::min(end - done, width - x);
            std::fill(row + x, row + x + n, run.argb);
            done += n;
        }
    }
    return done == total ? image : QImage();
}

} // namespace

QImage ReadStylePicture(const QString& path, const StylePictureCopy& copy) {
    const QFileInfo info(path);
    if (copy.fileSize >= 0 && info.size() == copy.fileSize &&
        info.lastModified().toSecsSinceEpoch() == copy.fileTime) {
        QImage image = ExpandRuns(copy);
        if (!image.isNull())
            return image;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QByteArray bytes = file.readAll();
    QBuffer buffer(&bytes);
    // The built-in PNG reader only: no plugin is asked.
    QImageReader reader(&buffer, "png");
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

QString PixmapCacheKey(const QString& path) {
    const QFileInfo info(path);
    constexpr unsigned kPixmapType = 0; // QPlatformPixmap::PixmapType
    return QStringLiteral("qt_pixmap") + info.absoluteFilePath() +
           HexBytes(static_cast<unsigned>(info.lastModified().toSecsSinceEpoch())) +
           HexBytes(static_cast<quint64>(info.size())) + HexBytes(kPixmapType);
}

bool PrimeGroupBoxFrame() {
    const QStyle* style = QApplication::style();
    if (!style || style->name().compare(QLatin1String("fusion"), Qt::CaseInsensitive) != 0)
        return false;
    const QString path = QString::fromUtf16(kGroupBoxFrame);
    const QString key = PixmapCacheKey(path);
    QPixmap cached;
    if (QPixmapCache::find(key, &cached))
        return true;
    const QImage image = ReadStylePicture(path, kGroupBoxFrameCopy);
    return !image.isNull() && QPixmapCache::insert(key, QPixmap::fromImage(image));
}

} // namespace afx
