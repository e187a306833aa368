// Syntax trees to straight-line lane code: types checked, vectors split into lanes, control flow
// predicated, constants folded, values common to all pixels moved to the scalar code, dead code
// dropped and registers reused.
#include "KernelCompiler.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <unordered_map>

namespace pimavo::kernel {

namespace {

struct Value {
    Type type = Type::Void;
    std::vector<Operand> lanes;
    int sampler = -1;        // Sampler values: the ordinal among the kernel's samplers
    int samplerCoordOf = -1; // the exact value of samplerCoord(s) for sampler s
};

struct ScalarDef {
    enum Kind { Constant, Uniform, Computed } kind;
    float value = 0;
    UniformSource source{};
};

class Lowering {
public:
    Lowering(const KernelDecl& k, CompiledKernel& out, CompileError& error)
        : k_(k), out_(out), error_(error) {}

    bool run() {
        out_.name_ = k_.name;
        out_.parameterCount = int(k_.params.size());
        if (componentCount(k_.returnType) != 4) return fail(k_.pos, "a kernel must return vec4 or __color");
        scopes_.emplace_back();
        int samplerOrdinal = 0;
        for (std::size_t i = 0; i < k_.params.size(); ++i) {
            const Param& p = k_.params[i];
            Value v;
            v.type = p.type;
            if (p.type == Type::Sampler) {
                v.sampler = samplerOrdinal++;
            } else {
                for (int c = 0; c < componentCount(p.type); ++c)
                    v.lanes.push_back(uniform({UniformSource::Argument, int(i), c}));
            }
            if (scopes_.back().count(p.name))
                return fail(p.pos, "parameter '" + p.name + "' is declared twice");
            scopes_.back()[p.name] = v;
        }
        samplerCount_ = samplerOrdinal;
        mask_ = constant(1); // every pixel active
        result_ = {constant(0), constant(0), constant(0), constant(0)};
        returned_ = constant(0);
        if (!statements(k_.body)) return false;
        finish();
        return true;
    }

private:
    bool fail(SourcePos p, std::string message) {
        if (!failed_) error_ = {p, std::move(message)};
        failed_ = true;
        return false;
    }

    // Scalars and registers.

    Operand constant(float v) {
        auto it = constantIds_.find(v);
        if (it != constantIds_.end() && !std::signbit(v) == !std::signbit(scalars_[it->second].value))
            return scalarOperand(it->second);
        scalars_.push_back({ScalarDef::Constant, v, {}});
        const int id = int(scalars_.size()) - 1;
        constantIds_[v] = id;
        return scalarOperand(id);
    }
    Operand uniform(UniformSource s) {
        scalars_.push_back({ScalarDef::Uniform, 0, s});
        return scalarOperand(int(scalars_.size()) - 1);
    }
    bool isConstant(Operand o) const {
        return isScalar(o) && scalars_[scalarIndex(o)].kind == ScalarDef::Constant;
    }
    float constantValue(Operand o) const { return scalars_[scalarIndex(o)].value; }
    bool isConstant(Operand o, float v) const { return isConstant(o) && constantValue(o) == v; }

    Operand emit(Op op, Operand a, Operand b = 0, Operand c = 0) {
        const int ar = arity(op);
        const Operand ops[3] = {a, b, c};
        bool allScalar = true, allConstant = true;
        for (int i = 0; i < ar; ++i) {
            allScalar = allScalar && isScalar(ops[i]);
            allConstant = allConstant && isConstant(ops[i]);
        }
        // A few identities keep predicated code small.
        if (op == Op::Select && isConstant(a)) return constantValue(a) != 0 ? b : c;
        if (op == Op::Select && b == c) return b;
        if (op == Op::Mul && (isConstant(a, 1))) return b;
        if ((op == Op::Mul || op == Op::Div) && isConstant(b, 1)) return a;
        if (op == Op::Add && isConstant(a, 0)) return b;
        if ((op == Op::Add || op == Op::Sub) && isConstant(b, 0)) return a;
        // Dividing lanes by a value common to all pixels: one reciprocal, then multiplies.
        if (op == Op::Div && isScalar(b) && !isScalar(a)) return emit(Op::Mul, a, emit(Op::Recip, b));
        if (allConstant) {
            const auto v = [&](int i) { return i < ar ? constantValue(ops[i]) : 0.0f; };
            return constant(evalScalarOp(op, v(0), v(1), v(2)));
        }
        if (allScalar) {
            scalars_.push_back({ScalarDef::Computed, 0, {}});
            const int id = int(scalars_.size()) - 1;
            scalarCode_.push_back({op, id, a, b, c});
            return scalarOperand(id);
        }
        const int r = registers_++;
        code_.push_back({op, r, a, b, c});
        return r;
    }
    Operand emitLane(Op op, int sampler, int lane) {
        const int r = registers_++;
        Instr in{op, r, 0, 0, 0};
        in.sampler = int16_t(sampler);
        in.lane = int16_t(lane);
        code_.push_back(in);
        return r;
    }

