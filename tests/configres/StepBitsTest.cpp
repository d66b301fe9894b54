// The step bits of configRes.plist against what each layout step reads. The tables below are
// written from the layout steps' descriptions of the settings they read, not from the
// resource's source.
#include "platform/Resources.h"

#include <gtest/gtest.h>

namespace {

// Settings key paths written short for the tables below: "group.key" with the groups below,
// "*" for an array element ("vs.scaleStrings.*"), a plain key for the top level.
QString keyPath(const QString& written)
{
    static const QMap<QString, QString> groups{
        {"bg", "graphProperties\tbackground"}, {"rect", "graphProperties\tgraphRect"},
        {"x", "graphProperties\txAxis"}, {"y", "graphProperties\tyAxis"},
        {"bars", "graphProperties\tbars"}, {"boxes", "graphProperties\tboxes"},
        {"cat", "categoryDicts\t"}, {"entry", "categoryDicts\t\trepresents\t"},
        {"dot", "dotsProperties\t"}, {"box", "boxesProperties\t"}, {"vs", "valueSettings"}};
    QStringList parts = written.split('.');
    parts[0] = groups.value(parts[0], parts[0]);
    if (parts.last() == "*")
        parts.last().clear();
    return parts.join('\t');
}

QVariantMap resource() { return Resources::plist(QStringLiteral("configRes.plist")).toMap(); }

// Each row: a step (or "|"-joined steps, one of which must carry the bit) and the settings
// it reads; every one of those key paths carries the step's bit.
TEST(StepBits, EveryStepRunsForTheSettingsItReads)
{
    const QVariantMap stepBits = resource().value("configIndexDict").toMap();
    const QVariantMap rows = resource().value("intoOutlineItem").toMap();
    const std::vector<std::pair<const char*, const char*>> table{
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
    };
    for (const auto& [steps, paths] : table) {
        qint64 bits = 0;
        for (const QString& step : QString(steps).split('|')) {
            ASSERT_GT(stepBits.value(step).toLongLong(), 0) << qPrintable(step);
            bits |= stepBits.value(step).toLongLong();
        }
        for (const QString& written : QString(paths).split(' ')) {
            const QString path = keyPath(written);
            const qint64 mask = rows.value(path).toMap().value("setIndex").toLongLong();
            EXPECT_NE(mask & bits, 0) << steps << " for " << qPrintable(written);
        }
    }
}

// Settings no step reads carry no bit, so changing them lays nothing out: the title (only
// window titles show it), the partition (its labels come back through the value settings),
// following the page (the background row takes the new size) and the box series' old "type".
// The root carries every step's bit: the window set-up draws the whole graph through it.
TEST(StepBits, SettingsNoStepReadsCarryNone)
{
    const QVariantMap rows = resource().value("intoOutlineItem").toMap();
    for (const char* written : {"graphTitle", "vs.partition", "bg.followPageLayout", "box.type"})
        EXPECT_EQ(rows.value(keyPath(written)).toMap().value("setIndex").toLongLong(), 0) << written;
    qint64 every = 0;
    for (const QVariant& bit : resource().value("configIndexDict").toMap())
        every |= bit.toLongLong();
    EXPECT_EQ(rows.value(QString()).toMap().value("setIndex").toLongLong() & every, every);
}

} // namespace
