#pragma once
#include "app/AppDelegate.h"
#include "document/Document.h"
#include "document/DocumentHooks.h"
#include <gtest/gtest.h>
#include <memory>

// A delegate with small, known defaults, and hooks that are cleared after every test.
class DocumentFixture : public ::testing::Test {
protected:
    DocumentFixture()
    {
        delegate.defaultColumnSettings = {{"width", "70"}};
        delegate.defaultTableRowSettings = {{"dataRowHeight", "17"}, {"titleRowAttr", QByteArray("t")}};
    }
    ~DocumentFixture() override { DocumentHooks::shared() = DocumentHooks{}; }

    std::unique_ptr<Document> newDocument() { return std::make_unique<Document>(&delegate); }

    // A new document holding table, each column with the default settings.
    std::unique_ptr<Document> tableDocument(const TableData& table)
    {
        auto doc = newDocument();
        doc->tableData = table;
        doc->columnSettings = ColumnSettings(table.size(), delegate.defaultColumnSettings);
        doc->columnCounter = QVector<qint64>(table.size(), 0);
        doc->setTableData();
        return doc;
    }

    // Writes one cell (column 1 = first table column) and registers its undo step.
    static void type(Document* doc, const QString& text, qint64 column, qint64 row, bool newColumn)
    {
        ASSERT_TRUE(doc->modifyTableWithArray({{text}}, column, row, newColumn, false));
        doc->setTableDataWithSettingsWithSettings(newColumn, 1, "Input");
    }

    AppDelegate delegate;
};
