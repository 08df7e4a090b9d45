// core: Shift-JIS (code page 932) text, converted with the program's own
// table (core/cp932_table.h). Text inside the program is UTF-8; the settings
// file's name is CP932 bytes, and the name's limit and a number box's first
// bytes count CP932 bytes, so the window, the settings and the web edition
// all convert here. Standard library only.
#pragma once

#include <string>
#include <string_view>

namespace tolmeri {

// The CP932 bytes of UTF-8 text. A character that CP932 cannot hold, and a
// byte that is not UTF-8, becomes "?"; *ok (when given) is false when any
// did.
std::string ToCp932(std::string_view utf8, bool* ok = nullptr);

// UTF-8 text of CP932 bytes; each byte that does not start a CP932
// character becomes the replacement mark U+FFFD, so what is readable stays
// readable and the damage shows. (The mark itself has no CP932 code:
// converted back it is "?".)
std::string FromCp932(std::string_view bytes);

// Length of UTF-8 text in CP932 bytes, or -1 when a character cannot be
// held.
int Cp932Length(std::string_view utf8);

} // namespace tolmeri
