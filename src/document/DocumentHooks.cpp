#include "document/DocumentHooks.h"

DocumentHooks& DocumentHooks::shared()
{
    static DocumentHooks hooks;
    return hooks;
}
