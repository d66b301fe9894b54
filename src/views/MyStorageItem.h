#pragma once
// The record of one graph text: its shared text, the settings row of the text and of its
// attributes, and whether it is shown.
#include "views/TextStorage.h"
#include <QPointer>

class MyConfigItem;

class MyStorageItem {
public:
    // initWithTextStorage:textItem:attrItem:; visible at first.
    MyStorageItem(TextStorage* textStorage, MyConfigItem* textItem, MyConfigItem* attrItem)
        : textStorage(textStorage), textItem(textItem), attrItem(attrItem)
    {
    }

    QPointer<TextStorage> textStorage;
    MyConfigItem* textItem = nullptr;
    MyConfigItem* attrItem = nullptr;
    bool visible = true;
};
