#include "platform/PropertyList.h"

#include "PlatformTestSupport.h"

#include <QFile>
#include <bit>

namespace {

QByteArray bytes(int from, int count, int step)
{
    QByteArray b;
    for (int i = 0; i < count; ++i)
        b.append(char(from + i * step));
    return b;
}

// The value that tests/data/platform/layout.plist holds.
QVariantMap layoutValue()
{
    const QVariantList list{QVariantMap{{"k", std::numeric_limits<qint64>::max()}}, std::numeric_limits<qint64>::min()};
    return {
        {"Zeta", true}, {"a&b<c>", QString("x & y <z> \"q\"")},
        {"array", QVariantList{qint64(1), qint64(-2), 2.0, 0.1, false, QString(""), QVariantList(), QVariantMap(),
                               QByteArray("hello")}},
        {"data", bytes(0, 100, 1)}, {"empty", QVariantMap()}, {"emptyData", QByteArray()},
        {"nested", QVariantMap{{"deep", QVariantMap{{"bytes", bytes(255, 60, -1)}}}, {"list", list}}},
        {"reals", QVariantList{1e20, 0.1 + 0.2, 1.0 / 3.0, -1.5e-7, 123456789012345.0}},
        {"text", QString::fromUtf8("line one\nline two\tü€")}, {QString::fromUtf8("ü"), QString::fromUtf8("ä")},
    };
}

TEST(PropertyList, XmlLayoutMatchesTheGoldenFile)
{
    QFile file(VLB_TEST_DATA "/platform/layout.plist");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray golden = file.readAll();
    EXPECT_EQ(PropertyList::toXml(layoutValue()).toStdString(), golden.toStdString());
    QString error;
    EXPECT_TRUE(samePlist(PropertyList::fromData(golden, &error), layoutValue())) << error.toStdString();
}

// A random value of any kind, with the texts, integers and reals that are awkward to write.
QVariant randomValue(std::mt19937_64& rng, int depth)
{
    auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
    auto text = [&] {
        static const QStringList pieces{"a", "&", "<", "\"", "\r\n", "\t", "]]>", "ü", "😀"};
        QString s;
        for (int i = pick(8); i > 0; --i)
            s += pieces[pick(int(pieces.size()))];
        return s;
    };
    QVariantList list;
    QVariantMap map;
    switch (pick(depth < 4 ? 7 : 5)) {   // containers may come out empty
    case 0: return text();
    case 1: return qint64(rng());
    case 2: {
        const double d = std::bit_cast<double>(quint64(rng()));
        return std::isfinite(d) ? d : double(pick(21) - 10);   // whole reals stay reals
    }
    case 3: return pick(2) == 1;
    case 4: return text().toUtf8();
    case 5:
        for (int i = pick(6); i > 0; --i)
            list.append(randomValue(rng, depth + 1));
        return list;
    default:
        for (int i = pick(6); i > 0; --i)
            map.insert(text(), randomValue(rng, depth + 1));
        return map;
    }
}

TEST(PropertyList, RandomValuesSurviveBothFormats)
{
    std::mt19937_64 rng(20240601);
    for (int round = 0; round < 300; ++round) {
        const QVariant v = randomValue(rng, 0);
        const QByteArray xml = PropertyList::toXml(v);
        for (const QByteArray& data : {xml, PropertyList::toBinary(v)}) {
            QString error;
            ASSERT_TRUE(samePlist(PropertyList::fromData(data, &error), v))
                << "round " << round << ": " << error.toStdString() << "\n" << xml.toStdString();
        }
    }
}

QByteArray bigEndian(quint64 v, int size)
{
    QByteArray b;
    for (int i = size - 1; i >= 0; --i)
        b.append(char(v >> (8 * i)));
    return b;
}
QByteArray ref(quint32 r) { return bigEndian(r, 4); }

// A binary property list written by hand: 4-byte offsets and references, objects given as
// raw bytes, object 0 at the top.
QByteArray binaryPlist(const QList<QByteArray>& objects)
{
    QByteArray out("bplist00"), table;
    for (const QByteArray& o : objects) {
        table += bigEndian(quint64(out.size()), 4);
        out += o;
    }
    const quint64 tableOffset = quint64(out.size());
    return out + table + QByteArray(6, '\0') + char(4) + char(4) + bigEndian(quint64(objects.size()), 8)
           + bigEndian(0, 8) + bigEndian(tableOffset, 8);
}

// A chain of arrays, each holding the next one `copies` times; the last is empty.
QByteArray chainedArrays(int count, int copies)
{
    QList<QByteArray> objects;
    for (int i = 0; i < count; ++i)
        objects.append(QByteArray(1, char(0xA0 + copies)) + ref(quint32(i + 1)).repeated(copies));
    return binaryPlist(objects << "\xA0");
}

struct Malformed {
    const char* name;
    QByteArray data;
    const char* error;
};
class MalformedInput : public ::testing::TestWithParam<Malformed> {};

TEST_P(MalformedInput, IsRefusedWithAReadableError)
{
    QString error;
    EXPECT_FALSE(PropertyList::fromData(GetParam().data, &error).isValid());
    EXPECT_EQ(error.toStdString(), GetParam().error);
}

const char* const kNull = "The property list holds a text with a null character.";
INSTANTIATE_TEST_SUITE_P(
    PropertyList, MalformedInput,
    ::testing::Values(
        Malformed{"empty", QByteArray(), "The property list is empty."},
        Malformed{"text", "hello world", "The data is not a property list."},
        Malformed{"deepXml", "<plist version=\"1.0\">" + QByteArray("<array>").repeated(600)
                                 + QByteArray("</array>").repeated(600) + "</plist>",
                  "The property list is nested too deeply."},
        Malformed{"unsignedAboveSignedRange",
                  "<plist version=\"1.0\"><array><integer>-1</integer><integer>18446744073709551615</integer></array>"
                  "</plist>",
                  "The property list holds an integer that is too large."},
        Malformed{"shortBinary", "bplist00\xD0", "The binary property list is damaged."},
        Malformed{"cycle", binaryPlist({"\xA1" + ref(1), "\xA1" + ref(0)}),
                  "The binary property list refers to itself."},
        Malformed{"deepBinary", chainedArrays(100000, 1), "The property list is nested too deeply."},
        // Texts that a writer would cut at their null character.
        Malformed{"nullInAsciiText", binaryPlist({QByteArray("\x53" "a\0b", 4)}), kNull},
        Malformed{"nullInUtf16Text", binaryPlist({"\xA1" + ref(1), QByteArray("\x62\0a\0\0", 5)}), kNull},
        Malformed{"nullInXmlText", QByteArray("<plist version=\"1.0\"><string>a\0b</string></plist>", 49), kNull},
        // 2^60 values once the shared references are expanded.
        Malformed{"expanding", chainedArrays(60, 2), "The property list is too large."}),
    [](const auto& info) { return std::string(info.param.name); });

// Nesting at the depth limit, one below and one above: written and read in both formats up
// to the limit, refused beyond it whether written here or by hand.
TEST(PropertyList, NestingLimitHoldsAtItsEdge)
{
    const int limit = 512;   // arrays below the top one
    for (int depth : {limit - 1, limit, limit + 1}) {
        SCOPED_TRACE(depth);
        QVariant v = QVariantList();
        for (int i = 0; i < depth; ++i)
            v = QVariantList{v};
        const bool fits = depth <= limit;
        const QByteArray xml = PropertyList::toXml(v), binary = PropertyList::toBinary(v);
        EXPECT_EQ(!xml.isEmpty(), fits);
        EXPECT_EQ(!binary.isEmpty(), fits);
        const QByteArray handXml = "<plist version=\"1.0\">" + QByteArray("<array>").repeated(depth) + "<array/>"
                                   + QByteArray("</array>").repeated(depth) + "</plist>";
        for (const QByteArray& data : {xml, binary, handXml, chainedArrays(depth, 1)}) {
            if (data.isEmpty())
                continue;
            QString error;
            const QVariant read = PropertyList::fromData(data, &error);
            EXPECT_EQ(read.isValid() ? "" : error.toStdString(), fits ? "" : "The property list is nested too deeply.");
            EXPECT_TRUE(!fits || samePlist(read, v));
        }
    }
}

// Written, they would come back cut at the null character: refused in both formats.
TEST(PropertyList, TextsWithANullCharacterAreNotWritten)
{
    const QString nul = QString("a") + QChar(0) + "b";
    for (const QVariant& v : {QVariant(nul), QVariant(QVariantMap{{nul, 1}}), QVariant(QVariantList{"x", QVariantMap{{"k", nul}}})}) {
        EXPECT_TRUE(PropertyList::toXml(v).isEmpty());
        EXPECT_TRUE(PropertyList::toBinary(v).isEmpty());
    }
}

// libplist reads reals through the C library, which follows the process locale.
TEST(PropertyList, RealsIgnoreADecimalCommaLocale)
{
    const QVariantList reals{0.5, -1234.125, 1e-9};
    DecimalCommaLocale comma;
    ASSERT_TRUE(DecimalCommaLocale::active()) << "no German locale could be set up";
    const QByteArray xml = PropertyList::toXml(reals);
    EXPECT_TRUE(xml.contains("<real>0.5</real>"));
    EXPECT_TRUE(samePlist(PropertyList::fromData(xml), reals));
}

} // namespace
