#pragma once
// The print info of a document as a Qt page layout: the paper and its orientation, the
// paper's unprintable border as the minimum margins (they leave the imageable area) and the
// margins printed within.
#include "platform/Geometry.h"
#include <QPageLayout>

namespace PrintInfo {
// The imageable rectangle of the paper, origin at the lower left (points).
Rect imageablePageBounds(const QPageLayout& layout);
// Whether two print infos are the same: paper size and orientation, imageable area and
// margins, each exactly, in points. A paper's name and the units of the layout do not count.
bool same(const QPageLayout& a, const QPageLayout& b);
// layout in points with margins that leave exactly its imageable rectangle.
QPageLayout withMarginsAtImageable(QPageLayout layout);
}
