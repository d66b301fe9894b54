#pragma once
// The data of one analysis's graph, built afresh from the selector tree and not stored:
// values, statistics and outliers per category (keyed by category name or single tag).
#include "stats/BoxValuesDict.h"
#include "stats/DescriptivesDict.h"
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <QVector>
#include <vector>

struct MyAnalysisData {
    QString graphType;
    QString title;
    // One seed category dictionary per level after the root, in level order.
    QVariantList categoryDicts;
    // The represent entries in use of each level, in level order.
    QVector<QVariantList> representLists;
    // Final categories in level order (the cross product, earlier levels varying slowest).
    QStringList categoryNames;

    QHash<QString, std::vector<double>> values;   // ascending
    QHash<QString, BoxValuesDict> graphDescriptives;
    QHash<QString, std::vector<double>> outliers;
    QHash<QString, BoxValuesDict> graphLogDescriptives;
    QHash<QString, std::vector<double>> logOutliers;
    QHash<QString, qint64> numbers;
    QHash<QString, DescriptivesDict> descriptives;
    QHash<QString, DescriptivesDict> logDescriptives;
    QStringList singleTags;
    // The text a tag shows where its key had to differ from it: a categorizing column's tag
    // ("Sex_male" for Sex = male) that a data column's title or another tag already uses.
    QHash<QString, QString> tagTexts;
    std::vector<double> minMax;   // [smallest, largest]; empty when there is no value
};
