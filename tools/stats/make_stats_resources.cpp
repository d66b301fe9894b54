// Writes resources/NormRes2.plist and resources/Shapiro.plist (binary property lists).
// Run after changing the grid or the coefficient formulas, then commit both files:
//   cmake --build <build> --target make_stats_resources
//   <build>/tools/stats/make_stats_resources <source>/resources
#include "StatsResourceGenerator.h"

#include "platform/PropertyList.h"
#include "stats/MyNorm2.h"

#include <QDir>
#include <QFile>
#include <cstdio>

namespace {
bool write(const QString& path, const QVariantMap& value)
{
    const QByteArray data = PropertyList::toBinary(value);
    QFile file(path);
    if (data.isEmpty() || !file.open(QIODevice::WriteOnly) || file.write(data) != data.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("wrote %s (%lld bytes)\n", qPrintable(path), static_cast<long long>(data.size()));
    return true;
}
}

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_stats_resources <resources folder>\n");
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    const QVariantMap normRes = StatsResourceGenerator::normRes();
    MyNorm2 norms(normRes);
    if (!write(dir.filePath("NormRes2.plist"), normRes)
        || !write(dir.filePath("Shapiro.plist"), StatsResourceGenerator::shapiroRes(&norms)))
        return 1;
    return 0;
}
