// Source text to tokens. Comments (// and /* */) and white space separate tokens and are dropped.
#include "KernelSyntax.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace pimavo::kernel {

int componentCount(Type t) {
    switch (t) {
    case Type::Float:
    case Type::Bool:
        return 1;
    case Type::Vec2:
        return 2;
    case Type::Vec3:
        return 3;
    case Type::Vec4:
    case Type::Color:
        return 4;
    default:
        return 0;
    }
}

Type vectorType(int n) {
    switch (n) {
    case 1:
        return Type::Float;
    case 2:
        return Type::Vec2;
    case 3:
        return Type::Vec3;
    case 4:
        return Type::Vec4;
    default:
        return Type::Void;
    }
}

const char* typeName(Type t) {
    switch (t) {
    case Type::Void:
        return "void";
    case Type::Float:
        return "float";
    case Type::Vec2:
        return "vec2";
    case Type::Vec3:
        return "vec3";
    case Type::Vec4:
        return "vec4";
    case Type::Sampler:
        return "sampler";
    case Type::Color:
        return "__color";
    case Type::Bool:
        return "bool";
    }
    return "?";
}

bool tokenize(const std::string& text, std::vector<Token>& out, CompileError& error) {
    std::size_t i = 0;
    SourcePos pos;
    auto advance = [&](std::size_t n) {
        for (std::size_t k = 0; k < n && i < text.size(); ++k, ++i) {
            if (text[i] == '\n') {
                ++pos.line;
                pos.column = 1;
            } else {
                ++pos.column;
            }
        }
    };
    auto peek = [&](std::size_t k) { return i + k < text.size() ? text[i + k] : '\0'; };
    while (i < text.size()) {
        const char c = text[i];
        if (std::isspace(static_cast<unsigned char>(c))) {
            advance(1);
            continue;
        }
        if (c == '/' && peek(1) == '/') {
            while (i < text.size() && text[i] != '\n') advance(1);
            continue;
        }
        if (c == '/' && peek(1) == '*') {
            const SourcePos start = pos;
            advance(2);
            while (i < text.size() && !(text[i] == '*' && peek(1) == '/')) advance(1);
            if (i >= text.size()) {
                error = {start, "comment is not closed"};
                return false;
            }
            advance(2);
            continue;
        }
        Token t;
        t.pos = pos;
        if (std::isalpha(static_cast<unsigned char>(c)) || c == '_') {
            std::size_t j = i;
            while (j < text.size() && (std::isalnum(static_cast<unsigned char>(text[j])) || text[j] == '_'))
                ++j;
            t.kind = Tok::Ident;
            t.text = text.substr(i, j - i);
            advance(j - i);
            out.push_back(std::move(t));
            continue;
        }
        if (std::isdigit(static_cast<unsigned char>(c)) ||
            (c == '.' && std::isdigit(static_cast<unsigned char>(peek(1))))) {
            // from_chars, not strtod: a number in a kernel has a point whatever the desktop's locale,
            // and the editor runs in the desktop's locale (a German one reads "0.5" as 0).
            const char* first = text.data() + i;
            const auto [end, failed] = std::from_chars(first, text.data() + text.size(), t.number);
            if (failed != std::errc()) t.number = 0;
            std::size_t len = std::max<std::size_t>(1, std::size_t(end - first));
            if (i + len < text.size() && (text[i + len] == 'f' || text[i + len] == 'F')) ++len; // 1.0f
            t.kind = Tok::Number;
            t.text = text.substr(i, len);
            advance(len);
            out.push_back(std::move(t));
            continue;
        }
        struct Op {
            const char* s;
            Tok k;
        };
        static const Op ops[] = {{"<=", Tok::LessEq},      {">=", Tok::GreaterEq},   {"==", Tok::EqEq},
                                 {"!=", Tok::NotEq},       {"&&", Tok::AndAnd},      {"||", Tok::OrOr},
                                 {"+=", Tok::PlusAssign},  {"-=", Tok::MinusAssign}, {"*=", Tok::StarAssign},
                                 {"/=", Tok::SlashAssign}, {"(", Tok::LParen},       {")", Tok::RParen},
                                 {"{", Tok::LBrace},       {"}", Tok::RBrace},       {",", Tok::Comma},
                                 {";", Tok::Semicolon},    {".", Tok::Dot},          {"?", Tok::Question},
                                 {":", Tok::Colon},        {"+", Tok::Plus},         {"-", Tok::Minus},
                                 {"*", Tok::Star},         {"/", Tok::Slash},        {"!", Tok::Bang},
                                 {"<", Tok::Less},         {">", Tok::Greater},      {"=", Tok::Assign}};
        bool matched = false;
        for (const Op& op : ops) {
            const std::size_t len = std::char_traits<char>::length(op.s);
            if (text.compare(i, len, op.s) == 0) {
                t.kind = op.k;
                t.text = op.s;
                advance(len);
                out.push_back(std::move(t));
                matched = true;
                break;
            }
        }
        if (!matched) {
            error = {pos, std::string("unexpected character '") + c + "'"};
            return false;
        }
    }
    Token end;
    end.pos = pos;
    out.push_back(end);
    return true;
}

} // namespace pimavo::kernel
