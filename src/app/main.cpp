// Pimavo: the selective-colour photo editor.
//   pimavo [PHOTO]
#include "Version.h"
#include "ZDDocumentController.h"
#include "filters/FilterRegistration.h"

#include <QApplication>
#include <QFileInfo>
#include <QScreen>

using namespace pimavo;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(PIMAVO_NAME);
    QApplication::setOrganizationName(PIMAVO_NAME);
    QApplication::setApplicationVersion(PIMAVO_VERSION);
    QApplication::setDesktopFileName("org.pimavo.Pimavo");
    filterRegistration();

    ZDDocumentController documents;
    BrimwellViewController* window = documents.currentDocumentController();
    const QSize screen = window->screen()->availableSize();
    window->resize(std::min(1440, screen.width() * 9 / 10), std::min(900, screen.height() * 9 / 10));
    window->show();
    // Files given to open win over the welcome: the user knows what they came for.
    bool opening = false;
    for (const QString& a : QApplication::arguments().mid(1)) opening = opening || !a.startsWith('-');
    if (!opening) documents.showWelcomeScreenIfNeeded();
    const QStringList args = QApplication::arguments().mid(1);
    for (const QString& a : args)
        if (!a.startsWith('-')) {
            documents.openDocumentWithContentsOfURL(QFileInfo(a).absoluteFilePath());
            break;
        }
    return app.exec();
}
