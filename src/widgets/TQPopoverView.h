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

class TQPopoverView;

class TQPopoverViewDataSource {
public:
    virtual ~TQPopoverViewDataSource() = default;
    virtual QStringList tqPopoverViewTableViewCellsArray(TQPopoverView* list) = 0;
    virtual int tqPopoverViewSelectedCellIndex(TQPopoverView* list) = 0;
    virtual QFont tqPopoverViewFont(TQPopoverView* list) = 0;
    virtual int tqPopoverViewTableViewWidth(TQPopoverView* list) = 0;
    virtual int tqPopoverViewTableCellHeight(TQPopoverView* list) = 0;
    virtual int tqPopoverViewMaxPopoverHeight(TQPopoverView* list) = 0;
};

class TQPopoverViewDelegate {
public:
    virtual ~TQPopoverViewDelegate() = default;
    virtual void tqPopoverViewDidSelectCellAtIndex(TQPopoverView* list, int index) = 0;
    virtual void tqPopoverViewWantsRelease(TQPopoverView* list, bool release) = 0;
    virtual bool tqPopoverViewHasBottomSeparatorAtIndex(TQPopoverView* list, int index) = 0;
};

// One row.
class TQPopoverViewCell : public QWidget {
    Q_OBJECT
public:
    TQPopoverViewCell(const QString& text, const QFont& font, QSize size, QWidget* parent);
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

class TQPopoverView : public QWidget {
    Q_OBJECT
public:
    // `frame` covers the owner's view; `tableViewOrigin` is the list's lower-left corner in it,
    // counted upwards from the bottom edge.
    TQPopoverView(const QRect& frame, QPointF tableViewOrigin, QWidget* parent);
    ~TQPopoverView() override;

    void setDataSource(TQPopoverViewDataSource* dataSource) { dataSource_ = dataSource; }
    void setDelegate(TQPopoverViewDelegate* delegate) { delegate_ = delegate; }

    void show();
    void deselectAllCells();

    QPointF tableViewOrigin() const { return tableViewOrigin_; }
    int maxPopoverHeight() const { return maxPopoverHeight_; }
    // The list's frame in this view (Qt coordinates) and the height of its rows' content.
    QRect listFrame() const;
    int contentHeight() const;
    int trackingCellIndex() const { return trackingCellIndex_; }
    TQPopoverViewCell* cell(int row) const { return cells_.value(row); }
    int rowAt(QPoint pointInView) const;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void releaseAction();
    void track(QPoint pointInView);

    TQPopoverViewDataSource* dataSource_ = nullptr;
    TQPopoverViewDelegate* delegate_ = nullptr;
    QPointF tableViewOrigin_;
    int maxPopoverHeight_ = 0;
    int pitch_ = 0;
    QHash<int, TQPopoverViewCell*> cells_;
    QScrollArea* scrollView_ = nullptr;
    QWidget* tableView_ = nullptr;
    int trackingCellIndex_ = -1;
    bool observing_ = false;
};

} // namespace pimavo
