// Colour adjustments: every one of them is an affine map of the unpremultiplied colour, so they
// share one node, and consecutive adjustments fold into a single matrix when they are built.
//
// With the alpha row the identity, premul(M · unpremul(p) + bias) = M · p + a · bias, which needs no
// division and is linear in the premultiplied pixel; that is what makes folding exact.
#include "../SpanOps.h"
#include "Builtins.h"
#include "Nodes.h"

#include <algorithm>
#include <cmath>

namespace pimavo {

namespace {

bool alphaIsIdentity(const ColorMatrix& m) {
    return m.m[3] == std::array<float, 4>{0, 0, 0, 1} && m.bias[3] == 0 && m.m[0][3] == 0 && m.m[1][3] == 0 &&
           m.m[2][3] == 0;
}

// a after b: (a ∘ b)(p) = a.M (b.M p + b.bias) + a.bias
ColorMatrix compose(const ColorMatrix& a, const ColorMatrix& b) {
    ColorMatrix out;
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            double s = 0;
            for (int k = 0; k < 4; ++k) s += double(a.m[r][k]) * b.m[k][c];
            out.m[r][c] = float(s);
        }
        double bias = a.bias[r];
        for (int k = 0; k < 4; ++k) bias += double(a.m[r][k]) * b.bias[k];
        out.bias[r] = float(bias);
    }
    return out;
}

class ColorMatrixNode final : public PointWiseNode {
public:
    ColorMatrixNode(NodeRef input, const ColorMatrix& m)
        : PointWiseNode(input->extent(), {input}), m_(m), alphaIdentity_(alphaIsIdentity(m)) {
        for (int r = 0; r < 4; ++r)
            for (int c = 0; c < 4; ++c) {
                m4_[4 * r + c] = m.m[r][c];
                if (r < 3 && c < 3) m3_[3 * r + c] = m.m[r][c];
            }
        for (int r = 0; r < 3; ++r) bias3_[r] = m.bias[r];
        greyRows_ = alphaIdentity_ && std::equal(m3_, m3_ + 3, m3_ + 3) &&
                    std::equal(m3_, m3_ + 3, m3_ + 6) && bias3_[0] == bias3_[1] && bias3_[0] == bias3_[2];
    }

    const char* name() const override { return "colour matrix"; }
    const ColorMatrix& matrix() const { return m_; }
    bool alphaIdentity() const { return alphaIdentity_; }

    void evalSpan(const SpanPos& pos, std::span<const SpanBuffer* const> in, SpanBuffer& out) const override {
        // A matrix that turns opaque colour into grey (a black-and-white background) hands on one
        // lane where the span is opaque.
        if (greyRows_ && spanops::matrixToGrey(*in[0], out.r, pos.n, m3_, bias3_[0])) {
            out.opaqueGrey = true;
            return;
        }
        if (alphaIdentity_)
            spanops::matrixPremultiplied(*in[0], out, pos.n, m3_, bias3_);
        else
            spanops::matrixUnpremultiplied(*in[0], out, pos.n, m4_, m_.bias.data());
    }

private:
    ColorMatrix m_;
    bool alphaIdentity_, greyRows_;
    float m3_[9], bias3_[3], m4_[16];
};

ColorMatrix rgbMatrix(const double rows[3][3], const double bias[3] = nullptr) {
    ColorMatrix m;
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) m.m[r][c] = float(rows[r][c]);
        m.bias[r] = bias ? float(bias[r]) : 0.0f;
    }
    return m;
}

Image applyMatrix(const Image& image, const ColorMatrix& m) {
    if (!image) return {};
    return Image(makeColorMatrixNode(image.node(), m));
}

ColorMatrix colorControls(double saturation, double brightness, double contrast) {
    const double Y[3] = {0.2125, 0.7154, 0.0721};
    double rows[3][3];
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) rows[r][c] = contrast * (saturation * (r == c) + (1 - saturation) * Y[c]);
    const double b = 0.5 * (1 - contrast) + brightness;
    const double bias[3] = {b, b, b};
    return rgbMatrix(rows, bias);
}

// A turn of the colour wheel about the grey axis that keeps luminance: (cos, sin) mix the chroma
// planes, and the green row's sine terms are whatever keeps the luma-weighted columns at the luma
// weights. Each row's terms then sum to 1 with no sine or cosine left over, so greys stay grey; the
// diagonal is taken as 1 minus the rest, after rounding to single precision, so that the row sums
// stay 1 in the floats the pixels are computed with.
ColorMatrix hueRotation(double angle) {
    const double C = std::cos(angle), S = std::sin(angle);
    const double Y[3] = {0.2125, 0.7154, 0.0721};
    const double sRed[3] = {-Y[0], -Y[1], 1 - Y[2]}, sBlue[3] = {-(1 - Y[0]), Y[1], Y[2]};
    double sGreen[3];
    for (int c = 0; c < 3; ++c) sGreen[c] = -(Y[0] * sRed[c] + Y[2] * sBlue[c]) / Y[1];
    const double* sines[3] = {sRed, sGreen, sBlue};
    ColorMatrix m;
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c)
            if (c != r) m.m[r][c] = float(Y[c] - Y[c] * C + sines[r][c] * S);
        float rest = 0;
        for (int c = 0; c < 3; ++c)
            if (c != r) rest += m.m[r][c];
        m.m[r][r] = 1.0f - rest;
        m.bias[r] = 0.0f;
    }
    return m;
}

