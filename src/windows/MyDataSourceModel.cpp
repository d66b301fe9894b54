#include "windows/MyDataSourceModel.h"
#include "windows/MyWindowController.h"

MyDataSourceModel::MyDataSourceModel(MyWindowController* controller, QStringList columnIdentifiers, QObject* parent)
    : QAbstractTableModel(parent), m_controller(controller), m_identifiers(std::move(columnIdentifiers))
{
}

int MyDataSourceModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_controller->numberOfRowsInTableView();
}

int MyDataSourceModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_identifiers.size());
}

QVariant MyDataSourceModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::ToolTipRole && role != Qt::TextAlignmentRole))
        return {};
    const QVariant value = m_controller->tableViewObjectValue(m_identifiers.value(index.column()), index.row());
    if (role == Qt::TextAlignmentRole) {
        const bool number = value.typeId() == QMetaType::Double || value.typeId() == QMetaType::LongLong;
        return QVariant::fromValue(Qt::AlignVCenter | (number ? Qt::AlignRight : Qt::AlignLeft));
    }
    return displayText ? QVariant(displayText(value, index.column())) : value;
}

QVariant MyDataSourceModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    return m_titles.value(section, m_identifiers.value(section));
}

void MyDataSourceModel::reloadData()
{
    beginResetModel();
    endResetModel();
}

void MyDataSourceModel::reloadCells()
{
    if (rowCount() > 0 && columnCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}
