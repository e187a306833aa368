#include "Operation.h"

#include "builtin/Builtins.h"

#include <mutex>

namespace pimavo {

namespace {

struct Registration {
    std::string name;
    Operation::Constructor constructor;
    FilterAttributes attributes;
};

class Registry {
public:
    static Registry& shared() {
        static Registry registry;
        return registry;
    }

    bool add(std::string name, Operation::Constructor ctor, FilterAttributes attrs) {
        std::lock_guard lock(mutex_);
        if (name.empty() || !ctor || indexOf(name) >= 0) return false;
        for (const std::string& former : attrs.formerNames)
            if (former.empty() || former == name || indexOf(former) >= 0) return false;
        if (attrs.displayName.empty()) attrs.displayName = name;
        entries_.push_back(
            std::make_unique<Registration>(Registration{std::move(name), std::move(ctor), std::move(attrs)}));
        return true;
    }

    const Registration* find(std::string_view name) {
        std::lock_guard lock(mutex_);
        const int i = indexOf(name);
        return i < 0 ? nullptr : entries_[i].get();
    }

    std::vector<std::string> names() {
        std::lock_guard lock(mutex_);
        std::vector<std::string> out;
        for (const auto& e : entries_) out.push_back(e->name);
        return out;
    }

private:
    Registry() {
        // The engine's own operations come first, in the order of the builtin table.
        for (const BuiltinFilter& b : builtinFilters()) {
            auto attrs = std::make_shared<const FilterAttributes>(b.attributes);
            auto build = b.build;
            entries_.push_back(std::make_unique<Registration>(Registration{
                b.attributes.displayName,
                [attrs, build](std::string_view name) -> Operation::Ptr {
                    return std::make_shared<BuiltinFilterInstance>(std::string(name), *attrs, build);
                },
                b.attributes}));
        }
    }

    int indexOf(std::string_view name) const {
        for (std::size_t i = 0; i < entries_.size(); ++i) {
            const Registration& r = *entries_[i];
            if (r.name == name) return int(i);
            for (const std::string& former : r.attributes.formerNames)
                if (former == name) return int(i);
        }
        return -1;
    }

    std::mutex mutex_;
    std::vector<std::unique_ptr<Registration>> entries_; // stable addresses for find()
};

} // namespace

const FilterInputDecl* FilterAttributes::input(std::string_view key) const {
    for (const FilterInputDecl& d : inputs)
        if (d.key == key) return &d;
    return nullptr;
}

Operation::Ptr Operation::filterWithName(std::string_view name) {
    const Registration* r = Registry::shared().find(name);
    if (!r) return nullptr;
    return r->constructor(r->name);
}

bool Operation::registerFilterName(std::string name, Constructor constructor, FilterAttributes attributes) {
    return Registry::shared().add(std::move(name), std::move(constructor), std::move(attributes));
}

std::vector<std::string> Operation::filterNames() {
    return Registry::shared().names();
}

const FilterAttributes* Operation::attributesForName(std::string_view name) {
    const Registration* r = Registry::shared().find(name);
    return r ? &r->attributes : nullptr;
}

Operation::Operation(std::string name, FilterAttributes attributes)
    : name_(std::move(name)), attributes_(std::move(attributes)) {
    setDefaults();
}

Operation::~Operation() = default;

std::vector<std::string> Operation::inputKeys() const {
    std::vector<std::string> keys;
    for (const FilterInputDecl& d : attributes_.inputs) keys.push_back(d.key);
    return keys;
}

void Operation::setValue(std::string_view key, OperationValue value) {
    auto it = values_.find(key);
    if (std::holds_alternative<std::monostate>(value)) {
        if (it != values_.end()) values_.erase(it);
        return;
    }
    if (it != values_.end())
        it->second = std::move(value);
    else
        values_.emplace(std::string(key), std::move(value));
}

OperationValue Operation::valueForKey(std::string_view key) const {
    auto it = values_.find(key);
    return it == values_.end() ? OperationValue{} : it->second;
}

void Operation::setDefaults() {
    for (const FilterInputDecl& d : attributes_.inputs)
        if (d.applyDefault && !std::holds_alternative<std::monostate>(d.defaultValue))
            setValue(d.key, d.defaultValue);
}

Image Operation::imageInput(std::string_view key) const {
    auto it = values_.find(key);
    if (it == values_.end()) return {};
    if (const Image* img = std::get_if<Image>(&it->second)) return *img;
    return {};
}

std::optional<double> Operation::numberInput(std::string_view key) const {
    auto it = values_.find(key);
    if (it == values_.end()) return std::nullopt;
    if (const double* d = std::get_if<double>(&it->second)) return *d;
    return std::nullopt;
}

std::optional<Vec4> Operation::vectorInput(std::string_view key) const {
    auto it = values_.find(key);
    if (it == values_.end()) return std::nullopt;
    if (const Vec4* v = std::get_if<Vec4>(&it->second)) return *v;
    return std::nullopt;
}

std::optional<Rgba> Operation::colorInput(std::string_view key) const {
    auto it = values_.find(key);
    if (it == values_.end()) return std::nullopt;
    if (const Rgba* c = std::get_if<Rgba>(&it->second)) return *c;
    return std::nullopt;
}

std::optional<Transform2D> Operation::transformInput(std::string_view key) const {
    auto it = values_.find(key);
    if (it == values_.end()) return std::nullopt;
    if (const Transform2D* t = std::get_if<Transform2D>(&it->second)) return *t;
    return std::nullopt;
}

} // namespace pimavo
