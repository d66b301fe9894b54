#include "table/MyCellDelegate.h"
#include "table/MyTableModel.h"
#include <QPainter>
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
