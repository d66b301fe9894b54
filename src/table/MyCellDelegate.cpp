#include "table/MyCellDelegate.h"
#include "table/MyTableModel.h"
#include <QLineEdit>
#include <QPainter>
#include <limits>
#include <qdrawutil.h>

void MyCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QStyleOptionViewItem plain = option;
    // The grid paints its own selection; the style's focus and hover marks would only confuse.
    plain.state &= ~(QStyle::State_HasFocus | QStyle::State_MouseOver | QStyle::State_Selected);
    QStyledItemDelegate::paint(painter, plain, index);
    if (index.data(MyTableModel::AnchorRole).toBool())
        qDrawShadePanel(painter, option.rect.adjusted(0, 0, -1, -1), option.palette, true, 1);
}

QWidget* MyCellDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
    // A line editor keeps 32,767 characters unless told otherwise: a longer cell would lose
    // its end on the first edit.
    if (auto* line = qobject_cast<QLineEdit*>(editor))
        line->setMaxLength(std::numeric_limits<int>::max());
    return editor;
}
