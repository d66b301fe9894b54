// The generator of configRes.plist: the committed resource is what the source gives, and
// malformed sources are refused with the line at fault.
#include "ConfigResSource.h"

#include "app/AppDelegate.h"
#include "platform/PropertyList.h"
#include "platform/Resources.h"

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

TEST(ConfigResSource, BundledResourceLoadsIntoTheDelegate)
{
    QString error;
    const QVariant resource = Resources::plist(QStringLiteral("configRes.plist"), &error);
    ASSERT_TRUE(resource.isValid()) << qPrintable(error);
    AppDelegate app;
    ASSERT_TRUE(app.loadConfigRes(resource, &error)) << qPrintable(error);
    EXPECT_EQ(app.configResOutlineItem.size(), app.configResString.size());
    EXPECT_TRUE(app.configResOutlineItem.contains(QString()));
    EXPECT_EQ(app.configIndexDict.size(), 20);
}

TEST(ConfigResSource, KeyPathsTakeTabsAndEmptyElementKeys)
{
    EXPECT_EQ(ConfigResSource::keyPath("(root)"), QString());
    EXPECT_EQ(ConfigResSource::keyPath("graphTitle"), QString("graphTitle"));
    EXPECT_EQ(ConfigResSource::keyPath("categoryDicts > *"), QString("categoryDicts\t"));
    EXPECT_EQ(ConfigResSource::keyPath("categoryDicts > * > represents > * > origName"),
              QString("categoryDicts\t\trepresents\t\torigName"));
}

const char* const kSmall = R"(step a 0x1
step b 0x2
step c 0x4
step d 0x8
after a: b
after b: c
row (root)
  steps all
  title "Root"
  tip "r"
row g
  order 1
  steps children
  title "G"
  tip "g"
row g > x
  order 0
  type2 length
  bounds (0, 10)
  steps a
  title "X"
  tip "x"
row g > y
  order 1
  bounds [-1, 1]
  paint d
  fixed
  title "Y"
  tip "y"
row g > list
  order 2
  title "L"
  tip "l"
row g > list > *
  reserve
  title "Item "
  tip "i"
)";

TEST(ConfigResSource, StepsFollowResultsAndContainersJoinTheirRows)
{
    QString error;
    const auto built = ConfigResSource::build(kSmall, &error);
    ASSERT_TRUE(built) << qPrintable(error);
    const QVariantMap rows = built->value("intoOutlineItem").toMap();
    auto row = [&](const char* path) { return rows.value(QString::fromUtf8(path)).toMap(); };

    EXPECT_EQ(row("").value("setIndex").toLongLong(), 0xf);
    // a is read; b uses a's result and c uses b's.
    EXPECT_EQ(row("g\tx").value("setIndex").toLongLong(), 0x7);
    // Repainting adds nothing after it.
    EXPECT_EQ(row("g\ty").value("setIndex").toLongLong(), 0x8);
    EXPECT_EQ(row("g").value("setIndex").toLongLong(), 0xf);
    EXPECT_EQ(row("g\tlist").value("setIndex").toLongLong(), 0);

    EXPECT_EQ(row("g\tx").value("indexes").toList(), (QVariantList{qint64(1), qint64(0)}));
    EXPECT_EQ(row("g\tlist\t").value("indexes").toList(), (QVariantList{qint64(1), qint64(2), qint64(0)}));
    EXPECT_EQ(row("g\tx").value("minVal"), QVariant("0"));
    EXPECT_EQ(row("g\tx").value("maxVal"), QVariant("10"));
    EXPECT_EQ(row("g\tx").value("allowEqual"), QVariant(false));
    EXPECT_EQ(row("g\ty").value("allowEqual"), QVariant(true));
    EXPECT_EQ(row("g\ty").value("type2"), QVariant(QString()));
    EXPECT_EQ(row("g\ty").value("changeable"), QVariant(false));
    EXPECT_EQ(row("g\tlist\t").value("dotReserve"), QVariant(true));
    EXPECT_EQ(row("g\tx").value("minVal").typeId(), QMetaType::QString);
    EXPECT_EQ(row("g\tlist").value("minVal"), QVariant(QString()));

    const QVariantMap strings = built->value("configResString").toMap();
    EXPECT_EQ(strings.value("g\tlist\t").toMap().value("titleRepresent"), QVariant("Item "));
    EXPECT_EQ(strings.value("g").toMap().value("tooltip"), QVariant("g"));
    EXPECT_EQ(built->value("configIndexDict").toMap().value("d"), QVariant(qint64(8)));
}

struct Broken {
    const char* name;
    QString from;   // text of the small source to replace
    QString to;
    int line;       // line reported
};

class ConfigResSourceRefusal : public ::testing::TestWithParam<Broken> {};

TEST_P(ConfigResSourceRefusal, NamesTheLineAtFault)
{
    const Broken& b = GetParam();
    QString source = QString::fromUtf8(kSmall);
    ASSERT_TRUE(source.contains(b.from));
    source.replace(source.indexOf(b.from), b.from.size(), b.to);
    QString error;
    EXPECT_FALSE(ConfigResSource::build(source, &error));
    EXPECT_TRUE(error.startsWith(QStringLiteral("line %1:").arg(b.line))) << qPrintable(error);
}

INSTANTIATE_TEST_SUITE_P(
    Sources, ConfigResSourceRefusal,
    ::testing::Values(
        Broken{"UnknownStep", "  steps a\n", "  steps e\n", 20},
        Broken{"SignBit", "step d 0x8", "step d 0x8000000000000000", 4},
        Broken{"TwoBits", "step d 0x8", "step d 0xc", 4},
        Broken{"SameBitTwice", "step d 0x8", "step d 0x4", 4},
        Broken{"OrphanRow", "row g > list > *", "row h > *", 34},
        Broken{"ClashingOrder", "  order 2\n", "  order 1\n", 30},
        Broken{"MixedBrackets", "bounds (0, 10)", "bounds (0, 10]", 19},
        Broken{"BoundsReversed", "bounds (0, 10)", "bounds (10, 0)", 19},
        Broken{"MissingTip", "  tip \"l\"\n", "", 30},
        Broken{"ElementWithOrder", "row g > list > *\n", "row g > list > *\n  order 3\n", 34},
        Broken{"UnknownField", "  fixed\n", "  fixd\n", 27}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
