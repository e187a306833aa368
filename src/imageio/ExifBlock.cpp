#include "ExifBlock.h"

#include "FailureText.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fstream>
#include <iterator>
#include <zlib.h>

namespace pimavo {

namespace {

constexpr char kExifHeader[] = {'E', 'x', 'i', 'f', 0, 0};
// A JPEG segment holds at most 65535 bytes, its own length field included.
constexpr std::size_t kMaxBlock = 65535 - 2 - sizeof kExifHeader;

std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return in ? std::string(std::istreambuf_iterator<char>(in), {}) : std::string();
}

// A JPEG file up to its picture data: the segments before it, without reading the rest.
std::string readHead(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string head(2, '\0');
    if (!in.read(head.data(), 2)) return {};
    while (true) {
        char m[4];
        if (!in.read(m, 4) || uint8_t(m[0]) != 0xFF) break;
        const std::size_t length = std::size_t(uint8_t(m[2])) << 8 | uint8_t(m[3]);
        if (length < 2) break;
        const std::size_t at = head.size();
        head.append(m, 4);
        head.resize(at + 2 + length);
        if (!in.read(head.data() + at + 4, std::streamsize(length - 2))) break;
        if (uint8_t(m[1]) == 0xDA) break;
    }
    return head;
}

// Where a JPEG file's segments before the picture data lie: marker, start of payload, payload size.
struct Segment {
    uint8_t marker;
    std::size_t payload, size;
};

std::vector<Segment> headerSegments(const std::string& jpeg) {
    std::vector<Segment> out;
    if (jpeg.size() < 4 || uint8_t(jpeg[0]) != 0xFF || uint8_t(jpeg[1]) != 0xD8) return out;
    std::size_t i = 2;
    while (i + 4 <= jpeg.size() && uint8_t(jpeg[i]) == 0xFF) {
        const uint8_t marker = uint8_t(jpeg[i + 1]);
        if (marker == 0xFF) { // fill byte
            ++i;
            continue;
        }
        const std::size_t length = std::size_t(uint8_t(jpeg[i + 2])) << 8 | uint8_t(jpeg[i + 3]);
        if (length < 2 || i + 2 + length > jpeg.size()) break;
        out.push_back({marker, i + 4, length - 2});
        if (marker == 0xDA) break; // the picture data follows
        i += 2 + length;
    }
    return out;
}

bool isExifSegment(const std::string& jpeg, const Segment& s) {
    return s.marker == 0xE1 && s.size >= sizeof kExifHeader &&
           std::memcmp(jpeg.data() + s.payload, kExifHeader, sizeof kExifHeader) == 0;
}

constexpr std::string_view kXmpHeader{"http://ns.adobe.com/xap/1.0/\0", 29};
constexpr std::string_view kPhotoshopHeader{"Photoshop 3.0\0", 14};
constexpr std::string_view kJfifHeader{"JFIF\0", 5};

bool startsWith(const std::string& jpeg, const Segment& s, uint8_t marker, std::string_view header) {
    return s.marker == marker && s.size >= header.size() &&
           std::string_view(jpeg).substr(s.payload, header.size()) == header;
}

bool isXmpSegment(const std::string& jpeg, const Segment& s) {
    return startsWith(jpeg, s, 0xE1, kXmpHeader);
}
bool isPhotoshopSegment(const std::string& jpeg, const Segment& s) {
    return startsWith(jpeg, s, 0xED, kPhotoshopHeader);
}
bool isJfifSegment(const std::string& jpeg, const Segment& s) {
    return startsWith(jpeg, s, 0xE0, kJfifHeader);
}

void appendSegment(std::string& out, uint8_t marker, std::string_view payload) {
    const std::size_t length = payload.size() + 2;
    out.push_back(char(0xFF));
    out.push_back(char(marker));
    out.push_back(char(length >> 8));
    out.push_back(char(length & 0xFF));
    out.append(payload);
}

// The block's own byte order, for reading and writing its numbers in place.
class Tiff {
public:
    explicit Tiff(std::vector<uint8_t>& b) : b_(b) {}
    bool start() {
        if (b_.size() < 8) return false;
        if (b_[0] == 'I' && b_[1] == 'I')
            big_ = false;
        else if (b_[0] == 'M' && b_[1] == 'M')
            big_ = true;
        else
            return false;
        return u16(2) == 42;
    }
    bool fits(std::size_t at, std::size_t n) const { return at <= b_.size() && n <= b_.size() - at; }
    uint32_t u16(std::size_t at) const {
        return big_ ? uint32_t(b_[at]) << 8 | b_[at + 1] : uint32_t(b_[at + 1]) << 8 | b_[at];
    }
    uint32_t u32(std::size_t at) const {
        return big_ ? u16(at) << 16 | u16(at + 2) : u16(at + 2) << 16 | u16(at);
    }
    void put16(std::size_t at, uint32_t v) {
        b_[at + (big_ ? 0 : 1)] = uint8_t(v >> 8);
        b_[at + (big_ ? 1 : 0)] = uint8_t(v);
    }
    void put32(std::size_t at, uint32_t v) {
        put16(at + (big_ ? 0 : 2), v >> 16);
        put16(at + (big_ ? 2 : 0), v & 0xFFFF);
    }
    std::vector<uint8_t>& bytes() { return b_; }

private:
    std::vector<uint8_t>& b_;
    bool big_ = false;
};

struct Entry {
    std::size_t at; // of its 12 bytes
    uint32_t tag, type, count;
};

// A directory's entries, or nothing when it does not lie whole in the block.
std::optional<std::vector<Entry>> directory(const Tiff& t, std::size_t at, std::size_t* next = nullptr) {
    if (!t.fits(at, 2)) return std::nullopt;
    const std::size_t n = t.u16(at);
    if (!t.fits(at + 2, n * 12 + 4)) return std::nullopt;
    std::vector<Entry> out;
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t e = at + 2 + i * 12;
        out.push_back({e, t.u16(e), t.u16(e + 2), t.u32(e + 4)});
    }
    if (next) *next = at + 2 + n * 12;
    return out;
}

