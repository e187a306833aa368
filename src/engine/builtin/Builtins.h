// The engine's own named operations: one family per file, gathered into one ordered table.
#pragma once

#include "../Operation.h"

#include <functional>
#include <vector>

namespace pimavo {

struct BuiltinFilter {
    FilterAttributes attributes; // displayName is the registered name
    std::function<Image(const Operation&)> build;
};

class BuiltinFilterInstance final : public Operation {
public:
    BuiltinFilterInstance(std::string name, FilterAttributes attributes,
                          std::function<Image(const Operation&)> build)
        : Operation(std::move(name), std::move(attributes)), build_(std::move(build)) {}
    Image outputImage() const override { return build_ ? build_(*this) : Image(); }

private:
    std::function<Image(const Operation&)> build_;
};

// The table, in registration order.
const std::vector<BuiltinFilter>& builtinFilters();

// One function per family file.
std::vector<BuiltinFilter> colorAdjustmentFilters();
std::vector<BuiltinFilter> compositingFilters();
std::vector<BuiltinFilter> generatorFilters();
std::vector<BuiltinFilter> blurFilters();
std::vector<BuiltinFilter> geometryFilters();
std::vector<BuiltinFilter> stylizeFilters();

// Helpers for declaring inputs.
namespace decl {
FilterInputDecl image(std::string key);
FilterInputDecl scalar(std::string key, double def, double min, double max, double sliderMin,
                       double sliderMax, double identity, InputKind kind = InputKind::Scalar);
FilterInputDecl vector(std::string key, Vec4 def, InputKind kind = InputKind::Vector);
FilterInputDecl color(std::string key, Rgba def);
FilterInputDecl transform(std::string key, Transform2D def);
FilterAttributes attributes(std::string name, std::string formerName, std::vector<std::string> categories,
                            std::vector<FilterInputDecl> inputs);
} // namespace decl

} // namespace pimavo
