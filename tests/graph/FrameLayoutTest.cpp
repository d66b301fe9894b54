// The frame and axes laid out by the generator into a view manager, from new graph
// settings: the record the steps leave, what a second run and a narrow change leave alone,
// live changes of the category represents, and the rendered page.
#include "PlotLayoutFixture.h"
#include "views/MyStorageItem.h"
#include <gtest/gtest.h>
#include <QPainterPath>
#include <cmath>
#include <numeric>

namespace {
QVector<QPointF> points(const BezierPath& p)
{
    QVector<QPointF> out;
    for (int i = 0; i < p.painterPath().elementCount(); ++i)
        out << QPointF(p.painterPath().elementAt(i));
    return out;
}
} // namespace

TEST(FrameLayout, WorkedExampleRecord)
{
    FrameLayout g({{"a", "b", "c"}});
    g.set({"categoryDicts", "0", "horizontalGap"}, "10");
    g.layout();
    const MyViewManager& vm = *g.vm;
    EXPECT_EQ(vm.horizontalGaps, (QVector<double>{10, 0, 0, 10}));
    EXPECT_EQ(vm.baseXs, (QVector<double>{47.5, 122.5, 197.5}));
    EXPECT_EQ(vm.graphRect, Rect(0, 0, 245, 200));
    EXPECT_EQ(vm.rGraphRect, Rect(-0.5, -0.5, 246, 201));
    EXPECT_EQ(vm.rXRect, Rect(0, -6, 245, 6.5));
    EXPECT_EQ(vm.rYRect, Rect(-6, -0.5, 6.5, 201));
    EXPECT_EQ(vm.nameTags, (QStringList{"a", "b", "c"}));
    EXPECT_EQ(g.base->myFrame, Rect(0, 0, 500, 500));
    const struct { QString name; Rect frame; qsizetype lines; QVector<QPointF> thirdPath; } views[] = {
        {MyViewManager::kBackground, {0, 0, 500, 500}, 0, {}}, {MyViewManager::kGraphRect, {-6, -6, 257, 212}, 0, {}},
        {MyViewManager::kXAxis, {-0.5, -8, 246, 8.5}, 4, {{122.5, 0}, {122.5, -6}}},
        {MyViewManager::kYAxis, {-8, -0.5, 8.5, 201}, 4, {{0, 100}, {-6, 100}}},
    };
    for (const auto& v : views) {
        const MyView* view = vm.viewDict.value(v.name);
        ASSERT_TRUE(view) << v.name;
        EXPECT_EQ(view->frame(), v.frame);
        EXPECT_EQ(view->boundsOrigin(), v.name == MyViewManager::kBackground ? Point() : v.frame.origin);
        const PathPair paths = vm.viewBeziers.value(v.name);
        ASSERT_EQ(paths.line.size(), v.lines);
        if (v.lines) {
            EXPECT_EQ(points(paths.line[2]), v.thirdPath);
        }
    }
    EXPECT_EQ(vm.viewBeziers.value(MyViewManager::kBackground).closed.first().bounds(), Rect(0.5, 0.5, 499, 499));

    // Scale texts end 10 left of the axis, centred on their values; labels stand centred
    // under their columns; the hidden title adds nothing.
    ASSERT_EQ(vm.scaleTextRects.size(), 3);
    for (int i = 0; i < 3; ++i) {
        // A 14-point line of digits in the built-in font: about 8.9 points per digit, 16.3 high.
        EXPECT_NEAR(vm.scaleTextRects[i].size.width, 8.9 * (i + 1), 1.5 * (i + 1));
        EXPECT_NEAR(vm.scaleTextRects[i].size.height, 16.3, 2.5);
        EXPECT_DOUBLE_EQ(vm.scaleTextRects[i].maxX(), -10);
        EXPECT_DOUBLE_EQ(vm.scaleTextRects[i].midY(), 100.0 * i);
        const Rect label = vm.textViewsDict.value(QString("c0\t") + QChar('a' + i)).value(0)->frame();
        EXPECT_DOUBLE_EQ(label.midX(), vm.baseXs[i]);
        EXPECT_DOUBLE_EQ(label.origin.y, -6 - 4 - vm.xTextSizes[0][0].height);
    }
    EXPECT_EQ(vm.yTextRect, Rect());
    EXPECT_FALSE(vm.storageItemDict.value(MyGraphGenerator::kYTitle)->visible);
}

