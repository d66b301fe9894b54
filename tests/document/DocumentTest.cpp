#include "DocumentFixture.h"
#include <QSizeF>
#include <QTemporaryDir>

using DocumentModel = DocumentFixture;
using DocumentFlow = DocumentFixture;

// Left, top, right, bottom, worked out by hand (the imageable origin is at the lower left).
TEST_F(DocumentModel, PageMargins)
{
    EXPECT_EQ(Document::marginsForImageable(QSizeF(600, 800), Rect(10, 20, 570, 740)), QMarginsF(10, 40, 20, 20));
}

// A window controller reads its document while it closes its window; it must find the
// document whole, not a half-destroyed object.
TEST_F(DocumentModel, ChildrenGoWhileTheDocumentIsWhole)
{
    auto doc = tableDocument({{"t", "1", "2"}});
    bool whole = false;
    auto* child = new QObject(doc.get());
    QObject::connect(child, &QObject::destroyed, [&whole, child] {
        const auto* d = qobject_cast<const Document*>(child->parent());
        whole = d && d->tableMatrix.row == 3;
    });
    doc.reset();
    EXPECT_TRUE(whole);
}

TEST_F(DocumentModel, TableQueries)
{
    const QString cafe = QString::fromUtf8("Caf\u00e9");
    auto doc = tableDocument({{"Weight", "12", "abc", "", " 3.5", "7kg", "1e2"},
                              {cafe, "e\u0301", "\u00e9", "x", "", "x", "x"}});
    EXPECT_EQ(doc->tableMatrix, (TableMatrix{7, 2}));
    EXPECT_EQ(doc->indexOfVariables("Height"), -1);
    EXPECT_EQ(doc->indexOfVariables(QString::fromUtf8("Cafe\u0301")), 1);

    // Canonically equivalent cells are one category, shown as first met.
    const auto accents = doc->categoriesOfVariable(cafe);
    EXPECT_EQ(accents.values, (QStringList{QString::fromUtf8("e\u0301"), "x", ""}));
    EXPECT_EQ(accents.rows, (QVector<QVector<qint64>>{{0, 1}, {2, 4, 5}, {3}}));

    // "7kg" is no value: only a cell that is a number as a whole is one.
    const auto weight = doc->numericValuesOfVariable("Weight");
    EXPECT_EQ(weight.count, 3);
    EXPECT_EQ(weight.values, (QVector<std::optional<double>>{12, std::nullopt, std::nullopt, 3.5, std::nullopt, 100}));
}

TEST_F(DocumentModel, TypedCellsAndUndo)
{
    auto doc = newDocument();
    EXPECT_TRUE(doc->isPristine());
    // Typing the first title into an empty table makes a column.
    type(doc.get(), "Weight", 1, 0, true);
    EXPECT_EQ(doc->tableData, (TableData{{"Weight"}}));
    EXPECT_EQ(doc->columnSettings, (ColumnSettings{delegate.defaultColumnSettings}));
    EXPECT_FALSE(doc->isPristine());

    // An empty block is refused with nothing pushed, so the caller registers no step.
    EXPECT_FALSE(doc->modifyTableWithArray({QStringList{}}, 2, 0, true, false));
    EXPECT_EQ(doc->historyOfTableData.size(), 2);
    doc->undoManager()->undo();
    EXPECT_TRUE(doc->columnSettings.isEmpty());
    EXPECT_TRUE(doc->isPristine());

    // Changed row heights alone make the empty document one the user would lose.
    doc->addRowSettings(QVariantMap{{"dataRowHeight", "40"}}, false);
    doc->setRowSettingsWithChange(1, "Set Row Height");
    EXPECT_FALSE(doc->isPristine());
}

// New and saved through the platform's document machinery.
TEST_F(DocumentFlow, OnlyASuccessfulSaveClearsUndo)
{
    ScopedScriptedDialogs dialogs;
    DocumentController controller(Document::factory(&delegate));
    QTemporaryDir temp;
    auto* doc = static_cast<Document*>(controller.newDocument());
    type(doc, "Weight", 1, 0, true);
    QString error;
    EXPECT_FALSE(controller.saveAs(doc, "/proc/self/a.vlbdoc", &error));   // a folder that takes no new files
    EXPECT_TRUE(doc->isDocumentEdited() && doc->undoManager()->canUndo());
    type(doc, "72", 1, 1, false);
    ASSERT_TRUE(controller.saveAs(doc, temp.filePath("a.vlbdoc"), &error)) << error.toStdString();
    EXPECT_FALSE(doc->isDocumentEdited() || doc->undoManager()->canUndo());
    EXPECT_EQ(doc->historyOfTableData.size(), 1);

    // A copy written elsewhere and an autosave leave the document edited, with its undo.
    type(doc, "80", 1, 2, false);
    ASSERT_TRUE(controller.saveTo(doc, temp.filePath("copy.vlbdoc"), &error)) << error.toStdString();
    ASSERT_TRUE(controller.autosave(doc, &error));
    EXPECT_TRUE(doc->isDocumentEdited());
    doc->undoManager()->undo();
    EXPECT_EQ(doc->tableData, (TableData{{"Weight", "72"}}));
}
