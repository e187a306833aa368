#include "BrushDab.h"

#include "KernelFilter.h"
#include "Resources.h"
#include "engine/Log.h"

#include <cstdio>
#include <mutex>

namespace pimavo {

namespace {

const std::optional<Kernel>& brushKernel() {
    static std::optional<Kernel> kernel;
    static std::once_flag once;
    std::call_once(once, [] {
        const auto text = resourceData("RadialBrush", "cifilter");
        if (!text) return;
        std::string error;
        auto kernels = Kernel::kernelsWithString(std::string(*text), "RadialBrush.cifilter", &error);
        if (kernels.empty())
            logging::write(logging::Channel::Filters, logging::Level::Warning, error);
        else
            kernel = kernels.front();
    });
    return kernel;
}

FilterAttributes brushAttributes(const char* name) {
    FilterAttributes a;
    a.displayName = name;
    a.categories = programFilterCategories();
    // The canvas sets every input when it makes a dab; none has a default here.
    a.inputs = {{"inputCenter", InputKind::Position, {}, 0, 0, 0, 0, 0},
                {"inputColor0", InputKind::Color, {}, 0, 0, 0, 0, 0},
                {"inputColor1", InputKind::Color, {}, 0, 0, 0, 0, 0},
                {"inputRadius0", InputKind::Distance, {}, 0, 0, 0, 0, 0},
                {"inputRadius1", InputKind::Distance, {}, 0, 0, 0, 0, 0},
                {"inputSoftness", InputKind::Scalar, {}, 0, 0, 0, 0, 0},
                {"inputOpacity", InputKind::Scalar, {}, 0, 0, 0, 0, 0}};
    return a;
}

} // namespace

BrushDab::BrushDab() : Operation("RadialBrush", brushAttributes("RadialBrush")) {
    brushKernel();
}

bool BrushDab::registerFilter() {
    if (!hasKernelResource("RadialBrush")) return false;
    auto ctor = [](std::string_view) -> Operation::Ptr { return std::make_shared<BrushDab>(); };
    FilterAttributes attributes = brushAttributes("radial-brush");
    attributes.formerNames = {"RadialBrush", "CIFilterRadialBrush"};
    Operation::registerFilterName("radial-brush", ctor, std::move(attributes));
    return true;
}

Operation::Ptr BrushDab::filterWithName(std::string_view) {
    return std::make_shared<BrushDab>();
}

Image BrushDab::outputImage() const {
    const auto& kernel = brushKernel();
    const auto center = vectorInput("inputCenter");
    const auto c0 = colorInput("inputColor0"), c1 = colorInput("inputColor1");
    const auto r0 = numberInput("inputRadius0"), r1 = numberInput("inputRadius1");
    const auto softness = numberInput("inputSoftness"), opacity = numberInput("inputOpacity");
    if (!kernel || !center || !c0 || !c1 || !r0 || !r1 || !softness || !opacity) return {};
    const float radius = float(*r1), cx = float(center->X()), cy = float(center->Y());
    const RectF square(double(cx) - radius, double(cy) - radius, 2.0 * radius, 2.0 * radius);
    const Sampler blank(Image::imageWithColor({1, 1, 1, 0}));
    KernelApplyOptions options;
    options.definition = square;
    return kernel->apply(
        square, {blank, Vec4(cx, cy), *c0, *c1, float(*r0), radius, float(*opacity), float(*softness)},
        options);
}

} // namespace pimavo
