#include "windows/MySettingsCellDelegate.h"
#include "outline/MyOutlineTexts.h"
#include "platform/Font72.h"
#include "windows/MyOutlineModel.h"
#include "windows/MyWindowController.h"
#include <QAbstractItemView>
#include <QApplication>
#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>
#include <cmath>

MySettingsCellDelegate::MySettingsCellDelegate(MyWindowController* controller, MyOutlineModel* model, QObject* parent)
    : MyOutlineCellDelegate(controller, model, parent), m_controller(controller), m_model(model)
{
}

void MySettingsCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const QVariant value = index.data(MyOutlineModel::ValueRole);
    if (value.metaType() != QMetaType::fromType<AttributedText>()) {
        MyOutlineCellDelegate::paint(painter, option, index);
        return;
    }
    // The cell's frame and selection as usual, the sample in the row's attributes.
    QStyleOptionViewItem frame = option;
    initStyleOption(&frame, index);
    frame.text.clear();
    QStyle* style = option.widget ? option.widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &frame, painter, option.widget);
    const AttributedText sample = value.value<AttributedText>();
    painter->save();
    if (sample.attributes.font)
        painter->setFont(Font72::forDevice(*sample.attributes.font, painter->device()));
    painter->setPen(sample.attributes.color ? sample.attributes.color->toQColor() : option.palette.text().color());
    painter->drawText(option.rect.adjusted(3, 0, -3, 0), Qt::AlignLeft | Qt::AlignVCenter, sample.text);
    painter->restore();
}

QSize MySettingsCellDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    if (MyOutlineItem* item = m_model->itemAt(index); item && m_model->controller())
        size.setHeight(int(std::ceil(m_controller->outlineViewHeightOfRowByItem(m_model->outline(), item))));
    return size;
}

bool MySettingsCellDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                                       const QModelIndex& index)
{
    MyOutlineItem* item = m_model->itemAt(index);
    if (event->type() != QEvent::ToolTip || !item || !m_model->controller())
        return MyOutlineCellDelegate::helpEvent(event, view, option, index);
    const QString tip = m_controller->outlineViewToolTip(m_model->outline(), m_model->columnIdentifier(index.column()), item);
    if (tip.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(event->globalPos(), tip, view->viewport());
    return true;
}
