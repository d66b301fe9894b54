#pragma once
// What the document asks of subsystems built on top of it (analyses, graph views, windows).
// They install their functions at start-up; an empty function means the service is absent
// and the document does without it.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVariantMap>
#include <functional>
#include <optional>

class Document;
class QWidget;
class MyWindowController;

struct DocumentHooks {
    // New graph settings for a stored analysis whose settings cannot be read, made from its
    // analysis XML text and the document's table, for a view of width x height points.
    // nullopt when the text yields no analysis. Column counters it raises are put back by
    // the caller, so each analysis is counted once, when its windows are made.
    std::function<std::optional<QVariantMap>(Document& doc, const QString& xml, double width, double height)>
        regenerateGraphSettings;
    // What a stored analysis text describes, looked up in the document's table; nullopt when
    // the text yields no analysis. Without it every text counts as readable.
    struct StoredAnalysis {
        QString title;
        QString graphType;
        QStringList missingColumns;   // named by the text, not in the table
        bool drawable = true;         // false when it lacks parts every analysis has
        bool cutOff = false;          // the text ends before its closing element
    };
    std::function<std::optional<StoredAnalysis>(Document& doc, const QString& xml)> inspectAnalysis;
    // Stored graph settings of an analysis of graphType, checked and mended as a document
    // opens; fresh makes new settings from the analysis. nullopt when they cannot be mended.
    struct CheckedSettings {
        QVariantMap settings;
        QStringList repaired;   // values set to their defaults, by key path
        QStringList rebuilt;    // parts made anew from the analysis ("" the whole)
    };
    std::function<std::optional<CheckedSettings>(const Document& doc, const QVariantMap& settings, const QString& graphType,
                                                 const std::function<std::optional<QVariantMap>()>& fresh)>
        checkGraphSettings;
    // The PDF of analysis graphID's laid-out graph; empty when it has no laid-out graph.
    std::function<QByteArray(const Document& doc, int graphID)> graphPDF;
    // Window set-up and teardown of a document.
    std::function<void(Document& doc)> makeWindowControllers;
    std::function<void(Document& doc)> showWindows;
    std::function<void(Document& doc)> closeWindows;
    // The document's main window, over which what concerns the whole document is said.
    std::function<QWidget*(const Document& doc)> mainWindow;
    // An analysis has left the per-analysis lists: its two window controllers (either may
    // be null) are to be closed and let go of, and the controllers left renumbered.
    std::function<void(Document& doc, MyWindowController* graphCont, MyWindowController* statsCont)> analysisRemoved;

    // Ends the editing of a text in the document's windows (a graph text in place, a cell of
    // an outline or of the table), as a step of its own.
    std::function<void(Document& doc)> commitEditing;
    // Whether a text is being typed in one of the document's windows (a graph text in
    // place, a cell of an outline or of the table).
    std::function<bool(const Document& doc)> isEditingText;

    // The process-wide set.
    static DocumentHooks& shared();
};
