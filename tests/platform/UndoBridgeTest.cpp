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
        int index = 0, modelIndex = 0, modelCount = 0;
        std::vector<QString> names;   // the steps on the stack
        size_t done = 0;              // how many of them are done
        bool lastEdited = false;
        QObject::connect(&bridge, &UndoBridge::editedChanged, [&](bool e) {
            EXPECT_NE(e, lastEdited) << "a signal only on a real change";
            lastEdited = e;
        });
        auto step = [&](int s) { index += s; };
        for (int op = 0; op < 60; ++op) {
            const QString name = QStringLiteral("Step %1").arg(op);
            const unsigned kind = rng() % 8;
            switch (kind) {
            case 0:
            case 1:
                if (kind == 0)
                    bridge.push(name, step);
                else
                    index += 1, bridge.pushDone(name, step);   // done by the caller already
                names.resize(done);
                names.push_back(name);
                ++done, ++modelIndex, ++modelCount;
                break;
            case 2:
                bridge.undo();
                if (done > 0)
                    --done, --modelIndex, --modelCount;
                break;
            case 3:
                bridge.redo();
                if (done < names.size())
                    ++done, ++modelIndex, ++modelCount;
                break;
            case 4: bridge.markSaved(); modelCount = 0; break;
            case 5: bridge.clear(); names.clear(); done = 0; break;   // the steps go, the counter stays
            case 6: bridge.changeDone(); ++modelCount; break;
            default: modelCount = int(rng() % 5) - 2; bridge.setChangeCount(modelCount); break;
            }
            ASSERT_EQ(index, modelIndex);
            ASSERT_EQ(bridge.changeCount(), modelCount);
            ASSERT_EQ(lastEdited, modelCount != 0);
            ASSERT_EQ(bridge.undoText(), done == 0 ? "Undo" : "Undo " + names[done - 1]);
            ASSERT_EQ(bridge.redoText(), done == names.size() ? "Redo" : "Redo " + names[done]);
            ASSERT_EQ(bridge.canUndo(), done > 0);
            ASSERT_EQ(bridge.canRedo(), done < names.size());
        }
    }
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
