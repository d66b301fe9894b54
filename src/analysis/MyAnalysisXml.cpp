#include "analysis/MyAnalysisXml.h"
#include "outline/MySelectorItem.h"
#include <QHash>
#include <memory>

namespace {

const QString kCategorizing = QStringLiteral("Categorizing");
// Analysis, group, column, represent: nothing the writer makes lies deeper.
constexpr int kDeepestLevel = 3;

// The part of a line after its last tab.
QString tailOf(const QString& line)
{
    const int tab = line.lastIndexOf('\t');
    return tab < 0 ? line : line.mid(tab + 1);
}

QString removedAll(QString text, const QStringList& markers)
{
    for (const QString& m : markers)
        text.remove(m, Qt::CaseInsensitive);
    return text;
}

std::unique_ptr<MySelectorItem> newNode(const QString& title, const QString& message, const QString& type,
                                        MySelectorItem* parent)
{
    auto node = std::make_unique<MySelectorItem>(title, message, type, std::vector<std::unique_ptr<MySelectorItem>>{},
                                                 QVector<qint64>{}, QVector<std::optional<double>>{}, parent);
    node->editting = false;
    return node;
}

} // namespace

QString MyAnalysisXml::escapeText(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        switch (c.unicode()) {
        case '&': out += QLatin1String("&amp;"); break;
        case '<': out += QLatin1String("&lt;"); break;
        case '>': out += QLatin1String("&gt;"); break;
        case '"': out += QLatin1String("&quot;"); break;
        case '\t': out += QLatin1String("&#9;"); break;
        case '\n': out += QLatin1String("&#10;"); break;
        default: out += c;
        }
    }
    return out;
}

QString MyAnalysisXml::unescapeText(const QString& text)
{
    if (!text.contains('&'))
        return text;
    static const std::pair<QLatin1String, QChar> refs[] = {
        {QLatin1String("&amp;"), '&'},  {QLatin1String("&lt;"), '<'},  {QLatin1String("&gt;"), '>'},
        {QLatin1String("&quot;"), '"'}, {QLatin1String("&#9;"), '\t'}, {QLatin1String("&#10;"), '\n'},
        {QLatin1String("&#32;"), ' '},  {QLatin1String("&#47;"), '/'},
    };
    QString out;
    out.reserve(text.size());
    for (int i = 0; i < text.size();) {
        bool matched = false;
        if (text[i] == '&') {
            for (const auto& [ref, c] : refs) {
                if (QStringView(text).mid(i).startsWith(ref)) {
                    out += c;
                    i += ref.size();
                    matched = true;
                    break;
                }
            }
        }
        if (!matched)
            out += text[i++];
    }
    return out;
}

std::optional<QString> MyAnalysisXml::xmlFromItem(const MySelectorItem* item)
{
    const MySelectorItem* graphType = item ? item->childTitle("graphType") : nullptr;
    if (!graphType)
        return std::nullopt;
    QString x = QStringLiteral("<?xml version=\"1.0\"?>\n<analysis>\n\t<title>") + escapeText(item->title)
                + QStringLiteral("</title>\n\t<graphType>") + escapeText(graphType->message)
                + QStringLiteral("</graphType>\n");
    for (const MySelectorItem* group : item->selectorChildren()) {
        if (group->title == QLatin1String("graphType"))
            continue;
        // A group's title ends at its first space when read, and its line would close a
        // group if the title began with a slash.
        QString groupTitle = escapeText(group->title).replace(QLatin1Char(' '), QLatin1String("&#32;"));
        if (groupTitle.startsWith(QLatin1Char('/')))
            groupTitle.replace(0, 1, QLatin1String("&#47;"));
        x += QStringLiteral("\t<") + groupTitle + QStringLiteral(" next=\"array\">\n");
        for (const MySelectorItem* column : group->selectorChildren()) {
            x += QStringLiteral("\t\t<represents next=\"array\">\n\t\t\t<title>") + escapeText(column->title)
                 + QStringLiteral("</title>\n");
            for (const MySelectorItem* rep : column->selectorChildren())
                x += QStringLiteral("\t\t\t<represents name=\"") + escapeText(rep->title) + QStringLiteral("\" use=\"")
                     + escapeText(rep->type) + QStringLiteral("\">") + escapeText(rep->message)
                     + QStringLiteral("</represents>\n");
            x += QStringLiteral("\t\t</represents>\n");
        }
        x += QStringLiteral("\t</") + groupTitle + QStringLiteral(">\n");
    }
    x += QStringLiteral("</analysis>");
    return x;
}

bool MyAnalysisXml::isCutOff(const QString& xml)
{
    return !QStringView(xml).trimmed().endsWith(QLatin1String("</analysis>"), Qt::CaseInsensitive);
}

