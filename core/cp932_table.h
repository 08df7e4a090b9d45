// core: code page 932 as a table (data/gen_cp932.py makes
// core/cp932_table.cpp from the C library's converter), so that every room
// reads and writes it without a converter of the system's: nothing loaded
// at the window's start, the same on every system, and in the web edition,
// whose platform has no converter for it. core/cp932.h converts with it.
#pragma once

#include <cstddef>

#include "core/cp932_bytes.h"

namespace tolmeri::cp932 {

inline constexpr int kFirstTrail = 0x40; // the second bytes of two-byte codes
inline constexpr int kLastTrail = 0xFC;
inline constexpr int kLeadCount = kCp932LeadCount;

// The character of each byte alone; 0 where the byte is no character by
// itself (a lead byte or an unassigned one), but for byte 0 itself.
extern const char16_t kSingle[256];
// The character of each lead byte (IsCp932LeadByte) and second byte, 0
// where none; a lead byte's row is Cp932LeadIndex(lead).
extern const char16_t kDouble[kLeadCount][kLastTrail - kFirstTrail + 1];

// A character the converter writes other than as the first code (in byte
// order) that reads as it: its code (a byte, or lead << 8 | second byte), or
// 0 where it writes none.
struct Cp932Exception {
    char16_t character;
    unsigned short code;
};
extern const Cp932Exception kExceptions[];
extern const std::size_t kExceptionCount;

} // namespace tolmeri::cp932
