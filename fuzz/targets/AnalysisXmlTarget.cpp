// The analysis text of a package ("graphXML"), read against the document's table when a
// document opens, and turned into graph settings when its stored settings are lost.
#include "FuzzSamples.h"
#include "FuzzTargets.h"
#include "analysis/MyAnalysisXml.h"
#include "analysis/MyDocumentAnalyses.h"
#include "document/Document.h"
#include "document/DocumentPackage.h"
#include "outline/MySelectorItem.h"
#include <QDirIterator>

namespace fuzz {

namespace {

// Title, message and type of every node, and the data of represents, depth first.
QString dump(const MySelectorItem* item, int depth = 0)
{
    QString out = QString(depth, ' ') + item->title + '|' + item->message + '|' + item->type;
    for (qint64 r : item->data1)
        out += ' ' + QString::number(r);
    for (const auto& v : item->data2)
        out += v ? ' ' + QString::number(*v, 'g', 17) : QStringLiteral(" -");
    out += '\n';
    for (const MySelectorItem* c : item->selectorChildren())
        out += dump(c, depth + 1);
    return out;
}

} // namespace

void runAnalysisXml(const QByteArray& data)
{
    Document& doc = sampleDocument();
    // The text as the package hands it on.
    const std::optional<QString> text = DocumentPackage::textFromBytes(data);
    if (!text)
        return;
    const QString& xml = *text;
    const QVector<qint64> counters = doc.columnCounter;
    const QVector<QVector<qint64>> counterHistory = doc.historyOfColumnCounter;

    auto read = [&](const QString& text, MySelectorItem* root) {
        MySelectorItem* item = MyDocumentAnalyses::outlineItemFromXLMWithXmlString(doc, text, root);
        doc.columnCounter = counters;
        doc.historyOfColumnCounter = counterHistory;
        return item;
    };

    MySelectorItem root(QStringLiteral("rootItem"), nullptr);
    MySelectorItem* item = read(xml, &root);
    if (!item)
        return;

    // Damaged text may read as a tree the writer has no lines for, and the first reading of
    // what was written can still settle such parts (a represent opened as a column, a
    // represent without a use). From then on the text is a fixed point: it reads back as the
    // same analysis with the same data, and is written the same again.
    std::optional<QString> written = MyAnalysisXml::xmlFromItem(item);
    check(written.has_value(), "an analysis read from text has a graph type");
    QString previousDump;
    for (int round = 0; round < 3 && written; ++round) {
        MySelectorItem again(QStringLiteral("rootItem"), nullptr);
        MySelectorItem* next = read(*written, &again);
        check(next != nullptr, "a written analysis reads back");
        if (!next)
            return;
        const std::optional<QString> rewritten = MyAnalysisXml::xmlFromItem(next);
        const QString nextDump = dump(next);
        if (round > 0) {
            check(rewritten == written, "an analysis text reads back as written");
            check(nextDump == previousDump, "an analysis reads back with the same data");
        }
        written = rewritten;
        previousDump = nextDump;
    }

    // A document whose graph settings are lost makes new ones from the text.
    if (const auto settings = MyDocumentAnalyses::regenerateGraphSettings(doc, xml, 540, 720))
        checkSettingsTree(*settings, true);
    check(doc.columnCounter == counters, "making settings leaves the column counters alone");
}

QList<QByteArray> analysisXmlSeeds()
{
    QList<QByteArray> seeds;
    QDirIterator it(QStringLiteral(VLB_TEST_DATA), {QStringLiteral("*.xml")}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        if (file.open(QIODevice::ReadOnly))
            seeds.append(file.readAll());
    }
    for (const QString& xml : sampleAnalysisXmls())
        seeds.append(xml.toUtf8());
    return seeds;
}

} // namespace fuzz
