// A choice among a few rows (output size, visibility, album, blog): a button titled with the chosen
// row that opens the pop-up list under itself. The chosen row is kept in the settings when the list
// is one of Settings::ShareChoice, else for this popup's life; a kept row that no longer exists
// counts as the first.
#pragma once

#include "core/Settings.h"
#include "widgets/PopupList.h"

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QStringListModel>
#include <optional>

namespace pimavo {
class ImageButton;
class Settings;
} // namespace pimavo

namespace pimavo::sharing {

class ChoicePopup : public QObject {
    Q_OBJECT
public:
    // `rowHeight`: the list's row pitch (20 for sizes, 26 for a service's lists).
    ChoicePopup(QWidget* buttonParent, Settings* settings, std::optional<Settings::ShareChoice> kept,
                int rowHeight);
    ~ChoicePopup() override;

    ImageButton* button() const { return button_; }
    void setRows(const QStringList& rows);
    QStringList rows() const { return rows_.stringList(); }
    int selectedIndex() const;
    // Chooses a row as a click in the list does: stored, and the button retitled.
    void choose(int index);

    void showList();
    void hideList();
    PopupList* list() const { return list_; }

signals:
    void chosen(int index);
    void listShown();
    void listHidden();

private:
    void retitle();

    ImageButton* button_;
    Settings* settings_;
    std::optional<Settings::ShareChoice> kept_;
    int chosen_ = 0;
    int rowHeight_;
    QStringListModel rows_;
    QPointer<PopupList> list_;
};

} // namespace pimavo::sharing
