// The settings record on the clipboard ("scatterProperties"), which any program can put
// there, pasted onto a row of a graph window's settings outline as the Paste command does:
// checked, kept in line with the analysis, written, laid out and drawn; then undone.
#include "FuzzSamples.h"
#include "FuzzTargets.h"
#include "document/Document.h"
#include "document/DocumentHooks.h"
#include "outline/MyConfigRootItem.h"
#include "outline/MySettingsClipboard.h"
#include "platform/DocumentController.h"
#include "platform/PropertyList.h"
#include "views/MyViewManager.h"
#include "windows/MyOutlineModel.h"
#include "windows/MyWindowController.h"
#include <QClipboard>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QMimeData>
#include <QTreeView>
#include <QUndoStack>

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

// The sample package, open with its graph windows; opened again when another target
// closed it.
Document* openSample()
{
    static Document* doc = nullptr;
    DocumentController& controller = documents();
    for (const auto& open : controller.documents())
        if (open.get() == doc)
            return doc;
    QString error;
    doc = static_cast<Document*>(controller.openDocument(samplePackage(), &error));
    check(doc && doc->graphWindowConts.size() == 2, "the sample package opens with its graphs");
    // The graph windows with their settings outlines, as showing them makes them.
    for (MyWindowController* window : doc ? doc->graphWindowConts : QVector<MyWindowController*>())
        window->window();
    return doc;
}

void pasteOnto(Document& doc, qint64 id, MyConfigItem* row)
{
    MyWindowController& window = *doc.graphWindowConts.at(id);
    auto* model = qobject_cast<MyOutlineModel*>(window.configOlv->model());
    window.configOlv->selectionModel()->select(model->indexOf(row, 0),
                                               QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    const QVariantMap before = doc.graphSettings.at(id);
    QUndoStack* stack = doc.undoManager()->stack();
    const int steps = stack->index();
    window.paste();
    if (stack->index() == steps) {
        check(samePlist(doc.graphSettings.at(id), before), "a refused paste changes nothing");
        return;
    }
    check(stack->index() == steps + 1, "a paste is one undo step");
    const QVariantMap after = doc.graphSettings.at(id);
    check(checkSettingsTree(after, true), "settings after a paste open as a tree");
    // Drawn as export and saving draw it.
    DocumentHooks::shared().graphPDF(doc, int(id));
    stack->undo();
    check(samePlist(doc.graphSettings.at(id), before), "undoing a paste gives back the settings");
    stack->redo();
    check(samePlist(doc.graphSettings.at(id), after), "redoing a paste gives the pasted settings");
    stack->undo();
}

} // namespace

void runSettingsClipboard(const QByteArray& data)
{
    Document* doc = openSample();
    if (!doc)
        return;
    auto* mime = new QMimeData;
    mime->setData(QString::fromLatin1(MySettingsClipboard::mimeType), data);
    QGuiApplication::clipboard()->setMimeData(mime);
    const std::optional<QVariantMap> record = MySettingsClipboard::read();
    if (!record)
        return;

    // The row the record names, and one row of the tree whatever it names.
    const quint32 hash = stableHash(data);
    // Graph windows go by graph ID, as the document's lists do.
    const qint64 id = hash % 2;
    auto* root = dynamic_cast<MyConfigRootItem*>(doc->graphWindowConts.at(id)->rootItem);
    check(root != nullptr, "a graph window has a settings tree");
    QStringList keys;
    for (const QVariant& k : record->value(QStringLiteral("keys")).toList())
        keys.append(k.toString());
    if (MyConfigItem* named = root->outlineItemWithKeys(keys))
        pasteOnto(*doc, id, named);
    QList<MyConfigItem*> rows;
    collectRows(root, rows);
    pasteOnto(*doc, id, rows.at(int((hash / 2) % quint32(rows.size()))));
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
        for (int i = 0; i < rows.size(); i += 7)
            if (rows[i]->changeable)
                seeds.append(PropertyList::toXml(MySettingsClipboard::recordOf(rows[i])));
    }
    return seeds;
}

} // namespace fuzz
