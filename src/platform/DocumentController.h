#pragma once
// What the platform's document controller did: new, open (a "*.vlbdoc" package directory),
// save, save as, save to, autosave, revert, close with a prompt when edited, quit reviewing
// all documents, opening a package given on the command line. Saving writes the whole package
// into a temporary sibling directory and swaps it in only when every file is written: a failed
// save leaves the old package intact and reports the failure.
//
// A document that has a file is autosaved in place a short while after its changes stop (at
// the latest a while after the first of them), never while a text is being typed in its
// windows or a modal panel is open, and when it is closed or the application quits: it then
// closes without a question, its changes being in its package. A never saved document is not
// autosaved; closing it or quitting asks whether to save it.
//
// The state of a document's package on the disk is recorded whenever the document reads or
// writes it. A package changed since (by another instance, another program, a copy put in
// its place) is not overwritten unasked: a save, a close or a quit asks whether to keep this
// document's version; an autosave leaves it alone and says so once per change on the disk.
#include <QObject>
#include <QString>
#include <QStringList>
#include <QByteArray>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

class QWidget;

enum class SaveKind { Save, SaveAs, SaveTo, Autosave };

// Implemented by the document model.
class DocumentInterface {
public:
    virtual ~DocumentInterface() = default;
    // Writes every file of the package into dirPath, an existing empty directory.
    // False (and *error) on any failure; the controller then discards the directory.
    virtual bool writePackage(const QString& dirPath, SaveKind kind, QString* error) = 0;
    // Reads the package at dirPath into this (new) document. False (and *error) refuses it.
    virtual bool readPackage(const QString& dirPath, QString* error) = 0;
    // What the user must be told about a package that was read, such as parts left out;
    // empty when nothing. Shown once the document's windows are up.
    virtual QString readNotice() const { return QString(); }
    // Ends an edit in progress in the document's windows, so that what is being typed is
    // part of the document before it is saved or closed.
    virtual void commitEditing() {}
    // Called after a successful write of the given kind (explicit saves clear undo etc.).
    virtual void didSave(SaveKind kind) { (void)kind; }
    // A text is being typed in the document's windows: an autosave waits until it ends.
    virtual bool isEditingText() const { return false; }
    // The document calls it on every change, undo and redo: its controller autosaves it
    // once the changes stop.
    void noteChange()
    {
        if (m_changeObserver)
            m_changeObserver();
    }
    void setChangeObserver(std::function<void()> observer) { m_changeObserver = std::move(observer); }
    virtual bool isDocumentEdited() const = 0;
    // Never saved, not edited, nothing in it: replaced by a document that is opened.
    virtual bool isPristine() const = 0;
    // Creates and shows the document's windows.
    virtual void makeWindowControllers() {}
    virtual void showWindows() {}
    // The document is going away: close its windows.
    virtual void closeWindows() {}
    // The window that what is said about the document is shown over; nullptr: the active one.
    virtual QWidget* mainWindow() const { return nullptr; }

    QString fileName() const { return m_fileName; }        // the package path, "" if never saved
    void setFileName(const QString& path) { m_fileName = path; }
    // The package's name without folder and without ".vlbdoc"; "Untitled" (then "Untitled 2",
    // ...) when never saved.
    QString displayName() const;
    void setUntitledNumber(int n) { m_untitledNumber = n; }
private:
    friend class DocumentController;
    QString m_fileName;
    int m_untitledNumber = 1;
    // The package as this document last read or wrote it (PackageFiles::state).
    std::optional<QByteArray> m_packageState;
    std::function<void()> m_changeObserver;
};

class DocumentController : public QObject {
    Q_OBJECT
public:
    using Factory = std::function<std::unique_ptr<DocumentInterface>()>;
    explicit DocumentController(Factory factory, QObject* parent = nullptr);
    ~DocumentController() override;

    static DocumentController* shared();   // the last one made, or nullptr

    const std::vector<std::unique_ptr<DocumentInterface>>& documents() const { return m_documents; }

    DocumentInterface* newDocument();
    // Takes a document out of the list without asking anything (a package reader drops
    // documents with empty tables this way); its windows close and it is destroyed once
    // control returns to the event loop that was running (or with the controller), never
    // inside a modal loop opened meanwhile, so a caller inside the document is not pulled
    // from under itself. Callers iterating documents() copy it first.
    void removeDocument(DocumentInterface* doc);
    // The open document of a package path, or nullptr.
    DocumentInterface* documentForPath(const QString& packagePath) const;
    // Opens a package; an already open one is brought to the front. nullptr with *error
    // on failure. After a successful read a pristine untitled document is closed.
    DocumentInterface* openDocument(const QString& packagePath, QString* error = nullptr);
    // Asks for a package with the file chooser (Dialogs) and opens it; failures are alerted.
    DocumentInterface* openDocumentInteractively();
    // Opens each package given on the command line; failures are alerted. The number opened.
    int openFromCommandLine(const QStringList& packagePaths);

