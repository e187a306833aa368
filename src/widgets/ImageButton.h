// The program's push button: drawn from named images, with an on/off state, a pressed image, a
// disabled image, an optional title, and a target-action callback.
//
// Tab reaches it (a click does not take the keys from the picture); Space or Return clicks it, and
// a ring shows while it has the focus. Assistive tools name it by its accessible name, its title
// or, for a button that is only an image, its tool tip.
#pragma once

#include <QAbstractButton>
#include <functional>

namespace pimavo {

class ImageButton : public QAbstractButton {
    Q_OBJECT
public:
    enum class ButtonType {
        MomentaryChange, // shows the pressed image while held
        Toggle,          // each click flips the state; "on" shows the pressed image
    };

    explicit ImageButton(QWidget* parent = nullptr);

    void setButtonType(ButtonType type);
    ButtonType buttonType() const { return type_; }

    // Images: normal, pressed (and "on"), disabled. Names as in the resources.
    void setImage(const QString& name);
    void setAlternateImage(const QString& name);
    void setDisabledImage(const QString& name);
    // Normal and "_on" variants of one name; a "_dis" variant is taken when it exists.
    void setImages(const QString& baseName);
    const QString& image() const { return image_; }
    const QString& alternateImage() const { return alternate_; }

    // On/off state: 1 on, 0 off.
    int state() const { return isChecked() ? 1 : 0; }
    void setState(int state);

    // Draw the images as nine parts with corners of this size (0: stretched whole).
    void setStretchCorner(qreal corner) { stretchCorner_ = corner; }

    int tag() const { return tag_; }
    void setTag(int tag) { tag_ = tag; }

    // Called after each click, once the state has changed.
    void setAction(std::function<void(ImageButton*)> action) { action_ = std::move(action); }
    // Runs the action as a click would, without changing the state.
    void sendAction();

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void nextCheckState() override;
    void keyPressEvent(QKeyEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    ButtonType type_ = ButtonType::MomentaryChange;
    QString image_, alternate_, disabled_;
    int tag_ = 0;
    qreal stretchCorner_ = 0;
    bool hovered_ = false;
    std::function<void(ImageButton*)> action_;
};

} // namespace pimavo
