// Packages damaged by hand open with a sound graph and one message that names what was
// mended: settings that are missing or that the outline would refuse take their defaults,
// parts of the wrong shape are made anew from the analysis, columns gone from the table are
// named. The graph exports; saved and opened again, nothing more changes and nothing more is
// said.
#include "AnalysisFixture.h"
#include "analysis/MyAnalysisBuilder.h"
#include "platform/PropertyList.h"
#include "views/MyBaseView.h"
#include <QDirIterator>
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
        // Columns still gone are named again; nothing else is said.
        const bool retitled = c.notice.contains("names columns");
        EXPECT_EQ(alerts(), retitled ? QStringList{c.notice.arg(name).split("\n\n").last()} : QStringList());
        ASSERT_EQ(doc->graphSettings.size(), 1);
        EXPECT_EQ(doc->graphSettings[0], mended);
    }

    // An analysis none of whose data columns is left has nothing to draw: it is named, with
    // its columns, rather than shown empty.
    copyFolder(base, dir.filePath("allGone.vlbdoc"));
    write("allGone.vlbdoc/tableString.txt", "Size\tMass\tSex\tSite\tNote\n170\t60\tM\tnorth\ta\n");
    ASSERT_TRUE(reopen(dir.filePath("allGone.vlbdoc")));
    EXPECT_EQ(alerts(), QStringList{"This analysis of the document \u201callGone.vlbdoc\u201d could not be read and was left "
                                    "out: \u201cDots\u201d (graph0.xml; columns: \u201cHeight\u201d, \u201cWeight\u201d)."});
    EXPECT_TRUE(doc->graphSettings.isEmpty());
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

namespace {

// What a dot path draws, told from its points: "circle" (made of curves), "diamond" (four
// corners, each on an axis through the dot's centre), "empty", or "other".
QString shapeOf(const BezierPath& path)
{
    const QPainterPath& p = path.painterPath();
    if (p.isEmpty())
        return "empty";
    QVector<QPointF> corners;
    for (int i = 0; i < p.elementCount(); ++i) {
        const QPainterPath::Element e = p.elementAt(i);
        if (e.isCurveTo())
            return "circle";
        const QPointF at(e.x, e.y);
        if (std::none_of(corners.cbegin(), corners.cend(), [&](const QPointF& c) { return QLineF(c, at).length() < 1e-9; }))
            corners << at;
    }
    const bool onAxes = std::all_of(corners.cbegin(), corners.cend(),
                                    [](const QPointF& c) { return std::abs(c.x()) < 1e-9 || std::abs(c.y()) < 1e-9; });
    return corners.size() == 4 && onAxes ? "diamond" : "other";
}

} // namespace

