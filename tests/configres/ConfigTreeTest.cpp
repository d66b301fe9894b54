// Settings trees of new graphs, built with the bundled configRes.plist: every row is
// described, titled and explained, its default value passes its own edit check, and its
// copy pastes back onto it.
#include "analysis/MyGraphSettingsBuilder.h"
#include "app/AppDelegate.h"
#include "outline/MyConfigRootItem.h"
#include "outline/MyOutlineTexts.h"
#include "outline/MySettingsClipboard.h"
#include "platform/Resources.h"

#include <QRegularExpression>
#include <QSet>
#include <functional>
#include <gtest/gtest.h>

namespace {

// Graph settings of a new analysis made from the built-in defaults by the analyses' own
// builder: `levels` category levels (the data columns first), the last with `series`
// entries, so one series per entry.
QVariantMap newGraphSettings(const AppDelegate& app, bool scatter, int levels, int series)
{
    MyAnalysisData analysis;
    analysis.graphType = scatter ? "scatter" : "boxplot";
    analysis.title = "Untitled";
    analysis.minMax = {1.0, 9.0};
    for (int level = 0; level < levels; ++level) {
        QVariantList represents;
        for (int j = 0; j < (level == levels - 1 ? series : 2); ++j)
            represents << QVariantMap{{"origName", QString("v%1").arg(j)}, {"represent", QString("V%1").arg(j)}};
        const QString title = level == 0 ? QString("dataColumns") : QString("c_Col%1").arg(level);
        analysis.categoryDicts << QVariantMap{{"categoryTitle", title}, {"represents", represents}};
        analysis.representLists << represents;
    }
    return MyGraphSettingsBuilder::graphSettingsFromAnalysis(app, 540, 720, analysis);
}

void forEachRow(MyConfigItem* item, const std::function<void(MyConfigItem*)>& f)
{
    for (MyConfigItem* child : item->configChildren()) {
        f(child);
        forEachRow(child, f);
    }
}

// Texts that are names and labels, not numbers.
const QSet<QString> kFreeText{"graphTitle", "categoryTitle", "origName", "represent", "titleText", "fontKey"};

TEST(ConfigTree, EveryRowIsDescribedTitledAndExplained)
{
    AppDelegate app;
    QString error;
    ASSERT_TRUE(app.loadConfigRes(Resources::plist(QStringLiteral("configRes.plist")), &error)) << qPrintable(error);
    app.makeAppDefaults();
    app.loadUserDefaults(DefaultsStore());   // nothing stored: the built-in defaults
    // Both graph types, one to three category levels, one to nine series: 54 trees.
    for (int shape = 0; shape < 54; ++shape) {
        const bool scatter = shape / 27;
        const int levels = 1 + shape / 9 % 3;
        const int series = 1 + shape % 9;
        SCOPED_TRACE(testing::Message() << (scatter ? "dots, " : "boxes, ") << levels << " levels, " << series << " series");
        MyConfigRootItem root(nullptr);
        ASSERT_TRUE(root.outlineItemFromSettings(newGraphSettings(app, scatter, levels, series)));
        int rows = 0;
        forEachRow(&root, [&](MyConfigItem* r) {
            ++rows;
            const QString where = QString(r->itemID).replace('\t', " > ");
            ASSERT_TRUE(app.configResOutlineItem.contains(r->itemID)) << qPrintable(where);
            const QVariantMap strings = app.configResString.value(r->itemID).toMap();
            // One sentence: a full stop at the end and nowhere before.
            const QString tip = strings.value("tooltip").toString();
            EXPECT_TRUE(tip.endsWith('.') && !tip.chopped(1).contains(QRegularExpression("[.!?](\\s|$)")))
                << qPrintable(where) << ": " << qPrintable(tip);
            ASSERT_TRUE(strings.contains("titleRepresent")) << qPrintable(where);

            // Array elements are titled by their position.
            EXPECT_FALSE(MyOutlineTexts::objectOfConfigOutlineView(r, 0).toString().isEmpty()) << qPrintable(where);

            // A copied row can be pasted back onto itself.
            EXPECT_TRUE(!r->changeable || MySettingsClipboard::check(MySettingsClipboard::recordOf(r), r).accepted())
                << qPrintable(where);

            // Defaults pass the row's own edit check.
            if (r->type == "string") {
                EXPECT_EQ(r->type2.isEmpty(), kFreeText.contains(r->title)) << qPrintable(where);
                EXPECT_TRUE(MyOutlineTexts::allowString(r->message, r)) << qPrintable(where) << " = " << qPrintable(r->message);
            } else if (r->type == "integer") {
                EXPECT_TRUE(MyOutlineTexts::allowInt(r->message.toLongLong(), r)) << qPrintable(where);
            } else if (r->type == "data") {
                // A pasted colour never lands in a font row, nor the other way round.
                EXPECT_EQ(r->type2, r->title.endsWith("olor") ? QString("color") : QString("attributes")) << qPrintable(where);
            }
        });
        EXPECT_GT(rows, 40);
    }
}

} // namespace