// A number that a directory holds in the entry itself (a short or a long).
void setInlineNumber(Tiff& t, const Entry& e, uint32_t v) {
    if (e.type == 3 && v <= 0xFFFF) {
        t.put16(e.at + 8, v);
        t.put16(e.at + 10, 0);
    } else {
        t.put16(e.at + 2, 4); // a long, in the same four bytes
        t.put32(e.at + 8, v);
    }
}

std::size_t appendAligned(std::vector<uint8_t>& b, const void* data, std::size_t n) {
    if (b.size() % 2) b.push_back(0);
    const std::size_t at = b.size();
    const auto* p = static_cast<const uint8_t*>(data);
    b.insert(b.end(), p, p + n);
    return at;
}

} // namespace

JpegMetadata readJpegMetadata(const std::string& path) {
    JpegMetadata m;
    const std::string jpeg = readHead(path);
    for (const Segment& s : headerSegments(jpeg)) {
        if (isExifSegment(jpeg, s) && m.exifBlock.empty())
            m.exifBlock.assign(jpeg.begin() + std::ptrdiff_t(s.payload + sizeof kExifHeader),
                               jpeg.begin() + std::ptrdiff_t(s.payload + s.size));
        else if (isXmpSegment(jpeg, s) && m.xmp.empty())
            m.xmp = jpeg.substr(s.payload, s.size);
        else if (isPhotoshopSegment(jpeg, s) && m.photoshop.empty())
            m.photoshop = jpeg.substr(s.payload, s.size);
        else if (isJfifSegment(jpeg, s))
            m.jfif = true;
    }
    return m;
}

bool xmpNeedsNoChange(const std::string& xmp) {
    for (const char* p : {"tiff:Orientation", "tiff:ImageWidth", "tiff:ImageLength", "exif:PixelXDimension",
                          "exif:PixelYDimension", "xmp:ModifyDate", "xmp:MetadataDate"})
        if (xmp.find(p) != std::string::npos) return false;
    return true;
}

bool photoshopNeedsNoChange(const std::string& photoshop) {
    // Image resources: "8BIM", a 16-bit id, a padded Pascal name, a 32-bit size, padded data.
    std::size_t i = kPhotoshopHeader.size();
    auto u = [&](std::size_t at, int n) {
        uint32_t v = 0;
        for (int k = 0; k < n; ++k) v = v << 8 | uint8_t(photoshop[at + std::size_t(k)]);
        return v;
    };
    while (i + 12 <= photoshop.size()) {
        if (photoshop.compare(i, 4, "8BIM") != 0) return false;
        const uint32_t id = u(i + 4, 2);
        std::size_t at = i + 6;
        const std::size_t nameLength = uint8_t(photoshop[at]);
        at += (nameLength + 2) & ~std::size_t(1);
        if (at + 4 > photoshop.size()) return false;
        const std::size_t size = u(at, 4);
        at += 4;
        if (id == 0x0409 || id == 0x040C) return false; // thumbnails of the unedited photo
        if (size > photoshop.size() - at) return false;
        i = at + ((size + 1) & ~std::size_t(1));
    }
    return true;
}

