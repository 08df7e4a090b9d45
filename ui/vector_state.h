// ui: the processor's vector-register state at the border between Qt's
// drawing and the calculator's long runs of arithmetic.
//
// Qt's raster engine fills and blends with 256-bit AVX code that returns with
// the upper halves of the YMM registers still in use (a QImage fill, a
// fillRect, a drawn line or polygon do so). Every legacy-SSE instruction
// executed in that state then pays for them: the calculator and parts of libm
// are legacy SSE, and a year of days at Tokyo took 0.49 µs a day after the
// year chart's paint against 0.31 µs in a process without Qt (virtual AMD
// EPYC; Intel describes the same cost for its cores). Nothing
// in the calculator clears the state, so it lasts the whole run. One
// vzeroupper puts the halves back in their initial state for about a cycle,
// so it is issued wherever the windows hand the core a run of days (see
// bench/qt_core_bench.cpp). Standard library only, like the core it guards.
#pragma once

#include <optional>

namespace tolmeri {

// Clears the upper halves of the vector registers (vzeroupper) on an x86
// processor with AVX; does nothing elsewhere.
void ClearUpperVectorState();

// Whether the upper halves are in use now (XINUSE, XGETBV with ECX = 1),
// where the processor can tell; nullopt where it cannot (no such query, not
// x86).
std::optional<bool> UpperVectorStateInUse();

} // namespace tolmeri
