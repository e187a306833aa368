// The user's photos, wherever the desktop keeps them: the Pictures folder and its subfolders, and
// the libraries of the photo managers in use (Shotwell's and digiKam's databases, read only).
// Each source answers what it knows; the library merges them, keeps each file once, drops files
// that are gone, and lists the newest first.
#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace pimavo {

struct PhotoEntry {
    QString path;
    qint64 time = 0; // seconds since the epoch: when taken if known, else when the file last changed
    QString source;  // "Pictures", "Shotwell", "digiKam"
};

struct LibrarySources {
    QStringList folders;      // searched with their subfolders
    QString shotwellDatabase; // photo.db; empty: none
    QString digikamDatabase;  // digikam4.db; empty: none
};

// The Pictures folder (xdg-user-dir PICTURES) and the photo managers' databases that exist.
LibrarySources defaultLibrarySources();

// Photos in the folders and below, by file type; hidden folders and the thumbnail caches skipped.
std::vector<PhotoEntry> scanFolders(const QStringList& folders);
// A database that is missing, locked or of another layout gives nothing, never an error.
std::vector<PhotoEntry> readShotwellLibrary(const QString& database);
std::vector<PhotoEntry> readDigikamLibrary(const QString& database);

// Everything from the sources: each existing file once, newest first.
std::vector<PhotoEntry> collectPhotos(const LibrarySources& sources);

} // namespace pimavo
