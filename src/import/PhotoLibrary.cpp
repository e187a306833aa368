#include "PhotoLibrary.h"

#include "imageio/ImageTypes.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QSet>
#include <QSettings>
#include <QStandardPaths>
#include <QUrl>
#include <QUrlQuery>
#include <algorithm>
#include <sqlite3.h>
#include <unordered_map>

namespace pimavo {

namespace {

const QSet<QString>& readableSuffixes() {
    static const QSet<QString> suffixes = [] {
        QSet<QString> s;
        for (const std::string& ext : readableFileTypes()) s.insert(QString::fromStdString(ext));
        return s;
    }();
    return suffixes;
}

bool isPhotoFile(const QString& name) {
    const qsizetype dot = name.lastIndexOf('.');
    return dot > 0 && readableSuffixes().contains(name.mid(dot + 1).toLower());
}

// A read-only connection that neither creates the file nor waits long for a manager that holds
// the database: a library that cannot be read right now is simply not shown.
class Database {
public:
    explicit Database(const QString& path) {
        if (!QFileInfo(path).isFile()) return;
        const QByteArray uri = "file:" + QUrl::fromLocalFile(path).toEncoded(QUrl::RemoveScheme) + "?mode=ro";
        if (sqlite3_open_v2(uri.constData(), &db_, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, nullptr) !=
            SQLITE_OK) {
            sqlite3_close(db_);
            db_ = nullptr;
            return;
        }
        sqlite3_busy_timeout(db_, 500);
    }
    ~Database() { sqlite3_close(db_); }
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // Runs the query and hands each row to `row`; false when the query cannot run.
    template <typename Row> bool query(const char* sql, Row row) {
        if (!db_) return false;
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db_, sql, -1, &st, nullptr) != SQLITE_OK) return false;
        int rc;
        while ((rc = sqlite3_step(st)) == SQLITE_ROW) row(st);
        sqlite3_finalize(st);
        return rc == SQLITE_DONE;
    }

private:
    sqlite3* db_ = nullptr;
};

QString textColumn(sqlite3_stmt* st, int i) {
    const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(st, i));
    return t ? QString::fromUtf8(t) : QString();
}

qint64 fileTime(const QString& path) {
    return QFileInfo(path).lastModified().toSecsSinceEpoch();
}

// digiKam stores dates as ISO text in local time.
qint64 digikamTime(const QString& text) {
    const QDateTime t = QDateTime::fromString(text, Qt::ISODate);
    return t.isValid() ? t.toSecsSinceEpoch() : 0;
}

// The folder a digiKam album root stands for: "volumeid:?path=/home/me/Pictures" names it outright;
// for a root on a volume known by its UUID, the stored path is taken from the file system root.
QString digikamRootPath(const QString& identifier, const QString& specificPath) {
    const qsizetype q = identifier.indexOf('?');
    if (q >= 0) {
        const QUrlQuery query(identifier.mid(q + 1));
        if (query.hasQueryItem("path")) {
            const QString base = query.queryItemValue("path", QUrl::FullyDecoded);
            return QDir::cleanPath(base + "/" + specificPath);
        }
    }
    return QDir::cleanPath("/" + specificPath);
}

} // namespace

LibrarySources defaultLibrarySources() {
    LibrarySources sources;
    // Qt reads user-dirs.dirs as xdg-user-dir does.
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    if (!pictures.isEmpty() && QFileInfo(pictures).isDir() && QDir(pictures) != QDir::home())
        sources.folders << pictures;
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (const QString shotwell = data + "/shotwell/data/photo.db"; QFileInfo(shotwell).isFile())
        sources.shotwellDatabase = shotwell;
    // digiKam names its database folder in its settings; by default it sits in the Pictures folder.
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    QSettings digikamrc(config + "/digikamrc", QSettings::IniFormat);
    QString folder = digikamrc.value("Database Settings/Database Name").toString();
    if (folder.isEmpty()) folder = digikamrc.value("Album Settings/Database File Path").toString();
    if (folder.isEmpty()) folder = pictures;
    if (const QString digikam = folder + "/digikam4.db"; QFileInfo(digikam).isFile())
        sources.digikamDatabase = digikam;
    return sources;
}

