// The settings record on the clipboard ("scatterProperties"), which any program can put
// there: read, checked against a row of a graph's settings tree, and pasted when accepted.
#include "FuzzSamples.h"
#include "FuzzTargets.h"
#include "analysis/MyGraphSettingsKeeper.h"
#include "outline/MyConfigRootItem.h"
#include "outline/MySettingsClipboard.h"
#include "platform/PropertyList.h"
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace fuzz {

namespace {

// A hash that is the same in every process, so an input always picks the same rows.
quint32 stableHash(const QByteArray& data)
{
    quint32 h = 2166136261u;
    for (char c : data)
        h = (h ^ quint8(c)) * 16777619u;
    return h;
}

void collectRows(MyConfigItem* row, QList<MyConfigItem*>& out)
{
    out.append(row);
    for (MyConfigItem* child : row->configChildren())
        collectRows(child, out);
}

// A pasted value as the graph keeps it in line with its analysis: the series and the
// categories with their values stay those of the analysis. nullopt when it cannot be kept.
std::optional<QVariant> keptInLine(const QVariant& value, const MyConfigItem* row, const QVariantMap& stored)
{
    const QStringList keys = row->keysAndIndexes().first;
    const bool categories = keys.first() == QLatin1String("categoryDicts");
    if (categories && keys.size() == 1)
        return MyGraphSettingsKeeper::fixedCategoryDicts(value.toList(), row, stored);
    if (categories && keys.size() == 2)
        return MyGraphSettingsKeeper::fixedCategoryDict(value.toMap(), row, stored);
    if (categories && keys.size() == 3 && keys[2] == QLatin1String("represents"))
        return MyGraphSettingsKeeper::fixedRepresents(value.toList(), row, stored);
    if (keys.size() == 1 && (keys[0] == QLatin1String("dotsProperties") || keys[0] == QLatin1String("boxesProperties"))) {
        const QString graphType = keys[0] == QLatin1String("dotsProperties") ? QStringLiteral("scatter") : QStringLiteral("box");
        return MyGraphSettingsKeeper::fixedDotsOrBoxesProperties(value.toList(), graphType, stored);
    }
    return value;
}

void pasteOnto(const QVariantMap& record, const QVariantMap& stored, MyConfigRootItem& root, MyConfigItem* row)
{
    const MySettingsClipboard::Verdict verdict = MySettingsClipboard::check(record, row);
    if (!verdict.accepted())
        return;
    check(verdict.message.isEmpty(), "an accepted paste shows no refusal");
    const std::optional<QVariant> value = keptInLine(verdict.value, row, stored);
    if (!value)
        return;
    check(row->fits(*value), "an accepted paste fits its row");
    check(row->setObject(*value), "an accepted paste is applied");
    check(MySettingsClipboard::check(MySettingsClipboard::recordOf(row), row).accepted(),
          "a pasted row takes its own record");
    check(checkSettingsTree(root.object().toMap(), true), "settings after a paste open as a tree");
}

} // namespace

void runSettingsClipboard(const QByteArray& data)
{
    auto* mime = new QMimeData;
    mime->setData(QString::fromLatin1(MySettingsClipboard::mimeType), data);
    QGuiApplication::clipboard()->setMimeData(mime);
    const std::optional<QVariantMap> record = MySettingsClipboard::read();
    if (!record)
        return;

    const quint32 hash = stableHash(data);
    const QVector<QVariantMap> graphs = sampleGraphSettings();
    const QVariantMap& settings = graphs.at(int(hash % quint32(graphs.size())));

    // The row the record names, and one row of the tree whatever it names.
    for (int pick = 0; pick < 2; ++pick) {
        MyConfigRootItem root(nullptr);
        check(root.outlineItemFromSettings(settings), "the sample settings open as a tree");
        MyConfigItem* row = nullptr;
        if (pick == 0) {
            QStringList keys;
            for (const QVariant& k : record->value(QStringLiteral("keys")).toList())
                keys.append(k.toString());
            row = root.outlineItemWithKeys(keys);
        } else {
            QList<MyConfigItem*> rows;
            collectRows(&root, rows);
            row = rows.at(int((hash / 2) % quint32(rows.size())));
        }
        if (row)
            pasteOnto(*record, settings, root, row);
    }
}

QList<QByteArray> settingsClipboardSeeds()
{
    // The record of every copyable row, as the application puts it on the clipboard.
    QList<QByteArray> seeds;
    for (const QVariantMap& settings : sampleGraphSettings()) {
        MyConfigRootItem root(nullptr);
        root.outlineItemFromSettings(settings);
        QList<MyConfigItem*> rows;
        collectRows(&root, rows);
        for (int i = 1; i < rows.size(); i += 7)
            if (rows[i]->changeable)
                seeds.append(PropertyList::toXml(MySettingsClipboard::recordOf(rows[i])));
    }
    return seeds;
}

} // namespace fuzz
