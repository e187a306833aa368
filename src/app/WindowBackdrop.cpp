#include "WindowBackdrop.h"

#include "EditorWindow.h"
#include "core/Settings.h"
#include "widgets/FramedPanel.h"
#include "widgets/PopupList.h"
#include "widgets/ResourceImages.h"
#include "widgets/WidgetStyle.h"

#include <QFontMetrics>
#include <QStringListModel>

namespace pimavo {

WindowBackdrop::WindowBackdrop(EditorWindow* window) : QObject(window), window_(window) {}

int WindowBackdrop::index() const {
    return window_->settings_->background();
}

void WindowBackdrop::show(int index) {
    EditorWindow& w = *window_;
    if (index < 0 || index > 3) return;
    w.backgroundView_->setPatternImageName(kBackdropPatterns[index]);
    // On the lightest background the shadows would look like dirt.
    w.shadowLeftView_->setVisible(index != 3);
    w.shadowRightView_->setVisible(index != 3);
    w.backgroundView_->update();
    if (w.painterView_) {
        const QString pattern = kBackdropPatterns[index];
        const qreal dpr = w.devicePixelRatioF();
        w.painterView_->setBackdrop(
            QBrush(ResourceImages::pixmap(pattern, ResourceImages::size(pattern).toSize(), dpr)));
    }
}

QString WindowBackdrop::name(int index) {
    static const char* const names[4] = {//: A window background colour
                                         QT_TR_NOOP("Dark Grey"),
                                         //: A window background colour
                                         QT_TR_NOOP("Grey"),
                                         //: A window background colour
                                         QT_TR_NOOP("Medium Grey"),
                                         //: A window background colour
                                         QT_TR_NOOP("Light Grey")};
    return index >= 0 && index < 4 ? tr(names[index]) : QString();
}

bool WindowBackdrop::areSideShadowsShown() const {
    return !window_->shadowLeftView_->isHidden();
}

void WindowBackdrop::popUpFrom(QPoint point) {
    if (list_) return;
    QStringList names;
    for (int i = 0; i < 4; ++i) names << name(i);
    // Wide enough for the longest name beside the check mark, in this language.
    const QFontMetrics metrics(style::uiFont(13));
    int widest = 0;
    for (const QString& name : names) widest = std::max(widest, metrics.horizontalAdvance(name));
    const int rows = int(names.size()), height = 20 * rows + 15, width = std::max(120, widest + 36);
    QWidget* content = window_->contentView_;
    const int W = content->width(), H = content->height();
    // Hang below the point when there is room, open to its left when it would pass the edge.
    const int yUp = H - point.y();
    double originY = yUp >= height ? yUp - height : yUp;
    double originX = point.x() + width > W ? point.x() - width : point.x();
    auto* list = new PopupList(QRect(0, 0, W, H), QPointF(originX, originY), content);
    list->setModel(new QStringListModel(names, list));
    list->setListWidth(width);
    list->setRowHeight(20);
    list->setCurrentRow(index());
    //: The name of the menu of window backgrounds, as a screen reader says it
    list->setAccessibleName(tr("Window background"));
    connect(list, &PopupList::rowChosen, this, &WindowBackdrop::choose);
    connect(list, &PopupList::closeRequested, this, [this, list] {
        if (list != list_) return;
        list_->hide();
        list_->deleteLater();
        list_ = nullptr;
    });
    list_ = list;
    list->popUp();
}

void WindowBackdrop::choose(int index) {
    window_->settings_->setBackground(index);
    show(index);
    window_->validateMenus();
}

} // namespace pimavo
