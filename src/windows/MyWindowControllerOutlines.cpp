// The window controller as data source and delegate of the outlines, and the editing of the
// selector outline of the main window: new analyses, columns, "Use" marks, graph types,
// graphs and statistics, deleting and modifying analyses, moving rows with the stepper.
#include "document/Document.h"
#include "outline/MyConfigRootItem.h"
#include "outline/MyOutlineTexts.h"
#include "outline/MySelectorRootItem.h"
#include "platform/NumberText.h"
#include "windows/MyAlert.h"
#include "windows/MyDocumentWindows.h"
#include "windows/MyOutlineCellDelegate.h"
#include "windows/MyOutlineModel.h"
#include "windows/MyStepper.h"
#include "windows/MyWindowController.h"
#include <QHash>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QMainWindow>
#include <QTableView>
#include <QTreeView>
#include <deque>

namespace {

const QString kDocument = QStringLiteral("Document");
const QString kGraphWindow = QStringLiteral("GraphWindowD");

std::optional<qint64> identifierValue(const QString& identifier)
{
    return NumberText::parseInt64(identifier);
}

} // namespace

// ---- set-up --------------------------------------------------------------------------------

void MyWindowController::setUpSelectorOutline(QWidget* parent)
{
    docOlV = new QTreeView(parent);
    docOlV->setObjectName("docOlV");
    m_selectorModel = new MyOutlineModel(this, {"0", "1", "2", "3", "4", "5"}, docOlV);
    m_selectorModel->setHeaderTitles({tr("Analysis"), tr("Contents"), QString(), tr("Use"), QString(), QString()});
    docOlV->setModel(m_selectorModel);
    docOlV->setItemDelegate(new MyOutlineCellDelegate(this, m_selectorModel, docOlV));
    docOlV->setSelectionBehavior(QAbstractItemView::SelectRows);
    docOlV->setSelectionMode(QAbstractItemView::SingleSelection);
    docOlV->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    docOlV->setUniformRowHeights(true);
    docOlV->setAllColumnsShowFocus(true);
    const int widths[] = {150, 160, 105, 50, 55, 55};
    docOlV->header()->setStretchLastSection(false);
    for (int c = 0; c < 6; ++c)
        docOlV->header()->resizeSection(c, widths[c]);
    connect(docOlV->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { outlineViewSelectionDidChange(); });

    stepper = new MyStepper(parent);
    stepper->setObjectName("stepper");
    stepper->action = [this] { tryToMove(); };
}

void MyWindowController::reloadOutline()
{
    if (m_selectorModel)
        m_selectorModel->reloadData();
}

// ---- data source ---------------------------------------------------------------------------

int MyWindowController::outlineViewNumberOfChildrenOfItem(QTreeView*, MyOutlineItem* item) const
{
    const MyOutlineItem* node = item ? item : rootItem;
    return node ? node->childCount() : 0;
}

bool MyWindowController::outlineViewIsItemExpandable(QTreeView*, MyOutlineItem* item) const
{
    return item && item->hasChildren();
}

MyOutlineItem* MyWindowController::outlineViewChild(QTreeView*, int index, MyOutlineItem* item) const
{
    const MyOutlineItem* node = item ? item : rootItem;
    return node ? node->childAt(index) : nullptr;
}

qint64 MyWindowController::levelForItem(const MyOutlineItem* item) const
{
    qint64 level = -1;
    for (const MyOutlineItem* node = item; node; node = node->parentItem()) {
        if (node == rootItem)
            return level;
        ++level;
    }
    return -1;
}

QVariant MyWindowController::outlineViewObjectValue(QTreeView*, const QString& columnIdentifier, MyOutlineItem* item) const
{
    const std::optional<qint64> identifier = identifierValue(columnIdentifier);
    if (!identifier || !item)
        return {};
    if (windowType() == kGraphWindow)
        return MyOutlineTexts::objectOfConfigOutlineView(dynamic_cast<MyConfigItem*>(item), *identifier);
    return MyOutlineTexts::objectSelectorOutlineView(dynamic_cast<MySelectorItem*>(item), *identifier, levelForItem(item));
}

