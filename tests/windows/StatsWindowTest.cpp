// The statistics window of an analysis driven offscreen: its table, the eight switches,
// normality tests run on demand against the engines, the "Add Normality Stats" step, the
// document's edited state, and copy of rows and columns through the real clipboard.
#include "AnalysisFixture.h"
#include "StatsSwitchesFit.h"
#include "stats/MyKolmogorov.h"
#include "stats/MyShapiro.h"
#include <QAbstractButton>
#include <QDeadlineTimer>

namespace {

// The table of a value column and a category column, groups in the order given.
QByteArray groupsTable(const QVector<std::pair<QString, QVector<double>>>& groups)
{
    QByteArray csv = "v,g\n";
    for (const auto& [name, values] : groups)
        for (double v : values)
            csv += QByteArray::number(v, 'g', 17) + "," + name.toUtf8() + "\n";
    return csv;
}

// Not normal: a quadratic ramp, so the tests have something to find.
QVector<double> spread(int n, double scale = 1.0)
{
    QVector<double> values;
    for (int i = 0; i < n; ++i)
        values << scale * (1.0 + double((i * 7919) % n) * double((i * 7919) % n) / double(n));
    return values;
}

} // namespace

class StatsWindow : public AnalysisFixture {
protected:
    MyWindowController* stats = nullptr;
    MyViewManager* vm = nullptr;
    MyStatsTableView* table = nullptr;

    void open(const QByteArray& csv, const QStringList& data, const QStringList& categorizing)
    {
        import(csv);
        press(makeAnalysis("t", data, categorizing), 5);   // "Stats" shows the statistics window too
        stats = doc->statsWindowConts.last();
        vm = stats->viewManager;
        table = qobject_cast<MyStatsTableView*>(stats->docTV);
        ASSERT_TRUE(vm && table && stats->window()->isVisible());
    }
    // The shown text of every cell of a column, top to bottom.
    QStringList column(const QString& identifier) const
    {
        const int c = int(MyViewManager::statsColumnIdentifiers().indexOf(identifier));
        QStringList out;
        for (int r = 0; r < table->model()->rowCount(); ++r)
            out << table->model()->index(r, c).data().toString();
        return out;
    }
    // The statistic and p of a row as the table shows them.
    QStringList result(int row) const { return {column("statistic").value(row), column("p").value(row)}; }
    int rowOf(const QString& group) const { return int(vm->nameTags.indexOf(vm->nameTags.filter(group).value(0))); }
    QAbstractButton* button(const char* name) const { return stats->window()->findChild<QAbstractButton*>(name); }
    // The cells as the screen shows them: what was drawn last is what a drawing now gives.
    bool tableOnScreen() const
    {
        QCoreApplication::processEvents();
        QWidget* cells = table->viewport();
        const QRect at(cells->mapTo(stats->window(), QPoint(0, 0)), cells->size());
        const QImage screen = stats->window()->screen()->grabWindow(stats->window()->winId()).toImage();
        return screen.copy(at).convertToFormat(QImage::Format_RGB32) == cells->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }
    void click(const char* name)
    {
        QAbstractButton* b = button(name);
        ASSERT_TRUE(b && b->isEnabled()) << name;
        QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(4, b->height() / 2));
    }
    void save() { ASSERT_TRUE(controller->saveAs(doc, dir.filePath("stats.vlbdoc"))); }
    QString undoName() const { return doc->undoManager()->stack()->undoText(); }
    QVariantMap stored(const char* key) const { return doc->stats.last().value(key).toMap(); }
    // The statistic and p of the engines, as the table shows them.
    QStringList expected(const QString& tag, bool logarithmic = false)
    {
        std::vector<double> values = vm->values.value(tag);
        if (logarithmic)
            for (double& v : values)
                v = std::log10(v);
        const std::optional<NormalityResult> r = values.size() > 5000 ? delegate.kolmogorov->ksTest(values, "norms")
                                                                       : delegate.shapiro->shapiroWilkTest(values);
        if (!r)
            return {};
        return {MyViewManager::statsShownText(r->statistic, 11), MyViewManager::statsShownText(r->p, 12)};
    }
};

