#include "outline/MyConfigRootItem.h"
#include "outline/MySettingsClipboard.h"
#include "platform/PropertyList.h"

namespace {

// Character references the XML writer puts into texts, decoded back to characters.
QString decodeEntities(const QString& text)
{
    if (!text.contains('&'))
        return text;
    QString out;
    out.reserve(text.size());
    int i = 0;
    while (i < text.size()) {
        const QChar ch = text[i];
        const int semi = ch == '&' ? text.indexOf(';', i + 1) : -1;
        if (semi < 0 || semi - i > 12) {
            out += ch;
            ++i;
            continue;
        }
        const QString name = text.mid(i + 1, semi - i - 1);
        QString decoded;
        if (name == "amp")
            decoded = "&";
        else if (name == "lt")
            decoded = "<";
        else if (name == "gt")
            decoded = ">";
        else if (name == "quot")
            decoded = "\"";
        else if (name == "apos")
            decoded = "'";
        else if (name.startsWith('#')) {
            bool ok = false;
            const uint code = (name.startsWith("#x") || name.startsWith("#X")) ? name.mid(2).toUInt(&ok, 16)
                                                                               : name.mid(1).toUInt(&ok, 10);
            if (ok && code > 0 && code <= 0x10FFFF && !(code >= 0xD800 && code <= 0xDFFF)) {
                const char32_t c = char32_t(code);
                decoded = QString::fromUcs4(&c, 1);
            }
        }
        if (decoded.isEmpty()) {
            out += ch;
            ++i;
        } else {
            out += decoded;
            i = semi + 1;
        }
    }
    return out;
}

struct Scalar {
    QString name;
    QString text;
    int next = -1;   // -1: malformed
};

// One element whose text may run over several lines (a text holding line breaks).
Scalar readScalar(const QStringList& lines, int i)
{
    Scalar s;
    const QString& line = lines[i];
    const int open = line.indexOf('<');
    const int openEnd = open < 0 ? -1 : line.indexOf('>', open);
    if (openEnd < 0)
        return s;
    QString name = line.mid(open + 1, openEnd - open - 1);
    if (name.endsWith('/')) {
        s.name = name.chopped(1).trimmed();
        s.next = i + 1;
        return s;
    }
    s.name = name;
    const QString close = "</" + name + ">";
    const int end = line.indexOf(close, openEnd + 1);
    if (end >= 0) {
        s.text = decodeEntities(line.mid(openEnd + 1, end - openEnd - 1));
        s.next = i + 1;
        return s;
    }
    QString text = line.mid(openEnd + 1);
    for (int k = i + 1; k < lines.size(); ++k) {
        const int c = lines[k].indexOf(close);
        if (c >= 0) {
            text += '\n' + lines[k].left(c);
            s.text = decodeEntities(text);
            s.next = k + 1;
            return s;
        }
        text += '\n' + lines[k];
    }
    return s;
}

QString dataMessage(const QStringList& dataLines)
{
    QString text = "<plist version=\"1.0\">\n";
    for (int k = 0; k < dataLines.size(); ++k) {
        text += dataLines[k];
        if (k + 1 < dataLines.size())
            text += '\n';
    }
    return text + "\n</plist>\n";
}

} // namespace

MyConfigRootItem::MyConfigRootItem(MyWindowController* windowCont)
    : MyConfigItem("rootItem", QString(), "dict", nullptr, 0), m_windowCont(windowCont)
{
}

bool MyConfigRootItem::outlineItemFromSettings(const QVariantMap& settings)
{
    const QVariant categories = settings.value("categoryDicts");
    const qint64 n = PropertyList::kindOf(categories) == "array" ? categories.toList().size() : 0;
    const QByteArray xml = PropertyList::toXml(settings);
    if (xml.isEmpty())
        return false;
    const QString text = QString::fromUtf8(xml);
    if (text.toUtf8() != xml)   // not UTF-8
        return false;
    const QStringList lines = text.split('\n');

    int i = 0;
    while (i < lines.size() && !lines[i].startsWith("<plist"))
        ++i;
    ++i;
    if (i >= lines.size())
        return false;
    if (lines[i] == "<dict/>") {
        reorder();
        return true;
    }
    if (lines[i] != "<dict>")
        return false;
    ++i;
    const int before = childCount();
    while (i >= 0 && i < lines.size() && lines[i] != "</dict>")
        i = parsePlistLines(lines, i, this, true, n);
    if (i < 0 || i >= lines.size()) {
        while (childCount() > before)
            removeChild(childCount() - 1);
        return false;
    }
    reorder();
    return true;
}

