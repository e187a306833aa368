#include "ZipArchive.h"

#include "imageio/FailureText.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <zlib.h>

namespace pimavo {

namespace {

constexpr uint32_t kLocalHeader = 0x04034b50, kCentralHeader = 0x02014b50, kEnd = 0x06054b50;
constexpr uint16_t kUtf8Names = 0x0800;
constexpr uint64_t kMaxInflatedSize = uint64_t(1) << 30;
// 1 January 2020, 00:00, as DOS packs it: every project gets the same stamp, so that saving the
// same work twice gives the same bytes.
constexpr uint16_t kDosTime = 0, kDosDate = ((2020 - 1980) << 9) | (1 << 5) | 1;

void put16(std::string& out, uint32_t v) {
    out.push_back(char(v & 0xFF));
    out.push_back(char((v >> 8) & 0xFF));
}
void put32(std::string& out, uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}
uint32_t get16(const std::string& s, uint64_t at) {
    return uint32_t(uint8_t(s[at])) | uint32_t(uint8_t(s[at + 1])) << 8;
}
uint32_t get32(const std::string& s, uint64_t at) {
    return get16(s, at) | get16(s, at + 2) << 16;
}

uint32_t crcOf(std::string_view data) {
    uLong crc = crc32(0, nullptr, 0);
    // zlib takes lengths as unsigned int: long entries go in pieces.
    while (!data.empty()) {
        const std::size_t n = std::min<std::size_t>(data.size(), 1u << 30);
        crc = crc32(crc, reinterpret_cast<const Bytef*>(data.data()), uInt(n));
        data.remove_prefix(n);
    }
    return uint32_t(crc);
}

} // namespace

void ZipWriter::add(std::string name, std::string_view data) {
    entries_.push_back({std::move(name), data});
}

bool ZipWriter::write(const std::string& path, std::string& why) const {
    uint64_t total = 22;
    for (const Entry& e : entries_) total += 30 + 46 + 2 * e.name.size() + e.data.size();
    if (total > 0xFFFFFFFFu) {
        why = QT_TRANSLATE_NOOP("Failure", "the project would be larger than 4 GB");
        return false;
    }
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) {
        why = std::strerror(errno);
        return false;
    }
    bool ok = true;
    auto emit = [&](std::string_view bytes) {
        ok = ok && std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    };
    std::string central;
    uint32_t offset = 0;
    for (const Entry& e : entries_) {
        const uint32_t crc = crcOf(e.data), size = uint32_t(e.data.size());
        std::string header;
        put32(header, kLocalHeader);
        put16(header, 10); // version needed: stored entries
        put16(header, kUtf8Names);
        put16(header, 0); // stored
        put16(header, kDosTime);
        put16(header, kDosDate);
        put32(header, crc);
        put32(header, size);
        put32(header, size);
        put16(header, uint32_t(e.name.size()));
        put16(header, 0);
        header += e.name;
        emit(header);
        emit(e.data);

        put32(central, kCentralHeader);
        put16(central, (3 << 8) | 20); // made on Unix, by a ZIP 2.0 writer
        put16(central, 10);
        put16(central, kUtf8Names);
        put16(central, 0);
        put16(central, kDosTime);
        put16(central, kDosDate);
        put32(central, crc);
        put32(central, size);
        put32(central, size);
        put16(central, uint32_t(e.name.size()));
        put16(central, 0); // extra
        put16(central, 0); // comment
        put16(central, 0); // disk
        put16(central, 0); // internal attributes
        put32(central, uint32_t(0100644) << 16);
        put32(central, offset);
        central += e.name;
        offset += uint32_t(header.size() + e.data.size());
    }
    std::string end;
    put32(end, kEnd);
    put16(end, 0);
    put16(end, 0);
    put16(end, uint32_t(entries_.size()));
    put16(end, uint32_t(entries_.size()));
    put32(end, uint32_t(central.size()));
    put32(end, offset);
    put16(end, 0);
    emit(central);
    emit(end);
    if (std::fflush(f) != 0 || std::ferror(f)) ok = false;
    if (std::fclose(f) != 0) ok = false;
    if (!ok) why = std::strerror(errno ? errno : EIO);
    return ok;
}

