// The kernel language's syntax: tokens and the tree the parser builds.
//
// The language is a small GLSL-like subset: float, vec2, vec3, vec4, sampler and __color values;
// swizzles; arithmetic, comparisons, logic and ?:; if/else; local variables; return; calls of
// the built-in functions. There are no loops and no user functions besides the kernels.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace pimavo::kernel {

struct SourcePos {
    int line = 1, column = 1;
};

enum class Tok {
    End,
    Ident,
    Number,
    LParen,
    RParen,
    LBrace,
    RBrace,
    Comma,
    Semicolon,
    Dot,
    Question,
    Colon,
    Plus,
    Minus,
    Star,
    Slash,
    Bang,
    Less,
    Greater,
    LessEq,
    GreaterEq,
    EqEq,
    NotEq,
    AndAnd,
    OrOr,
    Assign,
    PlusAssign,
    MinusAssign,
    StarAssign,
    SlashAssign,
};

struct Token {
    Tok kind = Tok::End;
    std::string text;
    double number = 0;
    SourcePos pos;
};

// Types of values. Bool is what comparisons give; it is not declarable.
enum class Type { Void, Float, Vec2, Vec3, Vec4, Sampler, Color, Bool };
int componentCount(Type t); // float 1, vec2 2, vec3 3, vec4 and __color 4, bool 1
Type vectorType(int components);
const char* typeName(Type t);

struct Expr;
using ExprPtr = std::unique_ptr<Expr>;

struct Expr {
    enum class Kind { Number, Variable, Unary, Binary, Ternary, Call, Swizzle };
    Kind kind;
    SourcePos pos;
    double number = 0;         // Number
    std::string name;          // Variable, Call (function or constructor), Swizzle (the components)
    Tok op = Tok::End;         // Unary, Binary
    std::vector<ExprPtr> args; // operands / arguments / the swizzled value
};

struct Stmt;
using StmtPtr = std::unique_ptr<Stmt>;

struct Stmt {
    enum class Kind { Declare, Assign, If, Return, Block, Expression };
    Kind kind;
    SourcePos pos;
    Type type = Type::Void;    // Declare
    std::string name;          // Declare, Assign: the variable
    std::string swizzle;       // Assign: components written, empty for the whole value
    Tok op = Tok::Assign;      // Assign: =, +=, -=, *=, /=
    ExprPtr value;             // Declare (may be null), Assign, Return, If (the condition), Expression
    std::vector<StmtPtr> body; // Block; If: body[0] then, body[1] else (may be null)
};

struct Param {
    Type type;
    std::string name;
    SourcePos pos;
};

struct KernelDecl {
    std::string name;
    Type returnType = Type::Vec4;
    std::vector<Param> params;
    std::vector<StmtPtr> body;
    SourcePos pos;
};

struct CompileError {
    SourcePos pos;
    std::string message;
};

// Splits source text into tokens; on a character that starts no token, reports where.
bool tokenize(const std::string& text, std::vector<Token>& out, CompileError& error);

// Parses every kernel of a source text.
bool parseKernels(const std::vector<Token>& tokens, std::vector<KernelDecl>& out, CompileError& error);

} // namespace pimavo::kernel
