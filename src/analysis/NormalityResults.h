#pragma once
// The normality results of an analysis's statistics record: "stats" for its values, "logStats"
// for their base-10 logarithms, one result per tag. A result keeps a digest of the values it
// was tested on, so that one whose values changed between sessions (the table edited
// elsewhere, a cell read by a newer rule, an analysis kept without values and mended) is
// found at open without testing the others again.
#include <QHash>
#include <QString>
#include <QVariantMap>
#include <vector>

class AppDelegate;

class NormalityResults {
public:
    // The key of a result's digest.
    static const QString kDigest;

    // {"statistic", "p", digest}, or empty where no test applies: fewer than three values, no
    // test result (all values equal), or, for logarithms, a value that has none.
    static QVariantMap tested(AppDelegate& app, const std::vector<double>& values, bool logarithmic);

    // Of the values in any order: 16 hexadecimal digits.
    static QString digest(const std::vector<double>& values);

    // Makes every stored result of a tag in values the test of those values; a result of a
    // tag the analysis no longer has, or one that is not a dictionary, is left alone. A result
    // without a digest (written by an earlier version) is tested again and kept, as stored,
    // when it matches. True when a result changed.
    static bool refresh(AppDelegate& app, QVariantMap& record, const QHash<QString, std::vector<double>>& values);
};
