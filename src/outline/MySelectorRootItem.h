#pragma once
// Root of the selector tree of a document's main window: one child per analysis.
#include "outline/MySelectorItem.h"
#include <functional>
#include <optional>

class MyWindowController;
class Document;

class MySelectorRootItem : public MySelectorItem {
public:
    // Title "rootItem", no parent. Neither the window controller nor the document is owned;
    // validation reaches the document through `myDoc` (or the documentOf hook).
    explicit MySelectorRootItem(MyWindowController* windowCont, Document* document = nullptr);

    MyWindowController* myWindowCont() const { return m_windowCont; }
    Document* myDoc = nullptr;

    // Whether the selector outline lets the user edit the cell of `item` at outline level
    // `level` (analyses are level 0) in column `columnIdentifier`.
    bool allowEditOutlineItem(const MySelectorItem* item, qint64 level, qint64 columnIdentifier) const;

    // Checks that the analysis can be drawn (refusals on the document's shared alert) and,
    // for an analysis being set up, counts its columns, has its graph made and marks the
    // main window edited. The analysis's position, or nullopt when refused or when no graph
    // could be made (the column counts are then put back).
    std::optional<qint64> validateSelection(MySelectorItem* analysis);

    // Services of the subsystems above this one, installed at start-up.
    struct Hooks {
        // Makes the graph of a newly set-up analysis (the document's new-graph path); a
        // graph was made when the document holds one more analysis afterwards.
        std::function<void(Document& doc, MySelectorItem& analysis)> newGraph;
        // Sets the edited mark of the main window's window.
        std::function<void(MyWindowController* windowCont)> setDocumentEdited;
        // The document of a window controller, when the root was made without one.
        std::function<Document*(MyWindowController* windowCont)> documentOf;
    };
    static Hooks& hooks();

    static const QString lastAnalysisOpen;
    static const QString noDataColumn;
    static const QString noFirstLevel;
    static const QString noValidValues;

private:
    Document* document() const;
    // The message refusing an analysis with nothing to draw in some column, or empty.
    static QString emptyColumnRefusal(const MySelectorItem* analysis);

    MyWindowController* m_windowCont;
};
