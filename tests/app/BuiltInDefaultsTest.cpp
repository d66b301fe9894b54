// The built-in defaults, key by key, with colours and text attributes decoded.
#include "AppTestSupport.h"
#include "platform/KeyedArchive.h"

#include <gtest/gtest.h>

namespace {

// A plain value (text, flag or integer), else a colour, or text attributes when fontSize is set.
struct Entry {
    QString key;
    QVariant value;
    Color color;
    double fontSize = 0;
};

Entry str(const char* key, const QString& value) { return {key, value, {}, 0}; }
Entry flag(const char* key, bool value) { return {key, value, {}, 0}; }
Entry num(const char* key, qint64 value) { return {key, value, {}, 0}; }
Entry col(const char* key, const Color& color) { return {key, {}, color, 0}; }
Entry attr(const char* key, double size, const Color& color) { return {key, {}, color, size}; }

void expectGroup(const QVariantMap& group, const std::vector<Entry>& entries)
{
    QStringList keys;
    for (const Entry& e : entries)
        keys.append(e.key);
    keys.sort();
    EXPECT_EQ(group.keys(), keys);
    for (const Entry& e : entries) {
        SCOPED_TRACE(e.key.toStdString());
        const QVariant v = group.value(e.key);
        const bool isData = v.typeId() == QMetaType::QByteArray;
        const std::optional<Color> color = isData ? KeyedArchive::unarchiveColor(v.toByteArray()) : std::nullopt;
        // The outline tells colour rows by "olor" and attribute rows by "ttr".
        EXPECT_EQ(e.key.endsWith("olor"), color.has_value());
        EXPECT_EQ(e.key.endsWith("ttr"), isData && !color);
        if (e.value.isValid()) {
            EXPECT_EQ(v.typeId(), e.value.typeId());
            EXPECT_EQ(v.toString().toStdString(), e.value.toString().toStdString());
        } else if (e.fontSize == 0) {
            ASSERT_TRUE(color.has_value());
            EXPECT_TRUE(*color == e.color);
        } else {
            const std::optional<TextAttributes> a = KeyedArchive::unarchiveAttributes(v.toByteArray());
            ASSERT_TRUE(a && a->font && a->color);
            EXPECT_EQ(a->font->size, e.fontSize);
            EXPECT_EQ(a->font->name, AppDelegate::systemFont(e.fontSize).name);
            EXPECT_TRUE(*a->color == e.color);
        }
    }
}

TEST(BuiltInDefaults, EveryGroupMatchesItsTable)
{
    const Color black = Color::gray(0.0, 1.0), white = Color::gray(1.0, 1.0), clearWhite = Color::gray(1.0, 0.0);
    const Color series[3] = {Color::rgb(1, 0, 0), Color::rgb(0, 0, 1), Color::rgb(0, 1, 0)};
    const QString glyph(QChar(0x273A));

    AppDelegate delegate;
    delegate.makeAppDefaults();
    const QVariantMap all = defaultGroups(delegate, true);
    auto group = [&all](const char* key) { return all.value(key).toMap(); };
    struct Group {
        std::string name;
        QVariantMap actual;
        std::vector<Entry> entries;
    };
    std::vector<Group> groups{
        {"columnSettings", group("columnSettings"), {str("width", "70")}},
        {"tableRowSettings", group("tableRowSettings"),
         {attr("titleRowAttr", 12.0, black), attr("dataRowAttr", 11.0, black), str("titleRowHeight", "17.0"),
          str("dataRowHeight", "17.0")}},
        {"background", group("background"),
         {col("color", white), flag("followPageLayout", true), str("viewWidth", "500"), str("viewHeight", "500")}},
        {"graphRect", group("graphRect"),
         {str("height", "200"), str("columnWidth", "75"), col("fillColor", clearWhite), col("lineColor", black),
          str("lineWidth", "1")}},
        {"xAxis", group("xAxis"),
         {col("lineColor", black), str("axisWidth", "1"), str("tickLength", "6"), str("tickWidth", "1")}},
        {"categoryDict", group("categoryDict"),
         {attr("xTitleAttr", 14.0, black), str("verticalGap", "4"), str("horizontalGap", "0")}},
        {"yAxis", group("yAxis"),
         {col("lineColor", black), str("axisWidth", "1"), str("tickLength", "6"), str("tickWidth", "1"),
          flag("scaleVisible", true), str("scaleGap", "4"), attr("scaleTextAttr", 14.0, black),
          flag("titleVisible", false), str("titleGap", "4"), str("titleText", ""),
          attr("titleTextAttr", 18.0, black), str("titleRotation", "90")}},
        {"bar", group("bar"), {num("barType", 1), str("lineWidth", "4"), str("barLength", "0.8"), col("barColor", black)}},
        {"box", group("box"),
         {str("boxWidth", "0.5"), str("boxLineWidth", "1"), str("medianLineWidth", "4"), col("medianLineColor", black),
          str("whiskerWidth", "1"), str("minMaxLength", "8"), str("minMaxWidth", "1")}},
        {"stats", group("stats"),
         {flag("unbiased", true), flag("stats", false), flag("showSingle", false), flag("singleUnbiased", true),
          flag("singleStats", false), flag("showAll", false), flag("allUnbiased", true), flag("allStats", false)}},
    };
    ASSERT_EQ(delegate.appDefaultDots.size(), 7);
    for (int i = 0; i < 7; ++i) {
        const Color& c = series[i % 3];
        groups.push_back({"dots " + std::to_string(i), delegate.appDefaultDots[i].toMap(),
                          {num("dotType", i), str("betweenDots", "1"), str("dotSize", "6"), col("fillColor", c),
                           col("lineColor", black), str("lineWidth", "1"), str("fontKey", glyph), attr("dotAttr", 12.0, c)}});
    }
    ASSERT_EQ(delegate.appDefaultBoxes.size(), 3);
    for (int i = 0; i < 3; ++i) {
        groups.push_back({"boxes " + std::to_string(i), delegate.appDefaultBoxes[i].toMap(),
                          {col("boxFillColor", series[i]), col("boxLineColor", black), col("minMaxLineColor", black),
                           num("dotType", 0), str("dotSize", "6"), col("dotFillColor", series[i]),
                           col("dotLineColor", black), str("dotLineWidth", "1"), str("fontKey", glyph),
                           attr("dotAttr", 12.0, series[i])}});
    }
    for (const Group& g : groups) {
        SCOPED_TRACE(g.name);
        expectGroup(g.actual, g.entries);
    }
}

} // namespace
