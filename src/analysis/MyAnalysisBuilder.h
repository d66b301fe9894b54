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

    // Whether an analysis without any value is built. A new graph needs values; a stored
    // analysis whose cells no longer hold a number is still the user's: it is built with
    // empty categories, no value range (minMax empty) and the statistics of empty lists.
    enum class NoValues { Refused, Built };

    // The record of the analysis item. Clears the editting flags of the items it reads.
    // nullopt (and *error) for an analysis that lacks its parts (structureError) or, unless
    // noValues is Built, has no valid (finite) value at all; a refused analysis is left
    // exactly as it was.
    std::optional<MyAnalysisData> analysisFromSelection(MySelectorItem* item, QString* error = nullptr,
                                                        NoValues noValues = NoValues::Refused) const;

    // Why no analysis can be built from the item whatever its values ("graphType",
    // "DataColumns" or "Categorizing" missing, no data column, a data column without its
    // represent); empty when it has every part.
    static QString structureError(const MySelectorItem* item);

    // The pooled element at each position, then statsFromValues; positions outside the list
    // are skipped.
    static std::vector<double> valuesFromColumn(const std::vector<std::optional<double>>& pooled,
                                                const std::vector<qint64>& positions);
    // The present, finite values in ascending order.
    static std::vector<double> statsFromValues(const std::vector<std::optional<double>>& values);

    // Through the application's statistics engine; nullopt when it has none.
    static std::optional<MyAnalysisData> analysisFromSelection(const AppDelegate& app, MySelectorItem* item,
                                                               QString* error = nullptr,
                                                               NoValues noValues = NoValues::Refused);

private:
    const MyDescriptives& m_engine;
};
