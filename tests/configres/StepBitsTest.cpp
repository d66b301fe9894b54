// The step bits of configRes.plist against what each layout step reads. The table below is
// written from the layout steps' descriptions of the settings they read, not from the
// resource's source.
#include "platform/Resources.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace {

const QVariantMap& resource()
{
    static const QVariantMap r = Resources::plist(QStringLiteral("configRes.plist")).toMap();
    return r;
}

qint64 bit(const char* step)
{
    return resource().value("configIndexDict").toMap().value(QString::fromUtf8(step)).toLongLong();
}

qint64 mask(const QString& keyPath)
{
    return resource().value("intoOutlineItem").toMap().value(keyPath).toMap().value("setIndex").toLongLong();
}

// Keys joined as in a settings row's key path; "" is an array element.
QString path(std::initializer_list<const char*> keys)
{
    QStringList l;
    for (const char* k : keys)
        l << QString::fromUtf8(k);
    return l.join('\t');
}

const QString kGraphRect = path({"graphProperties", "graphRect"});
const QString kXAxis = path({"graphProperties", "xAxis"});
const QString kYAxis = path({"graphProperties", "yAxis"});
const QString kBars = path({"graphProperties", "bars"});
const QString kBoxes = path({"graphProperties", "boxes"});
const QString kCategory = path({"categoryDicts", ""});
const QString kEntry = path({"categoryDicts", "", "represents", ""});
const QString kDot = path({"dotsProperties", ""});
const QString kBox = path({"boxesProperties", ""});

QString in(const QString& group, const char* key)
{
    return group + '\t' + QString::fromUtf8(key);
}

struct Reads {
    const char* step;
    QStringList keyPaths;
};

// Each step with the settings it reads.
const std::vector<Reads>& readsTable()
{
    static const std::vector<Reads> table{
        {"background", {in(path({"graphProperties", "background"}), "viewWidth"),
                        in(path({"graphProperties", "background"}), "viewHeight"),
                        in(path({"graphProperties", "background"}), "color")}},
        {"horizontalGaps", {in(kCategory, "horizontalGap"), in(kCategory, "represents")}},
        {"graphRect", {in(kGraphRect, "lineWidth"), in(kGraphRect, "height"), in(kGraphRect, "fillColor"),
                       in(kGraphRect, "lineColor"), in(kGraphRect, "columnWidth"), in(kGraphRect, "graphRectWidth")}},
        {"xAxis", {in(kXAxis, "lineColor"), in(kXAxis, "axisWidth"), in(kXAxis, "tickLength"), in(kXAxis, "tickWidth")}},
        {"xTexts", {in(kCategory, "categoryTitle"), in(kCategory, "xTitleAttr"), in(kCategory, "represents"),
                    kEntry, in(kEntry, "represent"), in(kEntry, "origName")}},
        {"nameTags", {in(kCategory, "represents"), kEntry, in(kEntry, "origName")}},
        {"xTextsRect", {in(kCategory, "verticalGap"), in(kCategory, "categoryTitle"), in(kCategory, "represents"),
                        in(kEntry, "origName"), in(kXAxis, "tickLength")}},
        {"yAxis", {in(kYAxis, "lineColor"), in(kYAxis, "axisWidth"), in(kYAxis, "tickLength"), in(kYAxis, "tickWidth"),
                   path({"valueSettings", "logarithmic"}), path({"valueSettings", "min"}),
                   path({"valueSettings", "max"}), path({"valueSettings", "scaleStrings"}),
                   path({"valueSettings", "scaleStrings", ""})}},
        {"scaleTexts", {in(kYAxis, "scaleVisible"), in(kYAxis, "scaleTextAttr"), path({"valueSettings", "scaleStrings"}),
                        path({"valueSettings", "scaleStrings", ""})}},
        {"scaleTextRects", {in(kYAxis, "scaleVisible"), in(kYAxis, "tickLength"), in(kYAxis, "scaleGap"),
                            path({"valueSettings", "logarithmic"}), path({"valueSettings", "min"}),
                            path({"valueSettings", "max"}), path({"valueSettings", "scaleStrings", ""})}},
        {"yTitleText", {in(kYAxis, "titleText"), in(kYAxis, "titleTextAttr"), in(kYAxis, "titleVisible")}},
        {"yTitleTextRect", {in(kYAxis, "titleVisible"), in(kYAxis, "titleGap"), in(kYAxis, "titleRotation"),
                            in(kYAxis, "tickLength")}},
        // Dot plot.
        {"dotObject", {in(kDot, "dotType"), in(kDot, "type"), in(kDot, "dotSize"), in(kDot, "lineWidth"),
                       in(kDot, "fillColor"), in(kDot, "lineColor"), in(kDot, "fontKey"), in(kDot, "dotAttr")}},
        {"dotRect", {path({"valueSettings", "logarithmic"}), path({"valueSettings", "min"}),
                     path({"valueSettings", "max"}), in(kGraphRect, "height"), in(kDot, "dotSize"),
                     in(kDot, "betweenDots")}},
        {"dotsView", {in(kGraphRect, "columnWidth"), in(kBars, "barType"), in(kBars, "barLength")}},
        {"barObjects", {in(kBars, "barType"), in(kGraphRect, "columnWidth"), in(kBars, "barLength"),
                        in(kBars, "lineWidth"), in(kBars, "barColor")}},
        {"barRects", {in(kBars, "barType"), path({"valueSettings", "logarithmic"}), path({"valueSettings", "min"}),
                      path({"valueSettings", "max"}), in(kGraphRect, "height")}},
    };
    return table;
}

