#pragma once
// Shared set-up of the fuzz targets: a Russian locale (decimal comma) so the locale paths
// are the ones users hit, and a private scratch file for readers that take a path.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QString>

#include <unistd.h>

namespace wf::fuzz {

inline void useRussianLocale() {
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
}

// Writes `bytes` to this process's scratch file and returns its path.
inline QString scratchFile(const QByteArray& bytes, const char* stem) {
    const QString path =
        QDir::tempPath() +
        QStringLiteral("/weibflow-fuzz-%1-%2.txt").arg(QString::fromLatin1(stem)).arg(::getpid());
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        f.write(bytes);
        f.close();
    }
    return path;
}

} // namespace wf::fuzz
