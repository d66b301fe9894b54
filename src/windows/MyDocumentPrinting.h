#pragma once
// A document's page setup and printing. Both act on the graph whose window is the key window
// when the command is given (its graph ID becomes the document's printID), and on nothing
// when another window is key. The document has one print info for all its graphs.
class Document;
class QPageLayout;
class QPrinter;

class MyDocumentPrinting {
public:
    // The page setup command: the page setup panel for the document's print info; a layout
    // confirmed there that shouldChangePrintInfo accepts becomes the print info.
    static void runPageLayout(Document& doc);
    // Whether newPrintInfo may replace the document's print info: not when it is the same,
    // nor when graph printID has gone. When that graph's view follows the page layout,
    // newPrintInfo's margins are set to its imageable area and the graph takes the imageable
    // size, as one undo step "Change PaperSize".
    static bool shouldChangePrintInfo(Document& doc, QPageLayout& newPrintInfo);
    // The print command: the print panel, then the graph printed without selection marks.
    // The selection comes back afterwards, whatever the panel's outcome.
    static void printDocument(Document& doc);
    // Prints graph printID's background view, the whole graph, on printer within the
    // printer's margins. False, with nothing printed, when the graph has gone or the printer
    // cannot start (the user is told).
    static bool printOperationWithSettings(Document& doc, QPrinter& printer);
};
