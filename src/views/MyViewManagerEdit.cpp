// Settings changes with undo: a typed or pasted value fitted to the graph and written, and
// every step of a graph's settings history applied to the tree, the windows, the selector
// tree, the analysis text and the layout.
#include "analysis/MyAnalysisXml.h"
#include "analysis/MyDocumentAnalyses.h"
#include "analysis/MyValueSettingsCheck.h"
#include "document/Document.h"
#include "outline/MyConfigRootItem.h"
#include "outline/MySelectorItem.h"
#include "platform/Dialogs.h"
#include "platform/KeyedArchive.h"
#include "views/GraphTextEditor.h"
#include "views/GraphWindowHooks.h"
#include "views/MyViewManager.h"
#include "views/SettingsRowPath.h"
#include "windows/MyWindowController.h"
#include <limits>

namespace {

const QString kOverwriteQuestion = QStringLiteral(
    "Do you want to overwrite the Settings of \"Values of Y-Axis\"?\nThese settings will not be overwritten in spite "
    "of this choice if not applicapable.");

bool isMap(const QVariant& v) { return v.typeId() == QMetaType::QVariantMap; }
bool isList(const QVariant& v) { return v.typeId() == QMetaType::QVariantList; }

QString seriesKeyOf(const QString& graphType)
{
    return graphType == QLatin1String("scatter") ? QStringLiteral("dotsProperties") : QStringLiteral("boxesProperties");
}

MyConfigItem* child(const MyConfigItem* row, const char* title)
{
    return row ? row->childTitle(QLatin1String(title)) : nullptr;
}

// The selector group that a category of the settings stands for: the data columns, or the
// categorizing column named by the category title without its "c_".
MySelectorItem* selectorGroup(MySelectorItem* analysis, const QString& categoryTitle)
{
    if (categoryTitle == QLatin1String("dataColumns"))
        return analysis->childTitle(QStringLiteral("DataColumns"));
    MySelectorItem* categorizing = analysis->childTitle(QStringLiteral("Categorizing"));
    return categorizing ? categorizing->childTitle(categoryTitle.mid(2)) : nullptr;
}

// Sets the display text of one represent in the selector tree: a data column's text is on
// its first child, a category value's on the value's own row.
void setShownText(MySelectorItem* group, bool dataColumns, const QString& origName, const QString& shown)
{
    MySelectorItem* item = group ? group->childTitle(origName) : nullptr;
    if (dataColumns)
        item = item ? item->selectorChildAt(0) : nullptr;
    if (item)
        item->message = shown;
}

} // namespace

MyConfigRootItem* MyViewManager::settingsRoot() const
{
    return myWindowCont ? dynamic_cast<MyConfigRootItem*>(myWindowCont->rootItem) : nullptr;
}

qint64 MyViewManager::graphID() const
{
    if (!myWindowCont || !myDoc)
        return -1;
    const qint64 id = myWindowCont->graphID;
    const bool known = id >= 0 && id < myDoc->graphSettings.size() && id < myDoc->historyOfGraphSettings.size()
        && id < myDoc->graphSettingsIndex.size();
    return known ? id : -1;
}

// ---- applying a history step --------------------------------------------------------------------

void MyViewManager::setGraphChange(int step, MyConfigItem* outlineItem, const QString& undoString)
{
    pushGraphChange(step, outlineItem, undoString, false);
}

void MyViewManager::pushGraphChange(int step, MyConfigItem* row, const QString& undoString, bool rowChangedOnly)
{
    const SettingsRowPath path = SettingsRowPath::of(row);
    const QPointer<MyViewManager> self(this);
    // After a row was written the tree holds the new snapshot already, and it differs from
    // the one before only below that row: undo and redo reload that row alone.
    auto run = [self, step, path, undoString, rowChangedOnly, first = rowChangedOnly](int direction) mutable {
        const Reload reload = first ? Reload::None : rowChangedOnly ? Reload::Row : Reload::Whole;
        first = false;
        // A graph whose windows have gone keeps no history to move.
        if (self)
            self->applyGraphChange(step * direction, path, undoString, reload);
    };
    if (myDoc)
        myDoc->undoManager()->push(undoString, run);
    else
        run(1);
}