bool MyWindowController::outlineViewShouldEditTableColumn(QTreeView*, const QString& columnIdentifier, MyOutlineItem* item) const
{
    const std::optional<qint64> identifier = identifierValue(columnIdentifier);
    if (!identifier || !item)
        return false;
    if (windowType() == kDocument) {
        const auto* root = dynamic_cast<const MySelectorRootItem*>(rootItem);
        return root && root->allowEditOutlineItem(dynamic_cast<MySelectorItem*>(item), levelForItem(item), *identifier);
    }
    const auto* root = dynamic_cast<const MyConfigRootItem*>(rootItem);
    return root && root->allowEditOutlineItem(dynamic_cast<MyConfigItem*>(item), *identifier);
}

// ---- display -------------------------------------------------------------------------------

OutlineCell MyWindowController::outlineViewWillDisplayCell(QTreeView*, const QString& columnIdentifier,
                                                           MyOutlineItem* item) const
{
    OutlineCell cell;
    const std::optional<qint64> identifier = identifierValue(columnIdentifier);
    if (!identifier || !item)
        return cell;
    const qint64 id = *identifier;
    if (id > 1) {
        // Button columns belong to the selector outline.
        const auto* row = dynamic_cast<const MySelectorItem*>(item);
        const auto* root = dynamic_cast<const MySelectorRootItem*>(rootItem);
        const qint64 level = levelForItem(item);
        cell.enabled = root && row && root->allowEditOutlineItem(row, level, id);
        if (id == 2 || id == 4 || id == 5) {
            cell.kind = OutlineCell::Button;
            if (id == 2 && level == 0) {
                cell.bordered = true;
                cell.title = row && row->editting ? QStringLiteral("Delete") : QStringLiteral("Delete or Modify");
            } else if (id == 2 && level == 1) {
                cell.bordered = item->title != QLatin1String("graphType");
                cell.title = cell.bordered ? QStringLiteral("Add a column") : QString();
            } else if (id == 2 && level == 2) {
                cell.bordered = true;
                cell.title = QStringLiteral("Delete");
            } else if (id != 2 && level == 0) {
                cell.bordered = true;
                cell.title = id == 4 ? QStringLiteral("Graph") : QStringLiteral("Stats");
            }
        } else {
            cell.kind = OutlineCell::CheckBox;
            cell.transparent = level < 3;
            cell.title = QStringLiteral("Use");
        }
        return cell;
    }
    if (windowType() == kDocument) {
        const bool gray = id == 1 && levelForItem(item) <= 2 && item->title != QLatin1String("graphType");
        cell.textColor = gray ? QColor(Qt::gray) : QColor(Qt::black);
    } else {
        dressSettingsCell(cell, id, item);
    }
    return cell;
}

void MyWindowController::outlineViewSelectionDidChange()
{
    QTreeView* outline = windowType() == kDocument ? docOlV : configOlv;
    if (!outline || !outline->selectionModel())
        return;
    const QModelIndexList rows = outline->selectionModel()->selectedRows();
    auto* model = qobject_cast<MyOutlineModel*>(outline->model());
    MyOutlineItem* item = rows.isEmpty() || !model ? nullptr : model->itemAt(rows.first());
    if (!item)
        return;
    if (stepper)
        stepper->setIntegerValue(item->index());
    if (windowType() != kDocument)
        settingsSelectionDidChange(item);
}

// ---- edits ---------------------------------------------------------------------------------

void MyWindowController::outlineViewSetObjectValue(QTreeView*, const QVariant& object, const QString& columnIdentifier,
                                                   MyOutlineItem* item)
{
    const std::optional<qint64> identifier = identifierValue(columnIdentifier);
    if (!identifier || !item)
        return;
    if (windowType() == kDocument)
        selectorSetObjectValue(object, *identifier, dynamic_cast<MySelectorItem*>(item));
    else
        settingsSetObjectValue(object, dynamic_cast<MyConfigItem*>(item));
}

