#pragma once
// Draws the cells of an outline as the window controller dresses them (text, push button,
// check box) and turns a press on an enabled button or check box into an edit of the cell,
// as the outline's button cells do.
#include <QStyledItemDelegate>

class MyOutlineModel;
class MyWindowController;
struct OutlineCell;

class MyOutlineCellDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    MyOutlineCellDelegate(MyWindowController* controller, MyOutlineModel* model, QObject* parent);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    // The editor takes a text of any length: editing never shortens it.
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    // A typed text reaches the controller once the editor has closed: the edit may rebuild
    // the outline, editors included.
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override;

private:
    OutlineCell cellAt(const QModelIndex& index) const;

    MyWindowController* m_controller;
    MyOutlineModel* m_model;
};
