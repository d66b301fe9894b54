#pragma once
// The check of an edit of a graph's "valueSettings": the axis covers the data, the labels lie
// between "min" and "max", "partition" is the label count minus one, and a logarithmic axis
// has nothing at or below 0. It reads only its arguments and writes nothing.
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>
#include <functional>

// How scale texts are read. The graph generator supplies its own markup-aware rules; plain()
// reads a leading decimal number.
struct ScaleTextRules {
    std::function<double(const QString&)> valueOf;   // the value of a scale text
    std::function<int(const QString&)> precisionOf;  // power of ten of the last digit shown
    std::function<bool(const QString&)> showsText;   // the rendered text is not empty
    static ScaleTextRules plain();
    // The rules used where none are given: plain() until the graph generator installs its
    // own (it does while it exists); installing plain() puts them back.
    static const ScaleTextRules& installed();
    static void install(const ScaleTextRules& rules);
};

struct ValueSettingsResult {
    enum Outcome { Refused, Passed, Replaced };
    Outcome outcome = Refused;
    // Passed: the edited value unchanged, for the edited row.
    // Replaced: a whole new "valueSettings" dictionary, for the valueSettings row.
    QVariant value;
};

class MyValueSettingsCheck {
public:
    // object: the new value of the edited row; title: the row's key ("logarithmic",
    // "valueSettings", "scaleStrings", "partition", "min", "max", or "" for one label);
    // labelIndex: the label's position for a label row; valueSettings: the stored dictionary;
    // dataMin, dataMax: the analysis's value range.
    static ValueSettingsResult adjustValueSettings(const QVariant& object, const QString& title, int labelIndex,
                                                   const QVariantMap& valueSettings, double dataMin, double dataMax,
                                                   const ScaleTextRules& rules = ScaleTextRules::installed());

    // The label texts for a new partition n between minText and maxText; empty when n is
    // negative or the range cannot be divided.
    static QStringList labelsForPartition(qint64 n, const QString& minText, const QString& maxText,
                                          const ScaleTextRules& rules = ScaleTextRules::installed());
};
