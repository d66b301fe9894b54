// The column-width and row-height dialogs: which texts their accepting buttons take.
#include "windows/MySettingController.h"
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

// Widths from 30 to 200, read as far as the text is a number; returned as typed.
TEST(ColumnWidthDialog, AcceptsWidthsFrom30To200)
{
    const struct { const char* text; bool accepted; } cases[] = {
        {"30", true}, {"200", true}, {"50 wide", true}, {"29.99", false}, {"200.01", false}, {"wide", false}};
    MySettingController d;
    // The dialog says which widths OK takes.
    EXPECT_EQ(d.findChild<QLabel*>("columnWidthRange")->text(), "From 30 to 200 points.");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        QString selected;
        d.pushScript([&](MySettingController& s) {
            s.tfColumnWidth->setText(QString::fromUtf8(c.text));
            s.columnOkButton->click();
            selected = s.tfColumnWidth->selectedText();   // a refused width is selected to be retyped
        });
        const auto result = d.runColumnWidthDialog("70", true);
        EXPECT_EQ(result.width, c.accepted ? QString::fromUtf8(c.text) : QString());
        EXPECT_EQ(selected, c.accepted ? QString() : QString::fromUtf8(c.text));
    }
}

// The nested event loop itself: the dialog runs modally and a button ends it.
TEST(ColumnWidthDialog, RunsAModalLoop)
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
    EXPECT_EQ(result.width, "99");   // the refused width kept the dialog open
    EXPECT_EQ(d.windowTitle(), "Column Width");
    EXPECT_FALSE(d.isVisible());

    QTimer::singleShot(0, &d, [&d] { d.reject(); });   // Escape or the close box
    EXPECT_TRUE(d.runRowHeightDialog("17", "17").titleHeight.isEmpty());
}

// Heights from 10 to 100, unless that row is sized to fit; all or nothing is returned. Both
// boxes start off on every run, whatever the last run left ticked.
TEST(RowHeightDialog, AcceptsHeightsFrom10To100UnlessSizedToFit)
{
    const struct { const char* title; bool titleFit; const char* data; bool dataFit, accepted; } cases[] = {{"10", false, "100", false, true}, {"9.5", true, "20", false, true},
                 {"9.5", false, "20", false, false}, {"20", false, "100.5", false, false}, {"", true, "", true, true}};
    MySettingController d;
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.title) + (c.titleFit ? " fit / " : " / ") + c.data + (c.dataFit ? " fit" : ""));
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
        EXPECT_EQ(d.windowTitle(), "Row Height");
        EXPECT_EQ(QStringList({r.titleHeight, r.dataHeight}),
                  c.accepted ? QStringList({QString::fromUtf8(c.title), QString::fromUtf8(c.data)}) : QStringList(2, QString()));
        EXPECT_EQ(QList<int>({r.titleSizeToFit, r.dataSizeToFit}), QList<int>({c.accepted && c.titleFit, c.accepted && c.dataFit}));
    }
    d.pushScript([](MySettingController& s) { s.rowCancelButton->click(); });
    EXPECT_TRUE(d.runRowHeightDialog("17", "17").titleHeight.isEmpty());
}

// A row sized to its font has no height to type; every run starts with both fields open.
TEST(RowHeightDialog, SizeToFitDisablesItsHeight)
{
    MySettingController d;
    EXPECT_EQ(d.findChild<QLabel*>("rowHeightRange")->text(), "Heights from 10 to 100 points.");
    QString enabled;
    auto look = [&enabled](MySettingController& s) {
        enabled += QString(s.tfTitleHeight->isEnabled() ? "T" : "F") + (s.tfDataHeight->isEnabled() ? "T " : "F ");
    };
    d.pushScript([&](MySettingController& s) {
        look(s);
        s.buTitleSizeToFit->click();
        look(s);
        s.buDataSizeToFit->click();
        s.buTitleSizeToFit->click();
        look(s);
        s.rowOkButton->click();
    });
    d.runRowHeightDialog("17", "17");
    d.pushScript([&](MySettingController& s) {
        look(s);
        s.rowCancelButton->click();
    });
    d.runRowHeightDialog("17", "17");
    EXPECT_EQ(enabled, "TT FT TF TT ");
}
