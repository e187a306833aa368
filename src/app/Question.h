// A question over the window: a window-modal message box titled with the program's name, its
// buttons in the order given and Cancel last.
#pragma once

#include <QMessageBox>
#include <QString>
#include <vector>

namespace pimavo {

struct QuestionButton {
    QString text;
    QMessageBox::ButtonRole role = QMessageBox::AcceptRole;
};

// The index of the button clicked, or -1 for Cancel (or the box closed).
int askQuestion(QWidget* parent, QMessageBox::Icon icon, const QString& message, const QString& info,
                const std::vector<QuestionButton>& buttons, int defaultButton = 0);

} // namespace pimavo
