#pragma once
// Settings key paths written short for the tables of these tests: "group.key" with the
// groups below, "*" for an array element ("vs.scaleStrings.*"), a plain key for the top level.
#include <QMap>
#include <QStringList>

inline QString keyPath(const QString& written)
{
    static const QMap<QString, QString> groups{
        {"bg", "graphProperties\tbackground"}, {"rect", "graphProperties\tgraphRect"},
        {"x", "graphProperties\txAxis"}, {"y", "graphProperties\tyAxis"},
        {"bars", "graphProperties\tbars"}, {"boxes", "graphProperties\tboxes"},
        {"cat", "categoryDicts\t"}, {"entry", "categoryDicts\t\trepresents\t"},
        {"dot", "dotsProperties\t"}, {"box", "boxesProperties\t"}, {"vs", "valueSettings"}};
    QStringList parts = written.split('.');
    parts[0] = groups.value(parts[0], parts[0]);
    if (parts.last() == "*")
        parts.last().clear();
    return parts.join('\t');
}
