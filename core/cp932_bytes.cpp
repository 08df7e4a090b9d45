#include "core/cp932_bytes.h"

namespace tolmeri {

std::string DropDanglingLeadByte(std::string text) {
    std::size_t i = 0;
    while (i < text.size())
        i += IsCp932LeadByte(static_cast<unsigned char>(text[i])) ? 2 : 1;
    if (i > text.size())
        text.pop_back();
    return text;
}

} // namespace tolmeri