std::vector<PhotoEntry> scanFolders(const QStringList& folders) {
    std::vector<PhotoEntry> out;
    for (const QString& root : folders) {
        // Hidden folders (".thumbnails", a manager's ".cache") hold copies, not the user's photos.
        QDirIterator it(root, QDir::Files | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            if (!isPhotoFile(it.fileName()) || path.mid(root.size()).contains("/.")) continue;
            out.push_back({path, it.fileInfo().lastModified().toSecsSinceEpoch(), "Pictures"});
        }
    }
    return out;
}

std::vector<PhotoEntry> readShotwellLibrary(const QString& database) {
    std::vector<PhotoEntry> out;
    Database db(database);
    db.query("SELECT filename, exposure_time, timestamp FROM PhotoTable", [&](sqlite3_stmt* st) {
        const QString path = textColumn(st, 0);
        const qint64 taken = sqlite3_column_int64(st, 1), changed = sqlite3_column_int64(st, 2);
        if (!path.isEmpty()) out.push_back({path, taken > 0 ? taken : changed, "Shotwell"});
    });
    return out;
}

std::vector<PhotoEntry> readDigikamLibrary(const QString& database) {
    std::vector<PhotoEntry> out;
    Database db(database);
    std::unordered_map<qint64, QString> roots;
    db.query("SELECT id, identifier, specificPath FROM AlbumRoots", [&](sqlite3_stmt* st) {
        roots[sqlite3_column_int64(st, 0)] = digikamRootPath(textColumn(st, 1), textColumn(st, 2));
    });
    // Category 1 is a picture; status 1 a visible one (not in the trash, not obsolete).
    auto row = [&](sqlite3_stmt* st) {
        const auto root = roots.find(sqlite3_column_int64(st, 0));
        if (root == roots.end()) return;
        const QString path =
            QDir::cleanPath(root->second + "/" + textColumn(st, 1) + "/" + textColumn(st, 2));
        out.push_back({path, digikamTime(textColumn(st, 3)), "digiKam"});
    };
    const bool withDates = db.query(
        "SELECT a.albumRoot, a.relativePath, i.name, COALESCE(ii.creationDate, i.modificationDate) "
        "FROM Images i JOIN Albums a ON i.album = a.id LEFT JOIN ImageInformation ii ON ii.imageid = i.id "
        "WHERE i.category = 1 AND i.status = 1",
        row);
    if (!withDates) {
        out.clear();
        db.query("SELECT a.albumRoot, a.relativePath, i.name, i.modificationDate "
                 "FROM Images i JOIN Albums a ON i.album = a.id WHERE i.category = 1 AND i.status = 1",
                 row);
    }
    return out;
}

std::vector<PhotoEntry> collectPhotos(const LibrarySources& sources) {
    std::vector<PhotoEntry> all = scanFolders(sources.folders);
    const qsizetype fromFolders = qsizetype(all.size());
    for (auto& e : readShotwellLibrary(sources.shotwellDatabase)) all.push_back(std::move(e));
    for (auto& e : readDigikamLibrary(sources.digikamDatabase)) all.push_back(std::move(e));
    // A manager's entry may name a file that was moved or deleted since; a folder's entry exists.
    QSet<QString> seen;
    std::vector<PhotoEntry> out;
    out.reserve(all.size());
    for (qsizetype i = 0; i < qsizetype(all.size()); ++i) {
        PhotoEntry& e = all[size_t(i)];
        const QString key = QFileInfo(e.path).absoluteFilePath();
        if (seen.contains(key)) continue;
        if (i >= fromFolders) {
            if (!QFileInfo(key).isFile()) continue;
            if (e.time <= 0) e.time = fileTime(key);
        }
        seen.insert(key);
        e.path = key;
        out.push_back(std::move(e));
    }
    std::stable_sort(out.begin(), out.end(),
                     [](const PhotoEntry& a, const PhotoEntry& b) { return a.time > b.time; });
    return out;
}

} // namespace pimavo
