#include "DeviceCommands.h"

#include "import/CameraDevice.h"
#include "import/ScannerDevice.h"

#include <QFileInfo>
#include <QImageWriter>
#include <QSaveFile>
#include <cstdio>
#include <optional>

namespace pimavo::cli {

namespace {

int fail(const QString& message) {
    std::fprintf(stderr, "pimavo-cli: %s\n", message.toUtf8().constData());
    return 1;
}

// "--name value" options and the plain arguments left over.
struct Options {
    std::vector<std::pair<std::string, std::string>> named;
    std::vector<std::string> plain;
    std::optional<std::string> value(const std::string& name) const {
        for (const auto& [n, v] : named)
            if (n == name) return v;
        return std::nullopt;
    }
};

std::optional<Options> parse(const std::vector<std::string>& args, std::initializer_list<const char*> names,
                             QString& error) {
    Options o;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a.rfind("--", 0) != 0) {
            o.plain.push_back(a);
            continue;
        }
        if (std::find_if(names.begin(), names.end(), [&](const char* n) { return a == n; }) == names.end()) {
            error = QString("unknown option %1").arg(QString::fromStdString(a));
            return std::nullopt;
        }
        if (i + 1 >= args.size()) {
            error = QString("%1 needs a value").arg(QString::fromStdString(a));
            return std::nullopt;
        }
        o.named.emplace_back(a, args[++i]);
    }
    return o;
}

} // namespace

int devices(const std::vector<std::string>& args) {
    if (!args.empty()) return fail("devices takes no arguments; see pimavo-cli --help");
    QString cameraError, scannerError;
    const auto cameras = detectCameras(&cameraError);
    const auto scanners = listScanners(&scannerError);
    for (const CameraInfo& c : cameras)
        std::printf("camera\t%s\t%s\n", c.model.toUtf8().constData(), c.port.toUtf8().constData());
    for (const ScannerInfo& s : scanners)
        std::printf("scanner\t%s\t%s\n", s.name.toUtf8().constData(), s.label().toUtf8().constData());
    if (!cameraError.isEmpty())
        std::fprintf(stderr, "pimavo-cli: cameras: %s\n", cameraError.toUtf8().constData());
    if (!scannerError.isEmpty())
        std::fprintf(stderr, "pimavo-cli: scanners: %s\n", scannerError.toUtf8().constData());
    return 0;
}

int importFromCamera(const std::vector<std::string>& args) {
    QString error;
    const auto o = parse(args, {"--camera", "--port"}, error);
    if (!o) return fail(error);
    if (!o->value("--camera") || !o->value("--port") || o->plain.size() != 1)
        return fail("import takes --camera MODEL --port PORT DEST; see pimavo-cli --help");
    const CameraInfo camera{QString::fromStdString(*o->value("--camera")),
                            QString::fromStdString(*o->value("--port"))};
    auto connection = CameraConnection::open(camera, error);
    if (!connection) return fail(error);
    const auto photos = connection->photos(error);
    if (!error.isEmpty()) return fail(error);
    const DownloadResult r = connection->download(photos, QString::fromStdString(o->plain[0]));
    for (const QString& path : r.written) std::printf("%s\n", path.toUtf8().constData());
    if (!r.error.isEmpty()) return fail(r.error);
    return 0;
}

int scan(const std::vector<std::string>& args) {
    QString error;
    const auto o = parse(args, {"--device", "--resolution", "--mode"}, error);
    if (!o) return fail(error);
    if (!o->value("--device") || o->plain.size() != 1)
        return fail(
            "scan takes --device NAME [--resolution DPI] [--mode Color|Gray] OUT; see pimavo-cli --help");
    ScanSettings settings;
    if (auto r = o->value("--resolution")) {
        bool ok = false;
        settings.resolution = QString::fromStdString(*r).toInt(&ok);
        if (!ok || settings.resolution <= 0)
            return fail("the resolution is a number of dots per inch, such as 300");
    }
    if (auto m = o->value("--mode")) settings.mode = QString::fromStdString(*m);
    const QString out = QString::fromStdString(o->plain[0]);
    const QByteArray format = QFileInfo(out).suffix().toLower().toLatin1();
    if (!QImageWriter::supportedImageFormats().contains(format))
        return fail(QString("cannot write “%1”: name it .png or .jpg").arg(out));
    const ScanResult r = scanPage(QString::fromStdString(*o->value("--device")), settings);
    if (r.image.isNull()) return fail(r.error.isEmpty() ? "the scan was cancelled" : r.error);
    // Written whole under a temporary name, then renamed: OUT is never half a picture.
    QSaveFile file(out);
    QImageWriter writer(&file, format);
    if (!file.open(QIODevice::WriteOnly) || !writer.write(r.image) || !file.commit())
        return fail(QString("cannot write “%1”: %2").arg(out, file.errorString()));
    std::printf("%s\t%dx%d\n", out.toUtf8().constData(), r.image.width(), r.image.height());
    return 0;
}

} // namespace pimavo::cli