// Boxplot: boxes, whiskers, marks, outlier dots and median lines run on "barObjects" or
// "barRects" (one mask); the box containers on "dotsView".
const QStringList& boxElementReads()
{
    static const QStringList l{
        in(kBoxes, "boxWidth"), in(kBoxes, "boxLineWidth"), in(kBoxes, "medianLineWidth"),
        in(kBoxes, "medianLineColor"), in(kBoxes, "whiskerWidth"), in(kBoxes, "minMaxLength"),
        in(kBoxes, "minMaxWidth"), in(kBox, "boxFillColor"), in(kBox, "boxLineColor"),
        in(kBox, "minMaxLineColor"), in(kBox, "dotType"), in(kBox, "dotSize"), in(kBox, "dotFillColor"),
        in(kBox, "dotLineColor"), in(kBox, "dotLineWidth"), in(kBox, "fontKey"), in(kBox, "dotAttr"),
        in(kGraphRect, "columnWidth"), in(kGraphRect, "height"), path({"valueSettings", "logarithmic"}),
        path({"valueSettings", "min"}), path({"valueSettings", "max"}), in(kCategory, "represents")};
    return l;
}

TEST(StepBits, EveryStepRunsForTheSettingsItReads)
{
    for (const Reads& r : readsTable()) {
        const qint64 b = bit(r.step);
        ASSERT_GT(b, 0) << r.step;
        for (const QString& key : r.keyPaths)
            EXPECT_NE(mask(key) & b, 0) << r.step << " for " << qPrintable(QString(key).replace('\t', " > "));
    }
    const qint64 boxMask = bit("barObjects") | bit("barRects");
    for (const QString& key : boxElementReads())
        EXPECT_NE(mask(key) & boxMask, 0) << "box elements for " << qPrintable(QString(key).replace('\t', " > "));
}

// A step that runs again leaves new results; the steps that read them run again too.
struct Follows {
    QString keyPath;
    std::vector<const char*> steps;
};

