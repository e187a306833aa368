// Colour and vector values given to filters as inputs.
#pragma once

#include "Geometry.h"

#include <array>
#include <cstddef>
#include <initializer_list>
#include <string>

namespace pimavo {

// Red, green, blue, alpha; not premultiplied. Operations premultiply it when they use it.
struct Rgba {
    double red = 0, green = 0, blue = 0, alpha = 1;

    static Rgba rgba(double r, double g, double b, double a = 1) { return {r, g, b, a}; }
    static Rgba white() { return {1, 1, 1, 1}; }
    static Rgba black() { return {0, 0, 0, 1}; }
    static Rgba clear() { return {0, 0, 0, 0}; }

    friend bool operator==(const Rgba&, const Rgba&) = default;
};

// A vector of up to four numbers; components past `count` read as 0.
class Vec4 {
public:
    Vec4() = default;
    Vec4(std::initializer_list<double> values);
    Vec4(double x, double y) : v_{x, y, 0, 0}, count_(2) {}
    Vec4(double x, double y, double z, double w) : v_{x, y, z, w}, count_(4) {}
    explicit Vec4(PointF p) : Vec4(p.x, p.y) {}

    std::size_t count() const { return count_; }
    double valueAtIndex(std::size_t i) const { return i < count_ ? v_[i] : 0.0; }
    double X() const { return v_[0]; }
    double Y() const { return v_[1]; }
    double Z() const { return v_[2]; }
    double W() const { return v_[3]; }
    PointF point() const { return {v_[0], v_[1]}; }

    friend bool operator==(const Vec4&, const Vec4&) = default;

private:
    std::array<double, 4> v_{0, 0, 0, 0};
    std::size_t count_ = 0;
};

inline Vec4::Vec4(std::initializer_list<double> values) {
    for (double d : values) {
        if (count_ == 4) break;
        v_[count_++] = d;
    }
}

} // namespace pimavo
