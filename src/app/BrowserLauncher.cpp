#include "BrowserLauncher.h"

#include <QDesktopServices>
#include <QPointer>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>

namespace pimavo {

void openInBrowser(const QUrl& address, QObject* context, std::function<void()> failed) {
    QPointer<QObject> guard(context);
    const auto fail = [guard, failed] {
        if (guard && failed) failed();
    };
    const QString xdgOpen = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (xdgOpen.isEmpty()) {
        // Another desktop's way (a portal, a platform plugin of its own): it knows at once.
        if (!QDesktopServices::openUrl(address)) QTimer::singleShot(0, context, fail);
        return;
    }
    // No parent: deleting a QProcess ends its program, and a browser started by it (xdg-open may
    // wait for the browser) must outlive the window that asked.
    auto* process = new QProcess;
    process->setProgram(xdgOpen);
    process->setArguments({address.toString(QUrl::FullyEncoded)});
    process->setStandardOutputFile(QProcess::nullDevice());
    QObject::connect(process, &QProcess::finished, process,
                     [process, fail](int code, QProcess::ExitStatus status) {
                         process->deleteLater();
                         if (status != QProcess::NormalExit || code != 0) fail();
                     });
    QObject::connect(process, &QProcess::errorOccurred, process,
                     [process, fail](QProcess::ProcessError error) {
                         if (error != QProcess::FailedToStart) return;
                         process->deleteLater();
                         fail();
                     });
    process->start();
}

} // namespace pimavo
