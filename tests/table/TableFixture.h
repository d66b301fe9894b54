#pragma once
// A document with its main and table windows on the offscreen platform, scripted alerts and
// file choosers, and the dialog controller answering from scripts.
#include "common/LoadTable.h"
#include "common/QtWarnings.h"
#include "document/Document.h"
#include "table/MyTableModel.h"
#include "table/MyTableView.h"
#include "windows/MyDocumentWindows.h"
#include "windows/MySettingController.h"
#include "windows/MyWindowController.h"
#include "common/WhenShown.h"
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

// Everything a table step snapshots.
struct TableState {
    TableData table;
    ColumnSettings settings;
    QVector<qint64> counter;
    QVariantMap rows;
    bool operator==(const TableState&) const = default;
};

// Columns separated by "|", a column's title and cells by commas.
inline TableData table(const char* columns)
{
    TableData out;
    for (const QString& column : QString::fromUtf8(columns).split(u'|', Qt::SkipEmptyParts))
        out.append(column.trimmed().split(u','));
    return out;
}

class TableFixture : public ::testing::Test {
public:
    QtWarnings warnings;
    ScopedScriptedDialogs scripted;
    std::unique_ptr<AppDelegate> delegate;
    std::unique_ptr<MySettingController> settingCont;
    std::unique_ptr<Document> doc;
    MyTableView* grid = nullptr;
    QTemporaryDir dir;
    int files = 0;

    static QByteArray attributes(double size, bool red = false)
    {
        return KeyedArchive::archiveAttributes({FontSpec{"DejaVu Sans", size, 16}, red ? Color::rgb(1, 0, 0) : Color::gray(0)});
    }

    // Column width 70, title row 22 points in 13-point type, data rows 17 in 11-point type.
    static void setDefaults(AppDelegate& d)
    {
        d.defaultColumnSettings = {{"width", QStringLiteral("70")}};
        d.defaultTableRowSettings = {{"titleRowHeight", QStringLiteral("22.0")}, {"dataRowHeight", QStringLiteral("17.0")},
                                     {"titleRowAttr", attributes(13)}, {"dataRowAttr", attributes(11)}};
    }

    void SetUp() override
    {
        delegate = std::make_unique<AppDelegate>();
        setDefaults(*delegate);
        delegate->mainscreenFrame = Rect(0, 0, 1280, 1024);
        settingCont = std::make_unique<MySettingController>();
        delegate->settingCont = settingCont.get();
        doc = std::make_unique<Document>(delegate.get());
        MyDocumentWindows::makeWindowControllers(*doc);
        MyDocumentWindows::showWindows(*doc);
        MyDocumentWindows::showTableWindowAtState(*doc, true);
        grid = doc->tableWindowCont->mTV;
    }

    void TearDown() override
    {
        MyDocumentWindows::closeWindows(*doc);
        doc.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        settingCont.reset();
        delegate.reset();
        EXPECT_EQ(warnings.take(), QStringList()) << "Qt warned";
    }

    // A table as if just opened.
    void load(const TableData& table, const QVector<qint64>& counters = {}) { loadTable(*doc, table, counters); }

    static TableData abc() { return table("a,1,2,3 | b,x,y,z | c,,q,"); }
    // Imports a file holding bytes through the scripted file chooser.
    void import(const QByteArray& bytes)
    {
        QFile f(dir.filePath(QStringLiteral("table%1.csv").arg(++files)));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
        f.close();
        scripted.dialogs.files.push_back(f.fileName());
        doc->tableWindowCont->importTable();
    }

    // Stored widths, as if loaded with the table.
    void setWidths(const ColumnSettings& settings)
    {
        doc->columnSettings = settings;
        doc->historyOfColumnSettings = {settings};
        grid->columnSettingsSnapshotLoaded();
    }
    // Answers the column-width dialog with a width, once look has seen it.
    void setColumnWidth(const QString& width, const std::function<void(MySettingController&)>& look = {})
    {
        settingCont->pushScript([=](MySettingController& d) {
            if (look)
                look(d);
            d.tfColumnWidth->setText(width);
            d.columnOkButton->click();
        });
        grid->columnWidth();
    }
    // Answers the row-height dialog.
    void setRowHeights(const QString& title, const QString& data, bool dataFit = false)
    {
        settingCont->pushScript([=](MySettingController& d) {
            d.tfTitleHeight->setText(title);
            d.tfDataHeight->setText(data);
            d.buDataSizeToFit->setChecked(dataFit);
            d.rowOkButton->click();
        });
        grid->rowHeight();
    }

    TableState state() const { return {doc->tableData, doc->columnSettings, doc->columnCounter, doc->tableRowSettings}; }
    // The grid and its headers agree with the document (editable window).
    void checkInLine() const
    {
        const qint64 R = doc->tableMatrix.row, C = doc->tableMatrix.column;
        ASSERT_EQ(QList({doc->variables.size(), doc->columnSettings.size(), doc->columnCounter.size()}), QList<qsizetype>(3, C));
        ASSERT_EQ(std::pair(grid->tableModel()->columnCount(), grid->tableModel()->rowCount()), std::pair(int(C) + 2, int(R) + 1));
        QHeaderView* header = grid->horizontalHeader();
        for (int k = 1; k <= C; ++k) {
            ASSERT_EQ(header->visualIndex(k), k);
            ASSERT_EQ(doc->variables.at(k - 1), doc->tableData.at(k - 1).first());
            ASSERT_EQ(cell(0, k), doc->variables.at(k - 1));
            ASSERT_EQ(header->sectionSize(k), qRound(doc->columnSettings.at(k - 1).value("width").toDouble()));
        }
        for (int r = 0; r <= R; ++r)
            ASSERT_EQ(grid->verticalHeader()->sectionSize(r), qRound(grid->heightOfRow(r))) << "row " << r;
    }

    QString cell(qint64 row, qint64 column) const { return grid->objectValue(column, row).toString(); }
    QStringList alerts() const { return scripted.dialogs.alerts; }
    UndoBridge* undo() { return doc->undoManager(); }
    void select(qint64 r1, qint64 c1, qint64 r2, qint64 c2) { grid->setSelectingCells({r1, c1, r2, c2}); }

    QPoint centre(int row, int column) const { return grid->visualRect(grid->tableModel()->index(row, column)).center(); }
    void click(int row, int column, Qt::KeyboardModifiers modifiers = {})
    {
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, modifiers, centre(row, column));
    }
    void clickHeader(int column, Qt::KeyboardModifiers modifiers = {})
    {
        QHeaderView* header = grid->horizontalHeader();
        const QPoint p(header->sectionViewportPosition(column) + header->sectionSize(column) / 2, header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, modifiers, p);
    }
    // Double-clicks a cell and types text into its editor; false when no editor opened.
    bool type(int row, int column, const QString& text)
    {
        grid->scrollTo(grid->tableModel()->index(row, column));
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, centre(row, column));
        auto* editor = grid->findChild<QLineEdit*>();
        if (!editor || !editor->isVisible())
            return false;
        editor->setText(text);   // as a paste into the editor: keys cannot type tabs or line breaks
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents();   // the delegate commits from a queued call
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return true;
    }
};
