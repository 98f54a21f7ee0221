#pragma once
// The settings file: only the path of the last data file opened successfully.

#include <QString>

namespace wf {

// "rel.txt" next to the executable; the user's config folder when that folder is not
// writable or the program is installed.
QString settingsFilePath();
// The same for a program in `programDir`.
QString settingsFilePath(const QString& programDir);
// Section "Path", key "ComStr"; empty when the file or the key is missing.
QString readLastDataPath();
void writeLastDataPath(const QString& path);

} // namespace wf
