#include "PopupList.h"

#include "ResourceImages.h"
#include "WidgetAccessibility.h"
#include "WidgetStyle.h"

#include <QAccessible>
#include <QGraphicsDropShadowEffect>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QResizeEvent>
#include <QScrollArea>
#include <QScrollBar>

namespace pimavo {

// ---- rows -------------------------------------------------------------------------------------

PopupListCell::PopupListCell(const QString& text, const QFont& font, QSize size, QWidget* parent)
    : QWidget(parent), text_(text), font_(font) {
    installWidgetAccessibility();
    resize(size);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void PopupListCell::select() {
    selected_ = true;
    update();
}

void PopupListCell::deselect() {
    selected_ = false;
    update();
}

void PopupListCell::setChecked(bool checked) {
    checked_ = checked;
    update();
}

void PopupListCell::setSeparatorColor(const QColor& color) {
    separator_ = color;
    update();
}

QString PopupListCell::checkImageName() const {
    if (!checked_) return {};
    return selected_ ? QStringLiteral("check_y") : QStringLiteral("check_b");
}

void PopupListCell::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), selected_ ? style::kAccent : style::kRowBackground);
    const QString check = checkImageName();
    if (!check.isEmpty()) ResourceImages::draw(p, QRectF(5, (height() - 11) / 2.0, 11, 11), check);
    p.setFont(font_);
    p.setPen(selected_ ? QColor(Qt::black) : QColor(Qt::white));
    const QRect textRect = rect().adjusted(20, 0, -1, 0);
    p.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter,
               QFontMetrics(font_).elidedText(text_, Qt::ElideRight, textRect.width()));
    if (separator_.isValid()) p.fillRect(QRect(0, height() - 1, width(), 1), separator_);
}

// ---- the list ---------------------------------------------------------------------------------

PopupList::PopupList(const QRect& frame, QPointF listOrigin, QWidget* parent)
    : QWidget(parent), font_(style::uiFont(13)), listOrigin_(listOrigin) {
    installWidgetAccessibility();
    setGeometry(frame);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    // The list is placed for the window as it is: a resize of the window closes it.
    if (QWidget* top = window(); top != this) {
        top->installEventFilter(this);
        observing_ = true;
    }
}

PopupList::~PopupList() = default;

QRect PopupList::listFrame() const {
    return scrollView_ ? scrollView_->geometry() : QRect();
}

int PopupList::contentHeight() const {
    return tableView_ ? tableView_->height() : 0;
}

void PopupList::popUp() {
    if (!model_ || scrollView_) return;
    const int n = model_->rowCount();
    const int W = width_;
    const int M = maxHeight_;
    const int T = n * (pitch_ - 1);
    if (M <= 669) listOrigin_.ry() -= 800 - M;
    int H = std::min(M, T);
    if (n <= 9) H += 12;

    // The origin is the list's lower-left corner, counted upwards.
    const int top = int(std::lround(height() - listOrigin_.y() - H));
    scrollView_ = new QScrollArea(this);
    scrollView_->setGeometry(int(std::lround(listOrigin_.x())), top, W, H);
    scrollView_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scrollView_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scrollView_->setFrameShape(QFrame::NoFrame);
    scrollView_->setFocusPolicy(Qt::NoFocus); // the list itself takes the keys
    scrollView_->setStyleSheet(QStringLiteral("QScrollArea { background: rgb(48,48,48); border: 1px solid "
                                              "rgb(20,20,22); border-radius: 10px; }"));
    auto* shadow = new QGraphicsDropShadowEffect(scrollView_);
    shadow->setColor(QColor(0, 0, 0, 178));
    shadow->setOffset(2, 0);
    shadow->setBlurRadius(4);
    scrollView_->setGraphicsEffect(shadow);

    tableView_ = new QWidget();
    tableView_->setMouseTracking(true);
    tableView_->setAttribute(Qt::WA_StyledBackground);
    tableView_->setStyleSheet(QStringLiteral("background: rgb(48,48,48);"));
    const int contentH = T > M ? T : H;
    tableView_->resize(W, contentH);
    const int top0 = n <= 9 ? 6 : 0; // the extra 12 points sit half above, half below the rows
    for (int r = 0; r < n; ++r) {
        const QModelIndex index = model_->index(r, 0);
        auto* cell = new PopupListCell(index.data(Qt::DisplayRole).toString(), font_, QSize(W, pitch_ - 2),
                                       tableView_);
        cell->move(0, top0 + r * (pitch_ - 1));
        if (index.data(SeparatorBelowRole).toBool()) cell->setSeparatorColor(QColor(64, 64, 64));
        cell->setChecked(r == currentRow_);
        cells_.insert(r, cell);
    }
    scrollView_->setWidget(tableView_);
    scrollView_->viewport()->installEventFilter(this);
    scrollView_->viewport()->setMouseTracking(true);
    tableView_->installEventFilter(this);
    scrollView_->QWidget::show();
    QWidget::show();
    raise();
    setFocus(Qt::PopupFocusReason);
    track(mapFromGlobal(QCursor::pos()));
    // A list opened from the keyboard, or under a pointer away from it, starts at the current choice.
    if (hoveredRow_ < 0) highlight(currentRow_);
}

