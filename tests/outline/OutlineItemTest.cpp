#include "outline/MyOutlineItem.h"
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <random>

// Random insertions, removals, moves between parents and rearrangements (refused ones
// included), checked against a plain model of (parent, order) after every step. Titles repeat,
// so positions are found by identity.
TEST(OutlineItem, RandomEditsKeepParentsAndIndexesConsistent)
{
    std::mt19937 rng(20261206);
    MyOutlineItem root("root", nullptr);
    MyOutlineItem other("other", nullptr);
    MyOutlineItem* stranger = other.appendChild(std::make_unique<MyOutlineItem>("n", &other));
    EXPECT_EQ(root.takeChild(-1), nullptr);
    std::map<const MyOutlineItem*, std::vector<MyOutlineItem*>> model;
    auto pick = [&](size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(rng); };
    // A node of the tree: a walk down from the root that stops at random.
    auto anyNode = [&] {
        MyOutlineItem* n = &root;
        while (!model[n].empty() && pick(3) > 0)
            n = model[n][pick(model[n].size())];
        return n;
    };
    std::function<void(const MyOutlineItem*)> check = [&](const MyOutlineItem* n) {
        const auto& expected = model[n];
        ASSERT_EQ(n->childCount(), int(expected.size()));
        ASSERT_EQ(n->childAt(int(expected.size())), nullptr);
        for (size_t i = 0; i < expected.size(); ++i) {
            ASSERT_EQ(n->childAt(int(i)), expected[i]);
            ASSERT_EQ(expected[i]->parentItem(), n);
            ASSERT_EQ(expected[i]->index(), int(i));
            check(expected[i]);
        }
    };

    for (int step = 0; step < 3000; ++step) {
        MyOutlineItem* parent = anyNode();
        auto& kids = model[parent];
        const size_t op = pick(5);
        if (op == 0 || kids.empty()) {
            const size_t at = pick(kids.size() + 1);
            auto child = std::make_unique<MyOutlineItem>("n", parent);
            ASSERT_EQ(child->index(), -1);   // made, not appended yet
            MyOutlineItem* raw = parent->insertChild(int(at), std::move(child));
            model[raw].clear();   // a new node may reuse a removed one's address
            kids.insert(kids.begin() + at, raw);
        } else if (op == 1) {
            const size_t at = pick(kids.size());
            parent->removeChild(int(at));
            kids.erase(kids.begin() + at);
        } else if (op == 2) {
            // Move a child under a node outside its own subtree; in between it has no parent.
            const size_t at = pick(kids.size());
            MyOutlineItem* moving = kids[at];
            MyOutlineItem* target = anyNode();
            bool inside = false;
            for (MyOutlineItem* p = target; p; p = p->parentItem())
                inside = inside || p == moving;
            if (inside)
                continue;
            auto owned = parent->takeChild(int(at));
            ASSERT_EQ(owned->parentItem(), nullptr);
            ASSERT_EQ(owned->index(), -1);
            kids.erase(kids.begin() + at);
            target->appendChild(std::move(owned));
            model[target].push_back(moving);
        } else if (op == 3) {
            // A stranger or a repeated child refuses the whole arrangement.
            QList<MyOutlineItem*> order(kids.begin(), kids.end());
            order.append(pick(2) ? stranger : kids.front());
            ASSERT_FALSE(parent->arrangeChildren(order));
        } else {
            // A shuffled order, perhaps one child short: the left-out child goes.
            std::shuffle(kids.begin(), kids.end(), rng);
            if (kids.size() > 1 && pick(2))
                kids.pop_back();
            ASSERT_TRUE(parent->arrangeChildren(QList<MyOutlineItem*>(kids.begin(), kids.end())));
        }
        check(&root);
    }
    EXPECT_EQ(stranger->parentItem(), &other);
}
