// Operation: a named image operation with inputs set by key.
//
// Filters are created by name from one registry (`filterWithName`); the program's own code uses the
// typed calls of Operations.h instead, and the registry serves the command line. Each filter declares
// its inputs once, as data (key, kind, default, valid and slider ranges); creation applies the
// declared defaults, `setDefaults` applies them again, and attributes() hands the declarations to whoever
// builds controls. `outputImage` builds a new lazy image from the current inputs; a filter whose
// required inputs are missing answers no image.
#pragma once

#include "Color.h"
#include "Geometry.h"
#include "Image.h"

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace pimavo {

using OperationValue =
    std::variant<std::monostate, double, Vec4, Rgba, Image, Transform2D, std::string, std::vector<float>>;

enum class InputKind { Scalar, Angle, Distance, Vector, Position, Color, Image, Transform, String };

struct FilterInputDecl {
    std::string key;
    InputKind kind = InputKind::Scalar;
    OperationValue defaultValue; // monostate: no default (images, or inputs a caller must set)
    double minimum = 0, maximum = 0;
    double sliderMinimum = 0, sliderMaximum = 0;
    double identity = 0;
    bool applyDefault = true; // false: the default is only described, never set
};

struct FilterAttributes {
    std::string displayName;             // the registered name, in kebab case ("gaussian-blur")
    std::vector<std::string> categories; // the family ("color-adjustment", "composite", "blur", …)
    std::vector<FilterInputDecl> inputs;
    // Names earlier versions registered it under ("CIGaussianBlur"): found as the name is, so that
    // scripts written for them keep working.
    std::vector<std::string> formerNames;

    const FilterInputDecl* input(std::string_view key) const;
};

class Operation {
public:
    using Ptr = std::shared_ptr<Operation>;
    using Constructor = std::function<Ptr(std::string_view name)>;

    // A new filter of that name (or former name) with its declared defaults, or nullptr for an
    // unknown name.
    static Ptr filterWithName(std::string_view name);
    // Registers a name, and the attributes' former names beside it; answers false (and changes
    // nothing) when the name is empty or any of them is taken.
    static bool registerFilterName(std::string name, Constructor constructor, FilterAttributes attributes);
    // Every registered name, in registration order.
    static std::vector<std::string> filterNames();
    // The attributes a name (or former name) was registered with, or nullptr.
    static const FilterAttributes* attributesForName(std::string_view name);

    explicit Operation(std::string name, FilterAttributes attributes = {});
    virtual ~Operation();

    const std::string& name() const { return name_; }
    const FilterAttributes& attributes() const { return attributes_; }
    std::vector<std::string> inputKeys() const;

    void setValue(std::string_view key, OperationValue value);
    OperationValue valueForKey(std::string_view key) const;
    virtual void setDefaults();

    virtual Image outputImage() const = 0;

    // Typed reads; nullopt (or no image) when the input is unset or of another type.
    Image imageInput(std::string_view key) const;
    std::optional<double> numberInput(std::string_view key) const;
    std::optional<Vec4> vectorInput(std::string_view key) const;
    std::optional<Rgba> colorInput(std::string_view key) const;
    std::optional<Transform2D> transformInput(std::string_view key) const;

protected:
    std::string name_;
    FilterAttributes attributes_;
    std::map<std::string, OperationValue, std::less<>> values_;
};

} // namespace pimavo
