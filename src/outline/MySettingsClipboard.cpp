#include "outline/MySettingsClipboard.h"
#include "outline/MyConfigItem.h"
#include "outline/MyOutlineTexts.h"
#include "platform/Dialogs.h"
#include "platform/PropertyList.h"
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QSet>

const QString MySettingsClipboard::unchangeableRow = "You cannnot paste them to an unchangeable row.";
const QString MySettingsClipboard::differentType = "The type of copied data is different from that of the current row.";
const QString MySettingsClipboard::differentLocation = "You cannnot paste multiple items of settings to a different location.";
const QString MySettingsClipboard::notApplicable = "This value is not applicapable for this row.";

QVariantMap MySettingsClipboard::recordOf(const MyConfigItem* row)
{
    const auto [keys, indexes] = row->keysAndIndexes();
    QVariantList indexList;
    for (qint64 i : indexes)
        indexList.append(QVariant::fromValue<qint64>(i));
    return QVariantMap{
        {"keys", keys},
        {"indexes", indexList},
        {"val", row->object()},
        {"type", row->type},
        {"type2", row->type2},
    };
}

void MySettingsClipboard::write(const QVariantMap& record)
{
    const QByteArray data = PropertyList::toXml(record);
    if (data.isEmpty())
        return;
    auto* mime = new QMimeData;
    mime->setData(mimeType, data);
    QGuiApplication::clipboard()->setMimeData(mime);
}

std::optional<QVariantMap> MySettingsClipboard::read()
{
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    if (!mime || !mime->hasFormat(mimeType))
        return std::nullopt;
    const QVariant value = PropertyList::fromData(mime->data(mimeType));
    if (PropertyList::kindOf(value) != "dict")
        return std::nullopt;
    return value.toMap();
}

bool MySettingsClipboard::applicable(const QVariant& value, const MyConfigItem* target)
{
    const QString kind = PropertyList::kindOf(value);
    const QString& type = target->type;
    if (type == "string")
        return kind == "string" && MyOutlineTexts::allowString(value.toString(), target);
    if (type == "integer")
        return kind == "integer" && MyOutlineTexts::allowInt(value.toLongLong(), target);
    if (type == "dict") {
        if (kind != "dict")
            return false;
        const QVariantMap map = value.toMap();
        const QList<MyConfigItem*> rows = target->configChildren();
        if (map.size() != rows.size())
            return false;
        const bool noLabels = target->title == "valueSettings" && MyOutlineTexts::hasNoLabels(map);
        for (MyConfigItem* row : rows) {
            if (noLabels && row->title == "partition")
                continue;
            if (!map.contains(row->title) || !applicable(map.value(row->title), row))
                return false;
        }
        return true;
    }
    if (type == "array") {
        if (kind != "array")
            return false;
        const QVariantList list = value.toList();
        const QList<MyConfigItem*> rows = target->configChildren();
        // Elements beyond the rows share the description of the first row; an emptied
        // array is checked against rows made from its elements, which read their
        // descriptions as the rows of the paste will.
        for (int i = 0; i < list.size(); ++i) {
            if (!rows.isEmpty()) {
                if (!applicable(list[i], i < rows.size() ? rows[i] : rows.first()))
                    return false;
                continue;
            }
            if (!MyConfigItem::buildable(list[i]))
                return false;
            const auto probe = MyConfigItem::rowForValue(const_cast<MyConfigItem*>(target), QString(), list[i], 0);
            if (!applicable(list[i], probe.get()))
                return false;
        }
        return true;
    }
    // Colours and fonts that do not decode would be written, saved and reset at the next
    // open: they are read here as the open reads them.
    if (type == "data")
        return kind == "data" && MyOutlineTexts::allowData(value.toByteArray(), target);
    // Numbers, flags and plain texts: the kind the row stores.
    return target->fits(value);
}

MySettingsClipboard::Verdict MySettingsClipboard::check(const QVariantMap& record, const MyConfigItem* target)
{
    Verdict verdict;
    if (!target)
        return verdict;
    const QVariant type = record.value("type");
    const QVariant type2 = record.value("type2");
    const QVariant keys = record.value("keys");
    const QVariant val = record.value("val");
    if (PropertyList::kindOf(type) != "string" || PropertyList::kindOf(type2) != "string" || !val.isValid()
        || PropertyList::kindOf(keys) != "array")
        return verdict;
    QStringList recordKeys;
    for (const QVariant& k : keys.toList()) {
        if (PropertyList::kindOf(k) != "string")
            return verdict;
        recordKeys.append(k.toString());
    }

    if (!target->changeable) {
        verdict.message = unchangeableRow;
        return verdict;
    }
    if (target->type != type.toString() || target->type2 != type2.toString()) {
        verdict.message = differentType;
        return verdict;
    }
    const QStringList targetKeys = target->keysAndIndexes().first;
    if ((target->type == "dict" || target->type == "array") && targetKeys != recordKeys) {
        verdict.message = differentLocation;
        return verdict;
    }
    // A record of the row's own keys is taken as it stands: the graph fits it to itself
    // (a boxplot's settings lack a dot plot's bars), and what it would write is checked then
    // (fittedShowingRefusal).
    if (targetKeys != recordKeys && !applicable(val, target)) {
        verdict.message = notApplicable;
        return verdict;
    }
    verdict.value = val;
    return verdict;
}

bool MySettingsClipboard::fittedShowingRefusal(const QVariant& value, const MyConfigItem* row, Alert& alert)
{
    if (row && applicable(value, row))
        return true;
    alert.setMessageText(notApplicable);
    alert.runModal();
    return false;
}

std::optional<QVariant> MySettingsClipboard::checkShowingRefusal(const QVariantMap& record, const MyConfigItem* target, Alert& alert)
{
    const Verdict verdict = check(record, target);
    if (!verdict.message.isEmpty()) {
        alert.setMessageText(verdict.message);
        alert.runModal();
    }
    if (!verdict.accepted())
        return std::nullopt;
    return verdict.value;
}
