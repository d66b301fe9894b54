#include "platform/NumberText.h"

#include "PlatformTestSupport.h"

#include <locale.h>
#include <memory>

namespace {

// Every test here runs with a decimal-comma process locale.
class DecimalComma : public ::testing::Test {
protected:
    static void SetUpTestSuite() { s_locale = std::make_unique<DecimalCommaLocale>(); }
    static void TearDownTestSuite() { s_locale.reset(); }
    void SetUp() override { ASSERT_TRUE(DecimalCommaLocale::active()) << "no German locale could be set up"; }

    // glibc's printf in the C locale: the reference the formatter must match.
    template <typename T>
    static std::string cPrintf(const char* format, T value)
    {
        static locale_t c = newlocale(LC_ALL_MASK, "C", nullptr);
        const locale_t old = uselocale(c);
        std::vector<char> buffer(std::snprintf(nullptr, 0, format, value) + 1);
        std::snprintf(buffer.data(), buffer.size(), format, value);
        uselocale(old);
        return buffer.data();
    }

    static inline std::unique_ptr<DecimalCommaLocale> s_locale;
};

struct ReadCase {
    const char* text;
    double value;       // doubleValue
    bool scans;         // scanDouble finds a number
    int end;            // scanner position after the number (0 when there is none)
    bool whole;         // isWholeNumber
};
void PrintTo(const ReadCase& c, std::ostream* os) { *os << '"' << c.text << '"'; }

class NumberReading : public DecimalComma, public ::testing::WithParamInterface<ReadCase> {};

TEST_P(NumberReading, ReadsTheLeadingNumber)
{
    const ReadCase& c = GetParam();
    const QString text = QString::fromUtf8(c.text);
    EXPECT_EQ(NumberText::doubleValue(text), c.value);
    double value = -1;
    int pos = 0;
    EXPECT_EQ(NumberText::scanDouble(text, &value, &pos), c.scans);
    EXPECT_EQ(pos, c.end) << "no number leaves the position where it was";
    EXPECT_EQ(value, c.scans ? c.value : -1) << "nothing scanned leaves the value alone";
    EXPECT_EQ(NumberText::isWholeNumber(text), c.whole);
}

INSTANTIATE_TEST_SUITE_P(Texts, NumberReading, ::testing::Values(
    ReadCase{"", 0, false, 0, false},
    ReadCase{"  \t\n-3.5", -3.5, true, 8, true},
    ReadCase{"1e", 1, true, 1, false},           // an exponent needs digits
    ReadCase{"2,5", 2, true, 1, false},          // the comma is never a decimal point
    ReadCase{"inf", 0, false, 0, false},
    ReadCase{"0x1p3", 0, true, 1, false},        // no hex: reads the 0
    ReadCase{"\xef\xbc\x91", 0, false, 0, false},  // a full-width digit is not a digit
    ReadCase{"1e400", HUGE_VAL, true, 5, true},  // overflow gives infinity, as strtod
    ReadCase{"123456789012345678901234567890", 1.2345678901234568e29, true, 30, true},
    ReadCase{"\u00a09", 9, true, 2, true}));     // a no-break space is white space

TEST_F(DecimalComma, IntegersAreStrict)
{
    const std::pair<const char*, std::optional<qint64>> cases[] = {
        {"+42", 42},
        {" 5", std::nullopt},
        {"-9223372036854775808", std::numeric_limits<qint64>::min()},
        {"9223372036854775808", std::nullopt},
        {"\xd9\xa3", std::nullopt},   // an Arabic-Indic digit
    };
    for (const auto& [text, value] : cases)
        EXPECT_EQ(NumberText::parseInt64(QString::fromUtf8(text)), value) << text;
}

TEST_F(DecimalComma, FormatsWhatPrintfCannotBeComparedOn)
{
    const std::tuple<const char*, double, const char*> cases[] = {
        {"%.1f", 0.35, "0.3"},   // 0.34999999999999997779... is below the tie
        {"%5f", HUGE_VAL, "  inf"},
        {"%F", std::numeric_limits<double>::quiet_NaN(), "NAN"},
        {"x = %.1f %%", 2.25, "x = 2.2 %"},
        {"%d %.1f", 1.5, "%d 1.5"},   // not a double's conversion: copied
    };
    for (const auto& [format, value, text] : cases)
        EXPECT_EQ(NumberText::format(format, value).toStdString(), text) << format;
}

TEST_F(DecimalComma, FormattingMatchesGlibcAndReadingInvertsItOverRandomValues)
{
    const char* formats[] = {"%.0f", "%.1f", "%.2f", "%f", "%.10f", "%.15g", "%g", "%.17g",
                             "%.3e", "%e", "%.1g", "%#.4g", "%12.4f", "%-+10.2e", "%08.2f", "%lf"};
    std::mt19937_64 rng(11);
    for (int i = 0; i < 60000; ++i) {
        const quint64 bits = rng();
        double v;
        switch (i % 4) {
        case 0: std::memcpy(&v, &bits, sizeof v); break;                        // any double
        case 1: v = double(qint64(bits % 200001) - 100000) / 1000.0; break;      // table-like
        case 2: v = double(qint64(bits % 20001) - 10000) / double(1 << (bits >> 60)); break;  // ties
        default: v = std::ldexp(double(bits >> 11), int(bits % 120) - 110); break;
        }
        const char* f = formats[i % std::size(formats)];
        ASSERT_EQ(NumberText::format(f, v).toStdString(), cPrintf(f, v)) << f << " " << cPrintf("%a", v);
        const std::string exact = cPrintf("%.17g", v);
        if (std::isfinite(v)) {
            ASSERT_EQ(NumberText::doubleValue(QString::fromStdString(exact)), v) << exact;
        }
    }
}

// Counts are 64-bit: every digit is written, whatever the length modifier says, and the
// reference is glibc's "ll" conversion of the same value.
TEST_F(DecimalComma, IntegerFormattingMatchesGlibcOverRandom64BitValues)
{
    const char* formats[] = {"%lld", "%5lld", "%-8lld|", "%+lld", "% lld", "%08lld", "%.3lld", "%lli",
                             "%010.4lld", "%.0lld", "n = %lld %%", "%-+06lld|"};
    std::mt19937_64 rng(5);
    const qint64 fixed[] = {0, 1, -1, std::numeric_limits<qint64>::max(), std::numeric_limits<qint64>::min(),
                            qint64(1) << 40, 5001};
    for (int i = 0; i < 20007; ++i) {
        const qint64 v = i < 7 ? fixed[i] : i % 2 ? qint64(rng()) : qint64(rng() % 100000) - 50000;
        const char* f = formats[i % std::size(formats)];
        ASSERT_EQ(NumberText::format(f, v).toStdString(), cPrintf(f, (long long)v)) << f << " " << v;
    }
    // "%d" of a count above 2^31, given as any integer type; a double's conversion is copied.
    EXPECT_EQ(NumberText::format("%d", qint64(1) << 40), "1099511627776");
    EXPECT_EQ(NumberText::format("%d", 7), "7");
    EXPECT_EQ(NumberText::format("%d", std::size_t(9)), "9");
    EXPECT_EQ(NumberText::format("%f %d", qint64(3)), "%f 3");
}

TEST_F(DecimalComma, FixedAndRealStrings)
{
    EXPECT_EQ(NumberText::fixed(7, -3), "7");   // a negative count means no decimals
    EXPECT_EQ(NumberText::realString(540), "540.0");
    EXPECT_EQ(NumberText::realString(1e20), "1e+20");
    EXPECT_EQ(NumberText::realString(-0.0), "-0.0");
    EXPECT_EQ(NumberText::realString(HUGE_VAL), "inf");
}

}  // namespace
