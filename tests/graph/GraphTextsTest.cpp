// Graph texts: markup runs and number texts, markup formats, measuring and sizing of shared
// texts, glyph dots, and the scale text rules the generator gives the value settings check.
#include "FrameLayoutFixture.h"
#include "analysis/MyValueSettingsCheck.h"
#include "graph/TextMarkup.h"
#include "platform/Font72.h"
#include "views/MySimpleTextView.h"
#include "views/MyStorageItem.h"
#include "views/TextStorage.h"
#include <gtest/gtest.h>
#include <QPainterPath>
#include <QTextBlock>
#include <cmath>

namespace {

TextAttributes attrs(double size) { return {FontSpec{QStringLiteral("DejaVu Sans"), size, 16}, Color::gray(0)}; }

// A run's text, font size and raise in points, sizes equal to within 1e-9.
struct StyledRun {
    QString text;
    double pointSize, raise;
    bool operator==(const StyledRun& o) const
    {
        return text == o.text && std::abs(pointSize - o.pointSize) < 1e-9 && std::abs(raise - o.raise) < 1e-9;
    }
};
std::ostream& operator<<(std::ostream& os, const StyledRun& r) { return os << r.text << " " << r.pointSize << "/" << r.raise; }

// The runs of a text as a storage holds them: text, font size and raise in points.
QVector<StyledRun> runsOf(const AttributedString& s)
{
    TextStorage storage;
    MyGraphGenerator::setAttributedString(&storage, s);
    QVector<StyledRun> out;
    for (QTextBlock b = storage.begin(); b != storage.end(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it)
            out.append({it.fragment().text(), it.fragment().charFormat().font().pointSizeF(),
                        MyGraphGenerator::baselineOffsetOf(it.fragment().charFormat())});
    return out;
}

// The runs as one line: plain text as shown, a raised run as [^...], a lowered one as
// [_...]; empty runs leave no trace, as on screen.
QString display(const QVector<TextMarkup::Run>& runs)
{
    QString s;
    for (const auto& r : runs) {
        if (r.text.isEmpty())
            continue;
        const bool plain = r.script == TextMarkup::Script::Plain;
        s += plain ? r.text : (r.script == TextMarkup::Script::Superscript ? "[^" : "[_") + r.text + "]";
    }
    return s;
}
} // namespace

TEST(TextMarkup, RunsOfMarkedUpTexts)
{
    const std::pair<const char*, const char*> cases[] = {
        {"", ""}, {"abc", "abc"}, {"10^{3}", "10[^3]"}, {"x_1", "x[_1]"}, {"2\\times10^5 m", "2\u00d710[^5] m"},
        {"CO_2 (mmol l^{-1})", "CO[_2] (mmol l[^-1])"}, {"a^^b", "a[^^]b"}, {"a^b_c", "a[^b][_c]"},
        {"a_b^c", "a[_b][^c]"}, {"x^{a_b}", "x[^a_b]"}, {"x^{a{b}c}", "x[^a{b]c}"}, {"a^{}b", "ab"},
        {"x^ {2}", "x[^ ]{2}"}, {"x^{2", ""}, {"^{", ""}, {"3\\ast4", "3*4"}, {"10^{\\times}", "10[^\\times]"},
        {"}a", "}a"}, {"x^\U0001F600y", "x[^\U0001F600]y"},
        // A marker at the very end has nothing to raise and stays as typed.
        {"m^", "m^"}, {"x_", "x_"}, {"a^b^", "a[^b]^"},
        // Both signs show, whichever the user mixed.
        {"2\\times3\\ast4", "2\u00d73*4"},
    };
    for (const auto& [text, shown] : cases)
        EXPECT_EQ(display(TextMarkup::runs(QString::fromUtf8(text))), QString::fromUtf8(shown)) << text;
}

TEST(TextMarkup, ValuesOfNumberTexts)
{
    const std::pair<const char*, double> cases[] = {
        {"0.5", 0.5}, {"5\\times10^{3}", 5000}, {"2.5\u00d710^-2", 0.025}, {"10^{2}", 100}, {"3*4*5", 60},
        {"2\u00d710^3\u00d75", 10000}, {" 7", 7}, {"", 0}, {"abc", 0}, {"\u00d75", 0}, {"^2", 0}, {"10^{", 1},
        {"1e3", 1000}, {"10^{-2}", 0.01},
        // Every sign multiplies, whichever the user mixed.
        {"2\\times3\\ast4", 24}, {"2\\times3*4", 24},
        // A power with nothing after its "^" is worth 1.
        {"10^", 1}, {"2\u00d710^", 2},
    };
    for (const auto& [text, value] : cases)
        EXPECT_NEAR(TextMarkup::doubleFromString(QString::fromUtf8(text)), value, 1e-12 * std::max(1.0, value)) << text;
}

TEST(TextMarkup, PrecisionOfNumberTexts)
{
    const std::pair<const char*, qint64> cases[] = {
        {"0.25", -2}, {"5", 0}, {"2.5\u00d710^3", 2}, {"1.25\\times10^{-4}", -6}, {"3\u00d7100", 2},
        {"1.5\u00d710", 0}, {"4.0\u00d72", -1}, {"10^3", 0}, {"2.50", -2}, {"2.5\u00d710^{3}\u00d77", 2},
        {"2.5", -1}, {"2.", 0}, {"2.5\u00d71000", 2}, {"1.5\u00d710^{3}^2", 2},
        // Exponents that cannot be read count as none.
        {"2\u00d710^x", 0}, {"2\u00d710^3 ", 0}, {"2\u00d710^{3", 0}, {"2.5\u00d710^", -1}, {"2\u00d710^{", 0},
        {"2.5\u00d710abc", 0},
    };
    for (const auto& [text, precision] : cases)
        EXPECT_EQ(TextMarkup::precisionString(QString::fromUtf8(text)), precision) << text;
}


TEST(GraphTexts, MarkupRunsCarryScriptSizesAndRaises)
{
    const MyGraphGenerator g;
    const struct { const char* text; QVector<StyledRun> runs; } cases[] = {
        {"10^{3}", {{"10", 14, 0}, {"3", 14 * 2.0 / 3, 14.0 / 3}}},
        {"x_1", {{"x", 14, 0}, {"1", 14 * 2.0 / 3, 14.0 / -6}}},
        {"CO_2 l^{-1}", {{"CO", 14, 0}, {"2", 14 * 2.0 / 3, 14.0 / -6}, {" l", 14, 0}, {"-1", 14 * 2.0 / 3, 14.0 / 3}}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(runsOf(g.attributedStringFromString(c.text, attrs(14))), c.runs) << c.text;
}

TEST(GraphTexts, MeasuredTextsSizeEveryViewOfTheirStorage)
{
    const MyGraphGenerator g;
    TextStorage storage;
    MyGraphGenerator::setAttributedString(&storage, MyGraphGenerator::plainAttributedString("50", attrs(14)));
    std::vector<std::unique_ptr<MySimpleTextView>> views;
    for (int i = 0; i < 3; ++i)
        views.push_back(std::make_unique<MySimpleTextView>(Rect(10.0 * i, 5, 1, 1), &storage, "t", "graphView", nullptr));
    MyStorageItem item(&storage, nullptr, nullptr);
    item.visible = false;
    const Size s = g.sizeWithStorageItem(&item);
    EXPECT_TRUE(item.visible);
    EXPECT_NEAR(s.width, 17.8, 2);
    EXPECT_NEAR(s.height, 16.3, 2.5);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(views[i]->frame(), Rect(Point{10.0 * i, 5}, s));
        EXPECT_EQ(views[i]->textContainer()->containerSize(), s);
    }

    // A line longer than 300 points wraps there.
    MyGraphGenerator::setAttributedString(&storage, MyGraphGenerator::plainAttributedString(QString(20, 'W') + " " + QString(20, 'W'), attrs(14)));
    const Size wrapped = MyGraphGenerator::measuredSize(&storage);
    EXPECT_LE(wrapped.width, 300);
    EXPECT_GT(wrapped.height, 1.8 * s.height);

    // Views moved by an offset: the union covers the first view's old frame too.
    MySimpleTextView one(Rect(0, 0, 10, 10), &storage, "t", "graphView", nullptr);
    EXPECT_EQ(g.viewRectWithTextViews({&one}, {10, 10}, {5, 5}), Rect(0, 0, 15, 15));
    EXPECT_EQ(one.frame(), Rect(5, 5, 10, 10));
    EXPECT_EQ(g.viewRectWithTextViews({}, {10, 10}, {5, 5}), Rect());
}

// The glyph's longer side becomes the dot size, and its view puts the ink's middle on the
// dot's centre.
TEST(GraphTexts, GlyphDotsAreSizedAndCentred)
{
    const MyGraphGenerator g;
    for (const char* key : {"\u273a", "x", "\u2014"}) {
        for (double size : {6.0, 20.0}) {
            const QString k = QString::fromUtf8(key);
            const auto [text, rect] = g.glyphDotStorage(k, attrs(12), size);
            TextStorage storage;
            MyGraphGenerator::setAttributedString(&storage, text);
            const QFont font = storage.begin().begin().fragment().charFormat().font();
            QPainterPath ink;
            ink.addText(0, 0, QFont(font, Font72::device()), k);
            // Fonts come in whole pixels at 72 dpi: within the step of one pixel of the font.
            EXPECT_NEAR(std::max(ink.boundingRect().width(), ink.boundingRect().height()), size, 0.8) << key;

            MySimpleTextView view(rect, &storage, "dot", "graphView", nullptr);
            const double scale = 8;
            const QImage image = GraphItem::image(&view, scale);
            const QRect box = inkOf(image, [](QRgb p) { return qAlpha(p) > 100; });
            ASSERT_FALSE(box.isEmpty()) << key;
            // Back to the dot's coordinates: x from the view's left, y up from its bottom.
            EXPECT_NEAR(rect.origin.y + (image.height() - (box.top() + box.height() / 2.0)) / scale, 0, 0.5) << key << " " << size;
            EXPECT_NEAR(rect.midX(), 0, 1e-12);
        }
    }
    EXPECT_EQ(g.glyphDotStorage(" ", attrs(12), 6).second, Rect());
}

// While the generator exists, the check of the value settings reads scale texts with their
// markup.
TEST(GraphTexts, ScaleTextRulesReadMarkup)
{
    const ScaleTextRules rules = MyGraphGenerator::scaleTextRules();
    EXPECT_FALSE(rules.showsText("^{"));
    EXPECT_TRUE(rules.showsText("m^"));
    const QVariantMap stored{{"min", "0"}, {"max", "1000"}, {"partition", qint64(1)},
                             {"scaleStrings", QVariantList{"0", "1000"}}, {"logarithmic", false}};
    // «2×10^{3}» is 2000, beyond the axis: refused, where plain reading would see 2.
    const QString label = QString::fromUtf8("2\u00d710^{3}");
    auto outcome = [&] { return MyValueSettingsCheck::adjustValueSettings(label, "", 0, stored, 0, 10).outcome; };
    {
        const MyGraphGenerator generator;
        EXPECT_EQ(outcome(), ValueSettingsResult::Refused);
    }
    EXPECT_EQ(outcome(), ValueSettingsResult::Passed);
}
