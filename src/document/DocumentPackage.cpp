#include "document/DocumentPackage.h"
#include "document/Document.h"
#include "document/DocumentHooks.h"
#include "document/TableText.h"
#include "platform/PackageFiles.h"
#include "platform/PropertyList.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>
#include <set>

namespace {

bool fail(QString* error, const QString& message)
{
    if (error)
        *error = message;
    return false;
}

bool writeFile(const QString& path, const QByteArray& bytes, QString* error)
{
    QString reason;
    if (!PackageFiles::writeFile(path, bytes, &reason))
        return fail(error, QStringLiteral("The file “%1” could not be written: %2").arg(QFileInfo(path).fileName(), reason));
    return true;
}

bool writePlist(const QString& path, const QVariantMap& root, QString* error)
{
    const QByteArray xml = PropertyList::toXml(root);
    if (xml.isEmpty())
        return fail(error, QStringLiteral("The settings for “%1” could not be stored.").arg(QFileInfo(path).fileName()));
    return writeFile(path, xml, error);
}

std::optional<QByteArray> readFile(const QString& path)
{
    QFile file;
    // An entry larger than any table text is never read whole: it counts as unreadable.
    if (!PackageFiles::openRegularFile(path, file) || file.size() > TableText::kMaxBytes)
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes;
}

std::optional<QString> readText(const QString& path)
{
    const auto bytes = readFile(path);
    if (!bytes)
        return std::nullopt;
    return DocumentPackage::textFromBytes(*bytes);
}

std::optional<QVariantMap> readDictionary(const QString& path)
{
    const auto bytes = readFile(path);
    if (!bytes)
        return std::nullopt;
    const QVariant root = PropertyList::fromData(*bytes);
    if (root.typeId() != QMetaType::QVariantMap)
        return std::nullopt;
    return root.toMap();
}

bool isStringDictionary(const QVariant& value)
{
    if (value.typeId() != QMetaType::QVariantMap)
        return false;
    const QVariantMap map = value.toMap();
    for (auto it = map.cbegin(); it != map.cend(); ++it)
        if (it.value().typeId() != QMetaType::QString)
            return false;
    return true;
}

// Adds the keys of defaults that dictionary lacks; what it holds stays.
void withMissingKeys(QVariantMap& dictionary, const QVariantMap& defaults)
{
    for (auto it = defaults.cbegin(); it != defaults.cend(); ++it)
        if (!dictionary.contains(it.key()))
            dictionary.insert(it.key(), it.value());
}

const QString kFileInfo = QStringLiteral("fileInfo.plist");
const QString kTable = QStringLiteral("table.plist");
const QString kTableString = QStringLiteral("tableString.txt");
const QString kGraphXML = QStringLiteral("graphXML");
const QString kGraph = QStringLiteral("graph");
const QString kGraphPDF = QStringLiteral("graphPDF");
const QString kStats = QStringLiteral("stats");

} // namespace

bool DocumentPackage::write(const Document& doc, const QString& dirPath, QString* error)
{
    const qsizetype n = doc.graphXMLs.size();
    if (doc.graphSettings.size() != n || doc.stats.size() != n)
        return fail(error, QStringLiteral("The document's analyses are inconsistent and could not be saved."));
    const QDir dir(dirPath);
    if (!QFileInfo(dirPath).isDir())
        return fail(error, QStringLiteral("The folder “%1” does not exist.").arg(dirPath));

    if (!writePlist(dir.filePath(kFileInfo), QVariantMap{{QStringLiteral("version"), doc.ourDelegate()->curVersion()}}, error))
        return false;
    QVariantList columnSettings;
    columnSettings.reserve(doc.columnSettings.size());
    for (const QVariantMap& settings : doc.columnSettings)
        columnSettings.append(settings);
    if (!writePlist(dir.filePath(kTable),
                    QVariantMap{{QStringLiteral("columnSettings"), columnSettings},
                                {QStringLiteral("tableRowSettings"), doc.tableRowSettings}},
                    error))
        return false;
    if (!writeFile(dir.filePath(kTableString), TableText::write(doc.tableData).toUtf8(), error))
        return false;

    for (const QString& folder : {kGraphXML, kGraph, kGraphPDF, kStats}) {
        QString reason;
        if (!QFileInfo(dir.filePath(folder)).isDir() && !PackageFiles::makeFolder(dir.filePath(folder), &reason))
            return fail(error, QStringLiteral("The folder “%1” could not be created: %2").arg(folder, reason));
    }
    const auto& graphPDF = DocumentHooks::shared().graphPDF;
    for (qsizetype i = 0; i < n; ++i) {
        if (!writeFile(dir.filePath(kGraphXML + '/' + xmlName(i)), doc.graphXMLs.at(i).toUtf8(), error)
            || !writePlist(dir.filePath(kGraph + '/' + settingsName(i)), doc.graphSettings.at(i), error))
            return false;
        if (graphPDF) {
            const QByteArray pdf = graphPDF(doc, int(i));
            if (!pdf.isEmpty() && !writeFile(dir.filePath(kGraphPDF + '/' + pdfName(i)), pdf, error))
                return false;
        }
        if (!writePlist(dir.filePath(kStats + '/' + statsName(i)), doc.stats.at(i), error))
            return false;
    }
    return true;
}

