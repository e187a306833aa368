#include "WindowReview.h"

#include "EditorWindow.h"
#include "WindowHelp.h"
#include "core/Settings.h"
#include "widgets/FramedPanel.h"
#include "widgets/ImageButton.h"
#include "widgets/WidgetStyle.h"

#include <QLabel>
#include <QNetworkInformation>

namespace pimavo {

namespace {

bool reachable() {
    if (!QNetworkInformation::instance() && !QNetworkInformation::loadDefaultBackend()) return false;
    auto* info = QNetworkInformation::instance();
    return info && info->reachability() == QNetworkInformation::Reachability::Online;
}

} // namespace

WindowReview::WindowReview(EditorWindow* window) : QObject(window), window_(window) {}

void WindowReview::countSave(bool mayPrompt) {
    Settings* settings = window_->settings_;
    int count = 0;
    if (!settings->reviewDeclined()) {
        count = settings->savesSinceReviewPrompt() + 1;
        settings->setSavesSinceReviewPrompt(count);
    }
    if (!mayPrompt) return;
    const auto& reachableNow = window_->services.networkReachable;
    if (count >= 3 && (reachableNow ? reachableNow() : reachable())) {
        settings->setSavesSinceReviewPrompt(0);
        showPrompt();
    }
}

void WindowReview::showPrompt() {
    if (prompt_) return;
    window_->setDisabledInteractions(true);
    if (CanvasView* canvas = window_->painterView()) canvas->setEnabled(false);
    QWidget* content = window_->contentView();
    auto* cover = new FramedPanel(content);
    cover->setBackgroundColor(QColor(0, 0, 0, 128));
    cover->setGeometry(content->rect());
    prompt_ = cover;
    auto* panel = new FramedPanel(cover);
    panel->setType(FramedPanel::DialogLook);
    const int w = 400, h = 190;
    panel->setGeometry((cover->width() - w) / 2, (cover->height() - h) / 2, w, h);
    auto* title = new QLabel(tr("Enjoying Pimavo?"), panel);
    title->setFont(style::uiFont(15, true));
    title->setStyleSheet("color: white;");
    title->setGeometry(24, 20, w - 48, 26);
    auto* body = new QLabel(
        tr("If Pimavo helps you make pictures you like, a short review helps other photographers find it."),
        panel);
    body->setWordWrap(true);
    body->setFont(style::uiFont(11));
    body->setStyleSheet("color: rgb(174,174,180);");
    body->setGeometry(24, 52, w - 48, 60);
    auto button = [&](const char* key, int x, std::function<void()> run, bool accent = false) {
        auto* b = new ImageButton(panel);
        b->setImage(accent ? "button_on" : "button");
        b->setAlternateImage("button_pressed");
        b->setStretchCorner(4);
        b->setText(tr(key));
        b->setFont(style::uiFont(11));
        b->setGeometry(x, h - 46, 112, 26);
        b->setAction([run](ImageButton*) { run(); });
        return b;
    };
    button(QT_TR_NOOP("No, Thanks"), 24, [this] { finish(true); });
    button(QT_TR_NOOP("Remind Me Later"), 144, [this] { finish(false); });
    button(
        QT_TR_NOOP("Write a Review"), 264,
        [this] {
            // The review page the preferences name, as Help ▸ Leave a Review opens it.
            window_->help()->openWebPage(Settings::WebPage::Review);
            finish(false);
        },
        true);
    cover->show();
    cover->raise();
}

void WindowReview::finish(bool never) {
    if (never) window_->settings_->setReviewDeclined(true);
    if (prompt_) {
        prompt_->hide();
        prompt_->deleteLater();
        prompt_ = nullptr;
        window_->setDisabledInteractions(false);
    }
    if (CanvasView* canvas = window_->painterView()) canvas->setEnabled(true);
}

} // namespace pimavo
