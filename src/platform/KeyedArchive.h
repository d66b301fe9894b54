#pragma once
// Colours and text attributes stored in settings and packages as keyed archives: binary
// property lists in the platform's archiver layout ($archiver, $version, $top, $objects
// with $class chains). Decoding is defensive: bounded depth, no cycles, std::nullopt on
// anything that is not the expected shape.
#include <QByteArray>
#include <QColor>
#include <QFont>
#include <QString>
#include <optional>

struct Color {
    // The archived colour space: 1 calibrated RGB, 2 device RGB, 3 calibrated grey,
    // 4 device grey. RGB and grey colours never compare equal.
    int colorSpace = 1;
    // RGB: red, green, blue, alpha. Grey: white in c[0], alpha in c[3].
    double c[4] = {0, 0, 0, 1};

    static Color rgb(double r, double g, double b, double a = 1.0);   // colour space 1
    static Color gray(double white, double a = 1.0);                  // colour space 3
    bool isGray() const { return colorSpace == 3 || colorSpace == 4; }
    double red() const { return c[0]; }
    double green() const { return isGray() ? c[0] : c[1]; }
    double blue() const { return isGray() ? c[0] : c[2]; }
    double alpha() const { return c[3]; }
    QColor toQColor() const;
    static Color fromQColor(const QColor& color);   // RGB colour space
    bool operator==(const Color& o) const;
    bool operator!=(const Color& o) const { return !(*this == o); }
};

struct FontSpec {
    QString name;          // the font's name as archived ("NSName")
    double size = 12.0;    // points ("NSSize")
    int flags = 16;        // "NSfFlags", kept as read
    QFont toQFont() const; // point size = size, at 72 dpi one point is one unit
    static FontSpec fromQFont(const QFont& font);
    bool operator==(const FontSpec& o) const { return name == o.name && size == o.size && flags == o.flags; }
};

// An attribute dictionary with "NSFont" and "NSColor"; either may be missing.
struct TextAttributes {
    std::optional<FontSpec> font;
    std::optional<Color> color;
    bool operator==(const TextAttributes& o) const { return font == o.font && color == o.color; }
};

class KeyedArchive {
public:
    static QByteArray archiveColor(const Color& color);
    static std::optional<Color> unarchiveColor(const QByteArray& data);
    static QByteArray archiveAttributes(const TextAttributes& attributes);
    static std::optional<TextAttributes> unarchiveAttributes(const QByteArray& data);
};