void MyWindowController::selectorSetObjectValue(const QVariant& object, qint64 id, MySelectorItem* item)
{
    auto* root = dynamic_cast<MySelectorRootItem*>(rootItem);
    if (!item || !root)
        return;
    const qint64 level = levelForItem(item);
    if (!root->allowEditOutlineItem(item, level, id))
        return;
    if (id == 0 || id == 1) {
        if (object.typeId() != QMetaType::QString)
            return;
        const QString text = object.toString();
        if (id == 0 && level == 0) {
            item->title = text;
        } else if (id == 1 && level == 1) {
            if ((text != QLatin1String("scatter") && text != QLatin1String("boxplot")) || text == item->message)
                return;
            item->message = text;
        } else if (id == 1 && level == 3) {
            item->message = text;
        } else {
            return;
        }
        reloadOutline();
    } else if (id == 2) {
        if (level == 0) {
            deleteOrModify(item);
        } else if (level == 1) {
            addColumn(item);
        } else {
            MyOutlineModel::Change change(m_selectorModel);
            if (MyOutlineItem* parent = item->parentItem())
                parent->removeChild(item->index());
        }
    } else if (id == 3) {
        switchUse(item);
    } else if (id == 4 || id == 5) {
        graphAndStats(item, id == 5);
    }
}

void MyWindowController::addColumn(MySelectorItem* group)
{
    if (!myDoc || !docTV || !docTV->selectionModel())
        return;
    const QModelIndexList selected = docTV->selectionModel()->selectedRows();
    const int sel = selected.isEmpty() ? -1 : selected.first().row();
    if (sel < 0 || sel >= myDoc->variables.size())
        return;
    const QString name = myDoc->variables.at(sel);
    // A column stands at most once in each group.
    if (group->childTitle(name))
        return;

    std::vector<std::unique_ptr<MySelectorItem>> rows;
    if (group->title == QLatin1String("Categorizing")) {
        const Document::Categories categories = myDoc->categoriesOfVariable(name);
        for (qsizetype i = 0; i < categories.values.size(); ++i) {
            const QString& value = categories.values.at(i);
            rows.push_back(std::make_unique<MySelectorItem>(value, value, QStringLiteral("YES"),
                                                            std::vector<std::unique_ptr<MySelectorItem>>{},
                                                            categories.rows.at(i), QVector<std::optional<double>>{}, nullptr));
        }
    } else {
        Document::NumericValues numbers = myDoc->numericValuesOfVariable(name);
        if (numbers.count == 0) {
            myDoc->ourAlert->setMessageText(MySelectorRootItem::noValidValues);
            myDoc->ourAlert->runModal();
            return;
        }
        rows.push_back(std::make_unique<MySelectorItem>(name, name, QStringLiteral("YES"),
                                                        std::vector<std::unique_ptr<MySelectorItem>>{}, QVector<qint64>{},
                                                        std::move(numbers.values), nullptr));
    }
    MySelectorItem* column = nullptr;
    {
        MyOutlineModel::Change change(m_selectorModel);
        column = group->append(std::make_unique<MySelectorItem>(name, group));
        column->setSelectorChildren(std::move(rows));
    }
    docOlV->expand(m_selectorModel->indexOf(group));
    docOlV->expand(m_selectorModel->indexOf(column));
}

void MyWindowController::switchUse(MySelectorItem* item)
{
    const MyOutlineItem* parent = item->parentItem();
    if (!parent)
        return;
    int used = 0;
    for (const MyOutlineItem* sibling : parent->children())
        used += sibling->type == QLatin1String("YES") ? 1 : 0;
    // The last used category of a column stays used.
    if (item->type == QLatin1String("YES") && used == 1)
        return;
    item->type = item->type == QLatin1String("YES") ? QStringLiteral("NO") : QStringLiteral("YES");
    reloadOutline();
}

