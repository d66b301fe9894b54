#include "stats/DescriptivesDict.h"

namespace {
using Member = std::optional<double> DescriptivesDict::*;
struct Entry {
    const char* key;
    Member member;
};
constexpr Entry kEntries[] = {
    {"min", &DescriptivesDict::min},         {"max", &DescriptivesDict::max},
    {"mean", &DescriptivesDict::mean},       {"median", &DescriptivesDict::median},
    {"varianceP", &DescriptivesDict::varianceP}, {"variance", &DescriptivesDict::variance},
    {"stdevP", &DescriptivesDict::stdevP},   {"stdev", &DescriptivesDict::stdev},
    {"skP", &DescriptivesDict::skP},         {"sk", &DescriptivesDict::sk},
    {"kuP", &DescriptivesDict::kuP},         {"ku", &DescriptivesDict::ku},
};
}

const QStringList& DescriptivesDict::keys()
{
    static const QStringList list = [] {
        QStringList l;
        for (const Entry& e : kEntries)
            l << QLatin1String(e.key);
        return l;
    }();
    return list;
}

std::optional<double> DescriptivesDict::value(const QString& key) const
{
    for (const Entry& e : kEntries)
        if (key == QLatin1String(e.key))
            return this->*e.member;
    return std::nullopt;
}

QVariantMap DescriptivesDict::toVariantMap() const
{
    QVariantMap map;
    for (const Entry& e : kEntries) {
        const std::optional<double>& v = this->*e.member;
        map.insert(QLatin1String(e.key), v ? QVariant(*v) : QVariant());
    }
    return map;
}
