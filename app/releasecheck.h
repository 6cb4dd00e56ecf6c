#pragma once

#include <QString>
#include <QUrl>

namespace release {

// Where the current release number is published: the maker's site, or the host named by
// AMPWRIGHT_RELEASE_HOST, followed by the release path.
QUrl releaseUrl();

// True when the published release is newer than ours. Both are dotted numbers compared part
// by part over as many parts as the shorter one has; a part that is not a number reads 0, and
// white space around a part is ignored.
bool isNewerRelease(const QString &local, const QString &remote);

} // namespace release
