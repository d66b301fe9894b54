// Layout fonts at 72 dpi beside the widgets' fonts on a 96-dpi screen.
#include "platform/Font72.h"
#include <QMenu>
#include <QPainter>
#include <gtest/gtest.h>

namespace {

QImage menuImage()
{
    QMenu menu;
    menu.addAction(QStringLiteral("Undo Change Graph"));
    menu.adjustSize();
    return menu.grab().toImage();
}

} // namespace

// A 12-point layout font is 12 pixels, as the widgets' 9-point font is on the screen: the
// menus must not take over its drawing (their texts would run past their items).
TEST(Font72, LayoutTextLeavesTheWidgetsFontsAlone)
{
    const QImage before = menuImage();
    const QFont layout = Font72::font(FontSpec{QStringLiteral("DejaVu Sans"), 12, 16});
    QImage page(120, 30, QImage::Format_ARGB32_Premultiplied);
    page.setDotsPerMeterX(2835);
    page.setDotsPerMeterY(2835);
    QPainter painter(&page);
    painter.setFont(layout);
    painter.drawText(2, 20, QStringLiteral("Weight"));
    painter.end();
    EXPECT_EQ(menuImage(), before);
    // The layout font keeps its own size: one point is one unit.
    EXPECT_EQ(QFontInfo(layout).pixelSize(), 12);
}
