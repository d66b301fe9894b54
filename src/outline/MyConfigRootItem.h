#pragma once
// Root row of a graph's settings tree: builds the tree from a settings dictionary, finds
// rows by keys, positions or upwards, decides which cells may be edited, copies rows.
#include "outline/MyConfigItem.h"

class MyWindowController;

class MyConfigRootItem : public MyConfigItem {
public:
    // Title "rootItem", type "dict", no parent; `myWindowCont` is not owned.
    explicit MyConfigRootItem(MyWindowController* windowCont);

    MyWindowController* myWindowCont() const { return m_windowCont; }

    // Appends the rows of the settings (read through their XML property-list text) to this
    // root, then reorders. False, with the rows this root had before left as they were,
    // when the settings are no property-list dictionary or their text cannot be read.
    bool outlineItemFromSettings(const QVariantMap& settings);
    // Reads one element of the XML text starting at line `index` into a new row under
    // `parent`; returns the index of the first line after it, or -1 for malformed text.
    int parsePlistLines(const QStringList& lines, int index, MyConfigItem* parent, bool keyed, qint64 numOfCategories);

    // The row at the end of the key path (this root for no keys); nullptr when a key names
    // no child.
    MyConfigItem* outlineItemWithKeys(const QStringList& keys) const;
    // The rows passed on the way, one per key; empty when a key names no child.
    QList<MyConfigItem*> outlineItemsFromKeys(const QStringList& keys) const;
    // The rows from this root's child down to the row; empty when the row is not below
    // this root.
    QList<MyConfigItem*> outlineItemsWithItem(MyConfigItem* item) const;
    // The rows passed on the way, one per position; empty when a position is out of range.
    QList<MyConfigItem*> outlineItemsFromIndexes(const QVector<qint64>& positions) const;

    // Only the value column (1) of a scalar row may be typed into, except the names found
    // in the table and the view size while it follows the page layout.
    bool allowEditOutlineItem(const MyConfigItem* item, qint64 columnIdentifier) const;
    // Puts the row's settings record on the clipboard (changeable rows only).
    void copyOutlineItem(const MyConfigItem* item) const;

private:
    MyWindowController* m_windowCont;
};
