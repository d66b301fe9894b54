#include "FuzzSamples.h"
#include "FuzzTargets.h"
#include "analysis/MyAnalysisXml.h"
#include "analysis/MyDocumentAnalyses.h"
#include "document/Document.h"
#include "document/DocumentPackage.h"
#include <QDir>
#include <QTemporaryDir>
#include "document/TableText.h"
#include "outline/MyConfigRootItem.h"
#include "outline/MySelectorItem.h"
#include "platform/PropertyList.h"
#include <QDateTime>
#include <cmath>
#include <cstring>

namespace fuzz {

namespace {

const char* const kPartMarker = "@@ ";

} // namespace

QString sampleTableText()
{
    // Numbers in several spellings, empty cells, a value with no number, a category
    // written composed and decomposed, and a title that needs escaping in analysis texts.
    return QStringLiteral(
        "W\tH\tSex\tGroup <1>\tNote\n"
        "60\t170\tf\tCaf\u00e9\tfirst\n"
        "72.5\t182\tm\tCafe\u0301\t\n"
        "1e2\t\tf\ttea\t\"quoted\"\n"
        "-3\t165.25\tm\ttea\t\n"
        "abc\t171\tf\tCaf\u00e9\tlast, with comma\n"
        "\t190\tm\twater\t\n"
        "55\t168\tf\twater\t\n");
}

Document& sampleDocument()
{
    setUp();
    static Document* doc = [] {
        auto* d = new Document();
        d->tableData = *TableText::read(sampleTableText());
        d->columnSettings = ColumnSettings(d->tableData.size(), d->ourDelegate()->defaultColumnSettings);
        d->columnCounter = QVector<qint64>(d->tableData.size(), 0);
        d->historyOfColumnCounter = {d->columnCounter};
        d->setTableData();
        return d;
    }();
    return *doc;
}

QStringList sampleAnalysisXmls()
{
    QStringList out;
    for (const QString& graphType : {QStringLiteral("scatter"), QStringLiteral("box")}) {
        const QString text = QStringLiteral(
                                 "<?xml version=\"1.0\"?>\n<analysis>\n\t<title>Weight &amp; height</title>\n"
                                 "\t<graphType>%1</graphType>\n"
                                 "\t<DataColumns next=\"array\">\n"
                                 "\t\t<represents next=\"array\">\n\t\t\t<title>W</title>\n"
                                 "\t\t\t<represents name=\"W\" use=\"YES\">Weight</represents>\n\t\t</represents>\n"
                                 "\t\t<represents next=\"array\">\n\t\t\t<title>H</title>\n"
                                 "\t\t\t<represents name=\"H\" use=\"YES\">H</represents>\n\t\t</represents>\n"
                                 "\t</DataColumns>\n"
                                 "\t<Categorizing next=\"array\">\n"
                                 "\t\t<represents next=\"array\">\n\t\t\t<title>Sex</title>\n"
                                 "\t\t\t<represents name=\"f\" use=\"YES\">female</represents>\n"
                                 "\t\t\t<represents name=\"m\" use=\"YES\">m</represents>\n\t\t</represents>\n"
                                 "\t\t<represents next=\"array\">\n\t\t\t<title>Group &lt;1&gt;</title>\n"
                                 "\t\t\t<represents name=\"Caf\u00e9\" use=\"YES\">Caf\u00e9</represents>\n"
                                 "\t\t\t<represents name=\"tea\" use=\"NO\">tea</represents>\n"
                                 "\t\t\t<represents name=\"water\" use=\"YES\">w&#9;ater</represents>\n"
                                 "\t\t</represents>\n"
                                 "\t</Categorizing>\n"
                                 "</analysis>")
                                 .arg(graphType);
        // Through the reader and the writer, so the text is exactly what the application keeps.
        MySelectorItem root(QStringLiteral("rootItem"), nullptr);
        Document& doc = sampleDocument();
        const QVector<qint64> counters = doc.columnCounter;
        MySelectorItem* item = MyDocumentAnalyses::outlineItemFromXLMWithXmlString(doc, text, &root);
        doc.columnCounter = counters;
        const auto written = MyAnalysisXml::xmlFromItem(item);
        check(written.has_value(), "a sample analysis reads back");
        out.append(written.value_or(text));
    }
    return out;
}

QVector<QVariantMap> sampleGraphSettings()
{
    static const QVector<QVariantMap> settings = [] {
        QVector<QVariantMap> out;
        Document& doc = sampleDocument();
        for (const QString& xml : sampleAnalysisXmls()) {
            const auto made = MyDocumentAnalyses::regenerateGraphSettings(doc, xml, 540, 720);
            check(made.has_value(), "settings are made for a sample analysis");
            if (made)
                out.append(*made);
        }
        return out;
    }();
    return settings;
}

QString scratchPath(const QString& name)
{
    static QTemporaryDir dir;
    return dir.filePath(name);
}

QString samplePackage()
{
    static const QString path = [] {
        Document doc;
        const Document& sample = sampleDocument();
        doc.tableData = sample.tableData;
        doc.columnSettings = sample.columnSettings;
        doc.setTableData();
        const QStringList xmls = sampleAnalysisXmls();
        const QVector<QVariantMap> settings = sampleGraphSettings();
        for (qsizetype i = 0; i < xmls.size() && i < settings.size(); ++i)
            doc.appendAnalysis(settings[i], xmls[i], doc.newStatsRecord());
        const QString p = scratchPath(QStringLiteral("sample.vlbdoc"));
        QDir().mkpath(p);
        QString error;
        check(DocumentPackage::write(doc, p, &error), "the sample package is written");
        return p;
    }();
    return path;
}

bool samePlist(const QVariant& a, const QVariant& b)
{
    if (a.typeId() != b.typeId())
        return false;
    switch (a.typeId()) {
    case QMetaType::Double: {
        const double x = a.toDouble(), y = b.toDouble();
        return (std::isnan(x) && std::isnan(y)) || std::memcmp(&x, &y, sizeof x) == 0;
    }
    case QMetaType::QVariantList: {
        const QVariantList x = a.toList(), y = b.toList();
        if (x.size() != y.size())
            return false;
        for (qsizetype i = 0; i < x.size(); ++i)
            if (!samePlist(x[i], y[i]))
                return false;
        return true;
    }
    case QMetaType::QVariantMap: {
        const QVariantMap x = a.toMap(), y = b.toMap();
        if (x.keys() != y.keys())
            return false;
        for (auto it = x.begin(); it != x.end(); ++it)
            if (!samePlist(it.value(), y.value(it.key())))
                return false;
        return true;
    }
    default:
        if (a.typeId() == qMetaTypeId<PlistUid>())
            return a.value<PlistUid>() == b.value<PlistUid>();
        return a == b;
    }
}

QVariant xmlForm(const QVariant& v)
{
    if (v.typeId() == qMetaTypeId<PlistUid>())
        return QVariantMap{{QStringLiteral("CF$UID"), qint64(v.value<PlistUid>().value)}};
    switch (v.typeId()) {
    case QMetaType::QDateTime: {
        QDateTime d = v.toDateTime().toUTC();
        const QTime t = d.time();
        d.setTime(QTime(t.hour(), t.minute(), t.second()));
        return d;
    }
    case QMetaType::QVariantList: {
        QVariantList list = v.toList();
        for (QVariant& e : list)
            e = xmlForm(e);
        return list;
    }
    case QMetaType::QVariantMap: {
        QVariantMap map = v.toMap();
        for (auto it = map.begin(); it != map.end(); ++it)
            it.value() = xmlForm(it.value());
        return map;
    }
    default: return v;
    }
}

bool checkSettingsTree(const QVariantMap& settings, bool mustAccept)
{
    MyConfigRootItem first(nullptr);
    const bool accepted = first.outlineItemFromSettings(settings);
    if (mustAccept)
        check(accepted, "the settings tree takes settings the application made");
    if (!accepted) {
        check(first.childCount() == 0, "a refused settings tree stays empty");
        return false;
    }
    const QVariant value = first.object();
    check(PropertyList::kindOf(value) == QLatin1String("dict"), "a settings tree gives a dictionary");
    MyConfigRootItem second(nullptr);
    check(second.outlineItemFromSettings(value.toMap()), "a settings tree takes the value of another");
    check(samePlist(second.object(), value), "a settings tree gives back the value it was built from");
    return true;
}

QVector<Part> splitParts(const QByteArray& data)
{
    QVector<Part> parts;
    const QByteArray marker = QByteArray("\n") + kPartMarker;
    qsizetype at = 0;
    if (!data.startsWith(kPartMarker)) {
        at = data.indexOf(marker);
        if (at >= 0)
            ++at;   // past the line feed
    }
    while (at >= 0 && at < data.size()) {
        const qsizetype nameAt = at + qsizetype(strlen(kPartMarker));
        const qsizetype nameEnd = data.indexOf('\n', nameAt);
        Part part;
        part.name = QString::fromUtf8(data.mid(nameAt, nameEnd < 0 ? -1 : nameEnd - nameAt));
        if (nameEnd < 0) {
            parts.append(part);
            break;
        }
        const qsizetype next = data.indexOf(marker, nameEnd);
        part.bytes = data.mid(nameEnd + 1, next < 0 ? -1 : next - nameEnd - 1);
        parts.append(part);
        at = next < 0 ? -1 : next + 1;
    }
    return parts;
}

QByteArray joinParts(const QVector<Part>& parts)
{
    QByteArray out;
    for (const Part& part : parts) {
        if (!out.isEmpty())
            out += '\n';
        out += kPartMarker + part.name.toUtf8() + '\n' + part.bytes;
    }
    return out;
}

} // namespace fuzz
