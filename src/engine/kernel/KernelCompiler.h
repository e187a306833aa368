// Compiling kernel text: tokens (KernelLexer.cpp), syntax trees (KernelParser.cpp), lane code
// (KernelCompiler.cpp), run by KernelProgram.cpp.
#pragma once

#include "KernelProgram.h"
#include "KernelSyntax.h"

#include <memory>

namespace pimavo::kernel {

// Lowers one parsed kernel; nullptr with the error's position and message when it is not valid.
std::shared_ptr<CompiledKernel> compileKernel(const KernelDecl& decl, CompileError& error);

} // namespace pimavo::kernel
