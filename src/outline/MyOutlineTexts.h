#pragma once
// What the selector outline shows in its cells.
#include <QString>
#include <QVariant>

class MySelectorItem;

class MyOutlineTexts {
public:
    // Selector outline cell: a QString, a bool (the used mark) or an invalid QVariant.
    static QVariant objectSelectorOutlineView(const MySelectorItem* item, qint64 columnIdentifier, qint64 level);
    // "st", "nd", "rd" for 1, 2, 3; "th" for every other level number.
    static QString ordinalSuffix(qint64 k);
};
