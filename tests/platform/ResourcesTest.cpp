#include "platform/PropertyList.h"
#include "platform/Resources.h"

#include "PlatformTestSupport.h"

#include <QStandardPaths>

namespace {

const QString kData = QStringLiteral(VLB_TEST_DATA "/platform/resources/");
// What the sample files hold.
const QVariantMap kSample{
    {"version", QString("4.11")}, {"count", qint64(3)}, {"ratio", 0.5}, {"shown", true},
    {"bytes", QByteArray("\x00\x01\xfe", 3)},
    {"list", QVariantList{QString("a"), qint64(2), 1.5, false, QVariantList(), QVariantMap()}},
    {"nested", QVariantMap{{"inner", QVariantMap{{"deep", QString("value & <more>")}}}}},
};

TEST(Resources, XmlAndBinaryGiveTheSameDictionaryAsResourcesAndAsDefaults)
{
    for (const char* name : {"sample-xml.plist", "sample-binary.plist"}) {
        QString error;
        EXPECT_TRUE(samePlist(Resources::plist(name, &error), kSample)) << name << error.toStdString();
        EXPECT_TRUE(samePlist(DefaultsStore::load(kData + name).values(), kSample)) << name;
    }
}

TEST(Resources, BadFilesAreRefused)
{
    for (const char* name : {"missing.plist", "broken.plist"}) {
        QString error;
        EXPECT_FALSE(Resources::plist(name, &error).isValid()) << name;
        EXPECT_FALSE(error.isEmpty()) << name;
    }
    // Anything but a dictionary gives an empty store.
    QTemporaryDir dir;
    for (const QString& path : {kData + "array.plist", dir.filePath("none.plist"), dir.path()})
        EXPECT_TRUE(DefaultsStore::load(path).values().isEmpty()) << path.toStdString();
}

// A defaults file of 64 MB is read; one byte more and it is taken for none. The padding is
// blank space after the property list.
TEST(DefaultsStore, SizeLimitHoldsAtItsEdge)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("defaults.plist");
    const QByteArray plist = PropertyList::toXml(QVariantMap{{"shown", true}});
    const qint64 limit = qint64(64) << 20;
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(plist) == plist.size());
    ASSERT_TRUE(file.write(QByteArray(limit - 1 - plist.size(), ' ')) == limit - 1 - plist.size());
    for (const qint64 size : {limit - 1, limit, limit + 1}) {
        ASSERT_TRUE(file.flush() && file.size() == size);
        EXPECT_EQ(DefaultsStore::load(path).values().size(), size <= limit ? 1 : 0) << size;
        ASSERT_TRUE(file.write(" ") == 1);
    }
}

TEST(DefaultsStore, ReadsTheUsersConfigurationFolderAndNeverWrites)
{
    QStandardPaths::setTestModeEnabled(true);
    const QString path = DefaultsStore::defaultPath();
    EXPECT_EQ(path, QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) + "/defaults.plist");
    const QString folder = QFileInfo(path).absolutePath();
    QDir(folder).removeRecursively();
    EXPECT_TRUE(DefaultsStore::load().values().isEmpty());
    EXPECT_FALSE(QFileInfo::exists(folder)) << "loading creates nothing";
    ASSERT_TRUE(QDir().mkpath(folder));
    ASSERT_TRUE(QFile::copy(kData + "sample-binary.plist", path));
    EXPECT_TRUE(samePlist(DefaultsStore::load().values(), kSample));

    QDir(folder).removeRecursively();
    QStandardPaths::setTestModeEnabled(false);
}

}  // namespace
