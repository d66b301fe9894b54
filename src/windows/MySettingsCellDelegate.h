#pragma once
// The cells of a graph window's settings outline: text-attribute rows show their sample in
// their own font and colour, rows take the height the controller gives them, and the title
// column shows the row's tooltip. Typed values are handed on as in every outline.
#include "windows/MyOutlineCellDelegate.h"

class MySettingsCellDelegate : public MyOutlineCellDelegate {
    Q_OBJECT
public:
    MySettingsCellDelegate(MyWindowController* controller, MyOutlineModel* model, QObject* parent);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;

private:
    MyWindowController* m_controller;
    MyOutlineModel* m_model;
};
