#pragma once
// The graph generator: turns a graph's settings into views, frames, paths, colours and
// texts written into the graph's view manager. One instance serves every graph; it keeps
// no per-graph state. The layout steps are implemented in files by family (frame and axes,
// texts, dot plot, boxplot); this header holds the step table and the helpers they share.
#include "analysis/MyValueSettingsCheck.h"
#include "platform/Geometry.h"
#include "platform/KeyedArchive.h"
#include "views/BezierPath.h"
#include "views/GraphLayoutSteps.h"
#include "views/MyViewManager.h"
#include <QColor>
#include <QList>
#include <QTextCharFormat>
#include <optional>
#include <utility>

class GraphItem;
class MyStorageItem;
class MyTextView;

class MyGraphGenerator : public GraphLayoutSteps {
public:
    MyGraphGenerator();
    ~MyGraphGenerator() override;

    // Fully transparent white: the stroke of a graph rectangle without a line.
    const QColor translucent;

    // Text markup -------------------------------------------------------------------------

    // The text with "^" raised and "_" lowered runs (two thirds of the size, raised by a
    // third or lowered by a sixth of it) and "\times" / "\ast" shown as signs, in the given
    // attributes. A group left open shows nothing.
    AttributedString attributedStringFromString(const QString& text, const TextAttributes& attributes) const;
    // A text as it stands, in the given attributes.
    static AttributedString plainAttributedString(const QString& text, const TextAttributes& attributes);
    // The character format of attributes: the font laid out at 72 dpi and the colour.
    static QTextCharFormat charFormat(const TextAttributes& attributes);
    // The baseline offset in points that a format of attributedStringFromString carries.
    static double baselineOffsetOf(const QTextCharFormat& format);

    // Scale number texts.
    double doubleFromString(const QString& text) const;
    qint64 precisionString(const QString& text) const;
    // The rules by which the value settings check reads scale texts: these two, and a text
    // shows something when its markup leaves any character.
    static ScaleTextRules scaleTextRules();

    // Paths and view placement ----------------------------------------------------------

    // A line from start to start + end, lineWidth wide.
    BezierPath lineBezier(const Point& start, const Point& end, double lineWidth) const;
    // The outline of a shape dot of the type centred on the origin, and its nominal rect.
    std::pair<BezierPath, Rect> dotBezierPath(qint64 dotType, double size, double lineWidth) const;
    // A glyph dot: the key text in the attributes at the size that makes its glyph `size`
    // points on its longer side, and the rect its view takes (centred on the origin).
    // An empty text and the zero rect when the glyph has no ink.
    std::pair<AttributedString, Rect> glyphDotStorage(const QString& key, const TextAttributes& attributes,
                                                      double size) const;
    // New frame and bounds origin, redrawn.
    void setSimpleView(GraphItem* view, const Rect& frameRect, const Point& boundOrigin) const;
    // The frame moved by offset and given size, the bounds origin set; returns the frame.
    Rect rectSimpleView(GraphItem* view, const Size& size, const Point& boundOrigin, const Point& offset) const;

    // Text storages, containers and text views ---------------------------------------------

    // Moves every view by offset and gives it size; the union of the new frames and the
    // first view's old frame (the zero rect without views).
    Rect viewRectWithTextViews(const QList<MySimpleTextView*>& textViews, const Size& size, const Point& offset) const;
    // Gives every container and view the size of newRect; views keep their origins.
    void setCountainers(const QList<TextContainer*>& containers, const QList<MySimpleTextView*>& textViews,
                        const Rect& newRect) const;
    // Shows the record and sizes its containers and views to its measured text.
    Size sizeWithStorageItem(MyStorageItem* item) const;
    void setContainersAndViewsWithTextStorage(TextStorage* textStorage) const;
    // The size of a graph text laid out within 300 points (longer lines wrap).
    static Size measuredSize(TextStorage* textStorage);
    // Replaces the whole text of a storage.
    static void setAttributedString(TextStorage* textStorage, const AttributedString& text);
    // A new storage holding text, owned by the view manager.
    static TextStorage* newTextStorage(MyViewManager* viewManager, const AttributedString& text);
    // The editable text view of a record: the first container's view.
    static MyTextView* firstTextView(const MyStorageItem& item);

    // Layout steps: frame and axes -----------------------------------------------------------

