#pragma once
// Modal alerts, questions, file choosers, font and colour panels, page setup and print
// panels behind one interface: QtDialogs shows the real ones, ScriptedDialogs answers from a
// script so tests never block.
#include "platform/KeyedArchive.h"
#include <QPageLayout>
#include <QPointer>
#include <QWidget>
#include <QStringList>
#include <QVector>
#include <deque>
#include <functional>
#include <optional>
#include <utility>

class QPrinter;

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // A modal alert with one "OK" button.
    virtual void alert(const QString& message, const QString& informative = QString()) = 0;
    // The same over a window (nullptr: over whatever window is active).
    virtual void alertOver(QWidget* window, const QString& message, const QString& informative = QString());
    // A modal question with the given buttons (first is the default); returns the index
    // of the button chosen.
    virtual int question(const QString& message, const QString& informative, const QStringList& buttons) = 0;
    // File choosers; an empty string when cancelled. filters like "Text (*.txt *.csv)". A
    // document package is chosen like a file in each of them: its inside is never shown.
    virtual QString openFile(const QString& title, const QString& filter) = 0;
    // suggestedPath: the name proposed, in the folder of the path; a name without a folder
    // is proposed in the user's home folder.
    virtual QString saveFile(const QString& title, const QString& suggestedPath, const QString& filter) = 0;
    // A document package to open.
    virtual QString openDirectory(const QString& title, const QString& filter) = 0;
    // A save panel with a title, a label before the name field and the allowed extensions;
    // a chosen name without one of them gets the first. "" when cancelled. suggestedPath as
    // for saveFile; none proposes nothing, in the home folder. By default saveFile with a
    // filter of the extensions.
    virtual QString savePanel(const QString& title, const QString& nameFieldLabel, const QStringList& fileTypes,
                              const QString& suggestedPath = QString());
    // Confirmed unchanged, the font chooser gives back the font it was given.
    virtual std::optional<FontSpec> chooseFont(const FontSpec& initial) = 0;
    virtual std::optional<Color> chooseColor(const Color& initial) = 0;
    // The page setup panel for a page layout (paper, orientation, margins; the minimum
    // margins are the paper's unprintable border). The layout confirmed, nullopt when
    // cancelled; confirmed unchanged, the layout it was given. Without panels (a set of
    // dialogs that has none) it is cancelled.
    virtual std::optional<QPageLayout> runPageLayout(const QPageLayout& layout) { return std::nullopt; }
    // The print panel for printer, which holds the page layout to print on. True when the
    // user confirmed; printer then prints where the user chose (a printer or a PDF file).
    virtual bool runPrintPanel(QPrinter& printer) { return false; }

    // The folder and the file name of a suggested path: a name without a folder is put in
    // the user's home folder (never the folder the program was started in).
    static std::pair<QString, QString> suggestedPlace(const QString& suggestedPath);

    // The process-wide instance (QtDialogs unless a test sets another). Not owned.
    static Dialogs& current();
    static void setCurrent(Dialogs* dialogs);
};

class QtDialogs : public Dialogs {
public:
    void alert(const QString& message, const QString& informative) override;
    void alertOver(QWidget* window, const QString& message, const QString& informative) override;
    int question(const QString& message, const QString& informative, const QStringList& buttons) override;
    QString openFile(const QString& title, const QString& filter) override;
    QString saveFile(const QString& title, const QString& suggestedPath, const QString& filter) override;
    QString openDirectory(const QString& title, const QString& filter) override;
    QString savePanel(const QString& title, const QString& nameFieldLabel, const QStringList& fileTypes,
                      const QString& suggestedPath) override;
    std::optional<FontSpec> chooseFont(const FontSpec& initial) override;
    std::optional<Color> chooseColor(const Color& initial) override;
    std::optional<QPageLayout> runPageLayout(const QPageLayout& layout) override;
    bool runPrintPanel(QPrinter& printer) override;

private:
    int ask(QWidget* parent, const QString& message, const QString& informative, const QStringList& buttons);
    QString choose(bool save, const QString& title, const QString& filter, const QString& suggestedPath);
};

// Records every alert, question and panel; answers from queues (defaults when a queue is
// empty: button 0, cancelled chooser, no font, no colour, cancelled page setup and print).
class ScriptedDialogs : public Dialogs {
public:
    QStringList alerts;            // message texts, in order
    // Per alert, the window it was shown over while that window was on screen; nullptr for
    // an alert over no window or over one not shown.
    QVector<QPointer<QWidget>> alertWindows;
    QStringList questions;         // message texts, in order
    QVector<QStringList> questionButtons;   // the buttons of each question, in order
    std::deque<int> answers;       // button indexes for questions
    std::deque<QString> files;     // paths for the file choosers ("" = cancel)
    QStringList savePanels;        // "title|label|types" of each save panel, in order
    QStringList suggestedPaths;    // the path each save chooser and save panel proposed
    std::deque<std::optional<FontSpec>> fonts;
    std::deque<std::optional<Color>> colors;
    QVector<QPageLayout> pageSetupPanels;       // the layout each page setup panel showed
    std::deque<std::optional<QPageLayout>> pageLayouts;   // confirmed layouts (nullopt = cancel)
    QVector<QPageLayout> printPanels;           // the printer's layout each print panel showed
    std::deque<QString> printFiles;             // PDF files to print to ("" = cancel)
    // Runs once inside the next page setup or print panel, as if the user did something
    // else while it was open.
    std::function<void()> whilePanelOpen;
    // Runs inside every alert and question, as the event loop of a real modal one does.
    std::function<void()> whileAlertOpen;

    void alert(const QString& message, const QString& informative) override;
    void alertOver(QWidget* window, const QString& message, const QString& informative) override;
    int question(const QString& message, const QString& informative, const QStringList& buttons) override;
    QString openFile(const QString& title, const QString& filter) override;
    QString saveFile(const QString& title, const QString& suggestedPath, const QString& filter) override;
    QString openDirectory(const QString& title, const QString& filter) override;
    QString savePanel(const QString& title, const QString& nameFieldLabel, const QStringList& fileTypes,
                      const QString& suggestedPath) override;
    std::optional<FontSpec> chooseFont(const FontSpec& initial) override;
    std::optional<Color> chooseColor(const Color& initial) override;
    std::optional<QPageLayout> runPageLayout(const QPageLayout& layout) override;
    bool runPrintPanel(QPrinter& printer) override;

private:
    void runWhilePanelOpen();
};

// Installs a ScriptedDialogs for the life of a scope (tests).
class ScopedScriptedDialogs {
public:
    ScopedScriptedDialogs() : m_previous(&Dialogs::current()) { Dialogs::setCurrent(&dialogs); }
    ~ScopedScriptedDialogs() { Dialogs::setCurrent(m_previous); }
    ScriptedDialogs dialogs;
private:
    Dialogs* m_previous;
};

// The shared alert object: users set its message text and run it modally.
class Alert {
public:
    void setMessageText(const QString& text) { m_message = text; }
    QString messageText() const { return m_message; }
    void setInformativeText(const QString& text) { m_informative = text; }
    void runModal() { Dialogs::current().alert(m_message, m_informative); }
    void runModalOver(QWidget* window) { Dialogs::current().alertOver(window, m_message, m_informative); }
private:
    QString m_message;
    QString m_informative;
};
