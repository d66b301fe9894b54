#pragma once
// Draws the grid's cells as the model describes them, with a bezel around the anchor cell.
#include <QStyledItemDelegate>

class MyCellDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    // The editor takes a cell text of any length: editing never shortens it.
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};
