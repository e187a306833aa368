// Tokens to syntax trees, by recursive descent with the usual C precedence.
#include "KernelSyntax.h"

#include <optional>

namespace pimavo::kernel {

namespace {

std::optional<Type> typeKeyword(const std::string& s) {
    if (s == "float") return Type::Float;
    if (s == "vec2") return Type::Vec2;
    if (s == "vec3") return Type::Vec3;
    if (s == "vec4") return Type::Vec4;
    if (s == "sampler") return Type::Sampler;
    if (s == "__color") return Type::Color;
    return std::nullopt;
}

class Parser {
public:
    Parser(const std::vector<Token>& t, CompileError& e) : t_(t), error_(e) {}

    bool kernels(std::vector<KernelDecl>& out) {
        while (peek().kind != Tok::End) {
            KernelDecl k;
            if (!kernel(k)) return false;
            out.push_back(std::move(k));
        }
        if (out.empty()) return fail(peek().pos, "no kernel in the text");
        return true;
    }

private:
    const Token& peek(std::size_t k = 0) const { return t_[std::min(i_ + k, t_.size() - 1)]; }
    const Token& next() { return t_[std::min(i_++, t_.size() - 1)]; }
    bool at(Tok k) const { return peek().kind == k; }
    bool atWord(const char* w) const { return peek().kind == Tok::Ident && peek().text == w; }
    bool accept(Tok k) {
        if (!at(k)) return false;
        ++i_;
        return true;
    }
    bool fail(SourcePos p, std::string message) {
        if (!failed_) error_ = {p, std::move(message)};
        failed_ = true;
        return false;
    }
    bool expect(Tok k, const char* what) {
        if (accept(k)) return true;
        return fail(peek().pos, std::string("expected ") + what +
                                    (peek().text.empty() ? "" : " before '" + peek().text + "'"));
    }

    bool kernel(KernelDecl& k) {
        k.pos = peek().pos;
        if (!atWord("kernel")) return fail(peek().pos, "expected 'kernel'");
        next();
        auto rt = peek().kind == Tok::Ident ? typeKeyword(peek().text) : std::nullopt;
        if (!rt) return fail(peek().pos, "expected the kernel's result type");
        next();
        k.returnType = *rt;
        if (!at(Tok::Ident)) return fail(peek().pos, "expected the kernel's name");
        k.name = next().text;
        if (!expect(Tok::LParen, "'('")) return false;
        if (!at(Tok::RParen)) {
            do {
                Param p;
                p.pos = peek().pos;
                auto pt = peek().kind == Tok::Ident ? typeKeyword(peek().text) : std::nullopt;
                if (!pt) return fail(peek().pos, "expected a parameter type");
                next();
                p.type = *pt;
                if (!at(Tok::Ident)) return fail(peek().pos, "expected a parameter name");
                p.name = next().text;
                k.params.push_back(p);
            } while (accept(Tok::Comma));
        }
        if (!expect(Tok::RParen, "')'")) return false;
        return block(k.body);
    }

    bool block(std::vector<StmtPtr>& out) {
        if (!expect(Tok::LBrace, "'{'")) return false;
        while (!at(Tok::RBrace)) {
            if (at(Tok::End)) return fail(peek().pos, "expected '}'");
            StmtPtr s = statement();
            if (!s) return false;
            out.push_back(std::move(s));
        }
        next();
        return true;
    }

    StmtPtr statement() {
        auto s = std::make_unique<Stmt>();
        s->pos = peek().pos;
        if (at(Tok::LBrace)) {
            s->kind = Stmt::Kind::Block;
            return block(s->body) ? std::move(s) : nullptr;
        }
        if (atWord("if")) {
            next();
            s->kind = Stmt::Kind::If;
            if (!expect(Tok::LParen, "'('")) return nullptr;
            s->value = expression();
            if (!s->value || !expect(Tok::RParen, "')'")) return nullptr;
            StmtPtr then = statement();
            if (!then) return nullptr;
            s->body.push_back(std::move(then));
            if (atWord("else")) {
                next();
                StmtPtr other = statement();
                if (!other) return nullptr;
                s->body.push_back(std::move(other));
            } else {
                s->body.push_back(nullptr);
            }
            return s;
        }
        if (atWord("return")) {
            next();
            s->kind = Stmt::Kind::Return;
            s->value = expression();
            if (!s->value || !expect(Tok::Semicolon, "';'")) return nullptr;
            return s;
        }
        if (peek().kind == Tok::Ident) {
            if (auto type = typeKeyword(peek().text); type && peek(1).kind == Tok::Ident) {
                next();
                // One statement may declare several variables; they become a block.
                auto group = std::make_unique<Stmt>();
                group->kind = Stmt::Kind::Block;
                group->pos = s->pos;
                do {
                    auto d = std::make_unique<Stmt>();
                    d->kind = Stmt::Kind::Declare;
                    d->pos = peek().pos;
                    d->type = *type;
                    if (!at(Tok::Ident)) {
                        fail(peek().pos, "expected a variable name");
                        return nullptr;
                    }
                    d->name = next().text;
                    if (accept(Tok::Assign)) {
                        d->value = expression();
                        if (!d->value) return nullptr;
                    }
                    group->body.push_back(std::move(d));
                } while (accept(Tok::Comma));
                if (!expect(Tok::Semicolon, "';'")) return nullptr;
                // A lone declaration must not open a scope of its own.
                group->name = "declarations";
                return group;
            }
            // Assignment: name [.swizzle] op value
            std::size_t k = 1;
            std::string swizzle;
            if (peek(1).kind == Tok::Dot && peek(2).kind == Tok::Ident) {
                swizzle = peek(2).text;
                k = 3;
            }
            const Tok op = peek(k).kind;
            if (op == Tok::Assign || op == Tok::PlusAssign || op == Tok::MinusAssign ||
                op == Tok::StarAssign || op == Tok::SlashAssign) {
                s->kind = Stmt::Kind::Assign;
                s->name = next().text;
                s->swizzle = swizzle;
                i_ += k; // skip the swizzle and the operator
                s->op = op;
                s->value = expression();
                if (!s->value || !expect(Tok::Semicolon, "';'")) return nullptr;
                return s;
            }
        }
        s->kind = Stmt::Kind::Expression;
        s->value = expression();
        if (!s->value || !expect(Tok::Semicolon, "';'")) return nullptr;
        return s;
    }

