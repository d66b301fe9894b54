#include "platform/PackageFiles.h"

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

bool failWith(int error, QString* reason)
{
    if (reason)
        *reason = PackageFiles::systemReason(error);
    return false;
}

QByteArray native(const QString& path) { return QFile::encodeName(path); }

bool flushPath(const QByteArray& path, bool folder, QString* reason)
{
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC | (folder ? O_DIRECTORY : 0));
    if (fd < 0)
        return failWith(errno, reason);
    if (::fsync(fd) != 0) {
        const int error = errno;
        ::close(fd);
        return failWith(error, reason);
    }
    ::close(fd);
    return true;
}

// Lets the owner change a folder before its entries are removed or added.
void makeWritable(const QByteArray& folder)
{
    struct stat st;
    if (::lstat(folder.constData(), &st) == 0 && S_ISDIR(st.st_mode) && (st.st_mode & S_IRWXU) != S_IRWXU)
        ::chmod(folder.constData(), (st.st_mode & 07777) | S_IRWXU);
}

struct Entry {
    QByteArray path;
    bool folder;
};

// Every entry below root (not root itself), folders before what they hold; symbolic links
// are entries, never followed. Walked with a list rather than recursion: the folder may be
// one a user made by hand, nested as deep as they liked. With openUp every folder is made
// the owner's to change first.
std::vector<Entry> entriesBelow(const QByteArray& root, bool openUp)
{
    std::vector<Entry> out;
    std::vector<QByteArray> pending{root};
    while (!pending.empty()) {
        const QByteArray dir = std::move(pending.back());
        pending.pop_back();
        if (openUp)
            makeWritable(dir);
        DIR* d = ::opendir(dir.constData());
        if (!d)
            continue;
        while (const dirent* e = ::readdir(d)) {
            const QByteArray name(e->d_name);
            if (name == "." || name == "..")
                continue;
            const QByteArray path = dir + '/' + name;
            struct stat st;
            const bool folder = ::lstat(path.constData(), &st) == 0 && S_ISDIR(st.st_mode);
            out.push_back({path, folder});
            if (folder)
                pending.push_back(path);
        }
        ::closedir(d);
    }
    return out;
}

QByteArray stamp(const struct stat& st)
{
    const char kind = S_ISDIR(st.st_mode) ? 'd' : S_ISREG(st.st_mode) ? 'f' : S_ISLNK(st.st_mode) ? 'l' : 'o';
    return kind + ('\t' + QByteArray::number(qint64(st.st_size))) + '\t' + QByteArray::number(qint64(st.st_mtim.tv_sec))
        + '.' + QByteArray::number(qint64(st.st_mtim.tv_nsec));
}

} // namespace

QByteArray PackageFiles::state(const QString& path)
{
    const QByteArray root = native(path);
    struct stat st;
    if (::stat(root.constData(), &st) != 0)
        return QByteArray();
    if (!S_ISDIR(st.st_mode))
        return stamp(st);
    std::vector<QByteArray> lines;
    for (const Entry& e : entriesBelow(root, false)) {
        struct stat entry;
        lines.push_back(e.path.mid(root.size()) + '\t'
                        + (::lstat(e.path.constData(), &entry) == 0 ? stamp(entry) : QByteArray("?")));
    }
    std::sort(lines.begin(), lines.end());
    QByteArray out("d");
    for (const QByteArray& line : lines)
        out += '\n' + line;
    return out;
}

QString PackageFiles::systemReason(int error) { return qt_error_string(error); }

bool PackageFiles::openRegularFile(const QString& path, QFile& file)
{
    // Without O_NONBLOCK, opening a pipe waits for a writer that never comes.
    const int fd = ::open(native(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0)
        return false;
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return false;
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0
        || !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return false;
    }
    return true;
}

bool PackageFiles::writeFile(const QString& path, const QByteArray& bytes, QString* reason)
{
    const int fd = ::open(native(path).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0)
        return failWith(errno, reason);
    const char* at = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, at, size_t(std::min<qsizetype>(left, qsizetype(1) << 30)));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            // A short write is followed by one that says why; a write of nothing means the
            // same as a full disk.
            const int error = n < 0 ? errno : ENOSPC;
            ::close(fd);
            return failWith(error, reason);
        }
        at += n;
        left -= n;
    }
    if (::close(fd) != 0)
        return failWith(errno, reason);
    return true;
}

bool PackageFiles::makeFolder(const QString& path, QString* reason)
{
    if (::mkdir(native(path).constData(), 0777) != 0)
        return failWith(errno, reason);
    return true;
}

bool PackageFiles::flushTree(const QString& path, QString* reason)
{
    const QByteArray root = native(path);
    const std::vector<Entry> entries = entriesBelow(root, false);
    for (const Entry& e : entries) {
        struct stat st;
        if (!e.folder && ::lstat(e.path.constData(), &st) == 0 && S_ISREG(st.st_mode) && !flushPath(e.path, false, reason))
            return false;
    }
    // Folders after what they hold, the package last.
    for (auto it = entries.rbegin(); it != entries.rend(); ++it)
        if (it->folder && !flushPath(it->path, true, reason))
            return false;
    return flushPath(root, true, reason);
}

bool PackageFiles::flushFolder(const QString& path, QString* reason)
{
    return flushPath(native(path), true, reason);
}

PackageFiles::Exchange PackageFiles::exchange(const QString& a, const QString& b, QString* reason)
{
    if (::renameat2(AT_FDCWD, native(a).constData(), AT_FDCWD, native(b).constData(), RENAME_EXCHANGE) == 0)
        return Exchange::Done;
    const int error = errno;
    if (error == EINVAL || error == ENOSYS || error == EOPNOTSUPP || error == ENOTSUP)
        return Exchange::Unsupported;
    failWith(error, reason);
    return Exchange::Failed;
}

bool PackageFiles::rename(const QString& from, const QString& to, QString* reason)
{
    if (::rename(native(from).constData(), native(to).constData()) != 0)
        return failWith(errno, reason);
    return true;
}

bool PackageFiles::removeAll(const QString& path)
{
    const QByteArray root = native(path);
    struct stat st;
    if (::lstat(root.constData(), &st) != 0)
        return errno == ENOENT;
    if (!S_ISDIR(st.st_mode))
        return ::unlink(root.constData()) == 0;
    const std::vector<Entry> entries = entriesBelow(root, true);
    bool complete = true;
    for (const Entry& e : entries)
        if (!e.folder && ::unlink(e.path.constData()) != 0)
            complete = false;
    for (auto it = entries.rbegin(); it != entries.rend(); ++it)
        if (it->folder && ::rmdir(it->path.constData()) != 0)
            complete = false;
    return ::rmdir(root.constData()) == 0 && complete;
}
