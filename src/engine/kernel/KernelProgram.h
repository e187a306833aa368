// A compiled kernel: straight-line code over spans of pixels.
//
// Every value of the kernel is lowered to scalar lanes: a vec4 is four lanes. Each instruction
// computes one lane for every pixel of a span in one loop over contiguous floats (a "register" is
// such an array), so the loops vectorise. Values that are the same for every pixel (literals,
// arguments, sampler geometry and anything computed only from them) live in a small table of scalars
// computed once per span; instructions read them as broadcast operands. Control flow is
// predicated: both sides of an `if` are computed and merged with selects, so there are no branches
// per pixel.
#pragma once

#include "../Kernel.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace pimavo::kernel {

enum class Op : uint8_t {
    // lanes from nothing
    DestX,
    DestY,
    LoadSample,
    SampleAt,
    SampleLane,
    // one operand
    Mov,
    Neg,
    Abs,
    Sign,
    Floor,
    Ceil,
    Fract,
    Sqrt,
    Exp,
    Log,
    Sin,
    Cos,
    Not,
    Recip,
    // two operands
    Add,
    Sub,
    Mul,
    Div,
    Min,
    Max,
    Mod,
    Pow,
    Step,
    Lt,
    Le,
    Gt,
    Ge,
    Eq,
    Ne,
    And,
    Or,
    // three operands
    Select,
    Mix,
    Clamp,
    Smoothstep,
    Fma,
};

// An operand: a register (index ≥ 0) or an entry of the scalar table (index −1 − k).
using Operand = int32_t;
inline bool isScalar(Operand o) {
    return o < 0;
}
inline int scalarIndex(Operand o) {
    return -1 - o;
}
inline Operand scalarOperand(int k) {
    return -1 - k;
}

struct Instr {
    Op op;
    int32_t dst = 0; // register (vector code) or scalar slot (scalar code)
    Operand a = 0, b = 0, c = 0;
    int16_t sampler = 0; // LoadSample, SampleAt: sampler ordinal; SampleLane: scratch slot
    int16_t lane = 0;    // LoadSample, SampleLane: component
};

// Where a runtime scalar comes from.
struct UniformSource {
    enum Kind { Argument, SamplerTransform, SamplerExtent } kind;
    int index;     // argument position, or sampler ordinal
    int component; // component of the argument's value, of the transform (a b c d tx ty) or extent (x y w h)
};

class CompiledKernel final : public KernelProgram {
public:
    const std::string& name() const override { return name_; }
    bool isPointWise() const override { return pointWise_; }
    void evalSpan(const KernelSpanContext& context, SpanBuffer& out) const override;
    bool readsSampler(int ordinal) const override;
    // The scalar table: constants, uniforms from the arguments, and the scalar code's results.
    std::vector<float> prepare(std::span<const KernelArgument> arguments, std::span<const RectF> extents,
                               std::span<const Transform2D> transforms) const override;

    // Filled by the compiler.
    std::string name_;
    bool pointWise_ = true;
    int parameterCount = 0;
    int registerCount = 0;
    int scratchCount = 0;
    std::vector<float> constants;        // scalar slots [0, constants.size())
    std::vector<UniformSource> uniforms; // the slots after them
    int scalarCount = 0;                 // all slots, computed ones included
    std::vector<Instr> scalarCode;       // run once per span over scalar slots
    std::vector<Instr> code;             // run over the span's lanes
    Operand result[4] = {0, 0, 0, 0};
};

// The value of an operation on plain numbers (constant folding and the scalar code use it).
float evalScalarOp(Op op, float a, float b, float c);
int arity(Op op);

} // namespace pimavo::kernel
