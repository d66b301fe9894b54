// The table window on a 100,000-row x 20-column table: import and first display, one typed
// cell with its undo step, scrolling, and a selection change (which must not reset the model).
#include "app/AppDelegate.h"
#include "document/Document.h"
#include "platform/Dialogs.h"
#include "platform/KeyedArchive.h"
#include "table/MyTableModel.h"
#include "table/MyTableView.h"
#include "windows/MyDocumentWindows.h"
#include "windows/MyWindowController.h"
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QImage>
#include <QMainWindow>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

constexpr int kRows = 100000;
constexpr int kColumns = 20;

AppDelegate& delegate()
{
    static AppDelegate d;
    static bool once = [] {
        d.defaultColumnSettings = {{"width", QStringLiteral("70")}};
        TextAttributes a;
        a.font = FontSpec{QStringLiteral("DejaVu Sans"), 11, 16};
        d.defaultTableRowSettings = {{"titleRowHeight", QStringLiteral("22.0")},
                                     {"dataRowHeight", QStringLiteral("17.0")},
                                     {"titleRowAttr", KeyedArchive::archiveAttributes(a)},
                                     {"dataRowAttr", KeyedArchive::archiveAttributes(a)}};
        return true;
    }();
    (void)once;
    return d;
}

const QString& tableFile()
{
    static QTemporaryDir dir;
    static QString path = [] {
        QString text;
        text.reserve(kRows * kColumns * 8);
        QRandomGenerator rng(7);
        for (int c = 0; c < kColumns; ++c)
            text += (c ? QStringLiteral(",") : QString()) + QStringLiteral("v%1").arg(c + 1);
        text += u'\n';
        for (int r = 0; r < kRows; ++r) {
            for (int c = 0; c < kColumns; ++c) {
                if (c)
                    text += u',';
                text += c % 5 == 4 ? QStringLiteral("g%1").arg(rng.bounded(10)) : QString::number(rng.bounded(100000) / 100.0);
            }
            text += u'\n';
        }
        const QString p = dir.filePath(QStringLiteral("big.csv"));
        QFile f(p);
        f.open(QIODevice::WriteOnly);
        f.write(text.toUtf8());
        return p;
    }();
    return path;
}

// 100,000 rows x 20 columns, about 18 MB: numbers of three decimals, every fifth column a
// group name.
const QString& csvFile()
{
    static QTemporaryDir dir;
    static QString path = [] {
        QByteArray text;
        text.reserve(19'000'000);
        QRandomGenerator rng(22);
        for (int c = 0; c < kColumns; ++c)
            text += (c ? "," : "") + QByteArray("value") + QByteArray::number(c + 1);
        text += '\n';
        for (int r = 0; r < kRows; ++r) {
            for (int c = 0; c < kColumns; ++c) {
                if (c)
                    text += ',';
                if (c % 5 == 4)
                    text += "group" + QByteArray::number(rng.bounded(20));
                else
                    text += QByteArray::number(rng.bounded(10'000'000) / 1000.0, 'f', 3);
            }
            text += '\n';
        }
        const QString p = dir.filePath(QStringLiteral("import.csv"));
        QFile f(p);
        f.open(QIODevice::WriteOnly);
        f.write(text);
        return p;
    }();
    return path;
}

