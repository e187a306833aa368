#include "SaveFlow.h"

#include "core/FailureTranslation.h"
#include "widgets/OverlayDialog.h"

#include <QApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcutEvent>
#include <QTimer>
#include <QVBoxLayout>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <thread>
#include <unistd.h>

namespace pimavo {

struct SaveFlow::Job {
    std::thread thread;
    SaveTicket ticket;
    std::atomic<bool> done{false};
    bool ok = false;
    std::string error;
    bool cancelled = false; // main thread only
    bool cancellable = true;
    QEventLoop* loop = nullptr; // main thread only: the run waiting for this job
};

namespace {

bool isUserInput(QEvent::Type type) {
    switch (type) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
        return true;
    default:
        return false;
    }
}

} // namespace

SaveFlow::SaveFlow(QWidget* window, QWidget* content) : QObject(window), window_(window), content_(content) {}

SaveFlow::~SaveFlow() {
    waitForAll();
}

QWidget* SaveFlow::progressPanel() const {
    return panel_;
}

void SaveFlow::reap() {
    std::erase_if(jobs_, [](const std::shared_ptr<Job>& job) {
        if (!job->done.load()) return false;
        if (job->thread.joinable()) job->thread.join();
        return true;
    });
}

void SaveFlow::waitForAll() {
    for (const auto& job : jobs_)
        if (job->thread.joinable()) job->thread.join();
    jobs_.clear();
}

SaveFlow::Result SaveFlow::run(const QString& name, Work work, bool cancellable) {
    if (running_) return {Outcome::Failed, tr("Another picture is still being saved.")};
    reap();
    auto job = std::make_shared<Job>();
    job->cancellable = cancellable;
    QEventLoop loop;
    job->loop = &loop;
    running_ = job;
    jobs_.push_back(job);
    job->thread = std::thread([job, work = std::move(work), starts = workStarts] {
        // Behind the window's thread for the cores: the window keeps painting while this works.
        setpriority(PRIO_PROCESS, pid_t(syscall(SYS_gettid)), 10);
        std::string error;
        bool ok = false;
        if (starts) starts();
        try {
            ok = work(job->ticket, error);
        } catch (const std::exception& e) {
            error = e.what();
        }
        job->ok = ok;
        job->error = std::move(error);
        job->done.store(true);
        QMetaObject::invokeMethod(
            qApp,
            [job] {
                if (job->loop) job->loop->quit();
            },
            Qt::QueuedConnection);
    });

    // The user's input waits (only Cancel answers) while events keep the window painted.
    qApp->installEventFilter(this);
    QTimer delay;
    delay.setSingleShot(true);
    connect(&delay, &QTimer::timeout, this, [this, name] { showProgress(name); });
    delay.start(progressDelayMs);
    QTimer tick;
    connect(&tick, &QTimer::timeout, this, [this, job] {
        if (!bar_) return;
        const double p = job->ticket.progress();
        if (p < 0) {
            bar_->setRange(0, 0);
        } else {
            bar_->setRange(0, 1000);
            bar_->setValue(int(p * 1000));
        }
    });
    tick.start(100);
    if (!job->done.load()) loop.exec();
    job->loop = nullptr;
    // Left early without Cancel (the program is being ended): the save is still wanted, and the
    // file must not be left half-written, so it is waited for here.
    if (!job->cancelled && job->thread.joinable()) job->thread.join();
    qApp->removeEventFilter(this);
    hideProgress();
    running_.reset();
    reap();

    Result result;
    if (job->cancelled) {
        result.outcome = Outcome::Cancelled;
    } else if (job->ok) {
        result.outcome = Outcome::Saved;
    } else {
        result.outcome = Outcome::Failed;
        result.error = translatedFailure(job->error);
    }
    for (auto& next : std::exchange(afterRun_, {})) QTimer::singleShot(0, window_, std::move(next));
    if (std::exchange(closeRequested_, false) && onCloseRequested)
        QTimer::singleShot(0, window_, onCloseRequested);
    return result;
}

void SaveFlow::whenIdle(std::function<void()> next) {
    if (running_)
        afterRun_.push_back(std::move(next));
    else
        next();
}

void SaveFlow::cancel() {
    if (!running_ || running_->cancelled || !running_->cancellable) return;
    // Too late once the file replaced the target: the save then ends as done.
    if (!running_->ticket.cancel()) return;
    running_->cancelled = true;
    if (running_->loop) running_->loop->quit();
}

void SaveFlow::showProgress(const QString& name) {
    if (dialog_ || !running_) return;
    dialog_ = std::make_unique<OverlayDialog>(OverlayDialog::Bare);
    dialog_->setDialogSize(QSizeF(360, 150));
    auto* panel = new QWidget;
    panel->setGeometry(0, 0, 360, 150);
    panel->setAttribute(Qt::WA_TranslucentBackground);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(24, 20, 24, 18);
    auto* label = new QLabel(tr("Saving “%1”…").arg(name));
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    label->setStyleSheet("color: white; background: transparent;");
    layout->addWidget(label);
    auto* bar = new QProgressBar;
    bar->setRange(0, 0);
    bar->setTextVisible(false);
    layout->addWidget(bar);
    auto* cancel = new QPushButton(tr("Cancel"));
    cancel->setObjectName("saveCancelButton");
    connect(cancel, &QPushButton::clicked, this, &SaveFlow::cancel);
    layout->addWidget(cancel, 0, Qt::AlignHCenter);
    cancel->setVisible(running_->cancellable);
    dialog_->addSubview(panel);
    dialog_->showInView(content_);
    panel_ = panel;
    label_ = label;
    bar_ = bar;
    cancelButton_ = cancel;
    QApplication::setOverrideCursor(Qt::BusyCursor);
    emit progressShown();
}

void SaveFlow::hideProgress() {
    if (!dialog_) return;
    dialog_->hideDialogWithoutAnimation();
    dialog_.reset();
    QApplication::restoreOverrideCursor();
}

bool SaveFlow::eventFilter(QObject* watched, QEvent* event) {
    if (!running_ || !isUserInput(event->type())) return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget && panel_ && (widget == panel_ || panel_->isAncestorOf(widget))) return false;
    if (event->type() == QEvent::Shortcut) {
        const QKeySequence keys = static_cast<QShortcutEvent*>(event)->key();
        if (QKeySequence::keyBindings(QKeySequence::Quit).contains(keys)) requestClose();
    } else if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Escape && panel_) {
            cancel();
        } else if (key->matches(QKeySequence::Quit) || key->matches(QKeySequence::Close)) {
            requestClose(); // once the picture is written
        }
    }
    // Window-system objects pass: the widget events they turn into are the ones held back.
    if (!widget && event->type() != QEvent::Shortcut) return false;
    return true;
}

} // namespace pimavo