    bool save(DocumentInterface* doc, QString* error = nullptr);               // asks for a path when untitled
    bool saveAs(DocumentInterface* doc, const QString& path, QString* error = nullptr);
    bool saveTo(DocumentInterface* doc, const QString& path, QString* error = nullptr);
    // In place, when the document is edited or has changes not yet written (an undo back to
    // the last explicit save after an autosave); untitled ones are skipped.
    bool autosave(DocumentInterface* doc, QString* error = nullptr);
    bool revert(DocumentInterface* doc, QString* error = nullptr);             // re-reads the package
    // Closes a document. One that has a file gets what is not written yet written in place
    // (asking first when its package changed on the disk); a failed write is alerted and the
    // document stays open. A never saved one that is edited asks "Save", "Don't Save",
    // "Cancel". False when cancelled or the write failed.
    bool closeDocument(DocumentInterface* doc);
    // Closes every document as closeDocument does; stops at the first that stays open.
    // False then.
    bool quit();

    // The write itself: a hidden sibling folder, flushed to the disk, then swapped with the
    // old package in one step (two renames where the file system cannot exchange). Folders
    // earlier saves of the package left behind are removed first.
    // *writtenState (when given) is the state of the package written, as PackageFiles::state
    // gives it once in place.
    static bool writePackageAtomically(DocumentInterface* doc, const QString& path, SaveKind kind, QString* error,
                                       QByteArray* writtenState = nullptr);
    // Brings back a package that a save stopped between its two renames left aside, when
    // nothing stands at path. True when it did.
    static bool recoverPackage(const QString& path);

    // Points of a save, for tests that stop one there: written (not yet swapped), the old
    // package moved aside (two renames only), the new one in place (old not yet removed).
    enum class SaveStep { Written, MovedAside, SwappedIn };
    static void setSaveStepObserver(std::function<void(SaveStep)> observer);
    // False makes saves swap with two renames, as on file systems that cannot exchange.
    static void setExchangeAllowed(bool allowed);

    // The menu commands: they ask what they need (paths with the file chooser, a
    // confirmation for revert) and alert any failure. False when cancelled or failed.
    bool saveDocumentInteractively(DocumentInterface* doc);
    bool saveDocumentAsInteractively(DocumentInterface* doc);
    bool saveDocumentToInteractively(DocumentInterface* doc);
    bool revertDocumentInteractively(DocumentInterface* doc);

    // "<path>.vlbdoc" unless the path already ends so.
    static QString withPackageExtension(const QString& path);
    // Where a save chooser starts for a document: the folder of its package, or the user's
    // home folder for one never saved.
    static QString proposedFolder(const DocumentInterface* doc);

    // How long an autosave waits after the last change, and at most after the first change
    // not yet written (milliseconds).
    void setAutosaveDelays(int quietMs, int latestMs);
    // Whether an autosave of the document is waiting for its time.
    bool isAutosavePending(const DocumentInterface* doc) const;

private:
    std::unique_ptr<DocumentInterface> take(DocumentInterface* doc);
    void discard(std::unique_ptr<DocumentInterface> doc);
    DocumentInterface* adopt(std::unique_ptr<DocumentInterface> doc);
    std::unique_ptr<DocumentInterface> readDocument(const QString& path, const QString& failure, QString* error);
    QString askSavePath(DocumentInterface* doc, const QString& title);
    // With askIfChanged, a package changed on the disk is overwritten only when the user
    // says so; without, it is left alone and the user told once.
    bool saveAt(DocumentInterface* doc, const QString& path, SaveKind kind, QString* error, bool askIfChanged = true);
    bool hasUnwrittenChanges(const DocumentInterface* doc) const;
    void noteChangedOnDisk(DocumentInterface* doc, const QByteArray& state);
    void tellChangedOnDisk(DocumentInterface* doc);
    bool saveAtChosenPlace(DocumentInterface* doc, const QString& title, SaveKind kind);
    bool alertUnlessEmpty(bool ok, const QString& error);
    void tellReadNotice(DocumentInterface* doc);
    void scheduleAutosave(DocumentInterface* doc);
    void autosaveWhenDue(DocumentInterface* doc);
    void watchChanges(DocumentInterface* doc);
    void forget(DocumentInterface* doc);

    // A document's changes not yet written and the timer of its next autosave.
    struct Pending;
    std::map<const DocumentInterface*, std::unique_ptr<Pending>> m_pending;
    int m_autosaveQuietMs = 5000;
    int m_autosaveLatestMs = 30000;
    Factory m_factory;
    std::vector<std::unique_ptr<DocumentInterface>> m_documents;
    int m_untitledCounter = 0;
};
