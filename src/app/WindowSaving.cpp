// clang-format off
// Before Qt, whose "emit" macro clashes with a function of oneTBB's.
#include <tbb/task_arena.h>
// clang-format on

#include "WindowSaving.h"

#include "AuxiliaryWindows.h"
#include "EditorWindow.h"
#include "Question.h"
#include "SaveFlow.h"
#include "SavePanel.h"
#include "WindowOpening.h"
#include "WindowReview.h"
#include "core/Dispatch.h"
#include "core/Settings.h"
#include "engine/Renderer.h"
#include "imageio/AtomicFile.h"
#include "imageio/ImageGeometry.h"
#include "imageio/ImageTypes.h"
#include "imageio/ImageWriter.h"
#include "imageio/Reduction.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QMessageBox>
#include <QScopeGuard>
#include <thread>

namespace pimavo {

namespace {

constexpr int kWrittenFilesLimit = 50;

} // namespace

WindowSaving::WindowSaving(EditorWindow* window) : QObject(window), window_(window) {}

void WindowSaving::saveAsProject() {
    saveAs(QString::fromLatin1(ProjectDocument::kMimeType));
}

bool WindowSaving::isSaving() const {
    return flow_ && flow_->isSaving();
}

SaveFlow* WindowSaving::flow() {
    if (!flow_) {
        flow_ = new SaveFlow(window_, window_->contentView_);
        // Closing asked for while a save ran: asked again once it ended, with the picture as it now is.
        flow_->onCloseRequested = [this] { window_->QMainWindow::close(); };
    }
    return flow_;
}

bool WindowSaving::writeResult(const QString& path, const QString& mimeType, double quality,
                               const QString& compression) {
    window_->opening_->finish();
    // What is saved is taken now; rendering and writing it run on another thread.
    BitmapRef ready;
    Image value;
    int bits = 8;
    bool alpha = false;
    if (window_->painterView_) {
        const std::optional<CanvasModel::ResultSize> size = chooseResultSize(window_->painterView_->model());
        if (!size) return false; // the user would not have the reduced size
        if (auto source = window_->painterView_->model().resultSource(*size)) {
            ready = source->ready;
            value = source->value;
            bits = source->bits;
            alpha = source->alpha;
        }
    }
    if (!ready && !value) ready = window_->photo_.image;
    if (!ready && !value) return false;
    SaveOptions options;
    options.mimeType = mimeType.toStdString();
    options.quality = quality;
    if (!compression.isEmpty()) options.tiffCompression = compression.toStdString();
    const std::optional<ImageProperties> properties = window_->photo_.properties;
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
                error =
                    saveFailureMessage(file, QT_TRANSLATE_NOOP("Failure", "the picture could not be made"));
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
    const SaveFlow::Result result = flow()->run(QFileInfo(path).fileName(), std::move(work));
    if (result.outcome == SaveFlow::Outcome::Failed)
        window_->showAlert(tr("The picture cannot be saved."), result.error);
    return result.outcome == SaveFlow::Outcome::Saved;
}

void WindowSaving::save() {
    // A project saves as a project: the painting stays editable.
    if (window_->isProjectDocument() && !window_->photo_.file.isEmpty()) {
        if (window_->saveProjectTo(window_->photo_.file)) window_->setEdited(false);
        return;
    }
    // A picture without a file, or from a type nothing writes (camera raw): choose where and how.
    const auto writable = writableMimeTypes();
    if (window_->photo_.mimeType.isEmpty() || window_->photo_.file.isEmpty() ||
        std::find(writable.begin(), writable.end(), window_->photo_.mimeType.toStdString()) ==
            writable.end()) {
        saveAs();
        return;
    }
    if (!confirmReplacingOriginal(window_->photo_.file)) return;
    // The picture on screen stays as it is: saving does not flatten the painting into the photo.
    // Written whole beside the file, then swapped in; a failure leaves the file as it was and the
    // picture still marked as edited.
    if (!writeResult(window_->photo_.file, window_->photo_.mimeType, window_->settings_->saveQuality(),
                     QString()))
        return;
    rememberWrittenFile(window_->photo_.file);
    window_->photo_.savedSinceOpening = true;
    window_->setEdited(false);
}

void WindowSaving::saveAs(const QString& preferredType, std::function<void()> then) {
    if (!window_->hasPhoto()) return;
    const QFileInfo current(window_->photo_.file);
    const QString folder =
        window_->photo_.file.isEmpty() ? QDir::homePath() + "/Pictures" : current.absolutePath();
    // A recovered picture proposes its photo's name: the file it came from is not the picture's.
    const QString name = !window_->photo_.file.isEmpty() ? current.completeBaseName()
                         : !window_->photo_.suggestedName.isEmpty()
                             ? QFileInfo(window_->photo_.suggestedName).completeBaseName()
                             : tr("Untitled");
    QString mimeType = preferredType.isEmpty() ? window_->photo_.mimeType : preferredType;
    const auto writable = writableMimeTypes();
    if (mimeType != QLatin1String(ProjectDocument::kMimeType) &&
        std::find(writable.begin(), writable.end(), mimeType.toStdString()) == writable.end())
        mimeType = defaultSaveType(*window_->settings_); // no type, or one nothing writes (camera raw)
    double quality = window_->settings_->saveQuality();
    QString path;
    QString compression;
    if (window_->services.savePanel) {
        path = window_->services.savePanel(folder, name, mimeType, quality);
    } else if (auto choice =
                   runSavePanel(window_, folder, name, current.suffix(), mimeType, quality,
                                window_->photo_.properties ? &*window_->photo_.properties : nullptr,
                                window_->photo_.image ? window_->photo_.image->bitsPerComponent() : 8,
                                window_->photo_.image && hasTransparency(*window_->photo_.image))) {
        path = choice->path;
        mimeType = choice->mimeType;
        quality = choice->quality;
        compression = choice->compression;
    }
    // Cancelled or failed, the follow-up goes with it: it belonged to this one Save As.
    if (path.isEmpty()) return;
    const bool project = mimeType == QLatin1String(ProjectDocument::kMimeType);
    const bool ok =
        project ? window_->saveProjectTo(path) : writeResult(path, mimeType, quality, compression);
    if (!ok) return;
    window_->opening_->addRecent(QFileInfo(path).absoluteFilePath());
    if (!project) rememberWrittenFile(path);
    window_->photo_.savedSinceOpening = true;
    window_->photo_.mimeType = mimeType;
    window_->representFile(path);
    window_->setEdited(false);
    // What the save was asked for comes next; otherwise the review prompt may.
    window_->review_->countSave(!then);
    if (then) Dispatch::after(0, std::move(then));
}

void WindowSaving::askToSave(std::function<void()> next, const QString& opening) {
    // Named, so that a question raised by a photo opened from elsewhere says whose work is at stake.
    const QString message = opening.isEmpty()
                                ? tr("Do you want to save the changes to “%1”?").arg(window_->documentName())
                                : tr("Do you want to save the changes to “%1” before opening “%2”?")
                                      .arg(window_->documentName(), opening);
    WindowServices::Answer answer;
    if (window_->services.saveQuestion) {
        answer = window_->services.saveQuestion(message);
    } else {
        const int chosen = askQuestion(window_, QMessageBox::Warning, message,
                                       tr("Your changes will be lost if you don't save them."),
                                       {{//: A button: save the picture
                                         tr("Save")},
                                        {tr("Don’t Save"), QMessageBox::DestructiveRole}});
        answer = chosen == 0   ? WindowServices::Answer::Save
                 : chosen == 1 ? WindowServices::Answer::DontSave
                               : WindowServices::Answer::Cancel;
    }
    switch (answer) {
    case WindowServices::Answer::DontSave:
        Dispatch::after(0, next);
        break;
    case WindowServices::Answer::Save:
        // A project has its file: saved there, as Save does, without asking where.
        if (window_->isProjectDocument() && !window_->photo_.file.isEmpty()) {
            Dispatch::after(0, [this, next] {
                if (!window_->saveProjectTo(window_->photo_.file)) return;
                window_->setEdited(false);
                next();
            });
            break;
        }
        Dispatch::after(0, [this, next] { saveAs({}, next); });
        break;
    case WindowServices::Answer::Cancel:
        break;
    }
}

bool WindowSaving::confirmReplacingOriginal(const QString& path) {
    if (replaceConfirmedFor_ == path || wasWrittenHere(path)) return true;
    QString message = tr("Replace the original photo “%1”?").arg(QFileInfo(path).fileName());
    // The file may hold more than could be read here (another program may recover it): replacing
    // it would write the grey part in for good.
    if (window_->photo_.incomplete)
        message +=
            "\n\n" +
            tr("This photo’s file is incomplete: replacing it writes the grey part it could not read into "
               "the file for good, and whatever another program might still recover from it is lost.");
    WindowServices::ReplaceAnswer answer;
    if (window_->services.replaceQuestion) {
        answer = window_->services.replaceQuestion(message);
    } else {
        static constexpr WindowServices::ReplaceAnswer kAnswers[] = {
            WindowServices::ReplaceAnswer::Replace, WindowServices::ReplaceAnswer::SaveAs,
            WindowServices::ReplaceAnswer::SaveAsProject};
        const int chosen = askQuestion(
            window_, QMessageBox::Warning, message,
            tr("Saving writes the edited picture over the original file. The original colours cannot be "
               "brought back from the saved file. To keep the original, save the picture under another name "
               "with Save As, or save a project, which keeps the photo, the painting and every setting."),
            {{tr("Replace"), QMessageBox::DestructiveRole}, {tr("Save As…")}, {tr("Save as Project…")}}, 1);
        answer = chosen < 0 ? WindowServices::ReplaceAnswer::Cancel : kAnswers[chosen];
    }
    switch (answer) {
    case WindowServices::ReplaceAnswer::Replace:
        replaceConfirmedFor_ = path;
        return true;
    case WindowServices::ReplaceAnswer::SaveAs:
        Dispatch::after(0, [this] { saveAs(); });
        return false;
    case WindowServices::ReplaceAnswer::SaveAsProject:
        Dispatch::after(0, [this] { saveAsProject(); });
        return false;
    case WindowServices::ReplaceAnswer::Cancel:
        return false;
    }
    return false;
}

void WindowSaving::rememberWrittenFile(const QString& path) {
    const QFileInfo info(path);
    const QString absolute = info.absoluteFilePath();
    QList<Settings::WrittenFile> list = window_->settings_->writtenFiles();
    list.removeIf([&](const Settings::WrittenFile& f) { return f.path == absolute; });
    list.prepend({absolute, info.size(), info.lastModified().toMSecsSinceEpoch()});
    while (list.size() > kWrittenFilesLimit) list.removeLast();
    window_->settings_->setWrittenFiles(list);
}

bool WindowSaving::wasWrittenHere(const QString& path) const {
    // The file as this editor left it: any change since (another program, a copy put in its
    // place) makes it someone else's again.
    const QFileInfo info(path);
    for (const Settings::WrittenFile& f : window_->settings_->writtenFiles()) {
        if (f.path == info.absoluteFilePath())
            return f.size == info.size() && f.modified == info.lastModified().toMSecsSinceEpoch();
    }
    return false;
}

// Photos above the canvas's pixel limit: the canvas paints on a reduced copy, while the picture that
// is saved, copied, printed or shared is composed from the photo as decoded. Only when the memory
// for that is not there does the user get the choice of the reduced size.
std::optional<CanvasModel::ResultSize> WindowSaving::chooseResultSize(CanvasModel& canvas) {
    using Size = CanvasModel::ResultSize;
    const double needed = canvas.resultMemoryNeeded(Size::Full), available = availableMemory();
    const SizeF full = canvas.resultSize(Size::Full), reduced = canvas.resultSize(Size::Reduced);
    Size size = Size::Full;
    if (needed > available && reduced.width < full.width) {
        auto n = [](double v) { return QString::number(qint64(v)); };
        // Sizes as the desktop's file manager writes them (1024 to the kilobyte), in the user's numbers.
        auto gb = [](double bytes) {
            return QLocale().formattedDataSize(qint64(bytes), 1, QLocale::DataSizeTraditionalFormat);
        };
        const QString message = tr("There is not enough memory to make the picture at the photo's full size, "
                                   "%1 × %2 pixels (about %3 needed, %4 free).")
                                    .arg(n(full.width), n(full.height), gb(needed), gb(available));
        const QString info = tr("Pimavo can make it at %1 × %2 pixels, the size it is painted at, instead. "
                                "Closing other programs may free enough memory for the full size.")
                                 .arg(n(reduced.width), n(reduced.height));
        bool useReduced = false;
        if (window_->services.reducedSizeQuestion) {
            useReduced = window_->services.reducedSizeQuestion(message + "\n" + info);
        } else {
            useReduced = askQuestion(window_, QMessageBox::Warning, message, info,
                                     {{tr("Use %1 × %2").arg(n(reduced.width), n(reduced.height))}}) == 0;
        }
        if (!useReduced) return std::nullopt;
        size = Size::Reduced;
    }
    return size;
}

BitmapRef WindowSaving::canvasResult(CanvasModel& canvas) {
    const std::optional<CanvasModel::ResultSize> size = chooseResultSize(canvas);
    if (!size) return nullptr;
    QApplication::setOverrideCursor(Qt::BusyCursor);
    const auto restore = qScopeGuard([] { QApplication::restoreOverrideCursor(); });
    auto result = canvas.resultImage(*size);
    return result ? *result : nullptr;
}

} // namespace pimavo
