// Settings changes with undo: random sequences of typed values, pastes, moves, texts, fonts
// and attributes on two graphs, then undo all and redo all through the states they passed;
// the Edit menu names, the edited marks, and the selector tree and analysis text in step.
#include "EditFixture.h"
#include "analysis/MyAnalysisXml.h"
#include "outline/MyOutlineTexts.h"
#include "platform/KeyedArchive.h"
#include "views/SettingsRowPath.h"
#include <random>

namespace {

// Everything one step of the document can change, for every graph.
struct State {
    QVector<QVariantMap> settings;
    QVector<QVariant> trees;
    QVector<QStringList> drawn;
    QVector<QImage> images;
    QStringList selector, xmls;
    bool edited = false;
};

} // namespace

class EditUndo : public EditFixture {
protected:
    void SetUp() override { EditFixture::SetUp(); addTwoGraphs(); }
    State capture()
    {
        State s;
        for (auto& g : graphs) {
            s.settings << doc->graphSettings.at(g->cont->graphID);
            s.trees << g->root->object();
            s.drawn << drawnState(*g->vm);
            s.images << drawnImage(*g->vm);
        }
        for (int i = 0; i < selectorRoot->childCount(); ++i)
            s.selector += selectorRows(analysis(i));
        s.xmls = doc->graphXMLs;
        s.edited = doc->isDocumentEdited();
        return s;
    }

    void expectState(const State& want, const QString& where)
    {
        SCOPED_TRACE(where.toStdString());
        const State got = capture();
        EXPECT_EQ(got.settings, want.settings);
        EXPECT_EQ(got.trees, want.trees);
        EXPECT_EQ(got.drawn, want.drawn);
        EXPECT_TRUE(got.images == want.images);
        EXPECT_EQ(got.selector, want.selector);
        EXPECT_EQ(got.xmls, want.xmls);
        EXPECT_EQ(got.edited, want.edited);
        // The windows show the document's state.
        EXPECT_EQ(log.marks.value(mainCont.get()), want.edited);
    }

    // A text typed into a row, as a user might: numbers for number rows, a word otherwise.
    QString typedText(MyConfigItem* r, std::mt19937& rng)
    {
        auto pick = [&](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(rng); };
        if (r->type == "Bool")
            return r->message == "YES" ? "NO" : "YES";
        const QString& t = r->title;
        if (t == "min")
            return QString::number(std::round(pick(-5, 1)));
        if (t == "max")
            return QString::number(std::round(pick(9, 15)));
        if (t == "partition")
            return QString::number(int(pick(0, 7)));
        if (r->configParent() && r->configParent()->title == "scaleStrings")
            return QString::number(std::round(pick(-1, 11)));
        if (r->type == "integer") {
            const double hi = r->maxVal.value_or(5);
            return QString::number(int(pick(r->minVal.value_or(0), std::min(hi, 5.0) + 0.99)));
        }
        if (r->type2 == "number") {
            const double lo = r->minVal.value_or(0), hi = std::min(r->maxVal.value_or(400.0), 400.0);
            return QString::number(lo + std::round(pick(0.05, 0.95) * (hi - lo) * 4) / 4);
        }
        return QStringLiteral("Text %1").arg(int(pick(0, 100)));
    }