SaveTime SaveTime::now() {
    const std::time_t t = std::time(nullptr);
    std::tm local{};
    localtime_r(&t, &local);
    char date[32], zone[8];
    std::strftime(date, sizeof date, "%Y:%m:%d %H:%M:%S", &local);
    std::strftime(zone, sizeof zone, "%z", &local); // +hhmm
    SaveTime out;
    out.dateTime = date;
    out.offset = std::string(zone, 3) + ":" + std::string(zone + 3, 2);
    out.xmp = out.dateTime;
    out.xmp[4] = out.xmp[7] = '-';
    out.xmp[10] = 'T';
    out.xmp += out.offset;
    return out;
}

std::optional<std::vector<uint8_t>> exifBlockForSaving(std::vector<uint8_t> block, int width, int height,
                                                       std::string_view software, const SaveTime& saved) {
    Tiff t(block);
    if (!t.start() || width <= 0 || height <= 0) return std::nullopt;
    const std::size_t ifd0 = t.u32(4);
    std::size_t nextAt = 0;
    const auto entries = directory(t, ifd0, &nextAt);
    if (!entries) return std::nullopt;

    // The texts the saved picture has of its own: who wrote it, and when.
    struct Text {
        uint32_t tag;
        std::string value; // with its terminating NUL
        std::optional<Entry> entry;
    };
    Text texts[] = {{0x0131, std::string(software) + '\0', {}}, {0x0132, saved.dateTime + '\0', {}}};
    auto overwrite = [&](const Entry& e, const std::string& value) {
        // Written over the old text, the rest of its room cleared.
        const std::size_t at = e.count <= 4 ? e.at + 8 : t.u32(e.at + 8);
        if (!t.fits(at, e.count)) return false;
        std::memset(block.data() + at, 0, e.count);
        std::memcpy(block.data() + at, value.data(), value.size());
        return true;
    };
    const std::string offset = saved.offset + '\0';
    for (const Entry& e : *entries) {
        const bool inlineNumber = (e.type == 3 || e.type == 4) && e.count == 1;
        if (e.tag == 0x0112 && inlineNumber) setInlineNumber(t, e, 1); // Orientation
        if ((e.tag == 0x0100 || e.tag == 0x0101) && inlineNumber)      // ImageWidth, ImageLength
            setInlineNumber(t, e, uint32_t(e.tag == 0x0100 ? width : height));
        for (Text& text : texts)
            if (e.tag == text.tag) text.entry = e;
        if (e.tag == 0x8769 && e.type == 4 && e.count == 1) { // the Exif directory
            const auto exif = directory(t, t.u32(e.at + 8));
            if (!exif) return std::nullopt;
            for (const Entry& x : *exif) {
                if ((x.tag == 0xA002 || x.tag == 0xA003) && (x.type == 3 || x.type == 4) && x.count == 1)
                    setInlineNumber(t, x, uint32_t(x.tag == 0xA002 ? width : height));
                // OffsetTime: the time zone of the modification time, which is now the save's.
                if (x.tag == 0x9010 && x.type == 2 && x.count >= offset.size() && !overwrite(x, offset))
                    return std::nullopt;
            }
        }
    }
    // No thumbnail directory after the image's own: the camera's thumbnail shows the unedited photo.
    // Its bytes stay where they were; nothing points at them any more.
    t.put32(nextAt, 0);

    std::vector<const Text*> missing;
    for (const Text& text : texts) {
        if (!text.entry) {
            missing.push_back(&text);
            continue;
        }
        const Entry& e = *text.entry;
        if (e.type != 2) return std::nullopt; // a text entry of another type: not a block to trust
        if (text.value.size() <= e.count) {
            if (!overwrite(e, text.value)) return std::nullopt;
        } else {
            const std::size_t at = appendAligned(block, text.value.data(), text.value.size());
            t.put32(e.at + 4, uint32_t(text.value.size()));
            t.put32(e.at + 8, uint32_t(at));
        }
    }
    if (!missing.empty()) {
        // A directory as many entries longer, at the end of the block, in tag order; the old one
        // stays as unused bytes so that nothing else moves.
        std::vector<std::size_t> valueAt;
        for (const Text* text : missing)
            valueAt.push_back(
                text->value.size() > 4 ? appendAligned(block, text->value.data(), text->value.size()) : 0);
        const std::size_t n = entries->size() + missing.size();
        const std::size_t dirAt =
            appendAligned(block, std::vector<uint8_t>(2 + n * 12 + 4).data(), 2 + n * 12 + 4);
        Tiff u(block);
        u.start();
        u.put16(dirAt, uint32_t(n));
        std::size_t k = 0, next = 0;
        auto putText = [&] {
            const Text& text = *missing[next];
            const std::size_t e = dirAt + 2 + k++ * 12;
            u.put16(e, text.tag);
            u.put16(e + 2, 2);
            u.put32(e + 4, uint32_t(text.value.size()));
            if (text.value.size() <= 4)
                std::memcpy(block.data() + e + 8, text.value.data(), text.value.size());
            else
                u.put32(e + 8, uint32_t(valueAt[next]));
            ++next;
        };
        for (const Entry& e : *entries) {
            while (next < missing.size() && e.tag > missing[next]->tag) putText();
            std::memcpy(block.data() + dirAt + 2 + k++ * 12, block.data() + e.at, 12);
        }
        while (next < missing.size()) putText();
        u.put32(dirAt + 2 + n * 12, 0);
        u.put32(4, uint32_t(dirAt));
    }
    if (block.size() > kMaxBlock) return std::nullopt;
    return block;
}

