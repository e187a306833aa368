#include "Question.h"

#include <QPushButton>

namespace pimavo {

int askQuestion(QWidget* parent, QMessageBox::Icon icon, const QString& message, const QString& info,
                const std::vector<QuestionButton>& buttons, int defaultButton) {
    QMessageBox box(icon, QStringLiteral("Pimavo"), message, QMessageBox::NoButton, parent);
    if (!info.isEmpty()) box.setInformativeText(info);
    std::vector<QPushButton*> added;
    for (const QuestionButton& b : buttons) added.push_back(box.addButton(b.text, b.role));
    box.addButton(QMessageBox::Cancel);
    if (defaultButton >= 0 && defaultButton < int(added.size()))
        box.setDefaultButton(added[std::size_t(defaultButton)]);
    box.setWindowModality(Qt::WindowModal);
    box.exec();
    for (std::size_t i = 0; i < added.size(); ++i)
        if (box.clickedButton() == added[i]) return int(i);
    return -1;
}

} // namespace pimavo