void PopupList::highlight(int row) {
    if (row < 0 || row >= rowCount()) return;
    hoveredRow_ = row;
    deselectAllCells();
    cells_.value(row)->select();
    scrollView_->ensureWidgetVisible(cells_.value(row), 0, 0);
    if (QAccessible::isActive()) {
        QAccessibleEvent focus(cells_.value(row), QAccessible::Focus);
        QAccessible::updateAccessibility(&focus);
    }
}

void PopupList::choose(int row) {
    if (row < 0 || row >= rowCount()) return;
    emit rowChosen(row);
    requestClose();
}

void PopupList::keyPressEvent(QKeyEvent* event) {
    const int last = rowCount() - 1;
    switch (event->key()) {
    case Qt::Key_Up:
        highlight(hoveredRow_ <= 0 ? 0 : hoveredRow_ - 1);
        break;
    case Qt::Key_Down:
        highlight(hoveredRow_ < 0 ? 0 : std::min(last, hoveredRow_ + 1));
        break;
    case Qt::Key_Home:
        highlight(0);
        break;
    case Qt::Key_End:
        highlight(last);
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        choose(hoveredRow_);
        break;
    case Qt::Key_Escape:
        requestClose();
        break;
    default:
        // Tab and the window's keys leave the list alone; it stays up until something closes it.
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

int PopupList::rowAt(QPoint pointInView) const {
    if (!scrollView_ || !scrollView_->geometry().contains(pointInView)) return -1;
    const QPoint inTable = tableView_->mapFrom(this, pointInView);
    for (auto it = cells_.begin(); it != cells_.end(); ++it)
        if (it.value()->geometry().contains(inTable)) return it.key();
    return -1;
}

void PopupList::deselectAllCells() {
    for (PopupListCell* c : std::as_const(cells_)) c->deselect();
}

void PopupList::track(QPoint pointInView) {
    const int row = rowAt(pointInView);
    hoveredRow_ = row;
    if (row >= 0) {
        deselectAllCells();
        cells_.value(row)->select();
    } else if (!scrollView_ || !scrollView_->geometry().contains(pointInView)) {
        deselectAllCells();
    }
}

bool PopupList::eventFilter(QObject* watched, QEvent* event) {
    if (observing_ && watched == window() && event->type() == QEvent::Resize) {
        // Not the first layout of a window being shown: only a change of its size.
        if (static_cast<QResizeEvent*>(event)->oldSize().isValid()) requestClose();
        return false;
    }
    if (!scrollView_ || (watched != tableView_ && watched != scrollView_->viewport())) return false;
    auto* w = static_cast<QWidget*>(watched);
    switch (event->type()) {
    case QEvent::MouseMove: {
        const auto* me = static_cast<QMouseEvent*>(event);
        track(w->mapTo(this, me->position().toPoint()));
        return false;
    }
    case QEvent::Leave:
        deselectAllCells();
        hoveredRow_ = -1;
        return false;
    case QEvent::MouseButtonPress: {
        const auto* me = static_cast<QMouseEvent*>(event);
        const int row = rowAt(w->mapTo(this, me->position().toPoint()));
        if (me->button() == Qt::LeftButton && row >= 0) choose(row);
        return true;
    }
    default:
        return false;
    }
}

void PopupList::mousePressEvent(QMouseEvent* event) {
    // A press beside the list closes it.
    if ((event->button() == Qt::LeftButton || event->button() == Qt::RightButton) &&
        (!scrollView_ || !scrollView_->geometry().contains(event->position().toPoint()))) {
        emit closeRequested();
    }
    event->accept();
}

void PopupList::requestClose() {
    if (observing_) {
        window()->removeEventFilter(this);
        observing_ = false;
    }
    emit closeRequested();
}

} // namespace pimavo
