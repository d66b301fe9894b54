#include "graph/TextMarkup.h"
#include "platform/NumberText.h"

#include <QTextBoundaryFinder>
#include <cmath>
#include <limits>

namespace TextMarkup {

namespace {

const QString kTimes = QStringLiteral("\\times");
const QString kAst = QStringLiteral("\\ast");
const QString kSeparators[] = {kTimes, kAst, QStringLiteral("\u00d7"), QStringLiteral("*")};

// Both signs are shown in one text, whichever the user mixed.
QString plainShown(QString run)
{
    run.replace(kTimes, QStringLiteral("\u00d7"));
    run.replace(kAst, QStringLiteral("*"));
    return run;
}

// Characters (as a reader counts them) of a text.
int graphemeCount(const QString& text)
{
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    int count = 0;
    while (finder.toNextBoundary() > 0)
        ++count;
    return count;
}

} // namespace

QVector<Run> runs(const QString& text)
{
    QVector<Run> out;
    const qsizetype n = text.size();
    qsizetype p = 0;
    do {
        const qsizetype up = text.indexOf(u'^', p);
        const qsizetype down = text.indexOf(u'_', p);
        qsizetype m = -1;
        Script script = Script::Superscript;
        if (up >= 0 && (down < 0 || up < down)) {
            m = up;
        } else if (down >= 0) {
            m = down;
            script = Script::Subscript;
        }
        // A marker that ends the text has nothing to raise: it stays as typed.
        if (m == n - 1)
            m = -1;
        if (m < 0) {
            out.append({plainShown(text.mid(p)), Script::Plain});
            break;
        }
        out.append({plainShown(text.mid(p, m - p)), Script::Plain});
        if (text[m + 1] == u'{') {
            const qsizetype close = text.indexOf(u'}', m + 2);
            if (close < 0)
                return {};
            out.append({text.mid(m + 2, close - m - 2), script});
            p = close + 1;
        } else {
            // One character, never half of a surrogate pair.
            const qsizetype len = (text[m + 1].isHighSurrogate() && m + 2 < n && text[m + 2].isLowSurrogate()) ? 2 : 1;
            out.append({text.mid(m + 1, len), script});
            p = m + 1 + len;
        }
    } while (p < n);
    return out;
}

QString shownText(const QVector<Run>& runs)
{
    QString s;
    for (const Run& r : runs)
        s += r.text;
    return s;
}

QStringList numberPieces(const QString& text)
{
    QStringList pieces;
    qsizetype start = 0;
    qsizetype i = 0;
    while (i < text.size()) {
        qsizetype matched = 0;
        for (const QString& sep : kSeparators) {
            if (QStringView(text).mid(i).startsWith(sep)) {
                matched = sep.size();
                break;
            }
        }
        if (matched) {
            pieces << text.mid(start, i - start);
            i += matched;
            start = i;
        } else {
            ++i;
        }
    }
    pieces << text.mid(start);
    return pieces;
}

double doubleFromString(const QString& text)
{
    double product = 1.0;
    for (const QString& piece : numberPieces(text)) {
        const qsizetype k = piece.indexOf(u'^');
        if (k < 0) {
            product *= NumberText::doubleValue(piece);
            continue;
        }
        const double base = NumberText::doubleValue(piece.left(k));
        const qsizetype from = (k + 1 < piece.size() && piece[k + 1] == u'{') ? k + 2 : k + 1;
        // Nothing after the "^" reads as 0, so the power is worth 1.
        product *= std::pow(base, NumberText::doubleValue(piece.mid(from)));
    }
    return product;
}

qint64 precisionString(const QString& text)
{
    const QStringList pieces = numberPieces(text);
    const qsizetype point = pieces[0].indexOf(u'.');
    const qint64 decimals = point < 0 ? 0 : graphemeCount(pieces[0].mid(point + 1));
    if (pieces.size() < 2 || !pieces[1].startsWith(QStringLiteral("10")))
        return -decimals;
    const QString& t = pieces[1];
    qint64 exponent = 0;
    const qsizetype caret = t.indexOf(u'^');
    if (caret < 0) {
        const double e = std::trunc(std::log10(NumberText::doubleValue(t)));
        if (!std::isfinite(e) || std::fabs(e) > 1e15)
            return -decimals;
        exponent = qint64(e);
    } else {
        const qsizetype next = t.indexOf(u'^', caret + 1);
        QString e = t.mid(caret + 1, next < 0 ? -1 : next - caret - 1);
        if (e.startsWith(u'{')) {
            if (e.size() < 2)
                return -decimals;
            e = e.mid(1, e.size() - 2);
        }
        const std::optional<qint64> read = NumberText::parseInt64(e);
        if (!read)
            return -decimals;
        exponent = *read;
    }
    // Kept within the 64-bit range for absurd exponents.
    if (exponent < std::numeric_limits<qint64>::min() + decimals)
        return std::numeric_limits<qint64>::min();
    return exponent - decimals;
}

} // namespace TextMarkup
