#include "FramedPanel.h"

#include "ResourceImages.h"

#include <QApplication>
#include <QGraphicsOpacityEffect>
#include <QMouseEvent>
#include <QPainter>
#include <QPropertyAnimation>

namespace pimavo {

namespace {

struct Family {
    const char* prefix;
    bool headerRow; // the top row comes from the "_s" variants
};

Family familyOf(int type) {
    switch (type) {
    case FramedPanel::AdjustmentsLook:
        return {"adj_", false};
    case FramedPanel::DialogLook:
        return {"dialog_", false};
    case FramedPanel::NotificationLook:
        return {"notification_", false};
    case FramedPanel::AdjustmentsHeaderLook:
        return {"adj_", true};
    case FramedPanel::DrawingLook:
        return {"drawing_", false};
    default:
        return {nullptr, false};
    }
}

} // namespace

FramedPanel::FramedPanel(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::ClickFocus);
}

FramedPanel::~FramedPanel() {
    if (!enabled_) qApp->removeEventFilter(this);
}

void FramedPanel::setType(int type) {
    if (type == type_) return;
    type_ = type;
    update();
}

void FramedPanel::setBackgroundColor(const QColor& color) {
    backgroundColor_ = color;
    update();
}

void FramedPanel::setBackgroundImageName(const QString& name) {
    backgroundImageName_ = name;
    background_ = QPixmap();
    update();
}

void FramedPanel::setPatternImageName(const QString& name) {
    patternImageName_ = name;
    update();
}

void FramedPanel::drawFrame(QPainter& p, const QRectF& r, int type) {
    const Family f = familyOf(type);
    if (!f.prefix) return;
    const QString pre = QString::fromLatin1(f.prefix);
    auto piece = [&](const char* col, const char* row) {
        QString name = pre + col + "_" + row;
        if (f.headerRow && QLatin1String(row) == QLatin1String("top")) name += "_s";
        return name;
    };
    const QSizeF corner = ResourceImages::size(piece("left", "top"));
    const qreal cw = std::min(corner.width(), r.width() / 2), ch = std::min(corner.height(), r.height() / 2);
    const qreal xs[4] = {r.left(), r.left() + cw, r.right() - cw, r.right()};
    const qreal ys[4] = {r.top(), r.top() + ch, r.bottom() - ch, r.bottom()};
    const char* cols[3] = {"left", "center", "right"};
    const char* rows[3] = {"top", "center", "bottom"};
    for (int j = 0; j < 3; ++j)
        for (int i = 0; i < 3; ++i) {
            const QRectF part(QPointF(xs[i], ys[j]), QPointF(xs[i + 1], ys[j + 1]));
            if (part.width() > 0 && part.height() > 0) ResourceImages::draw(p, part, piece(cols[i], rows[j]));
        }
}

void FramedPanel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    const QRectF r = rect();
    if (!backgroundImageName_.isEmpty()) {
        const qreal dpr = devicePixelRatioF();
        if (background_.isNull() || background_.size() != size() * dpr ||
            background_.devicePixelRatio() != dpr)
            background_ = ResourceImages::pixmap(backgroundImageName_, size(), dpr);
        p.drawPixmap(QPointF(0, 0), background_);
    }
    if (!patternImageName_.isEmpty()) ResourceImages::tile(p, r, patternImageName_);
    if (backgroundColor_.isValid()) p.fillRect(r, backgroundColor_);
    if (type_ >= 1 && type_ <= 5) drawFrame(p, r, type_);
}

void FramedPanel::mousePressEvent(QMouseEvent* event) {
    event->accept();
    emit pressed();
}

void FramedPanel::setEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    if (!fade_) {
        fade_ = new QGraphicsOpacityEffect(this);
        fade_->setOpacity(1.0);
        setGraphicsEffect(fade_);
    }
    auto* animation = new QPropertyAnimation(fade_, "opacity", this);
    animation->setDuration(250);
    animation->setEndValue(enabled ? 1.0 : 0.5);
    animation->start(QAbstractAnimation::DeleteWhenStopped);
    if (!enabled) {
        qApp->installEventFilter(this);
        auto* cover = new QWidget(this);
        cover->setGeometry(rect());
        cover->setAttribute(Qt::WA_NoSystemBackground);
        cover->show();
        cover->raise();
        disableView_ = cover;
    } else {
        qApp->removeEventFilter(this);
        delete disableView_;
    }
}

bool FramedPanel::eventFilter(QObject* watched, QEvent* event) {
    if (enabled_) return false;
    const QEvent::Type t = event->type();
    if (t != QEvent::MouseButtonPress && t != QEvent::MouseButtonDblClick && t != QEvent::Enter &&
        t != QEvent::HoverEnter)
        return false;
    auto* target = qobject_cast<QWidget*>(watched);
    if (!target || (target != this && !isAncestorOf(target))) return false;
    if (t == QEvent::MouseButtonPress || t == QEvent::MouseButtonDblClick) {
        const auto* me = static_cast<QMouseEvent*>(event);
        if (!rect().contains(mapFromGlobal(me->globalPosition()).toPoint())) return false;
    }
    return true; // swallowed
}

} // namespace pimavo
