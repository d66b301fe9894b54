#include "outline/MyConfigItem.h"
#include "app/AppDelegate.h"
#include "outline/MySelectorItem.h"
#include "platform/NumberText.h"
#include "platform/PropertyList.h"
#include <QSet>
#include <algorithm>
#include <cmath>

namespace {

constexpr qint64 kReserveBits = 0x8000 | 0x10000;

std::optional<double> boundFrom(const QVariant& v)
{
    const QString kind = PropertyList::kindOf(v);
    if (kind == "integer" || kind == "real")
        return v.toDouble();
    const QString text = v.toString();
    if (text.isEmpty())
        return std::nullopt;
    return NumberText::doubleValue(text);
}

bool isNumber(const QVariant& v)
{
    const QString kind = PropertyList::kindOf(v);
    return (kind == "integer") || (kind == "real" && std::isfinite(v.toDouble()));
}

qint64 integerValue(const QVariant& v)
{
    if (PropertyList::kindOf(v) == "integer")
        return v.toLongLong();
    return MyConfigItem::truncatedInteger(v.toDouble());
}

bool isContainerType(const QString& type)
{
    return type == "dict" || type == "array";
}

} // namespace

MyConfigItem::MyConfigItem(const QString& title, const QString& message, const QString& type,
                           MyConfigItem* parentItem, qint64 numOfCategories)
    : MyOutlineItem(title, message, type, parentItem)
{
    readDescription(title, numOfCategories);
}

const QVariantMap& MyConfigItem::descriptionTable()
{
    static const QVariantMap empty;
    const AppDelegate* delegate = AppDelegate::shared();
    return delegate ? delegate->configResOutlineItem : empty;
}

void MyConfigItem::readDescription(const QString& givenTitle, qint64 numOfCategories)
{
    const QVariantMap& table = descriptionTable();
    auto* parent = dynamic_cast<MyConfigItem*>(parentItem());
    if (!parent) {
        itemID.clear();
        changeable = true;
        indexes.clear();
        type2.clear();
        minVal.reset();
        maxVal.reset();
        allowEqual = false;
        setIndex = table.value(QString()).toMap().value("setIndex").toLongLong();
        return;
    }
    const QString prefix = parent->itemID.isEmpty() ? QString() : parent->itemID + '\t';
    QString key = prefix + givenTitle;
    QVariantMap d = table.value(key).toMap();
    const QString fix = d.value("needFix").toString();
    if (!fix.isEmpty()) {
        key = prefix + fix;
        d = table.value(key).toMap();
        title = fix;
    }
    itemID = key;
    // A row the table does not describe stays out of copy and paste.
    changeable = d.value("changeable").toBool();
    indexes.clear();
    for (const QVariant& v : d.value("indexes").toList())
        indexes.append(v.toLongLong());
    type2 = d.value("type2").toString();
    allowEqual = d.value("allowEqual").toBool();
    qint64 bits = d.value("setIndex").toLongLong();
    if (d.value("dotReserve").toBool()) {
        if (key.count('\t') + 1 < 3) {
            if (parent->childCount() + 1 == numOfCategories)
                bits |= kReserveBits;
        } else if ((parent->setIndex & kReserveBits) == kReserveBits) {
            bits |= kReserveBits;
        }
    }
    minVal = boundFrom(d.value("minVal"));
    maxVal = boundFrom(d.value("maxVal"));
    setIndex = bits;
}

QList<MyConfigItem*> MyConfigItem::configChildren() const
{
    return childrenOf<MyConfigItem>();
}

MyConfigItem* MyConfigItem::configChildAt(int position) const
{
    return dynamic_cast<MyConfigItem*>(childAt(position));
}

bool MyConfigItem::setConfigChildren(const QList<MyConfigItem*>& rows)
{
    return arrangeChildren(QList<MyOutlineItem*>(rows.begin(), rows.end()));
}

MyConfigItem* MyConfigItem::configParent() const
{
    return dynamic_cast<MyConfigItem*>(parentItem());
}

std::pair<QStringList, QVector<qint64>> MyConfigItem::keysAndIndexes() const
{
    return {itemID.split('\t'), indexes};
}

MyConfigItem* MyConfigItem::childTitle(const QString& wanted) const
{
    for (const auto& c : m_children) {
        if (c->title == wanted)
            return dynamic_cast<MyConfigItem*>(c.get());
    }
    return nullptr;
}

qint64 MyConfigItem::truncatedInteger(double value)
{
    if (std::isnan(value))
        return 0;
    const double t = std::trunc(value);
    if (t >= 9.2233720368547758e18)
        return std::numeric_limits<qint64>::max();
    if (t <= -9.2233720368547758e18)
        return std::numeric_limits<qint64>::min();
    return qint64(t);
}

// ---- value read ----

