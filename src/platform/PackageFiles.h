#pragma once
// The file operations a package save is made of, on the system's own calls so that every
// failure comes with the system's reason ("No space left on device"), data reaches the disk
// before a package is swapped in, and the swap itself is one step where the file system
// allows it.
#include <QByteArray>
#include <QString>

class QFile;

class PackageFiles {
public:
    // Writes bytes to path (created, or emptied first). False and *reason on failure.
    static bool writeFile(const QString& path, const QByteArray& bytes, QString* reason);
    // Creates one folder. False and *reason on failure.
    static bool makeFolder(const QString& path, QString* reason);
    // Flushes every file and folder below path, and path itself, to the disk.
    static bool flushTree(const QString& path, QString* reason);
    // Flushes one folder's entries (names, renames) to the disk.
    static bool flushFolder(const QString& path, QString* reason);

    enum class Exchange { Done, Unsupported, Failed };
    // Swaps two existing entries in one step (each takes the other's name). Unsupported
    // when the file system cannot do it; Failed (and *reason) for any other failure.
    static Exchange exchange(const QString& a, const QString& b, QString* reason);
    static bool rename(const QString& from, const QString& to, QString* reason);
    // Removes a file or a folder with everything in it, read-only folders of the user's
    // included. False when something is left.
    static bool removeAll(const QString& path);

    // Opens path for reading only when it is a regular file (or a link to one), so that a
    // named pipe or a device put in a package never blocks or feeds the reader. The type is
    // that of what was opened, not of what a look before held. False (file left closed)
    // otherwise.
    static bool openRegularFile(const QString& path, QFile& file);

    // What a package looks like on the disk, to tell whether anything changed it since: every
    // entry below path with its kind, size and modification time (to the nanosecond), in
    // name order. The folder itself counts only by its kind, so the state of a package
    // written in a temporary folder is that of the package once it is swapped in. Empty
    // when nothing is at path.
    static QByteArray state(const QString& path);

    // The system's words for an error number.
    static QString systemReason(int error);
};
