#pragma once
// The small markup of scale and title texts, and the reading of scale number texts.
//
// Markup: "^" raises and "_" lowers the next character or the "{...}" group right after it;
// outside scripts "\times" shows as "×" and "\ast" as "*". Number texts are decimals or
// products ("×", "*", "\times", "\ast") whose pieces may be powers ("10^{-3}").
// Positions are UTF-16 units, as everywhere in QString.
#include <QString>
#include <QStringList>
#include <QVector>

namespace TextMarkup {

enum class Script { Plain, Superscript, Subscript };

struct Run {
    QString text;
    Script script = Script::Plain;
    bool operator==(const Run& o) const { return text == o.text && script == o.script; }
};

// The runs of a marked-up text, in order (runs may be empty). A group opened with "{" that
// never closes gives no runs at all: the text shows as nothing. A marker that ends the text
// has nothing to raise and stays a plain character.
QVector<Run> runs(const QString& text);

// The text the runs show, without markers and braces.
QString shownText(const QVector<Run>& runs);

// The pieces of a number text, split at every multiplication sign it holds.
QStringList numberPieces(const QString& text);

// The value of a number text: the product of its pieces, a power piece "B^X" or "B^{X}"
// worth pow(B, X), every other piece its leading decimal number (0 when none). A power with
// nothing after the "^" counts as B^0.
double doubleFromString(const QString& text);

// The power of ten of the last digit a number text writes: minus the digits after the
// point of the first piece, plus the exponent of a second piece that begins with "10".
// An exponent that cannot be read counts as none.
qint64 precisionString(const QString& text);

} // namespace TextMarkup
