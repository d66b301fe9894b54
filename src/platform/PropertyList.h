#pragma once
// Property-list values as QVariant: QString, qint64 (integer), double (real), bool,
// QByteArray (data), QVariantList (array), QVariantMap (dictionary). The three scalar
// kinds stay distinct end to end.
#include <QByteArray>
#include <QString>
#include <QMetaType>
#include <QVariant>

// An object reference of a keyed archive (a binary property list's UID). Read from binary
// data and written to it; in XML it is written as the dictionary {"CF$UID": n}, which reads
// back as that dictionary.
struct PlistUid {
    quint64 value = 0;
    bool operator==(const PlistUid& o) const { return value == o.value; }
};
Q_DECLARE_METATYPE(PlistUid)

class PropertyList {
public:
    // The platform's XML layout: the 4 header lines, tab indentation, one element per
    // line, keys sorted, <true/>/<false/>, <dict/> and <array/> for empty containers,
    // data as base64 wrapped over several lines. Callers parse this text line by line.
    static QByteArray toXml(const QVariant& root);
    // Both writers return an empty QByteArray when a value is not a property-list value.
    // A binary property list (bplist00) of the same value.
    static QByteArray toBinary(const QVariant& root);
    // Reads an XML or a binary property list. On failure returns an invalid QVariant and,
    // when given, sets *error to a sentence a user can read.
    static QVariant fromData(const QByteArray& data, QString* error = nullptr);
    // The kind a value is written as: "string", "integer", "real", "true"/"false" -> "Bool"
    // is the caller's business; this returns "string", "integer", "real", "bool", "data",
    // "array", "dict", "date" (QDateTime), "uid" (PlistUid), or "" for a value that is not
    // a property-list value.
    static QString kindOf(const QVariant& value);
};