namespace {

// The value at a row's path in a settings dictionary; invalid when the path leads nowhere.
QVariant valueAt(const QVariantMap& settings, const SettingsRowPath& path)
{
    const QStringList keys = path.itemID().split(QLatin1Char('\t'));
    QVariant v = settings;
    for (qsizetype depth = 0; depth < path.positions().size(); ++depth) {
        if (v.typeId() == QMetaType::QVariantList) {
            const QVariantList list = v.toList();
            const int at = path.positions()[depth];
            if (at < 0 || at >= list.size())
                return {};
            v = list[at];
        } else if (v.typeId() == QMetaType::QVariantMap && depth < keys.size()) {
            const QVariantMap map = v.toMap();
            if (!map.contains(keys[depth]))
                return {};
            v = map.value(keys[depth]);
        } else {
            return {};
        }
    }
    return v;
}

// node with the value at path replaced from the given depth down; false when the path
// leads nowhere.
bool replaceAt(QVariant& node, const QStringList& keys, const QVector<int>& positions, qsizetype depth,
               const QVariant& value)
{
    if (depth == positions.size()) {
        node = value;
        return true;
    }
    if (node.typeId() == QMetaType::QVariantList) {
        QVariantList list = node.toList();
        const int at = positions[depth];
        if (at < 0 || at >= list.size() || !replaceAt(list[at], keys, positions, depth + 1, value))
            return false;
        node = list;
        return true;
    }
    if (node.typeId() != QMetaType::QVariantMap || depth >= keys.size())
        return false;
    QVariantMap map = node.toMap();
    const auto it = map.find(keys[depth]);
    if (it == map.end() || !replaceAt(*it, keys, positions, depth + 1, value))
        return false;
    node = map;
    return true;
}

} // namespace

void MyViewManager::applyGraphChange(int step, const SettingsRowPath& path, const QString& undoString, Reload reload)
{
    MyConfigRootItem* root = settingsRoot();
    const qint64 id = graphID();
    if (!root || id < 0)
        return;
    const QVector<QVariantMap>& history = myDoc->historyOfGraphSettings.at(id);
    const qint64 to = myDoc->graphSettingsIndex.at(id) + step;
    if (to < 0 || to >= history.size())
        return;
    myDoc->graphSettingsIndex[id] = to;
    const QVariantMap settings = history.at(to);
    myDoc->graphSettings[id] = settings;

    MyConfigItem* row = path.find(root);
    GraphWindowHooks::inSettingsTreeChange(myWindowCont, [&] {
        const bool found = row->itemID == path.itemID();
        const bool loaded = (reload == Reload::None && found)
            || (reload == Reload::Row && found && row->setObject(valueAt(settings, path)));
        if (!loaded && !root->setObject(settings)) {
            // Not a snapshot of this tree's making: the rows are built anew, and the whole
            // graph is laid out from them.
            root->clearChildren();
            root->outlineItemFromSettings(settings);
            row = root;
            return;
        }
        if (!loaded)
            row = path.find(root);
        const QStringList keys = row->itemID.split(QLatin1Char('\t'));
        if ((keys.first() == QLatin1String("categoryDicts") && (keys.size() <= 2 || keys.last() == QLatin1String("represents")))
            || keys.last() == QLatin1String("dotsProperties"))
            row->reorder();
    });

    // The marks say whether the document has unsaved changes, whichever graph, table or
    // statistics made them.
    if (const auto& mark = GraphWindowHooks::shared().setDocumentEdited) {
        const bool edited = myDoc->isDocumentEdited();
        mark(myDoc->baseWindowCont, edited);
        mark(myWindowCont, edited);
    }

    if (undoString.endsWith(QLatin1String("Attributes")) || undoString.endsWith(QLatin1String("Font"))) {
        if (const auto& select = GraphWindowHooks::shared().setSelectedAttributes) {
            const QVariant data = row->object();
            std::optional<TextAttributes> attributes;
            if (data.typeId() == QMetaType::QByteArray)
                attributes = KeyedArchive::unarchiveAttributes(data.toByteArray());
            select(attributes.value_or(TextAttributes()));
        }
    }

    synchronizeSelector(row, root, id);
    setGraphWithOutlineItem(row);
    if (const auto& changed = GraphWindowHooks::shared().graphSettingsChanged)
        changed(*myDoc, id);
}

