// Geometry of the engine: points, sizes and rectangles in doubles, affine transforms, and integer
// pixel rectangles.
//
// Coordinates are y-up with the origin at the bottom-left. A pixel (i, j) covers [i, i+1) × [j, j+1)
// and has its centre at (i + 0.5, j + 0.5). A rectangle covers a pixel when it contains the pixel's
// centre, so an integral rectangle covers exactly the pixels inside it.
//
// Two special rectangles exist: the null rectangle (the result of intersecting disjoint rectangles;
// it covers nothing) and the infinite rectangle (the extent of generators; it covers everything).
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

namespace pimavo {

struct PointF {
    double x = 0, y = 0;
    friend bool operator==(const PointF&, const PointF&) = default;
};

struct SizeF {
    double width = 0, height = 0;
    friend bool operator==(const SizeF&, const SizeF&) = default;
};

struct Transform2D;

struct RectF {
    PointF origin;
    SizeF size;

    constexpr RectF() = default;
    constexpr RectF(double x, double y, double w, double h) : origin{x, y}, size{w, h} {}

    static RectF null();
    static RectF infinite();

    double minX() const { return origin.x; }
    double minY() const { return origin.y; }
    double maxX() const { return origin.x + size.width; }
    double maxY() const { return origin.y + size.height; }
    double width() const { return size.width; }
    double height() const { return size.height; }

    bool isNull() const;
    bool isInfinite() const;
    // Null, or of zero width or height.
    bool isEmpty() const;

    RectF intersection(const RectF& other) const;
    RectF unionWith(const RectF& other) const;
    RectF insetBy(double dx, double dy) const;
    RectF offsetBy(double dx, double dy) const;
    // The smallest rectangle with whole-number edges that contains this one.
    RectF integral() const;
    bool contains(const RectF& other) const;
    bool containsPoint(PointF p) const;
    // Bounding box of the four transformed corners; null and infinite stay as they are.
    RectF applying(const Transform2D& t) const;

    std::string description() const;
    friend bool operator==(const RectF&, const RectF&) = default;
};

// Maps (x, y) to (a x + c y + tx, b x + d y + ty), as the platform convention has it.
struct Transform2D {
    double a = 1, b = 0, c = 0, d = 1, tx = 0, ty = 0;

    static Transform2D identity() { return {}; }
    static Transform2D translation(double x, double y) { return {1, 0, 0, 1, x, y}; }
    static Transform2D scale(double sx, double sy) { return {sx, 0, 0, sy, 0, 0}; }
    static Transform2D rotation(double radians);

    // The transform that applies `this` first and then `t`.
    Transform2D concat(const Transform2D& t) const;
    // Prepend a step: the new step acts on points first, then `this`.
    Transform2D translatedBy(double x, double y) const;
    Transform2D scaledBy(double sx, double sy) const;
    Transform2D rotatedBy(double radians) const;
    Transform2D inverted() const;

    bool isIdentity() const { return *this == Transform2D{}; }
    double determinant() const { return a * d - b * c; }
    PointF apply(PointF p) const { return {a * p.x + c * p.y + tx, b * p.x + d * p.y + ty}; }

    friend bool operator==(const Transform2D&, const Transform2D&) = default;
};

// A rectangle of whole pixels, half-open: [x0, x1) × [y0, y1). Coordinates are kept well inside the
// int range so that growing a rectangle by a blur radius never overflows.
struct IntRect {
    static constexpr int kLimit = 1 << 28;

    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;

    static IntRect fromXYWH(int x, int y, int w, int h) { return {x, y, x + w, y + h}; }
    // The pixels whose centres lie inside r (clamped to ±kLimit; infinite becomes the whole range).
    static IntRect covering(const RectF& r);
    // The pixels that r touches at all (a rectangle of zero size touches the pixel it lies in).
    static IntRect enclosing(const RectF& r);

    int width() const { return x1 - x0; }
    int height() const { return y1 - y0; }
    bool isEmpty() const { return x1 <= x0 || y1 <= y0; }
    int64_t area() const { return isEmpty() ? 0 : int64_t(width()) * height(); }

    IntRect intersection(const IntRect& o) const;
    IntRect unionWith(const IntRect& o) const;
    IntRect grownBy(int dx, int dy) const;
    IntRect offsetBy(int dx, int dy) const { return {x0 + dx, y0 + dy, x1 + dx, y1 + dy}; }
    bool contains(const IntRect& o) const {
        return o.isEmpty() || (x0 <= o.x0 && y0 <= o.y0 && x1 >= o.x1 && y1 >= o.y1);
    }
    bool contains(int x, int y) const { return x >= x0 && x < x1 && y >= y0 && y < y1; }
    RectF toCGRect() const { return {double(x0), double(y0), double(width()), double(height())}; }

    friend bool operator==(const IntRect&, const IntRect&) = default;
};

} // namespace pimavo
