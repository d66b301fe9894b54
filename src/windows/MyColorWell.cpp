#include "windows/MyColorWell.h"
#include "platform/Dialogs.h"
#include <QPainter>

MyColorWell::MyColorWell(QWidget* parent) : QAbstractButton(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    connect(this, &QAbstractButton::clicked, this, &MyColorWell::choose);
}

void MyColorWell::setColor(const Color& color)
{
    m_color = color;
    update();
}

void MyColorWell::activate(bool)
{
    m_active = true;
    update();
}

void MyColorWell::deactivate()
{
    m_active = false;
    update();
}

QSize MyColorWell::sizeHint() const
{
    return QSize(44, 24);
}

void MyColorWell::choose()
{
    const std::optional<Color> chosen = Dialogs::current().chooseColor(m_color);
    if (!chosen)
        return;
    setColor(*chosen);
    if (action)
        action();
}

void MyColorWell::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QRect frame = rect().adjusted(1, 1, -2, -2);
    p.setPen(QPen(m_active ? palette().highlight().color() : palette().mid().color(), m_active ? 2 : 1));
    p.setBrush(palette().button());
    p.drawRect(frame);
    // A colour with opacity shows over a checkerboard.
    const QRect swatch = frame.adjusted(4, 4, -3, -3);
    for (int y = swatch.top(); y <= swatch.bottom(); y += 6)
        for (int x = swatch.left(); x <= swatch.right(); x += 6)
            p.fillRect(QRect(x, y, 6, 6).intersected(swatch), ((x - swatch.left()) / 6 + (y - swatch.top()) / 6) % 2 ? Qt::lightGray : Qt::white);
    p.fillRect(swatch, m_color.toQColor());
}