void MyWindowController::renewFromTable(MySelectorItem* analysis)
{
    // Values and categories captured at "Add a column" may be stale by now: the graph is made
    // from the table as it stands. Display texts and "Use" marks stay with their values.
    MyOutlineModel::Change change(m_selectorModel);
    if (MySelectorItem* data = analysis->childTitle(QStringLiteral("DataColumns"))) {
        for (MySelectorItem* column : data->selectorChildren()) {
            QVector<std::optional<double>> values = myDoc->numericValuesOfVariable(column->title).values;
            if (MySelectorItem* represent = column->selectorChildAt(0))
                represent->data2 = std::move(values);
        }
    }
    if (MySelectorItem* categorizing = analysis->childTitle(QStringLiteral("Categorizing"))) {
        for (MySelectorItem* column : categorizing->selectorChildren()) {
            const Document::Categories categories = myDoc->categoriesOfVariable(column->title);
            // Each value takes the first row of the same title not taken yet; rows are looked up
            // by their composed title (what sameTitle compares), in their order, so that tens of
            // thousands of categories are matched in linear time.
            QHash<QString, std::deque<MySelectorItem*>> unused;
            for (MySelectorItem* old : column->selectorChildren())
                unused[old->title.normalized(QString::NormalizationForm_C)].push_back(old);
            QList<MyOutlineItem*> order;
            order.reserve(categories.values.size());
            for (qsizetype i = 0; i < categories.values.size(); ++i) {
                const QString& value = categories.values.at(i);
                MySelectorItem* row = nullptr;
                if (auto it = unused.find(value.normalized(QString::NormalizationForm_C)); it != unused.end() && !it->empty()) {
                    row = it->front();
                    it->pop_front();
                }
                if (row)
                    row->data1 = categories.rows.at(i);
                else
                    row = column->append(std::make_unique<MySelectorItem>(
                        value, value, QStringLiteral("YES"), std::vector<std::unique_ptr<MySelectorItem>>{},
                        categories.rows.at(i), QVector<std::optional<double>>{}, column));
                order.append(row);
            }
            column->arrangeChildren(order);
        }
    }
}

void MyWindowController::graphAndStats(MySelectorItem* analysis, bool stats)
{
    auto* root = dynamic_cast<MySelectorRootItem*>(rootItem);
    if (!root || !myDoc || analysis->parentItem() != root)
        return;
    if (analysis->editting)
        renewFromTable(analysis);
    const std::optional<qint64> graphID = root->validateSelection(analysis);
    if (!graphID)
        return;
    MyDocumentWindows::showGraphWindow(*myDoc, *graphID);
    if (stats)
        MyDocumentWindows::showStatsWindow(*myDoc, *graphID);
    myDoc->resetUndo();
    reloadOutline();
    myDoc->undoManager()->changeDone();
}

void MyWindowController::deleteOrModify(MySelectorItem* analysis)
{
    auto* root = dynamic_cast<MySelectorRootItem*>(rootItem);
    if (!root || !myDoc || analysis->parentItem() != root)
        return;
    const int idx = analysis->index();
    const bool editting = analysis->editting;
    MyAlert alert;
    alert.addButtonWithTitle(QStringLiteral("Delete"));
    alert.setMessageText(QStringLiteral("Are you sure to delete ") + (editting ? QString() : QStringLiteral("or modify "))
                         + QStringLiteral("this analysis?\nYou cannot undo this action."));
    if (!editting)
        alert.addButtonWithTitle(QStringLiteral("Modify"));
    alert.addButtonWithTitle(QStringLiteral("Cancel"));
    const int answer = alert.runModal();
    if (answer == MyAlert::thirdButtonReturn || (answer == MyAlert::secondButtonReturn && editting))
        return;
    const bool modify = answer == MyAlert::secondButtonReturn;

    {
        MyOutlineModel::Change change(m_selectorModel);
        if (!editting) {
            // A column renamed or deleted meanwhile is not found, and no counter goes below 0.
            for (const QString& group : {QStringLiteral("DataColumns"), QStringLiteral("Categorizing")}) {
                const MySelectorItem* rows = analysis->childTitle(group);
                for (const MySelectorItem* column : rows ? rows->selectorChildren() : QList<MySelectorItem*>()) {
                    const qint64 c = myDoc->indexOfVariables(column->title);
                    if (c >= 0 && c < myDoc->columnCounter.size() && myDoc->columnCounter[c] > 0)
                        myDoc->changeColumnCounter(c, -1);
                }
            }
            // Closes and lets go of its two windows and renumbers the others.
            myDoc->removeAnalysis(idx);
        }
        std::unique_ptr<MyOutlineItem> row = root->takeChild(idx);
        if (modify) {
            analysis->changeEditting(true);
            root->appendChild(std::move(row));
        }
    }
    myDoc->resetUndo();
    if (!modify)
        myDoc->undoManager()->changeDone();
    if (window())
        window()->setWindowModified(true);
}

