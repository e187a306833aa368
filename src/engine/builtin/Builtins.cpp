#include "Builtins.h"

namespace pimavo {

const std::vector<BuiltinFilter>& builtinFilters() {
    // Order is presentation order only: every name is unique, lookups go by name.
    static const std::vector<BuiltinFilter> table = [] {
        std::vector<BuiltinFilter> all;
        for (auto family : {colorAdjustmentFilters, compositingFilters, generatorFilters, blurFilters,
                            geometryFilters, stylizeFilters}) {
            auto part = family();
            all.insert(all.end(), std::make_move_iterator(part.begin()), std::make_move_iterator(part.end()));
        }
        return all;
    }();
    return table;
}

namespace decl {

FilterInputDecl image(std::string key) {
    return {std::move(key), InputKind::Image, {}, 0, 0, 0, 0, 0};
}

FilterInputDecl scalar(std::string key, double def, double min, double max, double sliderMin,
                       double sliderMax, double identity, InputKind kind) {
    return {std::move(key), kind, def, min, max, sliderMin, sliderMax, identity};
}

FilterInputDecl vector(std::string key, Vec4 def, InputKind kind) {
    return {std::move(key), kind, def, 0, 0, 0, 0, 0};
}

FilterInputDecl color(std::string key, Rgba def) {
    return {std::move(key), InputKind::Color, def, 0, 0, 0, 0, 0};
}

FilterInputDecl transform(std::string key, Transform2D def) {
    return {std::move(key), InputKind::Transform, def, 0, 0, 0, 0, 0};
}

FilterAttributes attributes(std::string name, std::string formerName, std::vector<std::string> categories,
                            std::vector<FilterInputDecl> inputs) {
    return {std::move(name), std::move(categories), std::move(inputs), {std::move(formerName)}};
}

} // namespace decl

} // namespace pimavo
