#pragma once
// Files for tests without a test framework attached: the bundled samples, bytes and stand-in
// programs written to a path, and an environment variable set for a scope.

#include <QByteArray>
#include <QFile>
#include <QString>

namespace wf::test {

// Where a bundled sample data file lies.
inline QString samplePath(const QString& name) {
    return QStringLiteral(WEIBFLOW_SOURCE_DIR "/data/") + name;
}

// A bundled sample's bytes; empty when it cannot be read.
inline QByteArray readSample(const char* name) {
    QFile f(samplePath(QLatin1String(name)));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Writes `bytes` to `path`, replacing what was there; false when the file cannot be written.
inline bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// A shell script at `path` that only its owner may run: a stand-in for another program.
inline bool writeScript(const QString& path, const QByteArray& body) {
    return writeFile(path, "#!/bin/sh\n" + body + "\n") &&
           QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

// Sets an environment variable for a scope and puts back its old value, or its absence.
class EnvScope {
public:
    EnvScope(const char* name, const QByteArray& value)
        : name_(name)
        , had_(qEnvironmentVariableIsSet(name))
        , old_(qgetenv(name)) {
        qputenv(name, value);
    }
    ~EnvScope() {
        if (had_)
            qputenv(name_, old_);
        else
            qunsetenv(name_);
    }
    EnvScope(const EnvScope&) = delete;
    EnvScope& operator=(const EnvScope&) = delete;

private:
    const char* name_;
    bool had_;
    QByteArray old_;
};

} // namespace wf::test
