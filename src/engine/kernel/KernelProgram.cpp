// Running compiled kernels: the scalar code once, then each instruction as one loop over the span.
#include "KernelProgram.h"

#include "../Simd.h"

#include <algorithm>
#include <cmath>
#include <variant>

namespace pimavo::kernel {

namespace {

// The value of one operation on plain floats; used by the scalar code and the lane loops alike.
inline float apply1(Op op, float a) {
    switch (op) {
    case Op::Mov:
        return a;
    case Op::Neg:
        return -a;
    case Op::Abs:
        return std::fabs(a);
    case Op::Sign:
        return a > 0 ? 1.0f : (a < 0 ? -1.0f : 0.0f);
    case Op::Floor:
        return std::floor(a);
    case Op::Ceil:
        return std::ceil(a);
    case Op::Fract:
        return a - std::floor(a);
    case Op::Sqrt:
        return std::sqrt(std::max(a, 0.0f));
    case Op::Exp:
        return std::exp(a);
    case Op::Log:
        return std::log(a);
    case Op::Sin:
        return std::sin(a);
    case Op::Cos:
        return std::cos(a);
    case Op::Not:
        return a == 0.0f ? 1.0f : 0.0f;
    case Op::Recip:
        return 1.0f / a;
    default:
        return 0;
    }
}

inline float apply2(Op op, float a, float b) {
    switch (op) {
    case Op::Add:
        return a + b;
    case Op::Sub:
        return a - b;
    case Op::Mul:
        return a * b;
    case Op::Div:
        return a / b;
    case Op::Min:
        return b < a ? b : a;
    case Op::Max:
        return a < b ? b : a;
    case Op::Mod:
        return a - b * std::floor(a / b);
    case Op::Pow:
        return std::pow(a, b);
    case Op::Step:
        return b < a ? 0.0f : 1.0f; // step(edge a, x b)
    case Op::Lt:
        return a < b ? 1.0f : 0.0f;
    case Op::Le:
        return a <= b ? 1.0f : 0.0f;
    case Op::Gt:
        return a > b ? 1.0f : 0.0f;
    case Op::Ge:
        return a >= b ? 1.0f : 0.0f;
    case Op::Eq:
        return a == b ? 1.0f : 0.0f;
    case Op::Ne:
        return a != b ? 1.0f : 0.0f;
    case Op::And:
        return (a != 0.0f && b != 0.0f) ? 1.0f : 0.0f;
    case Op::Or:
        return (a != 0.0f || b != 0.0f) ? 1.0f : 0.0f;
    default:
        return 0;
    }
}

inline float apply3(Op op, float a, float b, float c) {
    switch (op) {
    case Op::Select:
        return a != 0.0f ? b : c;
    case Op::Mix:
        return a + (b - a) * c;
    case Op::Clamp:
        return std::min(std::max(a, b), c);
    case Op::Smoothstep: {
        const float t = std::min(std::max((c - a) / (b - a), 0.0f), 1.0f);
        return t * t * (3 - 2 * t);
    }
    case Op::Fma:
        return a * b + c;
    default:
        return 0;
    }
}

struct Lanes {
    const float* p;
    float operator()(int i) const { return p[i]; }
};
struct Broadcast {
    float v;
    float operator()(int) const { return v; }
};

// One loop per operation, each written out so that the compiler vectorises it.
template <typename A>
__attribute__((always_inline)) inline void loop1(Op op, float* __restrict d, A a, int n) {
    switch (op) {
    case Op::Mov:
        for (int i = 0; i < n; ++i) d[i] = a(i);
        break;
    case Op::Neg:
        for (int i = 0; i < n; ++i) d[i] = -a(i);
        break;
    case Op::Abs:
        for (int i = 0; i < n; ++i) d[i] = std::fabs(a(i));
        break;
    case Op::Floor:
        for (int i = 0; i < n; ++i) d[i] = std::floor(a(i));
        break;
    case Op::Ceil:
        for (int i = 0; i < n; ++i) d[i] = std::ceil(a(i));
        break;
    case Op::Fract:
        for (int i = 0; i < n; ++i) d[i] = a(i) - std::floor(a(i));
        break;
    case Op::Sqrt:
        for (int i = 0; i < n; ++i) d[i] = std::sqrt(std::max(a(i), 0.0f));
        break;
    case Op::Recip:
        for (int i = 0; i < n; ++i) d[i] = 1.0f / a(i);
        break;
    case Op::Not:
        for (int i = 0; i < n; ++i) d[i] = a(i) == 0.0f ? 1.0f : 0.0f;
        break;
    default:
        for (int i = 0; i < n; ++i) d[i] = apply1(op, a(i));
        break;
    }
}

template <typename A, typename B>
__attribute__((always_inline)) inline void loop2(Op op, float* __restrict d, A a, B b, int n) {
    switch (op) {
    case Op::Add:
        for (int i = 0; i < n; ++i) d[i] = a(i) + b(i);
        break;
    case Op::Sub:
        for (int i = 0; i < n; ++i) d[i] = a(i) - b(i);
        break;
    case Op::Mul:
        for (int i = 0; i < n; ++i) d[i] = a(i) * b(i);
        break;
    case Op::Div:
        for (int i = 0; i < n; ++i) d[i] = a(i) / b(i);
        break;
    case Op::Min:
        for (int i = 0; i < n; ++i) d[i] = b(i) < a(i) ? b(i) : a(i);
        break;
    case Op::Max:
        for (int i = 0; i < n; ++i) d[i] = a(i) < b(i) ? b(i) : a(i);
        break;
    case Op::Step:
        for (int i = 0; i < n; ++i) d[i] = b(i) < a(i) ? 0.0f : 1.0f;
        break;
    case Op::Lt:
        for (int i = 0; i < n; ++i) d[i] = a(i) < b(i) ? 1.0f : 0.0f;
        break;
    case Op::Le:
        for (int i = 0; i < n; ++i) d[i] = a(i) <= b(i) ? 1.0f : 0.0f;
        break;
    case Op::Gt:
        for (int i = 0; i < n; ++i) d[i] = a(i) > b(i) ? 1.0f : 0.0f;
        break;
    case Op::Ge:
        for (int i = 0; i < n; ++i) d[i] = a(i) >= b(i) ? 1.0f : 0.0f;
        break;
    default:
        for (int i = 0; i < n; ++i) d[i] = apply2(op, a(i), b(i));
        break;
    }
}

template <typename A, typename B, typename C>
__attribute__((always_inline)) inline void loop3(Op op, float* __restrict d, A a, B b, C c, int n) {
    switch (op) {
    case Op::Select:
        for (int i = 0; i < n; ++i) d[i] = a(i) != 0.0f ? b(i) : c(i);
        break;
    case Op::Mix:
        for (int i = 0; i < n; ++i) d[i] = a(i) + (b(i) - a(i)) * c(i);
        break;
    case Op::Clamp:
        for (int i = 0; i < n; ++i) d[i] = std::min(std::max(a(i), b(i)), c(i));
        break;
    case Op::Fma:
        for (int i = 0; i < n; ++i) d[i] = a(i) * b(i) + c(i);
        break;
    case Op::Smoothstep:
        for (int i = 0; i < n; ++i) {
            float t = (c(i) - a(i)) / (b(i) - a(i));
            t = t > 0.0f ? t : 0.0f;
            t = t < 1.0f ? t : 1.0f;
            d[i] = t * t * (3 - 2 * t);
        }
        break;
    default:
        for (int i = 0; i < n; ++i) d[i] = apply3(op, a(i), b(i), c(i));
        break;
    }
}

PIMAVO_VECTORIZE
void runLanes(const CompiledKernel& k, const KernelSpanContext& ctx, const float* scalars, float* regs,
              SpanBuffer* scratch, SpanBuffer& out) {
    const int n = ctx.pos.n;
    auto reg = [&](int r) { return regs + std::size_t(r) * kSpanWidth; };
    // Where each register's lanes are read from: its own storage, or, for a sampler's lanes, the
    // span the sampler delivered (read in place, never copied).
    thread_local std::vector<const float*> lanes;
    lanes.resize(std::size_t(std::max(k.registerCount, 1)));
    for (const Instr& in : k.code) {
        float* d = reg(in.dst);
        if (in.op != Op::SampleAt) lanes[std::size_t(in.dst)] = d;
        switch (in.op) {
        case Op::DestX: {
            const float x0 = float(ctx.pos.x) + 0.5f;
            for (int i = 0; i < n; ++i) d[i] = x0 + float(i);
            continue;
        }
        case Op::DestY:
            std::fill_n(d, n, float(ctx.pos.y) + 0.5f);
            continue;
        case Op::LoadSample: {
            const SpanBuffer& s = *ctx.samples[in.sampler];
            lanes[std::size_t(in.dst)] = in.lane == 0 ? s.r : in.lane == 1 ? s.g : in.lane == 2 ? s.b : s.a;
            continue;
        }
        case Op::SampleAt: {
            // Coordinates must be lanes; broadcast ones are spread first.
            alignas(64) float xs[kSpanWidth], ys[kSpanWidth];
            const float* px = isScalar(in.a) ? (std::fill_n(xs, n, scalars[scalarIndex(in.a)]), xs)
                                             : lanes[std::size_t(in.a)];
            const float* py = isScalar(in.b) ? (std::fill_n(ys, n, scalars[scalarIndex(in.b)]), ys)
                                             : lanes[std::size_t(in.b)];
            ctx.access->sample(in.sampler, px, py, n, scratch[in.dst]);
            continue;
        }
        case Op::SampleLane: {
            const SpanBuffer& s = scratch[in.sampler];
            const float* src = in.lane == 0 ? s.r : in.lane == 1 ? s.g : in.lane == 2 ? s.b : s.a;
            std::copy_n(src, n, d);
            continue;
        }
        default:
            break;
        }
        const int ar = arity(in.op);
        const bool sa = isScalar(in.a), sb = isScalar(in.b), sc = isScalar(in.c);
        auto L = [&](Operand o) { return Lanes{lanes[std::size_t(o)]}; };
        auto B = [&](Operand o) { return Broadcast{scalars[scalarIndex(o)]}; };
        if (ar == 1) {
            if (sa)
                loop1(in.op, d, B(in.a), n);
            else
                loop1(in.op, d, L(in.a), n);
        } else if (ar == 2) {
            if (!sa && !sb)
                loop2(in.op, d, L(in.a), L(in.b), n);
            else if (!sa)
                loop2(in.op, d, L(in.a), B(in.b), n);
            else if (!sb)
                loop2(in.op, d, B(in.a), L(in.b), n);
            else
                loop2(in.op, d, B(in.a), B(in.b), n);
        } else {
            const int mode = (sa ? 4 : 0) | (sb ? 2 : 0) | (sc ? 1 : 0);
            switch (mode) {
            case 0:
                loop3(in.op, d, L(in.a), L(in.b), L(in.c), n);
                break;
            case 1:
                loop3(in.op, d, L(in.a), L(in.b), B(in.c), n);
                break;
            case 2:
                loop3(in.op, d, L(in.a), B(in.b), L(in.c), n);
                break;
            case 3:
                loop3(in.op, d, L(in.a), B(in.b), B(in.c), n);
                break;
            case 4:
                loop3(in.op, d, B(in.a), L(in.b), L(in.c), n);
                break;
            case 5:
                loop3(in.op, d, B(in.a), L(in.b), B(in.c), n);
                break;
            case 6:
                loop3(in.op, d, B(in.a), B(in.b), L(in.c), n);
                break;
            default:
                loop3(in.op, d, B(in.a), B(in.b), B(in.c), n);
                break;
            }
        }
    }
    float* outs[4] = {out.r, out.g, out.b, out.a};
    for (int c = 0; c < 4; ++c) {
        const Operand o = k.result[c];
        if (isScalar(o))
            std::fill_n(outs[c], n, scalars[scalarIndex(o)]);
        else
            std::copy_n(lanes[std::size_t(o)], n, outs[c]);
    }
}

float argumentComponent(const KernelArgument& a, int c) {
    if (const float* f = std::get_if<float>(&a)) return c == 0 ? *f : 0.0f;
    if (const Vec4* v = std::get_if<Vec4>(&a)) return float(v->valueAtIndex(std::size_t(c)));
    if (const Rgba* col = std::get_if<Rgba>(&a)) {
        // Colours reach kernels premultiplied, like every pixel value.
        const double v[4] = {col->red * col->alpha, col->green * col->alpha, col->blue * col->alpha,
                             col->alpha};
        return float(v[c & 3]);
    }
    return 0.0f;
}

} // namespace

std::vector<float> CompiledKernel::prepare(std::span<const KernelArgument> arguments,
                                           std::span<const RectF> extents,
                                           std::span<const Transform2D> transforms) const {
    std::vector<float> scalars(std::size_t(std::max(scalarCount, 1)), 0.0f);
    std::copy(constants.begin(), constants.end(), scalars.begin());
    std::size_t slot = constants.size();
    for (const UniformSource& u : uniforms) {
        float v = 0;
        switch (u.kind) {
        case UniformSource::Argument:
            if (std::size_t(u.index) < arguments.size())
                v = argumentComponent(arguments[u.index], u.component);
            break;
        case UniformSource::SamplerTransform:
            if (std::size_t(u.index) < transforms.size()) {
                const Transform2D& t = transforms[u.index];
                const double m[6] = {t.a, t.b, t.c, t.d, t.tx, t.ty};
                v = float(m[u.component]);
            }
            break;
        case UniformSource::SamplerExtent:
            if (std::size_t(u.index) < extents.size()) {
                const RectF& e = extents[u.index];
                const double m[4] = {e.minX(), e.minY(), e.width(), e.height()};
                v = float(m[u.component]);
            }
            break;
        }
        scalars[slot++] = v;
    }
    for (const Instr& in : scalarCode) {
        auto s = [&](Operand o) { return scalars[scalarIndex(o)]; };
        switch (arity(in.op)) {
        case 1:
            scalars[in.dst] = apply1(in.op, s(in.a));
            break;
        case 2:
            scalars[in.dst] = apply2(in.op, s(in.a), s(in.b));
            break;
        default:
            scalars[in.dst] = apply3(in.op, s(in.a), s(in.b), s(in.c));
            break;
        }
    }
    return scalars;
}

void CompiledKernel::evalSpan(const KernelSpanContext& ctx, SpanBuffer& out) const {
    thread_local std::vector<float> regs;
    thread_local std::vector<SpanBuffer> scratch;
    thread_local std::vector<float> fallback;
    const float* scalarData = ctx.prepared.data();
    if (ctx.prepared.size() < std::size_t(scalarCount)) {
        fallback = prepare(ctx.arguments, ctx.samplerExtents, ctx.samplerTransforms);
        scalarData = fallback.data();
    }
    if (regs.size() < std::size_t(registerCount) * kSpanWidth)
        regs.resize(std::size_t(registerCount) * kSpanWidth);
    if (scratch.size() < std::size_t(scratchCount)) scratch.resize(std::size_t(scratchCount));
    if (ctx.samples.empty() && ctx.access) {
        // A point-wise program applied where its samplers are read through an access (another
        // transform, a region of interest): fetch each sampler at its own coordinates first.
        thread_local std::vector<SpanBuffer> fetched;
        thread_local std::vector<const SpanBuffer*> pointers;
        const std::size_t count = ctx.samplerTransforms.size();
        fetched.resize(std::max(fetched.size(), count));
        pointers.assign(count, nullptr);
        alignas(64) float xs[kSpanWidth], ys[kSpanWidth];
        for (std::size_t s = 0; s < count; ++s) {
            const Transform2D& t = ctx.samplerTransforms[s];
            for (int i = 0; i < ctx.pos.n; ++i) {
                const double x = ctx.pos.x + i + 0.5, y = ctx.pos.y + 0.5;
                xs[i] = float(t.a * x + t.c * y + t.tx);
                ys[i] = float(t.b * x + t.d * y + t.ty);
            }
            ctx.access->sample(int(s), xs, ys, ctx.pos.n, fetched[s]);
            pointers[s] = &fetched[s];
        }
        KernelSpanContext withSamples = ctx;
        withSamples.samples = pointers;
        runLanes(*this, withSamples, scalarData, regs.data(), scratch.data(), out);
        return;
    }
    runLanes(*this, ctx, scalarData, regs.data(), scratch.data(), out);
}

int arity(Op op) {
    if (op <= Op::SampleLane) return 0;
    if (op <= Op::Recip) return 1;
    if (op <= Op::Or) return 2;
    return 3;
}

float evalScalarOp(Op op, float a, float b, float c) {
    switch (arity(op)) {
    case 1:
        return apply1(op, a);
    case 2:
        return apply2(op, a, b);
    default:
        return apply3(op, a, b, c);
    }
}

bool CompiledKernel::readsSampler(int ordinal) const {
    for (const std::vector<Instr>* program : {&scalarCode, &code})
        for (const Instr& in : *program)
            if ((in.op == Op::LoadSample || in.op == Op::SampleAt) && in.sampler == ordinal) return true;
    return false;
}

} // namespace pimavo::kernel