TEST(StepBits, StepsUsingResultsRunAgain)
{
    const std::vector<Follows> cases{
        // Everything placed by the graph rectangle or by the value axis.
        {in(kGraphRect, "height"),
         {"graphRect", "xAxis", "xTextsRect", "yAxis", "scaleTextRects", "yTitleTextRect", "dotRect", "dotAll",
          "dotsView", "barRects"}},
        {in(kGraphRect, "columnWidth"), {"graphRect", "xAxis", "xTextsRect", "dotsView", "barObjects", "barRects"}},
        {in(kCategory, "horizontalGap"), {"horizontalGaps", "graphRect", "xAxis", "xTextsRect", "dotsView"}},
        {in(kCategory, "represents"),
         {"horizontalGaps", "graphRect", "xAxis", "xTexts", "nameTags", "xTextsRect", "dotRect", "dotAll",
          "dotsView", "barRects"}},
        {path({"valueSettings", "min"}), {"yAxis", "scaleTextRects", "yTitleTextRect", "dotRect", "dotAll", "dotsView", "barRects"}},
        {path({"valueSettings", "scaleStrings", ""}), {"yAxis", "scaleTexts", "scaleTextRects", "yTitleTextRect"}},
        {in(kYAxis, "scaleTextAttr"), {"scaleTexts", "scaleTextRects", "yTitleTextRect"}},
        {in(kYAxis, "titleText"), {"yTitleText", "yTitleTextRect"}},
        {in(kCategory, "xTitleAttr"), {"xTexts", "xTextsRect"}},
        {in(kDot, "dotSize"), {"dotObject", "dotRect", "dotsView"}},
        {in(kBars, "lineWidth"), {"barObjects", "barRects"}},
    };
    for (const Follows& f : cases)
        for (const char* step : f.steps)
            EXPECT_NE(mask(f.keyPath) & bit(step), 0) << step << " after " << qPrintable(QString(f.keyPath).replace('\t', " > "));
}

// Settings no step reads re-run nothing, and colours only repaint their own element.
TEST(StepBits, UnreadSettingsAndColoursStayNarrow)
{
    EXPECT_EQ(mask("graphTitle"), 0);
    EXPECT_EQ(mask(path({"valueSettings", "partition"})), 0);
    EXPECT_EQ(mask(in(kGraphRect, "fillColor")), bit("graphRect"));
    EXPECT_EQ(mask(in(kXAxis, "lineColor")), bit("xAxis"));
    EXPECT_EQ(mask(in(kDot, "fillColor")), bit("dotObject"));
    EXPECT_EQ(mask(in(kBars, "barColor")), bit("barObjects"));
}

TEST(StepBits, OneBitPerStepAndTheRootRunsThemAll)
{
    const QVariantMap steps = resource().value("configIndexDict").toMap();
    const QStringList expected{"background", "horizontalGaps", "graphRect", "xAxis", "xTexts", "nameTags",
                               "xTextsRect", "yAxis", "scaleTexts", "scaleTextRects", "yTitleText",
                               "yTitleTextRect", "xTextsAllCategories", "xTextAllRepresents", "dotAll",
                               "dotObject", "dotRect", "dotsView", "barObjects", "barRects"};
    EXPECT_EQ(steps.size(), expected.size());
    qint64 all = 0;
    for (const QString& name : expected) {
        ASSERT_TRUE(steps.contains(name)) << qPrintable(name);
        const qint64 b = steps.value(name).toLongLong();
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
    const qint64 dotMask = bit("dotObject") | bit("dotRect");
    for (auto it = rows.cbegin(); it != rows.cend(); ++it) {
        const QString& key = it.key();
        const qint64 m = it.value().toMap().value("setIndex").toLongLong();
        const QStringList keys = key.split('\t');
        const QString where = QString(key).replace('\t', " > ");
        // The dot objects of one series only when the row lies inside that series.
        if ((m & dotMask) && !(keys.size() >= 2 && keys[0] == "dotsProperties")) {
            EXPECT_NE(m & bit("dotAll"), 0) << qPrintable(where);
        }
        // The category texts: one text needs the category and the entry positions.
        if (m & bit("xTexts")) {
            const bool inCategory = keys.size() >= 2 && keys[0] == "categoryDicts";
            if (!inCategory) {
                EXPECT_NE(m & bit("xTextsAllCategories"), 0) << qPrintable(where);
            }
            if (!(inCategory && keys.size() >= 4)) {
                EXPECT_NE(m & bit("xTextAllRepresents"), 0) << qPrintable(where);
            }
        }
    }
}

} // namespace
