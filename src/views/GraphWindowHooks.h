#pragma once
// What a graph's view manager needs of the windows around it: the settings outline of the
// graph window, the selector outline of the main window, the windows' edited marks and
// titles, and the font panel. The window subsystem installs these at start-up; an empty hook
// is skipped (the graph itself is always brought up to date).
#include "platform/KeyedArchive.h"
#include <QList>
#include <functional>

class Document;
class MyConfigItem;
class MyWindowController;

struct GraphWindowHooks {
    // Runs change, which changes the settings tree of the graph window's controller, while
    // its settings outline has let go of its rows; the outline reads the tree again after
    // it, keeping the rows that stay open and the selected row.
    std::function<void(MyWindowController* graphCont, const std::function<void()>& change)> changeSettingsTree;
    // The same for the selector tree of the main window's controller.
    std::function<void(MyWindowController* mainCont, const std::function<void()>& change)> changeSelectorTree;
    // Expands every row of chain in the graph window's settings outline, top level first,
    // then makes the last row the whole selection, without scrolling.
    std::function<void(MyWindowController* graphCont, const QList<MyConfigItem*>& chain)> revealRow;
    // Sets the edited mark of a controller's window.
    std::function<void(MyWindowController* cont, bool edited)> setDocumentEdited;
    // Renews the title of every window of the document.
    std::function<void(Document& doc)> synchronizeWindowTitles;
    // The font panel shows these attributes and their font as the selection.
    std::function<void(const TextAttributes& attributes)> setSelectedAttributes;
    // A graph's settings have moved to another snapshot (an edit, its undo or its redo):
    // what else shows them (the statistics window) follows.
    std::function<void(Document& doc, qint64 graphID)> graphSettingsChanged;

    // The process-wide set.
    static GraphWindowHooks& shared();

    // Each runs its hook when installed; the two tree changes run change in any case.
    static void inSettingsTreeChange(MyWindowController* graphCont, const std::function<void()>& change);
    static void inSelectorTreeChange(MyWindowController* mainCont, const std::function<void()>& change);
};
