#pragma once
// A stepper: up and down arrows over an integer value. A click changes the value and sends
// the action; setting the value from code sends nothing.
#include <QSpinBox>
#include <functional>

class MyStepper : public QSpinBox {
    Q_OBJECT
public:
    explicit MyStepper(QWidget* parent = nullptr);

    int integerValue() const { return value(); }
    void setIntegerValue(int v);
    std::function<void()> action;

    void stepBy(int steps) override;
};
