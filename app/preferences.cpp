#include "app/preferences.h"

#include <QFile>
#include <QTextStream>

namespace preferences {

QString readLastDesignPath(const QString &preferencesFile)
{
    QString path;
    QFile prefs(preferencesFile);
    if (prefs.open(QIODevice::ReadOnly | QIODevice::Text)) {
        QTextStream in(&prefs);
        in.setCodec("UTF-8");
        path = in.readAll();
    }
    if (path.isEmpty())
        return QString();
    QFile remembered(path);
    if (!remembered.open(QIODevice::ReadOnly))
        return QString();
    return path;
}

void writeLastDesignPath(const QString &path, const QString &preferencesFile)
{
    QFile prefs(preferencesFile);
    if (!prefs.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text))
        return;
    QTextStream out(&prefs);
    out.setCodec("UTF-8");
    out << path;
}

} // namespace preferences
