#include "OutlineFixtures.h"
#include "outline/MyOutlineTexts.h"
#include "outline/MySettingsClipboard.h"
#include "platform/Dialogs.h"
#include "platform/KeyedArchive.h"
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <gtest/gtest.h>

using namespace fixtures;

namespace {

// The paste refusals as the user reads them.
const QString kUnchangeable = "You cannnot paste them to an unchangeable row.";
const QString kDifferentType = "The type of copied data is different from that of the current row.";
const QString kDifferentLocation = "You cannnot paste multiple items of settings to a different location.";
const QString kNotApplicable = "This value is not applicapable for this row.";

// Descriptions of both graph types' settings, with value classes and limits on a few rows.
QVariantMap describedSettings()
{
    QVariantMap table = describe(builtInSettings(true));
    setDescription(table, "graphProperties\tgraphRect\tlineWidth", {{"type2", "num"}, {"minVal", "0"}});
    setDescription(table, "graphProperties\txAxis\taxisWidth", {{"type2", "num"}, {"minVal", "1"}});
    setDescription(table, "valueSettings\tpartition", {{"minVal", "1"}, {"maxVal", "10"}});
    setDescription(table, "valueSettings\tscaleStrings\t", {{"type2", "num"}});
    setDescription(table, "graphTitle", {{"changeable", false}});
    return table;
}

// A scatter settings tree; keys name rows from the root, "" the first element of an array.
class SettingsRows : public ::testing::Test {
protected:
    MyConfigItem* row(const QStringList& keys) const { return root->outlineItemWithKeys(keys); }
    MyConfigItem* category(int i) const { return root->childTitle("categoryDicts")->configChildAt(i); }

    Descriptions descriptions{describedSettings()};
    std::unique_ptr<MyConfigRootItem> root = treeOf(builtInSettings(true));
};

} // namespace

// ---- edit permission

TEST_F(SettingsRows, EditPermission)
{
    auto editable = [&](const QStringList& keys, int column = 1) { return root->allowEditOutlineItem(row(keys), column); };
    EXPECT_FALSE(editable({"graphTitle"}, 0));
    EXPECT_TRUE(editable({"graphTitle"}));
    EXPECT_FALSE(editable({"graphProperties", "xAxis", "lineColor"}));   // data
    EXPECT_FALSE(editable({"categoryDicts", "", "represents", "", "origName"}));
    EXPECT_FALSE(editable({"graphProperties", "background", "viewWidth"}));   // follows the page
    row({"graphProperties", "background", "followPageLayout"})->message = "NO";
    EXPECT_TRUE(editable({"graphProperties", "background", "viewWidth"}));
}

// ---- cell texts of data rows

// Colours by the platform's names, compared exactly (alpha and colour space count); text
// attributes as a sample in their own font and colour. Data that does not decode shows
// nothing, or a sample without attributes.
TEST_F(SettingsRows, DataCellTexts)
{
    auto shown = [](const MyConfigItem* r) { return MyOutlineTexts::objectOfConfigOutlineView(r, 1); };
    MyConfigItem* color = row({"graphProperties", "background", "color"});
    const struct { Color color; const char* text; } colors[] = {
        {Color::gray(1), "White Color"}, {Color::gray(0), "Black Color"}, {Color::rgb(1, 0, 0), "Red Color"}, {Color::rgb(0, 1, 0), "Green Color"},
        {Color::rgb(0, 0, 1), "Blue Color"}, {Color::gray(1, 0), "Color"}, {Color::rgb(1, 1, 1), "Color"}, {Color::gray(0.5), "Color"}};
    for (const auto& c : colors) {
        ASSERT_TRUE(color->setObject(KeyedArchive::archiveColor(c.color)));
        EXPECT_EQ(shown(color), QVariant(c.text)) << c.text;
    }
    EXPECT_EQ(shown(row({"graphProperties", "graphRect", "fillColor"})), QVariant("Color"));   // clear white
    color->message = "not a property list";
    EXPECT_FALSE(shown(color).isValid());

    MyConfigItem* attr = row({"graphProperties", "yAxis", "scaleTextAttr"});
    const TextAttributes blueBold{FontSpec{"DejaVu Sans-Bold", 17, 16}, Color::rgb(0, 0, 1)};
    ASSERT_TRUE(attr->setObject(KeyedArchive::archiveAttributes(blueBold)));
    EXPECT_EQ(shown(attr).value<AttributedText>(), (AttributedText{"Use Font Panel", blueBold}));
    attr->message = "not a property list";
    EXPECT_EQ(shown(attr).value<AttributedText>(), (AttributedText{"Use Font Panel", {}}));
    // Dictionaries and lists show no value.
    EXPECT_EQ(shown(row({"graphProperties"})), QVariant(QString()));
}

// ---- typed values

// The value typed text stands for; invalid when refused or equal to the row's text.
TEST_F(SettingsRows, TypedValues)
{
    auto typed = [&](const QString& text, const QStringList& keys) { return MyOutlineTexts::objectWithString(text, row(keys)); };
    const QStringList partition{"valueSettings", "partition"};   // integer from 1 to 10
    const QStringList lineWidth{"graphProperties", "graphRect", "lineWidth"};   // number above 0
    EXPECT_EQ(typed("10", partition), QVariant::fromValue<qint64>(10));
    EXPECT_FALSE(typed("11", partition).isValid());
    EXPECT_FALSE(typed("4", partition).isValid());   // the row's own text
    EXPECT_EQ(typed("12abc", lineWidth), QVariant("12abc"));
    EXPECT_FALSE(typed("0", lineWidth).isValid());
    EXPECT_FALSE(typed("1e999", lineWidth).isValid());
    EXPECT_EQ(typed("", {"valueSettings", "scaleStrings", ""}), QVariant(""));
    EXPECT_FALSE(typed("", lineWidth).isValid());
}