// Dot types stored in the forms the layout reads open as they are, without a word, and are
// drawn as stored: a dot series with only the older key "type" (also beside a "dotType" that
// is text), an outlier series whose type is a decimal string. A type that the layout cannot
// read takes its default, and the message names the series as the settings outline does.
TEST_F(HostilePackage, DotTypesOpenAsTheLayoutReadsThem)
{
    // One outlier in each category, so that the boxplot draws outlier dots.
    import("Height,Sex\n170,M\n171,M\n172,M\n173,M\n174,M\n250,M\n160,F\n161,F\n162,F\n163,F\n164,F\n90,F\n");
    makeAnalysis(kDots, {"Height"}, {"Sex"});
    makeAnalysis("Boxes", {"Height"}, {"Sex"}, "boxplot");
    const QString base = dir.filePath("Types.vlbdoc");
    ASSERT_TRUE(controller->saveAs(doc, base));
    const QVariantMap saved[2] = {doc->graphSettings.at(0), doc->graphSettings.at(1)};
    // The series are the entries of the last category level.
    const QVariant lastLevel = saved[0].value("categoryDicts").toList().last();
    const QString seriesNames[2] = {dig(lastLevel, {"represents", "#0", "origName"}).toString(),
                                    dig(lastLevel, {"represents", "#1", "origName"}).toString()};
    const QString glyph = delegate.defaultDots[0].toMap().value("fontKey").toString();
    const QByteArray garbage("not a keyed archive");
    const QString one = "Settings of this analysis of the document \u201c%1\u201d were missing or could not be used, and "
                        "were set to their defaults: \u201c%2\u201d (%3).";

    using Edit = std::function<void(QVariant&)>;
    auto set = [](QStringList path, QVariant value) -> Edit { return [=](QVariant& s) { put(s, path, value); }; };
    auto both = [](Edit a, Edit b) -> Edit { return [=](QVariant& s) { a(s); b(s); }; };
    const Edit noDotType = [](QVariant& s) { put(s, {"dotsProperties", "#0", "dotType"}, QVariant()); };
    // The graph (0 the dot plot, 1 the boxplot), what is done to it, the settings named in the
    // message (none: no message, and the settings open exactly as stored), a value of the
    // opened settings, and how series `series` is drawn.
    const struct {
        const char* name;
        int graph;
        Edit edit;
        QString named;
        QStringList path;
        QVariant expected;
        int series;
        QString drawn;
    } cases[] = {
        {"olderKey", 0, both(noDotType, set({"dotsProperties", "#0", "type"}, qint64(2))), "",
         {"dotsProperties", "#0", "type"}, qint64(2), 0, "diamond"},
        {"olderKeyAsText", 0, both(noDotType, set({"dotsProperties", "#0", "type"}, "2")), "",
         {"dotsProperties", "#0", "type"}, "2", 0, "diamond"},
        {"olderKeyBesideText", 0,
         both(set({"dotsProperties", "#0", "dotType"}, "6"), set({"dotsProperties", "#0", "type"}, qint64(2))), "",
         {"dotsProperties", "#0", "dotType"}, "6", 0, "diamond"},
        {"outlierGlyphAsText", 1, set({"boxesProperties", "#0", "dotType"}, "6"), "", {"boxesProperties", "#0", "dotType"},
         "6", 0, "glyph"},
        {"outlierDiamondAsText", 1, set({"boxesProperties", "#1", "dotType"}, " 2 "), "",
         {"boxesProperties", "#1", "dotType"}, " 2 ", 1, "diamond"},
        // What the layout cannot read.
        {"textAlone", 0, set({"dotsProperties", "#0", "dotType"}, "2"), "Dot Series 0 dotType",
         {"dotsProperties", "#0", "dotType"}, delegate.defaultDots[0].toMap().value("dotType"), 0, "circle"},
        {"olderKeyNotANumber", 0, both(noDotType, set({"dotsProperties", "#0", "type"}, "two")), "Dot Series 0 dotType",
         {"dotsProperties", "#0", "dotType"}, delegate.defaultDots[0].toMap().value("dotType"), 0, "circle"},
        {"olderKeyPastBounds", 0, both(noDotType, set({"dotsProperties", "#0", "type"}, qint64(-3))),
         "Dot Series 0 dotType", {"dotsProperties", "#0", "dotType"}, delegate.defaultDots[0].toMap().value("dotType"), 0,
         "circle"},
        {"outlierNotANumber", 1, set({"boxesProperties", "#0", "dotType"}, "6 dots"), "Box Series 0 dotType",
         {"boxesProperties", "#0", "dotType"}, delegate.defaultBoxes[0].toMap().value("dotType"), 0, "circle"},
        {"outlierPastBounds", 1, set({"boxesProperties", "#1", "dotType"}, "9"), "Box Series 1 dotType",
         {"boxesProperties", "#1", "dotType"}, delegate.defaultBoxes[1].toMap().value("dotType"), 1, "circle"},
        {"outlierColour", 1, set({"boxesProperties", "#1", "dotFillColor"}, garbage), "Box Series 1 dotFillColor",
         {"boxesProperties", "#1", "dotFillColor"}, delegate.defaultBoxes[1].toMap().value("dotFillColor"), 1, "circle"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString name = QString(c.name) + ".vlbdoc", path = dir.filePath(name);
        copyFolder(base, path);
        const QString plist = QStringLiteral("/graph/graph%1.plist").arg(c.graph);
        QVariant settings = PropertyList::fromData(readAll(path + plist));
        c.edit(settings);
        write(name + plist, PropertyList::toXml(settings));

        ASSERT_TRUE(reopen(path));
        const QString title = c.graph ? "Boxes" : kDots;
        EXPECT_EQ(alerts(), c.named.isEmpty() ? QStringList() : QStringList{one.arg(name, title, c.named)});
        ASSERT_EQ(doc->graphSettings.size(), 2);
        if (c.named.isEmpty()) {
            EXPECT_EQ(doc->graphSettings[c.graph], settings.toMap());
        }
        EXPECT_EQ(dig(doc->graphSettings[c.graph], c.path), c.expected);

        // Drawn as the type says: a path of that shape, or the glyph text in place of shapes.
        MyDocumentWindows::showGraphWindow(*doc, c.graph);
        if (!c.named.isEmpty()) {
            // The series named as its row in the settings outline shows it.
            MyWindowController* g = doc->graphWindowConts[c.graph];
            const QModelIndex row = qobject_cast<MyOutlineModel*>(g->configOlv->model())
                                        ->indexOf(settingsRow(g, c.path.mid(0, 2)), 0);
            EXPECT_EQ(row.data().toString() + ' ' + c.path.last(), c.named);
        }
        const MyViewManager* vm = doc->graphWindowConts[c.graph]->viewManager;
        const QString dot = "dot\t" + seriesNames[c.series];
        if (c.drawn == "glyph") {
            const std::shared_ptr<MyStorageItem> item = vm->storageItemDict.value(dot);
            ASSERT_TRUE(item && item->textStorage);
            EXPECT_TRUE(item->visible);
            EXPECT_EQ(item->textStorage->toPlainText(), glyph);
            EXPECT_EQ(item->textStorage->textViews().size(), 1) << "one outlier";
            EXPECT_FALSE(vm->viewVisible.value(dot, false));
        } else {
            EXPECT_TRUE(vm->viewVisible.value(dot, false));
            EXPECT_EQ(vm->viewsDict.value(dot).size(), c.graph ? 1 : 6);
            EXPECT_EQ(shapeOf(vm->viewBezier.value(dot)), c.drawn);
            EXPECT_FALSE(vm->storageItemDict.value(dot) && vm->storageItemDict.value(dot)->visible);
        }

        // Saved and opened again, the same settings, and nothing said.
        const QVariantMap opened = doc->graphSettings[c.graph];
        ASSERT_TRUE(controller->save(doc));
        ASSERT_TRUE(reopen(path));
        EXPECT_EQ(alerts(), QStringList());
        ASSERT_EQ(doc->graphSettings.size(), 2);
        EXPECT_EQ(doc->graphSettings[c.graph], opened);
    }
}

// Documents saved when "170,5" was read as 170: a data column with some decimal commas keeps
// its other values; an analysis whose data columns hold nothing but decimal commas has no
// values left and is left out with a word, rather than drawn from made-up numbers.
TEST_F(HostilePackage, AnAnalysisOnDecimalCommasKeepsOnlyItsValues)
{
    import(kSampleTable);
    makeAnalysis(kDots, {"Height", "Weight"}, {"Sex"});
    const QString base = dir.filePath("Points.vlbdoc");
    ASSERT_TRUE(controller->saveAs(doc, base));
    const char* head = "Height\tWeight\tSex\tSite\tNote\n";
    for (const bool allCommas : {false, true}) {
        SCOPED_TRACE(allCommas ? "all commas" : "some commas");
        const QString name = allCommas ? "Commas.vlbdoc" : "Some.vlbdoc";
        copyFolder(base, dir.filePath(name));
        write(name + "/tableString.txt", QByteArray(head) + (allCommas ? "170,5\t60,5\tM\tnorth\ta\n160,5\t55,5\tF\tsouth\tb\n"
                                                                        : "170,5\t60\tM\tnorth\ta\n160\t55,5\tF\tsouth\tb\n"));
        ASSERT_TRUE(reopen(dir.filePath(name)));
        if (allCommas) {
            EXPECT_EQ(alerts(), QStringList{"An analysis of this document could not be rebuilt and was left out."});
            EXPECT_TRUE(doc->graphSettings.isEmpty());
            continue;
        }
        EXPECT_TRUE(alerts().isEmpty());
        ASSERT_EQ(doc->graphSettings.size(), 1);
        MyDocumentWindows::showGraphWindow(*doc, 0);
        const MyViewManager* vm = doc->graphWindowConts.value(0) ? doc->graphWindowConts[0]->viewManager : nullptr;
        ASSERT_TRUE(vm);
        EXPECT_EQ(vm->values.value(QString()), (std::vector<double>{60, 160}));
        EXPECT_EQ(vm->values.value("Height"), (std::vector<double>{160}));
    }
}
