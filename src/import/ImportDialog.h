// The import window: photos from cameras and phones (libgphoto2) and pages from scanners (SANE).
//
// The devices attached are listed on the left and looked for again every two seconds, so that a
// device plugged in while the window is open appears, and one pulled out disappears. Choosing a
// camera shows the "Camera" tab with thumbnails of its photos, to import all or the selected ones
// into the downloads folder; choosing a scanner shows the "Scanner" tab with an overview scan,
// resolution and mode, and a scan with progress that can be cancelled. A finished import or scan
// signals its file (photoImported). Device work runs on one background thread, one job at a time.
#pragma once

#include "CameraDevice.h"
#include "ScannerDevice.h"

#include <QDialog>
#include <QThreadPool>
#include <atomic>
#include <memory>

class QComboBox;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QProgressBar;
class QPushButton;
class QTabWidget;
class QTimer;

namespace pimavo {

class ImportDialog : public QDialog {
    Q_OBJECT
public:
    explicit ImportDialog(QWidget* parent = nullptr);
    ~ImportDialog() override;

    // Where downloads and scans go; the Pictures folder unless set.
    void setDownloadsFolder(const QString& folder) { downloads_ = folder; }
    const QString& downloadsFolder() const { return downloads_; }

    // Looks for devices now (also done every two seconds while the window is shown).
    void refreshDevices();
    // Whether a device job (listing, download, scan) is running.
    bool isBusy() const { return busy_; }

    QListWidget* deviceList() const { return devices_; }
    QTabWidget* tabs() const { return tabs_; }
    QListWidget* photoGrid() const { return photos_; }

    // Closing stops a transfer or scan that is running.
    void reject() override;

signals:
    // A photo downloaded or scanned, ready to open.
    void photoImported(const QString& path);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void setDevices(const std::vector<CameraInfo>& cameras, const std::vector<ScannerInfo>& scanners);
    void selectDevice(QListWidgetItem* item);
    void showCamera(const CameraInfo& camera);
    void showScanner(const ScannerInfo& scanner);
    void importPhotos(bool all);
    void scan(bool preview);
    void setBusy(bool busy, const QString& status = {});
    void finished(const QString& path);
    void run(std::function<void()> job);
    void stopJobs();

    QString downloads_;
    QListWidget* devices_;
    QTabWidget* tabs_;
    // Camera tab
    QListWidget* photos_;
    QLabel* cameraStatus_;
    QPushButton *importAll_, *import_;
    // Scanner tab
    QLabel *preview_, *scannerStatus_;
    QComboBox *resolution_, *mode_;
    QPushButton *overview_, *scan_;
    // Shared
    QProgressBar* progress_;
    QPushButton* cancel_;
    QTimer* poll_;

    std::vector<CameraInfo> cameras_;
    std::vector<ScannerInfo> scanners_;
    std::shared_ptr<CameraConnection> connection_; // used on the device thread only
    std::vector<CameraPhoto> cameraPhotos_;
    QString scannerName_;
    std::shared_ptr<std::atomic<bool>> cancel_flag_ = std::make_shared<std::atomic<bool>>(false);
    std::shared_ptr<std::atomic<bool>> closing_ = std::make_shared<std::atomic<bool>>(false);
    int generation_ = 0; // bumped when the device shown changes: late results of another are dropped
    std::shared_ptr<std::atomic<int>> shown_ = std::make_shared<std::atomic<int>>(0); // the same, for jobs
    bool busy_ = false;
    bool polling_ = false;
    bool looked_ = false; // the first look for devices has ended
    QThreadPool deviceThread_, pollThread_;
};

} // namespace pimavo