TEST_F(StatsWindow, SwitchesChooseRowsAndTestsRunOnDemand)
{
    open(groupsTable({{"two", {1, 3}}, {"three", spread(3)}, {"big", spread(5000)}}), {"v"}, {"g"});
    ASSERT_EQ(vm->nameTags.size(), 3);
    EXPECT_EQ(column("tag"), vm->nameTags);
    EXPECT_EQ(column("num"), QStringList({"2", "3", "5000"}));

    // The single rows and the all-data row come and go with their switches; their own
    // switches are enabled only while the rows show.
    EXPECT_FALSE(button("buSingleStats")->isEnabled());
    click("buShowSingle");
    EXPECT_EQ(column("tag"), vm->nameTags + vm->singleTags);
    EXPECT_TRUE(button("buSingleStats")->isEnabled());
    click("buShowSingle");
    click("buShowAll");
    EXPECT_EQ(column("tag"), vm->nameTags + QStringList{"All Data"});
    EXPECT_EQ(column("num").last(), "5005");

    // Normality: N/A below three values, Shapiro-Wilk up to 5000, Kolmogorov-Smirnov above,
    // each equal to the engines' result for the row's values.
    click("buStats");
    EXPECT_EQ(column("statisticName"), QStringList({"N/A", "S-W W:", "S-W W:", ""}));
    EXPECT_EQ(result(0), QStringList({"N/A", "N/A"}));
    for (int r : {1, 2})
        EXPECT_EQ(result(r), expected(vm->nameTags[r])) << r;
    click("buAllStats");
    EXPECT_EQ(column("statisticName").last(), "KS Dn:");
    EXPECT_EQ(result(3), expected(QString()));

    // Results are stored with the analysis and never computed twice.
    const QVariantMap record = stored("stats");
    EXPECT_EQ(record.keys().size(), 4);
    EXPECT_TRUE(record.value(vm->nameTags[0]).toMap().isEmpty());
    click("buStats");
    EXPECT_EQ(column("statistic").first(), "");
    click("buStats");
    EXPECT_EQ(stored("stats"), record);
}

// Tests run on a saved document leave one "Add Normality Stats" step; undoing it keeps the
// results. On a document with unsaved changes no step is made, and a switch that computes
// nothing makes none either; every switch marks the document edited, so closing asks.
// Two categorizing columns, sex (male, female) by age (young, middle, old), seen in that order
// in the table: the category rows run in the order of the graph's columns, the first level
// varying slowest, each tag its levels' names joined by tabs; single rows and the all-data
// row follow. Each combination's heights are all one value (101 to 106) in a count of its
// own (1 to 6), so a row's count and mean tell which combination it shows.
TEST_F(StatsWindow, CategoryRowsRunInTheOrderOfTheGraphColumns)
{
    open("Height,Sex,Age\n"
         "101,male,young\n105,female,middle\n103,male,old\n106,female,old\n104,female,young\n102,male,middle\n"
         "106,female,old\n103,male,old\n105,female,middle\n104,female,young\n106,female,old\n102,male,middle\n"
         "105,female,middle\n104,female,young\n106,female,old\n103,male,old\n105,female,middle\n104,female,young\n"
         "106,female,old\n105,female,middle\n106,female,old\n",
         {"Height"}, {"Sex", "Age"});
    // Written by hand: the levels are the data column (Height), then Sex and Age with their
    // values in the order first seen; the last level varies fastest.
    const QStringList tags{"Height\tmale\tyoung",   "Height\tmale\tmiddle",   "Height\tmale\told",
                           "Height\tfemale\tyoung", "Height\tfemale\tmiddle", "Height\tfemale\told"};
    EXPECT_EQ(vm->nameTags, tags);
    EXPECT_EQ(column("tag"), tags);
    EXPECT_EQ(column("num"), QStringList({"1", "2", "3", "4", "5", "6"}));
    const QStringList means = column("mean");
    for (int r = 0; r < 6; ++r)
        EXPECT_DOUBLE_EQ(means.value(r).toDouble(), 101 + r) << r;
    click("buShowSingle");
    click("buShowAll");
    EXPECT_EQ(column("tag"), tags + vm->singleTags + QStringList{"All Data"});

    // Under the graph's axis: the age of tag t centred under column t, each sex under the
    // middle of its three columns, the data column's title under all six.
    MyViewManager* graph = doc->graphWindowConts.last()->viewManager;
    ASSERT_EQ(graph, vm);
    ASSERT_EQ(vm->baseXs.size(), 6);
    auto centres = [&](const QString& name) {
        QList<double> xs;
        for (const MySimpleTextView* v : vm->textViewsDict.value(name))
            xs << v->frame().midX();
        return xs;
    };
    auto mean = [&](int from, int count) {
        double sum = 0;
        for (int i = from; i < from + count; ++i)
            sum += vm->baseXs[i];
        return sum / count;
    };
    const struct {
        const char* text;
        QList<double> xs;
    } texts[] = {
        {"c_Age\tyoung", {vm->baseXs[0], vm->baseXs[3]}},
        {"c_Age\tmiddle", {vm->baseXs[1], vm->baseXs[4]}},
        {"c_Age\told", {vm->baseXs[2], vm->baseXs[5]}},
        {"c_Sex\tmale", {mean(0, 3)}},
        {"c_Sex\tfemale", {mean(3, 3)}},
        {"dataColumns\tHeight", {mean(0, 6)}},
    };
    for (const auto& t : texts) {
        const QList<double> xs = centres(t.text);
        ASSERT_EQ(xs.size(), t.xs.size()) << t.text;
        for (qsizetype k = 0; k < xs.size(); ++k)
            EXPECT_NEAR(xs[k], t.xs[k], 1e-9) << t.text;
    }
}

