#include "ScannerDevice.h"

#include <QCoreApplication>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <mutex>
#include <sane/sane.h>
#include <sane/saneopts.h>

namespace pimavo {

namespace {

// What a user is told when a scanner fails.
struct Texts {
    Q_DECLARE_TR_FUNCTIONS(pimavo::ScannerDevice)
};

std::timed_mutex& saneLock() {
    static std::timed_mutex lock;
    return lock;
}

QString saneError(SANE_Status s) {
    return QString::fromUtf8(sane_strstatus(s));
}

// Inside SANE for the lifetime of the object.
struct SaneSession {
    bool ok = false;
    SaneSession() {
        SANE_Int version = 0;
        ok = sane_init(&version, nullptr) == SANE_STATUS_GOOD;
    }
    ~SaneSession() {
        if (ok) sane_exit();
    }
};

struct Device {
    SANE_Handle handle = nullptr;
    ~Device() {
        if (handle) sane_close(handle);
    }
    int option(const char* name, const SANE_Option_Descriptor** desc = nullptr) const {
        for (int i = 1;; ++i) {
            const SANE_Option_Descriptor* d = sane_get_option_descriptor(handle, i);
            if (!d) return -1;
            if (d->name && std::strcmp(d->name, name) == 0 && SANE_OPTION_IS_ACTIVE(d->cap) &&
                SANE_OPTION_IS_SETTABLE(d->cap)) {
                if (desc) *desc = d;
                return i;
            }
        }
    }
    void setWord(const char* name, SANE_Word value) {
        if (const int i = option(name); i > 0)
            sane_control_option(handle, i, SANE_ACTION_SET_VALUE, &value, nullptr);
    }
};

std::vector<int> resolutionsOf(const SANE_Option_Descriptor* d) {
    std::vector<int> out;
    auto dpi = [d](SANE_Word w) {
        return d->type == SANE_TYPE_FIXED ? int(std::lround(SANE_UNFIX(w))) : int(w);
    };
    if (d->constraint_type == SANE_CONSTRAINT_WORD_LIST) {
        for (int i = 1; i <= d->constraint.word_list[0]; ++i) out.push_back(dpi(d->constraint.word_list[i]));
    } else if (d->constraint_type == SANE_CONSTRAINT_RANGE) {
        const int lo = dpi(d->constraint.range->min), hi = dpi(d->constraint.range->max);
        // A range offers any value; the usual steps within it are what people choose from.
        for (int r : {75, 100, 150, 200, 300, 600, 1200, 2400, 4800})
            if (r >= lo && r <= hi) out.push_back(r);
        if (out.empty()) out.push_back(hi);
    }
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
    return out;
}

bool openDevice(Device& dev, const QString& name, QString* error) {
    const SANE_Status s = sane_open(name.toUtf8().constData(), &dev.handle);
    if (s != SANE_STATUS_GOOD) {
        dev.handle = nullptr;
        if (error) *error = Texts::tr("The scanner “%1” could not be opened (%2).").arg(name, saneError(s));
        return false;
    }
    return true;
}

// The value the option takes that is nearest to `wanted`, in its own unit.
SANE_Word nearestResolution(const SANE_Option_Descriptor* d, int wanted) {
    const std::vector<int> offered = resolutionsOf(d);
    int best = wanted;
    if (d->constraint_type == SANE_CONSTRAINT_WORD_LIST && !offered.empty()) {
        best = *std::min_element(offered.begin(), offered.end(), [wanted](int a, int b) {
            return std::abs(a - wanted) < std::abs(b - wanted);
        });
    } else if (d->constraint_type == SANE_CONSTRAINT_RANGE) {
        const auto* r = d->constraint.range;
        const double lo = d->type == SANE_TYPE_FIXED ? SANE_UNFIX(r->min) : r->min;
        const double hi = d->type == SANE_TYPE_FIXED ? SANE_UNFIX(r->max) : r->max;
        best = int(std::clamp(double(wanted), lo, hi));
    }
    return d->type == SANE_TYPE_FIXED ? SANE_FIX(best) : SANE_Word(best);
}

// The largest area the scanner offers: a scanner's default area is often smaller than its glass.
void wholeArea(Device& dev) {
    for (const char* name :
         {SANE_NAME_SCAN_TL_X, SANE_NAME_SCAN_TL_Y, SANE_NAME_SCAN_BR_X, SANE_NAME_SCAN_BR_Y}) {
        const SANE_Option_Descriptor* d = nullptr;
        const int i = dev.option(name, &d);
        if (i < 0 || d->constraint_type != SANE_CONSTRAINT_RANGE) continue;
        SANE_Word v = name[0] == 't' ? d->constraint.range->min : d->constraint.range->max;
        sane_control_option(dev.handle, i, SANE_ACTION_SET_VALUE, &v, nullptr);
    }
}

} // namespace

QString ScannerInfo::label() const {
    const QString made = (vendor + " " + model).trimmed();
    return made.isEmpty() ? name : made;
}

std::vector<ScannerInfo> listScanners(QString* error, bool wait, bool* busy) {
    std::unique_lock lock(saneLock(), std::defer_lock);
    if (wait) {
        lock.lock();
    } else if (!lock.try_lock()) {
        if (busy) *busy = true;
        return {};
    }
    if (busy) *busy = false;
    std::vector<ScannerInfo> out;
    SaneSession session;
    if (!session.ok) {
        if (error) *error = Texts::tr("SANE could not be started.");
        return out;
    }
    const SANE_Device** devices = nullptr;
    if (const SANE_Status s = sane_get_devices(&devices, SANE_FALSE); s != SANE_STATUS_GOOD) {
        if (error) *error = saneError(s);
        return out;
    }
    for (int i = 0; devices && devices[i]; ++i)
        out.push_back({QString::fromUtf8(devices[i]->name), QString::fromUtf8(devices[i]->vendor),
                       QString::fromUtf8(devices[i]->model), QString::fromUtf8(devices[i]->type)});
    return out;
}

ScannerCapabilities scannerCapabilities(const QString& device, QString* error) {
    std::lock_guard lock(saneLock());
    ScannerCapabilities caps;
    SaneSession session;
    Device dev;
    if (!session.ok || !openDevice(dev, device, error)) return caps;
    const SANE_Option_Descriptor* d = nullptr;
    if (dev.option(SANE_NAME_SCAN_RESOLUTION, &d) > 0) caps.resolutions = resolutionsOf(d);
    if (dev.option(SANE_NAME_SCAN_MODE, &d) > 0 && d->constraint_type == SANE_CONSTRAINT_STRING_LIST)
        for (int i = 0; d->constraint.string_list[i]; ++i)
            caps.modes << QString::fromUtf8(d->constraint.string_list[i]);
    return caps;
}

ScanResult scanPage(const QString& device, const ScanSettings& settings,
                    const std::function<void(double)>& progress, const std::atomic<bool>* cancel) {
    std::lock_guard lock(saneLock());
    ScanResult result;
    SaneSession session;
    Device dev;
    if (!session.ok) {
        result.error = Texts::tr("SANE could not be started.");
        return result;
    }
    if (!openDevice(dev, device, &result.error)) return result;

    const SANE_Option_Descriptor* d = nullptr;
    if (int i = dev.option(SANE_NAME_SCAN_MODE, &d); i > 0 && d->type == SANE_TYPE_STRING) {
        QByteArray mode = settings.mode.toUtf8();
        mode.resize(std::max<qsizetype>(mode.size() + 1, d->size), '\0');
        sane_control_option(dev.handle, i, SANE_ACTION_SET_VALUE, mode.data(), nullptr);
    }
    // Eight bits per sample: what the editor's pictures hold, and half the transfer of sixteen.
    dev.setWord(SANE_NAME_BIT_DEPTH, 8);
    if (int i = dev.option(SANE_NAME_SCAN_RESOLUTION, &d); i > 0) {
        SANE_Word v = nearestResolution(d, settings.resolution);
        sane_control_option(dev.handle, i, SANE_ACTION_SET_VALUE, &v, nullptr);
    }
    wholeArea(dev);
    dev.setWord(SANE_NAME_PREVIEW, settings.preview ? SANE_TRUE : SANE_FALSE);

    auto cancelled = [cancel] { return cancel && cancel->load(); };
    SANE_Status s = sane_start(dev.handle);
    QByteArray red, green, blue, single;
    SANE_Parameters p{};
    while (s == SANE_STATUS_GOOD) {
        if ((s = sane_get_parameters(dev.handle, &p)) != SANE_STATUS_GOOD) break;
        QByteArray* target = p.format == SANE_FRAME_RED     ? &red
                             : p.format == SANE_FRAME_GREEN ? &green
                             : p.format == SANE_FRAME_BLUE  ? &blue
                                                            : &single;
        const qint64 expected = p.lines > 0 ? qint64(p.bytes_per_line) * p.lines : -1;
        if (expected > 0) target->reserve(qsizetype(expected));
        SANE_Byte buffer[64 * 1024];
        while (true) {
            if (cancelled()) {
                sane_cancel(dev.handle);
                result.cancelled = true;
                return result;
            }
            SANE_Int got = 0;
            s = sane_read(dev.handle, buffer, sizeof buffer, &got);
            if (s != SANE_STATUS_GOOD) break;
            target->append(reinterpret_cast<const char*>(buffer), got);
            if (progress && expected > 0) progress(std::min(1.0, double(target->size()) / double(expected)));
        }
        if (s != SANE_STATUS_EOF) break;
        if (p.last_frame) break;
        s = sane_start(dev.handle);
    }
    if (s != SANE_STATUS_EOF && s != SANE_STATUS_GOOD) {
        sane_cancel(dev.handle);
        if (s == SANE_STATUS_CANCELLED) {
            result.cancelled = true;
        } else {
            result.error = Texts::tr("The scan stopped: %1.").arg(saneError(s));
        }
        return result;
    }
    sane_cancel(dev.handle); // ends the scan cycle, as the standard asks after the last frame

    const int width = p.pixels_per_line;
    const int bpl = p.bytes_per_line;
    const bool threePass = !red.isEmpty() || !green.isEmpty() || !blue.isEmpty();
    const QByteArray& any = threePass ? red : single;
    const int height = bpl > 0 ? int(any.size() / bpl) : 0;
    if (width <= 0 || height <= 0 || (threePass && (green.size() < any.size() || blue.size() < any.size()))) {
        result.error = Texts::tr("The scanner sent no picture.");
        return result;
    }
    const bool colour = threePass || p.format == SANE_FRAME_RGB;
    QImage image(width, height, colour ? QImage::Format_RGB888 : QImage::Format_Grayscale8);
    // A sample's bytes: 16-bit samples are in the machine's order; lineart has 1 = black.
    auto sample = [&](const QByteArray& bytes, int y, int index) -> uchar {
        const auto* row = reinterpret_cast<const uchar*>(bytes.constData()) + qsizetype(y) * bpl;
        if (p.depth == 1) return (row[index / 8] & (0x80 >> (index % 8))) ? 0 : 255;
        if (p.depth == 16) {
            uint16_t v;
            std::memcpy(&v, row + 2 * index, 2);
            return uchar(v >> 8);
        }
        return row[index];
    };
    for (int y = 0; y < height; ++y) {
        uchar* out = image.scanLine(y);
        for (int x = 0; x < width; ++x) {
            if (threePass) {
                out[3 * x] = sample(red, y, x);
                out[3 * x + 1] = sample(green, y, x);
                out[3 * x + 2] = sample(blue, y, x);
            } else if (colour) {
                for (int c = 0; c < 3; ++c) out[3 * x + c] = sample(single, y, 3 * x + c);
            } else {
                out[x] = sample(single, y, x);
            }
        }
    }
    if (progress) progress(1.0);
    result.image = image;
    return result;
}

} // namespace pimavo