// ---- clipboard record

// Copy, read back and paste through the clipboard, as the paste command does: a refusal is
// shown, an accepted value goes in.
TEST_F(SettingsRows, CopyAndPasteThroughTheClipboard)
{
    // A row outside copy and paste leaves the clipboard alone.
    QGuiApplication::clipboard()->setText("kept");
    root->copyOutlineItem(row({"graphTitle"}));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "kept");

    // The keys of a setting inside a category hold an empty key for the element.
    root->copyOutlineItem(category(1)->childTitle("xTitleAttr"));
    EXPECT_EQ(MySettingsClipboard::read()->value("keys").toStringList(), (QStringList{"categoryDicts", "", "xTitleAttr"}));

    ScopedScriptedDialogs scripted;
    Alert alert;
    root->copyOutlineItem(row({"graphProperties", "graphRect"}));
    const MyConfigItem* background = row({"graphProperties", "background"});
    EXPECT_FALSE(MySettingsClipboard::checkShowingRefusal(*MySettingsClipboard::read(), background, alert));
    EXPECT_EQ(scripted.dialogs.alerts, QStringList{kDifferentLocation});

    // A whole category onto another one is accepted; its represents are matched to the
    // target's by the analyses, so the value is not written here.
    root->copyOutlineItem(category(1));
    EXPECT_EQ(MySettingsClipboard::checkShowingRefusal(*MySettingsClipboard::read(), category(0), alert),
              std::optional<QVariant>(category(1)->object()));
}

// Refusals of records copied from the tree, as the user reads them.
TEST_F(SettingsRows, PasteRefusals)
{
    const struct { QStringList from; QStringList to; QString message; } cases[] = {
        {{"valueSettings", "min"}, {"graphTitle"}, kUnchangeable},
        {{"valueSettings", "partition"}, {"valueSettings", "min"}, kDifferentType},
        {{"graphProperties", "graphRect", "lineWidth"}, {"graphProperties", "xAxis", "axisWidth"}, kNotApplicable},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MySettingsClipboard::check(MySettingsClipboard::recordOf(row(c.from)), row(c.to)).message, c.message);
}

// Records another program could put on the clipboard: right keys and types, wrong content.
// A record of the row's own keys passes the record's checks as it stands, and is refused
// when the value it would write is checked against the rows (for these rows, which the
// graph does not fit to itself, the value itself).
TEST_F(SettingsRows, ForeignRecordsAreCheckedThroughout)
{
    auto refusal = [](const QVariantMap& r, MyConfigItem* target) {
        ScopedScriptedDialogs scripted;
        Alert alert;
        if (const std::optional<QVariant> value = MySettingsClipboard::checkShowingRefusal(r, target, alert))
            MySettingsClipboard::fittedShowingRefusal(*value, target, alert);
        return scripted.dialogs.alerts.value(0);
    };
    MyConfigItem* rect = row({"graphProperties", "graphRect"});
    const QVariantMap record = MySettingsClipboard::recordOf(rect);
    auto withVal = [](QVariantMap r, const QVariant& val) { r.insert("val", val); return r; };
    QVariantMap belowLimit = record.value("val").toMap();
    belowLimit.insert("lineWidth", "-0.5");
    QVariantMap keyMissing = record.value("val").toMap();
    keyMissing.remove("height");
    for (const QVariantMap& val : {belowLimit, keyMissing}) {
        EXPECT_TRUE(MySettingsClipboard::check(withVal(record, val), rect).accepted());
        EXPECT_EQ(refusal(withVal(record, val), rect), kNotApplicable);
    }

    // Longer lists are checked to the end, also by an emptied list against its own
    // descriptions.
    MyConfigItem* scale = row({"valueSettings", "scaleStrings"});
    const QVariantMap scaleRecord = withVal(MySettingsClipboard::recordOf(scale), QVariantList{"1", "", "2", "3", "4", "5", "x"});
    EXPECT_EQ(refusal(scaleRecord, scale), kNotApplicable);
    ASSERT_TRUE(scale->setObject(QVariantList{}));
    EXPECT_EQ(refusal(scaleRecord, scale), kNotApplicable);

    // A number that no row can hold.
    auto* ratio = root->append(std::make_unique<MyConfigItem>("ratio", "0.5", "real", root.get(), 0));
    ratio->changeable = true;
    const QVariantMap realRecord = withVal(MySettingsClipboard::recordOf(ratio), std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(refusal(realRecord, ratio), kNotApplicable);

    // Unusable records end the paste without a message.
    QVariantMap broken = record;
    broken.insert("keys", QVariantList{qint64(1)});
    const auto verdict = MySettingsClipboard::check(broken, rect);
    EXPECT_FALSE(verdict.accepted());
    EXPECT_TRUE(verdict.message.isEmpty());

    // Ours on the clipboard, but not a dictionary.
    auto* mime = new QMimeData;
    mime->setData(MySettingsClipboard::mimeType, "<plist><string>x</string></plist>");
    QGuiApplication::clipboard()->setMimeData(mime);
    EXPECT_FALSE(MySettingsClipboard::read().has_value());
}
