#include "platform/DocumentController.h"
#include "platform/Dialogs.h"
#include "platform/PackageFiles.h"

#include <QCoreApplication>
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

TEST_F(DocumentControllerTest, ClosingAsksOnlyWhenEditedAndObeysTheAnswer)
{
    dialogs.answers = {0};   // Save, then the chooser is cancelled
    EXPECT_FALSE(controller.closeDocument(newDoc(true)));

    FakeDocument* doc = savedDoc("Closing", true);
    dialogs.answers = {2, 0, 0};   // Cancel; Save, which fails; Save
    EXPECT_FALSE(controller.closeDocument(doc));
    doc->failAfterFiles = 0;
    EXPECT_FALSE(controller.closeDocument(doc));
    EXPECT_EQ(dialogs.alerts.size(), 1) << "the failed save is alerted, the cancelled chooser not";
    EXPECT_EQ(doc->saves, 0);
    doc->failAfterFiles = -1;
    EXPECT_TRUE(controller.closeDocument(doc));
    EXPECT_EQ(doc->saves, 1) << "a closed document lives until the event loop runs";
    EXPECT_TRUE(controller.closeDocument(savedDoc("Clean")));

    EXPECT_EQ(dialogs.questions.size(), 4) << "no question for the unedited document";
    EXPECT_EQ(dialogs.questions[1].toStdString(),
              "Do you want to save the changes made to the document \u201cClosing\u201d?");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(destroyed, 2);
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
    auto written = [this](FakeDocument* d) { return snapshot(d->fileName()) == d->files; };
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

}  // namespace