void MyViewManager::synchronizeSelector(MyConfigItem* row, MyConfigRootItem* root, qint64 id)
{
    const QStringList keys = row->itemID.split(QLatin1Char('\t'));
    const QString& k0 = keys.first();
    const bool whole = row == root;
    const bool title = k0 == QLatin1String("graphTitle");
    // The whole settings and all categories carry every category's represents; one
    // category or its represents list carry that category's.
    const bool everyCategory = whole || title || keys == QStringList{QStringLiteral("categoryDicts")};
    const bool oneCategory = keys == QStringList{QStringLiteral("categoryDicts"), QString()}
        || keys == QStringList{QStringLiteral("categoryDicts"), QString(), QStringLiteral("represents")};
    const bool oneLabel = k0 == QLatin1String("categoryDicts") && keys.size() >= 4;
    if (!everyCategory && !oneCategory && !oneLabel)
        return;

    MyWindowController* mainCont = myWindowCont->baseWinCont ? myWindowCont->baseWinCont : myDoc->baseWindowCont;
    auto* selectorRoot = mainCont ? dynamic_cast<MySelectorItem*>(mainCont->rootItem) : nullptr;
    MySelectorItem* analysis = selectorRoot ? selectorRoot->selectorChildAt(int(id)) : nullptr;
    if (!analysis)
        return;
    const QVector<int> positions = SettingsRowPath::of(row).positions();
    MyConfigItem* categories = child(root, "categoryDicts");

    GraphWindowHooks::inSelectorTreeChange(myDoc->baseWindowCont, [&] {
        if (whole || title) {
            if (const MyConfigItem* titleRow = child(root, "graphTitle"))
                analysis->title = titleRow->message;
        }
        if (everyCategory) {
            const int n = categories ? categories->childCount() : 0;
            for (int i = 0; i < n; ++i)
                synchronizeDocRepresentsKeys({QStringLiteral("categoryDicts")}, {3, i}, root, analysis);
        } else if (oneCategory) {
            synchronizeDocRepresentsKeys(keys, QVector<qint64>(positions.begin(), positions.end()), root, analysis);
        } else if (positions.size() >= 4 && categories) {
            // One display text inside a category's represents.
            const MyConfigItem* category = categories->configChildAt(positions[1]);
            const MyConfigItem* represents = child(category, "represents");
            const MyConfigItem* entry = represents ? represents->configChildAt(positions[3]) : nullptr;
            const MyConfigItem* categoryTitle = child(category, "categoryTitle");
            const MyConfigItem* origName = child(entry, "origName");
            const MyConfigItem* shown = child(entry, "represent");
            if (categoryTitle && origName && shown) {
                const bool dataColumns = categoryTitle->message == QLatin1String("dataColumns");
                setShownText(selectorGroup(analysis, categoryTitle->message), dataColumns, origName->message,
                             shown->message);
            }
        }
    });
    if (whole || title) {
        if (const auto& retitle = GraphWindowHooks::shared().synchronizeWindowTitles)
            retitle(*myDoc);
    }
    if (id < myDoc->graphXMLs.size()) {
        if (const std::optional<QString> xml = MyAnalysisXml::xmlFromItem(analysis))
            myDoc->graphXMLs[id] = *xml;
    }
}

void MyViewManager::synchronizeDocRepresentsKeys(const QStringList&, const QVector<qint64>& indexes,
                                                 MyConfigRootItem* rootItem, MySelectorItem* baseItem)
{
    if (indexes.size() < 2 || !rootItem || !baseItem)
        return;
    const MyConfigItem* categories = child(rootItem, "categoryDicts");
    const MyConfigItem* category = categories ? categories->configChildAt(int(indexes[1])) : nullptr;
    const MyConfigItem* categoryTitle = child(category, "categoryTitle");
    const MyConfigItem* represents = child(category, "represents");
    MySelectorItem* group = categoryTitle ? selectorGroup(baseItem, categoryTitle->message) : nullptr;
    if (!represents || !group)
        return;
    const bool dataColumns = categoryTitle->message == QLatin1String("dataColumns");
    QList<MyOutlineItem*> order;
    for (const MyConfigItem* entry : represents->configChildren()) {
        const MyConfigItem* origName = child(entry, "origName");
        const MyConfigItem* shown = child(entry, "represent");
        MySelectorItem* item = origName ? group->childTitle(origName->message) : nullptr;
        if (!item || !shown || order.contains(item))
            continue;
        setShownText(group, dataColumns, origName->message, shown->message);
        order << item;
    }
    // Rows that no entry names stay, after the named ones: an older snapshot that names
    // them again finds them when the change is undone.
    for (MyOutlineItem* item : group->children())
        if (!order.contains(item))
            order << item;
    group->arrangeChildren(order);
}

