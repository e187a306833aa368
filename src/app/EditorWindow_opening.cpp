// Opening: the open panel, files by path, drop and paste, the wait for very large photos, the
// start screen, and installing a photo as the window's picture.
#include "EditorWindow.h"
#include "PhotoPrefetch.h"
#include "RecentDocuments.h"
#include "SaveFlow.h"
#include "StartScreen.h"
#include "WindowCompare.h"
#include "WindowImport.h"
#include "WindowPicker.h"
#include "WindowReview.h"
#include "WindowSaving.h"
#include "WindowSharing.h"
#include "WindowStart.h"
#include "core/Settings.h"
#include "core/Strings.h"
#include "imageio/ImageDecoder.h"
#include "imageio/ImageGeometry.h"
#include "imageio/ImageTypes.h"
#include "imageio/Reduction.h"
#include "session/EditSession.h"
#include "widgets/BitmapImage.h"
#include "widgets/BusySpinner.h"
#include "widgets/ImageButton.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QImageReader>
#include <QLabel>
#include <QMessageBox>
#include <QMimeData>
#include <QMimeDatabase>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QUrl>

namespace pimavo {

namespace {

QString text(const char* key) {
    return Strings::shared().localized(QString::fromLatin1(key));
}

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
    return text("kPhotos") + " (" + patterns.join(' ') + ")";
}

} // namespace

// ---- the open panel and paths -----------------------------------------------------------------

// Where the photos are: beside the one open, else beside the last one opened, else the Pictures
// folder.
QString EditorWindow::openPanelFolder() const {
    if (!photo_.file.isEmpty()) return QFileInfo(photo_.file).absolutePath();
    const QStringList recent = recentDocuments();
    if (!recent.isEmpty() && QFileInfo(QFileInfo(recent.first()).absolutePath()).isDir())
        return QFileInfo(recent.first()).absolutePath();
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    return QFileInfo(pictures).isDir() ? pictures : QString();
}

void EditorWindow::openImage() {
    QString path;
    if (services.openPanel) {
        path = services.openPanel();
    } else {
        path = QFileDialog::getOpenFileName(this, Strings::titleFromMenuText(text("kMenuOpen")),
                                            openPanelFolder(), openPanelFilter());
    }
    if (path.isEmpty()) {
        if (!hasPhoto()) start_->show();
        return;
    }
    openWithSavingCurrentImageURL(path);
}

std::optional<DecodedImage> EditorWindow::imageFromURL(const QString& path, QString* error) {
    DecodeResult r = decodeImageFile(path.toStdString());
    if (!r.image) {
        if (error) *error = QString::fromStdString(r.reason.empty() ? r.error : r.reason);
        return std::nullopt;
    }
    return std::move(*r.image);
}

std::optional<DecodedImage> EditorWindow::reducedImageFromURL(const QString& path) {
    const std::string file = path.toStdString();
    std::optional<prefetch::ReducedPhoto> ready = prefetch::take(file);
    if (!ready) return std::nullopt;
    const ImageHeader header = ready->header;
    std::optional<DecodedImage> reduced = std::move(ready->image);

    decodes_.start(file, reduced->bitmap, header.width, header.height, reduced->bitsPerComponent,
                   [this] { finishOpening(); });
    return reduced;
}

void EditorWindow::finishOpening() {
    const std::optional<WholeDecodes::Ended> opening = decodes_.take();
    if (!opening) return;
    const BitmapRef photo = opening->photo.photo.get();
    if (!photo) {
        // Read once already at a reduced size, the file changed or memory ran out: nothing of it
        // can be worked on.
        const QString why = opening->error;
        compare_->exit();
        setTool(NoTool);
        setImage(nullptr);
        photo_.original.reset();
        forgetOpenedFile(); // nothing of the file is in the window
        session_->clear();
        setEdited(false);
        showAlert(why.isEmpty() ? text("kStringCantOpenImageAlertInfo") : why, QString());
        start_->show();
        return;
    }
    if (photo_.image == opening->photo.preview) photo_.image = photo;
    if (photo_.original == opening->photo.preview) photo_.original = photo;
    // The working images from the photo itself, before anything works on them.
    if (painterView_) painterView_->model().finishOpeningLook();
    compare_->photoArrived();
}

