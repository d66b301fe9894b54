#include "platform/Font72.h"
#include <QImage>
#include <QPaintDevice>
#include <algorithm>
#include <cmath>

QPaintDevice* Font72::device()
{
    static QImage image = [] {
        QImage i(1, 1, QImage::Format_ARGB32_Premultiplied);
        // 72 dots per inch (72 / 0.0254 dots per metre).
        i.setDotsPerMeterX(2835);
        i.setDotsPerMeterY(2835);
        return i;
    }();
    return &image;
}

QFont Font72::font(const FontSpec& spec)
{
    QFont font(spec.toQFont(), device());
    // Font engines are shared by pixel size: a 12-point layout font is 12 pixels, as is the
    // widgets' 9-point font on a 96-dpi screen. A strategy of its own keeps the two apart,
    // so neither draws with the other's hinting (outline fonts are all there is here).
    font.setStyleStrategy(QFont::StyleStrategy(font.styleStrategy() | QFont::ForceOutline));
    return font;
}

QFont Font72::forDevice(const FontSpec& spec, const QPaintDevice*)
{
    // A pixel size does not depend on the resolution of the device it is drawn on, as a
    // point size would.
    QFont font = spec.toQFont();
    if (spec.size > 0)
        font.setPixelSize(std::max(1, int(std::lround(spec.size))));
    return font;
}

QFontMetricsF Font72::metrics(const QFont& font) { return QFontMetricsF(font, device()); }
