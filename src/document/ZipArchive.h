// The ZIP container of project files: entries written whole, read back checked.
//
// Writing stores entries as they are (no compression: what goes in a project is compressed
// already), with UTF-8 names and Unix permissions. Reading takes stored and deflated entries, so a
// project that another tool has packed again still opens; every entry's checksum is verified.
// Archives are limited to 4 GB (no ZIP64), far beyond any photo.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pimavo {

class ZipWriter {
public:
    // Entries go out in the order they are added. `data` is only borrowed until write().
    void add(std::string name, std::string_view data);
    // Writes the archive to the path (which is replaced). False with a reason.
    bool write(const std::string& path, std::string& why) const;

private:
    struct Entry {
        std::string name;
        std::string_view data;
    };
    std::vector<Entry> entries_;
};

class ZipReader {
public:
    // Reads the archive's directory from the file's bytes (kept by the reader). False with a
    // reason for anything that is not a well-formed archive.
    bool open(std::string bytes, std::string& why);
    std::vector<std::string> names() const;
    bool contains(std::string_view name) const;
    // An entry's content, its checksum verified; nullopt with a reason when it is missing or damaged.
    std::optional<std::string> read(std::string_view name, std::string& why) const;

private:
    struct Entry {
        std::string name;
        uint16_t method = 0;
        uint32_t crc = 0;
        uint64_t compressedSize = 0, size = 0, localOffset = 0;
    };
    std::string bytes_;
    std::vector<Entry> entries_;
};

} // namespace pimavo
