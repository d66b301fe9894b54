// Packages whose analyses cannot all be read open with the others, and the user is told which
// were left out.
#include "analysis/MyAnalysisXml.h"
#include "analysis/MyDocumentAnalyses.h"
#include "document/Document.h"
#include "document/DocumentHooks.h"
#include "outline/MySelectorRootItem.h"
#include "platform/Dialogs.h"
#include "stats/MyDescriptives.h"
#include "AnalysisTestSupport.h"
#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

} // namespace

TEST(StoredAnalyses, UnreadableOnesAreNamedWhenTheDocumentOpens)
{
    MyDescriptives engine;
    AppDelegate app;
    app.ourDescriptives = &engine;
    MyDocumentAnalyses::registerHooks();
    struct Unhook {
        ~Unhook()
        {
            DocumentHooks::shared() = DocumentHooks{};
            MySelectorRootItem::hooks() = MySelectorRootItem::Hooks{};
        }
    } unhook;

    Document doc(&app);
    doc.tableData = {{"W", "1", "2", "3"}, {"Sex", "m", "f", "m"}};
    doc.columnSettings = ColumnSettings(2, {{"width", "70"}});
    doc.columnCounter = {0, 0};
    doc.setTableData();
    MySelectorItem root("rootItem", nullptr);
    const QString xml = *MyAnalysisXml::xmlFromItem(analysis(&root, "scatter", {{"W", {1.0, 2.0, 3.0}}}, {{"Sex", {"m", "f", "m"}}}, true));
    for (int i = 0; i < 5; ++i)
        doc.appendAnalysis({{"graphTitle", QString::number(i)}}, xml, doc.newStatsRecord());
    QTemporaryDir temp;
    const QString path = temp.filePath("d.vlbdoc");
    ASSERT_TRUE(QDir().mkpath(path));
    ASSERT_TRUE(doc.writePackage(path, SaveKind::Save, nullptr));

    // 0: nested 200,000 levels deep, its settings to be made anew from it.
    writeBytes(path + "/graphXML/graph0.xml",
               "<?xml version=\"1.0\"?>\n<analysis>\n\t<title>T</title>\n\t<graphType>scatter</graphType>\n"
                   + QByteArray("\t<g next=\"array\">\n").repeated(200'000) + "</analysis>");
    QFile::remove(path + "/graph/graph0.plist");
    // 1: not UTF-8, with its settings.
    writeBytes(path + "/graphXML/graph1.xml", "<?xml version=\"1.0\"?>\n<analysis>\n\t<title>Gr\xf6\xdf" "e</title>\n");
    // 2: its settings made anew.
    QFile::remove(path + "/graph/graph2.plist");
    // 3: a readable text from which no graph can be made.
    writeBytes(path + "/graphXML/graph3.xml",
               "<?xml version=\"1.0\"?>\n<analysis>\n\t<title>Lonely</title>\n\t<graphType>scatter</graphType>\n</analysis>");
    QFile::remove(path + "/graph/graph3.plist");
    // 4: settings without a text.
    QFile::remove(path + "/graphXML/graph4.xml");

    ScopedScriptedDialogs scripted;
    DocumentController controller(Document::factory(&app));
    auto* opened = dynamic_cast<Document*>(controller.openDocument(path));
    ASSERT_NE(opened, nullptr);
    EXPECT_EQ(opened->graphXMLs, QStringList{xml});
    EXPECT_EQ(opened->graphSettings.size(), 1);
    EXPECT_EQ(scripted.dialogs.alerts.join('|').toStdString(),
              "These analyses of the document \u201cd.vlbdoc\u201d could not be read and were left out: "
              "graph0.xml, graph1.xml, \u201cLonely\u201d (graph3.xml), graph4.xml.");
    EXPECT_EQ(opened->columnCounter, (QVector<qint64>{0, 0}));
}
