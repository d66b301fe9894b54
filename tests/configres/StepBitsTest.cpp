// The step bits of configRes.plist against what each layout step reads. The tables below are
// written from the layout steps' descriptions of the settings they read, not from the
// resource's source.
#include "KeyPaths.h"
#include "platform/Resources.h"

#include <gtest/gtest.h>

namespace {

const QVariantMap& resource()
{
    static const QVariantMap r = Resources::plist(QStringLiteral("configRes.plist")).toMap();
    return r;
}

qint64 bit(const QString& step)
{
    return resource().value("configIndexDict").toMap().value(step).toLongLong();
}

qint64 mask(const QString& keyPath)
{
    return resource().value("intoOutlineItem").toMap().value(keyPath).toMap().value("setIndex").toLongLong();
}

// Each row: a step (or "|"-joined steps, one of which must carry the bit) and the settings
// it reads, or a setting and the steps that must run again after it.
using Table = std::vector<std::pair<const char*, const char*>>;

// Every (step, key path) pair of a table whose rows name steps first, or key paths first:
// the key path carries the step's bit, or with `carried` false it does not.
void expectBits(const Table& table, bool stepsFirst, bool carried = true)
{
    for (const auto& [left, right] : table) {
        for (const QString& r : QString(right).split(' ')) {
            const QString steps = stepsFirst ? left : r;
            const QString path = keyPath(stepsFirst ? r : left);
            qint64 bits = 0;
            for (const QString& step : steps.split('|')) {
                ASSERT_GT(bit(step), 0) << qPrintable(step);
                bits |= bit(step);
            }
            EXPECT_EQ((mask(path) & bits) != 0, carried) << qPrintable(steps) << " for " << qPrintable(readable(path));
        }
    }
}

TEST(StepBits, EveryStepRunsForTheSettingsItReads)
{
    expectBits({
        {"background", "bg.viewWidth bg.viewHeight bg.color"},
        {"horizontalGaps", "cat.horizontalGap cat.represents"},
        {"graphRect", "rect.lineWidth rect.height rect.fillColor rect.lineColor rect.columnWidth rect.graphRectWidth"},
        {"xAxis", "x.lineColor x.axisWidth x.tickLength x.tickWidth"},
        {"xTexts", "cat.categoryTitle cat.xTitleAttr cat.represents entry entry.represent entry.origName"},
        {"nameTags", "cat.represents entry entry.origName"},
        {"xTextsRect", "cat.verticalGap cat.categoryTitle cat.represents entry.origName x.tickLength"},
        {"yAxis", "y.lineColor y.axisWidth y.tickLength y.tickWidth vs.logarithmic vs.min vs.max vs.scaleStrings "
                  "vs.scaleStrings.*"},
        {"scaleTexts", "y.scaleVisible y.scaleTextAttr vs.scaleStrings vs.scaleStrings.*"},
        {"scaleTextRects", "y.scaleVisible y.tickLength y.scaleGap vs.logarithmic vs.min vs.max vs.scaleStrings.*"},
        {"yTitleText", "y.titleText y.titleTextAttr y.titleVisible"},
        {"yTitleTextRect", "y.titleVisible y.titleGap y.titleRotation y.tickLength"},
        // Dot plot.
        {"dotObject", "dot.dotType dot.type dot.dotSize dot.lineWidth dot.fillColor dot.lineColor dot.fontKey dot.dotAttr"},
        {"dotRect", "vs.logarithmic vs.min vs.max rect.height dot.dotSize dot.betweenDots"},
        {"dotsView", "rect.columnWidth bars.barType bars.barLength"},
        {"barObjects", "bars.barType rect.columnWidth bars.barLength bars.lineWidth bars.barColor"},
        {"barRects", "bars.barType vs.logarithmic vs.min vs.max rect.height"},
        // Boxplot: boxes, whiskers, marks, outlier dots and median lines run on either step.
        {"barObjects|barRects", "boxes.boxWidth boxes.boxLineWidth boxes.medianLineWidth boxes.medianLineColor "
                                "boxes.whiskerWidth boxes.minMaxLength boxes.minMaxWidth box.boxFillColor "
                                "box.boxLineColor box.minMaxLineColor box.dotType box.dotSize box.dotFillColor "
                                "box.dotLineColor box.dotLineWidth box.fontKey box.dotAttr rect.columnWidth "
                                "rect.height vs.logarithmic vs.min vs.max cat.represents"},
    }, true);
}

// A step that runs again leaves new results; the steps that read them run again too.
TEST(StepBits, StepsUsingResultsRunAgain)
{
    expectBits({
        // Everything placed by the graph rectangle or by the value axis.
        {"rect.height", "graphRect xAxis xTextsRect yAxis scaleTextRects yTitleTextRect dotRect dotAll dotsView barRects"},
        {"rect.columnWidth", "graphRect xAxis xTextsRect dotsView barObjects barRects"},
        {"cat.horizontalGap", "horizontalGaps graphRect xAxis xTextsRect dotsView"},
        {"cat.represents", "horizontalGaps graphRect xAxis xTexts nameTags xTextsRect dotRect dotAll dotsView barRects"},
        {"vs.min", "yAxis scaleTextRects yTitleTextRect dotRect dotAll dotsView barRects"},
        {"vs.scaleStrings.*", "yAxis scaleTexts scaleTextRects yTitleTextRect"},
        {"y.scaleTextAttr", "scaleTexts scaleTextRects yTitleTextRect"},
        {"y.titleText", "yTitleText yTitleTextRect"},
        {"cat.xTitleAttr", "xTexts xTextsRect"},
        {"dot.dotSize", "dotObject dotRect dotsView"},
        {"bars.lineWidth", "barObjects barRects"},
        // A box's containers follow what its elements cover.
        {"boxes.boxWidth", "barObjects dotsView"},
        {"box.dotSize", "barObjects dotsView"},
    }, false);
}

// Steps whose inputs a setting leaves as they were do not run for it.
TEST(StepBits, OtherStepsStayOff)
{
    expectBits({
        // Bars are made once for every column; a change of categories only moves them.
        {"categoryDicts", "barObjects"},
        {"cat.represents", "barObjects"},
        // Colours and the frame's stroke move nothing.
        {"rect.lineWidth", "xAxis dotsView"},
        {"dot.fillColor", "dotRect dotsView"},
        {"box.dotFillColor", "dotsView"},
        // The median lines lie over the boxes, outside what their containers cover.
        {"boxes.medianLineWidth", "dotsView"},
    }, false, false);
}

// Settings no step reads re-run nothing, and colours only repaint their own element.
TEST(StepBits, UnreadSettingsAndColoursStayNarrow)
{
    // The page size follows "followPageLayout" through the background row; outlier dots
    // never read an old "type".
    const Table exact{{"graphTitle", ""}, {"vs.partition", ""}, {"bg.followPageLayout", ""}, {"box.type", ""},
                      {"rect.fillColor", "graphRect"},
                      {"x.lineColor", "xAxis"}, {"dot.fillColor", "dotObject"}, {"bars.barColor", "barObjects"}};
    for (const auto& [path, step] : exact)
        EXPECT_EQ(mask(keyPath(path)), *step ? bit(step) : 0) << path;
}

TEST(StepBits, OneBitPerStepAndTheRootRunsThemAll)
{
    const QVariantMap steps = resource().value("configIndexDict").toMap();
    const QStringList expected = QString("background horizontalGaps graphRect xAxis xTexts nameTags xTextsRect yAxis "
                                         "scaleTexts scaleTextRects yTitleText yTitleTextRect xTextsAllCategories "
                                         "xTextAllRepresents dotAll dotObject dotRect dotsView barObjects barRects").split(' ');
    EXPECT_EQ(steps.size(), expected.size());
    qint64 all = 0;
    for (const QString& name : expected) {
        const qint64 b = bit(name);
        EXPECT_GT(b, 0) << qPrintable(name);   // bit 63 would fail the signed "AND > 0" test
        EXPECT_EQ(b & (b - 1), 0) << qPrintable(name);
        EXPECT_EQ(all & b, 0) << qPrintable(name);
        all |= b;
    }
    // The two reserve bits of the last category.
    EXPECT_EQ(bit("dotObject"), 0x8000);
    EXPECT_EQ(bit("dotAll"), 0x10000);
    EXPECT_EQ(mask(QString()) & all, all);

    const QVariantMap rows = resource().value("intoOutlineItem").toMap();
    for (auto it = rows.cbegin(); it != rows.cend(); ++it)
        EXPECT_EQ(it.value().toMap().value("setIndex").toLongLong() & ~all, 0) << qPrintable(it.key());
}

// Sub-step bits that steps test themselves, by where a row sits.
TEST(StepBits, RowsCarryTheScopeTheirStepsNeed)
{
    const QVariantMap rows = resource().value("intoOutlineItem").toMap();
    for (auto it = rows.cbegin(); it != rows.cend(); ++it) {
        const qint64 m = it.value().toMap().value("setIndex").toLongLong();
        const QStringList keys = it.key().split('\t');
        const bool inCategory = keys.size() >= 2 && keys[0] == "categoryDicts";
        // The dot objects of one series only when the row lies inside that series.
        if ((m & (bit("dotObject") | bit("dotRect"))) && !(keys.size() >= 2 && keys[0] == "dotsProperties")) {
            EXPECT_NE(m & bit("dotAll"), 0) << qPrintable(readable(it.key()));
        }
        // The category texts: one text needs the category and the entry positions.
        if ((m & bit("xTexts")) && !inCategory) {
            EXPECT_NE(m & bit("xTextsAllCategories"), 0) << qPrintable(readable(it.key()));
        }
        if ((m & bit("xTexts")) && !(inCategory && keys.size() >= 4)) {
            EXPECT_NE(m & bit("xTextAllRepresents"), 0) << qPrintable(readable(it.key()));
        }
    }
}

} // namespace
