#pragma once
// Entry functions for every reader of outside data, shared by the libFuzzer programs and
// the replay test. Each entry feeds one input through the reader the way the application
// does and checks what must hold for any input (round trips, trees that accept their own
// values); a broken check goes to fuzz::fail.
#include <QByteArray>
#include <QList>
#include <QString>
#include <functional>
#include <vector>

class DocumentController;

namespace fuzz {

struct Target {
    const char* name;
    void (*run)(const QByteArray& data);
    // Valid inputs to start from: test fixtures and what our own writers produce.
    QList<QByteArray> (*seeds)();
};

const std::vector<Target>& targets();
const Target* findTarget(const QString& name);

// What every entry needs once per process: the application started as its program starts
// it (delegate with its descriptions, graph generator, the hooks that make windows and
// lay out graphs), and dialogs that never block. Needs a QApplication.
void setUp();
// The application's document controller, and closing every document it holds.
DocumentController& documents();
void closeAll();

// Called when a check breaks; by default prints the reason and aborts, which libFuzzer
// reports as a crash and keeps the input. The replay test installs its own.
using FailureHandler = std::function<void(const char* what)>;
void setFailureHandler(FailureHandler handler);
void fail(const char* what);
inline void check(bool condition, const char* what)
{
    if (!condition)
        fail(what);
}

// The contents of a file of the test fixtures (tests/data); empty when missing.
QByteArray fixture(const QString& relativePath);

// The targets' entries and seeds.
void runTableText(const QByteArray& data);
QList<QByteArray> tableTextSeeds();
void runPropertyList(const QByteArray& data);
QList<QByteArray> propertyListSeeds();
void runKeyedArchive(const QByteArray& data);
QList<QByteArray> keyedArchiveSeeds();
void runAnalysisXml(const QByteArray& data);
QList<QByteArray> analysisXmlSeeds();
void runSettingsTree(const QByteArray& data);
QList<QByteArray> settingsTreeSeeds();
void runSettingsClipboard(const QByteArray& data);
QList<QByteArray> settingsClipboardSeeds();
void runPackage(const QByteArray& data);
QList<QByteArray> packageSeeds();

} // namespace fuzz
