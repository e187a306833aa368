// Generators: infinite images computed from the pixel position alone.
#include "Builtins.h"
#include "Nodes.h"

#include <cmath>

namespace pimavo {

namespace {

// Squares of side w with corners at centre + (i w, j w); the square [cx, cx + w) × [cy, cy + w) has
// colour 0. Sharpness 1 gives hard edges; below 1 the colours blend across a band of
// (1 − sharpness) · w / 2 on each side of an edge.
class CheckerboardNode final : public PointWiseNode {
public:
    CheckerboardNode(PointF center, const Rgba& c0, const Rgba& c1, double width, double sharpness)
        : PointWiseNode(RectF::infinite(), {}), center_(center), width_(width),
          sharpness_(std::clamp(sharpness, 0.0, 1.0)) {
        premul(c0, c0_);
        premul(c1, c1_);
    }

    const char* name() const override { return "checkerboard"; }

    void evalSpan(const SpanPos& pos, std::span<const SpanBuffer* const>, SpanBuffer& out) const override {
        const double w = width_;
        const double py = pos.y + 0.5 - center_.y;
        const double fy = py / w;
        const long jy = long(std::floor(fy));
        const double band = (1 - sharpness_) * w / 2;
        for (int i = 0; i < pos.n; ++i) {
            const double px = pos.x + i + 0.5 - center_.x;
            const double fx = px / w;
            const long ix = long(std::floor(fx));
            float t = ((ix + jy) & 1) ? 1.0f : 0.0f; // weight of colour 1
            if (band > 0) {
                // Distance to the nearest edge, in pixels; blend towards the neighbour's colour.
                const double dx = std::min(fx - ix, ix + 1 - fx) * w;
                const double dy = std::min(fy - jy, jy + 1 - fy) * w;
                const double d = std::min(dx, dy);
                if (d < band) {
                    const float k = float(0.5 * (1 - d / band)); // 0.5 right on the edge
                    t = t + (1 - 2 * t) * k;
                }
            }
            out.r[i] = c0_[0] + (c1_[0] - c0_[0]) * t;
            out.g[i] = c0_[1] + (c1_[1] - c0_[1]) * t;
            out.b[i] = c0_[2] + (c1_[2] - c0_[2]) * t;
            out.a[i] = c0_[3] + (c1_[3] - c0_[3]) * t;
        }
    }

private:
    static void premul(const Rgba& c, float out[4]) {
        out[0] = float(c.red * c.alpha), out[1] = float(c.green * c.alpha), out[2] = float(c.blue * c.alpha);
        out[3] = float(c.alpha);
    }

    PointF center_;
    double width_, sharpness_;
    float c0_[4], c1_[4];
};

const std::vector<std::string> kGeneratorCategories = {"generator"};

} // namespace

std::vector<BuiltinFilter> generatorFilters() {
    using namespace decl;
    std::vector<BuiltinFilter> filters;
    filters.push_back({attributes("constant-color", "CIConstantColorGenerator", kGeneratorCategories,
                                  {color("inputColor", {1, 0, 0, 1})}),
                       [](const Operation& f) -> Image {
                           auto c = f.colorInput("inputColor");
                           if (!c) return {};
                           return Image::imageWithColor(*c);
                       }});
    filters.push_back({attributes("checkerboard", "CICheckerboardGenerator", kGeneratorCategories,
                                  {vector("inputCenter", Vec4(150, 150), InputKind::Position),
                                   color("inputColor0", Rgba::white()), color("inputColor1", Rgba::black()),
                                   scalar("inputWidth", 80, 0, 1e4, 0, 800, 80, InputKind::Distance),
                                   scalar("inputSharpness", 1, 0, 1, 0, 1, 1)}),
                       [](const Operation& f) -> Image {
                           auto center = f.vectorInput("inputCenter");
                           auto c0 = f.colorInput("inputColor0"), c1 = f.colorInput("inputColor1");
                           auto w = f.numberInput("inputWidth"), s = f.numberInput("inputSharpness");
                           if (!center || !c0 || !c1 || !w || !s) return {};
                           if (!(*w > 0)) return Image::imageWithColor(*c0);
                           return Image(
                               std::make_shared<CheckerboardNode>(center->point(), *c0, *c1, *w, *s));
                       }});
    return filters;
}

} // namespace pimavo
