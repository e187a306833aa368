// Devices and files for the import tests: SANE's test backend alone in a private configuration,
// folders of small JPEGs, and an independent reading of PNG text chunks.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QMap>
#include <QString>
#include <QTemporaryDir>

namespace pimavo::test {

// Points SANE at a private configuration that enables only its "test" backend, with a colour
// pattern as the picture. Must run before anything in the process enters SANE.
void usePrivateSaneConfiguration();

// A JPEG of w × h: the left half red, the right half blue; with an EXIF orientation when not 0,
// and `preview` embedded as the camera's EXIF thumbnail when given.
QByteArray testJpeg(int w, int h, int orientation = 0, const QImage& preview = {});
bool writeBytes(const QString& path, const QByteArray& bytes);
// The same picture as a phone stores it: HEIF coded as "hevc" (HEIC) or "av1" (AVIF), made with
// vips; empty when vips cannot.
QByteArray testHeif(int w, int h, const QString& compression = "hevc");

struct PngFile {
    int width = 0, height = 0;
    QMap<QString, QString> text; // tEXt and iTXt chunks
};
// Reads a PNG's header and text chunks by walking its chunks: no image library involved.
bool readPngChunks(const QString& path, PngFile& out);

} // namespace pimavo::test