    // Statements.

    Value* lookup(const std::string& name) {
        for (auto it = scopes_.rbegin(); it != scopes_.rend(); ++it) {
            auto f = it->find(name);
            if (f != it->end()) return &f->second;
        }
        return nullptr;
    }

    bool statements(const std::vector<StmtPtr>& list) {
        for (const StmtPtr& s : list) {
            if (done_) return true; // everything after an unconditional return is dead
            if (!statement(*s)) return false;
        }
        return true;
    }

    bool statement(const Stmt& s) {
        switch (s.kind) {
        case Stmt::Kind::Block: {
            const bool scoped = s.name != "declarations";
            if (scoped) scopes_.emplace_back();
            const bool ok = statements(s.body);
            if (scoped) scopes_.pop_back();
            return ok;
        }
        case Stmt::Kind::Declare: {
            if (s.type == Type::Sampler) return fail(s.pos, "samplers cannot be declared inside a kernel");
            Value v;
            v.type = s.type;
            if (s.value) {
                Value init;
                if (!expr(*s.value, init)) return false;
                if (!convertible(init, s.type))
                    return fail(s.value->pos, std::string("cannot initialise a ") + typeName(s.type) +
                                                  " with a " + typeName(init.type));
                v.lanes = broadcast(init, componentCount(s.type));
            } else {
                v.lanes.assign(std::size_t(componentCount(s.type)), constant(0));
            }
            if (scopes_.back().count(s.name)) return fail(s.pos, "'" + s.name + "' is already declared here");
            scopes_.back()[s.name] = v;
            return true;
        }
        case Stmt::Kind::Assign:
            return assign(s);
        case Stmt::Kind::If: {
            Value c;
            if (!expr(*s.value, c)) return false;
            if (c.lanes.size() != 1 || c.type == Type::Sampler)
                return fail(s.value->pos, "an if condition must be a single value");
            const Operand outer = mask_;
            const Operand then = emit(Op::And, outer, c.lanes[0]);
            mask_ = then;
            if (!isConstant(then, 0)) {
                scopes_.emplace_back();
                const bool ok = statement(*s.body[0]);
                scopes_.pop_back();
                if (!ok) return false;
            }
            if (s.body[1]) {
                mask_ = emit(Op::And, outer, emit(Op::Not, c.lanes[0]));
                if (!isConstant(mask_, 0)) {
                    scopes_.emplace_back();
                    const bool ok = statement(*s.body[1]);
                    scopes_.pop_back();
                    if (!ok) return false;
                }
            }
            mask_ = outer;
            return true;
        }
        case Stmt::Kind::Return: {
            Value v;
            if (!expr(*s.value, v)) return false;
            if (v.lanes.size() != 4 && v.lanes.size() != 1)
                return fail(s.value->pos, std::string("a kernel returns a vec4, not a ") + typeName(v.type));
            const auto lanes = broadcast(v, 4);
            // Lanes that returned earlier keep their result.
            const Operand take = emit(Op::And, mask_, emit(Op::Not, returned_));
            for (int c = 0; c < 4; ++c) result_[c] = emit(Op::Select, take, lanes[c], result_[c]);
            returned_ = emit(Op::Or, returned_, mask_);
            if (isConstant(returned_, 1)) done_ = true;
            return true;
        }
        case Stmt::Kind::Expression: {
            Value ignored;
            return expr(*s.value, ignored);
        }
        }
        return true;
    }

