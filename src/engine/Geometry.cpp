#include "Geometry.h"

#include <cstdio>

namespace pimavo {

namespace {
constexpr double kInfOrigin = -8.98846567431158e307;
constexpr double kInfSize = std::numeric_limits<double>::max();
constexpr double kBig = 1e300;

int clampToLimit(double v) {
    if (std::isnan(v)) return 0;
    return int(std::clamp(v, double(-IntRect::kLimit), double(IntRect::kLimit)));
}
} // namespace

RectF RectF::null() {
    const double inf = std::numeric_limits<double>::infinity();
    return {inf, inf, 0, 0};
}

RectF RectF::infinite() {
    return {kInfOrigin, kInfOrigin, kInfSize, kInfSize};
}

bool RectF::isNull() const {
    return std::isinf(origin.x) || std::isinf(origin.y);
}

bool RectF::isInfinite() const {
    return size.width >= kBig && size.height >= kBig;
}

bool RectF::isEmpty() const {
    return isNull() || size.width <= 0 || size.height <= 0;
}

RectF RectF::intersection(const RectF& o) const {
    if (isNull() || o.isNull()) return null();
    if (isInfinite()) return o;
    if (o.isInfinite()) return *this;
    const double x0 = std::max(minX(), o.minX()), y0 = std::max(minY(), o.minY());
    const double x1 = std::min(maxX(), o.maxX()), y1 = std::min(maxY(), o.maxY());
    if (x1 < x0 || y1 < y0) return null();
    return {x0, y0, x1 - x0, y1 - y0};
}

RectF RectF::unionWith(const RectF& o) const {
    if (isNull()) return o;
    if (o.isNull()) return *this;
    if (isInfinite() || o.isInfinite()) return infinite();
    const double x0 = std::min(minX(), o.minX()), y0 = std::min(minY(), o.minY());
    const double x1 = std::max(maxX(), o.maxX()), y1 = std::max(maxY(), o.maxY());
    return {x0, y0, x1 - x0, y1 - y0};
}

RectF RectF::insetBy(double dx, double dy) const {
    if (isNull() || isInfinite()) return *this;
    RectF r{origin.x + dx, origin.y + dy, size.width - 2 * dx, size.height - 2 * dy};
    if (r.size.width < 0 || r.size.height < 0) return null();
    return r;
}

RectF RectF::offsetBy(double dx, double dy) const {
    if (isNull() || isInfinite()) return *this;
    return {origin.x + dx, origin.y + dy, size.width, size.height};
}

RectF RectF::integral() const {
    if (isNull() || isInfinite()) return *this;
    const double x0 = std::floor(minX()), y0 = std::floor(minY());
    const double x1 = std::ceil(maxX()), y1 = std::ceil(maxY());
    return {x0, y0, x1 - x0, y1 - y0};
}

bool RectF::contains(const RectF& o) const {
    if (o.isNull()) return true;
    if (isNull()) return false;
    if (isInfinite()) return true;
    if (o.isInfinite()) return false;
    return minX() <= o.minX() && minY() <= o.minY() && maxX() >= o.maxX() && maxY() >= o.maxY();
}

bool RectF::containsPoint(PointF p) const {
    if (isNull()) return false;
    if (isInfinite()) return true;
    return p.x >= minX() && p.x < maxX() && p.y >= minY() && p.y < maxY();
}

RectF RectF::applying(const Transform2D& t) const {
    if (isNull() || isInfinite()) return *this;
    const PointF corners[4] = {t.apply({minX(), minY()}), t.apply({maxX(), minY()}),
                               t.apply({minX(), maxY()}), t.apply({maxX(), maxY()})};
    double x0 = corners[0].x, x1 = x0, y0 = corners[0].y, y1 = y0;
    for (const PointF& p : corners) {
        x0 = std::min(x0, p.x), x1 = std::max(x1, p.x);
        y0 = std::min(y0, p.y), y1 = std::max(y1, p.y);
    }
    return {x0, y0, x1 - x0, y1 - y0};
}

std::string RectF::description() const {
    if (isNull()) return "null";
    if (isInfinite()) return "infinite";
    char buf[128];
    std::snprintf(buf, sizeof buf, "(%g, %g, %g, %g)", origin.x, origin.y, size.width, size.height);
    return buf;
}

Transform2D Transform2D::rotation(double r) {
    const double c = std::cos(r), s = std::sin(r);
    return {c, s, -s, c, 0, 0};
}

Transform2D Transform2D::concat(const Transform2D& t) const {
    return {a * t.a + b * t.c, a * t.b + b * t.d,          c * t.a + d * t.c,
            c * t.b + d * t.d, tx * t.a + ty * t.c + t.tx, tx * t.b + ty * t.d + t.ty};
}

Transform2D Transform2D::translatedBy(double x, double y) const {
    return translation(x, y).concat(*this);
}

Transform2D Transform2D::scaledBy(double sx, double sy) const {
    return scale(sx, sy).concat(*this);
}

Transform2D Transform2D::rotatedBy(double r) const {
    return rotation(r).concat(*this);
}

Transform2D Transform2D::inverted() const {
    const double det = determinant();
    if (det == 0 || !std::isfinite(det)) return *this;
    const double ia = d / det, ib = -b / det, ic = -c / det, id = a / det;
    return {ia, ib, ic, id, -(tx * ia + ty * ic), -(tx * ib + ty * id)};
}

IntRect IntRect::covering(const RectF& r) {
    if (r.isNull()) return {};
    if (r.isInfinite()) return {-kLimit, -kLimit, kLimit, kLimit};
    // A pixel i is covered when minX <= i + 0.5 < maxX.
    IntRect out{clampToLimit(std::ceil(r.minX() - 0.5)), clampToLimit(std::ceil(r.minY() - 0.5)),
                clampToLimit(std::ceil(r.maxX() - 0.5)), clampToLimit(std::ceil(r.maxY() - 0.5))};
    if (out.isEmpty()) return {};
    return out;
}

IntRect IntRect::enclosing(const RectF& r) {
    if (r.isNull()) return {};
    if (r.isInfinite()) return {-kLimit, -kLimit, kLimit, kLimit};
    IntRect out{clampToLimit(std::floor(r.minX())), clampToLimit(std::floor(r.minY())),
                clampToLimit(std::ceil(r.maxX())), clampToLimit(std::ceil(r.maxY()))};
    // A rectangle of zero width or height still touches the pixels it lies on.
    if (out.x1 == out.x0) ++out.x1;
    if (out.y1 == out.y0) ++out.y1;
    if (out.isEmpty()) return {};
    return out;
}

IntRect IntRect::intersection(const IntRect& o) const {
    IntRect r{std::max(x0, o.x0), std::max(y0, o.y0), std::min(x1, o.x1), std::min(y1, o.y1)};
    return r.isEmpty() ? IntRect{} : r;
}

IntRect IntRect::unionWith(const IntRect& o) const {
    if (isEmpty()) return o;
    if (o.isEmpty()) return *this;
    return {std::min(x0, o.x0), std::min(y0, o.y0), std::max(x1, o.x1), std::max(y1, o.y1)};
}

IntRect IntRect::grownBy(int dx, int dy) const {
    if (isEmpty()) return {};
    auto clampI = [](int64_t v) { return int(std::clamp<int64_t>(v, -kLimit, kLimit)); };
    return {clampI(int64_t(x0) - dx), clampI(int64_t(y0) - dy), clampI(int64_t(x1) + dx),
            clampI(int64_t(y1) + dy)};
}

} // namespace pimavo
