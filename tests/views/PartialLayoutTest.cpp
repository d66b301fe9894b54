// Every settings row of both graph types changed once: only the layout steps the setting
// feeds run (a table written by hand below, so a wrong bit in configRes.plist or in the
// driver shows), and what they leave equals a full layout of the new settings. Undoing the
// change lays out again what the row selects and gives back the first drawing.
#include "EditFixture.h"
#include "outline/MyOutlineTexts.h"
#include "platform/KeyedArchive.h"
#include "platform/NumberText.h"
#include <map>

namespace {

// A different value of the same kind, as a user could type or choose it.
QVariant changedValue(const MyConfigItem* r)
{
    const QVariant v = r->object();
    if (r->type == "dict") {
        QVariantMap m = v.toMap();
        for (const MyConfigItem* c : r->configChildren())
            if (c->title != "origName" && c->title != "categoryTitle" && c->title != "followPageLayout"
                && c->title != "logarithmic")
                m[c->title] = changedValue(c);
        return m;
    }
    if (r->type == "array") {
        QVariantList l = v.toList();
        const QList<MyConfigItem*> rows = r->configChildren();
        for (int i = 0; i < rows.size(); ++i)
            l[i] = changedValue(rows[i]);
        return l;
    }
    if (r->type == "Bool")
        return !v.toBool();
    if (r->type == "integer") {
        const qint64 n = v.toLongLong() + 1;
        return qint64(r->maxVal && n > *r->maxVal ? n - 2 : n);
    }
    if (r->type2 == "color") {
        const Color c = KeyedArchive::unarchiveColor(v.toByteArray()).value_or(Color());
        return KeyedArchive::archiveColor(Color::rgb(1 - c.red(), 0.5, 1 - c.blue(), 1));
    }
    if (r->type2 == "attributes") {
        TextAttributes a = KeyedArchive::unarchiveAttributes(v.toByteArray()).value_or(TextAttributes());
        if (a.font)
            a.font->size += 3;
        a.color = Color::rgb(0.8, 0.1, 0.2);
        return KeyedArchive::archiveAttributes(a);
    }
    if (r->title == "min")
        return NumberText::realString(NumberText::doubleValue(r->message) - 2);
    if (r->title == "max")
        return NumberText::realString(NumberText::doubleValue(r->message) * 2);
    if (r->type2 == "scale") {   // a label: moved within the axis
        const MyConfigItem* axis = r->configParent()->configParent();
        const double x = NumberText::doubleValue(r->message);
        return NumberText::realString(x < NumberText::doubleValue(axis->childTitle("max")->message) ? x + 0.5 : x - 0.5);
    }
    if (r->type2 == "number") {
        double x = NumberText::doubleValue(r->message) * 1.25 + 1;
        if (r->maxVal && x >= *r->maxVal)
            x = (NumberText::doubleValue(r->message) + r->minVal.value_or(0)) / 2;
        return NumberText::realString(x);
    }
    if (r->title == "fontKey")
        return QString("✚");
    return r->message + " x^{2}";
}

// The steps a change of each row lays out again, worked out by hand from the layout steps
// that read the setting and the steps that use what those leave (graphRect places the axes
// and every rectangle beside them; the texts' steps place their own rectangles; a container
// row lays out what its rows do). Only the steps this test's generator records are listed,
// in the order they run; the plot step of the graph type follows whenever any step runs,
// also for a setting only the plot step reads (""). "-": nothing is laid out.
// Rows of the value settings are checked by the full layout only: what an edit there lays
// out depends on whether the axis check replaces the labels.
const std::map<QString, QString> kStepsOfRow{
    {"graphTitle", "-"},
    {"dotsProperties", ""}, {"dotsProperties > *", ""}, {"dotsProperties > * > dotType", ""},
    {"dotsProperties > * > dotSize", ""}, {"dotsProperties > * > fillColor", ""}, {"dotsProperties > * > lineColor", ""},
    {"dotsProperties > * > lineWidth", ""}, {"dotsProperties > * > betweenDots", ""}, {"dotsProperties > * > fontKey", ""},
    {"dotsProperties > * > dotAttr", ""}, {"dotsProperties > * > type", ""},
    {"boxesProperties", ""}, {"boxesProperties > *", ""}, {"boxesProperties > * > boxFillColor", ""},
    {"boxesProperties > * > boxLineColor", ""}, {"boxesProperties > * > minMaxLineColor", ""},
    {"boxesProperties > * > dotType", ""}, {"boxesProperties > * > dotSize", ""}, {"boxesProperties > * > dotFillColor", ""},
    {"boxesProperties > * > dotLineColor", ""}, {"boxesProperties > * > dotLineWidth", ""},
    {"boxesProperties > * > fontKey", ""}, {"boxesProperties > * > dotAttr", ""}, {"boxesProperties > * > type", "-"},
    {"categoryDicts", "horizontalGaps graphRect xAxis xTexts nameTags xTextsRect yAxis scaleTextRects yTitleTextRect"},
    {"categoryDicts > *", "horizontalGaps graphRect xAxis xTexts nameTags xTextsRect yAxis scaleTextRects yTitleTextRect"},
    {"categoryDicts > * > represents", "horizontalGaps graphRect xAxis xTexts nameTags xTextsRect yAxis scaleTextRects yTitleTextRect"},
    {"categoryDicts > * > represents > *", "xTexts nameTags xTextsRect"},
    {"categoryDicts > * > represents > * > represent", "xTexts xTextsRect"},
    {"categoryDicts > * > xTitleAttr", "xTexts xTextsRect"},
    {"categoryDicts > * > verticalGap", "xTextsRect"},
    {"categoryDicts > * > horizontalGap", "horizontalGaps graphRect xAxis xTextsRect yAxis scaleTextRects yTitleTextRect"},
    {"graphProperties", "background graphRect xAxis xTextsRect yAxis scaleTexts scaleTextRects yTitleText yTitleTextRect"},
    {"graphProperties > yAxis", "yAxis scaleTexts scaleTextRects yTitleText yTitleTextRect"},
    {"graphProperties > yAxis > titleText", "yTitleText yTitleTextRect"},
    {"graphProperties > yAxis > titleVisible", "yTitleText yTitleTextRect"},
    {"graphProperties > yAxis > titleTextAttr", "yTitleText yTitleTextRect"},
    {"graphProperties > yAxis > scaleVisible", "scaleTexts scaleTextRects yTitleTextRect"},
    {"graphProperties > yAxis > scaleTextAttr", "scaleTexts scaleTextRects yTitleTextRect"},
    {"graphProperties > yAxis > axisWidth", "yAxis"}, {"graphProperties > yAxis > lineColor", "yAxis"},
    {"graphProperties > yAxis > tickLength", "yAxis scaleTextRects yTitleTextRect"},
    {"graphProperties > yAxis > tickWidth", "yAxis"},
    {"graphProperties > yAxis > scaleGap", "scaleTextRects yTitleTextRect"},
    {"graphProperties > yAxis > titleGap", "yTitleTextRect"}, {"graphProperties > yAxis > titleRotation", "yTitleTextRect"},
    {"graphProperties > xAxis", "xAxis xTextsRect"}, {"graphProperties > xAxis > axisWidth", "xAxis"},
    {"graphProperties > xAxis > lineColor", "xAxis"}, {"graphProperties > xAxis > tickLength", "xAxis xTextsRect"},
    {"graphProperties > xAxis > tickWidth", "xAxis"},
    {"graphProperties > graphRect", "graphRect xAxis xTextsRect yAxis scaleTextRects yTitleTextRect"},
    {"graphProperties > graphRect > height", "graphRect xAxis xTextsRect yAxis scaleTextRects yTitleTextRect"},
    {"graphProperties > graphRect > columnWidth", "graphRect xAxis xTextsRect yAxis scaleTextRects yTitleTextRect"},
    {"graphProperties > graphRect > graphRectWidth", "graphRect xAxis xTextsRect yAxis scaleTextRects yTitleTextRect"},
    {"graphProperties > graphRect > lineWidth", "graphRect"}, {"graphProperties > graphRect > lineColor", "graphRect"},
    {"graphProperties > graphRect > fillColor", "graphRect"},
    {"graphProperties > bars", ""}, {"graphProperties > bars > barType", ""}, {"graphProperties > bars > barLength", ""},
    {"graphProperties > bars > lineWidth", ""}, {"graphProperties > bars > barColor", ""},
    {"graphProperties > boxes", ""}, {"graphProperties > boxes > boxWidth", ""},
    {"graphProperties > boxes > boxLineWidth", ""}, {"graphProperties > boxes > medianLineWidth", ""},
    {"graphProperties > boxes > medianLineColor", ""}, {"graphProperties > boxes > whiskerWidth", ""},
    {"graphProperties > boxes > minMaxLength", ""}, {"graphProperties > boxes > minMaxWidth", ""},
    {"graphProperties > background", "background"}, {"graphProperties > background > followPageLayout", "-"},
    {"graphProperties > background > viewWidth", "background"}, {"graphProperties > background > viewHeight", "background"},
    {"graphProperties > background > color", "background"},
};

} // namespace

