// Save and open of a 100,000-row x 20-column document, and the memory that typed cells with
// their undo steps add to it. Also table text of that size made into a table and the numbers
// of every column (target: no slower than pandas' typed read_csv), beside the floor of
// std::from_chars over the same bytes.
#include "ProcessMemory.h"
#include "app/AppDelegate.h"
#include "app/TableTextCodec.h"
#include "document/Document.h"
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <charconv>
#include <malloc.h>
#include <unistd.h>

namespace {

constexpr int kRows = 100000;
constexpr int kColumns = 20;

AppDelegate& delegate()
{
    static AppDelegate d;
    d.defaultColumnSettings = {{"width", "70"}};
    return d;
}

std::unique_ptr<Document> bigDocument()
{
    auto doc = std::make_unique<Document>(&delegate());
    QRandomGenerator rng(1);
    for (int c = 0; c < kColumns; ++c) {
        QStringList column;
        column.reserve(kRows + 1);
        column.append(QStringLiteral("Column%1").arg(c + 1));
        for (int r = 0; r < kRows; ++r)
            column.append(c % 5 == 4 ? QStringLiteral("group%1").arg(rng.bounded(10))
                                     : QString::number(rng.bounded(100000) / 100.0));
        doc->tableData.append(column);
        doc->columnSettings.append(delegate().defaultColumnSettings);
        doc->columnCounter.append(0);
    }
    doc->setTableData();
    doc->historyOfTableData.reset(doc->tableData);
    doc->historyOfColumnSettings = {doc->columnSettings};
    doc->historyOfColumnCounter = {doc->columnCounter};
    return doc;
}

double residentMB()
{
    malloc_trim(0);
    QFile statm("/proc/self/statm");
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.value(1).toDouble() * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

void BM_SaveDocument(benchmark::State& state)
{
    auto doc = bigDocument();
    QTemporaryDir temp;
    int n = 0;
    for (auto _ : state) {
        const QString path = temp.filePath(QStringLiteral("d%1.vlbdoc").arg(n++));
        QDir().mkpath(path);
        if (!doc->writePackage(path, SaveKind::Save, nullptr))
            state.SkipWithError("write failed");
    }
}
BENCHMARK(BM_SaveDocument)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_OpenDocument(benchmark::State& state)
{
    QTemporaryDir temp;
    const QString path = temp.filePath("d.vlbdoc");
    QDir().mkpath(path);
    bigDocument()->writePackage(path, SaveKind::Save, nullptr);
    for (auto _ : state) {
        Document doc(&delegate());
        if (!doc.readPackage(path, nullptr))
            state.SkipWithError("read failed");
        benchmark::DoNotOptimize(doc.tableMatrix);
    }
}
BENCHMARK(BM_OpenDocument)->Unit(benchmark::kMillisecond)->Iterations(5);

// One typed cell inside the table: the block write and its undo step.
void BM_TypedCell(benchmark::State& state)
{
    auto doc = bigDocument();
    QRandomGenerator rng(3);
    for (auto _ : state) {
        const int column = 1 + rng.bounded(kColumns), row = 1 + rng.bounded(kRows);
        doc->modifyTableWithArray({{QString::number(rng.bounded(1000))}}, column, row, false, false);
        doc->setTableDataWithSettingsWithSettings(false, 1, "Input");
    }
}
BENCHMARK(BM_TypedCell)->Unit(benchmark::kMillisecond)->Iterations(100);

// Memory added by 100 typed cells at random places, each with its undo step.
void BM_MemoryOf100TypedCells(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto doc = bigDocument();
        QRandomGenerator rng(4);
        const double before = residentMB();
        state.ResumeTiming();
        for (int i = 0; i < 100; ++i) {
            const int column = 1 + rng.bounded(kColumns), row = 1 + rng.bounded(kRows);
            doc->modifyTableWithArray({{QStringLiteral("typed%1").arg(i)}}, column, row, false, false);
            doc->setTableDataWithSettingsWithSettings(false, 1, "Input");
        }
        state.PauseTiming();
        state.counters["addedMB"] = residentMB() - before;
        state.counters["storedCells"] = double(doc->historyOfTableData.storedCells());
        doc.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_MemoryOf100TypedCells)->Unit(benchmark::kMillisecond)->Iterations(1);

// A package whose table text is written directly: rows x columns cells from cell(r, c).
template <class Cell>
QString packageWithText(QTemporaryDir& temp, const QString& name, qint64 rows, int columns, Cell cell)
{
    const QString path = temp.filePath(name);
    QDir().mkpath(path);
    Document empty(&delegate());
    empty.writePackage(path, SaveKind::Save, nullptr);
    QFile file(path + "/tableString.txt");
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    QByteArray line;
    for (qint64 r = 0; r < rows; ++r) {
        line.clear();
        for (int c = 0; c < columns; ++c) {
            if (c)
                line += '\t';
            line += cell(r, c);
        }
        line += '\n';
        file.write(line);
    }
    return path;
}

// Cells of about nine characters: numbers of three decimals, every fifth column a group name.
QByteArray ordinaryCell(qint64 r, int c)
{
    if (r == 0)
        return "column" + QByteArray::number(c + 1);
    const quint64 h = quint64(r) * 2654435761u + quint64(c) * 40503u;
    return c % 5 == 4 ? "group" + QByteArray::number(h % 20) : QByteArray::number(double(h % 10'000'000) / 1000.0, 'f', 3);
}

// A million rows of 20 columns (about 180 MB of text), opened.
void BM_OpenMillionRowDocument(benchmark::State& state)
{
    QTemporaryDir temp;
    const QString path = packageWithText(temp, "million.vlbdoc", 1'000'001, 20, ordinaryCell);
    for (auto _ : state) {
        auto doc = std::make_unique<Document>(&delegate());
        QString error;
        const bool read = doc->readPackage(path, &error);
        state.PauseTiming();
        state.counters["rows"] = double(doc->tableMatrix.row);
        doc.reset();
        state.ResumeTiming();
        // Reported with the timer running: the library aborts on a pause after an error.
        if (!read) {
            state.SkipWithError(qPrintable(error));
            break;
        }
    }
}
BENCHMARK(BM_OpenMillionRowDocument)->Unit(benchmark::kMillisecond)->Iterations(2);

// Peak memory while a package with 100 MB of table text (550,000 rows of 20 columns) opens:
// the text is never held whole beside the table.
void BM_PeakMemoryOfOpening100MBTable(benchmark::State& state)
{
    QTemporaryDir temp;
    const QString path = packageWithText(temp, "hundred.vlbdoc", 550'000, 20, ordinaryCell);
    for (auto _ : state) {
        auto doc = std::make_unique<Document>(&delegate());
        restartPeak();
        const double before = statusMB("VmRSS:");
        const bool read = doc->readPackage(path, nullptr);
        state.PauseTiming();
        state.counters["textMB"] = double(QFileInfo(path + "/tableString.txt").size()) / 1e6;
        state.counters["peakAddedMB"] = statusMB("VmHWM:") - before;
        state.counters["peakMB"] = statusMB("VmHWM:");
        state.counters["tableMB"] = statusMB("VmRSS:") - before;
        doc.reset();
        state.ResumeTiming();
        if (!read) {
            state.SkipWithError("read failed");
            break;
        }
    }
}
BENCHMARK(BM_PeakMemoryOfOpening100MBTable)->Unit(benchmark::kMillisecond)->Iterations(1);

// One cell of 50 million characters: opened, then saved again.
void BM_OpenLongCell(benchmark::State& state)
{
    QTemporaryDir temp;
    const QString path = packageWithText(temp, "long.vlbdoc", 2, 1, [](qint64 r, int) {
        return r == 0 ? QByteArray("title") : QByteArray(50'000'000, 'x');
    });
    for (auto _ : state) {
        Document doc(&delegate());
        if (!doc.readPackage(path, nullptr))
            state.SkipWithError("read failed");
    }
}
BENCHMARK(BM_OpenLongCell)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_SaveLongCell(benchmark::State& state)
{
    QTemporaryDir temp;
    Document doc(&delegate());
    doc.tableData = {{QStringLiteral("title"), QString(50'000'000, u'x')}};
    doc.columnSettings = {delegate().defaultColumnSettings};
    doc.columnCounter = {0};
    doc.setTableData();
    int n = 0;
    for (auto _ : state) {
        const QString path = temp.filePath(QStringLiteral("s%1.vlbdoc").arg(n++));
        QDir().mkpath(path);
        if (!doc.writePackage(path, SaveKind::Save, nullptr))
            state.SkipWithError("write failed");
    }
}
BENCHMARK(BM_SaveLongCell)->Unit(benchmark::kMillisecond)->Iterations(3);

// Comma-separated UTF-8 text: a title row, then numbers of two to ten characters.
const QByteArray& numberText()
{
    static const QByteArray text = [] {
        QRandomGenerator rng(7);
        QByteArray out;
        for (int c = 0; c < kColumns; ++c)
            out += (c ? "," : "") + QByteArray("x") + QByteArray::number(c);
        out += '\n';
        for (int r = 0; r < kRows; ++r) {
            for (int c = 0; c < kColumns; ++c) {
                if (c)
                    out += ',';
                out += QByteArray::number(double(rng.bounded(100000000)) / 1000.0 - 50000.0, 'f', 3);
            }
            out += '\n';
        }
        return out;
    }();
    return text;
}

void BM_TextToTableToColumnNumbers(benchmark::State& state)
{
    for (auto _ : state) {
        Document doc(&delegate());
        doc.tableData = TableTextCodec::read(QString::fromUtf8(numberText()), QStringLiteral("Auto"));
        doc.setTableData();
        qint64 numbers = 0;
        for (const QString& title : doc.variables)
            numbers += doc.numericValuesOfVariable(title).count;
        if (numbers != qint64(kRows) * kColumns) {
            state.SkipWithError("not every cell was read as a number");
            break;
        }
    }
    state.SetBytesProcessed(state.iterations() * numberText().size());
}
BENCHMARK(BM_TextToTableToColumnNumbers)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The same numbers into columns of doubles straight from the bytes: the floor.
void BM_FromCharsOverTheSameBytes(benchmark::State& state)
{
    const QByteArray& text = numberText();
    for (auto _ : state) {
        std::vector<std::vector<double>> columns(kColumns);
        for (auto& column : columns)
            column.reserve(kRows);
        const char* p = text.constData() + text.indexOf('\n') + 1;
        const char* end = text.constData() + text.size();
        int c = 0;
        while (p < end) {
            double value = 0;
            const auto result = std::from_chars(p, end, value);
            columns[c].push_back(value);
            p = result.ptr;
            c = *p == ',' ? c + 1 : 0;
            ++p;
        }
        if (columns.back().size() != size_t(kRows)) {
            state.SkipWithError("not every cell was read");
            break;
        }
        benchmark::DoNotOptimize(columns);
    }
    state.SetBytesProcessed(state.iterations() * text.size());
}
BENCHMARK(BM_FromCharsOverTheSameBytes)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
