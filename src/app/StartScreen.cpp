#include "StartScreen.h"

#include "widgets/ImageButton.h"
#include "widgets/WidgetStyle.h"

#include <QDragEnterEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMimeData>

namespace pimavo {

namespace {
constexpr int kPanelWidth = 420, kPanelHeight = 310;
} // namespace

StartScreen::StartScreen(QWidget* parent) : FramedPanel(parent) {
    setBackgroundColor(QColor(0, 0, 0, 128));
    setAcceptDrops(true);
    panel_ = new FramedPanel(this);
    panel_->setType(FramedPanel::DialogLook);
    panel_->resize(kPanelWidth, kPanelHeight);
    title_ = new QLabel(tr("Open a photo to begin"), panel_);
    title_->setFont(style::uiFont(17, true));
    title_->setStyleSheet("color: white;");
    title_->setGeometry(24, 16, kPanelWidth - 48, 32);
    hint_ = new QLabel(tr("Choose a photo, or drop one on this window. Its background turns grey, and you "
                          "paint its colour back where you want it."),
                       panel_);
    hint_->setFont(style::uiFont(11));
    hint_->setStyleSheet("color: rgb(174,174,180);");
    hint_->setWordWrap(true);
    hint_->setGeometry(24, 52, kPanelWidth - 48, 60);
    openButton_ = new ImageButton(panel_);
    openButton_->setImage("button");
    openButton_->setAlternateImage("button_pressed");
    openButton_->setStretchCorner(4);
    openButton_->setText(tr("Open Photo…"));
    openButton_->setFont(style::uiFont(12));
    openButton_->setGeometry(24, 218, 170, 30);
    openButton_->setAction([this](ImageButton*) {
        if (onOpen) onOpen();
    });
    dropArea_ = new QLabel(tr("Drop a photo here"), panel_);
    dropArea_->setAlignment(Qt::AlignCenter);
    dropArea_->setFont(style::uiFont(11));
    dropArea_->setStyleSheet(
        "color: rgb(150,150,156); border: 1.5px dashed rgb(90,90,96); border-radius: 8px;");
    dropArea_->setGeometry(24, 118, 170, 88);
    thumbnail_ = new QLabel(panel_);
    thumbnail_->setGeometry(kPanelWidth - 24 - 170, 118, 170, 88);
    thumbnail_->setAlignment(Qt::AlignCenter);
    openRecentButton_ = new ImageButton(panel_);
    openRecentButton_->setImage("button");
    openRecentButton_->setAlternateImage("button_pressed");
    openRecentButton_->setStretchCorner(4);
    openRecentButton_->setText(tr("Open Recent"));
    openRecentButton_->setFont(style::uiFont(12));
    openRecentButton_->setGeometry(kPanelWidth - 24 - 170, 218, 170, 30);
    openRecentButton_->setAction([this](ImageButton*) {
        if (onOpenRecent) onOpenRecent();
    });
    importButton_ = new ImageButton(panel_);
    importButton_->setObjectName("importButton");
    importButton_->setImage("button");
    importButton_->setAlternateImage("button_pressed");
    importButton_->setStretchCorner(4);
    importButton_->setText(tr("Import…"));
    importButton_->setFont(style::uiFont(12));
    importButton_->setGeometry((kPanelWidth - 170) / 2, 258, 170, 30);
    importButton_->setAction([this](ImageButton*) {
        if (onImport) onImport();
    });
    setRecent({});
}

void StartScreen::setRecent(const QString& path) {
    const bool any = !path.isEmpty();
    openRecentButton_->setVisible(any);
    thumbnail_->setVisible(any);
    if (any) openRecentButton_->setToolTip(QFileInfo(path).fileName());
    // Alone, the Open button and the drop area take the middle.
    const int x = any ? 24 : (kPanelWidth - openButton_->width()) / 2;
    openButton_->move(x, 218);
    dropArea_->move(x, 118);
}

void StartScreen::setThumbnail(const QImage& image) {
    const qreal dpr = devicePixelRatioF();
    QPixmap pm = QPixmap::fromImage(
        image.scaled((thumbnail_->size() * dpr), Qt::KeepAspectRatio, Qt::SmoothTransformation));
    pm.setDevicePixelRatio(dpr);
    thumbnail_->setPixmap(pm);
}

QRect StartScreen::panelGeometry() const {
    return panel_->geometry();
}

void StartScreen::resizeEvent(QResizeEvent*) {
    panel_->move((width() - kPanelWidth) / 2, (height() - kPanelHeight) / 2 - 20);
}

void StartScreen::dragEnterEvent(QDragEnterEvent* event) {
    if (canRead && canRead(event->mimeData())) event->acceptProposedAction();
}

void StartScreen::dragMoveEvent(QDragMoveEvent* event) {
    if (canRead && canRead(event->mimeData())) event->acceptProposedAction();
}

void StartScreen::dropEvent(QDropEvent* event) {
    if (!canRead || !read || !canRead(event->mimeData())) return;
    event->acceptProposedAction();
    read(event->mimeData());
}

} // namespace pimavo
