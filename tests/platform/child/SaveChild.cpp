// A save run in a process of its own, so that a test can kill it at a chosen point of the
// swap, or run it as a user without the privileges that would hide a permission fault.
//   save_child save <package> <written|aside|swapped|none> <exchange 1|0> <content>
//   save_child readonly <folder>   (as "nobody" when started as root)
//   save_child overfile <folder> <plain|link>   (as "nobody" too): saves over a plain file, or
//       a link to one, then reads the package's files back as its owner
#include "platform/DocumentController.h"
#include "platform/PackageFiles.h"
#include <QCoreApplication>
#include <QFile>
#include <csignal>
#include <cstdio>
#include <unistd.h>

namespace {

class FileDocument : public DocumentInterface {
public:
    explicit FileDocument(QByteArray content) : m_content(std::move(content)) {}
    bool writePackage(const QString& dir, SaveKind, QString* error) override
    {
        return PackageFiles::makeFolder(dir + "/graph", error) && PackageFiles::writeFile(dir + "/fileInfo.plist", m_content, error)
               && PackageFiles::writeFile(dir + "/graph/graph0.plist", m_content, error);
    }
    bool readPackage(const QString&, QString*) override { return false; }
    bool isDocumentEdited() const override { return true; }
    bool isPristine() const override { return false; }

private:
    QByteArray m_content;
};

int save(const QString& package, const QByteArray& content)
{
    FileDocument doc(content);
    QString error;
    if (DocumentController::writePackageAtomically(&doc, package, SaveKind::Save, &error))
        return 0;
    std::fprintf(stderr, "%s\n", qPrintable(error));
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.value(1) == "save" && args.size() == 6) {
        const QString stop = args[3];
        DocumentController::setExchangeAllowed(args[4] == "1");
        DocumentController::setSaveStepObserver([stop](DocumentController::SaveStep step) {
            const char* names[] = {"written", "aside", "swapped"};
            if (stop == names[int(step)])
                std::raise(SIGKILL);
        });
        return save(args[2], args[5].toUtf8());
    }
    const bool dropped = args.size() >= 3 && (geteuid() != 0 || (setgid(65534) == 0 && setuid(65534) == 0));
    if (args.value(1) == "overfile" && args.size() == 4 && dropped) {
        const QString package = args[2] + "/Over.vlbdoc";
        QFile plain(args[3] == "link" ? args[2] + "/plain.txt" : package);
        if (!plain.open(QIODevice::WriteOnly) || plain.write("a plain file") < 0)
            return 2;
        plain.close();
        if (args[3] == "link" && !QFile::link(plain.fileName(), package))
            return 2;
        if (save(package, "saved") != 0)
            return 3;
        QFile info(package + "/graph/graph0.plist");
        return info.open(QIODevice::ReadOnly) && info.readAll() == "saved" ? 0 : 4;
    }
    if (args.value(1) == "readonly" && args.size() == 3) {
        if (!dropped)
            return 2;
        const QString package = args[2] + "/ReadOnly.vlbdoc";
        if (save(package, "first") != 0)
            return 3;
        QFile::setPermissions(package, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup);
        return save(package, "second");
    }
    return 2;
}
