#include "ui/vector_state.h"

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#include <immintrin.h>
#endif

namespace tolmeri {

#if defined(__x86_64__) || defined(__i386__)

namespace {

// Compiled for AVX alone, and called only where the processor has it, so the
// rest of the program keeps the baseline instruction set.
__attribute__((target("avx"))) void ZeroUpper() {
    _mm256_zeroupper();
}

bool HasXinuseQuery() {
    unsigned a = 0, b = 0, c = 0, d = 0;
    // XGETBV itself needs the operating system's XSAVE support (CPUID 1,
    // ECX bit 27); its ECX = 1 form, CPUID 0Dh sub-leaf 1, EAX bit 2.
    if (!__get_cpuid(1, &a, &b, &c, &d) || !(c & (1u << 27)))
        return false;
    if (__get_cpuid_max(0, nullptr) < 0xD)
        return false;
    __cpuid_count(0xD, 1, a, b, c, d);
    return (a & (1u << 2)) != 0;
}

} // namespace

void ClearUpperVectorState() {
    static const bool avx = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx") != 0;
    }();
    if (avx)
        ZeroUpper();
}

std::optional<bool> UpperVectorStateInUse() {
    static const bool query = HasXinuseQuery();
    if (!query)
        return std::nullopt;
    unsigned lo = 0, hi = 0;
    __asm__ volatile("xgetbv" : "=a"(lo), "=d"(hi) : "c"(1u));
    // Bit 2 of the state components: the upper halves of YMM0 to YMM15.
    return (lo & (1u << 2)) != 0;
}

#else

void ClearUpperVectorState() {}

std::optional<bool> UpperVectorStateInUse() {
    return std::nullopt;
}

#endif

} // namespace tolmeri
