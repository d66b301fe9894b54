// The generator of configRes.plist: the committed resource is what the source gives.
#include "ConfigResSource.h"

#include "platform/PropertyList.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

QByteArray readFile(const char* path)
{
    QFile f(QString::fromUtf8(path));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST(ConfigResSource, CommittedResourceIsWhatTheSourceGives)
{
    QString error;
    const auto built = ConfigResSource::buildFile(VLB_CONFIGRES_SOURCE, &error);
    ASSERT_TRUE(built) << qPrintable(error);
    const QByteArray committed = readFile(VLB_CONFIGRES_PLIST);
    ASSERT_FALSE(committed.isEmpty());
    // On failure: run make_configres tools/configres/configRes.source.txt resources/configRes.plist
    EXPECT_TRUE(PropertyList::toXml(*built) == committed) << "resources/configRes.plist is out of date";
}

} // namespace