    void backgroundWithSettings(const QVariantMap& settings, MyViewManager* viewManager) override;
    void horizontalGapsWithSettings(const QVariantMap& settings, MyViewManager* viewManager) override;
    void graphRectWithSettings(const QVariantMap& settings, MyViewManager* viewManager) override;
    void xAxisWithSettings(const QVariantMap& settings, MyViewManager* viewManager) override;
    void xTextsWithSetIndex(qint64 setIndex, const QVariantMap& setttings, MyConfigRootItem* rootItem,
                            MyViewManager* viewManager, const QVector<qint64>& indexes) override;
    void nameTagsWithSetttings(const QVariantMap& setttings, MyViewManager* viewManager) override;
    void xTextsRectWithSetttings(const QVariantMap& setttings, MyViewManager* viewManager) override;
    void yAxisWithSettings(const QVariantMap& settings, MyViewManager* viewManager) override;
    void scaleTextsWithSettings(const QVariantMap& settings, MyConfigRootItem* rootItem, MyViewManager* viewManager,
                                const QStringList& keys, const QVector<qint64>& indexes) override;
    void scaleTextRectsWithSettings(const QVariantMap& settings, MyConfigRootItem* rootItem,
                                    MyViewManager* viewManager) override;
    void yTitleTextWithSettings(const QVariantMap& settings, MyConfigRootItem* rootItem,
                                MyViewManager* viewManager) override;
    void yTitleTextRectWithSettings(const QVariantMap& settings, MyViewManager* viewManager) override;

    // Layout steps: dot plot and boxplot ------------------------------------------------------

    void setScatterWithSetIndex(qint64 setIndex, const QStringList& keys, const QVector<qint64>& indexes,
                                const QVariantMap& settings, MyConfigRootItem* rootItem,
                                MyViewManager* viewManager) override;
    void setBoxWithSetIndex(qint64 setIndex, const QStringList& keys, const QVector<qint64>& indexes,
                            const QVariantMap& settings, MyConfigRootItem* rootItem,
                            MyViewManager* viewManager) override;

    // Dot plot (MyGraphGeneratorDots.cpp): a series' look, its dots placed in lanes, the
    // dots views of its columns, the mean or median bars.
    void dotObjectWithSettings(const QVariantMap& settings, const QString& dotName, qsizetype dotIndex,
                               qint64 setIndex, MyConfigRootItem* rootItem, MyViewManager* viewManager);
    void dotRectWithSettings(const QVariantMap& settings, const QVariantMap& dotDict, qint64 dotType,
                             const QString& dotName, qsizetype dotIndex, qsizetype numOfTypes, qint64 setIndex,
                             MyConfigRootItem* rootItem, MyViewManager* viewManager);
    // The name tags of columns reaching outside the graph rectangle are added to outside;
    // the dot-plot step tells the user once, after the pass.
    void dotsViewWithSettings(const QVariantMap& settings, qsizetype dotID, MyViewManager* viewManager,
                              QStringList* outside = nullptr);
    void barObjectsWithSettings(const QVariantMap& settings, MyViewManager* viewManager);
    void barRectsWithSettings(const QVariantMap& settings, MyViewManager* viewManager);

    // Boxplot (MyGraphGeneratorBoxes.cpp): boxes, whiskers, min/max marks and outlier dots of
    // a series, the containers of its boxes, the median lines of all boxes. names are the
    // series names of the settings (PlotSteps::seriesNames), read once per pass.
    void boxesWithSettings(const QHash<QString, BoxValuesDict>& boxValues, bool logarithmic,
                           const QVariantMap& settings, const QVector<std::optional<QString>>& names,
                           qsizetype seriesIndex, MyConfigRootItem* rootItem,
                           MyViewManager* viewManager, double boxWidth, double axisMin, double scale);
    void boxesViewWithSettings(const QVariantMap& settings, qsizetype boxID, MyViewManager* viewManager);
    void medianLinesWithSettings(const QHash<QString, BoxValuesDict>& boxValues, const QVariantMap& settings,
                                 MyViewManager* viewManager, double boxWidth, double axisMin, double scale);

    // Names of graph texts.
    static const QString kScaleText;   // "graphProperties\tyAxis\tscaleText", every scale text
    static const QString kYTitle;      // "graphProperties\tyAxis\tyTitle"
};
