#include "platform/DocumentController.h"

#include "platform/Dialogs.h"
#include "platform/PackageFiles.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTimer>
#include <algorithm>

namespace {

DocumentController* g_shared = nullptr;

const QString kExtension = QStringLiteral(".vlbdoc");
const QString kFilter = QStringLiteral("Documents (*.vlbdoc)");

QString quoted(const QString& name) { return QStringLiteral("\u201c") + name + QStringLiteral("\u201d"); }

QString packageName(const QString& path)
{
    QString name = QFileInfo(path).fileName();
    if (name.endsWith(kExtension, Qt::CaseInsensitive) && name.size() > kExtension.size())
        name.chop(kExtension.size());
    return name;
}

// The path as one spelling: absolute, clean, no trailing separator.
QString normalized(const QString& path) { return QDir::cleanPath(QFileInfo(path).absoluteFilePath()); }

bool samePath(const QString& a, const QString& b)
{
    if (a.isEmpty() || b.isEmpty())
        return false;
    const QString ca = QFileInfo(a).canonicalFilePath();
    const QString cb = QFileInfo(b).canonicalFilePath();
    if (!ca.isEmpty() && !cb.isEmpty())
        return ca == cb;
    return normalized(a) == normalized(b);
}

void setError(QString* error, const QString& text)
{
    if (error)
        *error = text;
}

// What is said of a package changed on the disk since its document read or wrote it.
QString changedOnDisk(const DocumentInterface* doc)
{
    return QStringLiteral("The document %1 has been changed by another application since it was opened or saved.")
        .arg(quoted(doc->displayName()));
}

// A name beside `target` that nothing uses yet.
QString unusedSibling(const QString& target, const QString& tag)
{
    const QFileInfo info(target);
    for (;;) {
        const QString candidate = info.absolutePath() + QStringLiteral("/.") + info.fileName() + QLatin1Char('.') + tag
            + QLatin1Char('-') + QString::number(QRandomGenerator::global()->generate(), 36);
        const QFileInfo c(candidate);
        if (!c.exists() && !c.isSymLink())
            return candidate;
    }
}

}  // namespace

QString DocumentInterface::displayName() const
{
    if (!m_fileName.isEmpty())
        return packageName(m_fileName);
    return m_untitledNumber > 1 ? QStringLiteral("Untitled %1").arg(m_untitledNumber) : QStringLiteral("Untitled");
}

struct DocumentController::Pending {
    QTimer timer;
    QElapsedTimer firstChange;   // invalid while everything is written
    bool unwritten = false;
    bool failureTold = false;    // a failed autosave is told once, not at every retry
    // The package's state on the disk when its change there was last told, and the timer
    // that tells it from the event loop.
    QByteArray toldState;
    QTimer noteTimer;
};

DocumentController::DocumentController(Factory factory, QObject* parent)
    : QObject(parent), m_factory(std::move(factory))
{
    g_shared = this;
}

DocumentController::~DocumentController()
{
    for (const auto& doc : m_documents)
        doc->setChangeObserver(nullptr);
    m_pending.clear();
    if (g_shared == this)
        g_shared = nullptr;
}

DocumentController* DocumentController::shared() { return g_shared; }

QString DocumentController::withPackageExtension(const QString& path)
{
    if (path.endsWith(kExtension, Qt::CaseInsensitive))
        return path;
    QString p = path;
    while (p.size() > 1 && p.endsWith(QLatin1Char('/')))
        p.chop(1);
    return p + kExtension;
}

DocumentInterface* DocumentController::newDocument()
{
    std::unique_ptr<DocumentInterface> doc = m_factory();
    if (!doc)
        return nullptr;
    doc->setUntitledNumber(++m_untitledCounter);
    return adopt(std::move(doc));
}

QString DocumentController::proposedFolder(const DocumentInterface* doc)
{
    if (!doc || doc->fileName().isEmpty())
        return QDir::homePath();
    return QFileInfo(doc->fileName()).absolutePath();
}

void DocumentController::setAutosaveDelays(int quietMs, int latestMs)
{
    m_autosaveQuietMs = std::max(0, quietMs);
    m_autosaveLatestMs = std::max(m_autosaveQuietMs, latestMs);
}

bool DocumentController::isAutosavePending(const DocumentInterface* doc) const
{
    const auto it = m_pending.find(doc);
    return it != m_pending.end() && it->second->timer.isActive();
}