std::vector<std::pair<int, std::string>> jpegSegments(const JpegMetadata& metadata) {
    std::vector<std::pair<int, std::string>> out;
    if (!metadata.exifBlock.empty()) {
        std::string payload(kExifHeader, sizeof kExifHeader);
        payload.append(reinterpret_cast<const char*>(metadata.exifBlock.data()), metadata.exifBlock.size());
        out.emplace_back(0xE1, std::move(payload));
    }
    if (!metadata.xmp.empty()) out.emplace_back(0xE1, metadata.xmp);
    if (!metadata.photoshop.empty()) out.emplace_back(0xED, metadata.photoshop);
    return out;
}

bool putJpegMetadata(const std::string& path, const JpegMetadata& metadata, std::string* why) {
    auto fail = [&](const char* reason) {
        if (why) *why = reason;
        return false;
    };
    if (metadata.exifBlock.size() > kMaxBlock || metadata.xmp.size() > 65533 ||
        metadata.photoshop.size() > 65533)
        return fail(QT_TRANSLATE_NOOP("Failure", "a metadata segment is too large"));
    const std::string jpeg = readAll(path);
    const auto segments = headerSegments(jpeg);
    if (segments.empty()) return fail(QT_TRANSLATE_NOOP("Failure", "the file is not a JPEG"));
    std::string out;
    out.reserve(jpeg.size() + metadata.exifBlock.size() + metadata.xmp.size() + metadata.photoshop.size() +
                20);
    out.append(jpeg, 0, 2);
    // A JFIF segment must come first; the metadata right after it, EXIF first, as cameras write it.
    std::size_t from = 2;
    if (isJfifSegment(jpeg, segments.front())) {
        from = segments.front().payload + segments.front().size;
        out.append(jpeg, 2, from - 2);
    }
    if (!metadata.exifBlock.empty()) {
        std::string payload(kExifHeader, sizeof kExifHeader);
        payload.append(reinterpret_cast<const char*>(metadata.exifBlock.data()), metadata.exifBlock.size());
        appendSegment(out, 0xE1, payload);
    }
    if (!metadata.xmp.empty()) appendSegment(out, 0xE1, metadata.xmp);
    if (!metadata.photoshop.empty()) appendSegment(out, 0xED, metadata.photoshop);
    // Everything else as it was, but segments of the kinds just written.
    for (const Segment& s : segments) {
        const std::size_t start = s.payload - 4;
        if (start < from) continue;
        const bool replaced = (isExifSegment(jpeg, s) && !metadata.exifBlock.empty()) ||
                              (isXmpSegment(jpeg, s) && !metadata.xmp.empty()) ||
                              (isPhotoshopSegment(jpeg, s) && !metadata.photoshop.empty());
        if (replaced) {
            out.append(jpeg, from, start - from);
            from = s.payload + s.size;
        }
    }
    out.append(jpeg, from, std::string::npos);
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return fail(QT_TRANSLATE_NOOP("Failure", "the file cannot be written"));
    const bool ok = std::fwrite(out.data(), 1, out.size(), f) == out.size();
    return std::fclose(f) == 0 && ok ? true
                                     : fail(QT_TRANSLATE_NOOP("Failure", "the file cannot be written"));
}

