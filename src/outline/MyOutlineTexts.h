#pragma once
// What the selector and settings outlines show in their cells, and the checks and
// conversions of text typed into a settings row.
#include "platform/KeyedArchive.h"
#include <QMetaType>
#include <QString>
#include <QVariant>
#include <QVariantMap>

class MySelectorItem;
class MyConfigItem;

// A text drawn with the font and colour of a text-attribute setting.
struct AttributedText {
    QString text;
    TextAttributes attributes;
    bool operator==(const AttributedText& o) const { return text == o.text && attributes == o.attributes; }
};
Q_DECLARE_METATYPE(AttributedText)

class MyOutlineTexts {
public:
    // Selector outline cell: a QString, a bool (the used mark) or an invalid QVariant.
    static QVariant objectSelectorOutlineView(const MySelectorItem* item, qint64 columnIdentifier, qint64 level);
    // Settings outline cell: a QString, a qint64 (array position), an AttributedText, or an
    // invalid QVariant. Display titles come from the application delegate's configResString.
    static QVariant objectOfConfigOutlineView(const MyConfigItem* item, qint64 columnIdentifier);
    static QVariant objectOfConfigOutlineView(const MyConfigItem* item, qint64 columnIdentifier, const QVariantMap& configResString);
    // The title of element index of a list whose elements are described by itemID ("Dot
    // Series 2"); empty when the description gives them none.
    static QString elementTitle(const QString& itemID, qint64 index, const QVariantMap& configResString);

    // The value typed text stands for, or an invalid QVariant when it is refused or equals
    // what the row shows.
    static QVariant objectWithString(const QString& text, const MyConfigItem* item);
    static bool allowString(const QString& text, const MyConfigItem* item);
    static bool allowInt(qint64 value, const MyConfigItem* item);
    // Data of a data row that the graph can read: a colour row's must decode as a colour,
    // any other's as text attributes. Archives decoded before are remembered (main thread).
    static bool allowData(const QByteArray& data, const MyConfigItem* item);
    // Value settings whose scale labels were all deleted: no labels, and the integer
    // "partition" -1, which no typed partition may be.
    static bool hasNoLabels(const QVariantMap& valueSettings);

    // "st", "nd", "rd" for 1, 2, 3; "th" for every other level number.
    static QString ordinalSuffix(qint64 k);
    // The platform's name of a colour ("White Color", ..., "Color").
    static QString colorName(const Color& color);
};
