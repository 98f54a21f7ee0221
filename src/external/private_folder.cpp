#include "external/private_folder.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#ifdef Q_OS_UNIX
#include <stdlib.h>
#include <unistd.h>
#endif

namespace wf {

QString resultFilePath() {
    // Asking for the runtime folder without XDG_RUNTIME_DIR only prints a warning and
    // falls back to /tmp; our own fallback below says nothing and checks the owner.
    QString dir;
    if (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
        dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty()) {
#ifdef Q_OS_UNIX
        dir = QDir::tempPath() + QStringLiteral("/weibflow-runtime-") + QString::number(::getuid());
#else
        dir = QDir::tempPath() + QStringLiteral("/weibflow-runtime");
#endif
    }
    if (!QFileInfo::exists(dir) && QDir().mkpath(dir))
        QFile::setPermissions(dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
#ifdef Q_OS_UNIX
    // A folder someone else made in a shared /tmp could hand them our result file.
    const auto privateToUs = [](const QString& d) {
        const QFileInfo info(d);
        return info.isDir() && !info.isSymLink() && info.ownerId() == ::getuid() &&
               !(info.permissions() & (QFile::WriteGroup | QFile::WriteOther | QFile::ReadOther));
    };
    if (!privateToUs(dir)) {
        dir = QDir::tempPath() + QStringLiteral("/weibflow-runtime-") +
              QString::number(::getuid()) + QStringLiteral("-") +
              QString::number(QCoreApplication::applicationPid());
        if (!QFileInfo::exists(dir) && QDir().mkpath(dir))
            QFile::setPermissions(dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        // The last resort is no safer when someone made it first: a fresh folder of our
        // own then, created private by the system.
        if (!privateToUs(dir)) {
            static const QString fresh = [&dir] {
                QByteArray pattern = QFile::encodeName(dir + QStringLiteral("-XXXXXX"));
                return ::mkdtemp(pattern.data()) ? QFile::decodeName(pattern) : QString();
            }();
            if (!fresh.isEmpty()) dir = fresh;
        }
    }
#endif
    return QDir(dir).filePath(QStringLiteral("optymum.txt"));
}

} // namespace wf
