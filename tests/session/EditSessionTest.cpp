// The edit session's history, exercised as the editor uses it: changes made and then recorded,
// undone and redone in order, grouped into named steps, bounded by count and memory, and the saved
// point found again whatever route leads back to it.
#include "session/EditSession.h"

#include "Wait.h"

#include <QSignalSpy>
#include <QUndoStack>
#include <gtest/gtest.h>
#include <vector>

namespace pimavo::test {
namespace {

// A value changed the way the editor changes the picture: first made, then recorded.
struct Doc {
    EditSession& session;
    int value = 0;
    void set(int v, const QString& name = "Set", qint64 bytes = 0) {
        const int old = value;
        value = v;
        session.push(
            name, [this, old] { value = old; }, [this, v] { value = v; }, bytes);
    }
};

TEST(EditSession, StepsUndoAndRedoInOrder) {
    EditSession session;
    Doc doc{session};
    QSignalSpy changes(&session, &EditSession::historyChanged);
    doc.set(1);
    doc.set(2);
    doc.set(3, "Paint");
    EXPECT_EQ(doc.value, 3) << "recording a change does not make it again";
    EXPECT_EQ(session.undoText(), "Paint");
    EXPECT_FALSE(session.canRedo());
    session.undo();
    EXPECT_EQ(doc.value, 2);
    EXPECT_EQ(session.redoText(), "Paint");
    session.undo();
    EXPECT_EQ(doc.value, 1);
    session.redo();
    session.redo();
    EXPECT_EQ(doc.value, 3);
    EXPECT_FALSE(session.canRedo());
    // A new change forgets what could be redone.
    session.undo();
    doc.set(7);
    EXPECT_FALSE(session.canRedo());
    session.undo();
    EXPECT_EQ(doc.value, 2);
    EXPECT_GT(changes.count(), 0);
}

TEST(EditSession, StepsGroupIntoOneNamedStep) {
    EditSession session;
    Doc a{session}, b{session};
    session.beginStep("Apply Drawing");
    a.set(5);
    session.beginStep("inner");
    b.set(6);
    session.endStep();
    EXPECT_FALSE(session.canUndo()) << "a step still being built cannot be undone";
    session.endStep();
    EXPECT_EQ(session.undoText(), "Apply Drawing");
    session.undo();
    EXPECT_EQ(a.value, 0);
    EXPECT_EQ(b.value, 0);
    session.redo();
    EXPECT_EQ(a.value, 5);
    EXPECT_EQ(b.value, 6);
    // A group in which nothing changed is no step, and leaves the saved point where it was.
    session.setClean();
    session.beginStep("Nothing");
    session.endStep();
    EXPECT_EQ(session.undoText(), "Apply Drawing");
    EXPECT_EQ(session.stepCount(), 1);
    EXPECT_TRUE(session.isClean());
}

TEST(EditSession, WhatAnUndoChangesIsNoNewStep) {
    EditSession session;
    Doc doc{session};
    int inner = 0;
    // An undo whose work records a change of its own (the canvas recording the painting a photo
    // swap brought back) leaves the history as it was.
    session.push(
        "Swap",
        [&] {
            inner = 1;
            doc.set(99);
        },
        [&] { inner = 2; });
    session.undo();
    EXPECT_EQ(inner, 1);
    EXPECT_EQ(doc.value, 99);
    EXPECT_EQ(session.stepCount(), 1);
    EXPECT_TRUE(session.canRedo());
}

TEST(EditSession, LayersComeBackThroughTheSignal) {
    EditSession session;
    const Image red = Image::imageWithColor({1, 0, 0, 1}), blue = Image::imageWithColor({0, 0, 1, 1});
    std::vector<std::pair<Image, Image>> restored;
    QObject::connect(&session, &EditSession::layersRestored,
                     [&](const Image& mask, const Image& layer) { restored.emplace_back(mask, layer); });
    session.changeLayers("Paint", red, {}, 10);
    session.changeLayers("Colour", red, blue, 10);
    EXPECT_EQ(session.colorLayer(), blue);
    session.undo();
    ASSERT_EQ(restored.size(), 1u);
    EXPECT_EQ(restored.back().first, red);
    EXPECT_TRUE(restored.back().second.isNull());
    EXPECT_TRUE(session.colorLayer().isNull());
    session.undo();
    EXPECT_TRUE(session.mask().isNull());
    session.redo();
    session.redo();
    EXPECT_EQ(session.mask(), red);
    EXPECT_EQ(session.colorLayer(), blue);
}

// The history is bounded by a number of steps and by the memory its steps keep; the oldest go
// first, the newest always stays, and undoing everything reaches the state before the oldest kept.
TEST(EditSession, KeepsTheNewestStepsWithinItsBounds) {
    struct Case {
        const char* what;
        qint64 budget;
        std::vector<qint64> bytes; // per step, in order
        int kept;
    } cases[] = {
        {"a count", 0, std::vector<qint64>(EditSession::kUndoSteps + 5, 0), EditSession::kUndoSteps},
        {"no memory bound", 0, std::vector<qint64>(300, 100), 300},
        {"memory of many small steps", 1000, std::vector<qint64>(300, 10), 100},
        {"the oldest big step goes first", 1000, {600, 300, 300}, 2},
        {"the newest always stays", 100, {500}, 1},
        {"two hundred short strokes", EditSession::kMemoryBudget, std::vector<qint64>(250, 300 << 10), 250},
        {"big masks", EditSession::kMemoryBudget, std::vector<qint64>(300, 8 << 20), 64},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EditSession session;
        session.setMemoryBudget(c.budget);
        Doc doc{session};
        const int n = int(c.bytes.size());
        for (int i = 1; i <= n; ++i) doc.set(i, "Set", c.bytes[std::size_t(i - 1)]);
        EXPECT_EQ(session.stepCount(), c.kept);
        if (c.budget > 0) {
            EXPECT_TRUE(session.memoryUsed() <= c.budget || c.kept == 1) << session.memoryUsed();
        }
        int steps = 0;
        while (session.canUndo()) {
            session.undo();
            ++steps;
        }
        EXPECT_EQ(steps, c.kept);
        EXPECT_EQ(doc.value, n - c.kept);
        EXPECT_EQ(session.memoryUsed(), 0);
        // Redone all the way: the same steps, the same end.
        while (session.canRedo()) session.redo();
        EXPECT_EQ(doc.value, n);
    }
}

// Where a picture was saved is a point in its history: the same state is clean again, whatever
// route led back to it; every other state is edited.
TEST(EditSession, TheSavedPointIsFoundAgain) {
    // Each script starts from a fresh, saved session ("mark" saves again); "set" is a new step,
    // "big" one that keeps half the memory budget, "outside" a change the history does not hold.
    struct Case {
        const char* script;
        bool clean;
    };
    const Case cases[] = {
        {"", true},
        {"set", false},
        {"set undo", true},
        {"set undo redo", false},
        {"set mark undo redo", true},
        {"set set mark undo", false},
        {"set set mark undo undo redo redo", true},
        {"set mark undo set", false}, // the saved step can no longer be redone
        {"set mark clear", false},    // the steps are gone, their changes are not
        {"outside", false},
        {"outside set undo", false},
        {"outside mark", true},
        {"mark big big big undo undo", false}, // the oldest step was dropped: not the first state
        {"big mark big big undo undo", true},  // the saved step was kept
        {"big big big mark big undo", true},   // dropped below the saved point, which stays
        {"mark set*1005 undo*1000", false},    // dropped for the count
        {"set*1005 mark undo*900 redo*900", true},
    };
    for (const Case& c : cases) {
        EditSession session;
        session.setMemoryBudget(1000);
        Doc doc{session};
        session.setClean();
        for (const QString& word : QString(c.script).split(' ', Qt::SkipEmptyParts)) {
            const QStringList parts = word.split('*');
            const int times = parts.size() > 1 ? parts[1].toInt() : 1;
            for (int i = 0; i < times; ++i) {
                if (parts[0] == "set")
                    doc.set(doc.value + 1);
                else if (parts[0] == "big")
                    doc.set(doc.value + 1, "Big", 500);
                else if (parts[0] == "undo")
                    session.undo();
                else if (parts[0] == "redo")
                    session.redo();
                else if (parts[0] == "mark")
                    session.setClean();
                else if (parts[0] == "clear")
                    session.clear();
                else if (parts[0] == "outside")
                    session.setEditedOutsideHistory();
            }
        }
        EXPECT_EQ(session.isClean(), c.clean) << c.script;
    }
}

// The picture settings as the tool panel changes them: the changes of one gesture (a slider
// dragged, everything until the event loop comes round with no button held) are one step, named
// for the setting or for all of them; a gesture that ends where it began leaves none.
TEST(EditSession, PictureSettingsChangeInOneStepPerGesture) {
    EditSession session;
    session.setClean();
    QSignalSpy shown(&session, &EditSession::pictureSettingsChanged);
    auto change = [&](const QString& name, const std::function<void(PictureSettings&)>& edit) {
        PictureSettings next = session.pictureSettings();
        edit(next);
        session.setPictureSettings(next, name);
    };
    for (double ev : {0.2, 0.4, 0.6})
        change("Exposure", [ev](PictureSettings& s) { s.foreground.exposure = ev; });
    EXPECT_EQ(session.stepCount(), 1);
    EXPECT_EQ(session.undoText(), "Exposure");
    EXPECT_EQ(shown.count(), 3) << "every value of the drag is shown";
    processPendingEvents();
    EXPECT_FALSE(session.isGestureOpen());

    change("Vignette", [](PictureSettings& s) { s.vignette = 0.5; });
    change("Treatment", [](PictureSettings& s) { s.treatment = Treatment::Aged; });
    EXPECT_EQ(session.stepCount(), 2);
    EXPECT_EQ(session.undoText(), "Adjustments") << "one gesture, several settings";
    change("Look", [](PictureSettings& s) { s.look = s.look; });
    EXPECT_EQ(shown.count(), 5) << "settings equal to the current ones change nothing";
    processPendingEvents();

    session.undo();
    EXPECT_EQ(shown.last().at(0).value<PictureSettings>().foreground.exposure, 0.6);
    EXPECT_EQ(session.pictureSettings().vignette, 0);
    EXPECT_EQ(session.pictureSettings().treatment, Treatment::Grayscale);
    session.undo();
    EXPECT_EQ(session.pictureSettings(), PictureSettings());
    EXPECT_TRUE(session.isClean());
    session.redo();
    session.redo();
    EXPECT_EQ(session.pictureSettings().treatment, Treatment::Aged);

    // A drag put back where it began: no step, and the picture is as saved again.
    session.setClean();
    const int steps = session.stepCount();
    change("Hue", [](PictureSettings& s) { s.foreground.hue = 1; });
    change("Hue", [](PictureSettings& s) { s.foreground.hue = 0; });
    processPendingEvents();
    EXPECT_EQ(session.stepCount(), steps);
    EXPECT_TRUE(session.isClean());

    // Settings a picture starts with are no step.
    PictureSettings project;
    project.look = 2;
    session.resetPictureSettings(project);
    EXPECT_EQ(session.pictureSettings(), project);
    EXPECT_EQ(session.stepCount(), steps);
}

} // namespace
} // namespace pimavo::test
