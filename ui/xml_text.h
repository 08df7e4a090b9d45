// ui: text as an SVG picture may hold it. Whatever a user typed (a place
// name) reaches the picture only through here: characters XML 1.0 forbids
// are dropped, and markup characters are escaped where the SVG writer copies
// the text unescaped (its <title> and <desc> elements).
#pragma once

#include <QString>

namespace tolmeri {

// text without the characters no XML document may hold: C0 controls other
// than tab, line feed and carriage return, U+FFFE, U+FFFF and surrogates
// that are not half of a pair.
QString XmlCharacters(const QString& text);

// XmlCharacters(text) as XML character data: & < > " and ' as entities, so
// no text ends an element, starts a comment or closes a CDATA section.
QString XmlEscaped(const QString& text);

} // namespace tolmeri
