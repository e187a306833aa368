// Pimavo: the selective-colour photo editor.
//   pimavo [PHOTO]
#include "EditorApplication.h"
#include "PhotoPrefetch.h"
#include "ScreenColour.h"
#include "SingleInstance.h"
#include "Translations.h"
#include "Version.h"
#include "WindowAutosave.h"
#include "WindowFrame.h"
#include "WindowStart.h"
#include "core/Dispatch.h"
#include "core/Logging.h"
#include "filters/FilterRegistration.h"
#include "imageio/ImageTypes.h"
#include "widgets/WidgetStyle.h"

#include <QApplication>
#include <QFileInfo>
#include <QProxyStyle>
#include <QScreen>
#include <QStyleFactory>
#include <QTextStream>
#include <ctime>
#include <filesystem>
#include <optional>
#include <string_view>

using namespace pimavo;

namespace {

// Fusion, without what looks wrong on the dark palette: icons on dialog buttons ("OK" with a
// green arrow) and the light etching under disabled text, which doubles it.
class EditorStyle : public QProxyStyle {
public:
    EditorStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* data) const override {
        if (hint == SH_DialogButtonBox_ButtonsHaveIcons || hint == SH_EtchDisabledText) return 0;
        return QProxyStyle::styleHint(hint, option, widget, data);
    }
};

// The answers to --help and --version, given without opening a window (or needing a display).
std::optional<int> answerCommandLine(int argc, char** argv) {
    QTextStream out(stdout);
    for (int i = 1; i < argc; ++i) {
        const std::string_view a = argv[i];
        if (a == "--version" || a == "-v") {
            out << PIMAVO_NAME << ' ' << PIMAVO_VERSION << '\n';
            return 0;
        }
        if (a == "--help" || a == "-h") {
            out << ("Usage: pimavo [PHOTO]\n"
                    "The selective-colour photo editor: opens PHOTO (a JPEG, PNG, TIFF, HEIC, WebP, a "
                    "camera\n"
                    "raw file or a .pimavo project), or the start screen without one.\n\n"
                    "  -h, --help     show this and leave\n"
                    "  -v, --version  show the version and leave\n\n"
                    "Without a window: pimavo-cli --help.\n");
            return 0;
        }
    }
    return std::nullopt;
}

} // namespace

int main(int argc, char** argv) {
    if (const auto answered = answerCommandLine(argc, argv)) return *answered;
    pimavo::routeLibraryLogging();
    for (int i = 1; i < argc; ++i)
        if (argv[i][0] != '-') {
            std::error_code ec;
            const auto file = std::filesystem::absolute(argv[i], ec);
            if (!ec) prefetch::start(file.lexically_normal().string());
            break;
        }
    QApplication app(argc, argv);
    // Declared after the application, so gone before it: a decode still running when the editor
    // leaves early must not hand its photo to a window that no longer exists.
    struct PrefetchEnd {
        ~PrefetchEnd() { prefetch::forget(); }
    } prefetchEnd;
    QApplication::setApplicationName(PIMAVO_NAME);
    QApplication::setOrganizationName(PIMAVO_NAME);
    QApplication::setApplicationVersion(PIMAVO_VERSION);
    QApplication::setDesktopFileName("org.pimavo.Pimavo");
    installTranslators();
    // Dialogs, menus and alerts in the editor's dark look: a light desktop theme beside the dark
    // window and panels would glare.
    QApplication::setStyle(new EditorStyle);
    QApplication::setPalette(style::darkPalette());
    filterRegistration();
    followScreenProfile(app);

    // A photo opened from the desktop while the editor runs goes to its window.
    QStringList paths;
    for (const QString& a : QApplication::arguments().mid(1))
        if (!a.startsWith('-')) paths << QFileInfo(a).absoluteFilePath();
    // Measuring start-up runs a private editor, beside any other.
    const bool measuring = qEnvironmentVariableIsSet("PIMAVO_FIRST_FRAME_REPORT");
    SingleInstance instance;
    if (!measuring && instance.sendToRunning(paths)) return 0;

    EditorApplication documents;
    EditorWindow* window = documents.currentDocumentController();
    // bench/first_frame.sh: print when the picture is first on screen, and leave.
    if (qEnvironmentVariableIsSet("PIMAVO_FIRST_FRAME_REPORT")) {
        window->onFirstFrame = [] {
            timespec now{};
            clock_gettime(CLOCK_REALTIME, &now);
            QTextStream(stdout) << "first frame at " << qint64(now.tv_sec) * 1000000000LL + now.tv_nsec
                                << Qt::endl;
            QApplication::exit(0);
        };
    }
    restoreFrame(*window, window->settings());
    window->show();
    if (!measuring)
        instance.listen([&documents](const QStringList& opened) {
            EditorWindow* w = documents.currentDocumentController();
            w->showNormal();
            w->raise();
            w->activateWindow();
            if (!opened.isEmpty()) documents.openDocumentWithContentsOfURL(opened.first());
        });
    // A photo given to open is on its way: the start screen is not to show meanwhile, not even
    // behind the recovery question.
    if (!paths.isEmpty()) window->start()->hold();
    // Work an earlier editor did not get to save comes first.
    if (!measuring) window->autosave()->offerRecovery();
    // Files given to open win over the welcome: the user knows what they came for.
    if (paths.isEmpty() && !measuring && !window->hasPhoto()) documents.showWelcomeScreenIfNeeded();
    if (!paths.isEmpty()) {
        prefetch::whenDone(
            [&documents, path = paths.first()] { documents.openDocumentWithContentsOfURL(path); });
    }
    // Which files open as photos is asked of the codec module, which takes a moment to load: asked
    // in the background once the window is up, so that the Open panel or a drop need not wait.
    if (!measuring)
        Dispatch::after(3,
                        [] { Dispatch::async(Dispatch::Priority::Background, [] { readableFileTypes(); }); });
    return app.exec();
}