void DocumentController::watchChanges(DocumentInterface* doc)
{
    auto pending = std::make_unique<Pending>();
    pending->timer.setSingleShot(true);
    connect(&pending->timer, &QTimer::timeout, this, [this, doc] { autosaveWhenDue(doc); });
    pending->noteTimer.setSingleShot(true);
    connect(&pending->noteTimer, &QTimer::timeout, this, [this, doc] { tellChangedOnDisk(doc); });
    m_pending[doc] = std::move(pending);
    doc->setChangeObserver([this, doc] { scheduleAutosave(doc); });
}

void DocumentController::forget(DocumentInterface* doc)
{
    doc->setChangeObserver(nullptr);
    m_pending.erase(doc);
}

void DocumentController::scheduleAutosave(DocumentInterface* doc)
{
    const auto it = m_pending.find(doc);
    if (it == m_pending.end())
        return;
    Pending& p = *it->second;
    p.unwritten = true;
    // Untitled documents are never autosaved; the change is written by their first save.
    if (doc->fileName().isEmpty())
        return;
    if (!p.firstChange.isValid())
        p.firstChange.start();
    // A while after the last change, but no later than a while after the first: a user who
    // keeps changing things loses no more than that when the program is killed.
    const qint64 latest = m_autosaveLatestMs - p.firstChange.elapsed();
    p.timer.start(int(std::clamp<qint64>(latest, 0, m_autosaveQuietMs)));
}

void DocumentController::autosaveWhenDue(DocumentInterface* doc)
{
    const auto it = m_pending.find(doc);
    if (it == m_pending.end())
        return;
    Pending& p = *it->second;
    // What is being typed is not part of the document yet, and a modal panel may be about
    // to act on it: wait until both are done.
    if (doc->isEditingText() || QApplication::activeModalWidget()) {
        p.timer.start(std::max(m_autosaveQuietMs, 100));
        return;
    }
    QString error;
    if (autosave(doc, &error) || error.isEmpty()) {
        p.failureTold = false;
        return;
    }
    // Tried again at the next change; said once.
    p.firstChange.invalidate();
    if (!p.failureTold) {
        p.failureTold = true;
        Dialogs::current().alertOver(doc->mainWindow(), error);
    }
}

void DocumentController::noteChangedOnDisk(DocumentInterface* doc, const QByteArray& state)
{
    const auto it = m_pending.find(doc);
    if (it == m_pending.end())
        return;
    Pending& p = *it->second;
    // Tried again at the next change; told once for each change on the disk.
    p.firstChange.invalidate();
    if (p.toldState == state)
        return;
    p.toldState = state;
    // Said from the event loop, not from whatever runs the autosave.
    p.noteTimer.start(0);
}

void DocumentController::tellChangedOnDisk(DocumentInterface* doc)
{
    const auto it = m_pending.find(doc);
    if (it == m_pending.end())
        return;
    if (QApplication::activeModalWidget() || QApplication::activePopupWidget()) {
        it->second->noteTimer.start(200);
        return;
    }
    Dialogs::current().alertOver(doc->mainWindow(), changedOnDisk(doc),
                                 QStringLiteral("Its changes are no longer saved automatically. Choose Save to keep this "
                                                "document's version, or Revert to take the one on the disk."));
}

DocumentInterface* DocumentController::adopt(std::unique_ptr<DocumentInterface> doc)
{
    DocumentInterface* raw = doc.get();
    m_documents.push_back(std::move(doc));
    watchChanges(raw);
    raw->makeWindowControllers();
    raw->showWindows();
    return raw;
}

// A new document read from the package at `path`; on failure nullptr and *error set to
// `failure` followed by the document's own reason.
std::unique_ptr<DocumentInterface> DocumentController::readDocument(const QString& path, const QString& failure,
                                                                    QString* error)
{
    std::unique_ptr<DocumentInterface> doc = m_factory();
    QString why;
    if (doc) {
        doc->setFileName(path);
        // Taken before reading: a change made while it reads counts as one made after.
        const QByteArray state = PackageFiles::state(path);
        if (doc->readPackage(path, &why)) {
            doc->m_packageState = state;
            return doc;
        }
    }
    setError(error, why.isEmpty() ? failure : failure + QLatin1Char(' ') + why);
    return nullptr;
}

DocumentInterface* DocumentController::documentForPath(const QString& packagePath) const
{
    for (const auto& doc : m_documents)
        if (samePath(doc->fileName(), packagePath))
            return doc.get();
    return nullptr;
}

