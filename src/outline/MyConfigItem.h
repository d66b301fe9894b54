#pragma once
// One row of a graph's settings tree: a settings value (scalar in `message`, containers as
// children) plus the row description read from the application's description table.
#include "outline/MyOutlineItem.h"
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <optional>
#include <utility>

class MyConfigItem : public MyOutlineItem {
public:
    // Forms the key path, reads the row description (with the "needFix" title replacement)
    // and applies the reserve rule. The row is not appended to its parent here.
    MyConfigItem(const QString& title, const QString& message, const QString& type,
                 MyConfigItem* parentItem, qint64 numOfCategories);

    // Whether the row takes part in copy and paste.
    bool changeable = true;
    // The description's display list until the parent's reorder, then the position path.
    QVector<qint64> indexes;
    // Layout-step bits to re-run when the row changes; 0 runs none.
    qint64 setIndex = 0;
    // The row's key path (tab-joined titles below the root); empty for the root.
    QString itemID;
    // Value class for typed text; empty accepts any text.
    QString type2;
    std::optional<double> minVal;
    std::optional<double> maxVal;
    bool allowEqual = false;

    QList<MyConfigItem*> configChildren() const;
    MyConfigItem* configChildAt(int position) const;
    // Puts the given rows (current children) in that order; rows left out are dropped.
    bool setConfigChildren(const QList<MyConfigItem*>& rows);
    MyConfigItem* configParent() const;
    qint64 myIndex() const { return indexes.isEmpty() ? 0 : indexes.last(); }
    std::pair<QStringList, QVector<qint64>> keysAndIndexes() const;
    MyConfigItem* childTitle(const QString& title) const;

    // The property-list value of this row and everything below it (a new value each call).
    QVariant object() const;
    // Writes a value of the tree's shape into this row. A value that does not fit (wrong
    // kind, a missing dictionary entry, more series or categories than rows, an unknown
    // origName, growing an array without a model row) is refused as a whole: false, and
    // the tree is left as it was.
    bool setObject(const QVariant& value);
    // Whether setObject would accept the value.
    bool fits(const QVariant& value) const;
    // Sorts the children by myIndex (arrays keep their order) and renumbers `indexes` below.
    void reorder();

    // The row description table in use (the application delegate's).
    static const QVariantMap& descriptionTable();

    // Texts that rows store for scalar values, and back.
    static QString realText(double value);
    static QString dataText(const QByteArray& data);
    static QByteArray dataFromText(const QString& text);
    // A double truncated toward zero, held within the 64-bit range (NaN gives 0).
    static qint64 truncatedInteger(double value);

    // Makes a row for a value (type from the value's kind, children for containers) with
    // the parent's descriptions; the caller appends it. The value must be buildable.
    static std::unique_ptr<MyConfigItem> rowForValue(MyConfigItem* parent, const QString& title, const QVariant& value, qint64 numOfCategories);
    static MyConfigItem* appendRowForValue(MyConfigItem* parent, const QString& title, const QVariant& value, qint64 numOfCategories);
    // The row type a value is stored under ("string", "integer", "real", "Bool", "data",
    // "dict", "array"); empty for a value that is no property-list value.
    static QString rowTypeOf(const QVariant& value);
    // Whether rows can be built for the value: a property-list value throughout, with
    // finite numbers.
    static bool buildable(const QVariant& value);

private:
    void writeValue(const QVariant& value);
    // Whether every entry of this "represents" row is a dictionary with a text "origName",
    // so that values are matched to rows by it. Entries of settings damaged or made
    // elsewhere are written in place instead, so that the tree still takes its own value.
    bool matchedByOrigName() const;
    void writeRepresents(const QVariantList& elements);
    void writeOrdinaryArray(const QVariantList& elements);
    MyConfigItem* matchOrigName(const QString& origName, const QList<MyConfigItem*>& taken) const;
    void readDescription(const QString& title, qint64 numOfCategories);
};
