#pragma once
// The windows' side of a graph's view manager (GraphWindowHooks): its settings changes are
// bracketed by the outlines' model changes, its rows revealed in the settings outline, its
// windows marked edited and retitled.
class MyGraphWindowHooks {
public:
    // Installs them (once, at start-up).
    static void install();
};
