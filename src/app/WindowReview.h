// The editing window's review prompt: after every third Save As while online, until the user
// declines for good, an in-window panel asks for a review of the program.
#pragma once

#include <QObject>
#include <QPointer>

namespace pimavo {

class EditorWindow;
class FramedPanel;

class WindowReview : public QObject {
    Q_OBJECT
public:
    explicit WindowReview(EditorWindow* window);

    // A Save As went through: counted, and the prompt shown after the third while online, unless
    // the save was made for something that comes next (`mayPrompt` false).
    void countSave(bool mayPrompt);
    void showPrompt();
    // The prompt's answer: declined for good (`never`), or later.
    void finish(bool never);
    bool isShown() const { return prompt_ != nullptr; }

private:
    EditorWindow* window_;
    QPointer<FramedPanel> prompt_;
};

} // namespace pimavo
