#include "analysis/settings_file.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace wf {

namespace {

const QString kFileName = QStringLiteral("rel.txt");

QString executableDir() {
    if (QCoreApplication::instance()) return QCoreApplication::applicationDirPath();
    // Without an application object (tests, tools) ask the system where we run from.
    const QFileInfo self(QStringLiteral("/proc/self/exe"));
    if (self.exists()) return QFileInfo(self.canonicalFilePath()).absolutePath();
    return QDir::currentPath();
}

} // namespace

QString settingsFilePath() {
    const QString dir = executableDir();
    const QFileInfo next(QDir(dir).filePath(kFileName));
    const bool writable = next.exists() ? next.isWritable() : QFileInfo(dir).isWritable();
    if (!dir.isEmpty() && writable) return next.absoluteFilePath();
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
