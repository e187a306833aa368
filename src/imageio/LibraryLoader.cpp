// Finds and loads the general codec module once per process.
#include "FailureText.h"
#include "RasterCodec.h"

#include <atomic>
#include <dlfcn.h>
#include <filesystem>
#include <mutex>
#include <unistd.h>

namespace pimavo::codec {

namespace {

namespace fs = std::filesystem;

std::atomic<RasterBackend*> gBackend{nullptr};

// Beside the program, in the library folder of an installed tree, or where the build put it.
std::vector<fs::path> candidates() {
    std::vector<fs::path> out;
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (!ec) {
        out.push_back(exe.parent_path() / PIMAVO_CODEC_MODULE_NAME);
        out.push_back(exe.parent_path().parent_path() / PIMAVO_INSTALL_LIBDIR / "pimavo" /
                      PIMAVO_CODEC_MODULE_NAME);
    }
    out.push_back(fs::path(PIMAVO_CODEC_MODULE_BUILD_PATH));
    return out;
}

} // namespace

RasterBackend* libraryBackend(std::string* why) {
    if (RasterBackend* b = gBackend.load(std::memory_order_acquire)) return b;
    static std::mutex mutex;
    static std::string failure;
    std::lock_guard lock(mutex);
    if (RasterBackend* b = gBackend.load()) return b;
    if (failure.empty()) {
        for (const fs::path& path : candidates()) {
            std::error_code ec;
            if (!fs::exists(path, ec)) continue;
            void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
            if (!handle) {
                failure = ::dlerror();
                continue;
            }
            using Entry = RasterBackend* (*)();
            auto entry = reinterpret_cast<Entry>(::dlsym(handle, "pimavo_raster_backend"));
            if (!entry) {
                failure = QT_TRANSLATE_NOOP("Failure", "the codec module has no entry point");
                continue;
            }
            RasterBackend* backend = entry();
            gBackend.store(backend, std::memory_order_release);
            return backend;
        }
        if (failure.empty()) failure = failure::compose(failure::kModuleMissing, {PIMAVO_CODEC_MODULE_NAME});
    }
    if (why) *why = failure;
    return nullptr;
}

RasterBackend* readerFor(const std::string& format) {
    if (format == "jpeg") return &jpegBackend();
    if (format == "png") return &pngBackend();
    return libraryBackend();
}

bool libraryBackendLoaded() {
    return gBackend.load() != nullptr;
}

} // namespace pimavo::codec
