#pragma once
// A document's side of its windows: the main and table window controllers are made when the
// document is set up, together with the graph and statistics window controllers of every
// stored analysis; the main window is shown, the others on request.
#include <QString>

class Document;
class MyWindowController;
struct MyAnalysisData;

class MyDocumentWindows {
public:
    // Installs the window functions into the hooks of the document, the selector tree and
    // the analyses (once, at start-up).
    static void install();

    static void makeWindowControllers(Document& doc);
    // Commits the texts being typed in the document's windows (graph texts edited in place,
    // then cell editors), those of kept's window excepted.
    static void commitEditing(Document& doc, const MyWindowController* kept = nullptr);
    static void showWindows(Document& doc);
    static void closeWindows(Document& doc);
    // Shows the table window, editable or read-only; placed under the main window the first
    // time it joins the document.
    static void showTableWindowAtState(Document& doc, bool state);
    // Show the graph or statistics window of analysis graphID, placed the first time it
    // joins the document; the drawer opens. An unknown graphID shows nothing.
    static void showGraphWindow(Document& doc, qint64 graphID);
    static void showStatsWindow(Document& doc, qint64 graphID);

    // The graph and statistics window controllers of analysis graphID (the document's
    // graphSettings element graphID), appended to the document's lists; settings of an older
    // document are brought up to date first. False, with nothing appended, when its settings
    // make no settings tree.
    static bool makeGraphWindows(Document& doc, qint64 graphID, const MyAnalysisData& analysis);

    static const QString settingsUpdated;
};
