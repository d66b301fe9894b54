#include "platform/UndoBridge.h"

#include <QUndoCommand>

class UndoBridgeCommand : public QUndoCommand {
public:
    UndoBridgeCommand(UndoBridge* bridge, const QString& name, std::function<void(int)> step, bool done)
        : QUndoCommand(name), m_bridge(bridge), m_step(std::move(step)), m_skipNextRedo(done)
    {
    }
    void redo() override { run(+1); }
    void undo() override { run(-1); }

private:
    void run(int step)
    {
        const bool wasEdited = m_bridge->isEdited();
        m_bridge->m_changeCount += step;
        if (m_skipNextRedo && step > 0) {
            m_skipNextRedo = false;
        } else if (m_step) {
            m_bridge->m_inStep = true;
            m_step(step);
            m_bridge->m_inStep = false;
        }
        if (wasEdited != m_bridge->isEdited())
            emit m_bridge->editedChanged(m_bridge->isEdited());
        emit m_bridge->changed();
    }

    UndoBridge* m_bridge;
    std::function<void(int)> m_step;
    bool m_skipNextRedo;
};

UndoBridge::UndoBridge(QObject* parent) : QObject(parent) {}

void UndoBridge::push(const QString& actionName, std::function<void(int step)> step)
{
    pushCommand(actionName, std::move(step), false);
}

void UndoBridge::pushDone(const QString& actionName, std::function<void(int step)> step)
{
    pushCommand(actionName, std::move(step), true);
}

void UndoBridge::pushCommand(const QString& actionName, std::function<void(int step)> step, bool done)
{
    if (m_inStep)
        return;
    m_stack.push(new UndoBridgeCommand(this, actionName, std::move(step), done));
}

void UndoBridge::clear()
{
    // A running step cannot delete its own command: clear once it has returned.
    if (m_inStep) {
        QMetaObject::invokeMethod(this, &UndoBridge::clear, Qt::QueuedConnection);
        return;
    }
    m_stack.clear();
    emit changed();
}

void UndoBridge::markSaved() { setChangeCount(0); }

void UndoBridge::setChangeCount(int count) { bump(count - m_changeCount); }

void UndoBridge::bump(int delta)
{
    const bool wasEdited = isEdited();
    m_changeCount += delta;
    if (wasEdited != isEdited())
        emit editedChanged(isEdited());
    emit changed();
}

QString UndoBridge::undoText() const
{
    const QString name = m_stack.undoText();
    return name.isEmpty() ? QStringLiteral("Undo") : QStringLiteral("Undo ") + name;
}

QString UndoBridge::redoText() const
{
    const QString name = m_stack.redoText();
    return name.isEmpty() ? QStringLiteral("Redo") : QStringLiteral("Redo ") + name;
}
