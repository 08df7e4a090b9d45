// core: the byte structure of Shift-JIS (code page 932) text, for the rooms
// that keep CP932 as bytes without converting it (the settings file's name
// cut to its buffer). Which characters the bytes are is core/cp932.h's
// conversion; here is only where a character begins and ends. Standard
// library only.
#pragma once

#include <string>

namespace tolmeri {

// CP932 lead bytes start a two-byte character; every other byte is a
// character of its own (or no character at all). They are two runs of bytes.
inline constexpr unsigned char kCp932LowLeads[2] = {0x81, 0x9F};
inline constexpr unsigned char kCp932HighLeads[2] = {0xE0, 0xFC};
inline constexpr int kCp932LowLeadCount = kCp932LowLeads[1] - kCp932LowLeads[0] + 1;
inline constexpr int kCp932LeadCount =
    kCp932LowLeadCount + (kCp932HighLeads[1] - kCp932HighLeads[0] + 1);

constexpr bool IsCp932LeadByte(unsigned char byte) {
    return (byte >= kCp932LowLeads[0] && byte <= kCp932LowLeads[1]) ||
           (byte >= kCp932HighLeads[0] && byte <= kCp932HighLeads[1]);
}

// A lead byte's place among all of them in byte order (0 for 0x81).
constexpr int Cp932LeadIndex(unsigned char lead) {
    return lead <= kCp932LowLeads[1] ? lead - kCp932LowLeads[0]
                                     : lead - kCp932HighLeads[0] + kCp932LowLeadCount;
}

// text without a final lead byte whose second byte is missing. The scan runs
// from the start, because a second byte can have a lead byte's value.
std::string DropDanglingLeadByte(std::string text);

} // namespace tolmeri
