#pragma once
// The document's analysis operations: new graphs, analyses read back from their text,
// proposed settings kept in line with the stored ones, the view size from the page, and the
// undo step of normality results. The document reaches the ones it needs through its hooks
// (registerHooks).
#include "analysis/MyAnalysisData.h"
#include "document/DocumentHooks.h"
#include <QVariant>
#include <QVariantList>
#include <QVariantMap>
#include <functional>
#include <optional>
#include <utility>

class Document;
class MyConfigItem;
class MySelectorItem;

class MyDocumentAnalyses {
public:
    // Makes the graph and statistics windows of analysis graphID from its data; installed
    // by the windows. Without it a new graph gets its records only. False, with no window
    // made, when the graph cannot be set up.
    using MakeGraphWindows = std::function<bool(Document& doc, qint64 graphID, const MyAnalysisData& analysis)>;
    static MakeGraphWindows& makeGraphWindows();

    // Fills the hooks that lower subsystems leave for analyses: the document's regeneration
    // of lost settings and the selector root's new graph.
    static void registerHooks();

    // A validated analysis item becomes the document's last analysis: settings with a
    // one-snapshot history, its text, a statistics record, then its windows. Returns its
    // graph ID; nullopt (and *error), with the document unchanged, when it cannot be built.
    static std::optional<qint64> graphFromNewItem(Document& doc, MySelectorItem* item, QString* error = nullptr);

    // Appends the analysis of a stored text to root and raises the use counters of the
    // columns it names. nullptr when the text holds no analysis.
    static MySelectorItem* outlineItemFromXLMWithXmlString(Document& doc, const QString& xml, MySelectorItem* root);

    // What a stored text describes, its columns looked up in the document's table by title
    // only; nullopt when the text holds no analysis.
    static std::optional<DocumentHooks::StoredAnalysis> inspectAnalysis(const Document& doc, const QString& xml);

    // New settings for a stored analysis whose settings were lost; the column counters are
    // left as they were.
    static std::optional<QVariantMap> regenerateGraphSettings(Document& doc, const QString& xml, double width,
                                                              double height);

    // Against the stored settings of graphID; nullopt refuses the proposal (graphID out of
    // range, or a proposal or stored value of the wrong shape).
    static std::optional<QVariantList> fixedDotsOrBoxesProperties(const Document& doc,
                                                                 const std::optional<QVariantList>& properties,
                                                                 const QString& graphType, qint64 graphID);
    static std::optional<QVariantList> fixedCategoryDicts(const Document& doc, const QVariantList& categoryDicts,
                                                          const MyConfigItem* row, qint64 graphID);
    static std::optional<QVariantMap> fixedCategoryDict(const Document& doc, const QVariantMap& categoryDict,
                                                        const MyConfigItem* row, qint64 graphID);
    static std::optional<QVariantList> fixedRepresents(const Document& doc, const QVariantList& represents,
                                                       const MyConfigItem* row, qint64 graphID);
    // With the document's printable page size.
    static std::pair<QVariant, MyConfigItem*> viewSizeFromPageLayout(const Document& doc, const QVariant& value,
                                                                     MyConfigItem* row);

    // Registers "Add Normality Stats": an undo step that changes no data. The results stay
    // when it is undone, so the document stays edited.
    static void fixedEditStatus(Document& doc);
};
