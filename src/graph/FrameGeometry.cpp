#include "graph/FrameGeometry.h"
#include "views/GraphItem.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace FrameGeometry {

qsizetype columnCount(const QVector<qsizetype>& counts)
{
    qsizetype p = 1;
    for (qsizetype c : counts)
        p *= std::max<qsizetype>(c, 0);
    return p;
}

QVector<double> horizontalGaps(const QVector<double>& gaps, const QVector<qsizetype>& counts)
{
    const qsizetype n = std::min(gaps.size(), counts.size());
    if (n == 0)
        return {};
    const qsizetype p = columnCount(counts.mid(0, n));
    QVector<double> out(p, 0.0);
    // Block sizes as products of the inner counts: a level without represents leaves no
    // columns instead of dividing by zero.
    QVector<qsizetype> block(n);
    qsizetype d = 1;
    for (qsizetype k = n - 1; k >= 0; --k) {
        d *= std::max<qsizetype>(counts[k], 0);
        block[k] = d;
    }
    for (qsizetype k = n - 1; k >= 0; --k) {
        if (block[k] == 0)
            continue;
        for (qsizetype j = 0; j < p; j += block[k])
            out[j] = gaps[k];
    }
    out.append(gaps[0]);
    return out;
}

std::optional<GraphRectLayout> graphRect(const QVector<double>& horizontalGaps, double lineWidth, double height,
                                         std::optional<double> columnWidth, double graphRectWidth)
{
    if (horizontalGaps.isEmpty())
        return std::nullopt;
    const qsizetype p = horizontalGaps.size() - 1;
    double sum = 0.0;
    for (double g : horizontalGaps)
        sum += g;
    double width = 0, cw = 0;
    if (columnWidth) {
        cw = *columnWidth;
        width = sum + double(p) * cw;
    } else {
        width = graphRectWidth;
        cw = (width - sum) / double(p);
    }
    GraphRectLayout out;
    double a = 0.0;
    out.baseXs.reserve(p);
    for (qsizetype i = 0; i < p; ++i) {
        a += horizontalGaps[i];
        out.baseXs.append((double(i) + 0.5) * cw + a);
    }
    out.graphRect = Rect(0, 0, width, height);
    // Room for the outer half of a wide stroke, never less than the selection frame needs.
    const double m = lineWidth > 12 ? lineWidth * 0.5 : 6;
    out.frame = Rect(-m, -m, width + 2 * m, height + 2 * m);
    out.rGraphRect = Rect(-lineWidth / 2, -lineWidth / 2, width + lineWidth, height + lineWidth);
    return out;
}

AxisLayout xAxis(double width, const QVector<double>& baseXs, double axisWidth, double tickLength, double tickWidth)
{
    AxisLayout out;
    out.extent = Rect(0, -tickLength, width, axisWidth / 2 + tickLength);
    out.frame = Rect(-0.5, -2 - tickLength, width + 1, axisWidth / 2 + tickLength + 2);
    if (axisWidth > 0)
        out.lines.append({{0, 0}, {width, 0}, axisWidth});
    if (tickLength > 0 && tickWidth > 0) {
        for (double x : baseXs)
            out.lines.append({{x, 0}, {0, -tickLength}, tickWidth});
    }
    return out;
}

std::optional<double> tickY(double value, double min, double max, bool logarithmic, double height)
{
    const double y = logarithmic
        ? (std::log10(value) - std::log10(min)) * height / (std::log10(max) - std::log10(min))
        : (value - min) * height / (max - min);
    if (!GraphItem::placeable(y))
        return std::nullopt;
    return y;
}

std::optional<double> axisFraction(double value, double min, double max, bool logarithmic)
{
    const double p = logarithmic ? (std::log10(value) - std::log10(min)) / (std::log10(max) - std::log10(min))
                                 : (value - min) / (max - min);
    if (!std::isfinite(p))
        return std::nullopt;
    return p;
}

AxisLayout yAxis(double height, double axisWidth, double tickLength, double tickWidth, const QVector<double>& values,
                 double min, double max, bool logarithmic)
{
    AxisLayout out;
    out.extent = Rect(-tickLength, -tickWidth / 2, tickLength + axisWidth / 2, height + tickWidth);
    out.frame = Rect(-tickLength - 2, -tickWidth / 2, tickLength + axisWidth / 2 + 2, height + tickWidth);
    if (axisWidth > 0)
        out.lines.append({{0, 0}, {0, height}, axisWidth});
    if (tickLength > 0 && tickWidth > 0) {
        for (double v : values) {
            // A value without a place (not finite, or far off) gets no tick rather than a broken path.
            if (const auto y = tickY(v, min, max, logarithmic, height))
                out.lines.append({{0, *y}, {-tickLength, 0}, tickWidth});
        }
    }
    return out;
}

