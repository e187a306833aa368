// Stylising operations.
#include "Builtins.h"
#include "Nodes.h"

#include <cmath>

namespace pimavo {

namespace {

// Each pixel shows the input at the centre of its cell: q = c + s · floor((p − c) / s + 0.5).
class PixellateNode final : public RegionNode {
public:
    PixellateNode(NodeRef input, PointF center, double scale)
        : RegionNode(grownExtent(input->extent(), scale), {input}), center_(center), scale_(scale) {}

    const char* name() const override { return "pixellate"; }

    static RectF grownExtent(const RectF& e, double s) {
        const double g = std::floor(s / 2);
        return e.insetBy(-g, -g).integral();
    }

    double cellCentre(double p, double c) const { return c + scale_ * std::floor((p - c) / scale_ + 0.5); }

    IntRect regionOf(std::size_t, const IntRect& out) const override {
        if (out.isEmpty()) return {};
        const double x0 = cellCentre(out.x0 + 0.5, center_.x), x1 = cellCentre(out.x1 - 0.5, center_.x);
        const double y0 = cellCentre(out.y0 + 0.5, center_.y), y1 = cellCentre(out.y1 - 0.5, center_.y);
        return IntRect::enclosing(RectF(x0, y0, x1 - x0, y1 - y0)).grownBy(1, 1);
    }

    void renderRegion(std::span<const TileRef> inputs, Tile& out) const override {
        const IntRect& r = out.rect();
        const Tile* in = inputs[0].get();
        for (int y = r.y0; y < r.y1; ++y) {
            float* dst = out.row(y);
            if (!in) {
                std::fill_n(dst, out.rowFloats(), 0.0f);
                continue;
            }
            const double qy = cellCentre(y + 0.5, center_.y);
            double lastQx = NAN;
            float px[4] = {0, 0, 0, 0};
            for (int x = r.x0; x < r.x1; ++x, dst += 4) {
                const double qx = cellCentre(x + 0.5, center_.x);
                if (qx != lastQx) {
                    sampleBilinear(*in, qx, qy, px);
                    lastQx = qx;
                }
                for (int c = 0; c < 4; ++c) dst[c] = px[c];
            }
        }
    }

private:
    PointF center_;
    double scale_;
};

} // namespace

std::vector<BuiltinFilter> stylizeFilters() {
    using namespace decl;
    std::vector<BuiltinFilter> filters;
    filters.push_back(
        {attributes("pixellate", "CIPixellate", {"stylize"},
                    {image("inputImage"), vector("inputCenter", Vec4(150, 150), InputKind::Position),
                     scalar("inputScale", 8, 1, 100, 1, 100, 8, InputKind::Distance)}),
         [](const Operation& f) -> Image {
             Image img = f.imageInput("inputImage");
             auto c = f.vectorInput("inputCenter");
             auto s = f.numberInput("inputScale");
             if (!img || !c || !s) return {};
             const double scale = std::max(*s, 1.0);
             return Image(std::make_shared<PixellateNode>(img.node(), c->point(), scale));
         }});
    return filters;
}

} // namespace pimavo
