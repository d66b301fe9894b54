// The generator of configRes.plist: the committed resource is what the source gives.
#include "ConfigResSource.h"

#include "platform/PropertyList.h"

#include <QFile>
#include <gtest/gtest.h>

TEST(ConfigResSource, CommittedResourceIsWhatTheSourceGives)
{
    QString error;
    const auto built = ConfigResSource::buildFile(VLB_CONFIGRES_SOURCE, &error);
    ASSERT_TRUE(built) << qPrintable(error);
    QFile committed(QString::fromUtf8(VLB_CONFIGRES_PLIST));
    ASSERT_TRUE(committed.open(QIODevice::ReadOnly));
    // On failure: run make_configres tools/configres/configRes.source.txt resources/configRes.plist
    EXPECT_TRUE(PropertyList::toXml(*built) == committed.readAll()) << "resources/configRes.plist is out of date";
}
