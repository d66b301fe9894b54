// Copy, and every refusal or no-op of the grid's commands with its message.
#include "table/TableFixture.h"
#include <QClipboard>
#include <QDataStream>
#include <QMimeData>
#include <functional>

using GridTransfer = TableFixture;

TEST_F(GridTransfer, CopyPutsTheRectangleOnTheClipboardAsTabbedText)
{
    load(abc());
    select(0, 1, 2, 3);   // with the title row, titles too
    grid->copy();
    EXPECT_EQ(QApplication::clipboard()->text(), "a\tb\tc\n1\tx\t\n2\ty\tq\n");
}

namespace {
const char* const notEditable = "This table is not currently editable.";
const char* const invalid = "Invalid selection.";
const char* const inUse = "One or more columns are currently in use.";
const char* const outside = "The current selection is including the outside of the data area.";

struct Refusal {
    const char* name;
    bool readOnly;
    const char* clipboard;   // null: "z"; never overwritten
    CellSelection selection;
    std::function<void(MyTableView&)> command;
    const char* message;   // empty: no alert either
};
void PrintTo(const Refusal& r, std::ostream* os) { *os << r.name; }

const Refusal refusals[] = {
    {"PasteWithNothingSelected", false, nullptr, {}, &MyTableView::paste, ""},
    {"PasteReadOnly", true, nullptr, {1, 1, 1, 1}, &MyTableView::paste, notEditable},
    {"PasteOverSeveralCells", false, "q", {1, 1, 2, 1}, &MyTableView::paste, "You need to select only one cell."},
    {"PasteTakingAUsedTitle", false, "b", {0, 3, 0, 3}, &MyTableView::paste, inUse},
    {"PasteWithoutColumns", false, "\n,,\n\n", {1, 1, 1, 1}, &MyTableView::paste, "The clipboard holds no table text."},
    {"CopyReachingTheExtraRow", false, nullptr, {2, 1, 4, 1}, &MyTableView::copy, outside},
    {"CopyDraggedIntoTheRowNumbers", false, nullptr, {1, 2, 1, 0}, &MyTableView::copy, ""},
    {"ImportReadOnly", true, nullptr, {1, 1, 1, 1}, &MyTableView::importTable, notEditable},
    {"DeleteColumnsReadOnly", true, nullptr, {0, 1, 3, 1}, &MyTableView::deleteColumns, notEditable},
    {"DeleteRowsReadOnly", true, nullptr, {1, 1, 1, 3}, &MyTableView::deleteRows, notEditable},
    {"DeleteTheExtraColumn", false, nullptr, {0, 4, 3, 4}, &MyTableView::deleteColumns, invalid},
    // Whole columns run from the title row down; rows start at the first column.
    {"DeleteColumnsSelectedUpwards", false, nullptr, {3, 3, 0, 3}, &MyTableView::deleteColumns, invalid},
    {"DeleteColumnsStoppingShort", false, nullptr, {0, 3, 2, 3}, &MyTableView::deleteColumns, invalid},
    {"DeleteRowsRightToLeft", false, nullptr, {1, 3, 2, 1}, &MyTableView::deleteRows, invalid},
    {"DeleteRowsUpToTheTitle", false, nullptr, {2, 1, 0, 3}, &MyTableView::deleteRows, invalid},
    // Nothing moves before the row numbers, the row numbers and the extra column stay put.
    {"ReorderTheRowNumbers", false, nullptr, {}, [](MyTableView& g) { g.horizontalHeader()->moveSection(0, 2); }, ""},
    {"ReorderBeforeTheRowNumbers", false, nullptr, {}, [](MyTableView& g) { g.horizontalHeader()->moveSection(2, 0); }, ""},
    {"ReorderOntoTheExtraColumn", false, nullptr, {}, [](MyTableView& g) { g.horizontalHeader()->moveSection(1, 4); }, ""},
    {"ReorderTheExtraColumn", false, nullptr, {}, [](MyTableView& g) { g.horizontalHeader()->moveSection(4, 2); }, ""},
    {"DeleteColumnsDraggedIntoTheRowNumbers", false, nullptr, {0, 2, 3, 0}, &MyTableView::deleteColumns, invalid},
    {"DeleteAUsedColumn", false, nullptr, {0, 1, 3, 2}, &MyTableView::deleteColumns, inUse},
    {"DeleteTheExtraRow", false, nullptr, {4, 1, 4, 3}, &MyTableView::deleteRows, invalid},
    {"DeleteRowsWithDataInUse", false, nullptr, {2, 1, 3, 3}, &MyTableView::deleteRows, "Data are currently in use."},
    // Typed text the cell or another title already holds, or an empty title.
    {"TypedTheTextItHolds", false, nullptr, {}, [](MyTableView& g) { g.tableViewSetObjectValue(QStringLiteral("1"), "1", 1); }, ""},
    {"TypedEmptyTitle", false, nullptr, {}, [](MyTableView& g) { g.tableViewSetObjectValue(QString(), "1", 0); }, ""},
    {"TypedCanonicallyEqualTitle", false, nullptr, {},
     [](MyTableView& g) { g.tableViewSetObjectValue(QString::fromUtf8("cafe\u0301"), "1", 0); }, ""},
    {"ColumnWidthOfTheExtraColumn", false, nullptr, {4, 4, 4, 4}, &MyTableView::columnWidth, invalid},
};
}

