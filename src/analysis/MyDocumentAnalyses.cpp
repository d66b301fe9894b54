#include "analysis/MyDocumentAnalyses.h"
#include "analysis/MyAnalysisBuilder.h"
#include "analysis/MyAnalysisXml.h"
#include "analysis/MyGraphSettingsBuilder.h"
#include "analysis/MyGraphSettingsKeeper.h"
#include "analysis/MyGraphSettingsRepair.h"
#include "document/Document.h"
#include "document/DocumentHooks.h"
#include "outline/MySelectorRootItem.h"

namespace {

class DocumentTable : public MyAnalysisXml::Table {
public:
    explicit DocumentTable(const Document& doc) : m_doc(doc) {}
    int indexOfVariables(const QString& title) const override { return int(m_doc.indexOfVariables(title)); }
    std::pair<QStringList, QVector<QVector<qint64>>> categoriesOfVariable(int column) const override
    {
        Document::Categories c = m_doc.categoriesOfVariable(m_doc.variables.value(column));
        return {c.values, c.rows};
    }
    QVector<std::optional<double>> numericValuesOfVariable(int column) const override
    {
        return m_doc.numericValuesOfVariable(m_doc.variables.value(column)).values;
    }
    int dataRowCount() const override { return m_doc.tableMatrix.row > 0 ? int(m_doc.tableMatrix.row - 1) : 0; }

private:
    const Document& m_doc;
};

// The table as far as the titles of its columns go.
class TitlesOnly : public MyAnalysisXml::Table {
public:
    explicit TitlesOnly(const Document& doc) : m_doc(doc) {}
    int indexOfVariables(const QString& title) const override { return int(m_doc.indexOfVariables(title)); }
    std::pair<QStringList, QVector<QVector<qint64>>> categoriesOfVariable(int) const override { return {}; }
    QVector<std::optional<double>> numericValuesOfVariable(int) const override { return {}; }
    int dataRowCount() const override { return 0; }

private:
    const Document& m_doc;
};

// f applied to the current settings of graphID; nothing for a graph that does not exist.
template <class F>
auto withStored(const Document& doc, qint64 graphID, F f) -> decltype(f(QVariantMap()))
{
    if (graphID < 0 || graphID >= doc.graphSettings.size())
        return std::nullopt;
    return f(doc.graphSettings[graphID]);
}

} // namespace

MyDocumentAnalyses::MakeGraphWindows& MyDocumentAnalyses::makeGraphWindows()
{
    static MakeGraphWindows hook;
    return hook;
}

void MyDocumentAnalyses::registerHooks()
{
    DocumentHooks::shared().regenerateGraphSettings = &MyDocumentAnalyses::regenerateGraphSettings;
    DocumentHooks::shared().inspectAnalysis = [](Document& doc, const QString& xml) {
        return inspectAnalysis(doc, xml);
    };
    DocumentHooks::shared().checkGraphSettings =
        [](const Document& doc, const QVariantMap& settings, const QString& graphType,
           const std::function<std::optional<QVariantMap>()>& fresh) -> std::optional<DocumentHooks::CheckedSettings> {
        if (!doc.ourDelegate())
            return DocumentHooks::CheckedSettings{settings, {}, {}};
        // Values missing from an older document are the upgrade's to fill, when the windows
        // are made: it keeps its own message for them.
        auto checked = MyGraphSettingsRepair::repaired(*doc.ourDelegate(), settings, graphType, fresh, !doc.isOlderVersion());
        if (!checked)
            return std::nullopt;
        return DocumentHooks::CheckedSettings{checked->settings, checked->repaired, checked->rebuilt};
    };
    MySelectorRootItem::hooks().newGraph = [](Document& doc, MySelectorItem& analysis) {
        QString error;
        if (!graphFromNewItem(doc, &analysis, &error) && doc.ourAlert) {
            doc.ourAlert->setMessageText(error);
            doc.ourAlert->runModal();
        }
    };
}

std::optional<qint64> MyDocumentAnalyses::graphFromNewItem(Document& doc, MySelectorItem* item, QString* error)
{
    AppDelegate* app = doc.ourDelegate();
    const std::optional<QString> xml = MyAnalysisXml::xmlFromItem(item);
    if (!app || !xml) {
        if (error)
            *error = QStringLiteral("The analysis has no graph type");
        return std::nullopt;
    }
    const Rect page = doc.imageablePageBounds();
    // Building the analysis ends its editing state; an analysis that gets no graph stays
    // in it, so it can still be changed or deleted and keeps the next one from starting.
    const bool editting = item->editting;
    auto refused = [&]() -> std::optional<qint64> {
        item->changeEditting(editting);
        return std::nullopt;
    };
    auto graph = MyGraphSettingsBuilder::graphSettingsFromSelection(*app, page.width(), page.height(), item, error);
    if (!graph)
        return refused();
    const qint64 graphID = doc.appendAnalysis(graph->settings, *xml, doc.newStatsRecord());
    if (const MakeGraphWindows& make = makeGraphWindows()) {
        if (!make(doc, graphID, graph->analysis)) {
            // Every list keeps one entry per analysis that has its windows.
            doc.removeAnalysis(graphID);
            if (error)
                *error = QStringLiteral("The graph of this analysis could not be made.");
            return refused();
        }
    }
    return graphID;
}

