#include "SavePanel.h"

#include "core/Strings.h"
#include "imageio/ImageTypes.h"

#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QHash>
#include <QLabel>
#include <QSlider>

namespace pimavo {

namespace {

QString text(const char* key) {
    return Strings::shared().localized(QString::fromLatin1(key));
}

bool isLossy(const QString& ut) {
    return ut == "public.jpeg" || ut == "org.webmproject.webp" || ut == "public.heic" ||
           ut == "public.jpeg-2000";
}

} // namespace

std::optional<SaveChoice> runSavePanel(QWidget* parent, const QString& folder, const QString& name,
                                       const QString& utType, double quality) {
    QFileDialog dialog(parent, Strings::titleFromMenuText(text("kMenuSaveAs")), folder);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOption(QFileDialog::DontUseNativeDialog); // the options below live inside it
    QStringList filters;
    QHash<QString, QString> typeOfFilter;
    QString selected;
    for (const std::string& ut : writableUTTypes()) {
        const QString type = QString::fromStdString(ut);
        const QString ext = QString::fromStdString(extensionForUTType(ut));
        const QString filter = QString("%1 (*.%2)").arg(ext.toUpper(), ext);
        filters << filter;
        typeOfFilter.insert(filter, type);
        if (type == utType) selected = filter;
    }
    dialog.setNameFilters(filters);
    if (!selected.isEmpty()) dialog.selectNameFilter(selected);

    auto* qualityLabel = new QLabel(text("kSaveQuality"));
    auto* qualitySlider = new QSlider(Qt::Horizontal);
    qualitySlider->setRange(1, 100);
    qualitySlider->setValue(int(quality * 100 + 0.5));
    auto* qualityValue = new QLabel(QString::number(qualitySlider->value()));
    QObject::connect(qualitySlider, &QSlider::valueChanged, qualityValue,
                     [qualityValue](int v) { qualityValue->setText(QString::number(v)); });
    auto* compressionLabel = new QLabel(text("kSaveCompression"));
    auto* compression = new QComboBox;
    compression->addItem(text("kCompressionZip"), "zip");
    compression->addItem(text("kCompressionLzw"), "lzw");
    compression->addItem(text("kCompressionPackBits"), "packbits");
    compression->addItem(text("kCompressionNone"), "none");
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
    }
    auto showOptions = [&](const QString& filter) {
        const QString type = typeOfFilter.value(filter);
        const bool lossy = isLossy(type), tiff = type == "public.tiff";
        qualityLabel->setVisible(lossy);
        qualitySlider->parentWidget()->setVisible(lossy);
        compressionLabel->setVisible(tiff);
        compression->setVisible(tiff);
        dialog.setDefaultSuffix(QString::fromStdString(extensionForUTType(type.toStdString())));
        // The name follows the type.
        const QStringList chosen = dialog.selectedFiles();
        if (!chosen.isEmpty()) {
            QString base = QFileInfo(chosen.first()).completeBaseName();
            if (!base.isEmpty()) dialog.selectFile(base + "." + dialog.defaultSuffix());
        }
    };
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, showOptions);
    dialog.selectFile(name + "." + QString::fromStdString(extensionForUTType(utType.toStdString())));
    showOptions(dialog.selectedNameFilter());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;

    SaveChoice choice;
    choice.path = dialog.selectedFiles().first();
    choice.utType = typeOfFilter.value(dialog.selectedNameFilter(), utType);
    // A name ending in another type's extension means that type.
    if (auto byName = utTypeForExtension(choice.path.toStdString()))
        choice.utType = QString::fromStdString(*byName);
    choice.quality = qualitySlider->value() / 100.0;
    if (choice.utType == "public.tiff") choice.compression = compression->currentData().toString();
    return choice;
}

} // namespace pimavo
