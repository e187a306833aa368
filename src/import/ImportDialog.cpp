#include "ImportDialog.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QImageWriter>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPainter>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QSaveFile>
#include <QScreen>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace pimavo {

namespace {

enum ItemRole { KindRole = Qt::UserRole + 1, IndexRole };
enum Kind { Header, Camera, Scanner };

constexpr int kThumb = 120;

QString deviceId(const CameraInfo& camera) {
    return camera.model + " @ " + camera.port;
}

// Writes the scanned page as a PNG (lossless, as a scan should stay) under a name that says when.
QString saveScan(const QImage& image, const QString& folder, QString& error) {
    if (!QDir().mkpath(folder)) {
        error = ImportDialog::tr("The folder “%1” could not be created.").arg(folder);
        return {};
    }
    const QString name =
        //: A scanned picture's file name; %1 is when it was scanned
        freeFileName(folder, ImportDialog::tr("Scan %1").arg(
                                 QDateTime::currentDateTime().toString("yyyy-MM-dd hh.mm.ss")) +
                                 ".png");
    QSaveFile file(name);
    QImageWriter writer(&file, "png");
    if (!file.open(QIODevice::WriteOnly) || !writer.write(image) || !file.commit()) {
        error = ImportDialog::tr("The scan could not be written to “%1”.").arg(name);
        return {};
    }
    return name;
}

} // namespace

