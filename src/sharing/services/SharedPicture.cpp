#include "sharing/services/SharedPicture.h"

#include "core/FailureTranslation.h"
#include "imageio/ImageDecoder.h"
#include "imageio/ImageProperties.h"
#include "imageio/ImageWriter.h"
#include "imageio/Reduction.h"

#include <QCoreApplication>
#include <QFile>
#include <algorithm>
#include <cmath>

namespace pimavo::sharing {

namespace {
// High enough that the service's own recompression shows no blocks, low enough to keep a 24 MP
// picture's upload reasonable.
constexpr double kSharedJpegQuality = 0.9;

// What a user is told when the shared copy cannot be made.
struct Texts {
    Q_DECLARE_TR_FUNCTIONS(pimavo::sharing::SharedPicture)
};
} // namespace

bool writeSharedJpeg(const Bitmap& picture, const ImageProperties* properties, int longestSide,
                     const QString& out, QString* error) {
    const int longest = std::max(picture.width(), picture.height());
    std::optional<Bitmap> reduced;
    if (longestSide > 0 && longest > longestSide) {
        const double scale = double(longestSide) / longest;
        const SizeF target{std::max(1.0, std::round(picture.width() * scale)),
                           std::max(1.0, std::round(picture.height() * scale))};
        reduced = resizeImageToCoverSize(picture, target, picture.bitsPerComponent());
        if (!reduced) {
            if (error) *error = Texts::tr("The picture could not be reduced to %1 pixels.").arg(longestSide);
            return false;
        }
    }
    SaveOptions options;
    options.mimeType = "image/jpeg";
    options.quality = kSharedJpegQuality;
    std::string why;
    if (!writeImageFile(reduced ? *reduced : picture, QFile::encodeName(out).toStdString(), options,
                        properties, &why)) {
        if (error) *error = translatedFailure(why);
        return false;
    }
    return true;
}

bool writeSharedJpeg(const QString& photo, int longestSide, const QString& out, QString* error,
                     bool withLocation) {
    DecodeResult decoded = decodeImageFile(QFile::encodeName(photo).toStdString(), false);
    if (!decoded.image) {
        if (error) *error = translatedFailure(decoded.error);
        return false;
    }
    if (!withLocation) decoded.image->properties.removeLocation();
    return writeSharedJpeg(*decoded.image->bitmap, &decoded.image->properties, longestSide, out, error);
}

} // namespace pimavo::sharing
