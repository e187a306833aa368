// What the fuzz targets share: a scratch file of the process's own for code that reads files, and
// a broken invariant reported by name, so that the saved input comes with the rule it broke.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <unistd.h>

namespace pimavo::fuzz {

// Several fuzzers may run side by side in one folder: the process id keeps their files apart.
inline std::string scratchPath(std::string_view name) {
    const char* dir = std::getenv("TMPDIR");
    return std::string(dir && *dir ? dir : "/tmp") + "/pimavo-fuzz-" + std::to_string(::getpid()) + "-" +
           std::string(name);
}

inline bool writeFile(const std::string& path, std::string_view bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

inline std::string readFile(const std::string& path) {
    std::string out;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return out;
    char buffer[65536];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;) out.append(buffer, n);
    std::fclose(f);
    return out;
}

inline std::string_view bytesOf(const uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// libFuzzer saves the input on an abort; the line before it says which rule the input broke.
inline void expect(bool holds, const char* rule) {
    if (holds) return;
    std::fprintf(stderr, "\nbroken invariant: %s\n", rule);
    std::abort();
}

} // namespace pimavo::fuzz