ColorMatrix sepia(double intensity) {
    const double k = 1 - std::clamp(intensity, 0.0, 1.0);
    const double rows[3][3] = {
        {0.393 + 0.607 * k, 0.769 - 0.769 * k, 0.189 - 0.189 * k},
        {0.349 - 0.349 * k, 0.686 + 0.314 * k, 0.168 - 0.168 * k},
        {0.272 - 0.272 * k, 0.534 - 0.534 * k, 0.131 + 0.869 * k},
    };
    return rgbMatrix(rows);
}

const std::vector<std::string> kColorCategories = {"color-adjustment"};

} // namespace

NodeRef makeColorMatrixNode(NodeRef input, const ColorMatrix& matrix) {
    if (!input) return nullptr;
    if (alphaIsIdentity(matrix)) {
        if (auto inner = std::dynamic_pointer_cast<const ColorMatrixNode>(input);
            inner && inner->alphaIdentity())
            return std::make_shared<ColorMatrixNode>(inner->inputs()[0], compose(matrix, inner->matrix()));
    }
    return std::make_shared<ColorMatrixNode>(std::move(input), matrix);
}

std::vector<BuiltinFilter> colorAdjustmentFilters() {
    using namespace decl;
    std::vector<BuiltinFilter> filters;

    filters.push_back(
        {attributes("color-matrix", "CIColorMatrix", kColorCategories,
                    {image("inputImage"), vector("inputRVector", Vec4(1, 0, 0, 0)),
                     vector("inputGVector", Vec4(0, 1, 0, 0)), vector("inputBVector", Vec4(0, 0, 1, 0)),
                     vector("inputAVector", Vec4(0, 0, 0, 1)), vector("inputBiasVector", Vec4(0, 0, 0, 0))}),
         [](const Operation& f) -> Image {
             const char* keys[4] = {"inputRVector", "inputGVector", "inputBVector", "inputAVector"};
             ColorMatrix m;
             for (int r = 0; r < 4; ++r) {
                 auto v = f.vectorInput(keys[r]);
                 if (!v) return {};
                 for (int c = 0; c < 4; ++c) m.m[r][c] = float(v->valueAtIndex(c));
             }
             auto bias = f.vectorInput("inputBiasVector");
             if (!bias) return {};
             for (int c = 0; c < 4; ++c) m.bias[c] = float(bias->valueAtIndex(c));
             return applyMatrix(f.imageInput("inputImage"), m);
         }});

    filters.push_back({attributes("exposure-adjust", "CIExposureAdjust", kColorCategories,
                                  {image("inputImage"), scalar("inputEV", 0, -10, 10, -10, 10, 0)}),
                       [](const Operation& f) -> Image {
                           auto ev = f.numberInput("inputEV");
                           if (!ev) return {};
                           const float k = std::exp2(float(*ev));
                           const double rows[3][3] = {{k, 0, 0}, {0, k, 0}, {0, 0, k}};
                           return applyMatrix(f.imageInput("inputImage"), rgbMatrix(rows));
                       }});

    filters.push_back({attributes("color-controls", "CIColorControls", kColorCategories,
                                  {image("inputImage"), scalar("inputSaturation", 1, 0, 2, 0, 2, 1),
                                   scalar("inputBrightness", 0, -1, 1, -1, 1, 0),
                                   scalar("inputContrast", 1, 0.25, 4, 0.25, 4, 1)}),
                       [](const Operation& f) -> Image {
                           auto s = f.numberInput("inputSaturation"), b = f.numberInput("inputBrightness"),
                                c = f.numberInput("inputContrast");
                           if (!s || !b || !c) return {};
                           // Single precision, as the values reach the operation.
                           return applyMatrix(f.imageInput("inputImage"),
                                              colorControls(float(*s), float(*b), float(*c)));
                       }});

    filters.push_back({attributes("hue-adjust", "CIHueAdjust", kColorCategories,
                                  {image("inputImage"),
                                   scalar("inputAngle", 0, -M_PI, M_PI, -M_PI, M_PI, 0, InputKind::Angle)}),
                       [](const Operation& f) -> Image {
                           auto a = f.numberInput("inputAngle");
                           if (!a) return {};
                           return applyMatrix(f.imageInput("inputImage"), hueRotation(float(*a)));
                       }});

    filters.push_back({attributes("sepia-tone", "CISepiaTone", kColorCategories,
                                  {image("inputImage"), scalar("inputIntensity", 1, 0, 1, 0, 1, 0)}),
                       [](const Operation& f) -> Image {
                           auto k = f.numberInput("inputIntensity");
                           if (!k) return {};
                           return applyMatrix(f.imageInput("inputImage"), sepia(float(*k)));
                       }});

    filters.push_back({attributes("color-invert", "CIColorInvert", kColorCategories, {image("inputImage")}),
                       [](const Operation& f) -> Image {
                           const double rows[3][3] = {{-1, 0, 0}, {0, -1, 0}, {0, 0, -1}};
                           const double bias[3] = {1, 1, 1};
                           return applyMatrix(f.imageInput("inputImage"), rgbMatrix(rows, bias));
                       }});
    return filters;
}

} // namespace pimavo
