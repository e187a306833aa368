// Handing the picture to other applications: a JPEG copy in the program's cache folder for photo
// libraries, the saved file for editors, or any application the user picks.
#pragma once

#include "engine/Bitmap.h"
#include "imageio/ImageProperties.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace pimavo {

// An application that can receive the picture, by its desktop entry.
struct ExportTarget {
    QString title;          // as the menu shows it
    QStringList desktopIds; // the first installed one is used
    bool takesCopy;         // true: a JPEG copy (libraries); false: the saved file itself (editors)
};

// Shotwell and digiKam keep libraries; GIMP, Krita and darktable edit.
const std::vector<ExportTarget>& exportTargets();

class ExportController {
public:
    ExportController(BitmapRef image, const ImageProperties* properties);

    // The folder of exported copies ("ImportPhotos" in the user's cache folder).
    static QString exportFolder();
    // The first free name there: "TessarineExportedImage.jpg", then "TessarineExportedImage 2.jpg"...
    static QString uniqueExportPath(const QString& folder);
    // Writes the JPEG copy; the path, or nothing with the reason.
    std::optional<QString> preparedImagePathToExport(QString* error,
                                                     const QString& folder = exportFolder()) const;

    // The installed desktop entry of a target, or empty.
    static QString installedDesktopFile(const ExportTarget& target);
    // Opens a file with an application's desktop entry; false with the reason.
    static bool exportFileToApplication(const QString& path, const QString& desktopFile, QString* error);
    // The desktop's own "Open With" chooser (the portal), or the default application.
    static bool openWithChooser(const QString& path, QString* error);

private:
    BitmapRef image_;
    const ImageProperties* properties_;
};

} // namespace pimavo
