#include "outline/MyOutlineItem.h"
#include "outline/MySelectorItem.h"
#include <gtest/gtest.h>
#include <map>
#include <random>

TEST(OutlineItem, IndexFollowsTheParentsList)
{
    MyOutlineItem root("root", nullptr);
    EXPECT_EQ(root.index(), -1);
    EXPECT_FALSE(root.hasChildren());

    auto loose = std::make_unique<MyOutlineItem>("x", &root);
    EXPECT_EQ(loose->index(), -1);   // made, not appended yet
    EXPECT_TRUE(loose->message.isEmpty());
    EXPECT_TRUE(loose->type.isEmpty());

    root.appendChild(std::make_unique<MyOutlineItem>("same", &root));
    root.appendChild(std::make_unique<MyOutlineItem>("same", &root));
    MyOutlineItem* third = root.appendChild(std::move(loose));
    EXPECT_TRUE(root.hasChildren());
    EXPECT_EQ(third->index(), 2);
    EXPECT_EQ(root.childAt(0)->index(), 0);
    EXPECT_EQ(root.childAt(1)->index(), 1);   // equal titles, own positions

    std::unique_ptr<MyOutlineItem> taken = root.takeChild(0);
    EXPECT_EQ(taken->index(), -1);
    EXPECT_EQ(third->index(), 1);
    EXPECT_EQ(root.childAt(5), nullptr);
    EXPECT_EQ(root.takeChild(-1), nullptr);
}

TEST(OutlineItem, ArrangeKeepsIdentityAndRefusesStrangers)
{
    MyOutlineItem root("root", nullptr);
    QList<MyOutlineItem*> kids;
    for (int i = 0; i < 4; ++i)
        kids.append(root.appendChild(std::make_unique<MyOutlineItem>(QString::number(i), &root)));
    MyOutlineItem other("other", nullptr);
    MyOutlineItem* stranger = other.appendChild(std::make_unique<MyOutlineItem>("s", &other));

    EXPECT_FALSE(root.arrangeChildren({kids[0], stranger}));
    EXPECT_FALSE(root.arrangeChildren({kids[0], kids[0]}));
    EXPECT_EQ(root.children(), kids);   // refused: nothing changed

    EXPECT_TRUE(root.arrangeChildren({kids[3], kids[1]}));
    EXPECT_EQ(root.children(), (QList<MyOutlineItem*>{kids[3], kids[1]}));
    EXPECT_EQ(kids[3]->index(), 0);
    EXPECT_EQ(kids[1]->parentItem(), &root);
}

// Random insertions, removals, moves between parents and rearrangements, checked against
// a plain model of (parent, order) after every step.
TEST(OutlineItem, RandomEditsKeepParentsAndIndexesConsistent)
{
    std::mt19937 rng(20261206);
    MyOutlineItem root("root", nullptr);
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
    auto attached = [&](MyOutlineItem* n) {
        for (MyOutlineItem* p = n; p; p = p->parentItem())
            if (p == &root)
                return true;
        return false;
    };

    for (int step = 0; step < 3000; ++step) {
        MyOutlineItem* parent = nodes[pick(nodes.size())];
        if (!attached(parent))
            continue;
        auto& kids = model[parent];
        const int op = int(pick(4));
        if (op == 0 || kids.empty()) {
            const int at = int(pick(kids.size() + 1));
            auto child = std::make_unique<MySelectorItem>(QString::number(step), nullptr);
            MyOutlineItem* raw = parent->insertChild(at, std::move(child));
            kids.insert(kids.begin() + at, raw);
            nodes.push_back(raw);
        } else if (op == 1) {
            const int at = int(pick(kids.size()));
            forget(kids[size_t(at)]);
            parent->removeChild(at);
            kids.erase(kids.begin() + at);
        } else if (op == 2) {
            // Move a child under a node outside its own subtree.
            const int at = int(pick(kids.size()));
            MyOutlineItem* moving = kids[size_t(at)];
            MyOutlineItem* target = nodes[pick(nodes.size())];
            bool inside = false;
            for (MyOutlineItem* p = target; p; p = p->parentItem())
                inside = inside || p == moving;
            if (inside || !attached(target))
                continue;
            auto owned = parent->takeChild(at);
            kids.erase(kids.begin() + at);
            target->appendChild(std::move(owned));
            model[target].push_back(moving);
        } else {
            std::vector<MyOutlineItem*> order = kids;
            std::shuffle(order.begin(), order.end(), rng);
            order.resize(order.size() - pick(2) * (order.size() > 1 ? 1 : 0));
            std::vector<MyOutlineItem*> dropped;
            for (MyOutlineItem* k : kids)
                if (std::find(order.begin(), order.end(), k) == order.end())
                    dropped.push_back(k);
            for (MyOutlineItem* d : dropped)
                forget(d);
            ASSERT_TRUE(parent->arrangeChildren(QList<MyOutlineItem*>(order.begin(), order.end())));
            kids = order;
        }

        for (MyOutlineItem* n : nodes) {
            const auto& expected = model[n];
            ASSERT_EQ(n->childCount(), int(expected.size()));
            for (size_t i = 0; i < expected.size(); ++i) {
                ASSERT_EQ(n->childAt(int(i)), expected[i]);
                ASSERT_EQ(expected[i]->parentItem(), n);
                ASSERT_EQ(expected[i]->index(), int(i));
            }
        }
    }
}
