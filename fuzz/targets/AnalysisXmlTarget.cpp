// The analysis text of a package ("graphXML"), read against the document's table when a
// document opens, and turned into graph settings when its stored settings are lost.
#include "FuzzSamples.h"
#include "FuzzTargets.h"
#include "analysis/MyAnalysisXml.h"
#include "analysis/MyDocumentAnalyses.h"
#include "document/Document.h"
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
    const QString xml = QString::fromUtf8(data);
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

    // Damaged text may read as a tree the writer has no lines for; once written, the text
    // reads back as the same analysis and is written the same again.
    const auto written = MyAnalysisXml::xmlFromItem(item);
    check(written.has_value(), "an analysis read from text has a graph type");
    if (written) {
        MySelectorItem again(QStringLiteral("rootItem"), nullptr);
        MySelectorItem* second = read(*written, &again);
        check(second != nullptr, "a written analysis reads back");
        const auto rewritten = second ? MyAnalysisXml::xmlFromItem(second) : std::nullopt;
        check(rewritten == written, "an analysis text reads back as written");
        if (rewritten) {
            MySelectorItem third(QStringLiteral("rootItem"), nullptr);
            MySelectorItem* back = read(*rewritten, &third);
            check(back && dump(back) == dump(second), "an analysis reads back with the same data");
        }
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
