// Handing the picture to other applications: a JPEG copy in the Pictures folder for photo
// libraries, the saved file for editors, or any application the user picks. A copy is the
// receiving program's to keep: it stays when the editor ends.
#pragma once

#include "engine/Bitmap.h"
#include "imageio/ImageProperties.h"

#include <QCoreApplication>
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
    Q_DECLARE_TR_FUNCTIONS(pimavo::ExportController)

public:
    // `photoName`: the name the picture goes by (its file's), after which the copy is named.
    ExportController(BitmapRef image, const ImageProperties* properties, QString photoName = {});

    // The folder of exported copies: the Pictures folder (the home folder without one).
    static QString exportFolder();
    // The first free name there for a copy of the photo "NAME.ext": "NAME (Pimavo).jpg", then
    // "NAME (Pimavo) 2.jpg"...
    static QString uniqueExportPath(const QString& folder, const QString& photoName);
    // Writes the JPEG copy under a free name, never over a file already there (not even one made
    // while it was written); the path, or nothing with the reason.
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
    QString photoName_;
};

} // namespace pimavo