MySelectorItem* MyAnalysisXml::outlineItemFromXLMWithXmlString(const QString& xml, MySelectorItem* root,
                                                               const Table& table, QVector<int>* usedColumns)
{
    if (usedColumns)
        usedColumns->clear();
    const QStringList lines = xml.split('\n');
    if (lines.size() < 4 || !root)
        return nullptr;

    const QString title = unescapeText(removedAll(tailOf(lines[2]), {"<title>", "</title>"}));
    auto analysis = newNode(title, QString(), QString(), root);
    const QString graphType = unescapeText(removedAll(tailOf(lines[3]), {"<graphType>", "</graphType>"}));
    analysis->append(newNode("graphType", graphType, QString(), analysis.get()));

    MySelectorItem* current = analysis.get();
    int level = 0;   // of current below the analysis
    // Data of the column opened last: its categories with their rows, or its numbers.
    bool columnFound = false;
    // Categories by their composed form (titles match as MySelectorItem::sameTitle has them),
    // the first of equal ones winning (inserted last): one lookup per represent instead of a
    // search that made a column of 10,000 values take seconds.
    QHash<QString, int> categoryAt;
    QVector<QVector<qint64>> categoryRows;
    QVector<std::optional<double>> numbers;

    const int last = lines.size() - 1;   // the closing line is never read
    for (int i = 4; i < last; ++i) {
        const QString& line = lines[i];
        // Shorter than four bytes in UTF-8; only a short line needs encoding to tell.
        if (line.size() < 4 && line.toUtf8().size() < 4)
            break;
        const QString tail = tailOf(line);
        const int close = tail.indexOf(QLatin1String("</"));
        // A text nested deeper than any writer nests is not an analysis.
        if ((close != 0) && level >= kDeepestLevel) {
            if (usedColumns)
                usedColumns->clear();
            return nullptr;
        }
        // Where the represent just made finds its rows: among its column's categories, or
        // the column's numbers.
        auto placeRepresent = [&](MySelectorItem& rep) {
            const MySelectorItem* parent = current->selectorParent();
            if (parent && parent->title == kCategorizing) {
                const int at = categoryAt.value(rep.title.normalized(QString::NormalizationForm_C), -1);
                if (at >= 0)
                    rep.data1 = categoryRows.value(at);
                else
                    rep.type = QStringLiteral("NO");   // the value is gone from the column
            } else {
                rep.data2 = numbers;
            }
        };
        if (close < 0 && level == kDeepestLevel - 1) {
            // An opening inside a column stands where a represent does, and is written back
            // as one: it is read as one, so that it reads back the same.
            auto rep = newNode(unescapeText(tail.split(' ').first().remove('<')), QString(), QString(), current);
            placeRepresent(*rep);
            current = current->append(std::move(rep));
            ++level;
        } else if (close < 0) {
            const bool nextIsTitle = i + 1 < lines.size() && lines[i + 1].contains("<title>", Qt::CaseInsensitive);
            if (nextIsTitle) {
                QString columnTitle = lines[i + 1].split(QStringLiteral("<title>")).last();
                const int end = columnTitle.indexOf(QLatin1String("</title>"));
                if (end >= 0)
                    columnTitle.truncate(end);
                columnTitle = unescapeText(columnTitle);
                ++i;
                const int column = table.indexOfVariables(columnTitle);
                columnFound = column >= 0;
                categoryAt.clear();
                categoryRows.clear();
                numbers.clear();
                if (columnFound && usedColumns)
                    usedColumns->append(column);
                if (current->title == kCategorizing) {
                    if (columnFound) {
                        QStringList categories;
                        std::tie(categories, categoryRows) = table.categoriesOfVariable(column);
                        categoryAt.reserve(categories.size());
                        for (int c = categories.size() - 1; c >= 0; --c)
                            categoryAt.insert(categories[c].normalized(QString::NormalizationForm_C), c);
                    }
                } else {
                    // A column gone from the table has no numbers, but keeps the row count
                    // that the other data columns have.
                    numbers = columnFound ? table.numericValuesOfVariable(column)
                                          : QVector<std::optional<double>>(table.dataRowCount());
                }
                current = current->append(newNode(columnTitle, QString(), QString(), current));
            } else {
                // No title, so no column of the table: nothing of the column read before
                // may carry over to represents below this one.
                columnFound = false;
                categoryAt.clear();
                categoryRows.clear();
                numbers = QVector<std::optional<double>>(table.dataRowCount());
                const QString word = unescapeText(tail.split(' ').first().remove('<'));
                current = current->append(newNode(word, QString(), QString(), current));
            }
            ++level;
        } else if (close == 0) {
            // Closing lines never climb above the analysis.
            if (current != analysis.get()) {
                current = current->selectorParent();
                --level;
            }
        } else if (level != kDeepestLevel - 1) {
            // A represent outside a column has nowhere to be written back: left out, as the
            // writer could only make a column of it.
            continue;
        } else {
            const QString head = tail.left(close);
            const QStringList parts = head.split('>');
            const QString text = parts.size() > 1 ? parts[1] : QString();
            QString name, use;
            if (head.contains(QLatin1String("name="), Qt::CaseInsensitive)) {
                QString p = parts.first().split(QStringLiteral("name=\"")).last();
                if (head.contains(QLatin1String(" use="), Qt::CaseInsensitive)) {
                    // Quotes inside the values are escaped, so the name ends at the one
                    // quote followed by use=, whatever " use=" the values hold themselves.
                    const int at = p.indexOf(QLatin1String("\" use=\""));
                    const int split = at >= 0 ? at + 1 : p.indexOf(QLatin1String(" use=\""));
                    name = split < 0 ? p : p.left(split);
                    use = split < 0 ? QString() : p.mid(split + 6);
                } else {
                    name = p;
                }
                name.remove('"');
                use.remove('"');
            }
            name = unescapeText(name);
            use = unescapeText(use);
            auto rep = newNode(name, unescapeText(text), use, current);
            placeRepresent(*rep);
            current->append(std::move(rep));
        }
    }
    return root->append(std::move(analysis));
}
