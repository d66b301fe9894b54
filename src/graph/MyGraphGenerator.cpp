#include "graph/MyGraphGenerator.h"
#include "graph/DotShapes.h"
#include "graph/TextMarkup.h"
#include "platform/Font72.h"
#include "views/GraphItem.h"
#include "views/MyStorageItem.h"
#include "views/MySimpleTextView.h"
#include "views/MyTextView.h"
#include "views/TextStorage.h"

#include <QPainterPath>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>
#include <cmath>
#include <limits>

const QString MyGraphGenerator::kScaleText = QStringLiteral("graphProperties\tyAxis\tscaleText");
const QString MyGraphGenerator::kYTitle = QStringLiteral("graphProperties\tyAxis\tyTitle");

namespace {

// The raise of a script run in points, kept beside Qt's own offset (a share of the run's
// font height) so that the text says what it was given.
constexpr int kBaselineOffsetPoints = QTextFormat::UserProperty + 1;

// Graph texts are measured within this width; longer lines wrap.
constexpr double kTextBound = 300.0;

FontSpec fontOf(const TextAttributes& attributes) { return attributes.font.value_or(FontSpec{}); }

// The ink of a text in font, y up from the baseline, x from the pen's start.
Rect inkBounds(const QFont& font, const QString& text)
{
    QPainterPath path;
    path.addText(0, 0, font, text);
    const QRectF r = path.boundingRect();
    return Rect(r.left(), -r.bottom(), r.width(), r.height());
}

} // namespace

// The value settings check reads scale texts as the graph shows them while a generator exists.
MyGraphGenerator::MyGraphGenerator() : translucent(QColor::fromRgbF(1, 1, 1, 0))
{
    ScaleTextRules::install(scaleTextRules());
}

MyGraphGenerator::~MyGraphGenerator() { ScaleTextRules::install(ScaleTextRules::plain()); }

// Text markup --------------------------------------------------------------------------------

QTextCharFormat MyGraphGenerator::charFormat(const TextAttributes& attributes)
{
    QTextCharFormat format;
    if (attributes.font)
        format.setFont(Font72::font(*attributes.font), QTextCharFormat::FontPropertiesAll);
    if (attributes.color)
        format.setForeground(attributes.color->toQColor());
    return format;
}

double MyGraphGenerator::baselineOffsetOf(const QTextCharFormat& format)
{
    return format.doubleProperty(kBaselineOffsetPoints);
}

AttributedString MyGraphGenerator::plainAttributedString(const QString& text, const TextAttributes& attributes)
{
    QTextDocument doc;
    QTextCursor cursor(&doc);
    cursor.insertText(TextStorage::laidOut(text), charFormat(attributes));
    return AttributedString(&doc);
}

AttributedString MyGraphGenerator::attributedStringFromString(const QString& text,
                                                              const TextAttributes& attributes) const
{
    const QTextCharFormat plain = charFormat(attributes);
    const FontSpec spec = fontOf(attributes);
    const double p = spec.size;
    FontSpec scriptSpec = spec;
    scriptSpec.size = 2 * p / 3;
    const QFont scriptFont = Font72::font(scriptSpec);
    const double scriptHeight = Font72::metrics(scriptFont).height();
    auto script = [&](double offset) {
        QTextCharFormat f = plain;
        f.setFont(scriptFont, QTextCharFormat::FontPropertiesAll);
        f.setProperty(kBaselineOffsetPoints, offset);
        if (scriptHeight > 0)
            f.setBaselineOffset(offset / scriptHeight * 100.0);
        return f;
    };
    const QTextCharFormat superscript = script(p / 3);
    const QTextCharFormat subscript = script(p / -6);

    QTextDocument doc;
    QTextCursor cursor(&doc);
    for (const TextMarkup::Run& run : TextMarkup::runs(TextStorage::laidOut(text))) {
        if (run.text.isEmpty())
            continue;
        switch (run.script) {
        case TextMarkup::Script::Plain: cursor.insertText(run.text, plain); break;
        case TextMarkup::Script::Superscript: cursor.insertText(run.text, superscript); break;
        case TextMarkup::Script::Subscript: cursor.insertText(run.text, subscript); break;
        }
    }
    return AttributedString(&doc);
}

double MyGraphGenerator::doubleFromString(const QString& text) const { return TextMarkup::doubleFromString(text); }

qint64 MyGraphGenerator::precisionString(const QString& text) const { return TextMarkup::precisionString(text); }