QVariant MyConfigItem::object() const
{
    if (type == "integer") {
        if (auto v = NumberText::parseInt64(message))
            return QVariant::fromValue<qint64>(*v);
        // Never written by the tree itself; keep the leading number rather than a hole.
        return QVariant::fromValue<qint64>(integerValue(NumberText::doubleValue(message)));
    }
    if (type == "real")
        return NumberText::doubleValue(message);
    if (type == "Bool")
        return message == "YES";
    if (type == "data")
        return dataFromText(message);
    if (type == "dict") {
        QVariantMap map;
        for (MyConfigItem* c : configChildren())
            map.insert(c->title, c->object());
        return map;
    }
    if (type == "array") {
        QVariantList list;
        for (MyConfigItem* c : configChildren())
            list.append(c->object());
        return list;
    }
    return message;
}

QString MyConfigItem::realText(double value)
{
    QString text = NumberText::shortest15(value);
    if (!text.contains('.') && !text.contains('e') && !text.contains('n'))
        text += ".0";
    return text;
}

QString MyConfigItem::dataText(const QByteArray& data)
{
    return QString::fromUtf8(PropertyList::toXml(data));
}

QByteArray MyConfigItem::dataFromText(const QString& text)
{
    const QVariant v = PropertyList::fromData(text.toUtf8());
    if (PropertyList::kindOf(v) == "data")
        return v.toByteArray();
    return QByteArray();
}

QString MyConfigItem::rowTypeOf(const QVariant& value)
{
    const QString kind = PropertyList::kindOf(value);
    if (kind == "bool")
        return "Bool";
    if (kind == "string" || kind == "integer" || kind == "real" || kind == "data" || kind == "dict" || kind == "array")
        return kind;
    return QString();
}

// ---- value write ----

MyConfigItem* MyConfigItem::matchOrigName(const QString& origName, const QList<MyConfigItem*>& taken) const
{
    for (MyConfigItem* row : configChildren()) {
        if (taken.contains(row))
            continue;
        MyConfigItem* orig = row->childTitle("origName");
        if (orig && MySelectorItem::sameTitle(orig->message, origName))
            return row;
    }
    return nullptr;
}

bool MyConfigItem::fits(const QVariant& value) const
{
    if (type == "integer" || type == "real")
        return isNumber(value);
    if (type == "Bool")
        return PropertyList::kindOf(value) == "bool";
    if (type == "data")
        return PropertyList::kindOf(value) == "data";
    if (type == "dict") {
        if (PropertyList::kindOf(value) != "dict")
            return false;
        const QVariantMap map = value.toMap();
        for (MyConfigItem* c : configChildren()) {
            if (!map.contains(c->title) || !c->fits(map.value(c->title)))
                return false;
        }
        return true;
    }
    if (type == "array") {
        if (PropertyList::kindOf(value) != "array")
            return false;
        const QVariantList list = value.toList();
        const QList<MyConfigItem*> rows = configChildren();
        // Element by element, into the rows there are.
        if (title == "dotsProperties" || title == "boxesProperties" || title == "categoryDicts"
            || (title == "represents" && !matchedByOrigName())) {
            if (list.size() > rows.size())
                return false;
            for (int i = 0; i < list.size(); ++i) {
                if (!rows[i]->fits(list[i]))
                    return false;
            }
            return true;
        }
        if (title == "represents") {
            QList<MyConfigItem*> taken;
            for (const QVariant& element : list) {
                if (PropertyList::kindOf(element) != "dict")
                    return false;
                const QVariant orig = element.toMap().value("origName");
                if (PropertyList::kindOf(orig) != "string")
                    return false;
                MyConfigItem* row = matchOrigName(orig.toString(), taken);
                if (!row) {
                    // A repeated origName goes to the row already matched; it is skipped.
                    if (matchOrigName(orig.toString(), {}))
                        continue;
                    return false;
                }
                if (!row->fits(element))
                    return false;
                taken.append(row);
            }
            return true;
        }
        for (int i = 0; i < list.size(); ++i) {
            if (rows.isEmpty()) {
                // An emptied array has no model row left: its new rows are built from
                // their values.
                if (!buildable(list[i]))
                    return false;
                continue;
            }
            MyConfigItem* model = i < rows.size() ? rows[i] : rows.first();
            if (i >= rows.size() && isContainerType(model->type)) {
                // A new container row is built from its value; only its kind must agree.
                if (rowTypeOf(list[i]) != model->type || !buildable(list[i]))
                    return false;
            } else if (!model->fits(list[i])) {
                return false;
            }
        }
        return true;
    }
    return PropertyList::kindOf(value) == "string";
}

bool MyConfigItem::setObject(const QVariant& value)
{
    if (!fits(value))
        return false;
    writeValue(value);
    return true;
}

