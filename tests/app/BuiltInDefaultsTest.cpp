// The built-in defaults, key by key, with colours and text attributes decoded.
#include "app/AppDelegate.h"
#include "platform/KeyedArchive.h"

#include <gtest/gtest.h>

namespace {

enum class Kind { Decimal, Text, Boolean, Integer, ColorData, AttrData };

struct Entry {
    QString key;
    Kind kind;
    QVariant value;       // Decimal, Text, Boolean, Integer
    Color color;          // ColorData, AttrData
    double fontSize = 0;  // AttrData
};

Entry dec(const char* key, const char* value) { return {key, Kind::Decimal, QString(value), {}, 0}; }
Entry txt(const char* key, const QString& value) { return {key, Kind::Text, value, {}, 0}; }
Entry flag(const char* key, bool value) { return {key, Kind::Boolean, value, {}, 0}; }
Entry num(const char* key, qint64 value) { return {key, Kind::Integer, value, {}, 0}; }
Entry col(const char* key, const Color& color) { return {key, Kind::ColorData, {}, color, 0}; }
Entry attr(const char* key, double size, const Color& color) { return {key, Kind::AttrData, {}, color, size}; }

const Color kBlack = Color::gray(0.0, 1.0);
const Color kWhite = Color::gray(1.0, 1.0);
const Color kClearWhite = Color::gray(1.0, 0.0);
const Color kSeries[3] = {Color::rgb(1, 0, 0), Color::rgb(0, 0, 1), Color::rgb(0, 1, 0)};
const QString kGlyph = QString(QChar(0x273A));

void expectGroup(const QVariantMap& group, const std::vector<Entry>& entries, const std::string& where)
{
    QStringList keys;
    for (const Entry& e : entries)
        keys.append(e.key);
    keys.sort();
    EXPECT_EQ(group.keys(), keys) << where;
    for (const Entry& e : entries) {
        const QVariant v = group.value(e.key);
        const std::string at = where + " " + e.key.toStdString();
        switch (e.kind) {
        case Kind::Decimal:
        case Kind::Text:
            ASSERT_EQ(v.typeId(), QMetaType::QString) << at;
            EXPECT_EQ(v.toString(), e.value.toString()) << at;
            break;
        case Kind::Boolean:
            ASSERT_EQ(v.typeId(), QMetaType::Bool) << at;
            EXPECT_EQ(v.toBool(), e.value.toBool()) << at;
            break;
        case Kind::Integer:
            ASSERT_EQ(v.typeId(), QMetaType::LongLong) << at;
            EXPECT_EQ(v.toLongLong(), e.value.toLongLong()) << at;
            break;
        case Kind::ColorData: {
            ASSERT_EQ(v.typeId(), QMetaType::QByteArray) << at;
            const std::optional<Color> c = KeyedArchive::unarchiveColor(v.toByteArray());
            ASSERT_TRUE(c.has_value()) << at;
            EXPECT_TRUE(*c == e.color) << at;
            break;
        }
        case Kind::AttrData: {
            ASSERT_EQ(v.typeId(), QMetaType::QByteArray) << at;
            const std::optional<TextAttributes> a = KeyedArchive::unarchiveAttributes(v.toByteArray());
            ASSERT_TRUE(a.has_value()) << at;
            ASSERT_TRUE(a->font.has_value() && a->color.has_value()) << at;
            EXPECT_EQ(a->font->size, e.fontSize) << at;
            EXPECT_EQ(a->font->name, AppDelegate::systemFont(e.fontSize).name) << at;
            EXPECT_TRUE(*a->color == e.color) << at;
            break;
        }
        }
    }
}

struct GroupCase {
    const char* name;
    QVariantMap AppDelegate::*field;
    std::vector<Entry> entries;
};

void PrintTo(const GroupCase& c, std::ostream* os) { *os << c.name; }

class BuiltInGroupTest : public ::testing::TestWithParam<GroupCase> {};

TEST_P(BuiltInGroupTest, MatchesTable)
{
    AppDelegate delegate;
    delegate.makeAppDefaults();
    expectGroup(delegate.*(GetParam().field), GetParam().entries, GetParam().name);
}

INSTANTIATE_TEST_SUITE_P(Groups, BuiltInGroupTest, ::testing::Values(
    GroupCase{"columnSettings", &AppDelegate::appDefaultColumnSettings, {dec("width", "70")}},
    GroupCase{"tableRowSettings", &AppDelegate::appDefaultTableRowSettings,
              {attr("titleRowAttr", 12.0, kBlack), attr("dataRowAttr", 11.0, kBlack),
               dec("titleRowHeight", "17.0"), dec("dataRowHeight", "17.0")}},
    GroupCase{"background", &AppDelegate::appDefaultBackground,
              {col("color", kWhite), flag("followPageLayout", true), dec("viewWidth", "500"), dec("viewHeight", "500")}},
    GroupCase{"graphRect", &AppDelegate::appDefaultGraphRect,
              {dec("height", "200"), dec("columnWidth", "75"), col("fillColor", kClearWhite),
               col("lineColor", kBlack), dec("lineWidth", "1")}},
    GroupCase{"xAxis", &AppDelegate::appDefaultXAxis,
              {col("lineColor", kBlack), dec("axisWidth", "1"), dec("tickLength", "6"), dec("tickWidth", "1")}},
    GroupCase{"categoryDict", &AppDelegate::appDefaultCategoryDict,
              {attr("xTitleAttr", 14.0, kBlack), dec("verticalGap", "4"), dec("horizontalGap", "0")}},
    GroupCase{"yAxis", &AppDelegate::appDefaultYAxis,
              {col("lineColor", kBlack), dec("axisWidth", "1"), dec("tickLength", "6"), dec("tickWidth", "1"),
               flag("scaleVisible", true), dec("scaleGap", "4"), attr("scaleTextAttr", 14.0, kBlack),
               flag("titleVisible", false), dec("titleGap", "4"), txt("titleText", ""),
               attr("titleTextAttr", 18.0, kBlack), dec("titleRotation", "90")}},
    GroupCase{"bar", &AppDelegate::appDefaultBar,
              {num("barType", 1), dec("lineWidth", "4"), dec("barLength", "0.8"), col("barColor", kBlack)}},
    GroupCase{"box", &AppDelegate::appDefaultBox,
              {dec("boxWidth", "0.5"), dec("boxLineWidth", "1"), dec("medianLineWidth", "4"),
               col("medianLineColor", kBlack), dec("whiskerWidth", "1"), dec("minMaxLength", "8"),
               dec("minMaxWidth", "1")}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(BuiltInDefaults, SevenDotSeries)
{
    AppDelegate delegate;
    delegate.makeAppDefaults();
    ASSERT_EQ(delegate.appDefaultDots.size(), 7);
    for (int i = 0; i < 7; ++i) {
        const Color& c = kSeries[i % 3];
        expectGroup(delegate.appDefaultDots[i].toMap(),
                    {num("dotType", i), dec("betweenDots", "1"), dec("dotSize", "6"), col("fillColor", c),
                     col("lineColor", kBlack), dec("lineWidth", "1"), txt("fontKey", kGlyph), attr("dotAttr", 12.0, c)},
                    "dots " + std::to_string(i));
    }
}

TEST(BuiltInDefaults, ThreeBoxSeries)
{
    AppDelegate delegate;
    delegate.makeAppDefaults();
    ASSERT_EQ(delegate.appDefaultBoxes.size(), 3);
    for (int i = 0; i < 3; ++i) {
        const Color& c = kSeries[i];
        expectGroup(delegate.appDefaultBoxes[i].toMap(),
                    {col("boxFillColor", c), col("boxLineColor", kBlack), col("minMaxLineColor", kBlack),
                     num("dotType", 0), dec("dotSize", "6"), col("dotFillColor", c), col("dotLineColor", kBlack),
                     dec("dotLineWidth", "1"), txt("fontKey", kGlyph), attr("dotAttr", 12.0, c)},
                    "boxes " + std::to_string(i));
    }
}

TEST(BuiltInDefaults, StatsOptions)
{
    AppDelegate delegate;
    delegate.makeAppDefaults();
    const QVariantMap expected{{"unbiased", true}, {"stats", false}, {"showSingle", false},
                               {"singleUnbiased", true}, {"singleStats", false}, {"showAll", false},
                               {"allUnbiased", true}, {"allStats", false}};
    EXPECT_EQ(delegate.appDefaultStats, expected);
    for (const QVariant& v : delegate.appDefaultStats)
        EXPECT_EQ(v.typeId(), QMetaType::Bool);
}

// The outline tells colour rows by "olor" and attribute rows by "ttr": every key of those
// encodings, and only those, carries the suffix.
TEST(BuiltInDefaults, KeySuffixesMatchEncodings)
{
    AppDelegate delegate;
    delegate.makeAppDefaults();
    QList<QVariantMap> groups{delegate.appDefaultColumnSettings, delegate.appDefaultTableRowSettings,
                              delegate.appDefaultBackground, delegate.appDefaultGraphRect,
                              delegate.appDefaultXAxis, delegate.appDefaultCategoryDict,
                              delegate.appDefaultYAxis, delegate.appDefaultBar, delegate.appDefaultBox};
    for (const QVariant& series : delegate.appDefaultDots + delegate.appDefaultBoxes)
        groups.append(series.toMap());
    int colours = 0, attributes = 0;
    for (const QVariantMap& group : groups) {
        for (auto it = group.cbegin(); it != group.cend(); ++it) {
            const bool isData = it.value().typeId() == QMetaType::QByteArray;
            const bool isColour = isData && KeyedArchive::unarchiveColor(it.value().toByteArray()).has_value();
            const bool isAttr = isData && !isColour;
            EXPECT_EQ(it.key().endsWith("olor"), isColour) << it.key().toStdString();
            EXPECT_EQ(it.key().endsWith("ttr"), isAttr) << it.key().toStdString();
            colours += isColour;
            attributes += isAttr;
        }
    }
    EXPECT_EQ(colours, 1 + 2 + 1 + 1 + 1 + 1 + 7 * 2 + 3 * 5);
    EXPECT_EQ(attributes, 2 + 1 + 2 + 7 + 3);
}

} // namespace
