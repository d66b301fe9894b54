// Import, paste and copy of table text, and every refusal of the grid's commands.
#include "table/TableFixture.h"
#include <QClipboard>
#include <QFile>
#include <QMimeData>
#include <QTemporaryDir>

class GridTransfer : public TableFixture {
protected:
    QTemporaryDir dir;
    QString writeFile(const QByteArray& bytes)
    {
        const QString path = dir.filePath(QStringLiteral("table%1.csv").arg(++files));
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
        return path;
    }
    void setClipboardText(const QString& text) { QApplication::clipboard()->setText(text); }
    int files = 0;
};

TEST_F(GridTransfer, ImportsACsvFileIntoAnEmptyTableWithUndo)
{
    load({});
    scripted.dialogs.files.push_back(writeFile("name,score,group\nann,3,a\nbob,4,b\n\"Smith, J\",5,a\n"));
    doc->tableWindowCont->importTable();
    ASSERT_EQ(doc->tableMatrix.column, 3);
    EXPECT_EQ(doc->variables, (QStringList{"name", "score", "group"}));
    EXPECT_EQ(doc->tableData[0], (QStringList{"name", "ann", "bob", "Smith, J"}));
    EXPECT_EQ(doc->tableData[1][3], "5");
    EXPECT_EQ(doc->baseWindowCont->tkNumOfRows->text(), "3");
    EXPECT_EQ(doc->baseWindowCont->tkNumOfColumns->text(), "3");
    EXPECT_EQ(doc->baseWindowCont->docTV->model()->index(2, 0).data().toString(), "group");
    EXPECT_EQ(grid->tableModel()->columnCount(), 5);
    EXPECT_EQ(undo()->undoText(), "Undo Import Table");
    EXPECT_TRUE(alerts().isEmpty());

    undo()->undo();
    EXPECT_EQ(doc->tableMatrix.column, 0);
    EXPECT_EQ(doc->baseWindowCont->tkNumOfRows->text(), "0");
    EXPECT_EQ(grid->tableModel()->columnCount(), 2);
    undo()->redo();
    EXPECT_EQ(doc->tableData[2], (QStringList{"group", "a", "b", "a"}));
    EXPECT_EQ(doc->columnSettings.size(), 3);
}

TEST_F(GridTransfer, ImportMergesFromTheSelectedCellAndKeepsTheRest)
{
    load(abc());
    select(2, 2, 2, 2);
    scripted.dialogs.files.push_back(writeFile("P\tQ\nR\tS"));
    grid->importTable();
    EXPECT_EQ(doc->tableData[0], abc()[0]);
    EXPECT_EQ(doc->tableData[1], (QStringList{"b", "x", "P", "R"}));
    EXPECT_EQ(doc->tableData[2], (QStringList{"c", "", "Q", "S"}));
}

TEST_F(GridTransfer, CancelledOrUnreadableImportsChangeNothing)
{
    load(abc());
    scripted.dialogs.files.push_back(QString());
    grid->importTable();
    scripted.dialogs.files.push_back(writeFile(QByteArray("a,b\n\xff\xfe,1\n")));
    grid->importTable();
    scripted.dialogs.files.push_back(dir.filePath("missing.csv"));
    grid->importTable();
    EXPECT_EQ(doc->tableData, abc());
    EXPECT_FALSE(undo()->canUndo());
    EXPECT_TRUE(alerts().isEmpty());
}

TEST_F(GridTransfer, CopyThenPasteReproducesTheRectangle)
{
    load(abc());
    select(1, 1, 2, 2);
    grid->copy();
    EXPECT_EQ(QApplication::clipboard()->text(), "1\tx\n2\ty\n");
    select(3, 3, 3, 3);
    grid->paste();
    EXPECT_EQ(undo()->undoText(), "Undo Paste");
    EXPECT_EQ(doc->tableMatrix.row, 5);
    EXPECT_EQ(doc->tableMatrix.column, 4);
    EXPECT_EQ(doc->tableData[2].mid(3), (QStringList{"1", "2"}));
    EXPECT_EQ(doc->tableData[3], (QStringList{"Column4", "", "", "x", "y"}));
    undo()->undo();
    EXPECT_EQ(doc->tableData, abc());
    EXPECT_EQ(doc->columnSettings.size(), 3);
}

