#include "views/GraphLayoutSteps.h"
#include "views/MySimpleTextView.h"
#include "views/TextStorage.h"

GraphLayoutSteps::~GraphLayoutSteps() = default;

void GraphLayoutSteps::setConfigIndexDict(const QVariantMap& dict)
{
    configIndexDict.clear();
    for (auto it = dict.cbegin(); it != dict.cend(); ++it) {
        bool ok = false;
        const qint64 flag = it.value().toLongLong(&ok);
        if (ok)
            configIndexDict.insert(it.key(), flag);
    }
}

ContainersAndViews GraphLayoutSteps::containersAndViewsWithTextStorage(TextStorage* textStorage) const
{
    ContainersAndViews out;
    if (!textStorage)
        return out;
    for (TextContainer* container : textStorage->textContainers()) {
        out.containers << container;
        out.views << container->textView();
    }
    return out;
}
