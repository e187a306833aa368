// Kernels: per-pixel programs applied to samplers of images and to numeric arguments.
//
// A KernelProgram says what is computed for a span of pixels; the engine decides how it runs
// (tiles, threads, fusion). A program that reads each sampler only at the pixel being computed is
// point-wise: its samplers' values arrive as spans and it joins the fused point-wise pass. Any other
// program reads its samplers anywhere, through SamplerAccess, inside the region each sampler's
// image was rendered for: the region-of-interest callback's answer, or the destination rectangle.
#pragma once

#include "Color.h"
#include "Image.h"

#include <functional>
#include <memory>
#include <string>
#include <variant>
#include <vector>

namespace pimavo {

// An image as a kernel reads it: the image, its domain of definition and extent, and the transform
// from the kernel's working coordinates to the image's own.
class Sampler {
public:
    Sampler() = default;
    static Sampler samplerWithImage(const Image& image) { return Sampler(image); }
    explicit Sampler(const Image& image) : image_(image) {}

    const Image& image() const { return image_; }
    RectF definition() const { return image_.extent(); }
    RectF extent() const { return image_.extent(); }
    const Transform2D& transform() const { return transform_; }
    void setTransform(const Transform2D& t) { transform_ = t; }

private:
    Image image_;
    Transform2D transform_;
};

// A kernel argument: a sampler or a value of one of the language's numeric types.
using KernelArgument = std::variant<Sampler, float, Vec4, Rgba>;

// Reads a sampler's image anywhere (bilinear, transparent outside), for programs that are not
// point-wise. Coordinates are in the sampler's own space (after samplerTransform).
class SamplerAccess {
public:
    virtual ~SamplerAccess() = default;
    virtual void sample(int sampler, const float* xs, const float* ys, int n, SpanBuffer& out) const = 0;
};

// The per-span inputs of a program.
struct KernelSpanContext {
    SpanPos pos;                                // destination pixels; destCoord = pos + 0.5
    std::span<const KernelArgument> arguments;  // as given to apply
    std::span<const SpanBuffer* const> samples; // point-wise: each sampler's values at the span
    const SamplerAccess* access = nullptr;      // otherwise: reads anywhere
    std::span<const RectF> samplerExtents;      // per sampler argument, in order
    std::span<const Transform2D> samplerTransforms;
    const std::vector<float>* userInfo = nullptr;
    std::span<const float> prepared; // what prepare() answered for these arguments
};

class KernelProgram {
public:
    virtual ~KernelProgram() = default;
    virtual const std::string& name() const = 0;
    virtual bool isPointWise() const = 0;
    virtual void evalSpan(const KernelSpanContext& context, SpanBuffer& out) const = 0;
    // Whether the program reads the sampler of that ordinal at all (a kernel may take a sampler it
    // never samples); an unread sampler's image need not be computed.
    virtual bool readsSampler(int ordinal) const {
        (void)ordinal;
        return true;
    }
    // Work that depends only on the arguments, done once when the kernel is applied; its answer
    // reaches evalSpan as `prepared`.
    virtual std::vector<float> prepare(std::span<const KernelArgument>, std::span<const RectF>,
                                       std::span<const Transform2D>) const {
        return {};
    }
};

struct KernelApplyOptions {
    RectF definition = RectF::null(); // domain of definition; null: the extent given to apply
    std::vector<float> userInfo;
};

class Kernel {
public:
    using RegionOfInterest = std::function<RectF(int samplerIndex, const RectF& destRect)>;

    explicit Kernel(std::shared_ptr<const KernelProgram> program) : program_(std::move(program)) {}

    // Compiles every kernel of a text written in the kernel language. On an error, answers none and
    // sets `error` to "RESOURCE:LINE:COLUMN: message".
    static std::vector<Kernel> kernelsWithString(const std::string& text,
                                                 const std::string& resourceName = "kernel",
                                                 std::string* error = nullptr);

    const std::string& name() const { return program_->name(); }
    const std::shared_ptr<const KernelProgram>& program() const { return program_; }

    // The image of the kernel over `extent`. A sampler argument with no image gives no image.
    Image apply(const RectF& extent, const std::vector<KernelArgument>& arguments,
                const KernelApplyOptions& options = {}, RegionOfInterest roi = nullptr) const;

private:
    std::shared_ptr<const KernelProgram> program_;
};

// What a point-wise kernel application runs, with which arguments, on which input images, for
// engine code that lays several applications into one loop. Empty for any other image.
struct KernelApplication {
    const KernelProgram* program = nullptr;
    std::span<const KernelArgument> arguments;
    std::span<const NodeRef> inputs;
};
KernelApplication kernelApplicationOf(const Image& image);

} // namespace pimavo