std::unique_ptr<DocumentInterface> DocumentController::take(DocumentInterface* doc)
{
    for (auto it = m_documents.begin(); it != m_documents.end(); ++it) {
        if (it->get() == doc) {
            forget(doc);
            std::unique_ptr<DocumentInterface> owned = std::move(*it);
            m_documents.erase(it);
            return owned;
        }
    }
    return nullptr;
}

namespace {
// A document taken out of the list, kept until control is back in the event loop that was
// running when it went: a modal loop opened meanwhile (an alert while another document
// opens) must not destroy it, with its windows, under the command that made it go.
class DiscardedDocument : public QObject {
public:
    DiscardedDocument(std::unique_ptr<DocumentInterface> doc, QObject* parent) : QObject(parent), m_doc(std::move(doc)) {}

private:
    std::unique_ptr<DocumentInterface> m_doc;
};
}  // namespace

void DocumentController::discard(std::unique_ptr<DocumentInterface> doc)
{
    if (!doc)
        return;
    forget(doc.get());
    doc->closeWindows();
    (new DiscardedDocument(std::move(doc), this))->deleteLater();
}

void DocumentController::removeDocument(DocumentInterface* doc) { discard(take(doc)); }

DocumentInterface* DocumentController::openDocument(const QString& packagePath, QString* error)
{
    if (packagePath.trimmed().isEmpty()) {
        setError(error, QStringLiteral("No document was given to open."));
        return nullptr;
    }
    const QString path = normalized(packagePath);
    if (DocumentInterface* open = documentForPath(path)) {
        open->showWindows();
        return open;
    }
    const QString name = quoted(QFileInfo(path).fileName());
    recoverPackage(path);
    const QFileInfo info(path);
    if (!info.exists()) {
        setError(error, QStringLiteral("The document %1 could not be opened because there is no such file.").arg(name));
        return nullptr;
    }
    if (!info.isDir() || !path.endsWith(kExtension, Qt::CaseInsensitive)) {
        setError(error, QStringLiteral("The document %1 could not be opened because it is not a document package.").arg(name));
        return nullptr;
    }
    if (!info.isReadable() || !info.isExecutable()) {
        setError(error, QStringLiteral("The document %1 could not be opened because you do not have permission to read it.").arg(name));
        return nullptr;
    }

    std::unique_ptr<DocumentInterface> doc =
        readDocument(path, QStringLiteral("The document %1 could not be opened.").arg(name), error);
    if (!doc)
        return nullptr;

    // An untouched untitled document gives way to the one just opened.
    std::vector<DocumentInterface*> pristine;
    for (const auto& d : m_documents)
        if (d->fileName().isEmpty() && d->isPristine() && !d->isDocumentEdited())
            pristine.push_back(d.get());
    for (DocumentInterface* d : pristine)
        removeDocument(d);
    DocumentInterface* opened = adopt(std::move(doc));
    tellReadNotice(opened);
    return opened;
}

void DocumentController::tellReadNotice(DocumentInterface* doc)
{
    if (const QString notice = doc->readNotice(); !notice.isEmpty())
        Dialogs::current().alert(notice);
}

bool DocumentController::alertUnlessEmpty(bool ok, const QString& error)
{
    if (!ok && !error.isEmpty())
        Dialogs::current().alert(error);
    return ok;
}

DocumentInterface* DocumentController::openDocumentInteractively()
{
    const QString path = Dialogs::current().openDirectory(QStringLiteral("Open"), kFilter);
    if (path.isEmpty())
        return nullptr;
    QString error;
    DocumentInterface* doc = openDocument(path, &error);
    alertUnlessEmpty(doc != nullptr, error);
    return doc;
}

int DocumentController::openFromCommandLine(const QStringList& packagePaths)
{
    int opened = 0;
    for (const QString& path : packagePaths) {
        QString error;
        if (alertUnlessEmpty(openDocument(path, &error) != nullptr, error))
            ++opened;
    }
    return opened;
}

QString DocumentController::askSavePath(DocumentInterface* doc, const QString& title)
{
    const QString proposed = QDir(proposedFolder(doc)).filePath(doc->displayName() + kExtension);
    const QString path = Dialogs::current().saveFile(title, proposed, kFilter);
    return path.isEmpty() ? QString() : withPackageExtension(path);
}

