// A choice among a few rows (output size, visibility, album, blog): a button titled with the chosen
// row that opens the pop-up list under itself. The chosen row is kept in a defaults key; a stored
// row that no longer exists counts as the first.
#pragma once

#include "widgets/TQPopoverView.h"

#include <QObject>
#include <QPointer>
#include <QStringList>

namespace pimavo {
class TQButton;
class UserDefaults;
} // namespace pimavo

namespace pimavo::sharing {

class TQChoiceViewController : public QObject, public TQPopoverViewDataSource, public TQPopoverViewDelegate {
    Q_OBJECT
public:
    // `rowHeight`: the list's row pitch (20 for sizes, 26 for a service's lists).
    TQChoiceViewController(QWidget* buttonParent, UserDefaults* defaults, const QString& key, int rowHeight);
    ~TQChoiceViewController() override;

    TQButton* button() const { return button_; }
    void setRows(const QStringList& rows);
    const QStringList& rows() const { return rows_; }
    int selectedIndex() const;
    // Chooses a row as a click in the list does: stored, and the button retitled.
    void choose(int index);

    void showList();
    void hideList();
    TQPopoverView* list() const { return list_; }

    // TQPopoverViewDataSource / TQPopoverViewDelegate
    QStringList tqPopoverViewTableViewCellsArray(TQPopoverView*) override { return rows_; }
    int tqPopoverViewSelectedCellIndex(TQPopoverView*) override { return selectedIndex(); }
    QFont tqPopoverViewFont(TQPopoverView*) override;
    int tqPopoverViewTableViewWidth(TQPopoverView*) override;
    int tqPopoverViewTableCellHeight(TQPopoverView*) override { return rowHeight_; }
    int tqPopoverViewMaxPopoverHeight(TQPopoverView*) override { return 800; }
    void tqPopoverViewDidSelectCellAtIndex(TQPopoverView* list, int index) override;
    void tqPopoverViewWantsRelease(TQPopoverView* list, bool release) override;
    bool tqPopoverViewHasBottomSeparatorAtIndex(TQPopoverView*, int) override { return false; }

signals:
    void chosen(int index);
    void listShown();
    void listHidden();

private:
    void retitle();

    TQButton* button_;
    UserDefaults* defaults_;
    QString key_;
    int rowHeight_;
    QStringList rows_;
    QPointer<TQPopoverView> list_;
};

} // namespace pimavo::sharing
