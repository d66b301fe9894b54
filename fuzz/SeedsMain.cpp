// Writes the seed inputs of every fuzz target: vlb_fuzz_seeds <folder> gives
// <folder>/<target>/seed-<n>.
#include "FuzzTargets.h"
#include "common/TemporaryHome.h"
#include <QApplication>
#include <QDir>
#include <QFile>
#include <cstdio>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const TemporaryHome home(QStringLiteral(VLB_TEST_HOME));
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
        return 2;
    }
    fuzz::setUp();
    const QDir out(QString::fromLocal8Bit(argv[1]));
    for (const fuzz::Target& target : fuzz::targets()) {
        const QString folder = out.filePath(QString::fromLatin1(target.name));
        QDir().mkpath(folder);
        const QList<QByteArray> seeds = target.seeds();
        for (qsizetype i = 0; i < seeds.size(); ++i) {
            QFile file(QDir(folder).filePath(QStringLiteral("seed-%1").arg(i)));
            if (!file.open(QIODevice::WriteOnly) || file.write(seeds[i]) != seeds[i].size()) {
                std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
                return 1;
            }
        }
    }
    return 0;
}
