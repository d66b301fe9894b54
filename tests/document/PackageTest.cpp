#include "DocumentFixture.h"
#include "platform/PropertyList.h"
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QPointF>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

QByteArray plist(const QVariant& v) { return PropertyList::toXml(v); }

QString randomText(QRandomGenerator& rng)
{
    static const QStringList pieces{"", "a", "Weight", ",", "1.5", " ", "\u00e9", "\u65e5\u672c", "\"", "<&>", "-3e2", "\r", "\U0001F600"};
    return pieces[rng.bounded(pieces.size())] + pieces[rng.bounded(pieces.size())];
}

// Values of every property-list kind; nesting is the property-list codec's own concern.
QVariantMap randomDictionary(QRandomGenerator& rng)
{
    const QVariant values[] = {randomText(rng), qint64(rng.bounded(2000)) - 1000, rng.bounded(100.0) - 50.0,
                               bool(rng.bounded(2)), QByteArray::number(rng.generate64()), QVariantList{randomText(rng)}};
    return {{"a", values[rng.bounded(6)]}, {"b", values[rng.bounded(6)]}};
}

} // namespace

class Package : public DocumentFixture {
protected:
    QString packagePath(const QString& name = QStringLiteral("doc.vlbdoc"))
    {
        QDir().mkpath(temp.filePath(name));
        return temp.filePath(name);
    }
    // A package of doc with its entry file ("": the package itself) replaced by bytes (null: removed).
    QString written(Document& doc, const QString& name, const char* file = nullptr, const QByteArray& bytes = {})
    {
        const QString path = packagePath(name), entry = *(file ? file : "") ? path + '/' + file : path;
        EXPECT_TRUE(doc.writePackage(path, SaveKind::Save, nullptr));
        if (file) {
            QFile::remove(entry);
            QDir(entry).removeRecursively();
        }
        if (file && !bytes.isNull())
            writeBytes(entry, bytes);
        return path;
    }
    // A document with a random table, settings and analyses as records.
    std::unique_ptr<Document> randomDocument(QRandomGenerator& rng)
    {
        TableData table(rng.bounded(6));
        const int R = 1 + rng.bounded(8);
        for (QStringList& column : table)
            for (int r = 0; r < R; ++r)
                column.append(randomText(rng));
        auto doc = tableDocument(table);
        for (QVariantMap& settings : doc->columnSettings)
            settings["width"] = QString::number(40 + rng.bounded(100));
        doc->tableRowSettings.insert(randomDictionary(rng));
        for (int i = rng.bounded(13); i > 0; --i)
            doc->appendAnalysis(randomDictionary(rng), randomText(rng) + "\n<x a=\"1\"/>\r\n",
                                {{"settings", randomDictionary(rng)}, {"stats", randomDictionary(rng)}, {"logStats", QVariantMap{}}});
        return doc;
    }

    QTemporaryDir temp;
};

TEST_F(Package, WriteThenReadGivesTheSameDocument)
{
    QRandomGenerator rng(31);
    auto state = [](const Document& d) {
        return std::tie(d.tableData, d.columnSettings, d.tableRowSettings, d.graphXMLs, d.graphSettings, d.stats);
    };
    for (int round = 0; round < 20; ++round) {
        auto doc = randomDocument(rng);
        const QString path = packagePath(QStringLiteral("r%1.vlbdoc").arg(round));
        QString error;
        ASSERT_TRUE(doc->writePackage(path, SaveKind::Save, &error)) << error.toStdString();
        auto back = newDocument();
        ASSERT_TRUE(back->readPackage(path, &error)) << error.toStdString();
        EXPECT_TRUE(state(*back) == state(*doc)) << round;
    }
}

