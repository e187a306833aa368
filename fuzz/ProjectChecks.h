// The round trip both project fuzzers hold a project to: whatever reads as a project is written
// again by the program's own writer and reads back the same in every part the editor restores.
#pragma once

#include "FuzzSupport.h"
#include "document/ProjectDocument.h"
#include "engine/Renderer.h"

#include <cstring>

namespace pimavo::fuzz {

inline bool sameBitmap(const Bitmap& a, const Bitmap& b) {
    if (a.width() != b.width() || a.height() != b.height() || !(a.layout() == b.layout())) return false;
    const std::size_t rowBytes = std::size_t(a.width()) * std::size_t(a.layout().bytesPerPixel());
    for (int y = 0; y < a.height(); ++y)
        if (std::memcmp(a.row(y), b.row(y), rowBytes) != 0) return false;
    return true;
}

// A layer as the project file keeps it: 16-bit premultiplied RGBA at the working size.
inline std::optional<Bitmap> layerPixels(const Image& layer, int width, int height) {
    if (!layer) return std::nullopt;
    return Renderer().createBitmap(layer, RectF(0, 0, width, height),
                                   PixelLayout{16, AlphaInfo::PremultipliedLast});
}

inline bool sameLayer(const Image& a, const Image& b, int width, int height) {
    if (bool(a) != bool(b)) return false;
    if (!a) return true;
    const auto pa = layerPixels(a, width, height), pb = layerPixels(b, width, height);
    return pa && pb && sameBitmap(*pa, *pb);
}

// Reads the project file at `path` as the editor opens one; a project that opens is written to a
// second file and must read back the same.
inline void checkProjectFile(const std::string& path) {
    isProjectFile(path); // reads the head alone, then the whole archive: neither may fail badly
    const ProjectReadResult read = readProjectFile(path);
    if (const auto thumbnail = readProjectThumbnail(path))
        expect(thumbnail->width() <= ProjectDocument::kThumbnailSide &&
                   thumbnail->height() <= ProjectDocument::kThumbnailSide,
               "a thumbnail is small");
    if (!read.project) {
        expect(!read.reason.empty() && read.error.find(read.reason) != std::string::npos,
               "a project that cannot be opened says why");
        return;
    }
    const ProjectDocument& p = *read.project;
    expect(p.workingWidth > 0 && p.workingHeight > 0, "an opened project has a working size");
    expect(p.originalBytes || p.photo, "an opened project has a photo");

    const std::string again = scratchPath("again.pimavo");
    std::string error;
    expect(writeProjectFile(p, again, &error), "an opened project can be saved again");
    expect(isProjectFile(again), "a saved project is known as one by its content");
    const ProjectReadResult back = readProjectFile(again);
    expect(back.project.has_value(), "a saved project opens");
    const ProjectDocument& q = *back.project;
    expect(q.settings == p.settings, "the picture settings survive a save");
    expect(q.workingWidth == p.workingWidth && q.workingHeight == p.workingHeight,
           "the working size survives a save");
    expect(q.brush == p.brush, "the brush survives a save");
    expect(q.savedPath == p.savedPath && q.savedType == p.savedType,
           "where the work was saved survives a save");
    expect(q.originalName == p.originalName, "the photo's name survives a save");
    expect(bool(q.originalBytes) == bool(p.originalBytes) &&
               (!p.originalBytes || *q.originalBytes == *p.originalBytes),
           "the photo's file survives a save byte for byte");
    expect(bool(q.photo) == bool(p.photo) && (!p.photo || sameBitmap(*q.photo, *p.photo)),
           "the kept picture survives a save");
    expect(sameLayer(q.mask, p.mask, p.workingWidth, p.workingHeight), "the mask survives a save");
    expect(sameLayer(q.colorLayer, p.colorLayer, p.workingWidth, p.workingHeight),
           "the colour layer survives a save");
}

} // namespace pimavo::fuzz
