#include "ImportTestSupport.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImageWriter>
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

QByteArray testJpeg(int w, int h, int orientation) {
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) image.setPixel(x, y, x < w / 2 ? qRgb(220, 20, 20) : qRgb(20, 20, 220));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(95);
    writer.write(image);
    if (orientation == 0) return bytes;
    // APP1 with a one-entry IFD0 (tag 0x0112, SHORT, 1 value), little-endian, right after SOI.
    QByteArray tiff("II*\0\x08\0\0\0", 8);
    auto le16 = [](QByteArray& b, int v) { b.append(char(v & 0xff)).append(char((v >> 8) & 0xff)); };
    auto le32 = [&](QByteArray& b, int v) {
        le16(b, v & 0xffff);
        le16(b, (v >> 16) & 0xffff);
    };
    le16(tiff, 1);
    le16(tiff, 0x0112);
    le16(tiff, 3);
    le32(tiff, 1);
    le16(tiff, orientation);
    le16(tiff, 0);
    le32(tiff, 0);
    QByteArray payload = QByteArray("Exif\0\0", 6) + tiff;
    QByteArray app1("\xff\xe1", 2);
    le16(app1, 0); // placeholder
    app1[2] = char(((payload.size() + 2) >> 8) & 0xff);
    app1[3] = char((payload.size() + 2) & 0xff);
    return bytes.left(2) + app1.left(4) + payload + bytes.mid(2);
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
