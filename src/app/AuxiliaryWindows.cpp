#include "AuxiliaryWindows.h"

#include "Version.h"
#include "WindowBackdrop.h"
#include "WindowHelp.h"
#include "core/MenuText.h"
#include "core/Settings.h"
#include "imageio/ImageTypes.h"
#include "session/EditSession.h"
#include "widgets/WidgetStyle.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QSpinBox>
#include <QTextBrowser>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace pimavo {

namespace {

// The program's own windows wear the panels' dark look, not the desktop's light one.
void darken(QWidget* w) {
    w->setPalette(style::darkPalette());
    w->setAutoFillBackground(true);
}

} // namespace

QPoint WelcomeWindow::placeAvoiding(QSize size, const QRect& panel, const QRect& buttons,
                                    const QRect& screen) {
    constexpr int gap = 16;
    const int centreX = panel.center().x() - size.width() / 2,
              centreY = panel.center().y() - size.height() / 2;
    auto fits = [&](QPoint at) { return screen.contains(QRect(at, size)); };
    for (QPoint at :
         {QPoint(centreX, panel.bottom() + gap), QPoint(centreX, panel.top() - gap - size.height()),
          QPoint(panel.right() + gap, centreY), QPoint(panel.left() - gap - size.width(), centreY)})
        if (fits(at)) return at;
    // No room beside the start screen: over its title and hint, but its buttons stay in sight.
    const int x =
        std::clamp(centreX, screen.left(), std::max(screen.left(), screen.right() + 1 - size.width()));
    const int above = buttons.top() - gap - size.height();
    if (above >= screen.top()) return {x, above};
    const int below = buttons.bottom() + gap;
    if (below + size.height() <= screen.bottom() + 1) return {x, below};
    return {x, screen.top()};
}

WelcomeWindow::WelcomeWindow(Settings* settings, QWidget* parent) : QDialog(parent) {
    darken(this);
    setWindowTitle(tr("Welcome to Pimavo"));
    auto* layout = new QVBoxLayout(this);
    auto* title = new QLabel("<h2>" + tr("Welcome to Pimavo") + "</h2>");
    auto* body = new QLabel(
        tr("<p>Open a photo: it appears with a grey background.</p><p><b>Paint</b> over what should keep its "
           "colour. <b>Erase</b> (X) takes colour away again; <b>[</b> and <b>]</b> change the brush size; "
           "hold <b>Space</b> to move the picture.</p><p>Choose a background treatment — grayscale, sepia, "
           "aged or silver blue — and adjust the colour and the background separately. <b>Compare</b> (Ctrl "
           "B) shows before and after side by side.</p>"));
    body->setWordWrap(true);
    body->setTextFormat(Qt::RichText);
    auto* again = new QCheckBox(tr("Show this window when Pimavo starts"));
    again->setChecked(settings->showWelcomeAtStart());
    connect(again, &QCheckBox::toggled, this, [settings](bool on) { settings->setShowWelcomeAtStart(on); });
    connect(settings, &Settings::changed, again, [settings, again](const QString& key) {
        if (key == Settings::showWelcomeKey()) again->setChecked(settings->showWelcomeAtStart());
    });
    auto* buttons = new QDialogButtonBox;
    QPushButton* start = buttons->addButton(tr("Start"), QDialogButtonBox::AcceptRole);
    start->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(title);
    layout->addWidget(body);
    layout->addWidget(again);
    layout->addWidget(buttons);
    setMinimumWidth(460);
}

