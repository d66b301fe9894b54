// Tables whose size once made the window slow: thousands of columns each with its own width,
// and cells of a million characters.
#include "TableFixture.h"

// Every stored width reaches its column, held to 30-200 points, and the view knows the total
// width; also after the grid is rebuilt.
TEST_F(TableFixture, WideTableGetsEveryStoredWidth)
{
    const int columns = 3000;
    TableData wide;
    for (int c = 0; c < columns; ++c)
        wide.append({QStringLiteral("c%1").arg(c), QStringLiteral("v")});
    load(wide);
    const char* stored[] = {"25", "70", "200.4", "150.5", "999"};
    const int shown[] = {30, 70, 200, 151, 200};
    int total = grid->horizontalHeader()->sectionSize(0);   // the row numbers
    for (int c = 0; c < columns; ++c) {
        doc->columnSettings[c]["width"] = QString::fromLatin1(stored[c % 5]);
        total += shown[c % 5];
    }
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round == 0 ? "set up" : "rebuilt");
        if (round == 0)
            emit doc->columnSettingsChanged();
        else
            doc->resetUndo();
        QCoreApplication::processEvents();
        QHeaderView* header = grid->horizontalHeader();
        for (int c = 0; c < columns; ++c)
            ASSERT_EQ(header->sectionSize(c + 1), shown[c % 5]) << "column " << c;
        // The extra column of an editable table is as wide as a new column.
        const bool extra = grid->tableModel()->columnCount() == columns + 2;
        EXPECT_EQ(header->length(), total + (extra ? 70 : 0));
        EXPECT_EQ(header->sectionPosition(columns), total - shown[(columns - 1) % 5]);
    }
}

// A long cell shows its start, elided; editing it gives the whole text.
TEST_F(TableFixture, LongCellsShowTheirStart)
{
    const QString emoji = QStringLiteral("\U0001F600");
    const QString longText = QStringLiteral("a") + emoji.repeated(500'000);
    load({{"t", longText, QString(1'000'000, u'x')}});
    QAbstractItemModel* model = grid->tableModel();
    const QString shown = model->data(model->index(1, 1), Qt::DisplayRole).toString();
    EXPECT_EQ(shown, longText.left(4095) + QChar(0x2026)) << "the emoji cut in two";
    EXPECT_EQ(model->data(model->index(2, 1), Qt::DisplayRole).toString(), QString(4096, u'x') + QChar(0x2026));
    EXPECT_EQ(model->data(model->index(1, 1), Qt::EditRole).toString(), longText);
    EXPECT_EQ(model->data(model->index(0, 1), Qt::DisplayRole).toString(), "t");
}

// A small file that would make hundreds of millions of cells is refused with the sizes, and
// the table stays as it was.
TEST_F(TableFixture, ImportOfTooManyCellsIsRefused)
{
    load(abc());
    const TableState before = state();
    import("a" + QByteArray(20000, ',') + "b\n" + QByteArray("x\n").repeated(20000));
    EXPECT_EQ(alerts().join('|').toStdString(), "The text is too large: 20,001 rows and 20,001 columns (400,040,001 "
                                                "cells); a table holds at most 25,000,000 cells.");
    EXPECT_EQ(state(), before);
    EXPECT_FALSE(undo()->canUndo());
}

// Files that cannot become a table are refused with an alert naming them; nothing changes.
TEST_F(TableFixture, ImportOfAnUnreadableFileIsRefused)
{
    load(abc());
    const TableState before = state();
    QFile huge(dir.filePath("huge.csv"));
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly) && huge.resize(qint64(1) << 30));   // sparse: no disk used
    huge.close();
    QFile latin1(dir.filePath("latin1.csv"));
    ASSERT_TRUE(latin1.open(QIODevice::WriteOnly) && latin1.write("caf\xe9,1\n") == 7);
    latin1.close();
    const struct { QString path; std::string alert; } cases[] = {
        {huge.fileName(), "The file \u201chuge.csv\u201d is too large: 1,073,741,824 bytes; a table text may have "
                          "at most 536,870,912 bytes."},
        {latin1.fileName(), "The file \u201clatin1.csv\u201d is not a UTF-8 text."},
        {dir.filePath("gone.csv"), "The file \u201cgone.csv\u201d could not be read: No such file or directory"},
        {dir.path(), "The file \u201c" + QFileInfo(dir.path()).fileName().toStdString() + "\u201d could not be read: "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        scripted.dialogs.files.push_back(c.path);
        doc->tableWindowCont->importTable();
        ASSERT_EQ(alerts().size(), 1);
        EXPECT_EQ(alerts().first().toStdString().substr(0, c.alert.size()), c.alert);
        scripted.dialogs.alerts.clear();
        EXPECT_EQ(state(), before);
        EXPECT_FALSE(undo()->canUndo());
    }
}