int MyConfigRootItem::parsePlistLines(const QStringList& lines, int index, MyConfigItem* parent, bool keyed, qint64 n)
{
    if (index < 0 || index >= lines.size())
        return -1;
    int i = index;
    QString title;
    if (keyed) {
        const Scalar key = readScalar(lines, i);
        if (key.next < 0 || key.name != "key")
            return -1;
        title = key.text;
        i = key.next;
        if (i >= lines.size())
            return -1;
    }
    const QString& v = lines[i];
    const int open = v.indexOf('<');
    if (open < 0)
        return -1;
    const QString indent = v.left(open);
    const QString tag = v.mid(open);
    auto addRow = [&](const QString& message, const QString& rowType) {
        return parent->append(std::make_unique<MyConfigItem>(title, message, rowType, parent, n));
    };

    if (tag == "<dict>" || tag == "<array>") {
        const bool isDict = tag == "<dict>";
        MyConfigItem* row = addRow(QString(), isDict ? "dict" : "array");
        const QString endLine = indent + (isDict ? "</dict>" : "</array>");
        int j = i + 1;
        while (j >= 0 && j < lines.size() && lines[j] != endLine)
            j = parsePlistLines(lines, j, row, isDict, n);
        return (j < 0 || j >= lines.size()) ? -1 : j + 1;
    }
    if (tag == "<dict/>" || tag == "<array/>") {
        addRow(QString(), tag == "<dict/>" ? "dict" : "array");
        return i + 1;
    }
    if (tag == "<data>") {
        const QString endLine = indent + "</data>";
        QStringList dataLines{v};
        for (int k = i + 1; k < lines.size(); ++k) {
            dataLines.append(lines[k]);
            if (lines[k] == endLine) {
                addRow(dataMessage(dataLines), "data");
                return k + 1;
            }
        }
        return -1;
    }
    if (tag == "<data/>" || (tag.startsWith("<data>") && tag.endsWith("</data>"))) {
        addRow(dataMessage({v}), "data");
        return i + 1;
    }
    if (tag == "<true/>" || tag == "<false/>") {
        addRow(tag == "<true/>" ? "YES" : "NO", "Bool");
        return i + 1;
    }
    const Scalar s = readScalar(lines, i);
    if (s.next < 0 || s.name.isEmpty())
        return -1;
    addRow(s.text, s.name);
    return s.next;
}

MyConfigItem* MyConfigRootItem::outlineItemWithKeys(const QStringList& keys) const
{
    const MyConfigItem* row = this;
    for (const QString& key : keys) {
        row = row->childTitle(key);
        if (!row)
            return nullptr;
    }
    return const_cast<MyConfigItem*>(row);
}

QList<MyConfigItem*> MyConfigRootItem::outlineItemsFromKeys(const QStringList& keys) const
{
    QList<MyConfigItem*> rows;
    const MyConfigItem* row = this;
    for (const QString& key : keys) {
        row = row->childTitle(key);
        if (!row)
            return {};
        rows.append(const_cast<MyConfigItem*>(row));
    }
    return rows;
}

QList<MyConfigItem*> MyConfigRootItem::outlineItemsWithItem(MyConfigItem* item) const
{
    QList<MyConfigItem*> rows;
    for (MyConfigItem* row = item; row && row != this; row = row->configParent()) {
        rows.prepend(row);
        if (row->parentItem() == this)
            return rows;
    }
    return {};
}

QList<MyConfigItem*> MyConfigRootItem::outlineItemsFromIndexes(const QVector<qint64>& positions) const
{
    QList<MyConfigItem*> rows;
    const MyConfigItem* row = this;
    for (qint64 position : positions) {
        if (position < 0 || position >= row->childCount())
            return {};
        row = row->configChildAt(int(position));
        if (!row)
            return {};
        rows.append(const_cast<MyConfigItem*>(row));
    }
    return rows;
}

bool MyConfigRootItem::allowEditOutlineItem(const MyConfigItem* item, qint64 columnIdentifier) const
{
    if (!item || columnIdentifier != 1)
        return false;
    if (item->type == "data" || item->type == "dict" || item->type == "array")
        return false;
    if (item->title == "origName")
        return false;
    const MyConfigItem* parent = item->configParent();
    if (item->title == "categoryTitle" && (!parent || parent->title.isEmpty()))
        return false;
    if (item->title == "viewWidth" || item->title == "viewHeight") {
        const MyConfigItem* follow = parent ? parent->childTitle("followPageLayout") : nullptr;
        return follow && follow->message == "NO";
    }
    return true;
}

void MyConfigRootItem::copyOutlineItem(const MyConfigItem* item) const
{
    if (!item || !item->changeable)
        return;
    MySettingsClipboard::write(MySettingsClipboard::recordOf(item));
}
