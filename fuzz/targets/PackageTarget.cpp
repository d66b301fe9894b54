// A document package ("*.vlbdoc") from outside: the input's parts are written as the
// package's files, which the application then opens as it opens any package: the document
// reads it, its windows are made and its graphs laid out and drawn (on the window's view, as
// an image and as the exported PDF). It is saved (its graphs drawn into their PDFs) and opened
// again.
#include "FuzzSamples.h"
#include "FuzzTargets.h"
#include "document/Document.h"
#include "platform/DocumentController.h"
#include "platform/PropertyList.h"
#include "views/GraphItem.h"
#include "views/MyView.h"
#include "views/MyViewManager.h"
#include "windows/MyWindowController.h"
#include <QCoreApplication>
#include <QGraphicsView>
#include <QMainWindow>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>

namespace fuzz {

namespace {

// A fresh, empty package folder in the scratch folder.
QString emptyPackage(const QString& name)
{
    const QString path = scratchPath(name);
    QDir(path).removeRecursively();
    QDir().mkpath(path);
    return path;
}

// Only the package's own entries are written; a part naming anything else is left out,
// so no input can write outside the scratch folder.
bool packageEntry(const QString& name)
{
    static const QRegularExpression entry(QStringLiteral(
        "^(fileInfo\\.plist|table\\.plist|tableString\\.txt|graphXML/graph[0-9]{1,3}\\.xml|"
        "graph/graph[0-9]{1,3}\\.plist|stats/stats[0-9]{1,3}\\.plist|graphPDF/graph[0-9]{1,3}\\.pdf)$"));
    return entry.match(name).hasMatch();
}

QVector<Part> partsOfPackage(const QString& path)
{
    QVector<Part> parts;
    const QDir dir(path);
    QDirIterator it(path, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        QFile f(file);
        if (f.open(QIODevice::ReadOnly) && !file.endsWith(QLatin1String(".pdf")))
            parts.append({dir.relativeFilePath(file), f.readAll()});
    }
    std::sort(parts.begin(), parts.end(), [](const Part& a, const Part& b) { return a.name < b.name; });
    return parts;
}

bool samePlists(const QVector<QVariantMap>& a, const QVector<QVariantMap>& b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i)
        if (!samePlist(xmlForm(a[i]), b[i]))
            return false;
    return true;
}

void checkOpened(const QString& path)
{
    DocumentController& controller = documents();
    QString error;
    auto* doc = static_cast<Document*>(controller.openDocument(path, &error));
    if (!doc) {
        check(!error.isEmpty(), "a refused package says why");
        return;
    }
    check(doc->graphSettings.size() == doc->graphXMLs.size() && doc->stats.size() == doc->graphXMLs.size(),
          "the analyses of a package stay in step");
    // Every window as showing it makes it: graphs with their settings outlines. Each graph
    // is drawn as its window paints it (dots stamped), as an image and as its exported PDF.
    for (MyWindowController* window : doc->graphWindowConts) {
        QMainWindow* shown = window->window();
        if (QGraphicsView* view = shown ? window->sceneView() : nullptr) {
            shown->show();
            QCoreApplication::processEvents();
            view->grab();
            shown->hide();
        }
        if (MyViewManager* vm = window->viewManager) {
            GraphItem::image(vm->viewDict.value(MyViewManager::kBackground));
            vm->graphPDF();
        }
    }
    for (MyWindowController* window : doc->statsWindowConts)
        window->window();

    // Saved and opened again, the document is the same.
    const QString copy = scratchPath(QStringLiteral("out.vlbdoc"));
    QDir(copy).removeRecursively();
    check(controller.saveTo(doc, copy, &error), "a package that was read can be saved");
    auto* again = static_cast<Document*>(controller.openDocument(copy, &error));
    check(again != nullptr, "a saved package opens");
    if (!again)
        return;
    check(again->tableData == doc->tableData, "the table survives saving");
    check(again->columnSettings == doc->columnSettings, "the column settings survive saving");
    check(samePlist(xmlForm(doc->tableRowSettings), again->tableRowSettings), "the row settings survive saving");
    check(again->graphXMLs == doc->graphXMLs, "the analysis texts survive saving");
    check(samePlists(doc->graphSettings, again->graphSettings), "the graph settings survive saving");
    check(samePlists(doc->stats, again->stats), "the statistics records survive saving");
}

} // namespace

void runPackage(const QByteArray& data)
{
    closeAll();
    const QString path = emptyPackage(QStringLiteral("in.vlbdoc"));
    for (const Part& part : splitParts(data)) {
        if (!packageEntry(part.name))
            continue;
        const QString file = QDir(path).filePath(part.name);
        QDir().mkpath(QFileInfo(file).path());
        QFile f(file);
        check(f.open(QIODevice::WriteOnly) && f.write(part.bytes) == part.bytes.size(), "a package file is written");
    }
    checkOpened(path);
    closeAll();
}

QList<QByteArray> packageSeeds()
{
    return {joinParts(partsOfPackage(QStringLiteral(VLB_TEST_DATA "/document/binary.vlbdoc"))),
            joinParts(partsOfPackage(samplePackage()))};
}

} // namespace fuzz
