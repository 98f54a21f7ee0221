#include "external/external_settings.h"

#include "analysis/settings_file.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace wf {

namespace {

QString programDir() {
    if (QCoreApplication::instance()) return QCoreApplication::applicationDirPath();
    // Without an application object (tests, tools) our own executable still tells.
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
}

} // namespace

QString defaultOptimizerPath() {
    return QDir(programDir()).filePath(QStringLiteral("weibflow-optimizer"));
}

ExternalSettings readExternalSettings() {
    return readExternalSettings(settingsFilePath());
}

ExternalSettings readExternalSettings(const QString& file) {
    ExternalSettings set;
    set.optimizerPath = defaultOptimizerPath();
    if (file.isEmpty() || !QFileInfo::exists(file)) return set;
    QSettings ini(file, QSettings::IniFormat);
    const QString path = ini.value(QStringLiteral("Optimizer/Path")).toString().trimmed();
    if (!path.isEmpty())
        set.optimizerPath = QDir(programDir()).filePath(path); // relative: next to the program
    bool ok = false;
    const double minutes = ini.value(QStringLiteral("Optimizer/TimeoutMinutes")).toDouble(&ok);
    if (ok && minutes > 0 && minutes <= 7 * 24 * 60)
        set.timeout = std::chrono::milliseconds(static_cast<long long>(minutes * 60'000.0));
    return set;
}

} // namespace wf
