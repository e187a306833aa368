#include "CustomColorpickerController.h"

#include "ColorPanel.h"
#include "ColorSwatch.h"
#include "core/NotificationCenter.h"

#include <QColorDialog>

namespace pimavo {

CustomColorpickerController::CustomColorpickerController() {
    NotificationCenter::defaultCenter().addObserver(this, "SelectedColor", [this](const Notification& n) {
        const QColor c = n.object.value<QColor>();
        selectColor(&c);
    });
}

CustomColorpickerController::~CustomColorpickerController() {
    NotificationCenter::defaultCenter().removeObserver(this);
    QObject::disconnect(panelConnection_);
}

void CustomColorpickerController::showColorsButtonClick() {
    if (colorPanel_) {
        QObject::disconnect(panelConnection_);
        colorPanel_->close();
        colorPanel_->setWindowOpacity(0);
        colorPanel_ = nullptr;
        NotificationCenter::defaultCenter().post("ColorPanelHidden");
        return;
    }
    colorPanel_ = sharedColorPanel();
    panelConnection_ = QObject::connect(colorPanel_, &QColorDialog::currentColorChanged, this,
                                        [this](const QColor& c) { selectColor(&c); });
    NotificationCenter::defaultCenter().post("ColorPanelShowed");
    if (selectedColor_.isValid()) colorPanel_->setCurrentColor(selectedColor_);
    colorPanel_->setWindowOpacity(1);
    colorPanel_->show();
    colorPanel_->raise();
}

void CustomColorpickerController::selectColor(const QColor* fromSender) {
    if (!delegate_) return;
    if (fromSender && fromSender->isValid()) selectedColor_ = deviceRGB(*fromSender);
    delegate_->setSelectedColorFromColorPicker(selectedColor_);
}

void CustomColorpickerController::shouldBeClosed() {
    NotificationCenter::defaultCenter().removeObserver(this);
    if (colorPanel_) {
        QObject::disconnect(panelConnection_);
        colorPanel_->close();
        colorPanel_->setWindowOpacity(0);
        colorPanel_->hide();
        colorPanel_ = nullptr;
    }
    NotificationCenter::defaultCenter().post("ColorPanelHidden");
}

} // namespace pimavo
