#include "outline/MySelectorRootItem.h"
#include "app/AppDelegate.h"
#include "document/Document.h"

const QString MySelectorRootItem::lastAnalysisOpen = "You have not create a graph for the last analysis";
const QString MySelectorRootItem::noDataColumn = "At least one data column is required";
const QString MySelectorRootItem::noFirstLevel = "No Columns in the first level";
const QString MySelectorRootItem::noValidValues = "No valid values in this column";

MySelectorRootItem::MySelectorRootItem(MyWindowController* windowCont, Document* document)
    : MySelectorItem("rootItem", nullptr), myDoc(document), m_windowCont(windowCont)
{
}

MySelectorRootItem::Hooks& MySelectorRootItem::hooks()
{
    static Hooks shared;
    return shared;
}

Document* MySelectorRootItem::document() const
{
    if (myDoc)
        return myDoc;
    return hooks().documentOf ? hooks().documentOf(m_windowCont) : nullptr;
}

bool MySelectorRootItem::allowEditOutlineItem(const MySelectorItem* item, qint64 level, qint64 columnIdentifier) const
{
    if (!item)
        return false;
    const qint64 l = level;
    const qint64 c = columnIdentifier;
    if (item->editting) {
        if (l == 0 && c == 0)
            return true;
        if (c == 1 && l == 1 && item->title == "graphType")
            return true;
        if (c == 1 && l == 3)
            return true;
        if (c == 3 && l == 3) {
            const MyOutlineItem* column = item->parentItem();
            const MyOutlineItem* group = column ? column->parentItem() : nullptr;
            return group && group->title == "Categorizing";
        }
        if (c == 2 && l <= 2 && item->title != "graphType")
            return true;
        if (c >= 4 && l == 0) {
            const MySelectorItem* data = item->childTitle("DataColumns");
            const MyOutlineItem* first = item->childAt(1);
            return data && data->hasChildren() && first && first->hasChildren();
        }
        return false;
    }
    if (l != 0)
        return false;
    if (c >= 4)
        return true;
    if (c == 2) {
        const MyOutlineItem* parent = item->parentItem();
        const auto* last = parent ? dynamic_cast<const MySelectorItem*>(parent->childAt(parent->childCount() - 1)) : nullptr;
        return last && !last->editting;
    }
    return false;
}

QString MySelectorRootItem::emptyColumnRefusal(const MySelectorItem* analysis)
{
    // A data column without a single number, or a categorizing column with every category
    // unticked, would reach the analysis builder with nothing to draw.
    if (const MySelectorItem* data = analysis->childTitle("DataColumns")) {
        for (const MySelectorItem* column : data->selectorChildren()) {
            bool any = false;
            for (const MySelectorItem* represent : column->selectorChildren())
                any = any || validValueCount(represent->data2) > 0;
            if (!any)
                return noValidValues;
        }
    }
    if (const MySelectorItem* categorizing = analysis->childTitle("Categorizing")) {
        for (const MySelectorItem* column : categorizing->selectorChildren()) {
            bool any = false;
            for (const MySelectorItem* represent : column->selectorChildren())
                any = any || represent->type == "YES";
            if (!any)
                return noValidValues;
        }
    }
    return QString();
}

std::optional<qint64> MySelectorRootItem::validateSelection(MySelectorItem* analysis)
{
    if (!analysis || analysis->parentItem() != this)
        return std::nullopt;
    Document* doc = document();
    // The document's shared alert; the application's when there is no document yet.
    Alert* alert = doc && doc->ourAlert ? doc->ourAlert : (AppDelegate::shared() ? &AppDelegate::shared()->alert : nullptr);
    auto refuse = [alert](const QString& text) -> std::optional<qint64> {
        if (alert) {
            alert->setMessageText(text);
            alert->runModal();
        }
        return std::nullopt;
    };

    const qint64 position = analysis->index();
    if (position >= 1) {
        const MySelectorItem* previous = selectorChildAt(int(position - 1));
        if (previous && previous->editting)
            return refuse(lastAnalysisOpen);
    }
    const MySelectorItem* data = analysis->childTitle("DataColumns");
    if (!data || !data->hasChildren())
        return refuse(noDataColumn);
    const MyOutlineItem* first = analysis->childAt(1);
    if (!first || !first->hasChildren())
        return refuse(noFirstLevel);
    if (!analysis->editting)
        return position;
    const QString empty = emptyColumnRefusal(analysis);
    if (!empty.isEmpty())
        return refuse(empty);
    // Without a document there is no table to count against and no graph to make.
    if (!doc)
        return std::nullopt;

    QVector<qint64> used;
    for (const MySelectorItem* group : analysis->selectorChildren())
        for (const MySelectorItem* column : group->selectorChildren())
            if (const qint64 at = doc->indexOfVariables(column->title); at >= 0)
                used.append(at);
    for (qint64 at : used)
        doc->changeColumnCounter(at, 1);
    const qsizetype graphsBefore = doc->graphSettings.size();
    if (hooks().newGraph)
        hooks().newGraph(*doc, *analysis);
    if (doc->graphSettings.size() <= graphsBefore) {
        // No graph was made (the new-graph path said why): there is nothing to show, and
        // the columns are not in use after all.
        for (qint64 at : used)
            doc->changeColumnCounter(at, -1);
        return std::nullopt;
    }
    if (hooks().setDocumentEdited)
        hooks().setDocumentEdited(m_windowCont);
    return position;
}