// Every entry of a written package, by the names a package has on disk: a document without
// analyses and with an empty table, then one with eleven analyses.
TEST_F(Package, WritesTheLayoutOfAPackage)
{
    auto entries = [](const QString& dir) {
        QStringList out;
        for (QDirIterator it(dir, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories); it.hasNext();) {
            const QString path = it.next();
            out << QDir(dir).relativeFilePath(path) + (QFileInfo(path).isDir() ? "/" : "");
        }
        out.sort();
        return out;
    };
    QStringList expected{"fileInfo.plist", "graph/", "graphPDF/", "graphXML/", "stats/", "table.plist", "tableString.txt"};
    const QString empty = written(*newDocument(), "empty.vlbdoc");
    EXPECT_EQ(entries(empty), expected);
    EXPECT_EQ(QFileInfo(empty + "/tableString.txt").size(), 0);
    QFile info(empty + "/fileInfo.plist");
    ASSERT_TRUE(info.open(QIODevice::ReadOnly));
    EXPECT_EQ(info.readAll().toStdString(),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
              "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" \"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
              "<plist version=\"1.0\">\n<dict>\n\t<key>version</key>\n\t<string>4.11</string>\n</dict>\n</plist>\n");

    auto doc = tableDocument({{"W", "1"}});
    for (int i = 0; i < 11; ++i)
        doc->appendAnalysis({{"i", qint64(i)}}, "xml", doc->newStatsRecord());
    for (const char* i : {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10"})
        expected << QString("graph/graph") + i + ".plist" << QString("graphXML/graph") + i + ".xml"
                 << QString("stats/stats") + i + ".plist";
    expected.sort();
    EXPECT_EQ(entries(written(*doc, "eleven.vlbdoc")), expected);
}

TEST_F(Package, SettingsAreFittedToTheTable)
{
    // Column settings are brought to the column count; row settings without their keys get
    // the user's defaults for them.
    const QString path = written(*tableDocument({{"a", "1"}, {"b", "2"}}), "doc.vlbdoc", "table.plist",
                                 plist(QVariantMap{{"columnSettings", QVariantList{QVariantMap{{"width", "9"}}}},
                                                   {"tableRowSettings", QVariantMap{}}}));
    auto back = newDocument();
    ASSERT_TRUE(back->readPackage(path, nullptr));
    EXPECT_EQ(back->columnSettings, (ColumnSettings{{{"width", "9"}}, delegate.defaultColumnSettings}));
    EXPECT_EQ(back->tableRowSettings, delegate.defaultTableRowSettings);
    writeBytes(path + "/tableString.txt", "x\n1\n");
    ASSERT_TRUE(back->readPackage(path, nullptr));
    EXPECT_EQ(back->columnSettings, (ColumnSettings{{{"width", "9"}}}));
}

TEST_F(Package, VersionAndTableFilesAreChecked)
{
    auto settings = [](const QVariant& columns, const QVariant& rows) {
        return plist(QVariantMap{{"columnSettings", columns}, {"tableRowSettings", rows}});
    };
    // file "": the package itself; bytes: its new content, null: removed; refusal: part of the message.
    const struct { const char* name; const char* file; QByteArray bytes; const char* refusal; } cases[] = {
        {"versionOther", "fileInfo.plist", plist(QVariantMap{{"version", "5.0"}}), "format"},
        {"versionSpace", "fileInfo.plist", plist(QVariantMap{{"version", "4.11 "}}), "format"},
        {"versionNumber", "fileInfo.plist", plist(QVariantMap{{"version", 4.11}}), "format"},
        {"fileInfoGarbage", "fileInfo.plist", "not a plist", "file information"},
        {"tablePlistMissing", "table.plist", QByteArray(), "table settings"},
        {"tableStringNotUtf8", "tableString.txt", "t\n\xff\xfe\n", "table is"},
        {"tableStringWithNull", "tableString.txt", QByteArray("t\n\0\n", 4), "table text holds a null character (NUL)"},
        {"columnSettingsNumber", "table.plist", settings(QVariantList{QVariantMap{{"width", qint64(70)}}}, QVariantMap{}), "column settings"},
        {"rowSettingsString", "table.plist", settings(QVariantList{}, "x"), "row settings"},
        {"notAFolder", "", "x", "not a document package"},
    };
    auto doc = tableDocument({{"t", "1"}});
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto back = newDocument();
        back->docVersion = "unchanged";
        QString error;
        // A refused package changes nothing.
        EXPECT_FALSE(back->readPackage(written(*doc, QStringLiteral("%1.vlbdoc").arg(c.name), c.file, c.bytes), &error));
        EXPECT_TRUE(error.contains(c.refusal)) << error.toStdString();
        EXPECT_EQ(back->docVersion, "unchanged");
        EXPECT_TRUE(back->tableData.isEmpty());
    }
    for (const char* version : {"4.0", "4.1", "4.11"}) {
        auto back = newDocument();
        EXPECT_TRUE(back->readPackage(written(*doc, QStringLiteral("v%1.vlbdoc").arg(version), "fileInfo.plist",
                                              plist(QVariantMap{{"version", version}})), nullptr)) << version;
        EXPECT_EQ(back->docVersion, version);
    }
}

// Entries that are no regular files (a named pipe would block the open for ever, a device
// never ends) count as missing: the package is refused or the analysis left out, at once.
TEST_F(Package, EntriesThatAreNoRegularFilesAreNotRead)
{
    auto doc = tableDocument({{"W", "1"}});
    doc->appendAnalysis({{"n", qint64(0)}}, "xml0", doc->newStatsRecord());
    const struct { const char* entry; const char* refusal; QStringList xmls; qsizetype stats; } cases[] = {
        {"tableString.txt", "The document's table is missing or is not UTF-8 text.", {}, 0},
        {"fileInfo.plist", "The document's file information is missing or damaged.", {}, 0},
        {"table.plist", "The document's table settings are missing or damaged.", {}, 0},
        {"graphXML/graph0.xml", nullptr, {}, 0},
        {"stats/stats0.plist", nullptr, {"xml0"}, 1},
    };
    // A read that blocks ends the test rather than hanging it.
    alarm(60);
    for (const bool pipe : {true, false}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.entry) + (pipe ? " pipe" : " device"));
            const QString path = written(*doc, QStringLiteral("%1%2.vlbdoc").arg(pipe).arg(QFileInfo(c.entry).baseName()), c.entry);
            const QByteArray entry = QFile::encodeName(path + '/' + c.entry);
            ASSERT_EQ(pipe ? mkfifo(entry.constData(), 0644) : symlink("/dev/zero", entry.constData()), 0);
            auto back = newDocument();
            QString error;
            EXPECT_EQ(back->readPackage(path, &error), !c.refusal);
            EXPECT_EQ(error, c.refusal ? QString(c.refusal) : QString());
            EXPECT_EQ(back->graphXMLs, c.xmls);
            EXPECT_EQ(back->stats.size(), c.stats);
        }
    }
    alarm(0);
}