class PartialLayout : public EditFixture {
protected:
    void SetUp() override { EditFixture::SetUp(); addTwoGraphs(); }
    static QStringList expectedSteps(const Graph& g, const MyConfigItem* r)
    {
        QStringList path = r->itemID.split('\t');
        for (QString& key : path)
            if (key.isEmpty())
                key = "*";   // an element of an array
        const auto it = kStepsOfRow.find(path.join(" > "));
        if (it == kStepsOfRow.end()) {
            ADD_FAILURE() << "no expected steps written for this row";
            return {};
        }
        if (it->second == "-")
            return {};
        return it->second.split(' ', Qt::SkipEmptyParts) << (g.vm->graphType == "scatter" ? "scatter" : "boxplot");
    }

    void changeEveryRow(Graph& g)
    {
        const QStringList firstDrawing = drawnState(*g.vm);
        const QImage firstImage = drawnImage(*g.vm);
        int changed = 0;
        QStringList paths;
        for (MyConfigItem* r : allRows(g.root.get()))
            paths << r->itemID;
        for (int i = 0; i < paths.size(); ++i) {
            // Rows may have been rebuilt by earlier changes: take each by its position.
            MyConfigItem* r = allRows(g.root.get()).value(i);
            ASSERT_NE(r, nullptr);
            ASSERT_EQ(r->itemID, paths[i]);
            if (r->title == "origName" || r->title == "categoryTitle")
                continue;   // fixed: the analysis names them
            SCOPED_TRACE(QString(r->itemID).replace('\t', '/').toStdString());
            // A logarithmic axis needs a minimum above 0 first.
            const bool logarithmic = r->title == "logarithmic";
            if (logarithmic) {
                ASSERT_TRUE(g.vm->tryObject(QString("0.5"), row(g, {"valueSettings", "min"}), "Change Type"));
            }
            const QVariant value = changedValue(r);
            const int steps = undo().stack()->index();
            generator.calls.clear();
            const bool container = r->type == "dict" || r->type == "array";
            const bool written = r->type == "data" ? g.vm->changeRow(r, value, "Change Graph")
                                                   : g.vm->tryObject(value, r, container ? "Paste Settings" : "Change Type");
            if (!written) {
                ADD_FAILURE() << "refused";
                continue;
            }
            ++changed;
            ASSERT_EQ(undo().stack()->index(), steps + 1);
            if (!r->itemID.startsWith("valueSettings")) {
                EXPECT_EQ(generator.calls, expectedSteps(g, r));
            }

            const QStringList partial = drawnState(*g.vm);
            const QImage partialImage = drawnImage(*g.vm);
            const auto full = openGraph(g.cont->graphID, g.data);
            EXPECT_EQ(partial, drawnState(*full->vm));
            EXPECT_TRUE(partialImage == drawnImage(*full->vm));

            undo().undo();
            if (logarithmic)
                undo().undo();
            EXPECT_EQ(drawnState(*g.vm), firstDrawing) << "after undo";
            EXPECT_TRUE(drawnImage(*g.vm) == firstImage) << "after undo";
        }
        EXPECT_GT(changed, 40);
    }
};

TEST_F(PartialLayout, EveryRowOfADotPlot)
{
    changeEveryRow(*graphs[0]);
}

TEST_F(PartialLayout, EveryRowOfABoxplot)
{
    changeEveryRow(*graphs[1]);
}