TEST(FrameLayout, SecondRunMakesNothingAndANarrowChangeMovesOnlyItsStep)
{
    FrameLayout g({{"P", "Q"}, {"a", "b", "c"}});
    g.set({"graphProperties", "yAxis", "titleText"}, "Weight");
    g.set({"graphProperties", "yAxis", "titleVisible"}, true);
    g.layout();
    const QHash<const void*, Rect> first = framesOf(*g.vm).frames;
    const qsizetype records = g.vm->storageItemDict.size() + g.vm->scalesStorageItem.size();
    g.layoutRow({});
    EXPECT_EQ(framesOf(*g.vm).frames, first);
    EXPECT_EQ(g.vm->storageItemDict.size() + g.vm->scalesStorageItem.size(), records);

    // The x axis's width runs the x axis step alone.
    g.change({"graphProperties", "xAxis", "axisWidth"}, "3");
    const QHash<const void*, Rect> after = framesOf(*g.vm).frames;
    QHash<const void*, Rect> expected = first;
    expected[g.vm->viewDict.value(MyViewManager::kXAxis)] = Rect(-0.5, -8, 451, 9.5);
    const void* graphView = g.vm->viewDict.value(MyViewManager::kGraphView);   // holds them all, may move
    expected[graphView] = after.value(graphView);
    EXPECT_EQ(after, expected);
}

// Represents of a live graph change: every name shown has one view per time it is shown and
// stands under its columns; names no longer there are hidden.
TEST(FrameLayout, LabelViewsFollowTheCurrentRepresents)
{
    const struct { QList<QStringList> before; int level; QStringList after; } cases[] = {
        {{{"a", "b", "c"}}, 0, {"a", "b"}}, {{{"a", "b"}}, 0, {"a", "b", "c", "d"}},
        {{{"P", "Q"}, {"x", "y"}}, 0, {"P", "Q", "R"}}, {{{"P", "Q", "R"}, {"x", "y"}}, 0, {"Q"}},
        {{{"P", "Q"}, {"x", "y", "z"}}, 1, {"z", "w"}},
        {{{"P", "Q"}, {"x", "y"}}, 0, {}},   // no columns left: nothing shown, nothing placed
    };
    for (const auto& c : cases) {
        FrameLayout g(c.before);
        g.layout();
        g.change({"categoryDicts", QString::number(c.level), "represents"}, representsOf(c.after));
        MyViewManager& vm = *g.vm;
        QList<QStringList> levels = c.before;
        levels[c.level] = c.after;
        qsizetype shown = 1;
        QSet<QString> current;
        for (qsizetype i = 0; i < levels.size(); ++i) {
            for (qsizetype j = 0; j < levels[i].size(); ++j) {
                const QString name = QString("c%1\t").arg(i) + levels[i][j];
                current << name;
                const auto record = vm.storageItemDict.value(name);
                ASSERT_TRUE(record && record->visible) << name;
                const QVector<MySimpleTextView*> views = vm.textViewsDict.value(name);
                ASSERT_EQ(views.size(), shown) << name;
                EXPECT_EQ(record->textStorage->textViews().size(), shown);
                // Centred under the mean of its columns, as the rows place it.
                const qsizetype block = shown ? vm.baseXs.size() / shown : 0;
                const qsizetype width = shown ? block / levels[i].size() : 0;
                for (qsizetype k = 0; k < shown; ++k) {
                    const auto first = vm.baseXs.cbegin() + k * block + j * width;
                    EXPECT_NEAR(views[k]->frame().midX(), std::accumulate(first, first + width, 0.0) / double(width), 1e-9) << name;
                }
            }
            shown *= levels[i].size();
        }
        for (const auto& [name, record] : vm.storageItemDict)
            EXPECT_FALSE(name != MyGraphGenerator::kYTitle && !current.contains(name) && record->visible) << name;
    }
}

