// Markup runs and number texts: the worked examples, the edge cases, a marker at the end
// and texts mixing both multiplication signs.
#include "graph/TextMarkup.h"
#include "GraphTestSupport.h"
#include <gtest/gtest.h>
#include <cmath>

namespace {
// The runs as one line: plain text as shown, a raised run as [^...], a lowered one as
// [_...]; empty runs leave no trace, as on screen.
QString display(const QVector<TextMarkup::Run>& runs)
{
    QString s;
    for (const auto& r : runs) {
        if (r.text.isEmpty())
            continue;
        const bool plain = r.script == TextMarkup::Script::Plain;
        s += plain ? r.text : (r.script == TextMarkup::Script::Superscript ? "[^" : "[_") + r.text + "]";
    }
    return s;
}
} // namespace

TEST(TextMarkup, RunsOfMarkedUpTexts)
{
    const std::pair<const char*, const char*> cases[] = {
        {"", ""}, {"abc", "abc"}, {"10^{3}", "10[^3]"}, {"x_1", "x[_1]"}, {"2\\times10^5 m", "2\u00d710[^5] m"},
        {"CO_2 (mmol l^{-1})", "CO[_2] (mmol l[^-1])"}, {"a^^b", "a[^^]b"}, {"a^b_c", "a[^b][_c]"},
        {"a_b^c", "a[_b][^c]"}, {"x^{a_b}", "x[^a_b]"}, {"x^{a{b}c}", "x[^a{b]c}"}, {"a^{}b", "ab"},
        {"x^ {2}", "x[^ ]{2}"}, {"x^{2", ""}, {"^{", ""}, {"3\\ast4", "3*4"}, {"10^{\\times}", "10[^\\times]"},
        {"}a", "}a"}, {"x^\U0001F600y", "x[^\U0001F600]y"},
        // A marker at the very end has nothing to raise and stays as typed.
        {"m^", "m^"}, {"x_", "x_"}, {"a^b^", "a[^b]^"},
        // Both signs show, whichever the user mixed.
        {"2\\times3\\ast4", "2\u00d73*4"},
    };
    for (const auto& [text, shown] : cases)
        EXPECT_EQ(display(TextMarkup::runs(QString::fromUtf8(text))), QString::fromUtf8(shown)) << text;
}

TEST(TextMarkup, ValuesOfNumberTexts)
{
    const std::pair<const char*, double> cases[] = {
        {"0.5", 0.5}, {"5\\times10^{3}", 5000}, {"2.5\u00d710^-2", 0.025}, {"10^{2}", 100}, {"3*4*5", 60},
        {"2\u00d710^3\u00d75", 10000}, {" 7", 7}, {"", 0}, {"abc", 0}, {"\u00d75", 0}, {"^2", 0}, {"10^{", 1},
        {"1e3", 1000}, {"10^{-2}", 0.01},
        // Every sign multiplies, whichever the user mixed.
        {"2\\times3\\ast4", 24}, {"2\\times3*4", 24},
        // A power with nothing after its "^" is worth 1.
        {"10^", 1}, {"2\u00d710^", 2},
    };
    for (const auto& [text, value] : cases)
        EXPECT_NEAR(TextMarkup::doubleFromString(QString::fromUtf8(text)), value, 1e-12 * std::max(1.0, value)) << text;
}

TEST(TextMarkup, PrecisionOfNumberTexts)
{
    const std::pair<const char*, qint64> cases[] = {
        {"0.25", -2}, {"5", 0}, {"2.5\u00d710^3", 2}, {"1.25\\times10^{-4}", -6}, {"3\u00d7100", 2},
        {"1.5\u00d710", 0}, {"4.0\u00d72", -1}, {"10^3", 0}, {"2.50", -2}, {"2.5\u00d710^{3}\u00d77", 2},
        {"2.5", -1}, {"2.", 0}, {"2.5\u00d71000", 2}, {"1.5\u00d710^{3}^2", 2},
        // Exponents that cannot be read count as none.
        {"2\u00d710^x", 0}, {"2\u00d710^3 ", 0}, {"2\u00d710^{3", 0}, {"2.5\u00d710^", -1}, {"2\u00d710^{", 0},
        {"2.5\u00d710abc", 0},
    };
    for (const auto& [text, precision] : cases)
        EXPECT_EQ(TextMarkup::precisionString(QString::fromUtf8(text)), precision) << text;
}
