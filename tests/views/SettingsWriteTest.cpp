// Writing a typed or pasted value: each kind of row fitted to the graph, and the overwrite
// question of a whole-settings paste answered "Yes", "No" and dismissed.
#include "EditFixture.h"
#include "platform/NumberText.h"
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

namespace {

QVariantMap at(const QVariantMap& m, const QString& path)
{
    QVariant v = m;
    for (const QString& key : path.split('/'))
        v = v.toMap().value(key);
    return v.toMap();
}

} // namespace

class SettingsWrite : public EditFixture {
protected:
    void SetUp() override
    {
        EditFixture::SetUp();
        addTwoGraphs();
    }
    Graph& dots() { return *graphs[0]; }
    Graph& boxes() { return *graphs[1]; }
    QVariantMap settingsOf(int graph) const { return doc->graphSettings[graph]; }
    QVariantMap category(int i) const { return settingsOf(0)["categoryDicts"].toList()[i].toMap(); }
};

// Each kind of row, by its key path: what is written, into which row, under which name.
TEST_F(SettingsWrite, ValuesAreFittedByTheirRow)
{
    const Rect page = doc->imageablePageBounds();
    const QVariantMap boxplot = settingsOf(1);

    // A row no case names is written as typed.
    ASSERT_TRUE(dots().vm->tryObject(QString("123"), row(dots(), {"graphProperties", "graphRect", "height"}), "Change Type"));
    EXPECT_EQ(at(settingsOf(0), "graphProperties/graphRect")["height"], "123");
    EXPECT_EQ(undo().undoText(), "Undo Change Type");

    // Following the page writes a whole background of the page's size into the background row.
    ASSERT_TRUE(dots().vm->tryObject(QString("700"), row(dots(), {"graphProperties", "background", "viewWidth"}),
                                     "Change Type"));
    ASSERT_TRUE(dots().vm->tryObject(true, row(dots(), {"graphProperties", "background", "followPageLayout"}),
                                     "Change Type"));
    const QVariantMap background = at(settingsOf(0), "graphProperties/background");
    EXPECT_EQ(background["viewWidth"], NumberText::realString(page.width()));
    EXPECT_EQ(background["viewHeight"], NumberText::realString(page.height()));
    EXPECT_EQ(background["followPageLayout"], true);
    EXPECT_EQ(log.revealed.size(), 0);

    // Graph properties of a boxplot pasted into a dot plot: the dot plot's bars stay, no boxes.
    const QVariantMap barsBefore = at(settingsOf(0), "graphProperties/bars");
    ASSERT_TRUE(dots().vm->tryObject(boxplot["graphProperties"], row(dots(), {"graphProperties"}), "Paste Settings"));
    EXPECT_EQ(at(settingsOf(0), "graphProperties/bars"), barsBefore);
    EXPECT_FALSE(at(settingsOf(0), "graphProperties").contains("boxes"));
    EXPECT_EQ(at(settingsOf(0), "graphProperties/graphRect"), at(boxplot, "graphProperties/graphRect"));

    // More series than the graph has: only as many as it has.
    QVariantList series = settingsOf(0)["dotsProperties"].toList();
    const qsizetype count = series.size();
    QVariantMap changed = series[0].toMap();
    changed["dotSize"] = "9.5";
    QVariantList longer{changed};
    for (int i = 0; i < count + 2; ++i)
        longer << series[i % count];
    ASSERT_TRUE(dots().vm->tryObject(longer, row(dots(), {"dotsProperties"}), "Paste Settings"));
    EXPECT_EQ(settingsOf(0)["dotsProperties"].toList().size(), count);
    EXPECT_EQ(settingsOf(0)["dotsProperties"].toList()[0].toMap()["dotSize"], "9.5");

    // A category pasted from another category keeps this one's title and represents.
    const QVariantMap groupCategory = category(1);
    QVariantMap pasted = category(0);
    pasted["verticalGap"] = "17";
    ASSERT_TRUE(dots().vm->tryObject(pasted, row(dots(), {"categoryDicts", "1"}), "Paste Settings"));
    const QVariantMap now = category(1);
    EXPECT_EQ(now["categoryTitle"], groupCategory["categoryTitle"]);
    EXPECT_EQ(now["represents"], groupCategory["represents"]);
    EXPECT_EQ(now["verticalGap"], "17");

    // A represents list naming only "c" and "a": those first, then the one left out.
    const QVariantList represents = groupCategory["represents"].toList();
    ASSERT_TRUE(dots().vm->tryObject(QVariantList{represents[2], represents[0]},
                                     row(dots(), {"categoryDicts", "1", "represents"}), "Paste Settings"));
    QStringList order;
    for (const QVariant& e : category(1)["represents"].toList())
        order << e.toMap()["origName"].toString();
    EXPECT_EQ(order, QStringList({"c", "a", "b"}));
    EXPECT_EQ(undo().undoText(), "Undo Paste Settings");

    // Two writes after an undo: the undone snapshot is dropped.
    const qsizetype snapshots = doc->historyOfGraphSettings[0].size();
    undo().undo();
    ASSERT_TRUE(dots().vm->tryObject(QString("99"), row(dots(), {"graphProperties", "graphRect", "height"}), "Change Type"));
    EXPECT_EQ(doc->historyOfGraphSettings[0].size(), snapshots);
    EXPECT_EQ(doc->graphSettingsIndex[0], snapshots - 1);
}

