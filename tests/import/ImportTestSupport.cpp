#include "ImportTestSupport.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImageWriter>
#include <QProcess>
#include <QtEndian>

namespace pimavo::test {

void usePrivateSaneConfiguration() {
    static QTemporaryDir dir;
    static bool done = false;
    if (done) return;
    done = true;
    QFile dll(dir.filePath("dll.conf"));
    dll.open(QIODevice::WriteOnly);
    dll.write("test\n");
    dll.close();
    QFile conf(dir.filePath("test.conf"));
    conf.open(QIODevice::WriteOnly);
    conf.write("number_of_devices 1\ntest-picture \"Color pattern\"\n");
    conf.close();
    // Without a trailing ':' SANE reads this folder only, never the system's backends.
    qputenv("SANE_CONFIG_DIR", QFile::encodeName(dir.path()));
}

namespace {
QByteArray encodeJpeg(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(95);
    writer.write(image);
    return bytes;
}
} // namespace

QByteArray testJpeg(int w, int h, int orientation, const QImage& preview) {
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) image.setPixel(x, y, x < w / 2 ? qRgb(220, 20, 20) : qRgb(20, 20, 220));
    const QByteArray bytes = encodeJpeg(image);
    if (orientation == 0 && preview.isNull()) return bytes;
    // A little-endian TIFF block: IFD0 with the orientation, IFD1 pointing at the preview.
    auto le16 = [](QByteArray& b, int v) { b.append(char(v & 0xff)).append(char((v >> 8) & 0xff)); };
    auto le32 = [&](QByteArray& b, int v) {
        le16(b, v & 0xffff);
        le16(b, (v >> 16) & 0xffff);
    };
    const QByteArray thumb = preview.isNull() ? QByteArray() : encodeJpeg(preview);
    const int ifd0Entries = orientation ? 1 : 0;
    const int ifd1 = 8 + 2 + 12 * ifd0Entries + 4;
    const int thumbAt = ifd1 + 2 + 12 * 2 + 4;
    QByteArray tiff("II*\0\x08\0\0\0", 8);
    le16(tiff, ifd0Entries);
    if (orientation) {
        le16(tiff, 0x0112);
        le16(tiff, 3);
        le32(tiff, 1);
        le16(tiff, orientation);
        le16(tiff, 0);
    }
    le32(tiff, thumb.isEmpty() ? 0 : ifd1);
    if (!thumb.isEmpty()) {
        le16(tiff, 2);
        for (auto [tag, value] : {std::pair{0x0201, thumbAt}, std::pair{0x0202, int(thumb.size())}}) {
            le16(tiff, tag);
            le16(tiff, 4);
            le32(tiff, 1);
            le32(tiff, value);
        }
        le32(tiff, 0);
        tiff += thumb;
    }
    const QByteArray payload = QByteArray("Exif\0\0", 6) + tiff;
    QByteArray app1("\xff\xe1", 2);
    app1.append(char(((payload.size() + 2) >> 8) & 0xff)).append(char((payload.size() + 2) & 0xff));
    return bytes.left(2) + app1 + payload + bytes.mid(2);
}

QByteArray testHeif(int w, int h, const QString& compression) {
    QTemporaryDir dir;
    const QString jpeg = dir.filePath("in.jpg"), heif = dir.filePath("out.heif");
    if (!writeBytes(jpeg, testJpeg(w, h))) return {};
    QProcess vips;
    vips.start("vips", {"heifsave", jpeg, heif, "--compression", compression});
    if (!vips.waitForFinished(60000) || vips.exitCode() != 0) return {};
    QFile f(heif);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeBytes(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

bool readPngChunks(const QString& path, PngFile& out) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return false;
    const QByteArray b = f.readAll();
    if (!b.startsWith("\x89PNG\r\n\x1a\n")) return false;
    qsizetype at = 8;
    while (at + 12 <= b.size()) {
        const quint32 len = qFromBigEndian<quint32>(b.constData() + at);
        const QByteArray type = b.mid(at + 4, 4);
        const QByteArray data = b.mid(at + 8, qsizetype(len));
        if (type == "IHDR") {
            out.width = int(qFromBigEndian<quint32>(data.constData()));
            out.height = int(qFromBigEndian<quint32>(data.constData() + 4));
        } else if (type == "tEXt") {
            const qsizetype zero = data.indexOf('\0');
            out.text[QString::fromLatin1(data.left(zero))] = QString::fromLatin1(data.mid(zero + 1));
        } else if (type == "iTXt") {
            // keyword\0 flag method language\0 translated\0 text (uncompressed only)
            const qsizetype zero = data.indexOf('\0');
            qsizetype p = zero + 3;
            p = data.indexOf('\0', p) + 1;
            p = data.indexOf('\0', p) + 1;
            out.text[QString::fromLatin1(data.left(zero))] = QString::fromUtf8(data.mid(p));
        } else if (type == "IEND") {
            return true;
        }
        at += 12 + qsizetype(len);
    }
    return false;
}

} // namespace pimavo::test
