#include "OpenedPhoto.h"

#include "document/ProjectDocument.h"
#include "imageio/ColourProfile.h"
#include "imageio/ImageDecoder.h"
#include "imageio/Reduction.h"

#include <QApplication>
#include <QScopeGuard>

namespace pimavo {

std::vector<uint8_t> OpenedPhoto::colourProfile() const {
    return properties ? photoProfile(*properties) : std::vector<uint8_t>{};
}

BitmapRef OpenedPhoto::photoFromOriginalBytes() const {
    if (!originalBytes) return nullptr;
    ProjectDocument project;
    project.originalName = originalName.toStdString();
    project.originalBytes = originalBytes;
    DecodeResult decoded = decodeProjectPhoto(project, project.originalName);
    if (!decoded.image) return nullptr;
    return decoded.image->bitmap;
}

void OpenedPhoto::rememberWorkingCopy(const BitmapRef& photo, const BitmapRef& reduced) {
    std::erase_if(workingCopies_, [&](const auto& entry) {
        return entry.first == photo || (entry.first != image && entry.first != original);
    });
    workingCopies_.emplace_back(photo, reduced);
}

CanvasPhoto OpenedPhoto::canvasPhotoFor(const BitmapRef& photo) {
    if (!photo || !needsReduction(photo->width(), photo->height())) return CanvasPhoto(photo);
    BitmapRef reduced;
    for (const auto& [full, copy] : workingCopies_)
        if (full == photo) reduced = copy;
    if (!reduced) {
        // A picture made here (Apply, a project reopened): reduced as an opened photo is.
        QApplication::setOverrideCursor(Qt::BusyCursor);
        const auto restore = qScopeGuard([] { QApplication::restoreOverrideCursor(); });
        auto made = reducedBelowLimit(photo, photo->bitsPerComponent());
        if (!made) return CanvasPhoto(photo);
        reduced = std::make_shared<const Bitmap>(std::move(*made));
    }
    rememberWorkingCopy(photo, reduced);
    CanvasPhoto canvasPhoto(reduced);
    canvasPhoto.fullSize = photo;
    return canvasPhoto;
}

} // namespace pimavo
