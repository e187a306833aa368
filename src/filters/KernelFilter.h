// The kernel filter family: filters whose per-pixel work is a kernel loaded from a bundled text
// resource of the filter's name (extension "cifilter").
//
// KernelFilter applies its kernel to (sampler of inputImage, inputParam1, inputParam2,
// inputParam3) over the sampler's domain and extent, and crops the result to that extent. The
// subclasses differ only in their kernel's arguments and geometry. A kernel receives as many of the
// trailing numbers as it declares; numbers a caller did not set reach it as 0. A filter whose
// resource is missing or does not compile has no kernel, and its output is no image.
#pragma once

#include "engine/Kernel.h"
#include "engine/Operation.h"

#include <optional>
#include <string>
#include <string_view>

namespace pimavo {

class KernelFilter : public Operation {
public:
    // initWithName: loads and compiles the kernel of the resource of that name.
    explicit KernelFilter(std::string_view name);

    // Registers the name for this class when the resource exists; answers whether it does.
    // Registers the kernel resource `resource` under `name`, with the resource's name as its former name.
    static bool registerFilter(const std::string& name, const std::string& resource);
    static Operation::Ptr filterWithName(std::string_view name);

    Image outputImage() const override;

    // The declared attributes of inputParam1 to inputParam3: scalars from 0 to 1, default 0.5,
    // identity 0. Nothing applies the default.
    static FilterAttributes customAttributes();

    const std::string& filterName() const { return filterName_; }
    const std::optional<Kernel>& filterKernel() const { return filterKernel_; }

protected:
    KernelFilter(std::string_view name, std::vector<FilterInputDecl> extraInputs);

    // The numbers after the images, as the kernel receives them.
    void appendParams(std::vector<KernelArgument>& args) const;

    // Registers `name` with a constructor of T, when the resource exists.
    template <typename T> static bool registerFilterOf(const std::string& name, const std::string& resource);

    std::string filterName_;
    std::optional<Kernel> filterKernel_;
};

// The categories every program filter is registered with.
std::vector<std::string> programFilterCategories();
// Whether the bundle has a kernel text of that name.
bool hasKernelResource(const std::string& name);

template <typename T>
bool KernelFilter::registerFilterOf(const std::string& name, const std::string& resource) {
    if (!hasKernelResource(resource)) return false;
    FilterAttributes attributes = customAttributes();
    attributes.displayName = name;
    attributes.categories = programFilterCategories();
    if (resource != name) attributes.formerNames = {resource};
    // Made by the resource's name, which finds its kernel text.
    if (Operation::registerFilterName(
            name, [resource](std::string_view) -> Operation::Ptr { return std::make_shared<T>(resource); },
            attributes))
        return true;
    // Registered before (by this class or another): the name is usable.
    return Operation::attributesForName(name) != nullptr;
}

} // namespace pimavo