void MyWindowController::addNewAnalysis()
{
    // A command of the main window only.
    auto* root = dynamic_cast<MySelectorRootItem*>(rootItem);
    if (windowType() != kDocument || !root || !myDoc)
        return;
    if (root->hasChildren()) {
        const MySelectorItem* last = root->selectorChildAt(root->childCount() - 1);
        if (last && last->editting) {
            myDoc->ourAlert->setMessageText(MySelectorRootItem::lastAnalysisOpen);
            myDoc->ourAlert->runModal();
            return;
        }
    }
    MySelectorItem* analysis = nullptr;
    {
        MyOutlineModel::Change change(m_selectorModel);
        auto row = std::make_unique<MySelectorItem>(QStringLiteral("Untitled"), root);
        std::vector<std::unique_ptr<MySelectorItem>> children;
        children.push_back(std::make_unique<MySelectorItem>(QStringLiteral("graphType"), QStringLiteral("scatter"), QString(),
                                                            std::vector<std::unique_ptr<MySelectorItem>>{}, QVector<qint64>{},
                                                            QVector<std::optional<double>>{}, nullptr));
        children.push_back(std::make_unique<MySelectorItem>(QStringLiteral("DataColumns"), nullptr));
        children.push_back(std::make_unique<MySelectorItem>(QStringLiteral("Categorizing"), nullptr));
        row->setSelectorChildren(std::move(children));
        analysis = root->append(std::move(row));
    }
    if (docOlV) {
        const QModelIndex index = m_selectorModel->indexOf(analysis);
        docOlV->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        docOlV->expand(index);
    }
    myDoc->resetUndo();
}

void MyWindowController::tryToMove()
{
    QTreeView* outline = windowType() == kDocument ? docOlV : configOlv;
    if (!outline || !stepper || !outline->selectionModel())
        return;
    auto* model = qobject_cast<MyOutlineModel*>(outline->model());
    const QModelIndexList rows = outline->selectionModel()->selectedRows();
    MyOutlineItem* item = rows.isEmpty() || !model ? nullptr : model->itemAt(rows.first());
    if (!item)
        return;
    // The settings outline moves its rows with the graph's settings.
    if (windowType() != kDocument) {
        moveSettingsRow(item);
        return;
    }
    const auto* row = dynamic_cast<const MySelectorItem*>(item);
    if (!row || !row->editting)
        return;
    const qint64 level = levelForItem(item);
    if (level <= 0)
        return;
    MyOutlineItem* parent = item->parentItem();
    const int position = item->index();
    const int wanted = stepper->integerValue();
    // "graphType" keeps the first place.
    if (wanted == position || wanted < 0 || wanted > parent->childCount() - 1 || (level == 1 && (position == 0 || wanted == 0))) {
        stepper->setIntegerValue(position);
        return;
    }
    MyOutlineModel::Change change(m_selectorModel);
    parent->insertChild(wanted, parent->takeChild(position));
}
