// Strings cut from shared blocks behave as strings of their own: whatever is done to one,
// while the builder runs or after, the others keep their text, and every text stays ended by
// a null character.
#include "app/TextSlices.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace {

struct Kept {
    QString string;
    QString expected;   // made apart from any block
};

QString randomText(QRandomGenerator& rng)
{
    const int n = rng.bounded(8) == 0 ? 0 : rng.bounded(rng.bounded(50) == 0 ? 6000 : 24);
    QString text;
    for (int i = 0; i < n; ++i)
        text += QChar(char16_t(rng.bounded(2) ? u'a' + rng.bounded(26) : 0x3b1 + rng.bounded(20)));
    return text;
}

// One change of many kinds; the expected text changes the same way.
void change(Kept& k, QRandomGenerator& rng)
{
    const QString piece = randomText(rng);
    const auto both = [&k](const auto& f) { f(k.string); f(k.expected); };
    switch (rng.bounded(7)) {
    case 0: both([&](QString& s) { s += piece; }); break;
    case 1: both([&](QString& s) { s.prepend(piece); }); break;
    case 2: k.string.squeeze(); break;
    case 3: both([](QString& s) { s.truncate(s.size() / 2); }); break;
    case 4: both([](QString& s) { if (!s.isEmpty()) s[0] = u'#'; }); break;
    case 5: k.string.reserve(k.string.size() + 100); break;
    default: both([&](QString& s) { s.insert(s.size() / 2, piece); }); break;
    }
}

void expectIntact(const std::vector<Kept>& kept)
{
    for (const Kept& k : kept) {
        ASSERT_EQ(k.string, k.expected);
        ASSERT_EQ(k.string.utf16()[k.string.size()], 0);
    }
}

} // namespace

TEST(TextSlices, StringsKeepTheirTextWhateverIsDoneToTheOthers)
{
    QRandomGenerator rng(1105);
    for (int round = 0; round < 8; ++round) {
        // Small blocks, as a column's own builder has, fill and are let go of many times.
        auto slices = std::make_unique<TextSlices>(round % 2 ? 64 : TextSlices::kBlockChars);
        std::vector<Kept> kept;
        for (int i = 0; i < 5000; ++i) {
            const QString text = randomText(rng);
            kept.push_back({slices->add(text), QString(text.constData(), text.size())});
            const int act = rng.bounded(10);
            if (act == 0)
                change(kept[rng.bounded(int(kept.size()))], rng);
            else if (act == 1)
                kept.erase(kept.begin() + rng.bounded(int(kept.size())));
            else if (act == 2)
                kept.push_back(kept[rng.bounded(int(kept.size()))]);
        }
        expectIntact(kept);
        // Once the builder is gone, strings left alone in their block may change in place.
        slices.reset();
        while (kept.size() > 3) {
            kept.erase(kept.begin() + rng.bounded(int(kept.size())));
            change(kept[rng.bounded(int(kept.size()))], rng);
        }
        for (int i = 0; i < 50; ++i)
            change(kept[rng.bounded(int(kept.size()))], rng);
        expectIntact(kept);
    }
}

TEST(TextSlices, TextsWrittenInPlace)
{
    TextSlices slices;
    char16_t* room = slices.room(5);
    std::copy_n(u"abcde", 5, room);
    const QString cut = slices.commit(3);
    EXPECT_EQ(cut, "abc");
    EXPECT_EQ(cut.utf16()[3], 0);
    room = slices.room(TextSlices::kLongText + 10);
    std::fill_n(room, TextSlices::kLongText + 10, u'x');
    EXPECT_EQ(slices.commit(TextSlices::kLongText + 1), QString(TextSlices::kLongText + 1, u'x'));
    EXPECT_TRUE(slices.commit(0).isNull());
    EXPECT_EQ(cut, "abc");
}
