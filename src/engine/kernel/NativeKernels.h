// Hand-written span loops for the kernels the brush runs on every dab.
//
// A kernel gets its native loop only when its compiled program is exactly the one the loop was
// written for (a fingerprint of the instructions and constants): any edit to the kernel's text
// falls back to the interpreter. The kernel harness runs both against the same reference.
#pragma once

#include "../Kernel.h"
#include "KernelProgram.h"

#include <cstdint>
#include <memory>
#include <span>

namespace pimavo::kernel {

// A fingerprint of what a compiled program computes.
uint64_t programFingerprint(const CompiledKernel& program);

// The native version of a compiled program, or the program itself when there is none.
std::shared_ptr<const KernelProgram> withNativeLoop(std::shared_ptr<const CompiledKernel> program);

// Whether a program runs as a native loop.
bool hasNativeLoop(const KernelProgram& program);

// The dabs laid over one another (source over) and then into a mask, in one loop: `composed` is that
// composition built of filters — the mask kernel applied to the laid dabs and the mask — and the
// answer is its pixels. When a dab is not the soft round dab between greys, or the mask kernel has
// no native loop, the answer is `composed` itself.
Image layDabsOnMask(std::span<const Image> dabs, const Image& composed);

// The mask while a paint stroke is drawn, in one loop: `composed` is the mask kernel applied to the
// mask from before the stroke (`before`) and the stroke's buffer scaled by its opacity (source in a
// constant of that alpha), and the answer is its pixels. Both buffers must be images that need no
// inputs (buffer snapshots); otherwise, or when the mask kernel has no native loop, the answer is
// `composed` itself.
Image layStrokeOnMask(const Image& stroke, float opacity, const Image& before, const Image& composed);

// Turns native loops off (the harness compares them with the interpreter).
void setNativeKernelsEnabled(bool enabled);

} // namespace pimavo::kernel
