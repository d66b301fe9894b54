#include "DocumentFixture.h"
#include <QPointF>
#include <QSignalSpy>
#include <QSizeF>

using DocumentModel = DocumentFixture;

TEST_F(DocumentModel, PageMargins)
{
    auto doc = newDocument();
    // The margins leave exactly the imageable area, and equal the unprintable border.
    const Rect page = doc->imageablePageBounds();
    const QMarginsF m = doc->printInfo.margins(QPageLayout::Point);
    EXPECT_EQ(QPointF(page.origin.x, page.origin.y), QPointF(m.left(), m.bottom()));
    EXPECT_EQ(doc->printInfo.minimumMargins(), m);
    // Left, top, right, bottom, worked out by hand (the imageable origin is at the lower left).
    EXPECT_EQ(Document::marginsForImageable(QSizeF(600, 800), Rect(10, 20, 570, 740)), QMarginsF(10, 40, 20, 20));
}

TEST_F(DocumentModel, TableQueries)
{
    const QString cafe = QString::fromUtf8("Caf\u00e9");
    auto doc = tableDocument({{"Weight", "12", "abc", "", " 3.5", "7kg", "1e2"},
                              {"Sex", "m", "f", "m", "", "f", "f"},
                              {"Weight", "1", "2", "3", "4", "5", "6"},
                              {cafe, "e\u0301", "\u00e9", "x", "x", "x", "x"}});
    EXPECT_EQ(doc->tableMatrix, (TableMatrix{7, 4}));
    EXPECT_EQ(doc->indexOfVariables("Weight"), 0);
    EXPECT_EQ(doc->indexOfVariables("Height"), -1);
    EXPECT_EQ(doc->indexOfVariables(QString::fromUtf8("Cafe\u0301")), 3);

    const auto sex = doc->categoriesOfVariable("Sex");
    EXPECT_EQ(sex.values, (QStringList{"m", "f", ""}));
    EXPECT_EQ(sex.rows, (QVector<QVector<qint64>>{{0, 2}, {1, 4, 5}, {3}}));
    // Canonically equivalent cells are one category, shown as first met.
    const auto accents = doc->categoriesOfVariable(cafe);
    EXPECT_EQ(accents.values, (QStringList{QString::fromUtf8("e\u0301"), "x"}));
    EXPECT_EQ(accents.rows, (QVector<QVector<qint64>>{{0, 1}, {2, 3, 4, 5}}));

    const auto weight = doc->numericValuesOfVariable("Weight");
    EXPECT_EQ(weight.count, 4);
    EXPECT_EQ(weight.values, (QVector<std::optional<double>>{12, std::nullopt, std::nullopt, 3.5, 7, 100}));
}

TEST_F(DocumentModel, SettingsChangesArePushedThenAppliedByTheirStep)
{
    auto doc = tableDocument({{"a"}, {"b"}, {"c"}});
    doc->historyOfColumnSettings = {doc->columnSettings};
    QSignalSpy spy(doc.get(), &Document::columnSettingsChanged);
    doc->modifyColumnSettingWithKey("width", "120", {0, 2, 7});
    EXPECT_EQ(doc->columnSettings[0]["width"], "70");
    doc->setColumnSettingsWithChange(1, "Set Column Width");
    EXPECT_EQ(doc->columnSettings, (ColumnSettings{{{"width", "120"}}, {{"width", "70"}}, {{"width", "120"}}}));
    EXPECT_TRUE(doc->isTableEdited());
    EXPECT_EQ(doc->undoManager()->undoText(), "Undo Set Column Width");
    doc->undoManager()->undo();
    EXPECT_EQ(doc->columnSettings[0]["width"], "70");
    EXPECT_FALSE(doc->isTableEdited());
    EXPECT_EQ(spy.count(), 2);
}

