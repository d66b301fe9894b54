// Writes resources/configRes.plist from tools/configres/configRes.source.txt:
//   make_configres <source> <plist>
#include "ConfigResSource.h"

#include "platform/PropertyList.h"

#include <QCoreApplication>
#include <QFile>
#include <QSaveFile>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: make_configres <source> <plist>\n");
        return 2;
    }
    QString error;
    const auto resource = ConfigResSource::buildFile(args[1], &error);
    if (!resource) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(args[1]), qPrintable(error));
        return 1;
    }
    QSaveFile out(args[2]);
    if (!out.open(QIODevice::WriteOnly) || out.write(PropertyList::toXml(*resource)) < 0 || !out.commit()) {
        std::fprintf(stderr, "%s cannot be written: %s\n", qPrintable(args[2]), qPrintable(out.errorString()));
        return 1;
    }
    return 0;
}
