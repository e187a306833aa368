// The kernel language: each construct compiled and run over a synthetic image, against the same
// arithmetic written out in C++; rendering in tiles must match rendering whole; bad text is reported
// with its position.
#include "EngineTestSupport.h"
#include "engine/Evaluator.h"
#include "engine/Kernel.h"
#include "engine/TileCache.h"

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <gtest/gtest.h>

namespace pimavo::test {
namespace {

using V4 = std::array<double, 4>;

double fract(double v) {
    return v - std::floor(v);
}
double clampd(double v, double a, double b) {
    return std::min(std::max(v, a), b);
}
double smooth(double a, double b, double x) {
    const double t = clampd((x - a) / (b - a), 0, 1);
    return t * t * (3 - 2 * t);
}

struct LangCase {
    const char* label;
    const char* body; // inside: kernel vec4 k(sampler s, float p) { ... }
    std::function<V4(const Px& c, double p, int x, int y)> reference;
    bool pointWise = true;
};

const double kP = 0.3;

std::vector<LangCase> langCases() {
    return {
        {"sample at samplerCoord", "return sample(s, samplerCoord(s));",
         [](const Px& c, double, int, int) { return c; }},
        {"swizzles",
         "vec4 c = sample(s, samplerCoord(s)); return c.bgra + c.xxxx * 0.0 + vec4(c.g, c.rg, 0.5).wzyx;",
         [](const Px& c, double, int, int) {
             return V4{c[2] + 0.5, c[1] + c[1], c[0] + c[0], c[3] + c[1]};
         }},
        {"arithmetic with scalars broadcast",
         "vec4 c = sample(s, samplerCoord(s)); return vec4(c.rgb * p + 0.1, c.a) / 2.0 - vec4(-1.0);",
         [](const Px& c, double p, int, int) {
             return V4{(c[0] * p + 0.1) / 2 + 1, (c[1] * p + 0.1) / 2 + 1, (c[2] * p + 0.1) / 2 + 1,
                       c[3] / 2 + 1};
         }},
        {"if and else",
         "vec4 c = sample(s, samplerCoord(s)); if (c.r > 0.25) { c.g = 1.0; } else c.b = c.b * 2.0; return "
         "c;",
         [](const Px& c, double, int, int) {
             V4 o = c;
             if (c[0] > 0.25)
                 o[1] = 1;
             else
                 o[2] = c[2] * 2;
             return o;
         }},
        {"nested if",
         "vec4 c = sample(s, samplerCoord(s)); float t = 0.0; if (c.a > 0.35) { if (c.r < 0.2) t = 1.0; else "
         "t = 2.0; } return vec4(t);",
         [](const Px& c, double, int, int) {
             double t = 0;
             if (c[3] > 0.35) t = c[0] < 0.2 ? 1 : 2;
             return V4{t, t, t, t};
         }},
        {"ternary", "vec4 c = sample(s, samplerCoord(s)); return c.r < c.g ? c : c.gbra;",
         [](const Px& c, double, int, int) {
             return c[0] < c[1] ? c : V4{c[1], c[2], c[0], c[3]};
         }},
        {"early return",
         "vec4 c = sample(s, samplerCoord(s)); if (c.a < 0.2) return vec4(0.25); return c * 2.0;",
         [](const Px& c, double, int, int) {
             if (c[3] < 0.2) return V4{0.25, 0.25, 0.25, 0.25};
             return V4{c[0] * 2, c[1] * 2, c[2] * 2, c[3] * 2};
         }},
        {"locals and compound assignment",
         "vec4 c = sample(s, samplerCoord(s)); float t = c.r, u = 2.0; t += c.g; t *= 0.5; t -= p; t /= u; "
         "return vec4(t, u, c.ba);",
         [](const Px& c, double p, int, int) {
             return V4{((c[0] + c[1]) * 0.5 - p) / 2, 2, c[2], c[3]};
         }},
        {"logic",
         "vec4 c = sample(s, samplerCoord(s)); float t = (c.r > 0.3 && c.g < 0.6) || !(c.a != 0.0) ? 1.0 : "
         "0.0; return vec4(t, t == 1.0 ? 1.0 : 0.0, c.b <= 0.1 ? 1.0 : 0.0, c.b >= 0.1 ? 1.0 : 0.0);",
         [](const Px& c, double, int, int) {
             const double t = ((c[0] > 0.3 && c[1] < 0.6) || !(c[3] != 0)) ? 1 : 0;
             return V4{t, t, c[2] <= 0.1 ? 1.0 : 0.0, c[2] >= 0.1 ? 1.0 : 0.0};
         }},
        {"built-ins 1",
         "vec4 c = sample(s, samplerCoord(s)); return vec4(dot(c.rgb, vec3(0.3, 0.6, 0.1)), mix(c.r, c.g, "
         "p), clamp(c.b, 0.2, 0.4), step(0.5, c.a));",
         [](const Px& c, double p, int, int) {
             return V4{0.3 * c[0] + 0.6 * c[1] + 0.1 * c[2], c[0] + (c[1] - c[0]) * p, clampd(c[2], 0.2, 0.4),
                       c[3] < 0.5 ? 0.0 : 1.0};
         }},
        {"built-ins 2",
         "vec4 c = sample(s, samplerCoord(s)) * 3.0 - 1.0; return vec4(min(c.r, c.g) + max(c.b, 0.1), "
         "abs(c.r) + sign(c.g), floor(c.b) + ceil(c.a), fract(c.r) + mod(c.g, 0.7));",
         [](const Px& p, double, int, int) {
             const V4 c{p[0] * 3 - 1, p[1] * 3 - 1, p[2] * 3 - 1, p[3] * 3 - 1};
             return V4{std::min(c[0], c[1]) + std::max(c[2], 0.1),
                       std::abs(c[0]) + double((c[1] > 0) - (c[1] < 0)), std::floor(c[2]) + std::ceil(c[3]),
                       fract(c[0]) + (c[1] - 0.7 * std::floor(c[1] / 0.7))};
         }},
        {"built-ins 3",
         "vec4 c = abs(sample(s, samplerCoord(s))) + 0.1; return vec4(sqrt(c.r) + pow(c.g, 1.5), exp(c.b) - "
         "log(c.a), sin(c.r) * cos(c.g), smoothstep(0.2, 0.8, c.b));",
         [](const Px& p, double, int, int) {
             const V4 c{std::abs(p[0]) + 0.1, std::abs(p[1]) + 0.1, std::abs(p[2]) + 0.1,
                        std::abs(p[3]) + 0.1};
             return V4{std::sqrt(c[0]) + std::pow(c[1], 1.5), std::exp(c[2]) - std::log(c[3]),
                       std::sin(c[0]) * std::cos(c[1]), smooth(0.2, 0.8, c[2])};
         }},
        {"built-ins 4",
         "vec4 c = sample(s, samplerCoord(s)) + 0.2; vec2 n = normalize(c.rg); return vec4(length(c.rgb), "
         "distance(c.rg, vec2(0.5)), n);",
         [](const Px& p, double, int, int) {
             const V4 c{p[0] + 0.2, p[1] + 0.2, p[2] + 0.2, p[3] + 0.2};
             const double l = std::sqrt(c[0] * c[0] + c[1] * c[1]);
             return V4{std::sqrt(c[0] * c[0] + c[1] * c[1] + c[2] * c[2]), std::hypot(c[0] - 0.5, c[1] - 0.5),
                       c[0] / l, c[1] / l};
         }},
        {"compare, premultiply, unpremultiply",
         "vec4 c = sample(s, samplerCoord(s)); vec4 u = unpremultiply(c); return compare(u - 0.5, "
         "premultiply(u), vec4(0.1, 0.2, 0.3, 0.4));",
         [](const Px& c, double, int, int) {
             const double inv = c[3] > 0 ? 1 / c[3] : 0;
             const V4 u{c[0] * inv, c[1] * inv, c[2] * inv, c[3]};
             const V4 pm{u[0] * u[3], u[1] * u[3], u[2] * u[3], u[3]};
             const V4 other{0.1, 0.2, 0.3, 0.4};
             V4 o;
             for (int k = 0; k < 4; ++k) o[k] = u[k] - 0.5 < 0 ? pm[k] : other[k];
             return o;
         }},
        {"destCoord", "vec2 d = destCoord(); return vec4(fract(d / 7.0), d.x * 0.01, 1.0);",
         [](const Px&, double, int x, int y) {
             return V4{fract((x + 0.5) / 7), fract((y + 0.5) / 7), (x + 0.5) * 0.01, 1};
         }},
        {"samplerSize and samplerExtent",
         "vec4 e = samplerExtent(s); vec2 z = samplerSize(s); return vec4(e.x + 1.0, e.w, z.x * 0.01, z.y * "
         "0.01);",
         [](const Px&, double, int, int) {
             return V4{1, 19, 0.29, 0.19};
         }},
        {"sampling elsewhere",
         "vec2 q = samplerCoord(s) + vec2(2.0, -1.0); return sample(s, samplerTransform(s, destCoord()) * "
         "0.0 + q);",
         [](const Px&, double, int x, int y) {
             return Px{}; /* filled in below */
             (void)x, (void)y;
         },
         false},
        {"comments, several kernels",
         "/* the first kernel is the one used */ return sample(s, samplerCoord(s)) // keep it\n * 1.0; }\n "
         "kernel vec4 other(sampler s) { return vec4(1.0);",
         [](const Px& c, double, int, int) { return c; }},
    };
}

TEST(KernelLanguage, EachConstructAgainstItsReference) {
    const Image src = makeImage(29, 19, patternA);
    const PixelGrid grid = makeGrid(29, 19, patternA);
    for (const LangCase& c : langCases()) {
        SCOPED_TRACE(c.label);
        const std::string text = std::string("kernel vec4 k(sampler s, float p) {\n") + c.body + "\n}\n";
        std::string error;
        const auto kernels = Kernel::kernelsWithString(text, "Test", &error);
        ASSERT_FALSE(kernels.empty()) << error;
        EXPECT_EQ(kernels[0].program()->isPointWise(), c.pointWise);
        const Sampler s(src);
        const Image out = kernels[0].apply(
            s.extent(), {s, float(kP)}, {},
            c.pointWise ? Kernel::RegionOfInterest{} : [](int, const RectF& r) { return r.offsetBy(2, -1); });
        ASSERT_TRUE(out);
        const IntRect region{0, 0, 29, 19};
        eval::setTileSize(eval::kDefaultTileSize);
        const PixelGrid whole = renderGrid(out, region);
        for (int y = 0; y < 19; ++y)
            for (int x = 0; x < 29; ++x) {
                V4 want = std::string(c.label) == "sampling elsewhere" ? grid.bilinear(x + 2.5, y - 0.5)
                                                                       : c.reference(grid.at(x, y), kP, x, y);
                const Px got = whole.at(x, y);
                for (int k = 0; k < 4; ++k)
                    ASSERT_NEAR(got[k], want[k], 2e-5 * (1 + std::abs(want[k])))
                        << x << "," << y << " lane " << k;
            }
        TileCache::shared().clear();
        eval::setTileSize(8);
        EXPECT_EQ(renderGridInPieces(out, region, 5).px, whole.px);
        eval::setTileSize(eval::kDefaultTileSize);
    }
}

TEST(KernelLanguage, ErrorsNameResourceLineAndColumn) {
    struct Case {
        const char* text;
        const char* where;
        const char* message;
    } cases[] = {
        {"kernel vec4 k(sampler s) {\n  return sample(s, samplerCoord(s))\n}", "Bad:3:1", "expected ';'"},
        {"kernel vec4 k(sampler s) {\n  return frobnicate(1.0);\n}", "Bad:2:10",
         "unknown function 'frobnicate'"},
        {"kernel vec4 k(sampler s) {\n  return vec4(missing);\n}", "Bad:2:15", "'missing' is not declared"},
        {"kernel vec4 k(sampler s) {\n  vec3 v = vec2(1.0, 2.0);\n  return vec4(v, 1.0);\n}", "Bad:2:12",
         "cannot initialise a vec3"},
        {"kernel vec4 k(sampler s) {\n  return vec4(1.0) + vec3(1.0);\n}", "Bad:2:20", "cannot combine"},
        {"kernel vec4 k(sampler s) {\n  float f = 1.0;\n  return vec4(f.xyz, 1.0);\n}", "Bad:3:16", "beyond"},
        {"kernel vec4 k(sampler s) { /* never closed", "Bad:1:28", "comment is not closed"},
        {"kernel vec4 k(sampler s) { return vec4(1.0) # 2; }", "Bad:1:45", "unexpected character '#'"},
        {"kernel float k(sampler s) { return 1.0; }", "Bad:1:1", "must return vec4"},
        {"", "Bad:1:1", "no kernel"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        std::string error;
        EXPECT_TRUE(Kernel::kernelsWithString(c.text, "Bad", &error).empty());
        EXPECT_EQ(error.rfind(std::string(c.where) + ":", 0), 0u) << error;
        EXPECT_NE(error.find(c.message), std::string::npos) << error;
    }
}

// Every way a script can be wrong is refused with its own reason, on the line where the mistake
// is, and nothing is compiled: a kernel that half-compiled would draw garbage instead of failing.
TEST(KernelLanguage, EachMistakeIsRefusedWithItsReason) {
    struct Case {
        const char* text; // a whole script, or the body of kernel vec4 k(sampler s, float p) { ... }
        int line;
        const char* reason;
    } cases[] = {
        // The kernel's outline.
        {"vec4 k(sampler s) { return vec4(1.0); }", 1, "expected 'kernel'"},
        {"kernel k(sampler s) { return vec4(1.0); }", 1, "expected the kernel's result type"},
        {"kernel vec4 (sampler s) { return vec4(1.0); }", 1, "expected the kernel's name"},
        {"kernel vec4 k(image s) { return vec4(1.0); }", 1, "expected a parameter type"},
        {"kernel vec4 k(sampler) { return vec4(1.0); }", 1, "expected a parameter name"},
        {"kernel vec4 k(sampler s, float p, float p) { return vec4(p); }", 1,
         "parameter 'p' is declared twice"},
        {"kernel vec4 k(sampler s) {\n  return vec4(1.0);\n", 3, "expected '}'"},
        // Statements.
        {"float a = 1.0, = 2.0; return vec4(a);", 2, "expected a variable name"},
        {"sampler t; return vec4(1.0);", 2, "samplers cannot be declared inside a kernel"},
        {"float v = 1.0; float v = 2.0; return vec4(v);", 2, "'v' is already declared here"},
        {"if (vec2(1.0, 0.0)) return vec4(1.0); return vec4(0.0);", 2,
         "an if condition must be a single value"},
        {"return vec2(1.0, 0.0);", 2, "a kernel returns a vec4, not a vec2"},
        {"q = 1.0; return vec4(1.0);", 2, "'q' is not declared"},
        {"s = 1.0; return vec4(1.0);", 2, "a sampler cannot be assigned"},
        {"vec2 v; v = vec3(1.0); return vec4(v, 0.0, 1.0);", 2, "the value has 3 components, the target 2"},
        // Components.
        {"vec4 c = vec4(1.0); return c.xq;", 2, "'xq' is not a swizzle"},
        {"vec4 c = vec4(1.0); return c.xyzwx;", 2, "'xyzwx' is not a swizzle"},
        {"return s.xyzw;", 2, "a sampler has no components"},
        {"return s.;", 2, "expected components after '.'"},
        // Calls.
        {"return vec4(s);", 2, "a sampler is not a number"},
        {"return vec4(vec3(1.0, 2.0), 1.0);", 2, "vec3 needs 3 components, not 2"},
        {"return vec4(min(vec2(1.0), vec3(1.0)), 1.0);", 2,
         "'min' cannot combine values of 2 and 3 components"},
        {"return vec4(sin(1.0, 2.0));", 2, "'sin' takes 1 argument"},
        {"return vec4(clamp(1.0));", 2, "'clamp' takes 3 arguments"},
        {"return sample(p, destCoord());", 2, "'sample' needs a sampler"},
        {"return sample(s, samplerTransform(s, vec3(1.0)));", 2, "samplerTransform needs a vec2"},
        {"return sample(s, vec3(1.0));", 2, "sample needs a vec2 coordinate"},
        {"return vec4(dot(vec2(1.0), vec3(1.0)));", 2, "dot needs two values of one size"},
        {"return vec4(distance(vec2(1.0), vec3(1.0)));", 2, "distance needs two values of one size"},
        {"return premultiply(vec3(1.0));", 2, "premultiply needs a vec4"},
        // Operators.
        {"return -s;", 2, "a sampler is not a number"},
        {"return vec4(s + 1.0);", 2, "a sampler is not a number"},
        {"return vec4(!vec2(1.0), 0.0, 1.0);", 2, "'!' needs a single value"},
        {"return vec4(vec2(1.0) < vec2(2.0), 0.0, 1.0);", 2, "comparisons and logic take single values"},
        {"return vec2(1.0, 0.0) ? vec4(1.0) : vec4(0.0);", 2, "the condition of ?: must be a single value"},
        {"return p > 0.0 ? s : vec4(0.0);", 2, "a sampler is not a number"},
        {"return vec4(1.0 + );", 2, "unexpected ')'"},
        {"kernel vec4 k(sampler s) {\n  return vec4(1.0 +", 2, "unexpected end of text"},
    };
    for (const Case& c : cases) {
        const std::string text =
            std::string_view(c.text).starts_with("kernel") || std::string_view(c.text).starts_with("vec4 k")
                ? std::string(c.text)
                : std::string("kernel vec4 k(sampler s, float p) {\n") + c.text + "\n}";
        SCOPED_TRACE(text);
        std::string error;
        EXPECT_TRUE(Kernel::kernelsWithString(text, "Bad", &error).empty());
        EXPECT_EQ(error.rfind("Bad:" + std::to_string(c.line) + ":", 0), 0u) << error;
        EXPECT_NE(error.find(c.reason), std::string::npos) << error;
    }
}

// The editor runs in the desktop's locale, and many write a decimal comma: a kernel's "0.5" is still a
// half there. The locale is made for the test, as a desktop in that language has it installed.
TEST(KernelLanguage, NumbersReadTheSameInADecimalCommaLocale) {
    char folder[] = "/tmp/pimavo-locale-XXXXXX";
    ASSERT_TRUE(::mkdtemp(folder));
    const std::string dir = folder;
    if (std::system(("localedef -i de_DE -f UTF-8 '" + dir + "/de_DE.UTF-8' 2>/dev/null").c_str()) != 0)
        GTEST_SKIP() << "skipped: localedef could not make a German locale";
    const std::string before = std::setlocale(LC_NUMERIC, nullptr);
    ::setenv("LOCPATH", dir.c_str(), 1);
    ASSERT_TRUE(std::setlocale(LC_NUMERIC, "de_DE.UTF-8"));
    EXPECT_EQ(std::strtod("0.5", nullptr), 0.0); // the locale really reads a comma
    const auto k =
        Kernel::kernelsWithString("kernel vec4 k(sampler s) { return vec4(0.5, 0.25, 1.25e-1, 1.0); }");
    std::setlocale(LC_NUMERIC, before.c_str());
    ::unsetenv("LOCPATH");
    std::system(("rm -rf '" + dir + "'").c_str());
    ASSERT_FALSE(k.empty());
    const Image src = makeImage(2, 2, patternA);
    const Sampler s(src);
    const PixelGrid g = renderGrid(k[0].apply(s.extent(), {s}), {0, 0, 2, 2});
    EXPECT_EQ(g.at(1, 1), (Px{0.5, 0.25, 0.125, 1}));
}

TEST(KernelLanguage, MissingArgumentsAndUnsetParametersAreSafe) {
    const auto k =
        Kernel::kernelsWithString("kernel vec4 k(sampler s, float a, vec2 b) { return vec4(a, b, 1.0); }");
    ASSERT_FALSE(k.empty());
    const Image src = makeImage(4, 4, patternA);
    const Sampler s(src);
    // Arguments the caller does not pass read as 0.
    const PixelGrid g = renderGrid(k[0].apply(s.extent(), {s, 0.5f}), {0, 0, 4, 4});
    EXPECT_EQ(g.at(1, 1), (Px{0.5, 0, 0, 1}));
}

} // namespace
} // namespace pimavo::test