ScaleTextRules MyGraphGenerator::scaleTextRules()
{
    ScaleTextRules rules;
    rules.valueOf = [](const QString& t) { return TextMarkup::doubleFromString(t); };
    rules.precisionOf = [](const QString& t) {
        const qint64 p = TextMarkup::precisionString(t);
        return int(std::clamp<qint64>(p, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
    };
    rules.showsText = [](const QString& t) { return !TextMarkup::shownText(TextMarkup::runs(t)).isEmpty(); };
    return rules;
}

// Paths and view placement ---------------------------------------------------------------------

BezierPath MyGraphGenerator::lineBezier(const Point& start, const Point& end, double lineWidth) const
{
    BezierPath path;
    path.moveToPoint(start);
    path.relativeLineToPoint(end);
    path.setLineWidth(lineWidth);
    return path;
}

std::pair<BezierPath, Rect> MyGraphGenerator::dotBezierPath(qint64 dotType, double size, double lineWidth) const
{
    const DotShape shape = DotShape::make(dotType, size, lineWidth);
    BezierPath path;
    if (shape.kind == DotShape::Oval) {
        path.appendBezierPathWithOvalInRect(shape.oval);
    } else if (shape.kind == DotShape::Polygon) {
        path.moveToPoint(shape.corners.first());
        for (qsizetype i = 1; i < shape.corners.size(); ++i)
            path.lineToPoint(shape.corners[i]);
        path.lineToPoint(shape.corners.first());
        path.closePath();
    }
    path.setLineWidth(lineWidth);
    return {path, shape.rect};
}

std::pair<AttributedString, Rect> MyGraphGenerator::glyphDotStorage(const QString& wholeKey,
                                                                    const TextAttributes& attributes, double size) const
{
    const QString key = TextStorage::laidOut(wholeKey);
    const FontSpec spec = fontOf(attributes);
    const Rect b0 = inkBounds(Font72::font(spec), key);
    const double m = b0.height() < b0.width() ? b0.width() : b0.height();
    if (!(m > 0) || !(size > 0) || key.isEmpty())
        return {AttributedString(), Rect()};
    TextAttributes scaled = attributes;
    FontSpec spec2 = spec;
    spec2.size = spec.size * size / m;
    scaled.font = spec2;
    const QFont font2 = Font72::font(spec2);
    const Rect b1 = inkBounds(font2, key);
    const AttributedString text = plainAttributedString(key, scaled);

    // Measured as its view lays it out: the text hangs from the view's top edge, so the
    // baseline lies one line ascent below it. The rect puts the ink's middle on the origin.
    TextStorage storage;
    setAttributedString(&storage, text);
    const Size t = measuredSize(&storage);
    storage.setTextWidth(kTextBound);
    const QTextLayout* layout = storage.firstBlock().layout();
    const double ascent = layout && layout->lineCount() > 0 ? layout->lineAt(0).ascent()
                                                            : Font72::metrics(font2).ascent();
    const double y = -t.height + ascent - b1.origin.y - b1.height() / 2;
    return {text, Rect(-t.width / 2, y, t.width, t.height)};
}

void MyGraphGenerator::setSimpleView(GraphItem* view, const Rect& frameRect, const Point& boundOrigin) const
{
    view->setFrame(frameRect);
    view->setBoundsOrigin(boundOrigin);
    view->setNeedsDisplay(true);
}

Rect MyGraphGenerator::rectSimpleView(GraphItem* view, const Size& size, const Point& boundOrigin,
                                      const Point& offset) const
{
    const Rect old = view->frame();
    const Rect frame(Point{old.origin.x + offset.x, old.origin.y + offset.y}, size);
    view->setFrame(frame);
    view->setBoundsOrigin(boundOrigin);
    view->setNeedsDisplay(true);
    return frame;
}

// Text storages, containers and text views ---------------------------------------------------------

Rect MyGraphGenerator::viewRectWithTextViews(const QList<MySimpleTextView*>& textViews, const Size& size,
                                             const Point& offset) const
{
    if (textViews.isEmpty())
        return Rect();
    Rect u = textViews.first()->frame();
    for (MySimpleTextView* view : textViews) {
        const Rect old = view->frame();
        const Rect frame(Point{old.origin.x + offset.x, old.origin.y + offset.y}, size);
        view->setFrame(frame);
        u = u.united(frame);
    }
    return u;
}

void MyGraphGenerator::setCountainers(const QList<TextContainer*>& containers, const QList<MySimpleTextView*>& textViews,
                                      const Rect& newRect) const
{
    for (TextContainer* container : containers)
        container->setContainerSize(newRect.size);
    for (MySimpleTextView* view : textViews) {
        view->setFrame(Rect(view->frame().origin, newRect.size));
        view->setNeedsDisplay(true);
    }
}

Size MyGraphGenerator::sizeWithStorageItem(MyStorageItem* item) const
{
    item->visible = true;
    if (!item->textStorage)
        return Size();
    const ContainersAndViews cv = containersAndViewsWithTextStorage(item->textStorage);
    const Size size = measuredSize(item->textStorage);
    setCountainers(cv.containers, cv.views, Rect(Point(), size));
    return size;
}

void MyGraphGenerator::setContainersAndViewsWithTextStorage(TextStorage* textStorage) const
{
    if (!textStorage)
        return;
    const ContainersAndViews cv = containersAndViewsWithTextStorage(textStorage);
    setCountainers(cv.containers, cv.views, Rect(Point(), measuredSize(textStorage)));
}

Size MyGraphGenerator::measuredSize(TextStorage* textStorage) { return textStorage->boundingSize(kTextBound); }

void MyGraphGenerator::setAttributedString(TextStorage* textStorage, const AttributedString& text)
{
    textStorage->clear();
    QTextCursor cursor(textStorage);
    cursor.insertFragment(text);
}

TextStorage* MyGraphGenerator::newTextStorage(MyViewManager* viewManager, const AttributedString& text)
{
    auto* storage = new TextStorage(viewManager);
    setAttributedString(storage, text);
    return storage;
}

MyTextView* MyGraphGenerator::firstTextView(const MyStorageItem& item)
{
    if (!item.textStorage || item.textStorage->textContainers().isEmpty())
        return nullptr;
    return dynamic_cast<MyTextView*>(item.textStorage->textContainers().first()->textView());
}
