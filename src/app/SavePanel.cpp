#include "SavePanel.h"

#include "core/MenuText.h"
#include "document/ProjectDocument.h"
#include "imageio/ImageTypes.h"
#include "imageio/ImageWriter.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>

namespace pimavo {

namespace {

// The Save As panel and its notes.
struct Texts {
    Q_DECLARE_TR_FUNCTIONS(pimavo::SavePanel)
};

bool isLossy(const QString& ut) {
    return ut == "image/jpeg" || ut == "image/webp" || ut == "image/heic" || ut == "image/avif" ||
           ut == "image/jp2";
}

// "a", "a and b", "a, b and c"
QString listed(const QStringList& items) {
    if (items.size() < 2) return items.value(0);
    //: Joins the last two items of a list: "camera details, XMP metadata and colour profile"
    return QStringList(items.mid(0, items.size() - 1)).join(", ") + " " + Texts::tr("and") + " " +
           items.last();
}

} // namespace

QString saveTypeNote(const QString& mimeType, const ImageProperties* properties, int bitsPerComponent) {
    // A project keeps the photo as it came, metadata and all.
    const QString name = QString::fromStdString(extensionForMimeType(mimeType.toStdString())).toUpper();
    if (mimeType == QLatin1String(ProjectDocument::kMimeType) || name.isEmpty()) return {};
    const TypeLoss loss = lossOfType(mimeType.toStdString(), properties, bitsPerComponent);
    QStringList kinds;
    if (loss.exif) kinds << Texts::tr("camera details (EXIF)");
    if (loss.iptc) kinds << Texts::tr("captions and keywords (IPTC)");
    if (loss.xmp) kinds << Texts::tr("XMP metadata");
    if (loss.icc) kinds << Texts::tr("colour profile");
    QStringList notes;
    if (!kinds.isEmpty())
        notes << Texts::tr("%1 cannot hold this photo’s %2: the saved picture goes without.")
                     .arg(name, listed(kinds));
    if (loss.bits)
        notes << Texts::tr("%1 holds %2 bits per channel: this photo’s %3 are reduced to them.")
                     .arg(name)
                     .arg(roomOfType(mimeType.toStdString()).bits)
                     .arg(loss.bits);
    return notes.join(' ');
}

QString transparencyNote(const QString& mimeType) {
    if (mimeType == QLatin1String(ProjectDocument::kMimeType) ||
        typeKeepsTransparency(mimeType.toStdString()))
        return {};
    return Texts::tr("This type has no transparency: the picture's transparent parts are saved white. PNG, "
                     "TIFF and WebP keep them.");
}

std::optional<SaveChoice> runSavePanel(QWidget* parent, const QString& folder, const QString& name,
                                       const QString& extension, const QString& mimeType, double quality,
                                       const ImageProperties* properties, int bitsPerComponent,
                                       bool transparent) {
    QFileDialog dialog(parent, titleFromMenuText(Texts::tr("Save &As…")), folder);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOption(QFileDialog::DontUseNativeDialog); // the options below live inside it
    QStringList filters;
    QHash<QString, QString> typeOfFilter;
    QString selected;
    QHash<QString, QStringList> extensionsOfType;
    for (const std::string& ut : writableMimeTypes()) {
        const QString type = QString::fromStdString(ut);
        QStringList exts;
        for (const std::string& e : extensionsForMimeType(ut)) exts << QString::fromStdString(e);
        if (exts.isEmpty()) continue;
        extensionsOfType.insert(type, exts);
        // Every extension the type goes by, so that a "photo.tif" beside a "photo.tiff" is listed too.
        const QString filter = QString("%1 (*.%2)").arg(exts.first().toUpper(), exts.join(" *."));
        filters << filter;
        typeOfFilter.insert(filter, type);
        if (type == mimeType) selected = filter;
    }
    // The extension a name of this type gets: the one the original has when it is the type's, so
    // that saving "scan.tif" proposes "scan.tif" and not a renamed copy.
    auto extensionFor = [&](const QString& type, const QString& current) {
        const QStringList exts = extensionsOfType.value(type);
        if (exts.contains(current.toLower())) return current;
        return exts.isEmpty() ? current : exts.first();
    };
    // Projects last: they keep the painting editable, but other programs show pictures.
    {
        const QString type = QString::fromLatin1(ProjectDocument::kMimeType);
        const QString ext = QString::fromLatin1(ProjectDocument::kExtension);
        const QString filter = QString("%1 (*.%2)").arg(Texts::tr("Pimavo Project"), ext);
        extensionsOfType.insert(type, {ext});
        filters << filter;
        typeOfFilter.insert(filter, type);
        if (type == mimeType) selected = filter;
    }
    dialog.setNameFilters(filters);
    if (!selected.isEmpty()) dialog.selectNameFilter(selected);

    auto* qualityLabel = new QLabel(Texts::tr("Quality:"));
    auto* qualitySlider = new QSlider(Qt::Horizontal);
    qualitySlider->setRange(1, 100);
    qualitySlider->setValue(int(quality * 100 + 0.5));
    auto* qualityValue = new QLabel(QString::number(qualitySlider->value()));
    QObject::connect(qualitySlider, &QSlider::valueChanged, qualityValue,
                     [qualityValue](int v) { qualityValue->setText(QString::number(v)); });
    auto* compressionLabel = new QLabel(Texts::tr("Compression:"));
    auto* compression = new QComboBox;
    compression->addItem(Texts::tr("ZIP (smaller)"), "zip");
    compression->addItem(Texts::tr("LZW"), "lzw");
    compression->addItem(Texts::tr("PackBits"), "packbits");
    compression->addItem(Texts::tr("None (largest)"), "none");
    auto* note = new QLabel;
    note->setObjectName("saveTypeNote");
    note->setWordWrap(true);
    auto* transparencyLabel = new QLabel;
    transparencyLabel->setObjectName("transparencyNote");
    transparencyLabel->setWordWrap(true);
    if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout())) {
        const int row = grid->rowCount();
        auto* qualityRow = new QWidget;
        auto* h = new QHBoxLayout(qualityRow);
        h->setContentsMargins(0, 0, 0, 0);
        h->addWidget(qualitySlider, 1);
        h->addWidget(qualityValue);
        grid->addWidget(qualityLabel, row, 0);
        grid->addWidget(qualityRow, row, 1);
        grid->addWidget(compressionLabel, row + 1, 0);
        grid->addWidget(compression, row + 1, 1);
        grid->addWidget(note, row + 2, 0, 1, grid->columnCount());
        grid->addWidget(transparencyLabel, row + 3, 0, 1, grid->columnCount());
    }
    // What the chosen type keeps and what it asks: a name typed with another type's extension is
    // saved as that type, so it is that type's notes and options that show.
    auto showTypeOptions = [&](const QString& type) {
        const bool lossy = isLossy(type), tiff = type == "image/tiff";
        qualityLabel->setVisible(lossy);
        qualitySlider->parentWidget()->setVisible(lossy);
        compressionLabel->setVisible(tiff);
        compression->setVisible(tiff);
        note->setText(saveTypeNote(type, properties, bitsPerComponent));
        note->setVisible(!note->text().isEmpty());
        transparencyLabel->setText(transparent ? transparencyNote(type) : QString());
        transparencyLabel->setVisible(!transparencyLabel->text().isEmpty());
    };
    auto typeOfName = [&](const QString& fileName, const QString& fallback) {
        if (QFileInfo(fileName).suffix().toLower() == QLatin1String(ProjectDocument::kExtension))
            return QString::fromLatin1(ProjectDocument::kMimeType);
        if (auto byName = mimeTypeForExtension(fileName.toStdString()))
            return QString::fromStdString(*byName);
        return fallback;
    };
    auto showOptions = [&](const QString& filter) {
        const QString type = typeOfFilter.value(filter);
        showTypeOptions(type);
        // The name follows the type, keeping an extension the type goes by.
        const QStringList chosen = dialog.selectedFiles();
        const QFileInfo current(chosen.isEmpty() ? QString() : chosen.first());
        const QString suffix = extensionFor(type, current.suffix());
        dialog.setDefaultSuffix(suffix);
        const QString base = current.completeBaseName();
        if (!base.isEmpty()) dialog.selectFile(base + "." + suffix);
    };
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, showOptions);
    if (auto* nameEdit = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
        QObject::connect(nameEdit, &QLineEdit::textChanged, &dialog, [&](const QString& typed) {
            showTypeOptions(typeOfName(typed, typeOfFilter.value(dialog.selectedNameFilter())));
        });
    dialog.selectFile(name + "." + extensionFor(mimeType, extension));
    showOptions(dialog.selectedNameFilter());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;

    SaveChoice choice;
    choice.path = dialog.selectedFiles().first();
    // A name ending in another type's extension means that type.
    choice.mimeType = typeOfName(choice.path, typeOfFilter.value(dialog.selectedNameFilter(), mimeType));
    choice.quality = qualitySlider->value() / 100.0;
    if (choice.mimeType == "image/tiff") choice.compression = compression->currentData().toString();
    return choice;
}

} // namespace pimavo
