// In-place editing of graph texts (the y title, scale texts, category texts) and font and
// attribute changes of them, each committed as one undoable settings change.
#include "outline/MyConfigRootItem.h"
#include "platform/KeyedArchive.h"
#include "views/GraphTextEditor.h"
#include "views/MyStorageItem.h"
#include "views/MyTextView.h"
#include "views/MyView.h"
#include "views/MyViewManager.h"
#include "views/SettingsRowPath.h"

namespace {

const QString kChangeText = QStringLiteral("Change Text");
const QString kChangeAttributes = QStringLiteral("Change Attributes");
const QString kChangeFont = QStringLiteral("Change Font");

// The attributes stored in an attributes row; nothing when they do not read.
std::optional<TextAttributes> storedAttributes(const MyConfigItem* row)
{
    const QVariant data = row ? row->object() : QVariant();
    if (data.typeId() != QMetaType::QByteArray)
        return std::nullopt;
    return KeyedArchive::unarchiveAttributes(data.toByteArray());
}

} // namespace

MyConfigItem* MyViewManager::outlineItemWithTextView(const MySimpleTextView* textView, bool isText) const
{
    if (!textView)
        return nullptr;
    std::shared_ptr<MyStorageItem> record;
    if (textView->name == kScaleText) {
        // Scale texts share one name; the record is the one showing this very storage.
        for (const auto& r : scalesStorageItem)
            if (r && r->textStorage && r->textStorage == textView->textStorage()) {
                record = r;
                break;
            }
    } else {
        record = storageItemDict.value(textView->name);
    }
    if (!record)
        return nullptr;
    MyConfigItem* row = isText ? record->textItem : record->attrItem;
    return SettingsRowPath::isRowOf(settingsRoot(), row) ? row : nullptr;
}

bool MyViewManager::isLiveTextView(const MyTextView* textView) const
{
    auto shows = [textView](const std::shared_ptr<MyStorageItem>& record) {
        return record && record->textStorage
            && record->textStorage->textViews().contains(const_cast<MyTextView*>(textView));
    };
    for (const auto& [name, record] : storageItemDict)
        if (shows(record))
            return true;
    for (const auto& record : scalesStorageItem)
        if (shows(record))
            return true;
    return false;
}

bool MyViewManager::isEditing(const MyTextView* textView) const
{
    return m_editor && m_editor->textView() == textView;
}

void MyViewManager::editTextView(MyTextView* textView, const Point& point)
{
    if (!textView || isEditing(textView))
        return;
    commitEditing();
    // The commit has laid the graph out again, which may have let this text go.
    if (!isLiveTextView(textView))
        return;
    MyConfigItem* row = outlineItemWithTextView(textView, true);
    if (!row)
        return;
    // The graph shows only the beginning of a very long text: it is edited whole in the
    // settings outline, whose row is shown instead.
    if (row->message.size() > TextStorage::kMaxLength) {
        revealRow(row);
        return;
    }
    const TextAttributes attributes = storedAttributes(outlineItemWithTextView(textView, false)).value_or(TextAttributes());
    // The stored text is edited, markup included: what is shown is only its rendering.
    auto* editor = new GraphTextEditor(textView, row->message, attributes);
    m_editor = editor;
    connect(editor, &GraphTextEditor::began, this, [this, editor] {
        if (m_editor == editor)
            textDidBeginEditing(editor->textView());
    });
    // Later, once the event that moved the focus has been handled: committing lays the
    // graph out again, which may replace views that event still refers to.
    connect(editor, &GraphTextEditor::left, this, [this, left = QPointer<GraphTextEditor>(editor)] {
        if (left && m_editor == left)
            textDidEndEditing(left->textView());
    }, Qt::QueuedConnection);
    // Return commits, as in the settings outline, and the graph keeps the focus.
    connect(editor, &GraphTextEditor::returned, this, [this, done = QPointer<GraphTextEditor>(editor)] {
        if (!done || m_editor != done)
            return;
        textDidEndEditing(done->textView());
        makeFirstResponder(viewDict.value(kBackground));
    }, Qt::QueuedConnection);
    textView->setNeedsDisplay(true);
    editor->setFocus(Qt::MouseFocusReason);
    editor->placeCaret(QPointF(point.x, point.y));
}