TEST_F(StatsWindow, NormalityStatsStepAndEditedState)
{
    open(groupsTable({{"a", spread(10)}, {"b", spread(20)}}), {"v"}, {"g"});
    save();
    ASSERT_FALSE(doc->isDocumentEdited());
    click("buStats");
    EXPECT_EQ(undoName(), "Add Normality Stats");
    EXPECT_TRUE(doc->isDocumentEdited());
    EXPECT_TRUE(main()->window()->isWindowModified());
    const QVariantMap results = stored("stats");
    ASSERT_EQ(results.size(), 2);
    doc->undoManager()->undo();
    EXPECT_EQ(doc->undoManager()->stack()->redoText(), "Add Normality Stats");
    EXPECT_EQ(stored("stats"), results);
    EXPECT_TRUE(doc->isDocumentEdited());
    doc->undoManager()->redo();
    EXPECT_EQ(undoName(), "Add Normality Stats");

    // An edited document: results computed, no step.
    const int before = steps();
    click("buShowAll");
    click("buAllStats");
    EXPECT_EQ(stored("stats").size(), 3);
    EXPECT_EQ(steps(), before);

    // A plain switch on a saved document: stored, no step, but the document is edited.
    save();
    click("buUnbiased");
    EXPECT_FALSE(stored("settings").value("unbiased").toBool());
    EXPECT_EQ(steps(), 0);
    EXPECT_TRUE(doc->isDocumentEdited());
    EXPECT_TRUE(main()->window()->isWindowModified());
}

// A logarithmic axis tests the logarithms; a value without one never reaches a test.
TEST_F(StatsWindow, LogarithmicAxisTestsLogarithmsAndRefusesValuesBelowOne)
{
    open(groupsTable({{"pos", spread(12)}, {"neg", {-1, 2, 3, 4, 5}}}), {"v"}, {"g"});
    const int pos = rowOf("pos"), neg = 1 - pos;
    // As a stored document may have it: the axis switched without the value check.
    doc->graphSettings.last()["valueSettings"] = QVariantMap{{"logarithmic", true}};
    click("buStats");
    EXPECT_TRUE(stored("stats").isEmpty());
    EXPECT_TRUE(stored("logStats").value(vm->nameTags[neg]).toMap().isEmpty());
    EXPECT_EQ(result(neg), QStringList({"N/A", "N/A"}));
    EXPECT_EQ(result(pos), expected(vm->nameTags[pos], true));
}

