#include "views/PathStamps.h"
#include <QHash>
#include <algorithm>
#include <QImage>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPathStroker>
#include <cmath>
#include <vector>

namespace {
// Positions are met to an eighth of a pixel: the shift is below what the eye tells apart,
// and a style needs at most 64 stamps.
constexpr int kPhases = 8;
// Beyond this many stamps (styles × scales × positions) the cache starts again.
constexpr qsizetype kMaxStamps = 4096;
// Larger shapes (bars, boxes, dots far zoomed in) gain little from a stamp: they are drawn
// as paths.
constexpr qint64 kMaxStampPixels = 128 * 128;
// Device positions beyond this many pixels lie on no device; well within int.
constexpr double kMaxDevicePosition = 1e8;

struct Stamp {
    BezierPath path;
    QRgb fill, line;
    double m11, m22;
    int phaseX, phaseY;
    bool antialiased;
    QImage image;    // null for a shape drawn as a path
    QPoint offset;   // of the image's top left from the pixel the position falls in
};

struct Cache {
    QHash<size_t, std::vector<Stamp>> stamps;
    qsizetype count = 0;
};

Cache& cache()
{
    static Cache c;
    return c;
}

size_t pathHash(const QPainterPath& p, size_t seed)
{
    for (int i = 0; i < p.elementCount(); ++i) {
        const QPainterPath::Element e = p.elementAt(i);
        seed = qHashMulti(seed, e.x, e.y, int(e.type));
    }
    return seed;
}

QImage render(const BezierPath& path, const QColor& fill, const QColor& line, const QTransform& t, bool antialiased,
              QPoint* offset)
{
    // Ink reaches the stroke's outline; one pixel more for antialiasing.
    QRectF ink = path.painterPath().controlPointRect();
    if (line.alpha() > 0) {
        QPainterPathStroker stroker(path.pen(line));
        ink = ink.united(stroker.createStroke(path.painterPath()).controlPointRect());
    }
    // Sized in doubles first: a path far larger than a stamp would overflow int pixels.
    const QRectF mapped = t.mapRect(ink);
    if (!(mapped.width() * mapped.height() <= kMaxStampPixels))
        return QImage();
    const QRect r = mapped.toAlignedRect().adjusted(-1, -1, 1, 1);
    if (qint64(r.width()) * r.height() > kMaxStampPixels)
        return QImage();
    QImage image(r.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, antialiased);
    p.setTransform(t * QTransform::fromTranslate(-r.x(), -r.y()));
    path.fillAndStroke(&p, fill, line);
    p.end();
    *offset = r.topLeft();
    return image;
}
}

bool PathStamps::onScreen(const QPainter* painter)
{
    const QPaintDevice* device = painter->device();
    return device && device->devType() == QInternal::Widget && painter->paintEngine()
        && painter->paintEngine()->type() == QPaintEngine::Raster;
}

bool PathStamps::draw(QPainter* painter, const QTransform& world, const BezierPath& path, const QColor& fill,
                      const QColor& line)
{
    if (path.isEmpty())
        return true;
    // The painter's own mapping beyond its world transform (device pixel ratio, offset of a
    // redirected paint) counts in the device pixels the stamp is made in.
    const QTransform redirection = painter->worldTransform().inverted() * painter->deviceTransform();
    const QTransform device = world * redirection;
    const auto onDevice = [](double v) { return std::abs(v) <= kMaxDevicePosition; };
    if (!onDevice(device.dx()) || !onDevice(device.dy()) || !std::isfinite(device.m11()) || !std::isfinite(device.m22())
        || !std::isfinite(device.m12()) || !std::isfinite(device.m21()))
        return true;
    if (device.type() > QTransform::TxScale || redirection.type() > QTransform::TxScale)
        return false;
    double x = std::floor(device.dx()), y = std::floor(device.dy());
    int phaseX = int(std::lround((device.dx() - x) * kPhases)), phaseY = int(std::lround((device.dy() - y) * kPhases));
    if (phaseX == kPhases) {
        phaseX = 0;
        x += 1;
    }
    if (phaseY == kPhases) {
        phaseY = 0;
        y += 1;
    }
    const bool antialiased = painter->testRenderHint(QPainter::Antialiasing);

    Cache& c = cache();
    const size_t key = pathHash(path.painterPath(), qHashMulti(0, fill.rgba(), line.rgba(), device.m11(), device.m22(),
                                                               phaseX, phaseY, antialiased, path.lineWidth()));
    const auto same = [&](const Stamp& s) {
        return s.fill == fill.rgba() && s.line == line.rgba() && s.m11 == device.m11() && s.m22 == device.m22()
            && s.phaseX == phaseX && s.phaseY == phaseY && s.antialiased == antialiased && s.path == path;
    };
    const Stamp* stamp = nullptr;
    if (const auto found = c.stamps.constFind(key); found != c.stamps.cend())
        if (const auto it = std::find_if(found->begin(), found->end(), same); it != found->end())
            stamp = &*it;
    if (!stamp) {
        if (c.count >= kMaxStamps) {
            c.stamps.clear();
            c.count = 0;
        }
        std::vector<Stamp>& bucket = c.stamps[key];
        Stamp s{path, fill.rgba(), line.rgba(), device.m11(), device.m22(), phaseX, phaseY, antialiased, {}, {}};
        const QTransform t(device.m11(), 0, 0, device.m22(), double(phaseX) / kPhases, double(phaseY) / kPhases);
        s.image = render(path, fill, line, t, antialiased, &s.offset);
        bucket.push_back(std::move(s));
        ++c.count;
        stamp = &bucket.back();
    }
    if (stamp->image.isNull())
        return false;
    painter->setWorldTransform(redirection.inverted());
    painter->drawImage(QPointF(x + stamp->offset.x(), y + stamp->offset.y()), stamp->image);
    return true;
}