void EditorWindow::openImageURL(const QString& path) {
    // A folder: choose a photo in it.
    if (QFileInfo(path).isDir()) {
        const QString chosen =
            services.openPanel
                ? services.openPanel()
                : QFileDialog::getOpenFileName(this, Strings::titleFromMenuText(text("kMenuOpen")), path,
                                               openPanelFilter());
        if (!chosen.isEmpty())
            openImageURL(chosen);
        else if (!hasPhoto())
            Dispatch::after(0, [this] { start_->show(); });
        return;
    }
    closeInWindowDialogs();
    if (lowerExtension(path) == ProjectDocument::kExtension || isProjectFile(path.toStdString())) {
        openProjectURL(path);
        return;
    }
    decodes_.forget();
    QString why;
    auto decoded = reducedImageFromURL(path);
    if (!decoded) decoded = imageFromURL(path, &why);
    if (!decoded) {
        // The title names the file; the text says why, once, as a sentence of its own.
        if (!why.isEmpty()) why = why.left(1).toUpper() + why.mid(1) + ".";
        showAlert(Strings::format(text("kFileCouldNotBeOpened"), {QFileInfo(path).fileName()}),
                  why.isEmpty() ? text("kStringCantOpenImageAlertInfo") : why);
        if (!hasPhoto()) Dispatch::after(0, [this] { start_->show(); });
        return;
    }
    start_->hide();
    // The file's name, metadata and bytes go with its photo: they are the window's only once the
    // photo is, so that a reduction that fails leaves the photo on screen with its own.
    OpenedFile opened;
    opened.path = path;
    opened.properties = std::move(decoded->properties);
    opened.mimeType = QString::fromStdString(decoded->mimeType);
    opened.warning = QString::fromStdString(decoded->warning);
    // The file as it is now, for a project saved later: by then a Save may have replaced it.
    QFile file(path);
    if (file.open(QIODevice::ReadOnly))
        opened.bytes = std::make_shared<const std::string>(file.readAll().toStdString());
    BitmapRef photo = decoded->bitmap;
    if (needsReduction(photo->width(), photo->height())) {
        removeCurrentDialog();
        currentDialog_ = std::make_unique<OverlayDialog>(OverlayDialog::Bare);
        currentDialog_->setDialogSize(QSizeF(360, 210));
        auto* message = new QLabel(
            Strings::format(Strings::shared().string("kStringWaitingResizeAutomaticallyImagePro"), {32}));
        message->setGeometry(50, 75, 260, 90);
        message->setAlignment(Qt::AlignCenter);
        message->setWordWrap(true);
        message->setStyleSheet("color: white; background: transparent;");
        currentDialog_->addSubview(message);
        auto* spinner = new BusySpinner;
        spinner->setGeometry(168, 45, 24, 24);
        currentDialog_->addSubview(spinner);
        spinner->startAnimation();
        currentDialog_->showInView(contentView_);
        QApplication::setOverrideCursor(Qt::BusyCursor);
        QPointer<EditorWindow> self(this);
        // The canvas paints on the reduced copy; the photo itself stays the picture, so that what is
        // saved has its size.
        auto pending = std::make_shared<OpenedFile>(std::move(opened));
        // The title names what the window waits for; the photo on screen keeps its file meanwhile.
        const QString titleBefore = windowTitle();
        setWindowTitle(QFileInfo(path).fileName() + "[*]");
        setWindowModified(false); // the photo coming has no changes; any before it are not its

        auto reduced = [self, photo, pending, titleBefore](std::optional<Bitmap> reduced) {
            BitmapRef result = reduced ? std::make_shared<const Bitmap>(std::move(*reduced)) : nullptr;
            Dispatch::mainQueue([self, photo, result, pending, titleBefore] {
                QApplication::restoreOverrideCursor();
                if (!self) return;
                if (!result) {
                    self->setWindowTitle(titleBefore);
                    self->setWindowModified(self->isEdited());
                    self->removeCurrentDialog();
                    self->showAlert(Strings::format(text("kFileCouldNotBeOpened"),
                                                    {QFileInfo(pending->path).fileName()}),
                                    text("kStringCantOpenImageAlertInfo"));
                    if (!self->hasPhoto()) self->start_->show();
                    return;
                }
                self->photo_.rememberWorkingCopy(photo, result);
                self->adoptOpenedFile(std::move(*pending));
                self->continueOpenImage(photo);
            });
        };
        resizeInBackground(photo, decoded->bitsPerComponent, std::move(reduced));
    } else {
        adoptOpenedFile(std::move(opened));
        continueOpenImage(photo);
    }
}

