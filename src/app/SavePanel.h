// The Save As panel: folder and name, the type to write (every type the program writes), the
// type's options — quality for lossy types, compression for TIFF — and a note of what of the photo
// the chosen type cannot hold (its metadata, its depth).
#pragma once

#include <QString>
#include <optional>

class QWidget;

namespace pimavo {

class ImageProperties;

struct SaveChoice {
    QString path;
    QString mimeType;
    double quality = 0.9; // 0..1, lossy types
    QString compression;  // TIFF: "none", "lzw", "zip", "packbits"
};

// `name` without extension; `extension` the original's, kept when it is one of the type's.
// `properties` and `bitsPerComponent` describe the photo, for the note; `transparent`: the picture has
// transparency, and the panel says so of a type that cannot keep it.
std::optional<SaveChoice> runSavePanel(QWidget* parent, const QString& folder, const QString& name,
                                       const QString& extension, const QString& mimeType, double quality,
                                       const ImageProperties* properties = nullptr, int bitsPerComponent = 8,
                                       bool transparent = false);

// The note for a type: what of the photo a file of it goes without; empty when nothing.
QString saveTypeNote(const QString& mimeType, const ImageProperties* properties, int bitsPerComponent);
// What the panel says of a type when the picture has transparency; empty when the type keeps it.
QString transparencyNote(const QString& mimeType);

} // namespace pimavo
