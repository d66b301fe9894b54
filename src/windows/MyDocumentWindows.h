#pragma once
// A document's side of its windows: the main and table window controllers are made when the
// document is set up, the main window is shown, the table window on request.
class Document;

class MyDocumentWindows {
public:
    // Installs the window functions into the document's hooks (once, at start-up).
    static void install();

    static void makeWindowControllers(Document& doc);
    static void showWindows(Document& doc);
    static void closeWindows(Document& doc);
    // Shows the table window, editable or read-only; placed under the main window the first
    // time it joins the document.
    static void showTableWindowAtState(Document& doc, bool state);
};
