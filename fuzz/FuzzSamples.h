#pragma once
// Realistic material the entries share: a document holding a small table, the analysis
// texts of a dot plot and a boxplot over it, and the graph settings the application makes
// for them.
#include <QString>
#include <QVariant>
#include <QStringList>
#include <QVariantMap>
#include <QVector>

class Document;

namespace fuzz {

// The document, made once; entries that raise its column counters put them back.
Document& sampleDocument();
// The table text it holds (tab-separated, first line the titles).
QString sampleTableText();
// Analysis texts as the application writes them: a dot plot and a boxplot, each by
// categories.
QStringList sampleAnalysisXmls();
// Graph settings made for each of the sample analyses.
QVector<QVariantMap> sampleGraphSettings();

// A path in the process's scratch folder.
QString scratchPath(const QString& name);
// A package of the sample table with both sample analyses, as the application writes it
// (written once into the scratch folder).
QString samplePackage();

// Property-list values equal in kind and value; reals bit for bit, any NaN equal to any.
bool samePlist(const QVariant& a, const QVariant& b);
// The value an XML property list of v reads back as: object references become
// {"CF$UID": n} dictionaries, dates lose their fractions of a second.
QVariant xmlForm(const QVariant& v);

// Builds the settings tree of a graph from settings, as its window does, and checks what
// must hold of it: it takes what the application makes (mustAccept), and a tree built
// from the value of another gives that value again. Returns whether the tree took them.
bool checkSettingsTree(const QVariantMap& settings, bool mustAccept);

// Splits input into named parts: a part starts at a line "@@ name" (at the start of the
// input or after a line feed) and runs up to the line feed before the next such line.
struct Part {
    QString name;
    QByteArray bytes;
};
QVector<Part> splitParts(const QByteArray& data);
QByteArray joinParts(const QVector<Part>& parts);

} // namespace fuzz
