#include "sharing/ChoicePopup.h"

#include "core/Settings.h"
#include "widgets/ImageButton.h"
#include "widgets/WidgetStyle.h"

#include <QMainWindow>
#include <algorithm>

namespace pimavo::sharing {

namespace {
// The list covers the window's content, as the other pop-up lists do: the widget just below the
// top-level one (the main window's content view, or a test's host window).
QWidget* listHost(QWidget* from) {
    QWidget* w = from;
    while (w->parentWidget() && w->parentWidget()->parentWidget()) w = w->parentWidget();
    if (auto* main = qobject_cast<QMainWindow*>(w->parentWidget()); main && main->centralWidget())
        return main->centralWidget();
    return w->parentWidget() ? w : from;
}
} // namespace

ChoicePopup::ChoicePopup(QWidget* buttonParent, Settings* settings, std::optional<Settings::ShareChoice> kept,
                         int rowHeight)
    : QObject(buttonParent), settings_(settings), kept_(kept), rowHeight_(rowHeight) {
    button_ = new ImageButton(buttonParent);
    button_->setImage("button");
    button_->setAlternateImage("button_pressed");
    button_->setDisabledImage("button_dis");
    button_->setStretchCorner(4);
    button_->setFont(style::uiFont(12));
    button_->setAction([this](ImageButton*) {
        if (list_)
            hideList();
        else
            showList();
    });
}

ChoicePopup::~ChoicePopup() {
    delete list_.data();
}

void ChoicePopup::setRows(const QStringList& rows) {
    rows_.setStringList(rows);
    retitle();
}

int ChoicePopup::selectedIndex() const {
    const int stored = settings_ && kept_ ? settings_->shareChoice(*kept_) : chosen_;
    return stored >= 0 && stored < rows_.rowCount() ? stored : 0;
}

void ChoicePopup::choose(int index) {
    if (index < 0 || index >= rows_.rowCount()) return;
    chosen_ = index;
    if (settings_ && kept_) settings_->setShareChoice(*kept_, index);
    retitle();
    emit chosen(index);
}

void ChoicePopup::retitle() {
    const QStringList rows = rows_.stringList();
    button_->setText(rows.isEmpty() ? QString()
                                    : rows.value(selectedIndex()) + QString::fromUtf8("  \u25BE"));
    button_->setEnabled(rows.size() > 1);
}

void ChoicePopup::showList() {
    if (list_ || rows_.rowCount() == 0) return;
    QWidget* host = listHost(button_);
    // The list's lower-left corner, counted upwards: it hangs just under the button, or sits above
    // it when the window has no room below.
    const QPoint topLeft = button_->mapTo(host, QPoint(0, 0));
    const int n = rows_.rowCount();
    const double height = std::min(800, n * (rowHeight_ - 1)) + (n <= 9 ? 12 : 0);
    const double below = host->height() - (topLeft.y() + button_->height());
    const double y = below - height - 2 >= 0 ? below - height - 2 : below + button_->height() + 2;
    const QPointF origin(topLeft.x(), y);
    auto* list = new PopupList(host->rect(), origin, host);
    list->setModel(&rows_);
    list->setListWidth(button_->width());
    list->setRowHeight(rowHeight_);
    list->setCurrentRow(selectedIndex());
    // The list is named as its button is (after what it chooses, or by the choice it shows).
    list->setAccessibleName(button_->accessibleName().isEmpty() ? button_->text()
                                                                : button_->accessibleName());
    connect(list, &PopupList::rowChosen, this, [this, list](int row) {
        if (list == list_) choose(row);
    });
    connect(list, &PopupList::closeRequested, this, [this, list] {
        if (list == list_) hideList();
    });
    list_ = list;
    list->popUp();
    emit listShown();
}

void ChoicePopup::hideList() {
    if (!list_) return;
    PopupList* list = list_;
    list_ = nullptr;
    list->hide();
    list->deleteLater();
    emit listHidden();
}

} // namespace pimavo::sharing