    ExprPtr make(Expr::Kind k, SourcePos p) {
        auto e = std::make_unique<Expr>();
        e->kind = k;
        e->pos = p;
        return e;
    }

    ExprPtr expression() { return ternary(); }

    ExprPtr ternary() {
        ExprPtr c = binary(0);
        if (!c || !at(Tok::Question)) return c;
        const SourcePos p = next().pos;
        ExprPtr a = expression();
        if (!a || !expect(Tok::Colon, "':'")) return nullptr;
        ExprPtr b = ternary();
        if (!b) return nullptr;
        auto e = make(Expr::Kind::Ternary, p);
        e->args.push_back(std::move(c));
        e->args.push_back(std::move(a));
        e->args.push_back(std::move(b));
        return e;
    }

    static int precedence(Tok k) {
        switch (k) {
        case Tok::OrOr:
            return 1;
        case Tok::AndAnd:
            return 2;
        case Tok::EqEq:
        case Tok::NotEq:
            return 3;
        case Tok::Less:
        case Tok::Greater:
        case Tok::LessEq:
        case Tok::GreaterEq:
            return 4;
        case Tok::Plus:
        case Tok::Minus:
            return 5;
        case Tok::Star:
        case Tok::Slash:
            return 6;
        default:
            return -1;
        }
    }

    // Precedence climbing over the left-associative binary operators.
    ExprPtr binary(int minPrec) {
        ExprPtr lhs = unary();
        while (lhs) {
            const int prec = precedence(peek().kind);
            if (prec < 0 || prec <= minPrec - 1 || prec < minPrec) break;
            const Token op = next();
            ExprPtr rhs = binary(prec + 1);
            if (!rhs) return nullptr;
            auto e = make(Expr::Kind::Binary, op.pos);
            e->op = op.kind;
            e->args.push_back(std::move(lhs));
            e->args.push_back(std::move(rhs));
            lhs = std::move(e);
        }
        return lhs;
    }

    ExprPtr unary() {
        if (at(Tok::Minus) || at(Tok::Bang) || at(Tok::Plus)) {
            const Token op = next();
            ExprPtr v = unary();
            if (!v) return nullptr;
            if (op.kind == Tok::Plus) return v;
            auto e = make(Expr::Kind::Unary, op.pos);
            e->op = op.kind;
            e->args.push_back(std::move(v));
            return e;
        }
        return postfix();
    }

    ExprPtr postfix() {
        ExprPtr e = primary();
        while (e && at(Tok::Dot)) {
            const SourcePos p = next().pos;
            if (!at(Tok::Ident)) {
                fail(peek().pos, "expected components after '.'");
                return nullptr;
            }
            auto s = make(Expr::Kind::Swizzle, p);
            s->name = next().text;
            s->args.push_back(std::move(e));
            e = std::move(s);
        }
        return e;
    }

    ExprPtr primary() {
        const Token& t = peek();
        if (t.kind == Tok::Number) {
            auto e = make(Expr::Kind::Number, t.pos);
            e->number = t.number;
            next();
            return e;
        }
        if (t.kind == Tok::LParen) {
            next();
            ExprPtr e = expression();
            if (!e || !expect(Tok::RParen, "')'")) return nullptr;
            return e;
        }
        if (t.kind == Tok::Ident) {
            const Token name = next();
            if (accept(Tok::LParen)) {
                auto call = make(Expr::Kind::Call, name.pos);
                call->name = name.text;
                if (!at(Tok::RParen)) {
                    do {
                        ExprPtr a = expression();
                        if (!a) return nullptr;
                        call->args.push_back(std::move(a));
                    } while (accept(Tok::Comma));
                }
                if (!expect(Tok::RParen, "')'")) return nullptr;
                return call;
            }
            auto v = make(Expr::Kind::Variable, name.pos);
            v->name = name.text;
            return v;
        }
        fail(t.pos, t.kind == Tok::End ? "unexpected end of text" : "unexpected '" + t.text + "'");
        return nullptr;
    }

    const std::vector<Token>& t_;
    CompileError& error_;
    std::size_t i_ = 0;
    bool failed_ = false;
};

} // namespace

bool parseKernels(const std::vector<Token>& tokens, std::vector<KernelDecl>& out, CompileError& error) {
    return Parser(tokens, error).kernels(out);
}

} // namespace pimavo::kernel
