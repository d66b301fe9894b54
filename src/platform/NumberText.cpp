#include "platform/NumberText.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>

namespace {

bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }

// The extent of a number starting at `start` (no white space skipped here): optional sign,
// digits with an optional point and fraction (at least one digit), an optional exponent
// that counts only when digits follow it. Returns the end, or start when there is none.
// `ascii` receives the number without a leading '+', ready for from_chars.
int numberSpan(const QString& text, int start, std::string* ascii)
{
    const int n = text.size();
    int i = start;
    std::string out;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        if (text[i] == u'-')
            out += '-';
        ++i;
    }
    int digits = 0;
    while (i < n && isDigit(text[i])) {
        out += char(text[i].unicode());
        ++i;
        ++digits;
    }
    if (i < n && text[i] == u'.') {
        int j = i + 1;
        std::string fraction = ".";
        while (j < n && isDigit(text[j])) {
            fraction += char(text[j].unicode());
            ++j;
            ++digits;
        }
        if (digits > 0) {
            out += fraction;
            i = j;
        }
    }
    if (digits == 0)
        return start;
    if (i < n && (text[i] == u'e' || text[i] == u'E')) {
        int j = i + 1;
        std::string exponent = "e";
        if (j < n && (text[j] == u'+' || text[j] == u'-')) {
            exponent += char(text[j].unicode());
            ++j;
        }
        const int firstExponentDigit = j;
        while (j < n && isDigit(text[j])) {
            exponent += char(text[j].unicode());
            ++j;
        }
        if (j > firstExponentDigit) {
            out += exponent;
            i = j;
        }
    }
    *ascii = std::move(out);
    return i;
}

// Out of range for a double: the magnitude decides between infinity and zero, as strtod does.
double outOfRange(const std::string& s)
{
    const bool negative = !s.empty() && s[0] == '-';
    size_t i = negative ? 1 : 0;
    long long intDigits = 0;     // significant digits before the point
    long long leadingZeros = 0;  // zeros right after the point before the first significant digit
    bool seenSignificant = false;
    bool afterPoint = false;
    for (; i < s.size() && s[i] != 'e'; ++i) {
        if (s[i] == '.') {
            afterPoint = true;
            continue;
        }
        if (!seenSignificant && s[i] == '0') {
            if (afterPoint)
                ++leadingZeros;
            continue;
        }
        seenSignificant = true;
        if (!afterPoint)
            ++intDigits;
    }
    long long exponent = 0;
    if (i < s.size()) {
        const bool expNegative = i + 1 < s.size() && s[i + 1] == '-';
        for (size_t j = i + 1; j < s.size(); ++j) {
            if (s[j] >= '0' && s[j] <= '9' && exponent < 100000000)
                exponent = exponent * 10 + (s[j] - '0');
        }
        if (expNegative)
            exponent = -exponent;
    }
    const long long magnitude = (intDigits > 0 ? intDigits : -leadingZeros) + exponent;
    const double value = magnitude > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    return negative ? -value : value;
}

double toDouble(const std::string& s)
{
    double value = 0;
    const auto result = std::from_chars(s.data(), s.data() + s.size(), value, std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range)
        return outOfRange(s);
    return value;
}

int skipSpace(const QString& text, int i)
{
    while (i < text.size() && text[i].isSpace())
        ++i;
    return i;
}

// One printf conversion of a double: flags, width, precision and the conversion letter.
struct Conversion {
    bool left = false, plus = false, space = false, alternate = false, zero = false;
    int width = 0;
    int precision = -1;
    char letter = 'f';
};

std::string charsOf(double value, std::chars_format fmt, int precision)
{
    // Fixed notation of a large double needs up to 309 digits before the point.
    std::string buffer(size_t(precision) + 400, '\0');
    const auto r = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, fmt, precision);
    buffer.resize(size_t(r.ptr - buffer.data()));
    return buffer;
}

// The decimal exponent of |value| once rounded to `significant` digits.
int roundedExponent(double value, int significant)
{
    const std::string s = charsOf(value, std::chars_format::scientific, significant - 1);
    const size_t e = s.find('e');
    return std::stoi(s.substr(e + 1));
}

