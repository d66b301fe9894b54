#pragma once
// Fonts measured as on a 72-dpi screen: one point of a font is one unit of layout, whether
// the text is drawn on screen, into an image, into a PDF or measured in a test. The graph
// and the table take their fonts from here; graph texts are laid out on device().
#include "platform/KeyedArchive.h"
#include <QFont>
#include <QFontMetricsF>

class QPaintDevice;

class Font72 {
public:
    // A paint device of 72 dots per inch for text layout (shared, never drawn on).
    static QPaintDevice* device();
    // The font of spec for layouts on device(): its point size is spec.size.
    static QFont font(const FontSpec& spec);
    // The same font for drawing straight on target (a widget, a printer): a pixel size,
    // which no resolution changes. Font engines draw whole pixel sizes, so the size is
    // rounded as they would round it; it measures as font() does.
    static QFont forDevice(const FontSpec& spec, const QPaintDevice* target);
    // Metrics of font on device().
    static QFontMetricsF metrics(const QFont& font);
};
