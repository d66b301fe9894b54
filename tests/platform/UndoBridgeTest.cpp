#include "platform/UndoBridge.h"

#include <QAction>
#include <QCoreApplication>
#include <QSignalSpy>
#include <random>
#include <vector>
#include <gtest/gtest.h>

namespace {

TEST(UndoBridge, PushRunsTheStepAndUndoRedoRunItAgain)
{
    UndoBridge bridge;
    int index = 0;
    std::vector<int> calls;
    auto step = [&](int s) { calls.push_back(s); index += s; };

    bridge.push("Paste", step);
    EXPECT_EQ(calls, std::vector<int>{1});
    EXPECT_EQ(bridge.changeCount(), 1);
    EXPECT_EQ(bridge.undoText(), "Undo Paste");
    EXPECT_EQ(bridge.redoText(), "Redo");

    bridge.undo();
    EXPECT_EQ(index, 0);
    EXPECT_FALSE(bridge.isEdited());
    EXPECT_EQ(bridge.undoText(), "Undo");
    EXPECT_EQ(bridge.redoText(), "Redo Paste");

    bridge.redo();
    EXPECT_EQ(calls, (std::vector<int>{1, -1, 1}));
    EXPECT_EQ(bridge.changeCount(), 1);
}

TEST(UndoBridge, PushDoneCountsTheChangeWithoutRunningIt)
{
    UndoBridge bridge;
    std::vector<int> calls;
    bridge.pushDone("Add Normality Stats", [&](int s) { calls.push_back(s); });
    EXPECT_TRUE(calls.empty());
    EXPECT_TRUE(bridge.isEdited());
    bridge.undo();
    bridge.redo();
    EXPECT_EQ(calls, (std::vector<int>{-1, 1}));
}

TEST(UndoBridge, StepSeesTheEditedStateItLeaves)
{
    UndoBridge bridge;
    std::vector<bool> seen;
    bridge.pushDone("Add Normality Stats", [&](int) { seen.push_back(bridge.isEdited()); });
    bridge.undo();
    bridge.redo();
    EXPECT_EQ(seen, (std::vector<bool>{false, true}));
}

TEST(UndoBridge, SaveClearsTheCounterAndUndoPastItMarksEditedAgain)
{
    UndoBridge bridge;
    QSignalSpy edited(&bridge, &UndoBridge::editedChanged);
    bridge.push("Input", [](int) {});
    bridge.push("Input", [](int) {});
    bridge.markSaved();
    EXPECT_FALSE(bridge.isEdited());
    bridge.undo();
    EXPECT_EQ(bridge.changeCount(), -1);
    EXPECT_TRUE(bridge.isEdited()) << "undoing past a save leaves the document changed";
    bridge.redo();
    EXPECT_FALSE(bridge.isEdited());
    ASSERT_EQ(edited.count(), 4);   // true, false (save), true (undo), false (redo)
    EXPECT_EQ(edited.at(3).at(0).toBool(), false);

    bridge.clear();
    EXPECT_FALSE(bridge.canUndo());
    EXPECT_FALSE(bridge.canRedo());
    bridge.setChangeCount(3);
    EXPECT_TRUE(bridge.isEdited()) << "clearing the steps keeps the counter";
    bridge.changeDone();
    EXPECT_EQ(bridge.changeCount(), 4);
}

TEST(UndoBridge, PushFromARunningStepIsIgnored)
{
    UndoBridge bridge;
    int runs = 0;
    bridge.push("Change Graph", [&](int) {
        ++runs;
        bridge.push("Change Graph", [&](int) { ++runs; });   // a re-registration
    });
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(bridge.stack()->count(), 1);
    bridge.undo();
    bridge.redo();
    EXPECT_EQ(runs, 3);
    EXPECT_EQ(bridge.stack()->count(), 1);
}

TEST(UndoBridge, ClearFromARunningStepWaitsForTheEventLoop)
{
    UndoBridge bridge;
    bridge.push("Input", [](int) {});
    bridge.push("Change Type", [&](int s) {
        if (s < 0)
            bridge.clear();
    });
    bridge.undo();
    EXPECT_TRUE(bridge.canUndo());
    QCoreApplication::processEvents();
    EXPECT_FALSE(bridge.canUndo());
    EXPECT_FALSE(bridge.canRedo());
    EXPECT_EQ(bridge.changeCount(), 1);
}

TEST(UndoBridge, StackActionsCarryTheSameTexts)
{
    UndoBridge bridge;
    std::unique_ptr<QAction> undo(bridge.stack()->createUndoAction(nullptr));
    std::unique_ptr<QAction> redo(bridge.stack()->createRedoAction(nullptr));
    bridge.push("Sort Columns", [](int) {});
    EXPECT_EQ(undo->text(), bridge.undoText());
    bridge.undo();
    EXPECT_EQ(redo->text(), bridge.redoText());
    EXPECT_FALSE(undo->isEnabled());
}

// Random sessions against a model: a history index moved by each step, the counter, and
// the names on the undo and redo entries.
TEST(UndoBridge, RandomSessionsMatchAModel)
{
    std::mt19937 rng(5);
    for (int session = 0; session < 200; ++session) {
        UndoBridge bridge;
        int index = 0;
        int modelIndex = 0, modelCount = 0;
        std::vector<QString> undoNames, redoNames;
        bool lastEdited = false;
        QObject::connect(&bridge, &UndoBridge::editedChanged, [&](bool e) {
            EXPECT_NE(e, lastEdited) << "a signal only on a real change";
            lastEdited = e;
        });
        for (int op = 0; op < 60; ++op) {
            const QString name = QStringLiteral("Step %1").arg(op);
            switch (rng() % 6) {
            case 0:
            case 1:
                bridge.push(name, [&](int s) { index += s; });
                ++modelIndex, ++modelCount;
                undoNames.push_back(name);
                redoNames.clear();
                break;
            case 2:
                index += 1;   // done by the caller already
                bridge.pushDone(name, [&](int s) { index += s; });
                ++modelIndex, ++modelCount;
                undoNames.push_back(name);
                redoNames.clear();
                break;
            case 3:
                bridge.undo();
                if (!undoNames.empty()) {
                    --modelIndex, --modelCount;
                    redoNames.push_back(undoNames.back());
                    undoNames.pop_back();
                }
                break;
            case 4:
                bridge.redo();
                if (!redoNames.empty()) {
                    ++modelIndex, ++modelCount;
                    undoNames.push_back(redoNames.back());
                    redoNames.pop_back();
                }
                break;
            default:
                bridge.markSaved();
                modelCount = 0;
                break;
            }
            ASSERT_EQ(index, modelIndex);
            ASSERT_EQ(bridge.changeCount(), modelCount);
            ASSERT_EQ(bridge.isEdited(), lastEdited);
            ASSERT_EQ(bridge.undoText(), undoNames.empty() ? "Undo" : "Undo " + undoNames.back());
            ASSERT_EQ(bridge.redoText(), redoNames.empty() ? "Redo" : "Redo " + redoNames.back());
        }
    }
}

}  // namespace