void EditorWindow::adoptOpenedFile(OpenedFile opened) {
    photo_.savedSinceOpening = false; // the file holds the photo as opened
    photo_.suggestedName.clear();
    // Said once the photo is on screen, so that the user sees what the message is about.
    photo_.pendingWarning = opened.warning;
    photo_.properties = std::move(opened.properties);
    photo_.mimeType = opened.mimeType;
    photo_.originalBytes = std::move(opened.bytes);
    photo_.originalName = QFileInfo(opened.path).fileName();
    representFile(opened.path);
    addRecent(photo_.file);
}

void EditorWindow::forgetOpenedFile() {
    photo_.properties.reset();
    photo_.mimeType.clear();
    photo_.originalBytes.reset();
    photo_.originalName.clear();
    photo_.file.clear();
    photo_.suggestedName.clear();
    setWindowFilePath(QString());
    setWindowTitle(QStringLiteral("Pimavo[*]"));
}

void EditorWindow::representFile(const QString& path) {
    photo_.file = QFileInfo(path).absoluteFilePath();
    setWindowTitle(QFileInfo(path).fileName() + "[*]");
    setWindowFilePath(photo_.file);
}

// Replaces the picture and starts a fresh history: nothing of the previous photo can be undone into
// the new one.
void EditorWindow::installPhoto(BitmapRef photo) {
    sharing_->forgetDrafts();
    photo_.incomplete = false;
    if (hasPhoto()) {
        setTool(NoTool);
        setImage(nullptr);
        setEdited(false);
    }
    session_->resetPictureSettings(startingPictureSettings());
    setImage(photo);
    session_->clear();
    setEdited(false); // the photo as opened is what a save would keep
    validateUndoRedoButtonsState();
}

void EditorWindow::continueOpenImage(BitmapRef photo) {
    if (painterView_) painterView_->model().forgetLooks();
    if (photo != photo_.original) photo_.original = photo;
    photo_.originalIsApplied = false;
    removeCurrentDialog();
    if (!photo) return;
    installPhoto(photo);
    if (!photo_.pendingWarning.isEmpty()) {
        photo_.incomplete = true;
        const QString warning = std::exchange(photo_.pendingWarning, QString());
        QPointer<EditorWindow> self(this);
        Dispatch::after(0, [self, warning] {
            if (self) self->showAlert(text("kIncompletePhotoTitle"), warning);
        });
    }
}

void EditorWindow::closeInWindowDialogs() {
    // The sharing window, the review prompt, the picker and the comparison belong to the photo
    // being replaced; left up, they would keep the window's commands blocked over the new one.
    sharing_->closeAll();
    if (review_->isShown()) review_->finish(false);
    picker_->cancel();
    compare_->exit();
}

void EditorWindow::openNewImage(BitmapRef photo, const QString& title) {
    closeInWindowDialogs();
    decodes_.forget();
    photo_.savedSinceOpening = false;
    photo_.suggestedName.clear();
    photo_.properties.reset();
    photo_.mimeType.clear();
    photo_.originalBytes.reset();
    photo_.originalName.clear();
    start_->hide();
    removeCurrentDialog();
    if (!photo) return;
    installPhoto(photo);
    photo_.file.clear();
    setWindowFilePath(QString());
    setWindowTitle(title + "[*]");
    if (photo != photo_.original) photo_.original = photo;
    photo_.originalIsApplied = false;
}

