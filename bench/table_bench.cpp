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
    void import()
    {
        scripted.dialogs.files.push_back(tableFile());
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
        if (w->doc->tableMatrix.row != kRows + 1)
            state.SkipWithError("import failed");
        w.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ImportAndDisplay)->Unit(benchmark::kMillisecond)->Iterations(3);

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

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
