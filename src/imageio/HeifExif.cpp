#include "HeifExif.h"

#include "FailureText.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <optional>
#include <string_view>

namespace pimavo {

namespace {

// A box of the file: where its content starts and ends, as offsets into the file.
struct Box {
    char type[5] = {};
    uint64_t contentStart = 0, end = 0;
};

uint64_t readBig(const uint8_t* p, int bytes) {
    uint64_t v = 0;
    for (int i = 0; i < bytes; ++i) v = (v << 8) | p[i];
    return v;
}

void writeBig(uint8_t* p, int bytes, uint64_t v) {
    for (int i = bytes - 1; i >= 0; --i, v >>= 8) p[i] = uint8_t(v & 0xFF);
}

// The boxes in [start, end) of `data`, whose first byte lies at file offset `base`; nothing when a
// box's size does not fit.
std::optional<std::vector<Box>> boxesIn(const std::vector<uint8_t>& data, uint64_t start, uint64_t end,
                                        uint64_t base) {
    std::vector<Box> out;
    uint64_t at = start;
    while (at + 8 <= end) {
        Box b;
        uint64_t size = readBig(&data[at], 4);
        std::memcpy(b.type, &data[at + 4], 4);
        uint64_t header = 8;
        if (size == 1) {
            if (at + 16 > end) return std::nullopt;
            size = readBig(&data[at + 8], 8);
            header = 16;
        } else if (size == 0) {
            size = end - at;
        }
        // Compared with what is left rather than added to `at`: a 64-bit size can wrap the sum round.
        if (size < header || size > end - at) return std::nullopt;
        b.contentStart = base + at + header;
        b.end = base + at + size;
        out.push_back(b);
        at += size;
    }
    return out;
}

const Box* find(const std::vector<Box>& boxes, const char* type) {
    for (const Box& b : boxes)
        if (std::memcmp(b.type, type, 4) == 0) return &b;
    return nullptr;
}

// The id of the first item of `type` in an item information box (of a "mime" item, also of
// `contentType`); nothing when there is none.
std::optional<uint32_t> findItem(const std::vector<uint8_t>& meta, const Box& iinf, uint64_t base,
                                 const char* type, std::string_view contentType = {}) {
    uint64_t at = iinf.contentStart - base;
    const uint64_t end = iinf.end - base;
    if (at + 4 > end) return std::nullopt;
    const int version = meta[at];
    at += 4 + (version == 0 ? 2 : 4); // version, flags, entry count
    auto entries = boxesIn(meta, at, end, base);
    if (!entries) return std::nullopt;
    for (const Box& infe : *entries) {
        if (std::memcmp(infe.type, "infe", 4) != 0) continue;
        const uint64_t p = infe.contentStart - base, stop = infe.end - base;
        if (p + 4 > stop) continue;
        const int v = meta[p];
        if (v < 2) continue; // older entries carry no item type
        const int idBytes = v == 2 ? 2 : 4;
        const uint64_t typeAt = p + 4 + idBytes + 2;
        if (typeAt + 4 > stop || std::memcmp(&meta[typeAt], type, 4) != 0) continue;
        if (!contentType.empty()) {
            // The item's name, then its content type, each ending in a zero.
            uint64_t q = typeAt + 4;
            while (q < stop && meta[q] != 0) ++q;
            const uint64_t start = q + 1;
            for (q = start; q < stop && meta[q] != 0;) ++q;
            if (start >= stop ||
                std::string_view(reinterpret_cast<const char*>(&meta[start]), q - start) != contentType)
                continue;
        }
        return uint32_t(readBig(&meta[p + 4], idBytes));
    }
    return std::nullopt;
}

// One item's entry in the location table: where its fields are (indices into the metadata box's
// bytes), and their values.
struct Extent {
    uint64_t offsetAt = 0, offset = 0, lengthAt = 0, length = 0;
};
struct ItemLocation {
    int method = 0; // 0: in the file, 1: in the metadata box's data box
    int offsetSize = 0, lengthSize = 0, baseSize = 0;
    uint64_t baseAt = 0, base = 0;
    std::vector<Extent> extents;
};

std::optional<ItemLocation> locate(const std::vector<uint8_t>& meta, const Box& iloc, uint64_t base,
                                   uint32_t item) {
    uint64_t p = iloc.contentStart - base;
    const uint64_t end = iloc.end - base;
    if (p + 8 > end) return std::nullopt;
    ItemLocation loc;
    std::optional<ItemLocation> found;
    const int version = meta[p];
    loc.offsetSize = meta[p + 4] >> 4;
    loc.lengthSize = meta[p + 4] & 15;
    loc.baseSize = meta[p + 5] >> 4;
    const int indexSize = version >= 1 ? meta[p + 5] & 15 : 0;
    p += 6;
    const int idBytes = version < 2 ? 2 : 4;
    if (p + idBytes > end) return std::nullopt;
    const uint64_t count = readBig(&meta[p], idBytes);
    p += idBytes;
    for (uint64_t i = 0; i < count; ++i) {
        if (p + idBytes + (version >= 1 ? 2 : 0) + 2 + loc.baseSize + 2 > end) return std::nullopt;
        const uint64_t id = readBig(&meta[p], idBytes);
        p += idBytes;
        loc.method = version >= 1 ? meta[p + 1] & 15 : 0;
        p += (version >= 1 ? 2 : 0) + 2; // construction method, data reference
        loc.baseAt = p;
        loc.base = readBig(&meta[p], loc.baseSize);
        p += loc.baseSize;
        const uint64_t extents = readBig(&meta[p], 2);
        p += 2;
        if (p + extents * uint64_t(indexSize + loc.offsetSize + loc.lengthSize) > end) return std::nullopt;
        loc.extents.clear();
        for (uint64_t e = 0; e < extents; ++e) {
            Extent x;
            p += indexSize;
            x.offsetAt = p;
            x.offset = readBig(&meta[p], loc.offsetSize);
            p += loc.offsetSize;
            x.lengthAt = p;
            x.length = readBig(&meta[p], loc.lengthSize);
            p += loc.lengthSize;
            loc.extents.push_back(x);
        }
        if (id == item) found = loc;
    }
    // Only a table that is whole is trusted: one that claims more than it holds is damaged.
    return found;
}

// The top-level metadata box of an open HEIF file, read whole (it is small), with its boxes.
struct MetaBox {
    uint64_t base = 0;       // file offset of its first content byte
    bool endsTheFile = true; // whether the top-level boxes end where the file does
    std::vector<uint8_t> bytes;
    std::vector<Box> children;
};

std::optional<MetaBox> readMetaBox(std::istream& file, uint64_t fileSize, std::string& why) {
    // The top-level boxes, by their headers only: the picture data is not read.
    std::optional<MetaBox> meta;
    uint64_t at = 0;
    while (at + 8 <= fileSize) {
        uint8_t header[16];
        file.seekg(std::streamoff(at));
        if (!file.read(reinterpret_cast<char*>(header), 8))
            return why = QT_TRANSLATE_NOOP("Failure", "the file cannot be read"), std::nullopt;
        uint64_t size = readBig(header, 4), headerSize = 8;
        if (size == 1) {
            if (!file.read(reinterpret_cast<char*>(header + 8), 8))
                return why = QT_TRANSLATE_NOOP("Failure", "the file cannot be read"), std::nullopt;
            size = readBig(header + 8, 8);
            headerSize = 16;
        }
        // A last box without a size would take in anything appended after it.
        if (size == 0 || size < headerSize || size > fileSize - at)
            return why = QT_TRANSLATE_NOOP("Failure", "the HEIF file is malformed"), std::nullopt;
        if (at == 0 && std::memcmp(header + 4, "ftyp", 4) != 0)
            return why = QT_TRANSLATE_NOOP("Failure", "the file is no HEIF file"), std::nullopt;
        if (std::memcmp(header + 4, "meta", 4) == 0) {
            meta.emplace();
            meta->base = at + headerSize;
            meta->bytes.resize(size - headerSize);
        }
        at += size;
    }
    if (!meta) return why = QT_TRANSLATE_NOOP("Failure", "the HEIF file has no metadata box"), std::nullopt;
    meta->endsTheFile = at == fileSize;
    file.seekg(std::streamoff(meta->base));
    if (!file.read(reinterpret_cast<char*>(meta->bytes.data()), std::streamsize(meta->bytes.size())))
        return why = QT_TRANSLATE_NOOP("Failure", "the file cannot be read"), std::nullopt;
    auto children = boxesIn(meta->bytes, 4, meta->bytes.size(), meta->base); // after version and flags
    if (!children) return why = QT_TRANSLATE_NOOP("Failure", "the HEIF file is malformed"), std::nullopt;
    meta->children = std::move(*children);
    return meta;
}

} // namespace

bool putHeifExif(const std::string& path, const std::vector<uint8_t>& tiffBlock, std::string* why) {
    auto fail = [&](const std::string& reason) {
        if (why) *why = reason;
        return false;
    };
    std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
    if (!file) return fail(QT_TRANSLATE_NOOP("Failure", "the file cannot be opened"));
    file.seekg(0, std::ios::end);
    const uint64_t fileSize = uint64_t(file.tellg());
    std::string reason;
    std::optional<MetaBox> meta = readMetaBox(file, fileSize, reason);
    if (!meta) return fail(reason);
    // A box appended after bytes that are no box would not be found where it is.
    if (!meta->endsTheFile)
        return fail(QT_TRANSLATE_NOOP("Failure", "the HEIF file has bytes after its last box"));
    const Box* iinf = find(meta->children, "iinf");
    const Box* iloc = find(meta->children, "iloc");
    const std::optional<uint32_t> item =
        iinf ? findItem(meta->bytes, *iinf, meta->base, "Exif") : std::nullopt;
    const std::optional<ItemLocation> loc =
        item && iloc ? locate(meta->bytes, *iloc, meta->base, *item) : std::nullopt;
    if (!loc) return fail(QT_TRANSLATE_NOOP("Failure", "the HEIF file has no place for EXIF"));
    if (loc->method != 0 || loc->extents.size() != 1)
        return fail(
            QT_TRANSLATE_NOOP("Failure", "the HEIF file keeps its EXIF in a way Pimavo cannot change"));

    // The block, after the offset of its TIFF header, in a data box of its own at the end.
    static const uint8_t kHead[] = {0, 0, 0, 6, 'E', 'x', 'i', 'f', 0, 0};
    const uint64_t payload = sizeof kHead + tiffBlock.size();
    const uint64_t boxSize = 8 + payload;
    const uint64_t blockAt = fileSize + 8;
    auto fits = [](int bytes, uint64_t v) { return bytes >= 8 || (bytes > 0 && v >> (8 * bytes) == 0); };
    // Where the item lies is its base offset plus its extent's; Exiv2 reads only the base.
    const bool inBase = fits(loc->baseSize, blockAt);
    if ((!inBase && !fits(loc->offsetSize, blockAt)) || !fits(loc->lengthSize, payload) || !fits(4, boxSize))
        return fail(QT_TRANSLATE_NOOP("Failure", "the HEIF file has no room to say where its EXIF is"));
    uint8_t* bytes = meta->bytes.data();
    if (loc->baseSize > 0) writeBig(bytes + loc->baseAt, loc->baseSize, inBase ? blockAt : 0);
    if (loc->offsetSize > 0)
        writeBig(bytes + loc->extents[0].offsetAt, loc->offsetSize, inBase ? 0 : blockAt);
    writeBig(bytes + loc->extents[0].lengthAt, loc->lengthSize, payload);

    uint8_t header[8];
    writeBig(header, 4, boxSize);
    std::memcpy(header + 4, "mdat", 4);
    file.clear();
    file.seekp(std::streamoff(fileSize));
    file.write(reinterpret_cast<const char*>(header), 8);
    file.write(reinterpret_cast<const char*>(kHead), sizeof kHead);
    file.write(reinterpret_cast<const char*>(tiffBlock.data()), std::streamsize(tiffBlock.size()));
    // The table last: until it points at the block, the file is what the encoder wrote.
    file.seekp(std::streamoff(meta->base));
    file.write(reinterpret_cast<const char*>(meta->bytes.data()), std::streamsize(meta->bytes.size()));
    file.flush();
    if (!file) return fail(QT_TRANSLATE_NOOP("Failure", "the file cannot be written"));
    return true;
}

std::string readHeifXmp(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return {};
    file.seekg(0, std::ios::end);
    const uint64_t fileSize = uint64_t(file.tellg());
    std::string why;
    std::optional<MetaBox> meta = readMetaBox(file, fileSize, why);
    if (!meta) return {};
    const Box* iinf = find(meta->children, "iinf");
    const Box* iloc = find(meta->children, "iloc");
    const Box* idat = find(meta->children, "idat");
    const std::optional<uint32_t> item =
        iinf ? findItem(meta->bytes, *iinf, meta->base, "mime", "application/rdf+xml") : std::nullopt;
    const std::optional<ItemLocation> loc =
        item && iloc ? locate(meta->bytes, *iloc, meta->base, *item) : std::nullopt;
    if (!loc || loc->method > 1 || (loc->method == 1 && !idat)) return {};
    // In the file, or in the metadata box's own data box; either way within the file.
    const uint64_t origin = loc->method == 1 ? idat->contentStart : 0;
    const uint64_t limit = loc->method == 1 ? idat->end : fileSize;
    std::string xmp;
    for (const Extent& e : loc->extents) {
        const uint64_t from = origin + loc->base + e.offset;
        const uint64_t length = e.length ? e.length : limit - std::min(limit, from);
        if (from > limit || length > limit - from || xmp.size() + length > (16u << 20)) return {};
        std::string part(length, '\0');
        file.clear();
        file.seekg(std::streamoff(from));
        if (!file.read(part.data(), std::streamsize(length))) return {};
        xmp += part;
    }
    return xmp;
}

} // namespace pimavo