bool DocumentController::save(DocumentInterface* doc, QString* error)
{
    if (!doc)
        return false;
    QString path = doc->fileName();
    if (path.isEmpty()) {
        path = askSavePath(doc, QStringLiteral("Save"));
        if (path.isEmpty())
            return false;   // cancelled: nothing to report
    }
    return saveAt(doc, path, SaveKind::Save, error);
}

bool DocumentController::saveAs(DocumentInterface* doc, const QString& path, QString* error)
{
    return saveAt(doc, path, SaveKind::SaveAs, error);
}

bool DocumentController::saveTo(DocumentInterface* doc, const QString& path, QString* error)
{
    return saveAt(doc, path, SaveKind::SaveTo, error);
}

// Every save writes through here; only save to leaves the document's file name alone.
bool DocumentController::saveAt(DocumentInterface* doc, const QString& path, SaveKind kind, QString* error,
                                bool askIfChanged)
{
    if (!doc)
        return false;
    // An autosave writes what is there and leaves the user typing.
    if (kind != SaveKind::Autosave)
        doc->commitEditing();
    const QString target = normalized(withPackageExtension(path));
    if (DocumentInterface* other = documentForPath(target); other && other != doc) {
        setError(error, QStringLiteral("The document could not be saved as %1 because a document of that name is open. Close it first.")
                            .arg(quoted(QFileInfo(target).fileName())));
        return false;
    }
    // The document's own package, changed on the disk since the document read or wrote it:
    // what another instance or program put there is not overwritten unasked.
    const bool own = !doc->fileName().isEmpty() && samePath(doc->fileName(), target);
    if (own && doc->m_packageState) {
        const QByteArray now = PackageFiles::state(target);
        if (!now.isEmpty() && now != *doc->m_packageState) {
            if (!askIfChanged) {
                noteChangedOnDisk(doc, now);
                return false;
            }
            const int answer = Dialogs::current().question(
                changedOnDisk(doc),
                QStringLiteral("Keep this document's version to replace the one on the disk, or cancel to leave the "
                               "disk as it is."),
                {QStringLiteral("Keep This Version"), QStringLiteral("Cancel")});
            if (answer != 0)
                return false;   // cancelled: nothing to report
        }
    }
    QByteArray written;
    if (!writePackageAtomically(doc, target, kind, error, &written))
        return false;
    const bool inPlace = own || kind != SaveKind::SaveTo;
    if (inPlace)
        doc->m_packageState = written;
    if (kind != SaveKind::SaveTo)
        doc->setFileName(target);
    doc->didSave(kind);
    // The package now holds what is in memory; what the document did on saving (clearing its
    // undo steps) is no change to write.
    if (const auto it = m_pending.find(doc); inPlace && it != m_pending.end()) {
        it->second->timer.stop();
        it->second->firstChange.invalidate();
        it->second->unwritten = false;
        it->second->toldState.clear();
    }
    return true;
}

bool DocumentController::hasUnwrittenChanges(const DocumentInterface* doc) const
{
    // A change undone after an autosave is a change of the package too.
    const auto it = m_pending.find(doc);
    return doc->isDocumentEdited() || (it != m_pending.end() && it->second->unwritten);
}

bool DocumentController::autosave(DocumentInterface* doc, QString* error)
{
    // Only saved documents with changes are written back in place.
    if (!doc || doc->fileName().isEmpty() || !hasUnwrittenChanges(doc))
        return true;
    return saveAt(doc, doc->fileName(), SaveKind::Autosave, error, false);
}

bool DocumentController::revert(DocumentInterface* doc, QString* error)
{
    if (!doc)
        return false;
    if (doc->fileName().isEmpty()) {
        setError(error, QStringLiteral("The document %1 has never been saved.").arg(quoted(doc->displayName())));
        return false;
    }
    std::unique_ptr<DocumentInterface> fresh = readDocument(
        doc->fileName(), QStringLiteral("The document %1 could not be reverted.").arg(quoted(doc->displayName())), error);
    if (!fresh)
        return false;
    // The re-read document takes the old one's place in the list.
    for (auto& slot : m_documents) {
        if (slot.get() == doc) {
            forget(doc);
            watchChanges(fresh.get());
            std::swap(slot, fresh);
            slot->makeWindowControllers();
            slot->showWindows();
            discard(std::move(fresh));
            tellReadNotice(slot.get());
            return true;
        }
    }
    setError(error, QStringLiteral("The document %1 is not open.").arg(quoted(doc->displayName())));
    return false;
}

