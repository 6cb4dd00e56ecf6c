#include "app/resources.h"

#include <QtGlobal>

void initAmpwrightResources()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    Q_INIT_RESOURCE(images);
    Q_INIT_RESOURCE(tables);
    Q_INIT_RESOURCE(examples);
}
