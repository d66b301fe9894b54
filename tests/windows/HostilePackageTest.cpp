// Packages damaged by hand open with a sound graph and one message that names what was
// mended: settings that are missing or that the outline would refuse take their defaults,
// parts of the wrong shape are made anew from the analysis, columns gone from the table are
// named. The graph exports; saved and opened again, nothing more changes and nothing more is
// said.
#include "AnalysisFixture.h"
#include "analysis/MyAnalysisBuilder.h"
#include "common/LoadTable.h"
#include "document/DocumentPackage.h"
#include "platform/PropertyList.h"
#include "stats/MyShapiro.h"
#include "views/MyBaseView.h"
#include "views/MyOutputView.h"
#include <QDirIterator>
#include <QMimeData>
#include <functional>

namespace {

const QString kDots = QStringLiteral("Dots");

// A value inside maps and lists by keys ("#n" the n-th element), replaced; an invalid value
// removes the key.
void put(QVariant& v, QStringList path, const QVariant& value)
{
    if (path.isEmpty()) {
        v = value;
        return;
    }
    const QString k = path.takeFirst();
    if (k.startsWith('#')) {
        QVariantList list = v.toList();
        put(list[k.mid(1).toInt()], path, value);
        v = list;
    } else {
        QVariantMap map = v.toMap();
        if (path.isEmpty() && !value.isValid())
            map.remove(k);
        else
            put(map[k], path, value);
        v = map;
    }
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void copyFolder(const QString& from, const QString& to)
{
    for (QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
        const QString file = it.next();
        const QString target = to + '/' + QDir(from).relativeFilePath(file);
        QDir().mkpath(QFileInfo(target).absolutePath());
        ASSERT_TRUE(QFile::copy(file, target)) << target.toStdString();
    }
    for (const char* folder : {"graph", "graphXML", "graphPDF", "stats"})
        QDir().mkpath(to + '/' + folder);
}

// A dot's path with no curves and every corner on an axis through the dot's centre.
bool isDiamond(const QPainterPath& p)
{
    for (int i = 0; i < p.elementCount(); ++i)
        if (p.elementAt(i).isCurveTo() || (std::abs(p.elementAt(i).x) > 1e-9 && std::abs(p.elementAt(i).y) > 1e-9))
            return false;
    return !p.isEmpty();
}

} // namespace

class HostilePackage : public AnalysisFixture {
protected:
    // The document closed; the one at path opened, with the alerts it gave.
    Document* reopen(const QString& path)
    {
        if (doc) {
            EXPECT_TRUE(controller->closeDocument(doc));
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
        scripted.dialogs.alerts.clear();
        QString error;
        doc = static_cast<Document*>(controller->openDocument(path, &error));
        EXPECT_TRUE(doc) << error.toStdString();
        return doc;
    }
    // Dark pixels of the graph window's view drawn to an image: its axes, ticks and dots.
    int inkOfGraph(int graphID) const
    {
        MyDocumentWindows::showGraphWindow(*doc, graphID);
        MyWindowController* g = doc->graphWindowConts.value(graphID);
        if (!g || !g->backgroundView)
            return 0;
        const QImage page = GraphItem::image(g->backgroundView, 1);
        int ink = 0;
        for (int y = 0; y < page.height(); ++y)
            for (int x = 0; x < page.width(); ++x)
                ink += qAlpha(page.pixel(x, y)) > 128 && qGray(page.pixel(x, y)) < 128;
        return ink;
    }
};

TEST_F(HostilePackage, OpensWithASoundGraphAndSaysWhatWasMended)
{
    // A dot plot, and a boxplot of the same values.
    QString bases[2];
    QVariantMap saved[2];
    int sound[2];
    for (int boxplot = 0; boxplot < 2; ++boxplot) {
        if (boxplot)
            doc = static_cast<Document*>(controller->newDocument());
        import(kSampleTable);
        makeAnalysis(kDots, {"Height", "Weight"}, {"Sex"}, boxplot ? "boxplot" : "scatter");
        bases[boxplot] = dir.filePath(boxplot ? "BoxBase.vlbdoc" : "Base.vlbdoc");
        ASSERT_TRUE(controller->saveAs(doc, bases[boxplot]));
        saved[boxplot] = doc->graphSettings.at(0);
        sound[boxplot] = inkOfGraph(0);
        ASSERT_GT(sound[boxplot], 100);
    }
    const QString base = bases[0];

    const QByteArray colour = delegate.defaultBackground["color"].toByteArray();
    const QByteArray garbage("not a keyed archive");
    const QVariantMap dots0 = delegate.defaultDots[0].toMap(), dots1 = delegate.defaultDots[1].toMap();
    const QString one = "Settings of this analysis of the document \u201c%1\u201d were missing or could not be used, and "
                        "were set to their defaults: \u201cDots\u201d (%2).";
    const QString anew = "The graph settings of this analysis of the document \u201c%1\u201d were damaged and were made "
                         "anew from the analysis: \u201cDots\u201d.";
    const QString noValues = "The analysis \u201cDots\u201d has no values: no cell of its data columns is a number as a "
                             "whole (decimal commas and units are not read).";
    using Edit = std::function<void(QVariant& settings, QByteArray& table)>;
    auto set = [](QStringList path, QVariant value) -> Edit {
        return [=](QVariant& s, QByteArray&) { put(s, path, value); };
    };
    auto drop = [](QStringList path) -> Edit {
        return [=](QVariant& s, QByteArray&) { put(s, path, QVariant()); };
    };
    QStringList firstTen;
    for (int i = 1; i <= 10; ++i)
        firstTen << QString("Dot Series %1 dotSize").arg(i - 1);
    const QString manySeries = firstTen.join(", ") + ", and 15 more";
    const QString boxKey = delegate.defaultBox.firstKey(), boxesKey = delegate.defaultBoxes[0].toMap().firstKey();
    // What is done to the package; the message (%1 the package's name); a value of the opened
    // settings and what it must be (a null value: the saved settings' own). The package is the
    // dot plot's, or the boxplot's for the cases named here.
    const QStringList boxplots{"noBoxSetting", "noBoxSeriesSetting"};
    const struct { const char* name; Edit edit; QString notice; QStringList path; QVariant expected; } cases[] = {
        {"backgroundColour", set({"graphProperties", "background", "color"}, garbage),
         one.arg("%1", "graphProperties background color"), {"graphProperties", "background", "color"}, colour},
        {"labelFont", set({"categoryDicts", "#0", "xTitleAttr"}, QByteArray("bplist00")),
         one.arg("%1", "categoryDicts 1 xTitleAttr"), {"categoryDicts", "#0", "xTitleAttr"},
         delegate.defaultCategoryDict["xTitleAttr"]},
        {"dotSizes",
         [](QVariant& s, QByteArray&) {
             put(s, {"dotsProperties", "#0", "dotSize"}, "0");
             put(s, {"dotsProperties", "#1", "dotSize"}, "-5");
         },
         one.arg("%1", "Dot Series 0 dotSize, Dot Series 1 dotSize"), {"dotsProperties", "#1", "dotSize"},
         dots1["dotSize"]},
        {"dotSizesNotNumbers",
         [](QVariant& s, QByteArray&) {
             put(s, {"dotsProperties", "#0", "dotSize"}, "NaN");
             put(s, {"dotsProperties", "#1", "dotSize"}, "inf");
         },
         one.arg("%1", "Dot Series 0 dotSize, Dot Series 1 dotSize"), {"dotsProperties", "#0", "dotSize"},
         dots0["dotSize"]},
        {"lineWidth", set({"graphProperties", "graphRect", "lineWidth"}, "-50"),
         one.arg("%1", "graphProperties graphRect lineWidth"), {"graphProperties", "graphRect", "lineWidth"},
         delegate.defaultGraphRect["lineWidth"]},
        {"viewSize", set({"graphProperties", "background", "viewWidth"}, "1e9"),
         one.arg("%1", "graphProperties background viewWidth"), {"graphProperties", "background", "viewWidth"},
         delegate.defaultBackground["viewWidth"]},
        {"wrongKind", set({"dotsProperties", "#0", "fillColor"}, "red"), one.arg("%1", "Dot Series 0 fillColor"),
         {"dotsProperties", "#0", "fillColor"}, dots0["fillColor"]},
        {"dotTypeOutOfBounds", set({"dotsProperties", "#1", "dotType"}, qint64(9)),
         one.arg("%1", "Dot Series 1 dotType"), {"dotsProperties", "#1", "dotType"}, dots1["dotType"]},
        {"axisNotAGroup", set({"graphProperties", "xAxis"}, "x"), anew, {"graphProperties", "xAxis"},
         QVariant(delegate.defaultXAxis)},
        {"seriesNotAList", set({"dotsProperties"}, qint64(5)), anew, {"graphTitle"}, QVariant()},
        {"scaleNotNumbers", set({"valueSettings", "min"}, "low"), one.arg("%1", "valueSettings"), {"valueSettings"},
         saved[0]["valueSettings"]},
        // A value missing from a document of this version takes the user's default, at every
        // level that has one.
        {"noBackgroundColour", drop({"graphProperties", "background", "color"}),
         one.arg("%1", "graphProperties background color"), {"graphProperties", "background", "color"}, colour},
        {"noViewWidth", drop({"graphProperties", "background", "viewWidth"}),
         one.arg("%1", "graphProperties background viewWidth"), {"graphProperties", "background", "viewWidth"},
         delegate.defaultBackground["viewWidth"]},
        {"noFrameColour", drop({"graphProperties", "graphRect", "lineColor"}),
         one.arg("%1", "graphProperties graphRect lineColor"), {"graphProperties", "graphRect", "lineColor"},
         delegate.defaultGraphRect["lineColor"]},
        {"noTickWidth", drop({"graphProperties", "xAxis", "tickWidth"}), one.arg("%1", "graphProperties xAxis tickWidth"),
         {"graphProperties", "xAxis", "tickWidth"}, delegate.defaultXAxis["tickWidth"]},
        {"noTitleFont", drop({"graphProperties", "yAxis", "titleTextAttr"}),
         one.arg("%1", "graphProperties yAxis titleTextAttr"), {"graphProperties", "yAxis", "titleTextAttr"},
         delegate.defaultYAxis["titleTextAttr"]},
        {"noBarColour", drop({"graphProperties", "bars", "barColor"}), one.arg("%1", "graphProperties bars barColor"),
         {"graphProperties", "bars", "barColor"}, delegate.defaultBar["barColor"]},
        {"noDotSize", drop({"dotsProperties", "#1", "dotSize"}), one.arg("%1", "Dot Series 1 dotSize"),
         {"dotsProperties", "#1", "dotSize"}, dots1["dotSize"]},
        {"noCategoryGap", drop({"categoryDicts", "#1", "horizontalGap"}), one.arg("%1", "categoryDicts 2 horizontalGap"),
         {"categoryDicts", "#1", "horizontalGap"}, delegate.defaultCategoryDict["horizontalGap"]},
        {"noBoxSetting", drop({"graphProperties", "boxes", boxKey}), one.arg("%1", "graphProperties boxes " + boxKey),
         {"graphProperties", "boxes", boxKey}, delegate.defaultBox[boxKey]},
        {"noBoxSeriesSetting", drop({"boxesProperties", "#0", boxesKey}), one.arg("%1", "Box Series 0 " + boxesKey),
         {"boxesProperties", "#0", boxesKey}, delegate.defaultBoxes[0].toMap()[boxesKey]},
        // Settings missing from many series: the first ten are named, the rest counted.
        {"manySeries",
         [&](QVariant& s, QByteArray&) {
             QVariantMap series = dots0;
             series.remove("dotSize");
             put(s, {"dotsProperties"}, QVariantList(25, series));
         },
         one.arg("%1", manySeries), {"dotsProperties", "#24", "dotSize"}, dots0["dotSize"]},
        // Missing and unusable values in one message, in the order of the settings.
        {"missingAndUnusable",
         [&](QVariant& s, QByteArray&) {
             put(s, {"graphProperties", "yAxis", "lineColor"}, QVariant());
             put(s, {"graphProperties", "xAxis", "lineColor"}, garbage);
             put(s, {"dotsProperties", "#0", "dotType"}, QVariant());
         },
         one.arg("%1", "graphProperties xAxis lineColor, graphProperties yAxis lineColor, Dot Series 0 dotType"),
         {"graphProperties", "yAxis", "lineColor"}, delegate.defaultYAxis["lineColor"]},
        {"columnRetitled",
         [](QVariant&, QByteArray& table) { table.replace("Height,Weight", "Height\tMass").replace(',', '\t'); },
         "This analysis of the document \u201c%1\u201d names columns that are not in its table, and shows no values for "
         "them: \u201cDots\u201d (column: \u201cWeight\u201d).",
         {"graphTitle"}, QVariant()},
        // Everything of one open in one message.
        {"colourAndColumn",
         [&](QVariant& s, QByteArray& table) {
             put(s, {"graphProperties", "background", "color"}, garbage);
             table.replace("Height,Weight", "Height\tMass").replace(',', '\t');
         },
         one.arg("%1", "graphProperties background color") + "\n\nThis analysis of the document \u201c%1\u201d names "
             "columns that are not in its table, and shows no values for them: \u201cDots\u201d (column: \u201cWeight\u201d).",
         {"graphProperties", "background", "color"}, colour},
        // Without values (units in the cells): settings built afresh keep it like the others,
        // and a column gone beside one without numbers leaves it without values all the same.
        {"anewWithoutValues",
         [](QVariant& s, QByteArray& table) {
             put(s, {"dotsProperties"}, qint64(5));
             table = "Height,Weight,Sex,Site,Note\n170cm,60kg,M,north,a\n160cm,55kg,F,south,b\n";
         },
         anew + "\n\n" + noValues, {"graphTitle"}, QVariant()},
        {"goneAndNoNumbers",
         [](QVariant&, QByteArray& table) { table = "Height,Mass,Sex,Site,Note\n170cm,60,M,north,a\n160cm,55,F,south,b\n"; },
         "This analysis of the document \u201c%1\u201d names columns that are not in its table, and shows no values for "
         "them: \u201cDots\u201d (column: \u201cWeight\u201d).\n\n" + noValues,
         {"graphTitle"}, QVariant()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString name = QString(c.name) + ".vlbdoc", path = dir.filePath(name);
        const int boxplot = boxplots.contains(c.name);
        copyFolder(bases[boxplot], path);
        QVariant settings = PropertyList::fromData(readAll(path + "/graph/graph0.plist"));
        QByteArray table = readAll(path + "/tableString.txt");
        table.replace('\t', ',');
        c.edit(settings, table);
        write(name + "/graph/graph0.plist", PropertyList::toXml(settings));
        write(name + "/tableString.txt", QByteArray(table).replace(',', '\t'));

        ASSERT_TRUE(reopen(path));
        EXPECT_EQ(alerts(), QStringList{c.notice.arg(name)});
        ASSERT_EQ(doc->graphSettings.size(), 1);
        EXPECT_EQ(dig(doc->graphSettings[0], c.path), c.expected.isNull() ? dig(saved[boxplot], c.path) : c.expected);
        EXPECT_EQ(doc->historyOfGraphSettings[0], QVector<QVariantMap>{doc->graphSettings[0]});
        // Drawn: the axes and the dots of the columns still in the table.
        EXPECT_GT(inkOfGraph(0), sound[boxplot] / 3);
        // Exported as the user does it: a PDF of one page as large as the settings say.
        scripted.dialogs.alerts.clear();
        scripted.dialogs.files = {dir.filePath(QString(c.name) + ".pdf")};
        doc->graphWindowConts[0]->exportPDF();
        EXPECT_EQ(alerts(), QStringList());
        PdfPage exported(dir.filePath(QString(c.name) + ".pdf"));
        EXPECT_EQ(exported.pages, 1);
        EXPECT_NEAR(exported.size.width(),
                    dig(doc->graphSettings[0], {"graphProperties", "background", "viewWidth"}).toString().toDouble(), 1);
        // The graph's page in the package is as large as its settings say.
        const QVariantMap mended = doc->graphSettings[0];
        ASSERT_TRUE(controller->save(doc));
        PdfPage pdf(path + "/graphPDF/graph0.pdf");
        EXPECT_NEAR(pdf.size.width(), dig(mended, {"graphProperties", "background", "viewWidth"}).toString().toDouble(), 1);

        // Opened again, the mended settings are what was saved, and nothing is said.
        ASSERT_TRUE(reopen(path));
        // What the table lacks (columns gone, cells without numbers) is named again; nothing else is said.
        QStringList again = c.notice.arg(name).split("\n\n");
        again.removeIf([](const QString& p) { return !p.contains("names columns") && !p.contains("has no values"); });
        EXPECT_EQ(alerts(), again.isEmpty() ? QStringList() : QStringList{again.join("\n\n")});
        ASSERT_EQ(doc->graphSettings.size(), 1);
        EXPECT_EQ(doc->graphSettings[0], mended);
    }

    // An analysis none of whose data columns is left has nothing to draw, but is the user's:
    // it is kept, named with its columns, and shown without values.
    copyFolder(base, dir.filePath("allGone.vlbdoc"));
    write("allGone.vlbdoc/tableString.txt", "Size\tMass\tSex\tSite\tNote\n170\t60\tM\tnorth\ta\n");
    ASSERT_TRUE(reopen(dir.filePath("allGone.vlbdoc")));
    EXPECT_EQ(alerts(), QStringList{"This analysis of the document \u201callGone.vlbdoc\u201d names columns that are not in "
                                    "its table, and shows no values for them: \u201cDots\u201d (columns: \u201cHeight\u201d, "
                                    "\u201cWeight\u201d)."});
    EXPECT_EQ(doc->graphSettings, QVector<QVariantMap>{saved[0]});
    EXPECT_GT(inkOfGraph(0), 100);

    // A text cut short inside its categorizing columns reads as half its analysis: that is
    // kept, named, and written back unchanged, so that nothing more of it is lost.
    doc = static_cast<Document*>(controller->newDocument());
    import(kSampleTable);
    makeAnalysis("Weights", {"Weight"}, {"Sex"}, "boxplot");
    const QString cut = dir.filePath("Cut.vlbdoc");
    ASSERT_TRUE(controller->saveAs(doc, cut));
    const QByteArray text = readAll(cut + "/graphXML/graph0.xml").left(300);
    write("Cut.vlbdoc/graphXML/graph0.xml", text);
    ASSERT_TRUE(reopen(cut));
    EXPECT_EQ(alerts(), QStringList{"This analysis of the document \u201cCut.vlbdoc\u201d is cut off and was kept as it could "
                                    "be read: \u201cWeights\u201d (graph0.xml)."});
    EXPECT_EQ(rows().value(0), "Weights | (Data: 1, Categorizing: 0)");
    EXPECT_GT(inkOfGraph(0), 100);
    ASSERT_TRUE(controller->save(doc));
    EXPECT_EQ(readAll(cut + "/graphXML/graph0.xml"), text);
}

// A column of an analysis still being made is not yet in use, so the table lets it be
// retitled; the analysis then has no values of that column and is not drawn, rather than
// stored under a title the table no longer has.
TEST_F(HostilePackage, AnAnalysisWhoseColumnWasRetitledIsNotDrawn)
{
    import(kSampleTable);
    const struct { int column; const char* title; } cases[] = {{2, "Mass"}, {3, "Gender"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.title);
        newAnalysis();
        MySelectorItem* a = analysis(root()->childCount() - 1);
        addColumn(at(a, {1}), "Height");
        addColumn(at(a, {1}), doc->variables[1]);
        addColumn(at(a, {2}), doc->variables[2]);
        main()->editDataTableTapped(1);
        MyTableView* grid = doc->tableWindowCont->mTV;
        grid->setSelectingCells({0, c.column, 0, c.column});
        QApplication::clipboard()->setText(QString(c.title) + "\n");
        grid->paste();
        ASSERT_EQ(doc->variables.value(c.column - 1), c.title);
        scripted.dialogs.alerts.clear();
        press(a, 4);
        EXPECT_EQ(alerts(), QStringList{"No valid values in this column"});
        EXPECT_TRUE(doc->graphSettings.isEmpty());
        EXPECT_EQ(counters(), QVector<qint64>(5, 0));
        EXPECT_TRUE(a->editting);
        press(a, 2);   // deleted, so that the next one may start
    }
}

// A graph whose settings lack what its page needs has no page: exporting it says so instead
// of doing nothing. An open fills what a package lacks, so such a graph is made here from
// settings handed to the window set-up directly.
TEST_F(HostilePackage, AnExportThatCannotBeMadeSaysWhy)
{
    import(kSampleTable);
    makeAnalysis(kDots, {"Height"}, {});
    QVariant settings = doc->graphSettings[0];
    put(settings, {"graphProperties", "background", "color"}, QVariant());
    const qint64 graphID = doc->appendAnalysis(settings.toMap(), doc->graphXMLs[0], doc->newStatsRecord());
    const auto analysisData = MyAnalysisBuilder::analysisFromSelection(delegate, analysis(0));
    ASSERT_TRUE(analysisData);
    ASSERT_TRUE(MyDocumentWindows::makeGraphWindows(*doc, graphID, *analysisData));
    MyDocumentWindows::showGraphWindow(*doc, graphID);
    scripted.dialogs.alerts.clear();
    doc->graphWindowConts[graphID]->exportPDF();
    EXPECT_EQ(alerts(), QStringList{"The graph could not be exported: it has no page to export, because its settings "
                                    "could not be laid out."});
    EXPECT_TRUE(scripted.dialogs.savePanels.isEmpty());
}

// A dot series' older key "type" and an outlier series' type as a decimal string are read by
// the layout: they open as stored, without a word, and draw diamonds. A type it cannot read
// takes its default, and the message names the series by its title in the settings outline.
TEST_F(HostilePackage, DotTypesOpenAsTheLayoutReadsThem)
{
    // One outlier in each category, so that the boxplot draws outlier dots.
    import("Height,Sex\n170,M\n171,M\n172,M\n173,M\n174,M\n250,M\n160,F\n161,F\n162,F\n163,F\n164,F\n90,F\n");
    makeAnalysis(kDots, {"Height"}, {"Sex"});
    makeAnalysis("Boxes", {"Height"}, {"Sex"}, "boxplot");
    const QString base = dir.filePath("Types.vlbdoc");
    ASSERT_TRUE(controller->saveAs(doc, base));
    const QVariant lastLevel = doc->graphSettings.at(0).value("categoryDicts").toList().last();
    const QString one = "Settings of this analysis of the document \u201c%1\u201d were missing or could not be used, and "
                        "were set to their defaults: \u201c%2\u201d (%3).";
    // Graph (0 dots), series, its "dotType" and "type" (invalid: none), the name in the message.
    const struct { const char* name; int graph, series; QVariant dotType, type; QString named; } cases[] = {
        {"olderKey", 0, 0, QVariant(), qint64(2), ""},
        {"outlierAsText", 1, 1, " 2 ", QVariant(), ""},
        {"textAlone", 0, 0, "2", QVariant(), "Dot Series 0 dotType"},
        {"outlierPastBounds", 1, 1, "9", QVariant(), "Box Series 1 dotType"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString name = QString(c.name) + ".vlbdoc", plist = QStringLiteral("/graph/graph%1.plist").arg(c.graph);
        const QStringList series{c.graph ? "boxesProperties" : "dotsProperties", '#' + QString::number(c.series)};
        copyFolder(base, dir.filePath(name));
        QVariant settings = PropertyList::fromData(readAll(dir.filePath(name) + plist));
        put(settings, series + QStringList{"dotType"}, c.dotType);
        if (c.type.isValid())
            put(settings, series + QStringList{"type"}, c.type);
        write(name + plist, PropertyList::toXml(settings));
        ASSERT_TRUE(reopen(dir.filePath(name)));
        EXPECT_EQ(alerts(), c.named.isEmpty() ? QStringList() : QStringList{one.arg(name, c.graph ? "Boxes" : kDots, c.named)});
        if (c.named.isEmpty()) {
            EXPECT_EQ(doc->graphSettings.value(c.graph), settings.toMap());
        }
        MyDocumentWindows::showGraphWindow(*doc, c.graph);
        const QString dot = "dot\t" + dig(lastLevel, {"represents", series[1], "origName"}).toString();
        const QPainterPath drawn = doc->graphWindowConts[c.graph]->viewManager->viewBezier.value(dot).painterPath();
        EXPECT_EQ(isDiamond(drawn), c.named.isEmpty()) << "the default draws circles";
    }
}

// Documents saved when "170,5" was read as 170: only whole numbers are values, and an
// analysis left with none is named and kept with its settings rather than drawn from
// made-up numbers.
TEST_F(HostilePackage, AnAnalysisOnDecimalCommasKeepsOnlyItsValues)
{
    import(kSampleTable);
    makeAnalysis(kDots, {"Height", "Weight"}, {"Sex"});
    const QString base = dir.filePath("Points.vlbdoc");
    ASSERT_TRUE(controller->saveAs(doc, base));
    auto openWith = [&](const QString& name, const char* rows) {
        copyFolder(base, dir.filePath(name));
        write(name + "/tableString.txt", QByteArray("Height\tWeight\tSex\tSite\tNote\n") + rows);
        return reopen(dir.filePath(name));
    };
    ASSERT_TRUE(openWith("Some.vlbdoc", "170,5\t60\tM\tnorth\ta\n160\t55,5\tF\tsouth\tb\n"));
    EXPECT_EQ(alerts(), QStringList());
    MyDocumentWindows::showGraphWindow(*doc, 0);
    ASSERT_TRUE(doc->graphWindowConts.value(0));
    EXPECT_EQ(doc->graphWindowConts[0]->viewManager->values.value(QString()), (std::vector<double>{60, 160}));
    EXPECT_EQ(doc->graphWindowConts[0]->viewManager->values.value("Height"), (std::vector<double>{160}));
    const QVariantMap saved = doc->graphSettings.value(0);
    ASSERT_TRUE(openWith("Commas.vlbdoc", "170,5\t60,5\tM\tnorth\ta\n160,5\t55,5\tF\tsouth\tb\n"));
    EXPECT_EQ(alerts(), QStringList{"The analysis \u201cDots\u201d has no values: no cell of its data columns is a number as "
                                    "a whole (decimal commas and units are not read)."});
    EXPECT_EQ(doc->graphSettings, QVector<QVariantMap>{saved});
    MyDocumentWindows::showGraphWindow(*doc, 0);
    EXPECT_TRUE(doc->graphWindowConts[0]->viewManager->values.value(QString()).empty());
}

// A package saved while "60,5" or "55kg" were read by their leading number: its analyses of
// such cells have no values now. They are kept with their settings, named once, and work
// through every command a user gives them; saved, they are written back whole, and once
// their cells hold numbers again they are drawn from them with their own settings.
TEST_F(HostilePackage, AnAnalysisWithoutValuesIsKeptAndWorks)
{
    import(kSampleTable);
    makeAnalysis("Weights", {"Weight"}, {"Sex"});
    makeAnalysis("Boxes", {"Weight"}, {"Site"}, "boxplot");
    makeAnalysis("Heights", {"Height"}, {"Sex"});
    ASSERT_TRUE(typeInSettings(doc->graphWindowConts[0], {"valueSettings", "max"}, "250"));
    ASSERT_TRUE(typeInSettings(doc->graphWindowConts[1], {"graphTitle"}, "Sites"));
    ASSERT_TRUE(controller->saveAs(doc, dir.filePath("Base.vlbdoc")));
    const QVector<QVariantMap> saved = doc->graphSettings;
    const QStringList xmls = doc->graphXMLs;
    const QByteArray head = "Height\tWeight\tSex\tSite\tNote\n";
    const QByteArray units =
        head + "170\t60,5\tM\tnorth\ta\n160\t55kg\tF\tsouth\tb\n180\t80 kg\tM\tnorth\tc\n165\t\tF\teast\td\n175\t70,0\tM\tsouth\te\n";
    const QString notice = "The analysis \u201cWeights\u201d has no values: no cell of its data columns is a number as a "
                           "whole (decimal commas and units are not read).\nThe analysis \u201cSites\u201d has no values: "
                           "no cell of its data columns is a number as a whole (decimal commas and units are not read).";
    copyFolder(dir.filePath("Base.vlbdoc"), dir.filePath("Units.vlbdoc"));
    write("Units.vlbdoc/tableString.txt", units);
    ASSERT_TRUE(reopen(dir.filePath("Units.vlbdoc")));
    EXPECT_EQ(alerts(), QStringList{notice});
    EXPECT_EQ(doc->graphSettings, saved);
    EXPECT_EQ(doc->graphXMLs, xmls);
    EXPECT_EQ(rows().mid(0, 4), QStringList({"Weights | (Data: 1, Categorizing: 1)", "  graphType | scatter",
                                             "  DataColumns | (1st level; 1 columns)", "    Weight | (0 valid values)"}));
    EXPECT_EQ(counters(), QVector<qint64>({1, 2, 2, 1, 0}));

    // Both graphs show their frame and no dot or box; the statistics count nothing.
    for (int i : {0, 1}) {
        SCOPED_TRACE(i);
        scripted.dialogs.alerts.clear();
        MyDocumentWindows::showGraphWindow(*doc, i);
        MyDocumentWindows::showStatsWindow(*doc, i);
        MyWindowController* g = doc->graphWindowConts[i];
        MyViewManager* vm = g->viewManager;
        EXPECT_TRUE(waitUntilShownAsRendered(g->sceneView()->viewport()));
        EXPECT_GT(inkOfGraph(i), 100);
        for (const auto& [group, views] : vm->viewsDict)
            for (const MySimpleView* v : views)
                EXPECT_FALSE(v->isVisible() && (group.startsWith("dot\t") || group.startsWith("box\t")))
                    << group.toStdString();
        QAbstractItemModel* stats = doc->statsWindowConts[i]->docTV->model();
        ASSERT_EQ(stats->rowCount(), i ? 3 : 2);
        for (int r = 0; r < stats->rowCount(); ++r)
            EXPECT_EQ(stats->index(r, 1).data().toString(), "0");
        EXPECT_EQ(alerts(), QStringList());
    }

    // Edited, undone and redone: with no value, any axis that can be drawn is taken.
    MyWindowController* g = doc->graphWindowConts[0];
    front(g);
    ASSERT_TRUE(typeInSettings(g, {"valueSettings", "min"}, "-50"));
    EXPECT_EQ(dig(doc->graphSettings[0], {"valueSettings", "min"}), "-50");
    command(g, "Undo Change Type")->trigger();
    EXPECT_EQ(doc->graphSettings[0], saved[0]);
    command(g, "Redo Change Type")->trigger();
    EXPECT_EQ(dig(doc->graphSettings[0], {"valueSettings", "min"}), "-50");
    // A logarithmic axis, and the normality tests on its logarithms.
    ASSERT_TRUE(typeInSettings(g, {"valueSettings", "min"}, "1"));
    ASSERT_TRUE(typeInSettings(g, {"valueSettings", "logarithmic"}, "YES"));
    EXPECT_EQ(dig(doc->graphSettings[0], {"valueSettings", "logarithmic"}), true);
    MyWindowController* stats = doc->statsWindowConts[0];
    front(stats);
    QAbstractButton* normality = stats->window()->findChild<QAbstractButton*>("buStats");
    QTest::mouseClick(normality, Qt::LeftButton, {}, QPoint(4, normality->height() / 2));
    EXPECT_EQ(dig(doc->stats[0], {"settings", "stats"}), true);
    EXPECT_EQ(dig(doc->stats[0], {"logStats"}).toMap().keys(), QStringList({"Weight\tF", "Weight\tM"}));
    stats->docTV->selectAll();
    command(stats, "Copy")->trigger();
    EXPECT_EQ(QApplication::clipboard()->text().count('\n'), 1) << "two rows";
    // The whole settings and one row copied from a graph with values, pasted onto this one.
    auto select = [](MyWindowController* w, const QStringList& path) {
        front(w);
        w->configOlv->setFocus();
        w->configOlv->selectionModel()->clearSelection();
        if (!path.isEmpty())
            QTest::mouseClick(w->configOlv->viewport(), Qt::LeftButton, {},
                              centreIn(w->configOlv, settingsRow(w, path), 0, w->rootItem), apart());
        QCoreApplication::processEvents();
    };
    MyWindowController* heights = doc->graphWindowConts[2];
    MyDocumentWindows::showGraphWindow(*doc, 2);
    select(heights, {"valueSettings"});
    command(heights, "Copy")->trigger();
    select(g, {"valueSettings"});
    command(g, "Paste")->trigger();
    EXPECT_EQ(doc->graphSettings[0]["valueSettings"], doc->graphSettings[2]["valueSettings"]);
    select(heights, {});
    command(heights, "Copy")->trigger();
    select(g, {});
    command(g, "Paste")->trigger();
    EXPECT_EQ(doc->undoManager()->stack()->undoText(), "Paste Settings");
    // Copied as a graph, exported and printed: one page each.
    dynamic_cast<MyOutputView*>(g->viewManager->viewDict.value(MyViewManager::kGraphView))->copy();
    EXPECT_EQ(PdfPage(write("copied.pdf", QApplication::clipboard()->mimeData()->data("application/pdf"))).pages, 1);
    scripted.dialogs.files = {dir.filePath("none.pdf")};
    g->exportPDF();
    EXPECT_EQ(PdfPage(dir.filePath("none.pdf")).pages, 1);
    front(g);
    scripted.dialogs.printFiles = {dir.filePath("printed.pdf")};
    command(g, "Print…")->trigger();
    EXPECT_EQ(PdfPage(dir.filePath("printed.pdf")).pages, 1);
    EXPECT_EQ(alerts(), QStringList());

    // Saved: every analysis written back whole, and opened again as it was saved.
    ASSERT_TRUE(controller->save(doc));
    const QVector<QVariantMap> edited = doc->graphSettings;
    const QString path = dir.filePath("Units.vlbdoc");
    for (int i = 0; i < 3; ++i) {
        for (const QString& entry : {"/graph/" + DocumentPackage::settingsName(i), "/graphXML/" + DocumentPackage::xmlName(i),
                                     "/graphPDF/" + DocumentPackage::pdfName(i), "/stats/" + DocumentPackage::statsName(i)})
            EXPECT_TRUE(QFile::exists(path + entry)) << entry.toStdString();
        EXPECT_EQ(PropertyList::fromData(readAll(path + "/graph/" + DocumentPackage::settingsName(i))), QVariant(edited[i]));
    }
    const QString title = analysis(0)->title;   // the pasted settings may bring another
    ASSERT_TRUE(reopen(path));
    EXPECT_EQ(alerts(), QStringList{QString(notice).replace("\u201cWeights\u201d", "\u201c" + title + "\u201d")});
    EXPECT_EQ(doc->graphSettings, edited);

    // Modify takes its graph; "Graph" then refuses it for want of values, and it is deleted.
    scripted.dialogs.answers = {1};
    press(analysis(1), 2);
    ASSERT_EQ(doc->graphSettings.size(), 2);
    EXPECT_TRUE(analysis(2)->editting);
    press(analysis(2), 4);
    EXPECT_EQ(alerts().value(alerts().size() - 1), MySelectorRootItem::noValidValues);
    scripted.dialogs.answers = {0};
    press(analysis(2), 2);
    EXPECT_EQ(root()->childCount(), 2);
    EXPECT_EQ(counters(), QVector<qint64>({1, 1, 2, 0, 0}));
    ASSERT_TRUE(controller->save(doc));

    // Its cells mended, the kept analysis is drawn from them with the settings it was saved with.
    write("Units.vlbdoc/tableString.txt",
          head + "170\t60.5\tM\tnorth\ta\n160\t55\tF\tsouth\tb\n180\t80\tM\tnorth\tc\n165\t\tF\teast\td\n175\t70\tM\tsouth\te\n");
    ASSERT_TRUE(reopen(path));
    EXPECT_EQ(alerts(), QStringList());
    EXPECT_EQ(doc->graphSettings.value(0), edited[0]);
    MyDocumentWindows::showGraphWindow(*doc, 0);
    EXPECT_EQ(doc->graphWindowConts[0]->viewManager->values.value(QString()), (std::vector<double>{55, 60.5, 70, 80}));
    // Its normality results, stored while it had no values, are the tests of its values now:
    // a change to save.
    const auto w = delegate.shapiro->shapiroWilkTest({std::log10(60.5), std::log10(70.0), std::log10(80.0)});
    ASSERT_TRUE(w);
    EXPECT_NEAR(dig(doc->stats[0], {"logStats", "Weight\tM", "statistic"}).toDouble(), w->statistic, 1e-12);
    EXPECT_TRUE(dig(doc->stats[0], {"logStats", "Weight\tF"}).toMap().isEmpty());
    EXPECT_TRUE(doc->isDocumentEdited());
}

// Settings the window set-up cannot lay out (an open mends them before; here they are handed
// to it directly): the analysis is left out, and the message says which one by its place and
// title. The others keep their places.
TEST_F(HostilePackage, AnAnalysisThatCannotBeRebuiltIsNamed)
{
    import(kSampleTable);
    makeAnalysis(kDots, {"Height"}, {});
    std::unique_ptr<DocumentInterface> made = Document::factory(&delegate)();
    auto* other = static_cast<Document*>(made.get());
    loadTable(*other, doc->tableData);
    QVariantMap broken = doc->graphSettings[0];
    broken.remove("graphProperties");
    other->appendAnalysis(doc->graphSettings[0], doc->graphXMLs[0], other->newStatsRecord());
    other->appendAnalysis(broken, doc->graphXMLs[0], other->newStatsRecord());
    other->makeWindowControllers();
    EXPECT_EQ(other->readNotice(), "Analysis 2 of this document (\u201cDots\u201d) could not be rebuilt and was left out.");
    EXPECT_EQ(other->graphSettings, QVector<QVariantMap>{doc->graphSettings[0]});
    EXPECT_EQ(other->columnCounter, QVector<qint64>({1, 0, 0, 0, 0}));
}