// ---- writing a value --------------------------------------------------------------------------

MyConfigItem* MyViewManager::rowAfterEditing(MyConfigItem* row)
{
    MyConfigRootItem* root = settingsRoot();
    if (!SettingsRowPath::isRowOf(root, row))
        return nullptr;
    if (!m_editor)
        return row;
    // A text being edited in place goes first, as its own step; it may rebuild rows.
    const SettingsRowPath path = SettingsRowPath::of(row);
    commitEditing();
    MyConfigItem* found = path.find(root);
    return SettingsRowPath::of(found) == path ? found : nullptr;
}

bool MyViewManager::changeRow(MyConfigItem* row, const QVariant& value, const QString& actionName)
{
    MyConfigRootItem* root = settingsRoot();
    const qint64 id = graphID();
    row = rowAfterEditing(row);
    if (!root || id < 0 || !row)
        return false;
    bool written = false;
    GraphWindowHooks::inSettingsTreeChange(myWindowCont, [&] { written = row->setObject(value); });
    if (!written)
        return false;
    // The tree held the current snapshot, so the new one is that with the row's new value;
    // building it from the whole tree would cost as much as the rest of the change.
    const SettingsRowPath path = SettingsRowPath::of(row);
    QVariant snapshot = myDoc->graphSettings.at(id);
    if (!replaceAt(snapshot, path.itemID().split(QLatin1Char('\t')), path.positions(), 0, row->object()))
        snapshot = root->object();
    myDoc->addToHistoryNewSettings(snapshot.toMap(), id);
    pushGraphChange(1, row, actionName, true);
    return true;
}

std::pair<std::optional<QVariant>, MyConfigItem*> MyViewManager::adjustValueSettings(const QVariant& object,
                                                                                     MyConfigItem* item)
{
    MyConfigRootItem* root = settingsRoot();
    const qint64 id = graphID();
    MyConfigItem* valueSettingsRow = child(root, "valueSettings");
    if (!item || id < 0 || !valueSettingsRow)
        return {std::nullopt, item};
    const QVariantMap valueSettings = myDoc->graphSettings.at(id).value(QStringLiteral("valueSettings")).toMap();
    const int labelIndex = item->title.isEmpty() ? item->index() : -1;
    // An analysis without values has no range the axis must cover.
    const bool range = minMax.size() >= 2;
    const double inf = std::numeric_limits<double>::infinity();
    const ValueSettingsResult result = MyValueSettingsCheck::adjustValueSettings(
        object, item->title, labelIndex, valueSettings, range ? minMax[0] : inf, range ? minMax[1] : -inf);
    switch (result.outcome) {
    case ValueSettingsResult::Passed:
        return {result.value, item};
    case ValueSettingsResult::Replaced:
        return {result.value, valueSettingsRow};
    case ValueSettingsResult::Refused:
        break;
    }
    return {std::nullopt, item};
}

std::optional<QVariantMap> MyViewManager::adjustedGraphProperties(const QVariant& properties,
                                                                  MyConfigItem* backgroundRow) const
{
    if (!isMap(properties) || !myDoc)
        return std::nullopt;
    QVariantMap g = properties.toMap();
    g[QStringLiteral("background")] =
        MyDocumentAnalyses::viewSizeFromPageLayout(*myDoc, g.value(QStringLiteral("background")), backgroundRow).first;
    // The graph keeps the bars or boxes of its own type when the value has none.
    const bool scatter = graphType == QLatin1String("scatter");
    const QString own = scatter ? QStringLiteral("bars") : QStringLiteral("boxes");
    const QString other = scatter ? QStringLiteral("boxes") : QStringLiteral("bars");
    if (!g.contains(own)) {
        const QVariantMap current =
            myDoc->graphSettings.value(graphID()).value(QStringLiteral("graphProperties")).toMap();
        g[own] = current.value(own);
        g.remove(other);
    }
    return g;
}