TEST_F(DocumentModel, TypedCellsAndUndo)
{
    auto doc = newDocument();
    EXPECT_TRUE(doc->isPristine());
    // Typing the first title into an empty table makes a column; the write only pushes.
    ASSERT_TRUE(doc->modifyTableWithArray({{"Weight"}}, 1, 0, true, false));
    EXPECT_TRUE(doc->tableData.isEmpty());
    doc->setTableDataWithSettingsWithSettings(true, 1, "Input");
    EXPECT_EQ(doc->tableData, (TableData{{"Weight"}}));
    EXPECT_EQ(doc->columnSettings, (ColumnSettings{delegate.defaultColumnSettings}));
    EXPECT_FALSE(doc->isPristine());

    // An empty block is refused with nothing pushed, so the caller registers no step.
    EXPECT_FALSE(doc->modifyTableWithArray({QStringList{}}, 2, 0, true, false));
    EXPECT_EQ(doc->historyOfTableData.size(), 2);
    EXPECT_EQ(doc->historyOfColumnSettings.size(), 2);
    doc->undoManager()->undo();
    EXPECT_TRUE(doc->columnSettings.isEmpty());
    EXPECT_FALSE(doc->isDocumentEdited() || doc->isTableEdited());
    EXPECT_TRUE(doc->isPristine());

    // Changed row heights alone make the empty document one the user would lose.
    doc->addRowSettings(QVariantMap{{"dataRowHeight", "40"}}, false);
    doc->setRowSettingsWithChange(1, "Set Row Height");
    EXPECT_FALSE(doc->isPristine());
}

TEST_F(DocumentModel, ResetUndoCutsEveryHistory)
{
    auto doc = newDocument();
    for (int i = 0; i < 4; ++i)
        type(doc.get(), QString::number(i), 1, 0, true);
    doc->undoManager()->undo();   // 5 snapshots at index 3
    doc->appendAnalysis({{"g", 0}}, "x0", doc->newStatsRecord());
    doc->appendAnalysis({{"g", 10}}, "x1", doc->newStatsRecord());
    doc->historyOfGraphSettings = {{{{"g", 0}}, {{"g", 1}}, {{"g", 2}}}, {{{"g", 10}}, {{"g", 11}}}};
    doc->graphSettingsIndex[0] = 2;
    const TableData table = doc->tableData;
    QSignalSpy spy(doc.get(), &Document::undoWasReset);

    doc->resetUndo();
    EXPECT_EQ(doc->historyOfTableData.size(), 1);
    EXPECT_EQ(doc->historyOfTableData.at(0), table);
    EXPECT_EQ(doc->historyOfColumnSettings, QVector<ColumnSettings>{doc->columnSettings});
    EXPECT_EQ(doc->historyOfGraphSettings, (QVector<QVector<QVariantMap>>{{{{"g", 2}}}, {{{"g", 10}}}}));
    EXPECT_EQ(doc->graphSettingsIndex, (QVector<qint64>{0, 0}));
    EXPECT_FALSE(doc->isTableEdited() || doc->undoManager()->canUndo() || doc->undoManager()->canRedo());
    EXPECT_EQ(spy.count(), 1);
}

TEST_F(DocumentModel, GraphSettingsHistoryAndRemoval)
{
    auto doc = newDocument();
    doc->appendAnalysis({{"v", 0}}, "x", doc->newStatsRecord());
    EXPECT_EQ(doc->stats[0]["settings"], delegate.defaultStats);
    doc->historyOfGraphSettings[0] = {{{"v", 0}}, {{"v", 1}}, {{"v", 2}}};
    // Pushed after the current snapshot, dropping the ones after it; neither moved to nor applied.
    doc->addToHistoryNewSettings({{"v", 9}}, 0);
    EXPECT_EQ(doc->historyOfGraphSettings[0], (QVector<QVariantMap>{{{"v", 0}}, {{"v", 9}}}));
    EXPECT_EQ(doc->graphSettings[0]["v"], 0);
    doc->addToHistoryNewSettings({{"v", 5}}, 3);   // no such analysis: ignored
    EXPECT_EQ(doc->historyOfGraphSettings.size(), 1);

    doc->removeAnalysis(0);
    EXPECT_TRUE(doc->graphSettings.isEmpty() && doc->graphXMLs.isEmpty() && doc->stats.isEmpty()
                && doc->graphSettingsIndex.isEmpty() && doc->historyOfGraphSettings.isEmpty());
}