bool putPngExifChunk(const std::string& path, const std::vector<uint8_t>& block, std::string* why) {
    auto fail = [&](const char* reason) {
        if (why) *why = reason;
        return false;
    };
    const std::string png = readAll(path);
    static constexpr char kSignature[] = "\x89PNG\r\n\x1A\n";
    if (png.size() < 8 + 25 || png.compare(0, 8, kSignature, 8) != 0 || png.compare(12, 4, "IHDR") != 0)
        return fail(QT_TRANSLATE_NOOP("Failure", "the file is not a PNG"));
    // The header has 13 bytes in every PNG; any other length would put the chunk inside the file's
    // data, or after its end.
    auto be32 = [&](std::size_t at) {
        return uint32_t(uint8_t(png[at])) << 24 | uint32_t(uint8_t(png[at + 1])) << 16 |
               uint32_t(uint8_t(png[at + 2])) << 8 | uint32_t(uint8_t(png[at + 3]));
    };
    auto put32 = [](std::string& out, uint32_t v) {
        for (int s = 24; s >= 0; s -= 8) out.push_back(char((v >> s) & 0xFF));
    };
    if (be32(8) != 13) return fail(QT_TRANSLATE_NOOP("Failure", "the PNG is damaged"));
    const std::size_t afterHeader = 8 + 12 + 13;
    std::string out = png.substr(0, afterHeader);
    put32(out, uint32_t(block.size()));
    const std::size_t start = out.size();
    out += "eXIf";
    out.append(reinterpret_cast<const char*>(block.data()), block.size());
    put32(out,
          uint32_t(crc32(0, reinterpret_cast<const Bytef*>(out.data() + start), uInt(out.size() - start))));
    // The other chunks as they were, but an eXIf chunk already there.
    for (std::size_t at = afterHeader; at + 12 <= png.size();) {
        const std::size_t length = be32(at);
        if (length > png.size() - at - 12) return fail(QT_TRANSLATE_NOOP("Failure", "the PNG is damaged"));
        if (png.compare(at + 4, 4, "eXIf") != 0) out.append(png, at, 12 + length);
        at += 12 + length;
    }
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return fail(QT_TRANSLATE_NOOP("Failure", "the file cannot be written"));
    const bool ok = std::fwrite(out.data(), 1, out.size(), f) == out.size();
    return std::fclose(f) == 0 && ok ? true
                                     : fail(QT_TRANSLATE_NOOP("Failure", "the file cannot be written"));
}

bool exifBlockIsBigEndian(const std::vector<uint8_t>& block) {
    return block.size() >= 2 && block[0] == 'M' && block[1] == 'M';
}

namespace {

std::size_t typeSize(uint32_t type) {
    switch (type) {
    case 1:
    case 2:
    case 6:
    case 7:
        return 1; // byte, ascii, sbyte, undefined
    case 3:
    case 8:
        return 2; // short, sshort
    case 4:
    case 9:
    case 11:
    case 13:
        return 4; // long, slong, float, ifd
    case 5:
    case 10:
    case 12:
        return 8; // rational, srational, double
    default:
        return 0;
    }
}

// Tags that describe how a file stores its pixels, or hold metadata the file writes itself: the
// written file's own entries, never the block's.
bool isFileOwnTag(uint32_t tag) {
    static const uint32_t own[] = {254, 255, 256, 257, 258, 259, 262,   266,   273,  277, 278,
                                   279, 284, 317, 322, 323, 324, 325,   330,   338,  339, 513,
                                   514, 529, 530, 531, 532, 700, 33723, 34377, 34675};
    for (uint32_t t : own)
        if (t == tag) return true;
    return false;
}

} // namespace