std::optional<QVariantMap> MyViewManager::mergedSettings(const QVariant& object, MyConfigRootItem* root, qint64 id)
{
    if (!isMap(object))
        return std::nullopt;
    const QVariantMap s = object.toMap();
    const std::optional<QVariantMap> g =
        adjustedGraphProperties(s.value(QStringLiteral("graphProperties")), child(child(root, "graphProperties"), "background"));
    if (!g)
        return std::nullopt;
    const QString seriesKey = seriesKeyOf(graphType);
    std::optional<QVariantList> pastedSeries;
    if (s.contains(seriesKey)) {
        if (!isList(s.value(seriesKey)))
            return std::nullopt;
        pastedSeries = s.value(seriesKey).toList();
    }
    const auto series = MyDocumentAnalyses::fixedDotsOrBoxesProperties(*myDoc, pastedSeries, graphType, id);
    const auto categories = MyDocumentAnalyses::fixedCategoryDicts(
        *myDoc, s.value(QStringLiteral("categoryDicts")).toList(), child(root, "categoryDicts"), id);
    if (!series || !categories)
        return std::nullopt;

    // Asked on every whole-settings write, before anything is written. Only "Yes" lets the
    // pasted value axis in; "No" and a dismissed question keep the graph's own.
    QVariant valueSettings = myDoc->graphSettings.at(id).value(QStringLiteral("valueSettings"));
    const int answer = Dialogs::current().question(kOverwriteQuestion, QString(), {QStringLiteral("Yes"), QStringLiteral("No")});
    if (answer == 0) {
        if (const std::optional<QVariant> pasted =
                adjustValueSettings(s.value(QStringLiteral("valueSettings")), child(root, "valueSettings")).first)
            valueSettings = *pasted;
    }
    const MyConfigItem* title = child(root, "graphTitle");
    return QVariantMap{{QStringLiteral("graphTitle"), title ? title->message : QString()},
                       {QStringLiteral("graphProperties"), *g},
                       {seriesKey, *series},
                       {QStringLiteral("categoryDicts"), *categories},
                       {QStringLiteral("valueSettings"), valueSettings}};
}

bool MyViewManager::tryObject(const QVariant& object, MyConfigItem* outlineItem, const QString& actionName)
{
    const auto fitted = fittedObject(object, outlineItem);
    return fitted && changeRow(fitted->second, fitted->first, actionName);
}

std::optional<std::pair<QVariant, MyConfigItem*>> MyViewManager::fittedObject(const QVariant& object,
                                                                             MyConfigItem* outlineItem)
{
    MyConfigRootItem* root = settingsRoot();
    const qint64 id = graphID();
    outlineItem = rowAfterEditing(outlineItem);
    if (!root || id < 0 || !outlineItem)
        return std::nullopt;
    const QString& k = outlineItem->itemID;
    QVariant value = object;
    MyConfigItem* row = outlineItem;
    // A value the keeper refuses (nothing, or not the shape the row takes) writes nothing.
    auto take = [&value](const auto& fixed) {
        if (fixed)
            value = *fixed;
        return fixed.has_value();
    };
    const std::nullopt_t none = std::nullopt;
    if (k.startsWith(QLatin1String("graphProperties\tbackground"))) {
        std::tie(value, row) = MyDocumentAnalyses::viewSizeFromPageLayout(*myDoc, value, row);
    } else if (k == QLatin1String("graphProperties")) {
        if (!take(adjustedGraphProperties(value, child(row, "background"))))
            return std::nullopt;
    } else if (k == QLatin1String("dotsProperties") || k == QLatin1String("boxesProperties")) {
        if (!take(isList(value) ? MyDocumentAnalyses::fixedDotsOrBoxesProperties(*myDoc, value.toList(), graphType, id) : none))
            return std::nullopt;
    } else if (k == QLatin1String("categoryDicts")) {
        if (!take(isList(value) ? MyDocumentAnalyses::fixedCategoryDicts(*myDoc, value.toList(), row, id) : none))
            return std::nullopt;
    } else if (k == QLatin1String("categoryDicts\t")) {
        if (!take(isMap(value) ? MyDocumentAnalyses::fixedCategoryDict(*myDoc, value.toMap(), row, id) : none))
            return std::nullopt;
    } else if (k == QLatin1String("categoryDicts\t\trepresents")) {
        if (!take(isList(value) ? MyDocumentAnalyses::fixedRepresents(*myDoc, value.toList(), row, id) : none))
            return std::nullopt;
    } else if (k.startsWith(QLatin1String("valueSettings"))) {
        const auto [checked, target] = adjustValueSettings(value, row);
        if (!take(checked))
            return std::nullopt;
        row = target;
    } else if (k.isEmpty()) {
        if (!take(mergedSettings(value, root, id)))
            return std::nullopt;
    }
    return std::make_pair(value, row);
}
