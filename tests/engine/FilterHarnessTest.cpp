// Every built-in operation against a scalar reference written from the operations' definitions,
// on small synthetic images with signed values and transparent pixels; then the same picture
// rendered in small pieces with a small tile grid must be identical to the whole.
#include "EngineTestSupport.h"
#include "engine/Evaluator.h"
#include "engine/TileCache.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <optional>
#include <set>

namespace pimavo::test {
namespace {

Px unpremul(const Px& p) {
    const double d = std::max(p[3], 1e-5);
    return {p[0] / d, p[1] / d, p[2] / d, p[3]};
}
Px premul(const Px& c) {
    return {c[0] * c[3], c[1] * c[3], c[2] * c[3], c[3]};
}

PixelGrid shifted(PixelGrid g, int dx, int dy) {
    g.rect = g.rect.offsetBy(dx, dy);
    return g;
}

struct Inputs {
    Image A = makeImage(29, 19, patternA);
    PixelGrid gA = makeGrid(29, 19, patternA);
    Image B = makeImage(23, 27, patternB).imageByApplyingTransform(Transform2D::translation(5, -4));
    PixelGrid gB = shifted(makeGrid(23, 27, patternB), 5, -4);
    Image M = makeImage(21, 17, patternMask).imageByApplyingTransform(Transform2D::translation(3, 2));
    PixelGrid gM = shifted(makeGrid(21, 17, patternMask), 3, 2);
};

const Inputs& inputs() {
    static const Inputs in;
    return in;
}

struct Case {
    std::string label;
    std::function<Image()> build;
    std::function<Px(int x, int y)> reference;
    RectF expectedExtent;
    double tolerance = 2e-5;
};

Image apply(const char* name, std::initializer_list<std::pair<const char*, OperationValue>> values) {
    auto f = Operation::filterWithName(name);
    if (!f) return {};
    for (const auto& [k, v] : values) f->setValue(k, v);
    return f->outputImage();
}

Px matrixRef(const Px& p, const double m[4][4], const double bias[4]) {
    const Px c = unpremul(p);
    Px o;
    for (int r = 0; r < 4; ++r)
        o[r] = m[r][0] * c[0] + m[r][1] * c[1] + m[r][2] * c[2] + m[r][3] * c[3] + bias[r];
    return premul(o);
}

Px controlsRef(const Px& p, double sat, double bri, double con) {
    const Px c = unpremul(p);
    const double Y = 0.2125 * c[0] + 0.7154 * c[1] + 0.0721 * c[2];
    Px o;
    for (int k = 0; k < 3; ++k) o[k] = ((Y + sat * (c[k] - Y)) - 0.5) * con + 0.5 + bri;
    o[3] = c[3];
    return premul(o);
}

Px hueRef(const Px& p, double angle) {
    const Px c = unpremul(p);
    const double C = std::cos(angle), S = std::sin(angle);
    const double r = c[0], g = c[1], b = c[2];
    return premul({(0.2125 + 0.7875 * C - 0.2125 * S) * r + (0.7154 - 0.7154 * C - 0.7154 * S) * g +
                       (0.0721 - 0.0721 * C + 0.9279 * S) * b,
                   (0.2125 - 0.2125 * C + 0.1424867 * S) * r + (0.7154 + 0.2846 * C + 0.1404 * S) * g +
                       (0.0721 - 0.0721 * C - 0.2828867 * S) * b,
                   (0.2125 - 0.2125 * C - 0.7875 * S) * r + (0.7154 - 0.7154 * C + 0.7154 * S) * g +
                       (0.0721 + 0.9279 * C + 0.0721 * S) * b,
                   c[3]});
}

Px sepiaRef(const Px& p, double intensity) {
    const Px c = unpremul(p);
    const double k = 1 - std::clamp(intensity, 0.0, 1.0);
    const double r = c[0], g = c[1], b = c[2];
    return premul({(0.393 + 0.607 * k) * r + (0.769 - 0.769 * k) * g + (0.189 - 0.189 * k) * b,
                   (0.349 - 0.349 * k) * r + (0.686 + 0.314 * k) * g + (0.168 - 0.168 * k) * b,
                   (0.272 - 0.272 * k) * r + (0.534 - 0.534 * k) * g + (0.131 + 0.869 * k) * b, c[3]});
}

Px blendRef(const Px& S, const Px& D, bool overlay) {
    const Px s = unpremul(S), d = unpremul(D);
    Px o;
    for (int k = 0; k < 3; ++k) {
        double B = overlay ? (d[k] <= 0.5 ? 2 * s[k] * d[k] : 1 - 2 * (1 - s[k]) * (1 - d[k])) : s[k] * d[k];
        B = std::clamp(B, 0.0, 1.0);
        o[k] = B * S[3] * D[3] + S[k] * (1 - D[3]) + D[k] * (1 - S[3]);
    }
    o[3] = S[3] + D[3] - S[3] * D[3];
    return o;
}

// Separable Gaussian with pixel-integrated weights, radius ceil(3σ), transparent outside.
std::function<Px(int, int)> blurRef(const PixelGrid& g, double sigma) {
    const int R = int(std::ceil(3 * sigma));
    std::vector<double> w(2 * R + 1);
    double sum = 0;
    for (int k = -R; k <= R; ++k) {
        w[k + R] = 0.5 * (std::erf((k + 0.5) / (sigma * std::sqrt(2.0))) -
                          std::erf((k - 0.5) / (sigma * std::sqrt(2.0))));
        sum += w[k + R];
    }
    for (double& v : w) v /= sum;
    return [g, w, R](int x, int y) {
        Px o{0, 0, 0, 0};
        for (int j = -R; j <= R; ++j)
            for (int i = -R; i <= R; ++i) {
                const Px p = g.at(x + i, y + j);
                for (int c = 0; c < 4; ++c) o[c] += w[i + R] * w[j + R] * p[c];
            }
        return o;
    };
}

// Average of the grid over the box [x0, x1) × [y0, y1), partial pixels weighted by their overlap.
Px areaAverage(const PixelGrid& g, double x0, double x1, double y0, double y1) {
    Px o{0, 0, 0, 0};
    for (int j = int(std::floor(y0)); j < int(std::ceil(y1)); ++j)
        for (int i = int(std::floor(x0)); i < int(std::ceil(x1)); ++i) {
            const double wx = std::min<double>(i + 1, x1) - std::max<double>(i, x0);
            const double wy = std::min<double>(j + 1, y1) - std::max<double>(j, y0);
            const Px p = g.at(i, j);
            for (int c = 0; c < 4; ++c) o[c] += wx * wy * p[c];
        }
    const double area = (x1 - x0) * (y1 - y0);
    for (double& v : o) v /= area;
    return o;
}

std::vector<Case> cases() {
    const Inputs& in = inputs();
    const RectF eA = in.A.extent();
    std::vector<Case> c;

    static const double kM[4][4] = {
        {0.5, 0.2, -0.3, 0.1}, {0, 1.2, 0, 0}, {0.1, 0.1, 0.7, 0}, {0, 0.2, 0, 0.8}};
    static const double kBias[4] = {0.05, -0.1, 0.2, 0.1};
    c.push_back({"color-matrix, alpha changed",
                 [&] {
                     return apply("color-matrix", {{"inputImage", in.A},
                                                   {"inputRVector", Vec4(0.5, 0.2, -0.3, 0.1)},
                                                   {"inputGVector", Vec4(0, 1.2, 0, 0)},
                                                   {"inputBVector", Vec4(0.1, 0.1, 0.7, 0)},
                                                   {"inputAVector", Vec4(0, 0.2, 0, 0.8)},
                                                   {"inputBiasVector", Vec4(0.05, -0.1, 0.2, 0.1)}});
                 },
                 [&](int x, int y) {
                     return in.gA.rect.contains(x, y) ? matrixRef(in.gA.at(x, y), kM, kBias) : Px{};
                 },
                 eA, 1e-4});
    static const double kM2[4][4] = {{0.3, 0.6, 0.1, 0}, {-0.2, 1, 0.4, 0}, {0, 0, 2, 0}, {0, 0, 0, 1}};
    static const double kBias2[4] = {0.1, 0, -0.05, 0};
    c.push_back({"color-matrix, alpha kept",
                 [&] {
                     return apply("color-matrix", {{"inputImage", in.A},
                                                   {"inputRVector", Vec4(0.3, 0.6, 0.1, 0)},
                                                   {"inputGVector", Vec4(-0.2, 1, 0.4, 0)},
                                                   {"inputBVector", Vec4(0, 0, 2, 0)},
                                                   {"inputBiasVector", Vec4(0.1, 0, -0.05, 0)}});
                 },
                 [&](int x, int y) {
                     return in.gA.rect.contains(x, y) ? matrixRef(in.gA.at(x, y), kM2, kBias2) : Px{};
                 },
                 eA});
    for (double ev : {0.7, -1.3}) {
        c.push_back({"exposure-adjust " + std::to_string(ev),
                     [&, ev] {
                         return apply("exposure-adjust", {{"inputImage", in.A}, {"inputEV", ev}});
                     },
                     [&, ev](int x, int y) {
                         Px p = in.gA.at(x, y);
                         for (int k = 0; k < 3; ++k) p[k] *= std::pow(2.0, ev);
                         return p;
                     },
                     eA});
    }
    // Named, not bound: clang before 16 cannot capture a structured binding.
    for (const auto& t :
         {std::tuple{0.4, 0.05, 1.3}, std::tuple{0.0, 0.0, 1.0}, std::tuple{1.7, -0.2, 0.6}}) {
        const double s = std::get<0>(t), b = std::get<1>(t), k = std::get<2>(t);
        c.push_back({"color-controls",
                     [&, s, b, k] {
                         return apply("color-controls", {{"inputImage", in.A},
                                                         {"inputSaturation", s},
                                                         {"inputBrightness", b},
                                                         {"inputContrast", k}});
                     },
                     [&, s, b, k](int x, int y) {
                         return in.gA.rect.contains(x, y) ? controlsRef(in.gA.at(x, y), s, b, k) : Px{};
                     },
                     eA});
    }
    c.push_back({"hue-adjust",
                 [&] {
                     return apply("hue-adjust", {{"inputImage", in.A}, {"inputAngle", 1.1}});
                 },
                 [&](int x, int y) { return in.gA.rect.contains(x, y) ? hueRef(in.gA.at(x, y), 1.1) : Px{}; },
                 eA});
    for (double k : {0.6, 1.5}) {
        c.push_back(
            {"sepia-tone " + std::to_string(k),
             [&, k] {
                 return apply("sepia-tone", {{"inputImage", in.A}, {"inputIntensity", k}});
             },
             [&, k](int x, int y) { return in.gA.rect.contains(x, y) ? sepiaRef(in.gA.at(x, y), k) : Px{}; },
             eA});
    }
    c.push_back({"color-invert",
                 [&] {
                     return apply("color-invert", {{"inputImage", in.A}});
                 },
                 [&](int x, int y) {
                     const Px p = in.gA.at(x, y);
                     return Px{p[3] - p[0], p[3] - p[1], p[3] - p[2], p[3]};
                 },
                 eA});
    c.push_back({"adjustment chain folded into one pass",
                 [&] {
                     Image i = apply("exposure-adjust", {{"inputImage", in.A}, {"inputEV", 0.5}});
                     i = apply("color-controls", {{"inputImage", i},
                                                  {"inputSaturation", 1.4},
                                                  {"inputBrightness", 0.02},
                                                  {"inputContrast", 1.2}});
                     return apply("hue-adjust", {{"inputImage", i}, {"inputAngle", -0.8}});
                 },
                 [&](int x, int y) {
                     if (!in.gA.rect.contains(x, y)) return Px{};
                     Px p = in.gA.at(x, y);
                     for (int k = 0; k < 3; ++k) p[k] *= std::pow(2.0, 0.5);
                     return hueRef(controlsRef(p, 1.4, 0.02, 1.2), -0.8);
                 },
                 eA, 1e-4});

    c.push_back({"blend-with-mask",
                 [&] {
                     return apply(
                         "blend-with-mask",
                         {{"inputImage", in.A}, {"inputBackgroundImage", in.B}, {"inputMaskImage", in.M}});
                 },
                 [&](int x, int y) {
                     const double m = in.gM.at(x, y)[1];
                     const Px f = in.gA.at(x, y), b = in.gB.at(x, y);
                     Px o;
                     for (int k = 0; k < 4; ++k) o[k] = b[k] * (1 - m) + f[k] * m;
                     return o;
                 },
                 eA.intersection(in.M.extent()).unionWith(in.B.extent())});
    // A black-and-white background (a matrix whose rows are alike) is blended from one lane where
    // it is opaque; its right-hand columns are translucent and take the four-lane path.
    auto photo = [](int x, int y) {
        const double a = x >= 16 ? 0.5 : 1.0;
        return Px{(0.3 + 0.02 * x) * a, (0.7 - 0.015 * y) * a, (0.2 + 0.01 * (x + y)) * a, a};
    };
    c.push_back(
        {"blend-with-mask over black and white",
         [&, photo] {
             const Image mono = apply("color-controls",
                                      {{"inputImage", makeImage(23, 27, photo)}, {"inputSaturation", 0.0}});
             return apply("blend-with-mask",
                          {{"inputImage", in.A}, {"inputBackgroundImage", mono}, {"inputMaskImage", in.M}});
         },
         [&, photo](int x, int y) {
             const IntRect e{0, 0, 23, 27};
             const Px b = e.contains(x, y) ? controlsRef(photo(x, y), 0, 0, 1) : Px{};
             const double m = in.gM.at(x, y)[1];
             const Px f = in.gA.at(x, y);
             Px o;
             for (int k = 0; k < 4; ++k) o[k] = b[k] * (1 - m) + f[k] * m;
             return o;
         },
         eA.intersection(in.M.extent()).unionWith(RectF(0, 0, 23, 27)), 1e-4});
    for (bool overlay : {false, true}) {
        c.push_back({overlay ? "overlay-blend" : "multiply-blend",
                     [&, overlay] {
                         return apply(overlay ? "overlay-blend" : "multiply-blend",
                                      {{"inputImage", in.A}, {"inputBackgroundImage", in.B}});
                     },
                     [&, overlay](int x, int y) { return blendRef(in.gA.at(x, y), in.gB.at(x, y), overlay); },
                     eA.unionWith(in.B.extent()), 1e-4});
    }
    c.push_back({"source-over",
                 [&] {
                     return apply("source-over", {{"inputImage", in.A}, {"inputBackgroundImage", in.B}});
                 },
                 [&](int x, int y) {
                     const Px s = in.gA.at(x, y), d = in.gB.at(x, y);
                     Px o;
                     for (int k = 0; k < 4; ++k) o[k] = s[k] + d[k] * (1 - s[3]);
                     return o;
                 },
                 eA.unionWith(in.B.extent())});
    c.push_back({"source-in",
                 [&] {
                     return apply("source-in", {{"inputImage", in.A}, {"inputBackgroundImage", in.B}});
                 },
                 [&](int x, int y) {
                     const Px s = in.gA.at(x, y), d = in.gB.at(x, y);
                     return Px{s[0] * d[3], s[1] * d[3], s[2] * d[3], s[3] * d[3]};
                 },
                 eA.intersection(in.B.extent())});
    c.push_back({"constant-color",
                 [] {
                     return apply("constant-color", {{"inputColor", Rgba{0.2, 0.4, 0.6, 0.5}}});
                 },
                 [](int, int) {
                     return Px{0.1, 0.2, 0.3, 0.5};
                 },
                 RectF::infinite()});
    c.push_back({"checkerboard",
                 [] {
                     return apply("checkerboard", {{"inputCenter", Vec4(3, 4)},
                                                   {"inputColor0", Rgba{1, 0, 0, 1}},
                                                   {"inputColor1", Rgba{0, 0, 1, 0.5}},
                                                   {"inputWidth", 5.0}});
                 },
                 [](int x, int y) {
                     const long i = long(std::floor((x + 0.5 - 3) / 5)),
                                j = long(std::floor((y + 0.5 - 4) / 5));
                     return ((i + j) & 1) ? Px{0, 0, 0.5, 0.5} : Px{1, 0, 0, 1};
                 },
                 RectF::infinite()});
    for (double sigma : {0.9, 2.6, 4.5, 7.0}) {
        c.push_back({"gaussian-blur " + std::to_string(sigma),
                     [&, sigma] {
                         return apply("gaussian-blur", {{"inputImage", in.A}, {"inputRadius", sigma}});
                     },
                     blurRef(in.gA, sigma), eA.insetBy(-std::ceil(3 * sigma), -std::ceil(3 * sigma)),
                     // The recursive filter approximates the Gaussian; the convolution is exact.
                     sigma < 3 ? 2e-5 : 1e-3});
    }
    c.push_back({"gaussian-blur of radius 0.1 is the input",
                 [&] {
                     return apply("gaussian-blur", {{"inputImage", in.A}, {"inputRadius", 0.1}});
                 },
                 [&](int x, int y) { return in.gA.at(x, y); }, eA});
    {
        const Transform2D t = Transform2D::scale(1.7, 0.8).concat(Transform2D::translation(2.5, -3));
        c.push_back({"affine-transform scale",
                     [&, t] {
                         return apply("affine-transform", {{"inputImage", in.A}, {"inputTransform", t}});
                     },
                     [&, t](int x, int y) {
                         const PointF p = t.inverted().apply({x + 0.5, y + 0.5});
                         return in.gA.bilinear(p.x, p.y);
                     },
                     eA.applying(t)});
    }
    {
        const Transform2D t = Transform2D::rotation(0.4).concat(Transform2D::scale(1.2, 1.2));
        c.push_back({"affine-transform rotation",
                     [&, t] {
                         return apply("affine-transform", {{"inputImage", in.A}, {"inputTransform", t}});
                     },
                     [&, t](int x, int y) {
                         const PointF p = t.inverted().apply({x + 0.5, y + 0.5});
                         return in.gA.bilinear(p.x, p.y);
                     },
                     eA.applying(t), 1e-4});
    }
    {
        const Transform2D t{0, 1, -1, 0, 19, 0}; // a quarter turn onto whole pixels
        c.push_back({"affine-transform quarter turn",
                     [&, t] {
                         return apply("affine-transform", {{"inputImage", in.A}, {"inputTransform", t}});
                     },
                     [&](int x, int y) { return in.gA.at(y, 18 - x); }, RectF(0, 0, 19, 29)});
    }
    {
        const double sx = 0.3, sy = 0.45, tx = 1.25, ty = 0;
        const Transform2D t{sx, 0, 0, sy, tx, ty};
        c.push_back({"affine-transform shrink averages the area",
                     [&, t] {
                         return apply("affine-transform", {{"inputImage", in.A}, {"inputTransform", t}});
                     },
                     [&, sx, sy, tx, ty](int x, int y) {
                         return areaAverage(in.gA, (x - tx) / sx, (x + 1 - tx) / sx, (y - ty) / sy,
                                            (y + 1 - ty) / sy);
                     },
                     eA.applying(t), 1e-5});
    }
    c.push_back({"pixellate",
                 [&] {
                     return apply("pixellate",
                                  {{"inputImage", in.A}, {"inputCenter", Vec4(2, 3)}, {"inputScale", 4.0}});
                 },
                 [&](int x, int y) {
                     const double qx = 2 + 4 * std::floor((x + 0.5 - 2) / 4 + 0.5);
                     const double qy = 3 + 4 * std::floor((y + 0.5 - 3) / 4 + 0.5);
                     return in.gA.bilinear(qx, qy);
                 },
                 RectF(-2, -2, 33, 23)});
    c.push_back({"crop", [&] { return in.A.imageByCroppingToRect(RectF(3, 2, 10.4, 7)); },
                 [&](int x, int y) {
                     return IntRect{3, 2, 13, 9}.contains(x, y) ? in.gA.at(x, y) : Px{};
                 },
                 RectF(3, 2, 10.4, 7)});
    return c;
}

void PrintTo(const Case& c, std::ostream* os) {
    *os << c.label;
}

class FilterHarness : public ::testing::TestWithParam<Case> {
protected:
    void TearDown() override { eval::setTileSize(eval::kDefaultTileSize); }
};

TEST_P(FilterHarness, MatchesReferenceAndRendersIdenticallyInTiles) {
    const Case& tc = GetParam();
    const Image image = tc.build();
    ASSERT_TRUE(image) << "no image";
    const RectF e = image.extent();
    if (tc.expectedExtent.isInfinite()) {
        EXPECT_TRUE(e.isInfinite()) << e.description();
    } else {
        EXPECT_NEAR(e.minX(), tc.expectedExtent.minX(), 1e-9);
        EXPECT_NEAR(e.minY(), tc.expectedExtent.minY(), 1e-9);
        EXPECT_NEAR(e.width(), tc.expectedExtent.width(), 1e-9);
        EXPECT_NEAR(e.height(), tc.expectedExtent.height(), 1e-9);
    }
    // Compare beyond the extent too: everything outside must be transparent.
    const IntRect region = e.isInfinite() ? IntRect{-7, -5, 33, 24} : IntRect::enclosing(e).grownBy(3, 3);

    eval::setTileSize(eval::kDefaultTileSize);
    const PixelGrid whole = renderGrid(image, region);
    int failures = 0;
    for (int y = region.y0; y < region.y1 && failures < 5; ++y) {
        for (int x = region.x0; x < region.x1 && failures < 5; ++x) {
            // Outside its extent an image is transparent, whatever the formula gives there.
            const bool inside = e.isInfinite() || IntRect::covering(e).contains(x, y);
            const Px want = inside ? tc.reference(x, y) : Px{0, 0, 0, 0};
            const Px got = whole.at(x, y);
            for (int k = 0; k < 4; ++k) {
                if (std::abs(got[k] - want[k]) > tc.tolerance * (1 + std::abs(want[k]))) {
                    ADD_FAILURE() << "pixel (" << x << ", " << y << ") channel " << k << ": got " << got[k]
                                  << ", want " << want[k];
                    ++failures;
                    break;
                }
            }
        }
    }

    // Small tiles and pieces exercise every region-of-interest computation.
    TileCache::shared().clear();
    eval::setTileSize(8);
    const PixelGrid pieces = renderGridInPieces(image, region, 7);
    EXPECT_EQ(pieces.px, whole.px) << "rendering in tiles changed pixels";
}

INSTANTIATE_TEST_SUITE_P(Builtins, FilterHarness, ::testing::ValuesIn(cases()),
                         [](const ::testing::TestParamInfo<Case>& test) {
                             std::string s = std::to_string(test.index) + "_" + test.param.label;
                             for (char& ch : s)
                                 if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
                             return s;
                         });

// Every registered operation has at least one case above (labelled by its name or former name).
TEST(FilterHarness, CoversEveryRegisteredOperation) {
    std::set<std::string> covered;
    for (const Case& c : cases())
        for (const std::string& name : Operation::filterNames()) {
            std::vector<std::string> names = Operation::attributesForName(name)->formerNames;
            names.push_back(name);
            for (const std::string& n : names)
                if (c.label.rfind(n, 0) == 0) covered.insert(name);
        }
    for (const std::string& name : Operation::filterNames()) EXPECT_TRUE(covered.contains(name)) << name;
}

// Turning the hue moves colours round the grey axis: a grey, at either depth a photo has, comes
// back as exactly the same grey at every angle.
TEST(HueAdjust, LeavesGreysExactlyGrey) {
    const double angles[] = {M_PI / 2, -M_PI / 2, M_PI / 4, 3.0, -3.14, 1.1};
    const double greys[] = {1.0, 0.5, 128.0 / 255, 1.0 / 65535, 40000.0 / 65535, 0.0};
    for (double angle : angles) {
        for (int bits : {8, 16}) {
            const double maxv = bits == 8 ? 255 : 65535;
            const Image in = makeImage(int(std::size(greys)), 1, [&](int x, int) {
                const double v = std::round(greys[x] * maxv) / maxv;
                return Px{v, v, v, 1};
            });
            auto f = filter("hue-adjust");
            f->setValue("inputImage", in);
            f->setValue("inputAngle", angle);
            const auto bitmap = Renderer().createBitmap(f->outputImage(), bits);
            ASSERT_TRUE(bitmap);
            for (int x = 0; x < int(std::size(greys)); ++x) {
                const long want = std::lround(greys[x] * maxv);
                long got[3];
                for (int k = 0; k < 3; ++k) {
                    // 8-bit rows are XRGB, 16-bit rows RGBX.
                    got[k] = bits == 8 ? long(reinterpret_cast<const uint8_t*>(bitmap->row(0))[x * 4 + 1 + k])
                                       : long(reinterpret_cast<const uint16_t*>(bitmap->row(0))[x * 4 + k]);
                }
                EXPECT_TRUE(got[0] == want && got[1] == want && got[2] == want)
                    << "angle " << angle << ", " << bits << " bits, grey " << want << ": got " << got[0]
                    << ", " << got[1] << ", " << got[2];
            }
        }
    }
}

} // namespace
} // namespace pimavo::test
