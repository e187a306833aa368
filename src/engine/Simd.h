// Runtime dispatch for the engine's hot loops: a function marked PIMAVO_VECTORIZE is compiled twice,
// for the baseline x86-64 and for x86-64-v3 (AVX2, FMA), and the loader picks the one the CPU runs.
// Virtual functions cannot be cloned, so nodes keep their arithmetic in free functions.
#pragma once

#if defined(__x86_64__) && defined(__GNUC__) && defined(__ELF__)
#define PIMAVO_VECTORIZE __attribute__((target_clones("arch=x86-64-v3", "default")))
#else
#define PIMAVO_VECTORIZE
#endif
