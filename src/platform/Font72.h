#pragma once
// Fonts measured as on a 72-dpi screen: one point of a font is one unit of layout, whether
// the text is drawn on screen, into an image, into a PDF or measured in a test. Graph texts
// are laid out on device(); widgets that draw on the real screen take forDevice().
#include "platform/KeyedArchive.h"
#include <QFont>
#include <QFontMetricsF>

class QPaintDevice;

class Font72 {
public:
    // A paint device of 72 dots per inch for text layout (shared, never drawn on).
    static QPaintDevice* device();
    // The font of spec, resolved for device(): size points are size units.
    static QFont font(const FontSpec& spec);
    // A font that draws spec.size pixels tall on target, whatever its resolution.
    static QFont forDevice(const FontSpec& spec, const QPaintDevice* target);
    // Metrics of font on device().
    static QFontMetricsF metrics(const QFont& font);
};
