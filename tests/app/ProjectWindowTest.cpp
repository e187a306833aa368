// Projects through the window: a project saved and reopened gives the same picture bit for bit,
// Save on a project saves the project, and the first Save over a photo the editor did not write
// asks before replacing it.
#include "WindowFixture.h"
#include "WrittenFile.h"
#include "app/EditorWindow.h"
#include "app/ExportController.h"
#include "app/WindowOpening.h"
#include "app/WindowSaving.h"
#include "app/WindowStart.h"
#include "canvas/CanvasView.h"
#include "core/Settings.h"
#include "document/ProjectDocument.h"
#include "engine/Renderer.h"
#include "imageio/ImageDecoder.h"
#include "imageio/ImageWriter.h"
#include "session/EditSession.h"
#include "toolbar/ToolPanel.h"
#include "widgets/ImageButton.h"
#include "widgets/ValueSlider.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace pimavo::test {
namespace {

using Replace = WindowServices::ReplaceAnswer;

// An editing window with its own settings; the dialogs answer as the test says.
struct Editor {
    QTemporaryDir& dir;
    Settings settings;
    EditSession session;
    EditorWindow w{&session, &settings};
    QStringList asked, alerts;
    Replace replace = Replace::Cancel;
    QString savePath;
    QString panelType; // the type the Save As panel was opened with
    explicit Editor(QTemporaryDir& folder) : dir(folder), settings(folder.filePath("prefs.ini")) {
        w.services.recentBookmarkFile = dir.filePath("recently-used.xbel");
        w.services.saveQuestion = [](const QString&) { return WindowServices::Answer::DontSave; };
        w.services.replaceQuestion = [this](const QString& message) {
            asked << "replace? " + message;
            return replace;
        };
        w.services.savePanel = [this](const QString&, const QString&, QString& mimeType, double&) {
            asked << "save as";
            panelType = mimeType;
            if (savePath.endsWith(".pimavo")) mimeType = ProjectDocument::kMimeType;
            return savePath;
        };
        w.services.alertShown = [this](const QString& m, const QString&) { alerts << m; };
        w.resize(1200, 800);
        w.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&w));
        EXPECT_TRUE(waitUntil([&] { return w.start()->isShown(); }));
    }
    ~Editor() {
        if (CanvasView* canvas = w.painterView()) {
            canvas->model().lookCache().waitUntilIdle();
            canvas->model().forgetLooks();
        }
    }
    void open(const QString& path) {
        w.opening()->open(path);
        EXPECT_TRUE(waitUntil([&] { return w.hasPhoto() && w.painterView(); }, 30000));
        processPendingEvents();
    }
    void stroke(QPoint from, QPoint to) {
        CanvasView* canvas = w.painterView();
        ASSERT_TRUE(canvas);
        QTest::mousePress(canvas, Qt::LeftButton, {}, from);
        QTest::mouseMove(canvas, (from + to) / 2);
        QTest::mouseMove(canvas, to);
        QTest::mouseRelease(canvas, Qt::LeftButton, {}, to);
        processPendingEvents(); // the step closes
    }
    void slide(ValueSlider* slider, double value) {
        slider->setDoubleValue(value);
        slider->sendAction();
    }
    QByteArray result() {
        BitmapRef picture = w.resultImage();
        if (!picture) return {};
        const auto bytes = picture->bytes();
        return QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
    }
};

// A photo of the sample's kind, small enough for the looks to be computed quickly.
QString smallPhoto(QTemporaryDir& dir, const QString& name = "photo.jpg") {
    const DecodeResult sample = decodeImageFile(PIMAVO_SAMPLE_PHOTO, false);
    if (!sample.image) return {};
    const Image photo =
        Image::imageWithBitmap(sample.image->bitmap).imageByApplyingTransform(Transform2D::scale(0.3, 0.3));
    const auto small = Renderer().createBitmap(photo, 8);
    const QString path = dir.filePath(name);
    std::string error;
    if (!small ||
        !writeImageFile(*small, path.toStdString(), SaveOptions{}, &sample.image->properties, &error))
        return {};
    return path;
}

