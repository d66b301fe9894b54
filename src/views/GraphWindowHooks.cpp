#include "views/GraphWindowHooks.h"

GraphWindowHooks& GraphWindowHooks::shared()
{
    static GraphWindowHooks hooks;
    return hooks;
}

void GraphWindowHooks::inSettingsTreeChange(MyWindowController* graphCont, const std::function<void()>& change)
{
    if (const auto& hook = shared().changeSettingsTree)
        hook(graphCont, change);
    else
        change();
}

void GraphWindowHooks::inSelectorTreeChange(MyWindowController* mainCont, const std::function<void()>& change)
{
    if (const auto& hook = shared().changeSelectorTree)
        hook(mainCont, change);
    else
        change();
}
