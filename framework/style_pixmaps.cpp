#include "framework/style_pixmaps.h"

#include <QApplication>
#include <QBuffer>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QPixmap>
#include <QPixmapCache>
#include <QStyle>
#include <cstddef>

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

// The PNG picture at path as Qt's built-in PNG reader decodes it; a null
// image where there is none.
QImage ReadStylePicture(const QString& path) {
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

} // namespace

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
    const QImage image = ReadStylePicture(path);
    return !image.isNull() && QPixmapCache::insert(key, QPixmap::fromImage(image));
}

} // namespace afx