    bool assign(const Stmt& s) {
        Value* var = lookup(s.name);
        if (!var) return fail(s.pos, "'" + s.name + "' is not declared");
        if (var->type == Type::Sampler) return fail(s.pos, "a sampler cannot be assigned");
        std::vector<int> idx;
        if (s.swizzle.empty()) {
            for (std::size_t i = 0; i < var->lanes.size(); ++i) idx.push_back(int(i));
        } else if (!swizzleIndices(s.swizzle, int(var->lanes.size()), idx, s.pos)) {
            return false;
        }
        Value v;
        if (!expr(*s.value, v)) return false;
        if (v.lanes.size() != 1 && v.lanes.size() != idx.size())
            return fail(s.value->pos, "the value has " + std::to_string(v.lanes.size()) +
                                          " components, the target " + std::to_string(idx.size()));
        const auto lanes = broadcast(v, int(idx.size()));
        for (std::size_t i = 0; i < idx.size(); ++i) {
            Operand& target = var->lanes[std::size_t(idx[i])];
            Operand value = lanes[i];
            switch (s.op) {
            case Tok::PlusAssign:
                value = emit(Op::Add, target, value);
                break;
            case Tok::MinusAssign:
                value = emit(Op::Sub, target, value);
                break;
            case Tok::StarAssign:
                value = emit(Op::Mul, target, value);
                break;
            case Tok::SlashAssign:
                value = emit(Op::Div, target, value);
                break;
            default:
                break;
            }
            target = emit(Op::Select, mask_, value, target);
        }
        var->samplerCoordOf = -1;
        return true;
    }

    // Expressions.

    static bool convertible(const Value& v, Type to) {
        if (v.type == Type::Sampler || to == Type::Sampler) return false;
        const int n = componentCount(to);
        return int(v.lanes.size()) == n || v.lanes.size() == 1;
    }

    std::vector<Operand> broadcast(const Value& v, int n) {
        if (int(v.lanes.size()) == n) return v.lanes;
        return std::vector<Operand>(std::size_t(n), v.lanes.empty() ? constant(0) : v.lanes[0]);
    }

    bool swizzleIndices(const std::string& s, int size, std::vector<int>& idx, SourcePos pos) {
        static const char* sets[] = {"xyzw", "rgba", "stpq"};
        if (s.empty() || s.size() > 4) return fail(pos, "'" + s + "' is not a swizzle");
        for (const char* set : sets) {
            idx.clear();
            bool all = true;
            for (char ch : s) {
                const char* f = std::char_traits<char>::find(set, 4, ch);
                if (!f) {
                    all = false;
                    break;
                }
                idx.push_back(int(f - set));
            }
            if (!all) continue;
            for (int i : idx)
                if (i >= size)
                    return fail(pos, "component '" + s + "' is beyond a " + std::to_string(size) +
                                         "-component value");
            return true;
        }
        return fail(pos, "'" + s + "' is not a swizzle");
    }

    bool numericArgs(const Expr& e, std::vector<Value>& args) {
        for (const ExprPtr& a : e.args) {
            Value v;
            if (!expr(*a, v)) return false;
            if (v.type == Type::Sampler) return fail(a->pos, "a sampler is not a number");
            args.push_back(std::move(v));
        }
        return true;
    }

    // Component-wise application with scalars broadcast; all non-scalar arguments must agree.
    bool componentWise(const Expr& e, const std::vector<Value>& args, Op op, Value& out) {
        int n = 1;
        for (const Value& a : args) {
            const int m = int(a.lanes.size());
            if (m != 1 && n != 1 && m != n)
                return fail(e.pos, "'" + e.name + "' cannot combine values of " + std::to_string(n) +
                                       " and " + std::to_string(m) + " components");
            n = std::max(n, m);
        }
        out.type = vectorType(n);
        out.lanes.clear();
        for (int c = 0; c < n; ++c) {
            auto lane = [&](std::size_t i) {
                return args[i].lanes.size() == 1 ? args[i].lanes[0] : args[i].lanes[c];
            };
            out.lanes.push_back(args.size() == 1   ? emit(op, lane(0))
                                : args.size() == 2 ? emit(op, lane(0), lane(1))
                                                   : emit(op, lane(0), lane(1), lane(2)));
        }
        return true;
    }

    Operand dot(const std::vector<Operand>& a, const std::vector<Operand>& b) {
        Operand s = emit(Op::Mul, a[0], b[0]);
        for (std::size_t i = 1; i < a.size(); ++i) s = emit(Op::Fma, a[i], b[i], s);
        return s;
    }