void EditorWindow::setImage(BitmapRef photo) {
    if (photo == photo_.image) return;
    photo_.image = photo;
    removeCurrentDialog();
    validateUndoRedoButtonsState();
    setTool(NoTool);
    if (photo_.image) setTool(Painting);
    validateResizableButtons();
    validateMenus();
}

void EditorWindow::removeCurrentDialog() {
    if (!currentDialog_) return;
    currentDialog_->hideDialogWithoutAnimation();
    currentDialog_.reset();
}

// ---- asking before replacing edited work ------------------------------------------------------

void EditorWindow::openWithSavingCurrentImageURL(const QString& path) {
    if (saving_->isSaving()) {
        saving_->flow()->whenIdle([this, path] { openWithSavingCurrentImageURL(path); });
        return;
    }
    start_->hold();
    if (!isEdited()) {
        openImageURL(path);
        return;
    }
    saving_->askToSave([this, path] { openImageURL(path); }, QFileInfo(path).fileName());
}

void EditorWindow::openWithSavingCurrentImageNewImage(BitmapRef photo) {
    if (saving_->isSaving()) {
        saving_->flow()->whenIdle([this, photo] { openWithSavingCurrentImageNewImage(photo); });
        return;
    }
    start_->hold();
    if (!isEdited()) {
        openNewImage(photo, text("Untitled"));
        return;
    }
    saving_->askToSave([this, photo] { openNewImage(photo, text("Untitled")); }, text("kThePastedPicture"));
}

// ---- recent photos ----------------------------------------------------------------------------

QStringList EditorWindow::recentDocuments() const {
    return settings_->recentDocuments();
}

void EditorWindow::addRecent(const QString& path) {
    QStringList list = settings_->recentDocuments();
    list.removeAll(path);
    list.prepend(path);
    while (list.size() > kRecentLimit) list.removeLast();
    settings_->setRecentDocuments(list);
    // The desktop's list too (file managers, open dialogs), away from the window.
    const QString mime = lowerExtension(path) == ProjectDocument::kExtension
                             ? QString::fromLatin1(ProjectDocument::kMimeType)
                             : QMimeDatabase().mimeTypeForFile(path).name();
    const QString file =
        services.recentBookmarkFile.isEmpty() ? recentlyUsedBookmarkFile() : services.recentBookmarkFile;
    Dispatch::async(Dispatch::Priority::Low, [path, mime, file] { noteRecentDocument(path, mime, file); });
}

// ---- drop and paste ---------------------------------------------------------------------------

bool EditorWindow::canReadDataFromPasteboard(const QMimeData* data) const {
    // Only the types on offer are looked at here, never the bytes: the menus ask often.
    if (!data) return false;
    if (!readableFileIn(data).isEmpty()) return true;
    return data->hasImage() || !readablePictureTypes(data).isEmpty();
}

void EditorWindow::readDataFromPasteboard(const QMimeData* data) {
    if (!data) return;
    // A file (from a file manager) opens as that file, with its name and metadata.
    if (const QString file = readableFileIn(data); !file.isEmpty()) {
        openWithSavingCurrentImageURL(file);
        return;
    }
    BitmapRef photo;
    for (const QString& type : readablePictureTypes(data))
        if ((photo = pictureFromBytes(data->data(type), type))) break;
    if (!photo && data->hasImage()) photo = bitmapFromQImage(qvariant_cast<QImage>(data->imageData()));
    if (photo) openWithSavingCurrentImageNewImage(photo);
}

void EditorWindow::paste() {
    const QMimeData* data = QApplication::clipboard()->mimeData();
    if (canReadDataFromPasteboard(data)) readDataFromPasteboard(data);
}

// Files dropped anywhere on the window.
void EditorWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (!isDisabledInteraction_ && canReadDataFromPasteboard(event->mimeData()))
        event->acceptProposedAction();
}

void EditorWindow::dropEvent(QDropEvent* event) {
    if (isDisabledInteraction_ || !canReadDataFromPasteboard(event->mimeData())) return;
    event->acceptProposedAction();
    readDataFromPasteboard(event->mimeData());
}

} // namespace pimavo
