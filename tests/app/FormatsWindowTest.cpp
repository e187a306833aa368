// Phone and web photos (HEIC, AVIF, WebP) in the window: they enter by every way a photo enters,
// and the Save As panel says what of a photo the chosen type cannot hold.
#include "WindowFixture.h"
#include "app/EditorWindow.h"
#include "app/StartScreen.h"
#include "app/WindowOpening.h"
#include "app/WindowSaving.h"
#include "core/Settings.h"
#include "import/ImportTestSupport.h"
#include "session/EditSession.h"

#include <QApplication>
#include <QClipboard>
#include <QDragEnterEvent>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <memory>

namespace pimavo::test {
namespace {

struct Window : WindowFixture {
    QString write(const QString& name, const QByteArray& bytes) {
        const QString path = dir.filePath(name);
        writeBytes(path, bytes);
        return path;
    }
};

std::string exiftool(const QString& args) {
    QProcess p;
    p.startCommand("exiftool -s3 " + args);
    p.waitForFinished(30000);
    return p.readAllStandardOutput().toStdString();
}

TEST(FormatsWindow, PhonePhotosEnterByEveryWayAPhotoEnters) {
    const QByteArray heic = testHeif(320, 240, "hevc"), avif = testHeif(320, 240, "av1");
    ASSERT_FALSE(heic.isEmpty() || avif.isEmpty()) << "vips could not make HEIF files";
    Window t;
    // Offered by name (a file manager's drag, a copied file), in any case, but never what is no photo.
    const struct {
        const char* name;
        bool accepted;
    } names[] = {{"IMG_0001.HEIC", true}, {"a.heif", true}, {"b.avif", true}, {"c.webp", true},
                 {"d.gif", false},        {"e.mov", false}, {"f.MP4", false}};
    for (const auto& n : names) {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(t.dir.filePath(n.name))});
        EXPECT_EQ(t.w->opening()->canOpen(&data), n.accepted) << n.name;
    }

    // The Open panel lists them, in capitals too.
    QStringList filters;
    t.w->services.openPanel = nullptr;
    onFileDialog([&](QFileDialog* dialog) {
        filters = dialog->nameFilters();
        dialog->reject();
    });
    t.w->opening()->showOpenPanel();
    ASSERT_EQ(filters.size(), 1);
    for (const char* pattern : {"*.heic", "*.HEIC", "*.heif", "*.avif", "*.webp", "*.jpg", "*.nef"})
        EXPECT_TRUE(filters[0].contains(QString(pattern) + " ") ||
                    filters[0].contains(QString(pattern) + ")"))
            << pattern;

    // Dropped on the start screen: opens as the file it is.
    auto* screen = t.w->contentView()->findChild<StartScreen*>();
    ASSERT_TRUE(screen);
    QMimeData dropped;
    dropped.setUrls({QUrl::fromLocalFile(t.write("IMG_0001.HEIC", heic))});
    const QPoint at = screen->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(screen, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(at), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(screen, &drop);
    ASSERT_TRUE(waitUntil([&] { return t.w->hasPhoto(); }, 10000));
    EXPECT_TRUE(t.w->representedFile().endsWith("IMG_0001.HEIC"));
    EXPECT_EQ(t.w->image()->width(), 320);

    // Pasted as the bytes of a picture (a browser's copy): opens as a new picture.
    QMimeData pasted;
    pasted.setData("image/avif", avif);
    ASSERT_TRUE(t.w->opening()->canOpen(&pasted));
    t.w->opening()->openFrom(&pasted);
    ASSERT_TRUE(waitUntil([&] { return t.w->representedFile().isEmpty(); }, 10000));
    EXPECT_EQ(t.w->image()->height(), 240);
    EXPECT_TRUE(t.alerts.isEmpty()) << t.alertTexts().join(" / ").toStdString();
}

TEST(FormatsWindow, SaveAsSaysWhatTheChosenTypeCannotHold) {
    Window t;
    // A camera photo with EXIF, XMP and a colour profile.
    const QString photo = t.dir.filePath("camera.jpg");
    ASSERT_TRUE(writeBytes(photo, testJpeg(320, 240)));
    QProcess::execute("vips",
                      {"icc_export", photo, t.dir.filePath("profiled.jpg"), "--output-profile", "srgb"});
    QFile::remove(photo);
    QFile::rename(t.dir.filePath("profiled.jpg"), photo);
    QProcess::execute("exiftool",
                      {"-q", "-overwrite_original", "-Make=Pimakers", "-XMP-dc:Subject=insects", photo});
    t.w->opening()->open(photo);
    ASSERT_TRUE(waitUntil([&] { return t.w->hasPhoto(); }, 10000));

    struct Case {
        const char* filter; // the start of the type's filter
        std::vector<const char*> said, notSaid;
    };
    const Case cases[] = {
        {"JPG", {}, {}},
        {"HEIC", {"XMP metadata", "colour profile"}, {"EXIF"}},
        {"BMP", {"camera details (EXIF)", "XMP metadata", "colour profile"}, {}},
        {"WEBP", {}, {}},
        // A project keeps the photo as it came, metadata and all.
        {"Pimavo Project", {}, {}},
    };
    std::map<std::string, QString> notes;
    onFileDialog([&](QFileDialog* dialog) {
        auto* note = dialog->findChild<QLabel*>("saveTypeNote");
        ASSERT_TRUE(note);
        for (const Case& c : cases) {
            const QString filter =
                dialog->nameFilters().filter(QRegularExpression("^" + QString(c.filter) + " ")).value(0);
            ASSERT_FALSE(filter.isEmpty()) << c.filter;
            dialog->selectNameFilter(filter);
            emit dialog->filterSelected(filter);
            notes[c.filter] = note->isVisibleTo(dialog) ? note->text() : QString();
        }
        // Saved as HEIC, what it says it keeps is there.
        const QString heic = dialog->nameFilters().filter(QRegularExpression("^HEIC ")).value(0);
        dialog->selectNameFilter(heic);
        emit dialog->filterSelected(heic);
        dialog->findChild<QLineEdit*>("fileNameEdit")->setText("saved.heic");
        QMetaObject::invokeMethod(dialog, "accept");
    });
    t.w->services.savePanel = nullptr;
    t.w->saving()->saveAs();
    for (const Case& c : cases) {
        const QString note = notes[c.filter];
        EXPECT_EQ(note.isEmpty(), c.said.empty()) << c.filter << ": " << note.toStdString();
        for (const char* s : c.said) EXPECT_TRUE(note.contains(s)) << c.filter << ": " << note.toStdString();
        for (const char* s : c.notSaid)
            EXPECT_FALSE(note.contains(s)) << c.filter << ": " << note.toStdString();
    }
    const QString saved = t.dir.filePath("saved.heic");
    ASSERT_TRUE(QFile::exists(saved)) << t.alertTexts().join(" / ").toStdString();
    EXPECT_EQ(exiftool("-FileType -Make " + saved), "HEIC\nPimakers\n");
}

} // namespace
} // namespace pimavo::test