TEST_F(GridTransfer, CopyIncludesTitlesWhenTheTitleRowIsSelected)
{
    load(abc());
    select(0, 2, 1, 3);
    grid->copy();
    EXPECT_EQ(QApplication::clipboard()->text(), "b\tc\nx\t\n");
}

// The grid's own copy keeps empty cells at the ends of rows and commas inside one column.
TEST_F(GridTransfer, OwnCopyPastesBackExactly)
{
    load({{"t", "a,b", "", "c"}, {"u", "", "", ""}, {"v", "1", "2", "3"}});
    select(1, 1, 3, 2);
    grid->copy();
    select(1, 3, 1, 3);
    grid->paste();
    EXPECT_EQ(doc->tableData[2], (QStringList{"v", "a,b", "", "c"}));
    EXPECT_EQ(doc->tableData[3], (QStringList{"Column4", "", "", ""}));
}

TEST_F(GridTransfer, PastedTextKeepsEmptyLinesBetweenRows)
{
    load(abc());
    select(1, 2, 1, 2);
    setClipboardText("P\n\nQ\n\n");
    grid->paste();
    EXPECT_EQ(doc->tableData[1], (QStringList{"b", "P", "", "Q"}));
    setClipboardText("1\t2\n\t\n3\t4");
    select(1, 1, 1, 1);
    grid->paste();
    EXPECT_EQ(doc->tableData[0], (QStringList{"a", "1", "", "3"}));
    EXPECT_EQ(doc->tableData[1], (QStringList{"b", "2", "", "4"}));
}

TEST_F(GridTransfer, PastedTitlesAreMadeUniqueWithoutRenamingOthers)
{
    load(abc());
    select(0, 1, 0, 1);
    setClipboardText("c\n5");
    grid->paste();
    EXPECT_EQ(doc->variables, (QStringList{"c-1", "b", "c"}));
}

TEST_F(GridTransfer, PasteAndCopyWithNothingSelectedDoNothing)
{
    load(abc());
    setClipboardText("z");
    grid->paste();
    grid->copy();
    EXPECT_EQ(doc->tableData, abc());
    EXPECT_EQ(QApplication::clipboard()->text(), "z");
    EXPECT_TRUE(alerts().isEmpty());
}

struct Refusal {
    const char* name;
    std::function<void(TableFixture&, MyTableView*)> act;
    const char* message;
};

void PrintTo(const Refusal& c, std::ostream* os) { *os << c.name; }

class GridRefusal : public GridTransfer, public ::testing::WithParamInterface<Refusal> {};

// Each refusal shows exactly its message and leaves table, settings and undo as they were.
TEST_P(GridRefusal, ShowsItsMessageAndChangesNothing)
{
    // Column "b" is used by an analysis.
    load({{"a", "1", "2", "3"}, {"b", "x", "", "z"}, {"c", "", "q", ""}}, {0, 1, 0});
    const TableData before = doc->tableData;
    const ColumnSettings settings = doc->columnSettings;
    GetParam().act(*this, grid);
    EXPECT_EQ(alerts(), QStringList{QString::fromUtf8(GetParam().message)});
    EXPECT_EQ(doc->tableData, before);
    EXPECT_EQ(doc->columnSettings, settings);
    EXPECT_FALSE(undo()->canUndo());
}

namespace {
void readOnly(TableFixture& f) { f.doc->tableWindowCont->editDataTableTapped(0); }
}

