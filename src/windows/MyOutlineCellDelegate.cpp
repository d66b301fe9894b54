#include "windows/MyOutlineCellDelegate.h"
#include "windows/MyOutlineModel.h"
#include "windows/MyWindowController.h"
#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QTreeView>
#include <limits>

MyOutlineCellDelegate::MyOutlineCellDelegate(MyWindowController* controller, MyOutlineModel* model, QObject* parent)
    : QStyledItemDelegate(parent), m_controller(controller), m_model(model)
{
}

OutlineCell MyOutlineCellDelegate::cellAt(const QModelIndex& index) const
{
    MyOutlineItem* item = m_model->itemAt(index);
    if (!item || !m_model->controller())
        return {};
    return m_controller->outlineViewWillDisplayCell(m_model->outline(), m_model->columnIdentifier(index.column()), item);
}

void MyOutlineCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const OutlineCell cell = cellAt(index);
    if (cell.kind == OutlineCell::Text) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    QStyle* style = option.widget ? option.widget->style() : QApplication::style();
    if (cell.kind == OutlineCell::Button) {
        if (!cell.bordered)
            return;
        QStyleOptionButton button;
        button.rect = option.rect.adjusted(2, 1, -2, -1);
        button.text = cell.title;
        button.state = QStyle::State_Raised | (cell.enabled ? QStyle::State_Enabled : QStyle::State_None);
        button.palette = option.palette;
        button.palette.setCurrentColorGroup(cell.enabled ? QPalette::Active : QPalette::Disabled);
        button.fontMetrics = option.fontMetrics;
        style->drawControl(QStyle::CE_PushButton, &button, painter, option.widget);
        return;
    }
    if (cell.transparent)
        return;
    QStyleOptionButton box;
    box.rect = option.rect.adjusted(2, 0, -2, 0);
    box.text = cell.title;
    box.state = (cell.enabled ? QStyle::State_Enabled : QStyle::State_None)
        | (m_model->data(index, MyOutlineModel::ValueRole).toBool() ? QStyle::State_On : QStyle::State_Off);
    box.palette = option.palette;
    box.palette.setCurrentColorGroup(cell.enabled ? QPalette::Active : QPalette::Disabled);
    box.fontMetrics = option.fontMetrics;
    style->drawControl(QStyle::CE_CheckBox, &box, painter, option.widget);
}

QSize MyOutlineCellDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    // Room for a push button in every row, so rows keep one height.
    const int buttonHeight = option.fontMetrics.height() + 8;
    size.setHeight(std::max(size.height(), buttonHeight));
    return size;
}

QWidget* MyOutlineCellDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                             const QModelIndex& index) const
{
    QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
    // A line editor keeps 32,767 characters unless told otherwise: a longer graph text would
    // lose its end on the first edit.
    if (auto* line = qobject_cast<QLineEdit*>(editor))
        line->setMaxLength(std::numeric_limits<int>::max());
    return editor;
}

void MyOutlineCellDelegate::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const
{
    auto* line = qobject_cast<QLineEdit*>(editor);
    if (!line) {
        QStyledItemDelegate::setModelData(editor, model, index);
        return;
    }
    const QPersistentModelIndex at(index);
    const QString text = line->text();
    QMetaObject::invokeMethod(
        model,
        [model, at, text] {
            if (at.isValid())
                model->setData(at, text, Qt::EditRole);
        },
        Qt::QueuedConnection);
}

bool MyOutlineCellDelegate::editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                                        const QModelIndex& index)
{
    const OutlineCell cell = cellAt(index);
    if (cell.kind == OutlineCell::Text)
        return QStyledItemDelegate::editorEvent(event, model, option, index);
    if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick)
        return cell.isPressable();
    if (event->type() != QEvent::MouseButtonRelease)
        return false;
    const auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() != Qt::LeftButton || !option.rect.contains(mouse->position().toPoint()) || !cell.isPressable())
        return false;
    // The controller reads no value from a button; a check box hands over its new state.
    const QVariant value = cell.kind == OutlineCell::CheckBox
        ? QVariant(!m_model->data(index, MyOutlineModel::ValueRole).toBool())
        : QVariant();
    model->setData(index, value, Qt::EditRole);
    return true;
}
