#pragma once
// One undo stack per document. A change registers a step function: redo() calls it with +1,
// undo() with -1; push() runs the first redo. The document's edited state is a change
// counter of its own (do/redo +1, undo -1, explicit save 0), not the stack's clean flag.
// The counter moves before the step runs, so a step that reads isEdited() sees the state
// it leaves behind. A push made while a step runs is ignored: the running command already
// is its own inverse, and pushing would delete it from under itself.
#include <QObject>
#include <QString>
#include <QUndoStack>
#include <functional>

class UndoBridge : public QObject {
    Q_OBJECT
public:
    explicit UndoBridge(QObject* parent = nullptr);

    QUndoStack* stack() { return &m_stack; }

    // Pushes an undoable step named actionName ("Undo <actionName>" in the menu).
    // step(+1) runs now and on every redo, step(-1) on every undo.
    void push(const QString& actionName, std::function<void(int step)> step);
    // Like push, but the step is already done: only undo/redo call step.
    void pushDone(const QString& actionName, std::function<void(int step)> step);

    // Removes every undo and redo step; the change counter stays. Asked from a running
    // step, it happens when control is back in the event loop.
    void clear();
    // The change counter.
    int changeCount() const { return m_changeCount; }
    bool isEdited() const { return m_changeCount != 0; }
    // An explicit save: counter 0.
    void markSaved();
    // Sets the counter directly (for a step that must stay edited whatever undo does).
    void setChangeCount(int count);
    // A change that has no undo step of its own: counter +1.
    void changeDone() { bump(+1); }

    bool canUndo() const { return m_stack.canUndo(); }
    bool canRedo() const { return m_stack.canRedo(); }
    QString undoText() const;   // "Undo <name>" or "Undo"
    QString redoText() const;   // "Redo <name>" or "Redo"
    void undo() { m_stack.undo(); }
    void redo() { m_stack.redo(); }

signals:
    void editedChanged(bool edited);
    void changed();

private:
    friend class UndoBridgeCommand;
    void bump(int delta);
    void pushCommand(const QString& actionName, std::function<void(int step)> step, bool done);
    QUndoStack m_stack;
    int m_changeCount = 0;
    bool m_inStep = false;
};
