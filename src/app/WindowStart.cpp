#include "WindowStart.h"

#include "EditorWindow.h"
#include "StartScreen.h"
#include "WindowImport.h"
#include "WindowOpening.h"
#include "core/Dispatch.h"
#include "document/ProjectDocument.h"
#include "imageio/ImageDecoder.h"
#include "imageio/ImageGeometry.h"
#include "widgets/BitmapImage.h"
#include "widgets/ImageButton.h"

#include <QFileInfo>
#include <QImageReader>

namespace pimavo {

namespace {
QString lowerExtension(const QString& path) {
    return QFileInfo(path).suffix().toLower();
}
} // namespace

WindowStart::WindowStart(EditorWindow* window) : QObject(window), window_(window) {}

void WindowStart::showSoon() {
    pending_ = Dispatch::after(0, [this] { show(); });
}

void WindowStart::hold() {
    if (pending_) pending_->cancel();
}

QWidget* WindowStart::view() const {
    return screen_;
}

void WindowStart::show() {
    EditorWindow& w = *window_;
    if (screen_ || w.hasPhoto()) return;
    w.setDisabledInteractions(true);
    auto* screen = new StartScreen(w.contentView_);
    screen_ = screen;
    const QStringList recent = w.opening_->recent();
    const QString mostRecent = recent.isEmpty() ? QString() : recent.first();
    screen->setRecent(QFileInfo::exists(mostRecent) ? mostRecent : QString());
    screen->onOpen = [this] {
        window_->setEdited(false);
        window_->opening_->showOpenPanel();
    };
    screen->onOpenRecent = [this, mostRecent] {
        hide();
        window_->opening_->open(mostRecent);
    };
    screen->onImport = [this] { window_->import_->runImportWindow(); };
    screen->canRead = [this](const QMimeData* d) { return window_->opening_->canOpen(d); };
    screen->read = [this](const QMimeData* d) { window_->opening_->openFrom(d); };
    screen->setGeometry(w.contentView_->rect());
    screen->show();
    screen->raise();
    w.setEdited(false);
    if (QFileInfo::exists(mostRecent)) {
        // The thumbnail is made away from the window and set when ready.
        QPointer<StartScreen> target(screen);
        Dispatch::async(Dispatch::Priority::High, [target, mostRecent] {
            QImageReader reader(mostRecent);
            reader.setAutoTransform(true);
            const QSize size = reader.size();
            if (size.isValid()) reader.setScaledSize(size.scaled(320, 320, Qt::KeepAspectRatio));
            QImage thumb = reader.read();
            const std::string path = mostRecent.toStdString();
            // A project shows the picture it holds, as it was saved.
            if (thumb.isNull() && lowerExtension(mostRecent) == ProjectDocument::kExtension)
                if (auto small = readProjectThumbnail(path)) thumb = qImageFromBitmap(*small);
            if (thumb.isNull()) {
                // Formats Qt does not read: our own decoder, then scaled.
                DecodeResult r = decodeImageFile(path, false);
                if (r.image) {
                    if (auto small = scaledImageToCoverSize(*r.image->bitmap, SizeF{320, 320}))
                        thumb = qImageFromBitmap(*small);
                }
            }
            Dispatch::mainQueue([target, thumb] {
                if (target && !thumb.isNull()) target->setThumbnail(thumb);
            });
        });
    }
    w.validateMenus();
}

void WindowStart::hide() {
    if (!screen_) return;
    QPointer<StartScreen> screen = screen_;
    screen_ = nullptr;
    screen->hide();
    screen->deleteLater();
    window_->setDisabledInteractions(false);
}

QRect WindowStart::panelRect() const {
    if (!screen_ || !screen_->isVisible()) return {};
    const QRect panel = screen_->panelGeometry();
    return QRect(screen_->mapToGlobal(panel.topLeft()), panel.size());
}

QRect WindowStart::buttonsRect() const {
    if (!screen_ || !screen_->isVisible()) return {};
    QRect buttons;
    for (QWidget* b :
         {static_cast<QWidget*>(screen_->openButton()), static_cast<QWidget*>(screen_->openRecentButton())})
        if (b->isVisible()) buttons |= QRect(b->mapToGlobal(QPoint(0, 0)), b->size());
    return buttons;
}

} // namespace pimavo
