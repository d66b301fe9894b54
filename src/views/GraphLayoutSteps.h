#pragma once
// What the view manager's layout driver and view tree need of the graph generator: the
// step bits and the thirteen layout steps, in the order the driver runs them. The graph
// generator (src/graph) implements it; the application delegate holds the one instance.
// Every step writes what it computes into the given view manager and keeps nothing.
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantMap>
#include <QVector>

class MyConfigRootItem;
class MySimpleTextView;
class MyViewManager;
class TextContainer;
class TextStorage;

// The containers of a text's views and the views, in the order the views were made.
struct ContainersAndViews {
    QList<TextContainer*> containers;
    QList<MySimpleTextView*> views;
};

class GraphLayoutSteps {
public:
    virtual ~GraphLayoutSteps();

    // Step key to bit (signed 64-bit), from the "configIndexDict" of configRes.plist. A
    // step runs when its bit and the changed row's step mask share a set bit.
    QHash<QString, qint64> configIndexDict;
    // Fills configIndexDict from the description resource's dictionary (integers only).
    void setConfigIndexDict(const QVariantMap& dict);
    // The bit of a key; 0 (never runs) for a key the table lacks.
    qint64 flagOf(const QString& key) const { return configIndexDict.value(key, 0); }

    // The driver's steps, in its order.
    virtual void backgroundWithSettings(const QVariantMap& settings, MyViewManager* viewManager) = 0;
    virtual void horizontalGapsWithSettings(const QVariantMap& settings, MyViewManager* viewManager) = 0;
    virtual void graphRectWithSettings(const QVariantMap& settings, MyViewManager* viewManager) = 0;
    virtual void xAxisWithSettings(const QVariantMap& settings, MyViewManager* viewManager) = 0;
    virtual void xTextsWithSetIndex(qint64 setIndex, const QVariantMap& setttings, MyConfigRootItem* rootItem,
                                    MyViewManager* viewManager, const QVector<qint64>& indexes) = 0;
    virtual void nameTagsWithSetttings(const QVariantMap& setttings, MyViewManager* viewManager) = 0;
    virtual void xTextsRectWithSetttings(const QVariantMap& setttings, MyViewManager* viewManager) = 0;
    virtual void yAxisWithSettings(const QVariantMap& settings, MyViewManager* viewManager) = 0;
    virtual void scaleTextsWithSettings(const QVariantMap& settings, MyConfigRootItem* rootItem,
                                        MyViewManager* viewManager, const QStringList& keys,
                                        const QVector<qint64>& indexes) = 0;
    virtual void scaleTextRectsWithSettings(const QVariantMap& settings, MyConfigRootItem* rootItem,
                                            MyViewManager* viewManager) = 0;
    virtual void yTitleTextWithSettings(const QVariantMap& settings, MyConfigRootItem* rootItem,
                                        MyViewManager* viewManager) = 0;
    virtual void yTitleTextRectWithSettings(const QVariantMap& settings, MyViewManager* viewManager) = 0;
    // Always run last: the dot plot for the graph type "scatter", the boxplot otherwise.
    virtual void setScatterWithSetIndex(qint64 setIndex, const QStringList& keys, const QVector<qint64>& indexes,
                                        const QVariantMap& settings, MyConfigRootItem* rootItem,
                                        MyViewManager* viewManager) = 0;
    virtual void setBoxWithSetIndex(qint64 setIndex, const QStringList& keys, const QVector<qint64>& indexes,
                                    const QVariantMap& settings, MyConfigRootItem* rootItem,
                                    MyViewManager* viewManager) = 0;

    // The containers and views of a text (the view tree takes its text views from here).
    virtual ContainersAndViews containersAndViewsWithTextStorage(TextStorage* textStorage) const;
};