AboutWindow::AboutWindow(QWidget* parent) : QDialog(parent) {
    darken(this);
    setWindowTitle(titleFromMenuText(tr("&About Pimavo")));
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(
        QString("<h2>Pimavo %1</h2><p>%2</p><p>%3</p>")
            .arg(PIMAVO_VERSION,
                 tr("Selective-colour photographs: paint a photo’s colour back over a treated background."),
                 tr("Free software under the GNU General Public License, version 3 or later.")));
    label->setWordWrap(true);
    label->setOpenExternalLinks(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(label);
    layout->addWidget(buttons);
    setMinimumWidth(380);
}

QString AcknowledgementsWindow::acknowledgementsText(const QString& librariesFile) {
    QFile file(librariesFile);
    QString libraries;
    if (!librariesFile.isEmpty() && file.open(QIODevice::ReadOnly))
        libraries = QString::fromUtf8(file.readAll());
    if (libraries.isEmpty())
        libraries =
            "<p><i>" + tr("The list of libraries was not installed with this copy of Pimavo.") + "</i></p>";
    // Content rather than code: the sample photo is not linked, so the build cannot list it.
    return "<p>" + tr("Pimavo is built on these libraries, with thanks to their authors:") + "</p>" +
           libraries + "<p>" + tr("Pictures that come with Pimavo:") +
           "</p><table cellspacing='6'><tr><td><b>ladybird.jpg</b></td><td>GPL-2.0-or-later</td>"
           "<td>\u00a9 2008 Charles Barbin</td></tr></table>";
}

AcknowledgementsWindow::AcknowledgementsWindow(const QString& librariesFile, QWidget* parent)
    : QDialog(parent) {
    darken(this);
    setWindowTitle(titleFromMenuText(tr("A&cknowledgements")));
    auto* layout = new QVBoxLayout(this);
    auto* browser = new QTextBrowser;
    browser->setObjectName("acknowledgements");
    browser->setOpenExternalLinks(true);
    browser->setHtml(acknowledgementsText(librariesFile));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(browser);
    layout->addWidget(buttons);
    resize(640, 480);
}

PreferencesWindow::PreferencesWindow(Settings* settings, std::function<void(int)> backgroundChanged,
                                     QWidget* parent, const EditSession* undo)
    : QDialog(parent) {
    darken(this);
    setWindowTitle(titleFromMenuText(tr("Pre&ferences…")));
    auto* form = new QFormLayout(this);
    auto* welcome = new QCheckBox(tr("Show this window when Pimavo starts"));
    welcome->setObjectName("start/showWelcome");
    welcome->setChecked(settings->showWelcomeAtStart());
    connect(welcome, &QCheckBox::toggled, this, [settings](bool on) { settings->setShowWelcomeAtStart(on); });
    // The welcome window has the same box: both say what is kept.
    connect(settings, &Settings::changed, welcome, [settings, welcome](const QString& key) {
        if (key == Settings::showWelcomeKey()) welcome->setChecked(settings->showWelcomeAtStart());
    });
    form->addRow(welcome);

    auto* background = new QComboBox;
    background->setObjectName("window/background");
    for (int i = 0; i < 4; ++i) background->addItem(WindowBackdrop::name(i));
    background->setCurrentIndex(settings->background());
    connect(background, &QComboBox::currentIndexChanged, this, [settings, backgroundChanged](int i) {
        settings->setBackground(i);
        if (backgroundChanged) backgroundChanged(i);
    });
    form->addRow(tr("Window background:"), background);

    auto* treatment = new QComboBox;
    treatment->setObjectName("editing/defaultTreatment");
    for (const char* name : {QT_TR_NOOP("Grayscale"), QT_TR_NOOP("Sepia"),
                             //: The look of an old, faded photograph
                             QT_TR_NOOP("Aged"), QT_TR_NOOP("Silver Blue")})
        treatment->addItem(tr(name));
    treatment->setCurrentIndex(settings->defaultTreatment());
    connect(treatment, &QComboBox::currentIndexChanged, this,
            [settings](int i) { settings->setDefaultTreatment(i); });
    form->addRow(tr("New photos start in:"), treatment);

    auto* type = new QComboBox;
    type->setObjectName("save/type");
    const QString chosenType = defaultSaveType(*settings);
    for (const std::string& ut : writableMimeTypes()) {
        type->addItem(QString::fromStdString(extensionForMimeType(ut)).toUpper(), QString::fromStdString(ut));
        if (QString::fromStdString(ut) == chosenType) type->setCurrentIndex(type->count() - 1);
    }
    connect(type, &QComboBox::currentIndexChanged, this,
            [settings, type](int i) { settings->setSaveType(type->itemData(i).toString()); });
    form->addRow(tr("Save pictures without a file as:"), type);

    auto* quality = new QSpinBox;
    quality->setObjectName("save/quality");
    quality->setRange(1, 100);
    quality->setSuffix(" %");
    quality->setValue(int(std::lround(settings->saveQuality() * 100)));
    connect(quality, &QSpinBox::valueChanged, this,
            [settings](int v) { settings->setSaveQuality(v / 100.0); });
    form->addRow(tr("JPEG and WebP quality:"), quality);

    auto* videos = new QLineEdit(settings->webPage(Settings::WebPage::Videos));
    videos->setObjectName(Settings::keyOf(Settings::WebPage::Videos));
    videos->setPlaceholderText(WindowHelp::ownAddress(Settings::WebPage::Videos).toString());
    videos->setMinimumWidth(320);
    // Emptied: back to the program's own list.
    connect(videos, &QLineEdit::editingFinished, this,
            [settings, videos] { settings->setWebPage(Settings::WebPage::Videos, videos->text()); });
    form->addRow(tr("Help videos list:"), videos);

    if (undo) {
        auto* history = new QLabel(tr("Undo keeps the last %n steps (up to %1).", nullptr, undo->undoLimit())
                                       .arg(QLocale().formattedDataSize(undo->memoryBudget(), 0,
                                                                        QLocale::DataSizeTraditionalFormat)));
        history->setObjectName("undoLimit");
        form->addRow(history);
    }

    // The keys a service gives a program registered with it; a build or the environment may bring
    // them too, and those win. Few users ever need them: they wait under Advanced, closed.
    auto* advanced = new QToolButton;
    advanced->setObjectName("advanced");
    advanced->setText(tr("Advanced"));
    advanced->setCheckable(true);
    advanced->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    advanced->setArrowType(Qt::RightArrow);
    advanced->setAutoRaise(true);
    form->addRow(advanced);
    auto* keys = new QWidget;
    keys->setObjectName("advancedSettings");
    auto* keysForm = new QFormLayout(keys);
    keysForm->setContentsMargins(0, 0, 0, 0);
    keys->hide();
    form->addRow(keys);
    connect(advanced, &QToolButton::toggled, this, [this, advanced, keys](bool open) {
        advanced->setArrowType(open ? Qt::DownArrow : Qt::RightArrow);
        keys->setVisible(open);
        adjustSize();
    });
    struct ServiceKey {
        Settings::ServiceKey key;
        const char* label;
        bool secret;
    };
    using K = Settings::ServiceKey;
    for (const ServiceKey& k : {ServiceKey{K::FlickrKey, QT_TR_NOOP("Flickr key:"), false},
                                ServiceKey{K::FlickrSecret, QT_TR_NOOP("Flickr secret:"), true},
                                ServiceKey{K::TumblrKey, QT_TR_NOOP("Tumblr key:"), false},
                                ServiceKey{K::TumblrSecret, QT_TR_NOOP("Tumblr secret:"), true}}) {
        auto* field = new QLineEdit(settings->serviceKey(k.key));
        field->setObjectName(Settings::keyOf(k.key));
        if (k.secret) field->setEchoMode(QLineEdit::PasswordEchoOnEdit);
        // Kept as it changes: a hidden field's first key clears it without counting as an edit, so
        // Tab or Return after emptying it would not say the editing finished. Emptied: removed.
        connect(field, &QLineEdit::textChanged, this,
                [settings, which = k.key](const QString& typed) { settings->setServiceKey(which, typed); });
        keysForm->addRow(tr(k.label), field);
    }

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
}

QString defaultSaveType(const Settings& settings) {
    // Earlier versions kept type ids ("public.png").
    const std::string stored = mimeTypeOfTypeName(settings.saveType().toStdString());
    const auto writable = writableMimeTypes();
    if (std::find(writable.begin(), writable.end(), stored) != writable.end())
        return QString::fromStdString(stored);
    return QStringLiteral("image/jpeg");
}

} // namespace pimavo
