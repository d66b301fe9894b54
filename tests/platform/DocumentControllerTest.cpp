#include "platform/DocumentController.h"
#include "platform/Dialogs.h"
#include "platform/PackageFiles.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QDirIterator>
#include <QEventLoop>
#include <QElapsedTimer>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using Files = QMap<QString, QByteArray>;   // path inside the package -> contents

// Every file of a folder, by relative path: the byte-for-byte picture of a package.
Files snapshot(const QString& dir)
{
    Files files;
    for (QDirIterator it(dir, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories); it.hasNext();) {
        QFile f(it.next());
        f.open(QIODevice::ReadOnly);
        files.insert(QDir(dir).relativeFilePath(f.fileName()), f.readAll());
    }
    return files;
}

QStringList entries(const QString& dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

// A document whose package is a set of files; it can be told to fail part-way.
class FakeDocument : public DocumentInterface {
public:
    explicit FakeDocument(int* destroyed) : m_destroyed(destroyed) {}
    ~FakeDocument() override { ++*m_destroyed; }

    Files files{{"fileInfo.plist", "version 4.11"}, {"graph/graph0.plist", "settings"}};
    bool edited = false, pristine = true;
    int failAfterFiles = -1;   // write this many files, then fail
    int saves = 0;             // successful saves

    bool writePackage(const QString& dirPath, SaveKind, QString* error) override
    {
        int written = 0;
        for (auto it = files.cbegin(); it != files.cend(); ++it, ++written) {
            if (written == failAfterFiles)
                return *error = "The disk is full.", false;
            QFile f(dirPath + "/" + it.key());
            QDir().mkpath(QFileInfo(f).absolutePath());
            if (!f.open(QIODevice::WriteOnly) || f.write(it.value()) != it.value().size())
                return false;
        }
        return true;
    }
    bool readPackage(const QString& dirPath, QString*) override
    {
        files = snapshot(dirPath);
        pristine = false;
        return files.contains("fileInfo.plist");
    }
    QString readNotice() const override { return QString::fromUtf8(files.value("notice")); }
    void didSave(SaveKind kind) override
    {
        ++saves;
        kinds << kind;
        // An autosave or a copy leaves the document edited.
        edited = edited && (kind == SaveKind::SaveTo || kind == SaveKind::Autosave);
    }
    bool isDocumentEdited() const override { return edited; }
    bool isEditingText() const override { return typing; }
    QList<SaveKind> kinds;
    bool typing = false;
    bool isPristine() const override { return pristine && !edited; }

private:
    int* m_destroyed;
};

class DocumentControllerTest : public ::testing::Test {
protected:
    FakeDocument* newDoc(bool edited = false)
    {
        auto* doc = static_cast<FakeDocument*>(controller.newDocument());
        doc->edited = edited;
        return doc;
    }
    // A document saved at <dir>/<name>.vlbdoc, its save count back at 0, then maybe edited.
    FakeDocument* savedDoc(const QString& name, bool edited = false)
    {
        FakeDocument* doc = newDoc();
        doc->pristine = false;
        EXPECT_TRUE(controller.saveAs(doc, dir.filePath(name)));
        doc->saves = 0;
        doc->kinds.clear();
        doc->edited = edited;
        return doc;
    }
    // Runs the save helper; false when it was killed (or did not finish).
    static bool runSaveChild(const QStringList& args, int* exitCode = nullptr)
    {
        QProcess child;
        child.start(QStringLiteral(VLB_SAVE_CHILD), args);
        if (!child.waitForFinished(60000))
            return false;
        if (exitCode)
            *exitCode = child.exitCode();
        return child.exitStatus() == QProcess::NormalExit;
    }

    QTemporaryDir dir;
    int destroyed = 0;
    ScopedScriptedDialogs scripted;
    ScriptedDialogs& dialogs = scripted.dialogs;
    DocumentController controller{[this] { return std::make_unique<FakeDocument>(&destroyed); }};
};

TEST_F(DocumentControllerTest, UntitledSaveAsksForAPlaceAndResavingDropsFilesNoLongerWritten)
{
    FakeDocument* doc = newDoc(true);
    dialogs.files = {dir.filePath("Report")};
    QString error;
    ASSERT_TRUE(controller.save(doc, &error)) << error.toStdString();
    const QString package = dir.filePath("Report.vlbdoc");
    EXPECT_EQ(doc->fileName(), package);
    EXPECT_EQ(snapshot(package), doc->files);

    doc->files.remove("graph/graph0.plist");
    doc->files["stats/stats0.plist"] = "p";
    ASSERT_TRUE(controller.save(doc));
    EXPECT_EQ(snapshot(package), doc->files);
    EXPECT_EQ(entries(dir.path()), QStringList{"Report.vlbdoc"}) << "nothing left beside the package";
}

TEST_F(DocumentControllerTest, FailedSaveKeepsTheOldPackageByteForByteAndSaysWhy)
{
    FakeDocument* doc = savedDoc("Keep");
    const Files before = snapshot(doc->fileName());
    doc->files["graph/graph0.plist"] = "new settings";
    doc->files["graph/graph1.plist"] = "more";
    doc->failAfterFiles = 2;
    QString error;
    EXPECT_FALSE(controller.save(doc, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(snapshot(doc->fileName()), before);
    EXPECT_EQ(doc->saves, 0) << "no didSave after a failure";
    EXPECT_EQ(entries(dir.path()), QStringList{"Keep.vlbdoc"}) << "the temporary folder is gone";
}

TEST_F(DocumentControllerTest, SaveAsRefusesAnotherOpenDocumentsPackage)
{
    FakeDocument* a = savedDoc("A");
    FakeDocument* b = savedDoc("B");
    const Files bBefore = snapshot(b->fileName());
    QString error;
    EXPECT_FALSE(controller.saveAs(a, b->fileName(), &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(snapshot(b->fileName()), bBefore);
}

// A document that has a file is written in place as it closes, without a question (its
// autosaves may have written part of its changes already); a write that fails is said and
// keeps it open. Only a never saved one asks, and obeys the answer.
TEST_F(DocumentControllerTest, ClosingWritesInPlaceAndAsksOnlyForANeverSavedDocument)
{
    dialogs.answers = {0, 2};   // Save, then the chooser is cancelled; Cancel
    FakeDocument* untitled = newDoc(true);
    EXPECT_FALSE(controller.closeDocument(untitled));
    EXPECT_FALSE(controller.closeDocument(untitled));
    EXPECT_EQ(dialogs.questions,
              QStringList(2, "Do you want to save the changes made to the document \u201cUntitled\u201d?"));

    FakeDocument* doc = savedDoc("Closing", true);
    const Files before = snapshot(doc->fileName());
    doc->files["graph/graph0.plist"] = "typed before closing";
    doc->failAfterFiles = 0;
    EXPECT_FALSE(controller.closeDocument(doc));
    ASSERT_EQ(dialogs.alerts.size(), 1) << "the failed write is said, the cancelled chooser not";
    EXPECT_TRUE(dialogs.alerts[0].contains("The disk is full.")) << dialogs.alerts[0].toStdString();
    EXPECT_EQ(snapshot(doc->fileName()), before);
    EXPECT_EQ(controller.documents().size(), 2u) << "kept open";
    doc->failAfterFiles = -1;
    EXPECT_TRUE(controller.closeDocument(doc));
    EXPECT_EQ(snapshot(dir.filePath("Closing.vlbdoc")), doc->files);
    EXPECT_EQ(doc->kinds, QList<SaveKind>{SaveKind::Autosave}) << "a closed document lives until the event loop runs";
    FakeDocument* clean = savedDoc("Clean");
    EXPECT_TRUE(controller.closeDocument(clean));
    EXPECT_EQ(clean->saves, 0) << "nothing to write";

    dialogs.answers = {1};   // Don't Save
    EXPECT_TRUE(controller.closeDocument(untitled));
    EXPECT_EQ(dialogs.questions.size(), 3) << "no question for the documents that have a file";
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(destroyed, 3);
}

// Quit writes every document that has a file in place, asks about the others and stops at
// the first "Cancel"; save to writes a copy without taking its name; autosave writes only
// titled documents with changes.
TEST_F(DocumentControllerTest, QuitSaveToAndAutosave)
{
    FakeDocument* a = savedDoc("QuitA", true);
    a->files["graph/graph0.plist"] = "typed before quitting";
    FakeDocument* untitled = newDoc(true);
    FakeDocument* b = savedDoc("QuitB", false);
    dialogs.answers = {2};   // Cancel for the untitled one
    EXPECT_FALSE(controller.quit());
    EXPECT_EQ(dialogs.questions.size(), 1);
    EXPECT_EQ(snapshot(dir.filePath("QuitA.vlbdoc")), a->files);
    EXPECT_EQ(a->kinds, QList<SaveKind>{SaveKind::Autosave});
    ASSERT_EQ(controller.documents().size(), 2u);
    EXPECT_EQ(controller.documents().front().get(), untitled);
    controller.removeDocument(untitled);

    const QString copy = dir.filePath("Copy.vlbdoc");
    EXPECT_TRUE(controller.saveTo(b, copy));
    EXPECT_EQ(snapshot(copy), b->files);
    EXPECT_EQ(QFileInfo(b->fileName()).fileName(), "QuitB.vlbdoc");

    FakeDocument* other = newDoc(true);
    EXPECT_TRUE(controller.autosave(other));
    EXPECT_EQ(other->saves, 0);
    b->saves = 0;
    b->edited = true;
    EXPECT_TRUE(controller.autosave(b));
    EXPECT_EQ(b->saves, 1);

    dialogs.answers = {1};   // Don't Save for the untitled one
    EXPECT_TRUE(controller.quit());
    EXPECT_EQ(dialogs.questions.size(), 2);
    EXPECT_TRUE(controller.documents().empty());
}

// A document that has a file is written in place a while after its changes stop, or at the
// latest a while after the first of them; never while a text is typed; a change undone after
// an autosave is written too; a failing autosave is told once; untitled ones wait for a save.
TEST_F(DocumentControllerTest, AutosaveFollowsChanges)
{
    controller.setAutosaveDelays(40, 300);
    auto written = [](FakeDocument* d) { return snapshot(d->fileName()) == d->files; };
    auto change = [](FakeDocument* d, const char* text) {
        d->files["graph/graph0.plist"] = text;
        d->edited = true;
        d->noteChange();
    };

    FakeDocument* doc = savedDoc("Auto");
    change(doc, "first");
    EXPECT_TRUE(controller.isAutosavePending(doc));
    EXPECT_FALSE(written(doc)) << "not at once";
    EXPECT_TRUE(QTest::qWaitFor([&] { return written(doc); }, 5000));
    EXPECT_EQ(doc->kinds, QList<SaveKind>{SaveKind::Autosave});
    EXPECT_TRUE(doc->edited) << "an autosave leaves the document edited";

    // Changes that keep coming are written before they stop.
    QElapsedTimer clock;
    clock.start();
    bool writtenWhileChanging = false;
    for (int i = 0; clock.elapsed() < 1500 && !writtenWhileChanging; ++i) {
        change(doc, QByteArray::number(i));
        QTest::qWait(10);
        writtenWhileChanging = doc->kinds.size() > 1;
    }
    EXPECT_TRUE(writtenWhileChanging);

    // Not while a text is typed: once it is done.
    QTest::qWait(100);
    doc->typing = true;
    change(doc, "while typing");
    QTest::qWait(200);
    EXPECT_FALSE(written(doc));
    doc->typing = false;
    EXPECT_TRUE(QTest::qWaitFor([&] { return written(doc); }, 5000));

    // Undone back to the state of the last explicit save: still different from the package.
    doc->files["graph/graph0.plist"] = "settings";
    doc->edited = false;
    doc->noteChange();
    EXPECT_TRUE(QTest::qWaitFor([&] { return written(doc); }, 5000));

    doc->failAfterFiles = 0;
    for (const char* text : {"fails", "fails again"})
        change(doc, text), QTest::qWait(200);
    EXPECT_EQ(dialogs.alerts.size(), 1);

    FakeDocument* untitled = newDoc();
    untitled->noteChange();
    EXPECT_FALSE(controller.isAutosavePending(untitled));
}

TEST_F(DocumentControllerTest, OpeningReadsAPackageInPlaceOfAPristineUntitledOne)
{
    FakeDocument* writer = savedDoc("Shared");
    const Files written = writer->files;
    const QString path = writer->fileName();
    controller.removeDocument(writer);
    newDoc();   // untitled and never touched
    auto* doc = static_cast<FakeDocument*>(controller.openDocument(path));
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(doc->files, written);
    EXPECT_EQ(controller.documents().size(), 1u) << "the pristine document is closed";
    EXPECT_EQ(controller.openDocument(path + "/"), doc) << "the same package, spelt differently";
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(destroyed, 2);   // the writer and the pristine document
}

// Opened from a command in the event loop, a package whose reading has something to say: the
// alert's own event loop runs while the untitled document that gave way is still referred
// to by the command (its window's menu, in the application). It is destroyed only once
// control is back in the loop that ran the command.
TEST_F(DocumentControllerTest, ADocumentGivingWayOutlivesTheAlertsOfTheOpening)
{
    FakeDocument* writer = savedDoc("Noticed");
    writer->files["notice"] = "Something was left out.";
    ASSERT_TRUE(controller.save(writer));
    const QString path = writer->fileName();
    controller.removeDocument(writer);
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_EQ(destroyed, 1);

    newDoc();
    int destroyedInAlert = -1;
    dialogs.whileAlertOpen = [&] {
        QEventLoop modal;
        QTimer::singleShot(0, &modal, &QEventLoop::quit);
        modal.exec();
        destroyedInAlert = destroyed;
    };
    QEventLoop loop;
    DocumentInterface* opened = nullptr;
    QTimer::singleShot(0, &loop, [&] {
        opened = controller.openDocument(path);
        loop.quit();
    });
    loop.exec();
    ASSERT_NE(opened, nullptr);
    EXPECT_EQ(dialogs.alerts, QStringList{"Something was left out."});
    EXPECT_EQ(destroyedInAlert, 1) << "the untitled document went inside the alert";
    EXPECT_EQ(controller.documents().size(), 1u);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(destroyed, 2);
}

TEST_F(DocumentControllerTest, FailedOpenSaysWhyAndKeepsAPristineDocument)
{
    QFile(dir.filePath("plain.vlbdoc")).open(QIODevice::WriteOnly);
    newDoc();
    for (const auto& [path, words] : {std::pair{"Missing.vlbdoc", "there is no such file"},
                                      std::pair{"plain.vlbdoc", "not a document package"}}) {
        QString error;
        EXPECT_EQ(controller.openDocument(dir.filePath(path), &error), nullptr);
        EXPECT_TRUE(error.contains(words)) << error.toStdString();
        EXPECT_EQ(controller.documents().size(), 1u);
    }
}

TEST_F(DocumentControllerTest, InteractiveCommandsAlertFailures)
{
    FakeDocument* doc = savedDoc("Alerted");
    doc->failAfterFiles = 1;
    EXPECT_FALSE(controller.saveDocumentInteractively(doc));
    ASSERT_EQ(dialogs.alerts.size(), 1);
    EXPECT_TRUE(dialogs.alerts[0].contains("The disk is full.")) << dialogs.alerts[0].toStdString();
    EXPECT_TRUE(dialogs.alerts[0].contains(QString::fromUtf8("\u201cAlerted.vlbdoc\u201d")));
}

TEST_F(DocumentControllerTest, RevertReplacesTheDocumentWithWhatIsOnDisk)
{
    FakeDocument* doc = savedDoc("Revert", true);
    const Files onDisk = doc->files;
    doc->files["graph/graph0.plist"] = "unsaved";
    dialogs.answers = {0};
    ASSERT_TRUE(controller.revertDocumentInteractively(doc));
    ASSERT_EQ(controller.documents().size(), 1u);
    auto* fresh = static_cast<FakeDocument*>(controller.documents()[0].get());
    EXPECT_NE(fresh, doc);
    EXPECT_EQ(fresh->files, onDisk);
    EXPECT_FALSE(fresh->isDocumentEdited());
    QDir(fresh->fileName()).removeRecursively();
    EXPECT_FALSE(controller.revert(fresh));
    EXPECT_EQ(controller.documents()[0].get(), fresh) << "a failed revert keeps the document";
}

// A save killed at any point leaves a package that opens: the old one until the new one is in
// place, the old one brought back when the kill came between two renames. The next save
// removes whatever the killed one left beside the package.
TEST_F(DocumentControllerTest, KilledSavesLeaveAPackageThatOpens)
{
    const struct { const char* stop; bool exchange; const char* opens; } cases[] = {
        {"written", true, "old"}, {"swapped", true, "new"}, {"written", false, "old"}, {"aside", false, "old"},
        {"swapped", false, "new"}};
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.stop) + (c.exchange ? " exchanging" : " renaming"));
        const QString folder = dir.filePath(QString::number(n++)), package = folder + "/P.vlbdoc";
        QDir().mkpath(folder);
        const QString exchange = c.exchange ? "1" : "0";
        ASSERT_TRUE(runSaveChild({"save", package, "none", exchange, "old"}));
        EXPECT_FALSE(runSaveChild({"save", package, c.stop, exchange, "new"})) << "not killed";
        EXPECT_GT(entries(folder).size(), 1) << "the killed save left its folders";

        auto* doc = static_cast<FakeDocument*>(controller.openDocument(package));
        ASSERT_NE(doc, nullptr);
        EXPECT_EQ(doc->files.value("fileInfo.plist"), c.opens);
        EXPECT_EQ(doc->files.value("graph/graph0.plist"), c.opens);
        ASSERT_TRUE(controller.save(doc));
        EXPECT_EQ(entries(folder), QStringList{"P.vlbdoc"});
        controller.removeDocument(doc);
    }
}

// Where the file system can, the new package takes the old one's place in one step.
TEST_F(DocumentControllerTest, SavesExchangeInOneStepWhereTheFileSystemCan)
{
    QDir().mkpath(dir.filePath("a"));
    QDir().mkpath(dir.filePath("b"));
    if (PackageFiles::exchange(dir.filePath("a"), dir.filePath("b"), nullptr) != PackageFiles::Exchange::Done)
        GTEST_SKIP() << "this file system cannot exchange";
    FakeDocument* doc = savedDoc("Steps");
    using S = DocumentController::SaveStep;
    QList<S> steps;
    DocumentController::setSaveStepObserver([&](S s) { steps << s; });
    EXPECT_TRUE(controller.save(doc));
    DocumentController::setExchangeAllowed(false);
    EXPECT_TRUE(controller.save(doc));
    DocumentController::setExchangeAllowed(true);
    DocumentController::setSaveStepObserver(nullptr);
    EXPECT_EQ(steps, (QList<S>{S::Written, S::SwappedIn, S::Written, S::MovedAside, S::SwappedIn}));
}

// Run by a user whom permissions bind (not root): a read-only package in a writable folder is
// saved, and stays read-only.
TEST_F(DocumentControllerTest, ReadOnlyPackageIsSavedAndKeepsItsPermissions)
{
    QFile::setPermissions(dir.path(), QFileDevice::Permissions(0x7777));
    int exitCode = -1;
    ASSERT_TRUE(runSaveChild({"readonly", dir.path()}, &exitCode));
    EXPECT_EQ(exitCode, 0);
    const QString package = dir.filePath("ReadOnly.vlbdoc");
    EXPECT_EQ(snapshot(package).value("fileInfo.plist"), "second");
    EXPECT_EQ(QFile::permissions(package) & 0x7077,
              QFileDevice::ReadOwner | QFileDevice::ExeOwner | QFileDevice::ReadGroup | QFileDevice::ExeGroup);
    EXPECT_EQ(entries(dir.path()), QStringList{"ReadOnly.vlbdoc"});
}

// Run by a user whom permissions bind: Save As over a plain file, or over a link to one, gives
// a package its owner can open (the file's own bits have no say on a folder).
TEST_F(DocumentControllerTest, SaveAsOverAPlainFileGivesAPackageItsOwnerCanOpen)
{
    QFile::setPermissions(dir.path(), QFileDevice::Permissions(0x7777));
    for (const char* over : {"plain", "link"}) {
        SCOPED_TRACE(over);
        const QString folder = dir.filePath(over);
        QDir().mkpath(folder);
        QFile::setPermissions(folder, QFileDevice::Permissions(0x7777));
        int exitCode = -1;
        ASSERT_TRUE(runSaveChild({"overfile", folder, over}, &exitCode));
        EXPECT_EQ(exitCode, 0) << "3: the save failed, 4: the owner cannot read the package";
        const QString package = folder + "/Over.vlbdoc";
        EXPECT_TRUE(QFileInfo(package).isDir() && !QFileInfo(package).isSymLink());
        EXPECT_TRUE(QFile::permissions(package) & QFileDevice::ExeOwner);
    }
}

// Two instances with one package open, as two controllers of one process: neither overwrites
// what the other wrote without asking. An autosave leaves a package changed on the disk alone
// and says so once, from the event loop; a save, a close and a quit ask, and "Cancel" writes
// nothing.
TEST_F(DocumentControllerTest, APackageChangedOnDiskIsNotOverwrittenUnasked)
{
    const QString path = savedDoc("Shared")->fileName();
    controller.removeDocument(controller.documents().front().get());
    DocumentController other([this] { return std::make_unique<FakeDocument>(&destroyed); });
    auto* a = static_cast<FakeDocument*>(controller.openDocument(path));
    auto* b = static_cast<FakeDocument*>(other.openDocument(path));
    ASSERT_TRUE(a && b);
    auto change = [](FakeDocument* d, const char* text) {
        d->files["graph/graph0.plist"] = text;
        d->edited = true;
    };
    auto stored = [&] { return snapshot(path).value("graph/graph0.plist"); };
    const QString changed = "The document \u201cShared\u201d has been changed by another application since it was opened or saved.";

    // Texts of different lengths: two writes within one tick of the file system's clock
    // differ in size. A writes twice; its own writes are no change on the disk to it.
    for (const char* text : {"A1", "A2-"}) {
        change(a, text);
        ASSERT_TRUE(controller.autosave(a));
        EXPECT_EQ(stored(), text);
    }
    change(b, "B1--");
    EXPECT_FALSE(other.autosave(b));
    EXPECT_TRUE(dialogs.alerts.isEmpty()) << "not from inside the autosave";
    QCoreApplication::processEvents();
    EXPECT_EQ(dialogs.alerts, QStringList{changed});
    change(b, "B2---");
    EXPECT_FALSE(other.autosave(b));
    QCoreApplication::processEvents();
    EXPECT_EQ(dialogs.alerts.size(), 1) << "once per change on the disk";
    change(a, "A3----");
    ASSERT_TRUE(controller.autosave(a));
    EXPECT_FALSE(other.autosave(b));
    QCoreApplication::processEvents();
    EXPECT_EQ(dialogs.alerts.size(), 2) << "a new change on the disk is said again";
    EXPECT_EQ(stored(), "A3----");

    // Save, close and quit ask; cancelled, they write nothing and B stays open.
    dialogs.answers = {1, 1, 1};
    EXPECT_FALSE(other.save(b));
    EXPECT_FALSE(other.closeDocument(b));
    EXPECT_FALSE(other.quit());
    EXPECT_EQ(stored(), "A3----");
    EXPECT_EQ(other.documents().size(), 1u);
    EXPECT_EQ(dialogs.questions, QStringList(3, changed));
    EXPECT_EQ(dialogs.questionButtons.value(0), (QStringList{"Keep This Version", "Cancel"}));
    EXPECT_EQ(dialogs.alerts.size(), 2) << "a cancel is no failure to report";
    // Kept: B's version replaces A's, and B's next writes ask nothing.
    dialogs.answers = {0};
    EXPECT_TRUE(other.save(b));
    EXPECT_EQ(stored(), "B2---");
    change(b, "B3-----");
    EXPECT_TRUE(other.autosave(b));
    EXPECT_EQ(stored(), "B3-----");
    EXPECT_EQ(dialogs.questions.size(), 4);

    // Now A is the one whose package changed: its quit asks, and kept, writes A's version.
    change(a, "A4------");
    dialogs.answers = {0};
    EXPECT_TRUE(controller.quit());
    EXPECT_EQ(dialogs.questions.size(), 5);
    EXPECT_EQ(stored(), "A4------");
}

// Touched from outside between two autosaves (a file rewritten, a copy put in its place):
// the timed autosaves stop writing, say so once and not while a modal window is up; a revert
// takes the package as it is on the disk and autosaves again.
TEST_F(DocumentControllerTest, AutosaveLeavesAPackageTouchedFromOutsideAlone)
{
    controller.setAutosaveDelays(20, 100);
    FakeDocument* doc = savedDoc("Touched");
    const QString path = doc->fileName();
    auto change = [](FakeDocument* d, const QByteArray& text) {
        d->files["graph/graph0.plist"] = text;
        d->edited = true;
        d->noteChange();
    };
    auto stored = [&] { return snapshot(path).value("graph/graph0.plist"); };
    change(doc, "mine 1");
    ASSERT_TRUE(QTest::qWaitFor([&] { return stored() == "mine 1"; }, 5000));

    // Another program rewrites a file.
    {
        QFile f(path + "/graph/graph0.plist");
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("theirs, longer");
    }
    change(doc, "mine 2");
    EXPECT_FALSE(controller.autosave(doc));
    QDialog modal;
    modal.setWindowModality(Qt::ApplicationModal);
    modal.show();
    ASSERT_TRUE(QApplication::activeModalWidget());
    QTest::qWait(300);
    EXPECT_TRUE(dialogs.alerts.isEmpty()) << "not while a modal window is up";
    modal.close();
    EXPECT_TRUE(QTest::qWaitFor([&] { return dialogs.alerts.size() == 1; }, 5000));
    for (const QByteArray text : {"mine 3", "mine 4"})
        change(doc, text), QTest::qWait(150);
    EXPECT_EQ(dialogs.alerts.size(), 1);
    EXPECT_EQ(stored(), "theirs, longer");

    // A copy of another package put in its place.
    const QString elsewhere = dir.filePath("copy");
    ASSERT_TRUE(QDir().mkpath(elsewhere + "/graph"));
    QFile(elsewhere + "/fileInfo.plist").open(QIODevice::WriteOnly);
    QFile copied(elsewhere + "/graph/graph0.plist");
    ASSERT_TRUE(copied.open(QIODevice::WriteOnly));
    copied.write("copied");
    copied.close();
    ASSERT_TRUE(QDir(path).removeRecursively() && QDir().rename(elsewhere, path));
    change(doc, "mine 5");
    EXPECT_TRUE(QTest::qWaitFor([&] { return dialogs.alerts.size() == 2; }, 5000));
    EXPECT_EQ(stored(), "copied");

    ASSERT_TRUE(controller.revert(doc));
    auto* fresh = static_cast<FakeDocument*>(controller.documents().front().get());
    EXPECT_EQ(fresh->files.value("graph/graph0.plist"), "copied");
    change(fresh, "mine again");
    EXPECT_TRUE(QTest::qWaitFor([&] { return stored() == "mine again"; }, 5000));
    EXPECT_EQ(dialogs.alerts.size(), 2);
    EXPECT_TRUE(dialogs.questions.isEmpty());
}

}  // namespace