// Where the panel's picture sliders stand, as the user sees them.
std::vector<double> sliderPositions(const ToolPanel& p) {
    std::vector<double> out;
    for (ValueSlider* s :
         {p.exposureSlider(), p.brightnessSlider(), p.saturationSlider(), p.contrastSlider(), p.hueSlider(),
          p.blurSlider(), p.vignetteSlider(), p.brightnessBackgroundSlider(), p.contrastBackgroundSlider(),
          p.saturationBackgroundSlider(), p.blurBackgroundSlider()})
        out.push_back(s->doubleValue());
    return out;
}

TEST(ProjectWindow, AReopenedProjectGivesThePictureBitForBit) {
    QTemporaryDir dir;
    const QString photo = smallPhoto(dir);
    ASSERT_FALSE(photo.isEmpty());
    const QString project = dir.filePath("work.pimavo");
    QByteArray before;
    PictureSettings settingsBefore;
    std::vector<double> slidersBefore, brushBefore;
    {
        Editor e(dir);
        e.open(photo);
        ToolPanel* panel = e.w.drawingToolbar();
        ASSERT_TRUE(panel && e.w.painterView());
        const QPoint c = e.w.painterView()->rect().center();
        // Paint, recolour, and change every kind of setting, the mapped sliders among them.
        e.stroke(c, c + QPoint(60, 20));
        panel->selectColor(QColor(40, 90, 220));
        panel->solidColorButtonClick();
        e.stroke(c + QPoint(-80, -40), c + QPoint(-20, -60));
        panel->drawMaskButtonClick();
        QTest::mouseClick(panel->agedModeButton(), Qt::LeftButton);
        panel->tabButton2Click();
        QTest::mouseClick(panel->presetSoft(), Qt::LeftButton);
        e.slide(panel->exposureSlider(), 0.7);
        e.slide(panel->contrastSlider(), 4.3);
        e.slide(panel->hueSlider(), -0.5);
        e.slide(panel->vignetteSlider(), 0.35);
        e.slide(panel->contrastBackgroundSlider(), 3.7);
        e.slide(panel->saturationBackgroundSlider(), 0.2);
        e.slide(panel->blurBackgroundSlider(), 3);
        before = e.result();
        settingsBefore = e.session.pictureSettings();
        slidersBefore = sliderPositions(*panel);
        brushBefore = panel->brush();
        ASSERT_FALSE(before.isEmpty());

        e.savePath = project;
        e.w.saving()->saveAsProject();
        EXPECT_EQ(e.panelType, ProjectDocument::kMimeType) << "the panel offers the project type first";
        EXPECT_FALSE(e.w.isEdited());
        EXPECT_EQ(e.w.windowTitle(), "work.pimavo[*]");
        EXPECT_TRUE(e.w.opening()->recent().contains(project));
        const auto thumbnail = readProjectThumbnail(project.toStdString());
        ASSERT_TRUE(thumbnail) << "a project carries a thumbnail of the picture";
        EXPECT_EQ(std::max(thumbnail->width(), thumbnail->height()), ProjectDocument::kThumbnailSide);
        EXPECT_TRUE(e.alerts.isEmpty()) << e.alerts.join('\n').toStdString();
    }
    // Another session: the project opens as it was left.
    Editor e(dir);
    e.open(project);
    ASSERT_TRUE(e.w.hasPhoto());
    EXPECT_TRUE(e.alerts.isEmpty()) << e.alerts.join('\n').toStdString();
    EXPECT_FALSE(e.w.isEdited());
    EXPECT_FALSE(e.session.canUndo()) << "a reopened project starts a fresh history";
    EXPECT_EQ(e.w.windowTitle(), "work.pimavo[*]");
    EXPECT_EQ(e.session.pictureSettings(), settingsBefore);
    EXPECT_EQ(e.w.painterView()->model().pictureSettings(), settingsBefore) << "the canvas renders them";
    // The sliders stand where they stood, a mapped slider (contrast) within a rounding step.
    const std::vector<double> slidersAfter = sliderPositions(*e.w.drawingToolbar());
    ASSERT_EQ(slidersAfter.size(), slidersBefore.size());
    for (std::size_t i = 0; i < slidersAfter.size(); ++i)
        EXPECT_NEAR(slidersAfter[i], slidersBefore[i], 1e-12) << i;
    EXPECT_EQ(e.w.drawingToolbar()->brush(), brushBefore);
    const QByteArray after = e.result();
    EXPECT_EQ(after.size(), before.size());
    EXPECT_TRUE(after == before) << "the result picture differs after reopening";
}

