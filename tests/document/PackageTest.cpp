#include "DocumentFixture.h"
#include "document/DocumentPackage.h"
#include "platform/PropertyList.h"
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QPointF>
#include <QRandomGenerator>
#include <QTemporaryDir>

namespace {

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

QByteArray readBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList entries(const QString& dir)
{
    QStringList out;
    QDirIterator it(dir, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        out.append(QDir(dir).relativeFilePath(it.next()));
    out.sort();
    return out;
}

QString randomText(QRandomGenerator& rng)
{
    static const QStringList pieces{"", "a", "Weight", ",", "1.5", " ", "\u00e9", "\u65e5\u672c", "\"", "<&>", "-3e2"};
    return pieces[rng.bounded(pieces.size())] + pieces[rng.bounded(pieces.size())];
}

QVariant randomValue(QRandomGenerator& rng, int depth)
{
    switch (rng.bounded(depth > 2 ? 5 : 7)) {
    case 0: return randomText(rng);
    case 1: return qint64(rng.bounded(2000)) - 1000;
    case 2: return rng.bounded(100.0) - 50.0;
    case 3: return bool(rng.bounded(2));
    case 4: return QByteArray::number(rng.generate64());
    case 5: {
        QVariantList list;
        for (int i = rng.bounded(4); i > 0; --i)
            list.append(randomValue(rng, depth + 1));
        return list;
    }
    default: {
        QVariantMap map;
        for (int i = rng.bounded(4); i > 0; --i)
            map.insert(QStringLiteral("k") + randomText(rng), randomValue(rng, depth + 1));
        return map;
    }
    }
}

QVariantMap randomDictionary(QRandomGenerator& rng)
{
    QVariantMap map;
    for (int i = 1 + rng.bounded(5); i > 0; --i)
        map.insert(QStringLiteral("key") + QString::number(i), randomValue(rng, 0));
    return map;
}

QVariantMap randomStats(QRandomGenerator& rng)
{
    return {{"settings", randomDictionary(rng)}, {"stats", randomDictionary(rng)}, {"logStats", QVariantMap{}}};
}

} // namespace

class Package : public DocumentFixture {
protected:
    QString packagePath(const QString& name = QStringLiteral("doc.vlbdoc"))
    {
        const QString path = temp.filePath(name);
        QDir().mkpath(path);
        return path;
    }

    // A document with a random table, settings and analyses as records.
    std::unique_ptr<Document> randomDocument(QRandomGenerator& rng)
    {
        auto doc = newDocument();
        const int C = rng.bounded(6), R = 1 + rng.bounded(8);
        for (int c = 0; c < C; ++c) {
            QStringList column;
            for (int r = 0; r < R; ++r)
                column.append(randomText(rng));
            doc->tableData.append(column);
            doc->columnSettings.append({{"width", QString::number(40 + rng.bounded(100))}});
            doc->columnCounter.append(0);
        }
        doc->setTableData();
        doc->tableRowSettings.insert(randomDictionary(rng));
        for (int i = rng.bounded(13); i > 0; --i)
            doc->appendAnalysis(randomDictionary(rng), randomText(rng) + "\n<x a=\"1\"/>\r\n", randomStats(rng));
        return doc;
    }

    static void expectSame(const Document& a, const Document& b)
    {
        EXPECT_EQ(a.tableData, b.tableData);
        EXPECT_EQ(a.tableMatrix, b.tableMatrix);
        EXPECT_EQ(a.variables, b.variables);
        EXPECT_EQ(a.columnSettings, b.columnSettings);
        EXPECT_EQ(a.tableRowSettings, b.tableRowSettings);
        EXPECT_EQ(a.graphXMLs, b.graphXMLs);
        EXPECT_EQ(a.graphSettings, b.graphSettings);
        EXPECT_EQ(a.stats, b.stats);
        EXPECT_EQ(a.graphSettingsIndex, QVector<qint64>(a.graphSettings.size(), 0));
        EXPECT_EQ(a.historyOfGraphSettings.size(), a.graphSettings.size());
    }

