// The pop-up choice list: a rounded, shadowed list of text rows that opens over the window, marks
// the current choice, highlights the row under the pointer, reports the chosen row and asks its
// owner to take it away (after a choice, a press outside, or a window resize). It never removes
// itself.
#pragma once

#include <QFont>
#include <QHash>
#include <QPointF>
#include <QPointer>
#include <QStringList>
#include <QWidget>

class QScrollArea;

namespace pimavo {

class PopupList;

class PopupListDataSource {
public:
    virtual ~PopupListDataSource() = default;
    virtual QStringList tqPopoverViewTableViewCellsArray(PopupList* list) = 0;
    virtual int tqPopoverViewSelectedCellIndex(PopupList* list) = 0;
    virtual QFont tqPopoverViewFont(PopupList* list) = 0;
    virtual int tqPopoverViewTableViewWidth(PopupList* list) = 0;
    virtual int tqPopoverViewTableCellHeight(PopupList* list) = 0;
    virtual int tqPopoverViewMaxPopoverHeight(PopupList* list) = 0;
};

class PopupListDelegate {
public:
    virtual ~PopupListDelegate() = default;
    virtual void tqPopoverViewDidSelectCellAtIndex(PopupList* list, int index) = 0;
    virtual void tqPopoverViewWantsRelease(PopupList* list, bool release) = 0;
    virtual bool tqPopoverViewHasBottomSeparatorAtIndex(PopupList* list, int index) = 0;
};

// One row.
class PopupListCell : public QWidget {
    Q_OBJECT
public:
    PopupListCell(const QString& text, const QFont& font, QSize size, QWidget* parent);
    void select();
    void deselect();
    void setChecked(bool checked);
    bool isChecked() const { return checked_; }
    bool isSelected() const { return selected_; }
    void setSeparatorColor(const QColor& color);
    const QString& text() const { return text_; }
    // The check mark shown now: "check_y" selected, "check_b" otherwise, none when not checked.
    QString checkImageName() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString text_;
    QFont font_;
    QColor separator_;
    bool checked_ = false, selected_ = false;
};

class PopupList : public QWidget {
    Q_OBJECT
public:
    // `frame` covers the owner's view; `tableViewOrigin` is the list's lower-left corner in it,
    // counted upwards from the bottom edge.
    PopupList(const QRect& frame, QPointF tableViewOrigin, QWidget* parent);
    ~PopupList() override;

    void setDataSource(PopupListDataSource* dataSource) { dataSource_ = dataSource; }
    void setDelegate(PopupListDelegate* delegate) { delegate_ = delegate; }

    void show();
    void deselectAllCells();

    QPointF tableViewOrigin() const { return tableViewOrigin_; }
    int maxPopoverHeight() const { return maxPopoverHeight_; }
    // The list's frame in this view (Qt coordinates) and the height of its rows' content.
    QRect listFrame() const;
    int contentHeight() const;
    int trackingCellIndex() const { return trackingCellIndex_; }
    PopupListCell* cell(int row) const { return cells_.value(row); }
    int rowAt(QPoint pointInView) const;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void releaseAction();
    void track(QPoint pointInView);

    PopupListDataSource* dataSource_ = nullptr;
    PopupListDelegate* delegate_ = nullptr;
    QPointF tableViewOrigin_;
    int maxPopoverHeight_ = 0;
    int pitch_ = 0;
    QHash<int, PopupListCell*> cells_;
    QScrollArea* scrollView_ = nullptr;
    QWidget* tableView_ = nullptr;
    int trackingCellIndex_ = -1;
    bool observing_ = false;
};

} // namespace pimavo
