// framework: Shift-JIS (code page 932) at the edges of the program, for Qt's
// text. Inside, text is QString; the settings file stores bytes and the
// length rules count bytes, so both go through here, over the core's one
// conversion (core/cp932.h).
#pragma once

#include <QByteArray>
#include <QString>

namespace afx {

// The CP932 bytes of text; false in *ok (when given) and the characters that
// CP932 cannot hold replaced by "?" otherwise.
QByteArray ToCp932(const QString& text, bool* ok = nullptr);

// Text of CP932 bytes; each byte that does not start a CP932 character
// becomes the replacement mark U+FFFD, so what is readable stays readable and
// the damage shows. (The mark itself has no CP932 code: converted back it is
// "?".)
QString FromCp932(const QByteArray& bytes);

// Length of text in CP932 bytes, or -1 when a character cannot be held.
int Cp932Length(const QString& text);

} // namespace afx
