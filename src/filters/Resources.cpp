#include "Resources.h"

#include <atomic>
#include <map>
#include <mutex>

namespace pimavo {

namespace embedded {
struct Resource {
    const char* name;
    const unsigned char* data;
    std::size_t size;
};
extern const Resource kResources[];
} // namespace embedded

namespace {
std::mutex gMutex;
std::atomic<unsigned> gGeneration{0};
std::map<std::string, std::string, std::less<>>& added() {
    static std::map<std::string, std::string, std::less<>> m;
    return m;
}
} // namespace

std::optional<std::string_view> resourceData(std::string_view name, std::string_view extension) {
    const std::string file = std::string(name) + "." + std::string(extension);
    {
        std::lock_guard lock(gMutex);
        auto it = added().find(file);
        if (it != added().end()) return std::string_view(it->second);
    }
    for (const embedded::Resource* r = embedded::kResources; r->name; ++r)
        if (file == r->name) return std::string_view(reinterpret_cast<const char*>(r->data), r->size);
    return std::nullopt;
}

void addResource(std::string_view name, std::string_view extension, std::string data) {
    std::lock_guard lock(gMutex);
    added()[std::string(name) + "." + std::string(extension)] = std::move(data);
    ++gGeneration;
}

void removeAddedResource(std::string_view name, std::string_view extension) {
    std::lock_guard lock(gMutex);
    added().erase(std::string(name) + "." + std::string(extension));
    ++gGeneration;
}

unsigned resourceGeneration() {
    return gGeneration.load();
}

} // namespace pimavo