void MyViewManager::textDidBeginEditing(MyTextView* textView)
{
    revealRow(outlineItemWithTextView(textView, true));
}

void MyViewManager::textDidEndEditing(MyTextView* textView)
{
    if (!isEditing(textView))
        return;
    GraphTextEditor* editor = m_editor;
    m_editor = nullptr;
    const QString text = editor->toPlainText();
    // The editor goes before the commit; the view draws its stored text again.
    editor->hide();
    editor->deleteLater();
    textView->setNeedsDisplay(true);
    changeTextView(textView, text, true);
}

void MyViewManager::commitEditing()
{
    if (m_editor)
        textDidEndEditing(m_editor->textView());
}

MyTextView* MyViewManager::editedTextView() const
{
    return m_editor ? m_editor->textView() : nullptr;
}

void MyViewManager::changeTextView(MyTextView* textView, const QVariant& object, bool isText, const QString& actionName)
{
    MyConfigRootItem* root = settingsRoot();
    if (!textView || !root)
        return;
    const QString viewName = textView->name;
    QVariant value = object;
    MyConfigItem* row = nullptr;
    if (!isText) {
        const SettingsRowPath path = SettingsRowPath::of(outlineItemWithTextView(textView, false));
        // A text being typed is committed first, as its own step, by an explicit call: the
        // order of focus events differs when a modal panel is open. The commit may replace
        // textView, so only the path is used from here.
        commitEditing();
        makeFirstResponder(viewDict.value(kBackground));
        row = path.find(root);
        if (path.positions().isEmpty() || row->itemID != path.itemID())
            return;
    } else {
        row = outlineItemWithTextView(textView, true);
        if (!row || value.toString() == row->message)
            return;
        if (viewName == kScaleText) {
            const auto [checked, target] = adjustValueSettings(value, row);
            if (!checked) {
                // Refused: the label shows its stored text again.
                setGraphWithOutlineItem(row);
                return;
            }
            value = *checked;
            row = target;
        }
    }
    revealRow(row);
    changeRow(row, value, !actionName.isEmpty() ? actionName : isText ? kChangeText : kChangeAttributes);
}

void MyViewManager::changeFont(MyTextView* textView, const std::function<FontSpec(const FontSpec&)>& convertFont)
{
    // From the row's stored attributes: the characters shown may be none at all, or start
    // with a raised or lowered run whose size and offset are not the text's.
    const std::optional<TextAttributes> stored = storedAttributes(outlineItemWithTextView(textView, false));
    if (!stored || !stored->font)
        return;
    const FontSpec font = convertFont(*stored->font);
    if (font == *stored->font)
        return;
    // Glyph dots take a change of face, not of size alone.
    if (textView->name.startsWith(QLatin1String("dot")) && font.name == stored->font->name)
        return;
    TextAttributes changed = *stored;
    changed.font = font;
    // Named as the same change of a settings row is.
    changeTextView(textView, KeyedArchive::archiveAttributes(changed), false, kChangeFont);
}

void MyViewManager::changeAttributes(MyTextView* textView,
                                     const std::function<TextAttributes(const TextAttributes&)>& convertAttributes)
{
    const std::optional<TextAttributes> stored = storedAttributes(outlineItemWithTextView(textView, false));
    if (!stored)
        return;
    const TextAttributes converted = convertAttributes(*stored);
    TextAttributes merged = *stored;
    if (converted.font)
        merged.font = converted.font;
    if (converted.color)
        merged.color = converted.color;
    if (merged == *stored)
        return;
    changeTextView(textView, KeyedArchive::archiveAttributes(merged), false);
}
