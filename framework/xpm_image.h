// framework: the program's icon pictures read from the XPM text compiled into
// the resources. The text is read here and handed to QImage's own XPM reader
// as an array of its strings, so no image-format or icon-engine plugins are
// looked up while the first window is being made.
#pragma once

#include <QByteArray>
#include <QImage>
#include <vector>

namespace afx {

// The strings of an XPM file in order: the text between each pair of double
// quotes outside comments, a backslash taking the next character as it is.
// Empty when a string or a comment is left open.
std::vector<QByteArray> XpmStrings(const QByteArray& text);

// The picture an XPM file holds, as QImage reads that file; a null image
// when the file is not a whole XPM (its header's colours and rows must all
// be there, each row as long as the width asks for).
QImage ReadXpmImage(const QByteArray& text);

} // namespace afx
