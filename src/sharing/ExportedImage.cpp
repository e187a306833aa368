#include "sharing/ExportedImage.h"

#include "core/FailureTranslation.h"
#include "imageio/ColourProfile.h"
#include "imageio/ImageGeometry.h"
#include "imageio/ImageWriter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <algorithm>

namespace pimavo::sharing {

namespace {
constexpr int kLimits[] = {1600, 1280, 1024, 800, 640};

// What a user is told about the copies made for sharing.
struct Texts {
    Q_DECLARE_TR_FUNCTIONS(pimavo::sharing::ExportedImage)
};
} // namespace

std::vector<QSize> possibleResolutions(QSize size) {
    std::vector<QSize> sizes;
    if (size.isEmpty()) return sizes;
    sizes.push_back(size);
    const int L = std::max(size.width(), size.height()), S = std::min(size.width(), size.height());
    for (int T : kLimits) {
        if (L <= T) continue;
        const int shorter = std::max(1, int(qint64(S) * T / L));
        sizes.push_back(size.width() > size.height() ? QSize(T, shorter) : QSize(shorter, T));
    }
    return sizes;
}

QString resolutionTitle(QSize size) {
    return QStringLiteral("%1 x %2").arg(size.width()).arg(size.height());
}

QString sharingExportFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + QStringLiteral("/SharingPhotos");
}

QString uniqueExportPath(const QString& folder, const QString& base) {
    QString path = folder + '/' + base + QStringLiteral(".jpg");
    for (long n = 2; QFileInfo::exists(path); ++n)
        path = folder + '/' + QStringLiteral("%1 %2.jpg").arg(base).arg(n);
    return path;
}

QString handOverFolder() {
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    return pictures.isEmpty() ? QDir::homePath() : pictures;
}

QString keepHandOverCopy(const QString& path, const QString& service, QString* error, const QString& folder) {
    if (!QDir().mkpath(folder)) {
        if (error)
            *error = Texts::tr("The folder “%1” could not be made.").arg(QDir::toNativeSeparators(folder));
        return {};
    }
    const QString kept = uniqueExportPath(folder, Texts::tr("Pimavo for %1").arg(service));
    QFile source(path);
    if (!source.copy(kept)) {
        if (error)
            *error = Texts::tr("The picture could not be copied to “%1”: %2.")
                         .arg(QDir::toNativeSeparators(folder), source.errorString());
        return {};
    }
    return kept;
}

ExportedImage exportImage(const Bitmap& image, const ImageProperties* properties, int longestSide,
                          const QString& folder, bool withLocation) {
    ExportedImage out;
    if (image.isNull()) {
        out.error = Texts::tr("There is no picture to share.");
        return out;
    }
    if (!QDir().mkpath(folder)) {
        out.error = Texts::tr("The folder “%1” could not be made.").arg(QDir::toNativeSeparators(folder));
        return out;
    }
    const Bitmap* written = &image;
    std::optional<Bitmap> scaled;
    const int L = std::max(image.width(), image.height());
    if (longestSide > 0 && longestSide < L) {
        // The same proportion rule as the size list, so the file has the size the list promised.
        QSize target;
        for (QSize s : possibleResolutions(QSize(image.width(), image.height())))
            if (std::max(s.width(), s.height()) == longestSide) target = s;
        if (target.isEmpty()) {
            const int S = std::min(image.width(), image.height());
            const int shorter = std::max(1, int(qint64(S) * longestSide / L));
            target =
                image.width() > image.height() ? QSize(longestSide, shorter) : QSize(shorter, longestSide);
        }
        // Covered rather than fitted: fitting rounds one side down a pixel short of the size promised.
        scaled = scaledImageToCoverSize(image, SizeF{double(target.width()), double(target.height())});
        if (!scaled || scaled->isNull()) {
            out.error = Texts::tr("The picture could not be scaled to %1.").arg(resolutionTitle(target));
            return out;
        }
        written = &*scaled;
    }
    // The web takes a picture without a profile for sRGB, and many services throw the profile away:
    // the copy is converted to sRGB, and says so in its profile and its EXIF.
    ImageProperties forWeb = properties ? *properties : ImageProperties();
    if (auto toSrgb = ColourTransform::between(photoProfile(forWeb), {})) {
        if (!scaled) scaled = *written;
        toSrgb->convert(*scaled);
        written = &*scaled;
    }
    forWeb.setIccProfile(srgbProfile());
    forWeb.replaceExifValue("Exif.Photo.ColorSpace", "1");
    forWeb.replaceExifValue("Exif.Iop.InteroperabilityIndex", "R98");
    if (!withLocation) forWeb.removeLocation();
    properties = &forWeb;
    const QString path = uniqueExportPath(folder);
    SaveOptions options;
    options.mimeType = "image/jpeg";
    std::string why;
    if (!writeImageFile(*written, QFile::encodeName(path).toStdString(), options, properties, &why)) {
        out.error = translatedFailure(why);
        return out;
    }
    out.path = path;
    out.size = QSize(written->width(), written->height());
    return out;
}

void clearExportFolder(const QString& folder) {
    QDir(folder).removeRecursively();
}

} // namespace pimavo::sharing
