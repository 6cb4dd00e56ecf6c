#pragma once

#include <QString>

// The last design file's path, kept in "preferences.txt" in the working directory.
namespace preferences {

constexpr const char *kFileName = "preferences.txt";

// The remembered path, or empty when there is none or the file it names no longer opens.
QString readLastDesignPath(const QString &preferencesFile = QString::fromLatin1(kFileName));

// Replaces the file's content with the path (no line end). A failure is silent: the setting
// is a convenience, and closing must go on.
void writeLastDesignPath(const QString &path,
                         const QString &preferencesFile = QString::fromLatin1(kFileName));

} // namespace preferences