std::optional<DocumentHooks::StoredAnalysis> MyDocumentAnalyses::inspectAnalysis(const Document& doc, const QString& xml)
{
    MySelectorItem root(QStringLiteral("rootItem"), nullptr);
    // Only the column titles are looked up: no values are read for this.
    const MySelectorItem* item = MyAnalysisXml::outlineItemFromXLMWithXmlString(xml, &root, TitlesOnly(doc), nullptr);
    if (!item)
        return std::nullopt;
    DocumentHooks::StoredAnalysis out;
    out.title = item->title;
    if (const MySelectorItem* type = item->childTitle(QStringLiteral("graphType")))
        out.graphType = type->message;
    for (const MySelectorItem* group : item->selectorChildren()) {
        if (group->title == QLatin1String("graphType"))
            continue;
        for (const MySelectorItem* column : group->selectorChildren()) {
            const bool found = doc.indexOfVariables(column->title) >= 0;
            if (!found && !out.missingColumns.contains(QStringLiteral("“%1”").arg(column->title)))
                out.missingColumns << QStringLiteral("“%1”").arg(column->title);
        }
    }
    // Columns gone from the table leave an analysis without values, which is kept; only
    // one that lacks its parts yields none.
    out.drawable = MyAnalysisBuilder::structureError(item).isEmpty();
    out.cutOff = MyAnalysisXml::isCutOff(xml);
    return out;
}

MySelectorItem* MyDocumentAnalyses::outlineItemFromXLMWithXmlString(Document& doc, const QString& xml,
                                                                    MySelectorItem* root)
{
    QVector<int> used;
    MySelectorItem* item = MyAnalysisXml::outlineItemFromXLMWithXmlString(xml, root, DocumentTable(doc), &used);
    for (int column : used)
        doc.changeColumnCounter(column, 1);
    return item;
}

std::optional<QVariantMap> MyDocumentAnalyses::regenerateGraphSettings(Document& doc, const QString& xml,
                                                                       double width, double height)
{
    AppDelegate* app = doc.ourDelegate();
    if (!app)
        return std::nullopt;
    MySelectorItem root(QStringLiteral("rootItem"), nullptr);
    MySelectorItem* item = MyAnalysisXml::outlineItemFromXLMWithXmlString(xml, &root, DocumentTable(doc), nullptr);
    if (!item)
        return std::nullopt;
    // A stored analysis keeps its place even when its cells hold no number now.
    auto graph = MyGraphSettingsBuilder::graphSettingsFromSelection(*app, width, height, item, nullptr,
                                                                    MyAnalysisBuilder::NoValues::Built);
    if (!graph)
        return std::nullopt;
    return graph->settings;
}

std::optional<QVariantList> MyDocumentAnalyses::fixedDotsOrBoxesProperties(const Document& doc,
                                                                          const std::optional<QVariantList>& properties,
                                                                          const QString& graphType, qint64 graphID)
{
    return withStored(doc, graphID, [&](const QVariantMap& stored) {
        return MyGraphSettingsKeeper::fixedDotsOrBoxesProperties(properties, graphType, stored);
    });
}

std::optional<QVariantList> MyDocumentAnalyses::fixedCategoryDicts(const Document& doc,
                                                                  const QVariantList& categoryDicts,
                                                                  const MyConfigItem* row, qint64 graphID)
{
    return withStored(doc, graphID, [&](const QVariantMap& stored) {
        return MyGraphSettingsKeeper::fixedCategoryDicts(categoryDicts, row, stored);
    });
}

std::optional<QVariantMap> MyDocumentAnalyses::fixedCategoryDict(const Document& doc, const QVariantMap& categoryDict,
                                                                 const MyConfigItem* row, qint64 graphID)
{
    return withStored(doc, graphID, [&](const QVariantMap& stored) {
        return MyGraphSettingsKeeper::fixedCategoryDict(categoryDict, row, stored);
    });
}

std::optional<QVariantList> MyDocumentAnalyses::fixedRepresents(const Document& doc, const QVariantList& represents,
                                                               const MyConfigItem* row, qint64 graphID)
{
    return withStored(doc, graphID, [&](const QVariantMap& stored) {
        return MyGraphSettingsKeeper::fixedRepresents(represents, row, stored);
    });
}

std::pair<QVariant, MyConfigItem*> MyDocumentAnalyses::viewSizeFromPageLayout(const Document& doc,
                                                                              const QVariant& value, MyConfigItem* row)
{
    const Rect page = doc.imageablePageBounds();
    return MyGraphSettingsKeeper::viewSizeFromPageLayout(value, row, page.width(), page.height());
}

void MyDocumentAnalyses::fixedEditStatus(Document& doc)
{
    UndoBridge* undo = doc.undoManager();
    // Undo and redo leave the change count as the first run left it: the results are kept
    // either way, so the document must not turn clean.
    undo->pushDone(QStringLiteral("Add Normality Stats"), [undo](int step) { undo->setChangeCount(undo->changeCount() - step); });
}