void stripTrailingZeros(std::string& digits)
{
    const size_t point = digits.find('.');
    if (point == std::string::npos)
        return;
    size_t end = digits.size();
    while (end > point + 1 && digits[end - 1] == '0')
        --end;
    if (end == point + 1)
        --end;
    digits.resize(end);
}

// The body of a conversion of a finite, non-negative value (no sign, no padding).
std::string body(double magnitude, const Conversion& c)
{
    const char lower = char(std::tolower(static_cast<unsigned char>(c.letter)));
    const int precision = c.precision < 0 ? 6 : c.precision;
    std::string s;
    if (lower == 'f') {
        s = charsOf(magnitude, std::chars_format::fixed, precision);
        if (c.alternate && precision == 0)
            s += '.';
    } else if (lower == 'e') {
        s = charsOf(magnitude, std::chars_format::scientific, precision);
        if (c.alternate && precision == 0)
            s.insert(s.find('e'), ".");
    } else {  // g
        const int p = precision == 0 ? 1 : precision;
        const int x = magnitude == 0 ? 0 : roundedExponent(magnitude, p);
        if (p > x && x >= -4)
            s = charsOf(magnitude, std::chars_format::fixed, p - 1 - x);
        else
            s = charsOf(magnitude, std::chars_format::scientific, p - 1);
        if (!c.alternate) {
            const size_t e = s.find('e');
            std::string mantissa = s.substr(0, e);
            stripTrailingZeros(mantissa);
            s = mantissa + (e == std::string::npos ? std::string() : s.substr(e));
        } else if (s.find('.') == std::string::npos) {
            const size_t e = s.find('e');
            s.insert(e == std::string::npos ? s.size() : e, ".");
        }
    }
    return s;
}

std::string convert(double value, const Conversion& c)
{
    const bool upper = c.letter >= 'A' && c.letter <= 'Z';
    const bool negative = std::signbit(value);
    std::string s;
    bool finite = std::isfinite(value);
    if (std::isnan(value))
        s = "nan";
    else if (std::isinf(value))
        s = "inf";
    else
        s = body(std::fabs(value), c);
    if (upper)
        for (char& ch : s)
            ch = char(std::toupper(static_cast<unsigned char>(ch)));
    std::string sign = negative ? "-" : c.plus ? "+" : c.space ? " " : "";
    const int pad = c.width - int(sign.size() + s.size());
    if (pad <= 0)
        return sign + s;
    if (c.left)
        return sign + s + std::string(size_t(pad), ' ');
    if (c.zero && finite)
        return sign + std::string(size_t(pad), '0') + s;
    return std::string(size_t(pad), ' ') + sign + s;
}

// Flags, width and precision of a conversion starting at format[*k] (just after '%').
void parseFlagsWidthPrecision(const char* format, size_t* k, Conversion* c)
{
    for (;; ++*k) {
        const char ch = format[*k];
        if (ch == '-') c->left = true;
        else if (ch == '+') c->plus = true;
        else if (ch == ' ') c->space = true;
        else if (ch == '#') c->alternate = true;
        else if (ch == '0') c->zero = true;
        else break;
    }
    while (format[*k] >= '0' && format[*k] <= '9' && c->width < 100000)
        c->width = c->width * 10 + (format[(*k)++] - '0');
    if (format[*k] == '.') {
        ++*k;
        c->precision = 0;
        while (format[*k] >= '0' && format[*k] <= '9' && c->precision < 100000)
            c->precision = c->precision * 10 + (format[(*k)++] - '0');
    }
}

// Parses "%[flags][width][.precision][l|L]<f|F|e|E|g|G>" at format[i] (just after '%').
bool parseConversion(const char* format, size_t* i, Conversion* c)
{
    size_t k = *i;
    parseFlagsWidthPrecision(format, &k, c);
    while (format[k] == 'l' || format[k] == 'L')
        ++k;
    const char letter = format[k];
    if (letter != 'f' && letter != 'F' && letter != 'e' && letter != 'E' && letter != 'g' && letter != 'G')
        return false;
    c->letter = letter;
    *i = k + 1;
    return true;
}

// One printf conversion of an integer: flags, width, precision, any length modifier and
// "d" or "i".
bool parseIntConversion(const char* format, size_t* i, Conversion* c)
{
    size_t k = *i;
    parseFlagsWidthPrecision(format, &k, c);
    while (format[k] && std::strchr("hljztq", format[k]))
        ++k;
    if (format[k] != 'd' && format[k] != 'i')
        return false;
    c->letter = format[k];
    *i = k + 1;
    return true;
}