bool ZipReader::open(std::string bytes, std::string& why) {
    bytes_ = std::move(bytes);
    entries_.clear();
    const std::string& s = bytes_;
    auto damaged = [&](const char* what) {
        why = what;
        entries_.clear();
        return false;
    };
    if (s.size() < 22) return damaged(QT_TRANSLATE_NOOP("Failure", "it is not a project file (too short)"));
    // The end record sits at most a 64 KB comment before the end of the file.
    uint64_t end = s.size() - 22;
    const uint64_t lowest = s.size() > 22 + 0xFFFF ? s.size() - 22 - 0xFFFF : 0;
    while (get32(s, end) != kEnd) {
        if (end == lowest)
            return damaged(QT_TRANSLATE_NOOP("Failure", "it is not a project file (no archive directory)"));
        --end;
    }
    const uint32_t count = get16(s, end + 10);
    const uint64_t dirSize = get32(s, end + 12), dirOffset = get32(s, end + 16);
    if (dirOffset + dirSize > end)
        return damaged(QT_TRANSLATE_NOOP("Failure", "its archive directory is damaged"));
    uint64_t at = dirOffset;
    for (uint32_t i = 0; i < count; ++i) {
        if (at + 46 > dirOffset + dirSize || get32(s, at) != kCentralHeader)
            return damaged(QT_TRANSLATE_NOOP("Failure", "its archive directory is damaged"));
        Entry e;
        e.method = uint16_t(get16(s, at + 10));
        e.crc = get32(s, at + 16);
        e.compressedSize = get32(s, at + 20);
        e.size = get32(s, at + 24);
        const uint32_t nameLength = get16(s, at + 28), extra = get16(s, at + 30), comment = get16(s, at + 32);
        e.localOffset = get32(s, at + 42);
        if (at + 46 + nameLength > dirOffset + dirSize)
            return damaged(QT_TRANSLATE_NOOP("Failure", "its archive directory is damaged"));
        e.name = s.substr(at + 46, nameLength);
        at += 46 + nameLength + extra + comment;
        entries_.push_back(std::move(e));
    }
    return true;
}

std::vector<std::string> ZipReader::names() const {
    std::vector<std::string> out;
    for (const Entry& e : entries_) out.push_back(e.name);
    return out;
}

bool ZipReader::contains(std::string_view name) const {
    for (const Entry& e : entries_)
        if (e.name == name) return true;
    return false;
}

std::optional<std::string> ZipReader::read(std::string_view name, std::string& why) const {
    const Entry* entry = nullptr;
    for (const Entry& e : entries_)
        if (e.name == name) entry = &e;
    if (!entry) {
        why = failure::compose(failure::kEntryMissing, {name});
        return std::nullopt;
    }
    auto damaged = [&] {
        why = failure::compose(failure::kEntryDamaged, {name});
        return std::nullopt;
    };
    const std::string& s = bytes_;
    const uint64_t at = entry->localOffset;
    if (at + 30 > s.size() || get32(s, at) != kLocalHeader) return damaged();
    const uint64_t data = at + 30 + get16(s, at + 26) + get16(s, at + 28);
    if (data + entry->compressedSize > s.size()) return damaged();
    std::string out;
    if (entry->method == 0) {
        if (entry->compressedSize != entry->size) return damaged();
        out = s.substr(data, entry->size);
    } else if (entry->method == 8) {
        // Sizes come from the file: the output grows only as far as the inflated data does, and
        // never past what any entry of a project can be (a camera's raw file is far smaller).
        if (entry->size > kMaxInflatedSize) {
            why = failure::compose(failure::kEntryTooLarge, {name});
            return std::nullopt;
        }
        z_stream z{};
        if (inflateInit2(&z, -15) != Z_OK) return damaged();
        out.resize(std::min<uint64_t>(entry->size, 64u << 20));
        z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(s.data() + data));
        z.avail_in = uInt(entry->compressedSize);
        int r = Z_OK;
        std::size_t produced = 0;
        while (r == Z_OK) {
            if (produced == out.size()) {
                if (out.size() >= entry->size) break;
                out.resize(std::min<uint64_t>(entry->size, out.size() * 2));
            }
            z.next_out = reinterpret_cast<Bytef*>(out.data() + produced);
            z.avail_out = uInt(out.size() - produced);
            r = inflate(&z, Z_NO_FLUSH);
            produced = out.size() - z.avail_out;
        }
        inflateEnd(&z);
        if (r != Z_STREAM_END || produced != entry->size) return damaged();
    } else {
        why = failure::compose(failure::kEntryPacking, {name});
        return std::nullopt;
    }
    if (crcOf(out) != entry->crc) return damaged();
    return out;
}

} // namespace pimavo
