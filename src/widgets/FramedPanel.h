// The plain view of the program: a background image, a tiled pattern, a colour and one of five
// framed panel looks; it can be disabled as a whole, and a press on it says so (pressed()), which
// ends the window's compare mode.
#pragma once

#include <QColor>
#include <QPixmap>
#include <QPointer>
#include <QString>
#include <QWidget>

class QGraphicsOpacityEffect;

namespace pimavo {

class FramedPanel : public QWidget {
    Q_OBJECT
public:
    // Panel looks: nine-part frames drawn from the images of a family.
    enum Look {
        NoLook = -1,
        AdjustmentsLook = 1,
        DialogLook = 2,
        NotificationLook = 3,
        AdjustmentsHeaderLook = 4, // the adjustments frame with a header row
        DrawingLook = 5
    };

    explicit FramedPanel(QWidget* parent = nullptr);
    ~FramedPanel() override;

    int type() const { return type_; }
    void setType(int type);

    QColor backgroundColor() const { return backgroundColor_; }
    void setBackgroundColor(const QColor& color);
    QString backgroundImageName() const { return backgroundImageName_; }
    void setBackgroundImageName(const QString& name);
    QString patternImageName() const { return patternImageName_; }
    void setPatternImageName(const QString& name);

    // Disabling greys the view out and swallows presses and hovering inside it; the rest of the
    // window keeps working. (QWidget's own enabled state is left alone so that children keep
    // their looks.)
    bool isEnabled() const { return enabled_; }
    void setEnabled(bool enabled);

    // The nine-part frame of a look over a rectangle.
    static void drawFrame(QPainter& painter, const QRectF& rect, int type);

signals:
    // A press landed on the panel itself, not on a control in it (one that ends the comparison).
    void pressed();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int type_ = NoLook;
    QColor backgroundColor_;
    QString backgroundImageName_, patternImageName_;
    // The background drawing at the view's size: drawing it anew on every paint behind a canvas
    // being painted on costs a vector rendering of the whole window each time.
    QPixmap background_;
    bool enabled_ = true;
    QPointer<QWidget> disableView_;
    QGraphicsOpacityEffect* fade_ = nullptr;
};

} // namespace pimavo
