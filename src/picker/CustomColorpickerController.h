// The palette controller: a click on a palette cell or a choice in the system colour panel becomes
// one selected-colour call to its delegate.
#pragma once

#include <QColor>
#include <QColorDialog>
#include <QObject>
#include <QPointer>

namespace pimavo {

class CustomColorpickerControllerDelegate {
public:
    virtual ~CustomColorpickerControllerDelegate() = default;
    virtual void setSelectedColorFromColorPicker(const QColor& color) = 0;
};

class CustomColorpickerController : public QObject {
    Q_OBJECT
public:
    CustomColorpickerController();
    ~CustomColorpickerController() override;

    QColor selectedColor() const { return selectedColor_; }
    void setSelectedColor(const QColor& color) { selectedColor_ = color; }
    CustomColorpickerControllerDelegate* delegate() const { return delegate_; }
    void setDelegate(CustomColorpickerControllerDelegate* delegate) { delegate_ = delegate; }
    QColorDialog* colorPanel() const { return colorPanel_; }

    // Shows the system colour panel, or closes it when this controller shows it.
    void showColorsButtonClick();
    // A colour from a notification, the panel, or neither (then the previous one is sent again).
    void selectColor(const QColor* fromSender = nullptr);
    void shouldBeClosed();

private:
    QPointer<QColorDialog> colorPanel_;
    QColor selectedColor_;
    CustomColorpickerControllerDelegate* delegate_ = nullptr;
    QMetaObject::Connection panelConnection_;
};

} // namespace pimavo
