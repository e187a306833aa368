#include "MediaBrowserPanel.h"

#include "core/Dispatch.h"

#include <QApplication>
#include <QLabel>
#include <QListView>
#include <QPainter>
#include <QPointer>
#include <QProgressBar>
#include <QScrollBar>
#include <QShortcut>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

namespace pimavo {

namespace {

constexpr int kCell = 136, kName = 18;

// Draws the thumbnail fitted in its cell (a quiet placeholder while it is being made) and the file's
// name under it, shortened in the middle when long: "IMG_" and ".JPG" say little on their own.
class ThumbnailDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override {
        return {kCell, kCell + kName};
    }
    void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        if (option.state & QStyle::State_Selected) p->fillRect(option.rect, option.palette.highlight());
        const QRect cell = option.rect.adjusted(4, 4, -4, -4 - kName);
        const QRect nameRect(option.rect.left() + 4, cell.bottom() + 2, option.rect.width() - 8, kName - 2);
        p->setPen(option.state & QStyle::State_Selected ? option.palette.highlightedText().color()
                                                        : QColor(200, 200, 204));
        p->setFont(option.font);
        const QString name = index.data(Qt::DisplayRole).toString();
        p->drawText(nameRect, Qt::AlignHCenter | Qt::AlignVCenter,
                    option.fontMetrics.elidedText(name, Qt::ElideMiddle, nameRect.width()));
        const QImage image = index.data(Qt::DecorationRole).value<QImage>();
        if (image.isNull()) {
            p->fillRect(cell.adjusted(16, 16, -16, -16), QColor(60, 60, 64));
            return;
        }
        const QSize fitted = image.size().scaled(cell.size(), Qt::KeepAspectRatio);
        const QRect target(cell.x() + (cell.width() - fitted.width()) / 2,
                           cell.y() + (cell.height() - fitted.height()) / 2, fitted.width(), fitted.height());
        p->setRenderHint(QPainter::SmoothPixmapTransform);
        p->drawImage(target, image);
    }
};

} // namespace

MediaBrowserPanel::MediaBrowserPanel(QWidget* parent, ThumbnailCache cache) : QWidget(parent) {
    setWindowTitle(tr("Photos"));
    setObjectName("MediaBrowserPanel");
    resize(preferredWidth(), 640);
    model_ = new MediaBrowserModel(std::move(cache), this);
    view_ = new QListView(this);
    view_->setViewMode(QListView::IconMode);
    view_->setResizeMode(QListView::Adjust);
    view_->setMovement(QListView::Static);
    view_->setUniformItemSizes(true); // the layout never asks every row for its size
    view_->setLayoutMode(QListView::Batched);
    view_->setBatchSize(2000);
    view_->setSelectionMode(QAbstractItemView::SingleSelection);
    view_->setItemDelegate(new ThumbnailDelegate(view_));
    view_->setGridSize({kCell, kCell + kName});
    // Two columns at least: beside the picture, never so narrow that a name is all dots.
    view_->setMinimumWidth(kCell + 24);
    view_->setStyleSheet("QListView { background: rgb(38,38,42); border: none; }");
    view_->setModel(model_);
    status_ = new QLabel(this);
    status_->setWordWrap(true);
    progress_ = new QProgressBar(this);
    progress_->setTextVisible(false);
    progress_->setMaximumHeight(6);
    progress_->hide();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 6);
    layout->setSpacing(4);
    layout->addWidget(view_, 1);
    layout->addWidget(progress_);
    auto* row = new QHBoxLayout;
    row->setContentsMargins(8, 0, 8, 0);
    row->addWidget(status_);
    layout->addLayout(row);

    connect(view_, &QListView::doubleClicked, this, [this](const QModelIndex& index) {
        if (onOpen) onOpen(index.data(MediaBrowserModel::PathRole).toString());
    });
    // Return opens the selected photo, like a double click. (Not the view's "activated", which some
    // desktops send on a single click as well as with the double click.)
    for (const auto key : {Qt::Key_Return, Qt::Key_Enter}) {
        auto* open = new QShortcut(QKeySequence(key), view_, nullptr, nullptr, Qt::WidgetShortcut);
        connect(open, &QShortcut::activated, this, [this] {
            const QModelIndex index = view_->currentIndex();
            if (index.isValid() && onOpen) onOpen(index.data(MediaBrowserModel::PathRole).toString());
        });
    }
    connect(view_->verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { updateVisibleRows(); });
    connect(model_, &MediaBrowserModel::progressChanged, this, [this] { updateStatus(); });
    updateStatus();
}

void MediaBrowserPanel::reload(const LibrarySources& sources) {
    loading_ = true;
    const int generation = ++loadGeneration_;
    updateStatus();
    QPointer<MediaBrowserPanel> self(this);
    Dispatch::async(Dispatch::Priority::High, [self, sources, generation] {
        auto photos = std::make_shared<std::vector<PhotoEntry>>(collectPhotos(sources));
        Dispatch::mainQueue([self, photos, generation] {
            if (!self || generation != self->loadGeneration_) return;
            self->loading_ = false;
            self->setPhotos(std::move(*photos));
        });
    });
}

void MediaBrowserPanel::setPhotos(std::vector<PhotoEntry> photos) {
    model_->setThumbnailSize(devicePixelRatioF() > 1.0 ? ThumbnailSize::Large : ThumbnailSize::Normal);
    model_->setPhotos(std::move(photos));
    updateVisibleRows();
    updateStatus();
}

int MediaBrowserPanel::preferredWidth() {
    return 2 * kCell + 24;
}

void MediaBrowserPanel::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    updateVisibleRows();
}

void MediaBrowserPanel::updateVisibleRows() {
    const QModelIndex first = view_->indexAt(QPoint(4, 4));
    const QModelIndex last =
        view_->indexAt(QPoint(view_->viewport()->width() - 4, view_->viewport()->height() - 4));
    const int lastRow = last.isValid() ? last.row() : model_->rowCount() - 1;
    model_->setVisibleRows(first.isValid() ? first.row() : 0, lastRow);
}

void MediaBrowserPanel::updateStatus() {
    const int total = model_->rowCount();
    if (loading_) {
        status_->setText(tr("Looking for photos…"));
    } else if (total == 0) {
        status_->setText(tr("No photos in the Pictures folder or the photo libraries."));
    } else {
        status_->setText(tr("%n photos, newest first. Double-click one to open it.", nullptr, total));
    }
    const int requested = model_->requested(), delivered = model_->delivered();
    progress_->setVisible(loading_ || delivered < requested);
    if (loading_) {
        progress_->setRange(0, 0);
    } else {
        progress_->setRange(0, std::max(1, requested));
        progress_->setValue(delivered);
    }
}

} // namespace pimavo
