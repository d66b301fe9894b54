#include "DocumentFixture.h"
#include <QTemporaryDir>

using DocumentFlow = DocumentFixture;

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