// Apply made the painting part of the photo: the project keeps that picture, and the photo as
// opened beside it.
TEST(ProjectWindow, APictureMadeByApplyComesBackToo) {
    QTemporaryDir dir;
    const QString photo = smallPhoto(dir);
    const QString project = dir.filePath("applied.pimavo");
    QByteArray before;
    {
        Editor e(dir);
        e.open(photo);
        const QPoint c = e.w.painterView()->rect().center();
        e.stroke(c, c + QPoint(60, 20));
        e.w.buttonPaintClick(); // Apply
        QTest::mouseClick(e.w.drawingToolbar()->sepiaModeButton(), Qt::LeftButton);
        e.stroke(c + QPoint(0, 70), c + QPoint(60, 90));
        before = e.result();
        e.savePath = project;
        e.w.saving()->saveAsProject();
        ASSERT_FALSE(e.w.isEdited());
    }
    const auto saved = readProjectFile(project.toStdString());
    ASSERT_TRUE(saved.project) << saved.error;
    EXPECT_TRUE(saved.project->photo) << "the applied picture is kept";
    EXPECT_TRUE(saved.project->originalBytes &&
                *saved.project->originalBytes == fileBytes(photo).toStdString());
    QByteArray plain; // the photo as a fresh opening shows it
    {
        Editor e(dir);
        e.open(photo);
        plain = e.result();
    }
    // Reopened, saved again and reopened: the applied picture is still the project's.
    const QString again = dir.filePath("again.pimavo");
    {
        Editor e(dir);
        e.open(project);
        EXPECT_TRUE(e.alerts.isEmpty()) << e.alerts.join('\n').toStdString();
        EXPECT_TRUE(e.result() == before) << "the result picture differs after reopening";
        e.savePath = again;
        e.w.saving()->saveAsProject();
    }
    Editor e(dir);
    e.open(again);
    EXPECT_TRUE(e.result() == before) << "saving the reopened project lost the applied picture";
    // Revert goes back to the photo as first opened, not to the picture Apply made.
    answerNextMessageBox(QMessageBox::DestructiveRole);
    e.w.revertToOriginalButtonClick();
    processPendingEvents();
    EXPECT_TRUE(e.result() == plain) << "Revert did not bring back the photo as first opened";
}

TEST(ProjectWindow, SaveOnAProjectSavesTheProjectAndLeavesThePhotoAlone) {
    QTemporaryDir dir;
    const QString photo = smallPhoto(dir);
    const QByteArray photoBytes = fileBytes(photo);
    const QString project = dir.filePath("work.pimavo");
    Editor e(dir);
    e.open(photo);
    const QPoint c = e.w.painterView()->rect().center();
    e.stroke(c, c + QPoint(40, 0));
    e.savePath = project;
    e.w.saving()->saveAsProject();
    const auto first = readProjectFile(project.toStdString());
    ASSERT_TRUE(first.project);

    e.stroke(c + QPoint(0, 80), c + QPoint(40, 90));
    QTest::mouseClick(e.w.drawingToolbar()->sepiaModeButton(), Qt::LeftButton);
    ASSERT_TRUE(e.w.isEdited());
    e.asked.clear();
    e.w.saving()->save();
    EXPECT_TRUE(e.asked.isEmpty()) << "no question, no panel: " << e.asked.join(", ").toStdString();
    EXPECT_FALSE(e.w.isEdited());
    const auto second = readProjectFile(project.toStdString());
    ASSERT_TRUE(second.project) << second.error;
    EXPECT_EQ(second.project->settings.treatment, Treatment::Sepia);
    EXPECT_TRUE(*second.project->originalBytes == photoBytes.toStdString());
    auto maskBytes = [](const ProjectDocument& p) {
        auto b =
            Renderer().createBitmap(p.mask, p.mask.extent(), PixelLayout{16, AlphaInfo::PremultipliedLast});
        return b ? QByteArray(reinterpret_cast<const char*>(b->bytes().data()), qsizetype(b->bytes().size()))
                 : QByteArray();
    };
    EXPECT_NE(maskBytes(*second.project), maskBytes(*first.project)) << "the second stroke is in the project";
    EXPECT_EQ(fileBytes(photo), photoBytes) << "the photo itself was not touched";
}