// Copy through the window: column titles clicked give a title line and the columns; the text
// ends without a line feed. The tags keep their tabs and show whole, on one line of their row.
TEST_F(StatsWindow, CopyOfRowsAndColumns)
{
    open("v,L1,L2\n1,A,X\n2,A,X\n3,A,X\n4,A,X\n2,B,X\n3,B,X\n3,B,X\n4,B,X\n3,B,X\n", {"v"}, {"L1", "L2"});
    click("buShowAll");
    click("buStats");
    for (int r = 0; r < table->model()->rowCount(); ++r) {
        const QSize text = table->sizeHintForIndex(table->model()->index(r, 0));
        EXPECT_LE(text.width(), table->columnWidth(0)) << r;
        EXPECT_LE(text.height(), table->rowHeight(r)) << r;
    }
    EXPECT_FALSE(table->wordWrap());
    EXPECT_EQ(table->model()->index(0, 0).data().toString(), vm->nameTags[0]);

    auto shown = [&](int row) { return QString(vm->nameTags[row]).replace('\t', " - "); };
    QHeaderView* h = table->horizontalHeader();
    for (int col : {0, 1, 4, 10})
        QTest::mouseClick(h->viewport(), Qt::LeftButton, col ? Qt::ControlModifier : Qt::NoModifier,
                          QPoint(h->sectionViewportPosition(col) + 5, h->height() / 2));
    stats->copy();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "Category\tNum\tAverage\tName\n" + shown(0) + "\t4\t2.500000\tS-W W:\n"
                                                        + shown(1) + "\t5\t3.000000\tS-W W:\nAll Data\t9\t2.777778\t");
}

// Every cell shows its whole text at the table's font: the delegate's text fits its column
// (numbers were cut to "1555.92…" in narrow columns), and a tag's levels, kept apart by a tab,
// show apart ("Sepal.Lengthsetosa" before).
TEST_F(StatsWindow, CellsShowTheirWholeTextAndTagLevelsApart)
{
    QByteArray csv = "Sepal.Length,Petal.Width,Species\n";
    for (int i = 0; i < 30; ++i)
        csv += QByteArray::number(1000 + i * 19.5062, 'f', 4) + "," + QByteArray::number(i * 0.37, 'f', 2) + ","
               + (i % 2 ? "versicolor" : "setosa") + "\n";
    open(csv, {"Sepal.Length", "Petal.Width"}, {"Species"});
    click("buStats");
    QStyleOptionViewItem option;
    option.initFrom(table);
    option.font = table->font();
    option.fontMetrics = QFontMetrics(table->font());
    QAbstractItemDelegate* delegate = table->itemDelegate();
    for (int r = 0; r < table->model()->rowCount(); ++r)
        for (int c = 0; c < table->model()->columnCount(); ++c) {
            const QModelIndex index = table->model()->index(r, c);
            EXPECT_LE(delegate->sizeHint(option, index).width(), table->columnWidth(c)) << r << "," << c << " "
                                                                                        << qPrintable(index.data().toString());
        }
    const QFontMetrics metrics(table->font());
    const auto* cells = qobject_cast<QStyledItemDelegate*>(delegate);
    ASSERT_TRUE(cells);
    for (int r = 0; r < int(vm->nameTags.size()); ++r) {
        const QStringList levels = vm->nameTags[r].split('\t');
        ASSERT_EQ(levels.size(), 2) << qPrintable(vm->nameTags[r]);
        const QString shown = cells->displayText(table->model()->index(r, 0).data(), QLocale());
        EXPECT_TRUE(shown.startsWith(levels[0]) && shown.endsWith(levels[1])) << qPrintable(shown);
        EXPECT_GE(metrics.horizontalAdvance(shown), metrics.horizontalAdvance(levels.join("")) + metrics.horizontalAdvance("MM"))
            << qPrintable(shown);
    }
}

// The switches at the window's opening size, for few and many categories: each lies inside
// the drawer and the window, shows its whole title, and overlaps no other; the groups'
// frames (with their titles) overlap neither.
class StatsWindowSwitches : public StatsWindow, public ::testing::WithParamInterface<int> {};

TEST_P(StatsWindowSwitches, FitTheDrawerAtTheOpeningSize)
{
    QVector<std::pair<QString, QVector<double>>> groups;
    for (int i = 0; i < GetParam(); ++i)
        groups.push_back({QStringLiteral("g%1").arg(i, 2, 10, QLatin1Char('0')), spread(4, 1.0 + i)});
    open(groupsTable(groups), {"v"}, {"g"});
    ASSERT_EQ(table->model()->rowCount(), GetParam());
    expectSwitchesFit(stats);
}