    bool expectArgs(const Expr& e, std::size_t n) {
        if (e.args.size() == n) return true;
        return fail(e.pos, "'" + e.name + "' takes " + std::to_string(n) + " argument" + (n == 1 ? "" : "s"));
    }

    bool samplerArg(const Expr& e, std::size_t i, int& ordinal) {
        Value v;
        if (i >= e.args.size() || !expr(*e.args[i], v)) return false;
        if (v.type != Type::Sampler) return fail(e.args[i]->pos, "'" + e.name + "' needs a sampler");
        ordinal = v.sampler;
        return true;
    }

    std::vector<Operand> transformed(int s, Operand x, Operand y) {
        auto t = [&](int c) { return uniform({UniformSource::SamplerTransform, s, c}); };
        return {emit(Op::Fma, t(0), x, emit(Op::Fma, t(2), y, t(4))),
                emit(Op::Fma, t(1), x, emit(Op::Fma, t(3), y, t(5)))};
    }

    bool call(const Expr& e, Value& out) {
        const std::string& f = e.name;
        // Constructors.
        if (f == "float" || f == "vec2" || f == "vec3" || f == "vec4") {
            const int n = f == "float" ? 1 : f[3] - '0';
            std::vector<Value> args;
            if (!numericArgs(e, args)) return false;
            std::vector<Operand> lanes;
            for (const Value& a : args) lanes.insert(lanes.end(), a.lanes.begin(), a.lanes.end());
            if (lanes.size() == 1) lanes.assign(std::size_t(n), lanes[0]);
            if (args.size() == 1 && int(lanes.size()) > n) lanes.resize(std::size_t(n)); // vec3(v4) keeps xyz
            if (int(lanes.size()) != n)
                return fail(e.pos, f + " needs " + std::to_string(n) + " components, not " +
                                       std::to_string(lanes.size()));
            out.type = vectorType(n);
            out.lanes = lanes;
            return true;
        }
        if (f == "destCoord") {
            if (!expectArgs(e, 0)) return false;
            out.type = Type::Vec2;
            out.lanes = {emitLane(Op::DestX, 0, 0), emitLane(Op::DestY, 0, 0)};
            return true;
        }
        if (f == "samplerCoord") {
            int s;
            if (!expectArgs(e, 1) || !samplerArg(e, 0, s)) return false;
            out.type = Type::Vec2;
            out.lanes = transformed(s, emitLane(Op::DestX, 0, 0), emitLane(Op::DestY, 0, 0));
            out.samplerCoordOf = s;
            return true;
        }
        if (f == "samplerTransform") {
            int s;
            if (!expectArgs(e, 2) || !samplerArg(e, 0, s)) return false;
            Value p;
            if (!expr(*e.args[1], p)) return false;
            if (p.lanes.size() != 2) return fail(e.args[1]->pos, "samplerTransform needs a vec2");
            out.type = Type::Vec2;
            out.lanes = transformed(s, p.lanes[0], p.lanes[1]);
            return true;
        }
        if (f == "samplerExtent" || f == "samplerSize") {
            int s;
            if (!expectArgs(e, 1) || !samplerArg(e, 0, s)) return false;
            const bool size = f == "samplerSize";
            out.type = size ? Type::Vec2 : Type::Vec4;
            for (int c = size ? 2 : 0; c < 4; ++c)
                out.lanes.push_back(uniform({UniformSource::SamplerExtent, s, c}));
            return true;
        }
        if (f == "sample") {
            int s;
            if (!expectArgs(e, 2) || !samplerArg(e, 0, s)) return false;
            Value p;
            if (!expr(*e.args[1], p)) return false;
            if (p.lanes.size() != 2) return fail(e.args[1]->pos, "sample needs a vec2 coordinate");
            out.type = Type::Vec4;
            if (p.samplerCoordOf == s) {
                for (int c = 0; c < 4; ++c) out.lanes.push_back(emitLane(Op::LoadSample, s, c));
            } else {
                out_.pointWise_ = false;
                const int slot = scratch_++;
                Instr in{Op::SampleAt, slot, p.lanes[0], p.lanes[1], 0};
                in.sampler = int16_t(s);
                code_.push_back(in);
                for (int c = 0; c < 4; ++c) out.lanes.push_back(emitLane(Op::SampleLane, slot, c));
            }
            return true;
        }
        std::vector<Value> args;
        if (!numericArgs(e, args)) return false;
        struct Simple {
            const char* name;
            Op op;
            std::size_t count;
        };
        static const Simple simple[] = {
            {"abs", Op::Abs, 1},
            {"sign", Op::Sign, 1},
            {"floor", Op::Floor, 1},
            {"ceil", Op::Ceil, 1},
            {"fract", Op::Fract, 1},
            {"sqrt", Op::Sqrt, 1},
            {"exp", Op::Exp, 1},
            {"log", Op::Log, 1},
            {"sin", Op::Sin, 1},
            {"cos", Op::Cos, 1},
            {"min", Op::Min, 2},
            {"max", Op::Max, 2},
            {"mod", Op::Mod, 2},
            {"pow", Op::Pow, 2},
            {"step", Op::Step, 2},
            {"clamp", Op::Clamp, 3},
            {"smoothstep", Op::Smoothstep, 3},
        };
        for (const Simple& s : simple)
            if (f == s.name) return expectArgs(e, s.count) && componentWise(e, args, s.op, out);
        if (f == "mix") {
            if (!expectArgs(e, 3)) return false;
            return componentWise(e, args, Op::Mix, out);
        }
        if (f == "compare") { // x < 0 ? a : b, per component
            if (!expectArgs(e, 3)) return false;
            Value neg;
            std::vector<Value> lt{args[0], Value{Type::Float, {constant(0)}}};
            if (!componentWise(e, lt, Op::Lt, neg)) return false;
            return componentWise(e, {neg, args[1], args[2]}, Op::Select, out);
        }
        if (f == "dot") {
            if (!expectArgs(e, 2)) return false;
            if (args[0].lanes.size() != args[1].lanes.size())
                return fail(e.pos, "dot needs two values of one size");
            out.type = Type::Float;
            out.lanes = {dot(args[0].lanes, args[1].lanes)};
            return true;
        }
        if (f == "length" || f == "normalize" || f == "distance") {
            if (!expectArgs(e, f == "distance" ? 2 : 1)) return false;
            std::vector<Operand> v = args[0].lanes;
            if (f == "distance") {
                if (args[1].lanes.size() != v.size())
                    return fail(e.pos, "distance needs two values of one size");
                for (std::size_t i = 0; i < v.size(); ++i) v[i] = emit(Op::Sub, v[i], args[1].lanes[i]);
            }
            const Operand len = emit(Op::Sqrt, dot(v, v));
            if (f != "normalize") {
                out.type = Type::Float;
                out.lanes = {len};
                return true;
            }
            const Operand inv = emit(Op::Recip, len);
            out.type = args[0].type;
            for (Operand c : v) out.lanes.push_back(emit(Op::Mul, c, inv));
            return true;
        }
        if (f == "premultiply" || f == "unpremultiply") {
            if (!expectArgs(e, 1)) return false;
            if (args[0].lanes.size() != 4) return fail(e.pos, f + " needs a vec4");
            const auto& v = args[0].lanes;
            Operand k = v[3];
            if (f == "unpremultiply")
                k = emit(Op::Select, emit(Op::Gt, v[3], constant(0)), emit(Op::Recip, v[3]), constant(0));
            out.type = Type::Vec4;
            out.lanes = {emit(Op::Mul, v[0], k), emit(Op::Mul, v[1], k), emit(Op::Mul, v[2], k), v[3]};
            return true;
        }
        return fail(e.pos, "unknown function '" + f + "'");
    }

