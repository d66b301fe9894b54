#include "windows/MyStepper.h"
#include <QLineEdit>
#include <QSignalBlocker>

MyStepper::MyStepper(QWidget* parent) : QSpinBox(parent)
{
    // One below the first position and well past the last, so that every move the user
    // asks for reaches the action, which refuses those that are not allowed.
    setRange(-1, 9999);
    setValue(0);
    setWrapping(false);
    lineEdit()->setReadOnly(true);
}

void MyStepper::setIntegerValue(int v)
{
    const QSignalBlocker blocker(this);
    setValue(v);
}

void MyStepper::stepBy(int steps)
{
    const int before = value();
    QSpinBox::stepBy(steps);
    if (value() != before && action)
        action();
}