std::optional<Rect> scaleTextFrame(double value, double min, double max, bool logarithmic, double graphHeight,
                                    Size size, double distance)
{
    const auto p = axisFraction(value, min, max, logarithmic);
    if (!p)
        return std::nullopt;
    const Rect frame(-size.width - distance, *p * graphHeight - 0.5 * size.height, size.width, size.height);
    if (!GraphItem::placeable(frame))
        return std::nullopt;
    return frame;
}

RowPlacement categoryRows(const QVector<double>& baseXs, double tickLength, const QVector<RowLevel>& levels)
{
    RowPlacement out;
    out.frames.resize(levels.size());
    out.bottoms.fill(std::numeric_limits<double>::quiet_NaN(), levels.size());
    double y = -tickLength;
    QVector<double> positions = baseXs;
    for (qsizetype r = 0; r < levels.size(); ++r) {
        const qsizetype li = levels.size() - 1 - r;
        const RowLevel& level = levels[li];
        double rowHeight = 0;
        for (const Size& s : level.sizes)
            rowHeight = std::max(rowHeight, s.height);
        y = y - level.verticalGap - rowHeight;
        out.bottoms[li] = y;
        const qsizetype n = level.representCount;
        out.frames[li].resize(level.sizes.size());
        if (n <= 0) {
            // Nothing to centre on: this row shows nothing and the rows below have no places.
            positions.clear();
            continue;
        }
        const qsizetype m = positions.size() / n;
        for (qsizetype j = 0; j < level.sizes.size() && j < n; ++j) {
            const Size s = level.sizes[j];
            if (s == Size{})
                continue;
            for (qsizetype k = 0; k < m; ++k) {
                const Rect frame(positions[k * n + j] - s.width / 2, y, s.width, s.height);
                out.frames[li][j].append(frame);
                out.extent = out.extent == Rect() ? frame : out.extent.united(frame);
            }
        }
        QVector<double> next;
        next.reserve(m);
        for (qsizetype i = 0; i < m; ++i) {
            double sum = 0;
            for (qsizetype j = 0; j < n; ++j)
                sum += positions[i * n + j];
            next.append(sum / double(n));
        }
        positions = next;
    }
    return out;
}

QVector<qsizetype> repetitions(const QVector<qsizetype>& counts)
{
    QVector<qsizetype> out;
    qsizetype r = 1;
    for (qsizetype c : counts) {
        out.append(r);
        r *= std::max<qsizetype>(c, 0);
    }
    return out;
}

QStringList nameTags(const QVector<QStringList>& namesPerLevel)
{
    if (namesPerLevel.isEmpty())
        return {};
    QVector<qsizetype> counts;
    for (const QStringList& names : namesPerLevel)
        counts.append(names.size());
    const qsizetype total = columnCount(counts);
    QStringList tags;
    tags.reserve(total);
    QVector<qsizetype> digits(namesPerLevel.size(), 0);
    for (qsizetype t = 0; t < total; ++t) {
        qsizetype x = t;
        for (qsizetype l = namesPerLevel.size() - 1; l >= 0; --l) {
            digits[l] = x % counts[l];
            x /= counts[l];
        }
        QString tag = namesPerLevel[0][digits[0]];
        for (qsizetype l = 1; l < namesPerLevel.size(); ++l)
            tag += u'\t' + namesPerLevel[l][digits[l]];
        tags.append(tag);
    }
    return tags;
}

double titleLeftEdge(const QVector<Rect>& scaleTextRects, double tickLength)
{
    if (scaleTextRects.isEmpty())
        return -tickLength;
    Rect u = scaleTextRects[0].united(scaleTextRects[0]);
    for (qsizetype i = 1; i < scaleTextRects.size(); ++i)
        u = u.united(scaleTextRects[i]);
    return u.origin.x;
}

TitlePlacement yTitle(Size size, double degrees, double leftEdge, double gap, double graphHeight)
{
    const double pi = 3.141592653589793;
    const double t = degrees * pi / 180;
    const double t90 = (degrees + 90) * pi / 180;
    const double w = size.width, h = size.height;
    const Point p1{h * std::cos(t90), h * std::sin(t90)};
    const Point p2{w * std::cos(t), w * std::sin(t)};
    const Point p3{p1.x + p2.x, p1.y + p2.y};
    const double minX = std::min({0.0, p1.x, p2.x, p3.x}), maxX = std::max({0.0, p1.x, p2.x, p3.x});
    const double minY = std::min({0.0, p1.y, p2.y, p3.y}), maxY = std::max({0.0, p1.y, p2.y, p3.y});
    TitlePlacement out;
    out.textRect = Rect(leftEdge - gap - maxX, 0.5 * graphHeight - 0.5 * p3.y, w, h);
    out.requiredRect = Rect(out.textRect.origin.x + minX, out.textRect.origin.y + minY, maxX - minX, maxY - minY);
    return out;
}

} // namespace FrameGeometry