    // One random change; the action name of the step it made, or "" when it made none.
    QString randomChange(std::mt19937& rng, int& answersUsed)
    {
        Graph& g = *graphs[std::uniform_int_distribution<size_t>(0, graphs.size() - 1)(rng)];
        Graph& other = *graphs[(&g == graphs[0].get()) ? 1 : 0];
        const int before = undo().stack()->count();
        auto made = [&](const QString& name) { return undo().stack()->count() > before ? name : QString(); };
        switch (std::uniform_int_distribution<int>(0, 9)(rng)) {
        case 0: case 1: case 2: {   // typed into an editable row
            QList<MyConfigItem*> rows = allRows(g.root.get());
            rows.removeIf([&](MyConfigItem* r) { return !g.root->allowEditOutlineItem(r, 1); });
            MyConfigItem* r = rows[std::uniform_int_distribution<qsizetype>(0, rows.size() - 1)(rng)];
            const QVariant value = MyOutlineTexts::objectWithString(typedText(r, rng), r);
            if (value.isValid())
                g.vm->tryObject(value, r, "Change Type");
            return made("Change Type");
        }
        case 3: case 4: {   // pasted from the other graph onto the same row, or whole settings
            QList<MyConfigItem*> rows = allRows(g.root.get());
            rows.removeIf([](MyConfigItem* r) { return !r->changeable; });
            rows << g.root.get();
            MyConfigItem* r = rows[std::uniform_int_distribution<qsizetype>(0, rows.size() - 1)(rng)];
            MyConfigItem* source = SettingsRowPath::of(r).find(other.root.get());
            if (source->itemID != r->itemID)
                source = r;
            if (r == g.root.get()) {
                scripted.dialogs.answers.push_back(answersUsed++ % 2);
                source = other.root.get();
            }
            g.vm->tryObject(source->object(), r, "Paste Settings");
            return made("Paste Settings");
        }
        case 5: {   // a represent moved one place up
            MyConfigItem* represents = row(g, {"categoryDicts", "1", "represents"});
            QVariantList list = represents->object().toList();
            const int from = std::uniform_int_distribution<int>(1, int(list.size()) - 1)(rng);
            list.move(from, from - 1);
            g.vm->changeRow(represents, list, "Change Graph");
            return made("Change Graph");
        }
        case 6: {   // the y title or a category label typed on the graph
            const QString key = std::uniform_int_distribution<int>(0, 1)(rng) ? "c_Group\tb" : MyGraphGenerator::kYTitle;
            if (MyTextView* v = firstTextView(g.vm->storageItemDict.value(key)))
                g.vm->changeTextView(v, QStringLiteral("T_{%1}").arg(int(rng() % 50)), true);
            return made("Change Text");
        }
        case 7: {   // a colour from the font panel's attributes
            if (MyTextView* v = firstTextView(g.vm->storageItemDict.value(MyGraphGenerator::kYTitle))) {
                const Color c = Color::rgb((rng() % 255) / 255.0, 0.2, 0.4);
                g.vm->changeAttributes(v, [c](const TextAttributes&) { return TextAttributes{std::nullopt, c}; });
            }
            return made("Change Attributes");
        }
        case 8: {   // the scale texts' font, from the window's font command
            MyConfigItem* attr = row(g, {"graphProperties", "yAxis", "scaleTextAttr"});
            TextAttributes a = *KeyedArchive::unarchiveAttributes(attr->object().toByteArray());
            a.font->size = 8 + rng() % 10;
            g.vm->changeRow(attr, KeyedArchive::archiveAttributes(a), "Change Font");
            return made("Change Font");
        }
        case 9: {   // a colour well
            g.vm->changeRow(row(g, {"graphProperties", "graphRect", "fillColor"}),
                            KeyedArchive::archiveColor(Color::rgb(0.1 * (rng() % 10), 0.5, 0.5)), "Change Graph");
            return made("Change Graph");
        }
        }
        return {};
    }
};