// Answering Save to the question on leaving saves a project where it is, without a Save As panel.
TEST(ProjectWindow, SaveOnLeavingAProjectSavesItWhereItIs) {
    QTemporaryDir dir;
    const QString photo = smallPhoto(dir);
    const QString project = dir.filePath("work.pimavo");
    {
        Editor e(dir);
        e.open(photo);
        e.savePath = project;
        e.w.saving()->saveAsProject();
    }
    const QByteArray before = fileBytes(project);
    Editor e(dir);
    e.open(project);
    const QPoint c = e.w.painterView()->rect().center();
    e.stroke(c, c + QPoint(50, 10));
    ASSERT_TRUE(e.w.isEdited());
    e.asked.clear();
    e.w.services.saveQuestion = [](const QString&) { return WindowServices::Answer::Save; };
    bool left = false;
    e.w.saving()->askToSave([&] { left = true; }, QString());
    EXPECT_TRUE(waitUntil([&] { return left; }, 5000));
    EXPECT_TRUE(e.asked.isEmpty()) << e.asked.join('\n').toStdString();
    EXPECT_FALSE(e.w.isEdited());
    EXPECT_NE(fileBytes(project), before) << "the project was not saved";
}

// A photo whose file ended early: the question says that replacing it writes the grey part in.
TEST(ProjectWindow, ReplacingAnIncompletePhotoSaysWhatIsLost) {
    for (const bool cutShort : {false, true}) {
        SCOPED_TRACE(cutShort ? "cut short" : "whole");
        QTemporaryDir dir;
        const QString photo = smallPhoto(dir, "holiday.jpg");
        if (cutShort) {
            QFile f(photo);
            ASSERT_TRUE(f.resize(f.size() * 6 / 10));
        }
        Editor e(dir);
        e.open(photo);
        ASSERT_TRUE(e.w.hasPhoto());
        const QPoint p = e.w.painterView()->rect().center();
        e.stroke(p, p + QPoint(30, 30));
        e.replace = Replace::Cancel;
        e.w.saving()->save();
        ASSERT_FALSE(e.asked.isEmpty());
        EXPECT_EQ(
            e.asked.first().contains(QString(
                "This photo’s file is incomplete: replacing it writes the grey part it could not read into "
                "the file for good, and whatever another program might still recover from it is lost.")),
            cutShort)
            << e.asked.first().toStdString();
    }
}

