// framework: pictures the widget style reads by file name, put in the pixmap
// cache before the first paint. Qt reads a picture named by file by asking
// every image-format plugin whether it reads the file (loading them all: a
// millisecond and most of a MiB at start), although the picture is a PNG Qt
// reads itself; stored here under the name Qt looks for, the style finds it
// there instead, decoded with Qt's own PNG reader.
#pragma once

#include <QString>

namespace afx {

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
