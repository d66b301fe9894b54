#pragma once
// Keeps a proposed settings value in line with what the analysis fixes: the number of
// series, the categories with their titles, the values each category stands for, and the
// view size while the background follows the page layout. Each operation returns a
// corrected copy and writes nothing; the reference is the graph's stored settings.
#include <QVariant>
#include <QVariantList>
#include <QVariantMap>
#include <optional>
#include <utility>

class MyConfigItem;

class MyGraphSettingsKeeper {
public:
    // The series list made as long as the stored one ("dotsProperties" for "scatter",
    // otherwise "boxesProperties"); no proposal gives the stored list. nullopt when the
    // stored settings have no such list.
    static std::optional<QVariantList> fixedDotsOrBoxesProperties(const std::optional<QVariantList>& properties,
                                                                 const QString& graphType, const QVariantMap& stored);
    // Proposed represents of the category at element 1 of row's indexes: entries whose
    // "origName" the category has, in the proposed order and once each, then the stored ones left out.
    static std::optional<QVariantList> fixedRepresents(const QVariantList& represents, const MyConfigItem* row,
                                                       const QVariantMap& stored);
    // A proposed category dictionary for the category of row: with the stored title its
    // represents are matched, with another title it takes the stored title and represents.
    static std::optional<QVariantMap> fixedCategoryDict(const QVariantMap& categoryDict, const MyConfigItem* row,
                                                        const QVariantMap& stored);
    // One entry per stored category, from the proposal where it has one.
    static std::optional<QVariantList> fixedCategoryDicts(const QVariantList& categoryDicts, const MyConfigItem* row,
                                                          const QVariantMap& stored);

    // A value proposed for the background row or one of its four children: when it turns
    // "followPageLayout" on, or is a whole background with it on, a background of exactly
    // "color", "followPageLayout", "viewWidth" and "viewHeight" with the page's printable
    // size, for the background row. Anything else comes back unchanged with its row.
    static std::pair<QVariant, MyConfigItem*> viewSizeFromPageLayout(const QVariant& value, MyConfigItem* row,
                                                                     double pageWidth, double pageHeight);
};
