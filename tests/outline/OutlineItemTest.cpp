#include "outline/MyOutlineItem.h"
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
    EXPECT_EQ(root.index(), -1);
    EXPECT_EQ(root.takeChild(-1), nullptr);
    std::vector<MyOutlineItem*> nodes{&root};
    std::map<MyOutlineItem*, std::vector<MyOutlineItem*>> model;
    auto pick = [&](size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(rng); };
    // Forgets a subtree in the model before its nodes die.
    auto forget = [&](MyOutlineItem* top) {
        std::vector<MyOutlineItem*> stack{top};
        while (!stack.empty()) {
            MyOutlineItem* n = stack.back();
            stack.pop_back();
            for (MyOutlineItem* c : model[n])
                stack.push_back(c);
            model.erase(n);
            nodes.erase(std::find(nodes.begin(), nodes.end(), n));
        }
    };
    auto below = [](MyOutlineItem* n, const MyOutlineItem* top) {
        for (MyOutlineItem* p = n; p; p = p->parentItem())
            if (p == top)
                return true;
        return false;
    };

    for (int step = 0; step < 3000; ++step) {
        MyOutlineItem* parent = nodes[pick(nodes.size())];
        if (!below(parent, &root))
            continue;
        auto& kids = model[parent];
        const int op = int(pick(5));
        if (op == 0 || kids.empty()) {
            const int at = int(pick(kids.size() + 1));
            auto child = std::make_unique<MyOutlineItem>("n", parent);
            ASSERT_EQ(child->index(), -1);   // made, not appended yet
            MyOutlineItem* raw = parent->insertChild(at, std::move(child));
            kids.insert(kids.begin() + at, raw);
            nodes.push_back(raw);
        } else if (op == 1) {
            const int at = int(pick(kids.size()));
            forget(kids[size_t(at)]);
            parent->removeChild(at);
            kids.erase(kids.begin() + at);
        } else if (op == 2) {
            // Move a child under a node outside its own subtree; in between it has no position.
            const int at = int(pick(kids.size()));
            MyOutlineItem* moving = kids[size_t(at)];
            MyOutlineItem* target = nodes[pick(nodes.size())];
            if (below(target, moving) || !below(target, &root))
                continue;
            auto owned = parent->takeChild(at);
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
            std::vector<MyOutlineItem*> order = kids;
            std::shuffle(order.begin(), order.end(), rng);
            order.resize(order.size() - pick(2) * (order.size() > 1 ? 1 : 0));
            for (MyOutlineItem* k : kids)
                if (std::find(order.begin(), order.end(), k) == order.end())
                    forget(k);
            ASSERT_TRUE(parent->arrangeChildren(QList<MyOutlineItem*>(order.begin(), order.end())));
            kids = order;
        }

        for (MyOutlineItem* n : nodes) {
            const auto& expected = model[n];
            ASSERT_EQ(n->childCount(), int(expected.size()));
            ASSERT_EQ(n->hasChildren(), !expected.empty());
            ASSERT_EQ(n->childAt(int(expected.size())), nullptr);
            for (size_t i = 0; i < expected.size(); ++i) {
                ASSERT_EQ(n->childAt(int(i)), expected[i]);
                ASSERT_EQ(expected[i]->parentItem(), n);
                ASSERT_EQ(expected[i]->index(), int(i));
            }
        }
    }
    EXPECT_EQ(stranger->parentItem(), &other);
}
