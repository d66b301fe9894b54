// The settings outline of a graph window: its cells (colour swatches, attribute samples, row
// heights, tooltips), the colour well and the choosers bound to the selected row, typed
// values, fonts, text attributes and colours written into the row, copy and paste of
// settings rows, and array elements moved with the stepper.
#include "app/AppDelegate.h"
#include "document/Document.h"
#include "outline/MyConfigRootItem.h"
#include "outline/MyOutlineTexts.h"
#include "outline/MySettingsClipboard.h"
#include "platform/Dialogs.h"
#include "platform/Font72.h"
#include "platform/NumberText.h"
#include "platform/PropertyList.h"
#include "views/MyTextView.h"
#include "views/MyViewManager.h"
#include "windows/MyColorWell.h"
#include "windows/MyOutlineModel.h"
#include "windows/MySettingsCellDelegate.h"
#include "windows/MyStepper.h"
#include "windows/MyWindow.h"
#include "windows/MyWindowController.h"
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QRawFont>
#include <QTreeView>
#include <QVBoxLayout>

namespace {

const QString kGraphWindow = QStringLiteral("GraphWindowD");
const QString kSample = QStringLiteral("Use Font Panel");

bool isColorRow(const MyOutlineItem* row) { return row->title.endsWith(QLatin1String("olor")); }
bool isAttributeRow(const MyOutlineItem* row) { return row->title.endsWith(QLatin1String("ttr")); }

// The data a "data" row's text holds; nothing when it is no property list of one data.
std::optional<QByteArray> rowData(const MyConfigItem* row)
{
    if (!row || row->type != QLatin1String("data"))
        return std::nullopt;
    const QVariant value = PropertyList::fromData(row->message.toUtf8());
    if (PropertyList::kindOf(value) != QLatin1String("data"))
        return std::nullopt;
    return value.toByteArray();
}

std::optional<Color> rowColor(const MyConfigItem* row)
{
    const std::optional<QByteArray> data = rowData(row);
    return data ? KeyedArchive::unarchiveColor(*data) : std::nullopt;
}

std::optional<TextAttributes> rowAttributes(const MyConfigItem* row)
{
    const std::optional<QByteArray> data = rowData(row);
    return data ? KeyedArchive::unarchiveAttributes(*data) : std::nullopt;
}

// Whether the font draws every character of a glyph dot's text itself (no other font
// standing in for it) with some ink.
bool drawsDotGlyph(const FontSpec& font, const QString& key)
{
    const QRawFont raw = QRawFont::fromFont(Font72::font(font));
    if (!raw.isValid() || key.isEmpty())
        return false;
    const QList<quint32> glyphs = raw.glyphIndexesForString(key);
    if (glyphs.isEmpty())
        return false;
    for (quint32 glyph : glyphs)
        if (glyph == 0 || raw.boundingRect(glyph).isEmpty())
            return false;
    return true;
}

} // namespace

// ---- set-up --------------------------------------------------------------------------------

void MyWindowController::setUpSettingsOutline(QWidget* content)
{
    auto* layout = new QVBoxLayout(content);
    configOlv = new QTreeView(content);
    configOlv->setObjectName("configOlv");
    m_settingsModel = new MyOutlineModel(this, {"0", "1"}, configOlv);
    m_settingsModel->setHeaderTitles({tr("Setting"), tr("Value")});
    configOlv->setModel(m_settingsModel);
    configOlv->setItemDelegate(new MySettingsCellDelegate(this, m_settingsModel, configOlv));
    configOlv->setSelectionBehavior(QAbstractItemView::SelectRows);
    configOlv->setSelectionMode(QAbstractItemView::SingleSelection);
    configOlv->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    configOlv->setAllColumnsShowFocus(true);
    configOlv->header()->resizeSection(0, 200);
    connect(configOlv->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { outlineViewSelectionDidChange(); });
    // A colour or text-attribute row is changed through its chooser, not typed into.
    connect(configOlv, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
        const MyOutlineItem* row = m_settingsModel->itemAt(index);
        if (!row || index.column() != 1 || row->type != QLatin1String("data"))
            return;
        if (isColorRow(row))
            colorWell->click();
        else if (isAttributeRow(row))
            chooseFont();
    });
    layout->addWidget(configOlv, 1);

    auto* tools = new QHBoxLayout;
    stepper = new MyStepper(content);
    stepper->setObjectName("stepper");
    stepper->action = [this] { tryToMove(); };
    colorWell = new MyColorWell(content);
    colorWell->setObjectName("colorWell");
    colorWell->action = [this] { setColor(colorWell); };
    tools->addWidget(stepper);
    tools->addStretch();
    tools->addWidget(colorWell);
    layout->addLayout(tools);
}

