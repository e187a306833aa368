// The picture as saved, closing the window, copying and printing (saving itself is WindowSaving).
#include "EditorWindow.h"
#include "SaveFlow.h"
#include "WindowFrame.h"
#include "WindowOpening.h"
#include "WindowSaving.h"
#include "core/Dispatch.h"
#include "imageio/ColourProfile.h"
#include "imageio/ImageWriter.h"
#include "widgets/BitmapImage.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QColorSpace>
#include <QFile>
#include <QFileInfo>
#include <QMimeData>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QTemporaryDir>

namespace pimavo {

namespace {} // namespace

BitmapRef EditorWindow::resultImage() {
    opening_->finish();
    if (painterView_) return saving_->canvasResult(painterView_->model());
    return photo_.image;
}

// ---- the save question ------------------------------------------------------------------------

QString EditorWindow::documentName() const {
    QString title = windowTitle();
    title.remove(QStringLiteral("[*]"));
    return title.isEmpty() ? tr("Untitled") : title;
}

bool EditorWindow::shouldCloseDocument() {
    if (!needSaveDocument()) return true;
    saving_->askToSave([this] {
        noNeedSaveDocument = true;
        close();
    });
    return false;
}

void EditorWindow::closeDocumentWithSaving() {
    if (needSaveDocument() && !noNeedSaveDocument) {
        saving_->askToSave([this] {
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
    if (saving_->isSaving()) {
        saving_->flow()->requestClose();
        event->ignore();
        return;
    }
    if (noNeedSaveDocument || shouldCloseDocument()) {
        noNeedSaveDocument = true;
        saveFrame(*this, *settings_); // the next start opens where this one was left
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
    auto* mime = new QMimeData;
    // TIFF at the picture's own depth, written as Save writes it (Qt has no TIFF writer here).
    QTemporaryDir dir;
    const QString tiffPath = dir.filePath("copy.tif");
    SaveOptions tiff;
    tiff.mimeType = "image/tiff";
    std::string error;
    if (dir.isValid() && writeImageFile(*picture, tiffPath.toStdString(), tiff, nullptr, &error)) {
        QFile file(tiffPath);
        if (file.open(QIODevice::ReadOnly)) mime->setData("image/tiff", file.readAll());
    }
    // The picture itself: other programs are offered it as PNG, BMP, JPEG, … from this.
    mime->setImageData(qImageFromBitmap(*picture));
    QApplication::clipboard()->setMimeData(mime);
}

void EditorWindow::print() {
    BitmapRef picture = resultImage();
    if (!picture) {
        showAlert(tr("The picture could not be printed."), QString());
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
    // Printers are driven in sRGB, as the print system assumes of a picture that names no profile.
    if (auto toSrgb = ColourTransform::between(photo_.colourProfile(), {})) {
        auto converted = std::make_shared<Bitmap>(*picture);
        toSrgb->convert(*converted);
        picture = std::move(converted);
    }
    QImage image = qImageFromBitmap(*picture);
    image.setColorSpace(QColorSpace::SRgb);
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