// A whole-settings paste asks first, every time, and keeps the graph's title; only "Yes"
// lets the pasted value axis in, and then only when it fits the data.
TEST_F(SettingsWrite, WholeSettingsAskWhetherTheValueAxisIsOverwritten)
{
    const QString question = "Do you want to overwrite the Settings of \"Values of Y-Axis\"?\nThese settings will not be "
                             "overwritten in spite of this choice if not applicapable.";
    QVariantMap pasted = settingsOf(1);
    pasted["graphTitle"] = "Other";
    QVariantMap axis = pasted["valueSettings"].toMap();
    axis["min"] = "-10";
    axis["max"] = "100";
    axis["partition"] = qint64(2);
    axis["scaleStrings"] = QVariantList{"-10", "45", "100"};
    pasted["valueSettings"] = axis;
    QVariantMap unfit = pasted;
    QVariantMap small = axis;
    small["max"] = "5";
    unfit["valueSettings"] = small;

    // The answer ("Yes" 0, "No" 1), the value pasted, whether its axis is taken.
    const std::tuple<const char*, int, QVariantMap, bool> cases[] = {
        {"Yes", 0, pasted, true}, {"No", 1, pasted, false}, {"Yes, axis refused", 0, unfit, false}};
    for (const auto& [name, answer, value, axisTaken] : cases) {
        SCOPED_TRACE(name);
        const QVariantMap before = settingsOf(0);
        scripted.dialogs.questions.clear();
        scripted.dialogs.answers = {answer};
        ASSERT_TRUE(dots().vm->tryObject(value, dots().root.get(), "Paste Settings"));
        EXPECT_EQ(scripted.dialogs.questions, QStringList{question});
        const QVariantMap after = settingsOf(0);
        EXPECT_EQ(after["valueSettings"], axisTaken ? QVariant(axis) : before["valueSettings"]);
        EXPECT_EQ(after["graphTitle"], before["graphTitle"]);
        EXPECT_EQ(at(after, "graphProperties/graphRect"), at(pasted, "graphProperties/graphRect"));
        // A boxplot's settings in a dot plot: its series and bars stay, no boxes come in.
        EXPECT_EQ(after["dotsProperties"], before["dotsProperties"]);
        EXPECT_FALSE(after.contains("boxesProperties"));
        EXPECT_EQ(at(after, "graphProperties/bars"), at(before, "graphProperties/bars"));
        EXPECT_FALSE(at(after, "graphProperties").contains("boxes"));
        EXPECT_EQ(undo().undoText(), "Undo Paste Settings");
        undo().undo();
        EXPECT_EQ(settingsOf(0), before);
    }
}

// The real question box dismissed with Escape counts as "No".
TEST_F(SettingsWrite, DismissedQuestionKeepsTheValueAxis)
{
    QtDialogs real;
    Dialogs::setCurrent(&real);
    QVariantMap pasted = settingsOf(1);
    QVariantMap axis = pasted["valueSettings"].toMap();
    axis["max"] = "100";
    pasted["valueSettings"] = axis;
    const QVariantMap before = settingsOf(0);
    QString asked;
    QTimer::singleShot(0, [&asked] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) {
                asked = box->text();
                QTest::keyClick(box, Qt::Key_Escape);
            }
    });
    const bool written = dots().vm->tryObject(pasted, dots().root.get(), "Paste Settings");
    Dialogs::setCurrent(&scripted.dialogs);
    ASSERT_TRUE(written);
    EXPECT_TRUE(asked.startsWith("Do you want to overwrite"));
    EXPECT_EQ(settingsOf(0)["valueSettings"], before["valueSettings"]);
    EXPECT_EQ(at(settingsOf(0), "graphProperties/graphRect"), at(pasted, "graphProperties/graphRect"));
}
