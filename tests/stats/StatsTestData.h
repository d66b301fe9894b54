#pragma once
// Rows of the reference tables in tests/data/stats (tab-separated, '#' starts a comment).
#include <QString>
#include <QStringList>
#include <vector>

class StatsTestData {
public:
    // No rows for a missing file; a parameterised suite fed nothing then fails the run.
    static std::vector<QStringList> rows(const QString& fileName);
    // "1.5,2,-3" -> {1.5, 2, -3}; "-" or "" -> {}.
    static std::vector<double> numbers(const QString& commaSeparated);
    // Exact text to double (C locale, correctly rounded).
    static double number(const QString& text);
};
