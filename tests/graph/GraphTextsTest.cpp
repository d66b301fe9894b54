// Graph texts: markup formats, measuring and sizing of shared texts, glyph dots, paths and
// view placement of the generator, and the scale text rules it gives the value settings check.
#include "GraphTestSupport.h"
#include "analysis/MyValueSettingsCheck.h"
#include "graph/DotShapes.h"
#include "graph/MyGraphGenerator.h"
#include "platform/Font72.h"
#include "views/MySimpleTextView.h"
#include "views/MyStorageItem.h"
#include "views/MyView.h"
#include "views/TextStorage.h"
#include <gtest/gtest.h>
#include <QPainterPath>
#include <QTextBlock>
#include <cmath>

namespace {

TextAttributes attrs(double size)
{
    return {FontSpec{QStringLiteral("DejaVu Sans"), size, 16}, Color::gray(0)};
}

struct StyledRun {
    QString text;
    double pointSize;
    double raise;
};

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

} // namespace

TEST(GraphTexts, MarkupRunsCarryScriptSizesAndRaises)
{
    const MyGraphGenerator g;
    const struct {
        const char* text;
        QVector<StyledRun> runs;
    } cases[] = {
        {"10^{3}", {{"10", 14, 0}, {"3", 14 * 2.0 / 3, 14.0 / 3}}},
        {"x_1", {{"x", 14, 0}, {"1", 14 * 2.0 / 3, 14.0 / -6}}},
        {"CO_2 l^{-1}", {{"CO", 14, 0}, {"2", 14 * 2.0 / 3, 14.0 / -6}, {" l", 14, 0}, {"-1", 14 * 2.0 / 3, 14.0 / 3}}},
        {"x^{2", {}},
    };
    for (const auto& c : cases) {
        const QVector<StyledRun> runs = runsOf(g.attributedStringFromString(c.text, attrs(14)));
        ASSERT_EQ(runs.size(), c.runs.size()) << c.text;
        for (qsizetype i = 0; i < runs.size(); ++i) {
            EXPECT_EQ(runs[i].text, c.runs[i].text);
            EXPECT_NEAR(runs[i].pointSize, c.runs[i].pointSize, 1e-9);
            EXPECT_NEAR(runs[i].raise, c.runs[i].raise, 1e-9);
        }
    }
}

TEST(GraphTexts, MeasuredTextsSizeEveryViewOfTheirStorage)
{
    const MyGraphGenerator g;
    TextStorage storage;
    MyGraphGenerator::setAttributedString(&storage, MyGraphGenerator::plainAttributedString("50", attrs(14)));
    QVector<MySimpleTextView*> views;
    for (int i = 0; i < 3; ++i)
        views << new MySimpleTextView(Rect(10.0 * i, 5, 1, 1), &storage, "t", "graphView", nullptr);
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
    MyGraphGenerator::setAttributedString(&storage,
                                          MyGraphGenerator::plainAttributedString(QString(20, 'W') + " " + QString(20, 'W'), attrs(14)));
    const Size wrapped = MyGraphGenerator::measuredSize(&storage);
    EXPECT_LE(wrapped.width, 300);
    EXPECT_GT(wrapped.height, 1.8 * s.height);

    // Views moved by an offset: the union covers the first view's old frame too.
    MySimpleTextView one(Rect(0, 0, 10, 10), &storage, "t", "graphView", nullptr);
    EXPECT_EQ(g.viewRectWithTextViews({&one}, {10, 10}, {5, 5}), Rect(0, 0, 15, 15));
    EXPECT_EQ(one.frame(), Rect(5, 5, 10, 10));
    EXPECT_EQ(g.viewRectWithTextViews({}, {10, 10}, {5, 5}), Rect());
    qDeleteAll(views);
}

TEST(GraphTexts, PathsAndViewPlacement)
{
    const MyGraphGenerator g;
    const BezierPath line = g.lineBezier({10, 20}, {0, -6}, 2.5);
    EXPECT_EQ(line.painterPath().elementAt(1), QPointF(10, 14));
    EXPECT_EQ(line.lineWidth(), 2.5);

    MyView view(Rect(5, 5, 10, 10));
    EXPECT_EQ(g.rectSimpleView(&view, {20, 30}, {1, 2}, {2, -1}), Rect(7, 4, 20, 30));
    EXPECT_EQ(view.frame(), Rect(7, 4, 20, 30));
    EXPECT_EQ(view.boundsOrigin(), (Point{1, 2}));

    // Shape dots follow their outline corners; other types are empty with the line width.
    const auto [star, starRect] = g.dotBezierPath(5, 6, 1);
    const DotShape shape = DotShape::make(5, 6, 1);
    EXPECT_EQ(starRect, shape.rect);
    EXPECT_EQ(star.painterPath().elementAt(3), QPointF(shape.corners[3].x, shape.corners[3].y));
    EXPECT_EQ(g.dotBezierPath(0, 6, 1).first.bounds(), Rect(-2.5, -2.5, 5, 5));
    const auto [none, noneRect] = g.dotBezierPath(9, 6, 2);
    EXPECT_TRUE(none.isEmpty() && none.lineWidth() == 2 && noneRect == Rect());
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
            QRectF box;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    if (qAlpha(image.pixel(x, y)) > 100)
                        box |= QRectF(x, y, 1, 1);
            ASSERT_FALSE(box.isEmpty()) << key;
            // Back to the dot's coordinates: x from the view's left, y up from its bottom.
            const double cy = rect.origin.y + (image.height() - box.center().y()) / scale;
            EXPECT_NEAR(cy, 0, 0.5) << key << " " << size;
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
    EXPECT_EQ(rules.valueOf("10^{3}"), 1000);
    EXPECT_EQ(rules.precisionOf(QString::fromUtf8("2.5\u00d710^3")), 2);
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
