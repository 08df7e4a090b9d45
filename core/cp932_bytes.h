// core: the byte structure of Shift-JIS (code page 932) text, for the rooms
// that keep CP932 as bytes without converting it (the settings file's name
// cut to its buffer). Which characters the bytes are is the framework's
// conversion; here is only where a character begins and ends. Standard
// library only.
#pragma once

#include <string>

namespace tolmeri {

// CP932 lead bytes start a two-byte character; every other byte is a
// character of its own (or no character at all).
constexpr bool IsCp932LeadByte(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// text without a final lead byte whose second byte is missing. The scan runs
// from the start, because a second byte can have a lead byte's value.
std::string DropDanglingLeadByte(std::string text);

} // namespace tolmeri