INSTANTIATE_TEST_SUITE_P(Categories, StatsWindowSwitches, ::testing::Values(1, 2, 40));

namespace {

// Runs the event loop until the condition holds, within a deadline that no load reaches.
bool eventually(const std::function<bool()>& condition)
{
    const QDeadlineTimer deadline(10000);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    return true;
}

// Mean, median and sample variance of a list, worked out here.
struct Moments {
    double mean = 0, median = 0, variance = 0;
};
Moments momentsOf(std::vector<double> v)
{
    Moments m;
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    for (double x : v)
        m.mean += x / double(n);
    m.median = n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
    for (double x : v)
        m.variance += (x - m.mean) * (x - m.mean) / double(n - 1);
    return m;
}

} // namespace

// Switching the graph's value axis to logarithmic, its undo and its redo reach the open
// statistics window at once: its descriptives are those of the logarithms and its test
// results those stored for the logarithms, on screen as a fresh drawing of it shows them.
TEST_F(StatsWindow, FollowsTheValueAxisThroughUndoAndRedo)
{
    const QVector<double> a{1, 10, 100, 1000}, b{2, 4, 8, 16, 32, 3};
    open(groupsTable({{"a", a}, {"b", b}}), {"v"}, {"g"});
    MyWindowController* graph = doc->graphWindowConts.last();
    click("buStats");
    const int ra = rowOf("a"), rb = 1 - ra;

    auto onScreen = [&] { return tableOnScreen(); };
    auto number = [&](const char* id, int row) { return column(id).value(row).toDouble(); };
    auto expectMoments = [&](bool logarithmic) {
        for (const auto& [row, values] : {std::pair{ra, a}, std::pair{rb, b}}) {
            std::vector<double> v(values.begin(), values.end());
            if (logarithmic)
                for (double& x : v)
                    x = std::log10(x);
            const Moments m = momentsOf(v);
            SCOPED_TRACE(logarithmic ? "logarithmic" : "plain");
            // Shown with six significant digits: within half a unit of the sixth.
            const double digits = 5e-6;
            EXPECT_NEAR(number("mean", row), m.mean, digits * std::abs(m.mean));
            EXPECT_NEAR(number("median", row), m.median, digits * std::abs(m.median));
            EXPECT_NEAR(number("variance", row), m.variance, digits * m.variance);
            const double min = *std::min_element(v.begin(), v.end());
            EXPECT_NEAR(number("min", row), min, digits * std::abs(min));
        }
    };
    auto results = [&](bool logarithmic) {
        return QList<QStringList>{result(ra), result(rb)} ==
               QList<QStringList>{expected(vm->nameTags[ra], logarithmic), expected(vm->nameTags[rb], logarithmic)};
    };
    EXPECT_TRUE(eventually(onScreen));
    expectMoments(false);
    EXPECT_TRUE(results(false));
    EXPECT_EQ(column("mean").value(ra), "277.75");

    // The axis made logarithmic in the settings outline, its lowest value and label made
    // positive first: nothing tested on it yet.
    ASSERT_TRUE(typeInSettings(graph, {"valueSettings", "scaleStrings", "#0"}, "1"));
    ASSERT_TRUE(typeInSettings(graph, {"valueSettings", "min"}, "1"));
    ASSERT_TRUE(typeInSettings(graph, {"valueSettings", "logarithmic"}, "YES"));
    ASSERT_TRUE(vm->isLogarithmic());
    EXPECT_TRUE(eventually(onScreen));
    expectMoments(true);
    // The mean of the logarithms: that of the geometric mean, 31.62.
    EXPECT_EQ(column("mean").value(ra), "1.5");
    EXPECT_EQ(column("statisticName"), QStringList({"S-W W:", "S-W W:"}));
    EXPECT_EQ(column("statistic") + column("p"), QStringList({"", "", "", ""}));
    // Tested on it: the logarithms' results.
    click("buStats");
    click("buStats");
    ASSERT_EQ(stored("logStats").size(), 2);
    EXPECT_TRUE(eventually(onScreen));
    EXPECT_TRUE(results(true));

    // Undo and Redo from the statistics window's own menu.
    auto edit = [&](const QString& name) {
        for (QAction* menu : stats->window()->menuBar()->actions())
            for (QAction* a : menu->menu() ? menu->menu()->actions() : QList<QAction*>())
                if (a->text().startsWith(name)) {
                    ASSERT_TRUE(a->isEnabled()) << qPrintable(a->text());
                    a->trigger();
                    return;
                }
        FAIL() << qPrintable(name);
    };
    for (bool logarithmic : {false, true}) {
        edit(logarithmic ? "Redo" : "Undo");
        SCOPED_TRACE(logarithmic ? "redo" : "undo");
        ASSERT_EQ(vm->isLogarithmic(), logarithmic);
        EXPECT_TRUE(eventually(onScreen));
        expectMoments(logarithmic);
        EXPECT_TRUE(results(logarithmic));
    }
}

