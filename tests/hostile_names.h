// Place names made to break the files they are written into: markup that
// ends or opens XML elements, comments and CDATA sections, entities,
// characters XML forbids, and the first characters a spreadsheet takes for
// a formula. Every writer must keep each one as text. (Control and format
// characters, U+2028 among them, no name takes.)
#pragma once

#include <string>
#include <vector>

inline const std::vector<std::string>& HostileNames() {
    static const std::vector<std::string> names = {
        "</title><script>alert(1)</script><title>",
        "A&B",
        "<",
        ">",
        "]]>",
        "<!--",
        "-->",
        "\"",
        "'",
        "&amp;",
        "&#0;",
        "&lt;x",
        "<![CDATA[x]]>",
        "<?xml version=\"1.0\"?>",
        "<!DOCTYPE x [<!ENTITY a \"b\">]>&a;",
        "\xEF\xBF\xBE", // U+FFFE
        "\xEF\xBF\xBF", // U+FFFF
        "a\xEF\xBF\xBE"
        "b", // U+FFFE inside
        "<svg onload=alert(1)>",
        "</svg>",
        "</desc>",
        "</text>",
        "x\" y=\"1",
        "&&&",
        "<<>>",
        "&#x1F600;",
        "\xF0\x9F\x98\x80", // an emoji beyond the BMP
        "=1+1",
        "+81",
        "-2",
        "@SUM(A1)",
        "=HYPERLINK(\"http://x\",\"y\")",
        "</title>",
    };
    return names;
}
