// framework: pictures the widget style reads by file name, put in the pixmap
// cache before the first paint. Qt reads a picture named by file by asking
// every image-format plugin whether it reads the file (loading them all: a
// millisecond and most of a MiB at start), although the picture is a PNG Qt
// reads itself; stored here under the name Qt looks for, the style finds it
// there instead. The picture comes from a copy of its pixels made when the
// program was built, while the resource is the one copied (its size and time
// unchanged); otherwise it is decoded with Qt's own PNG reader.
#pragma once

#include <QImage>
#include <QString>
#include <cstddef>

namespace afx {

// count pixels of one colour (ARGB, not premultiplied), row after row.
struct StylePictureRun {
    unsigned count;
    unsigned argb;
};

// A resource picture's pixels as the build saw them, with the resource's
// size in bytes and modification time (seconds since 1970); a size of -1
// where the build found no such picture.
struct StylePictureCopy {
    long long fileSize;
    long long fileTime;
    int width, height;
    const StylePictureRun* runs;
    std::size_t runCount;
};

// The Fusion style's group box frame as this build copied it (a generated
// source).
extern const StylePictureCopy kGroupBoxFrameCopy;

// The picture at path: copy's pixels when copy was made from this very
// resource and its runs fill it exactly, else as Qt's PNG reader decodes the
// resource; a null image where neither gives one.
QImage ReadStylePicture(const QString& path, const StylePictureCopy& copy);

// The key under which QPixmap::load(path) finds a picture in QPixmapCache:
// the file's absolute path, modification time, size and the kind of pixmap,
// as Qt 6 forms it.
QString PixmapCacheKey(const QString& path);

// Puts the frame picture of the Fusion style's group boxes into the pixmap
// cache, when that style is the application's; true when the cache holds it
// afterwards. Nothing changes on screen: a key Qt does not look for only
// costs the little memory of the picture.
bool PrimeGroupBoxFrame();

} // namespace afx
