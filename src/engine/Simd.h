// Runtime dispatch for the engine's hot loops: a function marked PIMAVO_VECTORIZE is compiled twice,
// for the baseline x86-64 and for x86-64-v3 (AVX2, FMA), and the loader picks the one the CPU runs.
// Virtual functions cannot be cloned, so nodes keep their arithmetic in free functions.
#pragma once

// Not under ThreadSanitizer: it instruments the clones' resolvers, which the loader runs before the
// sanitizer's runtime is set up, and the program dies before main.
#if defined(__SANITIZE_THREAD__)
#define PIMAVO_NO_CLONES 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define PIMAVO_NO_CLONES 1
#endif
#endif

#if defined(__x86_64__) && defined(__GNUC__) && defined(__ELF__) && !defined(PIMAVO_NO_CLONES)
#define PIMAVO_VECTORIZE __attribute__((target_clones("arch=x86-64-v3", "default")))
#else
#define PIMAVO_VECTORIZE
#endif

// Loops the compiler vectorises poorly (clamps become compare-and-blend sequences) are written out
// with AVX2 intrinsics in functions marked PIMAVO_AVX2, called when the CPU has it.
#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define PIMAVO_HAVE_AVX2 1
#define PIMAVO_AVX2 __attribute__((target("avx2,fma")))
namespace pimavo {
inline bool cpuHasAvx2() {
    static const bool has = __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
    return has;
}
} // namespace pimavo
#endif
