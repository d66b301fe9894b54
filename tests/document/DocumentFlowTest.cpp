#include "DocumentFixture.h"
#include <QTemporaryDir>

// New, save, open again through the platform's document machinery.
class DocumentFlow : public DocumentFixture {
protected:
    DocumentFlow()
        : controller(Document::factory(&delegate))
    {
    }
    Document* newDoc() { return static_cast<Document*>(controller.newDocument()); }
    bool isOpen(DocumentInterface* doc) const
    {
        return std::any_of(controller.documents().begin(), controller.documents().end(),
                           [doc](const auto& d) { return d.get() == doc; });
    }

    ScopedScriptedDialogs dialogs;
    DocumentController controller;
    QTemporaryDir temp;
};

TEST_F(DocumentFlow, OnlyASuccessfulSaveOrSaveAsClearsUndo)
{
    Document* doc = newDoc();
    type(doc, "Weight", 1, 0, true);
    QString error;
    EXPECT_FALSE(controller.saveAs(doc, "/proc/self/a.vlbdoc", &error));   // a folder that takes no new files
    EXPECT_TRUE(doc->isDocumentEdited() && doc->undoManager()->canUndo());
    type(doc, "72", 1, 1, false);
    const QString path = temp.filePath("a.vlbdoc");
    ASSERT_TRUE(controller.saveAs(doc, path, &error)) << error.toStdString();
    EXPECT_FALSE(doc->isDocumentEdited() || doc->undoManager()->canUndo());
    EXPECT_EQ(doc->historyOfTableData.size(), 1);

    // A copy written elsewhere and an autosave leave the document edited, with its undo.
    type(doc, "80", 1, 2, false);
    ASSERT_TRUE(controller.saveTo(doc, temp.filePath("copy.vlbdoc"), &error)) << error.toStdString();
    ASSERT_TRUE(controller.autosave(doc, &error));
    EXPECT_TRUE(doc->isDocumentEdited());
    EXPECT_EQ(doc->fileName(), path);
    doc->undoManager()->undo();
    EXPECT_EQ(doc->tableData, (TableData{{"Weight", "72"}}));
    ASSERT_TRUE(controller.save(doc, &error));
    EXPECT_FALSE(doc->isDocumentEdited() || doc->undoManager()->canUndo() || doc->undoManager()->canRedo());
}

TEST_F(DocumentFlow, OpeningReplacesOnlyAPristineUntitledDocument)
{
    Document* source = newDoc();
    type(source, "t", 1, 0, true);
    Document* pristine = newDoc();
    Document* editedEmpty = newDoc();   // row heights changed, table still empty
    QVariantMap rows = editedEmpty->tableRowSettings;
    rows["dataRowHeight"] = "40";
    editedEmpty->addRowSettings(rows, false);
    editedEmpty->setRowSettingsWithChange(1, "Set Row Height");

    const QString path = temp.filePath("s.vlbdoc");
    QDir().mkpath(path);
    ASSERT_TRUE(source->writePackage(path, SaveKind::SaveTo, nullptr));
    QString error;
    ASSERT_TRUE(controller.openDocument(path, &error)) << error.toStdString();
    EXPECT_FALSE(isOpen(pristine));
    EXPECT_TRUE(isOpen(editedEmpty));
    EXPECT_TRUE(isOpen(source));
}