TEST(ProjectWindow, TheFirstSaveOverAPhotoAsksBeforeReplacingIt) {
    const struct {
        const char* what;
        Replace answer;
        bool replaced;
        QStringList asked; // after the question
        QString panelType;
    } cases[] = {
        {"replace", Replace::Replace, true, {}, {}},
        {"save as", Replace::SaveAs, false, {"save as"}, "image/jpeg"},
        {"save as project", Replace::SaveAsProject, false, {"save as"}, ProjectDocument::kMimeType},
        {"cancel", Replace::Cancel, false, {}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir dir;
        const QString photo = smallPhoto(dir, "holiday.jpg");
        const QByteArray original = fileBytes(photo);
        Editor e(dir);
        e.open(photo);
        const QPoint p = e.w.painterView()->rect().center();
        e.stroke(p, p + QPoint(30, 30));
        e.replace = c.answer;
        e.w.saving()->save();
        processPendingEvents(); // Save As follows on the next pass
        ASSERT_FALSE(e.asked.isEmpty());
        EXPECT_TRUE(e.asked.first().contains("“holiday.jpg”")) << e.asked.first().toStdString();
        EXPECT_EQ(e.asked.mid(1), c.asked);
        EXPECT_EQ(e.panelType, c.panelType);
        EXPECT_EQ(fileBytes(photo) != original, c.replaced);
        EXPECT_EQ(e.w.isEdited(), !c.replaced);
        // Once agreed, not again for this photo; otherwise the next Save asks again.
        e.asked.clear();
        e.stroke(p + QPoint(0, 60), p + QPoint(30, 90));
        e.replace = Replace::Cancel;
        e.w.saving()->save();
        processPendingEvents();
        EXPECT_EQ(e.asked.size(), c.replaced ? 0 : 1);
    }
}

TEST(ProjectWindow, AFileTheEditorWroteIsSavedOverWithoutAskingUntilSomeoneElseChangesIt) {
    QTemporaryDir dir;
    const QString photo = smallPhoto(dir);
    const QString copy = dir.filePath("copy.jpg");
    {
        Editor e(dir);
        e.open(photo);
        const QPoint p = e.w.painterView()->rect().center();
        e.stroke(p, p + QPoint(30, 30));
        e.savePath = copy;
        e.w.saving()->saveAs();
        ASSERT_FALSE(e.w.isEdited());
    }
    Editor e(dir); // a later session, same settings
    e.open(copy);
    const QPoint p = e.w.painterView()->rect().center();
    e.stroke(p, p + QPoint(-30, 30));
    e.w.saving()->save();
    EXPECT_TRUE(e.asked.isEmpty()) << e.asked.join(", ").toStdString();
    EXPECT_FALSE(e.w.isEdited());
    // Another program writes the file: it is no longer the editor's own.
    QFile::remove(copy);
    QFile::copy(photo, copy);
    e.stroke(p + QPoint(0, 50), p + QPoint(-30, 80));
    e.w.saving()->save();
    EXPECT_EQ(e.asked.size(), 1);
}

TEST(ProjectWindow, ADamagedOrNewerProjectChangesNothing) {
    QTemporaryDir dir;
    const QString photo = smallPhoto(dir);
    Editor e(dir);
    e.open(photo);
    const QPoint p = e.w.painterView()->rect().center();
    e.stroke(p, p + QPoint(30, 30));
    e.savePath = dir.filePath("good.pimavo");
    e.w.saving()->saveAsProject();
    const QByteArray good = fileBytes(e.savePath);
    QByteArray newer = good;
    newer.replace("\"version\": 1", "\"version\": 9");
    QFile cut(dir.filePath("cut.pimavo")), later(dir.filePath("later.pimavo"));
    ASSERT_TRUE(cut.open(QIODevice::WriteOnly) && later.open(QIODevice::WriteOnly));
    cut.write(good.left(good.size() / 2));
    later.write(newer); // the archive's checksum no longer fits either: refused all the same
    cut.close();
    later.close();
    e.stroke(p + QPoint(0, 60), p + QPoint(30, 90));
    const QByteArray picture = e.result();
    for (const QString& name : {QString("cut.pimavo"), QString("later.pimavo")}) {
        SCOPED_TRACE(name.toStdString());
        e.alerts.clear();
        e.w.opening()->openNow(dir.filePath(name));
        ASSERT_EQ(e.alerts.size(), 1);
        EXPECT_TRUE(e.alerts.first().contains(name)) << e.alerts.first().toStdString();
        EXPECT_EQ(e.w.windowTitle(), "good.pimavo[*]");
        EXPECT_TRUE(e.w.isEdited());
        EXPECT_TRUE(e.result() == picture);
    }
}

// An editor opens the file it is given: a project would mean nothing to it, so it gets the picture.
TEST(ProjectWindow, AnEditorIsHandedThePictureNotTheProject) {
    QTemporaryDir dir;
    const QString photo = smallPhoto(dir);
    const QString apps = dir.filePath("data/applications"), received = dir.filePath("received");
    QDir().mkpath(apps);
    QFile entry(apps + "/gimp.desktop");
    ASSERT_TRUE(entry.open(QIODevice::WriteOnly));
    entry.write(
        QString("[Desktop Entry]\nType=Application\nName=GIMP\nExec=cp %f %1\n").arg(received).toUtf8());
    entry.close();
    qputenv("XDG_DATA_HOME", dir.filePath("data").toUtf8());
    qputenv("XDG_DATA_DIRS", dir.filePath("none").toUtf8());
    Editor e(dir);
    e.w.services.exportFolder = dir.filePath("ImportPhotos");
    e.open(photo);
    const QPoint p = e.w.painterView()->rect().center();
    e.stroke(p, p + QPoint(30, 30));
    e.savePath = dir.filePath("work.pimavo");
    e.w.saving()->saveAsProject();
    ASSERT_TRUE(e.w.isProjectDocument());
    e.w.exportToApplication(exportTargets()[2]);
    DecodeResult copy;
    EXPECT_TRUE(waitUntilWrittenWhole(received, copy));
    ASSERT_TRUE(copy.image) << copy.error;
    EXPECT_EQ(copy.image->mimeType, "image/jpeg");
    EXPECT_EQ(copy.image->bitmap->width(), e.w.image()->width());
    e.w.close();
    qunsetenv("XDG_DATA_HOME");
    qunsetenv("XDG_DATA_DIRS");
}

// The background's saturation reads as saturation does everywhere: a project keeps the value the
// picture used (0 grey), and opening one saved before shows it on the slider as it is, with the
// background it had.
TEST(ProjectWindow, TheBackgroundSaturationOfAProjectReadsAsSaturation) {
    QTemporaryDir dir;
    const QString photo = smallPhoto(dir);
    ASSERT_FALSE(photo.isEmpty());
    QFile file(photo);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const std::string bytes = file.readAll().toStdString();
    const DecodeResult decoded = decodeImageFile(photo.toStdString(), false);
    ASSERT_TRUE(decoded.image);
    double lastChroma = -1;
    for (double saved : {0.0, 0.3, 1.0}) {
        SCOPED_TRACE(saved);
        ProjectDocument p;
        p.originalName = "photo.jpg";
        p.originalBytes = std::make_shared<const std::string>(bytes);
        p.settings.background.saturation = saved;        // as every version wrote it
        p.workingWidth = decoded.image->bitmap->width(); // a small photo works at its own size
        p.workingHeight = decoded.image->bitmap->height();
        const QString path = dir.filePath(QString("saved-%1.pimavo").arg(saved));
        std::string error;
        ASSERT_TRUE(writeProjectFile(p, path.toStdString(), &error)) << error;
        Editor e(dir);
        e.open(path);
        ASSERT_TRUE(e.w.painterView() && e.w.drawingToolbar());
        EXPECT_DOUBLE_EQ(e.w.painterView()->model().pictureSettings().background.saturation, saved);
        EXPECT_DOUBLE_EQ(e.w.drawingToolbar()->saturationBackgroundSlider()->doubleValue(), saved);
        // Nothing is painted: the picture is the background; its colour grows with the value.
        const BitmapRef picture = e.w.resultImage();
        ASSERT_TRUE(picture);
        double chroma = 0;
        for (int y = 0; y < picture->height(); y += 7)
            for (int x = 0; x < picture->width(); x += 7) {
                float lo = 1, hi = 0;
                for (int c = 1; c <= 3; ++c) {
                    lo = std::min(lo, picture->component(x, y, c));
                    hi = std::max(hi, picture->component(x, y, c));
                }
                chroma += hi - lo;
            }
        if (saved == 0) {
            EXPECT_LT(chroma, 1e-6) << "grey";
        }
        EXPECT_GT(chroma, lastChroma);
        lastChroma = chroma;
    }
}

} // namespace
} // namespace pimavo::test