    bool expr(const Expr& e, Value& out) {
        out = Value{};
        switch (e.kind) {
        case Expr::Kind::Number:
            out.type = Type::Float;
            out.lanes = {constant(float(e.number))};
            return true;
        case Expr::Kind::Variable: {
            const Value* v = lookup(e.name);
            if (!v) return fail(e.pos, "'" + e.name + "' is not declared");
            out = *v;
            return true;
        }
        case Expr::Kind::Swizzle: {
            Value base;
            if (!expr(*e.args[0], base)) return false;
            if (base.type == Type::Sampler) return fail(e.pos, "a sampler has no components");
            std::vector<int> idx;
            if (!swizzleIndices(e.name, int(base.lanes.size()), idx, e.pos)) return false;
            out.type = vectorType(int(idx.size()));
            for (int i : idx) out.lanes.push_back(base.lanes[std::size_t(i)]);
            return true;
        }
        case Expr::Kind::Unary: {
            Value v;
            if (!expr(*e.args[0], v)) return false;
            if (v.type == Type::Sampler) return fail(e.pos, "a sampler is not a number");
            out.type = e.op == Tok::Bang ? Type::Bool : v.type;
            if (e.op == Tok::Bang && v.lanes.size() != 1) return fail(e.pos, "'!' needs a single value");
            for (Operand o : v.lanes) out.lanes.push_back(emit(e.op == Tok::Bang ? Op::Not : Op::Neg, o));
            return true;
        }
        case Expr::Kind::Binary: {
            Value a, b;
            if (!expr(*e.args[0], a) || !expr(*e.args[1], b)) return false;
            if (a.type == Type::Sampler || b.type == Type::Sampler)
                return fail(e.pos, "a sampler is not a number");
            Op op;
            bool logical = false;
            switch (e.op) {
            case Tok::Plus:
                op = Op::Add;
                break;
            case Tok::Minus:
                op = Op::Sub;
                break;
            case Tok::Star:
                op = Op::Mul;
                break;
            case Tok::Slash:
                op = Op::Div;
                break;
            case Tok::Less:
                op = Op::Lt, logical = true;
                break;
            case Tok::LessEq:
                op = Op::Le, logical = true;
                break;
            case Tok::Greater:
                op = Op::Gt, logical = true;
                break;
            case Tok::GreaterEq:
                op = Op::Ge, logical = true;
                break;
            case Tok::EqEq:
                op = Op::Eq, logical = true;
                break;
            case Tok::NotEq:
                op = Op::Ne, logical = true;
                break;
            case Tok::AndAnd:
                op = Op::And, logical = true;
                break;
            default:
                op = Op::Or, logical = true;
                break;
            }
            if (logical && (a.lanes.size() != 1 || b.lanes.size() != 1))
                return fail(e.pos, "comparisons and logic take single values; use compare() for vectors");
            Expr named = Expr{};
            named.pos = e.pos;
            named.name = "operator";
            if (!componentWise(named, {a, b}, op, out)) return false;
            if (logical) out.type = Type::Bool;
            return true;
        }
        case Expr::Kind::Ternary: {
            Value c, a, b;
            if (!expr(*e.args[0], c) || !expr(*e.args[1], a) || !expr(*e.args[2], b)) return false;
            if (c.lanes.size() != 1)
                return fail(e.args[0]->pos, "the condition of ?: must be a single value");
            if (a.type == Type::Sampler || b.type == Type::Sampler)
                return fail(e.pos, "a sampler is not a number");
            Expr named = Expr{};
            named.pos = e.pos;
            named.name = "?:";
            return componentWise(named, {c, a, b}, Op::Select, out);
        }
        case Expr::Kind::Call:
            return call(e, out);
        }
        return fail(e.pos, "unsupported expression");
    }

