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
    table.insert(describe(builtInSettings(false)));
    setDescription(table, "categoryDicts\t\tcategoryTitle", {{"indexes", QVariantList{qint64(0), qint64(0), qint64(-1)}}});
    setDescription(table, "graphProperties\tgraphRect\tlineWidth", {{"type2", "num"}, {"minVal", "0"}});
    setDescription(table, "graphProperties\txAxis\taxisWidth", {{"type2", "num"}, {"minVal", "1"}});
    setDescription(table, "valueSettings\tpartition", {{"minVal", "1"}, {"maxVal", "10"}});
    setDescription(table, "dotsProperties\t\tdotType", {{"minVal", "0"}, {"maxVal", "6"}});
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
    MyConfigItem* bg = row({"graphProperties", "background"});
    MyConfigItem* entry = category(0)->childTitle("represents")->configChildAt(0);
    const struct { MyConfigItem* row; int column; bool editable; const char* what; } cases[] = {
        {row({"graphTitle"}), 0, false, "title column"},
        {row({"graphTitle"}), 1, true, "string"},
        {row({"graphProperties", "xAxis", "lineColor"}), 1, false, "data"},
        {row({"graphProperties"}), 1, false, "dict"},
        {bg->childTitle("viewWidth"), 1, false, "width follows the page"},
        {entry->childTitle("origName"), 1, false, "origName"},
        {category(0)->childTitle("categoryTitle"), 1, false, "categoryTitle of an element"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(root->allowEditOutlineItem(c.row, c.column), c.editable) << c.what;

    bg->childTitle("followPageLayout")->message = "NO";
    EXPECT_TRUE(root->allowEditOutlineItem(bg->childTitle("viewWidth"), 1));

}

// ---- display texts

TEST_F(SettingsRows, ValueColumnTexts)
{
    auto cell = [](const MyConfigItem* r) { return MyOutlineTexts::objectOfConfigOutlineView(r, 1); };
    EXPECT_EQ(cell(row({"graphProperties", "background", "color"})).toString(), "White Color");
    EXPECT_EQ(cell(row({"graphProperties", "graphRect", "fillColor"})).toString(), "Color");   // white, opacity 0
    EXPECT_EQ(cell(row({"graphProperties", "graphRect", "lineColor"})).toString(), "Black Color");
    MyConfigItem* barColor = row({"graphProperties", "bars", "barColor"});
    const std::pair<Color, const char*> colors[] = {
        {Color::rgb(0, 0, 1), "Blue Color"}, {Color::rgb(1, 0, 0, 0.5), "Color"}};
    for (const auto& [color, name] : colors) {
        ASSERT_TRUE(barColor->setObject(KeyedArchive::archiveColor(color)));
        EXPECT_EQ(cell(barColor).toString(), name);
    }
    ASSERT_TRUE(barColor->setObject(QByteArray("junk")));
    EXPECT_FALSE(cell(barColor).isValid());

    MyConfigItem* attr = row({"graphProperties", "yAxis", "titleTextAttr"});
    const std::optional<TextAttributes> stored = KeyedArchive::unarchiveAttributes(attr->object().toByteArray());
    ASSERT_TRUE(stored.has_value());
    EXPECT_EQ(cell(attr).value<AttributedText>(), (AttributedText{"Use Font Panel", *stored}));
    attr->message = "garbage";
    EXPECT_EQ(cell(attr).value<AttributedText>(), (AttributedText{"Use Font Panel", {}}));
}

TEST_F(SettingsRows, TitleColumnTexts)
{
    const QVariantMap strings{
        {"graphTitle", QVariantMap{{"titleRepresent", "Title of the graph"}}},
        {"dotsProperties\t", QVariantMap{{"titleRepresent", "Series "}}},
        {"categoryDicts\t", QVariantMap{{"titleRepresent", ""}}},
        {"valueSettings\tscaleStrings\t", QVariantMap{{"titleRepresent", ""}}},
    };
    auto cell = [&](const MyConfigItem* r) { return MyOutlineTexts::objectOfConfigOutlineView(r, 0, strings); };
    EXPECT_EQ(cell(row({"graphTitle"})).toString(), "Title of the graph");
    EXPECT_EQ(cell(row({"valueSettings"})).toString(), "valueSettings");   // not described: its key
    EXPECT_EQ(cell(root->childTitle("dotsProperties")->configChildAt(2)).toString(), "Series 2");
    EXPECT_EQ(cell(category(0)).toString(), "by columns");
    EXPECT_EQ(cell(category(1)).toString(), "by \"Sex\"");
    EXPECT_EQ(cell(row({"valueSettings", "scaleStrings"})->configChildAt(3)), QVariant::fromValue<qint64>(3));
    MyConfigItem* represent = category(1)->childTitle("represents")->configChildAt(1);
    EXPECT_EQ(cell(represent).toString(), "F");
}

// ---- typed values

// The value typed text stands for; invalid when refused or equal to the row's text.
TEST(TypedValue, ObjectWithString)
{
    Descriptions d(QVariantMap{});
    const std::nullopt_t none = std::nullopt;
    const struct {
        const char* name;
        const char* type;
        const char* message;
        const char* type2;
        std::optional<double> minVal, maxVal;
        const char* parent;
        const char* text;
        QVariant expected;
    } cases[] = {
        {"SameText", "string", "abc", "", none, none, "p", "abc", QVariant()},
        {"BoolBlank", "Bool", "NO", "", none, none, "p", "yes ", QVariant()},
        {"IntAboveMax", "integer", "3", "", 0.0, 6.0, "p", "7", QVariant()},
        {"IntBoundsTruncate", "integer", "1", "", 0.9, 6.7, "p", "0", QVariant::fromValue<qint64>(0)},
        {"NumAtMin", "string", "1", "num", 0.0, none, "p", "0", QVariant()},
        {"NumLeading", "string", "1", "num", 0.0, none, "p", "12abc", QVariant("12abc")},
        {"NumOverflow", "string", "1", "num", none, none, "p", "1e999", QVariant()},
        {"ScaleEmpty", "string", "1", "num", 0.0, none, "scaleStrings", "", QVariant("")},
        {"FreeAny", "string", "x", "", 0.0, 1.0, "p", "-5 anything", QVariant("-5 anything")},
    };
    for (const auto& c : cases) {
        MyConfigRootItem root(nullptr);
        auto* parent = root.append(std::make_unique<MyConfigItem>(c.parent, "", "array", &root, 0));
        auto* row = parent->append(std::make_unique<MyConfigItem>("", c.message, c.type, parent, 0));
        row->type2 = c.type2;
        row->minVal = c.minVal;
        row->maxVal = c.maxVal;
        const QVariant got = MyOutlineTexts::objectWithString(c.text, row);
        EXPECT_EQ(got.typeId(), c.expected.typeId()) << c.name;
        EXPECT_EQ(got, c.expected) << c.name;
    }
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
    EXPECT_FALSE(MySettingsClipboard::read().has_value());

    // The keys of a setting inside a category hold an empty key for the element.
    root->copyOutlineItem(category(1)->childTitle("xTitleAttr"));
    EXPECT_EQ(QGuiApplication::clipboard()->mimeData()->formats(), QStringList{"application/x-scatterProperties"});
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
    EXPECT_EQ(scripted.dialogs.alerts.size(), 1);
}

// Records of rows copied from this tree or a boxplot's ("@box" first), checked against a row
// of this tree; an empty message: accepted, and the value goes in.
TEST_F(SettingsRows, PasteChecks)
{
    const std::unique_ptr<MyConfigRootItem> box = treeOf(builtInSettings(false));
    const struct {
        const char* name;
        QStringList from;
        QStringList to;
        QString message;
    } cases[] = {
        {"SameDictOtherGraph", {"@box", "graphProperties", "graphRect"}, {"graphProperties", "graphRect"}, ""},
        {"Unchangeable", {"valueSettings", "min"}, {"graphTitle"}, kUnchangeable},
        {"OtherType", {"valueSettings", "partition"}, {"valueSettings", "min"}, kDifferentType},
        {"StringAtExcludedBound", {"graphProperties", "graphRect", "lineWidth"}, {"graphProperties", "xAxis", "axisWidth"},
         kNotApplicable},
        {"BoxplotRootOntoScatterRoot", {"@box"}, {}, kNotApplicable},
    };
    for (const auto& c : cases) {
        QStringList keys = c.from;
        const bool fromBox = keys.value(0) == "@box";
        if (fromBox)
            keys.removeFirst();
        MyConfigItem* from = (fromBox ? box.get() : root.get())->outlineItemWithKeys(keys);
        MyConfigItem* to = row(c.to);
        const auto verdict = MySettingsClipboard::check(MySettingsClipboard::recordOf(from), to);
        EXPECT_EQ(verdict.message, c.message) << c.name;
        ASSERT_EQ(verdict.accepted(), c.message.isEmpty()) << c.name;
        if (verdict.accepted()) {
            EXPECT_TRUE(to->setObject(verdict.value));
            EXPECT_EQ(to->object(), from->object());
        }
    }
}

// Records another program could put on the clipboard: right keys and types, wrong content.
TEST_F(SettingsRows, ForeignRecordsAreCheckedThroughout)
{
    MyConfigItem* rect = row({"graphProperties", "graphRect"});
    const QVariantMap record = MySettingsClipboard::recordOf(rect);
    const std::pair<const char*, QVariant> changes[] = {
        {"lineWidth", "-0.5"},   // below the row's limit
        {"height", QVariant()},  // a key missing
    };
    for (const auto& [key, v] : changes) {
        QVariantMap val = record.value("val").toMap();
        if (v.isValid())
            val.insert(key, v);
        else
            val.remove(key);
        QVariantMap changed = record;
        changed.insert("val", val);
        EXPECT_EQ(MySettingsClipboard::check(changed, rect).message, kNotApplicable) << key;
    }

    // Longer lists are checked to the end, also by an emptied list against its own
    // descriptions.
    MyConfigItem* scale = row({"valueSettings", "scaleStrings"});
    QVariantMap scaleRecord = MySettingsClipboard::recordOf(scale);
    scaleRecord.insert("val", QVariantList{"1", "", "2", "3", "4", "5", "x"});
    EXPECT_EQ(MySettingsClipboard::check(scaleRecord, scale).message, kNotApplicable);
    ASSERT_TRUE(scale->setObject(QVariantList{}));
    EXPECT_EQ(MySettingsClipboard::check(scaleRecord, scale).message, kNotApplicable);

    // A number that no row can hold.
    auto* ratio = root->append(std::make_unique<MyConfigItem>("ratio", "0.5", "real", root.get(), 0));
    ratio->changeable = true;
    QVariantMap realRecord = MySettingsClipboard::recordOf(ratio);
    realRecord.insert("val", std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(MySettingsClipboard::check(realRecord, ratio).message, kNotApplicable);

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
