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

TEST(ConfigResSource, KeyPathsTakeTabsAndEmptyElementKeys)
{
    const std::pair<const char*, const char*> paths[] = {
        {"(root)", ""}, {"graphTitle", "graphTitle"}, {"categoryDicts > *", "categoryDicts\t"},
        {"categoryDicts > * > represents > * > origName", "categoryDicts\t\trepresents\t\torigName"}};
    for (const auto& [written, path] : paths)
        EXPECT_EQ(ConfigResSource::keyPath(written), QString(path)) << written;
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

// Every row entry is whole: limits as texts, the steps with those that use their results.
TEST(ConfigResSource, StepsFollowResultsAndContainersJoinTheirRows)
{
    QString error;
    const auto built = ConfigResSource::build(kSmall, &error);
    ASSERT_TRUE(built) << qPrintable(error);
    const QVariantMap rows = built->value("intoOutlineItem").toMap();
    auto entry = [](qint64 setIndex, QVariantList indexes, const char* type2 = "", const char* minVal = "",
                    const char* maxVal = "", bool allowEqual = false, bool changeable = true, bool reserve = false) {
        return QVariant(QVariantMap{{"needFix", QString()}, {"changeable", changeable}, {"setIndex", setIndex},
                                    {"indexes", indexes}, {"type2", QString(type2)}, {"allowEqual", allowEqual},
                                    {"dotReserve", reserve}, {"minVal", QString(minVal)}, {"maxVal", QString(maxVal)}});
    };
    using L = QVariantList;
    const std::pair<const char*, QVariant> expected[] = {
        {"", entry(0xf, L{})},
        // The container runs what its rows run; a row without steps runs none.
        {"g", entry(0xf, L{qint64(1)})},
        // a is read; b uses a's result and c uses b's.
        {"g\tx", entry(0x7, L{qint64(1), qint64(0)}, "length", "0", "10")},
        // Repainting adds nothing after it.
        {"g\ty", entry(0x8, L{qint64(1), qint64(1)}, "", "-1", "1", true, false)},
        {"g\tlist", entry(0, L{qint64(1), qint64(2)})},
        {"g\tlist\t", entry(0, L{qint64(1), qint64(2), qint64(0)}, "", "", "", false, true, true)},
    };
    EXPECT_EQ(rows.size(), std::size(expected));
    for (const auto& [path, row] : expected)
        EXPECT_EQ(rows.value(path), row) << path;
    EXPECT_EQ(rows.value("g\tx").toMap().value("minVal").typeId(), QMetaType::QString);

    const QVariantMap strings = built->value("configResString").toMap();
    EXPECT_EQ(strings.value("g\tlist\t"), QVariant(QVariantMap{{"titleRepresent", "Item "}, {"tooltip", "i"}}));
    EXPECT_EQ(built->value("configIndexDict"),
              QVariant(QVariantMap{{"a", qint64(1)}, {"b", qint64(2)}, {"c", qint64(4)}, {"d", qint64(8)}}));
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
