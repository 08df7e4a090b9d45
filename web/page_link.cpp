#include "web/page_link.h"

namespace tolmeri {

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

std::string Unescape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '+') {
            out += ' ';
            continue;
        }
        if (c == '%' && i + 2 < text.size() && HexDigit(text[i + 1]) >= 0 &&
            HexDigit(text[i + 2]) >= 0) {
            out += static_cast<char>(HexDigit(text[i + 1]) * 16 + HexDigit(text[i + 2]));
            i += 2;
            continue;
        }
        out += c;
    }
    return out;
}

bool KeptAsIs(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~' || c == ':';
}

void AppendEscaped(std::string& out, std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (KeptAsIs(byte)) {
            out += c;
            continue;
        }
        out += '%';
        out += kHex[byte >> 4];
        out += kHex[byte & 0xF];
    }
}

} // namespace

std::vector<LinkParameter> DecodeLinkQuery(std::string_view query) {
    if (query.starts_with('?'))
        query.remove_prefix(1);
    std::vector<LinkParameter> parameters;
    while (!query.empty()) {
        const std::size_t amp = query.find('&');
        const std::string_view part = query.substr(0, amp);
        query = amp == std::string_view::npos ? std::string_view() : query.substr(amp + 1);
        if (part.empty())
            continue;
        const std::size_t eq = part.find('=');
        parameters.push_back({Unescape(part.substr(0, eq)), eq == std::string_view::npos
                                                                ? std::string()
                                                                : Unescape(part.substr(eq + 1))});
    }
    return parameters;
}

std::string EncodeLinkQuery(const std::vector<LinkParameter>& parameters) {
    std::string out;
    for (const LinkParameter& p : parameters) {
        out += out.empty() ? '?' : '&';
        AppendEscaped(out, p.key);
        out += '=';
        AppendEscaped(out, p.value);
    }
    return out;
}

} // namespace tolmeri