// ---- display -------------------------------------------------------------------------------

void MyWindowController::dressSettingsCell(OutlineCell& cell, qint64 columnIdentifier, const MyOutlineItem* item) const
{
    // Cells are dressed afresh for every row: a swatch only where a colour row shows one.
    if (columnIdentifier != 1 || item->type != QLatin1String("data") || !isColorRow(item))
        return;
    cell.drawsBackground = true;
    const std::optional<Color> color = rowColor(dynamic_cast<const MyConfigItem*>(item));
    cell.backgroundColor = color ? color->toQColor() : QColor(Qt::white);
    // The colour's name stays readable on a dark swatch (a see-through one shows the white).
    const QColor& c = cell.backgroundColor;
    const double lightness = c.alphaF() * c.lightness() + (1 - c.alphaF()) * 255;
    cell.textColor = QColor(lightness < 128 ? Qt::white : Qt::black);
}

double MyWindowController::outlineViewHeightOfRowByItem(QTreeView*, MyOutlineItem* item) const
{
    if (!item || item->type != QLatin1String("data") || !isAttributeRow(item))
        return 17.0;
    // Exactly the sample's height in the row's own attributes, as its value cell shows it.
    const std::optional<TextAttributes> attributes = rowAttributes(dynamic_cast<const MyConfigItem*>(item));
    const FontSpec font = attributes && attributes->font ? *attributes->font : AppDelegate::systemFont(12);
    return Font72::metrics(Font72::font(font)).boundingRect(QRectF(0, 0, 300, 300), Qt::TextWordWrap, kSample).height();
}

QString MyWindowController::outlineViewToolTip(QTreeView*, const QString& columnIdentifier, MyOutlineItem* item) const
{
    const auto* row = dynamic_cast<const MyConfigItem*>(item);
    const std::optional<qint64> identifier = NumberText::parseInt64(columnIdentifier);
    if (windowType() != kGraphWindow || !identifier || !row || *identifier > 0 || !myDoc || !myDoc->ourDelegate())
        return QString();
    return myDoc->ourDelegate()->configResString.value(row->itemID).toMap().value("tooltip").toString();
}

void MyWindowController::settingsSelectionDidChange(MyOutlineItem* item)
{
    if (!colorWell)
        return;
    colorWell->deactivate();
    const auto* row = dynamic_cast<const MyConfigItem*>(item);
    if (!rowData(row))
        return;
    if (isColorRow(row)) {
        if (const std::optional<Color> color = rowColor(row)) {
            colorWell->setColor(*color);
            colorWell->activate(true);
        }
        return;
    }
    // A text-attribute row: the well shows its text colour; the font chooser opens on it
    // when asked (Format > Font or a double click on its sample).
    const std::optional<TextAttributes> attributes = rowAttributes(row);
    if (attributes && attributes->color)
        colorWell->setColor(*attributes->color);
}

// ---- typed values ---------------------------------------------------------------------------

QVariant MyWindowController::settingsTypedValue(const QVariant& object, const MyConfigItem* row) const
{
    if (!row || !viewManager || object.typeId() != QMetaType::QString)
        return {};
    const QString text = object.toString();
    // Typing what the row shows changes nothing, not even the undo list.
    if (text == row->message)
        return {};
    return MyOutlineTexts::objectWithString(text, row);
}

void MyWindowController::settingsSetObjectValue(const QVariant& object, MyConfigItem* row)
{
    const QVariant value = settingsTypedValue(object, row);
    if (!value.isValid())
        return;
    viewManager->tryObject(value, row, QStringLiteral("Change Type"));
}

// ---- fonts, attributes and colours ------------------------------------------------------------

MyConfigItem* MyWindowController::selectedDataRow()
{
    if (windowType() != kGraphWindow || !viewManager)
        return nullptr;
    // A graph text being edited in place is committed first: it may be this row.
    viewManager->commitEditing();
    MyConfigItem* row = selectedSettingsRow();
    return row && row->type == QLatin1String("data") ? row : nullptr;
}

