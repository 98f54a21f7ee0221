#include "external/optimizer_process.h"

#include "external/private_folder.h"
#include "external/result_file.h"
#include "format/messages.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <algorithm>

#ifdef Q_OS_UNIX
#include <signal.h>
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

} // namespace wf
