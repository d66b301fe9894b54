#include "outline/MyOutlineItem.h"
#include <functional>
#include <gtest/gtest.h>
#include <random>

// Random insertions, removals, moves between parents and rearrangements (refused ones
// included): after every step the changed parent holds the expected children in order, and
// every child of the tree knows its parent and position. Titles repeat, so children are
// compared by identity.
TEST(OutlineItem, RandomEditsKeepParentsAndIndexesConsistent)
{
    std::mt19937 rng(20261206);
    MyOutlineItem root("root", nullptr);
    MyOutlineItem other("other", nullptr);
    MyOutlineItem* stranger = other.appendChild(std::make_unique<MyOutlineItem>("n", &other));
    EXPECT_EQ(root.takeChild(-1), nullptr);
    auto pick = [&](qsizetype n) { return std::uniform_int_distribution<int>(0, int(n) - 1)(rng); };
    // A node of the tree: a walk down from the root that stops at random.
    auto anyNode = [&] {
        MyOutlineItem* n = &root;
        while (n->hasChildren() && pick(3) > 0)
            n = n->childAt(pick(n->childCount()));
        return n;
    };
    std::function<void(const MyOutlineItem*)> check = [&](const MyOutlineItem* n) {
        for (int i = 0; i < n->childCount(); ++i) {
            ASSERT_EQ(n->childAt(i)->parentItem(), n);
            ASSERT_EQ(n->childAt(i)->index(), i);
            check(n->childAt(i));
        }
    };

    for (int step = 0; step < 3000; ++step) {
        MyOutlineItem* parent = anyNode();
        QList<MyOutlineItem*> expected = parent->children();
        const int op = expected.isEmpty() ? 0 : pick(5);
        if (op == 0) {
            const int at = pick(expected.size() + 1);
            auto child = std::make_unique<MyOutlineItem>("n", parent);
            ASSERT_EQ(child->index(), -1);   // made, not appended yet
            expected.insert(at, parent->insertChild(at, std::move(child)));
        } else if (op == 1) {
            const int at = pick(expected.size());
            parent->removeChild(at);
            expected.removeAt(at);
        } else if (op == 2) {
            // Move a child under another node outside its own subtree; in between it has no parent.
            const int at = pick(expected.size());
            MyOutlineItem* target = anyNode();
            bool inside = target == parent;
            for (MyOutlineItem* p = target; p; p = p->parentItem())
                inside = inside || p == expected[at];
            if (inside)
                continue;
            const QList<MyOutlineItem*> targetExpected = target->children() << expected[at];
            auto owned = parent->takeChild(at);
            ASSERT_EQ(owned->parentItem(), nullptr);
            target->appendChild(std::move(owned));
            ASSERT_EQ(target->children(), targetExpected);
            expected.removeAt(at);
        } else if (op == 3) {
            // A stranger or a repeated child refuses the whole arrangement.
            ASSERT_FALSE(parent->arrangeChildren(expected + QList<MyOutlineItem*>{pick(2) ? stranger : expected.front()}));
        } else {
            // A shuffled order, perhaps one child short: the left-out child goes.
            std::shuffle(expected.begin(), expected.end(), rng);
            if (expected.size() > 1 && pick(2))
                expected.removeLast();
            ASSERT_TRUE(parent->arrangeChildren(expected));
        }
        ASSERT_EQ(parent->children(), expected);
        check(&root);
    }
    EXPECT_EQ(stranger->parentItem(), &other);
}