TEST_F(Package, AnalysesAreReadOneByOne)
{
    auto doc = tableDocument({{"W", "1", "2"}, {"S", "m", "f"}});
    for (int i = 0; i < 4; ++i)
        doc->appendAnalysis({{"n", qint64(i)}}, QStringLiteral("xml%1").arg(i), {{"settings", QVariantMap{{"i", qint64(i)}}}});
    const QString path = written(*doc, "doc.vlbdoc", "graphXML/graph0.xml");   // analysis 0 cannot be read at all
    QFile::remove(path + "/graph/graph2.plist");           // analysis 2 gets new settings
    writeBytes(path + "/graph/graph3.plist", "broken");    // so does analysis 3
    QFile::remove(path + "/stats/stats1.plist");           // analysis 1 gets a fresh record
    writeBytes(path + "/graphXML/graph01.xml", "not an analysis name");

    QStringList regenerated;
    DocumentHooks::shared().regenerateGraphSettings = [&](Document& d, const QString& xml, double w, double h)
        -> std::optional<QVariantMap> {
        // The table is there to read, and counting columns here must not stick.
        EXPECT_EQ(d.indexOfVariables("S"), 1);
        d.columnCounter[0] += 1;
        regenerated.append(xml);
        if (xml == "xml3")
            return std::nullopt;   // a text that yields no analysis
        return QVariantMap{{"new", true}, {"w", w}, {"h", h}};
    };
    auto back = newDocument();
    ASSERT_TRUE(back->readPackage(path, nullptr));
    EXPECT_EQ(regenerated, (QStringList{"xml2", "xml3"}));
    EXPECT_EQ(back->graphXMLs, (QStringList{"xml1", "xml2"}));
    const Rect page = back->imageablePageBounds();
    EXPECT_EQ(back->graphSettings,
              (QVector<QVariantMap>{{{"n", qint64(1)}}, {{"new", true}, {"w", page.width()}, {"h", page.height()}}}));
    EXPECT_EQ(back->stats, (QVector<QVariantMap>{back->newStatsRecord(), {{"settings", QVariantMap{{"i", qint64(2)}}}}}));
    EXPECT_EQ(back->historyOfGraphSettings.size(), 2);
    EXPECT_EQ(back->columnCounter, (QVector<qint64>{0, 0}));
    EXPECT_EQ(back->readNotice().toStdString(), "These analyses of the document \u201cdoc.vlbdoc\u201d could not be "
                                                "read and were left out: graph0.xml, graph3.xml.");
}