TEST_F(EditUndo, RandomSequencesUndoAndRedoThroughTheStatesTheyPassed)
{
    for (const unsigned seed : {1u, 7u, 2024u}) {
        SCOPED_TRACE(seed);
        std::mt19937 rng(seed);
        int answers = 0;
        undo().stack()->clear();
        QVector<State> states{capture()};
        QStringList names;
        auto history = [&] { return doc->historyOfGraphSettings[0].size() + doc->historyOfGraphSettings[1].size(); };
        for (int i = 0; names.size() < 25 && i < 200; ++i) {
            const qsizetype historyBefore = history();
            const QString name = randomChange(rng, answers);
            if (name.isEmpty()) {   // a refused change leaves everything as it was
                expectState(states.last(), "refused change");
                EXPECT_LE(history(), historyBefore);
                continue;
            }
            EXPECT_EQ(undo().undoText(), "Undo " + name);
            names << name;
            states << capture();
        }
        for (int i = int(names.size()); i > 0; --i) {
            undo().undo();
            EXPECT_EQ(undo().redoText(), "Redo " + names[i - 1]);
            expectState(states[i - 1], QString("undo to %1").arg(i - 1));
        }
        EXPECT_FALSE(doc->isDocumentEdited());
        for (int i = 1; i <= names.size(); ++i) {
            undo().redo();
            EXPECT_EQ(undo().undoText(), "Undo " + names[i - 1]);
            expectState(states[i], QString("redo to %1").arg(i));
        }
        // Back to the start for the next seed.
        while (undo().canUndo())
            undo().undo();
    }
}

// The marks say whether the document has unsaved changes: undoing one graph to its first
// snapshot keeps them while another graph, or the table, is changed.
TEST_F(EditUndo, EditedMarksFollowTheDocumentNotOneGraph)
{
    Graph& a = *graphs[0];
    Graph& b = *graphs[1];
    ASSERT_TRUE(a.vm->tryObject(QString("140"), row(a, {"graphProperties", "graphRect", "height"}), "Change Type"));
    ASSERT_TRUE(b.vm->tryObject(QString("150"), row(b, {"graphProperties", "graphRect", "height"}), "Change Type"));
    EXPECT_TRUE(log.marks.value(b.cont.get()));
    undo().undo();   // graph B back at its first snapshot
    EXPECT_EQ(doc->graphSettingsIndex[1], 0);
    EXPECT_TRUE(log.marks.value(b.cont.get()));
    EXPECT_TRUE(log.marks.value(mainCont.get()));
    undo().undo();
    EXPECT_FALSE(log.marks.value(a.cont.get()));
    EXPECT_FALSE(log.marks.value(mainCont.get()));
    // A table edit counts as well.
    undo().redo();
    doc->undoManager()->changeDone();
    undo().undo();
    EXPECT_EQ(doc->graphSettingsIndex[0], 0);
    EXPECT_TRUE(log.marks.value(a.cont.get()));
}

// Pasting onto the whole settings, all categories or one category brings the selector tree
// and the stored analysis text along, and so does undoing it.
TEST_F(EditUndo, PastedLabelsReachTheSelectorTreeAndAnalysisText)
{
    Graph& g = *graphs[0];
    // The value of each row with the label of "b" changed, as copied from elsewhere.
    QVariantMap settings = g.root->object().toMap();
    QVariantList categories = settings["categoryDicts"].toList();
    QVariantMap group = categories[1].toMap();
    QVariantList represents = group["represents"].toList();
    QVariantMap b = represents[1].toMap();
    b["represent"] = "Bee";
    represents[1] = b;
    group["represents"] = represents;
    categories[1] = group;
    settings["categoryDicts"] = categories;
    // The root, all categories, one category.
    for (const char* where : {"", "categoryDicts", "categoryDicts/1"}) {
        SCOPED_TRACE(where);
        const QStringList path = QString(where).split('/', Qt::SkipEmptyParts);
        MyConfigItem* target = path.isEmpty() ? g.root.get() : row(g, path);
        const QVariant value = path.isEmpty() ? QVariant(settings) : path.size() == 1 ? QVariant(categories) : QVariant(group);
        const QStringList selectorBefore = selectorRows(analysis(0));
        const QString xmlBefore = doc->graphXMLs[0];

        scripted.dialogs.answers.push_back(1);
        ASSERT_TRUE(g.vm->tryObject(value, target, "Paste Settings"));
        EXPECT_TRUE(selectorRows(analysis(0)).contains("      b | Bee")) << selectorRows(analysis(0)).join('\n').toStdString();
        EXPECT_EQ(doc->graphXMLs[0], *MyAnalysisXml::xmlFromItem(analysis(0)));
        EXPECT_NE(doc->graphXMLs[0], xmlBefore);

        undo().undo();
        EXPECT_EQ(selectorRows(analysis(0)), selectorBefore);
        EXPECT_EQ(doc->graphXMLs[0], xmlBefore);
    }
}