    // Finishing: dead code, scalar slots, registers.

    void finish() {
        // Keep only what the result needs, walking back from it.
        std::set<int> liveRegs, liveScalars;
        auto use = [&](Operand o) {
            if (isScalar(o))
                liveScalars.insert(scalarIndex(o));
            else
                liveRegs.insert(o);
        };
        for (Operand o : result_) use(o);
        std::vector<Instr> kept;
        for (auto it = code_.rbegin(); it != code_.rend(); ++it) {
            const Instr& in = *it;
            const bool sampleAt = in.op == Op::SampleAt;
            const bool needed = sampleAt ? usedScratch_.count(in.dst) > 0 : liveRegs.count(in.dst) > 0;
            if (!needed) continue;
            if (in.op == Op::SampleLane) usedScratch_.insert(in.sampler);
            const int ar = arity(in.op);
            if (sampleAt) {
                use(in.a);
                use(in.b);
            }
            if (ar >= 1) use(in.a);
            if (ar >= 2) use(in.b);
            if (ar >= 3) use(in.c);
            kept.push_back(in);
        }
        std::reverse(kept.begin(), kept.end());
        std::vector<Instr> keptScalar;
        for (auto it = scalarCode_.rbegin(); it != scalarCode_.rend(); ++it) {
            if (!liveScalars.count(it->dst)) continue;
            const int ar = arity(it->op);
            if (ar >= 1) liveScalars.insert(scalarIndex(it->a));
            if (ar >= 2) liveScalars.insert(scalarIndex(it->b));
            if (ar >= 3) liveScalars.insert(scalarIndex(it->c));
            keptScalar.push_back(*it);
        }
        std::reverse(keptScalar.begin(), keptScalar.end());

        // Scalar slots: constants, then uniforms, then computed values.
        std::vector<int> slot(scalars_.size(), -1);
        int next = 0;
        for (int kind : {int(ScalarDef::Constant), int(ScalarDef::Uniform), int(ScalarDef::Computed)}) {
            for (std::size_t i = 0; i < scalars_.size(); ++i) {
                if (int(scalars_[i].kind) != kind || !liveScalars.count(int(i))) continue;
                slot[i] = next++;
                if (kind == ScalarDef::Constant) out_.constants.push_back(scalars_[i].value);
                if (kind == ScalarDef::Uniform) out_.uniforms.push_back(scalars_[i].source);
            }
        }
        out_.scalarCount = next;
        auto remapScalar = [&](Operand& o) {
            if (isScalar(o)) o = scalarOperand(slot[scalarIndex(o)]);
        };
        for (Instr& in : keptScalar) {
            in.dst = slot[in.dst];
            remapScalar(in.a), remapScalar(in.b), remapScalar(in.c);
        }

        // Registers: each value's register is freed after its last use and reused.
        std::unordered_map<int, std::size_t> lastUse;
        for (std::size_t i = 0; i < kept.size(); ++i) {
            const Instr& in = kept[i];
            const int ar = in.op == Op::SampleAt ? 2 : arity(in.op);
            const Operand ops[3] = {in.a, in.b, in.c};
            for (int k = 0; k < ar; ++k)
                if (!isScalar(ops[k])) lastUse[ops[k]] = i;
        }
        for (Operand o : result_)
            if (!isScalar(o)) lastUse[o] = kept.size();
        std::unordered_map<int, int> phys;
        std::vector<int> freeList;
        int count = 0;
        for (std::size_t i = 0; i < kept.size(); ++i) {
            Instr& in = kept[i];
            const int ar = in.op == Op::SampleAt ? 2 : arity(in.op);
            Operand* ops[3] = {&in.a, &in.b, &in.c};
            std::vector<int> dying;
            for (int k = 0; k < ar; ++k) {
                Operand& o = *ops[k];
                if (isScalar(o)) {
                    remapScalar(o);
                    continue;
                }
                const int v = o;
                o = phys.at(v);
                if (lastUse[v] == i) dying.push_back(v);
            }
            // The result takes a register before the dying operands free theirs: a result never
            // shares memory with an operand, so every loop may assume its arrays are distinct.
            if (in.op != Op::SampleAt) { // SampleAt writes a scratch slot, not a register
                int r;
                if (!freeList.empty()) {
                    r = freeList.back();
                    freeList.pop_back();
                } else {
                    r = count++;
                }
                phys[in.dst] = r;
                in.dst = r;
            }
            for (int v : dying) {
                if (phys.count(v)) {
                    freeList.push_back(phys[v]);
                    phys.erase(v);
                }
            }
        }
        for (int c = 0; c < 4; ++c) {
            Operand o = result_[c];
            if (isScalar(o))
                remapScalar(o);
            else
                o = phys.at(o);
            out_.result[c] = o;
        }
        out_.registerCount = count;
        out_.scratchCount = scratch_;
        out_.code = std::move(kept);
        out_.scalarCode = std::move(keptScalar);
    }

    const KernelDecl& k_;
    CompiledKernel& out_;
    CompileError& error_;
    bool failed_ = false;
    bool done_ = false;
    std::vector<std::map<std::string, Value>> scopes_;
    std::vector<ScalarDef> scalars_;
    std::map<float, int> constantIds_;
    std::vector<Instr> scalarCode_, code_;
    std::set<int> usedScratch_;
    int registers_ = 0, scratch_ = 0, samplerCount_ = 0;
    Operand mask_ = scalarOperand(0);
    std::vector<Operand> result_;
    Operand returned_ = 0;
};

} // namespace

std::shared_ptr<CompiledKernel> compileKernel(const KernelDecl& decl, CompileError& error) {
    auto out = std::make_shared<CompiledKernel>();
    Lowering lowering(decl, *out, error);
    if (!lowering.run()) return nullptr;
    return out;
}

} // namespace pimavo::kernel
