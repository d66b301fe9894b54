#pragma once
// The first scale of a graph's value axis, and the number helpers that value-axis edits share.
#include <QString>
#include <QVariantList>
#include <QVariantMap>

class MyAxisScale {
public:
    // "valueSettings" of a new graph from the value range [low, high]: "logarithmic" false,
    // "min", "max", "partition" and "scaleStrings". Equal ends get a scale around the value;
    // non-finite ends get the scale of 0..1.
    static QVariantMap defaultMinMax(const QVariantList& minMax);
    static QVariantMap defaultMinMax(double low, double high);

    // floor(log10(d)) for d > 0, corrected where log10 rounds across a power of ten, so that
    // 10^k <= d < 10^(k+1) holds.
    static int powerOfTen(double d);
    // 10^k as the double nearest to it, the same on every machine: read from its decimal
    // text, as std::pow may round a negative power of ten either way.
    static double tenTo(int k);
    // printf "%.<decimals>f" in the C locale, with a negative zero written without its sign.
    static QString fixedText(double value, int decimals);
};