    QTemporaryDir temp;
};

TEST_F(Package, WriteThenReadGivesTheSameDocument)
{
    QRandomGenerator rng(31);
    for (int round = 0; round < 40; ++round) {
        auto doc = randomDocument(rng);
        const QString path = packagePath(QStringLiteral("r%1.vlbdoc").arg(round));
        QString error;
        ASSERT_TRUE(doc->writePackage(path, SaveKind::Save, &error)) << error.toStdString();
        auto back = newDocument();
        ASSERT_TRUE(back->readPackage(path, &error)) << error.toStdString();
        expectSame(*back, *doc);
        EXPECT_EQ(back->columnCounter, QVector<qint64>(doc->tableData.size(), 0));
        EXPECT_EQ(back->historyOfTableData.size(), 1);
        EXPECT_EQ(back->historyOfTableData.at(0), doc->tableData);
        EXPECT_FALSE(back->isDocumentEdited());
    }
}

TEST_F(Package, LayoutAndEncodings)
{
    auto doc = newDocument();
    EXPECT_TRUE(doc->writePackage(packagePath("empty.vlbdoc"), SaveKind::Save, nullptr));
    EXPECT_EQ(entries(temp.filePath("empty.vlbdoc")),
              (QStringList{"fileInfo.plist", "graph", "graphPDF", "graphXML", "stats", "table.plist", "tableString.txt"}));
    EXPECT_EQ(QFileInfo(temp.filePath("empty.vlbdoc/tableString.txt")).size(), 0);

    doc->tableData = {{"Gr\u00f6\u00dfe", "1,5"}, {"b", ""}};
    doc->columnSettings = {{{"width", "70"}}, {{"width", "80"}}};
    for (int i = 0; i < 11; ++i)
        doc->appendAnalysis({{"graphTitle", QStringLiteral("G%1").arg(i)}}, QStringLiteral("<a>%1</a>").arg(i), doc->newStatsRecord());
    // Analysis 3 has no laid-out graph: no PDF for it.
    DocumentHooks::shared().graphPDF = [](const Document&, int i) {
        return i == 3 ? QByteArray() : QByteArray("%PDF-1.4 ") + QByteArray::number(i);
    };
    doc->docVersion = "4.0";
    const QString path = packagePath("eleven.vlbdoc");
    ASSERT_TRUE(doc->writePackage(path, SaveKind::Save, nullptr));
    EXPECT_EQ(doc->docVersion, "4.11");
    const QStringList all = entries(path);
    for (int i = 0; i < 11; ++i) {
        EXPECT_TRUE(all.contains(QStringLiteral("graphXML/graph%1.xml").arg(i)));
        EXPECT_TRUE(all.contains(QStringLiteral("graph/graph%1.plist").arg(i)));
        EXPECT_TRUE(all.contains(QStringLiteral("stats/stats%1.plist").arg(i)));
        EXPECT_EQ(all.contains(QStringLiteral("graphPDF/graph%1.pdf").arg(i)), i != 3);
    }
    EXPECT_EQ(all.size(), 7 + 11 * 4 - 1);
    EXPECT_EQ(readBytes(path + "/graphPDF/graph10.pdf"), "%PDF-1.4 10");
    EXPECT_EQ(readBytes(path + "/tableString.txt"), QByteArray("Gr\xc3\xb6\xc3\x9f" "e\tb\n1,5\t\n"));
    EXPECT_EQ(readBytes(path + "/graphXML/graph10.xml"), "<a>10</a>");
    EXPECT_EQ(PropertyList::fromData(readBytes(path + "/fileInfo.plist")), QVariant(QVariantMap{{"version", "4.11"}}));
    EXPECT_TRUE(readBytes(path + "/table.plist").startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"));
}

TEST_F(Package, ReadsTheTableBackExactly)
{
    // A one-column table with commas, and empty rows and columns, come back as they were.
    auto doc = newDocument();
    doc->tableData = {{"a,b", "1,2", "", "3"}, {"", "", "", ""}};
    doc->columnSettings = {{{"width", "70"}}, {{"width", "70"}}};
    const QString path = packagePath();
    ASSERT_TRUE(doc->writePackage(path, SaveKind::Save, nullptr));
    auto back = newDocument();
    ASSERT_TRUE(back->readPackage(path, nullptr));
    EXPECT_EQ(back->tableData, doc->tableData);

    // Column settings are brought to the column count.
    writeBytes(path + "/table.plist",
               PropertyList::toXml(QVariantMap{{"columnSettings", QVariantList{QVariantMap{{"width", "9"}}}},
                                               {"tableRowSettings", QVariantMap{}}}));
    ASSERT_TRUE(back->readPackage(path, nullptr));
    EXPECT_EQ(back->columnSettings, (ColumnSettings{{{"width", "9"}}, delegate.defaultColumnSettings}));
    // Row settings without their keys get the user's defaults for them.
    EXPECT_EQ(back->tableRowSettings, delegate.defaultTableRowSettings);
    writeBytes(path + "/tableString.txt", "x\n1\n");
    ASSERT_TRUE(back->readPackage(path, nullptr));
    EXPECT_EQ(back->columnSettings, (ColumnSettings{{{"width", "9"}}}));
}

namespace {

struct Refusal {
    const char* name;
    std::function<void(const QString& path)> damage;
    bool accepted;
};

void PrintTo(const Refusal& r, std::ostream* os) { *os << r.name; }

QByteArray plist(const QVariant& v) { return PropertyList::toXml(v); }

class PackageRefusal : public Package, public ::testing::WithParamInterface<Refusal> {};

} // namespace

TEST_P(PackageRefusal, VersionAndTableFilesAreChecked)
{
    auto doc = newDocument();
    doc->tableData = {{"t", "1"}};
    doc->columnSettings = {{{"width", "70"}}};
    const QString path = packagePath();
    ASSERT_TRUE(doc->writePackage(path, SaveKind::Save, nullptr));
    GetParam().damage(path);
    auto back = newDocument();
    back->docVersion = "unchanged";
    QString error;
    EXPECT_EQ(back->readPackage(path, &error), GetParam().accepted);
    if (GetParam().accepted) {
        EXPECT_EQ(back->tableData, doc->tableData);
    } else {
        EXPECT_FALSE(error.isEmpty());
        EXPECT_EQ(back->docVersion, "unchanged");   // a refused package changes nothing
        EXPECT_TRUE(back->tableData.isEmpty());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PackageRefusal,
    ::testing::Values(
        Refusal{"version40", [](const QString& p) { writeBytes(p + "/fileInfo.plist", plist(QVariantMap{{"version", "4.0"}})); }, true},
        Refusal{"version41", [](const QString& p) { writeBytes(p + "/fileInfo.plist", plist(QVariantMap{{"version", "4.1"}})); }, true},
        Refusal{"version411", [](const QString&) {}, true},
        Refusal{"versionTrailingBlank", [](const QString& p) { writeBytes(p + "/fileInfo.plist", plist(QVariantMap{{"version", "4.11 "}})); }, false},
        Refusal{"versionOther", [](const QString& p) { writeBytes(p + "/fileInfo.plist", plist(QVariantMap{{"version", "5.0"}})); }, false},
        Refusal{"versionReal", [](const QString& p) { writeBytes(p + "/fileInfo.plist", plist(QVariantMap{{"version", 4.11}})); }, false},
        Refusal{"versionInteger", [](const QString& p) { writeBytes(p + "/fileInfo.plist", plist(QVariantMap{{"version", qint64(4)}})); }, false},
        Refusal{"versionMissing", [](const QString& p) { writeBytes(p + "/fileInfo.plist", plist(QVariantMap{})); }, false},
        Refusal{"fileInfoArray", [](const QString& p) { writeBytes(p + "/fileInfo.plist", plist(QVariantList{"4.11"})); }, false},
        Refusal{"fileInfoGarbage", [](const QString& p) { writeBytes(p + "/fileInfo.plist", "not a plist"); }, false},
        Refusal{"fileInfoMissing", [](const QString& p) { QFile::remove(p + "/fileInfo.plist"); }, false},
        Refusal{"fileInfoFolder", [](const QString& p) { QFile::remove(p + "/fileInfo.plist"); QDir().mkdir(p + "/fileInfo.plist"); }, false},
        Refusal{"tablePlistMissing", [](const QString& p) { QFile::remove(p + "/table.plist"); }, false},
        Refusal{"tablePlistArray", [](const QString& p) { writeBytes(p + "/table.plist", plist(QVariantList{})); }, false},
        Refusal{"tableStringMissing", [](const QString& p) { QFile::remove(p + "/tableString.txt"); }, false},
        Refusal{"tableStringFolder", [](const QString& p) { QFile::remove(p + "/tableString.txt"); QDir().mkdir(p + "/tableString.txt"); }, false},
        Refusal{"tableStringNotUtf8", [](const QString& p) { writeBytes(p + "/tableString.txt", "t\n\xff\xfe\n"); }, false},
        Refusal{"columnSettingsMissing", [](const QString& p) { writeBytes(p + "/table.plist", plist(QVariantMap{{"tableRowSettings", QVariantMap{}}})); }, false},
        Refusal{"columnSettingsNumber",
                [](const QString& p) {
                    writeBytes(p + "/table.plist", plist(QVariantMap{{"columnSettings", QVariantList{QVariantMap{{"width", qint64(70)}}}},
                                                                     {"tableRowSettings", QVariantMap{}}}));
                },
                false},
        Refusal{"columnSettingsNotList",
                [](const QString& p) {
                    writeBytes(p + "/table.plist", plist(QVariantMap{{"columnSettings", QVariantMap{}}, {"tableRowSettings", QVariantMap{}}}));
                },
                false},
        Refusal{"rowSettingsMissing", [](const QString& p) { writeBytes(p + "/table.plist", plist(QVariantMap{{"columnSettings", QVariantList{}}})); }, false},
        Refusal{"rowSettingsString",
                [](const QString& p) {
                    writeBytes(p + "/table.plist", plist(QVariantMap{{"columnSettings", QVariantList{}}, {"tableRowSettings", "x"}}));
                },
                false},
        Refusal{"notAFolder", [](const QString& p) { QDir(p).removeRecursively(); writeBytes(p, "x"); }, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Package, AnalysesAreReadOneByOne)
{
    auto doc = newDocument();
    doc->tableData = {{"W", "1", "2"}, {"S", "m", "f"}};
    doc->columnSettings = {{{"width", "70"}}, {{"width", "70"}}};
    for (int i = 0; i < 4; ++i)
        doc->appendAnalysis({{"n", qint64(i)}}, QStringLiteral("xml%1").arg(i), {{"settings", QVariantMap{{"i", qint64(i)}}}});
    const QString path = packagePath();
    ASSERT_TRUE(doc->writePackage(path, SaveKind::Save, nullptr));
    QFile::remove(path + "/graphXML/graph0.xml");          // analysis 0 cannot be read at all
    QFile::remove(path + "/graph/graph2.plist");           // analysis 2 gets new settings
    writeBytes(path + "/graph/graph3.plist", "broken");    // so does analysis 3
    QFile::remove(path + "/stats/stats1.plist");           // analysis 1 gets a fresh record
    writeBytes(path + "/graph/extra.plist", plist(QVariantMap{}));
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
    EXPECT_EQ(back->graphSettingsIndex, (QVector<qint64>{0, 0}));
    EXPECT_EQ(back->historyOfGraphSettings.size(), 2);
    EXPECT_EQ(back->columnCounter, (QVector<qint64>{0, 0}));

    // Without the analysis subsystem, analyses without settings are left out whole.
    DocumentHooks::shared().regenerateGraphSettings = nullptr;
    ASSERT_TRUE(back->readPackage(path, nullptr));
    EXPECT_EQ(back->graphXMLs, QStringList{"xml1"});
    EXPECT_EQ(back->stats.size(), 1);

    // Without a "graphXML" folder there are no analyses; a "graph" folder alone adds none.
    QDir(path + "/graphXML").removeRecursively();
    ASSERT_TRUE(back->readPackage(path, nullptr));
    EXPECT_TRUE(back->graphSettings.isEmpty());
    EXPECT_TRUE(back->stats.isEmpty());
}

TEST_F(Package, BinaryPropertyListsReadTheSame)
{
    QRandomGenerator rng(77);
    auto doc = randomDocument(rng);
    while (doc->graphSettings.size() < 2)
        doc->appendAnalysis(randomDictionary(rng), "x", randomStats(rng));
    const QString path = packagePath();
    ASSERT_TRUE(doc->writePackage(path, SaveKind::Save, nullptr));
    for (const QString& name : entries(path)) {
        if (!name.endsWith(".plist"))
            continue;
        const QString file = path + '/' + name;
        const QByteArray binary = PropertyList::toBinary(PropertyList::fromData(readBytes(file)));
        ASSERT_TRUE(binary.startsWith("bplist00"));
        writeBytes(file, binary);
    }
    auto back = newDocument();
    ASSERT_TRUE(back->readPackage(path, nullptr));
    expectSame(*back, *doc);
}

TEST_F(Package, FailedWritesKeepTheOldPackage)
{
    auto doc = newDocument();
    doc->tableData = {{"t", "old"}};
    doc->columnSettings = {{{"width", "70"}}};
    const QString path = temp.filePath("keep.vlbdoc");
    QString error;
    ASSERT_TRUE(DocumentController::writePackageAtomically(doc.get(), path, SaveKind::Save, &error)) << error.toStdString();

    // A value that no property list can hold makes the write fail as a whole.
    doc->tableData = {{"t", "new"}};
    doc->appendAnalysis({{"bad", QVariant::fromValue(QPointF(1, 2))}}, "x", doc->newStatsRecord());
    EXPECT_FALSE(DocumentController::writePackageAtomically(doc.get(), path, SaveKind::Save, &error));
    EXPECT_FALSE(error.isEmpty());
    auto back = newDocument();
    ASSERT_TRUE(back->readPackage(path, nullptr));
    EXPECT_EQ(back->tableData, (TableData{{"t", "old"}}));

    // Lists out of step are refused rather than written misnumbered.
    doc->removeAnalysis(0);
    doc->stats.append(doc->newStatsRecord());
    EXPECT_FALSE(doc->writePackage(packagePath("skew.vlbdoc"), SaveKind::Save, &error));

    // A file standing where a folder of the package goes.
    doc->stats.clear();
    const QString blocked = packagePath("blocked.vlbdoc");
    writeBytes(blocked + "/graphXML", "x");
    EXPECT_FALSE(doc->writePackage(blocked, SaveKind::Save, &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST_F(Package, FolderWithoutWritePermission)
{
    auto doc = newDocument();
    const QString locked = packagePath("locked.vlbdoc");
    QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    QFile probe(locked + "/probe");
    const bool enforced = !probe.open(QIODevice::WriteOnly);
    QString error;
    const bool written = doc->writePackage(locked, SaveKind::Save, &error);
    QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    if (enforced) {
        EXPECT_FALSE(written);
        EXPECT_FALSE(error.isEmpty());
        return;
    }
    // Permissions do not hold for this user; a folder of the kernel's refuses every new file.
    if (!QFileInfo("/proc/self").isDir())
        GTEST_SKIP() << "no folder that refuses writing";
    error.clear();
    EXPECT_FALSE(doc->writePackage("/proc/self", SaveKind::Save, &error));
    EXPECT_FALSE(error.isEmpty());
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
    EXPECT_EQ(doc->columnSettings, (ColumnSettings{{{"width", "70"}}, {{"width", "112.5"}}}));
    EXPECT_EQ(doc->tableRowSettings["titleRowAttr"], QByteArray("\x01\x02"));
    EXPECT_EQ(doc->tableRowSettings["dataRowHeight"], "17");
    ASSERT_EQ(doc->graphSettings.size(), 1);
    const QVariantMap values = doc->graphSettings[0]["valueSettings"].toMap();
    EXPECT_EQ(values["logarithmic"].typeId(), QMetaType::Bool);
    EXPECT_EQ(values["partition"], QVariant(qint64(4)));
    EXPECT_EQ(values["scale"], QVariant(1.25));
    EXPECT_EQ(doc->graphXMLs, QStringList{"<analysis/>"});
    EXPECT_EQ(doc->stats[0]["settings"], QVariant(QVariantMap{{"unbiased", true}}));
}
