// The built-in defaults, key by key, with colours and text attributes decoded.
#include "AppTestSupport.h"
#include "platform/KeyedArchive.h"

namespace {

QString colorName(const Color& color)
{
    const std::pair<const char*, Color> named[] = {
        {"black", Color::gray(0.0)}, {"white", Color::gray(1.0)}, {"clear", Color::gray(1.0, 0.0)},
        {"red", Color::rgb(1, 0, 0)}, {"blue", Color::rgb(0, 0, 1)}, {"green", Color::rgb(0, 1, 0)}};
    for (const auto& [name, c] : named)
        if (c == color)
            return name;
    return "other";
}

// "key=value" in key order: texts as they stand, flags yes/no, integers #n, colours by name,
// text attributes as size and colour. The outline tells colour rows by "olor" and attribute
// rows by "ttr", so data under any other key is a fault ("?").
QString describe(const QVariantMap& group)
{
    QStringList parts;
    for (auto it = group.cbegin(); it != group.cend(); ++it) {
        const QVariant& v = it.value();
        const QByteArray data = v.typeId() == QMetaType::QByteArray ? v.toByteArray() : QByteArray();
        const std::optional<Color> color = KeyedArchive::unarchiveColor(data);
        const std::optional<TextAttributes> a = KeyedArchive::unarchiveAttributes(data);
        QString text = "?";
        if (v.typeId() == QMetaType::Bool)
            text = v.toBool() ? "yes" : "no";
        else if (v.typeId() == QMetaType::LongLong)
            text = "#" + v.toString();
        else if (v.typeId() == QMetaType::QString)
            text = v.toString();
        else if (color && it.key().endsWith("olor"))
            text = colorName(*color);
        else if (!color && a && a->font && a->color && it.key().endsWith("ttr")
                 && a->font->name == AppDelegate::systemFont(12).name)
            text = QString::number(a->font->size) + "pt " + colorName(*a->color);
        parts.append(it.key() + "=" + text);
    }
    return parts.join(' ');
}

// Every group the user can override, each key with its encoding and value.
TEST(BuiltInDefaults, EveryGroupMatchesItsTable)
{
    AppDelegate delegate;
    delegate.makeAppDefaults();
    const QMap<QString, QString> expected{
        {"columnSettings", "width=70"},
        {"tableRowSettings", "dataRowAttr=11pt black dataRowHeight=17.0 titleRowAttr=12pt black titleRowHeight=17.0"},
        {"background", "color=white followPageLayout=yes viewHeight=500 viewWidth=500"},
        {"graphRect", "columnWidth=75 fillColor=clear height=200 lineColor=black lineWidth=1"},
        {"xAxis", "axisWidth=1 lineColor=black tickLength=6 tickWidth=1"},
        {"categoryDict", "horizontalGap=0 verticalGap=4 xTitleAttr=14pt black"},
        {"yAxis", "axisWidth=1 lineColor=black scaleGap=4 scaleTextAttr=14pt black scaleVisible=yes tickLength=6 "
                  "tickWidth=1 titleGap=4 titleRotation=90 titleText= titleTextAttr=18pt black titleVisible=no"},
        {"bar", "barColor=black barLength=0.8 barType=#1 lineWidth=4"},
        {"box", "boxLineWidth=1 boxWidth=0.5 medianLineColor=black medianLineWidth=4 minMaxLength=8 minMaxWidth=1 "
                "whiskerWidth=1"},
        {"stats", "allStats=no allUnbiased=yes showAll=no showSingle=no singleStats=no singleUnbiased=yes stats=no "
                  "unbiased=yes"},
    };
    // Seven dot series and three box series, coloured red, blue, green in turn.
    const char* const series[] = {"red", "blue", "green"};
    const QString glyph(QChar(0x273A));
    QStringList dots, boxes;
    for (int i = 0; i < 7; ++i)
        dots << QString("betweenDots=1 dotAttr=12pt %1 dotSize=6 dotType=#%2 fillColor=%1 fontKey=%3 lineColor=black "
                        "lineWidth=1")
                    .arg(series[i % 3]).arg(i).arg(glyph);
    for (int i = 0; i < 3; ++i)
        boxes << QString("boxFillColor=%1 boxLineColor=black dotAttr=12pt %1 dotFillColor=%1 dotLineColor=black "
                         "dotLineWidth=1 dotSize=6 dotType=#0 fontKey=%2 minMaxLineColor=black")
                     .arg(series[i]).arg(glyph);

    const QVariantMap all = defaultGroups(delegate, true);
    EXPECT_EQ(all.size(), expected.size() + 2);
    for (auto it = all.cbegin(); it != all.cend(); ++it) {
        SCOPED_TRACE(it.key().toStdString());
        if (it.key() == "dots" || it.key() == "boxes") {
            QStringList got;
            for (const QVariant& one : it.value().toList())
                got << describe(one.toMap());
            EXPECT_EQ(got, it.key() == "dots" ? dots : boxes);
        } else {
            ASSERT_TRUE(expected.contains(it.key()));
            EXPECT_EQ(describe(it.value().toMap()).toStdString(), expected.value(it.key()).toStdString());
        }
    }
}

} // namespace