// Entries larger than a table text may be are not read at all: the analysis is named as
// unreadable, a settings file refuses the package.
TEST_F(Package, OversizedEntriesAreLeftUnread)
{
    auto doc = tableDocument({{"W", "1"}});
    doc->appendAnalysis({{"n", qint64(0)}}, "xml0", doc->newStatsRecord());
    const QString path = written(*doc, "doc.vlbdoc");
    for (const char* entry : {"/graphXML/graph0.xml", "/table.plist"}) {
        QFile huge(path + entry);
        ASSERT_TRUE(huge.open(QIODevice::WriteOnly) && huge.resize(qint64(1) << 30));   // sparse: no disk used
    }
    auto back = newDocument();
    QString error;
    EXPECT_FALSE(back->readPackage(path, &error));
    EXPECT_EQ(error.toStdString(), "The document's table settings are missing or damaged.");
    writeBytes(path + "/table.plist", plist(QVariantMap{{"columnSettings", QVariantList{}}, {"tableRowSettings", QVariantMap{}}}));
    ASSERT_TRUE(back->readPackage(path, &error));
    EXPECT_TRUE(back->graphXMLs.isEmpty());
    EXPECT_TRUE(back->readNotice().contains("left out: graph0.xml.")) << back->readNotice().toStdString();
}

TEST_F(Package, FailedWritesAreReported)
{
    // A value that no property list can hold fails the write (the old package is then kept).
    auto doc = tableDocument({{"t", "new"}});
    doc->appendAnalysis({{"bad", QVariant::fromValue(QPointF(1, 2))}}, "x", doc->newStatsRecord());
    QString error;
    EXPECT_FALSE(doc->writePackage(packagePath("bad.vlbdoc"), SaveKind::Save, &error));
    EXPECT_TRUE(error.contains("could not be stored")) << error.toStdString();

    // Lists out of step are refused rather than written misnumbered.
    doc->removeAnalysis(0);
    doc->stats.append(doc->newStatsRecord());
    EXPECT_FALSE(doc->writePackage(packagePath("skew.vlbdoc"), SaveKind::Save, &error));
}

// A disk that fills up is reported in the system's words, also when the first part of a file
// still fitted.
TEST_F(Package, FullDisksAreReportedWithTheSystemsReason)
{
    auto doc = tableDocument({QStringList(20000, "a cell")});
    QString error;
    const QString full = packagePath("full.vlbdoc");
    ASSERT_TRUE(QFile::link("/dev/full", full + "/tableString.txt"));
    EXPECT_FALSE(doc->writePackage(full, SaveKind::Save, &error));
    EXPECT_EQ(error.toStdString(), "The file \u201ctableString.txt\u201d could not be written: No space left on device");

    // Writing past a file size limit fails as a full disk does: the first write is short.
    struct rlimit before, small;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &before), 0);
    small = {4096, before.rlim_max};
    std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool ok = doc->writePackage(packagePath("limited.vlbdoc"), SaveKind::Save, &error);
    setrlimit(RLIMIT_FSIZE, &before);
    std::signal(SIGXFSZ, SIG_DFL);
    EXPECT_FALSE(ok);
    EXPECT_EQ(error.toStdString(), "The file \u201ctableString.txt\u201d could not be written: File too large");
}

// A package whose property lists were written as binary by another program
// (tests/data/document/make_binary_package.py).
TEST_F(Package, ReadsAPackageWrittenElsewhere)
{
    auto doc = newDocument();
    QString error;
    ASSERT_TRUE(doc->readPackage(QStringLiteral(VLB_TEST_DATA "/document/binary.vlbdoc"), &error)) << error.toStdString();
    EXPECT_EQ(doc->docVersion, "4.1");
    EXPECT_EQ(doc->tableData, (TableData{{QString::fromUtf8("Gr\u00f6\u00dfe"), "1,5", ""}, {"Sex", "m", "f"}}));
    EXPECT_EQ(doc->tableRowSettings["titleRowAttr"], QByteArray("\x01\x02"));
    ASSERT_EQ(doc->graphSettings.size(), 1);
    const QVariantMap values = doc->graphSettings[0]["valueSettings"].toMap();
    EXPECT_EQ(values["logarithmic"].typeId(), QMetaType::Bool);
    EXPECT_EQ(values["partition"], QVariant(qint64(4)));
    EXPECT_EQ(values["scale"], QVariant(1.25));
    EXPECT_EQ(doc->stats[0]["settings"], QVariant(QVariantMap{{"unbiased", true}}));
}
