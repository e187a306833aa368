#include "AuxiliaryWindows.h"

#include "Version.h"
#include "core/Strings.h"
#include "core/UserDefaults.h"
#include "widgets/WidgetStyle.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>
#include <algorithm>

namespace pimavo {

namespace {

QString text(const char* key) {
    return Strings::shared().localized(QString::fromLatin1(key));
}

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

WelcomeWindow::WelcomeWindow(UserDefaults* defaults, QWidget* parent) : QDialog(parent) {
    darken(this);
    setWindowTitle(text("kWelcomeTitle"));
    auto* layout = new QVBoxLayout(this);
    auto* title = new QLabel("<h2>" + text("kWelcomeTitle") + "</h2>");
    auto* body = new QLabel(text("kWelcomeText"));
    body->setWordWrap(true);
    body->setTextFormat(Qt::RichText);
    auto* again = new QCheckBox(text("kWelcomeShowAtStart"));
    again->setChecked(defaults->boolForKey("showWelcomeScreenOnStartup"));
    connect(again, &QCheckBox::toggled, this, [defaults](bool on) {
        defaults->setBool("showWelcomeScreenOnStartup", on);
        defaults->synchronize();
    });
    auto* buttons = new QDialogButtonBox;
    QPushButton* start = buttons->addButton(text("kWelcomeStart"), QDialogButtonBox::AcceptRole);
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
    setWindowTitle(Strings::titleFromMenuText(text("kMenuAbout")));
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(QString("<h2>Pimavo %1</h2><p>%2</p><p>%3</p>")
                                 .arg(PIMAVO_VERSION, text("kAboutSummary"), text("kAboutLicence")));
    label->setWordWrap(true);
    label->setOpenExternalLinks(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(label);
    layout->addWidget(buttons);
    setMinimumWidth(380);
}

QString AcknowledgementsWindow::acknowledgementsText() {
    struct Row {
        const char *name, *licence, *what;
    } rows[] = {
        {"Qt 6", "LGPL-3.0-only", "windows, widgets, printing, settings"},
        {"OpenImageIO", "Apache-2.0", "reading and writing photo formats"},
        {"Exiv2", "GPL-2.0-or-later", "photo metadata"},
        {"libjpeg-turbo", "IJG and BSD-3-Clause", "JPEG"},
        {"libpng", "libpng-2.0", "PNG"},
        {"LibTIFF", "libtiff", "TIFF"},
        {"libdeflate", "MIT", "compression"},
        {"oneTBB", "Apache-2.0", "parallel loops"},
        {"libxkbcommon", "MIT", "keyboard layouts"},
        {"Sample photo “ladybird.jpg”", "GPL-2.0-or-later", "© 2008 Charles Barbin"},
    };
    QString html = "<table cellspacing='6'>";
    for (const Row& r : rows)
        html += QString("<tr><td><b>%1</b></td><td>%2</td><td>%3</td></tr>").arg(r.name, r.licence, r.what);
    return html + "</table>";
}

AcknowledgementsWindow::AcknowledgementsWindow(QWidget* parent) : QDialog(parent) {
    darken(this);
    setWindowTitle(Strings::titleFromMenuText(text("kMenuAcknowledgements")));
    auto* layout = new QVBoxLayout(this);
    auto* browser = new QTextBrowser;
    browser->setHtml("<p>" + text("kAcknowledgementsIntro") + "</p>" + acknowledgementsText());
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(browser);
    layout->addWidget(buttons);
    resize(560, 420);
}

PreferencesWindow::PreferencesWindow(UserDefaults* defaults, std::function<void(int)> backgroundChanged,
                                     QWidget* parent)
    : QDialog(parent) {
    darken(this);
    setWindowTitle(Strings::titleFromMenuText(text("kMenuPreferences")));
    auto* form = new QFormLayout(this);
    auto* welcome = new QCheckBox(text("kWelcomeShowAtStart"));
    welcome->setChecked(defaults->boolForKey("showWelcomeScreenOnStartup"));
    connect(welcome, &QCheckBox::toggled, this, [defaults](bool on) {
        defaults->setBool("showWelcomeScreenOnStartup", on);
        defaults->synchronize();
    });
    auto* background = new QComboBox;
    for (const char* name : {"Dark Gray", "Gray", "Medium Gray", "Light Gray"})
        background->addItem(Strings::shared().localized(name));
    background->setCurrentIndex(int(defaults->integerForKey("kBackgroundPopoverSelectedCellKey")));
    connect(background, &QComboBox::currentIndexChanged, this, [defaults, backgroundChanged](int i) {
        defaults->setInteger("kBackgroundPopoverSelectedCellKey", i);
        defaults->synchronize();
        if (backgroundChanged) backgroundChanged(i);
    });
    form->addRow(welcome);
    form->addRow(text("kPreferencesBackground"), background);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
}

} // namespace pimavo