// A represent moved with the stepper reorders the graph's columns, and with them the open
// statistics window's rows, at once; undo puts both back.
TEST_F(StatsWindow, FollowsTheColumnOrderOfTheGraph)
{
    open(groupsTable({{"a", {1, 2, 3}}, {"b", {10, 20, 30, 40}}}), {"v"}, {"g"});
    MyWindowController* graph = doc->graphWindowConts.last();
    ASSERT_TRUE(eventually([&] { return tableOnScreen(); }));
    ASSERT_EQ(column("num"), QStringList({"3", "4"}));

    // Level 0 is the data column; level 1 the categories.
    const QStringList first = {"categoryDicts", "#1", "represents", "#0"};
    QTest::mouseClick(graph->configOlv->viewport(), Qt::LeftButton, {},
                      centreIn(graph->configOlv, settingsRow(graph, first), 0, graph->rootItem), apart());
    QCoreApplication::processEvents();
    ASSERT_EQ(graph->selectedSettingsRow(), settingsRow(graph, first));
    graph->stepper->setIntegerValue(1);
    graph->tryToMove();
    ASSERT_EQ(undoName(), "Change Graph");
    for (bool undone : {false, true}) {
        SCOPED_TRACE(undone ? "undone" : "moved");
        EXPECT_EQ(column("num"), undone ? QStringList({"3", "4"}) : QStringList({"4", "3"}));
        EXPECT_EQ(column("mean"), undone ? QStringList({"2", "25"}) : QStringList({"25", "2"}));
        EXPECT_TRUE(eventually([&] { return tableOnScreen(); }));
        doc->undoManager()->undo();
    }
}

// What the user set in the table outlives every reload: a column border dragged on the header
// keeps its place, and a selected category stays selected where its row moves, through a
// reorder of the graph's columns (a settings change), rows added and the reorder's undo.
TEST_F(StatsWindow, ReloadKeepsTheUserWidthsAndTheSelectedCategory)
{
    open(groupsTable({{"a", {1, 2, 3}}, {"b", {10, 20, 30, 40}}, {"c", {5, 6, 7, 8, 9}}}), {"v"}, {"g"});
    MyWindowController* graph = doc->graphWindowConts.last();
    QHeaderView* header = table->horizontalHeader();
    // "Minimum"'s border dragged 70 pixels right; category a's row chosen by a click on a cell.
    const int minimum = table->columnWidth(2) + 70;
    const QPoint border(header->sectionViewportPosition(2) + header->sectionSize(2) - 2, header->height() / 2);
    QTest::mousePress(header->viewport(), Qt::LeftButton, {}, border, apart());
    for (int dx : {20, 40, 70})
        QTest::mouseMove(header->viewport(), border + QPoint(dx, 0));
    QTest::mouseRelease(header->viewport(), Qt::LeftButton, {}, border + QPoint(70, 0));
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, table->visualRect(table->model()->index(0, 1)).center(), apart());
    ASSERT_EQ(table->columnWidth(2), minimum);
    ASSERT_EQ(table->selectedRowIndexes(), QList<int>{0});
    auto expectKept = [&](const char* after, int row) {
        EXPECT_EQ(table->columnWidth(2), minimum) << after;
        EXPECT_EQ(table->selectedRowIndexes(), QList<int>{row}) << after;
    };

    // Category a moved one place down: b, a, c.
    const QStringList first = {"categoryDicts", "#1", "represents", "#0"};
    QTest::mouseClick(graph->configOlv->viewport(), Qt::LeftButton, {},
                      centreIn(graph->configOlv, settingsRow(graph, first), 0, graph->rootItem), apart());
    graph->stepper->setIntegerValue(1);
    graph->tryToMove();
    ASSERT_EQ(column("num"), QStringList({"4", "3", "5"}));
    expectKept("moved", 1);
    click("buShowSingle");
    expectKept("single rows shown", 1);
    doc->undoManager()->undo();
    expectKept("move undone", 0);

    // A column chosen by its title stays chosen whole while rows go and come.
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(header->sectionViewportPosition(1) + 5, header->height() / 2),
                      apart());
    for (const char* rows : {"single rows hidden", "single rows shown"}) {
        click("buShowSingle");
        QGuiApplication::clipboard()->clear();
        stats->copy();
        EXPECT_EQ(QGuiApplication::clipboard()->text(), "Num\n" + column("num").join("\n")) << rows;
    }
}