class GridRefusal : public TableFixture, public ::testing::WithParamInterface<Refusal> {};

// Each refusal shows exactly its message and leaves table, settings, undo, clipboard and the
// edited mark as they were.
TEST_P(GridRefusal, ShowsItsMessageAndChangesNothing)
{
    const Refusal& r = GetParam();
    load(table("a,1,2,3 | b,x,,z | caf\u00e9,,q,"), {0, 1, 0});   // "b" in use
    const TableState before = state();
    if (r.readOnly)
        doc->tableWindowCont->editDataTableTapped(0);
    const QString clipboard = QString::fromUtf8(r.clipboard ? r.clipboard : "z");
    QApplication::clipboard()->setText(clipboard);
    grid->setSelectingCells(r.selection);
    r.command(*grid);
    EXPECT_EQ(alerts(), *r.message ? QStringList{QString::fromUtf8(r.message)} : QStringList());
    EXPECT_EQ(state(), before);
    EXPECT_EQ(QApplication::clipboard()->text(), clipboard);
    EXPECT_FALSE(undo()->canUndo() || doc->tableWindowCont->window()->isWindowModified());
    for (int k = 0; k < grid->horizontalHeader()->count(); ++k)
        EXPECT_EQ(grid->horizontalHeader()->visualIndex(k), k);
}

INSTANTIATE_TEST_SUITE_P(Messages, GridRefusal, ::testing::ValuesIn(refusals),
                         [](const ::testing::TestParamInfo<Refusal>& info) { return std::string(info.param.name); });

namespace {
// A file to import at the first data cell, and what it does to the table (null: refused).
// A file holds table text when the codec reads at least one field from it: line ends,
// separators (tabs in a tab-separated file, commas in a comma-separated one) and a byte-order
// mark alone give none; a space is text.
struct ImportCase {
    const char* name;
    QByteArray bytes;
    std::function<void(TableData&)> change;
};
void PrintTo(const ImportCase& c, std::ostream* os) { *os << c.name; }

const ImportCase importCases[] = {
    {"Empty", "", nullptr},
    {"LineEnds", "\n\r\n\r\r\n\n", nullptr},
    {"ByteOrderMarkAndLineEnd", "\xEF\xBB\xBF\r\n", nullptr},
    {"Tabs", "\t\t\n\t\r\n\n", nullptr},
    {"Commas", ",,\n,\n", nullptr},
    {"Table", "p,q\n1,2\n", [](TableData& t) { t[0][1] = "p", t[1][1] = "q", t[0][2] = "1", t[1][2] = "2"; }},
    {"BlankLineBetweenRows", "p\r\n,\r\nq\r\n", [](TableData& t) { t[0][1] = "p", t[0][2] = "", t[0][3] = "q"; }},
    {"Spaces", " \n   \n", [](TableData& t) { t[0][1] = " ", t[0][2] = "   "; }},
};
}

class GridImport : public TableFixture, public ::testing::WithParamInterface<ImportCase> {};

// A file without table text is the file's fault: it is named, and nothing changes. Any
// other file imports as one undoable step.
TEST_P(GridImport, FileWithoutTableTextIsNamedAndChangesNothing)
{
    const ImportCase& c = GetParam();
    load(abc());
    const TableState before = state();
    select(1, 1, 1, 1);
    import(c.bytes);
    if (!c.change) {
        EXPECT_EQ(alerts(), QStringList{"The file \u201ctable1.csv\u201d holds no table text."});
        EXPECT_EQ(state(), before);
        EXPECT_FALSE(undo()->canUndo() || doc->tableWindowCont->window()->isWindowModified());
        return;
    }
    TableData expected = before.table;
    c.change(expected);
    EXPECT_EQ(alerts(), QStringList());
    EXPECT_EQ(doc->tableData, expected);
    EXPECT_EQ(undo()->undoText(), "Undo Import Table");
    EXPECT_TRUE(doc->tableWindowCont->window()->isWindowModified());
    undo()->undo();
    EXPECT_EQ(state(), before);
}

INSTANTIATE_TEST_SUITE_P(Files, GridImport, ::testing::ValuesIn(importCases),
                         [](const ::testing::TestParamInfo<ImportCase>& info) { return std::string(info.param.name); });

using GridPaste = TableFixture;

// The grid's own block type holding no cell is read as the text beside it: here no table text
// either, which is named, and nothing changes.
TEST_F(GridPaste, ClipboardWithoutTableTextIsNamedAndChangesNothing)
{
    load(abc());
    const TableState before = state();
    select(1, 2, 1, 2);
    auto* mime = new QMimeData;
    mime->setText("\n");
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out << TableData{};
    mime->setData(MyTableView::kBlockMimeType, bytes);
    QApplication::clipboard()->setMimeData(mime);
    grid->paste();
    EXPECT_EQ(alerts(), QStringList{"The clipboard holds no table text."});
    EXPECT_EQ(state(), before);
    EXPECT_FALSE(undo()->canUndo() || doc->tableWindowCont->window()->isWindowModified());
}
