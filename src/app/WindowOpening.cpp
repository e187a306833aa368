// Opening: the Open panel, files by path, drops and pastes, the wait for very large photos, and the
// recent photos.
#include "WindowOpening.h"

#include "EditorWindow.h"
#include "PhotoPrefetch.h"
#include "RecentDocuments.h"
#include "SaveFlow.h"
#include "WindowCompare.h"
#include "WindowSaving.h"
#include "WindowStart.h"
#include "core/Dispatch.h"
#include "core/FailureTranslation.h"
#include "core/MenuText.h"
#include "core/Settings.h"
#include "imageio/ImageDecoder.h"
#include "imageio/ImageTypes.h"
#include "imageio/Reduction.h"
#include "session/EditSession.h"
#include "widgets/BitmapImage.h"
#include "widgets/BusySpinner.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QImageReader>
#include <QLabel>
#include <QMimeData>
#include <QMimeDatabase>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QUrl>

namespace pimavo {

namespace {

constexpr int kRecentLimit = 10;

QString lowerExtension(const QString& path) {
    return QFileInfo(path).suffix().toLower();
}

bool isReadableFile(const QString& path) {
    const std::string ext = lowerExtension(path).toStdString();
    return ext == ProjectDocument::kExtension || isReadableExtension(ext);
}

// The first local file of a readable type among the data's addresses.
QString readableFileIn(const QMimeData* data) {
    for (const QUrl& url : data->urls())
        if (url.isLocalFile() && isReadableFile(url.toLocalFile())) return url.toLocalFile();
    return {};
}

// The type's own name when another program calls it by an alias (image/x-MS-bmp is image/bmp).
QString canonicalPictureType(const QString& mimeType) {
    // Aliases are looked up as spelt, and programs spell them in either case.
    const QMimeDatabase types;
    for (const QString& name : {mimeType, mimeType.toLower()})
        if (const QMimeType type = types.mimeTypeForName(name); type.isValid()) return type.name();
    return mimeType.toLower();
}

bool qtReadsPictureType(const QString& mimeType) {
    return QImageReader::supportedMimeTypes().contains(canonicalPictureType(mimeType).toLatin1());
}

// The file suffix our decoder knows an image type by, or empty.
QString suffixForPictureType(const QString& mimeType) {
    if (!mimeType.startsWith("image/", Qt::CaseInsensitive)) return {};
    const QMimeType type = QMimeDatabase().mimeTypeForName(canonicalPictureType(mimeType));
    const QStringList suffixes = type.isValid() ? type.suffixes() : QStringList();
    for (const QString& suffix : suffixes)
        if (isReadableFile("x." + suffix)) return suffix;
    return {};
}

// The picture types on offer that can be read, best first: the lossless and deep ones before
// those that lost detail on the way (JPEG). Programs put several types of one picture on the
// clipboard, some under other names (image/x-MS-bmp for image/bmp); any of them does.
QStringList readablePictureTypes(const QMimeData* data) {
    static const QStringList preferred{"image/tiff", "image/png", "image/bmp"};
    QStringList found;
    for (const QString& format : data->formats()) {
        if (!format.startsWith("image/", Qt::CaseInsensitive)) continue;
        if (canonicalPictureType(format).startsWith("image/svg")) continue; // drawings, not photos
        if (qtReadsPictureType(format) || !suffixForPictureType(format).isEmpty()) found << format;
    }
    std::stable_sort(found.begin(), found.end(), [](const QString& a, const QString& b) {
        auto rank = [](const QString& f) {
            const qsizetype i = preferred.indexOf(canonicalPictureType(f));
            return i < 0 ? preferred.size() + (f.toLower().contains("jp") ? 1 : 0) : i;
        };
        return rank(a) < rank(b);
    });
    return found;
}

// Decodes clipboard bytes of an image type: through Qt when it reads the type, otherwise through
// the editor's own decoder (TIFF, WebP, HEIF, …) from a temporary file.
BitmapRef pictureFromBytes(const QByteArray& bytes, const QString& mimeType) {
    if (bytes.isEmpty()) return nullptr;
    if (qtReadsPictureType(mimeType)) {
        QByteArray copy = bytes;
        QBuffer buffer(&copy);
        QImageReader reader(&buffer);
        reader.setAutoTransform(true);
        if (BitmapRef picture = bitmapFromQImage(reader.read())) return picture;
    }
    const QString suffix = suffixForPictureType(mimeType);
    if (suffix.isEmpty()) return nullptr;
    QTemporaryFile file(QDir::temp().filePath("pimavo-paste-XXXXXX." + suffix));
    if (!file.open() || file.write(bytes) != bytes.size() || !file.flush()) return nullptr;
    DecodeResult r = decodeImageFile(file.fileName().toStdString(), false);
    return r.image ? r.image->bitmap : nullptr;
}

// The open panel's one filter: every type of photo the decoders read, and projects.
QString openPanelFilter() {
    QStringList patterns;
    for (const std::string& ext : readableFileTypes()) patterns << "*." + QString::fromStdString(ext);
    patterns << QStringLiteral("*.") + ProjectDocument::kExtension;
    // Cameras and phones name their files in capitals (IMG_0001.HEIC), and some file choosers match
    // patterns as spelt.
    for (qsizetype i = 0, n = patterns.size(); i < n; ++i) patterns << patterns[i].toUpper();
    patterns.removeDuplicates();
    //: The Open panel's filter: %1 are the file name patterns
    return WindowOpening::tr("Photos (%1)").arg(patterns.join(' '));
}

} // namespace

WindowOpening::WindowOpening(EditorWindow* window) : QObject(window), window_(window) {}

// ---- the open panel and paths -----------------------------------------------------------------

// Where the photos are: beside the one open, else beside the last one opened, else the Pictures
// folder.
QString WindowOpening::panelFolder() const {
    if (!window_->photo_.file.isEmpty()) return QFileInfo(window_->photo_.file).absolutePath();
    const QStringList opened = recent();
    if (!opened.isEmpty() && QFileInfo(QFileInfo(opened.first()).absolutePath()).isDir())
        return QFileInfo(opened.first()).absolutePath();
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    return QFileInfo(pictures).isDir() ? pictures : QString();
}

void WindowOpening::showOpenPanel() {
    QString path;
    if (window_->services.openPanel) {
        path = window_->services.openPanel();
    } else {
        path =
            QFileDialog::getOpenFileName(window_,
                                         //: A command: open a photo
                                         titleFromMenuText(tr("&Open…")), panelFolder(), openPanelFilter());
    }
    if (path.isEmpty()) {
        if (!window_->hasPhoto()) window_->start_->show();
        return;
    }
    open(path);
}

std::optional<DecodedImage> WindowOpening::decode(const QString& path, QString* error) {
    DecodeResult r = decodeImageFile(path.toStdString());
    if (!r.image) {
        if (error) *error = QString::fromStdString(r.reason.empty() ? r.error : r.reason);
        return std::nullopt;
    }
    return std::move(*r.image);
}

std::optional<DecodedImage> WindowOpening::decodeReduced(const QString& path) {
    const std::string file = path.toStdString();
    std::optional<prefetch::ReducedPhoto> ready = prefetch::take(file);
    if (!ready) return std::nullopt;
    const ImageHeader header = ready->header;
    std::optional<DecodedImage> reduced = std::move(ready->image);

    decodes_.start(file, reduced->bitmap, header.width, header.height, reduced->bitsPerComponent,
                   [this] { finish(); });
    return reduced;
}

void WindowOpening::finish() {
    const std::optional<WholeDecodes::Ended> opening = decodes_.take();
    if (!opening) return;
    const BitmapRef photo = opening->photo.photo.get();
    if (!photo) {
        // Read once already at a reduced size, the file changed or memory ran out: nothing of it
        // can be worked on.
        const QString why = opening->error;
        window_->compare_->exit();
        window_->setTool(EditorWindow::NoTool);
        window_->setImage(nullptr);
        window_->photo_.original.reset();
        forgetFile(); // nothing of the file is in the window
        window_->session_->clear();
        window_->setEdited(false);
        window_->showAlert(
            why.isEmpty() ? tr("The file may be damaged, or it is not a photo in a format Pimavo can read.")
                          : why,
            QString());
        window_->start_->show();
        return;
    }
    if (window_->photo_.image == opening->photo.preview) window_->photo_.image = photo;
    if (window_->photo_.original == opening->photo.preview) window_->photo_.original = photo;
    // The working images from the photo itself, before anything works on them.
    if (window_->painterView_) window_->painterView_->model().finishOpeningLook();
    window_->compare_->photoArrived();
}

void WindowOpening::openNow(const QString& path) {
    // A folder: choose a photo in it.
    if (QFileInfo(path).isDir()) {
        const QString chosen = window_->services.openPanel
                                   ? window_->services.openPanel()
                                   : QFileDialog::getOpenFileName(window_, titleFromMenuText(tr("&Open…")),
                                                                  path, openPanelFilter());
        if (!chosen.isEmpty())
            openNow(chosen);
        else if (!window_->hasPhoto())
            Dispatch::after(0, [this] { window_->start_->show(); });
        return;
    }
    window_->closeInWindowDialogs();
    if (lowerExtension(path) == ProjectDocument::kExtension || isProjectFile(path.toStdString())) {
        window_->openProjectURL(path);
        return;
    }
    decodes_.forget();
    QString why;
    auto decoded = decodeReduced(path);
    if (!decoded) decoded = decode(path, &why);
    if (!decoded) {
        // The title names the file; the text says why, once, as a sentence of its own.
        if (!why.isEmpty()) why = failureSentence(why);
        window_->showAlert(
            tr("The file “%1” could not be opened.").arg(QFileInfo(path).fileName()),
            why.isEmpty() ? tr("The file may be damaged, or it is not a photo in a format Pimavo can read.")
                          : why);
        if (!window_->hasPhoto()) Dispatch::after(0, [this] { window_->start_->show(); });
        return;
    }
    window_->start_->hide();
    // The file's name, metadata and bytes go with its photo: they are the window's only once the
    // photo is, so that a reduction that fails leaves the photo on screen with its own.
    OpenedFile opened;
    opened.path = path;
    opened.properties = std::move(decoded->properties);
    opened.mimeType = QString::fromStdString(decoded->mimeType);
    opened.warning = translatedFailure(decoded->warning);
    // The file as it is now, for a project saved later: by then a Save may have replaced it.
    QFile file(path);
    if (file.open(QIODevice::ReadOnly))
        opened.bytes = std::make_shared<const std::string>(file.readAll().toStdString());
    BitmapRef photo = decoded->bitmap;
    if (needsReduction(photo->width(), photo->height())) {
        window_->removeCurrentDialog();
        window_->currentDialog_ = std::make_unique<OverlayDialog>(OverlayDialog::Bare);
        window_->currentDialog_->setDialogSize(QSizeF(360, 210));
        auto* message =
            new QLabel(tr("This photo is larger than %1 megapixels. Pimavo is making a smaller copy of it to "
                          "paint on; what you save keeps the photo's full size. This takes a moment.")
                           .arg(32));
        message->setGeometry(50, 75, 260, 90);
        message->setAlignment(Qt::AlignCenter);
        message->setWordWrap(true);
        message->setStyleSheet("color: white; background: transparent;");
        window_->currentDialog_->addSubview(message);
        auto* spinner = new BusySpinner;
        spinner->setGeometry(168, 45, 24, 24);
        window_->currentDialog_->addSubview(spinner);
        spinner->startAnimation();
        window_->currentDialog_->showInView(window_->contentView_);
        QApplication::setOverrideCursor(Qt::BusyCursor);
        QPointer<EditorWindow> self(window_);
        // The canvas paints on the reduced copy; the photo itself stays the picture, so that what is
        // saved has its size.
        auto pending = std::make_shared<OpenedFile>(std::move(opened));
        // The title names what the window waits for; the photo on screen keeps its file meanwhile.
        const QString titleBefore = window_->windowTitle();
        window_->setWindowTitle(QFileInfo(path).fileName() + "[*]");
        window_->setWindowModified(false); // the photo coming has no changes; any before it are not its

        auto reduced = [self, photo, pending, titleBefore](std::optional<Bitmap> made) {
            BitmapRef result = made ? std::make_shared<const Bitmap>(std::move(*made)) : nullptr;
            Dispatch::mainQueue([self, photo, result, pending, titleBefore] {
                QApplication::restoreOverrideCursor();
                if (!self) return;
                if (!result) {
                    self->setWindowTitle(titleBefore);
                    self->setWindowModified(self->isEdited());
                    self->removeCurrentDialog();
                    self->showAlert(
                        tr("The file “%1” could not be opened.").arg(QFileInfo(pending->path).fileName()),
                        tr("The file may be damaged, or it is not a photo in a format Pimavo can read."));
                    if (!self->hasPhoto()) self->start_->show();
                    return;
                }
                self->photo_.rememberWorkingCopy(photo, result);
                self->opening_->adopt(std::move(*pending));
                self->continueOpenImage(photo);
            });
        };
        resizeInBackground(photo, decoded->bitsPerComponent, std::move(reduced));
    } else {
        adopt(std::move(opened));
        window_->continueOpenImage(photo);
    }
}

void WindowOpening::adopt(OpenedFile opened) {
    window_->photo_.savedSinceOpening = false; // the file holds the photo as opened
    window_->photo_.suggestedName.clear();
    // Said once the photo is on screen, so that the user sees what the message is about.
    window_->photo_.pendingWarning = opened.warning;
    window_->photo_.properties = std::move(opened.properties);
    // The canvas may already show the photo's preview, in the values' colours as the file declares them.
    if (window_->painterView_) window_->painterView_->setColourProfile(window_->photo_.colourProfile());
    window_->photo_.mimeType = opened.mimeType;
    window_->photo_.originalBytes = std::move(opened.bytes);
    window_->photo_.originalName = QFileInfo(opened.path).fileName();
    window_->representFile(opened.path);
    addRecent(window_->photo_.file);
}

void WindowOpening::forgetFile() {
    window_->photo_.properties.reset();
    window_->photo_.mimeType.clear();
    window_->photo_.originalBytes.reset();
    window_->photo_.originalName.clear();
    window_->photo_.file.clear();
    window_->photo_.suggestedName.clear();
    window_->setWindowFilePath(QString());
    window_->setWindowTitle(QStringLiteral("Pimavo[*]"));
}

// ---- asking before replacing edited work ------------------------------------------------------

void WindowOpening::open(const QString& path) {
    if (window_->saving_->isSaving()) {
        window_->saving_->flow()->whenIdle([this, path] { open(path); });
        return;
    }
    window_->start_->hold();
    if (!window_->isEdited()) {
        openNow(path);
        return;
    }
    window_->saving_->askToSave([this, path] { openNow(path); }, QFileInfo(path).fileName());
}

void WindowOpening::openPicture(BitmapRef photo) {
    if (window_->saving_->isSaving()) {
        window_->saving_->flow()->whenIdle([this, photo] { openPicture(photo); });
        return;
    }
    window_->start_->hold();
    if (!window_->isEdited()) {
        window_->openNewImage(photo, tr("Untitled"));
        return;
    }
    window_->saving_->askToSave([this, photo] { window_->openNewImage(photo, tr("Untitled")); },
                                tr("the pasted picture"));
}

// ---- recent photos ----------------------------------------------------------------------------

QStringList WindowOpening::recent() const {
    return window_->settings_->recentDocuments();
}

void WindowOpening::addRecent(const QString& path) {
    QStringList list = window_->settings_->recentDocuments();
    list.removeAll(path);
    list.prepend(path);
    while (list.size() > kRecentLimit) list.removeLast();
    window_->settings_->setRecentDocuments(list);
    // The desktop's list too (file managers, open dialogs), away from the window.
    const QString mime = lowerExtension(path) == ProjectDocument::kExtension
                             ? QString::fromLatin1(ProjectDocument::kMimeType)
                             : QMimeDatabase().mimeTypeForFile(path).name();
    const QString file = window_->services.recentBookmarkFile.isEmpty()
                             ? recentlyUsedBookmarkFile()
                             : window_->services.recentBookmarkFile;
    Dispatch::async(Dispatch::Priority::Low, [path, mime, file] { noteRecentDocument(path, mime, file); });
}

// ---- drop and paste ---------------------------------------------------------------------------

bool WindowOpening::canOpen(const QMimeData* data) const {
    // Only the types on offer are looked at here, never the bytes: the menus ask often.
    if (!data) return false;
    if (!readableFileIn(data).isEmpty()) return true;
    return data->hasImage() || !readablePictureTypes(data).isEmpty();
}

void WindowOpening::openFrom(const QMimeData* data) {
    if (!data) return;
    // A file (from a file manager) opens as that file, with its name and metadata.
    if (const QString file = readableFileIn(data); !file.isEmpty()) {
        open(file);
        return;
    }
    BitmapRef photo;
    for (const QString& type : readablePictureTypes(data))
        if ((photo = pictureFromBytes(data->data(type), type))) break;
    if (!photo && data->hasImage()) photo = bitmapFromQImage(qvariant_cast<QImage>(data->imageData()));
    if (photo) openPicture(photo);
}

void WindowOpening::paste() {
    const QMimeData* data = QApplication::clipboard()->mimeData();
    if (canOpen(data)) openFrom(data);
}

} // namespace pimavo