void MyWindowController::chooseFont()
{
    // A graph text being edited in place is the one restyled.
    if (MyTextView* text = viewManager ? viewManager->editedTextView() : nullptr) {
        const std::optional<TextAttributes> attributes = rowAttributes(viewManager->outlineItemWithTextView(text, false));
        if (!attributes || !attributes->font)
            return;
        if (const std::optional<FontSpec> chosen = Dialogs::current().chooseFont(*attributes->font))
            viewManager->changeFont(text, [&](const FontSpec&) { return *chosen; });
        return;
    }
    const MyConfigItem* row = selectedDataRow();
    if (!row || !isAttributeRow(row))
        return;
    const std::optional<TextAttributes> attributes = rowAttributes(row);
    if (!attributes || !attributes->font)
        return;
    const std::optional<FontSpec> chosen = Dialogs::current().chooseFont(*attributes->font);
    if (chosen)
        changeFont([&](const FontSpec&) { return *chosen; });
}

void MyWindowController::chooseTextColor()
{
    if (MyTextView* text = viewManager ? viewManager->editedTextView() : nullptr) {
        const std::optional<TextAttributes> attributes = rowAttributes(viewManager->outlineItemWithTextView(text, false));
        if (!attributes)
            return;
        const std::optional<Color> chosen = Dialogs::current().chooseColor(attributes->color.value_or(Color::gray(0)));
        if (chosen)
            viewManager->changeAttributes(text, [&](const TextAttributes&) { return TextAttributes{std::nullopt, *chosen}; });
        return;
    }
    const MyConfigItem* row = selectedDataRow();
    if (!row || !isAttributeRow(row))
        return;
    const std::optional<TextAttributes> attributes = rowAttributes(row);
    const Color shown = attributes && attributes->color ? *attributes->color : Color::gray(0);
    const std::optional<Color> chosen = Dialogs::current().chooseColor(shown);
    if (!chosen)
        return;
    changeAttributes([&](const TextAttributes& a) {
        TextAttributes next = a;
        next.color = *chosen;
        return next;
    });
}

void MyWindowController::changeFont(const std::function<FontSpec(const FontSpec&)>& convertFont)
{
    MyConfigItem* row = selectedDataRow();
    if (!row || !isAttributeRow(row))
        return;
    const TextAttributes attributes = rowAttributes(row).value_or(TextAttributes());
    // Every attribute row holds a font; one that does not is left alone.
    if (!attributes.font)
        return;
    const FontSpec oldFont = *attributes.font;
    const FontSpec newFont = convertFont(oldFont);

    if (row->title == QLatin1String("dotAttr")) {
        const MyConfigItem* parent = row->configParent();
        const MyConfigItem* dotType = parent ? parent->childTitle(QStringLiteral("dotType")) : nullptr;
        if (!dotType && parent)
            dotType = parent->childTitle(QStringLiteral("type"));
        // Only glyph dots (type 6) draw with this font, and only a new face changes them.
        if (!dotType || dotType->message != QLatin1String("6"))
            return;
        const MyConfigItem* fontKey = parent->childTitle(QStringLiteral("fontKey"));
        if (!drawsDotGlyph(newFont, fontKey ? fontKey->message : QString())) {
            myDoc->ourAlert->setMessageText(QStringLiteral("You should choose another font for dots."));
            myDoc->ourAlert->runModal();
            return;
        }
        if (newFont.name == oldFont.name)
            return;
    }
    if (newFont == oldFont)
        return;
    TextAttributes next = attributes;
    next.font = newFont;
    viewManager->changeRow(row, KeyedArchive::archiveAttributes(next), QStringLiteral("Change Font"));
}

void MyWindowController::changeAttributes(const std::function<TextAttributes(const TextAttributes&)>& convertAttributes)
{
    MyConfigItem* row = selectedDataRow();
    if (!row || !isAttributeRow(row))
        return;
    // Every message of the panel is a step, also one that changes nothing.
    const TextAttributes next = convertAttributes(rowAttributes(row).value_or(TextAttributes()));
    viewManager->changeRow(row, KeyedArchive::archiveAttributes(next), QStringLiteral("Change Attributes"));
}

