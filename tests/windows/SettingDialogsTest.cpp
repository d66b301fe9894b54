// The column-width and row-height dialogs: which texts their accepting buttons take.
#include "windows/MySettingController.h"
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

struct WidthCase {
    const char* text;
    bool accepted;
};

void PrintTo(const WidthCase& c, std::ostream* os) { *os << "\"" << c.text << "\""; }

class ColumnWidthDialog : public ::testing::TestWithParam<WidthCase> {};

TEST_P(ColumnWidthDialog, AcceptsWidthsFrom30To200)
{
    MySettingController d;
    d.pushScript([&](MySettingController& c) {
        c.tfColumnWidth->setText(QString::fromUtf8(GetParam().text));
        c.columnOkButton->click();
    });
    const auto result = d.runColumnWidthDialog("70", true);
    EXPECT_EQ(!result.width.isEmpty(), GetParam().accepted);
    if (GetParam().accepted)
        EXPECT_EQ(result.width, QString::fromUtf8(GetParam().text));   // returned as typed
}

INSTANTIATE_TEST_SUITE_P(Texts, ColumnWidthDialog,
                         ::testing::Values(WidthCase{"30", true}, WidthCase{"200", true}, WidthCase{" 85.5", true},
                                           WidthCase{"50 wide", true}, WidthCase{"29.99", false},
                                           WidthCase{"200.01", false}, WidthCase{"", false}, WidthCase{"wide", false},
                                           WidthCase{"-70", false}, WidthCase{"1e2", true}));

TEST(ColumnWidthDialogRun, StaysOpenUntilAnAcceptableWidthOrCancel)
{
    MySettingController d;
    d.pushScript([](MySettingController& c) {
        c.tfColumnWidth->setText("10");
        c.columnOkButton->click();        // refused: still running
        c.tfColumnWidth->setText("120");
        c.columnOkButton->click();
    });
    auto result = d.runColumnWidthDialog("70", true);
    EXPECT_EQ(result.width, "120");
    EXPECT_EQ(result.allColumns, 0);

    d.pushScript([](MySettingController& c) {
        c.tfColumnWidth->setText("120");
        c.columnCancelButton->click();
    });
    result = d.runColumnWidthDialog("70", true);
    EXPECT_TRUE(result.width.isEmpty());
    EXPECT_EQ(result.allColumns, 0);
}

TEST(ColumnWidthDialogRun, TheAllColumnsBoxFollowsTheChoiceFlag)
{
    MySettingController d;
    bool enabled = true, checked = true;
    d.pushScript([&](MySettingController& c) {
        enabled = c.buAllColumns->isEnabled();
        checked = c.buAllColumns->isChecked();
        c.columnOkButton->click();
    });
    auto result = d.runColumnWidthDialog("70", false);
    EXPECT_FALSE(enabled);
    EXPECT_TRUE(checked);
    EXPECT_EQ(result.allColumns, 1);
    EXPECT_EQ(d.windowTitle(), "Column Width");

    d.pushScript([&](MySettingController& c) {
        enabled = c.buAllColumns->isEnabled();
        checked = c.buAllColumns->isChecked();
        c.columnOkButton->click();
    });
    result = d.runColumnWidthDialog("70", true);
    EXPECT_TRUE(enabled);
    EXPECT_FALSE(checked);
    EXPECT_EQ(result.allColumns, 0);
}

// The nested event loop itself: the dialog runs modally and a button ends it.
TEST(ColumnWidthDialogRun, RunsAModalLoop)
{
    MySettingController d;
    QTimer::singleShot(0, &d, [&d] {
        d.tfColumnWidth->setText("abc");
        d.columnOkButton->click();
        QTimer::singleShot(0, &d, [&d] {
            d.tfColumnWidth->setText("99");
            d.columnOkButton->click();
        });
    });
    const auto result = d.runColumnWidthDialog("70", true);
    EXPECT_EQ(result.width, "99");
    EXPECT_FALSE(d.isVisible());

    QTimer::singleShot(0, &d, [&d] { d.reject(); });   // Escape or the close box
    EXPECT_TRUE(d.runRowHeightDialog("17", "17").titleHeight.isEmpty());
}

struct HeightCase {
    const char* title;
    bool titleFit;
    const char* data;
    bool dataFit;
    bool accepted;
};

void PrintTo(const HeightCase& c, std::ostream* os)
{
    *os << "\"" << c.title << "\"" << (c.titleFit ? " fit" : "") << " \"" << c.data << "\"" << (c.dataFit ? " fit" : "");
}

class RowHeightDialog : public ::testing::TestWithParam<HeightCase> {};

TEST_P(RowHeightDialog, AcceptsHeightsFrom10To100UnlessSizedToFit)
{
    const HeightCase c = GetParam();
    MySettingController d;
    bool startedOff = false;
    d.pushScript([&](MySettingController& s) {
        startedOff = !s.buTitleSizeToFit->isChecked() && !s.buDataSizeToFit->isChecked();
        s.tfTitleHeight->setText(QString::fromUtf8(c.title));
        s.buTitleSizeToFit->setChecked(c.titleFit);
        s.tfDataHeight->setText(QString::fromUtf8(c.data));
        s.buDataSizeToFit->setChecked(c.dataFit);
        s.rowOkButton->click();
    });
    const auto r = d.runRowHeightDialog("17.0", "17.0");
    EXPECT_TRUE(startedOff);
    if (c.accepted) {
        EXPECT_EQ(r.titleHeight, QString::fromUtf8(c.title));
        EXPECT_EQ(r.titleSizeToFit, c.titleFit ? 1 : 0);
        EXPECT_EQ(r.dataHeight, QString::fromUtf8(c.data));
        EXPECT_EQ(r.dataSizeToFit, c.dataFit ? 1 : 0);
    } else {
        EXPECT_TRUE(r.titleHeight.isEmpty() && r.dataHeight.isEmpty());
        EXPECT_EQ(r.titleSizeToFit + r.dataSizeToFit, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Texts, RowHeightDialog,
                         ::testing::Values(HeightCase{"10", false, "100", false, true},
                                           HeightCase{"9.5", false, "20", false, false},
                                           HeightCase{"9.5", true, "20", false, true},
                                           HeightCase{"20", false, "100.5", false, false},
                                           HeightCase{"20", false, "x", true, true},
                                           HeightCase{"", true, "", true, true},
                                           HeightCase{"", false, "20", false, false}));

TEST(RowHeightDialogRun, BothBoxesStartOffEachTime)
{
    MySettingController d;
    d.pushScript([](MySettingController& s) {
        s.buTitleSizeToFit->setChecked(true);
        s.buDataSizeToFit->setChecked(true);
        s.rowOkButton->click();
    });
    d.runRowHeightDialog("17", "17");
    bool off = false;
    d.pushScript([&](MySettingController& s) {
        off = !s.buTitleSizeToFit->isChecked() && !s.buDataSizeToFit->isChecked();
        s.rowCancelButton->click();
    });
    const auto r = d.runRowHeightDialog("17", "17");
    EXPECT_TRUE(off);
    EXPECT_EQ(d.windowTitle(), "Row Height");
    EXPECT_TRUE(r.titleHeight.isEmpty());
}