bool DocumentController::closeDocument(DocumentInterface* doc)
{
    if (!doc)
        return false;
    doc->commitEditing();
    if (!doc->fileName().isEmpty()) {
        // Its autosaves may already have written part of its changes, which "Don't Save"
        // could not take back: the rest is written too, as an autosave would.
        if (hasUnwrittenChanges(doc)) {
            QString error;
            if (!saveAt(doc, doc->fileName(), SaveKind::Autosave, &error))
                return alertUnlessEmpty(false, error);
        }
    } else if (doc->isDocumentEdited()) {
        const int answer = Dialogs::current().question(
            QStringLiteral("Do you want to save the changes made to the document %1?").arg(quoted(doc->displayName())),
            QStringLiteral("Your changes will be lost if you don't save them."),
            {QStringLiteral("Save"), QStringLiteral("Don't Save"), QStringLiteral("Cancel")});
        if (answer == 2)
            return false;
        if (answer == 0 && !saveDocumentInteractively(doc))
            return false;
    }
    removeDocument(doc);
    return true;
}

bool DocumentController::quit()
{
    std::vector<DocumentInterface*> all;
    for (const auto& d : m_documents)
        all.push_back(d.get());
    for (DocumentInterface* d : all)
        if (!closeDocument(d))
            return false;
    return true;
}

namespace {

std::function<void(DocumentController::SaveStep)> g_saveStepObserver;
bool g_exchangeAllowed = true;

void reachStep(DocumentController::SaveStep step)
{
    if (g_saveStepObserver)
        g_saveStepObserver(step);
}

// The hidden folders a save of `target` leaves beside it while it runs (".<name>.<tag>-*"),
// newest first. Names are compared as they stand: a wildcard would let "[1]" in one
// package's name take the folders of another.
QStringList siblingsTagged(const QString& target, const QString& tag)
{
    const QFileInfo info(target);
    const QString prefix = QStringLiteral(".") + info.fileName() + QLatin1Char('.') + tag + QLatin1Char('-');
    QStringList out;
    const QDir parent(info.absolutePath());
    const auto filters = QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;
    for (const QFileInfo& entry : parent.entryInfoList(filters, QDir::Time)) {
        const QString name = entry.fileName();
        if (name.size() > prefix.size() && name.startsWith(prefix)
            && std::all_of(name.cbegin() + prefix.size(), name.cend(),
                           [](QChar c) { return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'z'); }))
            out.append(entry.absoluteFilePath());
    }
    return out;
}

} // namespace

void DocumentController::setSaveStepObserver(std::function<void(SaveStep)> observer)
{
    g_saveStepObserver = std::move(observer);
}

void DocumentController::setExchangeAllowed(bool allowed) { g_exchangeAllowed = allowed; }

bool DocumentController::recoverPackage(const QString& path)
{
    const QString target = normalized(path);
    const QFileInfo info(target);
    if (info.exists() || info.isSymLink())
        return false;
    // Only a save that swaps with two renames can stop between them: the old package then
    // waits aside, complete, under its hidden name (the newest if there are several).
    for (const QString& aside : siblingsTagged(target, QStringLiteral("old")))
        if (QFileInfo(aside).isDir() && PackageFiles::rename(aside, target, nullptr)) {
            PackageFiles::flushFolder(info.absolutePath(), nullptr);
            return true;
        }
    return false;
}

