#include "platform/PrintInfo.h"
#include <QRectF>
#include <QSizeF>

namespace {
QPageLayout inPoints(QPageLayout layout)
{
    layout.setUnits(QPageLayout::Point);
    return layout;
}

// Exactly: Qt's own comparison of margins allows a relative error.
bool sameMargins(const QMarginsF& x, const QMarginsF& y)
{
    return x.left() == y.left() && x.top() == y.top() && x.right() == y.right() && x.bottom() == y.bottom();
}
}

Rect PrintInfo::imageablePageBounds(const QPageLayout& layout)
{
    // The margins asked for do not change what the printer can reach.
    const QPageLayout p = inPoints(layout);
    const QSizeF paper = p.fullRect().size();
    const QMarginsF m = p.minimumMargins();
    return Rect(m.left(), m.bottom(), paper.width() - m.left() - m.right(), paper.height() - m.top() - m.bottom());
}

bool PrintInfo::same(const QPageLayout& a, const QPageLayout& b)
{
    const QPageLayout p = inPoints(a), q = inPoints(b);
    const QSizeF ps = p.fullRect().size(), qs = q.fullRect().size();
    return ps.width() == qs.width() && ps.height() == qs.height() && p.orientation() == q.orientation()
        && sameMargins(p.minimumMargins(), q.minimumMargins()) && sameMargins(p.margins(), q.margins());
}

QPageLayout PrintInfo::withMarginsAtImageable(QPageLayout layout)
{
    // The margins that leave the imageable rectangle are the unprintable border itself.
    layout.setUnits(QPageLayout::Point);
    layout.setMargins(layout.minimumMargins());
    return layout;
}