// R's sleep data with a decimal comma, a number followed by letters and a hexadecimal number
// added: those are texts, so R's 20 values and means (0.75, 2.33) stay.
TEST_F(StatsWindow, OnlyCellsThatAreWholeNumbersAreValues)
{
    open(groupsTable({{"1", {0.7, -1.6, -0.2, -1.2, -0.1, 3.4, 3.7, 0.8, 0.0, 2.0}},
                      {"2", {1.9, 0.8, 1.1, 0.1, -0.1, 4.4, 5.5, 1.6, 4.6, 3.4}}})
             + "\"1,5\",1\n12abc,2\n0x10,1\n",
         {"v"}, {"g"});
    EXPECT_EQ(rows().filter("valid values"), QStringList({"    v | (20 valid values)"}));
    EXPECT_EQ(column("num"), QStringList({"10", "10"}));
    EXPECT_EQ(column("mean"), QStringList({"0.75", "2.33"}));
}

// The table shows six significant digits, the copy six decimals: Michelson's speeds of light
// (in 1e9 km/s) keep their digits, values near 1e300 take a few characters, not 300. Values
// near 1e-300 test as the same values near 1. Expected texts worked out with Python's
// fractions; the variance of 1, 2, 4, 8 times 1e300, 28.75e600 / 3, is no double.
TEST_F(StatsWindow, SmallAndLargeValuesShowTheirSignificantDigits)
{
    open(groupsTable({{"light", {0.00029985, 0.00029974, 0.0002999, 0.00030007, 0.00029993}},
                      {"huge", {1e300, 2e300, 4e300, 8e300}},
                      {"tiny", spread(12, 1e-300)},
                      {"same", {7e-301, 7e-301, 7e-301, 7e-301}}}),
         {"v"}, {"g"});
    click("buStats");
    ASSERT_TRUE(eventually([&] { return tableOnScreen(); }));
    auto shown = [&](const char* group, const char* identifier) { return column(identifier).value(rowOf(group)); };
    const char* cells[][3] = {
        {"light", "min", "0.00029974"}, {"light", "mean", "0.000299898"}, {"light", "variance", "1.447e-14"},
        {"light", "stdev", "1.20291e-07"}, {"huge", "mean", "3.75e+300"},  {"huge", "variance", "N/A"},
        {"huge", "stdev", "3.0957e+300"},  {"same", "statistic", "N/A"},   {"same", "p", "N/A"}};
    for (const auto& [group, identifier, text] : cells)
        EXPECT_EQ(shown(group, identifier), text) << group << " " << identifier;
    const QVector<double> near = spread(12);
    const std::optional<NormalityResult> r = delegate.shapiro->shapiroWilkTest(std::vector<double>(near.begin(), near.end()));
    ASSERT_TRUE(r);
    EXPECT_NEAR(shown("tiny", "statistic").toDouble(), r->statistic, 1e-5 * r->statistic);
    EXPECT_NEAR(shown("tiny", "p").toDouble(), r->p, 1e-5 * r->p);

    const QString copied = vm->statsText({rowOf("light")}, {}).value_or(QString());
    EXPECT_TRUE(copied.startsWith("v - light\t5\t0.000300\t0.000300\t0.000300\t0.000300\t")) << qPrintable(copied);
}