void MyConfigItem::writeValue(const QVariant& value)
{
    if (type == "integer") {
        message = QString::number(integerValue(value));
    } else if (type == "Bool") {
        message = value.toBool() ? "YES" : "NO";
    } else if (type == "real") {
        message = realText(value.toDouble());
    } else if (type == "data") {
        message = dataText(value.toByteArray());
    } else if (type == "dict") {
        const QVariantMap map = value.toMap();
        for (MyConfigItem* c : configChildren())
            c->writeValue(map.value(c->title));
    } else if (type == "array") {
        const QVariantList list = value.toList();
        if (title == "dotsProperties" || title == "boxesProperties" || title == "categoryDicts") {
            const QList<MyConfigItem*> rows = configChildren();
            for (int i = 0; i < list.size() && i < rows.size(); ++i)
                rows[i]->writeValue(list[i]);
        } else if (title == "represents") {
            writeRepresents(list);
        } else {
            writeOrdinaryArray(list);
        }
    } else {
        message = value.toString();
    }
}

bool MyConfigItem::matchedByOrigName() const
{
    for (MyConfigItem* row : configChildren()) {
        const MyConfigItem* orig = row->childTitle("origName");
        if (row->type != "dict" || !orig || orig->type != "string")
            return false;
    }
    return true;
}

void MyConfigItem::writeRepresents(const QVariantList& elements)
{
    if (!matchedByOrigName()) {
        const QList<MyConfigItem*> rows = configChildren();
        for (int i = 0; i < elements.size(); ++i)
            rows[i]->writeValue(elements[i]);
        while (childCount() > elements.size())
            removeChild(childCount() - 1);
        reorder();
        return;
    }
    QList<MyConfigItem*> order;
    for (const QVariant& element : elements) {
        const QVariantMap entry = element.toMap();
        if (MyConfigItem* row = matchOrigName(entry.value("origName").toString(), order)) {
            row->writeValue(entry);
            order.append(row);
        }
    }
    setConfigChildren(order);
    reorder();
}

void MyConfigItem::writeOrdinaryArray(const QVariantList& elements)
{
    const int m = childCount();
    const QString modelType = m > 0 ? configChildAt(0)->type : QString();
    for (int i = 0; i < elements.size(); ++i) {
        if (i < m) {
            configChildAt(i)->writeValue(elements[i]);
        } else if (m == 0 || isContainerType(modelType)) {
            appendRowForValue(this, QString(), elements[i], 0);
        } else {
            auto* row = append(std::make_unique<MyConfigItem>(QString(), QString(), modelType, this, 0));
            row->writeValue(elements[i]);
        }
    }
    while (childCount() > elements.size())
        removeChild(childCount() - 1);
    reorder();
}

bool MyConfigItem::buildable(const QVariant& value)
{
    const QString rowType = rowTypeOf(value);
    if (rowType == "dict") {
        const QVariantMap map = value.toMap();
        return std::all_of(map.begin(), map.end(), [](const QVariant& v) { return buildable(v); });
    }
    if (rowType == "array") {
        const QVariantList list = value.toList();
        return std::all_of(list.begin(), list.end(), [](const QVariant& v) { return buildable(v); });
    }
    return !rowType.isEmpty() && (rowType != "real" || std::isfinite(value.toDouble()));
}

MyConfigItem* MyConfigItem::appendRowForValue(MyConfigItem* parent, const QString& rowTitle, const QVariant& value, qint64 numOfCategories)
{
    return parent->append(rowForValue(parent, rowTitle, value, numOfCategories));
}

std::unique_ptr<MyConfigItem> MyConfigItem::rowForValue(MyConfigItem* parent, const QString& rowTitle, const QVariant& value, qint64 numOfCategories)
{
    const QString rowType = rowTypeOf(value);
    auto owned = std::make_unique<MyConfigItem>(rowTitle, QString(), rowType, parent, numOfCategories);
    MyConfigItem* row = owned.get();
    if (rowType == "dict") {
        const QVariantMap map = value.toMap();
        for (auto it = map.begin(); it != map.end(); ++it)
            appendRowForValue(row, it.key(), it.value(), numOfCategories);
    } else if (rowType == "array") {
        for (const QVariant& element : value.toList())
            appendRowForValue(row, QString(), element, numOfCategories);
    } else {
        row->writeValue(value);
    }
    return owned;
}

// ---- order ----

void MyConfigItem::reorder()
{
    if (type != "array") {
        std::stable_sort(m_children.begin(), m_children.end(), [](const auto& a, const auto& b) {
            auto* ra = dynamic_cast<MyConfigItem*>(a.get());
            auto* rb = dynamic_cast<MyConfigItem*>(b.get());
            return (ra ? ra->myIndex() : 0) < (rb ? rb->myIndex() : 0);
        });
    }
    qint64 position = 0;
    for (MyConfigItem* c : configChildren()) {
        c->indexes = indexes;
        c->indexes.append(position++);
        if (c->hasChildren())
            c->reorder();
    }
}
