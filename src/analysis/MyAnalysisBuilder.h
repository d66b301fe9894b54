#pragma once
// Turns one analysis of the selector tree into the data of its graph: the valid values of
// the chosen data columns grouped into categories level by level, with statistics, box
// values and outliers per category (and on the logarithms when every value is positive).
#include "analysis/MyAnalysisData.h"
#include <QString>
#include <optional>
#include <vector>

class AppDelegate;
class MyDescriptives;
class MySelectorItem;

class MyAnalysisBuilder {
public:
    explicit MyAnalysisBuilder(const MyDescriptives& engine) : m_engine(engine) {}

    // The record of the analysis item. Clears the editting flags of the items it reads.
    // nullopt (and *error) for an analysis without "graphType", "DataColumns" or
    // "Categorizing", a data column without its represent, or no valid (finite) value at
    // all; a refused analysis is left exactly as it was.
    std::optional<MyAnalysisData> analysisFromSelection(MySelectorItem* item, QString* error = nullptr) const;

    // The pooled element at each position, then statsFromValues; positions outside the list
    // are skipped.
    static std::vector<double> valuesFromColumn(const std::vector<std::optional<double>>& pooled,
                                                const std::vector<qint64>& positions);
    // The present, finite values in ascending order.
    static std::vector<double> statsFromValues(const std::vector<std::optional<double>>& values);

    // Through the application's statistics engine; nullopt when it has none.
    static std::optional<MyAnalysisData> analysisFromSelection(const AppDelegate& app, MySelectorItem* item,
                                                               QString* error = nullptr);

private:
    const MyDescriptives& m_engine;
};