TEST(FrameLayout, RenderedAxesTicksAndRotatedTitle)
{
    FrameLayout g({{"a", "b", "c"}});
    g.set({"graphProperties", "yAxis", "titleText"}, "Weight (g)");   // hidden, as every new graph's title is
    g.layout();

    auto inkIn = [&](const QImage& page, const Rect& r) {
        return inkOf(page, isInk, QRect(g.pixelOf(page, r.minX(), r.maxY()), g.pixelOf(page, r.maxX(), r.minY())));
    };
    const Rect titleRoom(-90, 0, 45, 200);   // left of the scale texts
    QImage page = g.render();
    const struct { double x, y; bool ink; } spots[] = {
        {120, 0, true},  {37.5, -3, true},  {112.5, -5, true}, {75, -3, false},  // x axis and its ticks
        {0, 150, true},  {-3, 100, true},   {-3, 200, true},  {-3, 75, false},   // y axis and its ticks
        {100, 100, false}, {3, 150, false}, {37.5, 3, false},                    // inside the graph
        {224.9, 100, true}, {120, 199.9, true}, {226, 100, false},               // the frame
    };
    for (const auto& s : spots) {
        const QPoint px = g.pixelOf(page, s.x, s.y);
        EXPECT_EQ(isInk(page.pixel(px)), s.ink) << s.x << ", " << s.y;
    }
    // The hidden title shows nowhere: not beside the axis, not inside the graph.
    EXPECT_TRUE(inkIn(page, titleRoom).isEmpty());
    EXPECT_TRUE(inkIn(page, Rect(2, 2, 220, 196)).isEmpty());

    g.change({"graphProperties", "yAxis", "titleVisible"}, true);
    page = g.render();
    const QRect title = inkIn(page, titleRoom);
    ASSERT_FALSE(title.isEmpty());
    EXPECT_GT(title.height(), 2 * title.width());
    EXPECT_NEAR(title.center().y(), g.pixelOf(page, 0, 100).y(), 3);

    g.change({"graphProperties", "yAxis", "titleVisible"}, false);
    EXPECT_TRUE(inkIn(g.render(), titleRoom).isEmpty());
}

// A logarithmic axis whose end is not above 0 has no place for its values: the line stays,
// ticks and labels go, and they come back with a drawable end.
TEST(FrameLayout, LogarithmicAxisWithoutAPositiveEnd)
{
    FrameLayout g({QStringList{"a", "b"}});
    g.layout();
    g.change({"valueSettings"}, QVariantMap{{"min", "0"}, {"max", "100"}, {"partition", qint64(2)},
                                            {"logarithmic", true}, {"scaleStrings", QVariantList{"1", "10", "100"}}});
    MyViewManager& vm = *g.vm;
    EXPECT_TRUE(allGeometryPlaceable(vm));
    EXPECT_EQ(vm.viewBeziers.value(MyViewManager::kYAxis).line.size(), 1);
    EXPECT_TRUE(vm.scaleTextRects.isEmpty());
    for (const auto& item : vm.scalesStorageItem)
        EXPECT_FALSE(item->visible);
    const QImage page = g.render();
    EXPECT_TRUE(isInk(page.pixel(g.pixelOf(page, 0, 120))));

    g.change({"valueSettings", "min"}, "1");
    EXPECT_EQ(vm.viewBeziers.value(MyViewManager::kYAxis).line.size(), 4);
    ASSERT_EQ(vm.scaleTextRects.size(), 3);
    EXPECT_DOUBLE_EQ(vm.scaleTextRects[1].midY(), 100);
    for (const auto& item : vm.scalesStorageItem)
        EXPECT_TRUE(item->visible);

    g.change({"valueSettings", "max"}, "1");
    EXPECT_TRUE(allGeometryPlaceable(vm));
    EXPECT_TRUE(vm.scaleTextRects.isEmpty());
}

// Scale texts are made once: fewer labels leave hidden spares, which more labels take back
// before any text is made.
TEST(FrameLayout, ScaleTextsReuseTheirRecords)
{
    FrameLayout g({QStringList{"a"}});
    g.layout();
    MyViewManager& vm = *g.vm;
    auto labels = [&](const QStringList& l) {
        QVariantMap vs = g.settings["valueSettings"].toMap();
        vs["scaleStrings"] = QVariant(l).toList();
        vs["partition"] = qint64(l.size() - 1);
        g.change({"valueSettings"}, vs);
    };
    auto shown = [&] {
        QStringList texts;
        for (const auto& item : vm.scalesStorageItem)
            if (item->visible)
                texts << item->textStorage->toPlainText();
        return texts;
    };
    labels({"0", "100"});
    EXPECT_EQ(vm.scalesStorageItem.size(), 3);
    EXPECT_EQ(shown(), (QStringList{"0", "100"}));
    labels({"0", "25", "50", "75", "100"});
    EXPECT_EQ(vm.scalesStorageItem.size(), 5);
    EXPECT_EQ(shown().size(), 5);
    // No labels at all ("partition" -1): every text a hidden spare, the axis a bare line.
    labels({});
    EXPECT_EQ(vm.scalesStorageItem.size(), 5);
    EXPECT_TRUE(shown().isEmpty());
    EXPECT_TRUE(vm.scaleTextRects.isEmpty());
    EXPECT_EQ(vm.viewBeziers.value(MyViewManager::kYAxis).line.size(), 1);
    EXPECT_TRUE(allGeometryPlaceable(vm));
    labels({"50"});
    EXPECT_EQ(vm.scalesStorageItem.size(), 5);
    EXPECT_EQ(shown(), QStringList{"50"});
}
