// Scanners through SANE: which are attached, their resolutions and modes, and scanning a page into
// a picture with progress and cancel.
//
// SANE is entered once per operation (sane_init … sane_exit), so that a scanner plugged in since
// the last look is found, and one lock keeps two threads from being inside SANE at once.
#pragma once

#include <QImage>
#include <QString>
#include <QStringList>
#include <atomic>
#include <functional>
#include <vector>

namespace pimavo {

struct ScannerInfo {
    QString name; // SANE's device name: "test:0", "genesys:libusb:001:005"
    QString vendor, model, type;
    QString label() const;
    bool operator==(const ScannerInfo&) const = default;
};

struct ScannerCapabilities {
    std::vector<int> resolutions; // dpi, from a list or a range, ascending
    QStringList modes;            // as the scanner names them: "Color", "Gray", "Lineart"
};

struct ScanSettings {
    int resolution = 300; // dpi; the nearest the scanner offers is used
    QString mode = "Color";
    bool preview = false; // the scanner's fast low-resolution pass
};

struct ScanResult {
    QImage image;  // RGB888 or Grayscale8; null when the scan did not finish
    QString error; // why not, when not cancelled
    bool cancelled = false;
};

std::vector<ScannerInfo> listScanners(QString* error = nullptr, bool wait = true, bool* busy = nullptr);
ScannerCapabilities scannerCapabilities(const QString& device, QString* error = nullptr);
// Scans the scanner's whole area. `progress` gets 0–1 as lines arrive; setting `cancel` stops the
// scanner and answers a cancelled result.
ScanResult scanPage(const QString& device, const ScanSettings& settings,
                    const std::function<void(double)>& progress = {},
                    const std::atomic<bool>* cancel = nullptr);

} // namespace pimavo
