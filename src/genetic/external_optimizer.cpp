#include "genetic/external_optimizer.h"

#include "stats/model_arrays.h"

#include "analysis/settings_file.h"
#include "core/distributions.h"
#include "format/messages.h"
#include "format/number_format.h"
#include "stats/evaluation.h"
#include "stats/histogram.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>

#ifdef Q_OS_UNIX
#include <signal.h>
#include <stdlib.h>
#include <unistd.h>
#endif

namespace wf {

namespace {

constexpr int kPollMs = 50;
constexpr int kStartWaitMs = 30'000;
// The optimizer's own complaint is shown to the user; a runaway one is cut short, and
// only its tail is kept while waiting so a chatty program cannot fill our memory.
constexpr qsizetype kMaxErrorChars = 2000;
constexpr qsizetype kMaxErrorBytes = 16 * 1024;
// Three numbers never need more; a huge file is not ours.
constexpr qint64 kMaxResultBytes = 64 * 1024;

QString programDir() {
    if (QCoreApplication::instance()) return QCoreApplication::applicationDirPath();
    // Without an application object (tests, tools) our own executable still tells.
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
}

QString trimControl(const QString& s) {
    qsizetype b = 0, e = s.size();
    while (b < e && s.at(b).unicode() <= 32) ++b;
    while (e > b && s.at(e - 1).unicode() <= 32) --e;
    return s.mid(b, e - b);
}

// The optimizer runs in its own process group so that killing it also ends whatever
// it started (a script's children would otherwise keep running).
void killProcessTree(QProcess& p) {
#ifdef Q_OS_UNIX
    const qint64 pid = p.processId();
    if (pid > 0) ::kill(-static_cast<pid_t>(pid), SIGKILL);
#endif
    p.kill();
    p.waitForFinished(5000);
}

ExternalResult failed(ExternalResult::Problem problem, const QString& message) {
    ExternalResult r;
    r.end = JobEnd::failed(message);
    r.problem = problem;
    return r;
}

ExternalResult ended(Termination how, const QString& message) {
    ExternalResult r;
    r.end = {how, message};
    return r;
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

bool parseResultText(const QByteArray& text, double& A, double& B, double& K, QString& error) {
    QList<QByteArray> lines = text.split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast(); // the end of the last line, not a line of its own
    const QChar sep = fmt::decimalSeparator();
    double* const out[3] = {&A, &B, &K};
    for (int i = 0; i < 3; ++i) {
        if (i >= lines.size()) {
            error = msg::resultLineMissing(i + 1);
            return false;
        }
        const QString raw = trimControl(QString::fromUtf8(lines[i]));
        QString t = raw;
        t.replace(QLatin1Char('.'), sep).replace(QLatin1Char(','), sep);
        const std::optional<double> v = fmt::parseNumber(t);
        if (!v) {
            error = msg::resultLineBad(i + 1, raw);
            return false;
        }
        *out[i] = *v;
    }
    return true;
}

bool readResultFile(const QString& path, double& A, double& B, double& K, QString& error) {
    QFile f(path);
    if (!f.exists()) {
        error = msg::resultFileMissing(path);
        return false;
    }
    if (!f.open(QIODevice::ReadOnly)) {
        error = msg::resultFileUnreadable(path);
        return false;
    }
    const QByteArray text = f.read(kMaxResultBytes);
    QString why;
    if (!parseResultText(text, A, B, K, why)) {
        error = msg::resultFileError(path, why);
        return false;
    }
    return true;
}

ExternalResult runExternalOptimizer(const QString& filePath, const ExternalSettings& set,
                                    const ProgressFn& progress) {
    const QString result = resultFilePath();
    // An old result must never pass for the answer of this run.
    if (QFileInfo::exists(result) && !QFile::remove(result))
        return failed(ExternalResult::Problem::StartFailed, msg::staleResultNotRemoved(result));

    QProcess p;
    p.setProgram(set.optimizerPath);
    p.setArguments({filePath});
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("WEIBFLOW_RESULT_FILE"), result);
    p.setProcessEnvironment(env);
    p.setStandardInputFile(QProcess::nullDevice());
    p.setStandardOutputFile(QProcess::nullDevice());
#ifdef Q_OS_UNIX
    p.setChildProcessModifier([] { ::setpgid(0, 0); });
#endif
    p.start();
    if (!p.waitForStarted(kStartWaitMs)) {
        killProcessTree(p);
        return failed(ExternalResult::Problem::StartFailed,
                      msg::optimizerStartFailed(set.optimizerPath));
    }

    QElapsedTimer clock;
    clock.start();
    QByteArray said;
    auto keepTail = [&] {
        said += p.readAllStandardError();
        if (said.size() > kMaxErrorBytes) said = said.right(kMaxErrorBytes);
    };
    while (p.state() != QProcess::NotRunning && !p.waitForFinished(kPollMs)) {
        keepTail();
        if (p.state() == QProcess::NotRunning) break;
        if (progress && !progress(Progress{msg::stageExternal, -1, clock.elapsed() * 1000})) {
            killProcessTree(p);
            return ended(Termination::Cancelled, msg::optimizerCancelled);
        }
        if (clock.elapsed() >= set.timeout.count()) {
            killProcessTree(p);
            const long long minutes =
                std::max<long long>(1, (set.timeout.count() + 59'999) / 60'000);
            return ended(Termination::LimitReached, msg::optimizerTimedOut(minutes));
        }
    }

    if (p.exitStatus() == QProcess::CrashExit)
        return failed(ExternalResult::Problem::Crashed, msg::optimizerCrashed);
    if (p.exitCode() != 0) {
        keepTail();
        QString text = QString::fromLocal8Bit(said).trimmed();
        if (text.size() > kMaxErrorChars) text = text.right(kMaxErrorChars);
        return failed(ExternalResult::Problem::NonZeroExit,
                      msg::optimizerExitCode(p.exitCode(), text));
    }

    ExternalResult r;
    QString error;
    if (!QFileInfo::exists(result))
        return failed(ExternalResult::Problem::NoResultFile, msg::resultFileMissing(result));
    if (!readResultFile(result, r.A, r.B, r.K, error))
        return failed(ExternalResult::Problem::BadResult, error);
    return r;
}

QStringList applyExternalModel(AnalysisState& s, double A, double B, double K) {
    if (s.Otkazy.empty()) return {};
    if (!Postr_Gist(s)) return {};

    Mod_Weib& M = s.ModExt;
    storeFittedModel(s, M, {A, B, K});
    QStringList log;
    log << Dover_Interval(s, M);
    log << msg::externalDone;
    log << fmt::format(msg::externalParamsFormat, {M.A, M.B, M.K_powtor});
    return log;
}

} // namespace wf
