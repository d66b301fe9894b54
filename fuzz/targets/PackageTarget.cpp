// A document package ("*.vlbdoc") from outside: the input's parts are written as the
// package's files, which the document then reads as it does when opened. What it read
// is set up as the windows would and saved again.
#include "FuzzSamples.h"
#include "FuzzTargets.h"
#include "analysis/MyDocumentAnalyses.h"
#include "document/Document.h"
#include "document/DocumentPackage.h"
#include "outline/MySelectorItem.h"
#include "platform/PropertyList.h"
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace fuzz {

namespace {

QTemporaryDir& scratch()
{
    static QTemporaryDir dir;
    return dir;
}

// A fresh, empty package folder in the scratch folder.
QString emptyPackage(const QString& name)
{
    const QString path = scratch().filePath(name);
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
        if (f.open(QIODevice::ReadOnly))
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

} // namespace

void runPackage(const QByteArray& data)
{
    setUp();
    const QString path = emptyPackage(QStringLiteral("in.vlbdoc"));
    for (const Part& part : splitParts(data)) {
        if (!packageEntry(part.name))
            continue;
        const QString file = QDir(path).filePath(part.name);
        QDir().mkpath(QFileInfo(file).path());
        QFile f(file);
        check(f.open(QIODevice::WriteOnly) && f.write(part.bytes) == part.bytes.size(), "a package file is written");
    }

    Document doc;
    QString error;
    if (!doc.readPackage(path, &error)) {
        check(!error.isEmpty(), "a refused package says why");
        return;
    }
    check(doc.graphSettings.size() == doc.graphXMLs.size() && doc.stats.size() == doc.graphXMLs.size(),
          "the analyses of a package stay in step");

    // What the windows do with each analysis when the document is shown.
    for (qsizetype i = 0; i < doc.graphXMLs.size(); ++i) {
        MySelectorItem root(QStringLiteral("rootItem"), nullptr);
        MyDocumentAnalyses::outlineItemFromXLMWithXmlString(doc, doc.graphXMLs[i], &root);
        checkSettingsTree(doc.graphSettings[i], true);
    }

    // Saved and opened again, the document is the same.
    const QString copy = emptyPackage(QStringLiteral("out.vlbdoc"));
    check(DocumentPackage::write(doc, copy, &error), "a package that was read can be saved");
    Document again;
    check(again.readPackage(copy, &error), "a saved package opens");
    check(again.tableData == doc.tableData, "the table survives saving");
    check(again.columnSettings == doc.columnSettings, "the column settings survive saving");
    check(samePlist(xmlForm(doc.tableRowSettings), again.tableRowSettings), "the row settings survive saving");
    check(again.graphXMLs == doc.graphXMLs, "the analysis texts survive saving");
    check(samePlists(doc.graphSettings, again.graphSettings), "the graph settings survive saving");
    check(samePlists(doc.stats, again.stats), "the statistics records survive saving");
}

QList<QByteArray> packageSeeds()
{
    QList<QByteArray> seeds{joinParts(partsOfPackage(QStringLiteral(VLB_TEST_DATA "/document/binary.vlbdoc")))};

    // A package the application writes: the sample table with a dot plot and a boxplot.
    Document doc;
    const Document& sample = sampleDocument();
    doc.tableData = sample.tableData;
    doc.columnSettings = sample.columnSettings;
    const QStringList xmls = sampleAnalysisXmls();
    const QVector<QVariantMap> settings = sampleGraphSettings();
    for (qsizetype i = 0; i < xmls.size() && i < settings.size(); ++i)
        doc.appendAnalysis(settings[i], xmls[i], doc.newStatsRecord());
    const QString path = emptyPackage(QStringLiteral("seed.vlbdoc"));
    QString error;
    check(DocumentPackage::write(doc, path, &error), "the sample package is written");
    seeds.append(joinParts(partsOfPackage(path)));
    return seeds;
}

} // namespace fuzz
