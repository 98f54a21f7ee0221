#include "analysis/settings_file.h"

#include "analysis/install_layout.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace wf {

namespace {

const QString kFileName = QStringLiteral("rel.txt");

} // namespace

QString settingsFilePath() {
    return settingsFilePath(programFolder());
}

QString settingsFilePath(const QString& dir) {
    const QFileInfo next(QDir(dir).filePath(kFileName));
    const bool writable = next.exists() ? next.isWritable() : QFileInfo(dir).isWritable();
    // An installed program shares a system folder: root could write there, but nothing
    // of a user's belongs in it.
    if (!dir.isEmpty() && writable && installedDataFolder(dir).isEmpty())
        return next.absoluteFilePath();
    const QString config = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    QDir().mkpath(config);
    return QDir(config).filePath(kFileName);
}

QString readLastDataPath() {
    const QString file = settingsFilePath();
    if (!QFileInfo::exists(file)) return {};
    QSettings settings(file, QSettings::IniFormat);
    return settings.value(QStringLiteral("Path/ComStr")).toString();
}

void writeLastDataPath(const QString& path) {
    QSettings settings(settingsFilePath(), QSettings::IniFormat);
    settings.setValue(QStringLiteral("Path/ComStr"), path);
    settings.sync();
}

} // namespace wf
