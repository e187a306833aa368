#include "KernelFilter.h"

#include "Resources.h"
#include "engine/Log.h"

#include <cstdio>
#include <map>
#include <mutex>

namespace pimavo {

bool hasKernelResource(const std::string& name) {
    return resourceData(name, "cifilter").has_value();
}

namespace {

// Compiled kernels by resource name: every instance of a filter runs the same program.
std::optional<Kernel> loadKernel(const std::string& name) {
    static std::mutex mutex;
    static std::map<std::string, std::optional<Kernel>> cache;
    static unsigned generation = 0;
    const auto text = resourceData(name, "cifilter");
    if (!text) return std::nullopt;
    std::lock_guard lock(mutex);
    if (generation != resourceGeneration()) {
        cache.clear(); // a resource changed: compile afresh
        generation = resourceGeneration();
    }
    auto it = cache.find(name);
    if (it != cache.end()) return it->second;
    std::string error;
    auto kernels = Kernel::kernelsWithString(std::string(*text), name + ".cifilter", &error);
    std::optional<Kernel> kernel;
    if (kernels.empty())
        logging::write(logging::Channel::Filters, logging::Level::Warning, error);
    else
        kernel = kernels.front();
    cache[name] = kernel;
    return kernel;
}

std::vector<FilterInputDecl> paramInputs() {
    std::vector<FilterInputDecl> inputs;
    for (const char* key : {"inputParam1", "inputParam2", "inputParam3"}) {
        FilterInputDecl d{key, InputKind::Scalar, 0.5, 0, 1, 0, 1, 0};
        d.applyDefault = false;
        inputs.push_back(d);
    }
    return inputs;
}

} // namespace

std::vector<std::string> programFilterCategories() {
    return {"program"};
}

FilterAttributes KernelFilter::customAttributes() {
    FilterAttributes a;
    a.inputs = paramInputs();
    return a;
}

KernelFilter::KernelFilter(std::string_view name) : KernelFilter(name, {}) {}

KernelFilter::KernelFilter(std::string_view name, std::vector<FilterInputDecl> extraInputs)
    : Operation(std::string(name),
                [&] {
                    FilterAttributes a = customAttributes();
                    a.displayName = std::string(name);
                    a.categories = programFilterCategories();
                    a.inputs.insert(a.inputs.begin(), extraInputs.begin(), extraInputs.end());
                    a.inputs.insert(a.inputs.begin(),
                                    FilterInputDecl{"inputImage", InputKind::Image, {}, 0, 0, 0, 0, 0});
                    return a;
                }()),
      filterName_(name) {
    filterKernel_ = loadKernel(filterName_);
}

bool KernelFilter::registerFilter(const std::string& name, const std::string& resource) {
    return registerFilterOf<KernelFilter>(name, resource);
}

Operation::Ptr KernelFilter::filterWithName(std::string_view name) {
    return std::make_shared<KernelFilter>(name);
}

void KernelFilter::appendParams(std::vector<KernelArgument>& args) const {
    for (const char* key : {"inputParam1", "inputParam2", "inputParam3"})
        args.emplace_back(float(numberInput(key).value_or(0.0)));
}

Image KernelFilter::outputImage() const {
    const Image image = imageInput("inputImage");
    if (!filterKernel_ || !image) return {};
    const Sampler a(image);
    std::vector<KernelArgument> args{a};
    appendParams(args);
    KernelApplyOptions options;
    options.definition = a.definition();
    return filterKernel_->apply(a.extent(), args, options).imageByCroppingToRect(a.extent());
}

} // namespace pimavo