// Stored results follow the values as they read at open. Saved with every row tested on both
// axes, the package opens again unchanged; with its table edited on disk (two cells of "a"
// that no longer read as numbers, one number of "b" changed), every row shows the test of
// the values it counts, and the document has that change to save, without an undo step.
TEST_F(StatsWindow, StoredResultsAreTheTestsOfTheValuesShown)
{
    // shapiro.tsv's "normal" samples of 3 and 4 (R: shapiro.test), with the cells edited away.
    const QVector<double> a{8.413755049684202, 10.48114256707655, 6.207347300801869};
    const QVector<double> b{9.871744128731635, 9.829046873628275, 10.32183264533129, 8.77196321096219};
    open(groupsTable({{"a", a + QVector<double>{20.5, 30}}, {"b", QVector<double>{15} + b.mid(1)}, {"c", spread(7)}}), {"v"}, {"g"});
    MyWindowController* graph = doc->graphWindowConts.last();
    auto rowsMatch = [&](bool logarithmic) {
        SCOPED_TRACE(logarithmic);
        ASSERT_EQ(table->model()->rowCount(), vm->nameTags.size() + vm->singleTags.size() + 1);
        for (int r = 0; r < table->model()->rowCount(); ++r)
            EXPECT_EQ(result(r), expected(vm->statsOptions(r).tag, logarithmic)) << r;
    };
    for (const char* name : {"buShowSingle", "buShowAll", "buStats", "buSingleStats", "buAllStats"})
        click(name);
    ASSERT_TRUE(typeInSettings(graph, {"valueSettings", "min"}, "1"));
    ASSERT_TRUE(typeInSettings(graph, {"valueSettings", "logarithmic"}, "YES"));
    for (const char* name : {"buStats", "buStats", "buSingleStats", "buSingleStats", "buAllStats", "buAllStats"})
        click(name);
    rowsMatch(true);
    save();
    const QString path = dir.filePath("stats.vlbdoc");
    const QVariantMap before = doc->stats.last();
    auto statsFile = [&] { QFile f(path + "/stats/stats0.plist"); return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray(); };
    const QByteArray file = statsFile();
    auto reopen = [&] {
        ASSERT_TRUE(controller->closeDocument(doc));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        doc = static_cast<Document*>(controller->openDocument(path));
        ASSERT_TRUE(doc);
        MyDocumentWindows::showStatsWindow(*doc, 0);
        stats = doc->statsWindowConts.value(0);
        vm = stats->viewManager;
        table = qobject_cast<MyStatsTableView*>(stats->docTV);
        graph = doc->graphWindowConts.value(0);
    };

    // Unchanged: nothing to save, and saved, the same bytes.
    reopen();
    EXPECT_FALSE(doc->isDocumentEdited());
    EXPECT_EQ(doc->stats.last(), before);
    ASSERT_TRUE(controller->save(doc));
    EXPECT_EQ(statsFile(), file);

    QByteArray text = "v\tg\n";
    for (const auto& [name, values] : {std::pair{"a", a}, {"b", b}, {"c", spread(7)}})
        for (double v : values)
            text += QByteArray::number(v, 'g', 17) + "\t" + name + "\n";
    write("stats.vlbdoc/tableString.txt", text + "20,5\ta\n30 kg\ta\n");
    reopen();
    EXPECT_EQ(column("num").mid(0, 3), QStringList({"3", "4", "7"}));
    rowsMatch(true);
    EXPECT_EQ(doc->stats.last().value("logStats").toMap().value(vm->nameTags[2]),
              before.value("logStats").toMap().value(vm->nameTags[2]));
    EXPECT_TRUE(doc->isDocumentEdited());
    EXPECT_TRUE(main()->window()->isWindowModified());
    EXPECT_EQ(steps(), 0);
    MyDocumentWindows::showGraphWindow(*doc, 0);
    ASSERT_TRUE(typeInSettings(graph, {"valueSettings", "logarithmic"}, "NO"));
    rowsMatch(false);
    EXPECT_EQ(result(rowOf("a")) + result(rowOf("b")), QStringList({"0.999647", "0.964136", "0.888489", "0.376161"}));
    ASSERT_TRUE(controller->save(doc));
    EXPECT_EQ(PropertyList::fromData(statsFile()), QVariant(doc->stats.last()));
}
