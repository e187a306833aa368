#include "HeifExif.h"

#include <cstring>
#include <fstream>
#include <optional>

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
        if (size < header || at + size > end) return std::nullopt;
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

// The id of the item whose type is "Exif" in an item information box; nothing when there is none.
std::optional<uint32_t> exifItem(const std::vector<uint8_t>& meta, const Box& iinf, uint64_t base) {
    uint64_t at = iinf.contentStart - base;
    const uint64_t end = iinf.end - base;
    if (at + 4 > end) return std::nullopt;
    const int version = meta[at];
    at += 4 + (version == 0 ? 2 : 4); // version, flags, entry count
    auto entries = boxesIn(meta, at, end, base);
    if (!entries) return std::nullopt;
    for (const Box& infe : *entries) {
        if (std::memcmp(infe.type, "infe", 4) != 0) continue;
        const uint64_t p = infe.contentStart - base;
        const int v = meta[p];
        if (v < 2) continue; // older entries carry no item type
        const int idBytes = v == 2 ? 2 : 4;
        if (p + 4 + idBytes + 2 + 4 > infe.end - base) continue;
        if (std::memcmp(&meta[p + 4 + idBytes + 2], "Exif", 4) == 0)
            return uint32_t(readBig(&meta[p + 4], idBytes));
    }
    return std::nullopt;
}

} // namespace

bool putHeifExif(const std::string& path, const std::vector<uint8_t>& tiffBlock, std::string* why) {
    auto fail = [&](const std::string& reason) {
        if (why) *why = reason;
        return false;
    };
    std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
    if (!file) return fail("the file cannot be opened");
    file.seekg(0, std::ios::end);
    const uint64_t fileSize = uint64_t(file.tellg());

    // The top-level boxes, by their headers only: the picture data is not read.
    std::optional<Box> metaBox;
    uint64_t at = 0;
    while (at + 8 <= fileSize) {
        uint8_t header[16];
        file.seekg(std::streamoff(at));
        if (!file.read(reinterpret_cast<char*>(header), 8)) return fail("the file cannot be read");
        uint64_t size = readBig(header, 4), headerSize = 8;
        if (size == 1) {
            if (!file.read(reinterpret_cast<char*>(header + 8), 8)) return fail("the file cannot be read");
            size = readBig(header + 8, 8);
            headerSize = 16;
        }
        // A last box without a size would take in the block appended after it.
        if (size == 0 || size < headerSize || at + size > fileSize) return fail("the HEIF file is malformed");
        if (at == 0 && std::memcmp(header + 4, "ftyp", 4) != 0) return fail("the file is no HEIF file");
        if (std::memcmp(header + 4, "meta", 4) == 0) {
            Box b;
            std::memcpy(b.type, "meta", 4);
            b.contentStart = at + headerSize;
            b.end = at + size;
            metaBox = b;
        }
        at += size;
    }
    if (!metaBox) return fail("the HEIF file has no metadata box");

    // The metadata box, read whole: it is small.
    const uint64_t base = metaBox->contentStart;
    std::vector<uint8_t> meta(metaBox->end - base);
    file.seekg(std::streamoff(base));
    if (!file.read(reinterpret_cast<char*>(meta.data()), std::streamsize(meta.size())))
        return fail("the file cannot be read");
    auto children = boxesIn(meta, 4, meta.size(), base); // after its version and flags
    if (!children) return fail("the HEIF file is malformed");
    const Box* iinf = find(*children, "iinf");
    const Box* iloc = find(*children, "iloc");
    const std::optional<uint32_t> item = iinf ? exifItem(meta, *iinf, base) : std::nullopt;
    if (!item || !iloc) return fail("the HEIF file has no place for EXIF");

    // The item's entry in the location table.
    uint64_t p = iloc->contentStart - base;
    const uint64_t end = iloc->end - base;
    if (p + 8 > end) return fail("the HEIF file is malformed");
    const int version = meta[p];
    const int offsetSize = meta[p + 4] >> 4, lengthSize = meta[p + 4] & 15;
    const int baseSize = meta[p + 5] >> 4, indexSize = version >= 1 ? meta[p + 5] & 15 : 0;
    p += 6;
    const int idBytes = version < 2 ? 2 : 4;
    const uint64_t count = readBig(&meta[p], idBytes);
    p += idBytes;
    std::optional<uint64_t> baseAt, offsetAt, lengthAt;
    for (uint64_t i = 0; i < count; ++i) {
        if (p + idBytes + (version >= 1 ? 2 : 0) + 2 + baseSize + 2 > end)
            return fail("the HEIF file is malformed");
        const uint64_t id = readBig(&meta[p], idBytes);
        p += idBytes;
        const int method = version >= 1 ? meta[p + 1] & 15 : 0;
        p += (version >= 1 ? 2 : 0) + 2; // construction method, data reference
        const uint64_t thisBase = p;
        p += baseSize;
        const uint64_t extents = readBig(&meta[p], 2);
        p += 2;
        const uint64_t extentBytes = uint64_t(indexSize + offsetSize + lengthSize);
        if (p + extents * extentBytes > end) return fail("the HEIF file is malformed");
        if (id == *item) {
            if (method != 0 || extents != 1)
                return fail("the HEIF file keeps its EXIF in a way Pimavo cannot change");
            baseAt = thisBase;
            offsetAt = p + indexSize;
            lengthAt = p + indexSize + offsetSize;
        }
        p += extents * extentBytes;
    }
    if (!lengthAt) return fail("the HEIF file has no place for EXIF");
    // The block, after the offset of its TIFF header, in a data box of its own at the end.
    static const uint8_t kHead[] = {0, 0, 0, 6, 'E', 'x', 'i', 'f', 0, 0};
    const uint64_t payload = sizeof kHead + tiffBlock.size();
    const uint64_t boxSize = 8 + payload;
    const uint64_t blockAt = fileSize + 8;
    auto fits = [](int bytes, uint64_t v) { return bytes >= 8 || (bytes > 0 && v >> (8 * bytes) == 0); };
    // Where the item lies is its base offset plus its extent's; Exiv2 reads only the base.
    const bool inBase = fits(baseSize, blockAt);
    if ((!inBase && !fits(offsetSize, blockAt)) || !fits(lengthSize, payload) || !fits(4, boxSize))
        return fail("the HEIF file has no room to say where its EXIF is");
    if (baseSize > 0) writeBig(&meta[*baseAt], baseSize, inBase ? blockAt : 0);
    if (offsetSize > 0) writeBig(&meta[*offsetAt], offsetSize, inBase ? 0 : blockAt);
    writeBig(&meta[*lengthAt], lengthSize, payload);

    uint8_t header[8];
    writeBig(header, 4, boxSize);
    std::memcpy(header + 4, "mdat", 4);
    file.clear();
    file.seekp(std::streamoff(fileSize));
    file.write(reinterpret_cast<const char*>(header), 8);
    file.write(reinterpret_cast<const char*>(kHead), sizeof kHead);
    file.write(reinterpret_cast<const char*>(tiffBlock.data()), std::streamsize(tiffBlock.size()));
    // The table last: until it points at the block, the file is what the encoder wrote.
    file.seekp(std::streamoff(base));
    file.write(reinterpret_cast<const char*>(meta.data()), std::streamsize(meta.size()));
    file.flush();
    if (!file) return fail("the file cannot be written");
    return true;
}

} // namespace pimavo