bool putTiffExifBlock(const std::string& path, const std::vector<uint8_t>& block, std::string* why) {
    auto fail = [&](const char* reason) {
        if (why) *why = reason;
        return false;
    };
    std::vector<uint8_t> fileBytes;
    {
        const std::string all = readAll(path);
        fileBytes.assign(all.begin(), all.end());
    }
    std::vector<uint8_t> blockBytes(block);
    Tiff file(fileBytes), exif(blockBytes);
    if (!file.start() || !exif.start())
        return fail(QT_TRANSLATE_NOOP("Failure", "the file or the EXIF block is not TIFF-structured"));
    if (exifBlockIsBigEndian(block) != (fileBytes[0] == 'M'))
        return fail(QT_TRANSLATE_NOOP("Failure", "the byte orders differ"));
    // The file moves up by the block's size, kept even as TIFF offsets are.
    const uint32_t delta = uint32_t((block.size() + 1) & ~std::size_t(1));
    if (std::uint64_t(delta) + fileBytes.size() + 4096 > 0xFFFFFFFFull)
        return fail(QT_TRANSLATE_NOOP("Failure", "the file is too large"));
    const std::size_t fileIfd = file.u32(4);
    const auto own = directory(file, fileIfd);
    const auto theirs = directory(exif, exif.u32(4));
    if (!own || !theirs) return fail(QT_TRANSLATE_NOOP("Failure", "a directory does not lie in its file"));
    struct Out {
        uint32_t tag;
        uint8_t bytes[12];
    };
    std::vector<Out> entries;
    for (const Entry& e : *own) {
        // Directories of the file's own below this one would have to move too: not written by us.
        if (e.tag == 330 || e.tag == 34665 || e.tag == 34853 || e.tag == 40965)
            return fail(QT_TRANSLATE_NOOP("Failure", "the file has sub-directories"));
        const std::size_t size = typeSize(e.type) * e.count;
        if (size == 0) return fail(QT_TRANSLATE_NOOP("Failure", "an entry of an unknown type"));
        if (size > 4) {
            const std::size_t at = file.u32(e.at + 8);
            if (!file.fits(at, size))
                return fail(QT_TRANSLATE_NOOP("Failure", "an entry's value does not lie in its file"));
            file.put32(e.at + 8, uint32_t(at + delta));
        }
        if (e.tag == 273 || e.tag == 324) { // where the pixels are: each offset moves
            const std::size_t values = size > 4 ? file.u32(e.at + 8) - delta : e.at + 8;
            for (uint32_t i = 0; i < e.count; ++i) {
                if (e.type == 4)
                    file.put32(values + 4 * i, file.u32(values + 4 * i) + delta);
                else
                    return fail(QT_TRANSLATE_NOOP("Failure", "pixel offsets in shorts"));
            }
        }
        Out o{e.tag, {}};
        std::memcpy(o.bytes, fileBytes.data() + e.at, 12);
        entries.push_back(o);
    }
    // The block's descriptive entries (its Orientation and Software already those of the saved
    // picture), where the file has none of its own.
    for (const Entry& e : *theirs) {
        if (isFileOwnTag(e.tag) ||
            std::any_of(entries.begin(), entries.end(), [&](const Out& o) { return o.tag == e.tag; }))
            continue;
        Out o{e.tag, {}};
        std::memcpy(o.bytes, blockBytes.data() + e.at, 12); // values stay where they are in the block
        entries.push_back(o);
    }
    std::sort(entries.begin(), entries.end(), [](const Out& a, const Out& b) { return a.tag < b.tag; });

    std::vector<uint8_t> out(blockBytes);
    out.resize(delta, 0);
    out.insert(out.end(), fileBytes.begin(), fileBytes.end());
    if (out.size() % 2) out.push_back(0);
    const std::size_t dirAt = out.size();
    out.resize(out.size() + 2 + entries.size() * 12 + 4, 0);
    Tiff o(out);
    o.start();
    o.put16(dirAt, uint32_t(entries.size()));
    for (std::size_t i = 0; i < entries.size(); ++i)
        std::memcpy(out.data() + dirAt + 2 + i * 12, entries[i].bytes, 12);
    o.put32(4, uint32_t(dirAt));

    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return fail(QT_TRANSLATE_NOOP("Failure", "the file cannot be written"));
    const bool ok = std::fwrite(out.data(), 1, out.size(), f) == out.size();
    return std::fclose(f) == 0 && ok ? true
                                     : fail(QT_TRANSLATE_NOOP("Failure", "the file cannot be written"));
}

} // namespace pimavo
