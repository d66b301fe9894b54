#pragma once
// The colour well of a graph window: a swatch of the selected settings row's colour. A click
// opens the colour chooser on it; the colour the user settles on is sent as the action, once
// (the chooser is modal and reports no colour on its way there).
#include "platform/KeyedArchive.h"
#include <QAbstractButton>
#include <functional>

class MyColorWell : public QAbstractButton {
    Q_OBJECT
public:
    explicit MyColorWell(QWidget* parent = nullptr);

    Color color() const { return m_color; }
    // Shows a colour; sends nothing.
    void setColor(const Color& color);
    // An active well edits the selected colour row; an inactive one the text colour of a
    // text-attribute row, or nothing.
    bool isActive() const { return m_active; }
    void activate(bool exclusive);
    void deactivate();

    // Sent after the chooser was confirmed, with color() the chosen colour.
    std::function<void()> action;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void nextCheckState() override {}

private:
    void choose();
    Color m_color = Color::gray(1.0);
    bool m_active = false;
};
