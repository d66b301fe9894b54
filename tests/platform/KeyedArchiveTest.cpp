#include "platform/KeyedArchive.h"
#include "platform/PropertyList.h"

#include "PlatformTestSupport.h"


namespace {

QVariant uid(quint64 n) { return QVariant::fromValue(PlistUid{n}); }
QVariantMap classEntry(const QStringList& chain)
{
    return {{"$classname", chain.first()}, {"$classes", QVariant(chain).toList()}};
}

QByteArray archive(const QVariantList& objects, const QVariant& root = uid(1))
{
    return PropertyList::toBinary(QVariantMap{{"$archiver", QString("NSKeyedArchiver")},
                                              {"$version", qint64(100000)},
                                              {"$top", QVariantMap{{"root", root}}},
                                              {"$objects", objects}});
}

TEST(KeyedArchive, ColoursComeBackExactly)
{
    const Color colours[] = {Color::rgb(0.1, 1.0 / 3.0, 1e-7, 0.30000000000000004), Color::gray(0.5, 0.25),
                             Color{2, {0.25, 0.5, 0.75, 1}}, Color{4, {0.75, 0.75, 0.75, 0.5}}};
    for (const Color& color : colours) {
        // Colour space and every component, exactly.
        EXPECT_EQ(KeyedArchive::unarchiveColor(KeyedArchive::archiveColor(color)), color);
        const TextAttributes attributes{FontSpec{"Helvetica", 11.5, 16}, color};
        EXPECT_EQ(KeyedArchive::unarchiveAttributes(KeyedArchive::archiveAttributes(attributes)), attributes);
    }
}

// The whole archive of one colour object, as the archiver lays it out.
QVariant colourArchive(qint64 space, const char* key, const QByteArray& text)
{
    return PropertyList::fromData(archive({QString("$null"),
                                           QVariantMap{{"NSColorSpace", space}, {key, text}, {"$class", uid(2)}},
                                           classEntry({"NSColor", "NSObject"})}));
}

TEST(KeyedArchive, WrittenLayout)
{
    EXPECT_TRUE(samePlist(PropertyList::fromData(KeyedArchive::archiveColor(Color::rgb(1, 0, 0.5, 0.25))),
                          colourArchive(1, "NSRGB", QByteArray("1 0 0.5 0.25\0", 13))));
    EXPECT_TRUE(samePlist(PropertyList::fromData(KeyedArchive::archiveColor(Color::gray(1, 0))),
                          colourArchive(3, "NSWhite", QByteArray("1 0\0", 4))));
}

// Written the way the platform's archiver lays objects out: a mutable dictionary, the
// colour's alpha of 1 left out, and keys this system has no use for.
QVariantList platformStyleObjects()
{
    return {
        QString("$null"),
        QVariantMap{{"NS.keys", QVariantList{uid(2), uid(3), uid(4)}},
                    {"NS.objects", QVariantList{uid(5), uid(9), uid(11)}}, {"$class", uid(13)}},
        QString("NSColor"), QString("NSParagraphStyle"), QString("NSFont"),
        QVariantMap{{"NSColorSpace", qint64(1)}, {"NSRGB", QByteArray("0.5 0.25 0.125\0", 15)},
                    {"NSComponents", QByteArray("0.5 0.25 0.125 1")}, {"$class", uid(6)}},
        classEntry({"NSColor", "NSObject"}),
        QString("unused"), QString("unused"),
        QVariantMap{{"$class", uid(10)}, {"NSAlignment", qint64(4)}},
        classEntry({"NSMutableParagraphStyle", "NSParagraphStyle", "NSObject"}),
        QVariantMap{{"NSName", uid(12)}, {"NSSize", 13.0}, {"NSfFlags", qint64(16)}, {"$class", uid(14)}},
        QString(".AppleSystemUIFont"),
        classEntry({"NSMutableDictionary", "NSDictionary", "NSObject"}), classEntry({"NSFont", "NSObject"}),
    };
}

TEST(KeyedArchive, HandBuiltArchiveIsDecoded)
{
    const TextAttributes expected{FontSpec{".AppleSystemUIFont", 13, 16}, Color::rgb(0.5, 0.25, 0.125)};
    EXPECT_EQ(KeyedArchive::unarchiveAttributes(archive(platformStyleObjects())), expected);
    // The XML form writes references as {"CF$UID": n}.
    const QByteArray xml = PropertyList::toXml(PropertyList::fromData(archive(platformStyleObjects())));
    ASSERT_TRUE(xml.contains("<key>CF$UID</key>"));
    EXPECT_EQ(KeyedArchive::unarchiveAttributes(xml), expected);
}

struct Hostile {
    const char* name;
    QByteArray data;
};

// The hand-built archive with one object replaced.
QByteArray archiveWith(int index, const QVariant& object)
{
    QVariantList objects = platformStyleObjects();
    objects[index] = object;
    return archive(objects);
}

QByteArray withDictionary(const QVariantList& keys, const QVariantList& values)
{
    return archiveWith(1, QVariantMap{{"NS.keys", keys}, {"NS.objects", values}, {"$class", uid(13)}});
}

QVariant nestedLists(int depth) { return depth == 0 ? QVariantList() : QVariantList{nestedLists(depth - 1)}; }

class HostileArchive : public ::testing::TestWithParam<Hostile> {};

TEST_P(HostileArchive, IsRefused)
{
    EXPECT_FALSE(KeyedArchive::unarchiveAttributes(GetParam().data).has_value());
    EXPECT_FALSE(KeyedArchive::unarchiveColor(GetParam().data).has_value());
}

INSTANTIATE_TEST_SUITE_P(
    KeyedArchive, HostileArchive,
    ::testing::Values(
        Hostile{"rootOutOfRange", archive(platformStyleObjects(), uid(99))},
        Hostile{"dictionaryHoldsItself", withDictionary({uid(2)}, {uid(1)})},
        Hostile{"keysAndObjectsDiffer", withDictionary({uid(2), uid(4)}, {uid(5)})},
        Hostile{"infiniteComponent",
                archiveWith(5, QVariantMap{{"NSColorSpace", qint64(1)}, {"NSRGB", QByteArray("inf 0 0")}, {"$class", uid(6)}})},
        Hostile{"deepNesting", archive({QString("$null"), nestedLists(2000)})}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
