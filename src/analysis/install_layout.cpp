#include "analysis/install_layout.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

// WEIBFLOW_DATA_FROM_BIN, WEIBFLOW_BUILD_BIN_DIR and WEIBFLOW_SOURCE_DATA_DIR come from
// the top-level CMakeLists.txt, which also decides the installed layout.

namespace wf {

namespace {

QString existingDir(const QString& path) {
    const QFileInfo fi(path);
    return fi.isDir() ? fi.canonicalFilePath() : QString();
}

} // namespace

QString installedDataFolder(const QString& programDir) {
    if (programDir.isEmpty()) return {};
    return existingDir(QDir(programDir).filePath(QStringLiteral(WEIBFLOW_DATA_FROM_BIN)));
}

QString sampleDataFolder(const QString& programDir) {
    const QString installed = installedDataFolder(programDir);
    if (!installed.isEmpty()) return installed;
    // Only the build tree's own programs look into the sources: an installed copy must
    // not wander into a developer's checkout.
    const QString here = existingDir(programDir);
    if (!here.isEmpty() && here == existingDir(QStringLiteral(WEIBFLOW_BUILD_BIN_DIR)))
        return existingDir(QStringLiteral(WEIBFLOW_SOURCE_DATA_DIR));
    return {};
}

QString sampleDataFolder() {
    return sampleDataFolder(programFolder());
}

QString programFolder() {
    if (QCoreApplication::instance()) return QCoreApplication::applicationDirPath();
    // Without an application object (tests, tools) the system still knows.
    const QFileInfo self(QStringLiteral("/proc/self/exe"));
    if (self.exists()) return QFileInfo(self.canonicalFilePath()).absolutePath();
    return QDir::currentPath();
}

} // namespace wf
