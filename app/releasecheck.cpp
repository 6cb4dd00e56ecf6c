#include "app/releasecheck.h"

#include "app/maker.h"

#include <QStringList>
#include <QtGlobal>

namespace release {

QUrl releaseUrl()
{
    QString host = qEnvironmentVariable("AMPWRIGHT_RELEASE_HOST");
    if (host.isEmpty())
        host = QString::fromLatin1(maker::kSite);
    while (host.endsWith(QLatin1Char('/')))
        host.chop(1);
    return QUrl(host + QString::fromLatin1(maker::kReleasePath));
}

bool isNewerRelease(const QString &local, const QString &remote)
{
    const QStringList localParts = local.split(QLatin1Char('.'));
    const QStringList remoteParts = remote.split(QLatin1Char('.'));
    const int n = qMin(localParts.size(), remoteParts.size());
    for (int i = 0; i < n; ++i) {
        const int mine = localParts.at(i).trimmed().toInt();
        const int theirs = remoteParts.at(i).trimmed().toInt();
        if (mine > theirs)
            return false;
        if (mine < theirs)
            return true;
    }
    return false;
}

} // namespace release
