// Which form of the rotor kernels runs: the x86-64 baseline (SSE2, rays and filters two lanes
// at a time) or the AVX2 one (four lanes). The AVX2 kernels are the same templates
// instantiated for four lanes inside functions marked ORV_WIDE_KERNEL: compiled for AVX2 with
// everything they call inlined, so no shared inline function is ever emitted with AVX2 code
// (which the linker could pick for the baseline callers). They run no FMA, so both forms give
// bit-identical results. The choice is made once at start-up from the processor;
// ORV_FORCE_BASELINE=1 in the environment keeps the baseline.
#pragma once

#if defined(__x86_64__) || defined(__i386__)
#define ORV_WIDE_KERNEL __attribute__((target("avx2"), flatten))
#else
#define ORV_WIDE_KERNEL __attribute__((flatten))
#endif

namespace orv::vectorPath {

// True while the AVX2 kernels run (read once per chunk by the rotor models).
bool wide();
// True when this processor and its system run AVX2 code.
bool processorHasWide();
// Test hook: false forces the baseline kernels, true goes back to what the processor allows.
// Only while no audio is processed.
void allowWide(bool allow);

}  // namespace orv::vectorPath