void MyWindowController::setColor(MyColorWell* sender)
{
    MyConfigItem* row = selectedDataRow();
    if (!row || !sender)
        return;
    const Color color = sender->color();
    QByteArray archive;
    if (isColorRow(row)) {
        const std::optional<Color> old = rowColor(row);
        if (!old || *old == color)
            return;
        archive = KeyedArchive::archiveColor(color);
    } else {
        std::optional<TextAttributes> attributes = rowAttributes(row);
        if (!attributes || (attributes->color && *attributes->color == color))
            return;
        attributes->color = color;
        archive = KeyedArchive::archiveAttributes(*attributes);
    }
    viewManager->changeRow(row, archive, QStringLiteral("Change Graph"));
}

// ---- copy and paste ---------------------------------------------------------------------------

MyConfigItem* MyWindowController::selectedSettingsRow() const
{
    if (!configOlv || !configOlv->selectionModel())
        return nullptr;
    auto* model = qobject_cast<MyOutlineModel*>(configOlv->model());
    const QModelIndexList rows = configOlv->selectionModel()->selectedRows();
    return model && !rows.isEmpty() ? dynamic_cast<MyConfigItem*>(model->itemAt(rows.first())) : nullptr;
}

void MyWindowController::copySettings()
{
    auto* root = dynamic_cast<MyConfigRootItem*>(rootItem);
    if (!root)
        return;
    if (viewManager)
        viewManager->commitEditing();
    // With no row selected the whole graph settings go, as the root's record.
    MyConfigItem* row = selectedSettingsRow();
    root->copyOutlineItem(row ? row : root);
}

void MyWindowController::pasteSettings()
{
    auto* root = dynamic_cast<MyConfigRootItem*>(rootItem);
    if (!root || !viewManager || !myDoc)
        return;
    viewManager->commitEditing();
    const std::optional<QVariantMap> record = MySettingsClipboard::read();
    if (!record)
        return;
    MyConfigItem* target = selectedSettingsRow();
    if (!target)
        target = root;
    const std::optional<QVariant> value = MySettingsClipboard::checkShowingRefusal(*record, target, *myDoc->ourAlert);
    if (!value)
        return;
    // The record may come from another graph type or another program: what the graph makes
    // of it must fit the rows it goes to before it is written.
    const auto fitted = viewManager->fittedObject(*value, target);
    if (fitted && MySettingsClipboard::fittedShowingRefusal(fitted->first, fitted->second, *myDoc->ourAlert))
        viewManager->changeRow(fitted->second, fitted->first, QStringLiteral("Paste Settings"));
}

// ---- the stepper ------------------------------------------------------------------------------

void MyWindowController::moveSettingsRow(MyOutlineItem* item)
{
    auto* parent = dynamic_cast<MyConfigItem*>(item->parentItem());
    if (!parent || !viewManager || levelForItem(item) <= 0)
        return;
    const int position = item->index();
    const int wanted = stepper->integerValue();
    // Only elements of an array move; categories and scale labels keep the order the data
    // and the axis give them.
    const bool refused = wanted == position || wanted < 0 || wanted > parent->childCount() - 1
        || parent->type == QLatin1String("dict") || parent->title == QLatin1String("categoryDicts")
        || parent->title == QLatin1String("scaleStrings");
    QVariantList elements = parent->object().toList();
    if (refused || position >= elements.size() || wanted >= elements.size()) {
        stepper->setIntegerValue(position);
        return;
    }
    elements.move(position, wanted);
    const QVector<qint64> parentPath = parent->indexes;
    if (!viewManager->changeRow(parent, elements, QStringLiteral("Change Graph"))) {
        stepper->setIntegerValue(position);
        return;
    }
    // The moved element stays selected at its new place, where the stepper now points, so
    // the next click moves it on.
    auto* root = dynamic_cast<MyConfigRootItem*>(rootItem);
    const QList<MyConfigItem*> chain = root ? root->outlineItemsFromIndexes(parentPath) : QList<MyConfigItem*>();
    MyConfigItem* moved = chain.isEmpty() ? nullptr : chain.last()->configChildAt(wanted);
    if (moved && m_settingsModel)
        configOlv->selectionModel()->setCurrentIndex(m_settingsModel->indexOf(moved),
                                                     QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}
