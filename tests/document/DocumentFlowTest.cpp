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
    static void type(Document* doc, const QString& text, qint64 column, qint64 row, bool newColumn)
    {
        ASSERT_TRUE(doc->modifyTableWithArray({{text}}, column, row, newColumn, false));
        doc->setTableDataWithSettingsWithSettings(newColumn, 1, "Input");
    }
    bool isOpen(DocumentInterface* doc) const
    {
        return std::any_of(controller.documents().begin(), controller.documents().end(),
                           [doc](const auto& d) { return d.get() == doc; });
    }

    ScopedScriptedDialogs dialogs;
    DocumentController controller;
    QTemporaryDir temp;
};

TEST_F(DocumentFlow, SaveClearsUndoButSaveToKeepsIt)
{
    Document* doc = newDoc();
    type(doc, "Weight", 1, 0, true);
    type(doc, "72", 1, 1, false);
    const QString path = temp.filePath("a.vlbdoc");
    QString error;
    ASSERT_TRUE(controller.saveAs(doc, path, &error)) << error.toStdString();
    EXPECT_FALSE(doc->isDocumentEdited());
    EXPECT_FALSE(doc->undoManager()->canUndo());

    type(doc, "80", 1, 2, false);
    ASSERT_TRUE(controller.saveTo(doc, temp.filePath("copy.vlbdoc"), &error)) << error.toStdString();
    EXPECT_TRUE(doc->isDocumentEdited());
    EXPECT_TRUE(doc->undoManager()->canUndo());
    EXPECT_EQ(doc->fileName(), path);

    ASSERT_TRUE(controller.autosave(doc, &error));
    doc->undoManager()->undo();
    EXPECT_EQ(doc->tableData, (TableData{{"Weight", "72"}}));

    auto* copy = static_cast<Document*>(controller.openDocument(temp.filePath("copy.vlbdoc"), &error));
    ASSERT_TRUE(copy) << error.toStdString();
    EXPECT_EQ(copy->tableData, (TableData{{"Weight", "72", "80"}}));
    EXPECT_TRUE(isOpen(doc));
}

TEST_F(DocumentFlow, OpeningReplacesOnlyAPristineUntitledDocument)
{
    Document* source = newDoc();
    type(source, "t", 1, 0, true);
    const QString path = temp.filePath("s.vlbdoc");
    ASSERT_TRUE(controller.saveAs(source, path, nullptr));

    Document* pristine = newDoc();
    Document* typedInto = newDoc();
    type(typedInto, "x", 1, 0, true);
    Document* editedEmpty = newDoc();   // row heights changed, table still empty
    QVariantMap rows = editedEmpty->tableRowSettings;
    rows["dataRowHeight"] = "40";
    editedEmpty->addRowSettings(rows, false);
    editedEmpty->setRowSettingsWithChange(1, "Set Row Height");

    // A package that cannot be read takes nothing away.
    QString error;
    EXPECT_FALSE(controller.openDocument(temp.filePath("missing.vlbdoc"), &error));
    EXPECT_TRUE(isOpen(pristine));

    QDir().mkpath(temp.filePath("other.vlbdoc"));
    ASSERT_TRUE(source->writePackage(temp.filePath("other.vlbdoc"), SaveKind::SaveTo, nullptr));
    ASSERT_TRUE(controller.openDocument(temp.filePath("other.vlbdoc"), &error)) << error.toStdString();
    EXPECT_FALSE(isOpen(pristine));
    EXPECT_TRUE(isOpen(typedInto));
    EXPECT_TRUE(isOpen(editedEmpty));
    EXPECT_TRUE(isOpen(source));
}
