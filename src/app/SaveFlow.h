// Writing the picture away from the window's thread, and waiting for it without freezing the window.
//
// A save runs on a thread of its own: rendering the full-size picture and encoding it take seconds
// for a big photo (tens of seconds as HEIC). Meanwhile the window's thread goes on handling events:
// the window repaints and its timers run, while the user's input to it is held back so that nothing
// changes under the save. After a moment a panel shows the save's progress with a Cancel button.
//
// Cancelling is all-or-nothing: either the save stops before its file replaces the target (the
// target stays byte for byte as it was, the temporary file is removed), or the file had already
// been put in place and the save counts as done. A save that is still winding down after Cancel
// (an encoder that cannot be interrupted) finishes on its own; the flow waits for it before the
// program ends, so no half-written file is ever left behind.
#pragma once

#include <QLabel>
#include <QObject>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QString>
#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace pimavo {

class OverlayDialog;

// One save's state, shared between the window's thread and the thread that writes.
class SaveTicket {
public:
    // Between rows and before any long step: false once the save was cancelled.
    bool keepGoing() const { return state_.load() == Running; }
    // Just before the finished file replaces the target: true commits the save (Cancel comes too
    // late from then on), false abandons it.
    bool commit() {
        int expected = Running;
        return state_.compare_exchange_strong(expected, Committed) || expected == Committed;
    }
    // True when the save will not replace the target; false when it already committed.
    bool cancel() {
        int expected = Running;
        return state_.compare_exchange_strong(expected, Cancelled) || expected == Cancelled;
    }
    // The fraction done, 0 to 1, when the writer knows it (−1: unknown).
    void setProgress(double fraction) { progress_.store(fraction); }
    double progress() const { return progress_.load(); }

private:
    enum { Running, Cancelled, Committed };
    std::atomic<int> state_{Running};
    std::atomic<double> progress_{-1};
};

class SaveFlow : public QObject {
    Q_OBJECT
public:
    enum class Outcome { Saved, Failed, Cancelled };
    struct Result {
        Outcome outcome = Outcome::Failed;
        QString error; // for Failed: names the file and says why
    };
    // The work of one save, run on another thread. It answers false with the reason on failure;
    // it asks the ticket as it goes and commits through it before replacing the target.
    using Work = std::function<bool(SaveTicket& ticket, std::string& error)>;

    // `window`: whose input is held back, and over whose `content` the progress panel shows.
    SaveFlow(QWidget* window, QWidget* content);
    ~SaveFlow() override; // waits for saves still winding down

    // Runs `work` and returns once it ended or was cancelled; `name` is what the panel says is being
    // saved. Events are handled meanwhile. Not reentrant: a run while another is under way fails.
    // `cancellable`: false for work that cannot stop short of replacing its target (no Cancel).
    Result run(const QString& name, Work work, bool cancellable = true);
    bool isSaving() const { return running_ != nullptr; }
    // As the panel's Cancel button does.
    void cancel();
    // Waits for every save thread to end, cancelled ones included (before the program ends).
    void waitForAll();

    // How long a save runs before the progress panel shows.
    int progressDelayMs = 400;
    // Called on the save's thread before its work starts (tests hold a save there).
    std::function<void()> workStarts;
    QWidget* progressPanel() const;
    QPushButton* cancelButton() const { return cancelButton_; }

    // Runs `next` now, or once the save under way ended: what arrives from outside the window
    // meanwhile (a photo opened from the desktop) must not change it under the save.
    void whenIdle(std::function<void()> next);

    // Called once the run under way ended, when the user asked to close the window during it.
    std::function<void()> onCloseRequested;
    // The user asked to close the window (or quit) while a save is under way: done once it ends.
    void requestClose() { closeRequested_ = true; }

signals:
    void progressShown();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Job;
    void showProgress(const QString& name);
    void hideProgress();
    void reap();

    QWidget* window_;
    QWidget* content_;
    std::shared_ptr<Job> running_;
    std::vector<std::shared_ptr<Job>> jobs_; // threads not yet joined
    std::unique_ptr<OverlayDialog> dialog_;
    QPointer<QWidget> panel_;
    QPointer<QLabel> label_;
    QPointer<QProgressBar> bar_;
    QPointer<QPushButton> cancelButton_;
    bool closeRequested_ = false;
    std::vector<std::function<void()>> afterRun_;
};

} // namespace pimavo