ImportDialog::ImportDialog(QWidget* parent) : QDialog(parent) {
    setObjectName("ImportDialog");
    setWindowTitle(tr("Import from Camera or Scanner"));
    resize(860, 560);
    downloads_ = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    deviceThread_.setMaxThreadCount(1);
    pollThread_.setMaxThreadCount(1);

    devices_ = new QListWidget(this);
    devices_->setObjectName("devices");
    //: The list of cameras and scanners, as a screen reader names it
    devices_->setAccessibleName(tr("Devices"));
    devices_->setFixedWidth(190);
    connect(devices_, &QListWidget::currentItemChanged, this,
            [this](QListWidgetItem* item) { selectDevice(item); });

    tabs_ = new QTabWidget(this);
    // Camera
    auto* camera = new QWidget;
    photos_ = new QListWidget(camera);
    photos_->setObjectName("photos");
    //: The photos on the chosen camera, as a screen reader names their list
    photos_->setAccessibleName(tr("Photos on the camera"));
    photos_->setViewMode(QListView::IconMode);
    photos_->setIconSize({kThumb, kThumb});
    photos_->setGridSize({kThumb + 16, kThumb + 32});
    photos_->setResizeMode(QListView::Adjust);
    photos_->setMovement(QListView::Static);
    photos_->setUniformItemSizes(true);
    photos_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    cameraStatus_ = new QLabel(camera);
    cameraStatus_->setWordWrap(true);
    importAll_ = new QPushButton(tr("Import All"), camera);
    importAll_->setObjectName("importAll");
    import_ = new QPushButton(tr("Import"), camera);
    import_->setObjectName("import");
    connect(importAll_, &QPushButton::clicked, this, [this] { importPhotos(true); });
    connect(import_, &QPushButton::clicked, this, [this] { importPhotos(false); });
    connect(photos_, &QListWidget::itemSelectionChanged, this, [this] { setBusy(busy_); });
    auto* cameraButtons = new QHBoxLayout;
    cameraButtons->addWidget(cameraStatus_, 1);
    cameraButtons->addWidget(importAll_);
    cameraButtons->addWidget(import_);
    auto* cameraLayout = new QVBoxLayout(camera);
    cameraLayout->addWidget(photos_, 1);
    cameraLayout->addLayout(cameraButtons);
    tabs_->addTab(camera, tr("Camera"));
    // Scanner
    auto* scanner = new QWidget;
    preview_ = new QLabel(scanner);
    preview_->setObjectName("preview");
    preview_->setMinimumSize(200, 220);
    preview_->setAlignment(Qt::AlignCenter);
    preview_->setWordWrap(true);
    preview_->setStyleSheet("QLabel { background: rgb(48,48,52); color: rgb(160,160,166); }");
    resolution_ = new QComboBox(scanner);
    resolution_->setObjectName("resolution");
    mode_ = new QComboBox(scanner);
    mode_->setObjectName("mode");
    //: A button: scan the whole glass quickly, to see what lies on it
    overview_ = new QPushButton(tr("Overview"), scanner);
    overview_->setObjectName("overview");
    //: A button: scan the picture
    scan_ = new QPushButton(tr("Scan"), scanner);
    scan_->setObjectName("scan");
    scannerStatus_ = new QLabel(scanner);
    scannerStatus_->setWordWrap(true);
    connect(overview_, &QPushButton::clicked, this, [this] { scan(true); });
    connect(scan_, &QPushButton::clicked, this, [this] { scan(false); });
    auto* form = new QFormLayout;
    form->addRow(tr("Resolution:"), resolution_);
    //: The scanner's colour mode: colour, grey, black and white
    form->addRow(tr("Mode:"), mode_);
    auto* sidePanel = new QWidget(scanner);
    sidePanel->setMaximumWidth(260); // the picture takes the room
    auto* side = new QVBoxLayout(sidePanel);
    side->setContentsMargins(0, 0, 0, 0);
    side->addLayout(form);
    side->addWidget(overview_);
    side->addWidget(scan_);
    side->addWidget(scannerStatus_);
    side->addStretch(1);
    auto* scannerLayout = new QHBoxLayout(scanner);
    scannerLayout->addWidget(preview_, 1);
    scannerLayout->addWidget(sidePanel);
    tabs_->addTab(scanner, tr("Scanner"));

    progress_ = new QProgressBar(this);
    progress_->setObjectName("progress");
    progress_->hide();
    cancel_ = new QPushButton(tr("Cancel"), this);
    cancel_->setObjectName("cancel");
    cancel_->hide();
    connect(cancel_, &QPushButton::clicked, this, [this] { cancel_flag_->store(true); });
    auto* close = new QPushButton(tr("Close"), this);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(progress_, 1);
    bottom->addWidget(cancel_);
    bottom->addStretch();
    bottom->addWidget(close);

    auto* top = new QHBoxLayout;
    top->addWidget(devices_);
    top->addWidget(tabs_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(bottom);

    poll_ = new QTimer(this);
    poll_->setInterval(2000);
    connect(poll_, &QTimer::timeout, this, [this] { refreshDevices(); });
    poll_->start();
    for (QPushButton* b : findChildren<QPushButton*>()) b->setAutoDefault(false);
    setDevices({}, {});
    selectDevice(nullptr);
    cameraStatus_->setText(tr("Looking for cameras…"));
    scannerStatus_->setText(tr("Looking for cameras…"));
    refreshDevices();
}

ImportDialog::~ImportDialog() {
    stopJobs();
}

void ImportDialog::stopJobs() {
    closing_->store(true);
    cancel_flag_->store(true);
    poll_->stop();
    deviceThread_.waitForDone();
    pollThread_.waitForDone();
    // The camera is let go on the thread that used it, now idle.
    connection_.reset();
}

void ImportDialog::run(std::function<void()> job) {
    deviceThread_.start(std::move(job));
}

void ImportDialog::refreshDevices() {
    if (polling_) return;
    polling_ = true;
    QPointer<ImportDialog> self(this);
    auto closing = closing_;
    pollThread_.start([self, closing] {
        if (closing->load()) return;
        // A device busy with a transfer is not disturbed: that round is skipped.
        bool cameraBusy = false, scannerBusy = false;
        auto cameras = detectCameras(nullptr, false, &cameraBusy);
        auto scanners = listScanners(nullptr, false, &scannerBusy);
        QMetaObject::invokeMethod(
            self.data(),
            [self, cameras, scanners, cameraBusy, scannerBusy] {
                if (!self) return;
                self->polling_ = false;
                const bool first = !self->looked_;
                self->looked_ = true;
                self->setDevices(cameraBusy ? self->cameras_ : cameras,
                                 scannerBusy ? self->scanners_ : scanners);
                if (first && !self->devices_->currentItem()) {
                    self->cameraStatus_->setText(tr("Choose a camera or a scanner on the left."));
                    self->scannerStatus_->setText(tr("Choose a camera or a scanner on the left."));
                }
            },
            Qt::QueuedConnection);
    });
}

void ImportDialog::setDevices(const std::vector<CameraInfo>& cameras,
                              const std::vector<ScannerInfo>& scanners) {
    if (!looked_) {
        // Until the first look has ended, "none attached" would be a guess.
        devices_->clear();
        auto* item = new QListWidgetItem(tr("Looking for cameras…"), devices_);
        item->setFlags(Qt::NoItemFlags);
        item->setData(KindRole, Header);
        return;
    }
    if (devices_->count() > 0 && devices_->item(0)->text() != tr("Looking for cameras…") &&
        cameras == cameras_ && scanners == scanners_)
        return;
    // Keep the device in view chosen if it is still there.
    QString chosen;
    if (QListWidgetItem* item = devices_->currentItem()) chosen = item->data(Qt::ToolTipRole).toString();
    if (busy_ && !chosen.isEmpty()) {
        // The device at work went away: its transfer ends by itself, with a message that says
        // what was kept. The list follows at the next look after that.
        bool there = false;
        for (const CameraInfo& c : cameras) there = there || deviceId(c) == chosen;
        for (const ScannerInfo& sc : scanners) there = there || sc.name == chosen;
        if (!there) return;
    }
    cameras_ = cameras;
    scanners_ = scanners;
    QSignalBlocker block(devices_);
    devices_->clear();
    auto header = [this](const QString& title) {
        auto* item = new QListWidgetItem(title, devices_);
        item->setFlags(Qt::NoItemFlags);
        QFont f = item->font();
        f.setBold(true);
        item->setFont(f);
        item->setData(KindRole, Header);
    };
    auto add = [this](const QString& label, const QString& id, Kind kind, int index) {
        auto* item = new QListWidgetItem(label, devices_);
        item->setToolTip(id);
        item->setData(KindRole, kind);
        item->setData(IndexRole, index);
    };
    header(tr("Cameras"));
    for (int i = 0; i < int(cameras_.size()); ++i)
        add(cameras_[size_t(i)].label(), deviceId(cameras_[size_t(i)]), Camera, i);
    if (cameras_.empty()) header("   " + tr("none attached"));
    header(tr("Scanners"));
    for (int i = 0; i < int(scanners_.size()); ++i)
        add(scanners_[size_t(i)].label(), scanners_[size_t(i)].name, Scanner, i);
    if (scanners_.empty()) header("   " + tr("none attached"));
    QListWidgetItem* again = nullptr;
    for (int i = 0; i < devices_->count(); ++i)
        if (!chosen.isEmpty() && devices_->item(i)->toolTip() == chosen) again = devices_->item(i);
    if (again) {
        devices_->setCurrentItem(again);
    } else if (!chosen.isEmpty()) {
        // The device in view went away. A transfer running on it ends by itself with its message.
        block.unblock();
        devices_->setCurrentItem(nullptr);
        if (!busy_) selectDevice(nullptr);
    }
}

void ImportDialog::selectDevice(QListWidgetItem* item) {
    shown_->store(++generation_);
    const int kind = item ? item->data(KindRole).toInt() : Header;
    if (busy_) cancel_flag_->store(true);
    photos_->clear();
    cameraPhotos_.clear();
    scannerName_.clear();
    preview_->clear();
    resolution_->clear();
    mode_->clear();
    auto connection = std::move(connection_);
    run([connection] {}); // the old camera is let go on the device thread
    if (kind == Camera) {
        tabs_->setCurrentIndex(0);
        showCamera(cameras_[size_t(item->data(IndexRole).toInt())]);
    } else if (kind == Scanner) {
        tabs_->setCurrentIndex(1);
        showScanner(scanners_[size_t(item->data(IndexRole).toInt())]);
    } else {
        cameraStatus_->setText(tr("Choose a camera or a scanner on the left."));
        scannerStatus_->setText(tr("Choose a camera or a scanner on the left."));
        setBusy(false);
    }
}

void ImportDialog::showCamera(const CameraInfo& camera) {
    setBusy(true, tr("Reading the camera…"));
    const int generation = generation_;
    QPointer<ImportDialog> self(this);
    auto closing = closing_;
    run([self, camera, generation, closing, shown = shown_] {
        QString error;
        std::shared_ptr<CameraConnection> c = CameraConnection::open(camera, error);
        std::vector<CameraPhoto> photos;
        if (c) photos = c->photos(error);
        QMetaObject::invokeMethod(
            self.data(),
            [self, c, photos, error, generation] {
                if (!self || generation != self->generation_) return;
                self->connection_ = c;
                self->cameraPhotos_ = photos;
                for (const CameraPhoto& p : photos) {
                    auto* item = new QListWidgetItem(p.name, self->photos_);
                    item->setSizeHint({kThumb + 16, kThumb + 32});
                }
                self->setBusy(false,
                              error.isEmpty()
                                  ? tr("%n photos on the camera. They are imported into the Pictures folder.",
                                       nullptr, int(photos.size()))
                                  : error);
            },
            Qt::QueuedConnection);
        if (!c) return;
        // Thumbnails one by one, each shown as it comes; a newer device in view stops them.
        for (int i = 0; i < int(photos.size()); ++i) {
            if (closing->load()) return;
            if (shown->load() != generation) return;
            QImage thumb = c->thumbnail(photos[size_t(i)], kThumb);
            QMetaObject::invokeMethod(
                self.data(),
                [self, generation, i, thumb] {
                    if (!self || generation != self->generation_ || i >= self->photos_->count()) return;
                    // On a square, so that the names line up under photos of any shape.
                    QPixmap square(kThumb, kThumb);
                    square.fill(Qt::transparent);
                    QPainter p(&square);
                    p.drawImage((kThumb - thumb.width()) / 2, (kThumb - thumb.height()) / 2, thumb);
                    p.end();
                    self->photos_->item(i)->setIcon(QIcon(square));
                },
                Qt::QueuedConnection);
        }
    });
}

void ImportDialog::importPhotos(bool all) {
    if (!connection_ || busy_) return;
    std::vector<CameraPhoto> chosen;
    for (int i = 0; i < photos_->count() && i < int(cameraPhotos_.size()); ++i)
        if (all || photos_->item(i)->isSelected()) chosen.push_back(cameraPhotos_[size_t(i)]);
    if (chosen.empty()) return;
    cancel_flag_ = std::make_shared<std::atomic<bool>>(false);
    // Cancel first: the bar shows for work that can be cancelled.
    cancel_->show();
    setBusy(true, tr("Importing %n photos…", nullptr, int(chosen.size())));
    progress_->setRange(0, int(chosen.size()));
    progress_->setValue(0);
    QPointer<ImportDialog> self(this);
    const QString folder = downloads_;
    run([self, c = connection_, chosen, folder, cancel = cancel_flag_] {
        DownloadResult r = c->download(
            chosen, folder,
            [self](int done, int) {
                QMetaObject::invokeMethod(
                    self.data(),
                    [self, done] {
                        if (self) self->progress_->setValue(done);
                    },
                    Qt::QueuedConnection);
            },
            cancel.get());
        QMetaObject::invokeMethod(
            self.data(),
            [self, r] {
                if (!self) return;
                self->cancel_->hide();
                if (!r.error.isEmpty()) {
                    self->setBusy(false, r.error);
                    QMessageBox::warning(self, tr("The import stopped."), r.error);
                } else {
                    self->setBusy(false, tr("%n photos imported.", nullptr, int(r.written.size())));
                }
                if (!r.written.isEmpty() && r.error.isEmpty() && !r.cancelled)
                    self->finished(r.written.last());
            },
            Qt::QueuedConnection);
    });
}

void ImportDialog::showScanner(const ScannerInfo& scanner) {
    scannerName_ = scanner.name;
    setBusy(true, tr("Asking the scanner what it can do…"));
    const int generation = generation_;
    QPointer<ImportDialog> self(this);
    run([self, scanner, generation] {
        QString error;
        ScannerCapabilities caps = scannerCapabilities(scanner.name, &error);
        QMetaObject::invokeMethod(
            self.data(),
            [self, caps, error, generation] {
                if (!self || generation != self->generation_) return;
                for (int r : caps.resolutions)
                    self->resolution_->addItem(
                        //: A scanning resolution, in dots per inch
                        tr("%1 dpi").arg(r), r);
                // 300 dpi: a print-sized photo at its own size; the nearest offered when it is not.
                int best = 0;
                for (int i = 0; i < int(caps.resolutions.size()); ++i)
                    if (std::abs(caps.resolutions[size_t(i)] - 300) <
                        std::abs(caps.resolutions[size_t(best)] - 300))
                        best = i;
                self->resolution_->setCurrentIndex(best);
                for (const QString& m : caps.modes) self->mode_->addItem(m, m);
                const int colour = self->mode_->findData("Color");
                if (colour >= 0) self->mode_->setCurrentIndex(colour);
                self->preview_->setText(tr("Scan an overview to see what lies on the glass."));
                self->setBusy(false,
                              error.isEmpty()
                                  ? tr("Place the original on the glass, then choose Overview or Scan.")
                                  : error);
            },
            Qt::QueuedConnection);
    });
}

void ImportDialog::scan(bool preview) {
    if (scannerName_.isEmpty() || busy_) return;
    ScanSettings settings;
    settings.preview = preview;
    settings.resolution = preview ? 75 : resolution_->currentData().toInt();
    if (settings.resolution <= 0) settings.resolution = 300;
    settings.mode = mode_->currentData().toString();
    cancel_flag_ = std::make_shared<std::atomic<bool>>(false);
    cancel_->show();
    setBusy(true, preview ? tr("Scanning an overview…") : tr("Scanning…"));
    progress_->setRange(0, 1000);
    progress_->setValue(0);
    QPointer<ImportDialog> self(this);
    const int generation = generation_;
    const QString folder = downloads_;
    run([self, device = scannerName_, settings, cancel = cancel_flag_, generation, folder, preview] {
        ScanResult r = scanPage(
            device, settings,
            [self](double f) {
                QMetaObject::invokeMethod(
                    self.data(),
                    [self, f] {
                        if (self) self->progress_->setValue(int(f * 1000));
                    },
                    Qt::QueuedConnection);
            },
            cancel.get());
        QString path, error = r.error;
        if (!preview && !r.image.isNull()) path = saveScan(r.image, folder, error);
        QMetaObject::invokeMethod(
            self.data(),
            [self, r, path, error, generation, preview] {
                if (!self) return;
                self->cancel_->hide();
                if (r.cancelled) {
                    self->setBusy(false, tr("The scan was cancelled."));
                    return;
                }
                if (!error.isEmpty()) {
                    self->setBusy(false, error);
                    QMessageBox::warning(self, tr("The import stopped."), error);
                    return;
                }
                self->setBusy(false, tr("Place the original on the glass, then choose Overview or Scan."));
                if (generation == self->generation_ && !r.image.isNull()) {
                    const QSize box = self->preview_->size() * self->devicePixelRatioF();
                    QPixmap pm = QPixmap::fromImage(
                        r.image.scaled(box, Qt::KeepAspectRatio, Qt::SmoothTransformation));
                    pm.setDevicePixelRatio(self->devicePixelRatioF());
                    self->preview_->setPixmap(pm);
                }
                if (!path.isEmpty()) self->finished(path);
            },
            Qt::QueuedConnection);
    });
}

void ImportDialog::setBusy(bool busy, const QString& status) {
    busy_ = busy;
    if (!status.isNull()) {
        cameraStatus_->setText(status);
        scannerStatus_->setText(status);
    }
    const bool camera = connection_ != nullptr && !busy;
    importAll_->setEnabled(camera && photos_->count() > 0);
    import_->setEnabled(camera && !photos_->selectedItems().isEmpty());
    const bool scanner = !scannerName_.isEmpty() && !busy;
    overview_->setEnabled(scanner);
    scan_->setEnabled(scanner);
    resolution_->setEnabled(scanner);
    mode_->setEnabled(scanner);
    progress_->setVisible(busy && cancel_->isVisible());
    if (busy && !cancel_->isVisible()) progress_->setRange(0, 0);
}

void ImportDialog::finished(const QString& path) {
    emit photoImported(path);
}

void ImportDialog::showEvent(QShowEvent* event) {
    // Never larger than the screen it opens on (at 2× a laptop's screen is small).
    if (const QScreen* screen = parentWidget() ? parentWidget()->screen() : this->screen()) {
        const QRect area = screen->availableGeometry();
        const QSize fitted = size().boundedTo(area.size() * 0.92).expandedTo(minimumSizeHint());
        if (fitted != size()) resize(fitted);
        QRect frame(QPoint(), fitted);
        frame.moveCenter(parentWidget() ? parentWidget()->frameGeometry().center() : area.center());
        frame.moveTop(std::max(frame.top(), area.top()));
        frame.moveLeft(
            std::clamp(frame.left(), area.left(), std::max(area.left(), area.right() - frame.width())));
        move(frame.topLeft());
    }
    QDialog::showEvent(event);
}

void ImportDialog::closeEvent(QCloseEvent* event) {
    cancel_flag_->store(true);
    QDialog::closeEvent(event);
}

void ImportDialog::reject() {
    cancel_flag_->store(true);
    QDialog::reject();
}

} // namespace pimavo
