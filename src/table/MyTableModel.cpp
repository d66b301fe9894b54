#include "table/MyTableModel.h"
#include "table/MyTableView.h"

MyTableModel::MyTableModel(MyTableView* grid) : QAbstractTableModel(grid), m_grid(grid) {}

int MyTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int MyTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_columns;
}

QVariant MyTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const int r = index.row();
    const qint64 k = m_grid->columnIdentifierAt(index.column());
    switch (role) {
    case Qt::DisplayRole: {
        if (k < 0)
            return {};
        // A cell shows far fewer characters than this; laying out a long text whole to elide
        // it took seconds a cell.
        constexpr qsizetype kShown = 4096;
        QVariant value = m_grid->objectValue(k, r);
        if (value.typeId() == QMetaType::QString && value.toString().size() > kShown) {
            const QString text = value.toString();
            value = text.left(text.at(kShown - 1).isHighSurrogate() ? kShown - 1 : kShown) + QChar(0x2026);
        }
        return value;
    }
    case Qt::EditRole:
        if (k < 0)
            return {};
        return m_grid->objectValue(k, r);
    case Qt::TextAlignmentRole:
        return k < 0 ? QVariant() : QVariant(Qt::AlignCenter);
    case Qt::BackgroundRole:
        if (k < 0)
            return {};
        return m_grid->cellBackground(k, r);
    case Qt::FontRole:
        if (k <= 0)
            return {};
        return r > 0 ? m_grid->dataQFont() : m_grid->titleQFont();
    case AnchorRole:
        return k > 0 && m_grid->isAnchor(k, r);
    default:
        return {};
    }
}

bool MyTableModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || role != Qt::EditRole)
        return false;
    m_grid->tableViewSetObjectValue(value, m_grid->columnIdentifierTextAt(index.column()), index.row());
    // The grid reloads itself when the table changed.
    return false;
}

Qt::ItemFlags MyTableModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled;
    // Asked for every painted cell: the identifier is already parsed.
    const qint64 k = m_grid->columnIdentifierAt(index.column());
    if (k >= 0 && m_grid->allowEditCellWithRow(index.row(), k))
        f |= Qt::ItemIsEditable;
    return f;
}

QVariant MyTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal) {
        if (role == Qt::DisplayRole)
            return m_grid->columnIdentifierTextAt(section);
        if (role == Qt::TextAlignmentRole)
            return QVariant(Qt::AlignCenter);
        return {};
    }
    if (role == Qt::DisplayRole)
        return QString::number(section);
    return {};
}

void MyTableModel::syncRows()
{
    const int wanted = m_grid->numberOfRowsInTableView();
    if (wanted > m_rows) {
        beginInsertRows(QModelIndex(), m_rows, wanted - 1);
        m_rows = wanted;
        endInsertRows();
    } else if (wanted < m_rows) {
        beginRemoveRows(QModelIndex(), wanted, m_rows - 1);
        m_rows = wanted;
        endRemoveRows();
    }
    announceAllChanged();
}

void MyTableModel::setColumnCount(int count)
{
    if (count > m_columns) {
        beginInsertColumns(QModelIndex(), m_columns, count - 1);
        m_columns = count;
        endInsertColumns();
    } else if (count < m_columns) {
        beginRemoveColumns(QModelIndex(), count, m_columns - 1);
        m_columns = count;
        endRemoveColumns();
    }
}

void MyTableModel::announceAllChanged()
{
    if (m_rows > 0 && m_columns > 0)
        emit dataChanged(index(0, 0), index(m_rows - 1, m_columns - 1));
    emit headerDataChanged(Qt::Horizontal, 0, std::max(0, m_columns - 1));
}
