// The prompt that asks for a review after the picture has been saved a few times.
#include "EditorWindow.h"
#include "core/Strings.h"
#include "core/Settings.h"
#include "widgets/ImageButton.h"
#include "widgets/WidgetStyle.h"
#include "widgets/FramedPanel.h"

#include <QDesktopServices>
#include <QLabel>
#include <QNetworkInformation>
#include <QUrl>

namespace pimavo {

namespace {

QString text(const char* key) {
    return Strings::shared().localized(QString::fromLatin1(key));
}

bool reachable() {
    if (!QNetworkInformation::instance() && !QNetworkInformation::loadDefaultBackend()) return false;
    auto* info = QNetworkInformation::instance();
    return info && info->reachability() == QNetworkInformation::Reachability::Online;
}

} // namespace

void EditorWindow::countSavingForReview(std::function<void()> then) {
    const bool never = settings_->reviewDeclined();
    int count = 0;
    if (!never) {
        count = settings_->savesSinceReviewPrompt() + 1;
        settings_->setSavesSinceReviewPrompt(count);
    }
    if (then) {
        Dispatch::after(0, std::move(then));
        return;
    }
    if (count >= 3 && (services.networkReachable ? services.networkReachable() : reachable())) {
        settings_->setSavesSinceReviewPrompt(0);
        showWriteReviewAlert();
    }
}

void EditorWindow::showWriteReviewAlert() {
    if (reviewPrompt_) return;
    setDisabledInteractions(true);
    if (painterView_) painterView_->setEnabled(false);
    auto* cover = new FramedPanel(contentView_);
    cover->setBackgroundColor(QColor(0, 0, 0, 128));
    cover->setGeometry(contentView_->rect());
    reviewPrompt_ = cover;
    auto* panel = new FramedPanel(cover);
    panel->setType(FramedPanel::DialogLook);
    const int w = 400, h = 190;
    panel->setGeometry((cover->width() - w) / 2, (cover->height() - h) / 2, w, h);
    auto* title = new QLabel(text("kReviewTitle"), panel);
    title->setFont(style::uiFont(15, true));
    title->setStyleSheet("color: white;");
    title->setGeometry(24, 20, w - 48, 26);
    auto* body = new QLabel(text("kReviewText"), panel);
    body->setWordWrap(true);
    body->setFont(style::uiFont(11));
    body->setStyleSheet("color: rgb(174,174,180);");
    body->setGeometry(24, 52, w - 48, 60);
    auto button = [&](const char* key, int x, std::function<void()> run, bool accent = false) {
        auto* b = new ImageButton(panel);
        b->setImage(accent ? "button_on" : "button");
        b->setAlternateImage("button_pressed");
        b->setStretchCorner(4);
        b->setText(text(key));
        b->setFont(style::uiFont(11));
        b->setGeometry(x, h - 46, 112, 26);
        b->setAction([run](ImageButton*) { run(); });
        return b;
    };
    button("kReviewNo", 24, [this] { modalViewControllerDidFinish(true); });
    button("kReviewLater", 144, [this] { modalViewControllerDidFinish(false); });
    button(
        "kReviewRate", 264,
        [this] {
            QDesktopServices::openUrl(QUrl(Strings::shared().string("kStringReviewLink")));
            modalViewControllerDidFinish(false);
        },
        true);
    cover->show();
    cover->raise();
}

void EditorWindow::modalViewControllerDidFinish(bool cancelled) {
    if (cancelled) {
        settings_->setReviewDeclined(true);
    }
    if (reviewPrompt_) {
        reviewPrompt_->hide();
        reviewPrompt_->deleteLater();
        reviewPrompt_ = nullptr;
        setDisabledInteractions(false);
    }
    if (painterView_) painterView_->setEnabled(true);
}

} // namespace pimavo