// A value of a category that no represent names (a value left out of the analysis) keeps its
// row in the selector tree, after the named ones, through a sync and its undo.
TEST_F(EditUndo, SelectorRowsNoEntryNamesStay)
{
    const Column weight{"Weight", {"3", "5", "4", "7", "2", "6"}};
    const Column group{"Group", {"a", "b", "c", "a", "b", "d"}};
    Graph& g = addGraph("scatter", {weight}, {group});
    auto groupRow = [&] { return analysis(2)->childTitle("Categorizing")->childTitle("Group"); };
    auto values = [&] {
        QStringList out;
        for (const MySelectorItem* v : groupRow()->selectorChildren())
            out << v->title + "=" + v->message;
        return out;
    };
    // "d" left out of the analysis, as a value whose box is unticked.
    MySelectorItem* d = groupRow()->childTitle("d");
    ASSERT_NE(d, nullptr);
    MyConfigItem* represents = row(g, {"categoryDicts", "1", "represents"});
    ASSERT_EQ(represents->childCount(), 4);
    // Drop "d" from the graph's represents, as an older analysis would have it.
    QVariantList list = represents->object().toList();
    list.removeLast();
    d->type = "NO";
    ASSERT_TRUE(g.vm->changeRow(represents, list, "Change Graph"));
    ASSERT_TRUE(g.vm->changeRow(row(g, {"categoryDicts", "1", "represents", "0", "represent"}), QString("Ay"),
                                "Change Text"));
    EXPECT_EQ(values(), QStringList({"a=Ay", "b=b", "c=c", "d=d"}));
    EXPECT_TRUE(doc->graphXMLs[2].contains("<represents name=\"d\" use=\"NO\">d</represents>"))
        << doc->graphXMLs[2].toStdString();
    undo().undo();
    undo().undo();
    EXPECT_EQ(values(), QStringList({"a=a", "b=b", "c=c", "d=d"}));
}

// The graph title goes to the analysis entry and every window title; a label inside one
// category's represents to its own selector row; other rows touch neither tree nor text.
TEST_F(EditUndo, TitlesAndLabelsReachTheSelectorTree)
{
    Graph& g = *graphs[1];
    const QString xml = doc->graphXMLs[1];
    ASSERT_TRUE(g.vm->tryObject(QString("Heights"), row(g, {"graphTitle"}), "Change Type"));
    EXPECT_EQ(analysis(1)->title, "Heights");
    EXPECT_EQ(log.titleSyncs, 1);
    EXPECT_NE(doc->graphXMLs[1], xml);
    ASSERT_TRUE(g.vm->tryObject(QString("Kilos"), row(g, {"categoryDicts", "0", "represents", "0", "represent"}),
                                "Change Type"));
    EXPECT_EQ(analysis(1)->childTitle("DataColumns")->childTitle("Weight")->selectorChildAt(0)->message, "Kilos");
    ASSERT_TRUE(g.vm->tryObject(QString("Cee"), row(g, {"categoryDicts", "1", "represents", "2", "represent"}),
                                "Change Type"));
    EXPECT_EQ(analysis(1)->childTitle("Categorizing")->childTitle("Group")->childTitle("c")->message, "Cee");
    const int selectorChanges = log.selectorTreeChanges;
    const QString xmlNow = doc->graphXMLs[1];
    ASSERT_TRUE(g.vm->tryObject(QString("12"), row(g, {"categoryDicts", "1", "verticalGap"}), "Change Type"));
    EXPECT_EQ(log.selectorTreeChanges, selectorChanges);
    EXPECT_EQ(doc->graphXMLs[1], xmlNow);
    for (int i = 0; i < 4; ++i)
        undo().undo();
    EXPECT_EQ(analysis(1)->title, "Sizes");
    EXPECT_EQ(doc->graphXMLs[1], xml);
}