std::string convertInteger(qint64 value, const Conversion& c)
{
    // The magnitude in unsigned arithmetic: the most negative value has no positive twin.
    const quint64 magnitude = value < 0 ? quint64(0) - quint64(value) : quint64(value);
    std::string digits = magnitude == 0 && c.precision == 0 ? std::string() : std::to_string(magnitude);
    if (c.precision > int(digits.size()))
        digits.insert(0, size_t(c.precision) - digits.size(), '0');
    const std::string sign = value < 0 ? "-" : c.plus ? "+" : c.space ? " " : "";
    const int pad = c.width - int(sign.size() + digits.size());
    if (pad <= 0)
        return sign + digits;
    if (c.left)
        return sign + digits + std::string(size_t(pad), ' ');
    if (c.zero && c.precision < 0)
        return sign + std::string(size_t(pad), '0') + digits;
    return std::string(size_t(pad), ' ') + sign + digits;
}

// Copies literal text and "%%", and writes the first conversion that `parse` accepts with
// `convert`; any other conversion is copied as written.
template <class Parse, class Convert>
QString formatOne(const char* printfFormat, Parse parse, Convert convert)
{
    std::string out;
    bool used = false;
    for (size_t i = 0; printfFormat && printfFormat[i];) {
        const char ch = printfFormat[i];
        if (ch != '%') {
            out += ch;
            ++i;
            continue;
        }
        if (printfFormat[i + 1] == '%') {
            out += '%';
            i += 2;
            continue;
        }
        size_t k = i + 1;
        Conversion c;
        if (!used && parse(printfFormat, &k, &c)) {
            out += convert(c);
            used = true;
            i = k;
        } else {
            out += ch;
            ++i;
        }
    }
    return QString::fromUtf8(out);
}

}  // namespace

namespace NumberText {

double doubleValue(const QString& text)
{
    std::string ascii;
    const int start = skipSpace(text, 0);
    if (numberSpan(text, start, &ascii) == start)
        return 0.0;
    return toDouble(ascii);
}

bool scanDouble(const QString& text, double* value, int* pos)
{
    const int start = skipSpace(text, pos ? qMax(0, *pos) : 0);
    std::string ascii;
    const int end = numberSpan(text, start, &ascii);
    if (end == start)
        return false;
    if (value)
        *value = toDouble(ascii);
    if (pos)
        *pos = end;
    return true;
}

bool isWholeNumber(const QString& text)
{
    int pos = 0;
    if (!scanDouble(text, nullptr, &pos))
        return false;
    return skipSpace(text, pos) == text.size();
}

std::optional<qint64> parseInt64(const QString& text)
{
    const int n = text.size();
    int i = 0;
    bool negative = false;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    if (i == n)
        return std::nullopt;
    // Accumulate negatively so that the most negative value fits.
    qint64 value = 0;
    const qint64 lowest = std::numeric_limits<qint64>::min();
    for (; i < n; ++i) {
        if (!isDigit(text[i]))
            return std::nullopt;
        const int d = text[i].unicode() - u'0';
        if (value < (lowest + d) / 10)
            return std::nullopt;
        value = value * 10 - d;
    }
    if (!negative) {
        if (value == lowest)
            return std::nullopt;
        value = -value;
    }
    return value;
}

QString shortest15(double value)
{
    return format("%.15g", value);
}

QString realString(double value)
{
    QString s = shortest15(value);
    if (!s.contains(u'.') && !s.contains(u'e') && !s.contains(u'n'))
        s += QStringLiteral(".0");
    return s;
}

QString fixed(double value, int decimals)
{
    Conversion c;
    c.precision = qMax(0, decimals);
    return QString::fromLatin1(convert(value, c));
}

QString format(const char* printfFormat, double value)
{
    return formatOne(printfFormat, parseConversion, [value](const Conversion& c) { return convert(value, c); });
}

QString format(const char* printfFormat, qint64 value)
{
    return formatOne(printfFormat, parseIntConversion, [value](const Conversion& c) { return convertInteger(value, c); });
}

}  // namespace NumberText
