// The generator of configRes.plist: the committed resource is what the source gives, and
// malformed sources are refused with the line at fault.
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
        Broken{"TwoBits", "step d 0x8", "step d 0xc", 4},
        Broken{"OrphanRow", "row g > list > *", "row h > *", 34},
        Broken{"BoundsReversed", "bounds (0, 10)", "bounds (10, 0)", 19},
        Broken{"MissingTip", "  tip \"l\"\n", "", 30}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