// Undo steps hold rows by their path: rows dropped and built again in between are found
// again, and the step applies to the rows that are there.
TEST_F(EditUndo, StepsFindTheirRowsAgainAfterTheyWereRebuilt)
{
    Graph& g = *graphs[0];
    MyConfigItem* labels = row(g, {"valueSettings", "scaleStrings"});
    const int n = labels->childCount();
    ASSERT_GE(n, 3);
    MyConfigItem* last = labels->configChildAt(n - 1);
    const QString lastText = last->message;
    // A step held by the last label, then a partition that drops it and builds it again.
    ASSERT_TRUE(g.vm->changeRow(last, lastText, "Change Type"));
    ASSERT_TRUE(g.vm->tryObject(qint64(1), row(g, {"valueSettings", "partition"}), "Change Type"));
    EXPECT_EQ(row(g, {"valueSettings", "scaleStrings"})->childCount(), 2);
    undo().undo();
    undo().undo();
    undo().redo();
    MyConfigItem* again = row(g, {"valueSettings", "scaleStrings"})->configChildAt(n - 1);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->message, lastText);
    // The record of the label follows the rebuilt row.
    bool found = false;
    for (const auto& record : g.vm->scalesStorageItem)
        found = found || record->textItem == again;
    EXPECT_TRUE(found);
}

// A refused value (the value axis, or a shape the row cannot take) makes no step.
TEST_F(EditUndo, RefusedValuesMakeNoStep)
{
    Graph& g = *graphs[0];
    const QVariantMap settings = doc->graphSettings[0];
    // Whole settings with one part of the wrong kind.
    const auto whole = [&](const char* key, const QVariant& value) {
        QVariantMap s = settings;
        s[key] = value;
        return s;
    };
    // A hash holds the same keys and values, but no property list gives one.
    const auto hash = [](const QVariant& v) {
        const QVariantMap m = v.toMap();
        return QVariant(QVariantHash(m.begin(), m.end()));
    };
    const std::vector<std::pair<const char*, QVariant>> cases{
        {"valueSettings/max", QString("5")},   // below the largest value
        {"valueSettings/partition", qint64(-1)},
        {"categoryDicts/1/represents", QString("not a list")},
        {"categoryDicts/1", QVariantList()},
        {"categoryDicts", QVariantMap()},
        {"dotsProperties", QVariantMap()},
        {"graphProperties/graphRect/height", QVariantList()},
        {"graphProperties", QString("no dictionary")},
        {"graphProperties", QVariantList{settings["graphProperties"]}},
        {"", QVariantList{settings}},
        {"", whole("graphProperties", QString("no dictionary"))},
        {"", whole("dotsProperties", settings["dotsProperties"].toList().first())},
        {"graphProperties", hash(settings["graphProperties"])},
        {"categoryDicts/1", hash(settings["categoryDicts"].toList()[1])},
        {"", hash(settings)},
    };
    const QVariant tree = g.root->object();
    for (const auto& [path, value] : cases) {
        SCOPED_TRACE(path);
        MyConfigItem* r = *path ? row(g, QString(path).split('/')) : g.root.get();
        ASSERT_NE(r, nullptr);
        EXPECT_FALSE(g.vm->tryObject(value, r, "Change Type"));
        EXPECT_EQ(doc->graphSettings[0], settings);
        EXPECT_EQ(g.root->object(), tree);
        EXPECT_EQ(doc->historyOfGraphSettings[0].size(), 1);
        EXPECT_FALSE(undo().canUndo());
    }
}
