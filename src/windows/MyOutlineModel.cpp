#include "windows/MyOutlineModel.h"
#include "outline/MyOutlineItem.h"
#include "windows/MyWindowController.h"
#include <QItemSelectionModel>
#include <QTreeView>

MyOutlineModel::MyOutlineModel(MyWindowController* controller, QStringList columnIdentifiers, QTreeView* outline)
    : QAbstractItemModel(outline), m_controller(controller), m_identifiers(std::move(columnIdentifiers)), m_outline(outline)
{
}

MyOutlineItem* MyOutlineModel::root() const
{
    return m_controller ? m_controller->rootItem : nullptr;
}

void MyOutlineModel::detachController()
{
    beginResetModel();
    m_controller = nullptr;
    endResetModel();
}

MyOutlineItem* MyOutlineModel::itemAt(const QModelIndex& index) const
{
    return index.isValid() ? static_cast<MyOutlineItem*>(index.internalPointer()) : nullptr;
}

QModelIndex MyOutlineModel::indexOf(const MyOutlineItem* item, int column) const
{
    if (!item || item == root() || item->index() < 0)
        return {};
    return createIndex(item->index(), column, const_cast<MyOutlineItem*>(item));
}

QModelIndex MyOutlineModel::index(int row, int column, const QModelIndex& parent) const
{
    if (!m_controller || row < 0 || column < 0 || column >= m_identifiers.size() || m_changeDepth > 0)
        return {};
    MyOutlineItem* child = m_controller->outlineViewChild(m_outline, row, itemAt(parent));
    return child ? createIndex(row, column, child) : QModelIndex();
}

QModelIndex MyOutlineModel::parent(const QModelIndex& child) const
{
    const MyOutlineItem* item = itemAt(child);
    if (!item || m_changeDepth > 0)
        return {};
    return indexOf(item->parentItem());
}

int MyOutlineModel::rowCount(const QModelIndex& parent) const
{
    if (!m_controller || m_changeDepth > 0 || (parent.isValid() && parent.column() != 0))
        return 0;
    return m_controller->outlineViewNumberOfChildrenOfItem(m_outline, itemAt(parent));
}

int MyOutlineModel::columnCount(const QModelIndex&) const
{
    return int(m_identifiers.size());
}

bool MyOutlineModel::hasChildren(const QModelIndex& parent) const
{
    if (!parent.isValid())
        return rowCount(parent) > 0;
    if (!m_controller || m_changeDepth > 0 || parent.column() != 0)
        return false;
    return m_controller->outlineViewIsItemExpandable(m_outline, itemAt(parent));
}

QVariant MyOutlineModel::data(const QModelIndex& index, int role) const
{
    MyOutlineItem* item = itemAt(index);
    if (!m_controller || !item || m_changeDepth > 0)
        return {};
    const QString identifier = m_identifiers.value(index.column());
    switch (role) {
    case ValueRole:
        return m_controller->outlineViewObjectValue(m_outline, identifier, item);
    case Qt::DisplayRole:
    case Qt::EditRole: {
        const OutlineCell cell = m_controller->outlineViewWillDisplayCell(m_outline, identifier, item);
        if (cell.kind != OutlineCell::Text)
            return {};
        return m_controller->outlineViewObjectValue(m_outline, identifier, item);
    }
    case Qt::ForegroundRole: {
        const OutlineCell cell = m_controller->outlineViewWillDisplayCell(m_outline, identifier, item);
        return cell.textColor ? QVariant(*cell.textColor) : QVariant();
    }
    case Qt::BackgroundRole: {
        const OutlineCell cell = m_controller->outlineViewWillDisplayCell(m_outline, identifier, item);
        return cell.drawsBackground ? QVariant(cell.backgroundColor) : QVariant();
    }
    default:
        return {};
    }
}

bool MyOutlineModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    MyOutlineItem* item = itemAt(index);
    if (!m_controller || !item || role != Qt::EditRole || m_changeDepth > 0)
        return false;
    m_controller->outlineViewSetObjectValue(m_outline, value, m_identifiers.value(index.column()), item);
    return true;
}

Qt::ItemFlags MyOutlineModel::flags(const QModelIndex& index) const
{
    MyOutlineItem* item = itemAt(index);
    if (!m_controller || !item || m_changeDepth > 0)
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    const QString identifier = m_identifiers.value(index.column());
    // Buttons and check boxes are pressed through the cell delegate, not edited.
    if (m_controller->outlineViewWillDisplayCell(m_outline, identifier, item).kind == OutlineCell::Text
        && m_controller->outlineViewShouldEditTableColumn(m_outline, identifier, item))
        flags |= Qt::ItemIsEditable;
    return flags;
}

QVariant MyOutlineModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractItemModel::headerData(section, orientation, role);
    return m_titles.value(section, m_identifiers.value(section));
}

// ---- changes -------------------------------------------------------------------------------

MyOutlineModel::Change::Change(MyOutlineModel* model) : m_model(model)
{
    if (m_model)
        m_model->beginChange();
}

MyOutlineModel::Change::~Change()
{
    if (m_model)
        m_model->endChange();
}

void MyOutlineModel::forEachRow(const std::function<void(const MyOutlineItem*, const QModelIndex&)>& f) const
{
    // By identity from the root down, so a pointer to a row that has gone is never followed.
    // The row numbers come from the walk: looking each up among its siblings would make a
    // column of many categories quadratic.
    std::function<void(const MyOutlineItem*)> walk = [&](const MyOutlineItem* node) {
        for (int row = 0; row < node->childCount(); ++row) {
            const MyOutlineItem* child = node->childAt(row);
            f(child, createIndex(row, 0, const_cast<MyOutlineItem*>(child)));
            walk(child);
        }
    };
    if (const MyOutlineItem* top = root())
        walk(top);
}

void MyOutlineModel::beginChange()
{
    if (m_changeDepth > 0) {
        ++m_changeDepth;
        return;
    }
    m_expanded.clear();
    forEachRow([this](const MyOutlineItem* item, const QModelIndex& index) {
        if (m_outline->isExpanded(index))
            m_expanded.insert(item);
    });
    m_selected = nullptr;
    if (QItemSelectionModel* selection = m_outline->selectionModel()) {
        const QModelIndexList rows = selection->selectedRows();
        m_selected = rows.isEmpty() ? nullptr : itemAt(rows.first());
    }
    beginResetModel();
    // From here until the end the view reads nothing: the tree may be half changed.
    ++m_changeDepth;
}

void MyOutlineModel::endChange()
{
    if (--m_changeDepth > 0)
        return;
    endResetModel();

    bool selectedStays = false;
    forEachRow([&](const MyOutlineItem* item, const QModelIndex& index) {
        if (m_expanded.contains(item))
            m_outline->expand(index);
        selectedStays = selectedStays || item == m_selected;
    });
    if (selectedStays)
        m_outline->selectionModel()->setCurrentIndex(indexOf(m_selected),
                                                      QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    m_expanded.clear();
    m_selected = nullptr;
}

void MyOutlineModel::reloadData()
{
    Change change(this);
}
