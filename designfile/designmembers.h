#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

namespace designfile {

// The MainWindow members that design files store, by key. Pointers into the window: valid
// while it lives, gathered afresh for each save and open.
struct DesignMembers
{
    QHash<QString, QString *> texts;
    QHash<QString, int *> integers;
    QHash<QString, bool *> flags;
    QHash<QString, QString *> triples; // three strings each: value, resistance, C or L
    QHash<QString, QStringList *> lists;
};

} // namespace designfile