struct Window {
    ScopedScriptedDialogs scripted;
    std::unique_ptr<Document> doc = std::make_unique<Document>(&delegate());
    MyTableView* grid = nullptr;
    Window()
    {
        MyDocumentWindows::makeWindowControllers(*doc);
        MyDocumentWindows::showWindows(*doc);
        MyDocumentWindows::showTableWindowAtState(*doc, true);
        grid = doc->tableWindowCont->mTV;
    }
    ~Window()
    {
        MyDocumentWindows::closeWindows(*doc);
        doc.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    void import(const QString& file = tableFile())
    {
        scripted.dialogs.files.push_back(file);
        grid->importTable();
    }
    // Paints what the window shows, whether or not the platform puts it on a screen.
    void paint()
    {
        if (canvas.size() != grid->viewport()->size())
            canvas = QImage(grid->viewport()->size(), QImage::Format_ARGB32_Premultiplied);
        grid->viewport()->render(&canvas);
    }
    QImage canvas;
};

void BM_ImportAndDisplay(benchmark::State& state)
{
    tableFile();
    for (auto _ : state) {
        state.PauseTiming();
        auto w = std::make_unique<Window>();
        state.ResumeTiming();
        w->import();
        w->paint();
        state.PauseTiming();
        const bool imported = w->doc->tableMatrix.row == kRows + 1;
        w.reset();
        state.ResumeTiming();
        // Reported with the timer running: the library aborts on a pause after an error.
        if (!imported) {
            state.SkipWithError("import failed");
            break;
        }
    }
}
BENCHMARK(BM_ImportAndDisplay)->Unit(benchmark::kMillisecond)->Iterations(3);

// The file read, decoded, parsed and written into the table as one undo step.
void BM_ImportCsvFileToTable(benchmark::State& state)
{
    csvFile();
    for (auto _ : state) {
        state.PauseTiming();
        auto w = std::make_unique<Window>();
        state.ResumeTiming();
        w->import(csvFile());
        state.PauseTiming();
        const bool imported = w->doc->tableMatrix.row == kRows + 1 && w->doc->tableMatrix.column == kColumns;
        w.reset();
        state.ResumeTiming();
        if (!imported) {
            state.SkipWithError("import failed");
            break;
        }
    }
    state.counters["MB"] = double(QFileInfo(csvFile()).size()) / 1e6;
}
BENCHMARK(BM_ImportCsvFileToTable)->Unit(benchmark::kMillisecond)->Iterations(5);

// Freeing the imported table: closing its document (0), or undoing the import and typing a
// cell, which cuts the imported table from the history (1).
void BM_FreeImportedTable(benchmark::State& state)
{
    const bool cut = state.range(0) == 1;
    for (auto _ : state) {
        state.PauseTiming();
        auto w = std::make_unique<Window>();
        w->import(csvFile());
        if (cut)
            w->doc->undoManager()->undo();
        state.ResumeTiming();
        if (!cut) {
            w.reset();
            continue;
        }
        w->doc->modifyTableWithArray({{QStringLiteral("x")}}, 1, 0, true, false);
        state.PauseTiming();
        const bool freed = w->doc->historyOfTableData.size() == 2;
        w.reset();
        state.ResumeTiming();
        if (!freed) {
            state.SkipWithError("the imported table is still held");
            break;
        }
    }
}
BENCHMARK(BM_FreeImportedTable)->Unit(benchmark::kMillisecond)->Iterations(5)->Arg(0)->Arg(1);

// A cell of 50 million characters shown in the table window, and the window rebuilt as a save
// rebuilds it.
void BM_ShowLongCell(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto w = std::make_unique<Window>();
        w->doc->tableData = {{QStringLiteral("title"), QString(50'000'000, u'x')}};
        w->doc->columnSettings = {delegate().defaultColumnSettings};
        w->doc->columnCounter = {0};
        w->doc->setTableData();
        state.ResumeTiming();
        emit w->doc->tableChanged(true);
        w->paint();
        w->doc->resetUndo();
        w->paint();
        state.PauseTiming();
        w.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ShowLongCell)->Unit(benchmark::kMillisecond)->Iterations(1);

// The table window of a table of a million columns (a title and one value each): made,
// shown with its columns set up, its pending events handled and painted.
void BM_ShowMillionColumns(benchmark::State& state)
{
    const int columns = int(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        ScopedScriptedDialogs scripted;
        auto doc = std::make_unique<Document>(&delegate());
        for (int c = 0; c < columns; ++c)
            doc->tableData.append({QStringLiteral("c%1").arg(c), QString::number(c % 97)});
        doc->columnSettings = ColumnSettings(columns, delegate().defaultColumnSettings);
        doc->columnSettings[columns / 2]["width"] = QStringLiteral("150");
        doc->columnCounter = QVector<qint64>(columns, 0);
        doc->setTableData();
        state.ResumeTiming();
        MyDocumentWindows::makeWindowControllers(*doc);
        MyDocumentWindows::showWindows(*doc);
        MyDocumentWindows::showTableWindowAtState(*doc, true);
        MyTableView* grid = doc->tableWindowCont->mTV;
        QCoreApplication::processEvents();
        QImage canvas(grid->viewport()->size(), QImage::Format_ARGB32_Premultiplied);
        grid->viewport()->render(&canvas);
        state.PauseTiming();
        const bool applied = grid->horizontalHeader()->sectionSize(columns / 2 + 1) == 150;
        MyDocumentWindows::closeWindows(*doc);
        doc.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        state.ResumeTiming();
        if (!applied) {
            state.SkipWithError("a stored width was not applied");
            break;
        }
    }
}
BENCHMARK(BM_ShowMillionColumns)->Unit(benchmark::kMillisecond)->Iterations(1)->Arg(10'000)->Arg(30'000)->Arg(100'000)->Arg(1'000'000);

void BM_TypedCellWithUndoStep(benchmark::State& state)
{
    Window w;
    w.import();
    w.paint();
    int i = 0;
    for (auto _ : state) {
        // Through the model, as the cell editor commits.
        const QModelIndex index = w.grid->tableModel()->index(1 + (i % 30), 3);
        w.grid->tableModel()->setData(index, QString::number(i++), Qt::EditRole);
        w.paint();
    }
    if (w.doc->undoManager()->undoText() != QLatin1String("Undo Input"))
        state.SkipWithError("no undo step");
}
BENCHMARK(BM_TypedCellWithUndoStep)->Unit(benchmark::kMillisecond);

void BM_UndoTypedCell(benchmark::State& state)
{
    Window w;
    w.import();
    w.grid->tableModel()->setData(w.grid->tableModel()->index(1, 3), QStringLiteral("x"), Qt::EditRole);
    int step = 0;
    for (auto _ : state) {
        if (step++ % 2 == 0)
            w.doc->undoManager()->undo();
        else
            w.doc->undoManager()->redo();
        w.paint();
    }
}
BENCHMARK(BM_UndoTypedCell)->Unit(benchmark::kMillisecond);

void BM_SetRowHeight(benchmark::State& state)
{
    Window w;
    w.import();
    int i = 0;
    for (auto _ : state) {
        QVariantMap rows = w.doc->tableRowSettings;
        rows.insert(QStringLiteral("dataRowHeight"), QString::number(15 + (i++ % 10)));
        w.doc->addRowSettings(rows, false);
        w.doc->setRowSettingsWithChange(1, QStringLiteral("Set Row Height"));
        w.paint();
    }
}
BENCHMARK(BM_SetRowHeight)->Unit(benchmark::kMillisecond);

void BM_ScrollOnePage(benchmark::State& state)
{
    Window w;
    w.import();
    QScrollBar* bar = w.grid->verticalScrollBar();
    int value = 0;
    for (auto _ : state) {
        value = (value + bar->pageStep()) % std::max(1, bar->maximum());
        bar->setValue(value);
        w.paint();
    }
}
BENCHMARK(BM_ScrollOnePage)->Unit(benchmark::kMicrosecond);

void BM_SelectionChange(benchmark::State& state)
{
    Window w;
    w.import();
    int resets = 0;
    QObject::connect(w.grid->tableModel(), &QAbstractItemModel::modelReset, [&resets] { ++resets; });
    qint64 i = 0;
    for (auto _ : state) {
        // A whole column, then a rectangle: the largest and an ordinary highlight.
        if (i++ % 2)
            w.grid->setSelectingCells({0, 3, kRows, 3});
        else
            w.grid->setSelectingCells({5, 2, 40, 6});
        w.paint();
    }
    if (resets)
        state.SkipWithError("the model was reset");
}
BENCHMARK(BM_SelectionChange)->Unit(benchmark::kMicrosecond);

}
