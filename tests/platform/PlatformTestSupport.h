#pragma once
// Helpers shared by the platform tests.
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QProcess>
#include <QTemporaryDir>
#include <QVariant>
#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <gtest/gtest.h>

// Strict equality of property-list values: the kind must match as well as the value
// (QVariant's own == converts between numbers), reals compare bit for bit.
inline bool samePlist(const QVariant& a, const QVariant& b)
{
    if (a.typeId() != b.typeId())
        return false;
    if (a.typeId() == QMetaType::Double) {
        const double x = a.toDouble(), y = b.toDouble();
        return std::memcmp(&x, &y, sizeof x) == 0;
    }
    if (a.typeId() == QMetaType::QVariantList) {
        const QVariantList x = a.toList(), y = b.toList();
        return std::equal(x.begin(), x.end(), y.begin(), y.end(), samePlist);
    }
    if (a.typeId() == QMetaType::QVariantMap) {   // keys in order, so values pair up
        const QVariantMap x = a.toMap(), y = b.toMap();
        return x.keys() == y.keys() && std::equal(x.begin(), x.end(), y.begin(), samePlist);
    }
    return a == b;
}

// Puts the process in a German locale (decimal comma) while it lives, so that any reliance
// on strtod, printf or QString::toDouble shows. When the machine has no compiled German
// locale, one is compiled from the locale sources into a folder the test processes share.
class DecimalCommaLocale {
public:
    DecimalCommaLocale() : m_previous(std::setlocale(LC_ALL, nullptr))
    {
        if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) {
            qputenv("LOCPATH", compiledFolder().toLocal8Bit());
            std::setlocale(LC_ALL, "de_DE.UTF-8");
        }
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    }
    ~DecimalCommaLocale()
    {
        std::setlocale(LC_ALL, m_previous.c_str());
        QLocale::setDefault(QLocale::c());
        qunsetenv("LOCPATH");
    }

    // Whether printf really writes a decimal comma now.
    static bool active()
    {
        char buffer[16];
        std::snprintf(buffer, sizeof buffer, "%.1f", 2.5);
        return std::strcmp(buffer, "2,5") == 0;
    }

private:
    // Each process compiles into its own folder and renames it into place, so concurrent
    // runs never see a half-made locale.
    static QString compiledFolder()
    {
        const QString folder = QDir::temp().filePath("vlb-test-locales");
        if (QFileInfo::exists(folder + "/de_DE.UTF-8/LC_NUMERIC"))
            return folder;
        QTemporaryDir scratch(QDir::temp().filePath("vlb-test-locales-XXXXXX"));
        const QString made = scratch.filePath("locales");
        QDir().mkpath(made);
        if (QProcess::execute("localedef", {"-i", "de_DE", "-f", "UTF-8", made + "/de_DE.UTF-8"}) == 0)
            QDir().rename(made, folder);
        return folder;
    }

    std::string m_previous;
};
