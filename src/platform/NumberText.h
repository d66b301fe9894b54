#pragma once
// Number text in the C locale, whatever the user's locale: Qt sets the process locale from
// the environment, so strtod, printf and QString::toDouble are not used for stored text.
#include <QString>
#include <concepts>
#include <optional>

namespace NumberText {
// The leading number of a text: skips white space, reads sign, digits, point, exponent,
// stops at the first other character; 0 when there is no number. No inf, nan or hex.
// A number too large for a double reads as +-infinity, one too small as 0 (as strtod).
double doubleValue(const QString& text);
// Scanner reading: skips leading white space from *pos (0 when null), reads a number as
// doubleValue does; true and the value (and *pos after it) when a number was there.
bool scanDouble(const QString& text, double* value, int* pos = nullptr);
// True when the whole text (less surrounding white space) is one number.
bool isWholeNumber(const QString& text);
// Strict 64-bit integer: optional sign and digits only, in range; otherwise nullopt.
std::optional<qint64> parseInt64(const QString& text);
// "%.15g", then ".0" appended when the text has none of '.', 'e', 'n' (540 -> "540.0";
// "inf" and "nan" stay as they are).
QString realString(double value);
// "%.15g" alone.
QString shortest15(double value);
// printf "%.<decimals>f" (round half to even on exact binary ties, as printf does).
QString fixed(double value, int decimals);
// printf with one double argument and a format such as "%.2f", "%g", "%.3e", "%5.1f"
// (flags - + space # 0, width, precision; f F e E g G). Text around the conversion is
// kept, "%%" is a percent sign; any other conversion is copied as written.
QString format(const char* printfFormat, double value);
// printf with one integer argument: "%d" or "%i" with flags - + space 0, width, precision and
// any length modifier; the whole 64-bit value is written whatever the modifier says. Any
// other conversion is copied as written.
QString format(const char* printfFormat, qint64 value);
// Other integer types go through the 64-bit writer, never through a double.
template <std::integral T>
    requires(!std::same_as<T, qint64> && !std::same_as<T, bool>)
QString format(const char* printfFormat, T value)
{
    return format(printfFormat, qint64(value));
}
}
