// The pop-up choice list: a rounded, shadowed list of text rows that opens over the window, marks
// the current choice, highlights the row under the pointer, reports the chosen row and asks its
// owner to take it away (after a choice, a press outside, or a window resize). It never removes
// itself.
//
// The rows come from a model: the text of each row is its display role in column 0, and a row with
// SeparatorBelowRole set to true has a line under it. The rows are read when the list pops up.
//
// From the keyboard: the list takes the focus as it pops up, with the current choice highlighted;
// the arrows, Home and End move the highlight, Return or Space choose the row, Escape closes.
#pragma once

#include <QAbstractItemModel>
#include <QFont>
#include <QHash>
#include <QPointF>
#include <QPointer>
#include <QWidget>

class QScrollArea;

namespace pimavo {

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
    bool hasSeparator() const { return separator_.isValid(); }
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
    Q_PROPERTY(QFont rowFont READ rowFont WRITE setRowFont)
    Q_PROPERTY(int listWidth READ listWidth WRITE setListWidth)
    Q_PROPERTY(int rowHeight READ rowHeight WRITE setRowHeight)
    Q_PROPERTY(int maximumListHeight READ maximumListHeight WRITE setMaximumListHeight)
    Q_PROPERTY(int currentRow READ currentRow WRITE setCurrentRow)
public:
    enum Role { SeparatorBelowRole = Qt::UserRole + 1 };

    // `frame` covers the owner's view; `listOrigin` is the list's lower-left corner in it, counted
    // upwards from the bottom edge.
    PopupList(const QRect& frame, QPointF listOrigin, QWidget* parent);
    ~PopupList() override;

    // The list does not take ownership of the model.
    void setModel(QAbstractItemModel* model) { model_ = model; }
    QAbstractItemModel* model() const { return model_; }

    QFont rowFont() const { return font_; }
    void setRowFont(const QFont& font) { font_ = font; }
    int listWidth() const { return width_; }
    void setListWidth(int width) { width_ = width; }
    // The pitch of the rows; neighbours overlap by a point.
    int rowHeight() const { return pitch_; }
    void setRowHeight(int height) { pitch_ = height; }
    // Up to this height the list grows with its rows, beyond it they scroll. A low maximum also
    // moves the list down, by what it falls short of 800.
    int maximumListHeight() const { return maxHeight_; }
    void setMaximumListHeight(int height) { maxHeight_ = height; }
    // The row with the check mark; -1 for none.
    int currentRow() const { return currentRow_; }
    void setCurrentRow(int row) { currentRow_ = row; }

    // Builds the rows from the model and shows the list over the owner's view.
    void popUp();
    void deselectAllCells();

    QPointF listOrigin() const { return listOrigin_; }
    // The list's frame in this view (Qt coordinates) and the height of its rows' content.
    QRect listFrame() const;
    int contentHeight() const;
    int hoveredRow() const { return hoveredRow_; }
    int rowCount() const { return int(cells_.size()); }
    PopupListCell* cell(int row) const { return cells_.value(row); }
    int rowAt(QPoint pointInView) const;
    // Chooses a row as a click on it does.
    void choose(int row);

signals:
    // A row was clicked; closeRequested follows.
    void rowChosen(int row);
    // The list is done with: after a choice, a press beside it, or the window resized.
    void closeRequested();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void requestClose();
    void track(QPoint pointInView);
    void highlight(int row);

    QPointer<QAbstractItemModel> model_;
    QFont font_;
    int width_ = 180;
    int pitch_ = 20;
    int maxHeight_ = 800;
    int currentRow_ = -1;
    QPointF listOrigin_;
    QHash<int, PopupListCell*> cells_;
    QScrollArea* scrollView_ = nullptr;
    QWidget* tableView_ = nullptr;
    int hoveredRow_ = -1;
    bool observing_ = false;
};

} // namespace pimavo
