#include "platform/UndoBridge.h"

#include <QCoreApplication>
#include <random>
#include <vector>
#include <gtest/gtest.h>

namespace {

// Random sessions against a model: a history index moved by each step, the change counter,
// the names on the undo and redo entries, and one edited signal per real change.
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
        auto pushed = [&](const QString& name) {
            ++modelIndex, ++modelCount;
            undoNames.push_back(name);
            redoNames.clear();
        };
        auto moved = [&](std::vector<QString>& from, std::vector<QString>& to, int step) {
            if (from.empty())
                return;
            modelIndex += step, modelCount += step;
            to.push_back(from.back());
            from.pop_back();
        };
        for (int op = 0; op < 60; ++op) {
            const QString name = QStringLiteral("Step %1").arg(op);
            switch (rng() % 8) {
            case 0:
                bridge.push(name, [&](int s) { index += s; });
                pushed(name);
                break;
            case 1:
                index += 1;   // done by the caller already
                bridge.pushDone(name, [&](int s) { index += s; });
                pushed(name);
                break;
            case 2:
                bridge.undo();
                moved(undoNames, redoNames, -1);
                break;
            case 3:
                bridge.redo();
                moved(redoNames, undoNames, +1);
                break;
            case 4:
                bridge.markSaved();
                modelCount = 0;
                break;
            case 5:
                bridge.clear();   // the steps go, the counter stays
                undoNames.clear();
                redoNames.clear();
                break;
            case 6:
                bridge.changeDone();
                ++modelCount;
                break;
            default:
                modelCount = int(rng() % 5) - 2;
                bridge.setChangeCount(modelCount);
                break;
            }
            ASSERT_EQ(index, modelIndex);
            ASSERT_EQ(bridge.changeCount(), modelCount);
            ASSERT_EQ(lastEdited, modelCount != 0);
            ASSERT_EQ(bridge.canUndo(), !undoNames.empty());
            ASSERT_EQ(bridge.canRedo(), !redoNames.empty());
            ASSERT_EQ(bridge.undoText(), undoNames.empty() ? "Undo" : "Undo " + undoNames.back());
            ASSERT_EQ(bridge.redoText(), redoNames.empty() ? "Redo" : "Redo " + redoNames.back());
        }
    }
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

}  // namespace