INSTANTIATE_TEST_SUITE_P(
    Messages, GridRefusal,
    ::testing::Values(
        Refusal{"PasteReadOnly", [](TableFixture& f, MyTableView* g) { readOnly(f); g->setSelectingCells({1, 1, 1, 1}); g->paste(); },
                "This table is not currently editable."},
        Refusal{"ImportReadOnly", [](TableFixture& f, MyTableView* g) { readOnly(f); g->importTable(); },
                "This table is not currently editable."},
        Refusal{"DeleteColumnsReadOnly", [](TableFixture& f, MyTableView* g) { readOnly(f); g->setSelectingCells({0, 1, 3, 1}); g->deleteColumns(); },
                "This table is not currently editable."},
        Refusal{"DeleteRowsReadOnly", [](TableFixture& f, MyTableView* g) { readOnly(f); g->setSelectingCells({1, 1, 1, 3}); g->deleteRows(); },
                "This table is not currently editable."},
        Refusal{"PasteOverSeveralCells", [](TableFixture&, MyTableView* g) { QApplication::clipboard()->setText("q"); g->setSelectingCells({1, 1, 2, 1}); g->paste(); },
                "You need to select only one cell."},
        Refusal{"PasteOverAUsedColumn", [](TableFixture&, MyTableView* g) { QApplication::clipboard()->setText("p\tq"); g->setSelectingCells({2, 1, 2, 1}); g->paste(); },
                "One or more columns are currently in use."},
        Refusal{"PasteTakingAUsedTitle", [](TableFixture&, MyTableView* g) { QApplication::clipboard()->setText("b"); g->setSelectingCells({0, 3, 0, 3}); g->paste(); },
                "One or more columns are currently in use."},
        Refusal{"PasteWithoutColumns", [](TableFixture&, MyTableView* g) { QApplication::clipboard()->setText("\n,,\n\n"); g->setSelectingCells({1, 1, 1, 1}); g->paste(); },
                "Invalid selection."},
        Refusal{"CopyReachingTheExtraRow", [](TableFixture&, MyTableView* g) { g->setSelectingCells({2, 1, 4, 1}); g->copy(); },
                "The current selection is including the outside of the data area."},
        Refusal{"CopyReachingTheExtraColumn", [](TableFixture&, MyTableView* g) { g->setSelectingCells({1, 3, 1, 4}); g->copy(); },
                "The current selection is including the outside of the data area."},
        Refusal{"DeleteColumnsShortOfTheLastRow", [](TableFixture&, MyTableView* g) { g->setSelectingCells({0, 1, 2, 1}); g->deleteColumns(); },
                "Invalid selection."},
        Refusal{"DeleteColumnsFromBelowTheTitle", [](TableFixture&, MyTableView* g) { g->setSelectingCells({1, 1, 3, 1}); g->deleteColumns(); },
                "Invalid selection."},
        Refusal{"DeleteColumnsUpwards", [](TableFixture&, MyTableView* g) { g->setSelectingCells({3, 1, 0, 1}); g->deleteColumns(); },
                "Invalid selection."},
        Refusal{"DeleteTheExtraColumn", [](TableFixture&, MyTableView* g) { g->setSelectingCells({0, 4, 3, 4}); g->deleteColumns(); },
                "Invalid selection."},
        Refusal{"DeleteAUsedColumn", [](TableFixture&, MyTableView* g) { g->setSelectingCells({0, 1, 3, 2}); g->deleteColumns(); },
                "One or more columns are currently in use."},
        Refusal{"DeleteRowsWithTheTitleRow", [](TableFixture&, MyTableView* g) { g->setSelectingCells({2, 1, 0, 3}); g->deleteRows(); },
                "Invalid selection."},
        Refusal{"DeleteRowsNotWhole", [](TableFixture&, MyTableView* g) { g->setSelectingCells({1, 1, 2, 2}); g->deleteRows(); },
                "Invalid selection."},
        Refusal{"DeleteTheExtraRow", [](TableFixture&, MyTableView* g) { g->setSelectingCells({4, 1, 4, 3}); g->deleteRows(); },
                "Invalid selection."},
        Refusal{"DeleteRowsWithDataInUse", [](TableFixture&, MyTableView* g) { g->setSelectingCells({2, 1, 3, 3}); g->deleteRows(); },
                "Data are currently in use."},
        Refusal{"ColumnWidthOfTheExtraColumn", [](TableFixture&, MyTableView* g) { g->setSelectingCells({4, 4, 4, 4}); g->columnWidth(); },
                "Invalid selection."}),
    [](const ::testing::TestParamInfo<Refusal>& info) { return std::string(info.param.name); });

TEST_F(GridTransfer, ColumnWidthOfATableWithoutColumnsIsRefused)
{
    load({});
    grid->columnWidth();
    EXPECT_EQ(alerts(), QStringList{"Invalid selection."});
}

// Quoted fields may carry tabs and line breaks; cells never do.
TEST_F(GridTransfer, PastedCellsKeepToOneLine)
{
    load(abc());
    select(1, 1, 1, 1);
    setClipboardText("\"one\ttwo\",\"three\nfour\"\n");
    grid->paste();
    EXPECT_EQ(doc->tableData[0][1], "one two");
    EXPECT_EQ(doc->tableData[1][1], "three four");
}