bool DocumentController::writePackageAtomically(DocumentInterface* doc, const QString& path, SaveKind kind, QString* error,
                                                QByteArray* writtenState)
{
    if (!doc || path.trimmed().isEmpty()) {
        setError(error, QStringLiteral("The document could not be saved because no place was given."));
        return false;
    }
    const QString target = normalized(path);
    const QFileInfo targetInfo(target);
    const QString name = quoted(targetInfo.fileName());
    auto fail = [&](const QString& why) {
        setError(error, QStringLiteral("The document %1 could not be saved. %2").arg(name, why));
        return false;
    };

    const QString folder = targetInfo.absolutePath();
    if (!QFileInfo(folder).isDir())
        return fail(QStringLiteral("The folder %1 does not exist.").arg(quoted(folder)));

    // What earlier saves of this package left behind: a package waiting aside comes back
    // first, then every leftover folder goes.
    recoverPackage(target);
    for (const QString& tag : {QStringLiteral("saving"), QStringLiteral("old")})
        for (const QString& stale : siblingsTagged(target, tag))
            PackageFiles::removeAll(stale);

    // Everything is written beside the target first, so the old package stays whole until
    // the new one is complete and on the disk.
    const QString temp = unusedSibling(target, QStringLiteral("saving"));
    QString why;
    if (!PackageFiles::makeFolder(temp, &why))
        return fail(QStringLiteral("A temporary folder could not be made in %1: %2").arg(quoted(folder), why));
    if (!doc->writePackage(temp, kind, &why) || !QFileInfo(temp).isDir()) {
        PackageFiles::removeAll(temp);
        return fail(why.isEmpty() ? QStringLiteral("Its files could not be written.") : why);
    }
    if (!PackageFiles::flushTree(temp, &why)) {
        PackageFiles::removeAll(temp);
        return fail(QStringLiteral("Its files could not be written to the disk: %1").arg(why));
    }
    // Moving the folder into place changes nothing that the state holds.
    if (writtenState)
        *writtenState = PackageFiles::state(temp);
    reachStep(SaveStep::Written);

    const bool replacing = targetInfo.exists() || targetInfo.isSymLink();
    if (!replacing) {
        if (!PackageFiles::rename(temp, target, &why)) {
            PackageFiles::removeAll(temp);
            return fail(QStringLiteral("The new package could not be moved into place: %1").arg(why));
        }
        PackageFiles::flushFolder(folder, nullptr);
        return true;
    }
    // A package keeps its permissions; applied only now, so that a read-only package can
    // still be written. Whatever they were, its owner can still look inside it. A plain file
    // that is replaced lends the package nothing: its bits would leave a folder nobody can
    // enter.
    if (targetInfo.isDir())
        QFile::setPermissions(temp, QFile(target).permissions() | QFileDevice::ReadOwner | QFileDevice::ExeOwner);

    const PackageFiles::Exchange exchanged =
        g_exchangeAllowed ? PackageFiles::exchange(temp, target, &why) : PackageFiles::Exchange::Unsupported;
    if (exchanged == PackageFiles::Exchange::Failed) {
        PackageFiles::removeAll(temp);
        return fail(QStringLiteral("The new package could not be moved into place: %1").arg(why));
    }
    QString old = temp;   // where the old package ends up
    if (exchanged == PackageFiles::Exchange::Unsupported) {
        // Two renames; a stop between them leaves the old package aside for recoverPackage.
        old = unusedSibling(target, QStringLiteral("old"));
        if (!PackageFiles::rename(target, old, &why)) {
            PackageFiles::removeAll(temp);
            return fail(QStringLiteral("The old package could not be moved aside: %1").arg(why));
        }
        reachStep(SaveStep::MovedAside);
        if (!PackageFiles::rename(temp, target, &why)) {
            PackageFiles::rename(old, target, nullptr);
            PackageFiles::removeAll(temp);
            return fail(QStringLiteral("The new package could not be moved into place: %1").arg(why));
        }
    }
    PackageFiles::flushFolder(folder, nullptr);
    reachStep(SaveStep::SwappedIn);
    // The save has succeeded; an old package that cannot be removed goes at the next save.
    PackageFiles::removeAll(old);
    return true;
}

bool DocumentController::saveDocumentInteractively(DocumentInterface* doc)
{
    QString error;
    return alertUnlessEmpty(save(doc, &error), error);
}

bool DocumentController::saveDocumentAsInteractively(DocumentInterface* doc)
{
    return saveAtChosenPlace(doc, QStringLiteral("Save As"), SaveKind::SaveAs);
}

bool DocumentController::saveDocumentToInteractively(DocumentInterface* doc)
{
    return saveAtChosenPlace(doc, QStringLiteral("Save To"), SaveKind::SaveTo);
}

bool DocumentController::saveAtChosenPlace(DocumentInterface* doc, const QString& title, SaveKind kind)
{
    if (!doc)
        return false;
    const QString path = askSavePath(doc, title);
    if (path.isEmpty())
        return false;
    QString error;
    return alertUnlessEmpty(saveAt(doc, path, kind, &error), error);
}

bool DocumentController::revertDocumentInteractively(DocumentInterface* doc)
{
    if (!doc || doc->fileName().isEmpty())
        return false;
    const int answer = Dialogs::current().question(
        QStringLiteral("Do you want to revert to the most recently saved version of the document %1?").arg(quoted(doc->displayName())),
        QStringLiteral("Your current changes will be lost."), {QStringLiteral("Revert"), QStringLiteral("Cancel")});
    if (answer != 0)
        return false;
    QString error;
    return alertUnlessEmpty(revert(doc, &error), error);
}
