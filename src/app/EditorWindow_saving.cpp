// Saving: Save to the file the photo came from, Save As with a type, the question that protects
// unsaved work, closing, copying and printing.
// clang-format off
// Before Qt, whose "emit" macro clashes with a function of oneTBB's.
#include <tbb/task_arena.h>
// clang-format on

#include "AuxiliaryWindows.h"
#include "EditorWindow.h"
#include "Question.h"
#include "SaveFlow.h"
#include "SavePanel.h"
#include "WindowReview.h"
#include "core/Settings.h"
#include "core/Strings.h"
#include "engine/Renderer.h"
#include "imageio/AtomicFile.h"
#include "imageio/ImageGeometry.h"
#include "imageio/ImageTypes.h"
#include "imageio/ImageWriter.h"
#include "widgets/BitmapImage.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QImageWriter>
#include <QMessageBox>
#include <QMimeData>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>
#include <thread>

namespace pimavo {

namespace {

QString text(const char* key) {
    return Strings::shared().localized(QString::fromLatin1(key));
}

} // namespace

BitmapRef EditorWindow::resultImage() {
    finishOpening();
    if (painterView_) return canvasResult(painterView_->model());
    return image_;
}

SaveFlow* EditorWindow::saveFlow() {
    if (!saveFlow_) {
        saveFlow_ = new SaveFlow(this, contentView_);
        // Closing asked for while a save ran: asked again once it ended, with the picture as it now is.
        saveFlow_->onCloseRequested = [this] { QMainWindow::close(); };
    }
    return saveFlow_;
}

bool EditorWindow::saveResultTo(const QString& path, const QString& mimeType, double quality,
                                          const QString& compression) {
    finishOpening();
    // What is saved is taken now; rendering and writing it run on another thread.
    BitmapRef ready;
    Image value;
    int bits = 8;
    bool alpha = false;
    if (painterView_) {
        const std::optional<CanvasModel::ResultSize> size = chooseResultSize(painterView_->model());
        if (!size) return false; // the user would not have the reduced size
        if (auto source = painterView_->model().resultSource(*size)) {
            ready = source->ready;
            value = source->value;
            bits = source->bits;
            alpha = source->alpha;
        }
    }
    if (!ready && !value) ready = image_;
    if (!ready && !value) return false;
    SaveOptions options;
    options.mimeType = mimeType.toStdString();
    options.quality = quality;
    if (!compression.isEmpty()) options.tiffCompression = compression.toStdString();
    const std::optional<ImageProperties> properties = imageProperties_;
    const std::string file = QFile::encodeName(path).toStdString();
    auto work = [ready, value, bits, alpha, options, properties, file](SaveTicket& ticket,
                                                                std::string& error) mutable {
        BitmapRef picture = ready;
        if (!picture) {
            // On all cores but one: the window's own drawing finds the engine's threads free.
            tbb::task_arena cores(std::max(1, int(std::thread::hardware_concurrency()) - 1));
            std::optional<Bitmap> bitmap;
            cores.execute([&] { bitmap = Renderer().createBitmap(value, bits, alpha); });
            if (!bitmap) {
                error = saveFailureMessage(file, "the picture could not be made");
                return false;
            }
            picture = std::make_shared<const Bitmap>(std::move(*bitmap));
        }
        options.proceed = [&ticket](double done) {
            if (done >= 1) return ticket.commit();
            ticket.setProgress(done);
            return ticket.keepGoing();
        };
        return writeImageFile(*picture, file, options, properties ? &*properties : nullptr, &error);
    };
    const SaveFlow::Result result = saveFlow()->run(QFileInfo(path).fileName(), std::move(work));
    if (result.outcome == SaveFlow::Outcome::Failed) showAlert(text("Image cannot be saved"), result.error);
    return result.outcome == SaveFlow::Outcome::Saved;
}

void EditorWindow::saveMenuItemClick() {
    // A project saves as a project: the painting stays editable.
    if (isProjectDocument() && !representedFile_.isEmpty()) {
        if (saveProjectTo(representedFile_)) setEdited(false);
        return;
    }
    // A picture without a file, or from a type nothing writes (camera raw): choose where and how.
    const auto writable = writableMimeTypes();
    if (imageMimeType_.isEmpty() || representedFile_.isEmpty() ||
        std::find(writable.begin(), writable.end(), imageMimeType_.toStdString()) == writable.end()) {
        saveImage();
        return;
    }
    if (!confirmReplacingOriginal(representedFile_)) return;
    // The picture on screen stays as it is: saving does not flatten the painting into the photo.
    // Written whole beside the file, then swapped in; a failure leaves the file as it was and the
    // picture still marked as edited.
    if (!saveResultTo(representedFile_, imageMimeType_, settings_->saveQuality(), QString())) return;
    rememberWrittenFile(representedFile_);
    savedSinceOpening_ = true;
    setEdited(false);
}

void EditorWindow::saveImage(const QString& preferredType, std::function<void()> then) {
    if (!hasPhoto()) return;
    const QFileInfo current(representedFile_);
    const QString folder =
        representedFile_.isEmpty() ? QDir::homePath() + "/Pictures" : current.absolutePath();
    // A recovered picture proposes its photo's name: the file it came from is not the picture's.
    const QString name = !representedFile_.isEmpty() ? current.completeBaseName()
                         : !suggestedName_.isEmpty() ? QFileInfo(suggestedName_).completeBaseName()
                                                     : text("Untitled");
    QString mimeType = preferredType.isEmpty() ? imageMimeType_ : preferredType;
    const auto writable = writableMimeTypes();
    if (mimeType != QLatin1String(ProjectDocument::kMimeType) &&
        std::find(writable.begin(), writable.end(), mimeType.toStdString()) == writable.end())
        mimeType = defaultSaveType(*settings_); // no type, or one nothing writes (camera raw)
    double quality = settings_->saveQuality();
    QString path;
    QString compression;
    if (services.savePanel) {
        path = services.savePanel(folder, name, mimeType, quality);
    } else if (auto choice = runSavePanel(this, folder, name, current.suffix(), mimeType, quality,
                                          imageProperties_ ? &*imageProperties_ : nullptr,
                                          image_ ? image_->bitsPerComponent() : 8,
                                          image_ && hasTransparency(*image_))) {
        path = choice->path;
        mimeType = choice->mimeType;
        quality = choice->quality;
        compression = choice->compression;
    }
    // Cancelled or failed, the follow-up goes with it: it belonged to this one Save As.
    if (path.isEmpty()) return;
    const bool project = mimeType == QLatin1String(ProjectDocument::kMimeType);
    const bool ok = project ? saveProjectTo(path) : saveResultTo(path, mimeType, quality, compression);
    if (!ok) return;
    addRecent(QFileInfo(path).absoluteFilePath());
    if (!project) rememberWrittenFile(path);
    savedSinceOpening_ = true;
    imageMimeType_ = mimeType;
    representFile(path);
    setEdited(false);
    // What the save was asked for comes next; otherwise the review prompt may.
    review_->countSave(!then);
    if (then) Dispatch::after(0, std::move(then));
}

// ---- the save question ------------------------------------------------------------------------

QString EditorWindow::documentName() const {
    QString title = windowTitle();
    title.remove(QStringLiteral("[*]"));
    return title.isEmpty() ? text("Untitled") : title;
}

void EditorWindow::saveDocumentIfUserNeededWithContinue(std::function<void()> next,
                                                                  const QString& opening) {
    // Named, so that a question raised by a photo opened from elsewhere says whose work is at stake.
    const QString message = opening.isEmpty()
                                ? Strings::format(text("kSaveBeforeClosingText"), {documentName()})
                                : Strings::format(text("kSaveBeforeOpeningText"), {documentName(), opening});
    Answer answer;
    if (services.saveQuestion) {
        answer = services.saveQuestion(message);
    } else {
        const int chosen = askQuestion(this, QMessageBox::Warning, message,
                                       Strings::shared().string("kStringSaveDialogAdditionalText"),
                                       {{text("kSave")}, {text("kDontSave"), QMessageBox::DestructiveRole}});
        answer = chosen == 0 ? Answer::Save : chosen == 1 ? Answer::DontSave : Answer::Cancel;
    }
    switch (answer) {
    case Answer::DontSave:
        Dispatch::after(0, next);
        break;
    case Answer::Save:
        // A project has its file: saved there, as Save does, without asking where.
        if (isProjectDocument() && !representedFile_.isEmpty()) {
            Dispatch::after(0, [this, next] {
                if (!saveProjectTo(representedFile_)) return;
                setEdited(false);
                next();
            });
            break;
        }
        Dispatch::after(0, [this, next] { saveImage({}, next); });
        break;
    case Answer::Cancel:
        break;
    }
}

bool EditorWindow::shouldCloseDocument() {
    if (!needSaveDocument()) return true;
    saveDocumentIfUserNeededWithContinue([this] {
        noNeedSaveDocument = true;
        close();
    });
    return false;
}

void EditorWindow::closeDocumentWithSaving() {
    if (needSaveDocument() && !noNeedSaveDocument) {
        saveDocumentIfUserNeededWithContinue([this] {
            noNeedSaveDocument = true;
            close();
        });
    } else {
        close();
    }
}

void EditorWindow::close() {
    noNeedSaveDocument = true;
    QMainWindow::close();
    if (onClose) onClose();
}

void EditorWindow::closeEvent(QCloseEvent* event) {
    // The window goes once the picture is written: a file is never left half-written.
    if (saveFlow_ && saveFlow_->isSaving()) {
        saveFlow_->requestClose();
        event->ignore();
        return;
    }
    if (noNeedSaveDocument || shouldCloseDocument()) {
        noNeedSaveDocument = true;
        saveFrame(); // the next start opens where this one was left
        event->accept();
        if (onClose) Dispatch::after(0, onClose);
        return;
    }
    event->ignore();
}

// ---- copy and print ---------------------------------------------------------------------------

void EditorWindow::copy() {
    BitmapRef picture = resultImage();
    if (!picture) return;
    auto* data = new QMimeData;
    // TIFF at the picture's own depth, written as Save writes it (Qt has no TIFF writer here).
    QTemporaryDir dir;
    const QString tiffPath = dir.filePath("copy.tif");
    SaveOptions tiff;
    tiff.mimeType = "image/tiff";
    std::string error;
    if (dir.isValid() && writeImageFile(*picture, tiffPath.toStdString(), tiff, nullptr, &error)) {
        QFile file(tiffPath);
        if (file.open(QIODevice::ReadOnly)) data->setData("image/tiff", file.readAll());
    }
    // The picture itself: other programs are offered it as PNG, BMP, JPEG, … from this.
    data->setImageData(qImageFromBitmap(*picture));
    QApplication::clipboard()->setMimeData(data);
}

void EditorWindow::print() {
    BitmapRef picture = resultImage();
    if (!picture) {
        showAlert(text("Print error"), QString());
        return;
    }
    // The paper and orientation chosen in Page Setup, or last time.
    QPrinter& printer = this->printer();
    printer.setDocName(windowTitle().remove("[*]"));
    if (services.printDialog) {
        if (!services.printDialog(printer)) return;
    } else {
        QPrintDialog dialog(&printer, this);
        dialog.setOption(QAbstractPrintDialog::PrintToFile);
        if (dialog.exec() != QDialog::Accepted) return;
    }
    // Equal margins, as wide as the widest strip the printer cannot reach; the picture fitted and
    // centred in what is left.
    const QRectF paper = printer.paperRect(QPrinter::DevicePixel);
    const QRectF page = printer.pageRect(QPrinter::DevicePixel);
    const double margin = std::max({page.left() - paper.left(), page.top() - paper.top(),
                                    paper.right() - page.right(), paper.bottom() - page.bottom()});
    const QRectF area = paper.adjusted(margin, margin, -margin, -margin).translated(-page.topLeft());
    const QImage image = qImageFromBitmap(*picture);
    QSizeF size = QSizeF(image.size()).scaled(area.size(), Qt::KeepAspectRatio);
    const QRectF target(area.center() - QPointF(size.width() / 2, size.height() / 2), size);
    QPainter painter(&printer);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, image);
}

// ---- page setup -------------------------------------------------------------------------------

QPrinter& EditorWindow::printer() {
    if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *printer_;
}

void EditorWindow::runPageLayout() {
    if (services.pageSetupDialog) {
        services.pageSetupDialog(printer());
        return;
    }
    QPageSetupDialog dialog(&printer(), this);
    dialog.exec();
}

} // namespace pimavo