std::optional<QString> DocumentPackage::textFromBytes(const QByteArray& bytes)
{
    if (bytes.contains('\0'))
        return std::nullopt;
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

std::optional<DocumentPackage::Table> DocumentPackage::readTable(const QString& dirPath, const AppDelegate& delegate,
                                                                 QString* error)
{
    auto refuse = [error](const QString& message) -> std::optional<Table> {
        fail(error, message);
        return std::nullopt;
    };
    if (!QFileInfo(dirPath).isDir())
        return refuse(QStringLiteral("“%1” is not a document package.").arg(QFileInfo(dirPath).fileName()));
    const QDir dir(dirPath);
    Table out;

    const auto info = readDictionary(dir.filePath(kFileInfo));
    if (!info)
        return refuse(QStringLiteral("The document's file information is missing or damaged."));
    const QVariant version = info->value(QStringLiteral("version"));
    if (version.typeId() != QMetaType::QString || !delegate.validVersions().contains(version.toString()))
        return refuse(QStringLiteral("The document was written in a format that this version cannot read."));
    out.version = version.toString();

    const auto settings = readDictionary(dir.filePath(kTable));
    if (!settings)
        return refuse(QStringLiteral("The document's table settings are missing or damaged."));

    QString why;
    auto table = TableText::readFile(dir.filePath(kTableString), &why);
    if (!table)
        return refuse(why);
    out.table = std::move(*table);

    const QVariant columns = settings->value(QStringLiteral("columnSettings"));
    if (columns.typeId() != QMetaType::QVariantList)
        return refuse(QStringLiteral("The document's column settings are missing or damaged."));
    for (const QVariant& column : columns.toList()) {
        if (!isStringDictionary(column))
            return refuse(QStringLiteral("The document's column settings are missing or damaged."));
        out.columnSettings.append(column.toMap());
    }
    // One settings dictionary per column, whatever the file held, each with every key the
    // grid reads.
    out.columnSettings.resize(qMin(out.columnSettings.size(), out.table.size()));
    while (out.columnSettings.size() < out.table.size())
        out.columnSettings.append(delegate.defaultColumnSettings);
    for (QVariantMap& column : out.columnSettings)
        withMissingKeys(column, delegate.defaultColumnSettings);

    const QVariant rows = settings->value(QStringLiteral("tableRowSettings"));
    if (rows.typeId() != QMetaType::QVariantMap)
        return refuse(QStringLiteral("The document's row settings are missing or damaged."));
    out.rowSettings = rows.toMap();
    withMissingKeys(out.rowSettings, delegate.defaultTableRowSettings);
    return out;
}

QVector<DocumentPackage::Analysis> DocumentPackage::readAnalyses(const QString& dirPath)
{
    const QDir dir(dirPath);
    // Indexes as written: decimal, no sign, no leading zero.
    static const QRegularExpression name(QStringLiteral("^graph(0|[1-9][0-9]{0,17})\\.(xml|plist)$"));
    std::set<qint64> indexes;
    for (const QString& folder : {kGraphXML, kGraph}) {
        const QDir entries(dir.filePath(folder));
        if (!QFileInfo(entries.path()).isDir())
            continue;
        const QString extension = folder == kGraphXML ? QStringLiteral("xml") : QStringLiteral("plist");
        for (const QString& entry : entries.entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System)) {
            const auto match = name.match(entry);
            if (match.hasMatch() && match.captured(2) == extension)
                indexes.insert(match.captured(1).toLongLong());
        }
    }
    QVector<Analysis> out;
    for (const qint64 i : indexes) {
        Analysis analysis;
        analysis.index = i;
        analysis.xml = readText(dir.filePath(kGraphXML + '/' + xmlName(i)));
        analysis.settings = readDictionary(dir.filePath(kGraph + '/' + settingsName(i)));
        analysis.stats = readDictionary(dir.filePath(kStats + '/' + statsName(i)));
        if (analysis.stats && analysis.stats->value(QStringLiteral("settings")).typeId() != QMetaType::QVariantMap)
            analysis.stats.reset();
        out.append(analysis);
    }
    return out;
}
